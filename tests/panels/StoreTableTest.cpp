// The shipped store table: which articles it sells and the form of its ids and addresses.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "panels/StoreTable.h"

namespace {

bool AllDigits(const std::string& s) {
    for (unsigned char c : s) {
        if (!std::isdigit(c)) return false;
    }
    return !s.empty();
}

std::vector<std::string> Words(const char* text) {
    std::vector<std::string> out;
    std::string word;
    for (const char* p = text;; ++p) {
        if (*p == ' ' || *p == '\0') {
            if (!word.empty()) out.push_back(word);
            word.clear();
            if (*p == '\0') break;
        } else {
            word += *p;
        }
    }
    return out;
}

// The palette's article lists, per system.
const char* const kPaletteC =
    "24064 24071 24077 24094 24172 24188 24229 24236 24360 24130 24115 24107 24230 24294 24224 "
    "24215 24207 24206 24330 24315 24430 24530 24912 24611 24612 24671 24672 24630 24640 24649 "
    "24740 24624 24720 24711 24712 24771 24772 24994 24294 24997 24977 24978 24922 74862 74636 "
    "74620 74623 74613 74618";
const char* const kPaletteK =
    "2200 2201 2202 2203 2204 2205 2206 2207 2208 2209 2293 2290 2291 2292 2295 2297 2299 2210 "
    "2229 2221 2223 2224 2239 2231 2232 2233 2234 2235 2241 2251 2274 2257 2258 2259 2262 2263 "
    "2265 2266 2268 2269 2270 22715 22716 2260 2275 7389 7391 7263 7262 7569 7267";
const char* const kPaletteTrix =
    "62064 62071 62077 62094 62172 62188 62229 62236 62360 62107 62115 62130 62206 62207 62215 "
    "62224 62230 62315 62330 62912 62611 62612 62671 62672 62630 62624 62977 62997 62636 62620 "
    "62623 62613";
const char* const kPaletteZ =
    "8500 8501 8502 8503 8504 8505 8506 8507 8510 8511 8520 8521 8529 8530 8531 8539 8591 8562 "
    "8563 8565 8566 8568 8569 8559 8560 8587 8588 8590 8598 8991 8975 89759 8976 8977";

TEST(StoreTable, HoldsExactly248DistinctArticles) {
    EXPECT_EQ(StoreTable::BuiltIn().variantIds.size(), 248u);
}

TEST(StoreTable, ArticlesAndVariantIdsHaveTheirFixedForms) {
    std::set<std::string> ids;
    for (const auto& [article, id] : StoreTable::BuiltIn().variantIds) {
        SCOPED_TRACE(article);
        EXPECT_TRUE(AllDigits(article));
        EXPECT_TRUE(article.size() == 4 || article.size() == 5);
        EXPECT_TRUE(AllDigits(id));
        EXPECT_EQ(id.size(), 14u);
        EXPECT_TRUE(ids.insert(id).second) << "variant id used twice: " << id;
    }
}

TEST(StoreTable, SellsEveryCTrackAndKTrackPaletteArticle) {
    const StoreTable& store = StoreTable::BuiltIn();
    for (const char* list : {kPaletteC, kPaletteK}) {
        for (const std::string& article : Words(list)) {
            EXPECT_NE(store.FindVariantId(article), nullptr) << article;
        }
    }
}

TEST(StoreTable, SellsTheZPaletteExceptFourArticles) {
    const StoreTable& store = StoreTable::BuiltIn();
    const std::set<std::string> unsold = {"8501", "8502", "8511", "8598"};
    int sold = 0;
    for (const std::string& article : Words(kPaletteZ)) {
        const bool found = store.FindVariantId(article) != nullptr;
        EXPECT_EQ(found, unsold.count(article) == 0) << article;
        sold += found;
    }
    EXPECT_EQ(sold, 30);
}

TEST(StoreTable, SellsNoTrixCTrack) {
    const StoreTable& store = StoreTable::BuiltIn();
    for (const std::string& article : Words(kPaletteTrix)) {
        EXPECT_EQ(store.FindVariantId(article), nullptr) << article;
    }
    for (const auto& entry : store.variantIds) {
        EXPECT_FALSE(entry.first.size() == 5 && entry.first.rfind("62", 0) == 0) << entry.first;
    }
}

TEST(StoreTable, SellsTheSwitchAccessories) {
    for (const char* article : {"74491", "74492", "75491", "74462", "74467"}) {
        EXPECT_NE(StoreTable::BuiltIn().FindVariantId(article), nullptr) << article;
    }
}

TEST(StoreTable, UnknownArticlesHaveNoEntry) {
    EXPECT_EQ(StoreTable::BuiltIn().FindVariantId(""), nullptr);
    EXPECT_EQ(StoreTable::BuiltIn().FindVariantId("2418"), nullptr);
    EXPECT_EQ(StoreTable::BuiltIn().FindVariantId("24188 "), nullptr);
}

TEST(StoreTable, AddressesAreHttpsOnTheStoreHost) {
    const StoreTable& store = StoreTable::BuiltIn();
    ASSERT_FALSE(store.host.empty());
    EXPECT_EQ(store.host.find_first_of("/: "), std::string::npos);
    EXPECT_EQ(store.CartAddress(), "https://" + store.host + "/cart/");
    EXPECT_EQ(store.HomePage(), "https://" + store.host + "/");
}

}  // namespace
