// The scenery catalog: its records, the two platform drawings and what every drawing must obey.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "catalog/SceneryCatalog.h"

namespace {
struct SceneryRow {
    const char* id;
    const char* name;
    int category;
    double width, depth;
    bool zScale;
};

// Written out from the product list; the three footprints the list leaves open are this
// program's choice: one-track crossing 120 x 80 (half the two-track one), road 188 x 60,
// coaling tower 100 x 80.
const SceneryRow kRows[] = {
    {"platform", "Platform", 0, 230, 60, false},
    {"platform_island", "Island platform 460mm", 0, 460, 120, false},
    {"station_small", "Station Gueglingen", 2, 308, 140, false},
    {"station_large", "Station Schwarzburg", 2, 550, 185, false},
    {"signal_box", "Signal box", 1, 60, 50, false},
    {"shed_1road", "Engine shed (1 road)", 1, 300, 80, false},
    {"shed_2road", "Engine shed (2 roads)", 1, 300, 160, false},
    {"goods_shed", "Goods shed", 1, 200, 80, false},
    {"warehouse", "Warehouse", 1, 400, 200, false},
    {"signal_semaphore_stop", "Semaphore (Stop)", 3, 20, 20, false},
    {"signal_semaphore_clear", "Semaphore (Clear)", 3, 20, 20, false},
    {"signal_color_stop", "Color light (Stop)", 3, 20, 20, false},
    {"signal_color_clear", "Color light (Clear)", 3, 20, 20, false},
    {"signal_z_semaphore_stop", "Semaphore Z (Stop)", 3, 12, 12, true},
    {"signal_z_semaphore_clear", "Semaphore Z (Clear)", 3, 12, 12, true},
    {"signal_z_color_stop", "Color light Z (Stop)", 3, 12, 12, true},
    {"signal_z_color_clear", "Color light Z (Clear)", 3, 12, 12, true},
    {"bridge_truss_scenery", "Truss bridge (scenery)", 4, 188, 64, false},
    {"bridge_arch_scenery", "Arch bridge (scenery)", 4, 360, 64, false},
    {"crossing_1track", "Level crossing (1 track)", 6, 120, 80, false},
    {"crossing_2track", "Level crossing (2 tracks)", 6, 120, 160, false},
    {"road_straight", "Road straight 188mm", 6, 188, 60, false},
    {"turntable", "Turntable Ø360mm", 9, 360, 360, false},
    {"water_tower", "Water tower", 9, 50, 50, false},
    {"coaling_tower", "Coaling tower", 9, 100, 80, false},
    {"tree_sm_dec", "Deciduous tree (small)", 7, 34, 34, false},
    {"tree_lg_dec", "Deciduous tree (large)", 7, 57, 57, false},
    {"tree_conifer", "Conifer tree", 7, 23, 40, false},
    {"tree_group", "Tree group (3 mixed)", 7, 115, 80, false},
    {"bush", "Bush / shrub", 7, 23, 17, false},
    {"car", "Car", 8, 50, 20, false},
    {"truck", "Truck", 8, 80, 25, false},
    {"parking_lot", "Parking lot (10 spaces)", 10, 250, 120, false},
    {"ped_zone", "Pedestrian zone", 10, 115, 57, false},
    {"bridge_truss", "Steel truss bridge (1 track)", 9, 188, 80, false},
    {"viaduct_pier", "Viaduct pier (concrete)", 9, 40, 60, false},
    {"tunnel_portal_single", "Tunnel portal (1 track)", 5, 40, 80, false},
    {"retaining_wall", "Retaining wall 188mm", 9, 188, 30, false},
};
constexpr int kRowCount = 38;

const SceneryCatalog& Catalog() { return SceneryCatalog::Instance(); }

TEST(SceneryCatalog, HoldsTheThirtyEightRecordsInOrder) {
    ASSERT_EQ(static_cast<int>(std::size(kRows)), kRowCount);
    ASSERT_EQ(Catalog().Count(), kRowCount);
    for (int i = 0; i < kRowCount; ++i) {
        const SceneryRow& row = kRows[i];
        SCOPED_TRACE(row.id);
        const SceneryDef* def = Catalog().At(i);
        ASSERT_NE(def, nullptr);
        EXPECT_EQ(def->id, row.id);
        EXPECT_EQ(def->name, row.name);
        EXPECT_EQ(def->category, row.category);
        EXPECT_DOUBLE_EQ(def->width, row.width);
        EXPECT_DOUBLE_EQ(def->depth, row.depth);
        EXPECT_EQ(def->zScale, row.zScale);
        EXPECT_EQ(Catalog().Find(row.id), def);
    }
}

TEST(SceneryCatalog, TurntableNameCarriesTheDiameterSignInUtf8) {
    const SceneryDef* d = Catalog().Find("turntable");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->name, std::string("Turntable ") + "\xC3\x98" + "360mm");
}

TEST(SceneryCatalog, IdsAreUnique) {
    std::set<std::string> ids;
    for (int i = 0; i < Catalog().Count(); ++i) {
        EXPECT_TRUE(ids.insert(Catalog().At(i)->id).second) << Catalog().At(i)->id;
    }
}

TEST(SceneryCatalog, LooksUpExactIdsOnly) {
    for (const char* id : {"", "Platform", "platform ", "platfor", "tunnel_portal", "signal",
                           "tunnel_portal_single_"}) {
        EXPECT_EQ(Catalog().Find(id), nullptr) << '"' << id << '"';
    }
    EXPECT_EQ(Catalog().At(-1), nullptr);
    EXPECT_EQ(Catalog().At(kRowCount), nullptr);
    EXPECT_NE(Catalog().At(kRowCount - 1), nullptr);
}

TEST(SceneryCatalog, TunnelPortalIsATunnelOnAForty_By_EightyFootprint) {
    const SceneryDef* d = Catalog().Find("tunnel_portal_single");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->category, 5);
    EXPECT_DOUBLE_EQ(d->width, 40);
    EXPECT_DOUBLE_EQ(d->depth, 80);
}

TEST(SceneryCatalog, InstanceIsFilledOnceAndStable) {
    const SceneryDef* before = SceneryCatalog::Instance().Find("bush");
    EXPECT_EQ(&SceneryCatalog::Instance(), &SceneryCatalog::Instance());
    EXPECT_TRUE(SceneryCatalog::Instance().filled);
    EXPECT_EQ(SceneryCatalog::Instance().Count(), kRowCount);
    EXPECT_EQ(SceneryCatalog::Instance().Find("bush"), before);
}

// ---- The two fully specified drawings ----

using Rgba = std::tuple<int, int, int, int>;
Rgba Of(const SceneryColor& c) { return {c.r, c.g, c.b, c.a}; }

void ExpectRect(const SceneryPart& p, double a, double b, double c, double d, Rgba fill,
                Rgba outline, int width) {
    EXPECT_EQ(p.type, 0);
    EXPECT_EQ(p.a, a);
    EXPECT_EQ(p.b, b);
    EXPECT_EQ(p.c, c);
    EXPECT_EQ(p.d, d);
    EXPECT_EQ(Of(p.fill), fill);
    EXPECT_EQ(Of(p.outline), outline);
    if (std::get<3>(outline) != 0) {
        EXPECT_EQ(p.width, width);
    }
}

void ExpectJoint(const SceneryPart& p, double x, double depth) {
    EXPECT_EQ(p.type, 5);
    EXPECT_EQ(p.a, x);
    EXPECT_EQ(p.b, 0);
    EXPECT_EQ(p.c, x);
    EXPECT_EQ(p.d, depth);
    EXPECT_EQ(Of(p.outline), Rgba(150, 145, 140, 80));
    EXPECT_EQ(Of(p.fill), Rgba(150, 145, 140, 80));
    EXPECT_EQ(p.width, 1);
}

const Rgba kNone{0, 0, 0, 0};

TEST(SceneryDrawing, PlatformPartByPart) {
    const SceneryDef* d = Catalog().Find("platform");
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->parts.size(), 7u);
    ExpectRect(d->parts[0], 0, 0, 230, 60, {180, 175, 170, 255}, {120, 115, 110, 255}, 1);
    ExpectRect(d->parts[1], 0, 52, 230, 8, {220, 200, 100, 255}, kNone, 0);
    const double xs[] = {40, 80, 120, 160, 190};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        ExpectJoint(d->parts[2 + i], xs[i], 60);
    }
}

TEST(SceneryDrawing, IslandPlatformPartByPart) {
    const SceneryDef* d = Catalog().Find("platform_island");
    ASSERT_NE(d, nullptr);
    // Four rectangles, joints at 40, 80, ..., 440 (eleven), the shelter outline.
    ASSERT_EQ(d->parts.size(), 4u + 11u + 1u);
    ExpectRect(d->parts[0], 0, 0, 460, 120, {180, 175, 170, 255}, {120, 115, 110, 255}, 1);
    ExpectRect(d->parts[1], 0, 0, 460, 8, {220, 200, 100, 255}, kNone, 0);
    ExpectRect(d->parts[2], 0, 112, 460, 8, {220, 200, 100, 255}, kNone, 0);
    ExpectRect(d->parts[3], 0, 54, 460, 12, {200, 195, 190, 255}, kNone, 0);
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(i);
        ExpectJoint(d->parts[4 + i], 40.0 * (i + 1), 120);
    }
    const SceneryPart& shelter = d->parts.back();
    EXPECT_EQ(shelter.type, 3);
    EXPECT_EQ(std::make_tuple(shelter.a, shelter.b, shelter.c, shelter.d),
              std::make_tuple(115.0, 20.0, 230.0, 80.0));
    EXPECT_EQ(Of(shelter.outline), Rgba(80, 80, 80, 180));
    EXPECT_EQ(shelter.fill.a, 0);
    EXPECT_EQ(shelter.width, 2);
}

// ---- What every drawing must obey ----

class EveryDrawing : public ::testing::TestWithParam<int> {
protected:
    const SceneryDef& Def() const { return *Catalog().At(GetParam()); }
    bool FullySpecified() const { return Def().id == "platform" || Def().id == "platform_island"; }
};

std::string PartName(const SceneryDef& d, size_t i) {
    return d.id + " part " + std::to_string(i) + " type " + std::to_string(d.parts[i].type);
}

TEST_P(EveryDrawing, StaysInsideItsFootprint) {
    const SceneryDef& d = Def();
    const double eps = 1e-9;
    auto inside = [&](double x, double y) {
        return x >= -eps && y >= -eps && x <= d.width + eps && y <= d.depth + eps;
    };
    for (size_t i = 0; i < d.parts.size(); ++i) {
        const SceneryPart& p = d.parts[i];
        SCOPED_TRACE(PartName(d, i));
        switch (p.type) {
            case kSceneryPolygon:
                ASSERT_GE(p.points.size(), 3u);
                for (const SceneryPoint& q : p.points) {
                    EXPECT_TRUE(inside(q.x, q.y)) << q.x << "," << q.y;
                }
                break;
            case kSceneryLine:
                EXPECT_TRUE(inside(p.a, p.b)) << p.a << "," << p.b;
                EXPECT_TRUE(inside(p.c, p.d)) << p.c << "," << p.d;
                break;
            default:
                EXPECT_TRUE(inside(p.a, p.b)) << p.a << "," << p.b;
                EXPECT_TRUE(inside(p.a + p.c, p.b + p.d)) << p.a + p.c << "," << p.b + p.d;
                break;
        }
    }
}

TEST_P(EveryDrawing, HasNoNegativeOrEmptyShapes) {
    const SceneryDef& d = Def();
    for (size_t i = 0; i < d.parts.size(); ++i) {
        const SceneryPart& p = d.parts[i];
        SCOPED_TRACE(PartName(d, i));
        EXPECT_LE(p.type, 6);
        EXPECT_GE(p.width, 0);
        if (p.type == kSceneryLine) {
            EXPECT_TRUE(p.a != p.c || p.b != p.d);
            EXPECT_GE(p.width, 1);
            EXPECT_GT(p.outline.a, 0);
        } else if (p.type != kSceneryPolygon) {
            EXPECT_GT(p.c, 0);
            EXPECT_GT(p.d, 0);
        }
        // Every part shows something: a visible fill or a visible outline.
        const bool fillShows = p.fill.a > 0 && p.type != kSceneryRectOutline &&
                               p.type != kSceneryEllipseOutline && p.type != kSceneryLine;
        const bool outlineShows = p.outline.a > 0 && p.width >= 1;
        EXPECT_TRUE(fillShows || outlineShows);
    }
}

TEST_P(EveryDrawing, DesignedDrawingsAreMoreThanABox) {
    if (FullySpecified()) GTEST_SKIP() << "drawn exactly as given";
    const SceneryDef& d = Def();
    EXPECT_GE(d.parts.size(), 3u) << d.id;
    std::set<Rgba> fills;
    for (const SceneryPart& p : d.parts) {
        const bool filledShape = p.type == kSceneryFilledRect || p.type == kSceneryFilledEllipse ||
                                 p.type == kSceneryPolygon;
        if (filledShape && p.fill.a > 0) fills.insert(Of(p.fill));
    }
    EXPECT_GE(fills.size(), 2u) << d.id;
}

INSTANTIATE_TEST_SUITE_P(AllRecords, EveryDrawing, ::testing::Range(0, kRowCount),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(kRows[info.param].id);
                         });

// ---- Signals ----

bool HasFill(const SceneryDef& d, Rgba colour) {
    for (const SceneryPart& p : d.parts) {
        if (p.type != kSceneryLine && Of(p.fill) == colour) return true;
    }
    return false;
}

TEST(ScenerySignals, ShowTheirAspectColourOnly) {
    const Rgba red{220, 40, 40, 255}, green{60, 200, 80, 255};
    int signals = 0, zSignals = 0;
    for (int i = 0; i < Catalog().Count(); ++i) {
        const SceneryDef& d = *Catalog().At(i);
        if (d.category != 3) continue;
        SCOPED_TRACE(d.id);
        ++signals;
        const bool stop = d.id.ends_with("_stop");
        ASSERT_TRUE(stop || d.id.ends_with("_clear"));
        EXPECT_EQ(HasFill(d, red), stop);
        EXPECT_EQ(HasFill(d, green), !stop);
        const bool z = d.id.starts_with("signal_z_");
        EXPECT_EQ(d.zScale, z);
        EXPECT_DOUBLE_EQ(d.width, z ? 12 : 20);
        EXPECT_DOUBLE_EQ(d.depth, z ? 12 : 20);
        if (z) ++zSignals;
    }
    EXPECT_EQ(signals, 8);
    EXPECT_EQ(zSignals, 4);
}

TEST(ScenerySignals, OnlySignalsAreZScale) {
    for (int i = 0; i < Catalog().Count(); ++i) {
        const SceneryDef& d = *Catalog().At(i);
        if (d.zScale) {
            EXPECT_EQ(d.category, 3) << d.id;
        }
    }
}

// ---- Makers and category names ----

TEST(SceneryMakers, KeepTheirColoursAndKinds) {
    const SceneryColor red{200, 10, 10, 255}, blue{10, 10, 200, 128};
    SceneryPart r = MakeSceneryRect(1, 2, 3, 4, red, blue, 2);
    EXPECT_EQ(r.type, 0);
    EXPECT_EQ(std::make_tuple(r.a, r.b, r.c, r.d), std::make_tuple(1.0, 2.0, 3.0, 4.0));
    EXPECT_EQ(r.fill, red);
    EXPECT_EQ(r.outline, blue);
    EXPECT_EQ(r.width, 2);

    SceneryPart o = MakeSceneryRectOutline(1, 2, 3, 4, blue, 3);
    EXPECT_EQ(o.type, 3);
    EXPECT_EQ(o.fill.a, 0);
    EXPECT_EQ(o.outline, blue);
    EXPECT_EQ(o.width, 3);

    SceneryPart l = MakeSceneryLine(5, 6, 7, 8, red, 1);
    EXPECT_EQ(l.type, 5);
    EXPECT_EQ(std::make_tuple(l.a, l.b, l.c, l.d), std::make_tuple(5.0, 6.0, 7.0, 8.0));
    EXPECT_EQ(l.fill, red);
    EXPECT_EQ(l.outline, red);

    SceneryPart g = MakeSceneryPolygon({{0, 0}, {4, 0}, {2, 3}}, red);
    EXPECT_EQ(g.type, 2);
    ASSERT_EQ(g.points.size(), 3u);
    EXPECT_EQ(g.points[2], (SceneryPoint{2, 3}));
    EXPECT_EQ(g.outline.a, 0);

    EXPECT_EQ(MakeSceneryEllipse(0, 0, 1, 1, red).type, 1);
    EXPECT_EQ(MakeSceneryEllipseOutline(0, 0, 1, 1, red, 1).type, 4);
    EXPECT_EQ(MakeSceneryEllipseOutline(0, 0, 1, 1, red, 1).fill.a, 0);
}

TEST(SceneryCategories, NamesByNumber) {
    const char* names[] = {"Platforms", "Buildings", "Stations", "Signals", "Bridges", "Tunnels",
                           "Roads",     "Nature",    "Vehicles", "Special", "Misc"};
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(SceneryCategoryName(i), names[i]) << i;
    for (int i : {-1, 11, 12, 255, -2147483647 - 1}) EXPECT_EQ(SceneryCategoryName(i), "Other");
}
}  // namespace
