// Buy Track: cart text and address, skipped articles and the messages shown.
#include <gtest/gtest.h>

#include <optional>

#include "panels/BuyTrack.h"
#include "panels/TallyTestSupport.h"

namespace {

const char* const kNothingToBuy = "No purchasable track pieces found in your layout.";
const char* const kSkippedIntro =
    "The following pieces are not available in the store and will be skipped:\n";
const char* const kNoneSold =
    "None of the pieces your layout needs are available in the store:\n  62130\n  62188\n"
    "\nSave the parts list as a CSV file instead?";
const char* const kKatoNotSold =
    "Kato N track is not sold in the store.\n\nSave the parts list as a CSV file instead?";

// A small store with short ids, so every expected cart can be written out by hand.
StoreTable SmallStore() {
    StoreTable store;
    store.host = "store.test";
    store.variantIds = {
        {"24188", "11"}, {"24630", "12"}, {"74636", "13"}, {"2263", "14"},  {"24720", "15"},
        {"8500", "16"},  {"2270", "17"},  {"24130", "18"}, {"24230", "19"}, {"24360", "20"},
        {"8976", "21"},  {"89759", "22"}, {"24624", "23"}, {"74491", "90"}, {"74492", "91"},
        {"75491", "92"}, {"74462", "93"}, {"74467", "94"},
    };
    return store;
}

struct CartCase {
    const char* what;
    const char* placed;  // "article:count ..."
    const char* owned;   // the box, when the case has one
    std::string cart;
    const char* skipped;  // articles separated by blanks
    std::string message;  // empty: the browser opens without a word
};

void ExpectPlan(const BuyTrackPlan& plan, const CartCase& c) {
    EXPECT_EQ(plan.cartText, c.cart);
    EXPECT_EQ(plan.address, c.cart.empty() ? "" : "https://store.test/cart/" + c.cart);
    EXPECT_EQ(plan.skipped, Words(c.skipped));
    ASSERT_EQ(plan.message.has_value(), !c.message.empty());
    if (!plan.message) return;
    EXPECT_EQ(plan.message->text, c.message);
    EXPECT_EQ(plan.message->caption, c.cart.empty() ? "Buy Track" : "Some pieces not available");
}

TEST(BuyTrack, CartsSkippedArticlesAndMessages) {
    const CartCase cases[] = {
        {"an empty layout", "", "", "", "", kNothingToBuy},
        {"the bridge without its deck track", "74636:1", "", "13:1", "", ""},
        {"motors go into the cart as 74492 (id 91), not the 74491 the tally names", "24630:2", "",
         "12:2,91:4,93:2", "", ""},
        {"the K-Track three-way turnout needs no motor", "2270:1", "", "17:1", "", ""},
        {"TRIX is skipped, its accessories bought", "62611:2", "", "91:2,93:2", "62611",
         std::string(kSkippedIntro) + "  62611\n"},
        {"the skipped in byte order", "62630:1 62188:2 62611:1 24188:1", "", "11:1,91:3,93:2",
         "62188 62611 62630", std::string(kSkippedIntro) + "  62188\n  62611\n  62630\n"},
        // Track the store does not sell at all is named, not passed off as "nothing to buy".
        {"none sold", "62188:3 62130:1", "", "", "62130 62188", kNoneSold},
        {"Kato N is not sold there at all: one sentence", "20-000:4 20-202:1", "", "",
         "20-000 20-202", kKatoNotSold},
        {"Kato N with another unsold piece", "20-000:1 14904:1", "", "", "14904 20-000",
         "None of the pieces your layout needs are available in the store:\n  14904\n  20-000\n"
         "\nSave the parts list as a CSV file instead?"},
        {"not in the catalog: ignored silently", "99999:2 24188:1", "", "11:1", "", ""},
        {"pieces in byte order, then motors, K motors, 74462 and 74467",
         "24720:1 24630:1 2263:2 24188:1 24624:1", "",
         "14:2,11:1,23:1,12:1,15:1,91:3,92:2,93:2,94:1", "", ""},
        {"bridges and their decks", "8976:1 89759:1 74636:1", "", "13:1,22:1,21:1", "", ""},
    };
    // A box that holds none of the layout's pieces (here the empty one and one of Z-Track and
    // an unknown article) leaves the cart exactly as without a box.
    const std::optional<TrackBox> boxes[] = {std::nullopt, TrackBox{}, BoxOf("8500:3 stale:1")};
    for (const CartCase& c : cases)
        for (const std::optional<TrackBox>& box : boxes) {
            SCOPED_TRACE(std::string(c.what) + (box ? " with a box" : ""));
            const LayoutDocument doc = LayoutOf(c.placed);
            const BuyTrackPlan plan =
                box ? PlanBuyTrack(doc, *box, SmallStore()) : PlanBuyTrack(doc, SmallStore());
            ExpectPlan(plan, c);
            if (!plan.message) continue;
            EXPECT_EQ(plan.message->isWarning, c.skipped[0] != 0);
            EXPECT_EQ(plan.offerPartsList, c.cart.empty() && c.skipped[0] != 0);
        }
}

TEST(BuyTrack, CartHoldsOnlyWhatTheBoxLacks) {
    const char* const kNothingMissing = "You already own every piece this layout needs.";
    const CartCase cases[] = {
        {"the missing pieces and the motors and decoders of the missing switches",
         "24188:5 24630:2", "24188:3 24630:1", "11:2,12:1,91:2,93:1", "", ""},
        {"more owned than placed", "24188:2 24230:1", "24188:9", "19:1", "", ""},
        {"everything owned", "24188:5", "24188:5", "", "", kNothingMissing},
        {"owned switches come with their motors", "24630:2", "24630:2", "", "", kNothingMissing},
        {"spare motors and decoders in the box are used, motors under either number", "24630:2",
         "74491:1 74492:2 74462:1", "12:2,91:1,93:1", "", ""},
        {"spare accessories beyond the need buy none", "24630:1", "74492:5 74462:5", "12:1", "",
         ""},
        {"owned TRIX pieces are not skipped", "62611:2", "62611:2", "", "", kNothingMissing},
        {"only the missing TRIX pieces are skipped", "62611:2 24188:1", "62611:1", "11:1,91:1,93:1",
         "62611", std::string(kSkippedIntro) + "  62611\n"},
        {"missing pieces the store lacks are named", "62188:3", "62188:1", "", "62188",
         "None of the pieces your layout needs are available in the store:\n  62188\n"
         "\nSave the parts list as a CSV file instead?"},
        {"an empty layout", "", "24188:3", "", "", kNothingToBuy},
        {"pieces outside the catalog are never bought", "99999:1", "99999:1", "", "",
         kNothingToBuy},
        {"a spare deck straight does not touch the bridge", "74636:1", "24360:1", "13:1", "", ""},
    };
    for (const CartCase& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectPlan(PlanBuyTrack(LayoutOf(c.placed), BoxOf(c.owned), SmallStore()), c);
    }
}

TEST(BuyTrack, HelixBuysOnlyItsPlacedEndStraightsAndMissingAccessoriesAreLeftOut) {
    LayoutDocument doc;
    PlaceHelixWithEnds(doc, "proses_2_5_r1r2");
    EXPECT_EQ(PlanBuyTrack(doc, SmallStore()).cartText, "11:4");
    StoreTable store = SmallStore();
    store.variantIds.erase("74492");
    PlacePieces(doc, "24630", 2);
    const BuyTrackPlan plan = PlanBuyTrack(doc, store);
    EXPECT_EQ(plan.cartText, "11:4,12:2,93:2");
    EXPECT_FALSE(plan.message.has_value());
}

}  // namespace
