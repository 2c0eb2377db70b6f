// Helix and tunnel locks on the selection.
#include "model/Locks.h"

#include <unordered_set>

#include "base/Translate.h"
#include "model/Helices.h"
#include "model/Tunnels.h"

namespace {

std::unordered_set<uint32_t> CoveredPieces(const LayoutDocument& doc) {
    std::unordered_set<uint32_t> covered;
    for (const Tunnel& t : doc.tunnels) covered.insert(t.covers.begin(), t.covers.end());
    return covered;
}

bool PortalSelected(const LayoutDocument& doc) {
    for (const SceneryItem& s : doc.scenery)
        if (s.selected && IsTunnelPortal(doc, s.id)) return true;
    return false;
}

LockRefusal TunnelRefusal(std::string_view verb) {
    return LockRefusal{Tr(kTunnelLockTitle), TunnelLockMessage(verb)};
}

}  // namespace

LockRefusal CheckSelectionLocks(const LayoutDocument& doc, std::string_view verb,
                                bool wholeHelixPasses) {
    // A whole helix passes the helix lock only; should any of its track lie in a tunnel, the
    // tunnel lock still holds, so a tunnel never keeps pieces that were deleted or moved away.
    const bool helixUnit = wholeHelixPasses && SelectionIsWholeHelix(doc);
    const std::unordered_set<uint32_t> covered = CoveredPieces(doc);
    bool tunnelLocked = false;
    for (const PlacedPiece& p : doc.pieces) {
        if (!p.selected) continue;
        if (p.helixId != kNoId && !helixUnit)
            return LockRefusal{Tr(kHelixLockTitle), HelixLockMessage(verb)};
        if (covered.count(p.id)) tunnelLocked = true;
    }
    if (tunnelLocked || PortalSelected(doc)) return TunnelRefusal(verb);
    return {};
}

LockRefusal CheckMoveLocks(const LayoutDocument& doc) {
    std::unordered_set<uint32_t> touched;
    for (const PlacedPiece& p : doc.pieces)
        if (p.selected && p.helixId != kNoId) touched.insert(p.helixId);
    for (const PlacedPiece& p : doc.pieces)
        if (!p.selected && touched.count(p.helixId))
            return LockRefusal{Tr(kHelixPartialTitle), Tr(kHelixPartialMessage)};

    const std::unordered_set<uint32_t> covered = CoveredPieces(doc);
    for (const PlacedPiece& p : doc.pieces)
        if (p.selected && covered.count(p.id)) return TunnelRefusal("move");
    if (PortalSelected(doc)) return TunnelRefusal("move");
    return {};
}
