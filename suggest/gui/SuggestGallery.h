// The gallery of suggested layouts: one tile per layout, a thumbnail drawn by the layout renderer
// over the lines that describe it; a click selects, a double click or Return opens.
#pragma once

#include <wx/bitmap.h>
#include <wx/scrolwin.h>

#include <functional>
#include <vector>

#include "suggest/SuggestLayouts.h"

class SuggestGallery : public wxScrolledCanvas {
public:
    static constexpr int kThumbWidth = 240;
    static constexpr int kThumbHeight = 130;

    explicit SuggestGallery(wxWindow* parent);

    void Clear();
    void Add(const LayoutSuggestion& suggestion);
    int Count() const { return static_cast<int>(tiles.size()); }
    // Shown in the middle while there are no tiles (empty: nothing).
    void SetMessage(const wxString& text);
    const wxString& Message() const { return message; }
    int Selection() const { return selected; }
    // Selects a tile (-1: none), scrolled into view; the selection handler hears of it.
    void Select(int index);
    const wxBitmap& Thumbnail(int index) const { return tiles[index].thumb; }
    const std::vector<wxString>& Lines(int index) const { return tiles[index].lines; }

    std::function<void(int)> onSelect;    // a tile was selected (-1: none)
    std::function<void(int)> onActivate;  // a tile was double-clicked or Return pressed

private:
    struct Tile {
        wxBitmap thumb;
        std::vector<wxString> lines;  // the kind first
    };
    wxSize TileSize() const;
    int Columns() const;
    wxRect TileRect(int index) const;  // in the scrolled area
    int TileAt(wxPoint client) const;
    void Arrange();
    void OnPaint(wxPaintEvent& event);
    void OnKey(wxKeyEvent& event);

    std::vector<Tile> tiles;
    wxString message;
    int selected = -1;
    int textWidth = 0;  // of the widest line of any tile
};

// A picture of the layout and its baseboard, w × h pixels, drawn as the canvas draws it.
wxBitmap SuggestionThumbnail(const LayoutDocument& doc, int w, int h);
// The lines under a thumbnail: kind, track length and pieces, smallest radius, longest station
// track, pieces to buy; in the reader's language.
std::vector<wxString> SuggestionLines(const LayoutSuggestion& s);
