// Where a train is on the track network: the route step its leading end is on, how far along,
// which way the train faces, and the steps it came over.
#pragma once

#include <vector>

#include "network/TrackGraph.h"

struct TrainState {
    // The route through the piece the head of the train is on: the piece, the connector it
    // entered by and the one it will leave by.
    RouteStep step;
    // How far the head has travelled along that route from its entry.
    double alongMm = 0;
    // The direction the train runs in: false with the locomotive leading, true when it runs
    // the other way (last vehicle first). The head is always the leading end.
    bool reversed = false;
    // The steps the train came over before `step`, the one just behind it last. The vehicles
    // behind the head follow them, whatever the turnouts are set to now.
    std::vector<RouteStep> trail;

    // False when the train was not put on the track.
    bool Valid() const { return step.piece != kNoId; }
};

// A train whose head starts `offsetMm` into the piece entered at `at` (clamped to the route),
// heading away from that connector. Through a piece with several routes from that connector it
// takes connector 1 when it can, else the first route. Not valid when the piece or connector is
// not in the network.
TrainState PlaceTrain(const TrackGraph& graph, GraphEnd at, double offsetMm);
