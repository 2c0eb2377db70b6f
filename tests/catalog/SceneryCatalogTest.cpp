// The scenery catalog: its records, the two platform drawings and what every drawing must obey.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "catalog/DataTable.h"
#include "catalog/SceneryCatalog.h"

namespace {
const SceneryCatalog& Catalog() { return SceneryCatalog::Instance(); }
using Rgba = std::tuple<int, int, int, int>;
Rgba Of(const SceneryColor& c) { return {c.r, c.g, c.b, c.a}; }

TEST(SceneryCatalog, HoldsTheRecordsInOrder) {
    const auto rows = ReadDataTable("scenery.tsv");
    ASSERT_EQ(rows.size(), 38u);
    ASSERT_EQ(Catalog().Count(), 38);
    for (int i = 0; i < 38; ++i) {
        const auto& row = rows[i];
        SCOPED_TRACE(row.at(0));
        ASSERT_EQ(row.size(), 6u);
        const SceneryDef* def = Catalog().At(i);
        EXPECT_EQ(def->id, row[0]);
        EXPECT_EQ(def->name, row[1]);
        EXPECT_EQ(def->category, std::stoi(row[2]));
        EXPECT_DOUBLE_EQ(def->width, std::stod(row[3]));
        EXPECT_DOUBLE_EQ(def->depth, std::stod(row[4]));
        EXPECT_EQ(def->zScale, row[5] == "1");
        EXPECT_EQ(Catalog().Find(row[0]), def);
    }
    EXPECT_EQ(Catalog().Find("turntable")->name,
              "Turntable \xC3\x98"
              "360mm");
    for (const char* id : {"", "Platform", "platform ", "platfor", "tunnel_portal"}) {
        EXPECT_EQ(Catalog().Find(id), nullptr) << '"' << id << '"';
    }
    EXPECT_EQ(Catalog().At(-1), nullptr);
    EXPECT_EQ(Catalog().At(38), nullptr);
}

// The two platforms are drawn exactly as given, part by part.
TEST(SceneryDrawing, Platforms) {
    auto rgba = [](const SceneryColor& c) {
        return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + "," +
               std::to_string(c.a);
    };
    EXPECT_EQ(Catalog().Find("platform")->parts.size(), 7u);
    EXPECT_EQ(Catalog().Find("platform_island")->parts.size(), 16u);
    for (const auto& row : ReadDataTable("scenery_platforms.tsv")) {
        SCOPED_TRACE(row.at(0) + " part " + row.at(1));
        ASSERT_EQ(row.size(), 10u);
        const SceneryPart& p = Catalog().Find(row[0])->parts.at(std::stoi(row[1]));
        EXPECT_EQ(p.type, std::stoi(row[2]));
        EXPECT_EQ(std::make_tuple(p.a, p.b, p.c, p.d),
                  std::make_tuple(std::stod(row[3]), std::stod(row[4]), std::stod(row[5]),
                                  std::stod(row[6])));
        EXPECT_TRUE(row[7] == "-" || rgba(p.fill) == row[7]) << rgba(p.fill);
        EXPECT_EQ(rgba(p.outline), row[8]);
        EXPECT_TRUE(row[9] == "-" || p.width == std::stoi(row[9])) << p.width;
    }
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

TEST(SceneryCategories, NamesByNumber) {
    const char* names[] = {"Platforms", "Buildings", "Stations", "Signals", "Bridges", "Tunnels",
                           "Roads",     "Nature",    "Vehicles", "Special", "Misc"};
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(SceneryCategoryName(i), names[i]) << i;
    for (int i : {-1, 11, 255, -2147483647 - 1}) EXPECT_EQ(SceneryCategoryName(i), "Other");
}
}  // namespace
