// Construction of the main frame.
#include "app/MainFrame.h"

#include <wx/panel.h>
#include <wx/sizer.h>

#include "app/AppLog.h"

MainFrame::MainFrame()
    : wxFrame(nullptr, wxID_ANY, "Quillmore v1.3 by Bramblewick", wxDefaultPosition,
              wxSize(1400, 900)) {
    TraceLog("A: wxFrame base constructed");
    BuildPanels();
    TraceLog("D: Panels done");
    Centre();
    TraceLog("F: MainFrame constructor complete");
}

void MainFrame::BuildPanels() {
    TraceLog("BuildPanels: start");
    auto* root = new wxPanel(this);
    TraceLog("BuildPanels: root panel created");
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    root->SetSizer(sizer);
    TraceLog("BuildPanels: sizer set");
    root->Layout();
    TraceLog("BuildPanels: layout done");
}

void MainFrame::AfterStartup() {}
