// Telling a layout file from a library block file by its root element, without reading it whole.
#pragma once

#include <string>
#include <string_view>

enum class FileKind { Layout, Block, Other };

// The kind of file whose text begins with `text`: the first element after the XML declaration,
// comments and processing instructions decides ("layout" or "block"); anything else is Other.
FileKind DetectFileKind(std::string_view text);
// The same for the file at `path` (its first few kilobytes); Other when it cannot be read.
FileKind DetectFileKindAt(const std::string& path);
