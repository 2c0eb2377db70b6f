// The extent of a layout or its selection, and level visibility.
#include "model/LayoutExtent.h"

#include <algorithm>
#include <cmath>

#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"

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
