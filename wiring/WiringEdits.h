// Edits of the document's wiring plan; each is one undo step and reports whether it changed
// anything (nothing changed, no step).
#pragma once

#include <cstdint>
#include <vector>

#include "model/LayoutDocument.h"
#include "network/TrackGraph.h"
#include "wiring/WiringProposals.h"

// Adds what a proposal found: gaps at ends that have none, feeders and detectors not yet there.
bool AddToWiringPlan(LayoutDocument& doc, const WiringAdditions& additions);

// A new district after the last, named "Booster N" with a colour of its own; returns its id.
uint32_t AddDistrict(LayoutDocument& doc);
// Gives the district of the same id the name, colour and maximum current of `district`.
bool ChangeDistrict(LayoutDocument& doc, const PowerDistrict& district);
// Removes the district; its feeders stay, fed by no district until the user picks one.
bool RemoveDistrict(LayoutDocument& doc, uint32_t id);

// The gaps a joint can have, in the order a click steps through them, starting after none:
// three-rail track Centre, Left, Right; two-rail track Left, Right, Both.
std::vector<GapRails> GapChoices(bool twoRail);
// Steps the gap at a piece's end on to the next choice (after the last: no gap). A gap kept on
// the other side of the joint is stepped in place.
bool CycleGap(LayoutDocument& doc, const TrackGraph& graph, uint32_t piece, int connector);
// Adds a feeder on the piece, in the district already feeding its section (else the first
// district, else none).
bool AddFeeder(LayoutDocument& doc, const TrackGraph& graph, uint32_t piece);

// Puts the section holding the piece in the district: every feeder of the section is given it,
// and a section without a feeder gets one on the piece. kNoId leaves the section unfed by any
// district (its feeders stay).
bool SetSectionDistrict(LayoutDocument& doc, const TrackGraph& graph, uint32_t piece,
                        uint32_t district);
// Makes the section holding the piece report as contact `number` (0: no detection section).
bool SetSectionDetector(LayoutDocument& doc, const TrackGraph& graph, uint32_t piece, int number);
