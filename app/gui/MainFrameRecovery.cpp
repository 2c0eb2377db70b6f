// Crash recovery in the main window: the timer that writes the unsaved layout aside, and the
// offer at start-up of what a run that ended without saving left behind.
#include <unistd.h>
#include <wx/msgdlg.h>
#include <wx/timer.h>

#include "app/FrameLogic.h"
#include "app/gui/AppLog.h"
#include "app/gui/MainFrame.h"
#include "canvas/gui/CanvasPanel.h"
#include "panels/gui/PalettePanel.h"
#include "persistence/Recovery.h"

// The recovery slot of this window, its timer and the change listener that feeds it.
class FrameRecovery {
public:
    RecoverySlot slot;
    wxTimer timer;
};

void MainFrame::RecoveryDeleter::operator()(FrameRecovery* r) const { delete r; }

namespace {
// Paths go to the file system in its own encoding; names inside files are UTF-8.
std::string FileSystemPath(const wxString& path) { return std::string(path.fn_str()); }
wxString FromFileSystem(const std::string& path) { return wxString(path.c_str(), *wxConvFileName); }
}  // namespace

void MainFrame::StartRecovery(const wxString& folder, int intervalMs) {
    if (recovery) return;
    recovery.reset(new FrameRecovery);
    const std::string path = FileSystemPath(folder);
    // The own slot comes first: an instance starting at the same time must see this one run.
    const std::string error = recovery->slot.Claim(path, static_cast<int32_t>(::getpid()));
    if (!error.empty()) AppLog("No crash recovery: " + wxString::FromUTF8(error));
    OfferRecoveries(path);
    AddChangeListener([this](DocChange what) {
        // Saved, opened or new: nothing left to recover.
        if (!modified)
            recovery->slot.Remove();
        else if (HasAny(what, DocChange::Content))
            recovery->slot.NoteChange();
    });
    recovery->timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { WriteRecoveryIfDue(); });
    recovery->timer.Start(intervalMs);
}

void MainFrame::WriteRecoveryIfDue() {
    if (!recovery) return;
    const std::string error =
        recovery->slot.Tick(document, layoutName.utf8_string(), FileSystemPath(filePath), modified);
    if (!error.empty()) AppLog("Recovery file not written: " + wxString::FromUTF8(error));
}

void MainFrame::OfferRecoveries(const std::string& folder) {
    for (OrphanedRecovery& orphan : FindOrphanedRecoveries(folder)) {
        LayoutDocument recovered;
        RecoveryInfo info;
        const std::string error = orphan.Load(&recovered, &info);
        if (!error.empty()) {
            const std::string kept = orphan.KeepAside();
            wxMessageBox(
                wxString::Format(_("The layout left by a run that ended without saving cannot be "
                                   "read:\n%s\n\nThe file is kept as:\n%s"),
                                 wxString::FromUTF8(error),
                                 FromFileSystem(kept.empty() ? orphan.FilePath() : kept)),
                _("Recover Layout"), wxOK | wxICON_ERROR, this);
            continue;
        }
        if (wxMessageBox(wxString::FromUTF8(RecoveryQuestion(info)), _("Recover Layout"),
                         wxYES_NO | wxYES_DEFAULT | wxICON_QUESTION, this) != wxYES) {
            orphan.Discard();
            continue;
        }
        AdoptRecoveredLayout(recovered, info.layoutName, info.filePath);
        // Safe again under this run's own file before the old one goes.
        recovery->slot.Write(document, info.layoutName, info.filePath);
        orphan.Discard();
        return;  // one layout at a time: further ones are offered at the next start
    }
}

void MainFrame::AdoptRecoveredLayout(LayoutDocument& recovered, const std::string& name,
                                     const std::string& path) {
    document = std::move(recovered);
    document.EnsureDefaultLevel();
    checkIgnores.Clear();
    filePath = FromFileSystem(path);
    layoutName = wxString::FromUTF8(name);
    CheckUnitsItem();
    canvas->ShowOpenedLayout(WantsUnitZoomAfterOpen(document));
    palette->SelectSystemForLayout(document.pieces);
    // The recovered changes are still unsaved.
    NotifyChanged(DocChange::All);
    FlushChanges();
}
