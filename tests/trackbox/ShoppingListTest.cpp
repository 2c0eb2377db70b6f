// Needed against owned: the shopping list's arithmetic and the pieces left at hand.
#include <gtest/gtest.h>

#include "trackbox/ShoppingList.h"

namespace {

TrackBox Box(std::initializer_list<std::pair<const char*, int>> counts) {
    TrackBox box;
    for (const auto& [article, n] : counts) box.Set(article, n);
    return box;
}

TEST(ShoppingList, EveryNeededOrOwnedArticleOnceInAscendingOrder) {
    const struct {
        const char* what;
        PieceCounts needed;
        TrackBox owned;
        std::vector<ShoppingRow> rows;
    } cases[] = {
        {"nothing at all", {}, {}, {}},
        {"an empty box buys everything",
         {{"24188", 3}, {"24130", 12}},
         {},
         {{"24130", 12, 0, 12}, {"24188", 3, 0, 3}}},
        {"owned but not needed, needed but not owned, both",
         {{"24188", 5}, {"24230", 2}},
         Box({{"24188", 2}, {"24130", 7}}),
         {{"24130", 0, 7, 0}, {"24188", 5, 2, 3}, {"24230", 2, 0, 2}}},
        {"more owned than needed buys none",
         {{"24188", 2}},
         Box({{"24188", 9}}),
         {{"24188", 2, 9, 0}}},
        {"byte order, not number order",
         {{"2200", 1}, {"10", 1}},
         Box({{"9", 1}}),
         {{"10", 1, 0, 1}, {"2200", 1, 0, 1}, {"9", 0, 1, 0}}},
        {"articles outside the catalog alike",
         {{"99999", 1}},
         Box({{"my own", 2}}),
         {{"99999", 1, 0, 1}, {"my own", 0, 2, 0}}},
        {"counts of zero are no rows", {{"24188", 0}}, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<ShoppingRow> rows = ShoppingList(c.needed, c.owned);
        EXPECT_EQ(rows, c.rows);
        for (const ShoppingRow& row : rows) EXPECT_GE(row.toBuy, 0) << row.article;
    }
}

TEST(ShoppingList, PiecesAtHandAreOwnedMinusUsedNeverBelowNothing) {
    const TrackBox owned = Box({{"24188", 6}, {"24130", 12}, {"24230", 2}, {"99999", 1}});
    const PieceCounts used = {{"24188", 4}, {"24130", 12}, {"24230", 5}, {"24172", 3}};
    EXPECT_EQ(PiecesAtHand(owned, used), (PieceCounts{{"24188", 2}, {"99999", 1}}));
    EXPECT_EQ(PiecesAtHand(owned, {}), owned.counts);
    EXPECT_TRUE(PiecesAtHand({}, used).empty());
    // What is at hand is exactly what the shopping list calls owned beyond the need.
    for (const ShoppingRow& row : ShoppingList(used, owned)) {
        const PieceCounts atHand = PiecesAtHand(owned, used);
        const auto it = atHand.find(row.article);
        EXPECT_EQ(it == atHand.end() ? 0 : it->second, std::max(row.owned - row.needed, 0))
            << row.article;
    }
}

}  // namespace
