// The scenery catalog registry, its category names and the shape makers.
#include "catalog/SceneryCatalog.h"

std::string SceneryCategoryName(int category) {
    switch (category) {
        case kSceneryPlatforms:
            return "Platforms";
        case kSceneryBuildings:
            return "Buildings";
        case kSceneryStations:
            return "Stations";
        case kScenerySignals:
            return "Signals";
        case kSceneryBridges:
            return "Bridges";
        case kSceneryTunnels:
            return "Tunnels";
        case kSceneryRoads:
            return "Roads";
        case kSceneryNature:
            return "Nature";
        case kSceneryVehicles:
            return "Vehicles";
        case kScenerySpecial:
            return "Special";
        case kSceneryMisc:
            return "Misc";
        default:
            return "Other";
    }
}

namespace {
SceneryPart BoxPart(uint8_t type, double x, double y, double w, double h, SceneryColor fill,
                    SceneryColor outline, int width) {
    SceneryPart p;
    p.type = type;
    p.fill = fill;
    p.outline = outline;
    p.width = width;
    p.a = x;
    p.b = y;
    p.c = w;
    p.d = h;
    return p;
}
}  // namespace

SceneryPart MakeSceneryRect(double x, double y, double w, double h, SceneryColor fill,
                            SceneryColor outline, int width) {
    return BoxPart(kSceneryFilledRect, x, y, w, h, fill, outline, width);
}

SceneryPart MakeSceneryRectOutline(double x, double y, double w, double h, SceneryColor outline,
                                   int width) {
    return BoxPart(kSceneryRectOutline, x, y, w, h, kSceneryNoColor, outline, width);
}

SceneryPart MakeSceneryPolygon(std::vector<SceneryPoint> points, SceneryColor fill,
                               SceneryColor outline, int width) {
    SceneryPart p;
    p.type = kSceneryPolygon;
    p.fill = fill;
    p.outline = outline;
    p.width = width;
    p.points = std::move(points);
    return p;
}

SceneryPart MakeSceneryLine(double x1, double y1, double x2, double y2, SceneryColor color,
                            int width) {
    return BoxPart(kSceneryLine, x1, y1, x2, y2, color, color, width);
}

SceneryPart MakeSceneryEllipse(double x, double y, double w, double h, SceneryColor fill,
                               SceneryColor outline, int width) {
    return BoxPart(kSceneryFilledEllipse, x, y, w, h, fill, outline, width);
}

SceneryPart MakeSceneryEllipseOutline(double x, double y, double w, double h, SceneryColor outline,
                                      int width) {
    return BoxPart(kSceneryEllipseOutline, x, y, w, h, kSceneryNoColor, outline, width);
}

SceneryCatalog& SceneryCatalog::Instance() {
    static SceneryCatalog catalog;
    if (!catalog.filled) catalog.FillBuiltInTables();
    return catalog;
}

const SceneryDef* SceneryCatalog::Find(std::string_view id) const {
    auto it = byId.find(std::string(id));
    return it == byId.end() ? nullptr : &defs[it->second];
}

const SceneryDef* SceneryCatalog::At(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return &defs[index];
}

void SceneryCatalog::Add(SceneryDef def) {
    byId[def.id] = Count();
    defs.push_back(std::move(def));
}
