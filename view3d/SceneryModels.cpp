// Scenery models: platforms, buildings, signals, bridges, roads, trees, vehicles and the rest,
// composed of boxes, cylinders, cones, roofs and ellipsoids inside each footprint.
#include "view3d/SceneryModels.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <unordered_map>

#include "base/Geometry.h"
#include "catalog/SceneryCatalog.h"

namespace {

constexpr Colour3 kPaving{0.71f, 0.69f, 0.66f};
constexpr Colour3 kPavingSide{0.55f, 0.53f, 0.50f};
constexpr Colour3 kSafety{0.86f, 0.78f, 0.39f};
constexpr Colour3 kPlaster{0.88f, 0.84f, 0.74f};
constexpr Colour3 kPlasterShade{0.76f, 0.72f, 0.62f};
constexpr Colour3 kBrick{0.62f, 0.33f, 0.25f};
constexpr Colour3 kBrickShade{0.50f, 0.26f, 0.20f};
constexpr Colour3 kTile{0.62f, 0.24f, 0.17f};
constexpr Colour3 kSlate{0.36f, 0.38f, 0.43f};
constexpr Colour3 kWood{0.52f, 0.37f, 0.22f};
constexpr Colour3 kWoodDark{0.36f, 0.24f, 0.13f};
constexpr Colour3 kGlass{0.26f, 0.33f, 0.42f};
constexpr Colour3 kSteel{0.40f, 0.42f, 0.46f};
constexpr Colour3 kSteelDark{0.22f, 0.23f, 0.26f};
constexpr Colour3 kConcrete{0.68f, 0.67f, 0.64f};
constexpr Colour3 kConcreteShade{0.55f, 0.54f, 0.51f};
constexpr Colour3 kStone{0.60f, 0.56f, 0.50f};
constexpr Colour3 kStoneShade{0.48f, 0.45f, 0.40f};
constexpr Colour3 kAsphalt{0.27f, 0.27f, 0.29f};
constexpr Colour3 kMarking{0.93f, 0.93f, 0.90f};
constexpr Colour3 kGrass{0.36f, 0.52f, 0.28f};
constexpr Colour3 kLeaves{0.24f, 0.50f, 0.21f};
constexpr Colour3 kLeavesLight{0.36f, 0.60f, 0.26f};
constexpr Colour3 kNeedles{0.13f, 0.36f, 0.19f};
constexpr Colour3 kTrunk{0.40f, 0.27f, 0.15f};
constexpr Colour3 kBlack{0.08f, 0.08f, 0.09f};
constexpr Colour3 kWhite{0.95f, 0.95f, 0.95f};
constexpr Colour3 kRed{0.80f, 0.13f, 0.12f};
constexpr Colour3 kBore{0.05f, 0.05f, 0.06f};
constexpr Colour3 kRailSteel{0.60f, 0.60f, 0.64f};

// Builds in the footprint's frame of the 2D drawing (x from 0 to width, y from 0 to depth,
// y down); Finish() centres the model and turns it into world axes.
class Kit {
public:
    Kit(double width, double depth) : w(width), d(depth) {}

    void Box(double x0, double y0, double x1, double y1, double z0, double z1, Colour3 top,
             Colour3 side) {
        AddBox(m, P(x0, y0, z0), P(x1, y1, z1), top, side);
    }
    void Cyl(double cx, double cy, double r, double z0, double z1, Colour3 top, Colour3 side,
             int sides = 16) {
        const Vec3 c = P(cx, cy, 0);
        AddCylinder(m, c.x, c.y, r, z0, z1, sides, top, side);
    }
    void Cone(double cx, double cy, double r, double rTop, double z0, double z1, Colour3 c,
              int sides = 16) {
        const Vec3 p = P(cx, cy, 0);
        AddCone(m, p.x, p.y, r, rTop, z0, z1, sides, c);
    }
    void Blob(double cx, double cy, double cz, double rx, double ry, double rz, Colour3 c) {
        AddEllipsoid(m, P(cx, cy, cz), rx, ry, rz, 6, 10, c);
    }
    void Roof(double x0, double y0, double x1, double y1, double z0, double z1, bool alongX,
              Colour3 roof, Colour3 gable) {
        const Vec3 a = P(x0, y0, 0), b = P(x1, y1, 0);
        AddGableRoof(m, a.x, a.y, b.x, b.y, z0, z1, alongX, roof, gable);
    }
    void Beam(double x0, double y0, double z0, double x1, double y1, double z1, double t,
              Colour3 c) {
        AddBeam(m, P(x0, y0, z0), P(x1, y1, z1), t, c);
    }
    // A box turned by angleDeg about its centre (cx, cy).
    void Turned(double cx, double cy, double angleDeg, double sx, double sy, double z0, double z1,
                Colour3 top, Colour3 side) {
        const Vec3 c = P(cx, cy, 0);
        AddTurnedBox(m, c.x, c.y, angleDeg * kPi / 180, sx, sy, z0, z1, top, side);
    }
    Mesh Finish() {
        MirrorY(m);
        return std::move(m);
    }

    const double w, d;

private:
    Vec3 P(double x, double y, double z) const { return {x - w / 2, y - d / 2, z}; }
    Mesh m;
};

// A house body with windows on both long sides and a gable roof.
void House(Kit& k, double x0, double y0, double x1, double y1, double wall, double ridge,
           Colour3 walls, Colour3 wallShade, Colour3 roof) {
    k.Box(x0, y0, x1, y1, 0, wall, wallShade, walls);
    const bool alongX = (x1 - x0) >= (y1 - y0);
    k.Roof(x0 - 1, y0 - 1, x1 + 1, y1 + 1, wall, ridge, alongX, roof, walls);
    const double span = alongX ? x1 - x0 : y1 - y0;
    const int windows = std::max(1, static_cast<int>(span / 30));
    for (int i = 0; i < windows; ++i) {
        const double t = (i + 0.5) / windows;
        const double z0 = wall * 0.35, z1 = wall * 0.75;
        if (alongX) {
            const double x = x0 + t * (x1 - x0);
            k.Box(x - 5, y0 - 0.5, x + 5, y0, z0, z1, kGlass, kGlass);
            k.Box(x - 5, y1, x + 5, y1 + 0.5, z0, z1, kGlass, kGlass);
        } else {
            const double y = y0 + t * (y1 - y0);
            k.Box(x0 - 0.5, y - 5, x0, y + 5, z0, z1, kGlass, kGlass);
            k.Box(x1, y - 5, x1 + 0.5, y + 5, z0, z1, kGlass, kGlass);
        }
    }
}

void LampPost(Kit& k, double x, double y, double height) {
    k.Cyl(x, y, 1.0, 0, height, kSteelDark, kSteelDark, 6);
    k.Box(x - 2.5, y - 2.5, x + 2.5, y + 2.5, height, height + 3, kWhite, kSteelDark);
}

void PlatformSlab(Kit& k, double y0, double y1) {
    k.Box(0, y0, k.w, y1, 0, 12, kPaving, kPavingSide);
}

Mesh Platform(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    PlatformSlab(k, 0, k.d);
    k.Box(0, k.d - 8, k.w, k.d, 12, 12.4, kSafety, kSafety);
    for (double x : {k.w * 0.25, k.w * 0.75}) LampPost(k, x, k.d * 0.35, 45);
    k.Box(k.w * 0.45, k.d * 0.25, k.w * 0.55, k.d * 0.35, 12, 17, kWood, kWoodDark);  // bench
    return k.Finish();
}

Mesh IslandPlatform(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    PlatformSlab(k, 0, k.d);
    k.Box(0, 0, k.w, 8, 12, 12.4, kSafety, kSafety);
    k.Box(0, k.d - 8, k.w, k.d, 12, 12.4, kSafety, kSafety);
    // The shelter: posts carrying a pitched canopy over the middle of the island.
    const double x0 = k.w * 0.25, x1 = k.w * 0.75, y0 = k.d / 6, y1 = k.d * 5 / 6;
    for (double x = x0 + 4; x <= x1 - 4 + 1e-6; x += (x1 - x0 - 8) / 4)
        for (double y : {y0 + 4, y1 - 4})
            k.Box(x - 1.5, y - 1.5, x + 1.5, y + 1.5, 12, 52, kSteel, kSteel);
    k.Box(x0, y0, x1, y1, 52, 54, kSlate, kSteelDark);
    k.Roof(x0, y0, x1, y1, 54, 64, true, kSlate, kSteelDark);
    k.Box(k.w * 0.4, k.d * 0.45, k.w * 0.6, k.d * 0.55, 12, 40, kGlass, kGlass);  // waiting room
    return k.Finish();
}

Mesh StationSmall(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    const double sx = k.w / 308, sy = k.d / 140;
    k.Box(0, 0, k.w, k.d, 0, 1, Colour3{0.78f, 0.76f, 0.70f}, kPavingSide);  // forecourt
    k.Box(0, 104 * sy, k.w, k.d, 0, 10, kPaving, kPavingSide);               // platform
    k.Box(0, k.d - 4 * sy, k.w, k.d, 10, 10.4, kSafety, kSafety);
    House(k, 26 * sx, 14 * sy, 222 * sx, 96 * sy, 55, 90, kPlaster, kPlasterShade, kTile);
    House(k, 226 * sx, 28 * sy, 286 * sx, 84 * sy, 38, 60, kBrick, kBrickShade, kSlate);
    for (double cx : {74.0, 174.0})
        k.Box(cx * sx - 4, 30 * sy, cx * sx + 4, 38 * sy, 70, 96, kBrick, kBrickShade);
    k.Box(48 * sx, 98 * sy, 200 * sx, 114 * sy, 40, 42, kSlate, kSteelDark);  // canopy
    for (double px = 56; px < 200; px += 36)
        k.Box(px * sx, 110 * sy, px * sx + 3, 113 * sy, 10, 40, kSteelDark, kSteelDark);
    // The station's door towards the platform.
    k.Box(118 * sx, 96 * sy, 132 * sx, 96.5 * sy, 1, 30, kWoodDark, kWoodDark);
    return k.Finish();
}

Mesh StationLarge(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    const double sx = k.w / 550, sy = k.d / 185;
    k.Box(0, 0, k.w, k.d, 0, 1, Colour3{0.78f, 0.76f, 0.70f}, kPavingSide);
    k.Box(0, 140 * sy, k.w, k.d, 0, 10, kPaving, kPavingSide);
    k.Box(0, k.d - 4 * sy, k.w, k.d, 10, 10.4, kSafety, kSafety);
    House(k, 32 * sx, 42 * sy, 168 * sx, 122 * sy, 50, 80, kPlaster, kPlasterShade, kTile);
    House(k, 382 * sx, 42 * sy, 518 * sx, 122 * sy, 50, 80, kPlaster, kPlasterShade, kTile);
    House(k, 172 * sx, 16 * sy, 378 * sx, 134 * sy, 85, 125, kBrick, kBrickShade, kSlate);
    // Clock turret on the ridge with its white face.
    k.Box(263 * sx, 63 * sy, 287 * sx, 87 * sy, 110, 150, kPlaster, kPlasterShade);
    k.Cone(275 * sx, 75 * sy, 16 * sx, 0, 150, 168, kSlate, 4);
    k.Box(267 * sx, 87 * sy, 283 * sx, 87.5 * sy, 130, 146, kWhite, kWhite);
    k.Box(40 * sx, 132 * sy, 510 * sx, 162 * sy, 45, 47, kSlate, kSteelDark);  // canopy
    for (double px = 60; px < 510; px += 50)
        k.Box(px * sx, 145 * sy, px * sx + 4, 149 * sy, 10, 45, kSteelDark, kSteelDark);
    return k.Finish();
}

Mesh SignalBox(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    const double sx = k.w / 60, sy = k.d / 50;
    k.Box(6 * sx, 8 * sy, 54 * sx, 38 * sy, 0, 24, kBrickShade, kBrick);  // locking room
    k.Box(5 * sx, 7 * sy, 55 * sx, 39 * sy, 24, 42, kWood, kWood);        // operating floor
    k.Box(7 * sx, 39 * sy, 53 * sx, 39.5 * sy, 27, 39, kGlass, kGlass);   // its windows
    k.Box(7 * sx, 6.5 * sy, 53 * sx, 7 * sy, 27, 39, kGlass, kGlass);
    k.Roof(4 * sx, 6 * sy, 56 * sx, 40 * sy, 42, 56, true, kTile, kWood);
    k.Box(12 * sx, 10 * sy, 17 * sx, 15 * sy, 48, 62, kBrick, kBrickShade);  // chimney
    for (int i = 0; i < 4; ++i)                                              // outside stair
        k.Box(46 * sx, (42 + 2 * i) * sy, 56 * sx, (44 + 2 * i) * sy, 0, 24 - 6 * i, kWood,
              kWoodDark);
    return k.Finish();
}

Mesh EngineShed(const SceneryDef& def, int roads) {
    Kit k(def.width, def.depth);
    const double bay = k.d / roads, wall = 4, height = 55;
    k.Box(0, 0, k.w, k.d, 0, 0.6, kSteelDark, kSteelDark);  // floor
    for (int r = 0; r <= roads; ++r) {
        const double y = std::clamp(r * bay, wall / 2, k.d - wall / 2);
        k.Box(0, y - wall / 2, k.w, y + wall / 2, 0, height, kBrickShade, kBrick);
    }
    for (int r = 0; r < roads; ++r) {
        const double y0 = r * bay, y1 = y0 + bay;
        // End walls with a door opening for the track in each road.
        for (double x0 : {0.0, k.w - wall}) {
            k.Box(x0, y0, x0 + wall, y0 + bay / 2 - 16, 0, height, kBrickShade, kBrick);
            k.Box(x0, y0 + bay / 2 + 16, x0 + wall, y1, 0, height, kBrickShade, kBrick);
            k.Box(x0, y0 + bay / 2 - 16, x0 + wall, y0 + bay / 2 + 16, 45, height, kBrickShade,
                  kBrick);
        }
        k.Roof(0, y0, k.w, y1, height, height + 22, true, kSlate, kBrick);
        for (double x = 45; x + 14 <= k.w; x += 70)  // smoke vents on the ridge
            k.Box(x, y0 + bay / 2 - 5, x + 14, y0 + bay / 2 + 5, height + 20, height + 30,
                  kSteelDark, kSteelDark);
    }
    return k.Finish();
}

Mesh GoodsShed(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    const double sy = k.d / 80;
    k.Box(0, 56 * sy, k.w, k.d, 0, 12, kConcrete, kConcreteShade);  // loading ramp
    k.Box(4, 4 * sy, k.w - 4, 56 * sy, 0, 40, kWood, kWood);
    for (double x = 30; x + 26 <= k.w; x += 50)
        k.Box(x, 56 * sy, x + 26, 56.5 * sy, 12, 34, kWoodDark, kWoodDark);
    k.Roof(0, 0, k.w, 68 * sy, 40, 58, true, Colour3{0.47f, 0.33f, 0.22f}, kWood);
    k.Box(18, 68 * sy, 28, 76 * sy, 12, 20, Colour3{0.75f, 0.59f, 0.35f}, kWoodDark);  // crates
    k.Box(150, 68 * sy, 162, 76 * sy, 12, 19, Colour3{0.24f, 0.35f, 0.55f}, kBlack);
    return k.Finish();
}

Mesh Warehouse(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    k.Box(0, 0, k.w, k.d, 0, 70, Colour3{0.59f, 0.59f, 0.57f}, kBrick);
    k.Box(0, 0, k.w, 6, 70, 76, kBrickShade, kBrick);  // parapet
    k.Box(0, k.d - 6, k.w, k.d, 70, 76, kBrickShade, kBrick);
    k.Box(0, 6, 6, k.d - 6, 70, 76, kBrickShade, kBrick);
    k.Box(k.w - 6, 6, k.w, k.d - 6, 70, 76, kBrickShade, kBrick);
    for (double x = 30; x + 40 <= k.w - 20; x += 60)
        for (double y = 24; y + 20 <= k.d * 0.75; y += 44)
            k.Roof(x, y, x + 40, y + 20, 70, 78, true, kGlass, kSteel);
    k.Box(k.w * 0.75, k.d * 0.75, k.w * 0.875, k.d * 0.88, 70, 84, Colour3{0.70f, 0.70f, 0.72f},
          kSteelDark);
    k.Box(20, k.d - 16, 280 * k.w / 400, k.d, 38, 40, Colour3{0.78f, 0.47f, 0.16f},
          kSteelDark);  // canopy
    for (double x = 30; x + 30 <= 280 * k.w / 400; x += 50)
        k.Box(x, k.d - 0.6, x + 30, k.d, 0, 32, kBore, kBore);
    return k.Finish();
}

// Signals: a mast on a foundation; a semaphore arm (level at stop, raised at clear) with its lamp,
// or a black head with the lit lamp of the aspect and the dark other one.
Mesh Signal(const SceneryDef& def, bool semaphore, bool clear) {
    Kit k(def.width, def.depth);
    const double u = std::min(k.w, k.d) / 20;
    const double h = (def.zScale ? 60 : 75) * u;
    const Colour3 lit = clear ? Colour3{0.24f, 0.78f, 0.31f} : Colour3{0.86f, 0.16f, 0.16f};
    k.Box(1 * u, 1 * u, 19 * u, 19 * u, 0, 3 * u, kConcrete, kConcreteShade);
    if (semaphore) {
        k.Cyl(8 * u, 10 * u, 1.3 * u, 3 * u, h, kSteelDark, kSteelDark, 8);
        k.Cone(8 * u, 10 * u, 1.6 * u, 0, h, h + 3 * u, kWhite, 8);  // finial
        const double pivot = h - 8 * u, len = 10 * u;
        const double lift = clear ? 45 * kPi / 180 : 0;
        k.Beam(9.5 * u, 10 * u, pivot, 9.5 * u + std::cos(lift) * len, 10 * u,
               pivot + std::sin(lift) * len, 2.2 * u, kRed);
        k.Beam(12 * u, 10 * u, pivot, 12 * u + std::cos(lift) * 2.5 * u, 10 * u,
               pivot + std::sin(lift) * 2.5 * u, 2.4 * u, kWhite);  // the arm's white band
        k.Box(2.5 * u, 8 * u, 6.5 * u, 12 * u, pivot - 2 * u, pivot + 2 * u, lit, lit);  // lamp
    } else {
        k.Cyl(5 * u, 10 * u, 1.5 * u, 3 * u, h, kSteelDark, kSteelDark, 8);
        k.Box(5 * u, 9 * u, 11 * u, 11 * u, h - 6 * u, h - 4 * u, kSteelDark, kSteelDark);
        k.Box(10 * u, 4 * u, 17 * u, 16 * u, h - 22 * u, h, kBlack, kBlack);  // head
        const Colour3 dim = clear ? Colour3{0.30f, 0.10f, 0.10f} : Colour3{0.10f, 0.22f, 0.12f};
        const Colour3 top = clear ? dim : lit, bottom = clear ? lit : dim;
        for (double x : {9.4 * u, 17 * u}) {  // lamps on both faces of the head
            k.Box(x, 7 * u, x + 0.6 * u, 13 * u, h - 9 * u, h - 3 * u, top, top);
            k.Box(x, 7 * u, x + 0.6 * u, 13 * u, h - 19 * u, h - 13 * u, bottom, bottom);
        }
    }
    return k.Finish();
}

// Two truss girders along x over a deck, with abutment stones at both ends.
Mesh TrussBridge(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    const double g = 4, height = 44, deckTop = 8;
    k.Box(0, 0, 8, k.d, 0, deckTop, kStone, kStoneShade);
    k.Box(k.w - 8, 0, k.w, k.d, 0, deckTop, kStone, kStoneShade);
    k.Box(8, g, k.w - 8, k.d - g, deckTop - 4, deckTop, Colour3{0.43f, 0.37f, 0.31f}, kSteel);
    k.Box(8, k.d / 2 - 13, k.w - 8, k.d / 2 + 13, deckTop, deckTop + 2, kWoodDark, kWoodDark);
    for (double y : {k.d / 2 - 8.25, k.d / 2 + 8.25})
        k.Box(8, y - 0.6, k.w - 8, y + 0.6, deckTop + 2, deckTop + 4.5, kRailSteel, kRailSteel);
    const int panels = 7;
    const double step = (k.w - 16) / panels;
    for (double y : {g / 2, k.d - g / 2}) {
        k.Beam(8, y, deckTop, k.w - 8, y, deckTop, g, kSteel);
        k.Beam(8 + step, y, height, k.w - 8 - step, y, height, g, kSteel);
        k.Beam(8, y, deckTop, 8 + step, y, height, g, kSteel);  // end posts
        k.Beam(k.w - 8, y, deckTop, k.w - 8 - step, y, height, g, kSteel);
        for (int i = 1; i < panels; ++i) {
            const double x = 8 + i * step;
            k.Beam(x, y, deckTop, x, y, height, g * 0.7, kSteel);
            if (i < panels - 1)
                k.Beam(x, y, i < panels / 2 ? height : deckTop, x + step, y,
                       i < panels / 2 ? deckTop : height, g * 0.6, kSteel);
        }
    }
    for (int i = 1; i < panels; i += 2)
        k.Beam(8 + i * step, g, height, 8 + i * step, k.d - g, height, g * 0.6, kSteel);
    return k.Finish();
}

// A masonry viaduct: deck and parapets over two round arches on abutments and a middle pier.
Mesh ArchBridge(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    const double deck = 60, pier = 20, abut = 24;
    k.Box(0, 0, k.w, k.d, deck, deck + 6, Colour3{0.45f, 0.40f, 0.34f}, kStone);
    k.Box(0, 0, k.w, 6, deck + 6, deck + 14, kStone, kStoneShade);
    k.Box(0, k.d - 6, k.w, k.d, deck + 6, deck + 14, kStone, kStoneShade);
    k.Box(0, 4, abut, k.d - 4, 0, deck, kStone, kStoneShade);
    k.Box(k.w - abut, 4, k.w, k.d - 4, 0, deck, kStone, kStoneShade);
    k.Box(k.w / 2 - pier / 2, 4, k.w / 2 + pier / 2, k.d - 4, 0, deck, kStone, kStoneShade);
    // The spandrel walls above each arch, in slices under the deck.
    const double span = (k.w - 2 * abut - pier) / 2, rise = deck - 14;
    for (double start : {abut, k.w / 2 + pier / 2}) {
        const int slices = 16;
        for (int i = 0; i < slices; ++i) {
            const double x0 = start + span * i / slices, x1 = start + span * (i + 1) / slices;
            const double t = ((x0 + x1) / 2 - start) / span;
            const double soffit = std::sqrt(std::max(0.0, 1 - (2 * t - 1) * (2 * t - 1))) * rise;
            k.Box(x0, 4, x1, k.d - 4, soffit, deck, kStoneShade, kStone);
        }
    }
    return k.Finish();
}

Mesh LevelCrossing(const SceneryDef& def, int tracks) {
    Kit k(def.width, def.depth);
    k.Box(10, 0, k.w - 10, k.d, 0, 1.5, kAsphalt, kAsphalt);
    std::vector<double> ys;
    if (tracks == 1)
        ys = {k.d / 2};
    else
        ys = {k.d * 41.25 / 160, k.d * 118.75 / 160};
    for (double y : ys) {
        k.Box(0, y - 14, k.w, y + 14, 0, 2, Colour3{0.55f, 0.52f, 0.47f}, kPavingSide);
        k.Box(10, y - 13, k.w - 10, y + 13, 2, 4.5, kConcrete, kConcreteShade);
        for (double r : {-8.25, 8.25})
            k.Box(0, y + r - 0.6, k.w, y + r + 0.6, 2, 5, kRailSteel, kRailSteel);
    }
    const double top = std::max(4.0, ys.front() - 22), bottom = std::min(k.d - 4, ys.back() + 22);
    // Barrier posts and their lowered red and white booms across the road.
    k.Box(0, top - 4, 8, top + 4, 0, 14, kRed, kRed);
    k.Box(k.w - 8, bottom - 4, k.w, bottom + 4, 0, 14, kRed, kRed);
    for (int i = 0; i < 5; ++i) {
        const Colour3 c = i % 2 ? kWhite : kRed;
        k.Box(8 + 10.4 * i, top - 1, 8 + 10.4 * (i + 1), top + 1, 10, 12, c, c);
        k.Box(k.w - 8 - 10.4 * (i + 1), bottom - 1, k.w - 8 - 10.4 * i, bottom + 1, 10, 12, c, c);
    }
    return k.Finish();
}

Mesh RoadStraight(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    k.Box(0, 0, k.w, k.d, 0, 0.6, kGrass, kGrass);
    k.Box(0, 5, k.w, k.d - 5, 0.6, 1.5, kAsphalt, kAsphalt);
    k.Box(0, 8.5, k.w, 9.5, 1.5, 1.7, kMarking, kMarking);
    k.Box(0, k.d - 9.5, k.w, k.d - 8.5, 1.5, 1.7, kMarking, kMarking);
    for (double x = 7; x + 20 <= k.w; x += 34)
        k.Box(x, k.d / 2 - 1, x + 20, k.d / 2 + 1, 1.5, 1.7, kMarking, kMarking);
    return k.Finish();
}

Mesh Turntable(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    const double r = std::min(k.w, k.d) / 2, cx = k.w / 2, cy = k.d / 2;
    k.Cyl(cx, cy, r - 4, 0, 0.5, Colour3{0.30f, 0.28f, 0.26f}, kSteelDark, 48);
    for (int i = 0; i < 48; ++i) {
        const double a = 360.0 * i / 48;
        const double ar = a * kPi / 180;
        k.Turned(cx + (r - 2.5) * std::cos(ar), cy + (r - 2.5) * std::sin(ar), a, 4,
                 2 * r * std::sin(kPi / 48) + 0.5, 0, 4, kConcrete, kConcreteShade);
    }
    k.Box(cx - r + 6, cy - 14, cx + r - 6, cy + 14, 0.5, 3, kSteel, kSteelDark);  // bridge
    k.Box(cx - r + 6, cy - 13, cx + r - 6, cy + 13, 3, 4, kWoodDark, kWoodDark);
    for (double y : {cy - 8.25, cy + 8.25})
        k.Box(cx - r + 6, y - 0.6, cx + r - 6, y + 0.6, 4, 6.5, kRailSteel, kRailSteel);
    k.Box(cx + r - 30, cy + 14, cx + r - 14, cy + 24, 0.5, 20, kWood, kWoodDark);  // operator's cab
    return k.Finish();
}

Mesh WaterTower(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    const double r = std::min(k.w, k.d) / 2, cx = k.w / 2, cy = k.d / 2;
    k.Cyl(cx, cy, r * 0.62, 0, 50, kBrickShade, kBrick, 16);
    k.Cyl(cx, cy, r * 0.96, 50, 82, kSteel, Colour3{0.30f, 0.36f, 0.40f}, 20);
    k.Cone(cx, cy, r, 0, 82, 94, kSlate, 20);
    k.Beam(cx + r * 0.9, cy, 62, k.w - 2, cy, 40, 3, kSteelDark);  // spout
    return k.Finish();
}

Mesh CoalingTower(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    const double sx = k.w / 100, sy = k.d / 80;
    k.Box(30 * sx, 15 * sy, 70 * sx, 65 * sy, 0, 110, kConcreteShade, kConcrete);
    k.Box(25 * sx, 10 * sy, 75 * sx, 70 * sy, 110, 128, kConcrete, kConcreteShade);  // bunker
    k.Roof(25 * sx, 10 * sy, 75 * sx, 70 * sy, 128, 140, false, kSlate, kConcrete);
    for (double y : {25 * sy, 55 * sy})
        k.Beam(70 * sx, y, 80, 96 * sx, y, 60, 4, kSteelDark);  // chutes
    k.Cone(14 * sx, 40 * sy, 12 * sx, 0, 0, 18, kBlack, 10);    // coal heap
    return k.Finish();
}

void DeciduousTree(Kit& k, double cx, double cy, double radius, double height) {
    k.Cyl(cx, cy, std::max(1.0, radius * 0.14), 0, height * 0.45, kTrunk, kTrunk, 8);
    k.Blob(cx, cy, height * 0.66, radius, radius, height * 0.34, kLeaves);
    k.Blob(cx - radius * 0.25, cy - radius * 0.2, height * 0.8, radius * 0.6, radius * 0.6,
           height * 0.2, kLeavesLight);
}

void ConiferTree(Kit& k, double cx, double cy, double radius, double height) {
    k.Cyl(cx, cy, std::max(1.0, radius * 0.15), 0, height * 0.2, kTrunk, kTrunk, 8);
    k.Cone(cx, cy, radius, radius * 0.3, height * 0.15, height * 0.55, kNeedles, 10);
    k.Cone(cx, cy, radius * 0.78, radius * 0.2, height * 0.45, height * 0.8, kNeedles, 10);
    k.Cone(cx, cy, radius * 0.55, 0, height * 0.7, height, kNeedles, 10);
}

Mesh TreeGroup(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    const double sx = k.w / 115, sy = k.d / 80;
    const double s = std::min(sx, sy);
    DeciduousTree(k, 30 * sx, 30 * sy, 26 * s, 75 * s);
    DeciduousTree(k, 80 * sx, 50 * sy, 28 * s, 85 * s);
    ConiferTree(k, 28 * sx, 66 * sy, 13 * s, 90 * s);
    return k.Finish();
}

Mesh Car(const SceneryDef& def, Colour3 paint) {
    Kit k(def.width, def.depth);
    const double sx = k.w / 50, sy = k.d / 20;
    k.Box(0, 1 * sy, k.w, 19 * sy, 3, 11, paint, paint);
    k.Box(13 * sx, 2 * sy, 37 * sx, 18 * sy, 11, 18, paint, kGlass);  // cabin with windows
    for (double x : {9 * sx, 41 * sx})
        for (double y : {1 * sy, 16 * sy}) k.Box(x - 4, y, x + 4, y + 3 * sy, 0, 6, kBlack, kBlack);
    return k.Finish();
}

Mesh Truck(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    const double sx = k.w / 80, sy = k.d / 25;
    k.Box(0, 1 * sy, k.w, 24 * sy, 4, 7, kSteelDark, kSteelDark);  // chassis
    k.Box(0, 0, 58 * sx, k.d, 7, 34, Colour3{0.85f, 0.85f, 0.82f}, Colour3{0.70f, 0.70f, 0.68f});
    k.Box(61 * sx, 1 * sy, k.w, 24 * sy, 7, 30, Colour3{0.20f, 0.35f, 0.65f},
          Colour3{0.18f, 0.30f, 0.55f});
    k.Box(k.w - 0.5, 3 * sy, k.w, 22 * sy, 18, 28, kGlass, kGlass);  // windscreen
    for (double x : {12 * sx, 28 * sx, 68 * sx})
        for (double y : {0.5 * sy, 20.5 * sy})
            k.Box(x - 5, y, x + 5, y + 4 * sy, 0, 8, kBlack, kBlack);
    return k.Finish();
}

Mesh ParkingLot(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    k.Box(0, 0, k.w, k.d, 0, 1, kAsphalt, kAsphalt);
    const double bay = k.w / 5;
    for (int i = 0; i <= 5; ++i) {
        const double x = std::clamp(i * bay, 0.5, k.w - 0.5);
        k.Box(x - 0.5, 0, x + 0.5, k.d * 0.4, 1, 1.2, kMarking, kMarking);
        k.Box(x - 0.5, k.d * 0.6, x + 0.5, k.d, 1, 1.2, kMarking, kMarking);
    }
    // A few cars parked in their spaces.
    const Colour3 paints[] = {{0.75f, 0.15f, 0.12f}, {0.15f, 0.30f, 0.65f}, {0.85f, 0.85f, 0.80f}};
    const double cx[] = {bay * 0.5, bay * 2.5, bay * 3.5};
    for (int i = 0; i < 3; ++i) {
        const double y0 = i == 1 ? k.d * 0.62 : k.d * 0.05, y1 = y0 + k.d * 0.33;
        k.Box(cx[i] - 9, y0, cx[i] + 9, y1, 1, 10, paints[i], paints[i]);
        k.Box(cx[i] - 8, y0 + (y1 - y0) * 0.3, cx[i] + 8, y0 + (y1 - y0) * 0.75, 10, 16, paints[i],
              kGlass);
    }
    return k.Finish();
}

Mesh PedestrianZone(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    k.Box(0, 0, k.w, k.d, 0, 1.5, Colour3{0.80f, 0.72f, 0.62f}, kPavingSide);
    k.Box(10, 8, 30, 24, 1.5, 8, kStone, kStoneShade);  // planter with its bush
    k.Blob(20, 16, 12, 9, 7, 7, kLeaves);
    k.Box(k.w - 40, k.d - 16, k.w - 14, k.d - 10, 1.5, 6, kWood, kWoodDark);  // bench
    LampPost(k, k.w / 2, k.d / 2, 40);
    return k.Finish();
}

Mesh ViaductPier(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    k.Box(0, 0, k.w, k.d, 0, 10, kConcrete, kConcreteShade);
    k.Box(k.w * 0.12, k.d * 0.1, k.w * 0.88, k.d * 0.9, 10, 100, kConcreteShade, kConcrete);
    k.Box(0, 0, k.w, k.d, 100, 108, kConcrete, kConcreteShade);
    return k.Finish();
}

// The portal faces +x, the side the track leaves by: the hill lies behind it on the low-x side,
// a stone face stands across the track with the dark bore in it, wing walls splay out.
Mesh TunnelPortal(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    const double sx = k.w / 40, sy = k.d / 80;
    k.Box(0, 0, 18 * sx, k.d, 0, 95, kGrass, Colour3{0.42f, 0.36f, 0.26f});  // hillside
    k.Box(18 * sx, 4 * sy, 28 * sx, 76 * sy, 0, 105, kStone, kStoneShade);   // face
    k.Box(28 * sx, 20 * sy, 28.6 * sx, 60 * sy, 0, 52, kBore, kBore);        // bore
    for (int i = 0; i < 6; ++i) {                                            // its arched crown
        const double a = kPi * (i + 0.5) / 6;
        const double half = std::sin(a) * 20 * sy;
        k.Box(28 * sx, 40 * sy - half, 28.6 * sx, 40 * sy + half, 52 + 3.3 * i, 52 + 3.3 * (i + 1),
              kBore, kBore);
    }
    k.Turned(30 * sx, 10 * sy, 45, 5 * sx, 12 * sy, 0, 60, kStone, kStoneShade);
    k.Turned(30 * sx, 70 * sy, -45, 5 * sx, 12 * sy, 0, 60, kStone, kStoneShade);
    return k.Finish();
}

Mesh RetainingWall(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    k.Box(0, k.d * 0.3, k.w, k.d, 0, 55, kStoneShade, kStone);
    k.Box(0, k.d * 0.25, k.w, k.d, 55, 60, kConcrete, kConcreteShade);  // coping
    for (double x = 0; x + 10 <= k.w; x += 47)                          // buttresses
        k.Box(x, 0, x + 10, k.d * 0.3, 0, 45, kStoneShade, kStone);
    return k.Finish();
}

Mesh DefaultBox(const SceneryDef& def) {
    Kit k(def.width, def.depth);
    k.Box(0, 0, k.w, k.d, 0, kDefaultSceneryHeight, kDefaultSceneryColour, kDefaultSceneryColour);
    return k.Finish();
}

// One tree filling the footprint, `height` tall.
Mesh LoneTree(const SceneryDef& d, bool conifer, double height) {
    Kit k(d.width, d.depth);
    if (conifer)
        ConiferTree(k, k.w / 2, k.d / 2, std::min(k.w, k.d) / 2, height);
    else
        DeciduousTree(k, k.w / 2, k.d / 2, std::min(k.w, k.d) / 2, height);
    return k.Finish();
}

Mesh Bush(const SceneryDef& d) {
    Kit k(d.width, d.depth);
    k.Blob(k.w / 2, k.d / 2, 8, k.w / 2, k.d / 2, 8, kLeaves);
    return k.Finish();
}

using Builder = std::function<Mesh(const SceneryDef&)>;

const std::unordered_map<std::string, Builder>& Builders() {
    static const std::unordered_map<std::string, Builder> builders = [] {
        std::unordered_map<std::string, Builder> b;
        b["platform"] = Platform;
        b["platform_island"] = IslandPlatform;
        b["station_small"] = StationSmall;
        b["station_large"] = StationLarge;
        b["signal_box"] = SignalBox;
        b["shed_1road"] = [](const SceneryDef& d) { return EngineShed(d, 1); };
        b["shed_2road"] = [](const SceneryDef& d) { return EngineShed(d, 2); };
        b["goods_shed"] = GoodsShed;
        b["warehouse"] = Warehouse;
        for (bool z : {false, true}) {
            const std::string prefix = z ? "signal_z_" : "signal_";
            for (bool clear : {false, true}) {
                const std::string aspect = clear ? "clear" : "stop";
                b[prefix + "semaphore_" + aspect] = [clear](const SceneryDef& d) {
                    return Signal(d, true, clear);
                };
                b[prefix + "color_" + aspect] = [clear](const SceneryDef& d) {
                    return Signal(d, false, clear);
                };
            }
        }
        b["bridge_truss_scenery"] = TrussBridge;
        b["bridge_truss"] = TrussBridge;
        b["bridge_arch_scenery"] = ArchBridge;
        b["crossing_1track"] = [](const SceneryDef& d) { return LevelCrossing(d, 1); };
        b["crossing_2track"] = [](const SceneryDef& d) { return LevelCrossing(d, 2); };
        b["road_straight"] = RoadStraight;
        b["turntable"] = Turntable;
        b["water_tower"] = WaterTower;
        b["coaling_tower"] = CoalingTower;
        b["tree_sm_dec"] = [](const SceneryDef& d) { return LoneTree(d, false, 52); };
        b["tree_lg_dec"] = [](const SceneryDef& d) { return LoneTree(d, false, 85); };
        b["tree_conifer"] = [](const SceneryDef& d) { return LoneTree(d, true, 80); };
        b["tree_group"] = TreeGroup;
        b["bush"] = Bush;
        b["car"] = [](const SceneryDef& d) { return Car(d, Colour3{0.72f, 0.12f, 0.10f}); };
        b["truck"] = Truck;
        b["parking_lot"] = ParkingLot;
        b["ped_zone"] = PedestrianZone;
        b["viaduct_pier"] = ViaductPier;
        b["tunnel_portal_single"] = TunnelPortal;
        b["tunnel_portal_2"] = TunnelPortal;
        b["retaining_wall"] = RetainingWall;
        return b;
    }();
    return builders;
}

}  // namespace

bool HasOwnSceneryModel(const SceneryDef& def) { return Builders().contains(def.id); }

Mesh BuildSceneryModel(const SceneryDef& def) {
    if (!(def.width > 0) || !(def.depth > 0)) return Mesh{};
    const auto it = Builders().find(def.id);
    return it == Builders().end() ? DefaultBox(def) : it->second(def);
}
