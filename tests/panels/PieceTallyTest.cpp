// The piece tally: counts with bridge decks and helix curves, its rows and recommendations.
#include <gtest/gtest.h>

#include "panels/DataTable.h"
#include "panels/PieceTally.h"
#include "panels/TallyTables.h"
#include "panels/TallyTestSupport.h"

namespace {

// A piece row as an empty box shows it: nothing owned, everything to buy.
TallyRow Row(std::string text, std::string count) {
    return {text, count, false, "0", count, false};
}
// A recommendation row: advice, with no stock columns.
TallyRow Accessory(std::string text, std::string count) {
    return {text, count, false, "", "", false};
}
const TallyRow kHeading = {"We Recommend", "", true, "", "", false};

TEST(PieceTally, EveryBridgeCountsItselfAndEachDeckOnce) {
    const auto table = ReadDataTable("bridge_decks.tsv");
    ASSERT_EQ(table.size(), 19u);
    for (const auto& row : table) {
        const std::string& bridge = row[0];
        SCOPED_TRACE(bridge);
        const std::vector<std::string> decks = Words(row.size() > 1 ? row[1] : "");
        LayoutDocument doc;
        PlacePieces(doc, bridge, 2);
        PieceCounts expected = {{bridge, 2}};
        for (const std::string& deck : decks) expected[deck] += 2;
        EXPECT_EQ(CountLayoutPieces(doc), expected);
        EXPECT_EQ(BridgeDeckArticles(bridge), decks);
    }
}

TEST(PieceTally, HelixCountsTwelveCurvesPerTurnOnEachRadiusAndItsEndsOnce) {
    const auto table = ReadDataTable("helix_curves.tsv");
    ASSERT_EQ(table.size(), 6u);
    for (const auto& row : table) {
        SCOPED_TRACE(row[0]);
        LayoutDocument doc;
        PlaceHelixWithEnds(doc, row[0]);
        const int curves = std::stoi(row[3]);
        EXPECT_EQ(CountLayoutPieces(doc),
                  (PieceCounts{{"24188", 4}, {row[1], curves}, {row[2], curves}}));
    }
}

TEST(PieceTally, RowsAndRecommendations) {
    const struct {
        const char* placed;
        std::vector<TallyRow> rows;
    } cases[] = {
        {"74636:1", {Row("24360 - 360mm", "1"), Row("74636 Arch Bridge 360mm", "1")}},
        {"99999:3 24172:1", {Row("24172 - 171.7mm", "1"), Row("99999", "3")}},
        {"24630:2",
         {Row("24630 Three-Way Turnout 2x24.3°", "2"), kHeading,
          Accessory("74491 Turnout Motor", "4"), Accessory("74462 Decoder", "2")}},
        {"24720:1",
         {Row("24720 Double Slip Switch slim 12.1°", "1"), kHeading,
          Accessory("74491 Turnout Motor", "1"), Accessory("74467 Decoder (24720)", "1")}},
        {"24624:1",
         {Row("24624 Double Slip Switch 24.3°", "1"), kHeading, Accessory("74462 Decoder", "1")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.placed);
        EXPECT_EQ(RefreshTally(LayoutOf(c.placed)).rows, c.rows);
    }
}

TEST(PieceTally, AllFourRecommendationsInFixedOrderAfterThePieces) {
    LayoutDocument doc;
    PlacePieces(doc, "62630");    // 2 motors, 1 x 74462
    PlacePieces(doc, "24720");    // 1 motor, 1 x 74467
    PlacePieces(doc, "2268", 2);  // 2 K-Track motors
    PlaceHelixWithEnds(doc, "proses_4_5_r1r2");
    const PieceTally tally = RefreshTally(doc);
    EXPECT_EQ(tally.accessories, (AccessorySums{3, 2, 1, 1}));
    // 2268, 24130, 24188, 24230, 24720, 62630: six piece rows.
    ASSERT_EQ(tally.rows.size(), 6u + 5u);
    EXPECT_EQ(tally.rows[1], Row("24130 (30°) R1 - 360mm (14-3/16)", "54"));
    const std::vector<TallyRow> tail(tally.rows.begin() + 6, tally.rows.end());
    EXPECT_EQ(tail, (std::vector<TallyRow>{kHeading, Accessory("74491 Turnout Motor", "3"),
                                           Accessory("75491 K-Track Motor", "2"),
                                           Accessory("74462 Decoder", "1"),
                                           Accessory("74467 Decoder (24720)", "1")}));
}

TEST(PieceTally, RowsSetTheLayoutsNeedAgainstTheBox) {
    LayoutDocument doc;
    PlacePieces(doc, "74636");     // and its deck 24360
    PlacePieces(doc, "24360", 2);  // three 24360 needed in all
    PlacePieces(doc, "24630");     // recommends two motors and a decoder
    PlacePieces(doc, "99999", 2);  // not in the catalog
    // 24188 is spare, not part of what the layout needs; recommendations stay advice.
    const TrackBox box = BoxOf("24360:1 74636:4 99999:2 24188:7 74491:2");
    const PieceTally tally = RefreshTally(doc, box);
    EXPECT_EQ(tally.counts, RefreshTally(doc).counts) << "the box does not change the need";
    const std::vector<TallyRow> expected = {
        {"24360 - 360mm", "3", false, "1", "2", false},
        {"24630 Three-Way Turnout 2x24.3°", "1", false, "0", "1", false},
        {"74636 Arch Bridge 360mm", "1", false, "4", "0", true},
        {"99999", "2", false, "2", "0", true},
        kHeading,
        Accessory("74491 Turnout Motor", "2"),
        Accessory("74462 Decoder", "1"),
    };
    EXPECT_EQ(tally.rows, expected);
}

TEST(PieceTally, AccessoriesPerSwitchArticle) {
    const auto table = ReadDataTable("switch_accessories.tsv");
    ASSERT_EQ(table.size(), 33u);
    for (const auto& row : table) {
        SCOPED_TRACE(row[0]);
        ASSERT_EQ(row.size(), 4u);
        const AccessorySums expected = {3 * std::stoi(row[1]), 3 * std::stoi(row[2]),
                                        row[3] == "74462" ? 3 : 0, row[3] == "74467" ? 3 : 0};
        EXPECT_EQ(SumAccessories({{row[0], 3}}), expected);
    }
}

}  // namespace
