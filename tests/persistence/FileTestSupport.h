// Helpers of the file tests: a temporary folder, whole-file reading and document comparison.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "model/LayoutDocument.h"

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
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Every field the layout file carries, compared one by one for readable failures.
inline void ExpectSameFileContents(const LayoutDocument& a, const LayoutDocument& b) {
    EXPECT_EQ(a.pieces, b.pieces);
    EXPECT_EQ(a.scenery, b.scenery);
    EXPECT_EQ(a.labels, b.labels);
    EXPECT_EQ(a.tunnels, b.tunnels);
    EXPECT_EQ(a.helices, b.helices);
    EXPECT_EQ(a.levels, b.levels);
    EXPECT_EQ(a.activeLevel, b.activeLevel);
    EXPECT_EQ(a.baseboard, b.baseboard);
    EXPECT_EQ(a.lastShape, b.lastShape);
    EXPECT_EQ(a.shapeWidth, b.shapeWidth);
    EXPECT_EQ(a.shapeHeight, b.shapeHeight);
    EXPECT_EQ(a.shapeWidth2, b.shapeWidth2);
    EXPECT_EQ(a.shapeHeight2, b.shapeHeight2);
    EXPECT_EQ(a.units, b.units);
    EXPECT_EQ(a.gradeRuns, b.gradeRuns);
    EXPECT_EQ(a.currentGrade, b.currentGrade);
    EXPECT_EQ(a.nextId, b.nextId);
}

// Joints of a document are mirrored: A's slot i naming (B, j) means B's slot j names (A, i).
inline bool AllJointsMirrored(const LayoutDocument& doc) {
    for (const PlacedPiece& p : doc.pieces) {
        for (size_t i = 0; i < p.joints.size(); ++i) {
            const Joint& j = p.joints[i];
            if (j.target == kNoId) continue;
            const PlacedPiece* t = doc.FindPiece(j.target);
            if (!t || j.targetConn >= t->joints.size()) return false;
            if (t->joints[j.targetConn].target != p.id || t->joints[j.targetConn].targetConn != i)
                return false;
        }
    }
    return true;
}
