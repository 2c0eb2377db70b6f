// The built-in scenery records with their 2D drawings, in palette order.
#include "catalog/SceneryCatalog.h"

namespace {
using C = SceneryColor;

SceneryDef Def(std::string id, std::string name, int32_t category, double width, double depth) {
    SceneryDef d;
    d.id = std::move(id);
    d.name = std::move(name);
    d.category = category;
    d.width = width;
    d.depth = depth;
    return d;
}

// Platform paving, its edge and the faint joints between slabs.
constexpr C kPaving{180, 175, 170, 255};
constexpr C kPavingEdge{120, 115, 110, 255};
constexpr C kSafetyLine{220, 200, 100, 255};
constexpr C kSlabJoint{150, 145, 140, 80};

SceneryDef Platform() {
    SceneryDef d = Def("platform", "Platform", kSceneryPlatforms, 230, 60);
    d.parts.push_back(MakeSceneryRect(0, 0, 230, 60, kPaving, kPavingEdge, 1));
    d.parts.push_back(MakeSceneryRect(0, 52, 230, 8, kSafetyLine));
    for (double x : {40.0, 80.0, 120.0, 160.0, 190.0}) {
        d.parts.push_back(MakeSceneryLine(x, 0, x, 60, kSlabJoint, 1));
    }
    return d;
}

SceneryDef IslandPlatform() {
    SceneryDef d = Def("platform_island", "Island platform 460mm", kSceneryPlatforms, 460, 120);
    d.parts.push_back(MakeSceneryRect(0, 0, 460, 120, kPaving, kPavingEdge, 1));
    d.parts.push_back(MakeSceneryRect(0, 0, 460, 8, kSafetyLine));
    d.parts.push_back(MakeSceneryRect(0, 112, 460, 8, kSafetyLine));
    d.parts.push_back(MakeSceneryRect(0, 54, 460, 12, C{200, 195, 190, 255}));
    for (double x = 40; x < 460; x += 40) {
        d.parts.push_back(MakeSceneryLine(x, 0, x, 120, kSlabJoint, 1));
    }
    // The shelter in the middle of the island.
    d.parts.push_back(MakeSceneryRectOutline(115, 20, 230, 80, C{80, 80, 80, 180}, 2));
    return d;
}
}  // namespace

void SceneryCatalog::FillBuiltInTables() {
    defs.clear();
    byId.clear();
    Add(Platform());
    Add(IslandPlatform());
    filled = true;
}
