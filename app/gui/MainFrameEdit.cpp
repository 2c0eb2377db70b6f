// Edit commands of the main window: undo, redo, delete with its checks, select all, the tape.
#include <wx/msgdlg.h>
#include <wx/toolbar.h>

#include "app/CommandIds.h"
#include "app/FrameLogic.h"
#include "app/gui/MainFrame.h"
#include "canvas/gui/CanvasPanel.h"
#include "model/Locks.h"
#include "model/Tunnels.h"

void MainFrame::OnUndo(wxCommandEvent&) {
    if (!document.CanUndo()) return;
    document.Undo();
    AfterUndoOrRedo();
}

void MainFrame::OnRedo(wxCommandEvent&) {
    if (!document.CanRedo()) return;
    document.Redo();
    AfterUndoOrRedo();
}

void MainFrame::AfterUndoOrRedo() {
    // A snapshot may restore any part of the layout and its selection.
    NotifyChanged(DocChange::Content | DocChange::Selection);
}

bool MainFrame::SelectionIsLocked(std::string_view verb, bool wholeHelixPasses) {
    const LockRefusal refusal = CheckSelectionLocks(document, verb, wholeHelixPasses);
    if (!refusal.Refused()) return false;
    wxMessageBox(wxString::FromUTF8(refusal.message), wxString::FromUTF8(refusal.title),
                 wxOK | wxICON_INFORMATION, this);
    return true;
}

void MainFrame::OnDelete(wxCommandEvent&) {
    if (!EnabledCommands(document).deleteSelection) return;
    if (SelectionIsLocked("delete")) return;
    if (SelectionHasGradedPieces(document) &&
        wxMessageBox("Selection includes graded pieces. Delete?", "Delete",
                     wxYES_NO | wxICON_QUESTION, this) != wxYES)
        return;
    document.DeleteSelected();
    NotifyChanged(DocChange::Pieces | DocChange::Scenery | DocChange::Selection);
}

void MainFrame::OnTunnel(wxCommandEvent&) {
    if (!ToggleTunnel(document)) return;
    NotifyChanged(DocChange::Placement | DocChange::Scenery | DocChange::Selection);
}

void MainFrame::OnSelectAll(wxCommandEvent&) {
    SelectAllPiecesAndScenery(document);
    NotifyChanged(DocChange::Selection);
}

void MainFrame::OnMeasure(wxCommandEvent& event) {
    if (event.IsChecked()) {
        EnterMeasureMode(document);
        canvas->SetCursor(wxCursor(wxCURSOR_PENCIL));
        NotifyChanged(DocChange::Selection | DocChange::View);
    } else {
        document.toolMode = 0;
        canvas->SetCursor(wxNullCursor);
        NotifyChanged(DocChange::View);
    }
}

void MainFrame::SetMeasureToolChecked(bool checked) {
    if (wxToolBar* bar = GetToolBar()) bar->ToggleTool(kCmdMeasure, checked);
}
