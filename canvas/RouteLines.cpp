// Route centre lines of the overview's level of detail.
#include "canvas/RouteLines.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>

#include "base/Geometry.h"
#include "trackgeometry/PieceGeometry.h"
#include "trackgeometry/TrackRoutes.h"
#include "catalog/TrackCatalog.h"

namespace {

// A route of a piece a dozen pixels long needs no more segments than this: the arc of a quarter
// circle then strays less than a third of a pixel from its chords.
constexpr size_t kMaxSegments = 4;

struct CacheEntry {
    // What the lines were worked out from.
    std::string article;
    PieceKind kind = PieceKind::Straight;
    double length = 0, radius = 0, angle = 0;
    size_t connectors = 0;
    RouteLines lines;

    bool Fits(const PieceDef& def) const {
        return article == def.article && kind == def.kind && length == def.length &&
               radius == def.radius && angle == def.angle && connectors == def.connectors.size();
    }
};

RouteLines Build(const PieceDef& def) {
    RouteLines lines;
    PlacedPiece origin;
    origin.article = def.article;
    for (const TrackRoute& route : PieceRoutes(origin, def)) {
        const size_t n = route.points.size();
        if (n < 2) continue;
        const size_t segments = std::min(kMaxSegments, n - 1);
        for (size_t k = 0; k <= segments; ++k) {
            const PointMm p = route.points[k * (n - 1) / segments];
            lines.points.push_back(p);
            lines.spanMm = std::max(lines.spanMm, std::hypot(p.x, p.y));
        }
        lines.spanMm = std::max(lines.spanMm, route.Length());
        lines.starts.push_back(static_cast<uint32_t>(lines.points.size()));
    }
    return lines;
}

}  // namespace

const RouteLines& RouteLinesOf(const PieceDef& def) {
    static std::unordered_map<const PieceDef*, std::unique_ptr<CacheEntry>> cache;
    std::unique_ptr<CacheEntry>& entry = cache[&def];
    if (!entry || !entry->Fits(def)) {
        entry = std::make_unique<CacheEntry>();
        entry->article = def.article;
        entry->kind = def.kind;
        entry->length = def.length;
        entry->radius = def.radius;
        entry->angle = def.angle;
        entry->connectors = def.connectors.size();
        entry->lines = Build(def);
    }
    return entry->lines;
}

bool DrawnAsRouteLines(const PieceDef& def, double zoom) {
    if (!BandDrawnAsLine(BandHalfWidth(def), zoom)) return false;
    const RouteLines& lines = RouteLinesOf(def);
    return lines.LineCount() > 0 && lines.spanMm * zoom < kRouteLinesBelowPx;
}

void PlaceRouteLines(const RouteLines& lines, const PlacedPiece& piece,
                     std::vector<PointMm>& points, std::vector<uint32_t>& starts) {
    const double r = piece.heading * kDegToRad;
    const double c = std::cos(r), s = std::sin(r);
    for (size_t k = 0; k < lines.LineCount(); ++k) {
        starts.push_back(static_cast<uint32_t>(points.size()));
        for (uint32_t i = lines.starts[k]; i < lines.starts[k + 1]; ++i) {
            const PointMm& p = lines.points[i];
            points.push_back({p.x * c - p.y * s + piece.x, p.x * s + p.y * c + piece.y});
        }
    }
}
