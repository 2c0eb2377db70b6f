// The layout check command of the main window, and the change notification its window follows.
#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "canvas/gui/CanvasPanel.h"
#include "panels/gui/LayoutCheckWindow.h"

void MainFrame::OnCheckLayout(wxCommandEvent&) {
    if (checkWindow) {
        checkWindow->Raise();
        return;
    }
    if (!checkListening) {
        // The window may come and go; the frame forwards to whichever is open.
        AddChangeListener([this](DocChange what) {
            if (checkWindow) checkWindow->DocumentChanged(what);
        });
        checkListening = true;
    }
    checkWindow = new LayoutCheckWindow(this);
    checkWindow->Show();
}

void MainFrame::NotifyChanged(DocChange what) {
    if (HasAny(what, DocChange::Content)) {
        MarkModified();  // tells the listeners
    } else {
        CallChangeListeners(what);
    }
    if (HasAny(what, DocChange::Selection)) RefreshPanels();
    if (canvas) canvas->Refresh();
}

void MainFrame::AddChangeListener(std::function<void(DocChange)> listener) {
    changeListeners.push_back(std::move(listener));
}

void MainFrame::CallChangeListeners(DocChange what) {
    for (const auto& listener : changeListeners) listener(what);
}
