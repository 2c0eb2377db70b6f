// Palette rules without windows: list contents per system, signals, scenery, the system for an
// opened layout, library folders and files, and the hover preview's scale.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "catalog/TrackCatalog.h"
#include "panels/DataTable.h"
#include "panels/PaletteLogic.h"
#include "panels/PaletteTables.h"

namespace {

// The rows of one list in the data table.
std::vector<PaletteRow> ListRows(const std::string& list) {
    std::vector<PaletteRow> rows;
    for (const auto& row : ReadDataTable("palette_rows.tsv"))
        if (row.size() == 3 && row[0] == list) rows.push_back({row[2], row[1]});
    return rows;
}

TEST(TrackList, GroupsHeadersAndArticlesOfEachSystem) {
    const TrackSystem systems[] = {TrackSystem::MarklinC,  TrackSystem::MarklinK,
                                   TrackSystem::TrixC,     TrackSystem::MarklinZ,
                                   TrackSystem::MinitrixN, TrackSystem::KatoN};
    std::set<std::string> listed;
    int articleRows = 0;
    for (int index = 0; index < kPaletteSystemCount; ++index) {
        SCOPED_TRACE(index);
        const TrackSystem system = systems[index];
        EXPECT_EQ(PaletteCatalogSystem(index), system);
        EXPECT_EQ(PaletteSystemName(index), TrackSystemLongName(system));
        const std::vector<PaletteRow> rows = BuildTrackRows(index);
        std::vector<PaletteRow> headers;
        for (const PaletteRow& row : rows) {
            if (row.key.empty()) {
                headers.push_back(row);
            } else if (!IsHelixKey(row.key)) {
                listed.insert(row.key);
                ++articleRows;
                const PieceDef* def = TrackCatalog::Instance().Find(row.key);
                ASSERT_NE(def, nullptr) << row.key;
                EXPECT_EQ(def->system, system) << row.key;
                EXPECT_EQ(row.text, def->name);
            } else {
                EXPECT_EQ(index, 0) << "helix rows belong to the C list only";
            }
        }
        const std::vector<PaletteRow> expectedHeaders = ListRows("track" + std::to_string(index));
        ASSERT_FALSE(expectedHeaders.empty());
        EXPECT_EQ(headers, expectedHeaders);
        EXPECT_TRUE(rows.front().key.empty());
        EXPECT_FALSE(rows.back().key.empty());
    }
    // Together the six lists hold every catalog piece; 24294 stands in two C groups.
    EXPECT_EQ(static_cast<int>(listed.size()), 279);
    EXPECT_EQ(static_cast<int>(listed.size()), TrackCatalog::Instance().Count());
    EXPECT_EQ(articleRows, TrackCatalog::Instance().Count() + 1) << "no other piece twice";
    const std::vector<PaletteRow> c = BuildTrackRows(0);
    EXPECT_EQ(std::count_if(c.begin(), c.end(), [](auto& r) { return r.key == "24294"; }), 2);
    EXPECT_TRUE(BuildTrackRows(-1).empty());
    EXPECT_TRUE(BuildTrackRows(kPaletteSystemCount).empty());
}

TEST(TrackList, HelixGroupEndsTheCTrackList) {
    const std::vector<PaletteRow> rows = BuildTrackRows(0);
    auto header = std::find_if(rows.begin(), rows.end(),
                               [](const PaletteRow& r) { return r.text == "--- Helix"; });
    ASSERT_NE(header, rows.end());
    std::string ids;
    for (auto it = header + 1; it != rows.end(); ++it) ids += HelixIdFromKey(it->key) + " ";
    EXPECT_EQ(ids,
              "proses_2_5_r1r2 proses_3_5_r1r2 proses_4_5_r1r2 proses_2_5_r2r3 proses_3_5_r2r3 "
              "proses_2_5_r3r4 proses_4_5_r3r4 proses_2_5_r4r5 proses_3_5_r4r5 proses_4_5_r4r5 ");
    EXPECT_EQ((header + 1)->text, "Proses 2.5 R1&R2 26cm/10.2\"");
    EXPECT_EQ(HelixIdFromKey("x@helix:a"), "");
    EXPECT_FALSE(IsHelixKey("@Helix:a"));
}

TEST(SceneryAndSignals, ListsAndKinds) {
    EXPECT_EQ(BuildSceneryRows(), ListRows("scenery"));
    std::vector<int> shown;
    for (int c = -2; c < 20; ++c)
        if (PaletteShowsSceneryCategory(c)) shown.push_back(c);
    EXPECT_EQ(shown, (std::vector<int>{0, 2, 4, 7}));

    const std::vector<PaletteRow> normal = ListRows("signals");
    ASSERT_EQ(normal.size(), 6u);
    for (int index : {0, 1, 2}) EXPECT_EQ(BuildSignalRows(index), normal) << index;
    EXPECT_EQ(BuildSignalRows(3), ListRows("signals_z"));

    // "id > kind"; words match byte for byte.
    for (const std::string c : {"signal_semaphore_stop > Semaphore", "semaphore_color > Semaphore",
                                "signal_color_distant > Color light", "distant_home > Distant",
                                "signal_box > Other", "Semaphore > Other"})
        EXPECT_EQ(SignalKind(c.substr(0, c.find(" > "))), c.substr(c.find(" > ") + 3)) << c;
}

// A K-Track layout with a helix of C-Track stubs and two C pieces opened on C.
TEST(OpenedLayout, PicksTheSystemMostPiecesAreOfAndPrefersOnATie) {
    // The articles separated by blanks ("-" for an empty article) > the list chosen.
    for (const std::string c :
         {"> 0", "2200 24188 2210 > 1", "2200 24188 > 0", "2200 2210 > 1", "8500 62188 8510 > 3",
          "8500 62188 > 2", "8500 8510 > 3", "8500 2200 > 1", "99999 - > 0", "99999 62064 > 2",
          "14904 20-000 14912 > 4", "14904 20-000 > 4", "20-000 20-100 > 5"}) {
        std::vector<PlacedPiece> pieces;
        for (const std::string& article : Words(c.substr(0, c.find('>'))))
            pieces.emplace_back().article = article == "-" ? "" : article;
        EXPECT_EQ(SystemIndexForLayout(pieces), std::stoi(c.substr(c.find('>') + 1))) << c;
    }
    // Helix track does not count.
    std::vector<PlacedPiece> decks(
        3, PlacedPiece{.article = "24188", .colour = {}, .helixId = 7, .joints = {}});
    decks[0] = PlacedPiece{.article = "2200", .colour = {}, .joints = {}};
    EXPECT_EQ(SystemIndexForLayout(decks), 1);
}

TEST(LibraryFolder, NamesPathsAndBlockFiles) {
    EXPECT_EQ(LibraryFolderName("Marklin C-Track"), "Marklin_C-Track");
    EXPECT_EQ(LibraryFolderName("Minitrix"), "Minitrix-Track");
    EXPECT_EQ(LibraryFolderName(PaletteSystemName(5)), "Kato_N");
    EXPECT_EQ(LibraryFolderName("Kato N  Track"), "Kato_N__Track");
    EXPECT_EQ(LibraryFolderPath("/opt/qm/", "Marklin Z-Track"), "/opt/qm/library/Marklin_Z-Track");

    std::string folder = (std::filesystem::temp_directory_path() / "qm-palette-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    for (const char* name :
         {"Yard.xml", "Station & loop.xml", ".hidden.xml", "notes.txt", "UPPER.XML", "a.xml.bak"})
        std::ofstream(folder + "/" + name) << "x";
    std::filesystem::create_directory(folder + "/sub.xml");
    std::vector<PaletteRow> rows = BuildLibraryRows(folder);
    std::sort(rows.begin(), rows.end(), [](auto& a, auto& b) { return a.text < b.text; });
    EXPECT_EQ(rows, (std::vector<PaletteRow>{{"Station & loop", folder + "/Station & loop.xml"},
                                             {"Yard", folder + "/Yard.xml"}}));
    EXPECT_TRUE(BuildLibraryRows(folder + "/absent").empty());
    EXPECT_TRUE(BuildLibraryRows(folder + "/Yard.xml").empty());
    std::filesystem::remove_all(folder);
}

TEST(PreviewScale, FitsThePieceIntoTheWindow) {
    const auto table = ReadDataTable("preview_scale.tsv");
    ASSERT_EQ(table.size(), 7u);
    for (const auto& row : table) {
        SCOPED_TRACE(row[0] + " " + row[2]);
        PieceDef def;
        def.length = std::stod(row[0]);
        def.radius = std::stod(row[1]);
        def.angle = std::stod(row[2]);
        def.connectors.resize(std::stoi(row[3]));
        EXPECT_NEAR(PreviewZoom(def), std::stod(row[4]), 1e-9);
        const ViewTransform view = PreviewTransform(def);
        EXPECT_NEAR(view.zoom, std::stod(row[4]), 1e-9);
        EXPECT_NEAR(view.offsetX, std::stod(row[5]), 1e-9);
        EXPECT_DOUBLE_EQ(view.offsetY, 30.5);
    }
}

}  // namespace
