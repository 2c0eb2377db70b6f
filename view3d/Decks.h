// The boards of the decks and the legs they stand on, so that an upper deck does not hang in the
// air. Built without a window, in world axes (y mirrored).
#pragma once

#include <vector>

#include "model/LayoutDocument.h"
#include "view3d/Mesh.h"

inline constexpr double kDeckThickness = 12.0;
// Legs: square posts under the board, a little inside its edge and at most this far apart.
inline constexpr double kDeckLegSize = 20.0;
inline constexpr double kDeckLegInset = 30.0;
inline constexpr double kDeckLegSpacing = 600.0;
inline constexpr Colour3 kDeckTopColour{0.72f, 0.60f, 0.43f};
inline constexpr Colour3 kDeckEdgeColour{0.56f, 0.45f, 0.31f};
inline constexpr Colour3 kDeckUnderColour{0.45f, 0.36f, 0.25f};
inline constexpr Colour3 kDeckLegColour{0.50f, 0.36f, 0.22f};

// A level drawn as a board: visible and with an outline of at least 3 points.
bool IsDeck(const Level& level);

// True when the point (layout axes) lies inside the outline; a point on an edge may go either way.
bool InsideOutline(const std::vector<PointMm>& outline, double x, double y);

// True when a point at height z rests on a deck: a deck holds it in its outline and its top lies
// within 2 mm of z.
bool OnDeck(const LayoutDocument& doc, double x, double y, double z);

// Top of what lies under the point below height z: the highest deck holding the point whose top
// is at least 2 mm under z, else the baseboard's top (0).
double GroundUnder(const LayoutDocument& doc, double x, double y, double z);

// The board of a deck: its outline triangulated as the baseboard is, top at the level's height,
// 12 mm thick, with its edges. Nothing for an outline without area.
void AddDeckBoard(Mesh& m, const Level& level);

// Where the legs of a deck stand (layout axes): a little inside every corner, and along every
// edge at most kDeckLegSpacing apart. Points that would fall outside the outline are left out.
std::vector<PointMm> DeckLegPoints(const std::vector<PointMm>& outline);

// The boards of every deck and their legs, each leg from what lies under it up to the board.
void AddDecks(Mesh& boards, Mesh& legs, const LayoutDocument& doc);
