// Zoom, fit, grid and ruler arithmetic of the canvas view.
#include "canvas/ViewTransform.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "canvas/LayoutGeometry.h"
#include "trackgeometry/Units.h"
#include "model/LayoutDocument.h"
#include "model/LayoutExtent.h"

int ViewTransform::Px(double screenPx) const {
    const double px = std::round(screenPx * pixelScale);
    return px >= 1 ? static_cast<int>(std::min(px, 1e6)) : 1;
}

double PaperPixelScale(double dpi) { return dpi > 0 ? dpi / kScreenDpi : 1; }

int FontPixelHeight(double pointSize, double pixelScale) {
    // Text taller than a poster page says nothing more, and the font engine fails to make
    // glyphs far beyond that (at tens of thousands of pixels, after seconds of trying).
    constexpr double kMaxFontPixels = 8000;
    const double px = std::round(pointSize * kScreenDpi / 72.0 * pixelScale);
    return px >= 1 ? static_cast<int>(std::min(px, kMaxFontPixels)) : 1;
}

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
    DrawingExtentOptions options;
    options.baseboard = doc.baseboardShown;
    const LayoutBounds bounds = DrawingExtent(doc, options);
    if (!bounds.any) return ViewTransform{};
    return FitTransform(bounds, width, height);
}

ViewTransform OpenedLayoutView(const LayoutDocument& doc, int width, int height,
                               bool unitZoomCap) {
    const ViewTransform fitted = FitLayout(doc, width, height);
    if (!unitZoomCap || fitted.zoom <= 1.0) return fitted;
    // Centred at 1 pixel per millimetre: the fitted view zoomed out about the window's centre,
    // which is the centre of the drawing.
    return ZoomAbout(fitted, 1.0 / fitted.zoom, width / 2.0, height / 2.0);
}

ViewTransform ZoomKeeping(const ViewTransform& view, double zoom, double x, double y) {
    return ZoomAbout(view, zoom / view.zoom, x * view.zoom + view.offsetX,
                     y * view.zoom + view.offsetY);
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

std::vector<int> GridLines(double spacingMm, double zoom, double offset, int extent,
                           double pixelScale) {
    std::vector<int> lines;
    const double s = spacingMm * zoom;
    const double onScreen = s / (pixelScale > 0 ? pixelScale : 1);
    if (!(onScreen >= 6 && onScreen <= 400)) return lines;
    for (long long k = static_cast<long long>(std::floor(-offset / s));; ++k) {
        const double p = k * s + offset;
        if (p >= extent) break;
        lines.push_back(static_cast<int>(p));
    }
    return lines;
}
