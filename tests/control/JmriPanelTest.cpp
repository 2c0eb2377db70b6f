// The JMRI panel read back by a small reader of its own: every turnout's legs lead to the same
// neighbours as in the network, arcs turn as far as the curves, addresses name the turnouts and
// detection sections become blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>

#include "control/AssignAddresses.h"
#include "control/JmriPanel.h"
#include "model/TrackBuilder.h"
#include "network/TrackGraph.h"

namespace {

using Attrs = std::map<std::string, std::string>;

// The panel's elements by ident, with their attributes.
struct Panel {
    std::map<std::string, Attrs> elements;  // turnouts, slips, crossings, points, segments
    std::map<std::string, std::string> tag;
    std::vector<Attrs> blocks;

    explicit Panel(const std::string& xml) {
        static const std::regex element(
            "<(layoutturnout|layoutSlip|levelxing|tracksegment|positionablepoint|layoutblock) "
            "([^>]*)>");
        static const std::regex attr("([A-Za-z0-9]+)=\"([^\"]*)\"");
        for (auto it = std::sregex_iterator(xml.begin(), xml.end(), element);
             it != std::sregex_iterator(); ++it) {
            Attrs a;
            const std::string body = (*it)[2];
            for (auto at = std::sregex_iterator(body.begin(), body.end(), attr);
                 at != std::sregex_iterator(); ++at)
                a[(*at)[1]] = (*at)[2];
            if ((*it)[1] == "layoutblock") {
                blocks.push_back(a);
                continue;
            }
            tag[a["ident"]] = (*it)[1];
            elements[a["ident"]] = a;
        }
    }

    // What a connection of an element leads to along track segments and anchors: the piece id
    // of the next element, "bumper" or "open".
    std::string Follow(const std::string& ident, int type) const {
        for (const auto& [id, a] : elements) {
            if (tag.at(id) != "tracksegment") continue;
            for (int side = 1; side <= 2; ++side) {
                const std::string n = std::to_string(side), o = std::to_string(3 - side);
                if (a.at("connect" + n + "name") != ident || std::stoi(a.at("type" + n)) != type)
                    continue;
                const std::string to = a.at("connect" + o + "name");
                if (std::stoi(a.at("type" + o)) != 1) return PieceOf(to);
                return FollowFromPoint(to, id, 0);
            }
        }
        return "open";
    }

    std::string FollowFromPoint(const std::string& point, const std::string& arrivedBy,
                                int depth) const {
        if (depth > 10000) return "loop";
        const Attrs& p = elements.at(point);
        const int type = std::stoi(p.at("type"));
        if (type == 2) return "bumper";
        std::string next;
        std::string entry = point;
        if (type == 3) {
            const Attrs& link = elements.at(p.at("linkpointid"));
            next = link.at("connect1name");
            entry = link.at("ident");
        } else {
            const std::string c1 = p.count("connect1name") ? p.at("connect1name") : "";
            const std::string c2 = p.count("connect2name") ? p.at("connect2name") : "";
            next = c1 == arrivedBy ? c2 : c1;
        }
        if (next.empty()) return "open";
        const Attrs& s = elements.at(next);
        const bool first = s.at("connect1name") == entry;
        const std::string to = s.at(first ? "connect2name" : "connect1name");
        const int toType = std::stoi(s.at(first ? "type2" : "type1"));
        if (toType != 1) return PieceOf(to);
        return FollowFromPoint(to, next, depth + 1);
    }

    static std::string PieceOf(const std::string& ident) {
        std::string digits;
        for (char c : ident)
            if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
        return digits;
    }
};

bool IsElement(const PieceDef& def) {
    return def.kind == PieceKind::LeftTurnout || def.kind == PieceKind::RightTurnout ||
           def.kind == PieceKind::CurvedTurnout || def.kind == PieceKind::DoubleSlip ||
           def.kind == PieceKind::Crossing;
}

// The same walk over the network: along plain track to the next turnout, slip or crossing.
std::string NetworkNeighbour(const LayoutDocument& doc, const TrackGraph& g, GraphEnd end) {
    for (int guard = 0; guard < 10000; ++guard) {
        const GraphEnd j = g.Joined(end);
        if (j.piece == kNoId) return "open";
        const PieceDef& def = *TrackCatalog::Instance().Find(doc.FindPiece(j.piece)->article);
        if (IsElement(def)) return std::to_string(j.piece);
        if (def.kind == PieceKind::Bumper) return "bumper";
        end = GraphEnd{j.piece, 1 - j.connector};
    }
    return "loop";
}

class JmriPanelTest : public ::testing::Test {
protected:
    LayoutDocument doc;
    TrackBuilder track{doc};
    std::map<std::string, uint32_t> ids;

    void SetUp() override {
        doc.EnsureDefaultLevel();
        Level upper = DefaultLevel();
        upper.id = 2;
        upper.name = "Upper";
        doc.levels.push_back(upper);
        // A station throat: a turnout, a three-way turnout with a siding on the upper level to a
        // bumper, curves to a double slip, a crossing and a turnout joined straight to it.
        ids["t1"] = track.Place("24612", 0, 0, 0);
        ids["s1"] = track.Attach("24188", ids["t1"], 1);
        ids["tw"] = track.Attach("24630", ids["s1"], 1);
        ids["s2"] = track.Attach("24188", ids["tw"], 1);
        track[ids["s2"]].level = 2;
        ids["b1"] = track.Attach("24977", ids["s2"], 1);
        ids["c1"] = track.Attach("24130", ids["tw"], 2);
        ids["u"] = track.Attach("24997", ids["c1"], 1);
        ids["c2"] = track.Attach("24130", ids["t1"], 2);
        ids["c3"] = track.Attach("24130", ids["c2"], 1);
        ids["sl"] = track.Attach("24624", ids["c3"], 1);
        ids["x"] = track.Attach("24640", ids["sl"], 1);
        ids["s3"] = track.Attach("24188", ids["x"], 1);
        ids["t2"] = track.Attach("24611", ids["x"], 3);
        ASSERT_EQ(SetAccessoryAddress(doc, ids["sl"], 30, 2), "");
        ApplyAddresses(doc, AssignAddresses(doc, BuildTrackGraph(doc), AddressOptions{}));
    }
};

TEST_F(JmriPanelTest, EveryTurnoutLegLeadsToTheNeighboursOfTheNetwork) {
    const TrackGraph g = BuildTrackGraph(doc);
    std::string xml;
    ASSERT_TRUE(WriteJmriPanel(doc, g, JmriOptions{}, xml));
    const Panel panel(xml);
    for (const std::string name : {"t1", "tw", "sl", "x", "t2"}) {
        const uint32_t id = ids[name];
        std::vector<std::string> fromPanel, fromNetwork;
        for (const auto& [ident, a] : panel.elements) {
            const std::string& tag = panel.tag.at(ident);
            if (tag == "tracksegment" || tag == "positionablepoint") continue;
            if (Panel::PieceOf(ident) != std::to_string(id)) continue;
            const int base = tag == "layoutturnout" ? 2 : tag == "levelxing" ? 6 : 21;
            const int legs = tag == "layoutturnout" ? 3 : 4;
            for (int k = 0; k < legs; ++k) {
                const std::string n = panel.Follow(ident, base + k);
                if (n != std::to_string(id)) fromPanel.push_back(n);  // a three-way's own link
            }
        }
        const int connectors = g.ConnectorCount(id);
        for (int c = 0; c < connectors; ++c)
            fromNetwork.push_back(NetworkNeighbour(doc, g, GraphEnd{id, c}));
        std::sort(fromPanel.begin(), fromPanel.end());
        std::sort(fromNetwork.begin(), fromNetwork.end());
        EXPECT_EQ(fromPanel, fromNetwork) << name;
    }
    // An empty layout writes nothing.
    LayoutDocument empty;
    xml = "old";
    EXPECT_FALSE(WriteJmriPanel(empty, BuildTrackGraph(empty), JmriOptions{}, xml));
    EXPECT_TRUE(xml.empty());
}

TEST_F(JmriPanelTest, ArcsTurnAsFarAsTheCurvesAndAddressesNameTheTurnouts) {
    JmriOptions options;
    options.turnoutPrefix = "LT";
    options.sections.push_back(DetectionSection{"Station", 12, {ids["t1"], ids["s1"]}});
    std::string xml;
    ASSERT_TRUE(WriteJmriPanel(doc, BuildTrackGraph(doc), options, xml));
    const Panel panel(xml);
    double arcs = 0;
    int arcCount = 0;
    for (const auto& [ident, a] : panel.elements)
        if (a.count("arc") && a.at("arc") == "yes") arcs += std::stod(a.at("angle")), ++arcCount;
    EXPECT_EQ(arcCount, 3);
    EXPECT_NEAR(arcs, 3 * 30.0, 0.01);

    auto address = [&](const std::string& name) {
        return std::to_string(doc.control.Find(ids[name])->address);
    };
    const std::string tw = std::to_string(ids["tw"]);
    EXPECT_EQ(panel.elements.at("TO" + std::to_string(ids["t1"])).at("turnoutname"),
              "LT" + address("t1"));
    EXPECT_EQ(panel.elements.at("TO" + tw + "a").at("turnoutname"), "LT" + address("tw"));
    EXPECT_EQ(panel.elements.at("TO" + tw + "b").at("turnoutname"),
              "LT" + std::to_string(std::stoi(address("tw")) + 1));
    EXPECT_NE(xml.find("<turnout>LT30</turnout><turnoutB>LT31</turnoutB>"), std::string::npos);
    // The uncoupler is switched through the turnout list.
    EXPECT_NE(xml.find("<systemName>LT" + address("u") + "</systemName>"), std::string::npos);

    // The section is a block with its sensor, and its pieces carry the block.
    ASSERT_EQ(panel.blocks.size(), 1u);
    EXPECT_EQ(panel.blocks[0].at("occupancysensor"), "IS12");
    EXPECT_EQ(panel.elements.at("TO" + std::to_string(ids["t1"])).at("blockname"), "Station");
    EXPECT_EQ(panel.elements.at("T" + std::to_string(ids["s1"])).at("blockname"), "Station");

    // Each level its own panel.
    EXPECT_NE(xml.find("name=\"Layout - Upper\""), std::string::npos);
    EXPECT_NE(xml.find("name=\"Layout - Level 1\""), std::string::npos);
}

}  // namespace
