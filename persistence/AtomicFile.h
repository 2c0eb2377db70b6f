// Replacing a file as a whole: write a temporary file beside it, sync it, rename it over.
#pragma once

#include <string>
#include <string_view>

// Writes `content` to `path` so that `path` holds either its old contents or all of `content`,
// never a mix. Returns "" on success, "Cannot open file: <path>" when the temporary file cannot
// be created (missing folder, no permission, `path` itself read-only), "Cannot write file: <path>"
// when writing, syncing or the final rename fails; the temporary file is removed on failure.
std::string WriteFileAtomically(const std::string& path, std::string_view content);
