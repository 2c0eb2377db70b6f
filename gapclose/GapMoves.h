// The moves of the gap search: every way a catalog piece can continue an open end, as the rigid
// step from the end it is laid on to the end it leaves open.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "catalog/TrackCatalog.h"
#include "gapclose/GapSolution.h"

// One step shape. Pieces of equal shape (a circuit curve and a plain one, a straight entered from
// either end) share a move, so the search meets each shape once.
struct GapMove {
    // The open end the piece leaves, in the frame of the end it is laid on: x along that end's
    // outward heading, y to its right as headings turn.
    double dx = 0;
    double dy = 0;
    double turnDeg = 0;  // heading change, in (-180, 180]
    int turnUnits = 0;   // turnDeg in whole heading units, rounded
    double chordMm = 0;  // straight distance from entry to exit
    double radiusMm = 0; // of the arc followed; 0 along a straight
    int bend = 0;        // the sign of turnDeg
    bool turnout = false;
    std::vector<GapStep> ways;  // pieces with this shape, the one to lay first
};

struct GapMoveSet {
    std::vector<GapMove> moves;
    double unitDeg = 0.01;   // the heading unit
    bool exactUnits = false; // every turn is a whole number of units
    int unitsPerTurn = 36000;
    double longestChordMm = 0;
    double largestTurnDeg = 0;
};

// Whether the search may lay the piece: straights and curves of one system, turnouts when asked;
// never bumpers, bridges, ramps, adapters or flexible track.
bool IsGapPiece(const PieceDef& def, TrackSystem system, bool useTurnouts);
// The moves of a system, in catalog order of their first piece, with the coarsest heading unit
// of which every turn is a whole multiple. With `stock`, only articles it holds at least once.
GapMoveSet BuildGapMoves(TrackSystem system, bool useTurnouts,
                         const std::map<std::string, int>* stock = nullptr);
