// Which language the windows speak.
#include "app/Language.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace {
bool IsSet(const char* value) { return value && *value; }

// "de_DE.UTF-8@euro" -> "de"; "C" and "POSIX" have no language.
std::string LanguageOfLocale(std::string_view locale) {
    if (locale == "C" || locale == "POSIX" || locale.starts_with("C.")) return {};
    return std::string(locale.substr(0, locale.find_first_of("_.@")));
}
}  // namespace

const char* LanguageChoiceKey(LanguageChoice choice) {
    switch (choice) {
        case LanguageChoice::English:
            return "en";
        case LanguageChoice::German:
            return "de";
        case LanguageChoice::System:
            break;
    }
    return "system";
}

LanguageChoice LanguageChoiceFromKey(std::string_view key) {
    if (key == "en") return LanguageChoice::English;
    if (key == "de") return LanguageChoice::German;
    return LanguageChoice::System;
}

std::string SystemLanguageCode(const char* lcAll, const char* lcMessages, const char* lang,
                               const char* language) {
    const char* locale = IsSet(lcAll) ? lcAll : IsSet(lcMessages) ? lcMessages : lang;
    if (!IsSet(locale)) return {};
    const std::string fromLocale = LanguageOfLocale(locale);
    if (fromLocale.empty()) return {};
    if (IsSet(language)) {
        const std::string_view list(language);
        const std::string first = LanguageOfLocale(list.substr(0, list.find(':')));
        if (!first.empty()) return first;
    }
    return fromLocale;
}

std::string SystemLanguageFromEnvironment() {
    return SystemLanguageCode(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                              std::getenv("LANG"), std::getenv("LANGUAGE"));
}

std::vector<std::string> MessageLocales(const std::string& language) {
    if (language.empty() || language == kSourceLanguage) return {"C"};
    if (language == "de") return {"de_DE.UTF-8", "de_DE.utf8", "de_AT.UTF-8", "de_CH.UTF-8"};
    std::string country = language;
    for (char& c : country) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return {language + "_" + country + ".UTF-8", language + "_" + country + ".utf8"};
}

std::string ResolveLanguage(LanguageChoice choice, std::string_view systemCode) {
    switch (choice) {
        case LanguageChoice::German:
            return "de";
        case LanguageChoice::English:
            return kSourceLanguage;
        case LanguageChoice::System:
            break;
    }
    return systemCode == "de" ? "de" : kSourceLanguage;
}

std::vector<std::string> CatalogFolders(const std::string& executableDir) {
    const std::filesystem::path dir(executableDir);
    return {(dir / "locale").lexically_normal().string(),
            (dir / ".." / "share" / "locale").lexically_normal().string()};
}
