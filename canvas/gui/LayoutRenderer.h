// Drawing of the layout and of the editing overlays into any device context.
#pragma once

#include <wx/gdicmn.h>

#include "canvas/CanvasOverlays.h"
#include "canvas/LayoutGeometry.h"
#include "canvas/PieceGeometry.h"
#include "canvas/SceneryGeometry.h"
#include "canvas/ViewTransform.h"

class wxDC;
class LayoutDocument;
struct HelixVariant;

// The whole layout (background to measurements) at the given transform; `client` is the
// drawing area in pixels (grid lines and culling). Used by the canvas and the printout.
void DrawLayout(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view, wxSize client);

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

// Background grid and origin cross (when the document's grid is shown).
void DrawGrid(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view, wxSize client);
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
// Finding rings, rubber band, tape, snap target, piece, scenery and helix ghosts and the
// rotation read-out, as far as `overlays` switches them on.
void DrawOverlays(wxDC& dc, const LayoutDocument& doc, const CanvasOverlays& overlays,
                  const ViewTransform& view);
