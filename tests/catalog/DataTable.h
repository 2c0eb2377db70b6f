// Reads the tab-separated expectation tables under tests/catalog/data.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::string> SplitField(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, sep);) parts.push_back(part);
    return parts;
}

// Rows of tests/catalog/data/<file>, without the '#' description lines.
inline std::vector<std::vector<std::string>> ReadDataTable(const std::string& file) {
    std::ifstream in(std::string(QUILLMORE_SOURCE_DIR) + "/tests/catalog/data/" + file);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') rows.push_back(SplitField(line, '\t'));
    }
    return rows;
}
