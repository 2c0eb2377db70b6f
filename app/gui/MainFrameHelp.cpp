// Help, the about box and the start-up greeting of the main window.
#include <wx/aboutdlg.h>

#include "app/CommandIds.h"
#include "app/gui/HelpDialog.h"
#include "app/gui/MainFrame.h"
#include "app/gui/SplashDialog.h"
#include "panels/gui/PropertiesPanel.h"

bool MainFrame::OpenWebAddress(const wxString& url) {
    return properties ? properties->OpenAddress(url) : PropertiesPanel::OpenInDefaultBrowser(url);
}

void MainFrame::ShowSplash() {
    {
        SplashDialog splash(this, [this](const wxString& url) { return OpenWebAddress(url); });
        splash.ShowModal();
    }
    AfterStartup();  // the properties panel shows the layout as it now stands
}

void MainFrame::OnAbout(wxCommandEvent&) {
    const wxAboutDialogInfo info = QuillmoreAboutInfo();
    if (showAbout) {
        showAbout(info, this);
    } else {
        wxAboutBox(info, this);
    }
}

void MainFrame::OnHelp(wxCommandEvent&) {
    HelpDialog help(this, [this](const wxString& url) { return OpenWebAddress(url); },
                    MenuShortcuts(*GetMenuBar()));
    help.ShowModal();
}
