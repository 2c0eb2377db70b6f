// The height a track passing over another needs above it, by gauge: the layout check's default
// clearance rule and the mark the height profile sets, kept below both.
#pragma once

#include "catalog/TrackCatalog.h"

inline constexpr double kClearanceH0Mm = 65;  // rail top to rail top over H0 track
inline constexpr double kClearanceNMm = 40;   // the same for N gauge
inline constexpr double kClearanceZMm = 30;   // the same for Z gauge

// True for the Z-gauge systems, whose smaller trains need less room.
bool IsZGauge(TrackSystem system);
// True for the N-gauge systems (Minitrix N and Kato N).
bool IsNGauge(TrackSystem system);
// kClearanceZMm for Z gauge, kClearanceNMm for N gauge, kClearanceH0Mm for every other system.
double DefaultClearanceMm(TrackSystem system);
