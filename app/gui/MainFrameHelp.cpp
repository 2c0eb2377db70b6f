// Help and the start-up greeting of the main window.
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

void MainFrame::OnHelp(wxCommandEvent&) {
    HelpDialog help(this, [this](const wxString& url) { return OpenWebAddress(url); });
    help.ShowModal();
}
