// The track board files and the plan file read back by readers of this test's own: every cell
// once, at its place, turned as the station's own tiles are, with its address.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "control/AssignAddresses.h"
#include "control/BuildTrackDiagram.h"
#include "control/CentralStationBoard.h"
#include "control/RocrailPlan.h"
#include "network/TrackGraph.h"
#include "persistence/FileTestSupport.h"
#include "persistence/LayoutFile.h"

namespace {

using Fields = std::map<std::string, std::string>;
using D = DiagramSide;

std::string ReadText(const std::filesystem::path& path) { return ReadBytes(path.string()); }

// The records of a board file: a word at the line's start opens one, " .key=value" fills it.
std::vector<std::pair<std::string, Fields>> ReadBoard(const std::string& text) {
    std::vector<std::pair<std::string, Fields>> records;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(" .", 0) == 0 && !records.empty()) {
            const size_t eq = line.find('=');
            records.back().second[line.substr(2, eq - 2)] = line.substr(eq + 1);
        } else if (!line.empty() && line[0] != '[' && line.find('=') == std::string::npos) {
            records.push_back({line, {}});
        }
    }
    return records;
}

// The tracks of a board tile from its type and rotation, as the station draws them (observed on
// its own files): the upright tiles below, each rotation step a quarter turn anticlockwise on the
// screen.
std::set<std::pair<D, D>> TileTracks(const std::string& type, int rotation) {
    static const std::map<std::string, std::vector<std::pair<D, D>>> upright = {
        {"gerade", {{D::West, D::East}}},
        {"s88kontakt", {{D::West, D::East}}},
        {"bogen", {{D::South, D::East}}},
        {"linksweiche", {{D::South, D::North}, {D::South, D::West}}},
        {"rechtsweiche", {{D::South, D::North}, {D::South, D::East}}},
        {"dreiwegweiche", {{D::South, D::North}, {D::South, D::West}, {D::South, D::East}}},
        {"kreuzung", {{D::West, D::East}, {D::North, D::South}}},
        {"unterfuehrung", {{D::West, D::East}, {D::North, D::South}}},
        {"prellbock", {{D::North, D::None}}},
        {"pfeil", {{D::North, D::None}}},
    };
    auto turn = [&](D s) {
        for (int k = 0; k < rotation; ++k)
            for (int q = 0; q < 3; ++q) s = ClockwiseSide(s);
        return s;
    };
    std::set<std::pair<D, D>> out;
    for (auto [a, b] : upright.at(type)) {
        a = turn(a), b = turn(b);
        out.insert(b == D::None || a < b ? std::pair(a, b) : std::pair(b, a));
    }
    return out;
}

std::set<std::pair<D, D>> CellTracks(const DiagramCell& c) {
    std::set<std::pair<D, D>> out;
    for (auto [a, b] : c.tracks)
        out.insert(b == D::None || a < b ? std::pair(a, b) : std::pair(b, a));
    return out;
}

class DiagramWriters : public testing::Test {
protected:
    void SetUp() override {
        const std::string path =
            std::string(QUILLMORE_SOURCE_DIR) + "/resources/layouts/C-Track Oval Station.xml";
        ASSERT_EQ(LoadLayout(doc, path, nullptr), "");
        const TrackGraph g = BuildTrackGraph(doc);
        ApplyAddresses(doc, AssignAddresses(doc, g, AddressOptions{}));
        DiagramOptions o;
        for (const PlacedPiece& p : doc.pieces)
            if (p.article == "24188" && o.sections.size() < 2)
                o.sections.push_back(DetectionSection{"", 3 + int(o.sections.size()), {p.id}});
        diagram = BuildTrackDiagram(doc, g, o);
        folder = std::filesystem::path(temp.path) / "board";
    }

    LayoutDocument doc;
    TrackDiagram diagram;
    TempFolder temp;
    std::filesystem::path folder;
};

TEST_F(DiagramWriters, BoardFilesHoldEveryCellTurnedAndAddressed) {
    ASSERT_EQ(WriteCentralStationBoard(diagram, doc.control, folder.string(), "Oval/Station"), "");
    const auto index = ReadBoard(ReadText(folder / "gleisbild.cs2"));
    ASSERT_EQ(index.back().first, "seite");
    EXPECT_EQ(index.back().second.at("name"), "Oval-Station");
    const auto page = ReadBoard(ReadText(folder / "gleisbilder" / "Oval-Station.cs2"));
    std::map<std::pair<int, int>, Fields> elements;
    for (const auto& [word, fields] : page) {
        if (word != "element") continue;
        const int id = fields.count("id") ? std::stoi(fields.at("id"), nullptr, 16) : 0;
        EXPECT_EQ(id >> 16, std::stoi(index.back().second.at("id")));
        EXPECT_TRUE(elements.insert({{id & 0xff, (id >> 8) & 0xff}, fields}).second);
    }
    ASSERT_EQ(elements.size(), diagram.cells.size());
    int turnouts = 0, contacts = 0;
    for (const DiagramCell& c : diagram.cells) {
        const Fields& e = elements.at({c.x, c.y});
        const int rotation = e.count("drehung") ? std::stoi(e.at("drehung")) : 0;
        EXPECT_EQ(TileTracks(e.at("typ"), rotation), CellTracks(c)) << e.at("typ");
        const int artikel = std::stoi(e.at("artikel"));
        if (e.at("typ").find("weiche") != std::string::npos) {
            ++turnouts;
            EXPECT_EQ(artikel, 2 * doc.control.Find(c.pieces.at(0))->address);
        } else if (e.at("typ") == "s88kontakt") {
            ++contacts;
            EXPECT_TRUE(artikel == 3 || artikel == 4);
        } else {
            EXPECT_EQ(artikel, -1);
        }
    }
    EXPECT_EQ(turnouts, 2);
    EXPECT_EQ(contacts, 2);
    // An empty diagram writes no board at all.
    const std::filesystem::path none = std::filesystem::path(temp.path) / "none";
    EXPECT_NE(WriteCentralStationBoard(TrackDiagram{}, doc.control, none.string(), "x"), "");
    EXPECT_FALSE(std::filesystem::exists(none / "gleisbild.cs2"));
}

TEST_F(DiagramWriters, PlanHoldsEveryCellWithAddressesSensorsAndBlocks) {
    std::string xml;
    ASSERT_TRUE(WriteRocrailPlan(diagram, doc.control, xml));
    static const std::regex element("<(tk|sw|fb|bk|fbevent|zlevel) ([^>]*?)/?>");
    static const std::regex attr("([A-Za-z0-9]+)=\"([^\"]*)\"");
    std::map<std::pair<int, int>, std::pair<std::string, Fields>> at;
    std::set<std::string> sensors, events;
    int levels = 0, blocks = 0;
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), element);
         it != std::sregex_iterator(); ++it) {
        Fields f;
        const std::string body = (*it)[2];
        for (auto a = std::sregex_iterator(body.begin(), body.end(), attr);
             a != std::sregex_iterator(); ++a)
            f[(*a)[1]] = (*a)[2];
        const std::string tag = (*it)[1];
        if (tag == "zlevel") {
            ++levels;
            continue;
        }
        if (tag == "fbevent") {
            events.insert(f.at("id"));
            continue;
        }
        if (tag == "fb") sensors.insert(f.at("id"));
        if (tag == "bk") ++blocks;
        EXPECT_EQ(f.at("z"), "0");
        EXPECT_TRUE(at.insert({{std::stoi(f.at("x")), std::stoi(f.at("y"))}, {tag, f}}).second);
    }
    EXPECT_EQ(levels, 1);
    ASSERT_EQ(at.size(), diagram.cells.size());
    for (const DiagramCell& c : diagram.cells) {
        const auto& [tag, f] = at.at({c.x, c.y});
        if (c.symbol == DiagramSymbol::TurnoutLeft || c.symbol == DiagramSymbol::TurnoutRight) {
            ASSERT_EQ(tag, "sw");
            EXPECT_EQ(f.at("type"), c.symbol == DiagramSymbol::TurnoutLeft ? "left" : "right");
            EXPECT_EQ((std::stoi(f.at("addr1")) - 1) * 4 + std::stoi(f.at("port1")), c.address);
            EXPECT_EQ(f.at("prot"), "M");
        } else if (c.symbol == DiagramSymbol::Contact) {
            EXPECT_EQ(tag, "fb");
            EXPECT_EQ(std::stoi(f.at("addr")), c.address);
        } else if (c.symbol == DiagramSymbol::Bumper) {
            EXPECT_EQ(f.at("type"), "buffer");
        }
    }
    EXPECT_GE(blocks, 2);
    EXPECT_EQ(events, sensors) << "every sensor reports to its block";
    std::string none = "old";
    EXPECT_FALSE(WriteRocrailPlan(TrackDiagram{}, doc.control, none));
    EXPECT_TRUE(none.empty());
}

}  // namespace
