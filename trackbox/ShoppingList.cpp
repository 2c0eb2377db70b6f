// What a layout needs set against what the owner's box holds.
#include "trackbox/ShoppingList.h"

#include <algorithm>

std::vector<ShoppingRow> ShoppingList(const PieceCounts& needed, const TrackBox& owned) {
    std::vector<ShoppingRow> rows;
    // Both maps are in ascending article order: walk them side by side.
    auto need = needed.begin();
    auto own = owned.counts.begin();
    while (need != needed.end() || own != owned.counts.end()) {
        ShoppingRow row;
        if (own == owned.counts.end() || (need != needed.end() && need->first < own->first)) {
            row.article = need->first;
            row.needed = (need++)->second;
        } else if (need == needed.end() || own->first < need->first) {
            row.article = own->first;
            row.owned = (own++)->second;
        } else {
            row.article = need->first;
            row.needed = (need++)->second;
            row.owned = (own++)->second;
        }
        row.needed = std::max(row.needed, 0);
        row.owned = std::max(row.owned, 0);
        if (row.needed == 0 && row.owned == 0) continue;
        row.toBuy = std::max(row.needed - row.owned, 0);
        rows.push_back(std::move(row));
    }
    return rows;
}

PieceCounts PiecesAtHand(const TrackBox& owned, const PieceCounts& used) {
    PieceCounts atHand;
    for (const auto& [article, count] : owned.counts) {
        const auto it = used.find(article);
        const int left = count - (it == used.end() ? 0 : std::max(it->second, 0));
        if (left > 0) atHand[article] = left;
    }
    return atHand;
}

PieceCounts PiecesAtHand(const TrackBox& owned, const LayoutDocument& layout) {
    return PiecesAtHand(owned, CountLayoutPieces(layout));
}
