#include "canvas/gui/RenderParts.h"

#include <cairo.h>
#include <wx/dc.h>
#include <wx/graphics.h>
#include <wx/image.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>

namespace {

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

}  // namespace

namespace render {

wxColour Colour(Rgb c) { return wxColour(c.r, c.g, c.b); }
wxColour Colour(SceneryColor c) { return wxColour(c.r, c.g, c.b, c.a); }

wxPoint Px(const ViewTransform& view, PointMm p) {
    return wxPoint(view.ToPixelX(p.x), view.ToPixelY(p.y));
}

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

wxFont ViewFont(const ViewTransform& view, int pointSize, bool bold) {
    if (view.pixelScale == 1) return Font(pointSize, bold);
    wxFontInfo info(wxSize(0, FontPixelHeight(pointSize, view.pixelScale)));
    return wxFont(info.Family(wxFONTFAMILY_DEFAULT).Bold(bold));
}

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

void DrawTextAt(wxDC& dc, const wxString& text, int x, int y, const wxColour& ink) {
    if (const TextPicture* picture = TextPictureFor(dc, text, ink)) {
        dc.GetGraphicsContext()->DrawBitmap(picture->bitmap, x, y, picture->width, picture->height);
        return;
    }
    dc.SetTextForeground(ink);
    dc.DrawText(text, x, y);
}

wxSize TextExtent(wxDC& dc, const wxString& text, const wxColour& ink) {
    if (const TextPicture* picture = TextPictureFor(dc, text, ink))
        return {picture->width, picture->height};
    wxCoord w = 0, h = 0;
    dc.GetTextExtent(text, &w, &h);
    return {w, h};
}

void DrawBoxedText(wxDC& dc, const wxString& text, wxPoint p, int padX, int padY,
                   const wxColour& box, const wxPen& pen, const wxColour& ink, int radius) {
    wxCoord tw = 0, th = 0;
    dc.GetTextExtent(text, &tw, &th);
    dc.SetBrush(wxBrush(box));
    dc.SetPen(pen);
    dc.DrawRoundedRectangle(p.x - tw / 2 - padX, p.y - th / 2 - padY, tw + 2 * padX, th + 2 * padY,
                            radius);
    dc.SetTextForeground(ink);
    dc.DrawText(text, p.x - tw / 2, p.y - th / 2);
}

bool Visible(const std::vector<wxRect>& areas, double x0, double y0, double x1, double y1) {
    for (const wxRect& a : areas)
        if (x1 >= a.x && y1 >= a.y && x0 <= a.x + a.width && y0 <= a.y + a.height) return true;
    return false;
}

}  // namespace render
