// The mapping between layout millimetres and window pixels, with its zoom rules.
#pragma once

#include <string>
#include <vector>

#include "base/Geometry.h"

class LayoutDocument;

struct ViewTransform {
    static constexpr double kDefaultZoom = 0.4;
    static constexpr double kDefaultOffset = 60.0;
    static constexpr double kMinZoom = 0.3;
    static constexpr double kMaxZoom = 20.0;
    static constexpr double kMinFitZoom = 0.05;

    double zoom = kDefaultZoom;  // pixels per millimetre
    double offsetX = kDefaultOffset;  // window pixel of layout point (0, 0)
    double offsetY = kDefaultOffset;

    // Layout to window, truncated toward zero.
    int ToPixelX(double x) const { return static_cast<int>(x * zoom + offsetX); }
    int ToPixelY(double y) const { return static_cast<int>(y * zoom + offsetY); }
    // Window to layout.
    double ToLayoutX(double px) const { return (px - offsetX) / zoom; }
    double ToLayoutY(double py) const { return (py - offsetY) / zoom; }
    // A length in millimetres as pixels, truncated.
    int ToPixels(double mm) const { return static_cast<int>(mm * zoom); }

    bool operator==(const ViewTransform&) const = default;
};

// Multiplies the zoom by factor (kept within [0.3, 20]) so that window pixel (px, py) keeps
// showing the same layout point.
ViewTransform ZoomAbout(const ViewTransform& view, double factor, double px, double py);

// The transform that centres bounds in a client area of width × height with at least
// 80-pixel margins; the zoom is kept within [0.05, 20].
ViewTransform FitTransform(const LayoutBounds& bounds, int width, int height);
// Zoom to fit: the layout's extent (LayoutExtent) fitted as above, or the default view when the
// layout has no pieces, no scenery and no level outline of 3 points or more.
ViewTransform FitLayout(const LayoutDocument& doc, int width, int height);

// One ruler tick: its window coordinate along the ruler and its label.
struct RulerTick {
    int pixel = 0;
    std::string label;
};

// Step between labelled ruler ticks in display units, so that ticks are at least 60 pixels apart.
double RulerStep(int units, double zoom);
// Ticks of the top ruler (horizontal = true, along x) or the left ruler, for a client extent
// of `extent` pixels; ticks under the 20-pixel corner are left out.
std::vector<RulerTick> RulerTicks(const ViewTransform& view, int units, int extent,
                                  bool horizontal);
// Label text of a ruler tick at layout coordinate mm.
std::string RulerLabel(int units, double mm);

// Window positions of the grid lines along one axis (offset = the axis offset) for a client
// extent; empty when the spacing on screen is below 6 or above 400 pixels.
std::vector<int> GridLines(double spacingMm, double zoom, double offset, int extent);
