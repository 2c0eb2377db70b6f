// The rules of the layout check that look at how track is laid rather than where: tight curves
// and turnouts on a grade piece by piece, and S-bends, reversing loops and short sidings along
// the track network.
#pragma once

#include <string>
#include <vector>

#include "layoutcheck/LayoutCheck.h"

class TrackGraph;

// "at 188 mm, 0 mm" in the layout's units.
std::string PlaceText(double xMm, double yMm, int units);

// TightRadius and TurnoutOnGrade.
void CheckPieceRules(const LayoutDocument& doc, const CheckOptions& options,
                     std::vector<LayoutFinding>& out);
// Whether CheckTrackWalks has anything to do, so that the network is only built when needed.
bool NeedsTrackWalks(const LayoutDocument& doc, const CheckOptions& options);
// SBend, ReversingLoop and SidingTooShort over the network of the document.
void CheckTrackWalks(const LayoutDocument& doc, const TrackGraph& graph,
                     const CheckOptions& options, std::vector<LayoutFinding>& out);
