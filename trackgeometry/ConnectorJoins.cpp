// Connector poses, aligning a piece to an end, and the joints a placement makes.
#include "trackgeometry/ConnectorJoins.h"

#include <algorithm>
#include <cmath>

#include "base/Geometry.h"

namespace {

const PieceDef* DefOf(const PlacedPiece& p) { return TrackCatalog::Instance().Find(p.article); }

int ConnectorCount(const PieceDef& def) { return static_cast<int>(def.connectors.size()); }

// Opens the mirror entry of connector `c` of `p` on its partner, when the partner points back.
void OpenPartnerOf(LayoutDocument& doc, const PlacedPiece& p, int c) {
    if (p.IsOpen(c)) return;
    const Joint j = p.joints[c];
    PlacedPiece* partner = doc.FindPiece(j.target);
    if (!partner || j.targetConn >= partner->joints.size()) return;
    Joint& back = partner->joints[j.targetConn];
    if (back.target == p.id && back.targetConn == static_cast<uint32_t>(c)) back = Joint{};
}

}  // namespace

double PieceReachMm(const PieceDef& def) {
    double r = 0;
    for (const Connector& c : def.connectors) r = std::max(r, std::hypot(c.x, c.y));
    return r;
}

double CatalogReachMm() {
    static int countSeen = -1;
    static double reach = 0;
    const TrackCatalog& cat = TrackCatalog::Instance();
    if (countSeen != cat.Count()) {
        reach = 0;
        for (const PieceDef& d : cat.pieces) reach = std::max(reach, PieceReachMm(d));
        countSeen = cat.Count();
    }
    return reach;
}

void GrowJoints(PlacedPiece& p, const PieceDef& def) {
    if (p.joints.size() < def.connectors.size()) p.joints.resize(def.connectors.size());
}

bool ConnectorsCompatible(const PieceDef& a, int i, const PieceDef& b, int j) {
    return a.ConnectorSystem(i) == b.ConnectorSystem(j);
}

std::vector<ConnectorPose> ConnectorPoses(const PlacedPiece& piece, const PieceDef& def) {
    std::vector<ConnectorPose> poses;
    poses.reserve(def.connectors.size());
    for (int i = 0; i < ConnectorCount(def); ++i) poses.push_back(GetConnectorPose(piece, def, i));
    return poses;
}

PiecePose AlignToConnector(const PieceDef& def, int k, const ConnectorPose& target) {
    if (k < 0 || k >= ConnectorCount(def)) return {};
    const Connector& c = def.connectors[k];
    const double h = NormalizeDeg(NormalizeDeg(target.heading + 180) - c.heading);
    const double r = DegToRad(h);
    const double cr = std::cos(r), sr = std::sin(r);
    return {target.x - (c.x * cr - c.y * sr), target.y - (c.x * sr + c.y * cr), h};
}

bool JoinConnectors(LayoutDocument& doc, uint32_t a, int ca, uint32_t b, int cb) {
    if (a == b) return false;
    PlacedPiece* pa = doc.FindPiece(a);
    PlacedPiece* pb = doc.FindPiece(b);
    if (!pa || !pb) return false;
    const PieceDef* da = DefOf(*pa);
    const PieceDef* db = DefOf(*pb);
    if (!da || !db || ca < 0 || cb < 0 || ca >= ConnectorCount(*da) || cb >= ConnectorCount(*db))
        return false;
    OpenPartnerOf(doc, *pa, ca);
    OpenPartnerOf(doc, *pb, cb);
    GrowJoints(*pa, *da);
    GrowJoints(*pb, *db);
    pa->joints[ca] = {b, static_cast<uint32_t>(cb)};
    pb->joints[cb] = {a, static_cast<uint32_t>(ca)};
    return true;
}

int JoinPlacedEnds(LayoutDocument& doc, std::span<const uint32_t> newPieces) {
    int made = 0;
    const double farMm = 2 * CatalogReachMm() + kJoinRadiusMm;
    for (const uint32_t id : newPieces) {
        const PlacedPiece* n = doc.FindPiece(id);
        const PieceDef* nDef = n ? DefOf(*n) : nullptr;
        if (!nDef) continue;
        for (int a = 0; a < ConnectorCount(*nDef); ++a) {
            n = doc.FindPiece(id);  // joining may have grown the list of joints
            if (!n->IsOpen(a)) continue;
            const ConnectorPose na = GetConnectorPose(*n, *nDef, a);
            uint32_t bestPiece = kNoId;
            int bestConn = -1;
            double bestSq = kJoinRadiusMm * kJoinRadiusMm;
            for (const PlacedPiece& o : doc.pieces) {
                if (o.id == id || std::hypot(o.x - n->x, o.y - n->y) > farMm) continue;
                const PieceDef* oDef = DefOf(o);
                if (!oDef) continue;
                for (int b = 0; b < ConnectorCount(*oDef); ++b) {
                    if (!o.IsOpen(b) || oDef->ConnectorSystem(b) != nDef->ConnectorSystem(a))
                        continue;
                    const ConnectorPose ob = GetConnectorPose(o, *oDef, b);
                    const double dx = na.x - ob.x, dy = na.y - ob.y;
                    const double sq = dx * dx + dy * dy;
                    double turn = std::fmod(std::fabs(na.heading - ob.heading), 360.0);
                    if (turn > 180) turn = 360 - turn;
                    if (sq < bestSq && turn >= 180.0 - kMinTurnDeg) {
                        bestSq = sq;
                        bestPiece = o.id;
                        bestConn = b;
                    }
                }
            }
            if (bestPiece != kNoId && JoinConnectors(doc, id, a, bestPiece, bestConn)) ++made;
        }
    }
    return made;
}
