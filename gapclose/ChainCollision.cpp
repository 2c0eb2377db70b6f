// The gap closer's collision probe: the chain and the track around it, checked as a small layout.
#include "gapclose/ChainCollision.h"

#include <algorithm>

#include "trackgeometry/TrackRoutes.h"
#include "catalog/TrackCatalog.h"
#include "layoutcheck/LayoutCheck.h"

void RouteBounds::Add(const PlacedPiece& p) {
    const PieceDef* def = TrackCatalog::Instance().Find(p.article);
    if (!def) return;
    for (const TrackRoute& r : PieceRoutes(p, *def)) {
        for (const PointMm& q : r.points) {
            minX = std::min(minX, q.x);
            minY = std::min(minY, q.y);
            maxX = std::max(maxX, q.x);
            maxY = std::max(maxY, q.y);
        }
    }
}

bool RouteBounds::Overlaps(const RouteBounds& o, double margin) const {
    return minX - margin <= o.maxX && o.minX <= maxX + margin && minY - margin <= o.maxY &&
           o.minY <= maxY + margin;
}

ChainCollisionProbe::ChainCollisionProbe(const LayoutDocument& doc, GapEnd a, GapEnd b,
                                         bool allowCrossing)
    : doc(doc), a(a), b(b), allowCrossing(allowCrossing) {
    for (const PlacedPiece& p : doc.pieces) {
        if (!TrackCatalog::Instance().Find(p.article)) continue;
        RouteBounds box;
        box.Add(p);
        existing.push_back({&p, box});
    }
}

bool ChainCollisionProbe::Collides(std::vector<PlacedPiece> chain,
                                   const std::vector<GapStep>& steps) const {
    if (chain.empty() || chain.size() != steps.size()) return false;
    RouteBounds around;
    for (const PlacedPiece& p : chain) around.Add(p);
    // Wide enough for the widest pair of tracks that can meet.
    const double margin = 2 * kMeetHalfWidthH0Mm + 1;
    LayoutDocument trial;
    for (const auto& [piece, box] : existing) {
        if (piece->id == a.piece || piece->id == b.piece || box.Overlaps(around, margin))
            trial.pieces.push_back(*piece);
    }
    // The chain's ids follow every id of the layout, so a finding tells whose pieces it names.
    const uint32_t firstChainId = doc.nextId;
    uint32_t id = firstChainId;
    for (PlacedPiece& p : chain) p.id = id++;
    auto join = [](PlacedPiece& p, int conn, uint32_t target, int targetConn) {
        if (conn >= 0 && conn < static_cast<int>(p.joints.size()))
            p.joints[conn] = {target, static_cast<uint32_t>(targetConn)};
    };
    for (size_t i = 0; i + 1 < chain.size(); ++i) {
        join(chain[i], steps[i].exit, chain[i + 1].id, steps[i + 1].entry);
        join(chain[i + 1], steps[i + 1].entry, chain[i].id, steps[i].exit);
    }
    join(chain.front(), steps.front().entry, a.piece, a.connector);
    join(chain.back(), steps.back().exit, b.piece, b.connector);
    for (PlacedPiece& p : trial.pieces) {
        if (p.id == a.piece) join(p, a.connector, chain.front().id, steps.front().entry);
        if (p.id == b.piece) join(p, b.connector, chain.back().id, steps.back().exit);
    }
    for (PlacedPiece& p : chain) trial.pieces.push_back(std::move(p));
    const auto inChain = [&](uint32_t p) { return p >= firstChainId; };
    for (const LayoutFinding& f : CheckLayout(trial)) {
        if (f.kind != FindingKind::Collision) continue;
        const bool any = std::any_of(f.pieces.begin(), f.pieces.end(), inChain);
        const bool all = std::all_of(f.pieces.begin(), f.pieces.end(), inChain);
        if (allowCrossing ? all : any) return true;
    }
    return false;
}
