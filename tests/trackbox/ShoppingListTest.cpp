// Needed against owned: the shopping list's arithmetic and the pieces left at hand.
#include <gtest/gtest.h>

#include <set>

#include "catalog/TrackCatalog.h"
#include "panels/PaletteTables.h"
#include "panels/TallyTestSupport.h"
#include "trackbox/ShoppingList.h"
#include "trackbox/TrackBoxPages.h"

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
        {"byte order, not number order",
         {{"2200", 1}, {"10", 1}},
         Box({{"9", 1}}),
         {{"10", 1, 0, 1}, {"2200", 1, 0, 1}, {"9", 0, 1, 0}}},
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
    // What is at hand is exactly what the shopping list calls owned beyond the need.
    for (const ShoppingRow& row : ShoppingList(used, owned)) {
        const PieceCounts atHand = PiecesAtHand(owned, used);
        const auto it = atHand.find(row.article);
        EXPECT_EQ(it == atHand.end() ? 0 : it->second, std::max(row.owned - row.needed, 0))
            << row.article;
    }
}

TEST(ShoppingList, ALayoutUsesItsBridgeDecksAndHelixCurvesFromTheBox) {
    LayoutDocument doc;
    PlacePieces(doc, "74636");                   // deck 24360
    PlaceHelixWithEnds(doc, "proses_2_5_r1r2");  // 30 x 24130, 30 x 24230, four 24188
    const TrackBox owned =
        Box({{"74636", 1}, {"24360", 2}, {"24130", 36}, {"24230", 30}, {"24188", 3}});
    EXPECT_EQ(PiecesAtHand(owned, doc), (PieceCounts{{"24130", 6}, {"24360", 1}}));
}

TEST(TrackBoxPages, EveryPaletteArticleOnceOnItsSystemsPageAndTheRestAfter) {
    const TrackBox box = Box({{"24188", 2}, {"99999", 1}, {"74492", 4}, {"2200", 1}});
    const std::vector<TrackBoxPage> pages = TrackBoxPages(box);
    ASSERT_EQ(pages.size(), static_cast<size_t>(kPaletteSystemCount) + 1);
    for (int system = 0; system < kPaletteSystemCount; ++system) {
        SCOPED_TRACE(system);
        const TrackBoxPage& page = pages[system];
        EXPECT_EQ(page.name, PaletteSystemName(system));
        std::set<std::string> expected;
        for (const PaletteGroup& group : PaletteGroups(system))
            for (const std::string& article : group.articles)
                if (TrackCatalog::Instance().Find(article)) expected.insert(article);
        EXPECT_EQ(std::set<std::string>(page.articles.begin(), page.articles.end()), expected);
        EXPECT_EQ(page.articles.size(), expected.size()) << "an article is listed once";
        EXPECT_EQ(page.articles.front(), PaletteGroups(system).front().articles.front());
    }
    // Articles no palette offers are kept on a last page, in order.
    EXPECT_EQ(pages.back().name, "Other Articles");
    EXPECT_EQ(pages.back().articles, (std::vector<std::string>{"74492", "99999"}));
    EXPECT_EQ(TrackBoxPages(Box({{"24188", 1}})).size(), static_cast<size_t>(kPaletteSystemCount));
}

}  // namespace
