// What the "Close Gap" window shows and which ends it closes, worked out without a window.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/Translate.h"
#include "gapclose/GapSolution.h"
#include "layoutcheck/LayoutCheck.h"
#include "model/LayoutDocument.h"

// In English; windows show it translated.
inline constexpr const char* kCloseGapTitle = TR_NOOP("Close Gap");

// The two ends a gap closer joins.
struct GapEnds {
    bool found = false;
    GapEnd a;
    GapEnd b;
    double distanceMm = 0;
};

// The open ends of two pieces that lie nearest to each other, whatever way they point.
GapEnds NearestGapEnds(const LayoutDocument& doc, uint32_t pieceA, uint32_t pieceB);
// The same for the selection; not found unless exactly two pieces are selected.
GapEnds SelectedGapEnds(const LayoutDocument& doc);

// What the gap closer's window must leave in sight: the two ends with room around them (half
// their distance, at least 50 mm) for the chain drawn between them; empty when an end is missing.
LayoutBounds GapClearArea(const LayoutDocument& doc, const GapEnds& ends);

// What a chain is made of, for its line in the list.
struct GapSummary {
    // The articles in the chain's order, each with how many follow in a row ("24130 ×3").
    std::vector<std::pair<std::string, int>> runs;
    double smallestRadiusMm = 0;  // 0 when the chain has no curve
    bool sBend = false;           // two curves turning opposite ways with no straight between
};
GapSummary SummariseGapSolution(const GapSolution& solution);

// The closing joint misses by more than the layout check accepts.
bool GapJointStrained(const GapSolution& solution, const CheckOptions& check);

// One line per solution: "6 pieces: 24130 ×3, 24188, 24130 ×2; miss 0.3 mm, 0.2°; smallest
// radius 360 mm; S-bend; strained joint". The runs keep the chain's order, so that chains of the
// same pieces in another order read apart.
std::string GapSolutionLine(const GapSolution& solution, const CheckOptions& check);
// What the window says when the list is empty: why the ends cannot be joined, or the nearest
// chain found and how far it missed.
std::string GapNoSolutionText(const GapSearchResult& result, const GapOptions& options);
// The status under the list: solutions found, or the search cut short.
std::string GapSearchStatusText(const GapSearchResult& result, double seconds);
