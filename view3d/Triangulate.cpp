// Ear clipping of simple polygons, made safe for repeated, collinear and crossing corners.
#include "view3d/Triangulate.h"

#include <cmath>

namespace {

double Cross(PointMm o, PointMm a, PointMm b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// True when p lies inside or on the counter-clockwise triangle abc.
bool InTriangle(PointMm p, PointMm a, PointMm b, PointMm c, double eps) {
    return Cross(a, b, p) >= -eps && Cross(b, c, p) >= -eps && Cross(c, a, p) >= -eps;
}

bool Same(PointMm a, PointMm b, double eps) {
    return std::abs(a.x - b.x) <= eps && std::abs(a.y - b.y) <= eps;
}

// Drops repeated corners and corners on the straight line between their neighbours.
std::vector<PointMm> Clean(const std::vector<PointMm>& outline, double eps) {
    std::vector<PointMm> pts;
    for (const PointMm& p : outline) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
        if (pts.empty() || !Same(pts.back(), p, eps)) pts.push_back(p);
    }
    while (pts.size() > 1 && Same(pts.front(), pts.back(), eps)) pts.pop_back();
    bool changed = true;
    while (changed && pts.size() >= 3) {
        changed = false;
        for (size_t i = 0; i < pts.size() && pts.size() >= 3; ++i) {
            const PointMm a = pts[(i + pts.size() - 1) % pts.size()], b = pts[i],
                          c = pts[(i + 1) % pts.size()];
            const double scale = std::hypot(c.x - a.x, c.y - a.y) + 1.0;
            if (std::abs(Cross(a, b, c)) <= eps * scale || Same(a, c, eps)) {
                pts.erase(pts.begin() + static_cast<long>(i));
                changed = true;
                break;
            }
        }
    }
    return pts;
}

}  // namespace

double SignedArea2(const std::vector<PointMm>& outline) {
    double a = 0;
    for (size_t i = 0; i < outline.size(); ++i) {
        const PointMm p = outline[i], q = outline[(i + 1) % outline.size()];
        a += p.x * q.y - q.x * p.y;
    }
    return a;
}

std::vector<Triangle2> TriangulatePolygon(const std::vector<PointMm>& outline) {
    constexpr double kEps = 1e-9;
    std::vector<PointMm> pts = Clean(outline, kEps);
    std::vector<Triangle2> out;
    if (pts.size() < 3) return out;
    const double area = SignedArea2(pts);
    if (std::abs(area) <= kEps) return out;
    if (area < 0) std::vector<PointMm>(pts.rbegin(), pts.rend()).swap(pts);

    std::vector<size_t> ring(pts.size());
    for (size_t i = 0; i < ring.size(); ++i) ring[i] = i;
    size_t i = 0, misses = 0;
    while (ring.size() > 3) {
        const size_t n = ring.size();
        const PointMm a = pts[ring[(i + n - 1) % n]], b = pts[ring[i % n]],
                      c = pts[ring[(i + 1) % n]];
        bool ear = Cross(a, b, c) > kEps;
        for (size_t k = 0; ear && k < n; ++k) {
            const PointMm p = pts[ring[k]];
            if (Same(p, a, kEps) || Same(p, b, kEps) || Same(p, c, kEps)) continue;
            if (InTriangle(p, a, b, c, kEps)) ear = false;
        }
        // After a full round without an ear (a crossing outline), take any corner: every step
        // removes one, so the loop ends.
        if (ear || misses > n) {
            if (Cross(a, b, c) > kEps) out.push_back({a, b, c});
            ring.erase(ring.begin() + static_cast<long>(i % n));
            misses = 0;
            if (i >= ring.size()) i = 0;
        } else {
            i = (i + 1) % n;
            ++misses;
        }
    }
    const PointMm a = pts[ring[0]], b = pts[ring[1]], c = pts[ring[2]];
    if (Cross(a, b, c) > kEps) out.push_back({a, b, c});
    return out;
}
