// Deck boards and their legs.
#include "view3d/Decks.h"

#include <algorithm>
#include <cmath>

#include "view3d/Scene3D.h"
#include "view3d/Triangulate.h"

namespace {

// The outline without repeated neighbours (the last point again at the end included).
std::vector<PointMm> Cleaned(const std::vector<PointMm>& outline) {
    std::vector<PointMm> out;
    for (const PointMm& p : outline) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
        if (out.empty() || std::hypot(p.x - out.back().x, p.y - out.back().y) > 1e-6)
            out.push_back(p);
    }
    while (out.size() > 1 &&
           std::hypot(out.front().x - out.back().x, out.front().y - out.back().y) <= 1e-6)
        out.pop_back();
    return out;
}

// Unit normal of the edge a-b pointing into a polygon of the given orientation.
PointMm InwardNormal(PointMm a, PointMm b, bool counterClockwise) {
    const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    if (len < 1e-12) return {0, 0};
    return counterClockwise ? PointMm{-dy / len, dx / len} : PointMm{dy / len, -dx / len};
}

}  // namespace

bool IsDeck(const Level& level) { return level.visible && level.outline.size() >= 3; }

bool InsideOutline(const std::vector<PointMm>& outline, double x, double y) {
    bool inside = false;
    for (size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        const PointMm& a = outline[i];
        const PointMm& b = outline[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

bool OnDeck(const LayoutDocument& doc, double x, double y, double z) {
    return std::any_of(doc.levels.begin(), doc.levels.end(), [&](const Level& l) {
        return IsDeck(l) && std::abs(z - l.height) <= kMinPierHeight &&
               InsideOutline(l.outline, x, y);
    });
}

double GroundUnder(const LayoutDocument& doc, double x, double y, double z) {
    double ground = 0;
    for (const Level& l : doc.levels)
        if (IsDeck(l) && l.height > ground && l.height <= z - kMinPierHeight &&
            InsideOutline(l.outline, x, y))
            ground = l.height;
    return ground;
}

void AddDeckBoard(Mesh& m, const Level& level) {
    const std::vector<PointMm> outline = Cleaned(level.outline);
    const std::vector<Triangle2> triangles = TriangulatePolygon(outline);
    if (triangles.empty()) return;
    const double top = level.height, bottom = level.height - kDeckThickness;
    for (const Triangle2& t : triangles) {
        uint32_t up[3], down[3];
        for (int k = 0; k < 3; ++k) {
            up[k] = m.AddVertex({t[k].x, -t[k].y, top}, {0, 0, 1}, kDeckTopColour);
            down[k] = m.AddVertex({t[k].x, -t[k].y, bottom}, {0, 0, -1}, kDeckUnderColour);
        }
        // The layout's y runs down: two corners swap so that the top faces up in world axes.
        m.AddTriangle(up[0], up[2], up[1]);
        m.AddTriangle(down[0], down[1], down[2]);
    }
    const bool ccw = SignedArea2(outline) > 0;
    for (size_t i = 0; i < outline.size(); ++i) {
        const PointMm a = outline[i], b = outline[(i + 1) % outline.size()];
        const PointMm in = InwardNormal(a, b, ccw);
        const Vec3 out{-in.x, in.y, 0};  // outwards, mirrored into world axes
        AddQuad(m, {a.x, -a.y, bottom}, {b.x, -b.y, bottom}, {b.x, -b.y, top}, {a.x, -a.y, top},
                out, kDeckEdgeColour);
    }
}

std::vector<PointMm> DeckLegPoints(const std::vector<PointMm>& rawOutline) {
    const std::vector<PointMm> outline = Cleaned(rawOutline);
    std::vector<PointMm> legs;
    const size_t n = outline.size();
    if (n < 3 || SignedArea2(outline) == 0) return legs;
    const bool ccw = SignedArea2(outline) > 0;
    auto keep = [&](PointMm p) {
        if (InsideOutline(outline, p.x, p.y)) legs.push_back(p);
    };
    for (size_t i = 0; i < n; ++i) {
        const PointMm prev = outline[(i + n - 1) % n], p = outline[i], next = outline[(i + 1) % n];
        const PointMm n1 = InwardNormal(prev, p, ccw), n2 = InwardNormal(p, next, ccw);
        // Inset from both edges; a sharp corner would push the leg far away, so there it only
        // moves along the bisector.
        const double cosine = n1.x * n2.x + n1.y * n2.y;
        double sx = n1.x + n2.x, sy = n1.y + n2.y;
        const double scale =
            1 + cosine > 0.3 ? 1 / (1 + cosine) : 1 / std::max(1e-9, std::hypot(sx, sy));
        keep({p.x + sx * scale * kDeckLegInset, p.y + sy * scale * kDeckLegInset});
        const double length = std::hypot(next.x - p.x, next.y - p.y);
        const int spans = static_cast<int>(std::ceil(length / kDeckLegSpacing));
        for (int k = 1; k < std::min(spans, 10000); ++k) {
            const double t = static_cast<double>(k) / spans;
            keep({p.x + (next.x - p.x) * t + n2.x * kDeckLegInset,
                  p.y + (next.y - p.y) * t + n2.y * kDeckLegInset});
        }
    }
    return legs;
}

void AddDecks(Mesh& boards, Mesh& legs, const LayoutDocument& doc) {
    for (const Level& level : doc.levels) {
        if (!IsDeck(level)) continue;
        AddDeckBoard(boards, level);
        const double underside = level.height - kDeckThickness;
        for (const PointMm& p : DeckLegPoints(level.outline)) {
            const double foot = GroundUnder(doc, p.x, p.y, underside);
            if (underside - foot >= kMinPierHeight)
                AddTurnedBox(legs, p.x, -p.y, 0, kDeckLegSize, kDeckLegSize, foot, underside,
                             kDeckLegColour, kDeckLegColour);
        }
    }
}
