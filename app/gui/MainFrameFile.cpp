// File commands of the main window: New and Close, Open, Save and Save As, Exit and the close box.
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/textdlg.h>

#include "app/FrameLogic.h"
#include "app/gui/MainFrame.h"
#include "app/gui/MainFrameDialogs.h"
#include "app/gui/OpenLayoutDialog.h"
#include "canvas/gui/CanvasPanel.h"
#include "model/GradeRuns.h"
#include "panels/gui/PalettePanel.h"
#include "persistence/FileNames.h"
#include "persistence/LayoutFile.h"

namespace {
// Paths go to the file system in its own encoding; names inside files are UTF-8.
std::string FileSystemPath(const wxString& path) { return std::string(path.fn_str()); }
wxString FromFileSystem(const std::string& path) { return wxString(path.c_str(), *wxConvFileName); }

wxString AskSavePathInDialog(wxWindow* parent, const wxString& folder, const wxString& file) {
    wxFileDialog dialog(parent, _("Save Layout"), folder, file, _("Quillmore Layout (*.xml)|*.xml"),
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
}
}  // namespace

bool MainFrame::ConfirmDiscardChanges() {
    if (!modified) return true;
    const int answer =
        wxMessageBox(_("You have unsaved changes. Save before continuing?"), _("Unsaved Changes"),
                     wxYES_NO | wxCANCEL | wxICON_QUESTION, this);
    if (answer == wxCANCEL) return false;
    if (answer == wxYES) return SaveLayoutFile(false);
    return true;
}

void MainFrame::OnNew(wxCommandEvent&) {
    if (ConfirmDiscardChanges()) ResetToNewLayout();
}

void MainFrame::ResetToNewLayout() {
    ResetForNewLayout(document);
    checkIgnores.Clear();
    filePath.clear();
    layoutName.clear();
    MarkSaved();
    canvas->ResetView();
    SetStatusText(_("Ready"), 0);
    NotifyChanged(DocChange::File);
}

void MainFrame::OnOpen(wxCommandEvent&) {
    if (!ConfirmDiscardChanges()) return;
    const std::string folder = FileSystemPath(programFolder);
    const std::vector<std::string> names = ListLayoutNames(folder);
    if (names.empty()) {
        wxMessageBox(wxString::Format(_("No layouts found in\n%s"), programFolder),
                     _("Open Layout"), wxOK | wxICON_INFORMATION, this);
        return;
    }
    OpenLayoutDialog dialog(this, names);
    if (dialog.ShowModal() != wxID_OK || dialog.SelectedName().empty()) return;
    OpenLayoutFile(FromFileSystem(LayoutFilePath(folder, FileSystemPath(dialog.SelectedName()))));
}

bool MainFrame::OpenLayoutFile(const wxString& path) {
    std::string name;
    const std::string error = LoadLayout(document, FileSystemPath(path), &name);
    if (!error.empty()) {
        wxMessageBox(wxString::FromUTF8(error), _("Open Failed"), wxOK | wxICON_ERROR, this);
        return false;
    }
    document.EnsureDefaultLevel();
    // Undo must never bring the previous layout back under this file's name (and so into it
    // at the next save). New keeps its history: an untitled layout cannot overwrite a file.
    document.ClearHistory();
    checkIgnores.Clear();
    filePath = path;
    layoutName = wxString::FromUTF8(name);
    MarkSaved();
    CheckUnitsItem();
    canvas->ShowOpenedLayout(WantsUnitZoomAfterOpen(document));
    palette->SelectSystemForLayout(document.pieces);
    const std::string status = GradeRunsStatusText(
        document.gradeRuns, GetStatusBar()->GetStatusText(0).utf8_string(), true);
    SetStatusText(wxString::FromUTF8(status), 0);
    RememberRecent(filePath);
    NotifyChanged(DocChange::File);
    ReportMissingPictures(*this);
    return true;
}

void MainFrame::OnSave(wxCommandEvent&) { SaveLayoutFile(false); }

void MainFrame::OnSaveAs(wxCommandEvent&) { SaveLayoutFile(true); }

bool MainFrame::SaveLayoutFile(bool saveAs) {
    // The name and path become the layout's only once the file is written: cancelling any step,
    // or a failed write, leaves both as they were (else the next Save would quietly write a file
    // the user never confirmed).
    wxString path = filePath;
    wxString name = layoutName;
    if (saveAs || filePath.empty()) {
        if (name.empty() && !AskLayoutName(&name)) return false;
        if (saveAs) {
            if (!ChooseSavePath(name, programFolder, &path, &name)) return false;
        } else {
            // The first save forms the path from the name, so the name must stay a plain file
            // name inside the program folder.
            const std::string refusal = CheckLayoutName(name.utf8_string());
            if (!refusal.empty()) {
                wxMessageBox(wxString::FromUTF8(refusal), _("Save Layout"), wxOK | wxICON_WARNING,
                             this);
                return false;
            }
            path =
                FromFileSystem(LayoutFilePath(FileSystemPath(programFolder), FileSystemPath(name)));
            if (wxFileName::Exists(path) && !ConfirmReplace(path)) return false;
        }
    }
    return WriteLayoutFile(path, name);
}

bool MainFrame::WriteLayoutFile(const wxString& path, const wxString& name) {
    const std::string error = SaveLayout(document, FileSystemPath(path), name.utf8_string());
    if (!error.empty()) {
        wxMessageBox(wxString::FromUTF8(error), _("Save Failed"), wxOK | wxICON_ERROR, this);
        return false;
    }
    filePath = path;
    layoutName = name;
    MarkSaved();
    RememberRecent(filePath);
    NotifyChanged(DocChange::File);
    ReportMissingPictures(*this);
    return true;
}

bool MainFrame::AskLayoutName(wxString* name) {
    // A refused name is shown again after the message, so that it can be mended rather than
    // typed anew.
    wxString offered = kDefaultLayoutName;
    for (;;) {
        wxTextEntryDialog dialog(this, _("Layout name:"), _("Save Layout"), offered,
                                 wxOK | wxCANCEL | wxCENTRE);
        if (dialog.ShowModal() != wxID_OK) return false;
        *name = dialog.GetValue().Strip(wxString::both);
        if (name->empty()) *name = kDefaultLayoutName;
        const std::string refusal = CheckLayoutName(name->utf8_string());
        if (refusal.empty()) return true;
        wxMessageBox(wxString::FromUTF8(refusal), _("Save Layout"), wxOK | wxICON_WARNING, this);
        offered = dialog.GetValue();
    }
}

bool MainFrame::ChooseSavePath(const wxString& name, const wxString& folder, wxString* path,
                               wxString* chosenName) {
    // A name that is no plain file name (one read from a file) is not offered as the file name.
    const wxString file =
        (CheckLayoutName(name.utf8_string()).empty() ? name : wxString(kDefaultLayoutName)) +
        ".xml";
    const wxString asked =
        askSavePath ? askSavePath(this, folder, file) : AskSavePathInDialog(this, folder, file);
    if (asked.empty()) return false;
    wxFileName chosen(asked);
    // Only ".xml" files are listed by Open: a name typed without it gets it, and the question
    // before replacing then concerns that file.
    if (chosen.GetExt() != "xml") {
        chosen.SetFullName(chosen.GetFullName() + ".xml");
        if (chosen.FileExists() && !ConfirmReplace(chosen.GetFullPath())) return false;
    }
    *path = chosen.GetFullPath();
    *chosenName = chosen.GetName();
    return true;
}

bool MainFrame::ConfirmReplace(const wxString& path) {
    return wxMessageBox(wxString::Format(_("A layout file of this name already exists:\n%s\n"
                                           "Do you want to replace it?"),
                                         path),
                        _("Save Layout"), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION, this) == wxYES;
}

void MainFrame::OnExit(wxCommandEvent&) { Close(false); }

void MainFrame::OnClose(wxCloseEvent& event) {
    if (event.CanVeto() && !ConfirmDiscardChanges()) {
        event.Veto();
        return;
    }
    Destroy();
}
