// Zoom, fit, grid and ruler arithmetic of the canvas view.
#include "canvas/ViewTransform.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "canvas/Units.h"
#include "model/LayoutDocument.h"
#include "model/LayoutExtent.h"

ViewTransform ZoomAbout(const ViewTransform& view, double factor, double px, double py) {
    const double wx = (px - view.offsetX) / view.zoom;
    const double wy = (py - view.offsetY) / view.zoom;
    ViewTransform out = view;
    out.zoom = std::clamp(view.zoom * factor, ViewTransform::kMinZoom, ViewTransform::kMaxZoom);
    out.offsetX = px - wx * out.zoom;
    out.offsetY = py - wy * out.zoom;
    return out;
}

ViewTransform FitTransform(const LayoutBounds& bounds, int width, int height) {
    constexpr double kMargins = 160.0;  // 80 pixels on each side
    const double spanX = std::max(bounds.maxX - bounds.minX, 1.0);
    const double spanY = std::max(bounds.maxY - bounds.minY, 1.0);
    ViewTransform out;
    double zoom = std::min((width - kMargins) / spanX, (height - kMargins) / spanY);
    // std::clamp would pass a NaN through; a window smaller than its margins gives a negative
    // zoom, which the lower bound catches.
    if (!(zoom <= ViewTransform::kMaxZoom)) zoom = ViewTransform::kMaxZoom;
    if (!(zoom >= ViewTransform::kMinFitZoom)) zoom = ViewTransform::kMinFitZoom;
    out.zoom = zoom;
    out.offsetX = (width - kMargins - zoom * spanX) / 2 + (kMargins / 2 - zoom * bounds.minX);
    out.offsetY = (height - kMargins - zoom * spanY) / 2 + (kMargins / 2 - zoom * bounds.minY);
    return out;
}

ViewTransform FitLayout(const LayoutDocument& doc, int width, int height) {
    const bool anyOutline = std::any_of(doc.levels.begin(), doc.levels.end(),
                                        [](const Level& l) { return l.outline.size() >= 3; });
    if (doc.pieces.empty() && doc.scenery.empty() && !anyOutline) return ViewTransform{};
    LayoutBounds bounds = LayoutExtent(doc);
    if (!bounds.any) bounds.Add(0, 0);  // only pieces missing from the catalog
    return FitTransform(bounds, width, height);
}

double RulerStep(int units, double zoom) {
    static const std::vector<double> kMm = {1, 2, 5, 10, 20, 50, 100, 200, 500};
    static const std::vector<double> kCm = {0.5, 1, 2, 5, 10, 20, 50, 100, 200};
    static const std::vector<double> kInch = {0.25, 0.5, 1, 2, 3, 6, 12, 24, 48, 96, 192};
    const std::vector<double>& table =
        units == kUnitsCm ? kCm : (units == kUnitsInch ? kInch : kMm);
    const double minStep = 60.0 / (UnitFactor(units) * zoom);
    for (double step : table) {
        if (step >= minStep) return step;
    }
    return table.back();
}

std::string RulerLabel(int units, double mm) {
    const double v = mm / UnitFactor(units);
    char buf[48];
    if (units == kUnitsInch) {
        const double half = std::round(2 * v) / 2;
        if (half == std::floor(half)) {
            std::snprintf(buf, sizeof buf, "%.0f\"", half);
        } else {
            std::snprintf(buf, sizeof buf, "%.1f\"", half);
        }
    } else {
        std::snprintf(buf, sizeof buf, "%.0f", v);
    }
    return buf;
}

std::vector<RulerTick> RulerTicks(const ViewTransform& view, int units, int extent,
                                  bool horizontal) {
    constexpr int kRulerSize = 20;
    std::vector<RulerTick> ticks;
    const double stepMm = RulerStep(units, view.zoom) * UnitFactor(units);
    const double offset = horizontal ? view.offsetX : view.offsetY;
    const double stepPx = stepMm * view.zoom;
    if (!(stepPx > 0)) return ticks;
    for (long long k = static_cast<long long>(std::floor(-offset / stepPx));; ++k) {
        const double mm = k * stepMm;
        const double p = mm * view.zoom + offset;
        if (p >= extent) break;
        const int px = static_cast<int>(p);
        if (px < kRulerSize) continue;
        ticks.push_back({px, RulerLabel(units, mm)});
    }
    return ticks;
}

std::vector<int> GridLines(double spacingMm, double zoom, double offset, int extent) {
    std::vector<int> lines;
    const double s = spacingMm * zoom;
    if (!(s >= 6 && s <= 400)) return lines;
    for (double p = std::floor(-offset / s) * s + offset; p < extent; p += s) {
        lines.push_back(static_cast<int>(p));
    }
    return lines;
}
