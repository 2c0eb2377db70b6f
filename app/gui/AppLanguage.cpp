// The windows' language.
#include "app/gui/AppLanguage.h"

#include "base/NumberStyle.h"

#include <wx/filename.h>
#include <wx/stdpaths.h>
#include <wx/translation.h>

#include <algorithm>
#include <clocale>

#include "app/gui/AppLog.h"
#include "app/gui/AppSettings.h"
#include "base/Translate.h"

namespace {
constexpr const char* kLanguageKey = "/Language";
constexpr const char* kCatalog = "quillmore";

// The core's texts through the same catalogs as the windows' (UTF-8 both ways).
std::string TranslateWithCatalogs(const char* english) {
    return wxGetTranslation(wxString::FromUTF8(english)).utf8_string();
}

// GTK's own texts (file choosers, print dialogs) come from its catalogs in the C library's
// message locale. Only LC_MESSAGES changes: LC_NUMERIC stays "C", so that every number in a text
// or a file keeps its decimal point.
void UseMessageLocale(const std::string& language) {
    for (const std::string& name : MessageLocales(language)) {
        if (std::setlocale(LC_MESSAGES, name.c_str())) return;
    }
}

void AddLookupFolders(const wxString& executableDir) {
    static std::vector<std::string> added;
    for (const std::string& folder : CatalogFolders(executableDir.utf8_string())) {
        if (std::find(added.begin(), added.end(), folder) != added.end()) continue;
        added.push_back(folder);
        wxFileTranslationsLoader::AddCatalogLookupPathPrefix(wxString::FromUTF8(folder));
    }
}
}  // namespace

LanguageChoice StoredLanguageChoice() {
    const wxString key =
        AppSettings().Read(kLanguageKey, LanguageChoiceKey(LanguageChoice::System));
    return LanguageChoiceFromKey(key.utf8_string());
}

void StoreLanguageChoice(LanguageChoice choice) {
    wxConfigBase& settings = AppSettings();
    settings.Write(kLanguageKey, LanguageChoiceKey(choice));
    settings.Flush();
}

bool UseLanguage(const std::string& language, const wxString& executableDir) {
    UseMessageLocale(language);
    SetNumberStyle(NumberStyleFor(language));
    if (language == kSourceLanguage || language.empty()) {
        wxTranslations::Set(nullptr);  // deletes the catalogs in use
        SetTranslator(nullptr);
        return true;
    }
    AddLookupFolders(executableDir);
    auto* translations = new wxTranslations;
    translations->SetLanguage(wxString::FromUTF8(language));
    // The toolkit's own catalog (stock buttons, message box answers) is welcome but optional.
    translations->AddStdCatalog();
    if (!translations->AddCatalog(kCatalog)) {
        // Half a translation would be worse than none: the program stays English.
        delete translations;
        UseLanguage(kSourceLanguage, executableDir);
        return false;
    }
    wxTranslations::Set(translations);  // takes ownership, deleting the previous one
    SetTranslator(TranslateWithCatalogs);
    return true;
}

std::string UseLanguageAtStart() {
    const std::string language =
        ResolveLanguage(StoredLanguageChoice(), SystemLanguageFromEnvironment());
    const wxString executableDir = wxFileName(wxStandardPaths::Get().GetExecutablePath()).GetPath();
    if (!UseLanguage(language, executableDir)) {
        AppLog("No catalog for the chosen language: the texts stay English");
        return kSourceLanguage;
    }
    return language;
}
