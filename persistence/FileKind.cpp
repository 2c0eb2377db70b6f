// Telling a layout file from a library block file by its root element.
#include "persistence/FileKind.h"

#include <fstream>

namespace {
bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '_' || c == '-' || c == '.' || c == ':';
}

// Skips white space, comments, processing instructions and a document type from `at`; returns
// the position of the first start tag's name, or npos.
size_t RootNameStart(std::string_view text) {
    size_t at = 0;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") at = 3;  // a byte order mark
    while (at < text.size()) {
        const char c = text[at];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++at;
            continue;
        }
        if (c != '<' || at + 1 >= text.size()) return std::string_view::npos;
        const std::string_view rest = text.substr(at);
        std::string_view close;
        if (rest.substr(0, 4) == "<!--") {
            close = "-->";
        } else if (rest[1] == '?' || rest[1] == '!') {
            close = ">";
        } else {
            return at + 1;
        }
        const size_t end = text.find(close, at + 2);
        if (end == std::string_view::npos) return std::string_view::npos;
        at = end + close.size();
    }
    return std::string_view::npos;
}
}  // namespace

FileKind DetectFileKind(std::string_view text) {
    const size_t start = RootNameStart(text);
    if (start == std::string_view::npos) return FileKind::Other;
    size_t end = start;
    while (end < text.size() && IsNameChar(text[end])) ++end;
    // The name must be complete: followed by white space, "/" or ">".
    if (end == text.size()) return FileKind::Other;
    const std::string_view name = text.substr(start, end - start);
    if (name == "layout") return FileKind::Layout;
    if (name == "block") return FileKind::Block;
    return FileKind::Other;
}

FileKind DetectFileKindAt(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return FileKind::Other;
    std::string head(4096, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    return DetectFileKind(head);
}
