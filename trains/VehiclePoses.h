// Where each vehicle of a train stands: its two bogies on the track's centre line.
#pragma once

#include <array>
#include <vector>

#include "model/LayoutDocument.h"
#include "network/TrackGraph.h"
#include "trains/TrainSpec.h"
#include "trains/TrainState.h"

struct VehiclePose {
    PointMm front;            // the bogie at the vehicle's front end
    PointMm rear;
    double heightMm = 0;      // rail height under the vehicle (the mean of its bogies)
    double headingDeg = 0;    // from the rear bogie to the front one, layout degrees
    double frontHeightMm = 0; // rail height under each bogie (the vehicle's tilt)
    double rearHeightMm = 0;
};

// The vehicles of the train from the locomotive back. The bogies are 80 % of the vehicle's
// length apart, 10 % of it from its ends; the leading vehicle's leading bogie is 10 % of its
// length behind the head, and along the track each vehicle keeps its coupling gap to the next.
// Vehicles follow the steps the train came over; beyond them, the track behind (at a turnout's
// root, the first route that leads there); at a dead end behind the train they bunch up at it.
// A train running reversed has its last vehicle leading, and every vehicle faces backwards.
std::vector<VehiclePose> VehiclePoses(const TrackGraph& graph, const TrainState& state,
                                      const TrainSpec& consist);

// The corners of a vehicle's body seen from above: `lengthMm` by `widthMm`, centred between its
// bogies and turned to them, in order front left, front right, rear right, rear left.
std::array<PointMm, 4> VehicleOutline(const VehiclePose& pose, double lengthMm, double widthMm);
