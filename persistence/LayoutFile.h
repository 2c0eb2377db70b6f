// Layout files: the writer and reader of the line-based XML layout format and their helpers.
#pragma once

#include <string>
#include <string_view>

#include "model/LayoutDocument.h"

// Writes the layout to `path`. The file is replaced as a whole: the text goes to a temporary file
// in the same folder, which is synced and then renamed over `path`, so a failed save leaves the
// previous file as it was. Returns "" on success, "Cannot open file: <path>" when the file cannot
// be created, "Cannot write file: <path>" when writing, syncing or replacing fails.
std::string SaveLayout(const LayoutDocument& doc, const std::string& path,
                       const std::string& layoutName);

// Reads the layout at `path` into `doc`. All or nothing: on any error `doc` and `*layoutName`
// stay exactly as they were. On success the document's file contents (pieces, scenery, labels,
// measurements, levels, tunnels, helices, grade runs, baseboard, shape settings, units, active
// level, next id) are replaced, and the undo stacks and view flags are left alone.
// Errors: "Cannot open file: <path>", "Cannot read file: <path>", or "Line <n>: ..." for a
// malformed element. `layoutName` may be null.
std::string LoadLayout(LayoutDocument& doc, const std::string& path, std::string* layoutName);

// The reader behind LoadLayout, working on the file's text (same results and errors).
// Picture paths the text holds relative are taken relative to `folder` (kept as they are when
// `folder` is empty).
std::string LoadLayoutFromText(LayoutDocument& doc, std::string_view text, std::string* layoutName,
                               const std::string& folder = {});

// The exact text SaveLayout writes. Pictures inside `folder` (the layout file's folder) or below
// it are written with paths relative to it, all others as they are held; with an empty `folder`
// every path is written as held.
std::string LayoutToText(const LayoutDocument& doc, const std::string& layoutName,
                         const std::string& folder = {});

// Replaces < > & " by their character references; every other byte is kept.
std::string EscapeXml(const std::string& text);

// The decoded value of attribute `name` in `line`: the first white space outside a quoted value
// followed by name, '=' and '"'; "" when the attribute is absent, empty or has no closing quote.
std::string AttributeValue(const std::string& line, const std::string& name);
