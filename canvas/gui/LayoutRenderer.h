// Drawing of the layout and of the editing overlays into any device context.
#pragma once

#include <wx/gdicmn.h>

#include <cstdint>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "canvas/CanvasOverlays.h"
#include "canvas/LayoutGeometry.h"
#include "trackgeometry/PieceGeometry.h"
#include "canvas/SceneryGeometry.h"
#include "canvas/ViewTransform.h"

class wxDC;
class LayoutDocument;
class PictureLayer;
class LayoutIndex;
struct BoxMm;
struct HelixVariant;

// The whole layout (background to measurements) at the given transform; `client` is the
// drawing area in pixels (grid lines and culling). Used by the canvas and the printout.
void DrawLayout(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view, wxSize client,
                PictureLayer* pictures = nullptr);
// The layout as it goes on paper (prints, PDF pages): as DrawLayout, with the grid in a pen that
// shows on paper and in grey, and without the origin cross, which only helps editing. The
// selection is the caller's to hide (SelectionHidden).
void DrawLayoutOnPaper(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view,
                       wxSize page, PictureLayer* pictures = nullptr);

// The passes of a layout drawing, in drawing order: background, baseboard, decks and grid;
// scenery; the low track around helices; helices; all other track; tunnel portals; grade arrows,
// labels and measurements.
enum class LayoutPass { Ground, Scenery, LowPieces, Helices, Pieces, Portals, Notes, End };

// What a layout drawing works out before it draws: drawing orders, helix links, tunnel track
// and levels. It holds while pieces, joints, selection, levels and tunnels stay as they are
// (moving objects does not change it).
struct LayoutDrawPlan {
    static constexpr uint32_t kNotDrawn = std::numeric_limits<uint32_t>::max();
    HelixLinkedSets linked;
    std::unordered_set<uint32_t> inTunnel;
    PieceDrawOrder order;
    SceneryDrawOrder scenery;
    std::vector<uint32_t> rank;  // per piece: its place in the drawing order, or kNotDrawn
    std::unordered_map<int32_t, const Level*> levels;
};
LayoutDrawPlan MakeLayoutDrawPlan(const LayoutDocument& doc);

// Bands drawn as lines are stroked one colour at a time; this is the order of the colours in
// each pass of a drawing, so that a drawing of part of the area stacks them as the whole did.
struct ThinBandKey {
    Rgb colour;
    int width = 1;
};
struct LayoutBandOrder {
    std::vector<ThinBandKey> low;
    std::vector<ThinBandKey> rest;
};

// Which part of the layout a drawing covers: the passes from `from` up to (not including) `to`,
// and only what may show inside `areas` (window pixels; none: the whole client). With an index
// the pieces and items in the area are found without visiting the others; with a plan nothing
// is worked out again. The caller clips to the area: objects are skipped, not cut.
struct LayoutDrawPart {
    LayoutPass from = LayoutPass::Ground;
    LayoutPass to = LayoutPass::End;
    std::vector<wxRect> areas;
    const LayoutIndex* index = nullptr;
    const LayoutDrawPlan* plan = nullptr;
    // With recordBands the drawing writes its band order here; without, it follows it.
    LayoutBandOrder* bandOrder = nullptr;
    bool recordBands = false;
    // Drawn for paper: see DrawLayoutOnPaper.
    bool paper = false;
    // The background pictures, drawn over the baseboard and under the grid; none without.
    PictureLayer* pictures = nullptr;
};
void DrawLayoutPart(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view, wxSize client,
                    const LayoutDrawPart& part);
// The layout box that holds everything that may draw into a pixel area widened by slackPx.
BoxMm PixelAreaToLayout(const ViewTransform& view, const wxRect& area, double slackPx);
// How far beyond its extent a piece's pixel-sized marks (article label, dots, pens) may reach.
double DrawSlackPx(const ViewTransform& view);

// One placed piece with its bridge structure, circuit mark and, when labelsShown and the zoom
// is at least 0.2, its article label and connector dots.
void DrawPiece(wxDC& dc, const PlacedPiece& piece, const PieceDef& def, const ViewTransform& view,
               const PieceLook& look, bool labelsShown);
// A piece being dragged in from the palette, in the ghost colours.
void DrawPieceGhost(wxDC& dc, const PieceDef& def, double x, double y, double heading,
                    const ViewTransform& view);
// A helix as two rings of curves; nothing when its variant or curves are unknown or its level
// is hidden.
void DrawHelix(wxDC& dc, const LayoutDocument& doc, const Helix& helix, const ViewTransform& view);
void DrawScenery(wxDC& dc, const SceneryDef& def, const SceneryPose& pose, bool selected,
                 const ViewTransform& view);
void DrawSceneryGhost(wxDC& dc, const SceneryDef& def, const SceneryPose& pose,
                      const ViewTransform& view);

// Grid pens: the canvas's faint lines, and on paper a darker grey that survives printing and the
// grayscale option (about 40 grey levels below the baseboard's fill).
inline constexpr Rgb kScreenGrid{220, 220, 215};
inline constexpr Rgb kPaperGrid{195, 195, 190};
// Background grid and origin cross (when the document's grid is shown); on paper no cross.
void DrawGrid(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view, wxSize client,
              bool paper = false);
// Rulers along the top and left edges with their origin marks.
void DrawRulers(wxDC& dc, int units, const ViewTransform& view, wxSize client);

// Overlays of editing in progress.
void DrawResizeHandles(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view);
void DrawRubberBand(wxDC& dc, wxPoint from, wxPoint to);
void DrawTapeInProgress(wxDC& dc, PointMm first, wxPoint mouse, int units,
                        const ViewTransform& view);
void DrawSnapTarget(wxDC& dc, PointMm at, const ViewTransform& view);
void DrawHelixGhost(wxDC& dc, const HelixVariant& variant, PointMm centre,
                    const ViewTransform& view);
void DrawRotationReadout(wxDC& dc, PointMm pivot, double headingDeg, bool flash,
                         const ViewTransform& view);
// Layout check rings: kFindingRingPx around each place, red for errors, orange for warnings.
inline constexpr Rgb kErrorRing{220, 30, 30};
inline constexpr Rgb kWarningRing{245, 140, 0};
inline constexpr int kFindingRingPx = 16;
inline constexpr int kFindingRingPenPx = 3;
void DrawFindingRings(wxDC& dc, const std::vector<FindingRing>& rings, const ViewTransform& view);
// The trains' overlay: the turnouts' set legs, the vehicles, the collision rings.
void DrawTrainsOverlay(wxDC& dc, const TrainsOverlay& trains, const ViewTransform& view);
// The wiring view: district colours, detection outlines, gap bars and numbered feeders.
// `lit`: the lines (by index, sorted) of detection sections a train stands in.
void DrawWiringOverlay(wxDC& dc, const WiringOverlay& wiring, const ViewTransform& view,
                       const std::vector<size_t>& lit = {});
// The window pixels each part of the trains' overlay covers (one box per leg, body and ring).
std::vector<wxRect> TrainsOverlayPixels(const TrainsOverlay& trains, const ViewTransform& view);
// Finding rings, rubber band, tape, snap target, piece, scenery and helix ghosts and the
// rotation read-out, as far as `overlays` switches them on.
void DrawOverlays(wxDC& dc, const LayoutDocument& doc, const CanvasOverlays& overlays,
                  const ViewTransform& view);
