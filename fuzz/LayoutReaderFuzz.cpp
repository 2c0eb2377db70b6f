// Fuzz target of the layout reader: no crash, document kept on refusal, accepted files round-trip.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "LayoutInvariants.h"
#include "persistence/LayoutFile.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // The document the user has open when the file is read: two joined straights, a label and a
    // measurement.
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    doc.pieces = std::vector<PlacedPiece>{
        PlacedPiece{
            1, "24188", 0, 0, 0, false, 0, 0, false, Rgb{}, 1, kNoId, {Joint{}, Joint{2, 0}}},
        PlacedPiece{
            2, "24188", 188.3, 0, 0, false, 0, 0, false, Rgb{}, 1, kNoId, {Joint{1, 1}, Joint{}}}};
    doc.labels.push_back(Label{3, "open", 1, 2, false});
    doc.measurements.push_back(Measurement{4, 0, -50, 188.3, -50, 0, 10, false});
    doc.nextId = 5;
    std::string name = "open";
    const std::string before = LayoutToText(doc, name);

    std::string error = LoadLayoutFromText(doc, text, &name);
    if (!error.empty()) {
        Check(error.rfind("Line ", 0) == 0 && name == "open" && LayoutToText(doc, name) == before);
        return 0;
    }
    Check(LayoutInvariantsHold(doc));
    // What was accepted saves, and the saved text loads and saves again unchanged.
    const std::string saved = LayoutToText(doc, name);
    LayoutDocument again;
    std::string againName;
    Check(LoadLayoutFromText(again, saved, &againName).empty() && againName == name);
    Check(LayoutToText(again, againName) == saved);
    return 0;
}
