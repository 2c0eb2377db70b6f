// Helpers of the file tests: a temporary folder, whole files, sample files, document comparison.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/LayoutDocument.h"
#include "persistence/LayoutFile.h"

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qm-files-XXXXXX").string();
        if (mkdtemp(pattern.data())) path = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
    std::string File(const std::string& name) const { return path + "/" + name; }

    std::string path;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A file of the source tree, e.g. the fuzz seeds "fuzz/corpus/layout/example.xml".
inline std::string SourceFile(const std::string& relative) {
    return ReadBytes(std::string(QUILLMORE_SOURCE_DIR) + "/" + relative);
}

// The rows of a tab-separated table file of the source tree, "\\n" and "\\t" in fields decoded;
// blank lines and lines starting with "#" are skipped.
inline std::vector<std::vector<std::string>> ReadTable(const std::string& relative) {
    std::istringstream in(SourceFile(relative));
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        rows.emplace_back(1);
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\t')
                rows.back().emplace_back();
            else if (line[i] == '\\' && i + 1 < line.size() &&
                     (line[i + 1] == 'n' || line[i + 1] == 't'))
                rows.back().back() += line[++i] == 'n' ? '\n' : '\t';
            else
                rows.back().back() += line[i];
        }
    }
    return rows;
}

// Every field the layout file carries: the writer's text holds them all (its exact lines are
// checked against hand-written files), the pieces are compared field by field for readable output.
inline void ExpectSameFileContents(const LayoutDocument& a, const LayoutDocument& b) {
    EXPECT_EQ(a.pieces, b.pieces);
    EXPECT_EQ(a.nextId, b.nextId);
    EXPECT_EQ(a.currentGrade, b.currentGrade);
    EXPECT_EQ(a.units, b.units);
    EXPECT_EQ(LayoutToText(a, "name"), LayoutToText(b, "name"));
}
