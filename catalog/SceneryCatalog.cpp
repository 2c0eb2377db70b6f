// The scenery catalog registry, its category names and the shape makers.
#include "catalog/SceneryCatalog.h"

#include "base/Translate.h"

std::string SceneryCategoryName(int category) {
    switch (category) {
        case kSceneryPlatforms:
            return TR_NOOP("Platforms");
        case kSceneryBuildings:
            return TR_NOOP("Buildings");
        case kSceneryStations:
            return TR_NOOP("Stations");
        case kScenerySignals:
            return TR_NOOP("Signals");
        case kSceneryBridges:
            return TR_NOOP("Bridges");
        case kSceneryTunnels:
            return TR_NOOP("Tunnels");
        case kSceneryRoads:
            return TR_NOOP("Roads");
        case kSceneryNature:
            return TR_NOOP("Nature");
        case kSceneryVehicles:
            return TR_NOOP("Vehicles");
        case kScenerySpecial:
            return TR_NOOP("Special");
        case kSceneryMisc:
            return TR_NOOP("Misc");
        default:
            return TR_NOOP("Other");
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
