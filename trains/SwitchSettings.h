// How the turnouts are set while trains run. The settings belong to the running session, never
// to the layout file.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "network/TrackGraph.h"

// For a turnout (by piece id), the connector a train leaving by its root takes; a turnout that
// is absent sends trains to connector 1.
struct SwitchSettings {
    std::map<uint32_t, int> legs;
};

// The connector the piece is set for: its entry in `legs`, or 1.
int SetLeg(const SwitchSettings& switches, uint32_t piece);

// Of the routes a train may take on through `piece` (a step's routes), the one the settings
// pick: the only one; else the one to the set connector; else the first (the network lists the
// through route first). Null when there is none.
const PieceRouteRef* ChooseRoute(const SwitchSettings& switches, uint32_t piece,
                                 const std::vector<PieceRouteRef>& routes);

// True when a train entering `piece` by `entry` comes in by a leg the turnout is not set for:
// the entry leads only to a root that fans out to several legs, and a train leaving by that root
// would take another leg.
bool EntersAgainstSwitch(const TrackGraph& graph, const SwitchSettings& switches, uint32_t piece,
                         int entry);

// The connectors a piece can be set to, in order: the exits of every entry that fans out to
// several routes (a turnout's legs, a turntable's tracks); empty for plain track.
std::vector<int> SwitchableLegs(const TrackGraph& graph, uint32_t piece);

// Sets the piece to its next connector (after the last, the first). False, changing nothing,
// when the piece cannot be set.
bool ThrowSwitch(const TrackGraph& graph, SwitchSettings& switches, uint32_t piece);

// The routes the settings pick through a switchable piece, one for each entry that fans out
// (for drawing which way each turnout is set).
std::vector<PieceRouteRef> SetRoutes(const TrackGraph& graph, const SwitchSettings& switches,
                                     uint32_t piece);
