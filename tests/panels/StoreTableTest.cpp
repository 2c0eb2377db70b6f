// The shipped store table: which articles it sells and the form of its ids and addresses.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "panels/StoreTable.h"

namespace {

TEST(StoreTable, HoldsExactly248DistinctArticlesWithUniqueFourteenDigitIds) {
    const StoreTable& store = StoreTable::BuiltIn();
    EXPECT_EQ(store.variantIds.size(), 248u);
    std::set<std::string> ids;
    for (const auto& [article, id] : store.variantIds) {
        SCOPED_TRACE(article);
        EXPECT_TRUE(article.size() == 4 || article.size() == 5);
        EXPECT_EQ(article.find_first_not_of("0123456789"), std::string::npos);
        EXPECT_EQ(id.size(), 14u);
        EXPECT_EQ(id.find_first_not_of("0123456789"), std::string::npos);
        EXPECT_TRUE(ids.insert(id).second) << "variant id used twice: " << id;
        EXPECT_FALSE(article.size() == 5 && article.starts_with("62")) << "TRIX C is not sold";
    }
    EXPECT_EQ(store.CartAddress(), "https://" + store.host + "/cart/");
    EXPECT_EQ(store.HomePage(), "https://" + store.host + "/");
    EXPECT_EQ(store.host.find_first_of("/: "), std::string::npos);
}

TEST(StoreTable, SellsTrackAndAccessoriesButNotTheUnsoldZArticles) {
    const StoreTable& store = StoreTable::BuiltIn();
    for (const char* sold :
         {"24064", "24188", "24630", "24720", "74618", "2200", "2270", "22716", "7267", "8500",
          "8977", "89759", "74491", "74492", "75491", "74462", "74467"})
        EXPECT_NE(store.FindVariantId(sold), nullptr) << sold;
    for (const char* unsold :
         {"8501", "8502", "8511", "8598", "62188", "62611", "", "2418", "24188 "})
        EXPECT_EQ(store.FindVariantId(unsold), nullptr) << unsold;
}

}  // namespace
