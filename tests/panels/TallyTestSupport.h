// Small layout builders shared by the tally and Buy Track tests.
#pragma once

#include <string>

#include "model/LayoutDocument.h"

// Appends `n` loose pieces of an article (no joints needed for counting).
inline void PlacePieces(LayoutDocument& doc, const std::string& article, int n = 1) {
    for (int i = 0; i < n; ++i) {
        PlacedPiece piece;
        piece.id = doc.TakeId();
        piece.article = article;
        doc.pieces.push_back(piece);
    }
}

// Appends a helix record with its four end straights, as placing one does.
inline void PlaceHelixWithEnds(LayoutDocument& doc, const std::string& variant) {
    Helix helix;
    helix.id = doc.TakeId();
    helix.variant = variant;
    uint32_t* ends[] = {&helix.bottomR1, &helix.bottomR2, &helix.topR1, &helix.topR2};
    for (uint32_t* end : ends) {
        PlacedPiece piece;
        piece.id = doc.TakeId();
        piece.article = "24188";
        piece.helixId = helix.id;
        doc.pieces.push_back(piece);
        *end = piece.id;
    }
    doc.helices.push_back(helix);
}
