// Palette rules without windows: list contents per system, signals, scenery, the system for an
// opened layout, library folders and files, and the hover preview's scale.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>

#include "catalog/TrackCatalog.h"
#include "panels/PaletteLogic.h"
#include "panels/PaletteTables.h"

namespace {

struct TrackListCase {
    int index;
    TrackSystem catalogSystem;
    std::vector<std::string> headers;
    int pieceRows;  // rows with an article key, counted from the group tables by hand
    std::string firstArticle;
    std::string lastArticle;
};

class TrackListTest : public testing::TestWithParam<TrackListCase> {};

TEST_P(TrackListTest, GroupsHeadersAndArticlesOfTheSystem) {
    const TrackListCase& c = GetParam();
    std::vector<PaletteRow> rows = BuildTrackRows(c.index);
    std::vector<std::string> headers;
    std::vector<std::string> articles;
    for (const PaletteRow& row : rows) {
        if (row.key.empty()) {
            headers.push_back(row.text);
        } else if (!row.key.starts_with("@helix:")) {
            articles.push_back(row.key);
            const PieceDef* def = TrackCatalog::Instance().Find(row.key);
            ASSERT_NE(def, nullptr) << row.key;
            EXPECT_EQ(def->system, c.catalogSystem) << row.key;
            EXPECT_EQ(row.text, def->name);
        }
    }
    EXPECT_EQ(headers, c.headers);
    EXPECT_EQ(static_cast<int>(articles.size()), c.pieceRows);
    ASSERT_FALSE(articles.empty());
    EXPECT_EQ(articles.front(), c.firstArticle);
    EXPECT_EQ(articles.back(), c.lastArticle);
    // Every list opens with a header and never ends on one.
    EXPECT_TRUE(rows.front().key.empty());
    EXPECT_FALSE(rows.back().key.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Systems, TrackListTest,
    testing::Values(
        TrackListCase{0,
                      TrackSystem::MarklinC,
                      {"--- Straights", "--- Curves", "--- Switches", "--- Crossings",
                       "--- Double Slip Switches", "--- Slim Switches", "--- Circuit Tracks",
                       "--- Other", "--- Bridges", "--- Helix"},
                      49,
                      "24064",
                      "74618"},
        TrackListCase{1,
                      TrackSystem::MarklinK,
                      {"--- Straights", "--- Special Track", "--- Curves R1 (360mm)",
                       "--- Curves R2 (424.6mm)", "--- Curves R3 (515mm)",
                       "--- Curves R4 (573.6mm)", "--- Curves R5 (636mm)", "--- Crossings",
                       "--- Turnouts", "--- Double Slip Switches", "--- Bumpers", "--- Bridges"},
                      51,
                      "2200",
                      "7267"},
        TrackListCase{2,
                      TrackSystem::TrixC,
                      {"--- Straights", "--- Curves R1 (360mm)", "--- Curves R2 (437.5mm)",
                       "--- Curves R3 (515mm)", "--- Curves R9 (1114.6mm)", "--- Switches",
                       "--- Double Slip Switches", "--- Other", "--- Bridges"},
                      32,
                      "62064",
                      "62613"},
        TrackListCase{3,
                      TrackSystem::MarklinZ,
                      {"--- Straights", "--- Curves R1 (145mm)", "--- Curves R2 (195mm)",
                       "--- Curves R3 (220mm)", "--- Turnout Branch Curve", "--- Turnouts",
                       "--- Curved Turnouts", "--- Crossings", "--- Other", "--- Bridges"},
                      34,
                      "8500",
                      "8977"}));

TEST(TrackList, TheFourSystemsTogetherListEveryCatalogPiece) {
    std::set<std::string> listed;
    for (int index = 0; index < kPaletteSystemCount; ++index)
        for (const PaletteRow& row : BuildTrackRows(index))
            if (!row.key.empty() && !row.key.starts_with("@helix:")) listed.insert(row.key);
    EXPECT_EQ(static_cast<int>(listed.size()), 165);
    EXPECT_EQ(static_cast<int>(listed.size()), TrackCatalog::Instance().Count());
}

TEST(TrackList, CircuitTrackArticleStandsInTwoGroups) {
    std::vector<PaletteRow> rows = BuildTrackRows(0);
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                            [](const PaletteRow& r) { return r.key == "24294"; }),
              2);
}

TEST(TrackList, HelixGroupEndsTheCTrackListOnly) {
    std::vector<PaletteRow> rows = BuildTrackRows(0);
    auto header = std::find_if(rows.begin(), rows.end(),
                               [](const PaletteRow& r) { return r.text == "--- Helix"; });
    ASSERT_NE(header, rows.end());
    std::vector<std::string> keys;
    for (auto it = header + 1; it != rows.end(); ++it) keys.push_back(it->key);
    EXPECT_EQ(keys, (std::vector<std::string>{"@helix:proses_2_5_r1r2", "@helix:proses_3_5_r1r2",
                                              "@helix:proses_4_5_r1r2", "@helix:proses_2_5_r2r3",
                                              "@helix:proses_3_5_r2r3", "@helix:proses_2_5_r3r4",
                                              "@helix:proses_4_5_r3r4", "@helix:proses_2_5_r4r5",
                                              "@helix:proses_3_5_r4r5", "@helix:proses_4_5_r4r5"}));
    EXPECT_EQ((header + 1)->text, "Proses 2.5 R1&R2 26cm/10.2\"");
    for (int index = 1; index < kPaletteSystemCount; ++index)
        for (const PaletteRow& row : BuildTrackRows(index)) EXPECT_FALSE(IsHelixKey(row.key));
}

TEST(TrackList, OutOfRangeSystemGivesAnEmptyList) {
    EXPECT_TRUE(BuildTrackRows(-1).empty());
    EXPECT_TRUE(BuildTrackRows(4).empty());
}

TEST(HelixKey, PrefixIsStrippedOnlyFromHelixKeys) {
    EXPECT_EQ(HelixIdFromKey("@helix:proses_2_5_r1r2"), "proses_2_5_r1r2");
    EXPECT_EQ(HelixIdFromKey("@helix:"), "");
    EXPECT_EQ(HelixIdFromKey("24188"), "");
    EXPECT_EQ(HelixIdFromKey("x@helix:a"), "");
    EXPECT_TRUE(IsHelixKey("@helix:a"));
    EXPECT_FALSE(IsHelixKey("@Helix:a"));
}

TEST(SceneryList, KeepsPlatformsStationsBridgesAndNatureUnderTheirHeaders) {
    std::vector<PaletteRow> expected = {
        {"--- Platforms", ""},
        {"Platform", "platform"},
        {"Island platform 460mm", "platform_island"},
        {"--- Stations", ""},
        {"Station Gueglingen", "station_small"},
        {"Station Schwarzburg", "station_large"},
        {"--- Bridges", ""},
        {"Truss bridge (scenery)", "bridge_truss_scenery"},
        {"Arch bridge (scenery)", "bridge_arch_scenery"},
        {"--- Nature", ""},
        {"Deciduous tree (small)", "tree_sm_dec"},
        {"Deciduous tree (large)", "tree_lg_dec"},
        {"Conifer tree", "tree_conifer"},
        {"Tree group (3 mixed)", "tree_group"},
        {"Bush / shrub", "bush"},
    };
    EXPECT_EQ(BuildSceneryRows(), expected);
}

TEST(SceneryList, CategoryMaskCoversExactlyZeroTwoFourSeven) {
    std::vector<int> shown;
    for (int c = -2; c < 20; ++c)
        if (PaletteShowsSceneryCategory(c)) shown.push_back(c);
    EXPECT_EQ(shown, (std::vector<int>{0, 2, 4, 7}));
    EXPECT_EQ(kPaletteSceneryMask, 1u + 4u + 16u + 128u);
}

TEST(SignalsList, OtherSystemsListTheNormalSignals) {
    std::vector<PaletteRow> expected = {
        {"--- Semaphore", ""},
        {"Semaphore (Stop)", "signal_semaphore_stop"},
        {"Semaphore (Clear)", "signal_semaphore_clear"},
        {"--- Color light", ""},
        {"Color light (Stop)", "signal_color_stop"},
        {"Color light (Clear)", "signal_color_clear"},
    };
    for (int index : {0, 1, 2}) EXPECT_EQ(BuildSignalRows(index), expected) << index;
}

TEST(SignalsList, ZSystemListsExactlyTheZSignals) {
    std::vector<PaletteRow> expected = {
        {"--- Semaphore", ""},
        {"Semaphore Z (Stop)", "signal_z_semaphore_stop"},
        {"Semaphore Z (Clear)", "signal_z_semaphore_clear"},
        {"--- Color light", ""},
        {"Color light Z (Stop)", "signal_z_color_stop"},
        {"Color light Z (Clear)", "signal_z_color_clear"},
    };
    EXPECT_EQ(BuildSignalRows(3), expected);
}

TEST(SignalsList, KindComesFromTheFirstMatchingWord) {
    EXPECT_EQ(SignalKind("signal_semaphore_stop"), "Semaphore");
    EXPECT_EQ(SignalKind("semaphore_color"), "Semaphore");
    EXPECT_EQ(SignalKind("signal_color_distant"), "Color light");
    EXPECT_EQ(SignalKind("distant_home"), "Distant");
    EXPECT_EQ(SignalKind("signal_box"), "Other");
    EXPECT_EQ(SignalKind("Semaphore"), "Other");  // words are matched byte for byte
}

// Pieces of the given articles.
std::vector<PlacedPiece> Pieces(std::initializer_list<const char*> articles) {
    std::vector<PlacedPiece> pieces;
    uint32_t id = 1;
    for (const char* article : articles) {
        PlacedPiece p;
        p.id = id++;
        p.article = article;
        pieces.push_back(p);
    }
    return pieces;
}

struct OpenedLayoutCase {
    const char* name;
    std::vector<PlacedPiece> pieces;
    int index;
};

class OpenedLayoutTest : public testing::TestWithParam<OpenedLayoutCase> {};

TEST_P(OpenedLayoutTest, PicksThePreferredSystemInUse) {
    EXPECT_EQ(SystemIndexForLayout(GetParam().pieces), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, OpenedLayoutTest,
    testing::Values(OpenedLayoutCase{"Empty", {}, 0},
                    OpenedLayoutCase{"KAndC", Pieces({"2200", "24188", "2210"}), 0},
                    OpenedLayoutCase{"KOnly", Pieces({"2200", "2210"}), 1},
                    OpenedLayoutCase{"TrixAndZ", Pieces({"8500", "62188", "8510"}), 2},
                    OpenedLayoutCase{"ZOnly", Pieces({"8500", "8510"}), 3},
                    OpenedLayoutCase{"ZAndK", Pieces({"8500", "2200"}), 1},
                    OpenedLayoutCase{"UnknownOnly", Pieces({"99999", ""}), 0},
                    OpenedLayoutCase{"UnknownAndTrix", Pieces({"99999", "62064"}), 2}),
    [](const testing::TestParamInfo<OpenedLayoutCase>& info) { return info.param.name; });

TEST(SceneryPage, LeavesForZAndComesBackForTheOthers) {
    EXPECT_EQ(SceneryPageChangeFor(3, true), SceneryPageChange::Remove);
    EXPECT_EQ(SceneryPageChangeFor(3, false), SceneryPageChange::None);
    for (int index : {0, 1, 2}) {
        EXPECT_EQ(SceneryPageChangeFor(index, false), SceneryPageChange::Add);
        EXPECT_EQ(SceneryPageChangeFor(index, true), SceneryPageChange::None);
    }
}

TEST(LibraryFolder, NamesPerChoiceText) {
    EXPECT_EQ(LibraryFolderName("Marklin C-Track"), "Marklin_C-Track");
    EXPECT_EQ(LibraryFolderName("Marklin K-Track"), "Marklin_K-Track");
    EXPECT_EQ(LibraryFolderName("TRIX C-Track"), "TRIX_C-Track");
    EXPECT_EQ(LibraryFolderName("Marklin Z-Track"), "Marklin_Z-Track");
    EXPECT_EQ(LibraryFolderName("Minitrix"), "Minitrix-Track");
    EXPECT_EQ(LibraryFolderName("Kato N  Track"), "Kato_N__Track");
}

TEST(LibraryFolder, LiesInTheLibraryFolderOfTheProgram) {
    EXPECT_EQ(LibraryFolderPath("/opt/qm", "TRIX C-Track"), "/opt/qm/library/TRIX_C-Track");
    EXPECT_EQ(LibraryFolderPath("/opt/qm/", "Marklin Z-Track"), "/opt/qm/library/Marklin_Z-Track");
}

class LibraryFilesTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qm-palette-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void Touch(const std::string& name) { std::ofstream(folder + "/" + name) << "x"; }

    std::string folder;
};

TEST_F(LibraryFilesTest, ListsPlainXmlFilesWithoutExtension) {
    Touch("Yard.xml");
    Touch("Station & loop.xml");
    Touch(".hidden.xml");
    Touch("notes.txt");
    Touch("UPPER.XML");
    Touch("archive.xml.bak");
    std::filesystem::create_directory(folder + "/sub.xml");
    std::vector<PaletteRow> rows = BuildLibraryRows(folder);
    std::sort(rows.begin(), rows.end(),
              [](const PaletteRow& a, const PaletteRow& b) { return a.text < b.text; });
    std::vector<PaletteRow> expected = {
        {"Station & loop", folder + "/Station & loop.xml"},
        {"Yard", folder + "/Yard.xml"},
    };
    EXPECT_EQ(rows, expected);
}

TEST_F(LibraryFilesTest, MissingFolderGivesAnEmptyList) {
    EXPECT_TRUE(BuildLibraryRows(folder + "/absent").empty());
    Touch("plain");
    EXPECT_TRUE(BuildLibraryRows(folder + "/plain").empty());
}

PieceDef Def(double length, double radius, double angle, int connectors) {
    PieceDef def;
    def.length = length;
    def.radius = radius;
    def.angle = angle;
    def.connectors.resize(connectors);
    return def;
}

struct PreviewCase {
    const char* name;
    PieceDef def;
    double zoom;     // worked out by hand from the fit rule
    double offsetX;  // 40 - max(1, length) * zoom / 2
};

class PreviewScaleTest : public testing::TestWithParam<PreviewCase> {};

TEST_P(PreviewScaleTest, FitsThePieceIntoTheWindow) {
    const PreviewCase& c = GetParam();
    EXPECT_NEAR(PreviewZoom(c.def), c.zoom, 1e-9);
    ViewTransform view = PreviewTransform(c.def);
    EXPECT_NEAR(view.zoom, c.zoom, 1e-9);
    EXPECT_NEAR(view.offsetX, c.offsetX, 1e-9);
    EXPECT_DOUBLE_EQ(view.offsetY, 30.5);
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, PreviewScaleTest,
    testing::Values(
        // 68 / 188 * 0.8 = 0.289361..., the length decides.
        PreviewCase{"Straight188", Def(188, 0, 0, 2), 54.4 / 188, 40 - 27.2},
        // h = 200 * (1 - cos 60) * 2.5 = 250: 33 / 250 * 0.8 = 0.1056 is below 68/100*0.8.
        PreviewCase{"Curve60", Def(100, 200, 60, 2), 0.1056, 40 - 5.28},
        // Negative angles bend the other way with the same height.
        PreviewCase{"LeftCurve60", Def(100, 200, -60, 2), 0.1056, 40 - 5.28},
        // A shallow curve is raised to h = 40: 33 / 40 * 0.8 = 0.66.
        PreviewCase{"ShallowCurve", Def(50, 100, 10, 2), 0.66, 40 - 16.5},
        // Three connectors raise h to 60: 33 / 60 * 0.8 = 0.44.
        PreviewCase{"Turnout", Def(50, 0, 0, 3), 0.44, 40 - 11},
        // A zero length counts as 1 mm.
        PreviewCase{"NoLength", Def(0, 0, 0, 1), 0.66, 40 - 0.33},
        // 68 / 2000 * 0.8 = 0.0272 is raised to the least zoom 0.05.
        PreviewCase{"VeryLong", Def(2000, 0, 0, 2), 0.05, 40 - 50}),
    [](const testing::TestParamInfo<PreviewCase>& info) { return info.param.name; });

TEST(PaletteTables, SystemNamesAndCatalogSystemsByIndex) {
    EXPECT_EQ(PaletteSystemName(0), "Marklin C-Track");
    EXPECT_EQ(PaletteSystemName(1), "Marklin K-Track");
    EXPECT_EQ(PaletteSystemName(2), "TRIX C-Track");
    EXPECT_EQ(PaletteSystemName(3), "Marklin Z-Track");
    EXPECT_EQ(PaletteSystemName(4), "");
    EXPECT_EQ(PaletteCatalogSystem(2), TrackSystem::TrixC);
    EXPECT_EQ(PaletteCatalogSystem(3), TrackSystem::MarklinZ);
    // The choice texts are the catalog's long names of the same systems.
    for (int index = 0; index < kPaletteSystemCount; ++index)
        EXPECT_EQ(PaletteSystemName(index), TrackSystemLongName(PaletteCatalogSystem(index)));
}

}  // namespace
