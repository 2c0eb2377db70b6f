// Fuzz target of the block reader: no crash, outputs kept on refusal, accepted blocks round-trip.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "persistence/LibraryBlock.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

std::string AsBlockText(const std::vector<PlacedPiece>& pieces,
                        const std::vector<SceneryItem>& scenery, const std::string& name) {
    LayoutDocument doc;
    doc.pieces = pieces;
    doc.scenery = scenery;
    for (auto& p : doc.pieces) p.selected = true;
    for (auto& s : doc.scenery) s.selected = true;
    return BlockToText(doc, name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string name = "kept";
    std::vector<PlacedPiece> pieces(1);
    std::vector<SceneryItem> scenery;
    std::string error = LoadBlockFromText(text, &name, &pieces, &scenery);
    if (!error.empty()) {
        Check(error.rfind("Line ", 0) == 0);
        Check(name == "kept" && pieces.size() == 1 && scenery.empty());
        return 0;
    }
    for (const PlacedPiece& p : pieces) Check(p.joints.size() <= 64 && !p.selected);
    if (pieces.empty() && scenery.empty()) return 0;

    const std::string saved = AsBlockText(pieces, scenery, name);
    std::string name2;
    std::vector<PlacedPiece> pieces2;
    std::vector<SceneryItem> scenery2;
    Check(LoadBlockFromText(saved, &name2, &pieces2, &scenery2).empty() && name2 == name);
    Check(AsBlockText(pieces2, scenery2, name2) == saved);
    return 0;
}
