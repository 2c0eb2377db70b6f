// Process entry: the command line first (--help and --version need no display), then toolkit
// assertions to the log instead of a dialog, information-level logging and the toolkit's entry.
#include <wx/app.h>
#include <wx/log.h>

#include <cstdio>
#include <cstdlib>

#include "app/gui/AppLog.h"
#include "app/gui/CommandLine.h"
#include "app/gui/QuillmoreApp.h"

wxIMPLEMENT_APP_NO_MAIN(QuillmoreApp);

int main(int argc, char** argv) {
    const CommandLineRequest request = ParseCommandLine(argc, argv);
    switch (request.action) {
        case CommandLineRequest::Action::Help:
        case CommandLineRequest::Action::Version:
            std::fputs(request.text.utf8_string().c_str(), stdout);
            return 0;
        case CommandLineRequest::Action::Error:
            std::fputs(request.text.utf8_string().c_str(), stderr);
            return 2;
        case CommandLineRequest::Action::Run:
            break;
    }
    QuillmoreApp::SetStartupLayout(request.layoutPath);
    // GTK would load the OpenGL driver while it opens the display, to offer GL visuals to its own
    // widgets; none of them draws with GL, and the 3D window's canvas picks its visual itself, so
    // the driver is loaded when the 3D window first opens instead of delaying every start.
    setenv("GDK_GL", "disable", 0);
    wxSetAssertHandler(LogToolkitAssertion);
    wxLog::SetLogLevel(wxLOG_Info);
    // The toolkit sees no arguments: the layout path is taken, and it has no options to give.
    int toolkitArgc = 1;
    return wxEntry(toolkitArgc, argv);
}
