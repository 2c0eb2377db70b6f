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
    // Device pixels per screen pixel: 1 on screen, printer dots per screen pixel on paper. Text,
    // pens and other marks sized in pixels are multiplied by it, so that they keep on paper the
    // size they have on a screen showing the layout at the same scale.
    double pixelScale = 1;

    // Layout to window, truncated toward zero.
    int ToPixelX(double x) const { return static_cast<int>(x * zoom + offsetX); }
    int ToPixelY(double y) const { return static_cast<int>(y * zoom + offsetY); }
    // Window to layout.
    double ToLayoutX(double px) const { return (px - offsetX) / zoom; }
    double ToLayoutY(double py) const { return (py - offsetY) / zoom; }
    // A length in millimetres as pixels, truncated.
    int ToPixels(double mm) const { return static_cast<int>(mm * zoom); }
    // The zoom a screen shows the same scale at: what text sizes and detail thresholds follow.
    double ScreenZoom() const { return zoom / pixelScale; }
    // A size in screen pixels as device pixels, at least 1.
    int Px(double screenPx) const;

    bool operator==(const ViewTransform&) const = default;
};

// Pixels per inch a screen pixel stands for when pixel sizes are carried over to paper.
inline constexpr double kScreenDpi = 96;
// pixelScale of a page of dpi dots per inch.
double PaperPixelScale(double dpi);
// Height in device pixels of a font of pointSize points, as a screen shows it, at pixelScale.
int FontPixelHeight(double pointSize, double pixelScale);

// Multiplies the zoom by factor (kept within [0.3, 20]) so that window pixel (px, py) keeps
// showing the same layout point.
ViewTransform ZoomAbout(const ViewTransform& view, double factor, double px, double py);

// The transform that centres bounds in a client area of width × height with at least
// 80-pixel margins; the zoom is kept within [0.05, 20].
ViewTransform FitTransform(const LayoutBounds& bounds, int width, int height);
// Zoom to fit: everything the canvas draws (DrawingExtent: track bands, scenery footprints,
// helices, level outlines, the shown baseboard with its dimension labels, labels and
// measurements) fitted as above, or the default view when nothing is drawn.
ViewTransform FitLayout(const LayoutDocument& doc, int width, int height);
// The view after opening a layout: fitted, but a Z gauge layout (whose pieces are small) is not
// enlarged beyond 1 pixel per millimetre.
ViewTransform OpenedLayoutView(const LayoutDocument& doc, int width, int height, bool unitZoomCap);
// Zoom set to `zoom` keeping layout point (x, y) on the pixel it was on.
ViewTransform ZoomKeeping(const ViewTransform& view, double zoom, double x, double y);

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
// extent; empty when the spacing on screen (device spacing / pixelScale) is below 6 or above 400
// pixels. Each line is placed from its own index, so rounding never piles up.
std::vector<int> GridLines(double spacingMm, double zoom, double offset, int extent,
                           double pixelScale = 1);
