// Which language the windows speak: the user's choice, the system's language, and where the
// compiled catalogs are found. Window-free, so that the rules are tested without a display.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The choice of the View menu's "Language" items, kept in the user's settings.
enum class LanguageChoice { System, English, German };

// The settings value of a choice: "system", "en" or "de".
const char* LanguageChoiceKey(LanguageChoice choice);
// The choice a settings value names; anything unknown (an older or a hand-edited file) follows
// the system.
LanguageChoice LanguageChoiceFromKey(std::string_view key);

// The language code ("de", "en", ...) of the system's messages, from the environment's LC_ALL,
// LC_MESSAGES, LANG and LANGUAGE values (null when unset), read the way gettext reads them: the
// first of LC_ALL, LC_MESSAGES and LANG that is set names the locale; LANGUAGE's first entry
// wins over it unless that locale is "C" or "POSIX". Empty for the C locale.
std::string SystemLanguageCode(const char* lcAll, const char* lcMessages, const char* lang,
                               const char* language);

// The language of the program's own texts, which needs no catalog.
inline constexpr const char* kSourceLanguage = "en";

// SystemLanguageCode of this process's environment.
std::string SystemLanguageFromEnvironment();

// The C library's names for a locale whose messages are in `language`, most likely first, for
// LC_MESSAGES; just "C" for the source language.
std::vector<std::string> MessageLocales(const std::string& language);

// The language the windows show: "de" for German (chosen, or the system's when the choice
// follows the system), else "en", the language of the program's own texts.
std::string ResolveLanguage(LanguageChoice choice, std::string_view systemCode);

// The folders that may hold "<language>/LC_MESSAGES/quillmore.mo", nearest first: "locale"
// beside an executable run from its build folder, "share/locale" of an installed one.
std::vector<std::string> CatalogFolders(const std::string& executableDir);
