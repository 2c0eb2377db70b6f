// Saving the selection as a library block of the palette's chosen track system.
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/textdlg.h>

#include <filesystem>

#include "base/gui/FrameServices.h"
#include "model/DocumentChange.h"
#include "panels/PaletteLogic.h"
#include "panels/gui/PalettePanel.h"
#include "persistence/FileNames.h"
#include "persistence/LibraryBlock.h"

namespace {

bool HasSelectedPieceOrScenery(const LayoutDocument& doc) {
    for (const PlacedPiece& piece : doc.pieces)
        if (piece.selected) return true;
    for (const SceneryItem& item : doc.scenery)
        if (item.selected) return true;
    return false;
}

}  // namespace

void PalettePanel::SaveSelectionAsBlock() {
    if (!frame) return;
    const LayoutDocument& doc = frame->Document();
    if (!HasSelectedPieceOrScenery(doc)) {
        wxMessageBox(_("Select pieces first to save as library block."), _("Save Block"),
                     wxOK | wxICON_INFORMATION, wxGetTopLevelParent(this));
        return;
    }
    wxTextEntryDialog ask(wxGetTopLevelParent(this), _("Block name:"), _("Save Library Block"),
                          wxEmptyString, wxOK | wxCANCEL);
    if (ask.ShowModal() != wxID_OK) return;
    const wxString name = ask.GetValue();
    if (name.empty()) return;

    // The name becomes a file name: refuse what would leave the folder or fail to save.
    const std::string nameUtf8 = name.utf8_string();
    const std::string refusal = CheckBlockName(nameUtf8);
    if (!refusal.empty()) {
        wxMessageBox(wxString::FromUTF8(refusal), _("Save Block Failed"), wxOK | wxICON_ERROR,
                     wxGetTopLevelParent(this));
        return;
    }

    const std::string folder = LibraryFolder();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);  // a failure shows up as the save's error
    const std::string path =
        folder + static_cast<char>(std::filesystem::path::preferred_separator) + nameUtf8 + ".xml";

    if (std::filesystem::is_regular_file(path, ec)) {
        const int answer = wxMessageBox(
            wxString::Format(_("A library block named \"%s\" already exists. Replace it?"), name),
            _("Save Block"), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION, wxGetTopLevelParent(this));
        if (answer != wxYES) return;
    }

    const std::string error = SaveBlock(doc, path, nameUtf8);
    if (!error.empty()) {
        wxMessageBox(wxString::FromUTF8(error), _("Save Block Failed"), wxOK | wxICON_ERROR,
                     wxGetTopLevelParent(this));
        return;
    }
    RefreshLibrary();
    wxMessageBox(wxString::Format(_("Block saved: %s"), name), _("Save Block"),
                 wxOK | wxICON_INFORMATION, wxGetTopLevelParent(this));
}
