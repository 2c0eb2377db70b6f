// Mouse editing on the canvas: toolkit events become pointer events in layout millimetres for
// the gestures, and what the gestures ask for (capture, cursor, timer, messages, menus, dialogs)
// is carried out here.
#include <wx/frame.h>
#include <wx/intl.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include "base/gui/FrameServices.h"
#include "canvas/gui/CanvasPanel.h"
#include "model/DocumentChange.h"

namespace {

wxCursor CursorFor(CanvasCursor cursor) {
    switch (cursor) {
        case CanvasCursor::Pencil:
            return wxCursor(wxCURSOR_PENCIL);
        case CanvasCursor::Hand:
            return wxCursor(wxCURSOR_HAND);
        case CanvasCursor::SizeNWSE:
            return wxCursor(wxCURSOR_SIZENWSE);
        case CanvasCursor::SizeNS:
            return wxCursor(wxCURSOR_SIZENS);
        case CanvasCursor::SizeNESW:
            return wxCursor(wxCURSOR_SIZENESW);
        case CanvasCursor::SizeWE:
            return wxCursor(wxCURSOR_SIZEWE);
        default:
            return wxNullCursor;
    }
}

}  // namespace

PointerEvent CanvasPanel::ToPointer(const wxMouseEvent& event) const {
    return PointerEvent::At(view, event.GetX(), event.GetY(),
                            {event.ControlDown(), event.ShiftDown(), event.AltDown()},
                            event.LeftIsDown());
}

void CanvasPanel::OnLeftDown(wxMouseEvent& event) {
    if (viewClickHandler && !wxGetKeyState(WXK_SPACE) &&
        viewClickHandler(view.ToLayoutX(event.GetX()), view.ToLayoutY(event.GetY()),
                         event.ShiftDown())) {
        SetFocus();
        return;
    }
    if (clickHandler && !wxGetKeyState(WXK_SPACE) &&
        clickHandler(view.ToLayoutX(event.GetX()), view.ToLayoutY(event.GetY()))) {
        SetFocus();
        return;
    }
    Apply(Edit().LeftDown(Document(), view, ToPointer(event)));
}

bool CanvasPanel::HandleEditMotion(wxMouseEvent& event) {
    const GestureResult r = Edit().Motion(Document(), view, ToPointer(event));
    Apply(r, true);
    return r.handled;
}

void CanvasPanel::OnLeftUp(wxMouseEvent& event) {
    Apply(Edit().LeftUp(Document(), view, ToPointer(event)));
}

void CanvasPanel::OnLeftDClick(wxMouseEvent& event) {
    Apply(Edit().DoubleClick(Document(), view, ToPointer(event)));
}

void CanvasPanel::OnRightDown(wxMouseEvent& event) {
    Apply(Edit().RightDown(Document(), view, ToPointer(event)));
}

void CanvasPanel::OnFlashTimer(wxTimerEvent&) { Apply(gestures.FlashExpired()); }

// ---- Carrying out a gesture's result ----

CanvasGestures& CanvasPanel::Edit() {
    gestures.UseIndex(&MutableIndex());
    return gestures;
}

void CanvasPanel::Apply(const GestureResult& r, bool motion) {
    if (r.focus) SetFocus();
    if (r.view) view = *r.view;
    ApplyPointer(r);
    if (r.measureToolReleased && frame) frame->SetMeasureToolChecked(false);
    if (!r.gradeStatus.empty() && frame) frame->ShowStatus(wxString::FromUTF8(r.gradeStatus));
    if (r.labelPoint && frame) frame->BeginLabel(r.labelPoint->x, r.labelPoint->y);
    Notify(r.changed);
    Repaint(r, motion);
    ApplyRequests(r);
}

void CanvasPanel::ApplyPointer(const GestureResult& r) {
    if (r.cursor != CanvasCursor::Keep) SetCursor(CursorFor(r.cursor));
    if (r.capture == PointerCapture::Capture && !HasCapture()) CaptureMouse();
    if (r.capture == PointerCapture::Release && HasCapture()) ReleaseMouse();
    if (r.flash == FlashTimer::Start) flashTimer.StartOnce(kFlashMs);
    if (r.flash == FlashTimer::Stop) flashTimer.Stop();
}

// A motion that only moved the ghost, the band or the selection repaints just that over the kept
// picture of the layout; everything else draws the picture whole.
void CanvasPanel::Repaint(const GestureResult& r, bool motion) {
    if (HasAny(r.changed, DocChange::Content)) indexValid = false;
    if (!r.repaint && !r.view) return;
    if (motion && r.view && r.changed == DocChange::None && gestures.Get<PanGesture>()) {
        RefreshPanned();
        return;
    }
    if (motion && r.changed == DocChange::None && !r.view) {
        if (gestures.Get<PieceDragGesture>() || gestures.Get<SceneryDragGesture>() ||
            gestures.Get<HelixDragGesture>() || gestures.Get<RubberBandGesture>() ||
            gestures.Get<TapeGesture>()) {
            RefreshOverlays();
            return;
        }
        if (gestures.Get<MoveGesture>() || gestures.Get<SceneryMoveGesture>()) {
            RefreshMoved();
            return;
        }
    }
    Refresh();
}

// Messages, questions, menus and dialogs come last: they run nested event loops.
void CanvasPanel::ApplyRequests(const GestureResult& r) {
    if (r.message) ShowMessage(*r.message);
    if (r.deleteSelection) DeleteSelection();
    if (r.menu != ContextMenu::None) ShowContextMenu(r.menu, r.menuAutofill);
    if (r.resizeDialog != kNoId) OpenResizeScenery(r.resizeDialog);
}

void CanvasPanel::Notify(DocChange what) {
    if (frame && what != DocChange::None) frame->NotifyChanged(what);
}

void CanvasPanel::ShowMessage(const UserMessage& message) {
    const long icon =
        message.icon == UserMessage::Icon::Warning ? wxICON_EXCLAMATION : wxICON_INFORMATION;
    wxMessageBox(wxString::FromUTF8(message.text), wxString::FromUTF8(message.title), wxOK | icon,
                 this);
}

void CanvasPanel::ShowContextMenu(ContextMenu kind, bool withAutofill) {
    wxMenu menu;
    if (kind == ContextMenu::Paste) {
        menu.Append(kPasteId, _("Paste"));
    } else {
        if (withAutofill) {
            menu.Append(kAutofillId, _("Autofill Gap..."));
            menu.Append(kCloseGapId, _("Close &Gap...\tCtrl+J"));
        }
        menu.Append(kCopyId, _("Copy"));
    }
    ShowMenu(menu);
}

void CanvasPanel::ShowMenu(wxMenu& menu) {
    if (popupHook) {
        popupHook(menu);
        return;
    }
    PopupMenu(&menu);
}
