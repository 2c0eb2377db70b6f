// Keyboard and wheel editing on the canvas: Escape, R, Delete and Backspace, ghost turning.
#include "canvas/gui/CanvasPanel.h"

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
