// The main window: owns the layout document and hosts menus, toolbar, panels and status bar.
#pragma once

#include <wx/frame.h>

#include "model/LayoutDocument.h"

class MainFrame : public wxFrame {
public:
    MainFrame();

    LayoutDocument& Document() { return document; }
    const LayoutDocument& Document() const { return document; }

    // Runs once after the frame is shown and the document has its level (splash, refresh).
    void AfterStartup();

private:
    void BuildPanels();

    LayoutDocument document;
};
