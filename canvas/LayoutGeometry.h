// What the layout drawing shows and in which order, in layout millimetres, without a window.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "base/Geometry.h"
#include "model/BackgroundPicture.h"
#include "model/LayoutDocument.h"

struct PieceDef;
struct SceneryDef;
struct HelixVariant;

inline constexpr Rgb kBaseboardFill{245, 235, 210};
inline constexpr Rgb kDeckFill{235, 220, 190};
inline constexpr Rgb kBoardEdge{120, 90, 50};

// Pieces joined to helices. `all` (both seed sets and both fills) keeps flat track on and
// around a helix from being tinted as raised; `low` (the low seeds and their fill) is drawn
// before the helices, so the helix rings lie over the track that leads into them.
struct HelixLinkedSets {
    std::unordered_set<uint32_t> all;
    std::unordered_set<uint32_t> low;
};
HelixLinkedSets ComputeHelixLinked(const LayoutDocument& doc);

// Piece indices (into doc.pieces) in drawing order: the low helix-linked pieces, then the rest;
// each pass unselected first. Pieces on hidden levels or missing from the catalog are left out.
struct PieceDrawOrder {
    std::vector<size_t> low;
    std::vector<size_t> rest;
    double longestMm = 0;  // the longest length or radius among these pieces: how far one reaches
};
PieceDrawOrder PieceDrawOrderFor(const LayoutDocument& doc, const HelixLinkedSets& linked);

// Scenery indices in drawing order: ordinary items, then tunnel portals; unselected first in
// each pass; hidden levels and unknown ids left out.
struct SceneryDrawOrder {
    std::vector<size_t> items;
    std::vector<size_t> portals;
};
SceneryDrawOrder SceneryDrawOrderFor(const LayoutDocument& doc);

// Ids of the pieces inside any tunnel.
std::unordered_set<uint32_t> TunnelPieceIds(const LayoutDocument& doc);

// Visible levels with an outline of at least 3 points, lowest first.
std::vector<const Level*> DeckLevels(const LayoutDocument& doc);
// Deck fill: a third of the level colour mixed into the baseboard colour, or the plain deck fill.
Rgb DeckFill(const Level& level);

// A dimension text placed outside a baseboard edge.
struct EdgeLabel {
    PointMm at;
    std::string text;
};
// One label per edge of at least 10 mm (the ring is closed), 12 mm outside the edge.
std::vector<EdgeLabel> BaseboardEdgeLabels(const std::vector<PointMm>& outline, int units);

// What DrawingExtent takes in.
struct DrawingExtentOptions {
    static constexpr int64_t kEveryLevel = INT64_MIN;
    // Only the pieces, scenery items and level outlines of this level (printing the active level).
    int64_t level = kEveryLevel;
    // The baseboard with its dimension labels, when the outline has at least 3 vertices.
    bool baseboard = true;
    // When set, the background pictures drawn count too, at the pixel sizes it gives (a picture
    // whose image is not known adds nothing).
    PictureImageSize pictureSizes;
};
// Everything a drawing of the whole layout shows, in millimetres: every catalog piece's band
// outlines (so a curve's bulge counts, not just its ends), every known scenery item's footprint
// and parts, helix rings, level outlines, the baseboard with the points its dimension labels are
// centred on, label corners and measurements with their length labels. Points that are not
// finite numbers are left out. Marks sized in pixels (text, dots) reach beyond it by a few
// dozen pixels, which a fit's margins take up.
LayoutBounds DrawingExtent(const LayoutDocument& doc, const DrawingExtentOptions& options = {});

// Point sizes of the layout's text at a screen zoom: labels max(8, 11 z), article labels
// max(6, 9 z), grade texts max(7, 8 z), all truncated.
int LabelPointSize(double screenZoom);
int ArticlePointSize(double screenZoom);
int GradePointSize(double screenZoom);

// The arrow that shows a grade run's direction at its head piece.
struct GradeArrow {
    PointMm start, end;
    PointMm headLeft, headRight;  // base corners of the arrow head
    Rgb colour;
    std::string text;  // "+2.0°"
};
// False when the run's anchor piece is missing or not in the catalog.
bool GradeArrowFor(const LayoutDocument& doc, const GradeRun& run, GradeArrow& arrow);

// Arrow heads of a measurement in window pixels: tip A with its two base corners, then tip B.
struct MeasurementHeads {
    bool shown = false;  // only when the line is longer than 6 pixels
    PointMm a[3];
    PointMm b[3];
};
MeasurementHeads MeasurementHeadsPx(PointMm aPx, PointMm bPx);

// The temporary pieces a helix is drawn with: the inner ring then the outer ring, or empty when
// the variant or its curve articles are unknown.
std::vector<PlacedPiece> HelixRingPieces(const Helix& helix, const HelixVariant& variant);
// The helix's variant, the default standing in for an unknown id; null when none.
const HelixVariant* HelixVariantFor(const Helix& helix);
// The level and selection a helix is drawn with: those of its end pieces.
int32_t HelixLevel(const LayoutDocument& doc, const Helix& helix);
bool HelixSelected(const LayoutDocument& doc, const Helix& helix);

// Resize handle positions of a scenery item in mm, in handle order 0..7 (corner, edge, ...).
std::vector<PointMm> SceneryHandles(const SceneryItem& item, const SceneryDef& def);
// The scenery item whose handles are shown, or null: exactly one selected item, no selected
// piece or label, a known definition of category 0 (platforms).
const SceneryItem* ResizableSelection(const LayoutDocument& doc);
