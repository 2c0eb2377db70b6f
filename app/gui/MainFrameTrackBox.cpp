// The owner's box of track in the main window: its file beside the logs and the My Track dialog.
#include <wx/filename.h>
#include <wx/msgdlg.h>

#include "app/gui/AppLog.h"
#include "app/gui/MainFrame.h"
#include "trackbox/gui/MyTrackDialog.h"

void MainFrame::LoadOwnedTrack(const wxString& path) {
    ownedTrackFile = path;
    ownedTrackError.clear();
    TrackBox box;
    // No file yet is the usual start: an empty box.
    if (wxFileName::FileExists(path)) ownedTrackError = LoadTrackBox(path.utf8_string(), box);
    if (!ownedTrackError.empty()) AppLog("My Track: " + wxString::FromUTF8(ownedTrackError));
    if (box == ownedTrack) return;
    ownedTrack = std::move(box);
    NotifyChanged(DocChange::Stock);
}

void MainFrame::SetOwnedTrack(const TrackBox& box) {
    if (box == ownedTrack && ownedTrackError.empty()) return;
    ownedTrack = box;
    const std::string error = SaveTrackBox(ownedTrackFile.utf8_string(), ownedTrack);
    if (error.empty()) {
        ownedTrackError.clear();
    } else {
        wxMessageBox(wxString::FromUTF8(error), _("Save Failed"), wxOK | wxICON_ERROR, this);
    }
    NotifyChanged(DocChange::Stock);
}

void MainFrame::ShowMyTrack() {
    if (!ownedTrackError.empty()) {
        wxMessageBox(wxString::FromUTF8(ownedTrackError) +
                         _("\n\nThe box starts empty. Cancel leaves the file as it is; OK "
                           "replaces it with what you enter."),
                     _("My Track"), wxOK | wxICON_WARNING, this);
    }
    MyTrackDialog dialog(this, ownedTrack);
    if (dialog.ShowModal() != wxID_OK) return;
    SetOwnedTrack(dialog.Box());
}
