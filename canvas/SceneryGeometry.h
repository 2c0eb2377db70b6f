// Shapes of scenery items on the canvas, in layout millimetres, without a window.
#pragma once

#include <string>
#include <vector>

#include "catalog/SceneryCatalog.h"
#include "model/LayoutDocument.h"

// A scenery item's pose: footprint centre in mm, heading in degrees, scale per axis.
struct SceneryPose {
    double x = 0;
    double y = 0;
    double heading = 0;
    double scaleX = 1;
    double scaleY = 1;
};

// One part of an item's drawing turned into layout millimetres.
struct SceneryShape {
    enum class Type { Polygon, Line, Text };
    Type type = Type::Polygon;
    std::vector<PointMm> points;  // polygon corners, line ends, or the text's top-left
    bool filled = false;          // false: transparent brush
    SceneryColor fill;
    bool stroked = false;  // false: transparent pen
    SceneryColor pen;
    int penWidth = 1;
    std::string text;
    int pointSize = 8;  // text only
};

// A local point of the footprint frame (origin at its corner) in layout millimetres.
PointMm SceneryToLayout(const SceneryDef& def, const SceneryPose& pose, double lx, double ly);
// The selected look of a fill: (0.7 r + 30, 0.7 g + 48, 0.7 b + 66).
SceneryColor ScenerySelectedTint(SceneryColor c);
// Ellipse polygon point count: max(12, min(64, truncate(larger diameter in pixels / 2))).
int EllipsePoints(double widthMm, double depthMm, double zoom);
// The shapes of an item at the given pose and zoom (zoom sets ellipse detail and text size).
std::vector<SceneryShape> BuildSceneryShapes(const SceneryDef& def, const SceneryPose& pose,
                                             bool selected, double zoom);
// The scaled, turned footprint rectangle (4 corners).
std::vector<PointMm> SceneryFootprint(const SceneryDef& def, const SceneryPose& pose);
