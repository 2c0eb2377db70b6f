// The main window's menu bar, text toolbar, command bindings and command enabling.
#include <wx/menu.h>
#include <wx/toolbar.h>

#include <array>

#include "app/CommandIds.h"
#include "app/FrameLogic.h"
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
    menu->Append(wxID_NEW, "&New Layout\tCtrl+N");
    menu->Append(wxID_OPEN, "&Open Layout...\tCtrl+O");
    menu->Append(kCmdOpenOther, "Open &Other...\tCtrl+Shift+O");
    menu->AppendSeparator();
    menu->Append(wxID_SAVE, "&Save\tCtrl+S");
    menu->Append(wxID_SAVEAS, "Save &As...\tCtrl+Shift+S");
    menu->Append(kCmdSaveTo, "Save &To...");
    menu->AppendSeparator();
    menu->Append(wxID_CLOSE, "&Close Layout\tCtrl+W");
    menu->AppendSeparator();
    menu->Append(wxID_PAGE_SETUP, "Page Set&up...");
    menu->Append(wxID_PREVIEW, "Print Pre&view...");
    menu->Append(wxID_PRINT, "&Print...\tCtrl+P");
    menu->AppendSeparator();
    menu->Append(kCmdSaveBlock, "Save as &Library Block...");
    menu->AppendSeparator();
    menu->Append(wxID_EXIT, "E&xit");
    return menu;
}

wxMenu* BuildEditMenu() {
    auto* menu = new wxMenu;
    menu->Append(kCmdUndo, "&Undo\tCtrl+Z");
    menu->Append(kCmdRedo, "&Redo\tCtrl+Y");
    menu->AppendSeparator();
    // The canvas's own clipboard keys and context menu run the same commands.
    menu->Append(wxID_CUT, "Cu&t\tCtrl+X");
    menu->Append(wxID_COPY, "&Copy\tCtrl+C");
    menu->Append(wxID_PASTE, "&Paste\tCtrl+V");
    menu->AppendSeparator();
    menu->Append(kCmdDelete, "&Delete\tDel");
    menu->Append(kCmdSelectAll, "Select &All\tCtrl+A");
    return menu;
}

wxMenu* BuildViewMenu() {
    auto* menu = new wxMenu;
    menu->Append(kCmdZoomIn, "Zoom &In\t+");
    menu->Append(kCmdZoomOut, "Zoom &Out\t-");
    menu->Append(kCmdZoomFit, "Zoom to &Fit\tCtrl+0");
    menu->AppendSeparator();
    menu->AppendCheckItem(kCmdShowGrid, "Show &Grid\tCtrl+G")->Check(true);
    menu->AppendCheckItem(kCmdSnap, "&Snap\tCtrl+Shift+G")->Check(true);
    menu->AppendSeparator();
    menu->Append(kCmd3DView, "&3D View");
    return menu;
}

wxMenu* BuildLayoutMenu() {
    auto* units = new wxMenu;
    units->AppendRadioItem(kCmdUnitsMm, "Millimetres (mm)");
    units->AppendRadioItem(kCmdUnitsCm, "Centimetres (cm)");
    units->AppendRadioItem(kCmdUnitsInch, "Inches (in)");
    auto* menu = new wxMenu;
    menu->AppendSubMenu(units, "Units of Measure");
    menu->AppendSeparator();
    menu->Append(kCmdLayoutShape, "Layout &Shape...");
    menu->Append(kCmdLevels, "Le&vels...");
    menu->Append(kCmdCheckLayout, "Check &Layout...\tCtrl+L");
    menu->Append(kCmdCloseGap, "Close &Gap...\tCtrl+J");
    return menu;
}
}  // namespace

void MainFrame::BuildMenuBar() {
    auto* bar = new wxMenuBar;
    wxMenu* file = BuildFileMenu();
    BuildRecentLayouts(file);
    bar->Append(file, "&File");
    bar->Append(BuildEditMenu(), "&Edit");
    bar->Append(BuildViewMenu(), "&View");
    bar->Append(BuildLayoutMenu(), "&Layout");
    auto* help = new wxMenu;
    help->Append(kCmdHelp, "&Help\tF1");
    help->AppendSeparator();
    help->Append(wxID_ABOUT, "&About Quillmore");
    bar->Append(help, "&Help");
    SetMenuBar(bar);
    for (int id : kLaterCommands) {
        if (bar->FindItem(id)) bar->Enable(id, false);
    }
}

void MainFrame::BuildToolBar() {
    wxToolBar* bar = CreateToolBar(wxTB_HORIZONTAL | wxTB_TEXT | wxTB_NOICONS);
    const wxBitmap none;
    bar->AddTool(kCmdUndo, "Undo", none);
    bar->AddTool(kCmdRedo, "Redo", none);
    bar->AddSeparator();
    bar->AddTool(kCmdLevels, "Levels", none,
                 "Manage layout levels (decks): height, color, and shape");
    bar->AddTool(kCmd3DView, "3D View", none);
    bar->AddSeparator();
    bar->AddTool(kCmdZoomFit, "Fit", none);
    bar->AddTool(kCmdLabels, "Hide Labels", none, "Toggle track labels and join dots",
                 wxITEM_CHECK);
    bar->AddSeparator();
    bar->AddTool(kCmdTunnel, "Tunnel", none,
                 "Place tunnel portals on the selected chain (or remove if already in a tunnel)");
    bar->AddTool(kCmdMeasure, "Measure", none,
                 "Measuring tape: click two points on the canvas to lay down a length annotation",
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
    Bind(wxEVT_MENU, &MainFrame::OnOpen, this, wxID_OPEN);
    Bind(wxEVT_MENU, &MainFrame::OnSave, this, wxID_SAVE);
    Bind(wxEVT_MENU, &MainFrame::OnSaveAs, this, wxID_SAVEAS);
    Bind(wxEVT_MENU, &MainFrame::OnExit, this, wxID_EXIT);
    // The block is saved into the library folder of the palette's chosen system.
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { palette->SaveSelectionAsBlock(); }, kCmdSaveBlock);
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
    Bind(wxEVT_MENU, &MainFrame::OnValidate, this, kCmdValidate);
    Bind(wxEVT_MENU, &MainFrame::OnProperties, this, kCmdProperties);
    Bind(wxEVT_MENU, &MainFrame::OnCheckLayout, this, kCmdCheckLayout);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { if (canvas) canvas->CloseGap(); }, kCmdCloseGap);
    Bind(wxEVT_MENU, &MainFrame::OnView3D, this, kCmd3DView);
    BindDialogCommands(*this);

    Bind(wxEVT_UPDATE_UI, &MainFrame::OnUpdateUndo, this, kCmdUndo);
    Bind(wxEVT_UPDATE_UI, &MainFrame::OnUpdateRedo, this, kCmdRedo);
    Bind(wxEVT_UPDATE_UI, &MainFrame::OnUpdateDelete, this, kCmdDelete);
    Bind(wxEVT_UPDATE_UI, &MainFrame::OnUpdateClipboard, this, wxID_CUT, wxID_PASTE);
    Bind(wxEVT_UPDATE_UI, &MainFrame::OnUpdateTunnel, this, kCmdTunnel);
    for (int id : kLaterCommands) Bind(wxEVT_UPDATE_UI, &MainFrame::OnUpdateLater, this, id);
}

void MainFrame::OnUpdateUndo(wxUpdateUIEvent& event) {
    event.Enable(EnabledCommands(document).undo);
}

void MainFrame::OnUpdateRedo(wxUpdateUIEvent& event) {
    event.Enable(EnabledCommands(document).redo);
}

void MainFrame::OnUpdateDelete(wxUpdateUIEvent& event) {
    event.Enable(EnabledCommands(document).deleteSelection);
}

void MainFrame::OnUpdateClipboard(wxUpdateUIEvent& event) {
    if (FocusedTextEntry()) {  // the text field's own clipboard
        event.Enable(true);
        return;
    }
    event.Enable(event.GetId() == wxID_PASTE ? !canvas->Gestures().CopyBuffer().empty()
                                             : EnabledCommands(document).deleteSelection);
}

void MainFrame::OnUpdateTunnel(wxUpdateUIEvent& event) {
    const TunnelAnalysis analysis = AnalyseTunnel(document);
    event.Enable(analysis.allowed);
    SetToolLabel(kCmdTunnel, wxString::FromUTF8(TunnelToolLabel(analysis)));
}

void MainFrame::OnUpdateLater(wxUpdateUIEvent& event) { event.Enable(false); }

void MainFrame::SetToolLabel(int id, const wxString& label) {
    wxToolBar* bar = GetToolBar();
    wxToolBarToolBase* tool = bar ? bar->FindById(id) : nullptr;
    if (!tool || tool->GetLabel() == label) return;
    tool->SetLabel(label);
    bar->Realize();
}
