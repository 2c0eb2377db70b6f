// The Trains command of the main window: opens the Trains window or brings it forward.
#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "trains/gui/TrainsWindow.h"

void MainFrame::OnTrains(wxCommandEvent&) { ShowTrainsWindow(); }

void MainFrame::ShowTrainsWindow() {
    if (trainsWindow) {
        trainsWindow->Raise();
        return;
    }
    trainsWindow = new TrainsWindow(this);
    trainsWindow->Show();
}
