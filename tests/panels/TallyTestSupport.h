// Small layout builders shared by the tally and Buy Track tests.
#pragma once

#include <string>

#include "model/LayoutDocument.h"
#include "panels/DataTable.h"
#include "trackbox/TrackBox.h"

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

// "article:count ..." as loose pieces of a layout or the counts of a box.
inline std::vector<std::pair<std::string, int>> ArticleCounts(const std::string& text) {
    std::vector<std::pair<std::string, int>> counts;
    for (const std::string& word : Words(text)) {
        const size_t colon = word.rfind(':');
        counts.emplace_back(word.substr(0, colon), std::stoi(word.substr(colon + 1)));
    }
    return counts;
}

inline LayoutDocument LayoutOf(const std::string& placed) {
    LayoutDocument doc;
    for (const auto& [article, n] : ArticleCounts(placed)) PlacePieces(doc, article, n);
    return doc;
}

inline TrackBox BoxOf(const std::string& owned) {
    TrackBox box;
    for (const auto& [article, n] : ArticleCounts(owned)) box.Set(article, n);
    return box;
}
