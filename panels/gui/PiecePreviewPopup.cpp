// The hover preview of a palette piece: the article number and the piece drawn to fit.
#include "panels/gui/PiecePreviewPopup.h"

#include <wx/dcbuffer.h>

#include "canvas/gui/LayoutRenderer.h"
#include "catalog/TrackCatalog.h"
#include "panels/PaletteLogic.h"

PiecePreviewPopup::PiecePreviewPopup(wxWindow* parent)
    : wxPopupWindow(parent, wxBORDER_SIMPLE), owner(parent) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetSize(kPreviewWidth, kPreviewHeight);
    Bind(wxEVT_PAINT, &PiecePreviewPopup::OnPaint, this);
    if (owner) {
        owner->Bind(wxEVT_KILL_FOCUS, &PiecePreviewPopup::OnParentKillFocus, this);
        owner->Bind(wxEVT_ACTIVATE, &PiecePreviewPopup::OnParentActivate, this);
    }
}

PiecePreviewPopup::~PiecePreviewPopup() {
    // The parent outlives this window by a moment while its children are destroyed.
    if (owner) {
        owner->Unbind(wxEVT_KILL_FOCUS, &PiecePreviewPopup::OnParentKillFocus, this);
        owner->Unbind(wxEVT_ACTIVATE, &PiecePreviewPopup::OnParentActivate, this);
    }
}

void PiecePreviewPopup::ShowFor(const PieceDef* def, wxPoint at) {
    if (!def) {
        HidePreview();
        return;
    }
    piece = def;
    Move(at.x + 8, at.y - 27);
    Show();
    Refresh();
}

void PiecePreviewPopup::HidePreview() {
    piece = nullptr;
    Hide();
}

void PiecePreviewPopup::PaintTo(wxDC& dc) const {
    dc.SetBackground(wxBrush(wxColour(255, 255, 240)));
    dc.Clear();
    if (!piece) return;
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(wxColour(180, 180, 180), 1));
    dc.DrawRectangle(0, 0, kPreviewWidth, kPreviewHeight);

    dc.SetFont(wxFont(7, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD));
    dc.SetTextForeground(wxColour(60, 60, 60));
    const wxString article = wxString::FromUTF8(piece->article);
    const int textWidth = dc.GetTextExtent(article).GetWidth();
    dc.DrawText(article, (kPreviewWidth - textWidth) / 2, 2);

    // The piece stands alone: every connector open, not selected, on no particular level.
    PlacedPiece placed;
    placed.article = piece->article;
    placed.joints.resize(piece->connectors.size());
    DrawPiece(dc, placed, *piece, PreviewTransform(*piece), PieceLook{}, false);
}

void PiecePreviewPopup::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    PaintTo(dc);
}

void PiecePreviewPopup::OnParentKillFocus(wxFocusEvent& event) {
    HidePreview();
    event.Skip();
}

void PiecePreviewPopup::OnParentActivate(wxActivateEvent& event) {
    if (!event.GetActive()) HidePreview();
    event.Skip();
}
