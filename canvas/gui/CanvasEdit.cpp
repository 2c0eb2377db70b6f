// Canvas editing commands: palette drags, delete, copy and paste, autofill, the scenery resize
// dialog and the end of the measuring tape.
#include <wx/intl.h>
#include <wx/msgdlg.h>

#include "base/gui/FrameServices.h"
#include "canvas/Autofill.h"
#include "canvas/DeleteCommand.h"
#include "canvas/gui/AutofillDialog.h"
#include "canvas/gui/CanvasPanel.h"
#include "canvas/gui/SceneryResizeDialog.h"
#include "catalog/SceneryCatalog.h"
#include "gapclose/GapText.h"
#include "gapclose/SolveGap.h"
#include "gapclose/gui/CloseGapDialog.h"
#include "model/DocumentChange.h"
#include "trackbox/ShoppingList.h"
#include "trackbox/TrackBox.h"

namespace {

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
        wxEVT_MENU, [this](wxCommandEvent&) { Paste(); }, kPasteId);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { AutofillGap(); }, kAutofillId);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { CloseGap(); }, kCloseGapId);
}

// ---- Palette drags ----

void CanvasPanel::BeginPieceDrag(const wxString& article) {
    Apply(gestures.BeginPieceDrag(Document(), view, Utf8(article)));
}

void CanvasPanel::BeginSceneryDrag(const wxString& sceneryId) {
    Apply(gestures.BeginSceneryDrag(view, Utf8(sceneryId)));
}

void CanvasPanel::BeginHelixDrag(const wxString& variantId) {
    Apply(gestures.BeginHelixDrag(view, Utf8(variantId)));
}

void CanvasPanel::CancelPieceDrag() { Apply(gestures.CancelPaletteDrag()); }

void CanvasPanel::PlaceAfterSelection(const wxString& article) {
    Apply(gestures.PlaceAfterSelection(Document(), view, Utf8(article)));
}

// ---- Delete, copy, paste ----

void CanvasPanel::DeleteSelection() {
    // A whole helix goes as a unit; anything else holding helix or tunnel track is refused.
    if (frame) frame->DeleteSelection(DeleteSource::Canvas);
}

void CanvasPanel::CopySelectionToBuffer() { Apply(gestures.Copy(Document())); }

void CanvasPanel::Paste() { Apply(gestures.Paste(Document(), view)); }

void CanvasPanel::PasteAt(int px, int py) { Apply(gestures.PasteAt(Document(), view, px, py)); }

void CanvasPanel::EndMeasuring() { Apply(gestures.EndMeasuring(Document())); }

// ---- Autofill ----

void CanvasPanel::AutofillGap() {
    LayoutDocument& doc = Document();
    const AutofillPlan plan = PlanAutofill(doc);
    if (!plan.applies) return;
    if (!plan.message.empty()) {
        wxMessageBox(wxString::FromUTF8(plan.message), wxString::FromUTF8(plan.title),
                     wxOK | wxICON_INFORMATION, this);
        if (plan.selectionCleared) Notify(DocChange::Selection);
        Refresh();
        return;
    }
    AutofillDialog dialog(this, plan.prompt, plan.lines);
    if (dialog.ShowModal() != wxID_OK) return;
    const int choice = dialog.Choice();
    if (choice < 0 || choice >= static_cast<int>(plan.solutions.size())) return;
    if (!PlaceFillSolution(doc, plan.ends, plan.solutions[choice]).empty()) return;
    Notify(DocChange::Pieces | DocChange::Placement);
    Refresh();
}

// ---- Closing a gap ----

void CanvasPanel::CloseGap() {
    LayoutDocument& doc = Document();
    const GapEnds ends = SelectedGapEnds(doc);
    if (!ends.found) {
        wxMessageBox(_("Select two pieces with open ends to close the gap between them."),
                     wxString::FromUTF8(Tr(kCloseGapTitle)), wxOK | wxICON_INFORMATION, this);
        return;
    }
    CloseGapDialog dialog(this, doc, ends, [this](std::vector<GhostPiece> ghost) {
        SetChainGhost(std::move(ghost));
    });
    if (frame) dialog.SetPiecesAtHand(PiecesAtHand(frame->OwnedTrack(), doc));
    // Beside the ends, so that the chain drawn between them stays in sight.
    const LayoutBounds clear = GapClearArea(doc, ends);
    if (clear.any) {
        const wxPoint a = ClientToScreen(wxPoint(view.ToPixelX(clear.minX), view.ToPixelY(clear.minY)));
        const wxPoint b = ClientToScreen(wxPoint(view.ToPixelX(clear.maxX), view.ToPixelY(clear.maxY)));
        dialog.MoveBeside(wxRect(a, b));
    }
    const int answer = dialog.ShowModal();
    const GapSolution* chosen = answer == wxID_OK ? dialog.Chosen() : nullptr;
    const GapSolution solution = chosen ? *chosen : GapSolution{};
    SetChainGhost({});
    if (!chosen) return;
    const std::string error = PlaceGapSolution(doc, ends.a, ends.b, solution);
    if (!error.empty()) {
        wxMessageBox(wxString::FromUTF8(error), wxString::FromUTF8(Tr(kCloseGapTitle)),
                     wxOK | wxICON_EXCLAMATION, this);
        return;
    }
    Notify(DocChange::Pieces | DocChange::Placement);
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
    Notify(DocChange::Scenery);
    Refresh();
}
