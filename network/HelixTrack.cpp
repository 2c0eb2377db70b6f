// The helix's tracks in the track network.
#include "network/HelixTrack.h"

#include <algorithm>
#include <cmath>

#include "base/Geometry.h"
#include "trackgeometry/PieceGeometry.h"
#include "catalog/HelixVariants.h"
#include "model/GradeRuns.h"

namespace {

constexpr uint32_t kHelixTrackBit = 0x80000000u;
// The spiral's points: at most this far off the chords between them, and at most this many
// degrees apart (as for the curves of the plan).
constexpr double kSagMm = 0.25;
constexpr double kStepDeg = 6.0;

const HelixVariant* VariantOf(const Helix& helix) {
    const HelixVariant* v = FindHelixVariant(helix.variant);
    return v ? v : FindHelixVariant(DefaultHelixVariantId());
}

// The end pieces of track `track` of the helix when the network runs that track, else nulls.
std::pair<const PlacedPiece*, const PlacedPiece*> TrackEnds(const LayoutDocument& doc,
                                                            const Helix& helix, int track) {
    const HelixVariant* v = VariantOf(helix);
    if (!v || !(v->turns > 0) || !(v->radiusInner > 0) || !(v->radiusOuter > 0) ||
        !TrackCatalog::Instance().Find(track == 0 ? v->innerCurveArticle : v->outerCurveArticle))
        return {nullptr, nullptr};
    const PlacedPiece* bottom = doc.FindPiece(track == 0 ? helix.bottomR1 : helix.bottomR2);
    const PlacedPiece* top = doc.FindPiece(track == 0 ? helix.topR1 : helix.topR2);
    if (!bottom || !top || bottom == top || !bottom->IsOpen(0) || !top->IsOpen(0))
        return {nullptr, nullptr};
    const PieceDef* bottomDef = TrackCatalog::Instance().Find(bottom->article);
    const PieceDef* topDef = TrackCatalog::Instance().Find(top->article);
    if (!bottomDef || !topDef || bottomDef->connectors.empty() || topDef->connectors.empty())
        return {nullptr, nullptr};
    return {bottom, top};
}

}  // namespace

uint32_t HelixTrackId(uint32_t helixId, int track) {
    return kHelixTrackBit | ((helixId << 1) | static_cast<uint32_t>(track & 1));
}

bool IsHelixTrackId(uint32_t id) { return (id & kHelixTrackBit) != 0 && id != kNoId; }

std::vector<HelixTrack> HelixTracks(const LayoutDocument& doc) {
    std::vector<HelixTrack> out;
    const TrackCatalog& catalog = TrackCatalog::Instance();
    for (const Helix& helix : doc.helices) {
        const HelixVariant* v = VariantOf(helix);
        for (int track = 0; track < 2; ++track) {
            const auto [bottom, top] = TrackEnds(doc, helix, track);
            if (!bottom) continue;
            const double radius = track == 0 ? v->radiusInner : v->radiusOuter;
            const PieceDef& curve =
                *catalog.Find(track == 0 ? v->innerCurveArticle : v->outerCurveArticle);
            const ConnectorPose from = GetConnectorPose(*bottom, *catalog.Find(bottom->article), 0);
            const ConnectorPose to = GetConnectorPose(*top, *catalog.Find(top->article), 0);
            // From the bottom the spiral leaves against the end piece's heading and climbs
            // turning right, round the centre, to the top end.
            const double turnDeg = -360.0 * std::min(v->turns, 1000.0);
            const double step =
                std::min(kStepDeg, 2 * std::acos(std::max(0.0, 1 - kSagMm / radius)) / kDegToRad);
            const int n = std::max(1, static_cast<int>(std::ceil(-turnDeg / step)));
            HelixTrack t;
            t.id = HelixTrackId(helix.id, track);
            t.bottom = bottom->id;
            t.top = top->id;
            t.line.from = 0;
            t.line.to = 1;
            t.line.points = ArcLine(from.x, from.y, from.heading, radius, turnDeg, 0, n);
            t.line.points.back() = {to.x, to.y};
            const double length = radius * -turnDeg * kDegToRad;
            const double h0 = ConnectorHeight(*bottom, 0), h1 = ConnectorHeight(*top, 0);
            for (int i = 0; i <= n; ++i) {
                const double share = static_cast<double>(i) / n;
                t.line.along.push_back(length * share);
                t.line.heights.push_back(h0 + (h1 - h0) * share);
            }
            t.line.turns.assign(n, turnDeg / n);
            auto def = std::make_shared<PieceDef>();
            def->article = curve.article;
            def->name = curve.name;
            def->system = curve.system;
            def->kind = PieceKind::Curve;
            def->length = length;
            def->radius = radius;
            def->angle = turnDeg;
            def->connectors = {{from.x, from.y, NormalizeDeg(from.heading + 180), 0},
                               {to.x, to.y, NormalizeDeg(to.heading + 180), 1}};
            t.def = std::move(def);
            out.push_back(std::move(t));
        }
    }
    return out;
}

bool HelixContinues(const LayoutDocument& doc, const PlacedPiece& piece, int conn) {
    if (conn != 0 || piece.helixId == kNoId) return false;
    const Helix* helix = doc.FindHelix(piece.helixId);
    if (!helix) return false;
    for (int track = 0; track < 2; ++track) {
        const auto [bottom, top] = TrackEnds(doc, *helix, track);
        if (bottom == &piece || top == &piece) return true;
    }
    return false;
}
