// Process entry: no assertion dialogs, information-level logging, then the toolkit's entry.
#include <wx/app.h>
#include <wx/log.h>

#include "app/gui/QuillmoreApp.h"

wxIMPLEMENT_APP_NO_MAIN(QuillmoreApp);

int main(int argc, char** argv) {
    wxSetAssertHandler(nullptr);
    wxLog::SetLogLevel(wxLOG_Info);
    return wxEntry(argc, argv);
}
