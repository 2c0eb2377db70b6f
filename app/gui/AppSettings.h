// The user's settings file, through the toolkit's config class.
#pragma once

#include <wx/confbase.h>

// The settings: a file "settings.conf" beside the logs, made the toolkit's global config the
// first time it is asked for (or whatever config was set before).
wxConfigBase& AppSettings();
