// Checks on typed file names: one plain name inside its folder, nothing the file system refuses.
#include "persistence/FileNames.h"

#include <cstdint>

#include "base/Translate.h"

namespace {

// Longest file name most Linux file systems store (NAME_MAX), in bytes.
constexpr size_t kMaxFileNameBytes = 255;

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= text.size()) return false;
        for (size_t k = 1; k <= extra; ++k) {
            unsigned char cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace

std::string CheckFileBaseName(const std::string& name, std::string_view extension) {
    if (name.empty()) return Tr("The name is empty.");
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return Tr("The name may not contain control characters.");
    }
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos)
        return Tr("The name may not contain \"/\" or \"\\\".");
    if (name.find("..") != std::string::npos) return Tr("The name may not contain \"..\".");
    // A leading dot would hide the file from folder listings.
    if (name[0] == '.') return Tr("The name may not begin with \".\".");
    if (!IsUtf8(name)) return Tr("The name is not valid UTF-8 text.");
    if (name.size() + extension.size() > kMaxFileNameBytes) return Tr("The name is too long.");
    return {};
}

std::string CheckBlockName(const std::string& name) { return CheckFileBaseName(name, ".xml"); }

std::string CheckLayoutName(const std::string& name) { return CheckFileBaseName(name, ".xml"); }
