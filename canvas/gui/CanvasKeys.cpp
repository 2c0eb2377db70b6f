// Keyboard and wheel editing on the canvas: Escape, R, Delete and Backspace, ghost turning.
#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "canvas/KeyCommands.h"
#include "canvas/gui/CanvasPanel.h"

namespace {

// The character a key stands for, with the keypad's plus and minus as '+' and '-'.
int KeyCharacter(const wxKeyEvent& event) {
    const int code = event.GetKeyCode();
    if (code == WXK_NUMPAD_ADD || code == WXK_ADD) return '+';
    if (code == WXK_NUMPAD_SUBTRACT || code == WXK_SUBTRACT) return '-';
    if (code > 0 && code < 128) return code;
    const wxChar unicode = event.GetUnicodeKey();
    return unicode != WXK_NONE && unicode < 128 ? static_cast<int>(unicode) : 0;
}

}  // namespace

bool CanvasPanel::HandleCommandKey(const wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_F1 && frame) {  // Help, as from the menu
        wxCommandEvent help(wxEVT_MENU, kCmdHelp);
        help.SetEventObject(this);
        frame->GetEventHandler()->ProcessEvent(help);
        return true;
    }
    switch (KeyCommandFor(KeyCharacter(event), event.ControlDown(), event.AltDown(),
                          event.ShiftDown())) {
        case CanvasKeyCommand::ZoomIn:
            ZoomBy(1.25);
            return true;
        case CanvasKeyCommand::ZoomOut:
            ZoomBy(0.8);
            return true;
        case CanvasKeyCommand::Copy:
            CopySelectionToBuffer();
            return true;
        case CanvasKeyCommand::Paste: {
            // At the pointer when it is over the canvas, else in the middle of the view.
            wxPoint at = ScreenToClient(wxGetMousePosition());
            const wxSize size = GetClientSize();
            if (at.x < 0 || at.y < 0 || at.x >= size.x || at.y >= size.y)
                at = wxPoint(size.x / 2, size.y / 2);
            PasteAt(at.x, at.y);
            return true;
        }
        case CanvasKeyCommand::None:
            break;
    }
    return false;
}

void CanvasPanel::OnKeyDown(wxKeyEvent& event) {
    LayoutDocument& doc = Document();
    const int key = event.GetKeyCode();
    const bool escape = key == WXK_ESCAPE;
    const bool turn = key == 'R' || key == 'r';
    if (escape && doc.toolMode == 3) {
        EndMeasuring();
        return;
    }
    if (edit.pieceDrag && (escape || turn)) {
        if (escape) {
            CancelPieceDrag();
        } else {
            // The snap follows at the next mouse move.
            edit.freePose.heading = NormalizeDeg(edit.freePose.heading + 30);
            edit.snap = SnapResult{};
            ShowPieceGhost();
            Refresh();
        }
        return;
    }
    if (edit.sceneryDrag && (escape || turn)) {
        if (escape) {
            EndPaletteDrags();
            if (HasCapture()) ReleaseMouse();
        } else {
            edit.sceneryGhost.heading = NormalizeDeg(edit.sceneryGhost.heading + 15);
            overlays.sceneryGhostHeading = edit.sceneryGhost.heading;
        }
        Refresh();
        return;
    }
    if (edit.helixDrag && escape) {
        EndPaletteDrags();
        if (HasCapture()) ReleaseMouse();
        Refresh();
        return;
    }
    if (escape) {
        doc.ClearSelection();
        NotifyChanged(DocChange::Selection);
        Refresh();
        return;
    }
    if (key == WXK_DELETE || key == WXK_BACK) {
        DeleteSelection();
        return;
    }
    if (HandleCommandKey(event)) return;
    event.Skip();
}

bool CanvasPanel::HandleEditWheel(const wxMouseEvent& event) {
    if (!edit.pieceDrag && !edit.sceneryDrag) return false;
    const double step = event.ShiftDown() ? 15 : 30;
    const double turn = event.GetWheelRotation() > 0 ? step : -step;
    if (edit.pieceDrag) {
        edit.freePose.heading = NormalizeDeg(edit.freePose.heading + turn);
        TrackPieceGhost();
    } else {
        edit.sceneryGhost.heading = NormalizeDeg(edit.sceneryGhost.heading + turn);
        overlays.sceneryGhostHeading = edit.sceneryGhost.heading;
    }
    Refresh();
    return true;
}
