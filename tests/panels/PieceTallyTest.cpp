// The piece tally: counts with bridge decks and helix curves, its rows and recommendations.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "panels/PieceTally.h"
#include "panels/TallyTables.h"
#include "panels/TallyTestSupport.h"

namespace {

TallyRow Row(std::string text, std::string count) {
    return {std::move(text), std::move(count), false};
}
TallyRow Heading() { return {"We Recommend", "", true}; }

TEST(PieceTally, EmptyLayoutHasNoRowsAndNoRecommendation) {
    LayoutDocument doc;
    PieceTally tally = RefreshTally(doc);
    EXPECT_TRUE(tally.counts.empty());
    EXPECT_TRUE(tally.rows.empty());
    EXPECT_EQ(tally.accessories.Total(), 0);
}

TEST(PieceTally, ArchBridgeAlsoCountsItsDeckStraight) {
    LayoutDocument doc;
    PlacePieces(doc, "74636");
    const std::vector<TallyRow> expected = {Row("24360 - 360mm", "1"),
                                            Row("74636 Arch Bridge 360mm", "1")};
    EXPECT_EQ(RefreshTally(doc).rows, expected);
}

TEST(PieceTally, RampPairsAddBothDeckStraightsPerRamp) {
    LayoutDocument doc;
    PlacePieces(doc, "74618", 2);
    PlacePieces(doc, "24188");
    const PieceCounts expected = {{"24172", 2}, {"24188", 3}, {"74618", 2}};
    EXPECT_EQ(CountLayoutPieces(doc), expected);
}

// Every bridge and the track it carries, written out per bridge.
struct BridgeCase {
    const char* bridge;
    std::vector<std::string> decks;
};

class BridgeDecks : public testing::TestWithParam<BridgeCase> {};

TEST_P(BridgeDecks, OneBridgeCountsItselfAndEachDeckOnce) {
    LayoutDocument doc;
    PlacePieces(doc, GetParam().bridge);
    PieceCounts expected = {{GetParam().bridge, 1}};
    for (const std::string& deck : GetParam().decks) expected[deck] = 1;
    EXPECT_EQ(CountLayoutPieces(doc), expected);
    EXPECT_EQ(BridgeDeckArticles(GetParam().bridge), GetParam().decks);
}

INSTANTIATE_TEST_SUITE_P(
    AllBridges, BridgeDecks,
    testing::Values(BridgeCase{"74636", {"24360"}}, BridgeCase{"74620", {"24188"}},
                    BridgeCase{"74623", {"24230"}}, BridgeCase{"74613", {"24130"}},
                    BridgeCase{"74618", {"24188", "24172"}}, BridgeCase{"7263", {"2200"}},
                    BridgeCase{"7262", {"2200"}}, BridgeCase{"7569", {"2221"}},
                    BridgeCase{"7267", {"2221"}}, BridgeCase{"62636", {"62188", "62172"}},
                    BridgeCase{"62620", {"62188"}}, BridgeCase{"62623", {"62230"}},
                    BridgeCase{"62613", {"62130"}}, BridgeCase{"8975", {"8505"}},
                    BridgeCase{"89759", {"8500"}}, BridgeCase{"8976", {"8500"}},
                    BridgeCase{"8977", {"8510"}}));

TEST(PieceTally, NonBridgesCarryNoDeck) {
    EXPECT_TRUE(BridgeDeckArticles("24360").empty());
    EXPECT_TRUE(BridgeDeckArticles("").empty());
    EXPECT_TRUE(BridgeDeckArticles("7463").empty());
}

// A helix adds twelve 30-degree curves per turn on each radius; its end straights are the four
// placed pieces and count once each.
struct HelixCase {
    const char* variant;
    const char* inner;
    const char* outer;
    int curves;
};

class HelixCurves : public testing::TestWithParam<HelixCase> {};

TEST_P(HelixCurves, CountsTwelveCurvesPerTurnOnEachRadius) {
    LayoutDocument doc;
    PlaceHelixWithEnds(doc, GetParam().variant);
    const PieceCounts expected = {
        {"24188", 4}, {GetParam().inner, GetParam().curves}, {GetParam().outer, GetParam().curves}};
    EXPECT_EQ(CountLayoutPieces(doc), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, HelixCurves,
    testing::Values(HelixCase{"proses_2_5_r1r2", "24130", "24230", 30},  // 2.5 x 12
                    HelixCase{"proses_3_5_r2r3", "24230", "24330", 42},  // 3.5 x 12
                    HelixCase{"proses_4_5_r3r4", "24330", "24430", 54},  // 4.5 x 12
                    HelixCase{"proses_3_5_r4r5", "24430", "24530", 42},
                    // No id or an unknown one: the default 2.5-turn R1/R2 helix.
                    HelixCase{"", "24130", "24230", 30},
                    HelixCase{"proses_9_r9", "24130", "24230", 30}));

TEST(PieceTally, HelixCurvesAddToPlacedCurvesAndBridgeDecks) {
    LayoutDocument doc;
    PlaceHelixWithEnds(doc, "proses_2_5_r1r2");  // 30 x 24130, 30 x 24230
    PlaceHelixWithEnds(doc, "proses_2_5_r2r3");  // 30 x 24230, 30 x 24330
    PlacePieces(doc, "74623");                   // deck 24230
    PlacePieces(doc, "24230", 2);
    PieceTally tally = RefreshTally(doc);
    const PieceCounts expected = {
        {"24130", 30}, {"24188", 8}, {"24230", 63}, {"24330", 30}, {"74623", 1}};
    EXPECT_EQ(tally.counts, expected);
    ASSERT_EQ(tally.rows.size(), 5u);
    EXPECT_EQ(tally.rows[2], Row("24230 (30°) R2 - 437.5mm (17-1/4)", "63"));
    EXPECT_EQ(tally.accessories.Total(), 0);
}

TEST(PieceTally, ArticleMissingFromCatalogIsListedByItsNumber) {
    LayoutDocument doc;
    PlacePieces(doc, "99999", 3);
    PlacePieces(doc, "24172");
    const std::vector<TallyRow> expected = {Row("24172 - 171.7mm", "1"), Row("99999", "3")};
    EXPECT_EQ(RefreshTally(doc).rows, expected);
}

TEST(PieceTally, RowsFollowByteOrderOfTheArticleNotNumericOrder) {
    LayoutDocument doc;
    PlacePieces(doc, "8976");   // deck 8500
    PlacePieces(doc, "89759");  // deck 8500
    PlacePieces(doc, "7263");   // deck 2200
    PlacePieces(doc, "24188");
    std::vector<std::string> order;
    for (const TallyRow& row : RefreshTally(doc).rows) order.push_back(row.text.substr(0, 5));
    const std::vector<std::string> expected = {"2200 ", "24188", "7263 ",
                                               "8500 ", "89759", "8976 "};
    EXPECT_EQ(order, expected);
}

TEST(PieceTally, TwoThreeWayTurnoutsRecommendFourMotorsAndTwoDecoders) {
    LayoutDocument doc;
    PlacePieces(doc, "24630", 2);
    const std::vector<TallyRow> expected = {Row("24630 Three-Way Turnout 2x24.3°", "2"), Heading(),
                                            Row("74491 Turnout Motor", "4"),
                                            Row("74462 Decoder", "2")};
    EXPECT_EQ(RefreshTally(doc).rows, expected);
}

TEST(PieceTally, SlimDoubleSlipTakesItsOwnDecoder) {
    LayoutDocument doc;
    PlacePieces(doc, "24720");
    const std::vector<TallyRow> expected = {Row("24720 Double Slip Switch slim 12.1°", "1"),
                                            Heading(), Row("74491 Turnout Motor", "1"),
                                            Row("74467 Decoder (24720)", "1")};
    EXPECT_EQ(RefreshTally(doc).rows, expected);
}

TEST(PieceTally, PlainDoubleSlipRecommendsOnlyADecoder) {
    LayoutDocument doc;
    PlacePieces(doc, "24624");
    const std::vector<TallyRow> expected = {Row("24624 Double Slip Switch 24.3°", "1"), Heading(),
                                            Row("74462 Decoder", "1")};
    EXPECT_EQ(RefreshTally(doc).rows, expected);
}

TEST(PieceTally, KTrackTurnoutsRecommendKTrackMotors) {
    LayoutDocument doc;
    PlacePieces(doc, "2263", 3);
    PlacePieces(doc, "2270");  // the K-Track three-way turnout has no motor entry
    PieceTally tally = RefreshTally(doc);
    EXPECT_EQ(tally.accessories, (AccessorySums{0, 3, 0, 0}));
    ASSERT_EQ(tally.rows.size(), 4u);
    EXPECT_EQ(tally.rows[2], Heading());
    EXPECT_EQ(tally.rows[3], Row("75491 K-Track Motor", "3"));
}

TEST(PieceTally, AllFourRecommendationsInFixedOrderAfterThePieces) {
    LayoutDocument doc;
    PlacePieces(doc, "62630");    // 2 motors, 1 x 74462
    PlacePieces(doc, "24720");    // 1 motor, 1 x 74467
    PlacePieces(doc, "2268", 2);  // 2 K-Track motors
    PlaceHelixWithEnds(doc, "proses_4_5_r1r2");
    PieceTally tally = RefreshTally(doc);
    EXPECT_EQ(tally.accessories, (AccessorySums{3, 2, 1, 1}));
    // 2268, 24130, 24188, 24230, 24720, 62630: six piece rows.
    ASSERT_EQ(tally.rows.size(), 6u + 5u);
    EXPECT_EQ(tally.rows[1], Row("24130 (30°) R1 - 360mm (14-3/16)", "54"));
    const std::vector<TallyRow> tail(tally.rows.begin() + 6, tally.rows.end());
    const std::vector<TallyRow> expected = {
        Heading(), Row("74491 Turnout Motor", "3"), Row("75491 K-Track Motor", "2"),
        Row("74462 Decoder", "1"), Row("74467 Decoder (24720)", "1")};
    EXPECT_EQ(tail, expected);
}

// Motors and decoders per piece, one row per switch article that needs any.
struct AccessoryCase {
    const char* article;
    int motors;
    int kTrackMotors;
    const char* decoder;
};

TEST(PieceTally, AccessoriesPerSwitchArticle) {
    const AccessoryCase cases[] = {
        {"24611", 1, 0, "74462"}, {"24612", 1, 0, "74462"}, {"24630", 2, 0, "74462"},
        {"24671", 1, 0, "74462"}, {"24672", 1, 0, "74462"}, {"24711", 1, 0, "74462"},
        {"24712", 1, 0, "74462"}, {"24771", 1, 0, "74462"}, {"24772", 1, 0, "74462"},
        {"24720", 1, 0, "74467"}, {"24624", 0, 0, "74462"}, {"62611", 1, 0, "74462"},
        {"62612", 1, 0, "74462"}, {"62630", 2, 0, "74462"}, {"62671", 1, 0, "74462"},
        {"62672", 1, 0, "74462"}, {"62624", 0, 0, "74462"}, {"2261", 0, 1, ""},
        {"2263", 0, 1, ""},       {"2264", 0, 1, ""},       {"2265", 0, 1, ""},
        {"2266", 0, 1, ""},       {"2267", 0, 1, ""},       {"2268", 0, 1, ""},
        {"2269", 0, 1, ""},       {"2271", 0, 1, ""},       {"2272", 0, 1, ""},
        {"2276", 0, 1, ""},       {"2277", 0, 1, ""},       {"24188", 0, 0, ""},
        {"24640", 0, 0, ""},      {"2270", 0, 0, ""},       {"8562", 0, 0, ""},
    };
    for (const AccessoryCase& c : cases) {
        SCOPED_TRACE(c.article);
        const std::string decoder = c.decoder;
        const AccessorySums sums = SumAccessories({{c.article, 3}});
        EXPECT_EQ(sums.turnoutMotors, 3 * c.motors);
        EXPECT_EQ(sums.kTrackMotors, 3 * c.kTrackMotors);
        EXPECT_EQ(sums.decoders74462, decoder == "74462" ? 3 : 0);
        EXPECT_EQ(sums.decoders74467, decoder == "74467" ? 3 : 0);
    }
}

}  // namespace
