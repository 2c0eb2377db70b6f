// The 2D view of the layout: transform, zoom, panning, grid, rulers and the paint cycle.
#pragma once

#include <wx/panel.h>

#include <unordered_set>

#include "canvas/CanvasOverlays.h"
#include "canvas/ViewTransform.h"

class MainFrame;
class LayoutDocument;
class wxDC;

class CanvasPanel : public wxPanel {
public:
    // The command the Delete and Backspace accelerators send.
    static constexpr int kDeleteSelectionId = 5038;

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

    // The editing overlays drawn after the layout and rulers; the editing code sets them and
    // calls Refresh().
    CanvasOverlays& Overlays() { return overlays; }
    const CanvasOverlays& Overlays() const { return overlays; }

    // Pan state (middle button or Space + left drag).
    bool IsPanning() const { return panning || spacePanning; }

    // Draws everything one paint draws (layout, rulers, overlays) into dc at the client size.
    void PaintTo(wxDC& dc, int width, int height);

    // Pan handlers, public so the editing code's mouse handlers can hand events over.
    // Each returns true when it consumed the event.
    bool HandleMiddleDown(const wxMouseEvent& event);
    bool HandleMiddleUp(const wxMouseEvent& event);
    bool HandlePanMotion(const wxMouseEvent& event, bool spaceDown);
    // Writes the layout point under the pointer to status field 2.
    void ShowPointerPosition(int px, int py);

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

    MainFrame* frame = nullptr;
    ViewTransform view;
    CanvasOverlays overlays;
    std::unordered_set<uint32_t> helixLinked;

    bool panning = false;
    bool spacePanning = false;
    int panAnchorX = 0;
    int panAnchorY = 0;
    double panStartOffsetX = 0;
    double panStartOffsetY = 0;
};
