// Reads the expected-value tables under tests/panels/data.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// One row per line, cells split at tabs; the first line (the file's description), empty lines and
// lines starting with # (notes) are skipped.
inline std::vector<std::vector<std::string>> ReadDataTable(const std::string& name) {
    std::ifstream in(std::string(QUILLMORE_SOURCE_DIR) + "/tests/panels/data/" + name);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> cells;
        std::istringstream cellStream(line);
        for (std::string cell; std::getline(cellStream, cell, '\t');) cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}

// The words of a cell separated by blanks.
inline std::vector<std::string> Words(const std::string& cell) {
    std::vector<std::string> words;
    std::istringstream in(cell);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}
