// Autofill: closing the straight gap between two facing open ends with catalog straights.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/Translate.h"
#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"

// A fill may miss the gap by this much either way.
inline constexpr double kFillToleranceMm = 1.5;
// The choice list offers at most this many fills.
inline constexpr size_t kMaxFillSolutions = 12;
// No fill holds more pieces than this.
inline constexpr int kMaxFillPieces = 64;
// Two ends count as facing from this folded heading difference on.
inline constexpr double kFacingDeg = 150.0;
// Straights are only laid between ends turned more than this against each other...
inline constexpr double kStraightFillDeg = 170.0;
// ...and lying at most this far off each other's line.
inline constexpr double kMaxLateralOffsetMm = 5.0;

inline constexpr const char* kAutofillTitle = TR_NOOP("Autofill");
inline constexpr const char* kAutofillNoSolutionTitle = TR_NOOP("Autofill \u2014 No Solution");
inline constexpr const char* kAutofillDialogTitle = TR_NOOP("Autofill Gap");

struct FillSolution {
    std::vector<std::string> articles;  // in laying order, longest first
    double total = 0;                   // mm
    bool operator==(const FillSolution&) const = default;
};

// The pair of facing open ends of two pieces that lie nearest to each other.
struct FillEnds {
    bool found = false;
    uint32_t pieceA = kNoId;
    int connA = -1;
    ConnectorPose a;
    uint32_t pieceB = kNoId;
    int connB = -1;
    ConnectorPose b;
    double gap = 0;        // |A - B|, mm
    double turnDeg = 0;    // heading difference folded into [0, 180]
    double lateralMm = 0;  // distance of B from the line through A along A's heading
};

// Nearest pair of open connectors, a's against b's, turned at least 150 degrees to each other.
FillEnds FindFacingEnds(const LayoutDocument& doc, uint32_t pieceA, uint32_t pieceB);

// Straights of the system (every connector of it), longest first; catalog order on equal lengths.
std::vector<const PieceDef*> FillCandidates(TrackSystem system);
// The best fills of a gap: fewer pieces first, then the smaller miss; at most 12. Every straight
// of the catalog is a whole number of tenths of a millimetre, and totals are counted in them.
std::vector<FillSolution> SearchStraightFill(TrackSystem system, double gapMm);
// One line of the choice list: names joined by " + ", then "  (%.1f mm)".
std::string FillSolutionLine(const FillSolution& solution);

// Everything the "Autofill Gap..." command shows, worked out from the selection.
struct AutofillPlan {
    bool applies = false;           // exactly two selected pieces, both in the catalog
    std::string title;              // a message box to show instead of the choice
    std::string message;            //   (OK, information icon); empty when there is a choice
    bool selectionCleared = false;  // the selection was cleared: refresh the panels
    FillEnds ends;
    std::vector<FillSolution> solutions;
    std::string prompt;              // "Gap: %.1f mm. Select fill:"
    std::vector<std::string> lines;  // one per solution
};

// Finds the ends and the fills for the selected pieces. Clears the selection when the two pieces
// have no facing free ends; changes nothing else.
AutofillPlan PlanAutofill(LayoutDocument& doc);
// Lays a chosen fill from end A to end B, joined throughout, in one undo snapshot. Returns an
// error text, empty on success; on error the document and its undo history are unchanged.
std::string PlaceFillSolution(LayoutDocument& doc, const FillEnds& ends,
                              const FillSolution& solution);
