// The layout check command of the main window: opens the check window or brings it forward.
#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "layoutcheck/gui/LayoutCheckWindow.h"

void MainFrame::OnCheckLayout(wxCommandEvent&) {
    if (checkWindow) {
        checkWindow->Raise();
        return;
    }
    checkWindow = new LayoutCheckWindow(this);
    checkWindow->Show();
}
