// What every document the layout reader accepts must satisfy (shared by fuzz target and tests).
#pragma once

#include <unordered_set>

#include "model/LayoutDocument.h"

// At least one level; object ids unique and below nextId; joints mirrored: A's slot i naming
// (B, j) means B's slot j names (A, i); accessory addresses one per existing piece, by piece id.
inline bool LayoutInvariantsHold(const LayoutDocument& doc) {
    std::unordered_set<uint32_t> ids;
    bool ok = !doc.levels.empty();
    auto add = [&](const auto& list) {
        for (const auto& o : list) ok = ok && ids.insert(o.id).second && o.id < doc.nextId;
    };
    add(doc.pieces), add(doc.scenery), add(doc.labels), add(doc.measurements);
    add(doc.tunnels), add(doc.helices);
    for (const PlacedPiece& p : doc.pieces) {
        for (uint32_t i = 0; i < p.joints.size(); ++i) {
            if (p.joints[i].IsOpen()) continue;
            const PlacedPiece* t = doc.FindPiece(p.joints[i].target);
            const uint32_t c = p.joints[i].targetConn;
            ok = ok && t && c < t->joints.size() && t->joints[c] == Joint{p.id, i};
        }
    }
    // The wiring plan names only pieces of the layout and districts of the plan.
    for (const RailGap& g : doc.wiring.gaps) ok = ok && doc.FindPiece(g.piece);
    for (const Detector& d : doc.wiring.detectors) ok = ok && doc.FindPiece(d.piece);
    for (const Feeder& f : doc.wiring.feeders)
        ok = ok && doc.FindPiece(f.piece) &&
             (f.district == kNoId || doc.wiring.FindDistrict(f.district));
    // Pictures have a path, a width and an opacity a window can draw.
    for (const BackgroundPicture& p : doc.pictures)
        ok = ok && !p.path.empty() && p.widthMm > 0 && p.opacity >= 0 && p.opacity <= 1;
    for (size_t i = 0; i < doc.control.addresses.size(); ++i) {
        const AccessoryAddress& a = doc.control.addresses[i];
        ok = ok && doc.FindPiece(a.piece) &&
             (i == 0 || doc.control.addresses[i - 1].piece < a.piece);
    }
    return ok;
}
