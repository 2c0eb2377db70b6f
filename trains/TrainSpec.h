// What a train is made of (vehicle lengths and the gap their couplings leave) and the ready-made
// trains offered for each model scale.
#pragma once

#include <string>
#include <vector>

#include "catalog/TrackCatalog.h"

// The vehicles of a train from the locomotive back, lengths over buffers in model millimetres.
struct TrainSpec {
    std::vector<double> vehicleLengthsMm;
    double couplingGapMm = 0;
};

// A ready-made train: a locomotive and one kind of car, in prototype metres, for one scale.
struct TrainPreset {
    std::string name;
    int scale = 87;                 // the scale's denominator: 87 for H0, 220 for Z
    double locomotiveLengthM = 0;   // over buffers
    double carLengthM = 0;
    double couplingGapM = 0;        // what the model couplings leave between buffers, full size
    double widthM = 3.0;            // body width and height above the rail head
    double heightM = 4.0;
    // The name without its scale ("express: ..."), in English: the key of the shown name.
    std::string kind;
};

// The scale denominator of a track system: 87 for the H0 systems, 220 for Z, 160 for N; 0 when
// the system is unknown.
int ScaleOf(TrackSystem system);
// The scale's usual name ("H0", "Z", "N"), empty when unknown.
std::string ScaleName(int scale);

// The name a person reads, in their language: "H0 express: electric locomotive and coaches".
std::string TrainPresetLabel(const TrainPreset& preset);

// Every preset, H0 first, then Z.
const std::vector<TrainPreset>& TrainPresets();
// The presets of one scale, in table order.
std::vector<const TrainPreset*> TrainPresetsFor(int scale);

// The preset's locomotive followed by `carCount` cars, in model millimetres (negative counts
// give the locomotive alone).
TrainSpec MakeTrainSpec(const TrainPreset& preset, int carCount);
// From the front of the first vehicle to the back of the last: the lengths and the gaps.
double TrainLengthMm(const TrainSpec& consist);
// A prototype measure in model millimetres at a scale.
double ModelMm(double prototypeM, int scale);
// How far a train at `scaleKmh` (scale kilometres per hour) runs in one second on the model.
double ModelMmPerSecond(double scaleKmh, int scale);
