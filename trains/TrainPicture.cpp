// The trains' overlay of the plan and the track under a click.
#include "trains/TrainPicture.h"

#include <algorithm>
#include <cmath>

std::vector<TrainsOverlay::Leg> SetLegLines(const TrackGraph& graph,
                                            const SwitchSettings& switches) {
    std::vector<TrainsOverlay::Leg> legs;
    for (const auto& piece : graph.Pieces()) {
        for (const PieceRouteRef& r : SetRoutes(graph, switches, piece->id)) {
            TrackRoute line = StepLine(graph, piece->id, r.entry, r.exit);
            if (line.points.size() >= 2) legs.push_back({std::move(line.points), kSetLegColour});
        }
    }
    return legs;
}

TrainsOverlay TrainsPicture(const TrainSession& session, std::vector<TrainsOverlay::Leg> legs) {
    TrainsOverlay o;
    o.legs = std::move(legs);
    for (const SessionTrain& t : session.Trains()) {
        o.occupied.insert(o.occupied.end(), t.occupied.begin(), t.occupied.end());
        const double width = t.WidthMm();
        for (size_t i = 0; i < t.poses.size(); ++i) {
            const auto c = VehicleOutline(t.poses[i], t.consist.vehicleLengthsMm[i], width);
            o.bodies.push_back({{c.begin(), c.end()}, i == 0 ? kLocomotiveColour : kCarColour,
                                kVehiclePen});
        }
        if (t.collided && !t.poses.empty()) {
            const PointMm a = t.poses.front().front, b = t.poses.back().rear;
            const PointMm centre{(a.x + b.x) / 2, (a.y + b.y) / 2};
            double radius = 0;
            for (const VehiclePose& p : t.poses)
                for (const PointMm& q : {p.front, p.rear})
                    radius = std::max(radius, std::hypot(q.x - centre.x, q.y - centre.y));
            o.rings.push_back({centre, radius + width, kCollisionRing});
        }
    }
    std::sort(o.occupied.begin(), o.occupied.end());
    o.occupied.erase(std::unique(o.occupied.begin(), o.occupied.end()), o.occupied.end());
    return o;
}

std::optional<TrackPick> PickTrack(const TrackGraph& graph, PointMm point, double withinMm) {
    std::optional<TrackPick> best;
    for (const auto& piece : graph.Pieces()) {
        for (const TrackRoute& line : piece->lines) {
            for (size_t i = 0; i + 1 < line.points.size(); ++i) {
                const PointMm a = line.points[i], b = line.points[i + 1];
                const double vx = b.x - a.x, vy = b.y - a.y;
                const double len2 = vx * vx + vy * vy;
                const double u =
                    len2 > 0 ? std::clamp(((point.x - a.x) * vx + (point.y - a.y) * vy) / len2,
                                          0.0, 1.0)
                             : 0.0;
                const double d = std::hypot(point.x - a.x - u * vx, point.y - a.y - u * vy);
                if (d > withinMm || (best && d >= best->distanceMm)) continue;
                const double along = line.along[i] + u * (line.along[i + 1] - line.along[i]);
                best = TrackPick{{piece->id, line.from}, along, d};
            }
        }
    }
    return best;
}
