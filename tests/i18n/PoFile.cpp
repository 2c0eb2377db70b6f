#include "i18n/PoFile.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string_view>

namespace {
// Decodes the quoted string that starts at `at` in line; false when it is not one.
bool ReadQuoted(const std::string& line, size_t at, std::string* out) {
    at = line.find('"', at);
    if (at == std::string::npos) return false;
    for (size_t i = at + 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') return true;
        if (c != '\\') {
            out->push_back(c);
            continue;
        }
        // The escapes xgettext writes: \n \t \r \" \\.
        const size_t escape =
            ++i < line.size() ? std::string_view("ntr\"\\").find(line[i]) : std::string_view::npos;
        if (escape == std::string_view::npos) return false;
        out->push_back("\n\t\r\"\\"[escape]);
    }
    return false;
}
}  // namespace

const PoEntry* PoFile::Find(const std::string& id) const {
    for (const PoEntry& e : entries)
        if (e.id == id) return &e;
    return nullptr;
}

PoFile ParsePo(const std::string& text) {
    PoFile file;
    std::istringstream lines(text);
    std::string line;
    PoEntry entry;
    bool pendingFuzzy = false;
    std::string pendingWhere;
    std::string* target = nullptr;  // the string that continuation lines extend
    bool inEntry = false;
    int number = 0;
    const auto finish = [&] {
        if (inEntry && !entry.id.empty()) file.entries.push_back(entry);
        entry = PoEntry{};
        inEntry = false;
        target = nullptr;
    };
    while (std::getline(lines, line)) {
        ++number;
        // Obsolete entries ("#~ msgid ...") are read like the others and dropped at the end.
        bool obsolete = false;
        if (line.starts_with("#~")) {
            obsolete = true;
            line.erase(0, 2);
            line.erase(0, std::min(line.size(), line.find_first_not_of(' ')));
        }
        if (line.starts_with("#:")) {
            pendingWhere += (pendingWhere.empty() ? "" : " ") + line.substr(3);
            continue;
        }
        if (line.starts_with("#,")) {
            pendingFuzzy = line.find("fuzzy") != std::string::npos;
            continue;
        }
        if (line.empty() || line.starts_with("#")) {
            if (line.empty()) target = nullptr;
            continue;
        }
        if (line.starts_with("msgid ")) {
            finish();
            inEntry = true;
            entry.fuzzy = pendingFuzzy;
            entry.obsolete = obsolete;
            entry.where = pendingWhere;
            pendingFuzzy = false;
            pendingWhere.clear();
            target = &entry.id;
        } else if (line.starts_with("msgid_plural ")) {
            target = &entry.pluralId;
        } else if (line.starts_with("msgstr")) {
            entry.translations.emplace_back();
            target = &entry.translations.back();
        } else if (!line.starts_with("\"")) {
            file.error = "line " + std::to_string(number) + ": cannot read \"" + line + "\"";
            return file;
        }
        if (!target || !ReadQuoted(line, line.starts_with("\"") ? 0 : line.find(' '), target)) {
            file.error = "line " + std::to_string(number) + ": no quoted text";
            return file;
        }
    }
    finish();
    std::erase_if(file.entries, [](const PoEntry& e) { return e.obsolete; });
    return file;
}

PoFile ReadPoFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        PoFile file;
        file.error = "cannot open " + path;
        return file;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParsePo(text.str());
}

std::vector<std::string> PrintfConversions(const std::string& text) {
    std::vector<std::string> conversions;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < text.size() &&
               std::string_view("-+ #0123456789.*").find(text[j]) != std::string_view::npos)
            ++j;
        std::string length;
        while (j < text.size() &&
               std::string_view("hlLqjzt").find(text[j]) != std::string_view::npos)
            length += text[j++];
        if (j < text.size()) conversions.push_back(length + text[j]);
        i = j;
    }
    return conversions;
}

std::string AcceleratorOf(const std::string& label) {
    const size_t tab = label.find('\t');
    return tab == std::string::npos ? std::string() : label.substr(tab + 1);
}

int MnemonicCount(const std::string& label) {
    int count = 0;
    const std::string text = label.substr(0, label.find('\t'));
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (i + 1 < text.size() && text[i + 1] == '&') {
            ++i;
            continue;
        }
        ++count;
    }
    return count;
}
