// The left panel of the main window: lists to browse, double-clicks and drags to place.
#include "panels/gui/PalettePanel.h"

#include <wx/choice.h>
#include <wx/intl.h>
#include <wx/listbox.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>

#include <algorithm>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "base/Translate.h"
#include "base/gui/FrameServices.h"
#include "base/gui/PaletteDrops.h"
#include "catalog/TrackCatalog.h"
#include "model/DocumentChange.h"
#include "model/Helices.h"
#include "panels/LibraryPlacement.h"
#include "panels/PaletteLogic.h"
#include "panels/PaletteTables.h"
#include "panels/gui/PiecePreviewPopup.h"
#include "persistence/LibraryBlock.h"

namespace {

// Fills a list box and its parallel key list from rows.
void FillList(wxListBox* list, std::vector<std::string>& keys,
              const std::vector<PaletteRow>& rows) {
    list->Freeze();
    list->Clear();
    keys.clear();
    wxArrayString texts;
    for (const PaletteRow& row : rows) {
        texts.Add(wxString::FromUTF8(row.text));
        keys.push_back(row.key);
    }
    if (!texts.empty()) list->Append(texts);
    list->Thaw();
}

// The key of the selected row; "" when nothing valid is selected.
std::string SelectedKey(const wxListBox* list, const std::vector<std::string>& keys) {
    const int row = list->GetSelection();
    if (row < 0 || row >= static_cast<int>(keys.size())) return "";
    return keys[row];
}

}  // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(PalettePanel, wxPanel)
    EVT_CHOICE(kPaletteSystemChoiceId, PalettePanel::OnSystemChanged)
    EVT_LISTBOX_DCLICK(kPaletteTrackListId, PalettePanel::OnTrackDoubleClick)
    EVT_LISTBOX_DCLICK(kPaletteLibraryListId, PalettePanel::OnLibraryDoubleClick)
    EVT_LISTBOX_DCLICK(kPaletteSceneryListId, PalettePanel::OnSceneryDoubleClick)
    EVT_LISTBOX_DCLICK(kPaletteSignalsListId, PalettePanel::OnSceneryDoubleClick)
wxEND_EVENT_TABLE()
// clang-format on

PalettePanel::PalettePanel(wxWindow* parent, FrameServices* owner)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxNO_BORDER),
      frame(owner) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    wxArrayString systems;
    for (int index = 0; index < kPaletteSystemCount; ++index)
        systems.Add(wxString::FromUTF8(Tr(PaletteSystemName(index).c_str())));
    systemChoice =
        new wxChoice(this, kPaletteSystemChoiceId, wxDefaultPosition, wxDefaultSize, systems);
    systemChoice->SetSelection(0);
    sizer->Add(systemChoice, 0, wxEXPAND | wxALL, 4);
    hint = new wxStaticText(this, wxID_ANY, _("Double-click or drag to place."),
                            wxDefaultPosition, wxDefaultSize, 0, "paletteHint");
    sizer->Add(hint, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 4);
    // The hint wraps to the palette's width (a translation may be longer than the palette).
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        const int width = event.GetSize().x - 8;
        if (width < 40 || width == hintWidth) return;
        hintWidth = width;
        hint->SetLabel(_("Double-click or drag to place."));
        hint->Wrap(width);
        hint->InvalidateBestSize();
        hint->SetMinSize(hint->GetBestSize());
        CallAfter([this] { Layout(); });
    });

    notebook = new wxNotebook(this, wxID_ANY);
    trackList = new wxListBox(notebook, kPaletteTrackListId, wxDefaultPosition, wxDefaultSize, 0,
                              nullptr, wxLB_SINGLE);
    notebook->AddPage(trackList, _("Track"));
    // Drag start and hover share one motion handler, so that a drag that has just been handed
    // to the canvas cannot bring the preview back in the same event.
    trackList->Bind(wxEVT_MOTION, &PalettePanel::OnTrackMotion, this);
    trackList->Bind(wxEVT_LEFT_DOWN, &PalettePanel::OnTrackLeftDown, this);
    trackList->Bind(wxEVT_LEAVE_WINDOW, &PalettePanel::OnTrackLeave, this);
    trackList->Bind(wxEVT_MOUSEWHEEL, &PalettePanel::OnTrackWheel, this);

    libraryList = new wxListBox(notebook, kPaletteLibraryListId, wxDefaultPosition, wxDefaultSize,
                                0, nullptr, wxLB_SINGLE);
    notebook->AddPage(libraryList, _("Library"));

    sceneryList = new wxListBox(notebook, kPaletteSceneryListId, wxDefaultPosition, wxDefaultSize,
                                0, nullptr, wxLB_SINGLE);
    notebook->AddPage(sceneryList, _("Scenery"));
    sceneryList->Bind(wxEVT_LEFT_DOWN, &PalettePanel::OnSceneryLeftDown, this);
    sceneryList->Bind(wxEVT_MOTION, &PalettePanel::OnSceneryMotion, this);

    signalsList = new wxListBox(notebook, kPaletteSignalsListId, wxDefaultPosition, wxDefaultSize,
                                0, nullptr, wxLB_SINGLE);
    notebook->AddPage(signalsList, _("Signals"));
    signalsList->Bind(wxEVT_LEFT_DOWN, &PalettePanel::OnSceneryLeftDown, this);
    signalsList->Bind(wxEVT_MOTION, &PalettePanel::OnSceneryMotion, this);

    sizer->Add(notebook, 1, wxEXPAND | wxALL, 4);
    SetSizer(sizer);

    // The preview belongs to the frame's window (the top-level window the palette sits in).
    wxWindow* top = frame ? wxGetTopLevelParent(this) : nullptr;
    preview = new PiecePreviewPopup(top ? top : this);
}

bool PalettePanel::AllTabsShown() const {
    // The toolkit leaves out the tabs that do not fit (and shows arrows): a tab left out
    // answers no hit test.
    std::vector<bool> hit(notebook->GetPageCount(), false);
    const int width = notebook->GetClientSize().x;
    for (int y = 1; y < 60; y += 3)
        for (int x = 0; x < width; x += 2) {
            const int page = notebook->HitTest(wxPoint(x, y));
            if (page >= 0 && page < static_cast<int>(hit.size())) hit[page] = true;
        }
    return std::find(hit.begin(), hit.end(), false) == hit.end();
}

int PalettePanel::SystemIndex() const {
    const int index = systemChoice->GetSelection();
    return index == wxNOT_FOUND ? 0 : index;
}

std::string PalettePanel::LibraryFolder() const {
    const wxString programFolder = frame ? frame->ProgramFolder() : wxString();
    // By the system's English name: the choice shows it translated.
    return LibraryFolderPath(programFolder.utf8_string(), PaletteSystemName(SystemIndex()));
}

void PalettePanel::PopulateLists() {
    FillTrackList(0);
    FillLibraryList();
    FillSceneryList();
    FillSignalsList();
    if (!sceneryPageShown) AddSceneryPage();
}

void PalettePanel::AddSceneryPage() {
    // The list was hidden when its page was taken out; the toolkit shows no tab for a hidden
    // page, so it must be shown again before it goes back in.
    sceneryList->Show();
    notebook->AddPage(sceneryList, _("Scenery"), false);
    sceneryPageShown = true;
}

void PalettePanel::RefreshLibrary() { FillLibraryList(); }

void PalettePanel::SelectSystemForLayout(const std::vector<PlacedPiece>& pieces) {
    const int index = SystemIndexForLayout(pieces);
    systemChoice->SetSelection(index);  // raises no choice event
    ApplySystem(index);
}

void PalettePanel::FillTrackList(int index) {
    HidePreview();
    FillList(trackList, trackKeys, BuildTrackRows(index));
}

void PalettePanel::FillLibraryList() {
    FillList(libraryList, libraryPaths, BuildLibraryRows(LibraryFolder()));
}

void PalettePanel::FillSceneryList() { FillList(sceneryList, sceneryKeys, BuildSceneryRows()); }

void PalettePanel::FillSignalsList() {
    FillList(signalsList, signalKeys, BuildSignalRows(SystemIndex()));
}

void PalettePanel::ApplySceneryPageRule(int index) {
    switch (SceneryPageChangeFor(index, sceneryPageShown)) {
        case SceneryPageChange::Remove:
            for (size_t page = 0; page < notebook->GetPageCount(); ++page) {
                if (notebook->GetPage(page) != sceneryList) continue;
                if (notebook->GetSelection() == static_cast<int>(page)) notebook->SetSelection(0);
                notebook->RemovePage(page);  // the list, its rows and keys live on
                sceneryList->Hide();
                break;
            }
            sceneryPageShown = false;
            break;
        case SceneryPageChange::Add:
            AddSceneryPage();
            break;
        case SceneryPageChange::None:
            break;
    }
}

void PalettePanel::ApplySystem(int index) {
    FillTrackList(index);
    FillLibraryList();
    FillSignalsList();
    ApplySceneryPageRule(index);
}

void PalettePanel::HidePreview() {
    hoveredRow = -1;
    if (preview) preview->HidePreview();
}

void PalettePanel::OnSystemChanged(wxCommandEvent&) { ApplySystem(SystemIndex()); }

void PalettePanel::OnTrackDoubleClick(wxCommandEvent&) {
    const std::string key = SelectedKey(trackList, trackKeys);
    if (key.empty()) return;  // a header row
    dragSuppressed = true;
    HidePreview();
    if (IsHelixKey(key)) {
        if (!frame) return;
        if (PlaceHelix(frame->Document(), 500, 500, 0, HelixIdFromKey(key)) == kNoId) return;
        frame->NotifyChanged(DocChange::Pieces | DocChange::Placement | DocChange::Selection);
        return;
    }
    if (frame && frame->Drops()) frame->Drops()->PlaceAfterSelection(wxString::FromUTF8(key));
}

void PalettePanel::OnLibraryDoubleClick(wxCommandEvent&) {
    const int row = libraryList->GetSelection();
    if (row < 0 || row >= static_cast<int>(libraryPaths.size())) return;
    PlaceLibraryBlockAt(libraryPaths[row]);
}

void PalettePanel::PlaceLibraryBlockAt(const std::string& path) {
    if (!frame) return;
    std::vector<PlacedPiece> pieces;
    std::vector<SceneryItem> items;
    const std::string error = LoadBlock(path, nullptr, &pieces, &items);
    if (!error.empty()) {
        wxMessageBox(wxString::FromUTF8(error), _("Load Block Failed"), wxOK | wxICON_ERROR,
                     wxGetTopLevelParent(this));
        return;
    }
    if (!PlaceLibraryBlock(frame->Document(), std::move(pieces), std::move(items))) return;
    frame->NotifyChanged(DocChange::Pieces | DocChange::Placement | DocChange::Scenery |
                         DocChange::Selection);
}

void PalettePanel::OnSceneryDoubleClick(wxCommandEvent&) {
    const std::string key = CurrentSceneryKey();
    if (key.empty() || !frame || !frame->Drops()) return;
    // The second press of the double-click must not start a drag of its own.
    dragSuppressed = true;
    frame->Drops()->BeginSceneryDrag(wxString::FromUTF8(key));
}

std::string PalettePanel::CurrentSceneryKey() const {
    const int page = notebook->GetSelection();
    if (page != wxNOT_FOUND && notebook->GetPage(page) == signalsList)
        return SelectedKey(signalsList, signalKeys);
    return SelectedKey(sceneryList, sceneryKeys);
}

bool PalettePanel::StartTrackDrag(const wxMouseEvent& event) {
    if (!event.LeftIsDown() || !event.Dragging() || dragSuppressed) return false;
    const std::string key = SelectedKey(trackList, trackKeys);
    if (key.empty()) return false;
    HidePreview();
    // The canvas holds the drag from here on; further motion here must not restart it.
    dragSuppressed = true;
    if (!frame || !frame->Drops()) return true;
    if (IsHelixKey(key)) {
        frame->Drops()->BeginHelixDrag(wxString::FromUTF8(HelixIdFromKey(key)));
    } else {
        frame->Drops()->BeginPieceDrag(wxString::FromUTF8(key));
    }
    return true;
}

void PalettePanel::UpdateHover(const wxMouseEvent& event) {
    const int row = trackList->HitTest(event.GetPosition());
    // The row's whole text, for names wider than the list.
    const wxString tip = row == wxNOT_FOUND ? wxString() : trackList->GetString(row);
    if (trackList->GetToolTipText() != tip) trackList->SetToolTip(tip);
    if (row == wxNOT_FOUND || row >= static_cast<int>(trackKeys.size()) || trackKeys[row].empty()) {
        HidePreview();
        return;
    }
    if (row == hoveredRow) return;
    hoveredRow = row;
    const PieceDef* def = TrackCatalog::Instance().Find(trackKeys[row]);
    if (!def) {  // a helix row
        preview->HidePreview();
        return;
    }
    // Beside the list, level with the pointer: the row's text stays readable.
    const wxPoint pointer = trackList->ClientToScreen(event.GetPosition());
    preview->ShowFor(def, wxPoint(trackList->GetScreenRect().GetRight(), pointer.y));
}

void PalettePanel::OnTrackMotion(wxMouseEvent& event) {
    if (!StartTrackDrag(event)) UpdateHover(event);
    event.Skip();
}

void PalettePanel::OnTrackLeftDown(wxMouseEvent& event) {
    dragSuppressed = false;
    HidePreview();
    event.Skip();
}

void PalettePanel::OnTrackWheel(wxMouseEvent& event) {
    HidePreview();  // the rows move under the pointer
    event.Skip();
}

void PalettePanel::OnTrackLeave(wxMouseEvent& event) {
    HidePreview();
    event.Skip();
}

void PalettePanel::OnSceneryLeftDown(wxMouseEvent& event) {
    dragSuppressed = false;
    event.Skip();
}

void PalettePanel::OnSceneryMotion(wxMouseEvent& event) {
    if (event.LeftIsDown() && event.Dragging() && !dragSuppressed) {
        const std::string key = CurrentSceneryKey();
        if (!key.empty() && frame && frame->Drops()) {
            dragSuppressed = true;
            frame->Drops()->BeginSceneryDrag(wxString::FromUTF8(key));
        }
    }
    event.Skip();
}
