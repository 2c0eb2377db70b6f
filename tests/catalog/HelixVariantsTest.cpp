// The ready-made helix variants against their published figures.
#include <gtest/gtest.h>

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

TEST(HelixVariants, MatchTheirRowsInOrder) {
    ASSERT_EQ(HelixVariants().size(), std::size(kRows));
    for (size_t i = 0; i < std::size(kRows); ++i) {
        const HelixRow& row = kRows[i];
        const HelixVariant& v = HelixVariants()[i];
        SCOPED_TRACE(row.id);
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
        // The curves must be C-Track pieces of the two radii the helix is drawn with.
        const PieceDef* inner = TrackCatalog::Instance().Find(v.innerCurveArticle);
        const PieceDef* outer = TrackCatalog::Instance().Find(v.outerCurveArticle);
        ASSERT_TRUE(inner && outer);
        EXPECT_EQ(outer->system, TrackSystem::MarklinC);
        EXPECT_NEAR(inner->radius, v.radiusInner, 0.05);
        EXPECT_NEAR(outer->radius, v.radiusOuter, 0.05);
    }
    EXPECT_EQ(DefaultHelixVariantId(), "proses_2_5_r1r2");
    for (const char* id :
         {"", "proses", "PROSES_2_5_R1R2", "proses_2_5_r1r2 ", "proses_5_5_r1r2"}) {
        EXPECT_EQ(FindHelixVariant(id), nullptr) << '"' << id << '"';
    }
}
}  // namespace
