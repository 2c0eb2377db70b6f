// The application object: logs, catalog, main frame and splash at start-up.
#pragma once

#include <wx/app.h>

class MainFrame;

class QuillmoreApp : public wxApp {
public:
    bool OnInit() override;
    int OnExit() override;

    MainFrame* GetMainFrame() const { return mainFrame; }

private:
    MainFrame* mainFrame = nullptr;
};

