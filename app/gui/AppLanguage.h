// The windows' language: the toolkit's translations of the program's catalog "quillmore" and of
// the toolkit's own texts, and the translator through which the core's texts pass.
#pragma once

#include <wx/string.h>

#include "app/Language.h"

// The choice kept in the user's settings ("Language" in the View menu).
LanguageChoice StoredLanguageChoice();
void StoreLanguageChoice(LanguageChoice choice);

// Shows every text in `language` from now on: "de" installs the German catalogs (looked up in
// CatalogFolders of `executableDir` first, then where the toolkit keeps its own), any other code
// removes every catalog, so that the program speaks English. The toolkit's own dialogs follow
// through LC_MESSAGES; numbers keep the C locale's decimal point whatever the language.
// False when the program's catalog for `language` was not found (the texts stay English).
bool UseLanguage(const std::string& language, const wxString& executableDir);

// Start-up: the stored choice, or the system's language, applied with the executable's folder.
// Returns the language in use.
std::string UseLanguageAtStart();
