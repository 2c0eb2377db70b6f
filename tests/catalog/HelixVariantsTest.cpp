// The ready-made helix variants: id, name, rise and radii of each agree with one another and with
// the catalog's curves.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "catalog/HelixVariants.h"
#include "catalog/TrackCatalog.h"

namespace {

TEST(HelixVariants, IdNameRiseAndCurvesAgree) {
    ASSERT_EQ(HelixVariants().size(), 10u);
    std::set<std::string> ids;
    for (const HelixVariant& v : HelixVariants()) {
        SCOPED_TRACE(v.id);
        ids.insert(v.id);
        EXPECT_EQ(FindHelixVariant(v.id), &v);
        // Curves "24n30" are C-Track radius Rn; the rise is 26, 34 or 42 cm for 2.5, 3.5, 4.5
        // turns.
        const PieceDef* inner = TrackCatalog::Instance().Find(v.innerCurveArticle);
        const PieceDef* outer = TrackCatalog::Instance().Find(v.outerCurveArticle);
        ASSERT_TRUE(inner && outer);
        EXPECT_EQ(inner->system, TrackSystem::MarklinC);
        EXPECT_EQ(outer->system, TrackSystem::MarklinC);
        EXPECT_NEAR(inner->radius, v.radiusInner, 0.05);
        EXPECT_NEAR(outer->radius, v.radiusOuter, 0.05);
        const char r1 = v.innerCurveArticle.at(2), r2 = v.outerCurveArticle.at(2);
        EXPECT_EQ(r2, r1 + 1);
        EXPECT_DOUBLE_EQ(v.rise, 260 + (v.turns - 2.5) * 80);
        EXPECT_EQ(v.straightArticle, "24188");
        char id[32];
        std::snprintf(id, sizeof id, "proses_%d_5_r%cr%c", int(v.turns), r1, r2);
        EXPECT_EQ(v.id, id);
    }
    EXPECT_EQ(ids.size(), 10u);
    EXPECT_EQ(HelixVariants().front().id, DefaultHelixVariantId());
    for (const char* id : {"", "proses", "PROSES_2_5_R1R2", "proses_2_5_r1r2 ", "proses_5_5_r1r2"})
        EXPECT_EQ(FindHelixVariant(id), nullptr) << '"' << id << '"';
}

}  // namespace
