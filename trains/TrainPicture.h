// What the plan shows of the running trains: the vehicles as outlines turned to their bogies,
// the legs the turnouts are set for, rings round trains that collided; and finding the track
// under a click.
#pragma once

#include <optional>
#include <vector>

#include "canvas/CanvasOverlays.h"
#include "trains/TrainSession.h"

inline constexpr Rgb kLocomotiveColour{150, 35, 30};
inline constexpr Rgb kCarColour{70, 115, 175};
inline constexpr Rgb kVehiclePen{25, 25, 30};
inline constexpr Rgb kSetLegColour{20, 170, 70};
inline constexpr Rgb kCollisionRing{225, 30, 30};

// The centre lines of the routes every switchable piece is set for.
std::vector<TrainsOverlay::Leg> SetLegLines(const TrackGraph& graph,
                                            const SwitchSettings& switches);

// The session's trains over the given set legs: a body per vehicle (the locomotive in its own
// colour) and a ring round every train that collided.
TrainsOverlay TrainsPicture(const TrainSession& session, std::vector<TrainsOverlay::Leg> legs);

// A place on the track near a point: the piece end to enter by and how far in.
struct TrackPick {
    GraphEnd at;
    double offsetMm = 0;
    double distanceMm = 0;  // from the point to the centre line
};
// The nearest centre line within `withinMm` of the point (each piece's own routes, from the
// connector they start at), or nothing.
std::optional<TrackPick> PickTrack(const TrackGraph& graph, PointMm point, double withinMm);
