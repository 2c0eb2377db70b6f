// Construction of the canvas, its view operations (zoom, fit, pan) and the paint cycle.
#include "canvas/gui/CanvasPanel.h"

#include <wx/frame.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include <cmath>

#include "base/gui/FrameServices.h"
#include "canvas/gui/LayoutRenderer.h"
#include "model/DocumentChange.h"
#include "model/GradeRuns.h"
#include "model/LayoutDocument.h"
#include "trackgeometry/Units.h"

CanvasPanel::CanvasPanel(wxWindow* parent, FrameServices* owner)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
              wxWANTS_CHARS | wxFULL_REPAINT_ON_RESIZE),
      frame(owner) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    wxAcceleratorEntry entries[2];
    entries[0].Set(wxACCEL_NORMAL, WXK_DELETE, kDeleteSelectionId);
    entries[1].Set(wxACCEL_NORMAL, WXK_BACK, kDeleteSelectionId);
    wxAcceleratorTable accel(2, entries);
    SetAcceleratorTable(accel);

    Bind(wxEVT_PAINT, &CanvasPanel::OnPaint, this);
    Bind(wxEVT_SIZE, &CanvasPanel::OnSize, this);
    Bind(wxEVT_MOTION, &CanvasPanel::OnMotion, this);
    Bind(wxEVT_MIDDLE_DOWN, &CanvasPanel::OnMiddleDown, this);
    Bind(wxEVT_MIDDLE_UP, &CanvasPanel::OnMiddleUp, this);
    Bind(wxEVT_MOUSEWHEEL, &CanvasPanel::OnWheel, this);
    Bind(wxEVT_RIGHT_UP, &CanvasPanel::OnRightUp, this);
    Bind(wxEVT_LEAVE_WINDOW, &CanvasPanel::OnLeave, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CanvasPanel::OnCaptureLost, this);
    Bind(wxEVT_MENU, &CanvasPanel::OnDeleteSelection, this, kDeleteSelectionId);
    BindEditing();
    gestures.UsePictureSizes(SharedPictureSizes());
    Refresh();
}

LayoutDocument& CanvasPanel::Document() { return frame->Document(); }
const LayoutDocument& CanvasPanel::Document() const { return frame->Document(); }

void CanvasPanel::SetTransform(const ViewTransform& t) {
    view = t;
    RefreshView();  // the view alone: what was worked out for the document is kept
}

void CanvasPanel::ZoomBy(double factor) {
    const wxSize size = GetClientSize();
    ZoomAt(factor, size.x / 2, size.y / 2);
}

void CanvasPanel::ZoomAt(double factor, int px, int py) {
    const ViewTransform zoomed = ZoomAbout(view, factor, px, py);
    // At the zoom limits the wheel changes nothing: the picture stays as it is.
    if (zoomed == view) return;
    view = zoomed;
    RefreshView();
}

void CanvasPanel::ZoomToFit() {
    const wxSize size = GetClientSize();
    // Only the view changes: what was worked out for the document is kept.
    view = FitLayout(Document(), size.x, size.y);
    RefreshView();
}

void CanvasPanel::ResetView() {
    view = ViewTransform{};
    Refresh();
}

void CanvasPanel::ShowOpenedLayout(bool unitZoomCap) {
    const wxSize size = GetClientSize();
    view = OpenedLayoutView(Document(), size.x, size.y, unitZoomCap);
    Refresh();
}

void CanvasPanel::ScreenToLayout(int px, int py, double& x, double& y) const {
    x = view.ToLayoutX(px);
    y = view.ToLayoutY(py);
}

wxPoint CanvasPanel::LayoutToScreen(double x, double y) const {
    return wxPoint(view.ToPixelX(x), view.ToPixelY(y));
}

void CanvasPanel::SetShowGrid(bool show) {
    Document().gridShown = show;
    Refresh();
}

void CanvasPanel::ShowPointerPosition(int px, int py) {
    pointerX = view.ToLayoutX(px);
    pointerY = view.ToLayoutY(py);
    ShowPointerReadout();
}

void CanvasPanel::ShowPointerReadout() {
    wxStatusBar* bar = frame ? frame->StatusBar() : nullptr;
    if (!bar || bar->GetFieldsCount() < 3) return;
    pointerUnits = Document().units;
    bar->SetStatusText(wxString::FromUTF8(FormatCoordinates(pointerX, pointerY, pointerUnits)), 2);
}

void CanvasPanel::FollowUnits() {
    if (Document().units != pointerUnits) ShowPointerReadout();
}

bool CanvasPanel::HandleMiddleDown(const wxMouseEvent& event) {
    panning = true;
    pan = PanTracker::Start(view, event.GetX(), event.GetY());
    SetCursor(wxCursor(wxCURSOR_HAND));
    if (!HasCapture()) CaptureMouse();
    return true;
}

bool CanvasPanel::HandleMiddleUp(const wxMouseEvent&) {
    if (!panning) return false;
    panning = false;
    SetCursor(wxNullCursor);
    if (HasCapture()) ReleaseMouse();
    RefreshView();  // the shifted picture is drawn whole once more
    return true;
}

bool CanvasPanel::HandlePanMotion(const wxMouseEvent& event, bool spaceDown) {
    const int px = event.GetX(), py = event.GetY();
    if (panning) {
        // A dead zone against jitter.
        if (const std::optional<ViewTransform> moved = pan.Follow(view, px, py, true)) {
            view = *moved;
            SetCursor(wxCursor(wxCURSOR_HAND));
            RefreshPanned();
        }
        return true;
    }
    if (event.LeftIsDown() && spaceDown) {
        if (!spacePanning) {
            spacePanning = true;
            pan = PanTracker::Start(view, px, py);
            gestures.DropRubberBand();
            SetCursor(wxCursor(wxCURSOR_HAND));
        }
        view = *pan.Follow(view, px, py, false);
        RefreshPanned();
        return true;
    }
    if (spacePanning && !event.LeftIsDown()) {
        spacePanning = false;
        SetCursor(wxNullCursor);
        RefreshView();
    }
    return false;
}

void CanvasPanel::OnMotion(wxMouseEvent& event) {
    ShowPointerPosition(event.GetX(), event.GetY());
    if (HandlePanMotion(event, wxGetKeyState(WXK_SPACE))) return;
    if (HandleEditMotion(event)) return;
    event.Skip();
}

void CanvasPanel::OnMiddleDown(wxMouseEvent& event) { HandleMiddleDown(event); }

void CanvasPanel::OnMiddleUp(wxMouseEvent& event) {
    HandleMiddleUp(event);
    event.Skip();
}

void CanvasPanel::OnWheel(wxMouseEvent& event) {
    if (HandleEditWheel(event)) return;
    ZoomAt(event.GetWheelRotation() > 0 ? 1.15 : 1.0 / 1.15, event.GetX(), event.GetY());
}

void CanvasPanel::OnRightUp(wxMouseEvent& event) {
    if (HasCapture()) ReleaseMouse();
    event.Skip();
}

void CanvasPanel::OnLeave(wxMouseEvent& event) { event.Skip(); }

void CanvasPanel::OnCaptureLost(wxMouseCaptureLostEvent&) {
    // A menu or a dialog took the pointer in the middle of a gesture: it ends as Escape would.
    const bool wasPanning = panning || spacePanning;
    panning = spacePanning = false;
    if (wasPanning) SetCursor(wxNullCursor);
    Apply(Edit().CaptureLost(Document()));
}

void CanvasPanel::OnSize(wxSizeEvent& event) {
    Refresh();
    event.Skip();
}

void CanvasPanel::OnDeleteSelection(wxCommandEvent&) { DeleteSelection(); }

void CanvasPanel::UpdateGradeStatus() {
    wxStatusBar* bar = frame ? frame->StatusBar() : nullptr;
    if (!bar) return;
    const std::string current = bar->GetStatusText(0).ToStdString(wxConvUTF8);
    const std::string text = GradeRunsStatusText(Document().gradeRuns, current);
    if (text != current) bar->SetStatusText(wxString::FromUTF8(text), 0);
}
