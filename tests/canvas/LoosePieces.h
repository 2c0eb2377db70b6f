// Pieces put straight into a document for the window-free canvas tests (no undo record, and one
// open joint per connector of a known article), and a check that their joints are consistent.
#pragma once

#include <string>

#include "support/DocBuilders.h"

inline uint32_t PutPiece(LayoutDocument& doc, const std::string& article, double x, double y,
                         double heading, int32_t level = 1, bool selected = false) {
    const uint32_t id = LayPiece(doc, x, y, level, article.c_str(), heading);
    doc.pieces.back().selected = selected;
    return id;
}

// Every joint names an existing piece and connector whose joint names it back.
inline std::string BrokenJoint(const LayoutDocument& doc) {
    for (const PlacedPiece& p : doc.pieces) {
        for (size_t i = 0; i < p.joints.size(); ++i) {
            const Joint& j = p.joints[i];
            if (j.IsOpen()) continue;
            const PlacedPiece* t = doc.FindPiece(j.target);
            const std::string where = "piece " + std::to_string(p.id) + " connector " +
                                      std::to_string(i) + " -> " + std::to_string(j.target);
            if (!t) return where + ": no such piece";
            if (j.targetConn >= t->joints.size()) return where + ": no such connector";
            if (t->joints[j.targetConn] != Joint{p.id, static_cast<uint32_t>(i)})
                return where + ": not joined back";
        }
    }
    return {};
}
