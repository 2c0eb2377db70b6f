// The walk back from a train's head: first the steps it came over, then the track behind.
#include "trains/TrackBehind.h"

#include <algorithm>

TrackBehind::TrackBehind(const TrackGraph& g, const TrainState& state)
    : graph(g), trailNext(state.trail.size()) {
    steps.push_back(state.step);
    entryDistance.push_back(state.alongMm);
    trail = &state.trail;
}

bool TrackBehind::ExtendBack() {
    if (deadEnd) return false;
    const RouteStep& last = steps.back();
    const GraphEnd entry{last.piece, last.entry};
    // The steps the train came over, as long as they still join up in the network.
    if (trailUsable && trailNext > 0) {
        const RouteStep& before = (*trail)[trailNext - 1];
        if (graph.Joined({before.piece, before.exit}) == entry &&
            graph.RouteLength(before.piece, before.entry, before.exit) >= 0) {
            --trailNext;
            entryDistance.push_back(entryDistance.back() + before.lengthMm);
            steps.push_back(before);
            return true;
        }
        trailUsable = false;
    }
    // Beyond them, the piece joined behind, by the first route that leads to the joint.
    const GraphEnd joined = entry.connector == kBufferEnd ? GraphEnd{kNoId, 0} : graph.Joined(entry);
    const GraphPiece* piece = joined.piece == kNoId ? nullptr : graph.Find(joined.piece);
    if (piece) {
        for (const PieceRouteRef& r : piece->routes) {
            if (r.exit != joined.connector) continue;
            entryDistance.push_back(entryDistance.back() + r.lengthMm);
            steps.push_back({joined.piece, r.entry, r.exit, r.lengthMm});
            return true;
        }
    }
    deadEnd = true;
    return false;
}

TrackBehind::Place TrackBehind::Locate(double distanceMm) {
    const double d = std::max(distanceMm, 0.0);
    // Steps are walked only as far as asked; a circle of track is walked round again.
    while (entryDistance.back() < d && ExtendBack()) {
    }
    // The first step whose entry lies at or beyond d holds it.
    const auto it = std::lower_bound(entryDistance.begin(), entryDistance.end(), d);
    if (it == entryDistance.end()) return {steps.size() - 1, 0.0};
    const size_t k = static_cast<size_t>(it - entryDistance.begin());
    return {k, std::max(0.0, *it - d)};
}

LinePose TrackBehind::PoseOf(const Place& place) {
    if (place.step != lineStep) {
        const RouteStep& s = steps[place.step];
        line = StepLine(graph, s.piece, s.entry, s.exit);
        lineStep = place.step;
    }
    return PoseAt(line, place.alongMm);
}

double TrackBehind::Reach(double distanceMm) {
    Locate(distanceMm);
    return std::min(distanceMm, entryDistance.back() < distanceMm ? entryDistance.back()
                                                                  : distanceMm);
}
