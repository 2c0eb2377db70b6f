// What a layout needs set against what the owner's box holds: what to buy, and what is spare.
#pragma once

#include <string>
#include <vector>

#include "panels/PieceTally.h"
#include "trackbox/TrackBox.h"

struct ShoppingRow {
    std::string article;
    int needed = 0;
    int owned = 0;
    int toBuy = 0;  // needed - owned, never below 0
    bool operator==(const ShoppingRow&) const = default;
};

// One row per article that is needed or owned (a count above 0), in ascending article order.
std::vector<ShoppingRow> ShoppingList(const PieceCounts& needed, const TrackBox& owned);

// The pieces of the box that a layout does not use yet: owned minus used, per article, keeping
// only articles with at least one piece left. What a builder may still take from the shelf.
PieceCounts PiecesAtHand(const TrackBox& owned, const PieceCounts& used);
// The same for what a layout uses: every placed piece, the track its bridges carry and the curves
// of its helices, as the tally counts them.
PieceCounts PiecesAtHand(const TrackBox& owned, const LayoutDocument& layout);
