// The application object: logs, catalog, main frame and splash at start-up.
#pragma once

#include <wx/app.h>
#include <wx/string.h>

class MainFrame;

class QuillmoreApp : public wxApp {
public:
    bool OnInit() override;
    int OnExit() override;

    MainFrame* GetMainFrame() const { return mainFrame; }
    // The layout named on the command line, opened once the greeting is closed.
    static void SetStartupLayout(const wxString& path) { startupLayout() = path; }

private:
    static wxString& startupLayout() {
        static wxString path;
        return path;
    }
    MainFrame* mainFrame = nullptr;
};

