// The user's settings file, through the toolkit's config class.
#include "app/gui/AppSettings.h"

#include <wx/fileconf.h>
#include <wx/filename.h>

#include "app/gui/AppLog.h"

wxConfigBase& AppSettings() {
    if (wxConfigBase* config = wxConfigBase::Get(false)) return *config;
    // The default config file of a program called "quillmore" would be ~/.quillmore, which is
    // the folder of the logs: name the file inside it instead.
    const wxString path = LogDirectory() + wxFileName::GetPathSeparator() + "settings.conf";
    auto* config = new wxFileConfig("quillmore", wxEmptyString, path, wxEmptyString,
                                    wxCONFIG_USE_LOCAL_FILE);
    wxConfigBase::Set(config);
    return *config;
}
