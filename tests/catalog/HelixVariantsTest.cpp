// The ready-made helix variants against their published figures.
#include <gtest/gtest.h>

#include <set>

#include "catalog/HelixVariants.h"
#include "catalog/TrackCatalog.h"

namespace {
struct HelixRow {
    const char* id;
    const char* name;
    double turns, rise, inner, outer;
    const char* innerCurve;
    const char* outerCurve;
};

// Written out from the maker's list: 26, 34 and 42 cm of rise for 2.5, 3.5 and 4.5 turns.
const HelixRow kRows[] = {
    {"proses_2_5_r1r2", R"(Proses 2.5 R1&R2 26cm/10.2")", 2.5, 260, 360, 437.5, "24130", "24230"},
    {"proses_3_5_r1r2", R"(Proses 3.5 R1&R2 34cm/13.4")", 3.5, 340, 360, 437.5, "24130", "24230"},
    {"proses_4_5_r1r2", R"(Proses 4.5 R1&R2 42cm/16.5")", 4.5, 420, 360, 437.5, "24130", "24230"},
    {"proses_2_5_r2r3", R"(Proses 2.5 R2&R3 26cm/10.2")", 2.5, 260, 437.5, 515, "24230", "24330"},
    {"proses_3_5_r2r3", R"(Proses 3.5 R2&R3 34cm/13.4")", 3.5, 340, 437.5, 515, "24230", "24330"},
    {"proses_2_5_r3r4", R"(Proses 2.5 R3&R4 26cm/10.2")", 2.5, 260, 515, 579.3, "24330", "24430"},
    {"proses_4_5_r3r4", R"(Proses 4.5 R3&R4 42cm/16.5")", 4.5, 420, 515, 579.3, "24330", "24430"},
    {"proses_2_5_r4r5", R"(Proses 2.5 R4&R5 26cm/10.2")", 2.5, 260, 579.3, 643.6, "24430", "24530"},
    {"proses_3_5_r4r5", R"(Proses 3.5 R4&R5 34cm/13.4")", 3.5, 340, 579.3, 643.6, "24430", "24530"},
    {"proses_4_5_r4r5", R"(Proses 4.5 R4&R5 42cm/16.5")", 4.5, 420, 579.3, 643.6, "24430", "24530"},
};

class HelixVariantRow : public ::testing::TestWithParam<int> {};

TEST_P(HelixVariantRow, MatchesItsTableRowInOrder) {
    const int i = GetParam();
    const HelixRow& row = kRows[i];
    ASSERT_EQ(HelixVariants().size(), std::size(kRows));
    const HelixVariant& v = HelixVariants()[i];
    EXPECT_EQ(v.id, row.id);
    EXPECT_EQ(v.name, row.name);
    EXPECT_DOUBLE_EQ(v.turns, row.turns);
    EXPECT_DOUBLE_EQ(v.rise, row.rise);
    EXPECT_DOUBLE_EQ(v.radiusInner, row.inner);
    EXPECT_DOUBLE_EQ(v.radiusOuter, row.outer);
    EXPECT_EQ(v.straightArticle, "24188");
    EXPECT_EQ(v.innerCurveArticle, row.innerCurve);
    EXPECT_EQ(v.outerCurveArticle, row.outerCurve);
    EXPECT_EQ(FindHelixVariant(row.id), &v);
}

TEST_P(HelixVariantRow, ArticlesAreCTrackPieces) {
    const HelixVariant& v = HelixVariants()[GetParam()];
    for (const std::string& article :
         {v.straightArticle, v.innerCurveArticle, v.outerCurveArticle}) {
        const PieceDef* def = TrackCatalog::Instance().Find(article);
        ASSERT_NE(def, nullptr) << article;
        EXPECT_EQ(def->system, TrackSystem::MarklinC) << article;
    }
    // The curves must match the two radii the helix is drawn with.
    const PieceDef* inner = TrackCatalog::Instance().Find(v.innerCurveArticle);
    const PieceDef* outer = TrackCatalog::Instance().Find(v.outerCurveArticle);
    ASSERT_TRUE(inner && outer);
    EXPECT_EQ(inner->kind, PieceKind::Curve);
    EXPECT_NEAR(inner->radius, v.radiusInner, 0.05);
    EXPECT_NEAR(outer->radius, v.radiusOuter, 0.05);
}

INSTANTIATE_TEST_SUITE_P(AllTen, HelixVariantRow, ::testing::Range(0, 10));

TEST(HelixVariants, NamesCarryOneInchSignAtTheEnd) {
    for (const HelixVariant& v : HelixVariants()) {
        EXPECT_EQ(v.name.back(), '"') << v.name;
        EXPECT_EQ(std::count(v.name.begin(), v.name.end(), '"'), 1) << v.name;
        EXPECT_EQ(v.name.find('\\'), std::string::npos) << v.name;
    }
}

TEST(HelixVariants, IdsAreUnique) {
    std::set<std::string> ids;
    for (const HelixVariant& v : HelixVariants()) EXPECT_TRUE(ids.insert(v.id).second) << v.id;
}

TEST(HelixVariants, UnknownIdsGiveNull) {
    for (const char* id : {"", "proses", "PROSES_2_5_R1R2", "proses_2_5_r1r2 ", "proses_5_5_r1r2",
                           "proses_2_5_r1r"}) {
        EXPECT_EQ(FindHelixVariant(id), nullptr) << '"' << id << '"';
    }
}

TEST(HelixVariants, DefaultIsTheFirstVariant) {
    EXPECT_EQ(DefaultHelixVariantId(), "proses_2_5_r1r2");
    EXPECT_EQ(FindHelixVariant(DefaultHelixVariantId()), &HelixVariants().front());
}

TEST(HelixVariants, ListIsOneStableObject) {
    EXPECT_EQ(&HelixVariants(), &HelixVariants());
    const HelixVariant* first = FindHelixVariant("proses_4_5_r4r5");
    EXPECT_EQ(first, FindHelixVariant("proses_4_5_r4r5"));
    EXPECT_EQ(first, &HelixVariants().back());
}
}  // namespace
