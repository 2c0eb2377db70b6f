// Buy Track: cart text and address, skipped articles and the messages shown.
#include <gtest/gtest.h>

#include "panels/BuyTrack.h"
#include "panels/TallyTestSupport.h"

namespace {

// A small store with short ids, so every expected cart can be written out by hand.
class BuyTrackTest : public testing::Test {
protected:
    BuyTrackTest() {
        store.host = "store.test";
        store.variantIds = {
            {"24188", "11"}, {"24630", "12"}, {"74636", "13"}, {"2263", "14"},  {"24720", "15"},
            {"8500", "16"},  {"2270", "17"},  {"24130", "18"}, {"24230", "19"}, {"24360", "20"},
            {"8976", "21"},  {"89759", "22"}, {"24624", "23"}, {"74491", "90"}, {"74492", "91"},
            {"75491", "92"}, {"74462", "93"}, {"74467", "94"},
        };
    }
    BuyTrackPlan Plan() const { return PlanBuyTrack(doc, store); }

    LayoutDocument doc;
    StoreTable store;
};

TEST_F(BuyTrackTest, EmptyLayoutHasNothingToBuy) {
    BuyTrackPlan plan = Plan();
    EXPECT_EQ(plan.cartText, "");
    EXPECT_EQ(plan.address, "");
    EXPECT_TRUE(plan.skipped.empty());
    ASSERT_TRUE(plan.message.has_value());
    EXPECT_EQ(plan.message->text, "No purchasable track pieces found in your layout.");
    EXPECT_EQ(plan.message->caption, "Buy Track");
    EXPECT_FALSE(plan.message->isWarning);
}

TEST_F(BuyTrackTest, BridgeIsBoughtWithoutItsDeckTrack) {
    PlacePieces(doc, "74636");
    BuyTrackPlan plan = Plan();
    EXPECT_EQ(plan.cartText, "13:1");
    EXPECT_EQ(plan.address, "https://store.test/cart/13:1");
    EXPECT_FALSE(plan.message.has_value());
}

TEST_F(BuyTrackTest, ThreeWayTurnoutsBringMotorSetsAndDecoders) {
    PlacePieces(doc, "24630", 2);
    // Motors go into the cart as 74492 (id 91), not the 74491 the tally names.
    EXPECT_EQ(Plan().cartText, "12:2,91:4,93:2");
}

TEST_F(BuyTrackTest, KTrackThreeWayTurnoutNeedsNoMotor) {
    PlacePieces(doc, "2270");
    EXPECT_EQ(Plan().cartText, "17:1");
}

TEST_F(BuyTrackTest, TrixTurnoutsAreSkippedButTheirAccessoriesAreBought) {
    PlacePieces(doc, "62611", 2);
    BuyTrackPlan plan = Plan();
    EXPECT_EQ(plan.skipped, std::vector<std::string>{"62611"});
    EXPECT_EQ(plan.cartText, "91:2,93:2");
    EXPECT_EQ(plan.address, "https://store.test/cart/91:2,93:2");
    ASSERT_TRUE(plan.message.has_value());
    EXPECT_EQ(plan.message->text,
              "The following pieces are not available in the store and will be skipped:\n"
              "  62611\n");
    EXPECT_EQ(plan.message->caption, "Some pieces not available");
    EXPECT_TRUE(plan.message->isWarning);
}

TEST_F(BuyTrackTest, SkippedArticlesAreListedInAscendingOrder) {
    PlacePieces(doc, "62630");
    PlacePieces(doc, "62188", 2);
    PlacePieces(doc, "62611");
    PlacePieces(doc, "24188");
    BuyTrackPlan plan = Plan();
    EXPECT_EQ(plan.skipped, (std::vector<std::string>{"62188", "62611", "62630"}));
    EXPECT_EQ(plan.cartText, "11:1,91:3,93:2");
    ASSERT_TRUE(plan.message.has_value());
    EXPECT_EQ(plan.message->text,
              "The following pieces are not available in the store and will be skipped:\n"
              "  62188\n  62611\n  62630\n");
}

TEST_F(BuyTrackTest, OnlyUnsoldPiecesMeansNothingToBuy) {
    PlacePieces(doc, "62188", 3);
    BuyTrackPlan plan = Plan();
    EXPECT_EQ(plan.address, "");
    ASSERT_TRUE(plan.message.has_value());
    EXPECT_EQ(plan.message->text, "No purchasable track pieces found in your layout.");
    EXPECT_FALSE(plan.message->isWarning);
}

TEST_F(BuyTrackTest, ArticlesMissingFromTheCatalogAreIgnoredSilently) {
    PlacePieces(doc, "99999", 2);
    PlacePieces(doc, "24188");
    BuyTrackPlan plan = Plan();
    EXPECT_EQ(plan.cartText, "11:1");
    EXPECT_TRUE(plan.skipped.empty());
    EXPECT_FALSE(plan.message.has_value());
}

TEST_F(BuyTrackTest, HelixBuysOnlyItsPlacedEndStraights) {
    PlaceHelixWithEnds(doc, "proses_2_5_r1r2");
    EXPECT_EQ(Plan().cartText, "11:4");
}

TEST_F(BuyTrackTest, PiecesInByteOrderThenAccessoriesInFixedOrder) {
    PlacePieces(doc, "24720");
    PlacePieces(doc, "24630");
    PlacePieces(doc, "2263", 2);
    PlacePieces(doc, "24188");
    PlacePieces(doc, "24624");
    // 2263 < 24188 < 24624 < 24630 < 24720; motors 2 + 1, K motors 2, 74462 for 24630 and
    // 24624, 74467 for 24720.
    EXPECT_EQ(Plan().cartText, "14:2,11:1,23:1,12:1,15:1,91:3,92:2,93:2,94:1");
}

TEST_F(BuyTrackTest, ZBridgesSortByTheirArticleText) {
    PlacePieces(doc, "8976");
    PlacePieces(doc, "89759");
    PlacePieces(doc, "74636");
    EXPECT_EQ(Plan().cartText, "13:1,22:1,21:1");
}

TEST_F(BuyTrackTest, AccessoryMissingFromTheStoreIsLeftOut) {
    store.variantIds.erase("74492");
    PlacePieces(doc, "24630", 2);
    BuyTrackPlan plan = Plan();
    EXPECT_EQ(plan.cartText, "12:2,93:2");
    EXPECT_TRUE(plan.skipped.empty());
    EXPECT_FALSE(plan.message.has_value());
}

TEST(BuyTrackShipped, ZArticlesWithoutStoreEntryAreSkipped) {
    LayoutDocument doc;
    PlacePieces(doc, "8501");
    PlacePieces(doc, "8500", 2);
    const StoreTable& store = StoreTable::BuiltIn();
    BuyTrackPlan plan = PlanBuyTrack(doc);
    EXPECT_EQ(plan.skipped, std::vector<std::string>{"8501"});
    const std::string* id = store.FindVariantId("8500");
    ASSERT_NE(id, nullptr);
    EXPECT_EQ(plan.cartText, *id + ":2");
    EXPECT_EQ(plan.address, "https://" + store.host + "/cart/" + *id + ":2");
}

TEST(BuyTrackShipped, TrixTurnoutsStillOpenTheCartWithMotorAndDecoder) {
    LayoutDocument doc;
    PlacePieces(doc, "62611");
    const StoreTable& store = StoreTable::BuiltIn();
    BuyTrackPlan plan = PlanBuyTrack(doc);
    EXPECT_EQ(plan.skipped, std::vector<std::string>{"62611"});
    ASSERT_NE(store.FindVariantId("74492"), nullptr);
    ASSERT_NE(store.FindVariantId("74462"), nullptr);
    EXPECT_EQ(plan.cartText,
              *store.FindVariantId("74492") + ":1," + *store.FindVariantId("74462") + ":1");
}

TEST(BuyTrackTexts, SkippedTextListsEachArticleOnItsOwnIndentedLine) {
    EXPECT_EQ(SkippedArticlesText({"8502", "8511"}),
              "The following pieces are not available in the store and will be skipped:\n"
              "  8502\n  8511\n");
}

}  // namespace
