// Drawing of the layout and of the editing overlays into any device context.
#include "canvas/gui/LayoutRenderer.h"
#include "canvas/gui/PictureLayer.h"

#include <cairo.h>
#include <wx/dc.h>
#include <wx/graphics.h>
#include <wx/image.h>
#include <wx/intl.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <tuple>

#include "canvas/LayoutIndex.h"
#include "canvas/PixelLines.h"
#include "canvas/RouteLines.h"
#include "trackgeometry/Units.h"
#include "catalog/HelixVariants.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "control/AssignAddresses.h"
#include "model/LayoutDocument.h"
#include "model/LayoutExtent.h"

namespace {

void DrawLayoutContent(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view,
                       wxSize client, const LayoutDrawPart& part);
bool Visible(const std::vector<wxRect>& areas, double x0, double y0, double x1, double y1);
void DrawPieceDetails(wxDC& dc, const PlacedPiece& piece, const PieceDef& def,
                      const ViewTransform& view, const PieceLook& look, bool labelsShown);

wxColour Colour(Rgb c) { return wxColour(c.r, c.g, c.b); }
wxColour Colour(SceneryColor c) { return wxColour(c.r, c.g, c.b, c.a); }

wxPoint Px(const ViewTransform& view, PointMm p) {
    return wxPoint(view.ToPixelX(p.x), view.ToPixelY(p.y));
}

// Consecutive points that land on the same pixel are dropped: a curve band of 40-odd points
// shrinks to a handful at small zoom, which draws the same pixels in a fraction of the time.
std::vector<wxPoint> Px(const ViewTransform& view, const std::vector<PointMm>& pts) {
    std::vector<wxPoint> out;
    out.reserve(pts.size());
    for (const PointMm& p : pts) {
        const wxPoint q = Px(view, p);
        if (out.empty() || q != out.back()) out.push_back(q);
    }
    if (out.size() < 3 && pts.size() >= 3) {
        out.clear();
        for (const PointMm& p : pts) out.push_back(Px(view, p));
    }
    return out;
}

// Fonts are costly to create and a paint needs only a handful of sizes.
const wxFont& Font(int pointSize, bool bold) {
    static std::map<std::pair<int, bool>, wxFont> cache;
    auto key = std::make_pair(pointSize, bold);
    auto it = cache.find(key);
    if (it == cache.end()) {
        it = cache
                 .emplace(key, wxFont(pointSize, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL,
                                      bold ? wxFONTWEIGHT_BOLD : wxFONTWEIGHT_NORMAL))
                 .first;
    }
    return it->second;
}

// A font for text of pointSize points as the screen shows it. On paper it is given by its height
// in device pixels, which printer and preview contexts scale like every other length; a point
// size would follow the context's own idea of a point instead.
wxFont ViewFont(const ViewTransform& view, int pointSize, bool bold) {
    if (view.pixelScale == 1) return Font(pointSize, bold);
    wxFontInfo info(wxSize(0, FontPixelHeight(pointSize, view.pixelScale)));
    return wxFont(info.Family(wxFONTFAMILY_DEFAULT).Bold(bold));
}

// Band outlines are thin: mitred corners look the same as round ones there and stroke in
// three quarters of the time.
wxPen OutlinePen(Rgb colour, int width) {
    wxPen pen(Colour(colour), width);
    pen.SetJoin(wxJOIN_MITER);
    pen.SetCap(wxCAP_BUTT);
    return pen;
}

void DrawShapes(wxDC& dc, const std::vector<PieceShape>& shapes, const ViewTransform& view) {
    for (const PieceShape& s : shapes) {
        const bool band =
            s.type == PieceShape::Type::Polygon || s.type == PieceShape::Type::Polyline;
        dc.SetPen(!s.stroked ? *wxTRANSPARENT_PEN
                  : band     ? OutlinePen(s.pen, s.penWidth)
                             : wxPen(Colour(s.pen), s.penWidth));
        dc.SetBrush(s.filled ? wxBrush(Colour(s.fill)) : *wxTRANSPARENT_BRUSH);
        switch (s.type) {
            case PieceShape::Type::Polygon: {
                const std::vector<wxPoint> pts = Px(view, s.points);
                dc.DrawPolygon(static_cast<int>(pts.size()), pts.data());
                break;
            }
            case PieceShape::Type::Polyline: {
                const std::vector<wxPoint> pts = Px(view, s.points);
                dc.DrawLines(static_cast<int>(pts.size()), pts.data());
                break;
            }
            case PieceShape::Type::Line:
                dc.DrawLine(Px(view, s.points[0]), Px(view, s.points[1]));
                break;
            case PieceShape::Type::Circle: {
                const int r = s.radiusMm > 0 ? view.ToPixels(s.radiusMm) : s.radiusPx;
                dc.DrawCircle(Px(view, s.points[0]), r);
                break;
            }
        }
    }
}

// The pixels a smoothing-free drawing writes, when the context draws with cairo into an image in
// memory at one pixel per unit with at most a rectangular clip (the canvas's pictures); none for
// anything else (printers, PDF pages, scaled contexts), which stroke their lines as paths.
std::optional<PixelTarget> DirectPixels(wxGraphicsContext* gc) {
    if (!gc || gc->GetAntialiasMode() != wxANTIALIAS_NONE || !gc->GetRenderer() ||
        gc->GetRenderer()->GetName() != "cairo")
        return std::nullopt;
    cairo_t* cr = static_cast<cairo_t*>(gc->GetNativeContext());
    cairo_surface_t* surface = cr ? cairo_get_target(cr) : nullptr;
    if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE)
        return std::nullopt;
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) return std::nullopt;
    double ox = 0, oy = 0, ux = 1, uy = 1;
    cairo_user_to_device(cr, &ox, &oy);
    cairo_user_to_device(cr, &ux, &uy);
    if (ux - ox != 1 || uy - oy != 1 || ox != std::floor(ox) || oy != std::floor(oy))
        return std::nullopt;
    PixelTarget t;
    t.width = cairo_image_surface_get_width(surface);
    t.height = cairo_image_surface_get_height(surface);
    t.stride = cairo_image_surface_get_stride(surface) / 4;
    t.originX = static_cast<int>(ox);
    t.originY = static_cast<int>(oy);
    t.clipX1 = t.width;
    t.clipY1 = t.height;
    cairo_rectangle_list_t* clip = cairo_copy_clip_rectangle_list(cr);
    const bool plain = clip->status == CAIRO_STATUS_SUCCESS && clip->num_rectangles <= 1;
    if (plain && clip->num_rectangles == 1) {
        const cairo_rectangle_t& r = clip->rectangles[0];
        t.clipX0 = std::max(0, static_cast<int>(std::ceil(r.x - 1e-9)) + t.originX);
        t.clipY0 = std::max(0, static_cast<int>(std::ceil(r.y - 1e-9)) + t.originY);
        t.clipX1 =
            std::min(t.width, static_cast<int>(std::floor(r.x + r.width + 1e-9)) + t.originX);
        t.clipY1 =
            std::min(t.height, static_cast<int>(std::floor(r.y + r.height + 1e-9)) + t.originY);
    } else if (plain) {
        t.clipX1 = t.clipY1 = 0;  // clipped away altogether
    }
    cairo_rectangle_list_destroy(clip);
    if (!plain) return std::nullopt;
    cairo_surface_flush(surface);
    t.pixels = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
    if (!t.pixels) return std::nullopt;
    return t;
}

// True when the context draws with cairo into an image in memory at one pixel per unit.
bool DrawsIntoMemoryImage(wxGraphicsContext* gc) {
    if (!gc || !gc->GetRenderer() || gc->GetRenderer()->GetName() != "cairo") return false;
    cairo_t* cr = static_cast<cairo_t*>(gc->GetNativeContext());
    cairo_surface_t* surface = cr ? cairo_get_target(cr) : nullptr;
    if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return false;
    double ox = 0, oy = 0, ux = 1, uy = 1;
    cairo_user_to_device(cr, &ox, &oy);
    cairo_user_to_device(cr, &ux, &uy);
    return ux - ox == 1 && uy - oy == 1;
}

// A text drawn once on a clear ground, copied wherever it goes again.
struct TextPicture {
    wxGraphicsBitmap bitmap;
    int width = 0;
    int height = 0;
};

// The picture of `text` in the dc's font and `ink`, or null where the dc needs the text itself
// (printers, PDF pages, scaled contexts). Laying text out costs many times more than copying its
// picture, and a repaint draws the same few ruler figures and article numbers again and again.
const TextPicture* TextPictureFor(wxDC& dc, const wxString& text, const wxColour& ink) {
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    if (!DrawsIntoMemoryImage(gc)) return nullptr;
    // The canvas's fonts differ only in size and weight.
    using Key = std::tuple<wxString, double, int, uint32_t>;
    static std::map<Key, TextPicture> pictures;
    if (pictures.size() > 2000) pictures.clear();  // what a long journey over the plan gathered
    const wxFont& font = dc.GetFont();
    Key key{text, font.GetFractionalPointSize(), font.GetNumericWeight(), ink.GetRGB()};
    auto it = pictures.find(key);
    if (it != pictures.end()) return &it->second;
    wxCoord w = 0, h = 0;
    dc.GetTextExtent(text, &w, &h);
    TextPicture picture;
    picture.width = std::max(w, 1);
    picture.height = std::max(h, 1);
    wxImage image(picture.width, picture.height);
    image.InitAlpha();
    std::fill_n(image.GetAlpha(), picture.width * picture.height, 0);
    {
        std::unique_ptr<wxGraphicsContext> g(wxGraphicsContext::Create(image));
        g->SetFont(font, ink);
        g->DrawText(text, 0, 0);
    }
    picture.bitmap = gc->CreateBitmap(wxBitmap(image, 32));
    return &pictures.emplace(std::move(key), std::move(picture)).first->second;
}

// A connector dot of radius r around (x, y): smoothing a circle costs many times more than
// copying the picture of one, and a close view shows hundreds of the same two dots.
void DrawDot(wxDC& dc, wxPoint at, int r, const wxColour& fill, const wxColour& pen) {
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    if (!DrawsIntoMemoryImage(gc)) {
        dc.SetBrush(wxBrush(fill));
        dc.SetPen(wxPen(pen, 1));
        dc.DrawCircle(at, r);
        return;
    }
    constexpr int kMargin = 2;
    using Key = std::tuple<int, uint32_t, uint32_t>;
    static std::map<Key, wxGraphicsBitmap> dots;
    if (dots.size() > 200) dots.clear();
    const Key key{r, fill.GetRGB(), pen.GetRGB()};
    auto it = dots.find(key);
    const int size = 2 * (r + kMargin);
    if (it == dots.end()) {
        wxImage image(size, size);
        image.InitAlpha();
        std::fill_n(image.GetAlpha(), size * size, 0);
        {
            std::unique_ptr<wxGraphicsContext> g(wxGraphicsContext::Create(image));
            g->SetBrush(wxBrush(fill));
            g->SetPen(wxPen(pen, 1));
            g->DrawEllipse(kMargin, kMargin, 2 * r, 2 * r);
        }
        it = dots.emplace(key, gc->CreateBitmap(wxBitmap(image, 32))).first;
    }
    gc->DrawBitmap(it->second, at.x - r - kMargin, at.y - r - kMargin, size, size);
}

// Text in the dc's font and `ink` with its top left at (x, y).
void DrawTextAt(wxDC& dc, const wxString& text, int x, int y, const wxColour& ink) {
    if (const TextPicture* picture = TextPictureFor(dc, text, ink)) {
        dc.GetGraphicsContext()->DrawBitmap(picture->bitmap, x, y, picture->width, picture->height);
        return;
    }
    dc.SetTextForeground(ink);
    dc.DrawText(text, x, y);
}

// The size `text` takes in the dc's font.
wxSize TextExtent(wxDC& dc, const wxString& text, const wxColour& ink) {
    if (const TextPicture* picture = TextPictureFor(dc, text, ink))
        return {picture->width, picture->height};
    wxCoord w = 0, h = 0;
    dc.GetTextExtent(text, &w, &h);
    return {w, h};
}

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

// Text centred on p inside a rounded box (baseboard dimensions, measurements, tape).
void DrawBoxedText(wxDC& dc, const wxString& text, wxPoint p, int padX, int padY,
                   const wxColour& box, const wxPen& pen, const wxColour& ink, int radius = 3) {
    wxCoord tw = 0, th = 0;
    dc.GetTextExtent(text, &tw, &th);
    dc.SetBrush(wxBrush(box));
    dc.SetPen(pen);
    dc.DrawRoundedRectangle(p.x - tw / 2 - padX, p.y - th / 2 - padY, tw + 2 * padX, th + 2 * padY,
                            radius);
    dc.SetTextForeground(ink);
    dc.DrawText(text, p.x - tw / 2, p.y - th / 2);
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

void DrawBaseboard(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view) {
    const std::vector<wxPoint> pts = Px(view, doc.baseboard);
    dc.SetBrush(wxBrush(Colour(kBaseboardFill)));
    dc.SetPen(wxPen(Colour(kBoardEdge), view.Px(2)));
    dc.DrawPolygon(static_cast<int>(pts.size()), pts.data());
}

void DrawBaseboardEdges(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view) {
    const std::vector<wxPoint> pts = Px(view, doc.baseboard);
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(Colour(kBoardEdge), view.Px(2)));
    dc.DrawPolygon(static_cast<int>(pts.size()), pts.data());
    dc.SetFont(ViewFont(view, 11, true));
    for (const EdgeLabel& label : BaseboardEdgeLabels(doc.baseboard, doc.units)) {
        DrawBoxedText(dc, wxString::FromUTF8(label.text), Px(view, label.at), view.Px(4),
                      view.Px(2), wxColour(255, 248, 220),
                      wxPen(wxColour(180, 140, 80), view.Px(1)), wxColour(80, 50, 20), view.Px(3));
    }
}

void DrawDecks(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view) {
    for (const Level* level : DeckLevels(doc)) {
        const std::vector<wxPoint> pts = Px(view, level->outline);
        dc.SetBrush(wxBrush(Colour(DeckFill(*level))));
        dc.SetPen(wxPen(Colour(kBoardEdge), view.Px(2)));
        dc.DrawPolygon(static_cast<int>(pts.size()), pts.data());
    }
}

void DrawSceneryItem(wxDC& dc, const SceneryItem& item, const ViewTransform& view) {
    const SceneryDef* def = SceneryCatalog::Instance().Find(item.item);
    if (!def) return;
    DrawScenery(dc, *def, {item.x, item.y, item.heading, item.scaleX, item.scaleY}, item.selected,
                view);
}

void DrawGradeArrows(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view,
                     const std::vector<wxRect>& area) {
    for (const GradeRun& run : doc.gradeRuns) {
        GradeArrow arrow;
        if (!GradeArrowFor(doc, run, arrow)) continue;
        // The arrow, its head and its text lie within about 100 pixels of its end.
        const wxPoint e = Px(view, arrow.end);
        if (!Visible(area, e.x - 100 - 30 * view.zoom, e.y - 100 - 30 * view.zoom,
                     e.x + 100 + 30 * view.zoom, e.y + 100 + 30 * view.zoom))
            continue;
        const wxColour c = Colour(arrow.colour);
        dc.SetPen(wxPen(c, view.Px(3)));
        dc.SetBrush(wxBrush(c));
        dc.DrawLine(Px(view, arrow.start), Px(view, arrow.end));
        const wxPoint head[3] = {Px(view, arrow.end), Px(view, arrow.headLeft),
                                 Px(view, arrow.headRight)};
        dc.DrawPolygon(3, head);
        if (view.ScreenZoom() >= 0.25) {
            dc.SetFont(ViewFont(view, GradePointSize(view.ScreenZoom()), true));
            dc.SetTextForeground(c);
            dc.DrawText(wxString::FromUTF8(arrow.text), head[0].x + view.Px(4),
                        head[0].y - view.Px(10));
        }
    }
}

void DrawLabels(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view,
                const std::vector<wxRect>& area) {
    const int pointSize = LabelPointSize(view.ScreenZoom());
    const double size = pointSize * view.pixelScale;  // the text's size in device pixels
    dc.SetFont(ViewFont(view, pointSize, true));
    for (const Label& label : doc.labels) {
        const wxPoint p = Px(view, PointMm{label.x, label.y});
        // A generous box for the text: every character at most two point sizes wide, lines
        // counted by their breaks.
        const double lines =
            1.0 + static_cast<double>(std::count(label.text.begin(), label.text.end(), '\n'));
        const double w = (static_cast<double>(label.text.size()) + 2) * size * 2;
        if (!Visible(area, p.x - 4, p.y - 4, p.x + w + 4, p.y + lines * size * 3 + 4)) continue;
        const wxString text = wxString::FromUTF8(label.text);
        dc.SetBackgroundMode(wxBRUSHSTYLE_SOLID);
        dc.SetTextBackground(wxColour(255, 255, 220, 200));
        dc.SetTextForeground(label.selected ? wxColour(40, 80, 200) : wxColour(20, 20, 20));
        dc.DrawText(text, p);
        dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        if (label.selected) {
            wxCoord tw = 0, th = 0;
            dc.GetTextExtent(text, &tw, &th);
            dc.SetPen(wxPen(wxColour(40, 80, 200), view.Px(1), wxPENSTYLE_DOT));
            dc.SetBrush(*wxTRANSPARENT_BRUSH);
            dc.DrawRectangle(p.x - view.Px(2), p.y - view.Px(2), tw + view.Px(4), th + view.Px(4));
        }
    }
}

void DrawMeasurements(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view,
                      const std::vector<wxRect>& area) {
    dc.SetFont(ViewFont(view, 10, true));
    const double reach = view.pixelScale;  // what is sized in pixels reaches this much further
    for (const Measurement& m : doc.measurements) {
        const wxColour c = m.selected ? wxColour(40, 80, 200) : wxColour(60, 60, 60);
        const wxPoint a = Px(view, PointMm{m.x1, m.y1});
        const wxPoint b = Px(view, PointMm{m.x2, m.y2});
        const wxPoint t = Px(view, PointMm{(m.x1 + m.x2) / 2 + m.dx, (m.y1 + m.y2) / 2 + m.dy});
        // Line, arrow heads and the boxed length (10 pt, a few characters) with room to spare.
        const int x0 = std::min({a.x, b.x, t.x}), x1 = std::max({a.x, b.x, t.x});
        const int y0 = std::min({a.y, b.y, t.y}), y1 = std::max({a.y, b.y, t.y});
        if (!Visible(area, x0 - 150 * reach, y0 - 40 * reach, x1 + 150 * reach, y1 + 40 * reach))
            continue;
        dc.SetPen(wxPen(c, view.Px(m.selected ? 3 : 2)));
        dc.SetBrush(wxBrush(c));
        dc.DrawLine(a, b);
        const MeasurementHeads heads =
            MeasurementHeadsPx({static_cast<double>(a.x), static_cast<double>(a.y)},
                               {static_cast<double>(b.x), static_cast<double>(b.y)});
        if (heads.shown) {
            for (const PointMm* tri : {heads.a, heads.b}) {
                const wxPoint pts[3] = {wxPoint(tri[0].x, tri[0].y), wxPoint(tri[1].x, tri[1].y),
                                        wxPoint(tri[2].x, tri[2].y)};
                dc.DrawPolygon(3, pts);
            }
        }
        const double len = std::hypot(m.x2 - m.x1, m.y2 - m.y1);
        const wxPoint mid = Px(view, PointMm{(m.x1 + m.x2) / 2 + m.dx, (m.y1 + m.y2) / 2 + m.dy});
        DrawBoxedText(dc, wxString::FromUTF8(FormatLength(len, doc.units)), mid, view.Px(5),
                      view.Px(2),
                      m.selected ? wxColour(220, 232, 255, 235) : wxColour(255, 248, 220, 235),
                      wxPen(c, view.Px(1)), wxColour(20, 20, 20), view.Px(3));
    }
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

void DrawScenery(wxDC& dc, const SceneryDef& def, const SceneryPose& pose, bool selected,
                 const ViewTransform& view) {
    for (const SceneryShape& s : BuildSceneryShapes(def, pose, selected, view.zoom)) {
        dc.SetPen(s.stroked ? wxPen(Colour(s.pen), s.penWidth) : *wxTRANSPARENT_PEN);
        dc.SetBrush(s.filled ? wxBrush(Colour(s.fill)) : *wxTRANSPARENT_BRUSH);
        switch (s.type) {
            case SceneryShape::Type::Polygon: {
                const std::vector<wxPoint> pts = Px(view, s.points);
                dc.DrawPolygon(static_cast<int>(pts.size()), pts.data());
                break;
            }
            case SceneryShape::Type::Line:
                // A line part has no separate outline: its colour is its pen.
                if (!s.stroked) dc.SetPen(wxPen(Colour(s.fill), s.penWidth));
                dc.DrawLine(Px(view, s.points[0]), Px(view, s.points[1]));
                break;
            case SceneryShape::Type::Text: {
                dc.SetFont(Font(s.pointSize, false));
                dc.SetTextForeground(s.filled ? Colour(s.fill) : Colour(s.pen));
                const wxString text = wxString::FromUTF8(s.text);
                if (pose.heading == 0) {
                    dc.DrawText(text, Px(view, s.points[0]));
                } else {
                    dc.DrawRotatedText(text, Px(view, s.points[0]), -pose.heading);
                }
                break;
            }
        }
    }
    if (selected) {
        const std::vector<wxPoint> pts = Px(view, SceneryFootprint(def, pose));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.SetPen(wxPen(wxColour(40, 100, 200), 1, wxPENSTYLE_DOT));
        dc.DrawPolygon(static_cast<int>(pts.size()), pts.data());
    }
}

void DrawSceneryGhost(wxDC& dc, const SceneryDef& def, const SceneryPose& pose,
                      const ViewTransform& view) {
    const std::vector<wxPoint> pts = Px(view, SceneryFootprint(def, pose));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(wxColour(80, 150, 80), 1, wxPENSTYLE_DOT));
    dc.DrawPolygon(static_cast<int>(pts.size()), pts.data());
}

void DrawGrid(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view, wxSize client,
              bool paper) {
    if (!doc.gridShown) return;
    const Rgb pen = paper ? kPaperGrid : kScreenGrid;
    dc.SetPen(wxPen(Colour(pen), view.Px(1)));
    for (int x : GridLines(doc.gridSpacing, view.zoom, view.offsetX, client.x, view.pixelScale)) {
        dc.DrawLine(x, 0, x, client.y);
    }
    for (int y : GridLines(doc.gridSpacing, view.zoom, view.offsetY, client.y, view.pixelScale)) {
        dc.DrawLine(0, y, client.x, y);
    }
    if (paper) return;  // the origin cross is a help for editing
    const wxPoint o = Px(view, PointMm{0, 0});
    dc.SetPen(wxPen(wxColour(180, 180, 220), 2));
    dc.DrawLine(o.x - 10, o.y, o.x + 10, o.y);
    dc.DrawLine(o.x, o.y - 10, o.x, o.y + 10);
}

void DrawRulers(wxDC& dc, int units, const ViewTransform& view, wxSize client) {
    constexpr int kSize = 20;
    dc.SetBrush(wxBrush(wxColour(240, 240, 240)));
    dc.SetPen(wxPen(wxColour(180, 180, 180), 1));
    dc.DrawRectangle(0, 0, client.x, kSize);
    dc.DrawRectangle(0, 0, kSize, client.y);
    dc.DrawRectangle(0, 0, kSize, kSize);

    dc.SetFont(Font(7, false));
    const wxColour ink(80, 80, 80);
    dc.SetTextForeground(ink);
    dc.SetPen(wxPen(wxColour(140, 140, 140), 1));
    auto text = [&](const std::string& label, int x, int y) {
        DrawTextAt(dc, wxString::FromUTF8(label), x, y, ink);
    };
    for (const RulerTick& t : RulerTicks(view, units, client.x, true)) {
        dc.DrawLine(t.pixel, 14, t.pixel, kSize);
        text(t.label, t.pixel + 2, 2);
    }
    for (const RulerTick& t : RulerTicks(view, units, client.y, false)) {
        dc.DrawLine(14, t.pixel, kSize, t.pixel);
        text(t.label, 1, t.pixel + 1);
    }
    dc.SetPen(wxPen(wxColour(200, 80, 80), 1));
    if (view.offsetX >= kSize && view.offsetX < client.x) {
        const int x = static_cast<int>(view.offsetX);
        dc.DrawLine(x, 0, x, kSize);
    }
    if (view.offsetY >= kSize && view.offsetY < client.y) {
        const int y = static_cast<int>(view.offsetY);
        dc.DrawLine(0, y, kSize, y);
    }
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

bool Visible(const std::vector<wxRect>& areas, double x0, double y0, double x1, double y1) {
    for (const wxRect& a : areas)
        if (x1 >= a.x && y1 >= a.y && x0 <= a.x + a.width && y0 <= a.y + a.height) return true;
    return false;
}

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

void DrawWiringOverlay(wxDC& dc, const WiringOverlay& wiring, const ViewTransform& view,
                       const std::vector<size_t>& lit) {
    if (wiring.Empty()) return;
    auto colour = [](Rgb c) { return wxColour(c.r, c.g, c.b); };
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
        wxPen pen(colour(occupied ? kWiringOccupiedColour : kWiringOutlineColour),
                  kWiringOutlinePenPx);
        pen.SetCap(wxCAP_BUTT);
        dc.SetPen(pen);
        dc.DrawLines(static_cast<int>(pts.size()), pts.data());
    }
    for (const WiringOverlay::Line& line : wiring.lines) {
        toPixels(line.points);
        wxPen pen(colour(line.colour), kWiringLinePenPx);
        pen.SetCap(wxCAP_BUTT);
        dc.SetPen(pen);
        dc.DrawLines(static_cast<int>(pts.size()), pts.data());
    }
    wxPen barPen(colour(kWiringBarColour), kWiringBarPenPx);
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
    wxFont font = dc.GetFont();
    if (!font.IsOk()) font = *wxNORMAL_FONT;
    font.SetPointSize(7);
    font.SetWeight(wxFONTWEIGHT_BOLD);
    dc.SetFont(font);
    for (const WiringOverlay::Symbol& s : wiring.symbols) {
        const int x = view.ToPixelX(s.at.x), y = view.ToPixelY(s.at.y);
        dc.SetPen(wxPen(colour(kWiringOutlineColour), 1));
        dc.SetBrush(wxBrush(colour(s.colour)));
        dc.DrawCircle(x, y, kWiringSymbolPx);
        const wxString label = wxString::Format("%d", s.number);
        const wxSize extent = dc.GetTextExtent(label);
        dc.SetTextForeground(*wxWHITE);
        dc.DrawText(label, x - extent.x / 2, y - extent.y / 2);
    }
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
