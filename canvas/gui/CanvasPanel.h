// The 2D view of the layout: transform, zoom, panning, grid, rulers and the paint cycle.
#pragma once

#include <wx/panel.h>
#include <wx/timer.h>

#include <functional>
#include <unordered_set>

#include "canvas/CanvasOverlays.h"
#include "canvas/Gestures.h"
#include "canvas/ViewTransform.h"

class MainFrame;
class LayoutDocument;
class wxDC;
class wxMenu;

class CanvasPanel : public wxPanel {
public:
    // The command the Delete and Backspace accelerators send.
    static constexpr int kDeleteSelectionId = 5038;
    // The context menu items.
    static constexpr int kCopyId = 5032;
    static constexpr int kPasteId = 5033;
    static constexpr int kAutofillId = 6001;

    CanvasPanel(wxWindow* parent, MainFrame* frame);

    MainFrame* Frame() const { return frame; }
    LayoutDocument& Document();
    const LayoutDocument& Document() const;

    // View state.
    const ViewTransform& Transform() const { return view; }
    void SetTransform(const ViewTransform& t);
    double Zoom() const { return view.zoom; }

    // Zoom about the centre of the client area (menu zoom in 1.25, zoom out 0.8).
    void ZoomBy(double factor);
    // Zoom keeping the layout point under the window pixel (px, py) still (mouse wheel).
    void ZoomAt(double factor, int px, int py);
    // Frames pieces, scenery and level outlines with 80-pixel margins.
    void ZoomToFit();
    // Zoom 0.4, offsets (60, 60).
    void ResetView();
    // Zoom 1.0, offsets (60, 60).
    void ResetViewUnitZoom();
    // Window pixel to layout millimetres, and back (truncated toward zero).
    void ScreenToLayout(int px, int py, double& x, double& y) const;
    wxPoint LayoutToScreen(double x, double y) const;
    void SetShowGrid(bool show);

    // The editing overlays of the active gesture, drawn after the layout and rulers.
    CanvasOverlays Overlays() const {
        CanvasOverlays o = gestures.Overlays(Document());
        o.findingRings = findingRings;
        return o;
    }
    // The rings the layout check puts around its findings; they stay until replaced.
    void SetFindingRings(std::vector<FindingRing> rings) {
        findingRings = std::move(rings);
        Refresh();
    }

    // Pan state (middle button, Space + left drag or Ctrl + left drag).
    bool IsPanning() const {
        return panning || spacePanning || gestures.Get<PanGesture>() != nullptr;
    }

    // Draws everything one paint draws (layout, rulers, overlays) into dc at the client size.
    void PaintTo(wxDC& dc, int width, int height);

    // Pan handlers, public so the editing code's mouse handlers can hand events over.
    // Each returns true when it consumed the event.
    bool HandleMiddleDown(const wxMouseEvent& event);
    bool HandleMiddleUp(const wxMouseEvent& event);
    bool HandlePanMotion(const wxMouseEvent& event, bool spaceDown);
    // Writes the layout point under the pointer to status field 2.
    void ShowPointerPosition(int px, int py);

    // ---- Editing (CanvasMouse.cpp, CanvasKeys.cpp, CanvasEdit.cpp) ----
    // Palette entry points: a ghost of the article, scenery item or helix variant follows the
    // pointer until the next left press drops it. Unknown keys do nothing.
    void BeginPieceDrag(const wxString& article);
    void BeginSceneryDrag(const wxString& sceneryId);
    void BeginHelixDrag(const wxString& variantId);
    // Palette double click: appends the article to the newest selected piece, or starts a
    // palette drag when no piece is selected.
    void PlaceAfterSelection(const wxString& article);
    // Ends a palette drag without placing anything.
    void CancelPieceDrag();
    // Delete key: lock check, graded-pieces question, then the delete.
    void DeleteSelection();
    void CopySelectionToBuffer();
    // Pastes the copy buffer centred on the point of the last right click.
    void Paste();
    // "Autofill Gap..." on the two selected pieces.
    void AutofillGap();
    // The Resize Scenery dialog for an item.
    void OpenResizeScenery(uint32_t itemId);
    // Leaves the measuring-tape mode and releases the toolbar's Measure toggle.
    void EndMeasuring();
    // The edit gestures (the active one, the copy buffer).
    const CanvasGestures& Gestures() const { return gestures; }
    // Motion and wheel handling of the editing code; true when the event was consumed.
    bool HandleEditMotion(wxMouseEvent& event);
    bool HandleEditWheel(const wxMouseEvent& event);
    // Shows context menus through `hook` instead of popping them up (tests).
    void SetPopupMenuHook(std::function<void(wxMenu&)> hook) { popupHook = std::move(hook); }

private:
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnMiddleDown(wxMouseEvent& event);
    void OnMiddleUp(wxMouseEvent& event);
    void OnWheel(wxMouseEvent& event);
    void OnRightUp(wxMouseEvent& event);
    void OnLeave(wxMouseEvent& event);
    void OnDeleteSelection(wxCommandEvent& event);
    void UpdateGradeStatus();

    // Editing.
    void BindEditing();
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnLeftDClick(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnFlashTimer(wxTimerEvent& event);
    PointerEvent ToPointer(const wxMouseEvent& event) const;
    // Carries out what a gesture asks of the window.
    void Apply(const GestureResult& r);
    void ApplyPointer(const GestureResult& r);
    void ApplyRequests(const GestureResult& r);
    void ShowContextMenu(ContextMenu kind, bool withAutofill);
    void ShowMenu(wxMenu& menu);
    void ShowMessage(const UserMessage& message);
    // The one change notification of an edit.
    void Notify(DocChange what);

    CanvasGestures gestures;
    wxTimer flashTimer;
    std::function<void(wxMenu&)> popupHook;

    MainFrame* frame = nullptr;
    ViewTransform view;
    std::unordered_set<uint32_t> helixLinked;

    bool panning = false;
    bool spacePanning = false;
    PanTracker pan;
    std::vector<FindingRing> findingRings;
};
