// The trains running on the layout in this session: their places, speeds and directions, the
// turnout settings, the stops and the collisions. Nothing of it is saved with the layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "network/TrackGraph.h"
#include "trains/AdvanceTrain.h"
#include "trains/SwitchSettings.h"
#include "trains/TrainSpec.h"
#include "trains/TrainState.h"
#include "trains/VehiclePoses.h"

struct SessionTrain {
    uint32_t id = 0;
    std::string name;  // "Train 1", ...
    TrainPreset preset;
    TrainSpec consist;
    TrainState state;
    double speedKmh = 80;  // scale kilometres per hour
    bool running = false;
    bool collided = false;            // it ran into another train (or one into it) and stands
    StopReason lastStop = StopReason::None;
    std::vector<VehiclePose> poses;   // where its vehicles stand now, locomotive first
    std::vector<uint32_t> occupied;   // the pieces it stands on

    double WidthMm() const { return ModelMm(preset.widthM, preset.scale); }
    double HeightMm() const { return ModelMm(preset.heightM, preset.scale); }
};

class TrainSession {
public:
    // The network the trains run on. A new network (the track was edited) stops every train;
    // a train standing on a piece that is gone is taken off. Returns how many were taken off.
    int SetNetwork(TrackGraph graph);
    const TrackGraph& Network() const { return graph; }

    // Puts a new train of `preset` with `carCount` cars on the track, its head `offsetMm` into
    // the piece entered at `at`, pushed on as far as it needs to fit on the track behind.
    // Returns "" and sets *id, or why nothing was added.
    std::string AddTrain(const TrainPreset& preset, int carCount, GraphEnd at, double offsetMm,
                         uint32_t* id = nullptr);
    bool Remove(uint32_t id);
    // Every train, every turnout setting and the network forgotten (another layout).
    void Clear();

    const std::vector<SessionTrain>& Trains() const { return trains; }
    const SessionTrain* Find(uint32_t id) const;

    // Start and stop; a started train forgets its last stop and collision.
    void SetRunning(uint32_t id, bool running);
    void StopAll();
    bool AnyRunning() const;
    // Turns the train round where it stands.
    void Reverse(uint32_t id);
    void SetSpeed(uint32_t id, double scaleKmh);

    // Runs every running train for `seconds` at its speed. A train that stops (at a buffer, an
    // open end, a turnout set against it, or another train) is stopped; the returned texts say
    // why, one per stop.
    std::vector<std::string> Run(double seconds);

    // Sets a turnout to its next leg; false when the piece has none to choose.
    bool ThrowSwitch(uint32_t piece);
    const SwitchSettings& Switches() const { return switches; }
    // Counts the changes of the settings and the network (drawings of the set legs follow it).
    uint64_t SwitchVersion() const { return switchVersion; }

private:
    SessionTrain* FindMutable(uint32_t id);
    void Pose(SessionTrain& train);
    // The other train the leading vehicle of `train` runs into, or null.
    const SessionTrain* HitBy(const SessionTrain& train) const;
    bool Overlaps(const SessionTrain& a, const SessionTrain& b, bool leadingOnly) const;

    TrackGraph graph;
    SwitchSettings switches;
    std::vector<SessionTrain> trains;
    uint32_t nextId = 1;
    uint64_t switchVersion = 0;
};

// True when two convex outlines (corners in order round the edge) overlap.
bool OutlinesOverlap(const std::array<PointMm, 4>& a, const std::array<PointMm, 4>& b);
