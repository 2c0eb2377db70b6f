// New from Suggestion: the gallery of layouts that fit the board, and the chosen one opened as a
// new, unsaved layout.
#include <array>

#include "app/FrameLogic.h"
#include "app/gui/MainFrame.h"
#include "canvas/gui/CanvasPanel.h"
#include "panels/gui/PalettePanel.h"
#include "suggest/gui/SuggestDialog.h"

void MainFrame::OnNewFromSuggestion(wxCommandEvent&) {
    SuggestDialog dialog(this, *this);
    if (dialog.ShowModal() != wxID_OK || !dialog.Chosen()) return;
    if (!ConfirmDiscardChanges()) return;
    AdoptSuggestedLayout(dialog.Chosen()->layout);
}

void MainFrame::AdoptSuggestedLayout(const LayoutDocument& suggested) {
    // A board that kept the open layout's outline keeps the shape settings it was made from.
    const bool sameBoard = suggested.baseboard == document.baseboard;
    const LayoutDocument& shaped = sameBoard ? document : suggested;
    const int32_t lastShape = shaped.lastShape;
    const std::array<double, 4> sizes = {shaped.shapeWidth, shaped.shapeHeight, shaped.shapeWidth2,
                                         shaped.shapeHeight2};
    ResetForNewLayout(document);
    // Undo never brings back the layout this one replaced.
    document.ClearHistory();
    document.pieces = suggested.pieces;
    document.nextId = suggested.nextId;
    document.baseboard = suggested.baseboard;
    document.baseboardShown = true;
    document.lastShape = lastShape;
    document.shapeWidth = sizes[0];
    document.shapeHeight = sizes[1];
    document.shapeWidth2 = sizes[2];
    document.shapeHeight2 = sizes[3];
    checkIgnores.Clear();
    filePath.clear();
    layoutName.clear();
    MarkSaved();
    canvas->ShowOpenedLayout(WantsUnitZoomAfterOpen(document));
    palette->SelectSystemForLayout(document.pieces);
    SetStatusText(_("Ready"), 0);
    // Not saved anywhere yet: the layout counts as changed.
    NotifyChanged(DocChange::All);
}
