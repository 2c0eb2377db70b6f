// The piece tally: how many of each article a layout needs, and the accessories it recommends.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "base/Translate.h"
#include "model/LayoutDocument.h"
#include "trackbox/TrackBox.h"

// Article number -> count, in ascending byte order of the article string.
using PieceCounts = std::map<std::string, int>;

// Switch accessories needed by the pieces of a count.
struct AccessorySums {
    int turnoutMotors = 0;  // 74491 in the recommendation, bought as 74492
    int kTrackMotors = 0;   // 75491
    int decoders74462 = 0;
    int decoders74467 = 0;  // only the slim double slip 24720 takes this one
    int Total() const { return turnoutMotors + kTrackMotors + decoders74462 + decoders74467; }
    bool operator==(const AccessorySums&) const = default;
};

// One row of the tally list: a piece or an accessory with its count, or the heading row.
struct TallyRow {
    std::string text;        // display name, or the bare article when the catalog lacks it
    std::string count;       // decimal count needed; empty on the heading row
    bool isHeading = false;  // drawn bold in kRecommendHeadingColour
    // Piece rows only (the recommendations are advice, not stock): how many the owner's box
    // holds and how many are missing; a fully owned row is drawn in kFullyOwnedColour.
    std::string owned;
    std::string toBuy;
    bool fullyOwned = false;
    bool operator==(const TallyRow&) const = default;
};

// Everything the tally list shows, recomputed from the document on every refresh.
struct PieceTally {
    PieceCounts counts;
    AccessorySums accessories;
    std::vector<TallyRow> rows;
};

inline constexpr char kRecommendHeading[] = TR_NOOP("We Recommend");
inline constexpr char kTurnoutMotorRow[] = TR_NOOP("74491 Turnout Motor");
inline constexpr char kKTrackMotorRow[] = TR_NOOP("75491 K-Track Motor");
inline constexpr char kDecoder74462Row[] = TR_NOOP("74462 Decoder");
inline constexpr char kDecoder74467Row[] = TR_NOOP("74467 Decoder (24720)");
inline constexpr Rgb kRecommendHeadingColour{60, 60, 160};
inline constexpr Rgb kFullyOwnedColour{150, 150, 150};

// Every placed piece (catalog or not), the track carried by bridges and the curves of each
// helix spiral (twelve of each radius per turn; the unknown variants count as the default one).
PieceCounts CountLayoutPieces(const LayoutDocument& doc);
// Only the placed pieces whose article is in the catalog: no bridge decks, no helix curves.
PieceCounts CountPlacedCatalogPieces(const LayoutDocument& doc);
// Motors and decoders that the switches of a count need.
AccessorySums SumAccessories(const PieceCounts& counts);
// Piece rows in count order with what the box holds of each, then "We Recommend" and the
// accessory rows greater than 0.
std::vector<TallyRow> TallyRows(const PieceCounts& counts, const AccessorySums& accessories,
                                const TrackBox& owned = {});
// The whole tally of a document, set against the owner's box.
PieceTally RefreshTally(const LayoutDocument& doc, const TrackBox& owned = {});
