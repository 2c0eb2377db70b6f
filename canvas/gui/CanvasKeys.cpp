// Keyboard and wheel editing on the canvas: Escape, R, Delete and Backspace, ghost turning, and
// the zoom, clipboard and help keys the menus' accelerators do not bring to the canvas.
#include "app/CommandIds.h"
#include "base/gui/FrameServices.h"
#include "canvas/KeyCommands.h"
#include "canvas/gui/CanvasPanel.h"
#include "model/DocumentChange.h"

namespace {

CanvasKey KeyOf(int code) {
    switch (code) {
        case WXK_ESCAPE:
            return CanvasKey::Escape;
        case 'R':
        case 'r':
            return CanvasKey::Turn;
        case WXK_DELETE:
        case WXK_BACK:
            return CanvasKey::Delete;
        default:
            return CanvasKey::Other;
    }
}

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
        wxGetTopLevelParent(this)->GetEventHandler()->ProcessEvent(help);
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
        case CanvasKeyCommand::Paste:
            PasteAtPointer();
            return true;
        case CanvasKeyCommand::None:
            break;
    }
    return false;
}

void CanvasPanel::PasteAtPointer() {
    wxPoint at = ScreenToClient(wxGetMousePosition());
    const wxSize size = GetClientSize();
    if (at.x < 0 || at.y < 0 || at.x >= size.x || at.y >= size.y)
        at = wxPoint(size.x / 2, size.y / 2);
    PasteAt(at.x, at.y);
}

void CanvasPanel::OnKeyDown(wxKeyEvent& event) {
    const GestureResult r = Edit().Key(Document(), KeyOf(event.GetKeyCode()));
    Apply(r);
    if (r.handled || HandleCommandKey(event)) return;
    event.Skip();
}

bool CanvasPanel::HandleEditWheel(const wxMouseEvent& event) {
    const GestureResult r = Edit().Wheel(Document(), event.GetWheelRotation(), event.ShiftDown());
    Apply(r);
    return r.handled;
}
