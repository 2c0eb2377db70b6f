// Walking back from a train's head over the steps it occupies (shared by the vehicle poses and
// turning a train round).
#pragma once

#include <vector>

#include "network/TrackGraph.h"
#include "trains/TrainState.h"

class TrackBehind {
public:
    TrackBehind(const TrackGraph& graph, const TrainState& state);

    // A place behind the head: which step (0: the head's) and how far along it from its entry.
    struct Place {
        size_t step = 0;
        double alongMm = 0;
    };
    // The place `distanceMm` behind the head; where the track ends behind, its end.
    Place Locate(double distanceMm);
    // How far the track behind the head reaches, up to `distanceMm`: less where it ends.
    double Reach(double distanceMm);
    // Position, height and heading of travel at a place.
    LinePose PoseOf(const Place& place);
    // The steps walked so far, from the head's back.
    const std::vector<RouteStep>& Steps() const { return steps; }

private:
    bool ExtendBack();

    const TrackGraph& graph;
    const std::vector<RouteStep>* trail = nullptr;
    std::vector<RouteStep> steps;
    std::vector<double> entryDistance;  // of each step's entry from the head
    size_t trailNext = 0;               // trail steps still to use: indices below this
    bool trailUsable = true;
    bool deadEnd = false;
    size_t lineStep = static_cast<size_t>(-1);
    TrackRoute line;
};
