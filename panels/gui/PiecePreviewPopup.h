// The small drawing of a track piece shown beside the pointer over the palette's Track list.
#pragma once

#include <wx/popupwin.h>

class wxDC;
struct PieceDef;

class PiecePreviewPopup : public wxPopupWindow {
public:
    explicit PiecePreviewPopup(wxWindow* parent);
    ~PiecePreviewPopup() override;

    // Shows `def` with the popup's corner near screen point `at`; a null piece hides the popup.
    void ShowFor(const PieceDef* def, wxPoint at);
    // Forgets the piece and hides.
    void HidePreview();

    const PieceDef* Piece() const { return piece; }
    // Draws what a paint shows into dc (80 x 55 pixels).
    void PaintTo(wxDC& dc) const;

private:
    void OnPaint(wxPaintEvent& event);
    void OnParentKillFocus(wxFocusEvent& event);
    void OnParentActivate(wxActivateEvent& event);

    wxWindow* owner = nullptr;
    const PieceDef* piece = nullptr;
};
