// Edit commands of the main window: undo, redo, delete with its checks, select all, the tape.
#include <wx/msgdlg.h>
#include <wx/textentry.h>
#include <wx/toolbar.h>

#include "app/CommandIds.h"
#include "app/FrameLogic.h"
#include "app/gui/MainFrame.h"
#include "canvas/gui/CanvasPanel.h"
#include "model/Locks.h"
#include "model/Tunnels.h"
#include "panels/gui/PropertiesPanel.h"

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
    // A snapshot may restore any part of the layout and its selection; back at the saved state
    // the layout is unmodified again.
    modified = document.Revision() != savedRevision;
    ScheduleChanges(DocChange::Content | DocChange::Selection);
}

void MainFrame::OnDelete(wxCommandEvent&) { DeleteSelection(DeleteSource::EditMenu); }

wxTextEntry* MainFrame::FocusedTextEntry() const {
    wxWindow* focus = wxWindow::FindFocus();
    if (!focus || wxGetTopLevelParent(focus) != this) return nullptr;
    return dynamic_cast<wxTextEntry*>(focus);
}

void MainFrame::OnClipboard(wxCommandEvent& event) {
    // The accelerators reach the menu before the focused control: a text field keeps its own
    // clipboard keys.
    if (wxTextEntry* entry = FocusedTextEntry()) {
        if (event.GetId() == wxID_CUT) entry->Cut();
        if (event.GetId() == wxID_COPY) entry->Copy();
        if (event.GetId() == wxID_PASTE) entry->Paste();
        return;
    }
    switch (event.GetId()) {
        case wxID_CUT:
            if (!document.HasSelection()) return;
            canvas->CopySelectionToBuffer();
            DeleteSelection(DeleteSource::EditMenu);
            break;
        case wxID_COPY:
            canvas->CopySelectionToBuffer();
            break;
        case wxID_PASTE:
            canvas->PasteAtPointer();
            break;
        default:
            break;
    }
}

void MainFrame::DeleteSelection(DeleteSource source) {
    const DeleteCheck check = CheckDelete(document, source);
    if (!check.applies) return;
    if (check.refusal.Refused()) {
        wxMessageBox(wxGetTranslation(wxString::FromUTF8(check.refusal.message)),
                     wxGetTranslation(wxString::FromUTF8(check.refusal.title)),
                     wxOK | wxICON_INFORMATION, this);
        return;
    }
    if (check.asksAboutGrades &&
        wxMessageBox(wxGetTranslation(kDeleteGradedQuestion), wxGetTranslation(kDeleteGradedTitle),
                     wxYES_NO | wxICON_QUESTION, this) != wxYES)
        return;
    NotifyChanged(RunDelete(document, source));
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

void MainFrame::ShowStatus(const wxString& text) {
    if (GetStatusBar()) SetStatusText(text, 0);
}

void MainFrame::BeginLabel(double x, double y) {
    if (properties) properties->BeginLabel(x, y);
}

PaletteDrops* MainFrame::Drops() const { return canvas; }

void MainFrame::RunCommand(int id) {
    wxCommandEvent command(wxEVT_MENU, id);
    command.SetEventObject(this);
    GetEventHandler()->ProcessEvent(command);
}
