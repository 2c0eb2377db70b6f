// The wiring view's marks and the piece ends it places gaps at.
#include "wiring/WiringMarks.h"

#include <algorithm>
#include <cmath>

#include "base/Geometry.h"
#include "catalog/TrackCatalog.h"
#include "trackgeometry/PieceGeometry.h"
#include "trackgeometry/TrackRoutes.h"
#include "trains/TrainSpec.h"

namespace {

PointMm Along(PointMm p, double headingDeg, double mm) {
    return {p.x + CosDeg(headingDeg) * mm, p.y + SinDeg(headingDeg) * mm};
}

}  // namespace

double RailGaugeMm(TrackSystem system) {
    const int scale = ScaleOf(system);
    if (scale == 220) return 6.5;
    if (scale == 160) return 9.0;
    return 16.5;
}

WiringMarks BuildWiringMarks(const LayoutDocument& doc, const TrackGraph& graph,
                             const WiringAnalysis& analysis) {
    WiringMarks marks;
    const TrackCatalog& catalog = TrackCatalog::Instance();
    auto colourOf = [&](uint32_t district) {
        const PowerDistrict* d = doc.wiring.FindDistrict(district);
        return d ? d->colour : kUnfedColour;
    };
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = catalog.Find(p.article);
        if (!def) continue;
        const Section* section = analysis.SectionOf(graph, p.id);
        for (TrackRoute& route : PieceRoutes(p, *def)) {
            if (route.points.size() < 2) continue;
            WiringMarks::Line line;
            line.points = std::move(route.points);
            line.piece = p.id;
            if (section) {
                line.colour = colourOf(section->district);
                line.detection = section->detector > 0;
                line.section = static_cast<int>(section - analysis.sections.data());
            }
            marks.lines.push_back(std::move(line));
        }
    }
    for (const RailGap& g : doc.wiring.gaps) {
        const PlacedPiece* p = doc.FindPiece(g.piece);
        const PieceDef* def = p ? catalog.Find(p->article) : nullptr;
        if (!def || g.connector < 0 || g.connector >= static_cast<int>(def->connectors.size()))
            continue;
        const ConnectorPose pose = GetConnectorPose(*p, *def, g.connector);
        // Looking along the piece from connector 0: into the piece there, out of it elsewhere.
        const double travel = g.connector == 0 ? pose.heading + 180 : pose.heading;
        const double left = travel + 90;
        const double gauge = RailGaugeMm(def->system);
        const double half = 0.45 * gauge;
        const PointMm at{pose.x, pose.y};
        auto bar = [&](double offset) {
            const PointMm rail = Along(at, left, offset);
            marks.gaps.push_back({Along(rail, left, -half), Along(rail, left, half)});
        };
        if (g.rails == GapRails::Centre) bar(0);
        if (g.rails == GapRails::Left || g.rails == GapRails::Both) bar(gauge / 2);
        if (g.rails == GapRails::Right || g.rails == GapRails::Both) bar(-gauge / 2);
    }
    std::vector<uint32_t> onPiece;  // feeders drawn so far per piece, to set them side by side
    for (size_t i = 0; i < doc.wiring.feeders.size(); ++i) {
        const Feeder& f = doc.wiring.feeders[i];
        const PlacedPiece* p = doc.FindPiece(f.piece);
        const PieceDef* def = p ? catalog.Find(p->article) : nullptr;
        if (!def) continue;
        const int before = static_cast<int>(std::count(onPiece.begin(), onPiece.end(), f.piece));
        onPiece.push_back(f.piece);
        PointMm at = PieceMidpoint(*p, *def);
        const double offset = 3 * RailGaugeMm(def->system) * (before + 1);
        at = Along(at, p->heading + 90, offset);
        marks.feeders.push_back({at, static_cast<int>(i) + 1, colourOf(f.district)});
    }
    return marks;
}

PieceEnd PieceEndNear(const LayoutDocument& doc, double x, double y, double maxMm) {
    PieceEnd best;
    double bestDistance = maxMm;
    const TrackCatalog& catalog = TrackCatalog::Instance();
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = catalog.Find(p.article);
        if (!def) continue;
        for (int c = 0; c < static_cast<int>(def->connectors.size()); ++c) {
            const ConnectorPose pose = GetConnectorPose(p, *def, c);
            const double d = std::hypot(pose.x - x, pose.y - y);
            if (d > bestDistance) continue;
            bestDistance = d;
            best = {p.id, c};
        }
    }
    return best;
}
