// The main window's menu bar, text toolbar, command bindings and command enabling.
#include <wx/menu.h>
#include <wx/toolbar.h>

#include <array>

#include "app/CommandIds.h"
#include "app/FrameLogic.h"
#include "app/gui/AppLanguage.h"
#include "app/gui/MainFrame.h"
#include "app/gui/MainFrameDialogs.h"
#include "canvas/gui/CanvasPanel.h"
#include "model/Tunnels.h"
#include "panels/gui/PalettePanel.h"

namespace {
// Commands whose windows are not part of the program yet: shown, but never enabled.
// (none at present; the list stays for the next one)
constexpr std::array<int, 0> kLaterCommands{};

wxMenu* BuildFileMenu() {
    auto* menu = new wxMenu;
    menu->Append(wxID_NEW, _("&New Layout\tCtrl+N"));
    menu->Append(kCmdNewFromSuggestion, _("New from Su&ggestion..."));
    menu->Append(wxID_OPEN, _("&Open Layout...\tCtrl+O"));
    menu->Append(kCmdOpenOther, _("Open &Other...\tCtrl+Shift+O"));
    menu->AppendSeparator();
    menu->Append(wxID_SAVE, _("&Save\tCtrl+S"));
    menu->Append(wxID_SAVEAS, _("Save &As...\tCtrl+Shift+S"));
    menu->Append(kCmdSaveTo, _("Save &To..."));
    menu->AppendSeparator();
    menu->Append(wxID_CLOSE, _("&Close Layout\tCtrl+W"));
    menu->AppendSeparator();
    menu->Append(wxID_PAGE_SETUP, _("Page Set&up..."));
    menu->Append(wxID_PREVIEW, _("Print Pre&view..."));
    menu->Append(wxID_PRINT, _("&Print...\tCtrl+P"));
    menu->AppendSeparator();
    menu->Append(kCmdSaveBlock, _("Save as &Library Block..."));
    menu->AppendSeparator();
    menu->Append(wxID_EXIT, _("E&xit"));
    return menu;
}

wxMenu* BuildEditMenu() {
    auto* menu = new wxMenu;
    menu->Append(kCmdUndo, _("&Undo\tCtrl+Z"));
    menu->Append(kCmdRedo, _("&Redo\tCtrl+Y"));
    menu->AppendSeparator();
    // The canvas's own clipboard keys and context menu run the same commands.
    menu->Append(wxID_CUT, _("Cu&t\tCtrl+X"));
    menu->Append(wxID_COPY, _("&Copy\tCtrl+C"));
    menu->Append(wxID_PASTE, _("&Paste\tCtrl+V"));
    menu->AppendSeparator();
    menu->Append(kCmdDelete, _("&Delete\tDel"));
    menu->Append(kCmdSelectAll, _("Select &All\tCtrl+A"));
    return menu;
}

wxMenu* BuildViewMenu() {
    auto* menu = new wxMenu;
    menu->Append(kCmdZoomIn, _("Zoom &In\t+"));
    menu->Append(kCmdZoomOut, _("Zoom &Out\t-"));
    menu->Append(kCmdZoomFit, _("Zoom to &Fit\tCtrl+0"));
    menu->AppendSeparator();
    menu->AppendCheckItem(kCmdShowGrid, _("Show &Grid\tCtrl+G"))->Check(true);
    menu->AppendCheckItem(kCmdSnap, _("&Snap\tCtrl+Shift+G"))->Check(true);
    menu->AppendSeparator();
    menu->Append(kCmd3DView, _("&3D View"));
    menu->AppendSeparator();
    // The languages are named in their own language, so that each finds its own.
    auto* languages = new wxMenu;
    languages->AppendRadioItem(kCmdLanguageSystem, _("&System"));
    languages->AppendRadioItem(kCmdLanguageEnglish, "&English");
    languages->AppendRadioItem(kCmdLanguageGerman, "&Deutsch");
    const LanguageChoice chosen = StoredLanguageChoice();
    languages->Check(chosen == LanguageChoice::German    ? kCmdLanguageGerman
                     : chosen == LanguageChoice::English ? kCmdLanguageEnglish
                                                         : kCmdLanguageSystem,
                     true);
    menu->AppendSubMenu(languages, _("&Language"));
    return menu;
}

wxMenu* BuildLayoutMenu() {
    auto* units = new wxMenu;
    units->AppendRadioItem(kCmdUnitsMm, _("Millimetres (mm)"));
    units->AppendRadioItem(kCmdUnitsCm, _("Centimetres (cm)"));
    units->AppendRadioItem(kCmdUnitsInch, _("Inches (in)"));
    auto* menu = new wxMenu;
    menu->AppendSubMenu(units, _("Units of Measure"));
    menu->AppendSeparator();
    menu->Append(kCmdLayoutShape, _("Layout &Shape..."));
    menu->Append(kCmdLevels, _("Le&vels..."));
    menu->Append(kCmdCheckLayout, _("Check &Layout...\tCtrl+L"));
    menu->Append(kCmdCloseGap, _("Close &Gap...\tCtrl+J"));
    menu->AppendSeparator();
    menu->Append(kCmdTrains, _("&Trains..."));
    menu->Append(kCmdMyTrack, _("My Trac&k..."));
    return menu;
}
}  // namespace

void MainFrame::BuildMenuBar() {
    auto* bar = new wxMenuBar;
    wxMenu* file = BuildFileMenu();
    BuildRecentLayouts(file);
    bar->Append(file, _("&File"));
    bar->Append(BuildEditMenu(), _("&Edit"));
    bar->Append(BuildViewMenu(), _("&View"));
    bar->Append(BuildLayoutMenu(), _("&Layout"));
    auto* help = new wxMenu;
    help->Append(kCmdHelp, _("&Help\tF1"));
    help->AppendSeparator();
    help->Append(wxID_ABOUT, _("&About Quillmore"));
    bar->Append(help, _("&Help"));
    SetMenuBar(bar);
    for (int id : kLaterCommands) {
        if (bar->FindItem(id)) bar->Enable(id, false);
    }
}

void MainFrame::BuildToolBar() {
    wxToolBar* bar = CreateToolBar(wxTB_HORIZONTAL | wxTB_TEXT | wxTB_NOICONS);
    const wxBitmap none;
    bar->AddTool(kCmdUndo, _("Undo"), none);
    bar->AddTool(kCmdRedo, _("Redo"), none);
    bar->AddSeparator();
    bar->AddTool(kCmdLevels, _("Levels"), none,
                 _("Manage layout levels (decks): height, color, and shape"));
    bar->AddTool(kCmd3DView, _("3D View"), none);
    bar->AddTool(kCmdTrains, _("Trains"), none, _("Run trains on the layout and watch them in 3D"));
    bar->AddSeparator();
    bar->AddTool(kCmdZoomFit, _("Fit"), none);
    bar->AddTool(kCmdLabels, _("Hide Labels"), none, _("Toggle track labels and join dots"),
                 wxITEM_CHECK);
    bar->AddSeparator();
    bar->AddTool(
        kCmdTunnel, _("Tunnel"), none,
        _("Place tunnel portals on the selected chain (or remove if already in a tunnel)"));
    bar->AddTool(
        kCmdMeasure, _("Measure"), none,
        _("Measuring tape: click two points on the canvas to lay down a length annotation"),
        wxITEM_CHECK);
    bar->EnableTool(kCmdTunnel, false);
    for (int id : kLaterCommands) {
        if (bar->FindById(id)) bar->EnableTool(id, false);
    }
    bar->Realize();
}

void MainFrame::BindCommands() {
    Bind(wxEVT_MENU, &MainFrame::OnNew, this, wxID_NEW);
    Bind(wxEVT_MENU, &MainFrame::OnNew, this, wxID_CLOSE);
    Bind(wxEVT_MENU, &MainFrame::OnNewFromSuggestion, this, kCmdNewFromSuggestion);
    Bind(wxEVT_MENU, &MainFrame::OnOpen, this, wxID_OPEN);
    Bind(wxEVT_MENU, &MainFrame::OnSave, this, wxID_SAVE);
    Bind(wxEVT_MENU, &MainFrame::OnSaveAs, this, wxID_SAVEAS);
    Bind(wxEVT_MENU, &MainFrame::OnExit, this, wxID_EXIT);
    // The block is saved into the library folder of the palette's chosen system.
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { palette->SaveSelectionAsBlock(); }, kCmdSaveBlock);
    Bind(wxEVT_CLOSE_WINDOW, &MainFrame::OnClose, this);

    Bind(wxEVT_MENU, &MainFrame::OnUndo, this, kCmdUndo);
    Bind(wxEVT_MENU, &MainFrame::OnRedo, this, kCmdRedo);
    Bind(wxEVT_MENU, &MainFrame::OnDelete, this, kCmdDelete);
    Bind(wxEVT_MENU, &MainFrame::OnSelectAll, this, kCmdSelectAll);
    Bind(wxEVT_MENU, &MainFrame::OnClipboard, this, wxID_CUT, wxID_PASTE);
    Bind(wxEVT_MENU, &MainFrame::OnAbout, this, wxID_ABOUT);
    Bind(wxEVT_MENU, &MainFrame::OnMeasure, this, kCmdMeasure);
    Bind(wxEVT_MENU, &MainFrame::OnTunnel, this, kCmdTunnel);

    Bind(wxEVT_MENU, &MainFrame::OnHelp, this, kCmdHelp);
    Bind(wxEVT_MENU, &MainFrame::OnZoomIn, this, kCmdZoomIn);
    Bind(wxEVT_MENU, &MainFrame::OnZoomOut, this, kCmdZoomOut);
    Bind(wxEVT_MENU, &MainFrame::OnZoomFit, this, kCmdZoomFit);
    Bind(wxEVT_MENU, &MainFrame::OnShowGrid, this, kCmdShowGrid);
    Bind(wxEVT_MENU, &MainFrame::OnSnap, this, kCmdSnap);
    Bind(wxEVT_MENU, &MainFrame::OnLabels, this, kCmdLabels);
    Bind(wxEVT_MENU, &MainFrame::OnUnits, this, kCmdUnitsMm, kCmdUnitsInch);
    Bind(wxEVT_MENU, &MainFrame::OnLanguage, this, kCmdLanguageSystem, kCmdLanguageGerman);
    Bind(wxEVT_MENU, &MainFrame::OnValidate, this, kCmdValidate);
    Bind(wxEVT_MENU, &MainFrame::OnProperties, this, kCmdProperties);
    Bind(wxEVT_MENU, &MainFrame::OnCheckLayout, this, kCmdCheckLayout);
    Bind(
        wxEVT_MENU,
        [this](wxCommandEvent&) {
            if (canvas) canvas->CloseGap();
        },
        kCmdCloseGap);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { ShowMyTrack(); }, kCmdMyTrack);
    Bind(wxEVT_MENU, &MainFrame::OnView3D, this, kCmd3DView);
    Bind(wxEVT_MENU, &MainFrame::OnTrains, this, kCmdTrains);
    BindDialogCommands(*this);

    Bind(wxEVT_UPDATE_UI, &MainFrame::OnUpdateUndo, this, kCmdUndo);
    Bind(wxEVT_UPDATE_UI, &MainFrame::OnUpdateRedo, this, kCmdRedo);
    Bind(wxEVT_UPDATE_UI, &MainFrame::OnUpdateDelete, this, kCmdDelete);
    Bind(wxEVT_UPDATE_UI, &MainFrame::OnUpdateClipboard, this, wxID_CUT, wxID_PASTE);
    Bind(wxEVT_UPDATE_UI, &MainFrame::OnUpdateTunnel, this, kCmdTunnel);
    for (int id : kLaterCommands) Bind(wxEVT_UPDATE_UI, &MainFrame::OnUpdateLater, this, id);
}

void MainFrame::OnUpdateUndo(wxUpdateUIEvent& event) {
    event.Enable(commandStates.Enabling(document).undo);
}

void MainFrame::OnUpdateRedo(wxUpdateUIEvent& event) {
    event.Enable(commandStates.Enabling(document).redo);
}

void MainFrame::OnUpdateDelete(wxUpdateUIEvent& event) {
    event.Enable(commandStates.Enabling(document).deleteSelection);
}

void MainFrame::OnUpdateClipboard(wxUpdateUIEvent& event) {
    if (FocusedTextEntry()) {  // the text field's own clipboard
        event.Enable(true);
        return;
    }
    event.Enable(event.GetId() == wxID_PASTE ? !canvas->Gestures().CopyBuffer().empty()
                                             : commandStates.Enabling(document).deleteSelection);
}

void MainFrame::OnUpdateTunnel(wxUpdateUIEvent& event) {
    const TunnelAnalysis& analysis = commandStates.Tunnel(document);
    event.Enable(analysis.allowed);
    SetToolLabel(kCmdTunnel, wxGetTranslation(wxString::FromUTF8(TunnelToolLabel(analysis))));
}

void MainFrame::OnUpdateLater(wxUpdateUIEvent& event) { event.Enable(false); }

void MainFrame::SetToolLabel(int id, const wxString& label) {
    wxToolBar* bar = GetToolBar();
    wxToolBarToolBase* tool = bar ? bar->FindById(id) : nullptr;
    if (!tool || tool->GetLabel() == label) return;
    tool->SetLabel(label);
    bar->Realize();
}
