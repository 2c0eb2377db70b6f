// The 3D models of track articles: routes swept with the bed, sleeper and rail profile, bridge
// structures and buffer stops, in the piece's own frame.
#pragma once

#include <vector>

#include "view3d/Mesh.h"

struct PieceDef;

// Profile of every track system (mm).
inline constexpr double kBedHalfWidth = 18.7;
inline constexpr double kBedTop = 2.0;
inline constexpr double kSleeperHalfWidth = 13.0;
inline constexpr double kSleeperHalfLength = 1.75;
inline constexpr double kSleeperTop = 4.2;
inline constexpr double kSleeperFirst = 6.5;
inline constexpr double kSleeperPitch = 13.0;
inline constexpr double kRailOffset = 8.25;
inline constexpr double kRailHalfWidth = 0.6;
inline constexpr double kRailTop = 6.7;

inline constexpr Colour3 kBedTopColour{0.76f, 0.74f, 0.70f};
inline constexpr Colour3 kBedSideColour{0.58f, 0.56f, 0.52f};
inline constexpr Colour3 kSleeperTopColour{0.38f, 0.27f, 0.16f};
inline constexpr Colour3 kSleeperSideColour{0.28f, 0.18f, 0.10f};
inline constexpr Colour3 kRailTopColour{0.74f, 0.74f, 0.78f};
inline constexpr Colour3 kRailSideColour{0.52f, 0.52f, 0.56f};
// Colour a over b in the share t of an area, as a pixel covering both sees it.
constexpr Colour3 Mix(Colour3 a, Colour3 b, double t) {
    return {static_cast<float>(a.r + (b.r - a.r) * t), static_cast<float>(a.g + (b.g - a.g) * t),
            static_cast<float>(a.b + (b.b - a.b) * t)};
}
// Seen from afar the sleepers, the rails over them and the ballast between them merge into one
// band as wide as the sleepers; farther still the band merges with the bed's shoulders.
inline constexpr double kSleeperShare = 2 * kSleeperHalfLength / kSleeperPitch;
inline constexpr double kRailShare = 2 * kRailHalfWidth / kSleeperHalfWidth;
inline constexpr Colour3 kTrackBandColour =
    Mix(Mix(kBedTopColour, kSleeperTopColour, kSleeperShare), kRailTopColour, kRailShare);
inline constexpr Colour3 kFarBedTopColour =
    Mix(kBedTopColour, kTrackBandColour, kSleeperHalfWidth / kBedHalfWidth);
inline constexpr Colour3 kBridgeSteel{0.38f, 0.40f, 0.44f};
inline constexpr Colour3 kBridgeBeam{0.55f, 0.58f, 0.62f};
inline constexpr Colour3 kArchRib{0.70f, 0.72f, 0.76f};

// One path a train can take over a piece, in the piece's frame (x forward, y to the right):
// a straight or an arc that starts at (x, y) heading headingDeg and turns turnDeg (positive
// towards +y) on radius.
struct TrackRoute {
    double x = 0;
    double y = 0;
    double headingDeg = 0;
    double length = 0;  // along the path
    double radius = 0;  // 0 for a straight
    double turnDeg = 0;
    int segments = 2;

    struct Frame {
        double x, y;
        double dirX, dirY;  // unit direction of travel
    };
    // The point `s` mm along the path.
    Frame At(double s) const;
};

// A straight route of length mm: max(2, trunc(length / 20)) segments.
TrackRoute StraightRoute(double x, double y, double headingDeg, double length);
// An arc of radius and signed angle: max(8, trunc(|angle| / 2.5)) segments.
TrackRoute ArcRoute(double x, double y, double headingDeg, double radius, double turnDeg);

// Sleepers narrower than 2 pixels are drawn as a band: the distant meshes never stand larger on
// screen than that. Their routes keep within half a pixel of the true path there.
inline constexpr double kDistantChordErrorMm = 0.5 * kSleeperHalfLength;
// The route in as few segments as keep every chord within kDistantChordErrorMm of the path, and
// never more than it had: a straight is one.
TrackRoute DistantRoute(const TrackRoute& route);

// A bridge so small on screen that its structure's struts are under a pixel: the distant track
// over the far outline of its structure. Empty for a piece without a structure.
Mesh BuildSmallBridgeMesh(const PieceDef& def);

// The routes of a piece, following its kind and connectors: one for straights, curves, bumpers
// and the turntable's bridge; straight and branch(es) for turnouts; inner and outer route for
// curved turnouts; both straights (and the slips) for crossings and double slips.
std::vector<TrackRoute> TrackRoutes(const PieceDef& def);

// Centres of the sleepers along a route of `length` mm: 6.5 mm from the start, then every 13 mm
// while the sleeper fits.
std::vector<double> SleeperCentres(double length);

// How much of the profile a mesh carries: everything; for track whose sleepers and rails would
// be under a pixel or two on screen the bed's top and underside with one band in their merged
// colour; for track a pixel or two wide only the bed's top (TrackDetailAt chooses).
enum class TrackDetail { Full, Distant, Far };

// Appends the bed, sleepers and rails swept along a route.
void AddTrackProfile(Mesh& m, const TrackRoute& route, TrackDetail detail = TrackDetail::Full,
                     double widthScale = 1.0);
// The share of the profile's widths a system's track takes: N gauge (9 mm) is 9 / 16.5 of the
// H0 profile across, at the same heights; every other system takes the whole profile.
double TrackWidthScale(const PieceDef& def);

// What structure a bridge article carries.
enum class BridgeStructure { None, Truss, Ramp, TiedArch };
BridgeStructure BridgeStructureOf(const PieceDef& def);

// The mesh of a track article (every kind but bumpers), bridge structure included.
Mesh BuildTrackMesh(const PieceDef& def, TrackDetail detail = TrackDetail::Full);
// The mesh of a bumper: a short piece of track with a buffer-stop block at its end.
Mesh BuildBumperMesh(const PieceDef& def, TrackDetail detail = TrackDetail::Full);
// The factory the scene uses: bumpers (kind 6) by the bumper factory, the rest as track.
Mesh BuildPieceMesh(const PieceDef& def, TrackDetail detail = TrackDetail::Full);
