// Keyboard and wheel editing on the canvas: Escape, R, Delete and Backspace, ghost turning.
#include "canvas/gui/CanvasPanel.h"

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

}  // namespace

void CanvasPanel::OnKeyDown(wxKeyEvent& event) {
    const GestureResult r = Edit().Key(Document(), KeyOf(event.GetKeyCode()));
    Apply(r);
    if (!r.handled) event.Skip();
}

bool CanvasPanel::HandleEditWheel(const wxMouseEvent& event) {
    const GestureResult r = Edit().Wheel(Document(), event.GetWheelRotation(), event.ShiftDown());
    Apply(r);
    return r.handled;
}
