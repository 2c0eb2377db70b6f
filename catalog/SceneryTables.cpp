// The built-in scenery records with their 2D drawings, in palette order.
#include <cmath>

#include "base/Geometry.h"
#include "catalog/SceneryCatalog.h"

namespace {
using C = SceneryColor;

// Collects the parts of one drawing; every coordinate is in the footprint's frame.
class Sketch {
public:
    explicit Sketch(SceneryDef& def) : parts(def.parts) {}
    void Rect(double x, double y, double w, double h, C fill, C outline = kSceneryNoColor,
              int width = 0) {
        parts.push_back(MakeSceneryRect(x, y, w, h, fill, outline, width));
    }
    void Frame(double x, double y, double w, double h, C outline, int width) {
        parts.push_back(MakeSceneryRectOutline(x, y, w, h, outline, width));
    }
    void Ellipse(double x, double y, double w, double h, C fill, C outline = kSceneryNoColor,
                 int width = 0) {
        parts.push_back(MakeSceneryEllipse(x, y, w, h, fill, outline, width));
    }
    // A circle given by its centre, for lamps, dots and crowns.
    void Disc(double cx, double cy, double diameter, C fill, C outline = kSceneryNoColor,
              int width = 0) {
        Ellipse(cx - diameter / 2, cy - diameter / 2, diameter, diameter, fill, outline, width);
    }
    void Ring(double x, double y, double w, double h, C outline, int width) {
        parts.push_back(MakeSceneryEllipseOutline(x, y, w, h, outline, width));
    }
    void Poly(std::vector<SceneryPoint> points, C fill, C outline = kSceneryNoColor,
              int width = 0) {
        parts.push_back(MakeSceneryPolygon(std::move(points), fill, outline, width));
    }
    void Line(double x1, double y1, double x2, double y2, C color, int width = 1) {
        parts.push_back(MakeSceneryLine(x1, y1, x2, y2, color, width));
    }

private:
    std::vector<SceneryPart>& parts;
};

SceneryDef Def(std::string id, std::string name, int32_t category, double width, double depth) {
    SceneryDef d;
    d.id = std::move(id);
    d.name = std::move(name);
    d.category = category;
    d.width = width;
    d.depth = depth;
    return d;
}

// Shared colours.
constexpr C kPaving{180, 175, 170, 255};
constexpr C kPavingEdge{120, 115, 110, 255};
constexpr C kSafetyLine{220, 200, 100, 255};
constexpr C kSlabJoint{150, 145, 140, 80};
constexpr C kTileRoof{170, 80, 60, 255};
constexpr C kTileRoofDark{140, 62, 48, 255};
constexpr C kTileRoofLight{190, 100, 75, 255};
constexpr C kRoofEdge{90, 40, 30, 255};
constexpr C kSlateRoof{95, 100, 110, 255};
constexpr C kSlateRoofDark{75, 80, 90, 255};
constexpr C kSlateEdge{45, 48, 55, 255};
constexpr C kChimney{120, 60, 45, 255};
constexpr C kGlass{150, 195, 225, 255};
constexpr C kGlassDark{70, 95, 120, 255};
constexpr C kConcrete{190, 188, 180, 255};
constexpr C kConcreteDark{140, 138, 132, 255};
constexpr C kStone{160, 150, 135, 255};
constexpr C kStoneDark{115, 105, 95, 255};
constexpr C kStoneJoint{100, 92, 84, 140};
constexpr C kAsphalt{85, 87, 90, 255};
constexpr C kAsphaltEdge{60, 62, 65, 255};
constexpr C kRoadMarking{240, 240, 235, 255};
constexpr C kBallast{125, 115, 100, 255};
constexpr C kRail{90, 90, 95, 255};
constexpr C kTunnelDark{25, 25, 28, 255};
constexpr C kGrass{110, 150, 70, 255};
constexpr C kEarth{120, 100, 70, 255};
constexpr C kWood{140, 100, 60, 255};
constexpr C kWoodDark{95, 65, 40, 255};
constexpr C kTrunk{95, 65, 35, 255};
constexpr C kLeafDark{34, 100, 34, 255};
constexpr C kLeafMid{56, 135, 50, 255};
constexpr C kLeafLight{95, 165, 70, 255};
constexpr C kLeafEdge{20, 70, 20, 255};
constexpr C kNeedleDark{20, 75, 50, 255};
constexpr C kNeedleMid{30, 100, 62, 255};
constexpr C kNeedleLight{55, 125, 80, 255};
constexpr C kSteelDark{50, 52, 58, 255};
constexpr C kBlack{20, 20, 20, 255};
constexpr C kWhite{245, 245, 245, 255};

// A hip roof over the box: four faces meeting on a ridge along the longer side.
void HipRoof(Sketch& s, double x, double y, double w, double h, C dark, C mid, C light, C edge) {
    const double inset = std::min(w, h) / 2;
    if (w >= h) {
        const double ry = y + h / 2;
        s.Poly({{x, y}, {x + w, y}, {x + w - inset, ry}, {x + inset, ry}}, dark, edge, 1);
        s.Poly({{x, y + h}, {x + w, y + h}, {x + w - inset, ry}, {x + inset, ry}}, light, edge, 1);
        s.Poly({{x, y}, {x + inset, ry}, {x, y + h}}, mid, edge, 1);
        s.Poly({{x + w, y}, {x + w - inset, ry}, {x + w, y + h}}, mid, edge, 1);
        s.Line(x + inset, ry, x + w - inset, ry, edge, 2);
    } else {
        const double rx = x + w / 2;
        s.Poly({{x, y}, {x, y + h}, {rx, y + h - inset}, {rx, y + inset}}, dark, edge, 1);
        s.Poly({{x + w, y}, {x + w, y + h}, {rx, y + h - inset}, {rx, y + inset}}, light, edge, 1);
        s.Poly({{x, y}, {rx, y + inset}, {x + w, y}}, mid, edge, 1);
        s.Poly({{x, y + h}, {rx, y + h - inset}, {x + w, y + h}}, mid, edge, 1);
        s.Line(rx, y + inset, rx, y + h - inset, edge, 2);
    }
}

// A pitched roof with its ridge along x: a shaded back slope and a lit front slope.
void GableRoof(Sketch& s, double x, double y, double w, double h, C dark, C light, C edge) {
    s.Rect(x, y, w, h / 2, dark);
    s.Rect(x, y + h / 2, w, h / 2, light);
    s.Frame(x, y, w, h, edge, 1);
    s.Line(x, y + h / 2, x + w, y + h / 2, edge, 2);
}

// A platform strip along x with its yellow safety line on the track side (bottom).
void PlatformStrip(Sketch& s, double x, double y, double w, double h) {
    s.Rect(x, y, w, h, kPaving, kPavingEdge, 1);
    s.Rect(x, y + h - 5, w, 5, kSafetyLine);
    for (double jx = x + 40; jx < x + w; jx += 40) s.Line(jx, y, jx, y + h - 5, kSlabJoint, 1);
}

// A broadleaf crown of `size` seen from above: three layers lit from the top left, trunk dot.
void DeciduousTree(Sketch& s, double x, double y, double size) {
    s.Ellipse(x, y, size, size, kLeafDark, kLeafEdge, 1);
    s.Ellipse(x + 0.1 * size, y + 0.08 * size, 0.68 * size, 0.68 * size, kLeafMid);
    s.Ellipse(x + 0.2 * size, y + 0.16 * size, 0.36 * size, 0.36 * size, kLeafLight);
    s.Disc(x + size / 2, y + size / 2, std::max(2.0, 0.1 * size), kTrunk);
}

// A conifer in the box: a star of branch tips around darker layers and the trunk dot.
void Conifer(Sketch& s, double x, double y, double w, double h) {
    const double cx = x + w / 2, cy = y + h / 2;
    std::vector<SceneryPoint> star;
    for (int i = 0; i < 16; ++i) {
        const double t = i * kPi / 8;
        const double r = (i % 2 == 0) ? 1.0 : 0.72;
        star.push_back({cx + std::cos(t) * r * w / 2, cy + std::sin(t) * r * h / 2});
    }
    s.Poly(std::move(star), kNeedleDark, kLeafEdge, 1);
    s.Ellipse(x + 0.2 * w, y + 0.2 * h, 0.6 * w, 0.6 * h, kNeedleMid);
    s.Ellipse(x + 0.34 * w, y + 0.34 * h, 0.32 * w, 0.32 * h, kNeedleLight);
    s.Disc(cx, cy, std::max(1.5, 0.12 * std::min(w, h)), kTrunk);
}

// A car of length len and width wid seen from above at (x, y), nose towards +x, or towards +y
// when alongY is set (parked in a bay).
void CarShape(Sketch& s, double x, double y, double len, double wid, C body, bool alongY = false) {
    // u runs along the car, v across it.
    auto at = [&](double u, double v) {
        return alongY ? SceneryPoint{x + v * wid, y + u * len}
                      : SceneryPoint{x + u * len, y + v * wid};
    };
    auto box = [&](double u, double v, double du, double dv, C fill) {
        const SceneryPoint p = at(u, v);
        if (alongY) {
            s.Rect(p.x, p.y, dv * wid, du * len, fill);
        } else {
            s.Rect(p.x, p.y, du * len, dv * wid, fill);
        }
    };
    const double cu = 0.3 * wid / len;  // corner cut along the car, as a fraction of len
    s.Poly({at(cu / 2, 0), at(1 - cu, 0), at(1, 0.3), at(1, 0.7), at(1 - cu, 1), at(cu / 2, 1),
            at(0, 0.85), at(0, 0.15)},
           body, C{40, 40, 40, 255}, 1);
    box(0.34, 0.12, 0.32, 0.76,
        C{static_cast<uint8_t>(body.r * 3 / 4), static_cast<uint8_t>(body.g * 3 / 4),
          static_cast<uint8_t>(body.b * 3 / 4), 255});  // roof
    // Windscreen ahead of the roof, rear window behind it.
    s.Poly({at(0.66, 0.12), at(0.78, 0.2), at(0.78, 0.8), at(0.66, 0.88)}, kGlass, kGlassDark, 1);
    s.Poly({at(0.34, 0.12), at(0.26, 0.2), at(0.26, 0.8), at(0.34, 0.88)}, kGlass, kGlassDark, 1);
    const C headlamp{250, 240, 170, 255};
    const C taillamp{200, 30, 30, 255};
    box(0.95, 0.12, 0.04, 0.16, headlamp);
    box(0.95, 0.72, 0.04, 0.16, headlamp);
    box(0.01, 0.12, 0.03, 0.16, taillamp);
    box(0.01, 0.72, 0.03, 0.16, taillamp);
}

// Track seen from above along x at centre line cy: ballast bed and two rails.
void TrackBed(Sketch& s, double x, double w, double cy) {
    s.Rect(x, cy - 12, w, 24, kBallast);
    for (double sx = x + 4; sx < x + w; sx += 10) s.Rect(sx, cy - 11, 4, 22, kWoodDark);
    s.Line(x, cy - 8, x + w, cy - 8, kRail, 2);
    s.Line(x, cy + 8, x + w, cy + 8, kRail, 2);
}

// ---- Platforms ----

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

// ---- Stations and buildings (the track side is the bottom edge, y = depth) ----

SceneryDef StationSmall() {
    SceneryDef d = Def("station_small", "Station Gueglingen", kSceneryStations, 308, 140);
    Sketch s(d);
    s.Rect(0, 0, 308, 140, C{200, 195, 180, 255});  // forecourt gravel
    PlatformStrip(s, 0, 104, 308, 36);
    HipRoof(s, 24, 12, 200, 86, kTileRoofDark, kTileRoof, kTileRoofLight, kRoofEdge);
    // Goods annex with its lower pitched roof.
    GableRoof(s, 224, 26, 64, 60, kSlateRoofDark, kSlateRoof, kSlateEdge);
    s.Rect(70, 30, 8, 8, kChimney, kRoofEdge, 1);
    s.Rect(170, 30, 8, 8, kChimney, kRoofEdge, 1);
    // Platform canopy on posts in front of the waiting room.
    s.Rect(48, 98, 152, 16, C{120, 125, 130, 200}, kSlateEdge, 1);
    for (double px = 56; px < 200; px += 36) s.Rect(px, 110, 3, 3, kSteelDark);
    return d;
}

SceneryDef StationLarge() {
    SceneryDef d = Def("station_large", "Station Schwarzburg", kSceneryStations, 550, 185);
    Sketch s(d);
    s.Rect(0, 0, 550, 185, C{200, 195, 180, 255});
    PlatformStrip(s, 0, 140, 550, 45);
    // Two-storey main hall between single-storey wings.
    HipRoof(s, 30, 40, 140, 84, kTileRoofDark, kTileRoof, kTileRoofLight, kRoofEdge);
    HipRoof(s, 380, 40, 140, 84, kTileRoofDark, kTileRoof, kTileRoofLight, kRoofEdge);
    HipRoof(s, 170, 14, 210, 122, kSlateRoofDark, kSlateRoof, C{120, 125, 135, 255}, kSlateEdge);
    // Clock turret on the ridge and chimneys.
    s.Rect(263, 63, 24, 24, C{200, 190, 160, 255}, kSlateEdge, 1);
    s.Disc(275, 75, 12, kWhite, kBlack, 1);
    for (double cx : {70.0, 130.0, 420.0, 480.0}) s.Rect(cx, 56, 8, 8, kChimney, kRoofEdge, 1);
    // Long platform canopy with its row of columns.
    s.Rect(40, 132, 470, 30, C{110, 115, 125, 200}, kSlateEdge, 1);
    s.Line(40, 147, 510, 147, kSlateEdge, 1);
    for (double px = 60; px < 510; px += 50) s.Rect(px, 145, 4, 4, kSteelDark);
    return d;
}

SceneryDef SignalBox() {
    SceneryDef d = Def("signal_box", "Signal box", kSceneryBuildings, 60, 50);
    Sketch s(d);
    s.Rect(0, 0, 60, 50, C{170, 160, 140, 255});  // yard around the box
    // Glazed operating floor faces the track.
    s.Rect(6, 38, 48, 6, kGlass, kGlassDark, 1);
    GableRoof(s, 4, 6, 52, 34, kTileRoofDark, kTileRoof, kRoofEdge);
    s.Rect(12, 10, 5, 5, kChimney, kRoofEdge, 1);
    // Outside stair up to the door.
    s.Rect(46, 42, 10, 8, kWood, kWoodDark, 1);
    for (double sy = 44; sy < 50; sy += 2) s.Line(46, sy, 56, sy, kWoodDark, 1);
    return d;
}

// An engine shed over `roads` tracks: long roof with smoke vents on the ridge and skylights,
// open doors at both ends.
SceneryDef EngineShed(std::string id, std::string name, double width, double depth, int roads) {
    SceneryDef d = Def(std::move(id), std::move(name), kSceneryBuildings, width, depth);
    Sketch s(d);
    const double bay = depth / roads;
    for (int r = 0; r < roads; ++r) {
        const double y = r * bay;
        GableRoof(s, 0, y, width, bay, kSlateRoofDark, kSlateRoof, kSlateEdge);
        for (double x = 20; x + 40 <= width - 20; x += 70) {
            s.Rect(x, y + 8, 40, 8, kGlass, kGlassDark, 1);
            s.Rect(x, y + bay - 16, 40, 8, kGlass, kGlassDark, 1);
        }
        for (double x = 45; x + 14 <= width; x += 70) {
            s.Rect(x, y + bay / 2 - 5, 14, 10, kSteelDark, kBlack, 1);
        }
        // Dark door openings where the road enters at both ends.
        s.Rect(0, y + bay / 2 - 16, 4, 32, kTunnelDark);
        s.Rect(width - 4, y + bay / 2 - 16, 4, 32, kTunnelDark);
    }
    return d;
}

SceneryDef GoodsShed() {
    SceneryDef d = Def("goods_shed", "Goods shed", kSceneryBuildings, 200, 80);
    Sketch s(d);
    // Loading ramp along the track side with the roof overhang above the doors.
    s.Rect(0, 56, 200, 24, kConcrete, kConcreteDark, 1);
    GableRoof(s, 0, 0, 200, 62, C{120, 85, 55, 255}, kWood, kWoodDark);
    for (double x = 30; x + 26 <= 200; x += 50) s.Rect(x, 62, 26, 3, kWoodDark);  // sliding doors
    // Crates and a sack barrow waiting on the ramp.
    s.Rect(18, 68, 10, 8, C{190, 150, 90, 255}, kWoodDark, 1);
    s.Rect(30, 70, 8, 7, C{170, 130, 80, 255}, kWoodDark, 1);
    s.Rect(150, 68, 12, 8, C{60, 90, 140, 255}, kBlack, 1);
    return d;
}

SceneryDef Warehouse() {
    SceneryDef d = Def("warehouse", "Warehouse", kSceneryBuildings, 400, 200);
    Sketch s(d);
    // Flat roof inside a parapet, rooflights in a grid, plant on the roof.
    s.Rect(0, 0, 400, 200, C{150, 150, 145, 255}, C{70, 70, 70, 255}, 2);
    s.Frame(6, 6, 388, 188, C{110, 110, 105, 255}, 1);
    for (double x = 30; x + 40 <= 380; x += 60) {
        for (double y = 24; y + 20 <= 150; y += 44) s.Rect(x, y, 40, 20, kGlass, kGlassDark, 1);
    }
    s.Rect(300, 150, 50, 26, C{180, 180, 185, 255}, kSteelDark, 1);
    s.Disc(325, 163, 18, C{120, 120, 125, 255}, kSteelDark, 1);
    // Loading doors and their canopy on the track side.
    s.Rect(20, 184, 260, 10, C{200, 120, 40, 255}, kSteelDark, 1);
    for (double x = 30; x + 30 <= 280; x += 50) s.Rect(x, 194, 30, 6, kTunnelDark);
    return d;
}

// ---- Signals ----

enum class SignalKind { Semaphore, ColorLight };

// One builder for all eight signals: normal ones on a 20 mm square, Z ones on 12 mm; the lit
// lamp shows red for stop and green for clear.
SceneryDef Signal(std::string id, std::string name, SignalKind kind, bool clear, bool z) {
    const double size = z ? 12 : 20;
    SceneryDef d = Def(std::move(id), std::move(name), kScenerySignals, size, size);
    d.zScale = z;
    const double u = size / 20;
    const C aspect = clear ? C{60, 200, 80, 255} : C{220, 40, 40, 255};
    Sketch s(d);
    s.Rect(1 * u, 1 * u, 18 * u, 18 * u, kConcrete, kConcreteDark, 1);  // foundation
    if (kind == SignalKind::Semaphore) {
        // The arm stands out from the mast: level at stop, raised (shorter seen from above)
        // at clear.
        const C arm{200, 30, 30, 255};
        if (clear) {
            s.Poly({{10 * u, 8 * u}, {16 * u, 3 * u}, {18 * u, 5 * u}, {12 * u, 10 * u}}, arm,
                   kWhite, 1);
        } else {
            s.Rect(10 * u, 8 * u, 9 * u, 4 * u, arm, kWhite, 1);
        }
        s.Disc(8 * u, 10 * u, 5 * u, kSteelDark, kBlack, 1);  // mast
        s.Disc(4 * u, 10 * u, 4 * u, aspect, kBlack, 1);      // lamp
        s.Disc(8 * u, 10 * u, 1.5 * u, kWhite);               // finial
    } else {
        // Mast beside the track, bracket, and a black head with two lamps.
        s.Disc(5 * u, 10 * u, 5 * u, kSteelDark, kBlack, 1);
        s.Line(5 * u, 10 * u, 10 * u, 10 * u, kSteelDark, 2);
        s.Rect(10 * u, 2 * u, 8 * u, 16 * u, kBlack, C{80, 80, 80, 255}, 1);
        const C dimRed{70, 30, 30, 255};
        const C dimGreen{30, 60, 35, 255};
        s.Disc(14 * u, 6 * u, 5 * u, clear ? dimRed : aspect);
        s.Disc(14 * u, 14 * u, 5 * u, clear ? aspect : dimGreen);
    }
    return d;
}

// ---- Bridges ----

// A steel truss span along x: girders along both sides, cross-bracing between them, the deck
// and the track between, abutment stones at both ends.
void TrussSpan(Sketch& s, double w, double h, C steel, C steelDark) {
    const double girder = 8;
    s.Rect(0, 0, w, h, kStone);
    s.Rect(8, girder, w - 16, h - 2 * girder, C{110, 95, 80, 255});  // deck
    TrackBed(s, 8, w - 16, h / 2);
    s.Rect(8, 0, w - 16, girder, steel, steelDark, 1);
    s.Rect(8, h - girder, w - 16, girder, steel, steelDark, 1);
    const int panels = 7;
    const double step = (w - 16) / panels;
    for (int i = 0; i < panels; ++i) {
        const double x0 = 8 + i * step, x1 = x0 + step;
        s.Line(x0, girder, x1, h - girder, C{steel.r, steel.g, steel.b, 170}, 1);
        s.Line(x0, h - girder, x1, girder, C{steel.r, steel.g, steel.b, 170}, 1);
        s.Line(x0, 0, x0, girder, steelDark, 1);
        s.Line(x0, h - girder, x0, h, steelDark, 1);
    }
    s.Rect(0, 0, 8, h, kStoneDark, kStoneJoint, 1);
    s.Rect(w - 8, 0, 8, h, kStoneDark, kStoneJoint, 1);
}

SceneryDef TrussBridgeScenery() {
    SceneryDef d = Def("bridge_truss_scenery", "Truss bridge (scenery)", kSceneryBridges, 188, 64);
    Sketch s(d);
    TrussSpan(s, 188, 64, C{70, 95, 85, 255}, C{35, 50, 45, 255});
    return d;
}

SceneryDef SteelTrussBridge() {
    SceneryDef d = Def("bridge_truss", "Steel truss bridge (1 track)", kScenerySpecial, 188, 80);
    Sketch s(d);
    TrussSpan(s, 188, 80, C{150, 70, 50, 255}, C{80, 35, 25, 255});
    // Walkway gratings inside the girders.
    s.Rect(8, 9, 172, 6, C{160, 160, 160, 255});
    s.Rect(8, 65, 172, 6, C{160, 160, 160, 255});
    return d;
}

SceneryDef ArchBridgeScenery() {
    SceneryDef d = Def("bridge_arch_scenery", "Arch bridge (scenery)", kSceneryBridges, 360, 64);
    Sketch s(d);
    s.Rect(0, 6, 360, 52, kBallast);
    TrackBed(s, 0, 360, 32);
    // Parapets with coping and the piers' cutwaters between the four arches.
    s.Rect(0, 0, 360, 6, kStone, kStoneDark, 1);
    s.Rect(0, 58, 360, 6, kStone, kStoneDark, 1);
    for (double x = 90; x < 360; x += 90) {
        s.Rect(x - 6, 0, 12, 6, kStoneDark, kStoneJoint, 1);
        s.Rect(x - 6, 58, 12, 6, kStoneDark, kStoneJoint, 1);
    }
    for (double x = 15; x < 360; x += 15) {
        s.Line(x, 0, x, 6, kStoneJoint, 1);
        s.Line(x, 58, x, 64, kStoneJoint, 1);
    }
    return d;
}

// ---- Roads (a road crossing a track runs along y, the tracks along x) ----

SceneryDef LevelCrossing(std::string id, std::string name, double depth,
                         std::vector<double> tracks) {
    SceneryDef d = Def(std::move(id), std::move(name), kSceneryRoads, 120, depth);
    Sketch s(d);
    s.Rect(10, 0, 100, depth, kAsphalt, kAsphaltEdge, 1);
    s.Line(14, 0, 14, depth, kRoadMarking, 1);
    s.Line(106, 0, 106, depth, kRoadMarking, 1);
    for (double y = 4; y + 10 <= depth; y += 18) s.Line(60, y, 60, y + 10, kRoadMarking, 2);
    for (double ty : tracks) {
        s.Rect(0, ty - 14, 120, 28, kBallast);
        s.Rect(10, ty - 13, 100, 26, kConcrete, kConcreteDark, 1);  // crossing panels
        s.Line(0, ty - 8, 120, ty - 8, kRail, 2);
        s.Line(0, ty + 8, 120, ty + 8, kRail, 2);
    }
    // Barriers at both approaches: red and white booms from their posts.
    const C red{210, 30, 30, 255};
    const double top = tracks.front() - 22, bottom = tracks.back() + 22;
    s.Rect(0, top - 4, 8, 8, red, kBlack, 1);
    s.Line(8, top, 60, top, red, 3);
    s.Line(20, top, 30, top, kWhite, 3);
    s.Line(40, top, 50, top, kWhite, 3);
    s.Rect(112, bottom - 4, 8, 8, red, kBlack, 1);
    s.Line(60, bottom, 112, bottom, red, 3);
    s.Line(70, bottom, 80, bottom, kWhite, 3);
    s.Line(90, bottom, 100, bottom, kWhite, 3);
    return d;
}

SceneryDef RoadStraight() {
    SceneryDef d = Def("road_straight", "Road straight 188mm", kSceneryRoads, 188, 60);
    Sketch s(d);
    s.Rect(0, 0, 188, 60, kGrass);  // verges
    s.Rect(0, 5, 188, 50, kAsphalt, kAsphaltEdge, 1);
    s.Line(0, 9, 188, 9, kRoadMarking, 1);
    s.Line(0, 51, 188, 51, kRoadMarking, 1);
    for (double x = 7; x + 20 <= 188; x += 34) s.Line(x, 30, x + 20, 30, kRoadMarking, 2);
    return d;
}

// ---- Special ----

SceneryDef Turntable() {
    SceneryDef d = Def("turntable", "Turntable \u00d8360mm", kScenerySpecial, 360, 360);
    Sketch s(d);
    s.Ellipse(0, 0, 360, 360, kConcrete, kConcreteDark, 2);  // pit wall
    s.Ellipse(10, 10, 340, 340, C{105, 95, 80, 255});        // pit floor
    s.Ring(18, 18, 324, 324, kRail, 2);                      // running rail
    s.Rect(0, 164, 360, 32, kSteelDark, kBlack, 1);          // bridge
    s.Line(0, 172, 360, 172, C{170, 170, 175, 255}, 2);
    s.Line(0, 188, 360, 188, C{170, 170, 175, 255}, 2);
    s.Disc(180, 180, 20, C{90, 90, 95, 255}, kBlack, 1);       // king pin
    s.Rect(300, 196, 26, 18, C{60, 110, 60, 255}, kBlack, 1);  // operator's hut
    return d;
}

SceneryDef WaterTower() {
    SceneryDef d = Def("water_tower", "Water tower", kScenerySpecial, 50, 50);
    Sketch s(d);
    s.Disc(25, 25, 48, C{150, 70, 50, 255}, kRoofEdge, 1);  // brick shaft under the tank
    s.Disc(25, 25, 40, C{70, 75, 85, 255}, kSlateEdge, 1);  // tank
    s.Disc(25, 25, 30, kSlateRoof, kSlateEdge, 1);          // conical roof
    for (int i = 0; i < 8; ++i) {
        const double t = i * kPi / 4;
        s.Line(25, 25, 25 + std::cos(t) * 15, 25 + std::sin(t) * 15, kSlateEdge, 1);
    }
    s.Disc(25, 25, 5, C{200, 180, 90, 255}, kBlack, 1);  // finial
    return d;
}

SceneryDef CoalingTower() {
    SceneryDef d = Def("coaling_tower", "Coaling tower", kScenerySpecial, 100, 80);
    Sketch s(d);
    s.Rect(0, 0, 100, 80, C{80, 75, 70, 255});  // coal-stained ground
    TrackBed(s, 0, 100, 56);
    // Concrete bunker on four legs straddling the track, with its chutes.
    s.Rect(22, 14, 56, 58, kConcrete, kConcreteDark, 2);
    s.Rect(30, 20, 40, 20, kBlack, kConcreteDark, 1);  // open coal bin
    s.Line(36, 46, 36, 66, kSteelDark, 3);
    s.Line(64, 46, 64, 66, kSteelDark, 3);
    // Skip hoist and the coal heap it lifts from.
    s.Rect(78, 22, 18, 10, C{170, 110, 40, 255}, kSteelDark, 1);
    s.Poly({{2, 4}, {18, 2}, {20, 18}, {10, 28}, {3, 22}}, kBlack, C{55, 55, 55, 255}, 1);
    return d;
}

SceneryDef ViaductPier() {
    SceneryDef d = Def("viaduct_pier", "Viaduct pier (concrete)", kScenerySpecial, 40, 60);
    Sketch s(d);
    s.Rect(0, 6, 40, 48, kConcreteDark, C{100, 98, 92, 255}, 1);  // footing
    s.Rect(4, 0, 32, 60, kConcrete, kConcreteDark, 1);            // cap
    s.Rect(10, 8, 20, 6, kSteelDark);                             // bearings
    s.Rect(10, 46, 20, 6, kSteelDark);
    s.Line(20, 0, 20, 60, C{150, 148, 140, 255}, 1);  // joint between the two spans
    return d;
}

SceneryDef RetainingWall() {
    SceneryDef d = Def("retaining_wall", "Retaining wall 188mm", kScenerySpecial, 188, 30);
    Sketch s(d);
    s.Rect(0, 0, 188, 18, kEarth);  // held-back bank
    s.Rect(0, 0, 188, 8, kGrass);
    s.Rect(0, 18, 188, 5, kStone, kStoneDark, 1);       // coping
    s.Rect(0, 23, 188, 7, kStoneDark, kStoneJoint, 1);  // battered face
    for (double x = 12; x < 188; x += 16) s.Line(x, 23, x, 30, kStoneJoint, 1);
    for (double x = 23.5; x < 188; x += 47) s.Rect(x - 3, 17, 6, 13, kStone, kStoneDark, 1);
    return d;
}

// ---- Nature ----

SceneryDef TreeSmall() {
    SceneryDef d = Def("tree_sm_dec", "Deciduous tree (small)", kSceneryNature, 34, 34);
    Sketch s(d);
    DeciduousTree(s, 0, 0, 34);
    return d;
}

SceneryDef TreeLarge() {
    SceneryDef d = Def("tree_lg_dec", "Deciduous tree (large)", kSceneryNature, 57, 57);
    Sketch s(d);
    DeciduousTree(s, 0, 0, 57);
    return d;
}

SceneryDef TreeConifer() {
    SceneryDef d = Def("tree_conifer", "Conifer tree", kSceneryNature, 23, 40);
    Sketch s(d);
    Conifer(s, 0, 0, 23, 40);
    return d;
}

SceneryDef TreeGroup() {
    SceneryDef d = Def("tree_group", "Tree group (3 mixed)", kSceneryNature, 115, 80);
    Sketch s(d);
    s.Ellipse(0, 0, 115, 80, C{110, 150, 70, 120});  // undergrowth
    DeciduousTree(s, 4, 12, 57);
    Conifer(s, 66, 2, 23, 40);
    DeciduousTree(s, 78, 44, 34);
    return d;
}

SceneryDef Bush() {
    SceneryDef d = Def("bush", "Bush / shrub", kSceneryNature, 23, 17);
    Sketch s(d);
    s.Ellipse(0, 3, 14, 14, kLeafDark, kLeafEdge, 1);
    s.Ellipse(8, 0, 15, 15, kLeafDark, kLeafEdge, 1);
    s.Ellipse(4, 2, 12, 11, kLeafMid);
    s.Ellipse(12, 3, 7, 6, kLeafLight);
    s.Disc(6, 11, 2, C{220, 90, 120, 255});  // blossoms
    s.Disc(16, 10, 2, C{220, 90, 120, 255});
    return d;
}

// ---- Vehicles ----

SceneryDef Car() {
    SceneryDef d = Def("car", "Car", kSceneryVehicles, 50, 20);
    Sketch s(d);
    CarShape(s, 0, 0, 50, 20, C{180, 40, 40, 255});
    return d;
}

SceneryDef Truck() {
    SceneryDef d = Def("truck", "Truck", kSceneryVehicles, 80, 25);
    Sketch s(d);
    s.Rect(2, 1, 78, 23, C{40, 40, 40, 255});  // chassis and wheels showing at the sides
    s.Rect(0, 0, 58, 25, C{225, 225, 215, 255}, C{90, 90, 90, 255}, 1);  // box body
    for (double x = 10; x < 58; x += 10) s.Line(x, 0, x, 25, C{180, 180, 170, 255}, 1);
    // Cab with the windscreen at the front.
    s.Poly({{61, 1}, {76, 1}, {80, 5}, {80, 20}, {76, 24}, {61, 24}}, C{40, 80, 160, 255},
           C{20, 40, 80, 255}, 1);
    s.Rect(74, 3, 4, 19, kGlass, kGlassDark, 1);
    s.Rect(64, 4, 8, 17, C{30, 60, 130, 255});  // cab roof
    return d;
}

// ---- Misc ----

SceneryDef ParkingLot() {
    SceneryDef d = Def("parking_lot", "Parking lot (10 spaces)", kSceneryMisc, 250, 120);
    Sketch s(d);
    s.Rect(0, 0, 250, 120, kAsphalt, C{160, 160, 155, 255}, 2);
    // Two rows of five bays either side of the aisle; the first bay is kept for disabled
    // drivers.
    s.Rect(5, 2, 48, 40, C{50, 90, 170, 255});
    for (int i = 0; i <= 5; ++i) {
        const double x = 5 + 48 * i;
        s.Line(x, 2, x, 42, kRoadMarking, 2);
        s.Line(x, 78, x, 118, kRoadMarking, 2);
    }
    s.Line(5, 42, 245, 42, kRoadMarking, 1);
    s.Line(5, 78, 245, 78, kRoadMarking, 1);
    s.Poly({{100, 57}, {140, 57}, {140, 52}, {152, 60}, {140, 68}, {140, 63}, {100, 63}},
           kRoadMarking);
    CarShape(s, 111, 80, 36, 17, C{60, 90, 150, 255}, true);  // one car parked
    return d;
}

SceneryDef PedestrianZone() {
    SceneryDef d = Def("ped_zone", "Pedestrian zone", kSceneryMisc, 115, 57);
    Sketch s(d);
    s.Rect(0, 0, 115, 57, C{215, 200, 170, 255}, C{150, 135, 110, 255}, 1);
    for (double x = 11.5; x < 115; x += 11.5) s.Line(x, 0, x, 57, C{180, 165, 135, 150}, 1);
    for (double y = 9.5; y < 57; y += 9.5) s.Line(0, y, 115, y, C{180, 165, 135, 150}, 1);
    // Planter with flowers, a bench beside it and bollards at the road end.
    s.Ellipse(40, 14, 30, 24, C{140, 110, 80, 255}, C{100, 80, 60, 255}, 1);
    s.Ellipse(44, 17, 22, 18, kLeafMid);
    s.Disc(50, 24, 4, C{230, 60, 80, 255});
    s.Disc(60, 28, 4, C{240, 200, 60, 255});
    s.Rect(78, 20, 20, 6, kWood, kWoodDark, 1);
    for (double y = 8; y < 57; y += 13) s.Disc(6, y, 4, kSteelDark);
    return d;
}

// ---- Tunnels ----

// The portal sits on a track end with the track leaving towards +x: the hillside lies on the
// low-x side, the stone face across the track, and the dark bore through the middle.
SceneryDef TunnelPortal() {
    SceneryDef d = Def("tunnel_portal_single", "Tunnel portal (1 track)", kSceneryTunnels, 40, 80);
    Sketch s(d);
    s.Rect(0, 0, 22, 80, C{100, 120, 70, 255});  // hillside above the bore
    s.Rect(0, 0, 8, 80, C{85, 105, 60, 255});
    // Wing walls splaying out from the face.
    s.Poly({{20, 0}, {26, 0}, {36, 10}, {30, 14}}, kStone, kStoneDark, 1);
    s.Poly({{20, 80}, {26, 80}, {36, 70}, {30, 66}}, kStone, kStoneDark, 1);
    s.Rect(18, 4, 10, 72, kStone, kStoneDark, 1);  // portal face
    // The bore: its arched crown reaches back into the hill.
    s.Ellipse(4, 20, 24, 40, kTunnelDark);
    s.Rect(18, 20, 10, 40, kTunnelDark);
    s.Line(28, 20, 28, 60, kBlack, 2);
    for (double y = 8; y < 20; y += 4) s.Line(18, y, 28, y, kStoneJoint, 1);
    for (double y = 64; y < 76; y += 4) s.Line(18, y, 28, y, kStoneJoint, 1);
    return d;
}
}  // namespace

void SceneryCatalog::FillBuiltInTables() {
    defs.clear();
    byId.clear();
    using K = SignalKind;
    Add(Platform());
    Add(IslandPlatform());
    Add(StationSmall());
    Add(StationLarge());
    Add(SignalBox());
    Add(EngineShed("shed_1road", "Engine shed (1 road)", 300, 80, 1));
    Add(EngineShed("shed_2road", "Engine shed (2 roads)", 300, 160, 2));
    Add(GoodsShed());
    Add(Warehouse());
    Add(Signal("signal_semaphore_stop", "Semaphore (Stop)", K::Semaphore, false, false));
    Add(Signal("signal_semaphore_clear", "Semaphore (Clear)", K::Semaphore, true, false));
    Add(Signal("signal_color_stop", "Color light (Stop)", K::ColorLight, false, false));
    Add(Signal("signal_color_clear", "Color light (Clear)", K::ColorLight, true, false));
    Add(Signal("signal_z_semaphore_stop", "Semaphore Z (Stop)", K::Semaphore, false, true));
    Add(Signal("signal_z_semaphore_clear", "Semaphore Z (Clear)", K::Semaphore, true, true));
    Add(Signal("signal_z_color_stop", "Color light Z (Stop)", K::ColorLight, false, true));
    Add(Signal("signal_z_color_clear", "Color light Z (Clear)", K::ColorLight, true, true));
    Add(TrussBridgeScenery());
    Add(ArchBridgeScenery());
    // One track: 80 mm deep; two tracks at the 77.5 mm parallel spacing: 160 mm.
    Add(LevelCrossing("crossing_1track", "Level crossing (1 track)", 80, {40}));
    Add(LevelCrossing("crossing_2track", "Level crossing (2 tracks)", 160, {41.25, 118.75}));
    Add(RoadStraight());
    Add(Turntable());
    Add(WaterTower());
    Add(CoalingTower());
    Add(TreeSmall());
    Add(TreeLarge());
    Add(TreeConifer());
    Add(TreeGroup());
    Add(Bush());
    Add(Car());
    Add(Truck());
    Add(ParkingLot());
    Add(PedestrianZone());
    Add(SteelTrussBridge());
    Add(ViaductPier());
    Add(TunnelPortal());
    Add(RetainingWall());
    filled = true;
}
