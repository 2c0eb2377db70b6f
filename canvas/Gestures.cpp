// The canvas gestures: palette drags and drops, moves, rotation, band selection, panning, tape,
// measurement, label, outline and scenery-handle drags.
#include "canvas/Gestures.h"

#include <cstdlib>
#include <unordered_map>

#include "canvas/Interaction.h"
#include "canvas/LayoutGeometry.h"
#include "trackgeometry/PieceGeometry.h"
#include "catalog/TrackCatalog.h"
#include "catalog/SceneryCatalog.h"
#include "model/Helices.h"
#include "model/Locks.h"
#include "model/SelectionQueries.h"

namespace {

UserMessage Refusal(const LockRefusal& lock) {
    return UserMessage{lock.title, lock.message, UserMessage::Icon::Information};
}

// A gesture ended by itself in the middle of a drag: the pointer goes back.
GestureResult Ended(GestureResult r = {}) {
    r.ended = true;
    r.capture = PointerCapture::Release;
    r.repaint = true;
    return r;
}

// What a drag reports: `what` once its transaction recorded something, and a repaint.
GestureResult Dragged(const EditTransaction& t, DocChange what) {
    GestureResult r;
    r.repaint = true;
    if (t.Recorded()) r.changed = what;
    return r;
}

}  // namespace

// ---- Palette drags ----

void PieceDragGesture::Track(const LayoutDocument& doc, const LayoutIndex* index) {
    snap = index ? TrackPaletteDrag(doc, *index, article, freePose)
                 : TrackPaletteDrag(doc, article, freePose);
}

void PieceDragGesture::Turn(const LayoutDocument& doc, double deg, bool retrack,
                            const LayoutIndex* index) {
    freePose.heading = NormalizeDeg(freePose.heading + deg);
    if (retrack)
        Track(doc, index);
    else
        snap = SnapResult{};
}

GestureResult PieceDragGesture::Motion(GestureContext& c, const PointerEvent& e) {
    freePose.x = e.at.x;
    freePose.y = e.at.y;
    Track(c.doc, c.index);
    GestureResult r;
    r.repaint = true;
    return r;
}

GestureResult PieceDragGesture::Drop(GestureContext& c) {
    GestureResult r = Ended();
    r.cursor = CanvasCursor::Default;
    // Snapping switched off during the drag leaves no snap behind.
    const SnapResult dropSnap = c.doc.snapOn ? snap : SnapResult{};
    const PlacementResult placed = DropPalettePiece(c.doc, article, freePose, dropSnap);
    if (!placed.Placed()) {
        if (!placed.error.empty())
            r.message = UserMessage{placed.errorTitle, placed.error, UserMessage::Icon::Warning};
        return r;
    }
    if (placed.firstZPiece) {
        // Z pieces are small: the view goes to 1 pixel per millimetre about the new piece, which
        // stays where it was dropped, so the next pieces are built in sight of it.
        PointMm at{freePose.x, freePose.y};
        const PlacedPiece* piece = c.doc.FindPiece(placed.firstId);
        const PieceDef* def = piece ? TrackCatalog::Instance().Find(piece->article) : nullptr;
        if (def) at = PieceMidpoint(*piece, *def);
        r.view = ZoomKeeping(c.view, 1.0, at.x, at.y);
    }
    r.changed = DocChange::Pieces | DocChange::Placement | DocChange::Selection;
    return r;
}

void PieceDragGesture::Overlay(CanvasOverlays& o) const {
    o.pieceGhost = true;
    o.ghostArticle = article;
    o.ghostX = snap.snapped ? snap.x : freePose.x;
    o.ghostY = snap.snapped ? snap.y : freePose.y;
    o.ghostHeading = snap.snapped ? snap.heading : freePose.heading;
    o.snapTarget = snap.snapped;
    o.snapX = snap.targetX;
    o.snapY = snap.targetY;
}

GestureResult SceneryDragGesture::Motion(GestureContext&, const PointerEvent& e) {
    ghost.x = e.at.x;
    ghost.y = e.at.y;
    GestureResult r;
    r.repaint = true;
    return r;
}

GestureResult SceneryDragGesture::Drop(GestureContext& c) {
    GestureResult r = Ended();
    if (DropScenery(c.doc, scenery, ghost.x, ghost.y, ghost.heading) != kNoId)
        r.changed = DocChange::Scenery | DocChange::Selection;
    return r;
}

void SceneryDragGesture::Overlay(CanvasOverlays& o) const {
    o.sceneryGhost = true;
    o.ghostScenery = scenery;
    o.sceneryGhostX = ghost.x;
    o.sceneryGhostY = ghost.y;
    o.sceneryGhostHeading = ghost.heading;
}

GestureResult HelixDragGesture::Motion(GestureContext&, const PointerEvent& e) {
    centre = e.at;
    GestureResult r;
    r.repaint = true;
    return r;
}

GestureResult HelixDragGesture::Drop(GestureContext& c, const PointerEvent& e) {
    GestureResult r = Ended();
    if (PlaceHelix(c.doc, e.at.x, e.at.y, 0, variant) != kNoId)
        r.changed = DocChange::Pieces | DocChange::Placement | DocChange::Selection;
    return r;
}

void HelixDragGesture::Overlay(CanvasOverlays& o) const {
    o.helixGhost = true;
    o.ghostHelixVariant = variant;
    o.helixGhostX = centre.x;
    o.helixGhostY = centre.y;
}

// ---- Moving ----

namespace {

// Every helix a selected piece belongs to must have exactly its four end pieces selected; this
// also refuses a helix that lost or gained end pieces in a damaged file.
LockRefusal CheckWholeHelices(const LayoutDocument& doc) {
    std::unordered_map<uint32_t, int> counts;
    for (const PlacedPiece& p : doc.pieces)
        if (p.selected && p.helixId != kNoId) ++counts[p.helixId];
    for (const auto& [helixId, count] : counts)
        if (count != 4) return LockRefusal{kHelixPartialTitle, kHelixPartialMessage};
    return CheckMoveLocks(doc);
}

}  // namespace

GestureResult MoveGesture::Motion(GestureContext& c, const PointerEvent& e) {
    if (pending) {
        if (!e.left) return {};
        const int dx = e.px - pressX, dy = e.py - pressY;
        if (dx * dx + dy * dy < kMoveThresholdSq) return {};
        const LockRefusal refusal = CheckWholeHelices(c.doc);
        if (refusal.Refused()) {
            GestureResult r = Ended();
            r.message = Refusal(refusal);
            return r;
        }
        pending = false;
    }
    const double dx = e.at.x - pressPoint.x, dy = e.at.y - pressPoint.y;
    groupSnap = c.index ? TrackSelectionMove(c.doc, *c.index, start, dx, dy)
                        : TrackSelectionMove(c.doc, start, dx, dy);
    transaction.Touch(c.doc);
    // The change is reported once, at the release: nothing else follows every motion.
    GestureResult r;
    r.repaint = true;
    return r;
}

GestureResult MoveGesture::Release(GestureContext& c, const PointerEvent&) {
    if (pending) return {};
    ReleaseSelectionMove(c.doc, start, groupSnap);
    transaction.Touch(c.doc);
    return Dragged(transaction, DocChange::Placement | DocChange::Scenery);
}

void MoveGesture::Overlay(CanvasOverlays& o) const {
    o.snapTarget = !pending && groupSnap.Snapped();
    o.snapX = groupSnap.snap.targetX;
    o.snapY = groupSnap.snap.targetY;
}

GestureResult SceneryMoveGesture::Motion(GestureContext& c, const PointerEvent& e) {
    if (!e.left) return {};
    MoveScenery(c.doc, start, e.at.x - pressPoint.x, e.at.y - pressPoint.y);
    transaction.Touch(c.doc);
    GestureResult r;  // reported at the release
    r.repaint = true;
    return r;
}

GestureResult SceneryMoveGesture::Release(GestureContext&, const PointerEvent&) {
    return Dragged(transaction, DocChange::Scenery);
}

GestureResult PictureDragGesture::Motion(GestureContext& c, const PointerEvent& e) {
    if (!e.left || index >= c.doc.pictures.size()) return {};
    BackgroundPicture& picture = c.doc.pictures[index];
    if (turn) {
        picture = TurnedPicture(start, pivot, PointerAngle(c.view, pivot, e.px, e.py) - startAngle);
    } else {
        picture.xMm = start.xMm + e.at.x - pressPoint.x;
        picture.yMm = start.yMm + e.at.y - pressPoint.y;
    }
    transaction.Touch(c.doc);
    GestureResult r;  // reported at the release
    r.repaint = true;
    return r;
}

GestureResult PictureDragGesture::Release(GestureContext&, const PointerEvent&) {
    return Dragged(transaction, DocChange::Pictures);
}

// ---- Band selection and panning ----

GestureResult RubberBandGesture::Motion(GestureContext&, const PointerEvent& e) {
    x1 = e.px;
    y1 = e.py;
    GestureResult r;
    r.repaint = true;
    return r;
}

GestureResult RubberBandGesture::Release(GestureContext& c, const PointerEvent& e) {
    GestureResult r;
    r.focus = true;
    if (c.index ? SelectInBand(c.doc, *c.index, c.view, x0, y0, e.px, e.py)
                : SelectInBand(c.doc, c.view, x0, y0, e.px, e.py)) {
        c.copyBuffer.clear();
        r.changed = DocChange::Selection;
    }
    return r;
}

void RubberBandGesture::Overlay(CanvasOverlays& o) const {
    o.rubberBand = true;
    o.bandX0 = x0;
    o.bandY0 = y0;
    o.bandX1 = x1;
    o.bandY1 = y1;
}

PanTracker PanTracker::Start(const ViewTransform& view, int px, int py) {
    return PanTracker{px, py, view.offsetX, view.offsetY};
}

std::optional<ViewTransform> PanTracker::Follow(const ViewTransform& view, int px, int py,
                                                bool deadZone) const {
    const int dx = px - anchorX, dy = py - anchorY;
    if (deadZone && std::abs(dx) < kPanDeadZonePx && std::abs(dy) < kPanDeadZonePx)
        return std::nullopt;
    ViewTransform moved = view;
    moved.offsetX = startOffsetX + dx;
    moved.offsetY = startOffsetY + dy;
    return moved;
}

GestureResult PanGesture::Motion(GestureContext& c, const PointerEvent& e) {
    GestureResult r;
    r.view = pan.Follow(c.view, e.px, e.py, true);
    if (r.view) {
        r.cursor = CanvasCursor::Hand;
        r.repaint = true;
    }
    return r;
}

GestureResult PanGesture::Release(GestureContext&, const PointerEvent&) { return {}; }

// ---- Rotation ----

GestureResult RotationGesture::Motion(GestureContext& c, const PointerEvent& e) {
    if (!e.left) return {};
    if (!PieceOrScenerySelected(c.doc)) {
        GestureResult r = Ended(Dragged(transaction, DocChange::Placement | DocChange::Scenery));
        r.flash = FlashTimer::Stop;
        return r;
    }
    const double angle = PointerAngle(c.view, start.pivot, e.px, e.py);
    const RotationSnap turn = SnapRotation(start.reference, angle - start.startAngle);
    ApplyRotation(c.doc, start, turn.delta);
    transaction.Touch(c.doc);
    shownHeading = turn.candidate;
    GestureResult r = Dragged(transaction, DocChange::Placement | DocChange::Scenery);
    if (turn.snapped && !flash) {
        flash = true;
        r.flash = FlashTimer::Start;
    } else if (!turn.snapped) {
        flash = false;
        r.flash = FlashTimer::Stop;
    }
    return r;
}

GestureResult RotationGesture::Release(GestureContext&, const PointerEvent&) {
    GestureResult r = Dragged(transaction, DocChange::Placement | DocChange::Scenery);
    r.flash = FlashTimer::Stop;
    return r;
}

GestureResult RotationGesture::FlashExpired() {
    flash = false;
    GestureResult r;
    r.repaint = true;
    return r;
}

void RotationGesture::Overlay(CanvasOverlays& o) const {
    o.rotation = true;
    o.rotationFlash = flash;
    o.pivotX = start.pivot.x;
    o.pivotY = start.pivot.y;
    o.rotationHeading = shownHeading;
}

// ---- Tape, measurements, labels, outlines, handles ----

GestureResult TapeGesture::Motion(GestureContext&, const PointerEvent& e) {
    mouseX = e.px;
    mouseY = e.py;
    return {};
}

void TapeGesture::Overlay(CanvasOverlays& o) const {
    o.tape = true;
    o.tapeX = first.x;
    o.tapeY = first.y;
    o.tapeMouseX = mouseX;
    o.tapeMouseY = mouseY;
}

GestureResult MeasurementDragGesture::Motion(GestureContext& c, const PointerEvent& e) {
    const bool moved = DragMeasurement(c.doc, start, e.at);
    transaction.Touch(c.doc);
    GestureResult r = Dragged(transaction, DocChange::Annotations);
    r.ended = !moved;  // the measurement is gone
    return r;
}

GestureResult MeasurementDragGesture::Release(GestureContext&, const PointerEvent&) {
    return Dragged(transaction, DocChange::Annotations);
}

GestureResult LabelDragGesture::Motion(GestureContext& c, const PointerEvent& e) {
    const bool moved = DragLabel(c.doc, start, e.at);
    transaction.Touch(c.doc);
    GestureResult r = Dragged(transaction, DocChange::Annotations);
    r.ended = !moved;
    return r;
}

GestureResult LabelDragGesture::Release(GestureContext&, const PointerEvent&) {
    return Dragged(transaction, DocChange::Annotations);
}

GestureResult OutlineDragGesture::Motion(GestureContext& c, const PointerEvent& e) {
    const bool moved = DragOutline(c.doc, start, e.at);
    GestureResult r;
    r.repaint = true;
    r.changed = moved ? DocChange::Levels : DocChange::None;
    r.ended = !moved;
    return r;
}

GestureResult OutlineDragGesture::Release(GestureContext& c, const PointerEvent&) {
    GestureResult r;
    const Level* level = c.doc.FindLevel(start.levelId);
    if (level && level->outline != start.outline) r.changed = DocChange::Levels;
    return r;
}

GestureResult ResizeGesture::Motion(GestureContext& c, const PointerEvent& e) {
    if (!DragSceneryResize(c.doc, start, e.at.x, e.at.y))
        return Ended(Dragged(transaction, DocChange::Scenery));  // the item went away
    transaction.Touch(c.doc);
    return Dragged(transaction, DocChange::Scenery);
}

GestureResult ResizeGesture::Release(GestureContext&, const PointerEvent&) {
    return Dragged(transaction, DocChange::Scenery);
}
