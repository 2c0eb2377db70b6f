// Moving a train along the track network, one step of the network at a time.
#pragma once

#include <string>

#include "network/TrackGraph.h"
#include "trains/SwitchSettings.h"
#include "trains/TrainSpec.h"
#include "trains/TrainState.h"

// Why a train stopped short of the distance it was asked to run.
enum class StopReason {
    None,           // it ran the whole distance
    BufferStop,     // its head is at a bumper's buffer
    OpenEnd,        // its head is at a connector joined to nothing
    AgainstSwitch,  // its head is where a turnout's leg meets it, and the turnout is set for another
};

struct AdvanceResult {
    double movedMm = 0;
    StopReason reason = StopReason::None;
};

// "buffer stop", "open end", "turnout set against the train"; empty for None.
std::string StopReasonName(StopReason reason);

// Runs the train's head `distanceMm` further along the track (a negative distance does not
// move it). Leaving a turnout by its root it takes the leg the switches are set for; entering a
// turnout by a leg it is not set for, it stops where that leg meets the turnout. It stops exactly
// at an open end and at a buffer. A train whose piece is no longer in the network does not move
// and reports OpenEnd.
AdvanceResult AdvanceTrain(const TrackGraph& graph, const SwitchSettings& switches,
                           TrainState& state, double distanceMm);

// The train turned round where it stands: its head moves to the other end of the train (along
// the steps it occupies) and it runs the other way. An invalid state stays as it is.
void ReverseTrain(const TrackGraph& graph, TrainState& state, const TrainSpec& consist);

// The head of the train on the track: where it is and the way it runs.
LinePose HeadPose(const TrackGraph& graph, const TrainState& state);
// The place `distanceMm` ahead of the head, where the train would be if it ran on (short of it
// where it would stop).
LinePose PoseAhead(const TrackGraph& graph, const SwitchSettings& switches,
                   const TrainState& state, double distanceMm);
