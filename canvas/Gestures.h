// The canvas's edit gestures, one small class each, and the controller that holds the one active
// gesture. They work on the document without a window: the window hands over pointer events in
// layout millimetres and carries out the GestureResult it gets back.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "canvas/CanvasOverlays.h"
#include "canvas/EditTransaction.h"
#include "canvas/GestureTypes.h"
#include "canvas/LayoutIndex.h"
#include "canvas/SceneryEdit.h"
#include "canvas/Selection.h"
#include "canvas/Snapping.h"

// A pending move becomes a move after this squared distance in pixels (5 pixels).
inline constexpr int kMoveThresholdSq = 25;
// A pan moves the view once the pointer leaves this many pixels on either axis.
inline constexpr int kPanDeadZonePx = 4;

struct GestureContext {
    LayoutDocument& doc;
    const ViewTransform& view;
    std::vector<PlacedPiece>& copyBuffer;
    // The window's index of the document, when it keeps one up to date; searches then visit
    // only what lies near the pointer.
    LayoutIndex* index = nullptr;
};

// ---- Palette drags: a ghost follows the pointer until the next left press drops it ----

struct PieceDragGesture {
    std::string article;
    PiecePose freePose;
    SnapResult snap;

    // Snaps the ghost at its free pose.
    void Track(const LayoutDocument& doc, const LayoutIndex* index = nullptr);
    // Turns the ghost; with retrack the snap follows at once, otherwise at the next move.
    void Turn(const LayoutDocument& doc, double deg, bool retrack,
              const LayoutIndex* index = nullptr);
    GestureResult Motion(GestureContext& c, const PointerEvent& e);
    GestureResult Drop(GestureContext& c);
    // The ghost stays with the pointer until the next press.
    GestureResult Release(GestureContext&, const PointerEvent&) { return {}; }
    void Overlay(CanvasOverlays& o) const;
};

struct SceneryDragGesture {
    std::string scenery;
    PiecePose ghost;

    GestureResult Motion(GestureContext& c, const PointerEvent& e);
    GestureResult Drop(GestureContext& c);
    // The ghost stays with the pointer until the next press.
    GestureResult Release(GestureContext&, const PointerEvent&) { return {}; }
    void Overlay(CanvasOverlays& o) const;
};

struct HelixDragGesture {
    std::string variant;
    PointMm centre;

    GestureResult Motion(GestureContext& c, const PointerEvent& e);
    GestureResult Drop(GestureContext& c, const PointerEvent& e);
    GestureResult Release(GestureContext&, const PointerEvent&) { return {}; }
    void Overlay(CanvasOverlays& o) const;
};

// ---- Moving ----

// Pressed on a piece: pending until the pointer travels 5 pixels and the selection passes the
// move checks, then the selection follows the pointer with its group snap.
struct MoveGesture {
    bool pending = true;
    int pressX = 0, pressY = 0;
    PointMm pressPoint;
    MoveStart start;
    GroupSnap groupSnap;
    EditTransaction transaction;

    GestureResult Motion(GestureContext& c, const PointerEvent& e);
    GestureResult Release(GestureContext& c, const PointerEvent& e);
    void Overlay(CanvasOverlays& o) const;
};

// Pressed on a scenery item: its selection follows the pointer at once.
struct SceneryMoveGesture {
    PointMm pressPoint;
    SceneryMoveStart start;
    EditTransaction transaction;

    GestureResult Motion(GestureContext& c, const PointerEvent& e);
    GestureResult Release(GestureContext& c, const PointerEvent& e);
    void Overlay(CanvasOverlays&) const {}
};

// Pressed on an unlocked background picture where nothing else is: the picture follows the
// pointer, or with Alt turns about its middle as the pointer goes round it.
struct PictureDragGesture {
    size_t index = 0;
    PointMm pressPoint;
    BackgroundPicture start;
    bool turn = false;
    PointMm pivot;
    double startAngle = 0;
    EditTransaction transaction;

    GestureResult Motion(GestureContext& c, const PointerEvent& e);
    GestureResult Release(GestureContext& c, const PointerEvent& e);
    void Overlay(CanvasOverlays&) const {}
};

// ---- Band selection and panning ----

struct RubberBandGesture {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    GestureResult Motion(GestureContext& c, const PointerEvent& e);
    GestureResult Release(GestureContext& c, const PointerEvent& e);
    void Overlay(CanvasOverlays& o) const;
};

// Where a dragged view goes: the offsets at the press plus the pointer's travel, once the
// pointer left the dead zone.
struct PanTracker {
    int anchorX = 0, anchorY = 0;
    double startOffsetX = 0, startOffsetY = 0;

    static PanTracker Start(const ViewTransform& view, int px, int py);
    // The view for the pointer at (px, py); nullopt inside the dead zone.
    std::optional<ViewTransform> Follow(const ViewTransform& view, int px, int py,
                                        bool deadZone) const;
};

// Ctrl + left on empty canvas.
struct PanGesture {
    PanTracker pan;

    GestureResult Motion(GestureContext& c, const PointerEvent& e);
    GestureResult Release(GestureContext& c, const PointerEvent& e);
    void Overlay(CanvasOverlays&) const {}
};

// ---- Alt-drag rotation ----

struct RotationGesture {
    RotationStart start;
    double shownHeading = 0;
    bool flash = false;
    EditTransaction transaction;

    GestureResult Motion(GestureContext& c, const PointerEvent& e);
    GestureResult Release(GestureContext& c, const PointerEvent& e);
    // The flash timer ran out.
    GestureResult FlashExpired();
    void Overlay(CanvasOverlays& o) const;
};

// ---- Tape, measurements, labels, outlines, scenery handles ----

// The measuring tape after its first point.
struct TapeGesture {
    PointMm first;
    int mouseX = 0, mouseY = 0;

    GestureResult Motion(GestureContext& c, const PointerEvent& e);
    GestureResult Release(GestureContext&, const PointerEvent&) { return {}; }
    void Overlay(CanvasOverlays& o) const;
};

struct MeasurementDragGesture {
    MeasurementDragStart start;
    EditTransaction transaction;

    GestureResult Motion(GestureContext& c, const PointerEvent& e);
    GestureResult Release(GestureContext& c, const PointerEvent& e);
    void Overlay(CanvasOverlays&) const {}
};

struct LabelDragGesture {
    LabelDragStart start;
    EditTransaction transaction;

    GestureResult Motion(GestureContext& c, const PointerEvent& e);
    GestureResult Release(GestureContext& c, const PointerEvent& e);
    void Overlay(CanvasOverlays&) const {}
};

// Deck outlines are not part of the undo record: the drag takes none.
struct OutlineDragGesture {
    OutlineDragStart start;

    GestureResult Motion(GestureContext& c, const PointerEvent& e);
    GestureResult Release(GestureContext& c, const PointerEvent& e);
    void Overlay(CanvasOverlays&) const {}
};

struct ResizeGesture {
    SceneryResizeStart start;
    EditTransaction transaction;

    GestureResult Motion(GestureContext& c, const PointerEvent& e);
    GestureResult Release(GestureContext& c, const PointerEvent& e);
    void Overlay(CanvasOverlays&) const {}
};

// The one gesture running, or none.
using ActiveGesture =
    std::variant<std::monostate, PieceDragGesture, SceneryDragGesture, HelixDragGesture,
                 MoveGesture, SceneryMoveGesture, RubberBandGesture, PanGesture, RotationGesture,
                 TapeGesture, MeasurementDragGesture, LabelDragGesture, OutlineDragGesture,
                 ResizeGesture, PictureDragGesture>;

// Receives every pointer, key and command event of the canvas, starts and ends the gestures and
// keeps the copy buffer.
class CanvasGestures {
public:
    // Palette entry points: the ghost starts at the layout point under window pixel (300, 200).
    // Unknown keys do nothing.
    GestureResult BeginPieceDrag(const LayoutDocument& doc, const ViewTransform& view,
                                 std::string_view article);
    GestureResult BeginSceneryDrag(const ViewTransform& view, std::string_view sceneryId);
    GestureResult BeginHelixDrag(const ViewTransform& view, std::string_view variantId);
    // Ends a palette drag without placing anything.
    GestureResult CancelPaletteDrag();
    // Palette double click: append to the newest selected piece, or start a palette drag.
    GestureResult PlaceAfterSelection(LayoutDocument& doc, const ViewTransform& view,
                                      std::string_view article);

    GestureResult LeftDown(LayoutDocument& doc, const ViewTransform& view, const PointerEvent& e);
    GestureResult Motion(LayoutDocument& doc, const ViewTransform& view, const PointerEvent& e);
    GestureResult LeftUp(LayoutDocument& doc, const ViewTransform& view, const PointerEvent& e);
    GestureResult DoubleClick(LayoutDocument& doc, const ViewTransform& view,
                              const PointerEvent& e);
    GestureResult RightDown(LayoutDocument& doc, const ViewTransform& view, const PointerEvent& e);
    // Wheel turns during palette drags; unhandled otherwise (the view zooms).
    GestureResult Wheel(const LayoutDocument& doc, int rotation, bool shift);
    GestureResult Key(LayoutDocument& doc, CanvasKey key);
    GestureResult FlashExpired();
    // The window lost the pointer in the middle of a gesture (a menu or a dialog took it): the
    // gesture ends as Escape ends it. A palette ghost goes away, a band or a pan stops, and a drag
    // that changed the document (a move, a turn, a handle, a label or an outline) puts back what
    // it changed, with its undo step.
    GestureResult CaptureLost(LayoutDocument& doc);

    // The canvas's delete through the one delete command: its checks, then the delete unless
    // the question about graded pieces is still to be answered Yes (gradedConfirmed).
    GestureResult DeleteSelection(LayoutDocument& doc, bool gradedConfirmed);
    GestureResult Copy(const LayoutDocument& doc);
    // Pastes the copy buffer centred on the point of the last right click.
    GestureResult Paste(LayoutDocument& doc, const ViewTransform& view);
    // Pastes the copy buffer centred on window point (px, py) (Ctrl+V: the pointer).
    GestureResult PasteAt(LayoutDocument& doc, const ViewTransform& view, int px, int py);
    // Leaves the measuring-tape mode.
    GestureResult EndMeasuring(LayoutDocument& doc);

    // What the canvas draws over the layout for the active gesture.
    CanvasOverlays Overlays(const LayoutDocument& doc) const;

    const ActiveGesture& Active() const { return active; }
    template <class G>
    const G* Get() const {
        return std::get_if<G>(&active);
    }
    bool PaletteDrag() const;
    const std::vector<PlacedPiece>& CopyBuffer() const { return copyBuffer; }
    bool SwallowsNextPress() const { return swallowNextPress; }
    // The index hit tests and snap searches use from now on (null: they walk the document). The
    // caller keeps it up to date with the document it hands over.
    void UseIndex(LayoutIndex* i) { index = i; }
    // How the picture hit test learns the pixel size of a picture's image (none: pictures are
    // never taken by the mouse).
    void UsePictureSizes(PictureImageSize sizes) { pictureSizes = std::move(sizes); }
    // Drops a band selection the window took over for panning; it selects nothing.
    void DropRubberBand() {
        if (std::holds_alternative<RubberBandGesture>(active)) active = std::monostate{};
    }

private:
    GestureResult TapePress(LayoutDocument& doc, const PointerEvent& e);
    bool StartMeasurementDrag(LayoutDocument& doc, const ViewTransform& view, const PointerEvent& e,
                              GestureResult& r);
    bool StartResize(LayoutDocument& doc, const ViewTransform& view, const PointerEvent& e,
                     GestureResult& r);
    bool StartRotation(LayoutDocument& doc, const ViewTransform& view, const PointerEvent& e,
                       GestureResult& r);
    GestureResult DropPalette(LayoutDocument& doc, const ViewTransform& view,
                              const PointerEvent& e);
    GestureResult PressOnCanvas(LayoutDocument& doc, const ViewTransform& view,
                                const PointerEvent& e);
    GestureResult PressOnPiece(LayoutDocument& doc, uint32_t pieceId, const PointerEvent& e);
    GestureResult PressOnScenery(LayoutDocument& doc, uint32_t itemId, const PointerEvent& e);
    bool PressOnPicture(LayoutDocument& doc, const ViewTransform& view, const PointerEvent& e,
                        GestureResult& r);
    GestureResult PressOnEmpty(LayoutDocument& doc, const ViewTransform& view,
                               const PointerEvent& e);
    GestureResult Hover(const LayoutDocument& doc, const ViewTransform& view,
                        const PointerEvent& e) const;
    GestureResult StepRotate(LayoutDocument& doc);
    GestureResult RightOnPiece(LayoutDocument& doc, uint32_t pieceId);
    GestureResult PaletteKey(const LayoutDocument& doc, CanvasKey key);
    // Runs a result from a gesture: the gesture ends when it says so.
    GestureResult Finish(GestureResult r);

    ActiveGesture active;
    LayoutIndex* index = nullptr;
    PictureImageSize pictureSizes;
    std::vector<PlacedPiece> copyBuffer;
    int menuX = 0, menuY = 0;       // window point of the last right click (paste goes there)
    bool swallowNextPress = false;  // the press that follows a double-click clone
};
