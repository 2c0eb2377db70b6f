// Layouts from anywhere: Open Other and Save To with the standard file dialogs, the recent
// layouts, the layout named on the command line and files dropped on the window.
#include <wx/dnd.h>
#include <wx/filedlg.h>
#include <wx/filehistory.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/stdpaths.h>

#include "app/CommandIds.h"
#include "app/FrameLogic.h"
#include "app/gui/AppSettings.h"
#include "app/gui/MainFrame.h"
#include "canvas/gui/CanvasPanel.h"
#include "panels/PaletteLogic.h"
#include "panels/PaletteTables.h"
#include "panels/gui/PalettePanel.h"
#include "panels/gui/PropertiesPanel.h"
#include "persistence/FileKind.h"
#include "persistence/LibraryBlock.h"

namespace {
constexpr int kRecentLayoutCount = 9;
constexpr const char* kRecentLayoutsGroup = "/RecentLayouts";
// The greyed item of an empty Recent Layouts menu.
constexpr int kRecentNoneId = wxID_FILE1 + kRecentLayoutCount;

std::string FileSystemPath(const wxString& path) { return std::string(path.fn_str()); }

wxString AskOpenPathInDialog(wxWindow* parent, const wxString& folder) {
    wxFileDialog dialog(parent, _("Open Layout"), folder, wxEmptyString,
                        _("Layout files (*.xml)|*.xml|All files|*"),
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
}

// Takes files dropped anywhere on the window. The questions a drop may ask wait until the drop
// itself has finished, so that the source program is not kept waiting.
class LayoutDropTarget : public wxFileDropTarget {
public:
    explicit LayoutDropTarget(MainFrame* frame) : frame(frame) {}
    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& paths) override {
        frame->CallAfter([frame = frame, paths] { frame->OpenDroppedFiles(paths); });
        return true;
    }

private:
    MainFrame* frame;
};
}  // namespace

void MainFrame::BuildRecentLayouts(wxMenu* fileMenu) {
    recentLayouts = std::make_unique<wxFileHistory>(kRecentLayoutCount, wxID_FILE1);
    // Names alone, whether or not the layouts share a folder: the folder is in the status bar.
    recentLayouts->SetMenuPathStyle(wxFH_PATH_SHOW_NEVER);
    auto* submenu = new wxMenu;
    recentMenu = submenu;
    const int afterOpen = fileMenu->FindChildItem(kCmdOpenOther) ? 3 : 2;
    fileMenu->Insert(afterOpen, wxID_ANY, _("Recent Layouts"), submenu);
    recentLayouts->UseMenu(submenu);
    wxConfigBase& settings = AppSettings();
    settings.SetPath(kRecentLayoutsGroup);
    recentLayouts->Load(settings);
    settings.SetPath("/");
    RefreshRecentMenu();
    Bind(wxEVT_MENU, &MainFrame::OnRecentLayout, this, wxID_FILE1,
         wxID_FILE1 + kRecentLayoutCount - 1);
    Bind(wxEVT_MENU, &MainFrame::OnOpenOther, this, kCmdOpenOther);
    Bind(wxEVT_MENU, &MainFrame::OnSaveTo, this, kCmdSaveTo);
}

void MainFrame::AcceptFileDrops() {
    // A drop lands on the window under the pointer: the panels need targets of their own.
    for (wxWindow* window : {static_cast<wxWindow*>(this), static_cast<wxWindow*>(canvas),
                             static_cast<wxWindow*>(palette), static_cast<wxWindow*>(properties)}) {
        if (window) window->SetDropTarget(new LayoutDropTarget(this));
    }
}

void MainFrame::RememberRecent(const wxString& path) {
    if (path.empty() || !recentLayouts) return;
    recentLayouts->AddFileToHistory(path);
    SaveRecentLayouts();
}

void MainFrame::SaveRecentLayouts() {
    wxConfigBase& settings = AppSettings();
    // Written whole each time, so that a shorter list leaves no stale entries behind.
    settings.DeleteGroup(kRecentLayoutsGroup);
    settings.SetPath(kRecentLayoutsGroup);
    recentLayouts->Save(settings);
    settings.SetPath("/");
    settings.Flush();
    RefreshRecentMenu();
}

void MainFrame::RefreshRecentMenu() {
    if (!recentMenu) return;
    if (wxMenuItem* none = recentMenu->FindItem(kRecentNoneId)) recentMenu->Destroy(none);
    const size_t count = recentLayouts->GetCount();
    for (size_t i = 0; i < count; ++i)
        if (wxMenuItem* item = recentMenu->FindItem(wxID_FILE1 + static_cast<int>(i)))
            item->SetHelp(recentLayouts->GetHistoryFile(i));
    if (count == 0) recentMenu->Append(kRecentNoneId, _("(none)"))->Enable(false);
}

void MainFrame::OnRecentLayout(wxCommandEvent& event) {
    const size_t index = static_cast<size_t>(event.GetId() - wxID_FILE1);
    if (index >= recentLayouts->GetCount()) return;
    const wxString path = recentLayouts->GetHistoryFile(index);
    if (!wxFileName::FileExists(path)) {
        recentLayouts->RemoveFileFromHistory(index);
        SaveRecentLayouts();
        wxMessageBox(wxString::Format(_("This layout file no longer exists:\n%s\nIt has been "
                                        "removed from the recent layouts."),
                                      path),
                     _("Recent Layouts"), wxOK | wxICON_INFORMATION, this);
        return;
    }
    OpenLayoutPath(path);
}

wxString MainFrame::FileDialogFolder() const {
    if (!lastDialogFolder.empty()) return lastDialogFolder;
    if (!filePath.empty()) return wxFileName(filePath).GetPath();
    return wxStandardPaths::Get().GetDocumentsDir();
}

void MainFrame::OnOpenOther(wxCommandEvent&) {
    if (!ConfirmDiscardChanges()) return;
    const wxString folder = FileDialogFolder();
    const wxString path =
        askOpenPath ? askOpenPath(this, folder) : AskOpenPathInDialog(this, folder);
    if (path.empty()) return;
    lastDialogFolder = wxFileName(path).GetPath();
    OpenLayoutFile(path);
}

void MainFrame::OnSaveTo(wxCommandEvent&) {
    const wxString name = layoutName.empty() ? wxString(kDefaultLayoutName) : layoutName;
    wxString path, chosenName;
    if (!ChooseSavePath(name, FileDialogFolder(), &path, &chosenName)) return;
    // A failed write leaves the layout where it was saved before.
    if (!WriteLayoutFile(path, chosenName)) return;
    lastDialogFolder = wxFileName(filePath).GetPath();
}

bool MainFrame::OpenLayoutPath(const wxString& path) {
    if (!ConfirmDiscardChanges()) return false;
    return OpenLayoutFile(path);
}

void MainFrame::OpenFromCommandLine(const wxString& path) {
    wxFileName name(path);
    name.MakeAbsolute();
    if (OpenLayoutFile(name.GetFullPath())) return;
    ResetToNewLayout();
    document.ClearHistory();
}

bool MainFrame::OpenDroppedFiles(const wxArrayString& paths) {
    bool taken = false;
    wxString layout;
    wxArrayString others;
    for (const wxString& path : paths) {
        switch (DetectFileKindAt(FileSystemPath(path))) {
            case FileKind::Block:
                taken = AddBlockToLibrary(path) || taken;
                break;
            case FileKind::Layout:
                if (layout.empty()) layout = path;
                break;
            case FileKind::Other:
                others.push_back(path);
                break;
        }
    }
    if (!layout.empty()) taken = OpenLayoutPath(layout) || taken;
    if (!others.empty()) {
        wxMessageBox(
            wxString::Format(_("This is neither a layout file nor a library block file:\n%s"),
                             others[0]),
            _("Open Layout"), wxOK | wxICON_INFORMATION, this);
    }
    return taken;
}

bool MainFrame::AddBlockToLibrary(const wxString& path) {
    std::string name;
    std::vector<PlacedPiece> pieces;
    std::vector<SceneryItem> scenery;
    const std::string error = LoadBlock(FileSystemPath(path), &name, &pieces, &scenery);
    if (!error.empty()) {
        wxMessageBox(wxString::FromUTF8(error), _("Add Block Failed"), wxOK | wxICON_ERROR, this);
        return false;
    }
    // The block joins the library of the system its pieces belong to, which the palette then
    // shows, so that the new block is in sight.
    const int system = SystemIndexForLayout(pieces);
    const wxString folder = wxString::FromUTF8(
        LibraryFolderPath(programFolder.utf8_string(), PaletteSystemName(system)));
    wxFileName target(folder, wxFileName(path).GetFullName());
    if (target.GetFullPath() == wxFileName(path).GetFullPath()) return false;
    if (!wxFileName::Mkdir(folder, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL) ||
        (target.FileExists() &&
         wxMessageBox(wxString::Format(_("A library block file of this name already exists:\n%s"
                                         "\nDo you want to replace it?"),
                                       target.GetFullPath()),
                      _("Add Block"), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION, this) != wxYES)) {
        return false;
    }
    if (!wxCopyFile(path, target.GetFullPath(), true)) {
        wxMessageBox(wxString::Format(_("Cannot write file: %s"), target.GetFullPath()),
                     _("Add Block Failed"), wxOK | wxICON_ERROR, this);
        return false;
    }
    palette->SelectSystemForLayout(pieces);
    palette->RefreshLibrary();
    SetStatusText(wxString::Format(_("Block added to the library: %s"), wxString::FromUTF8(name)),
                  0);
    return true;
}
