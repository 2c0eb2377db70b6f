// The user's settings file, through the toolkit's config class.
#include "app/gui/AppSettings.h"

#include <wx/fileconf.h>
#include <wx/filename.h>

#include "app/gui/AppLog.h"

wxConfigBase& AppSettings() {
    // The file lives where the logs are; when that folder moves (a new HOME, as each window test
    // program gives itself), the settings follow it instead of writing to a folder that is gone.
    static wxString openedPath;
    const wxString path = LogDirectory() + wxFileName::GetPathSeparator() + "settings.conf";
    if (wxConfigBase* config = wxConfigBase::Get(false); config && path == openedPath) {
        return *config;
    }
    // The default config file of a program called "quillmore" would be ~/.quillmore, which is
    // the folder of the logs: name the file inside it instead.
    auto* config = new wxFileConfig("quillmore", wxEmptyString, path, wxEmptyString,
                                    wxCONFIG_USE_LOCAL_FILE);
    delete wxConfigBase::Set(config);
    openedPath = path;
    return *config;
}
