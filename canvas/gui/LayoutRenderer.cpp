// Drawing of the layout's track and of the passes a layout drawing goes through.
#include "canvas/gui/LayoutRenderer.h"

#include <cairo.h>
#include <wx/dc.h>
#include <wx/graphics.h>
#include <wx/intl.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "canvas/LayoutIndex.h"
#include "canvas/PixelLines.h"
#include "canvas/RouteLines.h"
#include "canvas/gui/PictureLayer.h"
#include "canvas/gui/RenderParts.h"
#include "catalog/HelixVariants.h"
#include "catalog/TrackCatalog.h"
#include "control/AssignAddresses.h"
#include "model/LayoutDocument.h"
#include "model/LayoutExtent.h"

using namespace render;

namespace {

void DrawLayoutContent(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view,
                       wxSize client, const LayoutDrawPart& part);
void DrawPieceDetails(wxDC& dc, const PlacedPiece& piece, const PieceDef& def,
                      const ViewTransform& view, const PieceLook& look, bool labelsShown);

// Bands too thin for an outline, gathered by colour and pen width and stroked as one path per
// batch: at an overview a few strokes of long paths cost a fraction of a filled polygon and an
// outline per band. Storage is kept between passes so a paint allocates only at its start.
class ThinBands {
public:
    explicit ThinBands(wxDC& dc) : dc(dc), gc(dc.GetGraphicsContext()) {}

    void Add(const std::vector<PointMm>& band, Rgb colour, int width, const ViewTransform& view) {
        const std::vector<PointMm> centre = BandCentreLine(band);
        if (centre.size() < 2) return;
        Batch& batch = Find(colour, width);
        batch.starts.push_back(batch.points.size());
        const size_t first = batch.points.size();
        for (const PointMm& p : centre) {
            const wxPoint q = Px(view, p);
            if (batch.points.size() == first || q != batch.points.back()) {
                batch.points.push_back(q);
            }
        }
        // A band shorter than a pixel still shows as a dot.
        if (batch.points.size() - first == 1) batch.points.push_back(batch.points.back());
        pending = true;
    }

    // Lines given as points (line k from starts[k] up to the next start or the end).
    void AddLines(const std::vector<PointMm>& points, const std::vector<uint32_t>& starts,
                  Rgb colour, int width, const ViewTransform& view) {
        Batch& batch = Find(colour, width);
        for (size_t k = 0; k < starts.size(); ++k) {
            const size_t end = k + 1 < starts.size() ? starts[k + 1] : points.size();
            const size_t first = batch.points.size();
            batch.starts.push_back(first);
            for (size_t i = starts[k]; i < end; ++i) {
                const wxPoint q = Px(view, points[i]);
                if (batch.points.size() == first || q != batch.points.back())
                    batch.points.push_back(q);
            }
            if (batch.points.size() - first == 1) batch.points.push_back(batch.points.back());
        }
        pending = true;
    }

    // Batches start out in the given order (colours not in it follow in the order they come up).
    void Seed(const std::vector<ThinBandKey>& keys) {
        for (const ThinBandKey& k : keys) Find(k.colour, k.width);
    }
    std::vector<ThinBandKey> Keys() const {
        std::vector<ThinBandKey> keys;
        for (const Batch& b : batches) keys.push_back({b.colour, b.width});
        return keys;
    }

    // Strokes the gathered bands in the order their colours first came up.
    void Flush() {
        if (!pending) return;
        std::optional<PixelTarget> direct = DirectPixels(gc);
        for (Batch& batch : batches) {
            if (batch.starts.empty()) continue;
            wxPen pen(Colour(batch.colour), batch.width);
            pen.SetCap(wxCAP_BUTT);
            pen.SetJoin(wxJOIN_BEVEL);
            batch.starts.push_back(batch.points.size());
            if (direct) {
                const uint32_t word = PixelWord(batch.colour);
                for (size_t k = 0; k + 1 < batch.starts.size(); ++k) {
                    const size_t from = batch.starts[k], to = batch.starts[k + 1];
                    for (size_t i = from; i + 1 < to; ++i) {
                        const wxPoint a = batch.points[i], b = batch.points[i + 1];
                        DrawPixelLine(*direct, a.x, a.y, b.x, b.y, word, batch.width);
                    }
                }
            } else if (gc) {
                wxGraphicsPath path = gc->CreatePath();
                for (size_t k = 0; k + 1 < batch.starts.size(); ++k) {
                    const size_t from = batch.starts[k], to = batch.starts[k + 1];
                    path.MoveToPoint(batch.points[from].x, batch.points[from].y);
                    for (size_t i = from + 1; i < to; ++i) {
                        path.AddLineToPoint(batch.points[i].x, batch.points[i].y);
                    }
                }
                gc->SetPen(pen);
                gc->StrokePath(path);
            } else {
                dc.SetPen(pen);
                for (size_t k = 0; k + 1 < batch.starts.size(); ++k) {
                    const size_t from = batch.starts[k], to = batch.starts[k + 1];
                    dc.DrawLines(static_cast<int>(to - from), &batch.points[from]);
                }
            }
            batch.starts.clear();
            batch.points.clear();
        }
        if (direct)
            cairo_surface_mark_dirty(
                cairo_get_target(static_cast<cairo_t*>(gc->GetNativeContext())));
        // The graphics context's pen was changed behind the device context's back.
        if (gc && !direct) dc.SetPen(*wxBLACK_PEN);
        pending = false;
    }

private:
    struct Batch {
        Rgb colour;
        int width = 1;
        std::vector<wxPoint> points;
        std::vector<size_t> starts;  // first point of each line
    };

    Batch& Find(Rgb colour, int width) {
        for (Batch& b : batches) {
            if (b.colour == colour && b.width == width) return b;
        }
        batches.push_back(Batch{colour, width, {}, {}});
        return batches.back();
    }

    wxDC& dc;
    wxGraphicsContext* gc;
    std::vector<Batch> batches;
    bool pending = false;
};

// The bridge structure (an arc over the deck) and the circuit-track mark at the midpoint.
void DrawPieceMarks(wxDC& dc, const PieceDef& def, PointMm mid, double heading,
                    const ViewTransform& view) {
    const wxPoint m = Px(view, mid);
    if (def.isBridge) {
        const int a = static_cast<int>(def.length / 2 * view.zoom);
        const bool curve = def.kind == PieceKind::Curve;
        const int height = curve ? a * 2 / 3 : a / 2;
        dc.SetPen(wxPen(wxColour(80, 100, 130, curve ? 200 : 180),
                        std::max(1, static_cast<int>(1.5 * view.zoom))));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        const double h = curve ? heading + def.angle / 2 : heading;
        if (a > 0 && height > 0) {
            dc.DrawEllipticArc(m.x - a, m.y - height / 2, 2 * a, height, static_cast<int>(h + 180),
                               static_cast<int>(h + 360));
        }
    }
    if (IsCircuitTrack(def)) {
        const int hw = std::max(3, static_cast<int>(8 * view.zoom));
        const int hh = std::max(2, static_cast<int>(4 * view.zoom));
        dc.SetPen(wxPen(wxColour(60, 60, 160), 1));
        dc.SetBrush(wxBrush(wxColour(100, 120, 220)));
        dc.DrawRectangle(m.x - hw, m.y - hh, 2 * hw, 2 * hh);
    }
}

bool PieceOnScreen(const PlacedPiece& p, const PieceDef& def, const ViewTransform& view,
                   const std::vector<wxRect>& areas) {
    // Every shape of a piece lies within its length plus the band of its start point (a
    // turntable within its pit radius around the centre); labels may stick out a little more.
    const double reach = (std::max(def.length, def.radius) + 40.0) * view.zoom + 40.0;
    const double px = p.x * view.zoom + view.offsetX;
    const double py = p.y * view.zoom + view.offsetY;
    for (const wxRect& area : areas)
        if (px + reach >= area.x && py + reach >= area.y && px - reach <= area.x + area.width &&
            py - reach <= area.y + area.height)
            return true;
    return false;
}

}  // namespace

void DrawPiece(wxDC& dc, const PlacedPiece& piece, const PieceDef& def, const ViewTransform& view,
               const PieceLook& look, bool labelsShown) {
    const PieceColours colours = PieceColoursFor(piece, def, look);
    DrawShapes(dc,
               BuildPieceShapes(def, piece.x, piece.y, piece.heading, colours.fill, colours.outline,
                                look.selected, view.zoom, &piece),
               view);
    DrawPieceDetails(dc, piece, def, view, look, labelsShown);
}

namespace {

void DrawPieceDetails(wxDC& dc, const PlacedPiece& piece, const PieceDef& def,
                      const ViewTransform& view, const PieceLook& look, bool labelsShown) {
    const PointMm mid = PieceMidpoint(piece, def);
    DrawPieceMarks(dc, def, mid, piece.heading, view);
    if (!labelsShown || view.ScreenZoom() < 0.2) return;

    const int r = view.Px(std::max(3, static_cast<int>(2.5 * view.ScreenZoom())));
    dc.SetFont(ViewFont(view, ArticlePointSize(view.ScreenZoom()), true));
    const wxColour ink = look.selected ? wxColour(40, 100, 200) : wxColour(50, 50, 50);
    const wxString text = wxString::FromUTF8(piece.article);
    const wxSize size = TextExtent(dc, text, ink);
    // The article goes between the end dots (a bumper's dot and its stop bar) or not at all: a
    // label wider than its piece would run under the dots and past the piece.
    if (LabelFitsPiece(def, size.x, r, view.zoom)) {
        const wxPoint m = Px(view, ArticleLabelPoint(piece, def));
        DrawTextAt(dc, text, m.x - size.x / 2, m.y - size.y / 2, ink);
    }

    const int n = static_cast<int>(def.connectors.size());
    for (int i = 0; i < n; ++i) {
        const ConnectorPose pose = GetConnectorPose(piece, def, i);
        const wxColour c = Colour(pose.open ? kOpenDot : kJoinedDot);
        DrawDot(dc, Px(view, PointMm{pose.x, pose.y}), r, c, c.ChangeLightness(70));
    }
}

bool HasDetails(const PieceDef& def, const ViewTransform& view, bool labelsShown) {
    return def.isBridge || IsCircuitTrack(def) || (labelsShown && view.ScreenZoom() >= 0.2);
}

// A piece whose bands are too thin for an outline: its bands go to `bands` as centre lines in
// their ThinBandColour (slip edges, being outline, are left out); a turntable's circles and lines
// are drawn at once, after the bands gathered so far.
void DrawThinPiece(wxDC& dc, ThinBands& bands, const PlacedPiece& piece, const PieceDef& def,
                   const ViewTransform& view, const PieceLook& look) {
    const PieceColours colours = PieceColoursFor(piece, def, look);
    std::vector<PieceShape> shapes =
        BuildPieceShapes(def, piece.x, piece.y, piece.heading, colours.fill, colours.outline,
                         look.selected, view.zoom, &piece);
    const int width = BandLineWidthPx(BandHalfWidth(def), view.zoom);
    std::vector<PieceShape> others;
    for (PieceShape& s : shapes) {
        if (s.type == PieceShape::Type::Polygon) {
            bands.Add(s.points, ThinBandColour(s.fill, s.pen, look.selected), width, view);
        } else if (s.type != PieceShape::Type::Polyline) {
            others.push_back(std::move(s));
        }
    }
    if (!others.empty()) {
        bands.Flush();
        DrawShapes(dc, others, view);
    }
}
}  // namespace

void DrawPieceGhost(wxDC& dc, const PieceDef& def, double x, double y, double heading,
                    const ViewTransform& view) {
    DrawShapes(
        dc,
        BuildPieceShapes(def, x, y, heading, kGhostFill, kGhostOutline, false, view.zoom, nullptr),
        view);
    PlacedPiece pose;
    pose.x = x;
    pose.y = y;
    pose.heading = heading;
    if (IsCircuitTrack(def)) DrawPieceMarks(dc, def, PieceMidpoint(pose, def), heading, view);
}

void DrawHelix(wxDC& dc, const LayoutDocument& doc, const Helix& helix, const ViewTransform& view) {
    const HelixVariant* variant = HelixVariantFor(helix);
    if (!variant) return;
    const int32_t levelId = HelixLevel(doc, helix);
    if (!IsLevelVisible(doc, levelId)) return;
    PieceLook look;
    look.selected = HelixSelected(doc, helix);
    look.helixLinked = true;
    look.level = doc.FindLevel(static_cast<uint32_t>(levelId));
    const TrackCatalog& catalog = TrackCatalog::Instance();
    ThinBands thin(dc);
    std::vector<std::pair<PlacedPiece, const PieceDef*>> details;
    for (PlacedPiece& p : HelixRingPieces(helix, *variant)) {
        p.level = levelId;
        const PieceDef* def = catalog.Find(p.article);
        if (!def) continue;
        if (!BandDrawnAsLine(BandHalfWidth(*def), view.zoom)) {
            DrawPiece(dc, p, *def, view, look, false);
            continue;
        }
        DrawThinPiece(dc, thin, p, *def, view, look);
        if (HasDetails(*def, view, false)) details.emplace_back(p, def);
    }
    thin.Flush();
    for (const auto& [p, def] : details) DrawPieceDetails(dc, p, *def, view, look, false);
}

void DrawLayout(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view, wxSize client,
                PictureLayer* pictures) {
    LayoutDrawPart part;
    part.pictures = pictures;
    DrawLayoutPart(dc, doc, view, client, part);
}

void DrawLayoutOnPaper(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view,
                       wxSize page, PictureLayer* pictures) {
    LayoutDrawPart part;
    part.paper = true;
    part.pictures = pictures;
    DrawLayoutPart(dc, doc, view, page, part);
}

LayoutDrawPlan MakeLayoutDrawPlan(const LayoutDocument& doc) {
    LayoutDrawPlan plan;
    plan.linked = ComputeHelixLinked(doc);
    plan.inTunnel = TunnelPieceIds(doc);
    plan.order = PieceDrawOrderFor(doc, plan.linked);
    plan.scenery = SceneryDrawOrderFor(doc);
    plan.rank.assign(doc.pieces.size(), LayoutDrawPlan::kNotDrawn);
    uint32_t rank = 0;
    for (size_t i : plan.order.low) plan.rank[i] = rank++;
    for (size_t i : plan.order.rest) plan.rank[i] = rank++;
    for (const Level& level : doc.levels)
        plan.levels.emplace(static_cast<int32_t>(level.id), &level);
    return plan;
}

void DrawLayoutPart(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view, wxSize client,
                    const LayoutDrawPart& part) {
    // Below zoom 0.2 a band is a few pixels wide and smoothing its edges costs half the paint;
    // such overviews are drawn without it (labels and dots are off there too).
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    const bool rough = gc && view.zoom < 0.2 && gc->GetAntialiasMode() != wxANTIALIAS_NONE;
    if (rough) gc->SetAntialiasMode(wxANTIALIAS_NONE);
    DrawLayoutContent(dc, doc, view, client, part);
    if (rough) gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
}

BoxMm PixelAreaToLayout(const ViewTransform& view, const wxRect& area, double slackPx) {
    BoxMm box;
    box.Add(view.ToLayoutX(area.x - slackPx), view.ToLayoutY(area.y - slackPx));
    box.Add(view.ToLayoutX(area.x + area.width + slackPx),
            view.ToLayoutY(area.y + area.height + slackPx));
    return box;
}

double DrawSlackPx(const ViewTransform& view) { return 40.0 + 40.0 * view.zoom; }

namespace {

// What one drawing of (part of) the layout works with, shared by its passes.
struct DrawScope {
    const LayoutDocument& doc;
    const ViewTransform& view;
    wxSize client;
    const LayoutDrawPart& part;
    const LayoutDrawPlan& plan;
    std::vector<wxRect> areas;  // window pixels: the whole client when the drawing names no areas
    // The layout area that may show anything inside each pixel area: labels, dots and pens reach
    // beyond the extents the index keeps.
    std::vector<BoxMm> areasMm;
    const LayoutIndex* index;  // null unless it matches the document

    bool Drawn(LayoutPass pass) const { return pass >= part.from && pass < part.to; }
    bool Meets(const BoxMm& box) const {
        for (const BoxMm& a : areasMm)
            if (a.Meets(box)) return true;
        return false;
    }
    bool SceneryShown(size_t i) const {
        return !index || (i < index->SceneryCount() && Meets(index->SceneryBox(i)));
    }
};

// Background, baseboard, decks and grid.
void DrawGroundPass(wxDC& dc, const DrawScope& s) {
    dc.SetBackground(wxBrush(wxColour(255, 255, 255)));
    if (s.part.areas.empty()) {
        dc.Clear();
    } else {
        dc.SetBrush(wxBrush(wxColour(255, 255, 255)));
        dc.SetPen(*wxTRANSPARENT_PEN);
        for (const wxRect& a : s.areas) dc.DrawRectangle(a);
    }
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const bool board = s.doc.baseboardShown && s.doc.baseboard.size() >= 3;
    if (board) DrawBaseboard(dc, s.doc, s.view);
    DrawDecks(dc, s.doc, s.view);
    if (s.part.pictures) s.part.pictures->Draw(dc, s.doc, s.view, s.client, s.areas);
    DrawGrid(dc, s.doc, s.view, s.client, s.part.paper);
    if (board) DrawBaseboardEdges(dc, s.doc, s.view);
}

void DrawSceneryPass(wxDC& dc, const DrawScope& s, const std::vector<size_t>& items) {
    for (size_t i : items)
        if (s.SceneryShown(i)) DrawSceneryItem(dc, s.doc.scenery[i], s.view);
}

void DrawHelixPass(wxDC& dc, const DrawScope& s) {
    for (const Helix& helix : s.doc.helices) {
        const HelixVariant* variant = HelixVariantFor(helix);
        if (!variant) continue;
        const double r = variant->radiusOuter + 40.0;
        if (!s.Meets(BoxMm{helix.x - r, helix.y - r, helix.x + r, helix.y + r})) continue;
        DrawHelix(dc, s.doc, helix, s.view);
    }
}

void DrawNotesPass(wxDC& dc, const DrawScope& s) {
    DrawGradeArrows(dc, s.doc, s.view, s.areas);
    DrawLabels(dc, s.doc, s.view, s.areas);
    DrawMeasurements(dc, s.doc, s.view, s.areas);
}

// The pieces of each track pass that may show in the areas, in drawing order.
struct PiecesToDraw {
    const std::vector<size_t>* low = nullptr;
    const std::vector<size_t>* rest = nullptr;
    std::vector<size_t> lowFound, restFound;  // what the index found
};

void FindPieces(const DrawScope& s, PiecesToDraw& out) {
    out.low = &s.plan.order.low;
    out.rest = &s.plan.order.rest;
    if (!s.index) return;
    // The index finds every piece the on-screen test lets through (and some more), so the
    // pieces drawn, and the order their band colours come up in, do not depend on it.
    const double slack = DrawSlackPx(s.view);
    const double reach = std::max(slack, (s.plan.order.longestMm + 40) * s.view.zoom + 40);
    std::vector<std::pair<uint32_t, size_t>> found;
    for (const wxRect& a : s.areas)
        for (size_t i : s.index->PiecesIn(PixelAreaToLayout(s.view, a, reach)))
            if (i < s.plan.rank.size() && s.plan.rank[i] != LayoutDrawPlan::kNotDrawn)
                found.emplace_back(s.plan.rank[i], i);
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    const uint32_t lowCount = static_cast<uint32_t>(s.plan.order.low.size());
    for (const auto& [rank, i] : found)
        (rank < lowCount ? out.lowFound : out.restFound).push_back(i);
    out.low = &out.lowFound;
    out.rest = &out.restFound;
}

// A turnout's or uncoupler's accessory address, beside the middle of the piece ("A 5", "A 5-6").
void DrawAddress(wxDC& dc, const LayoutDocument& doc, const PlacedPiece& piece,
                 const ViewTransform& view) {
    const std::string address = AddressFieldText(doc, piece.id);
    if (address.empty()) return;
    const PieceDef* def = TrackCatalog::Instance().Find(piece.article);
    if (!def) return;
    dc.SetFont(ViewFont(view, ArticlePointSize(view.ScreenZoom()), true));
    const wxColour ink(150, 40, 130);
    // TRANSLATORS: an accessory address beside its turnout on the canvas, e.g. "A 12".
    const wxString text = wxString::Format(_("A %s"), wxString::FromUTF8(address));
    const wxSize size = TextExtent(dc, text, ink);
    const wxPoint m = Px(view, PieceMidpoint(piece, *def));
    DrawTextAt(dc, text, m.x - size.x / 2, m.y + size.y / 2 + view.Px(2), ink);
}

// Draws the track of one pass: pieces with wide bands in full at once; thin bands and the route
// lines of pieces a few pixels long gathered by colour and stroked at the end of the pass; then
// the marks and labels of the thin pieces, over their bands.
class PiecePass {
public:
    PiecePass(wxDC& dc, const DrawScope& s) : dc(dc), s(s), thin(dc) {}

    // `order`: the band colours' order to follow or, with recordBands, to record.
    void Draw(const std::vector<size_t>& indices, std::vector<ThinBandKey>* order) {
        if (order && !s.part.recordBands) thin.Seed(*order);
        const TrackCatalog& catalog = TrackCatalog::Instance();
        // Most pieces of a big layout lie off screen: their start point is tested before the
        // catalog is asked for their size.
        const double farPx = (s.plan.order.longestMm + 40.0) * s.view.zoom + 40.0;
        for (size_t i : indices) {
            const PlacedPiece& p = s.doc.pieces[i];
            if (!NearAreas(p, farPx)) continue;
            const PieceDef* def = catalog.Find(p.article);
            if (!def || !PieceOnScreen(p, *def, s.view, s.areas)) continue;
            const PieceLook look = LookOf(p);
            if (DrawnAsRouteLines(*def, s.view.zoom)) {
                const PieceColours colours = PieceColoursFor(p, *def, look);
                routePoints.clear();
                routeStarts.clear();
                PlaceRouteLines(RouteLinesOf(*def), p, routePoints, routeStarts);
                thin.AddLines(routePoints, routeStarts,
                              ThinBandColour(colours.fill, colours.outline, look.selected),
                              BandLineWidthPx(BandHalfWidth(*def), s.view.zoom), s.view);
            } else if (!BandDrawnAsLine(BandHalfWidth(*def), s.view.zoom)) {
                DrawPiece(dc, p, *def, s.view, look, s.doc.labelsShown);
            } else {
                DrawThinPiece(dc, thin, p, *def, s.view, look);
                if (HasDetails(*def, s.view, s.doc.labelsShown)) details.push_back({&p, def, look});
            }
        }
        thin.Flush();
        for (const Deferred& d : details)
            DrawPieceDetails(dc, *d.piece, *d.def, s.view, d.look, s.doc.labelsShown);
        details.clear();
        if (s.doc.labelsShown && s.view.ScreenZoom() >= 0.2 && !s.doc.control.addresses.empty())
            for (size_t i : indices) DrawAddress(dc, s.doc, s.doc.pieces[i], s.view);
        if (order && s.part.recordBands) *order = thin.Keys();
    }

private:
    struct Deferred {
        const PlacedPiece* piece;
        const PieceDef* def;
        PieceLook look;
    };

    bool NearAreas(const PlacedPiece& p, double farPx) const {
        const double px = p.x * s.view.zoom + s.view.offsetX;
        const double py = p.y * s.view.zoom + s.view.offsetY;
        return Visible(s.areas, px - farPx, py - farPx, px + farPx, py + farPx);
    }

    PieceLook LookOf(const PlacedPiece& p) const {
        PieceLook look;
        look.selected = p.selected;
        look.inTunnel = !s.plan.inTunnel.empty() && s.plan.inTunnel.count(p.id) > 0;
        look.helixLinked = !s.plan.linked.all.empty() && s.plan.linked.all.count(p.id) > 0;
        auto level = s.plan.levels.find(p.level);
        look.level = level == s.plan.levels.end() ? nullptr : level->second;
        return look;
    }

    wxDC& dc;
    const DrawScope& s;
    // Bands of one colour are stroked together, the colours in the order they first came up in
    // the pass; a drawing of part of the area keeps the order the whole drawing found.
    ThinBands thin;
    std::vector<Deferred> details;
    std::vector<PointMm> routePoints;  // one piece's route lines, reused piece after piece
    std::vector<uint32_t> routeStarts;
};

void DrawLayoutContent(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view,
                       wxSize client, const LayoutDrawPart& part) {
    LayoutDrawPlan ownPlan;
    if (!part.plan) ownPlan = MakeLayoutDrawPlan(doc);
    DrawScope s{
        doc,
        view,
        client,
        part,
        part.plan ? *part.plan : ownPlan,
        part.areas.empty() ? std::vector<wxRect>{wxRect(wxPoint(0, 0), client)} : part.areas,
        {},
        part.index && part.index->Matches(doc) ? part.index : nullptr};
    const double slack = DrawSlackPx(view);
    for (const wxRect& a : s.areas) s.areasMm.push_back(PixelAreaToLayout(view, a, slack));

    if (s.Drawn(LayoutPass::Ground)) DrawGroundPass(dc, s);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    if (s.Drawn(LayoutPass::Scenery)) DrawSceneryPass(dc, s, s.plan.scenery.items);
    const bool lowDrawn = s.Drawn(LayoutPass::LowPieces), restDrawn = s.Drawn(LayoutPass::Pieces);
    PiecesToDraw pieces;
    if (lowDrawn || restDrawn) FindPieces(s, pieces);
    PiecePass track(dc, s);
    LayoutBandOrder* bands = part.bandOrder;
    if (lowDrawn) track.Draw(*pieces.low, bands ? &bands->low : nullptr);
    if (s.Drawn(LayoutPass::Helices)) DrawHelixPass(dc, s);
    if (restDrawn) track.Draw(*pieces.rest, bands ? &bands->rest : nullptr);
    if (s.Drawn(LayoutPass::Portals)) DrawSceneryPass(dc, s, s.plan.scenery.portals);
    if (s.Drawn(LayoutPass::Notes)) DrawNotesPass(dc, s);
}

}  // namespace
