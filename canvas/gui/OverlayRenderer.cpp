// The editing overlays: handles, rubber band, tape, snap target, ghosts, rotation readout,
// finding rings, trains and the wiring view.
#include <wx/dc.h>
#include <wx/intl.h>

#include <algorithm>
#include <cmath>

#include "canvas/gui/LayoutRenderer.h"
#include "canvas/gui/RenderParts.h"
#include "catalog/HelixVariants.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"
#include "trackgeometry/Units.h"

using namespace render;

void DrawResizeHandles(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view) {
    const SceneryItem* item = ResizableSelection(doc);
    if (!item) return;
    const SceneryDef* def = SceneryCatalog::Instance().Find(item->item);
    if (!def) return;
    dc.SetPen(wxPen(wxColour(40, 90, 200), 1));
    dc.SetBrush(wxBrush(wxColour(255, 255, 255)));
    const std::vector<PointMm> handles = SceneryHandles(*item, *def);
    for (size_t i = 0; i < handles.size(); ++i) {
        const wxPoint p = Px(view, handles[i]);
        if (i % 2 == 0) {
            dc.DrawRectangle(p.x - 4, p.y - 4, 9, 9);
        } else {
            dc.DrawCircle(p, 3);
        }
    }
}

void DrawRubberBand(wxDC& dc, wxPoint from, wxPoint to) {
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(wxColour(0, 120, 215), 1, wxPENSTYLE_DOT));
    dc.DrawRectangle(wxRect(from, to));
}

void DrawTapeInProgress(wxDC& dc, PointMm first, wxPoint mouse, int units,
                        const ViewTransform& view) {
    const wxColour blue(40, 80, 200);
    const wxPoint a = Px(view, first);
    dc.SetPen(wxPen(blue, 2, wxPENSTYLE_LONG_DASH));
    dc.DrawLine(a, mouse);
    dc.SetPen(wxPen(blue, 1));
    dc.SetBrush(wxBrush(blue));
    dc.DrawCircle(a, 4);
    dc.DrawCircle(mouse, 4);
    const double len =
        std::hypot(view.ToLayoutX(mouse.x) - first.x, view.ToLayoutY(mouse.y) - first.y);
    dc.SetFont(Font(10, true));
    const wxString text = wxString::FromUTF8(FormatLength(len, units));
    wxCoord tw = 0, th = 0;
    dc.GetTextExtent(text, &tw, &th);
    dc.SetBrush(wxBrush(wxColour(255, 248, 220, 235)));
    dc.SetPen(wxPen(blue, 1));
    dc.DrawRoundedRectangle(mouse.x + 8, mouse.y - th / 2 - 2, tw + 10, th + 4, 3);
    dc.SetTextForeground(wxColour(20, 20, 20));
    dc.DrawText(text, mouse.x + 13, mouse.y - th / 2);
}

void DrawSnapTarget(wxDC& dc, PointMm at, const ViewTransform& view) {
    dc.SetBrush(wxBrush(wxColour(255, 220, 0)));
    dc.SetPen(wxPen(wxColour(180, 120, 0), 2));
    dc.DrawCircle(Px(view, at), 8);
}

void DrawHelixGhost(wxDC& dc, const HelixVariant& variant, PointMm centre,
                    const ViewTransform& view) {
    const wxPoint c = Px(view, centre);
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(wxColour(0, 150, 200), 2, wxPENSTYLE_LONG_DASH));
    dc.DrawCircle(c, view.ToPixels(variant.radiusInner));
    dc.DrawCircle(c, view.ToPixels(variant.radiusOuter));
    dc.DrawLine(c.x - 8, c.y, c.x + 8, c.y);
    dc.DrawLine(c.x, c.y - 8, c.x, c.y + 8);
}

void DrawRotationReadout(wxDC& dc, PointMm pivot, double headingDeg, bool flash,
                         const ViewTransform& view) {
    const wxPoint p = Px(view, pivot);
    if (flash) {
        dc.SetBrush(wxBrush(wxColour(0, 220, 80, 180)));
        dc.SetPen(wxPen(wxColour(0, 160, 60), 2));
        dc.DrawCircle(p, 16);
    } else {
        dc.SetBrush(wxBrush(wxColour(255, 180, 0, 160)));
        dc.SetPen(wxPen(wxColour(180, 120, 0), 2));
        dc.DrawCircle(p, 8);
    }
    const wxString text = wxString::Format(_("%.1f deg"), headingDeg);
    dc.SetFont(Font(11, true));
    wxCoord tw = 0, th = 0;
    dc.GetTextExtent(text, &tw, &th);
    dc.SetBrush(wxBrush(wxColour(30, 30, 30, 200)));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRoundedRectangle(p.x + 10, p.y - th / 2 - 3, tw + 8, th + 6, 3);
    dc.SetTextForeground(flash ? wxColour(0, 255, 100) : wxColour(255, 255, 255));
    dc.DrawText(text, p.x + 14, p.y - th / 2);
}

void DrawFindingRings(wxDC& dc, const std::vector<FindingRing>& rings, const ViewTransform& view) {
    if (rings.empty()) return;
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    // Warnings first, so an error's ring stays on top where both mark one place.
    for (bool errors : {false, true}) {
        const Rgb c = errors ? kErrorRing : kWarningRing;
        dc.SetPen(wxPen(wxColour(c.r, c.g, c.b), kFindingRingPenPx));
        for (const FindingRing& r : rings) {
            if (r.error != errors) continue;
            dc.DrawCircle(view.ToPixelX(r.x), view.ToPixelY(r.y), kFindingRingPx);
        }
    }
}

void DrawTrainsOverlay(wxDC& dc, const TrainsOverlay& trains, const ViewTransform& view) {
    if (trains.Empty()) return;
    std::vector<wxPoint> pts;
    auto toPixels = [&](const std::vector<PointMm>& mm) {
        pts.clear();
        for (const PointMm& p : mm) pts.emplace_back(view.ToPixelX(p.x), view.ToPixelY(p.y));
    };
    for (const TrainsOverlay::Leg& leg : trains.legs) {
        toPixels(leg.points);
        if (pts.size() < 2) continue;
        dc.SetPen(wxPen(wxColour(leg.colour.r, leg.colour.g, leg.colour.b), kTrainLegPenPx));
        dc.DrawLines(static_cast<int>(pts.size()), pts.data());
    }
    for (const TrainsOverlay::Body& body : trains.bodies) {
        toPixels(body.outline);
        if (pts.size() < 3) continue;
        dc.SetPen(wxPen(wxColour(body.pen.r, body.pen.g, body.pen.b), 1));
        dc.SetBrush(wxBrush(wxColour(body.fill.r, body.fill.g, body.fill.b)));
        dc.DrawPolygon(static_cast<int>(pts.size()), pts.data());
    }
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    for (const TrainsOverlay::Ring& ring : trains.rings) {
        dc.SetPen(wxPen(wxColour(ring.colour.r, ring.colour.g, ring.colour.b), kTrainRingPenPx));
        dc.DrawCircle(view.ToPixelX(ring.centre.x), view.ToPixelY(ring.centre.y),
                      std::max(kFindingRingPx, static_cast<int>(ring.radiusMm * view.zoom)));
    }
}

namespace {

// The bars of the gaps, each at least kWiringBarMinPx long.
void DrawWiringBars(wxDC& dc, const WiringOverlay& wiring, const ViewTransform& view) {
    wxPen barPen(Colour(kWiringBarColour), kWiringBarPenPx);
    barPen.SetCap(wxCAP_BUTT);
    dc.SetPen(barPen);
    for (const WiringOverlay::Bar& bar : wiring.bars) {
        double ax = view.ToPixelX(bar.a.x), ay = view.ToPixelY(bar.a.y);
        double bx = view.ToPixelX(bar.b.x), by = view.ToPixelY(bar.b.y);
        const double length = std::hypot(bx - ax, by - ay);
        if (length < kWiringBarMinPx && length > 0) {
            const double grow = (kWiringBarMinPx - length) / 2 / length;
            const double dx = (bx - ax) * grow, dy = (by - ay) * grow;
            ax -= dx;
            ay -= dy;
            bx += dx;
            by += dy;
        }
        dc.DrawLine(static_cast<int>(std::lround(ax)), static_cast<int>(std::lround(ay)),
                    static_cast<int>(std::lround(bx)), static_cast<int>(std::lround(by)));
    }
}

// The numbered discs of the feeders and detectors.
void DrawWiringSymbols(wxDC& dc, const WiringOverlay& wiring, const ViewTransform& view) {
    wxFont font = dc.GetFont();
    if (!font.IsOk()) font = *wxNORMAL_FONT;
    font.SetPointSize(7);
    font.SetWeight(wxFONTWEIGHT_BOLD);
    dc.SetFont(font);
    for (const WiringOverlay::Symbol& s : wiring.symbols) {
        const int x = view.ToPixelX(s.at.x), y = view.ToPixelY(s.at.y);
        dc.SetPen(wxPen(Colour(kWiringOutlineColour), 1));
        dc.SetBrush(wxBrush(Colour(s.colour)));
        dc.DrawCircle(x, y, kWiringSymbolPx);
        const wxString label = wxString::Format("%d", s.number);
        const wxSize extent = dc.GetTextExtent(label);
        dc.SetTextForeground(*wxWHITE);
        dc.DrawText(label, x - extent.x / 2, y - extent.y / 2);
    }
}

}  // namespace

void DrawWiringOverlay(wxDC& dc, const WiringOverlay& wiring, const ViewTransform& view,
                       const std::vector<size_t>& lit) {
    if (wiring.Empty()) return;
    std::vector<wxPoint> pts;
    auto toPixels = [&](const std::vector<PointMm>& mm) {
        pts.clear();
        for (const PointMm& p : mm) pts.emplace_back(view.ToPixelX(p.x), view.ToPixelY(p.y));
    };
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    // Outlines first, so that the coloured track lies on them.
    for (size_t i = 0; i < wiring.lines.size(); ++i) {
        const WiringOverlay::Line& line = wiring.lines[i];
        if (!line.outlined) continue;
        toPixels(line.points);
        const bool occupied = std::binary_search(lit.begin(), lit.end(), i);
        wxPen pen(Colour(occupied ? kWiringOccupiedColour : kWiringOutlineColour),
                  kWiringOutlinePenPx);
        pen.SetCap(wxCAP_BUTT);
        dc.SetPen(pen);
        dc.DrawLines(static_cast<int>(pts.size()), pts.data());
    }
    for (const WiringOverlay::Line& line : wiring.lines) {
        toPixels(line.points);
        wxPen pen(Colour(line.colour), kWiringLinePenPx);
        pen.SetCap(wxCAP_BUTT);
        dc.SetPen(pen);
        dc.DrawLines(static_cast<int>(pts.size()), pts.data());
    }
    DrawWiringBars(dc, wiring, view);
    DrawWiringSymbols(dc, wiring, view);
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
}

std::vector<wxRect> TrainsOverlayPixels(const TrainsOverlay& trains, const ViewTransform& view) {
    std::vector<wxRect> boxes;
    auto add = [&](const std::vector<PointMm>& mm, int slack) {
        if (mm.empty()) return;
        int x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
        for (const PointMm& p : mm) {
            const int x = view.ToPixelX(p.x), y = view.ToPixelY(p.y);
            x0 = std::min(x0, x);
            y0 = std::min(y0, y);
            x1 = std::max(x1, x);
            y1 = std::max(y1, y);
        }
        boxes.push_back(wxRect(wxPoint(x0, y0), wxPoint(x1, y1)).Inflate(slack));
    };
    for (const TrainsOverlay::Leg& leg : trains.legs) add(leg.points, kTrainLegPenPx + 1);
    for (const TrainsOverlay::Body& body : trains.bodies) add(body.outline, 2);
    for (const TrainsOverlay::Ring& ring : trains.rings) {
        const int r = std::max(kFindingRingPx, static_cast<int>(ring.radiusMm * view.zoom)) +
                      kTrainRingPenPx + 1;
        const int cx = view.ToPixelX(ring.centre.x), cy = view.ToPixelY(ring.centre.y);
        boxes.emplace_back(cx - r, cy - r, 2 * r + 1, 2 * r + 1);
    }
    return boxes;
}

void DrawOverlays(wxDC& dc, const LayoutDocument& doc, const CanvasOverlays& o,
                  const ViewTransform& view) {
    DrawWiringOverlay(dc, o.wiring, view, OccupiedDetectionLines(o.wiring, o.trains.occupied));
    DrawTrainsOverlay(dc, o.trains, view);
    DrawFindingRings(dc, o.findingRings, view);
    if (o.rubberBand) {
        DrawRubberBand(dc, wxPoint(o.bandX0, o.bandY0), wxPoint(o.bandX1, o.bandY1));
    }
    if (o.tape) {
        DrawTapeInProgress(dc, {o.tapeX, o.tapeY}, wxPoint(o.tapeMouseX, o.tapeMouseY), doc.units,
                           view);
    }
    for (const GhostPiece& g : o.chainGhost) {
        if (const PieceDef* def = TrackCatalog::Instance().Find(g.article))
            DrawPieceGhost(dc, *def, g.x, g.y, g.heading, view);
    }
    // A palette ghost lies under its snap target; a moved selection has only the target.
    if (o.pieceGhost) {
        if (const PieceDef* def = TrackCatalog::Instance().Find(o.ghostArticle)) {
            DrawPieceGhost(dc, *def, o.ghostX, o.ghostY, o.ghostHeading, view);
        }
    }
    if (o.snapTarget) DrawSnapTarget(dc, {o.snapX, o.snapY}, view);
    if (o.sceneryGhost) {
        if (const SceneryDef* def = SceneryCatalog::Instance().Find(o.ghostScenery)) {
            DrawSceneryGhost(dc, *def,
                             {o.sceneryGhostX, o.sceneryGhostY, o.sceneryGhostHeading,
                              o.sceneryGhostScaleX, o.sceneryGhostScaleY},
                             view);
        }
    }
    if (o.helixGhost) {
        const HelixVariant* v = FindHelixVariant(o.ghostHelixVariant);
        if (!v) v = FindHelixVariant(DefaultHelixVariantId());
        if (v) DrawHelixGhost(dc, *v, {o.helixGhostX, o.helixGhostY}, view);
    }
    if (o.rotation) {
        DrawRotationReadout(dc, {o.pivotX, o.pivotY}, o.rotationHeading, o.rotationFlash, view);
    }
}
