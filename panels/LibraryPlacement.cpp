// Placing a loaded library block into the document.
#include "panels/LibraryPlacement.h"

#include <algorithm>
#include <unordered_map>

bool PlaceLibraryBlock(LayoutDocument& doc, std::vector<PlacedPiece> pieces,
                       std::vector<SceneryItem> sceneryItems) {
    if (pieces.empty() && sceneryItems.empty()) return false;

    double minX = 0;
    double minY = 0;
    bool any = false;
    auto take = [&](double x, double y) {
        minX = any ? std::min(minX, x) : x;
        minY = any ? std::min(minY, y) : y;
        any = true;
    };
    for (const PlacedPiece& piece : pieces) take(piece.x, piece.y);
    for (const SceneryItem& item : sceneryItems) take(item.x, item.y);

    doc.PushUndo();

    // A block file holds the ids the pieces had when it was saved; they may be in use here.
    std::unordered_map<uint32_t, uint32_t> newIds;
    for (PlacedPiece& piece : pieces) {
        uint32_t id = doc.TakeId();
        newIds[piece.id] = id;
        piece.id = id;
        piece.x -= minX;
        piece.y -= minY;
    }
    for (PlacedPiece& piece : pieces) {
        for (Joint& joint : piece.joints) {
            if (joint.IsOpen()) continue;
            auto found = newIds.find(joint.target);
            if (found == newIds.end()) {
                joint = Joint{};  // partner stayed behind in the old layout
            } else {
                joint.target = found->second;
            }
        }
        doc.pieces.push_back(std::move(piece));
    }
    for (SceneryItem& item : sceneryItems) {
        item.id = doc.TakeId();
        item.x -= minX;
        item.y -= minY;
        item.selected = false;
        doc.scenery.push_back(std::move(item));
    }
    return true;
}
