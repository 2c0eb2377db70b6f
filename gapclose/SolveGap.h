// The gap closer: searches the catalog for a chain of real pieces from one open end to another,
// and lays the chain chosen.
#pragma once

#include <string>
#include <vector>

#include "gapclose/GapSolution.h"
#include "model/LayoutDocument.h"

// Chains that start at end A and whose last exit lands on end B within the tolerance, best first
// (fewest pieces, then the smaller miss in mm, then in degrees, then fewer changes of curve
// direction), at most kMaxGapSolutions; the same input always gives the same list.
std::vector<GapSolution> SolveGap(const LayoutDocument& doc, GapEnd a, GapEnd b,
                                  const GapOptions& options);
// The same search with the reasons the window shows: why the ends cannot be joined, the nearest
// miss when nothing closes the gap, and whether the search ran out of time or was cancelled.
//
// The search meets in the middle: chains grow from A and, reversed, from B, a piece count at a
// time; the poses reached from A are kept on a grid as fine as the tolerance with headings in whole
// units of the catalog's angles, and every pose reached from B looks there for one that faces it.
GapSearchResult SearchGap(const LayoutDocument& doc, GapEnd a, GapEnd b, const GapOptions& options);

// One sentence saying why a chain cannot join the ends (missing piece, joined connector, other
// system, other height), empty when it can.
std::string CheckGapEnds(const LayoutDocument& doc, GapEnd a, GapEnd b);

// The chain laid from end A, piece by piece through the catalog's connectors: poses, A's level and
// end height, no ids and no joints. Empty with `error` set when a step names an unknown article or
// connector.
std::vector<PlacedPiece> LayGapChain(const LayoutDocument& doc, GapEnd a,
                                     const std::vector<GapStep>& steps, std::string* error = nullptr);

// Lays the chain from A, joined piece to piece, and joins its last exit to B, in one undo step.
// Returns an error text, empty on success; after an error the document and its undo history are
// unchanged.
std::string PlaceGapSolution(LayoutDocument& doc, GapEnd a, GapEnd b, const GapSolution& solution);
