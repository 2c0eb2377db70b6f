// The shared geometry rules: angles, extents and level visibility.
#include "model/Geometry.h"

#include <algorithm>
#include <cmath>

#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"

double NormalizeDeg(double deg) {
    if (!std::isfinite(deg)) return 0;
    if (deg >= 360.0 * 4 || deg < -360.0 * 4) deg = std::fmod(deg, 360.0);
    while (deg < 0) deg += 360;
    while (deg >= 360) deg -= 360;
    return deg;
}

double HeadingDiffDeg(double a, double b) {
    // fmod is exact, so the result does not depend on the order of a and b.
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return d > 180 ? 360 - d : d;
}

void LayoutBounds::Add(double x, double y) {
    minX = std::min(minX, x);
    minY = std::min(minY, y);
    maxX = std::max(maxX, x);
    maxY = std::max(maxY, y);
    any = true;
}

void AddPieceExtent(LayoutBounds& bounds, const PlacedPiece& piece) {
    const PieceDef* def = TrackCatalog::Instance().Find(piece.article);
    if (!def) return;
    const double h = DegToRad(piece.heading);
    bounds.Add(piece.x, piece.y);
    bounds.Add(piece.x + std::cos(h) * def->length, piece.y + std::sin(h) * def->length);
}

LayoutBounds LayoutExtent(const LayoutDocument& doc, const ExtentOptions& options) {
    LayoutBounds bounds;
    for (const PlacedPiece& p : doc.pieces) {
        if (options.selectedOnly && !p.selected) continue;
        if (options.pieceLevel != ExtentOptions::kEveryLevel && p.level != options.pieceLevel)
            continue;
        AddPieceExtent(bounds, p);
    }
    for (const SceneryItem& s : doc.scenery)
        if (!options.selectedOnly || s.selected) bounds.Add(s.x, s.y);
    if (options.outlines && !options.selectedOnly)
        for (const Level& level : doc.levels)
            for (const PointMm& pt : level.outline) bounds.Add(pt.x, pt.y);
    return bounds;
}

LayoutBounds SelectionExtent(const LayoutDocument& doc) {
    ExtentOptions options;
    options.selectedOnly = true;
    return LayoutExtent(doc, options);
}

bool IsLevelVisible(const LayoutDocument& doc, int32_t levelId) {
    for (const Level& level : doc.levels) {
        if (static_cast<int64_t>(level.id) == levelId) return level.visible;
    }
    return true;
}
