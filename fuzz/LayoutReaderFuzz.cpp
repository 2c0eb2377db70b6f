// Fuzz target of the layout reader: no crash, document kept on refusal, accepted files round-trip.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

#include "persistence/LayoutFile.h"

namespace {

// The document the user has open when the file is read.
LayoutDocument OpenDocument() {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    PlacedPiece a;
    a.id = 1;
    a.article = "24188";
    a.joints = {Joint{}, Joint{2, 0}};
    PlacedPiece b;
    b.id = 2;
    b.article = "24188";
    b.x = 188.3;
    b.joints = {Joint{1, 1}, Joint{}};
    doc.pieces = {a, b};
    doc.labels.push_back(Label{3, "open", 1, 2, false});
    doc.nextId = 4;
    return doc;
}

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

bool Invariants(const LayoutDocument& doc) {
    if (doc.levels.empty()) return false;
    std::unordered_set<uint32_t> ids;
    auto add = [&](uint32_t id) { return ids.insert(id).second && id < doc.nextId; };
    for (const auto& p : doc.pieces)
        if (!add(p.id)) return false;
    for (const auto& s : doc.scenery)
        if (!add(s.id)) return false;
    for (const auto& l : doc.labels)
        if (!add(l.id)) return false;
    for (const auto& t : doc.tunnels)
        if (!add(t.id)) return false;
    for (const auto& h : doc.helices)
        if (!add(h.id)) return false;
    for (const auto& p : doc.pieces) {
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    LayoutDocument doc = OpenDocument();
    std::string name = "open";
    const std::string before = LayoutToText(doc, name);

    std::string error = LoadLayoutFromText(doc, text, &name);
    if (!error.empty()) {
        Check(error.rfind("Line ", 0) == 0);
        Check(name == "open");
        Check(LayoutToText(doc, name) == before);
        return 0;
    }
    Check(Invariants(doc));

    // What was accepted saves, and the saved text loads and saves again unchanged.
    const std::string saved = LayoutToText(doc, name);
    LayoutDocument again;
    std::string againName;
    Check(LoadLayoutFromText(again, saved, &againName).empty());
    Check(againName == name);
    Check(LayoutToText(again, againName) == saved);
    return 0;
}
