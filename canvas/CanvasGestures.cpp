// The controller of the canvas gestures: which gesture a press starts, where motion and release
// go, the right button, the wheel, the keys and the edit commands of the canvas.
#include <type_traits>

#include "canvas/DeleteCommand.h"
#include "canvas/Gestures.h"
#include "canvas/Interaction.h"
#include "canvas/LayoutGeometry.h"
#include "catalog/HelixVariants.h"
#include "catalog/SceneryCatalog.h"
#include "model/GradeRuns.h"
#include "model/Locks.h"
#include "model/SelectionQueries.h"

namespace {

// Hit tests through the window's index when there is one.
uint32_t PieceOrHelixUnder(const LayoutDocument& doc, const LayoutIndex* index,
                           const ViewTransform& view, const PointerEvent& e) {
    return index ? PieceOrHelixAt(doc, *index, view, e.px, e.py)
                 : PieceOrHelixAt(doc, view, e.px, e.py);
}
uint32_t PieceUnder(const LayoutDocument& doc, const LayoutIndex* index, const ViewTransform& view,
                    const PointerEvent& e) {
    return index ? PieceAt(doc, *index, view, e.px, e.py) : PieceAt(doc, view, e.px, e.py);
}
uint32_t SceneryUnder(const LayoutDocument& doc, const LayoutIndex* index,
                      const ViewTransform& view, const PointerEvent& e) {
    return index ? SceneryAt(doc, *index, view, e.px, e.py) : SceneryAt(doc, view, e.px, e.py);
}

// The ghost of a palette drag appears under this window pixel.
constexpr int kGhostPx = 300;
constexpr int kGhostPy = 200;
constexpr double kPieceTurnDeg = 30;
constexpr double kSceneryTurnDeg = 15;

GestureResult Started() {
    GestureResult r;
    r.focus = true;
    r.capture = PointerCapture::Capture;
    r.repaint = true;
    return r;
}

UserMessage Refusal(const LockRefusal& lock) {
    return UserMessage{lock.title, lock.message, UserMessage::Icon::Information};
}

CanvasCursor HandleCursor(int handle) {
    switch (handle % 4) {
        case 0:
            return CanvasCursor::SizeNWSE;
        case 1:
            return CanvasCursor::SizeNS;
        case 2:
            return CanvasCursor::SizeNESW;
        default:
            return CanvasCursor::SizeWE;
    }
}

// The handle of the one resizable selected item under the pointer; -1 when none.
int HandleUnder(const LayoutDocument& doc, const ViewTransform& view, const PointerEvent& e,
                uint32_t* itemId = nullptr) {
    const SceneryItem* item = ResizableSelection(doc);
    const SceneryDef* def = item ? SceneryCatalog::Instance().Find(item->item) : nullptr;
    if (!def) return -1;
    if (itemId) *itemId = item->id;
    return HandleAt(*item, *def, view, e.px, e.py);
}

}  // namespace

bool CanvasGestures::PaletteDrag() const {
    return std::holds_alternative<PieceDragGesture>(active) ||
           std::holds_alternative<SceneryDragGesture>(active) ||
           std::holds_alternative<HelixDragGesture>(active);
}

GestureResult CanvasGestures::Finish(GestureResult r) {
    if (r.ended) active = std::monostate{};
    return r;
}

// ---- Palette entry points ----

GestureResult CanvasGestures::BeginPieceDrag(const LayoutDocument&, const ViewTransform& view,
                                             std::string_view article) {
    if (!TrackCatalog::Instance().Find(article)) return GestureResult::Unhandled();
    PieceDragGesture g;
    g.article = std::string(article);
    g.freePose = {view.ToLayoutX(kGhostPx), view.ToLayoutY(kGhostPy), 0};
    active = std::move(g);
    return Started();
}

GestureResult CanvasGestures::BeginSceneryDrag(const ViewTransform& view,
                                               std::string_view sceneryId) {
    if (!SceneryCatalog::Instance().Find(sceneryId)) return GestureResult::Unhandled();
    SceneryDragGesture g;
    g.scenery = std::string(sceneryId);
    g.ghost = {view.ToLayoutX(kGhostPx), view.ToLayoutY(kGhostPy), 0};
    active = std::move(g);
    return Started();
}

GestureResult CanvasGestures::BeginHelixDrag(const ViewTransform& view,
                                             std::string_view variantId) {
    if (!FindHelixVariant(variantId)) return GestureResult::Unhandled();
    active = HelixDragGesture{std::string(variantId),
                              {view.ToLayoutX(kGhostPx), view.ToLayoutY(kGhostPy)}};
    return Started();
}

GestureResult CanvasGestures::CancelPaletteDrag() {
    GestureResult r;
    if (!PaletteDrag()) return r;
    active = std::monostate{};
    r.capture = PointerCapture::Release;
    r.cursor = CanvasCursor::Default;
    r.repaint = true;
    return r;
}

GestureResult CanvasGestures::PlaceAfterSelection(LayoutDocument& doc, const ViewTransform& view,
                                                  std::string_view article) {
    const PlacementResult placed = ::PlaceAfterSelection(doc, article);
    if (placed.startDrag) return BeginPieceDrag(doc, view, article);
    GestureResult r;
    if (!placed.error.empty())
        r.message = UserMessage{placed.errorTitle, placed.error, UserMessage::Icon::Warning};
    if (placed.Placed()) {
        r.changed = DocChange::Pieces | DocChange::Placement | DocChange::Selection;
        r.repaint = true;
    }
    return r;
}

// ---- Left button ----

GestureResult CanvasGestures::LeftDown(LayoutDocument& doc, const ViewTransform& view,
                                       const PointerEvent& e) {
    if (doc.toolMode == 3) return TapePress(doc, e);
    if (std::holds_alternative<TapeGesture>(active)) active = std::monostate{};
    GestureResult r;
    r.focus = true;
    // While a palette ghost follows the pointer the press is its drop, wherever it lands.
    if (!PaletteDrag() && (StartMeasurementDrag(doc, view, e, r) || StartResize(doc, view, e, r)))
        return r;
    if (e.mods.alt && StartRotation(doc, view, e, r)) return r;
    if (swallowNextPress) {
        swallowNextPress = false;
        return r;
    }
    r = PaletteDrag() ? DropPalette(doc, view, e) : PressOnCanvas(doc, view, e);
    r.focus = true;
    return r;
}

GestureResult CanvasGestures::TapePress(LayoutDocument& doc, const PointerEvent& e) {
    if (const TapeGesture* tape = Get<TapeGesture>()) {
        const bool added = AddMeasurement(doc, tape->first, e.at) != kNoId;
        GestureResult r = EndMeasuring(doc);
        if (added) r.changed = DocChange::Annotations;
        r.focus = true;
        return r;
    }
    active = TapeGesture{e.at, e.px, e.py};
    GestureResult r;
    r.focus = true;
    r.repaint = true;
    return r;
}

GestureResult CanvasGestures::EndMeasuring(LayoutDocument& doc) {
    if (std::holds_alternative<TapeGesture>(active)) active = std::monostate{};
    doc.toolMode = 0;
    GestureResult r;
    r.measureToolReleased = true;
    r.cursor = CanvasCursor::Default;
    r.repaint = true;
    return r;
}

bool CanvasGestures::StartMeasurementDrag(LayoutDocument& doc, const ViewTransform& view,
                                          const PointerEvent& e, GestureResult& r) {
    if (e.mods.ctrl || e.mods.shift || e.mods.alt) return false;
    const MeasurementHit hit = MeasurementAt(doc, view, e.px, e.py);
    if (hit.id == kNoId) return false;
    EditTransaction transaction(doc);
    doc.ClearSelection();
    for (Measurement& m : doc.measurements) m.selected = m.id == hit.id;
    active =
        MeasurementDragGesture{BeginMeasurementDrag(doc, hit.id, static_cast<int>(hit.part), e.at),
                               std::move(transaction)};
    r = Started();
    r.changed = DocChange::Selection;
    return true;
}

bool CanvasGestures::StartResize(LayoutDocument& doc, const ViewTransform& view,
                                 const PointerEvent& e, GestureResult& r) {
    if (e.mods.alt) return false;
    uint32_t itemId = kNoId;
    const int handle = HandleUnder(doc, view, e, &itemId);
    if (handle < 0) return false;
    active = ResizeGesture{BeginSceneryResize(doc, itemId, handle), EditTransaction(doc)};
    r = Started();
    r.repaint = false;
    return true;
}

bool CanvasGestures::StartRotation(LayoutDocument& doc, const ViewTransform& view,
                                   const PointerEvent& e, GestureResult& r) {
    if (!PieceOrScenerySelected(doc)) return false;
    const LockRefusal lock = CheckSelectionLocks(doc, "rotate", true);
    if (lock.Refused()) {
        r.message = Refusal(lock);
        return true;
    }
    RotationGesture g;
    g.transaction = EditTransaction(doc);
    g.start = TakeRotationStart(doc);
    g.start.startAngle = PointerAngle(view, g.start.pivot, e.px, e.py);
    g.shownHeading = g.start.reference;
    active = std::move(g);
    r = Started();
    return true;
}

GestureResult CanvasGestures::DropPalette(LayoutDocument& doc, const ViewTransform& view,
                                          const PointerEvent& e) {
    GestureContext c{doc, view, copyBuffer, index};
    if (auto* piece = std::get_if<PieceDragGesture>(&active)) return Finish(piece->Drop(c));
    if (auto* scenery = std::get_if<SceneryDragGesture>(&active)) return Finish(scenery->Drop(c));
    return Finish(std::get<HelixDragGesture>(active).Drop(c, e));
}

GestureResult CanvasGestures::PressOnCanvas(LayoutDocument& doc, const ViewTransform& view,
                                            const PointerEvent& e) {
    EditTransaction transaction(doc);
    const uint32_t labelId = LabelAt(doc, view, e.px, e.py);
    for (Label& l : doc.labels) l.selected = l.id == labelId;
    if (labelId != kNoId) {
        active = LabelDragGesture{BeginLabelDrag(doc, labelId, e.at), std::move(transaction)};
        GestureResult r = Started();
        r.changed = DocChange::Selection;
        return r;
    }
    const uint32_t pieceId = PieceOrHelixUnder(doc, index, view, e);
    if (pieceId != kNoId) {
        ClickPiece(doc, pieceId, e.mods.ctrl, e.mods.shift);
        active =
            MoveGesture{true, e.px, e.py, e.at, TakeMoveStart(doc), {}, std::move(transaction)};
        GestureResult r = Started();
        r.changed = DocChange::Selection;
        return r;
    }
    if (e.mods.shift && !e.mods.ctrl) {
        const uint32_t levelId = LevelOutlineAt(doc, view, e.px, e.py);
        if (levelId != kNoId) {
            active = OutlineDragGesture{BeginOutlineDrag(doc, levelId, e.at)};
            GestureResult r = Started();
            r.repaint = false;
            return r;
        }
    }
    const uint32_t itemId = SceneryUnder(doc, index, view, e);
    if (itemId != kNoId) return PressOnScenery(doc, itemId, e);
    GestureResult r;
    if (PressOnPicture(doc, view, e, r)) return r;
    return PressOnEmpty(doc, view, e);
}

// Ctrl and Shift keep their meaning over a picture (pan, add to the selection by a band).
bool CanvasGestures::PressOnPicture(LayoutDocument& doc, const ViewTransform& view,
                                    const PointerEvent& e, GestureResult& r) {
    if (e.mods.ctrl || e.mods.shift) return false;
    const int hit = PictureAt(doc, e.at, pictureSizes);
    if (hit < 0) return false;
    doc.ClearSelection();
    PictureDragGesture g;
    g.index = static_cast<size_t>(hit);
    g.pressPoint = e.at;
    g.start = doc.pictures[g.index];
    g.turn = e.mods.alt;
    g.pivot = PictureCentre(g.start, pictureSizes(g.start.path));
    g.startAngle = PointerAngle(view, g.pivot, e.px, e.py);
    g.transaction = EditTransaction(doc);
    active = std::move(g);
    r = Started();
    r.changed = DocChange::Selection;
    return true;
}

GestureResult CanvasGestures::PressOnScenery(LayoutDocument& doc, uint32_t itemId,
                                             const PointerEvent& e) {
    EditTransaction transaction(doc);
    ClickScenery(doc, itemId, e.mods.shift);
    active = SceneryMoveGesture{e.at, TakeSceneryMoveStart(doc), std::move(transaction)};
    GestureResult r = Started();
    r.changed = DocChange::Selection;
    return r;
}

GestureResult CanvasGestures::PressOnEmpty(LayoutDocument& doc, const ViewTransform& view,
                                           const PointerEvent& e) {
    doc.ClearSelection();
    copyBuffer.clear();
    GestureResult r = Started();
    r.changed = DocChange::Selection;
    if (e.mods.ctrl) {
        active = PanGesture{PanTracker::Start(view, e.px, e.py)};
        r.cursor = CanvasCursor::Hand;
        r.labelPoint = e.at;
    } else {
        active = RubberBandGesture{e.px, e.py, e.px, e.py};
    }
    return r;
}

GestureResult CanvasGestures::Motion(LayoutDocument& doc, const ViewTransform& view,
                                     const PointerEvent& e) {
    if (doc.toolMode == 3) {
        GestureResult r;
        r.cursor = CanvasCursor::Pencil;
        r.repaint = true;
        if (auto* tape = std::get_if<TapeGesture>(&active)) {
            tape->mouseX = e.px;
            tape->mouseY = e.py;
        }
        return r;
    }
    const bool grabbed = std::holds_alternative<MeasurementDragGesture>(active) ||
                         std::holds_alternative<ResizeGesture>(active) ||
                         std::holds_alternative<OutlineDragGesture>(active) ||
                         std::holds_alternative<LabelDragGesture>(active);
    const bool hoverable = !PaletteDrag() && !std::holds_alternative<RotationGesture>(active) &&
                           !std::holds_alternative<PanGesture>(active);
    if (!e.left && (grabbed || hoverable)) return Hover(doc, view, e);
    GestureContext c{doc, view, copyBuffer, index};
    return std::visit(
        [&](auto& g) -> GestureResult {
            if constexpr (std::is_same_v<std::decay_t<decltype(g)>, std::monostate>)
                return GestureResult::Unhandled();
            else
                return Finish(g.Motion(c, e));
        },
        active);
}

GestureResult CanvasGestures::Hover(const LayoutDocument& doc, const ViewTransform& view,
                                    const PointerEvent& e) const {
    GestureResult r;
    const int handle = HandleUnder(doc, view, e);
    r.cursor = handle >= 0 ? HandleCursor(handle) : CanvasCursor::Default;
    return r;
}

GestureResult CanvasGestures::LeftUp(LayoutDocument& doc, const ViewTransform& view,
                                     const PointerEvent& e) {
    GestureContext c{doc, view, copyBuffer, index};
    GestureResult r = std::visit(
        [&](auto& g) -> GestureResult {
            if constexpr (std::is_same_v<std::decay_t<decltype(g)>, std::monostate>)
                return {};
            else
                return g.Release(c, e);
        },
        active);
    r.repaint = true;
    if (doc.toolMode != 3) r.cursor = CanvasCursor::Default;
    // A palette drag keeps the pointer until its drop, the tape until its second point.
    if (!PaletteDrag() && !std::holds_alternative<TapeGesture>(active)) {
        active = std::monostate{};
        r.capture = PointerCapture::Release;
    }
    return r;
}

GestureResult CanvasGestures::DoubleClick(LayoutDocument& doc, const ViewTransform& view,
                                          const PointerEvent& e) {
    GestureResult r;
    if (e.mods.alt) return r;
    const uint32_t itemId = SceneryUnder(doc, index, view, e);
    if (itemId != kNoId) {
        r.resizeDialog = itemId;
        return r;
    }
    const uint32_t pieceId = PieceUnder(doc, index, view, e);
    if (pieceId == kNoId || !CloneAndExtend(doc, pieceId).Placed()) return r;
    swallowNextPress = true;
    r.changed = DocChange::Pieces | DocChange::Placement | DocChange::Selection;
    r.repaint = true;
    return r;
}

GestureResult CanvasGestures::FlashExpired() {
    if (auto* rotation = std::get_if<RotationGesture>(&active)) return rotation->FlashExpired();
    return {};
}

GestureResult CanvasGestures::CaptureLost(LayoutDocument& doc) {
    if (PaletteDrag()) return CancelPaletteDrag();
    GestureResult r;
    r.capture = PointerCapture::Release;
    r.cursor = doc.toolMode == 3 ? CanvasCursor::Keep : CanvasCursor::Default;
    r.repaint = true;
    const auto revert = [&](EditTransaction& t) {
        if (t.Revert(doc)) r.changed = DocChange::Content | DocChange::Selection;
    };
    if (auto* move = std::get_if<MoveGesture>(&active)) revert(move->transaction);
    if (auto* move = std::get_if<SceneryMoveGesture>(&active)) revert(move->transaction);
    if (auto* drag = std::get_if<PictureDragGesture>(&active)) revert(drag->transaction);
    if (auto* turn = std::get_if<RotationGesture>(&active)) {
        revert(turn->transaction);
        r.flash = FlashTimer::Stop;
    }
    if (auto* drag = std::get_if<MeasurementDragGesture>(&active)) revert(drag->transaction);
    if (auto* drag = std::get_if<LabelDragGesture>(&active)) revert(drag->transaction);
    if (auto* drag = std::get_if<ResizeGesture>(&active)) revert(drag->transaction);
    if (auto* drag = std::get_if<OutlineDragGesture>(&active)) {
        // Outlines keep no undo step: the outline goes back to where the drag took it.
        if (DragOutline(doc, drag->start, drag->start.grab)) r.changed = DocChange::Levels;
    }
    // The tape waits for its second point without holding the pointer: it stays.
    if (!std::holds_alternative<TapeGesture>(active)) active = std::monostate{};
    return r;
}

// ---- Right button, wheel and keys ----

GestureResult CanvasGestures::RightDown(LayoutDocument& doc, const ViewTransform& view,
                                        const PointerEvent& e) {
    GestureResult r;
    r.repaint = true;
    if (auto* piece = std::get_if<PieceDragGesture>(&active)) {
        piece->Turn(doc, kPieceTurnDeg, true, index);
        return r;
    }
    if (auto* scenery = std::get_if<SceneryDragGesture>(&active)) {
        scenery->ghost.heading = NormalizeDeg(scenery->ghost.heading + kSceneryTurnDeg);
        return r;
    }
    if (e.mods.alt && PieceOrScenerySelected(doc)) return StepRotate(doc);
    menuX = e.px;
    menuY = e.py;
    const uint32_t pieceId = PieceOrHelixUnder(doc, index, view, e);
    if (pieceId != kNoId) return RightOnPiece(doc, pieceId);
    r.repaint = false;
    if (!copyBuffer.empty()) {
        r.menu = ContextMenu::Paste;
    } else if (!e.mods.shift) {
        doc.ClearSelection();
        r.changed = DocChange::Selection;
        r.repaint = true;
    }
    return r;
}

GestureResult CanvasGestures::StepRotate(LayoutDocument& doc) {
    GestureResult r;
    const LockRefusal lock = CheckSelectionLocks(doc, "rotate", true);
    if (lock.Refused()) {
        r.message = Refusal(lock);
        return r;
    }
    if (!StepRotateSelection(doc)) return r;
    r.changed = DocChange::Placement | DocChange::Scenery;
    r.repaint = true;
    return r;
}

GestureResult CanvasGestures::RightOnPiece(LayoutDocument& doc, uint32_t pieceId) {
    GestureResult r;
    r.repaint = true;
    // The status bar invites a right click on the head of a climb to end it there.
    r.gradeStatus = StopGradeAtHead(doc, pieceId);
    if (!r.gradeStatus.empty()) {
        r.changed = DocChange::Placement;
        return r;
    }
    if (!doc.FindPiece(pieceId)->selected) {
        ClickPiece(doc, pieceId, false, false);
        r.changed = DocChange::Selection;
    }
    r.menu = ContextMenu::Piece;
    r.menuAutofill = SelectedPieceCount(doc) == 2;
    return r;
}

GestureResult CanvasGestures::Wheel(const LayoutDocument& doc, int rotation, bool shift) {
    const double step = shift ? kSceneryTurnDeg : kPieceTurnDeg;
    const double turn = rotation > 0 ? step : -step;
    GestureResult r;
    r.repaint = true;
    if (auto* piece = std::get_if<PieceDragGesture>(&active))
        piece->Turn(doc, turn, true, index);
    else if (auto* scenery = std::get_if<SceneryDragGesture>(&active))
        scenery->ghost.heading = NormalizeDeg(scenery->ghost.heading + turn);
    else
        return GestureResult::Unhandled();
    return r;
}

GestureResult CanvasGestures::Key(LayoutDocument& doc, CanvasKey key) {
    if (key == CanvasKey::Escape && doc.toolMode == 3) return EndMeasuring(doc);
    // Escape puts a dragged picture back where the press found it.
    if (key == CanvasKey::Escape && Get<PictureDragGesture>()) return CaptureLost(doc);
    if (PaletteDrag() && (key == CanvasKey::Escape || key == CanvasKey::Turn)) {
        GestureResult r = PaletteKey(doc, key);
        if (r.handled) return r;
    }
    if (key == CanvasKey::Escape) {
        doc.ClearSelection();
        GestureResult r;
        r.changed = DocChange::Selection;
        r.repaint = true;
        return r;
    }
    if (key == CanvasKey::Delete) {
        GestureResult r;
        r.deleteSelection = true;  // the window runs the delete command with its question
        return r;
    }
    return GestureResult::Unhandled();
}

GestureResult CanvasGestures::PaletteKey(const LayoutDocument& doc, CanvasKey key) {
    if (key == CanvasKey::Escape) return CancelPaletteDrag();
    GestureResult r;
    r.repaint = true;
    // The snap of a turned piece ghost follows at the next mouse move.
    if (auto* piece = std::get_if<PieceDragGesture>(&active))
        piece->Turn(doc, kPieceTurnDeg, false);
    else if (auto* scenery = std::get_if<SceneryDragGesture>(&active))
        scenery->ghost.heading = NormalizeDeg(scenery->ghost.heading + kSceneryTurnDeg);
    else
        return GestureResult::Unhandled();  // a helix ghost does not turn
    return r;
}

// ---- Commands ----

GestureResult CanvasGestures::DeleteSelection(LayoutDocument& doc, bool gradedConfirmed) {
    GestureResult r;
    const DeleteCheck check = CheckDelete(doc, DeleteSource::Canvas);
    if (!check.applies) return r;
    if (check.refusal.Refused()) {
        r.message = Refusal(check.refusal);
        return r;
    }
    if (check.asksAboutGrades && !gradedConfirmed) return r;
    r.changed = RunDelete(doc, DeleteSource::Canvas);
    r.repaint = true;
    return r;
}

GestureResult CanvasGestures::Copy(const LayoutDocument& doc) {
    std::vector<PlacedPiece> copy = CopySelection(doc);
    if (!copy.empty()) copyBuffer = std::move(copy);
    return {};
}

GestureResult CanvasGestures::Paste(LayoutDocument& doc, const ViewTransform& view) {
    return PasteAt(doc, view, menuX, menuY);
}

GestureResult CanvasGestures::PasteAt(LayoutDocument& doc, const ViewTransform& view, int px,
                                      int py) {
    GestureResult r;
    if (copyBuffer.empty()) return r;
    PasteBuffer(doc, copyBuffer, view.ToLayoutX(px), view.ToLayoutY(py));
    r.changed = DocChange::Pieces | DocChange::Placement | DocChange::Selection;
    r.repaint = true;
    return r;
}

CanvasOverlays CanvasGestures::Overlays(const LayoutDocument& doc) const {
    CanvasOverlays o;
    std::visit(
        [&](const auto& g) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(g)>, std::monostate>) g.Overlay(o);
        },
        active);
    if (doc.toolMode != 3) o.tape = false;
    return o;
}
