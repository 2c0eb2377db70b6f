// Canvas editing commands: palette drags and drops, delete, copy and paste, autofill, the
// scenery resize dialog and the measuring tape.
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>

#include "app/gui/MainFrame.h"
#include "canvas/Autofill.h"
#include "canvas/gui/AutofillDialog.h"
#include "canvas/gui/CanvasPanel.h"
#include "canvas/SceneryEdit.h"
#include "canvas/gui/SceneryResizeDialog.h"
#include "canvas/Selection.h"
#include "catalog/HelixVariants.h"
#include "catalog/SceneryCatalog.h"
#include "model/Helices.h"
#include "model/Locks.h"
#include "panels/gui/PropertiesPanel.h"

namespace {

constexpr int kCopyId = 5032;
constexpr int kPasteId = 5033;
constexpr int kAutofillId = 6001;

std::string Utf8(const wxString& s) { return s.ToStdString(wxConvUTF8); }

}  // namespace

void CanvasPanel::BindEditing() {
    Bind(wxEVT_LEFT_DOWN, &CanvasPanel::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CanvasPanel::OnLeftUp, this);
    Bind(wxEVT_LEFT_DCLICK, &CanvasPanel::OnLeftDClick, this);
    Bind(wxEVT_RIGHT_DOWN, &CanvasPanel::OnRightDown, this);
    Bind(wxEVT_KEY_DOWN, &CanvasPanel::OnKeyDown, this);
    flashTimer.SetOwner(this);
    Bind(wxEVT_TIMER, &CanvasPanel::OnFlashTimer, this, flashTimer.GetId());
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { CopySelectionToBuffer(); }, kCopyId);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { PasteAt(edit.menuX, edit.menuY); }, kPasteId);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { AutofillGap(); }, kAutofillId);
}

void CanvasPanel::NotifyChanged(DocChange what) {
    if (frame) frame->NotifyChanged(what);
}

void CanvasPanel::ShowRefusal(const std::string& title, const std::string& message) {
    wxMessageBox(wxString::FromUTF8(message), wxString::FromUTF8(title), wxOK | wxICON_INFORMATION,
                 this);
}

void CanvasPanel::ShowMenu(wxMenu& menu) {
    if (popupHook) {
        popupHook(menu);
        return;
    }
    PopupMenu(&menu);
}

// ---- Palette drags ----

void CanvasPanel::EndPaletteDrags() {
    edit.pieceDrag = edit.sceneryDrag = edit.helixDrag = false;
    edit.snap = SnapResult{};
    overlays.pieceGhost = overlays.sceneryGhost = overlays.helixGhost = false;
    overlays.snapTarget = false;
}

void CanvasPanel::ShowPieceGhost() {
    const bool snapped = edit.snap.snapped;
    overlays.pieceGhost = true;
    overlays.ghostArticle = edit.dragArticle;
    overlays.ghostX = snapped ? edit.snap.x : edit.freePose.x;
    overlays.ghostY = snapped ? edit.snap.y : edit.freePose.y;
    overlays.ghostHeading = snapped ? edit.snap.heading : edit.freePose.heading;
    overlays.snapTarget = snapped;
    overlays.snapX = edit.snap.targetX;
    overlays.snapY = edit.snap.targetY;
}

void CanvasPanel::TrackPieceGhost() {
    edit.snap = TrackPaletteDrag(Document(), Index(), edit.dragArticle, edit.freePose);
    ShowPieceGhost();
}

void CanvasPanel::BeginPieceDrag(const wxString& article) {
    const std::string key = Utf8(article);
    if (!TrackCatalog::Instance().Find(key)) return;
    EndPaletteDrags();
    edit.pieceDrag = true;
    edit.dragArticle = key;
    edit.freePose = {view.ToLayoutX(300), view.ToLayoutY(200), 0};
    ShowPieceGhost();
    SetFocus();
    if (!HasCapture()) CaptureMouse();
    Refresh();
}

void CanvasPanel::BeginSceneryDrag(const wxString& sceneryId) {
    const std::string key = Utf8(sceneryId);
    if (!SceneryCatalog::Instance().Find(key)) return;
    EndPaletteDrags();
    edit.sceneryDrag = true;
    edit.dragScenery = key;
    edit.sceneryGhost = {view.ToLayoutX(300), view.ToLayoutY(200), 0};
    overlays.sceneryGhost = true;
    overlays.ghostScenery = key;
    overlays.sceneryGhostX = edit.sceneryGhost.x;
    overlays.sceneryGhostY = edit.sceneryGhost.y;
    overlays.sceneryGhostHeading = 0;
    overlays.sceneryGhostScaleX = overlays.sceneryGhostScaleY = 1;
    SetFocus();
    if (!HasCapture()) CaptureMouse();
    Refresh();
}

void CanvasPanel::BeginHelixDrag(const wxString& variantId) {
    const std::string key = Utf8(variantId);
    if (!FindHelixVariant(key)) return;
    EndPaletteDrags();
    edit.helixDrag = true;
    edit.dragHelix = key;
    edit.helixCentre = {view.ToLayoutX(300), view.ToLayoutY(200)};
    overlays.helixGhost = true;
    overlays.ghostHelixVariant = key;
    overlays.helixGhostX = edit.helixCentre.x;
    overlays.helixGhostY = edit.helixCentre.y;
    SetFocus();
    if (!HasCapture()) CaptureMouse();
    Refresh();
}

void CanvasPanel::CancelPieceDrag() {
    EndPaletteDrags();
    SetCursor(wxNullCursor);
    if (HasCapture()) ReleaseMouse();
    Refresh();
}

void CanvasPanel::AfterPlacement() {
    NotifyChanged(DocChange::Pieces | DocChange::Placement | DocChange::Scenery |
                  DocChange::Selection);
    Refresh();
}

void CanvasPanel::DropPieceGhost() {
    if (HasCapture()) ReleaseMouse();
    LayoutDocument& doc = Document();
    // Snapping switched off during the drag leaves no snap behind.
    const SnapResult snap = doc.snapOn ? edit.snap : SnapResult{};
    const PlacementResult r = DropPalettePiece(doc, edit.dragArticle, edit.freePose, snap);
    if (!r.Placed()) {
        if (!r.error.empty())
            wxMessageBox(wxString::FromUTF8(r.error), wxString::FromUTF8(r.errorTitle),
                         wxOK | wxICON_EXCLAMATION, this);
        CancelPieceDrag();
        return;
    }
    EndPaletteDrags();
    if (r.firstZPiece) ResetViewUnitZoom();
    AfterPlacement();
}

void CanvasPanel::DropSceneryGhost() {
    if (HasCapture()) ReleaseMouse();
    const uint32_t id = DropScenery(Document(), edit.dragScenery, edit.sceneryGhost.x,
                                    edit.sceneryGhost.y, edit.sceneryGhost.heading);
    EndPaletteDrags();
    if (id != kNoId) AfterPlacement();
    Refresh();
}

void CanvasPanel::DropHelixGhost(int px, int py) {
    const std::string variant = edit.dragHelix;
    EndPaletteDrags();
    if (HasCapture()) ReleaseMouse();
    if (PlaceHelix(Document(), view.ToLayoutX(px), view.ToLayoutY(py), 0, variant) != kNoId)
        AfterPlacement();
    Refresh();
}

void CanvasPanel::PlaceAfterSelection(const wxString& article) {
    const std::string key = Utf8(article);
    const PlacementResult r = ::PlaceAfterSelection(Document(), key);
    if (r.startDrag) {
        BeginPieceDrag(article);
        return;
    }
    if (!r.error.empty()) {
        wxMessageBox(wxString::FromUTF8(r.error), wxString::FromUTF8(r.errorTitle),
                     wxOK | wxICON_EXCLAMATION, this);
        return;
    }
    if (r.Placed()) AfterPlacement();
}

// ---- Delete, copy, paste ----

void CanvasPanel::DeleteSelection() {
    LayoutDocument& doc = Document();
    if (!AnythingSelected(doc)) return;
    // A whole helix goes as a unit; anything else holding helix or tunnel track is refused.
    const LockRefusal lock = CheckSelectionLocks(doc, "delete", true);
    if (lock.Refused()) {
        ShowRefusal(lock.title, lock.message);
        return;
    }
    if (SelectionHasGrade(doc) && wxMessageBox("Selection includes graded pieces. Delete?",
                                               "Delete", wxYES_NO | wxICON_QUESTION, this) != wxYES)
        return;
    ExpandPairSelection(doc);
    doc.DeleteSelected();
    NotifyChanged(DocChange::Content | DocChange::Selection);
    Refresh();
}

void CanvasPanel::CopySelectionToBuffer() {
    std::vector<PlacedPiece> copy = CopySelection(Document());
    if (!copy.empty()) edit.copyBuffer = std::move(copy);
}

void CanvasPanel::PasteAt(int px, int py) {
    if (edit.copyBuffer.empty()) return;
    PasteBuffer(Document(), edit.copyBuffer, view.ToLayoutX(px), view.ToLayoutY(py));
    NotifyChanged(DocChange::Pieces | DocChange::Placement | DocChange::Selection);
    Refresh();
}

// ---- Autofill ----

void CanvasPanel::AutofillGap() {
    LayoutDocument& doc = Document();
    const AutofillPlan plan = PlanAutofill(doc);
    if (!plan.applies) return;
    if (!plan.message.empty()) {
        wxMessageBox(wxString::FromUTF8(plan.message), wxString::FromUTF8(plan.title),
                     wxOK | wxICON_INFORMATION, this);
        if (plan.selectionCleared) {
            NotifyChanged(DocChange::Selection);
            Refresh();
        }
        return;
    }
    AutofillDialog dialog(this, plan.prompt, plan.lines);
    if (dialog.ShowModal() != wxID_OK) return;
    const int choice = dialog.Choice();
    if (choice < 0 || choice >= static_cast<int>(plan.solutions.size())) return;
    const std::string error = PlaceFillSolution(doc, plan.ends, plan.solutions[choice]);
    if (!error.empty()) return;
    NotifyChanged(DocChange::Pieces | DocChange::Placement | DocChange::Selection);
    Refresh();
}

// ---- Scenery ----

void CanvasPanel::OpenResizeScenery(uint32_t itemId) {
    LayoutDocument& doc = Document();
    const SceneryItem* item = doc.FindScenery(itemId);
    const SceneryDef* def = item ? SceneryCatalog::Instance().Find(item->item) : nullptr;
    if (!def) return;
    SceneryResizeDialog dialog(this, *def, item->scaleX, item->scaleY);
    int result = dialog.ShowModal();
    // Only the two buttons apply; any other way out of the dialog is a cancel.
    if (result != kResizeOk && result != kResizeReset) result = kResizeCancel;
    if (!ApplySceneryResizeResult(doc, itemId, result, dialog.WidthScale(), dialog.DepthScale()))
        return;
    NotifyChanged(DocChange::Scenery);
    Refresh();
}

// ---- Measuring tape ----

void CanvasPanel::TapePress(int px, int py) {
    const PointMm point{view.ToLayoutX(px), view.ToLayoutY(py)};
    if (!edit.measuring) {
        edit.measuring = true;
        edit.tapeFirst = point;
        overlays.tape = true;
        overlays.tapeX = point.x;
        overlays.tapeY = point.y;
        overlays.tapeMouseX = px;
        overlays.tapeMouseY = py;
        Refresh();
        return;
    }
    const bool added = AddMeasurement(Document(), edit.tapeFirst, point) != kNoId;
    EndMeasuring();
    if (added) NotifyChanged(DocChange::Annotations);
}

void CanvasPanel::EndMeasuring() {
    edit.measuring = false;
    overlays.tape = false;
    Document().toolMode = 0;
    if (frame) frame->SetMeasureToolChecked(false);
    SetCursor(wxNullCursor);
    Refresh();
}
