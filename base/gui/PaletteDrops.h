// What the palette asks of the canvas: a drag of a new piece, scenery item or helix, and a piece
// appended to the selection.
#pragma once

#include <wx/string.h>

class PaletteDrops {
public:
    virtual void BeginPieceDrag(const wxString& article) = 0;
    virtual void BeginSceneryDrag(const wxString& sceneryId) = 0;
    virtual void BeginHelixDrag(const wxString& variantId) = 0;
    // Appends a piece of `article` to the newest selected piece (or starts a drag).
    virtual void PlaceAfterSelection(const wxString& article) = 0;

protected:
    ~PaletteDrops() = default;
};
