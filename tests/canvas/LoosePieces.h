// Pieces put straight into a document for the window-free canvas tests: no undo record, and one
// open joint per connector of a known article.
#pragma once

#include <string>

#include "support/DocBuilders.h"

inline uint32_t PutPiece(LayoutDocument& doc, const std::string& article, double x, double y,
                         double heading, int32_t level = 1, bool selected = false) {
    const uint32_t id = LayPiece(doc, x, y, level, article.c_str(), heading);
    doc.pieces.back().selected = selected;
    return id;
}
