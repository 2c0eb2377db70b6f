// Construction of the main window, its panels and status bar, and the one update after edits.
#include "app/gui/MainFrame.h"

#include <wx/cmndata.h>
#include <wx/filehistory.h>
#include <wx/filename.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/splitter.h>
#include <wx/stdpaths.h>

#include <algorithm>

#include "app/FrameLogic.h"
#include "app/ProgramFolders.h"
#include "app/gui/AppLog.h"
#include "base/Translate.h"
#include "canvas/gui/CanvasPanel.h"
#include "panels/gui/PalettePanel.h"
#include "panels/gui/PropertiesPanel.h"

namespace {
constexpr long kSplitterStyle = wxSP_LIVE_UPDATE | wxSP_3D | wxSP_NOBORDER;
}

MainFrame::MainFrame()
    : wxFrame(nullptr, wxID_ANY, wxString::FromUTF8(Tr(kBaseTitle)), wxDefaultPosition,
              wxSize(1400, 900)) {
    TraceLog("A: wxFrame base constructed");
    UseProgramFolders();
    BuildMenuBar();
    TraceLog("B: MenuBar done");
    BuildToolBar();
    TraceLog("C: ToolBar done");
    BuildPanels();
    TraceLog("D: Panels done");
    BuildStatusBar();
    TraceLog("E: StatusBar done");
    Centre();
    TraceLog("F: MainFrame constructor complete");
    CreatePrintSettings();
    BindCommands();
    AcceptFileDrops();
    LoadOwnedTrack(LogDirectory() + wxFileName::GetPathSeparator() + kTrackBoxFileName);
}

MainFrame::~MainFrame() {
    // Closed in the middle of a drag or a pan: the window holding the pointer lets go before it
    // goes, or the toolkit is left with a capture of a window that no longer exists.
    while (wxWindow* holder = wxWindow::GetCapture()) {
        if (holder != this && !IsDescendant(holder)) break;
        holder->ReleaseMouse();
    }
}

void MainFrame::UseProgramFolders() {
    const wxString executableDir = wxFileName(wxStandardPaths::Get().GetExecutablePath()).GetPath();
    const ProgramFolders folders =
        ResolveProgramFolders(std::string(executableDir.fn_str()),
                              std::string(wxStandardPaths::Get().GetDocumentsDir().fn_str()));
    programFolder = wxString(folders.layouts.c_str(), *wxConvFileName);
    const std::string error = PrepareLayoutsFolder(folders);
    if (!error.empty()) AppLog(wxString::FromUTF8(error));
}

void MainFrame::BuildPanels() {
    TraceLog("BuildPanels: start");
    auto* root = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                             wxTAB_TRAVERSAL | wxNO_BORDER);
    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    TraceLog("BuildPanels: root panel created");

    auto* outer =
        new wxSplitterWindow(root, wxID_ANY, wxDefaultPosition, wxDefaultSize, kSplitterStyle);
    outer->SetSashGravity(0.0);
    palette = new PalettePanel(outer, this);
    palette->SetMinSize(wxSize(150, -1));
    TraceLog("BuildPanels: palette created");

    auto* inner =
        new wxSplitterWindow(outer, wxID_ANY, wxDefaultPosition, wxDefaultSize, kSplitterStyle);
    inner->SetSashGravity(1.0);
    TraceLog("BuildPanels: splitter created");
    canvas = new CanvasPanel(inner, this);
    TraceLog("BuildPanels: canvas created");
    properties = new PropertiesPanel(inner, this);
    TraceLog("BuildPanels: properties created");

    // Wide enough for the panel's longest row (the Buy Track row, longer in some languages) and
    // for the tally's usual names beside their counts, within reason: the canvas is what the
    // window is for.
    const int propertiesWidth = std::clamp(properties->GetSizer()->CalcMin().x, 360, 420);
    inner->SplitVertically(canvas, properties, -propertiesWidth);
    inner->SetMinimumPaneSize(200);
    TraceLog("BuildPanels: split done");
    outer->SplitVertically(palette, inner, 235);
    paletteSplitter = outer;
    outer->SetMinimumPaneSize(150);
    TraceLog("BuildPanels: adding to sizer");
    sizer->Add(outer, 1, wxEXPAND);
    TraceLog("BuildPanels: outerSplit added");
    root->SetSizer(sizer);
    TraceLog("BuildPanels: sizer set");
    root->Layout();
    // No smaller than the palette, some canvas and the panel at its row width: a window dragged
    // smaller squeezed the panel until its spin controls lost their buttons (and GTK complained
    // of negative sizes).
    SetMinClientSize(wxSize(235 + 200 + propertiesWidth + 2 * inner->GetSashSize(), 480));
    TraceLog("BuildPanels: layout done");

    palette->PopulateLists();
    RefreshTitle();
    TraceLog("BuildPanels: palette populated");
}

void MainFrame::BuildStatusBar() {
    CreateStatusBar(3);
    // The count and the pointer's position keep their widths unless a translation needs more.
    const wxString count = wxString::FromUTF8(PieceCountText(document));
    const int margin = 2 * GetCharWidth();
    const int widths[3] = {-1, std::max(120, GetTextExtent(count).x + 4 * GetCharWidth() + margin),
                           240};
    SetStatusWidths(3, widths);
    SetStatusText(_("Ready"), 0);
    SetStatusText(count, 1);
    SetStatusText("x: 0  y: 0 mm", 2);
}

void MainFrame::CreatePrintSettings() {
    printData = std::make_unique<wxPrintData>();
    printData->SetOrientation(wxLANDSCAPE);
    printData->SetPaperId(wxPAPER_LETTER);
    pageSetup = std::make_unique<wxPageSetupDialogData>(*printData);
    pageSetup->SetMarginTopLeft(wxPoint(15, 15));
    pageSetup->SetMarginBottomRight(wxPoint(15, 15));
}

void MainFrame::RefreshTitle() {
    const wxString title =
        wxString::FromUTF8(FrameTitle(layoutName.utf8_string(), filePath.utf8_string(), modified));
    if (GetTitle() != title) SetTitle(title);
}

void MainFrame::ShowPieceCount() {
    if (GetStatusBar()) SetStatusText(wxString::FromUTF8(PieceCountText(document)), 1);
}

void MainFrame::NotifyChanged(DocChange what) {
    if (HasAny(what, DocChange::Content)) {
        // Undo can no longer return to the saved layout through a state that has changed
        // without recording a step.
        if (document.Revision() == savedRevision) savedRevision = kNoSavedRevision;
        modified = true;
    }
    ScheduleChanges(what);
}

void MainFrame::MarkSaved() {
    modified = false;
    savedRevision = document.Revision();
}

void MainFrame::ScheduleChanges(DocChange what) {
    if (what == DocChange::None) return;
    commandStates.Forget();
    pendingChanges |= what;
    if (updateScheduled) return;
    updateScheduled = true;
    CallAfter([this] {
        updateScheduled = false;
        FlushChanges();
    });
}

void MainFrame::FlushChanges() {
    const DocChange what = pendingChanges;
    if (what == DocChange::None) return;
    pendingChanges = DocChange::None;
    ApplyChanges(what);
}

int MainFrame::AddChangeListener(ChangeListener listener) {
    changeListeners.emplace_back(++lastListenerId, std::move(listener));
    return lastListenerId;
}

void MainFrame::RemoveChangeListener(int id) {
    std::erase_if(changeListeners, [id](const auto& entry) { return entry.first == id; });
}

void MainFrame::ApplyChanges(DocChange what) {
    // A new or opened layout replaces everything the windows show.
    const bool replaced = HasAny(what, DocChange::File);
    RefreshTitle();
    if (replaced || HasAny(what, DocChange::Pieces)) ShowPieceCount();
    if (properties) {
        if (replaced || HasAny(what, DocChange::Content)) properties->ForgetWiring();
        if (replaced || HasAny(what, DocChange::All & ~DocChange::Annotations))
            properties->RefreshSelection();
        if (replaced || HasAny(what, DocChange::Pieces | DocChange::Stock))
            properties->RefreshTally();
    }
    if (canvas) {
        canvas->Refresh();
        if (replaced || HasAny(what, DocChange::View)) canvas->FollowUnits();
    }
    // A listener may remove itself or add another while being told.
    const auto listeners = changeListeners;
    for (const auto& [id, listener] : listeners) listener(what);
}

void MainFrame::AfterStartup() {
    NotifyChanged(DocChange::File);
    FlushChanges();
    // Once on the screen, the palette widens until every tab shows (the tabs' labels grow with
    // the language), within reason.
    if (paletteWidenBound) return;
    paletteWidenBound = true;
    Bind(wxEVT_IDLE, [this](wxIdleEvent& event) {
        event.Skip();
        if (paletteWidened || !palette->IsShownOnScreen()) return;
        if (palette->AllTabsShown() || paletteSplitter->GetSashPosition() >= 420) {
            paletteWidened = true;
            return;
        }
        // A step at a time: the tabs are laid out again before the next look.
        paletteSplitter->SetSashPosition(paletteSplitter->GetSashPosition() + 12);
        event.RequestMore();
    });
}
