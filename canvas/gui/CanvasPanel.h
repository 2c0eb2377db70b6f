// The 2D view of the layout: transform, zoom, panning, grid, rulers and the paint cycle.
#pragma once

#include <wx/bitmap.h>
#include <wx/panel.h>
#include <wx/timer.h>

#include <functional>
#include <unordered_set>

#include "base/gui/PaletteDrops.h"
#include "canvas/CanvasOverlays.h"
#include "canvas/Gestures.h"
#include "canvas/LayoutIndex.h"
#include "canvas/ViewTransform.h"
#include "canvas/gui/LayoutRenderer.h"
#include "canvas/gui/PictureLayer.h"

class FrameServices;
class LayoutDocument;
class wxDC;
class wxMenu;

class CanvasPanel : public wxPanel, public PaletteDrops {
public:
    // The command the Delete and Backspace accelerators send.
    static constexpr int kDeleteSelectionId = 5038;
    // The context menu items.
    static constexpr int kCopyId = 5032;
    static constexpr int kPasteId = 5033;
    static constexpr int kAutofillId = 6001;
    static constexpr int kCloseGapId = 6002;

    CanvasPanel(wxWindow* parent, FrameServices* frame);

    FrameServices* Frame() const { return frame; }
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
    // Frames everything drawn (FitLayout) with 80-pixel margins.
    void ZoomToFit();
    // Zoom 0.4, offsets (60, 60).
    void ResetView();
    // The view of a layout just opened: fitted, at most 1 pixel per millimetre with unitZoomCap.
    void ShowOpenedLayout(bool unitZoomCap);
    // Window pixel to layout millimetres, and back (truncated toward zero).
    void ScreenToLayout(int px, int py, double& x, double& y) const;
    wxPoint LayoutToScreen(double x, double y) const;
    void SetShowGrid(bool show);

    // The editing overlays of the active gesture and the layout check's rings, drawn after the
    // layout and rulers.
    CanvasOverlays Overlays() const {
        CanvasOverlays o = gestures.Overlays(Document());
        o.findingRings = findingRings;
        o.chainGhost = chainGhost;
        o.trains = trains;
        o.wiring = wiring;
        return o;
    }
    // The chain the gap closer offers, drawn as ghosts until replaced (empty: none).
    void SetChainGhost(std::vector<GhostPiece> ghost) {
        chainGhost = std::move(ghost);
        Refresh();
    }
    // The rings the layout check puts around its findings; they stay until replaced.
    void SetFindingRings(std::vector<FindingRing> rings) {
        findingRings = std::move(rings);
        Refresh();
    }

    // The running trains over the layout: only what they covered and cover now is drawn again,
    // over the kept picture of the layout.
    void SetTrainsOverlay(TrainsOverlay overlay);
    const TrainsOverlay& TrainsShown() const { return trains; }
    // A left press on the layout goes first to this handler (the Trains window's placing and
    // turnout switching), in layout millimetres; when it returns true, editing does not see it.
    using ClickHandler = std::function<bool(double xMm, double yMm)>;
    void SetClickHandler(ClickHandler handler) { clickHandler = std::move(handler); }
    const ClickHandler& CurrentClickHandler() const { return clickHandler; }
    // The background pictures as this canvas draws them (their scaled copies).
    const PictureLayer& Pictures() const { return pictureLayer; }
    // The wiring view over the layout (empty: none), drawn under the trains until replaced.
    void SetWiringOverlay(WiringOverlay overlay) {
        wiring = std::move(overlay);
        Refresh();
    }
    const WiringOverlay& WiringShown() const { return wiring; }
    // A left press goes to this handler before the click handler (the wiring view's gaps and
    // feeders), with whether Shift is held; true when it took the press.
    using ViewClickHandler = std::function<bool(double xMm, double yMm, bool shift)>;
    void SetViewClickHandler(ViewClickHandler handler) { viewClickHandler = std::move(handler); }

    // Pan state (middle button, Space + left drag or Ctrl + left drag).
    bool IsPanning() const {
        return panning || spacePanning || gestures.Get<PanGesture>() != nullptr;
    }

    // Draws everything one paint draws (layout, rulers, overlays) into dc at the client size.
    void PaintTo(wxDC& dc, int width, int height);

    // ---- The drawn picture (CanvasPaint.cpp) ----
    // Any refresh from outside the canvas's own gesture paths may follow a change of the
    // document: the picture, its caches and the index are made again at the next paint.
    void Refresh(bool eraseBackground = true, const wxRect* rect = nullptr) override;
    // The overlays changed (ghost, band, snap target, tape): only they are drawn again, over the
    // picture of the layout kept while the gesture runs.
    void RefreshOverlays();
    // The selected pieces, scenery items and helices moved: the layout without them is kept while
    // the gesture runs and only the area they left and entered is drawn again.
    void RefreshMoved();
    // The view was panned: the picture shifts and only the uncovered strips are drawn.
    void RefreshPanned();
    // The picture the window shows, as last drawn (tests compare it with PaintTo).
    const wxBitmap& Picture() const { return picture; }
    // The index of the document's pieces and scenery, brought up to date when the document was
    // changed from outside.
    const LayoutIndex& Index();
    LayoutIndex& MutableIndex();

    // Pan handlers, public so the editing code's mouse handlers can hand events over.
    // Each returns true when it consumed the event.
    bool HandleMiddleDown(const wxMouseEvent& event);
    bool HandleMiddleUp(const wxMouseEvent& event);
    bool HandlePanMotion(const wxMouseEvent& event, bool spaceDown);
    // Writes the layout point under the pointer to status field 2.
    void ShowPointerPosition(int px, int py);
    // Shows the last pointer position again in the layout's units when they changed (another
    // unit chosen, a layout in other units opened), without waiting for the mouse to move.
    void FollowUnits();

    // ---- Editing (CanvasMouse.cpp, CanvasKeys.cpp, CanvasEdit.cpp) ----
    // Palette entry points: a ghost of the article, scenery item or helix variant follows the
    // pointer until the next left press drops it. Unknown keys do nothing.
    void BeginPieceDrag(const wxString& article) override;
    void BeginSceneryDrag(const wxString& sceneryId) override;
    void BeginHelixDrag(const wxString& variantId) override;
    // Palette double click: appends the article to the newest selected piece, or starts a
    // palette drag when no piece is selected.
    void PlaceAfterSelection(const wxString& article) override;
    // Ends a palette drag without placing anything.
    void CancelPieceDrag();
    // Delete key: lock check, graded-pieces question, then the delete.
    void DeleteSelection();
    void CopySelectionToBuffer();
    // Pastes the copy buffer centred on the point of the last right click.
    void Paste();
    // Pastes the copy buffer centred on a window point.
    void PasteAt(int px, int py);
    // Ctrl+V and Edit > Paste: at the pointer when it is over the canvas, else in the middle of
    // the view.
    void PasteAtPointer();
    // "Autofill Gap..." on the two selected pieces.
    void AutofillGap();
    // "Close Gap...": the chain of catalog pieces between the nearest ends of the two selected
    // pieces, chosen in the gap closer's window.
    void CloseGap();
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
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnDeleteSelection(wxCommandEvent& event);
    void UpdateGradeStatus();
    void ShowPointerReadout();
    // Draws the whole picture again.
    void DrawPicture();
    bool PictureCurrent() const;
    // Makes the picture of the passes before `from` (the whole layout with rulers for End),
    // unless it is kept already; false when it was made anew (the picture is then whole again).
    bool PrepareUnder(LayoutPass from, bool forMove);
    // The picture inside area made again from the kept layout, what is drawn after it and the
    // overlays.
    void ComposeArea(const wxRect& area);
    // The passes from `from` on (Ground: all of it, on a white ground) with the rulers, handles
    // and overlays, drawn over the kept layout inside the areas.
    void ComposeOnScratch(const std::vector<wxRect>& areas, LayoutPass from);
    wxRect OverlayBounds();
    // Pixels the moving objects cover now (their index entries are brought up to date).
    wxRect MovedBounds();
    // Repaints from the picture without invalidating it.
    void RefreshArea(const wxRect& area);
    // The view changed but not the document: the picture is drawn again, the index is kept.
    void RefreshView();
    const LayoutDrawPlan& Plan();

    // Editing.
    void BindEditing();
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnLeftDClick(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    // Zoom and clipboard keys (KeyCommandFor); true when the key was one of them.
    bool HandleCommandKey(const wxKeyEvent& event);
    void OnFlashTimer(wxTimerEvent& event);
    PointerEvent ToPointer(const wxMouseEvent& event) const;
    // Carries out what a gesture asks of the window.
    // Carries out a gesture's result; `motion` when it answers a pointer motion.
    void Apply(const GestureResult& r, bool motion = false);
    void Repaint(const GestureResult& r, bool motion);
    // The gestures, with the index brought up to date for them.
    CanvasGestures& Edit();
    void ApplyPointer(const GestureResult& r);
    void ApplyRequests(const GestureResult& r);
    void ShowContextMenu(ContextMenu kind, bool withAutofill);
    void ShowMenu(wxMenu& menu);
    void ShowMessage(const UserMessage& message);
    // The one change notification of an edit.
    void Notify(DocChange what);

    CanvasGestures gestures;
    // The layout point last shown in the status bar, and the units it was shown in (the
    // frame's first text is in millimetres).
    double pointerX = 0;
    double pointerY = 0;
    int pointerUnits = 0;
    std::vector<FindingRing> findingRings;
    std::vector<GhostPiece> chainGhost;
    TrainsOverlay trains;
    ClickHandler clickHandler;
    WiringOverlay wiring;
    ViewClickHandler viewClickHandler;
    wxTimer flashTimer;
    std::function<void(wxMenu&)> popupHook;

    FrameServices* frame = nullptr;
    ViewTransform view;
    std::unordered_set<uint32_t> helixLinked;

    // Painting: the picture the window shows, the layout without what the running gesture
    // changes, and what they were drawn for.
    wxBitmap picture;
    wxBitmap under;
    wxBitmap scratch;  // where a part of the picture is drawn before it is copied in
    bool pictureValid = false;
    bool underValid = false;
    bool underForMove = false;
    LayoutPass underFrom = LayoutPass::End;  // first pass missing from `under`; End: rulers too
    ViewTransform pictureView;
    LayoutDrawPlan plan;
    bool planValid = false;
    PictureLayer pictureLayer;  // the background pictures, scaled once per zoom
    LayoutBandOrder bandOrder;  // of the last whole composition, kept for partial ones
    LayoutIndex index;
    bool indexValid = false;
    std::vector<size_t> movingPieces;  // what RefreshMoved follows, by document index
    std::vector<size_t> movingScenery;
    std::vector<uint32_t> movingHelices;
    wxRect overlayArea;  // pixels the overlays covered when last drawn
    wxRect movedArea;    // pixels the moving objects covered when last drawn
    bool ownRefresh = false;

    bool panning = false;
    bool spacePanning = false;
    PanTracker pan;
};
