// The canvas's picture: full paints, the layout kept while a gesture runs, repaints of only the
// overlays or the moved objects, and panning by shifting what is already drawn.
#include <cairo.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "canvas/LayoutGeometry.h"
#include "canvas/gui/CanvasPanel.h"
#include "catalog/HelixVariants.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"

namespace {

constexpr int kRulerPx = 20;
// The rulers with their labels, which may reach past the 20-pixel bands (the left ruler's labels
// start at its left edge and run to the right).
constexpr int kRulerBandPx = 64;
constexpr int kLeftBandPx = 48;
constexpr int kTopBandPx = 24;

void Include(wxRect& into, const wxRect& r) {
    if (r.IsEmpty()) return;
    into = into.IsEmpty() ? r : into.Union(r);
}

// The window pixels a layout box covers, widened by slack.
wxRect BoxPixels(const ViewTransform& view, const BoxMm& box, double slack) {
    if (box.Empty()) return {};
    const double x0 = box.x0 * view.zoom + view.offsetX - slack;
    const double y0 = box.y0 * view.zoom + view.offsetY - slack;
    const double x1 = box.x1 * view.zoom + view.offsetX + slack;
    const double y1 = box.y1 * view.zoom + view.offsetY + slack;
    // Far off-window boxes are cut down before they become integers.
    auto clamp = [](double v) { return static_cast<int>(std::clamp(v, -1e6, 1e6)); };
    const int l = clamp(std::floor(x0)), t = clamp(std::floor(y0));
    return wxRect(l, t, clamp(std::ceil(x1)) - l + 1, clamp(std::ceil(y1)) - t + 1);
}

// Moves the picture's pixels by (dx, dy) where they lie, without a second picture to copy
// through: what moves out is lost and what is uncovered keeps its old pixels. False when the
// picture's pixels cannot be reached that way (nothing is moved then).
bool ShiftPixels(wxBitmap& bitmap, int dx, int dy) {
    wxMemoryDC dc(bitmap);
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    if (!gc || !gc->GetRenderer() || gc->GetRenderer()->GetName() != "cairo") return false;
    cairo_t* cr = static_cast<cairo_t*>(gc->GetNativeContext());
    cairo_surface_t* surface = cr ? cairo_get_target(cr) : nullptr;
    if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return false;
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const int bytesPerPixel = cairo_image_surface_get_format(surface) == CAIRO_FORMAT_RGB24 ||
                                      cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32
                                  ? 4
                                  : 0;
    if (bytesPerPixel == 0 || w != bitmap.GetWidth() || h != bitmap.GetHeight()) return false;
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    if (!data) return false;
    const int stride = cairo_image_surface_get_stride(surface);
    const int cols = w - std::abs(dx), rows = h - std::abs(dy);
    if (cols > 0 && rows > 0) {
        const int fromX = std::max(-dx, 0), toX = std::max(dx, 0);
        // Rows are moved away from the side they move towards first, so none is overwritten
        // before it has moved.
        for (int k = 0; k < rows; ++k) {
            const int row = dy > 0 ? rows - 1 - k : k;
            const int fromY = row + std::max(-dy, 0), toY = row + std::max(dy, 0);
            std::memmove(data + static_cast<size_t>(toY) * stride + toX * bytesPerPixel,
                         data + static_cast<size_t>(fromY) * stride + fromX * bytesPerPixel,
                         static_cast<size_t>(cols) * bytesPerPixel);
        }
    }
    cairo_surface_mark_dirty(surface);
    return true;
}

// Where the ghosts are drawn: the chain to close a gap, the piece, scenery or helix being
// placed.
wxRect GhostBounds(const CanvasOverlays& o, const ViewTransform& view) {
    wxRect r;
    const auto includePiece = [&](const std::string& article, double x, double y, double heading) {
        const PieceDef* def = TrackCatalog::Instance().Find(article);
        if (!def) return;
        PlacedPiece ghost;
        ghost.x = x;
        ghost.y = y;
        ghost.heading = heading;
        Include(r, BoxPixels(view, PieceExtent(ghost, *def), DrawSlackPx(view)));
    };
    for (const GhostPiece& g : o.chainGhost) includePiece(g.article, g.x, g.y, g.heading);
    if (o.pieceGhost) includePiece(o.ghostArticle, o.ghostX, o.ghostY, o.ghostHeading);
    if (o.sceneryGhost) {
        if (const SceneryDef* def = SceneryCatalog::Instance().Find(o.ghostScenery)) {
            BoxMm box;
            for (const PointMm& p :
                 SceneryFootprint(*def, {o.sceneryGhostX, o.sceneryGhostY, o.sceneryGhostHeading,
                                         o.sceneryGhostScaleX, o.sceneryGhostScaleY}))
                box.Add(p.x, p.y);
            Include(r, BoxPixels(view, box, 4));
        }
    }
    if (o.helixGhost) {
        const HelixVariant* v = FindHelixVariant(o.ghostHelixVariant);
        if (!v) v = FindHelixVariant(DefaultHelixVariantId());
        const double radius = v ? std::max(v->radiusInner, v->radiusOuter) : 0;
        Include(r, BoxPixels(view,
                             BoxMm{o.helixGhostX - radius, o.helixGhostY - radius,
                                   o.helixGhostX + radius, o.helixGhostY + radius},
                             12));
    }
    return r;
}

}  // namespace

void CanvasPanel::Refresh(bool eraseBackground, const wxRect* rect) {
    if (!ownRefresh) {
        pictureValid = underValid = planValid = indexValid = false;
    }
    wxPanel::Refresh(eraseBackground, rect);
}

void CanvasPanel::RefreshView() {
    pictureValid = underValid = false;
    wxPanel::Refresh();
}

void CanvasPanel::RefreshArea(const wxRect& area) {
    const wxRect r = area.Intersect(wxRect(wxPoint(0, 0), GetClientSize()));
    if (r.IsEmpty()) return;
    ownRefresh = true;
    RefreshRect(r, false);
    ownRefresh = false;
}

const LayoutIndex& CanvasPanel::Index() { return MutableIndex(); }

LayoutIndex& CanvasPanel::MutableIndex() {
    if (!indexValid || !index.Matches(Document())) {
        index.Rebuild(Document());
        indexValid = true;
    }
    return index;
}

const LayoutDrawPlan& CanvasPanel::Plan() {
    if (!planValid || plan.rank.size() != Document().pieces.size()) {
        plan = MakeLayoutDrawPlan(Document());
        planValid = true;
    }
    return plan;
}

void CanvasPanel::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (!PictureCurrent()) DrawPicture();
    UpdateGradeStatus();
    if (picture.IsOk()) dc.DrawBitmap(picture, 0, 0);
}

void CanvasPanel::PaintTo(wxDC& dc, int width, int height) {
    const LayoutDocument& doc = Document();
    const wxSize client(width, height);
    LayoutDrawPart part;
    // A whole picture visits every piece anyway: it uses the index when it is up to date but
    // does not wait for it to be built after an edit (a gesture builds it when it needs it).
    part.index = indexValid && index.Matches(doc) ? &index : nullptr;
    part.plan = &Plan();
    part.pictures = &pictureLayer;
    DrawLayoutPart(dc, doc, view, client, part);
    DrawRulers(dc, doc.units, view, client);
    DrawResizeHandles(dc, doc, view);
    UpdateGradeStatus();
    DrawOverlays(dc, doc, Overlays(), view);
}

bool CanvasPanel::PictureCurrent() const {
    return pictureValid && picture.IsOk() && picture.GetSize() == GetClientSize() &&
           pictureView == view;
}

void CanvasPanel::DrawPicture() {
    const wxSize size = GetClientSize();
    const wxSize bitmapSize(std::max(size.x, 1), std::max(size.y, 1));
    if (!picture.IsOk() || picture.GetSize() != bitmapSize) picture.Create(bitmapSize, 24);
    {
        wxMemoryDC dc(picture);
        PaintTo(dc, size.x, size.y);
    }
    pictureValid = true;
    pictureView = view;
    underValid = false;
    overlayArea = OverlayBounds();
}

bool CanvasPanel::PrepareUnder(LayoutPass from, bool forMove) {
    if (underValid && underFrom == from && underForMove == forMove && PictureCurrent() &&
        under.GetSize() == picture.GetSize())
        return true;
    const wxSize size = GetClientSize();
    const wxSize bitmapSize(std::max(size.x, 1), std::max(size.y, 1));
    if (!under.IsOk() || under.GetSize() != bitmapSize) under.Create(bitmapSize, 24);
    {
        wxMemoryDC dc(under);
        LayoutDrawPart part;
        part.to = from;
        part.index = &Index();
        part.plan = &Plan();
        part.pictures = &pictureLayer;
        DrawLayoutPart(dc, Document(), view, size, part);
        if (from == LayoutPass::End) {
            DrawRulers(dc, Document().units, view, size);
            DrawResizeHandles(dc, Document(), view);
        }
    }
    underValid = true;
    underFrom = from;
    underForMove = forMove;
    // Until the first composition the picture is made whole from the kept layout.
    if (!picture.IsOk() || picture.GetSize() != bitmapSize) picture.Create(bitmapSize, 24);
    ComposeArea(wxRect(wxPoint(0, 0), size));
    pictureValid = true;
    pictureView = view;
    return false;
}

void CanvasPanel::ComposeArea(const wxRect& areaIn) {
    const wxSize size = GetClientSize();
    const wxRect area = areaIn.Intersect(wxRect(wxPoint(0, 0), size));
    if (area.IsEmpty()) return;
    ComposeOnScratch({area}, underFrom);
}

void CanvasPanel::ComposeOnScratch(const std::vector<wxRect>& areas, LayoutPass from) {
    const wxSize size = GetClientSize();
    const bool whole = areas.size() == 1 && areas[0] == wxRect(wxPoint(0, 0), size);
    bool nearRulers = false;
    for (const wxRect& a : areas) nearRulers |= a.x < kRulerBandPx || a.y < kRulerBandPx;
    const LayoutDocument& doc = Document();
    // The area is drawn on a scratch picture without clipping (a clipped stroke or fill may round
    // its edge pixels differently) and only the area is copied into the picture.
    if (!scratch.IsOk() || scratch.GetSize() != picture.GetSize())
        scratch.Create(picture.GetSize(), 24);
    {
        wxMemoryDC dc(scratch);
        if (from != LayoutPass::Ground) {
            wxMemoryDC src(under);
            for (const wxRect& a : areas) dc.Blit(a.x, a.y, a.width, a.height, &src, a.x, a.y);
        }
        if (from != LayoutPass::End) {
            LayoutDrawPart part;
            part.from = from;
            part.areas = areas;
            part.index = &Index();
            part.plan = &Plan();
            // A pan strip is drawn as a fresh picture; a gesture's area keeps the band order of
            // the picture it was cut from.
            part.bandOrder = from == LayoutPass::Ground ? nullptr : &bandOrder;
            part.recordBands = whole;
            part.pictures = &pictureLayer;
            DrawLayoutPart(dc, doc, view, size, part);
            if (nearRulers) DrawRulers(dc, doc.units, view, size);
            DrawResizeHandles(dc, doc, view);
        }
        DrawOverlays(dc, doc, Overlays(), view);
    }
    wxMemoryDC dc(picture);
    wxMemoryDC src(scratch);
    for (const wxRect& a : areas) dc.Blit(a.x, a.y, a.width, a.height, &src, a.x, a.y);
}

wxRect CanvasPanel::OverlayBounds() {
    const CanvasOverlays o = Overlays();
    const LayoutDocument& doc = Document();
    wxRect r;
    if (!o.wiring.Empty()) Include(r, wxRect(wxPoint(0, 0), GetClientSize()));
    if (o.rubberBand) {
        Include(r, wxRect(wxPoint(std::min(o.bandX0, o.bandX1), std::min(o.bandY0, o.bandY1)),
                          wxPoint(std::max(o.bandX0, o.bandX1), std::max(o.bandY0, o.bandY1)))
                       .Inflate(3));
    }
    if (o.tape) {
        const wxPoint a = LayoutToScreen(o.tapeX, o.tapeY);
        const wxPoint b(o.tapeMouseX, o.tapeMouseY);
        Include(r, wxRect(wxPoint(std::min(a.x, b.x), std::min(a.y, b.y)),
                          wxPoint(std::max(a.x, b.x), std::max(a.y, b.y)))
                       .Inflate(8));
        Include(r, wxRect(b.x, b.y - 40, 260, 80));  // the boxed length beside the pointer
    }
    if (o.snapTarget) {
        const wxPoint c = LayoutToScreen(o.snapX, o.snapY);
        Include(r, wxRect(c.x - 12, c.y - 12, 25, 25));
    }
    Include(r, GhostBounds(o, view));
    if (o.rotation) Include(r, wxRect(wxPoint(0, 0), GetClientSize()));
    for (const wxRect& box : TrainsOverlayPixels(o.trains, view)) Include(r, box);
    (void)doc;
    return r.Intersect(wxRect(wxPoint(0, 0), GetClientSize()));
}

void CanvasPanel::RefreshOverlays() {
    if (!PrepareUnder(LayoutPass::End, false)) {
        overlayArea = OverlayBounds();
        RefreshArea(wxRect(wxPoint(0, 0), GetClientSize()));
        return;
    }
    const wxRect now = OverlayBounds();
    wxRect area = overlayArea;
    Include(area, now);
    ComposeArea(area);
    overlayArea = now;
    RefreshArea(area);
}

wxRect CanvasPanel::MovedBounds() {
    const LayoutDocument& doc = Document();
    LayoutIndex& idx = MutableIndex();
    const double slack = DrawSlackPx(view);
    wxRect r;
    for (size_t i : movingPieces) {
        idx.UpdatePiece(doc, i);
        Include(r, BoxPixels(view, idx.PieceBox(i), slack));
    }
    for (size_t i : movingScenery) {
        idx.UpdateScenery(doc, i);
        Include(r, BoxPixels(view, idx.SceneryBox(i), slack));
    }
    for (uint32_t id : movingHelices) {
        const Helix* helix = doc.FindHelix(id);
        const HelixVariant* v = helix ? HelixVariantFor(*helix) : nullptr;
        if (!v) continue;
        const double radius = v->radiusOuter + 40.0;
        Include(r, BoxPixels(view,
                             BoxMm{helix->x - radius, helix->y - radius, helix->x + radius,
                                   helix->y + radius},
                             slack));
    }
    // A grade arrow stands on its anchor piece and moves with it.
    for (const GradeRun& run : doc.gradeRuns) {
        GradeArrow arrow;
        if (!GradeArrowFor(doc, run, arrow)) continue;
        for (size_t i : movingPieces) {
            if (static_cast<int64_t>(doc.pieces[i].id) != run.anchorPiece) continue;
            BoxMm box;
            box.Add(arrow.start.x, arrow.start.y);
            box.Add(arrow.end.x, arrow.end.y);
            Include(r, BoxPixels(view, box, 130 + 30 * view.zoom));
        }
    }
    return r.Intersect(wxRect(wxPoint(0, 0), GetClientSize()));
}

void CanvasPanel::RefreshMoved() {
    const LayoutDocument& doc = Document();
    const bool ready = underValid && underForMove && PictureCurrent() && Index().Matches(doc);
    if (!ready) {
        // What moves is what is selected: it and everything drawn after it is drawn again
        // in the areas it leaves and enters; the passes before it are kept.
        const LayoutDrawPlan& p = Plan();
        movingPieces.clear();
        movingScenery.clear();
        movingHelices.clear();
        LayoutPass from = LayoutPass::End;
        for (size_t i = 0; i < doc.pieces.size(); ++i) {
            const PlacedPiece& piece = doc.pieces[i];
            if (!piece.selected) continue;
            movingPieces.push_back(i);
            const bool low = p.rank[i] < p.order.low.size();
            from = std::min(from, low ? LayoutPass::LowPieces : LayoutPass::Pieces);
            if (piece.helixId != kNoId && std::find(movingHelices.begin(), movingHelices.end(),
                                                    piece.helixId) == movingHelices.end()) {
                movingHelices.push_back(piece.helixId);
                from = std::min(from, LayoutPass::Helices);
            }
            for (const GradeRun& run : doc.gradeRuns)
                if (run.anchorPiece == static_cast<int64_t>(piece.id))
                    from = std::min(from, LayoutPass::Notes);
        }
        for (size_t i : p.scenery.items)
            if (doc.scenery[i].selected) {
                movingScenery.push_back(i);
                from = std::min(from, LayoutPass::Scenery);
            }
        for (size_t i : p.scenery.portals)
            if (doc.scenery[i].selected) {
                movingScenery.push_back(i);
                from = std::min(from, LayoutPass::Portals);
            }
        if (from == LayoutPass::End) from = LayoutPass::Notes;
        MovedBounds();  // brings the index up to the moved positions first
        PrepareUnder(from, true);
        movedArea = MovedBounds();
        overlayArea = OverlayBounds();
        RefreshArea(wxRect(wxPoint(0, 0), GetClientSize()));
        return;
    }
    const wxRect moved = MovedBounds();
    const wxRect over = OverlayBounds();
    wxRect area = movedArea;
    Include(area, overlayArea);
    Include(area, moved);
    Include(area, over);
    ComposeArea(area);
    movedArea = moved;
    overlayArea = over;
    RefreshArea(area);
}

void CanvasPanel::RefreshPanned() {
    const wxSize size = GetClientSize();
    const double ddx = view.offsetX - pictureView.offsetX;
    const double ddy = view.offsetY - pictureView.offsetY;
    const int sx = static_cast<int>(std::lround(ddx)), sy = static_cast<int>(std::lround(ddy));
    const CanvasOverlays o = Overlays();
    const bool overlaysShown = o.rubberBand || o.tape || o.snapTarget || o.pieceGhost ||
                               o.sceneryGhost || o.helixGhost || o.rotation ||
                               !o.findingRings.empty() || !o.chainGhost.empty() ||
                               !o.trains.Empty() || !o.wiring.Empty();
    // Only a plain shift of a picture already drawn at this zoom can be reused.
    const bool shift = pictureValid && picture.IsOk() && picture.GetSize() == size &&
                       view.zoom == pictureView.zoom && std::fabs(ddx - sx) < 1e-6 &&
                       std::fabs(ddy - sy) < 1e-6 && std::abs(sx) < size.x - kRulerPx &&
                       std::abs(sy) < size.y - kRulerPx && !overlaysShown &&
                       !ResizableSelection(Document());
    if (!shift) {
        RefreshView();
        return;
    }
    if (sx == 0 && sy == 0) return;
    if (!ShiftPixels(picture, sx, sy)) {
        if (!scratch.IsOk() || scratch.GetSize() != picture.GetSize())
            scratch.Create(picture.GetSize(), 24);
        {
            wxMemoryDC to(scratch);
            wxMemoryDC from(picture);
            to.Blit(sx, sy, size.x, size.y, &from, 0, 0);
        }
        std::swap(picture, scratch);
    }
    pictureView = view;
    underValid = false;
    // The strips the shift uncovered, and the ruler bands with the labels that spill out of
    // them, are drawn again whole.
    std::vector<wxRect> strips;
    strips.emplace_back(0, 0, kLeftBandPx + std::max(sx, 0), size.y);
    strips.emplace_back(0, 0, size.x, kTopBandPx + std::max(sy, 0));
    if (sx < 0) strips.emplace_back(size.x + sx, 0, -sx, size.y);
    if (sy < 0) strips.emplace_back(0, size.y + sy, size.x, -sy);
    ComposeOnScratch(strips, LayoutPass::Ground);
    RefreshArea(wxRect(wxPoint(0, 0), size));
}

void CanvasPanel::SetTrainsOverlay(TrainsOverlay overlay) {
    const std::vector<wxRect> before = TrainsOverlayPixels(trains, view);
    // A detection section lit or put out may lie far from the trains: all is drawn again then.
    const bool litChanged = !wiring.Empty() &&
                            OccupiedDetectionLines(wiring, trains.occupied) !=
                                OccupiedDetectionLines(wiring, overlay.occupied);
    trains = std::move(overlay);
    if (litChanged || !PrepareUnder(LayoutPass::End, false)) {
        overlayArea = OverlayBounds();
        RefreshArea(wxRect(wxPoint(0, 0), GetClientSize()));
        return;
    }
    // Where a vehicle was and where it is now, each train's boxes merged where they touch.
    std::vector<wxRect> areas = TrainsOverlayPixels(trains, view);
    areas.insert(areas.end(), before.begin(), before.end());
    const wxRect client(wxPoint(0, 0), GetClientSize());
    std::vector<wxRect> merged;
    for (wxRect a : areas) {
        a = a.Intersect(client);
        if (a.IsEmpty()) continue;
        for (bool grown = true; grown;) {
            grown = false;
            for (size_t i = 0; i < merged.size(); ++i) {
                if (!merged[i].Intersects(wxRect(a).Inflate(4))) continue;
                a = a.Union(merged[i]);
                merged.erase(merged.begin() + static_cast<std::ptrdiff_t>(i));
                grown = true;
                break;
            }
        }
        merged.push_back(a);
    }
    if (merged.empty()) return;
    ComposeOnScratch(merged, underFrom);
    overlayArea = OverlayBounds();
    for (const wxRect& a : merged) RefreshArea(a);
}
