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

namespace {
void AddPoint(LayoutBounds& bounds, double x, double y, bool finiteOnly) {
    if (finiteOnly && (!std::isfinite(x) || !std::isfinite(y))) return;
    bounds.Add(x, y);
}
}  // namespace

void AddPieceExtent(LayoutBounds& bounds, const PlacedPiece& piece, bool finiteOnly) {
    const PieceDef* def = TrackCatalog::Instance().Find(piece.article);
    if (!def) return;
    const double h = DegToRad(piece.heading);
    AddPoint(bounds, piece.x, piece.y, finiteOnly);
    AddPoint(bounds, piece.x + std::cos(h) * def->length, piece.y + std::sin(h) * def->length,
             finiteOnly);
}

LayoutBounds LayoutExtent(const LayoutDocument& doc, const ExtentOptions& options) {
    LayoutBounds bounds;
    const bool finite = options.finiteOnly;
    for (const PlacedPiece& p : doc.pieces) {
        if (options.selectedOnly && !p.selected) continue;
        if (options.pieceLevel != ExtentOptions::kEveryLevel && p.level != options.pieceLevel)
            continue;
        AddPieceExtent(bounds, p, finite);
    }
    for (const SceneryItem& s : doc.scenery)
        if (!options.selectedOnly || s.selected) AddPoint(bounds, s.x, s.y, finite);
    if (options.selectedOnly) return bounds;
    if (options.outlines)
        for (const Level& level : doc.levels)
            for (const PointMm& pt : level.outline) AddPoint(bounds, pt.x, pt.y, finite);
    if (options.baseboard)
        for (const PointMm& v : doc.baseboard) AddPoint(bounds, v.x, v.y, finite);
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
