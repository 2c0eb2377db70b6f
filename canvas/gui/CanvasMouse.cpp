// Mouse editing on the canvas: presses, motion and releases for selecting, moving, rotating,
// band selection, palette drops, tape, labels, measurements, outlines and scenery handles.
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>

#include <unordered_map>

#include "app/gui/MainFrame.h"
#include "canvas/gui/CanvasPanel.h"
#include "canvas/Interaction.h"
#include "canvas/LayoutGeometry.h"
#include "canvas/SceneryEdit.h"
#include "canvas/Selection.h"
#include "catalog/SceneryCatalog.h"
#include "model/GradeRuns.h"
#include "model/Helices.h"
#include "model/Locks.h"
#include "panels/gui/PropertiesPanel.h"

namespace {

constexpr int kMoveThresholdSq = 25;  // a pending move starts after 5 pixels of travel

bool PieceOrScenerySelected(const LayoutDocument& doc) {
    for (const PlacedPiece& p : doc.pieces)
        if (p.selected) return true;
    for (const SceneryItem& s : doc.scenery)
        if (s.selected) return true;
    return false;
}

int SelectedPieceCount(const LayoutDocument& doc) {
    int n = 0;
    for (const PlacedPiece& p : doc.pieces) n += p.selected ? 1 : 0;
    return n;
}

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

wxStockCursor HandleCursor(int handle) {
    switch (handle % 4) {
        case 0:
            return wxCURSOR_SIZENWSE;
        case 1:
            return wxCURSOR_SIZENS;
        case 2:
            return wxCURSOR_SIZENESW;
        default:
            return wxCURSOR_SIZEWE;
    }
}

}  // namespace

void CanvasPanel::OnLeftDown(wxMouseEvent& event) {
    SetFocus();
    LayoutDocument& doc = Document();
    const int px = event.GetX(), py = event.GetY();
    const PointMm point{view.ToLayoutX(px), view.ToLayoutY(py)};
    const bool ctrl = event.ControlDown(), shift = event.ShiftDown(), alt = event.AltDown();

    if (doc.toolMode == 3) {
        TapePress(px, py);
        return;
    }
    // While a palette ghost follows the pointer the press is its drop, wherever it lands.
    if (!edit.PaletteDrag()) {
        if (!ctrl && !shift && !alt) {
            const MeasurementHit hit = MeasurementAt(doc, view, px, py);
            if (hit.id != kNoId) {
                doc.ClearSelection();
                for (Measurement& m : doc.measurements) m.selected = m.id == hit.id;
                doc.PushUndo();
                edit.measurementDrag = true;
                edit.measurement =
                    BeginMeasurementDrag(doc, hit.id, static_cast<int>(hit.part), point);
                if (!HasCapture()) CaptureMouse();
                NotifyChanged(DocChange::Selection);
                Refresh();
                return;
            }
        }
        if (!alt) {
            if (const SceneryItem* item = ResizableSelection(doc)) {
                const SceneryDef* def = SceneryCatalog::Instance().Find(item->item);
                const int handle = def ? HandleAt(*item, *def, view, px, py) : -1;
                if (handle >= 0) {
                    const uint32_t id = item->id;
                    doc.PushUndo();
                    edit.resize = BeginSceneryResize(doc, id, handle);
                    edit.resizing = true;
                    if (!HasCapture()) CaptureMouse();
                    return;
                }
            }
        }
    }
    if (alt && StartRotation(px, py)) return;
    if (edit.swallowNextPress) {
        edit.swallowNextPress = false;
        return;
    }
    if (edit.pieceDrag) {
        DropPieceGhost();
        return;
    }
    if (edit.sceneryDrag) {
        DropSceneryGhost();
        return;
    }
    if (edit.helixDrag) {
        DropHelixGhost(px, py);
        return;
    }

    const uint32_t labelId = LabelAt(doc, view, px, py);
    for (Label& l : doc.labels) l.selected = l.id == labelId;
    if (labelId != kNoId) {
        edit.labelDrag = true;
        edit.label = BeginLabelDrag(doc, labelId, point);
        if (!HasCapture()) CaptureMouse();
        Refresh();
        return;
    }

    const uint32_t pieceId = PieceOrHelixAt(doc, Index(), view, px, py);
    if (pieceId != kNoId) {
        ClickPiece(doc, pieceId, ctrl, shift);
        NotifyChanged(DocChange::Selection);
        edit.pendingMove = true;
        edit.pressX = px;
        edit.pressY = py;
        edit.pressPoint = point;
        edit.moveStart = TakeMoveStart(doc);
        if (!HasCapture()) CaptureMouse();
        Refresh();
        return;
    }

    if (shift && !ctrl) {
        const uint32_t levelId = LevelOutlineAt(doc, view, px, py);
        if (levelId != kNoId) {
            doc.PushUndo();
            edit.outlineDrag = true;
            edit.outline = BeginOutlineDrag(doc, levelId, point);
            if (!HasCapture()) CaptureMouse();
            SetFocus();
            return;
        }
    }

    const uint32_t itemId = SceneryAt(doc, Index(), view, px, py);
    if (itemId != kNoId) {
        ClickScenery(doc, itemId, shift);
        NotifyChanged(DocChange::Selection);
        edit.sceneryStart = TakeSceneryMoveStart(doc);
        edit.pressX = px;
        edit.pressY = py;
        edit.pressPoint = point;
        edit.sceneryMoving = true;
        edit.sceneryMoveRecorded = false;
        if (!HasCapture()) CaptureMouse();
        Refresh();
        return;
    }

    doc.ClearSelection();
    edit.copyBuffer.clear();
    NotifyChanged(DocChange::Selection);
    if (ctrl) {
        HandleMiddleDown(event);
        edit.ctrlPan = true;
        if (frame && frame->Properties()) frame->Properties()->BeginLabel(point.x, point.y);
    } else {
        edit.rubberBand = true;
        overlays.rubberBand = true;
        overlays.bandX0 = overlays.bandX1 = px;
        overlays.bandY0 = overlays.bandY1 = py;
        if (!HasCapture()) CaptureMouse();
    }
    Refresh();
}

bool CanvasPanel::HandleEditMotion(wxMouseEvent& event) {
    LayoutDocument& doc = Document();
    const int px = event.GetX(), py = event.GetY();
    const PointMm point{view.ToLayoutX(px), view.ToLayoutY(py)};
    const bool left = event.LeftIsDown();

    if (doc.toolMode == 3) {
        SetCursor(wxCursor(wxCURSOR_PENCIL));
        if (edit.measuring) {
            overlays.tapeMouseX = px;
            overlays.tapeMouseY = py;
        }
        RefreshOverlays();
        return true;
    }
    if (left && edit.measurementDrag) {
        if (!DragMeasurement(doc, edit.measurement, point)) edit.measurementDrag = false;
        NotifyChanged(DocChange::Annotations);
        Refresh();
        return true;
    }
    if (left && edit.resizing) {
        if (DragSceneryResize(doc, edit.resize, point.x, point.y)) {
            NotifyChanged(DocChange::Scenery);
        } else {
            edit.resizing = false;  // the item went away
            if (HasCapture()) ReleaseMouse();
        }
        Refresh();
        return true;
    }
    if (left && edit.outlineDrag) {
        if (!DragOutline(doc, edit.outline, point)) edit.outlineDrag = false;
        NotifyChanged(DocChange::Levels);
        Refresh();
        return true;
    }
    if (left && edit.labelDrag) {
        if (!DragLabel(doc, edit.label, point)) edit.labelDrag = false;
        Refresh();
        return true;
    }
    if (!IsPanning() && !edit.rotating && !edit.PaletteDrag() && !left) {
        const SceneryItem* item = ResizableSelection(doc);
        const SceneryDef* def = item ? SceneryCatalog::Instance().Find(item->item) : nullptr;
        const int handle = def ? HandleAt(*item, *def, view, px, py) : -1;
        SetCursor(handle >= 0 ? wxCursor(HandleCursor(handle)) : wxNullCursor);
        return true;
    }
    if (edit.pendingMove && left) {
        const int dx = px - edit.pressX, dy = py - edit.pressY;
        if (dx * dx + dy * dy < kMoveThresholdSq) return true;
        const LockRefusal refusal = CheckWholeHelices(doc);
        edit.pendingMove = false;
        if (refusal.Refused()) {
            if (HasCapture()) ReleaseMouse();
            ShowRefusal(refusal.title, refusal.message);
            return true;
        }
        doc.PushUndo();
        edit.moving = true;
        edit.groupSnap = GroupSnap{};
    }
    if (edit.moving) {
        edit.groupSnap =
            TrackSelectionMove(doc, MutableIndex(), edit.moveStart, point.x - edit.pressPoint.x,
                               point.y - edit.pressPoint.y);
        overlays.snapTarget = edit.groupSnap.Snapped();
        overlays.snapX = edit.groupSnap.snap.targetX;
        overlays.snapY = edit.groupSnap.snap.targetY;
        RefreshMoved();
        return true;
    }
    if (edit.sceneryMoving && left) {
        if (!edit.sceneryMoveRecorded && (px != edit.pressX || py != edit.pressY)) {
            doc.PushUndo();
            edit.sceneryMoveRecorded = true;
        }
        if (edit.sceneryMoveRecorded)
            MoveScenery(doc, edit.sceneryStart, point.x - edit.pressPoint.x,
                        point.y - edit.pressPoint.y);
        RefreshMoved();
        return true;
    }
    if (edit.rubberBand) {
        overlays.bandX1 = px;
        overlays.bandY1 = py;
        RefreshOverlays();
        return true;
    }
    if (edit.rotating) {
        if (left) RotationMotion(px, py);
        return true;
    }
    if (edit.pieceDrag) {
        edit.freePose.x = point.x;
        edit.freePose.y = point.y;
        TrackPieceGhost();
        RefreshOverlays();
        return true;
    }
    if (edit.sceneryDrag) {
        edit.sceneryGhost.x = point.x;
        edit.sceneryGhost.y = point.y;
        overlays.sceneryGhostX = point.x;
        overlays.sceneryGhostY = point.y;
        RefreshOverlays();
        return true;
    }
    if (edit.helixDrag) {
        edit.helixCentre = point;
        overlays.helixGhostX = point.x;
        overlays.helixGhostY = point.y;
        RefreshOverlays();
        return true;
    }
    return false;
}

void CanvasPanel::OnLeftUp(wxMouseEvent& event) {
    LayoutDocument& doc = Document();
    if (edit.measurementDrag || edit.labelDrag || edit.resizing || edit.outlineDrag) {
        edit.measurementDrag = edit.labelDrag = edit.resizing = edit.outlineDrag = false;
        NotifyChanged(DocChange::Annotations | DocChange::Scenery | DocChange::Levels);
    }
    if (edit.rotating) EndRotation();
    if (edit.ctrlPan) {
        edit.ctrlPan = false;
        HandleMiddleUp(event);
    }
    if (edit.moving) {
        ReleaseSelectionMove(doc, edit.moveStart, edit.groupSnap);
        edit.moving = false;
        edit.groupSnap = GroupSnap{};
        overlays.snapTarget = false;
        NotifyChanged(DocChange::Placement | DocChange::Scenery);
    }
    if (edit.sceneryMoving) {
        edit.sceneryMoving = false;
        if (edit.sceneryMoveRecorded) NotifyChanged(DocChange::Scenery);
        edit.sceneryMoveRecorded = false;
    }
    if (edit.rubberBand) {
        edit.rubberBand = false;
        overlays.rubberBand = false;
        if (SelectInBand(doc, Index(), view, overlays.bandX0, overlays.bandY0, event.GetX(),
                         event.GetY())) {
            edit.copyBuffer.clear();
            NotifyChanged(DocChange::Selection);
        }
        SetFocus();
    }
    edit.pendingMove = false;
    // A palette drag keeps the pointer until its drop.
    if (HasCapture() && !edit.PaletteDrag()) ReleaseMouse();
    if (doc.toolMode != 3) SetCursor(wxNullCursor);
    Refresh();
}

void CanvasPanel::OnLeftDClick(wxMouseEvent& event) {
    if (event.AltDown()) return;
    LayoutDocument& doc = Document();
    const int px = event.GetX(), py = event.GetY();
    const uint32_t itemId = SceneryAt(doc, Index(), view, px, py);
    if (itemId != kNoId) {
        OpenResizeScenery(itemId);
        return;
    }
    const uint32_t pieceId = PieceAt(doc, Index(), view, px, py);
    if (pieceId == kNoId) return;
    const PlacementResult r = CloneAndExtend(doc, pieceId);
    if (!r.Placed()) return;
    edit.swallowNextPress = true;
    AfterPlacement();
}

// ---- Rotation ----

bool CanvasPanel::StartRotation(int px, int py) {
    LayoutDocument& doc = Document();
    if (!PieceOrScenerySelected(doc)) return false;
    const LockRefusal lock = CheckSelectionLocks(doc, "rotate", true);
    if (lock.Refused()) {
        ShowRefusal(lock.title, lock.message);
        return true;
    }
    doc.PushUndo();
    edit.rotation = TakeRotationStart(doc);
    edit.rotation.startAngle = PointerAngle(view, edit.rotation.pivot, px, py);
    edit.rotating = true;
    overlays.rotation = true;
    overlays.rotationFlash = false;
    overlays.pivotX = edit.rotation.pivot.x;
    overlays.pivotY = edit.rotation.pivot.y;
    overlays.rotationHeading = edit.rotation.reference;
    if (!HasCapture()) CaptureMouse();
    Refresh();
    return true;
}

void CanvasPanel::RotationMotion(int px, int py) {
    LayoutDocument& doc = Document();
    if (!PieceOrScenerySelected(doc)) {
        EndRotation();
        if (HasCapture()) ReleaseMouse();
        return;
    }
    const double angle = PointerAngle(view, edit.rotation.pivot, px, py);
    const RotationSnap r = SnapRotation(edit.rotation.reference, angle - edit.rotation.startAngle);
    ApplyRotation(doc, edit.rotation, r.delta);
    overlays.rotationHeading = r.candidate;
    if (r.snapped) {
        if (!edit.flash) {
            edit.flash = true;
            flashTimer.StartOnce(400);
        }
    } else {
        edit.flash = false;
        flashTimer.Stop();
    }
    overlays.rotationFlash = edit.flash;
    NotifyChanged(DocChange::Placement | DocChange::Scenery);
    Refresh();
}

void CanvasPanel::EndRotation() {
    edit.rotating = false;
    edit.flash = false;
    flashTimer.Stop();
    overlays.rotation = false;
    overlays.rotationFlash = false;
    NotifyChanged(DocChange::Placement | DocChange::Scenery);
}

void CanvasPanel::OnFlashTimer(wxTimerEvent&) {
    edit.flash = false;
    overlays.rotationFlash = false;
    Refresh();
}

void CanvasPanel::StepRotate() {
    LayoutDocument& doc = Document();
    if (!PieceOrScenerySelected(doc)) return;
    const LockRefusal lock = CheckSelectionLocks(doc, "rotate", true);
    if (lock.Refused()) {
        ShowRefusal(lock.title, lock.message);
        return;
    }
    if (!StepRotateSelection(doc)) return;
    NotifyChanged(DocChange::Placement | DocChange::Scenery);
    Refresh();
}

// ---- Right button ----

void CanvasPanel::OnRightDown(wxMouseEvent& event) {
    LayoutDocument& doc = Document();
    const int px = event.GetX(), py = event.GetY();
    if (edit.pieceDrag) {
        edit.freePose.heading = NormalizeDeg(edit.freePose.heading + 30);
        TrackPieceGhost();
        Refresh();
        return;
    }
    if (edit.sceneryDrag) {
        edit.sceneryGhost.heading = NormalizeDeg(edit.sceneryGhost.heading + 15);
        overlays.sceneryGhostHeading = edit.sceneryGhost.heading;
        Refresh();
        return;
    }
    if (event.AltDown() && PieceOrScenerySelected(doc)) {
        StepRotate();
        return;
    }
    edit.menuX = px;
    edit.menuY = py;
    const uint32_t pieceId = PieceOrHelixAt(doc, Index(), view, px, py);
    if (pieceId == kNoId) {
        if (!edit.copyBuffer.empty()) {
            wxMenu menu;
            menu.Append(5033, "Paste");
            ShowMenu(menu);
        } else if (!event.ShiftDown()) {
            doc.ClearSelection();
            NotifyChanged(DocChange::Selection);
            Refresh();
        }
        return;
    }
    // The status bar invites a right click on the head of a climb to end it there.
    const std::string stopped = StopGradeAtHead(doc, pieceId);
    if (!stopped.empty()) {
        if (frame) frame->SetStatusText(wxString::FromUTF8(stopped), 0);
        NotifyChanged(DocChange::Placement);
        Refresh();
        return;
    }
    if (!doc.FindPiece(pieceId)->selected) {
        ClickPiece(doc, pieceId, false, false);
        NotifyChanged(DocChange::Selection);
        Refresh();
    }
    wxMenu menu;
    if (SelectedPieceCount(doc) == 2) menu.Append(6001, "Autofill Gap...");
    menu.Append(5032, "Copy");
    ShowMenu(menu);
}
