// Tunnel analysis of the selection, adding and removing tunnels with their portals.
#include "model/Tunnels.h"

#include <algorithm>
#include <deque>
#include <unordered_map>
#include <unordered_set>

#include "base/Translate.h"
#include "catalog/TrackCatalog.h"

namespace {

// The lowest-numbered connector of an end piece that leaves the chain; kNoId when none does.
uint32_t OutwardConnector(const PlacedPiece& piece, const std::unordered_set<uint32_t>& chain) {
    const PieceDef* def = TrackCatalog::Instance().Find(piece.article);
    size_t count = piece.joints.size();
    if (def) count = std::max(count, def->connectors.size());
    for (size_t i = 0; i < count; ++i) {
        if (piece.IsOpen(static_cast<int>(i))) return static_cast<uint32_t>(i);
        if (!chain.count(piece.joints[i].target)) return static_cast<uint32_t>(i);
    }
    return kNoId;
}

using PiecesById = std::unordered_map<uint32_t, const PlacedPiece*>;

// The ids of the selected pieces joined to `first` through the selection.
std::unordered_set<uint32_t> JoinedGroup(const PlacedPiece* first, const PiecesById& byId) {
    std::unordered_set<uint32_t> chain{first->id};
    std::deque<const PlacedPiece*> queue{first};
    while (!queue.empty()) {
        const PlacedPiece* p = queue.front();
        queue.pop_front();
        for (const Joint& j : p->joints) {
            auto it = byId.find(j.target);
            if (j.IsOpen() || it == byId.end() || chain.count(j.target)) continue;
            chain.insert(j.target);
            queue.push_back(it->second);
        }
    }
    return chain;
}

// The tunnel that covers exactly the selected pieces; null when none does.
const Tunnel* TunnelOfSelection(const LayoutDocument& doc, size_t selected,
                                const PiecesById& byId) {
    for (const Tunnel& t : doc.tunnels) {
        if (t.covers.size() != selected) continue;
        const bool same = std::all_of(t.covers.begin(), t.covers.end(),
                                      [&](uint32_t id) { return byId.count(id) != 0; });
        if (same) return &t;
    }
    return nullptr;
}

// The pieces with at most one joint inside the selection: a simple chain has exactly two.
std::vector<const PlacedPiece*> ChainEnds(const std::vector<const PlacedPiece*>& selected,
                                          const PiecesById& byId) {
    std::vector<const PlacedPiece*> ends;
    for (const PlacedPiece* p : selected) {
        const auto inner = std::count_if(p->joints.begin(), p->joints.end(), [&](const Joint& j) {
            return !j.IsOpen() && byId.count(j.target);
        });
        if (inner <= 1) ends.push_back(p);
    }
    return ends;
}

}  // namespace

TunnelAnalysis AnalyseTunnel(const LayoutDocument& doc) {
    std::vector<const PlacedPiece*> selected;
    PiecesById byId;
    for (const PlacedPiece& p : doc.pieces) {
        if (!p.selected) continue;
        selected.push_back(&p);
        byId.emplace(p.id, &p);
    }
    if (selected.size() < 2) return {};

    // The selection must be one joined group.
    const std::unordered_set<uint32_t> chain = JoinedGroup(selected.front(), byId);
    if (chain.size() != byId.size()) return {};

    if (const Tunnel* t = TunnelOfSelection(doc, selected.size(), byId)) {
        TunnelAnalysis result;
        result.allowed = true;
        result.isTunnel = true;
        result.tunnelId = t->id;
        return result;
    }

    for (const Tunnel& t : doc.tunnels)
        for (uint32_t id : t.covers)
            if (chain.count(id)) return {};

    const std::vector<const PlacedPiece*> ends = ChainEnds(selected, byId);
    if (ends.size() != 2) return {};

    TunnelAnalysis result;
    result.pieceA = ends[0]->id;
    result.pieceB = ends[1]->id;
    result.connA = OutwardConnector(*ends[0], chain);
    result.connB = OutwardConnector(*ends[1], chain);
    if (ends[0]->joints.empty() || ends[1]->joints.empty() || result.connA == kNoId ||
        result.connB == kNoId)
        return {};
    result.allowed = true;
    result.chain.assign(chain.begin(), chain.end());
    std::sort(result.chain.begin(), result.chain.end());
    return result;
}

bool ToggleTunnel(LayoutDocument& doc) {
    const TunnelAnalysis a = AnalyseTunnel(doc);
    if (!a.allowed) return false;

    if (a.isTunnel) {
        const auto it = std::find_if(doc.tunnels.begin(), doc.tunnels.end(),
                                     [&](const Tunnel& t) { return t.id == a.tunnelId; });
        if (it == doc.tunnels.end()) return false;
        const uint32_t portalA = it->portalA;
        const uint32_t portalB = it->portalB;
        const auto index = it - doc.tunnels.begin();
        doc.PushUndo();
        std::erase_if(doc.scenery,
                      [&](const SceneryItem& s) { return s.id == portalA || s.id == portalB; });
        doc.tunnels.erase(doc.tunnels.begin() + index);
        return true;
    }

    // Everything is checked before the snapshot, so a refused add leaves the history alone.
    const PlacedPiece* ends[2] = {doc.FindPiece(a.pieceA), doc.FindPiece(a.pieceB)};
    const uint32_t conns[2] = {a.connA, a.connB};
    const PieceDef* defs[2] = {nullptr, nullptr};
    for (int i = 0; i < 2; ++i) {
        if (!ends[i]) return false;
        defs[i] = TrackCatalog::Instance().Find(ends[i]->article);
        if (!defs[i] || conns[i] >= defs[i]->connectors.size()) return false;
    }
    SceneryItem portals[2];
    for (int i = 0; i < 2; ++i) {
        const ConnectorPose pose = GetConnectorPose(*ends[i], *defs[i], static_cast<int>(conns[i]));
        portals[i].item = kTunnelPortalItem;
        portals[i].x = pose.x;
        portals[i].y = pose.y;
        portals[i].heading = pose.heading;
        portals[i].scaleX = 1.0;
        portals[i].scaleY = 1.0;
        // The portal belongs with the track it stands on, so it shows and hides with that level.
        portals[i].level = ends[i]->level;
    }

    doc.PushUndo();
    Tunnel tunnel;
    for (SceneryItem& portal : portals) {
        portal.id = doc.TakeId();
        doc.scenery.push_back(portal);
    }
    tunnel.id = doc.TakeId();
    tunnel.portalA = portals[0].id;
    tunnel.portalB = portals[1].id;
    tunnel.anchorA = a.pieceA;
    tunnel.anchorB = a.pieceB;
    tunnel.covers = a.chain;
    doc.tunnels.push_back(std::move(tunnel));
    return true;
}

std::string TunnelToolLabel(const TunnelAnalysis& analysis) {
    return analysis.isTunnel ? Tr("Remove Tunnel") : Tr("Tunnel");
}

bool IsTunnelPiece(const LayoutDocument& doc, uint32_t pieceId) {
    for (const Tunnel& t : doc.tunnels)
        if (std::find(t.covers.begin(), t.covers.end(), pieceId) != t.covers.end()) return true;
    return false;
}

bool IsTunnelPortal(const LayoutDocument& doc, uint32_t sceneryId) {
    for (const Tunnel& t : doc.tunnels)
        if (t.portalA == sceneryId || t.portalB == sceneryId) return true;
    return false;
}

std::string TunnelLockMessage(std::string_view verb) {
    // Whole sentences for the operations there are, so that each translates as a whole.
    if (verb == "delete")
        return Tr(
            "Selection includes tunnel track or portals. Remove the tunnel first, then "
            "delete.");
    if (verb == "move")
        return Tr(
            "Selection includes tunnel track or portals. Remove the tunnel first, then "
            "move.");
    if (verb == "rotate")
        return Tr(
            "Selection includes tunnel track or portals. Remove the tunnel first, then "
            "rotate.");
    return "Selection includes tunnel track or portals. Remove the tunnel first, then " +
           std::string(verb) + ".";
}
