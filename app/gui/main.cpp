// Process entry: toolkit assertions go to the log instead of a dialog, information-level
// logging, then the toolkit's entry.
#include <wx/app.h>
#include <wx/log.h>

#include "app/gui/AppLog.h"
#include "app/gui/QuillmoreApp.h"

wxIMPLEMENT_APP_NO_MAIN(QuillmoreApp);

int main(int argc, char** argv) {
    wxSetAssertHandler(LogToolkitAssertion);
    wxLog::SetLogLevel(wxLOG_Info);
    return wxEntry(argc, argv);
}
