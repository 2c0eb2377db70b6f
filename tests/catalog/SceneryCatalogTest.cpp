// The scenery catalog: finding its records and what every drawing must obey.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "catalog/SceneryCatalog.h"

namespace {
const SceneryCatalog& Catalog() { return SceneryCatalog::Instance(); }
using Rgba = std::tuple<int, int, int, int>;
Rgba Of(const SceneryColor& c) { return {c.r, c.g, c.b, c.a}; }

TEST(SceneryCatalog, FindsEachRecordByItsExactIdOnly) {
    ASSERT_EQ(Catalog().Count(), 38);
    for (int i = 0; i < Catalog().Count(); ++i)
        EXPECT_EQ(Catalog().Find(Catalog().At(i)->id), Catalog().At(i)) << i;
    for (const char* id : {"", "Platform", "platform ", "platfor", "tunnel_portal"})
        EXPECT_EQ(Catalog().Find(id), nullptr) << '"' << id << '"';
    EXPECT_EQ(Catalog().At(-1), nullptr);
    EXPECT_EQ(Catalog().At(38), nullptr);
}

// Every drawing stays inside its footprint, shows each part, and (besides the two platforms,
// drawn exactly as given) is more than a one-colour box; signals show only their aspect colour.
TEST(SceneryDrawing, EveryRecordObeysTheRules) {
    const Rgba red{220, 40, 40, 255}, green{60, 200, 80, 255};
    int signals = 0;
    for (int k = 0; k < Catalog().Count(); ++k) {
        const SceneryDef& d = *Catalog().At(k);
        SCOPED_TRACE(d.id);
        auto inside = [&](double x, double y) {
            return x >= -1e-9 && y >= -1e-9 && x <= d.width + 1e-9 && y <= d.depth + 1e-9;
        };
        std::set<Rgba> fills;
        bool hasRed = false, hasGreen = false;
        for (size_t i = 0; i < d.parts.size(); ++i) {
            const SceneryPart& p = d.parts[i];
            SCOPED_TRACE("part " + std::to_string(i));
            EXPECT_LE(p.type, 6);
            if (p.type == kSceneryPolygon) {
                ASSERT_GE(p.points.size(), 3u);
                for (const SceneryPoint& q : p.points) EXPECT_TRUE(inside(q.x, q.y));
            } else if (p.type == kSceneryLine) {
                EXPECT_TRUE(inside(p.a, p.b) && inside(p.c, p.d));
                EXPECT_TRUE(p.a != p.c || p.b != p.d);
            } else {
                EXPECT_TRUE(inside(p.a, p.b) && inside(p.a + p.c, p.b + p.d));
                EXPECT_TRUE(p.c > 0 && p.d > 0);
            }
            const bool fillShows = p.fill.a > 0 && p.type != kSceneryRectOutline &&
                                   p.type != kSceneryEllipseOutline && p.type != kSceneryLine;
            EXPECT_TRUE(fillShows || (p.outline.a > 0 && p.width >= 1));
            if (fillShows) fills.insert(Of(p.fill));
            hasRed |= fillShows && Of(p.fill) == red;
            hasGreen |= fillShows && Of(p.fill) == green;
        }
        EXPECT_TRUE(d.id.starts_with("platform") || fills.size() >= 2);
        EXPECT_EQ(d.zScale, d.id.starts_with("signal_z_"));
        if (d.category != 3) continue;
        ++signals;
        const bool stop = d.id.ends_with("_stop");
        ASSERT_TRUE(stop || d.id.ends_with("_clear"));
        EXPECT_EQ(hasRed, stop);
        EXPECT_EQ(hasGreen, !stop);
    }
    EXPECT_EQ(signals, 8);
}

}  // namespace
