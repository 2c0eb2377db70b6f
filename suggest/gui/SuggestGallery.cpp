// The gallery of suggested layouts: thumbnails through the layout renderer, tiles laid out in as
// many columns as the width holds, selection by mouse and keys.
#include "suggest/gui/SuggestGallery.h"

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>

#include <algorithm>

#include "base/Format.h"
#include "base/NumberStyle.h"
#include "canvas/LayoutGeometry.h"
#include "canvas/gui/LayoutRenderer.h"

namespace {
constexpr int kGap = 8;    // between tiles and round the gallery
constexpr int kPad = 6;    // inside a tile
constexpr int kOver = 2;   // thumbnails are drawn this much larger, then made smaller (smoother)
constexpr int kLines = 5;  // text lines under a thumbnail

wxColour Colour(Rgb c) { return wxColour(c.r, c.g, c.b); }

wxString Local(const std::string& text) { return wxString::FromUTF8(LocalDecimals(text)); }
}  // namespace

wxBitmap SuggestionThumbnail(const LayoutDocument& doc, int w, int h) {
    const int bw = w * kOver, bh = h * kOver;
    wxBitmap big(bw, bh, 24);
    {
        wxMemoryDC dc(big);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        LayoutBounds bounds;
        for (const PointMm& p : doc.baseboard) bounds.Add(p.x, p.y);
        if (!bounds.any) bounds = DrawingExtent(doc);
        const double spanX = std::max(1.0, bounds.maxX - bounds.minX);
        const double spanY = std::max(1.0, bounds.maxY - bounds.minY);
        ViewTransform view;
        view.pixelScale = kOver;
        const int edge = 3 * kOver;
        view.zoom = std::min((bw - 2 * edge) / spanX, (bh - 2 * edge) / spanY);
        view.offsetX = bw / 2.0 - (bounds.minX + spanX / 2) * view.zoom;
        view.offsetY = bh / 2.0 - (bounds.minY + spanY / 2) * view.zoom;
        // The board without the canvas's grid and dimension labels, which a thumbnail has no
        // room for; the track as the canvas draws it.
        if (doc.baseboard.size() >= 3) {
            std::vector<wxPoint> pts;
            for (const PointMm& p : doc.baseboard)
                pts.emplace_back(view.ToPixelX(p.x), view.ToPixelY(p.y));
            dc.SetBrush(wxBrush(Colour(kBaseboardFill)));
            dc.SetPen(wxPen(Colour(kBoardEdge), view.Px(1)));
            dc.DrawPolygon(static_cast<int>(pts.size()), pts.data());
        }
        LayoutDrawPart part;
        part.from = LayoutPass::Scenery;
        DrawLayoutPart(dc, doc, view, wxSize(bw, bh), part);
    }
    return wxBitmap(big.ConvertToImage().Rescale(w, h, wxIMAGE_QUALITY_HIGH));
}

std::vector<wxString> SuggestionLines(const LayoutSuggestion& s) {
    std::vector<wxString> lines;
    lines.push_back(wxGetTranslation(wxString::FromUTF8(s.kind)));
    lines.push_back(
        Local(Format(_("%.1f m of track").utf8_string().c_str(), s.trackLengthMm / 1000)));
    lines.push_back(Local(Format(_("%d pieces, smallest radius %.0f mm").utf8_string().c_str(),
                                 s.pieceCount, s.smallestRadiusMm)));
    lines.push_back(s.longestStationTrackMm > 0
                        ? Local(Format(_("Longest station track %.2f m").utf8_string().c_str(),
                                       s.longestStationTrackMm / 1000))
                        : _("No station track"));
    lines.push_back(
        s.piecesToBuy > 0
            ? wxString::Format(wxPLURAL("%d piece to buy", "%d pieces to buy", s.piecesToBuy),
                               s.piecesToBuy)
            : _("Nothing to buy"));
    return lines;
}

SuggestGallery::SuggestGallery(wxWindow* parent)
    : wxScrolledCanvas(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                       wxVSCROLL | wxBORDER_THEME | wxWANTS_CHARS) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetScrollRate(0, 20);
    Bind(wxEVT_PAINT, &SuggestGallery::OnPaint, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
        Arrange();
        e.Skip();
    });
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) {
        SetFocus();
        Select(TileAt(e.GetPosition()));
    });
    Bind(wxEVT_LEFT_DCLICK, [this](wxMouseEvent& e) {
        const int at = TileAt(e.GetPosition());
        if (at < 0) return;
        Select(at);
        if (onActivate) onActivate(at);
    });
    Bind(wxEVT_KEY_DOWN, &SuggestGallery::OnKey, this);
}

void SuggestGallery::Clear() {
    tiles.clear();
    textWidth = 0;
    selected = -1;
    Arrange();
    if (onSelect) onSelect(-1);
}

void SuggestGallery::Add(const LayoutSuggestion& suggestion) {
    tiles.push_back({SuggestionThumbnail(suggestion.layout, kThumbWidth, kThumbHeight),
                     SuggestionLines(suggestion)});
    // Every tile as wide as the widest text of any (the kind is bold).
    wxClientDC dc(this);
    const std::vector<wxString>& lines = tiles.back().lines;
    for (size_t k = 0; k < lines.size(); ++k) {
        dc.SetFont(k == 0 ? GetFont().Bold() : GetFont());
        textWidth = std::max(textWidth, dc.GetTextExtent(lines[k]).x);
    }
    Arrange();
}

void SuggestGallery::SetMessage(const wxString& text) {
    message = text;
    Refresh();
}

void SuggestGallery::Select(int index) {
    if (index < -1 || index >= Count()) index = -1;
    selected = index;
    if (index >= 0) {
        // Into view: the scroll unit is 20 pixels.
        const wxRect r = TileRect(index);
        int x0 = 0, y0 = 0;
        GetViewStart(&x0, &y0);
        const int top = y0 * 20, height = GetClientSize().y;
        if (r.y < top)
            Scroll(-1, r.y / 20);
        else if (r.GetBottom() > top + height)
            Scroll(-1, (r.GetBottom() - height) / 20 + 1);
    }
    Refresh();
    if (onSelect) onSelect(selected);
}

wxSize SuggestGallery::TileSize() const {
    return wxSize(std::max(kThumbWidth, textWidth) + 2 * kPad,
                  kThumbHeight + 3 * kPad + kLines * GetCharHeight());
}

int SuggestGallery::Columns() const {
    return std::max(1, (GetClientSize().x - kGap) / (TileSize().x + kGap));
}

wxRect SuggestGallery::TileRect(int index) const {
    const wxSize t = TileSize();
    const int columns = Columns();
    // The columns centred in the width.
    const int left = std::max(kGap, (GetClientSize().x - columns * (t.x + kGap) + kGap) / 2);
    return wxRect(left + (index % columns) * (t.x + kGap), kGap + (index / columns) * (t.y + kGap),
                  t.x, t.y);
}

int SuggestGallery::TileAt(wxPoint client) const {
    const wxPoint at = CalcUnscrolledPosition(client);
    for (int i = 0; i < Count(); ++i)
        if (TileRect(i).Contains(at)) return i;
    return -1;
}

void SuggestGallery::Arrange() {
    const int rows = (Count() + Columns() - 1) / Columns();
    SetVirtualSize(-1, kGap + rows * (TileSize().y + kGap));
    Refresh();
}

void SuggestGallery::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    DoPrepareDC(dc);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)));
    dc.Clear();
    const wxColour text = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);
    if (tiles.empty() && !message.empty()) {
        dc.SetTextForeground(text);
        dc.SetFont(GetFont());
        const wxSize client = GetClientSize();
        dc.DrawLabel(message, wxRect(kGap, kGap, client.x - 2 * kGap, client.y - 2 * kGap),
                     wxALIGN_CENTRE);
        return;
    }
    const wxFont plain = GetFont();
    const wxFont bold = plain.Bold();
    for (int i = 0; i < Count(); ++i) {
        const wxRect r = TileRect(i);
        const bool on = i == selected;
        dc.SetPen(on ? wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT), 3)
                     : wxPen(wxColour(200, 200, 200), 1));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(r);
        dc.DrawBitmap(tiles[i].thumb, r.x + (r.width - kThumbWidth) / 2, r.y + kPad);
        dc.SetTextForeground(text);
        int y = r.y + 2 * kPad + kThumbHeight;
        for (size_t k = 0; k < tiles[i].lines.size(); ++k) {
            dc.SetFont(k == 0 ? bold : plain);
            dc.DrawText(tiles[i].lines[k], r.x + kPad, y);
            y += GetCharHeight();
        }
    }
}

void SuggestGallery::OnKey(wxKeyEvent& event) {
    const int columns = Columns();
    int to = selected;
    switch (event.GetKeyCode()) {
        case WXK_LEFT:
            to = std::max(0, selected - 1);
            break;
        case WXK_RIGHT:
            to = std::min(Count() - 1, selected + 1);
            break;
        case WXK_UP:
            to = selected >= columns ? selected - columns : selected;
            break;
        case WXK_DOWN:
            to = selected + columns < Count() ? selected + columns : selected;
            break;
        case WXK_HOME:
            to = Count() > 0 ? 0 : -1;
            break;
        case WXK_END:
            to = Count() - 1;
            break;
        case WXK_TAB:  // the gallery wants the keys, but Tab still moves on
            Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward
                                       : wxNavigationKeyEvent::IsForward);
            return;
        case WXK_RETURN:
        case WXK_NUMPAD_ENTER:
            if (selected >= 0 && onActivate) onActivate(selected);
            return;
        default:
            event.Skip();
            return;
    }
    if (to != selected) Select(to);
}
