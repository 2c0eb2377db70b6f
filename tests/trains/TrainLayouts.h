// Small track layouts for the train tests, built as a drop on the canvas builds them.
#pragma once

#include <cmath>
#include <vector>

#include "model/TrackBuilder.h"
#include "network/TrackGraph.h"

inline constexpr const char* kStraight = "24188";  // 188.3 mm
inline constexpr const char* kCurve = "24130";     // R1 360 mm, 30 degrees
inline constexpr const char* kLeftTurnout = "24611";
inline constexpr const char* kBumper = "24977";  // 48.3 mm

// A closed oval: two straights, a half circle, two straights, a half circle. Ids in order.
inline std::vector<uint32_t> BuildOval(LayoutDocument& doc, const char* straight = kStraight,
                                       const char* curve = kCurve, int halfCircle = 6) {
    return TrackBuilder(doc).Oval(straight, curve, halfCircle);
}

// How far apart two points (or poses) lie on the plan.
template <class A, class B>
double Apart(const A& a, const B& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// The shortest distance from a point to any centre line of the network.
inline double DistanceToTrack(const TrackGraph& graph, double x, double y) {
    double best = 1e300;
    for (const auto& piece : graph.Pieces())
        for (const TrackRoute& line : piece->lines)
            for (size_t i = 0; i + 1 < line.points.size(); ++i) {
                const PointMm a = line.points[i], b = line.points[i + 1];
                const double vx = b.x - a.x, vy = b.y - a.y;
                const double len2 = vx * vx + vy * vy;
                double u = len2 > 0 ? ((x - a.x) * vx + (y - a.y) * vy) / len2 : 0;
                u = std::clamp(u, 0.0, 1.0);
                best = std::min(best, std::hypot(x - a.x - u * vx, y - a.y - u * vy));
            }
    return best;
}
