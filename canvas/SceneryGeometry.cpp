// Shapes of scenery items on the canvas.
#include "canvas/SceneryGeometry.h"

#include <algorithm>
#include <cmath>

#include "base/Geometry.h"

PointMm SceneryToLayout(const SceneryDef& def, const SceneryPose& pose, double lx, double ly) {
    const double u = lx * pose.scaleX - def.width * pose.scaleX / 2;
    const double v = ly * pose.scaleY - def.depth * pose.scaleY / 2;
    const double h = pose.heading * kDegToRad;
    const double c = std::cos(h), s = std::sin(h);
    return {pose.x + u * c - v * s, pose.y + u * s + v * c};
}

SceneryColor ScenerySelectedTint(SceneryColor c) {
    auto tint = [](uint8_t v, int add) {
        return static_cast<uint8_t>(std::min(255.0, 0.7 * v + add));
    };
    return {tint(c.r, 30), tint(c.g, 48), tint(c.b, 66), c.a};
}

int EllipsePoints(double widthMm, double depthMm, double zoom) {
    const double larger = std::max(std::abs(widthMm), std::abs(depthMm)) * zoom / 2;
    const double clamped = std::clamp(larger, 0.0, 64.0);
    return std::max(12, std::min(64, static_cast<int>(clamped)));
}

std::vector<SceneryShape> BuildSceneryShapes(const SceneryDef& def, const SceneryPose& pose,
                                             bool selected, double zoom) {
    std::vector<SceneryShape> out;
    for (const SceneryPart& part : def.parts) {
        SceneryShape s;
        s.filled = part.fill.a != 0;
        s.fill = selected ? ScenerySelectedTint(part.fill) : part.fill;
        s.stroked = part.outline.a != 0 && part.width >= 1;
        s.pen = part.outline;
        s.penWidth = std::max(1, part.width);
        auto at = [&](double lx, double ly) { return SceneryToLayout(def, pose, lx, ly); };
        switch (part.type) {
            case kSceneryRectOutline:
                s.filled = false;
                [[fallthrough]];
            case kSceneryFilledRect:
                s.points = {at(part.a, part.b), at(part.a + part.c, part.b),
                            at(part.a + part.c, part.b + part.d), at(part.a, part.b + part.d)};
                break;
            case kSceneryEllipseOutline:
                s.filled = false;
                [[fallthrough]];
            case kSceneryFilledEllipse: {
                const int n = EllipsePoints(part.c * pose.scaleX, part.d * pose.scaleY, zoom);
                const double cx = part.a + part.c / 2, cy = part.b + part.d / 2;
                for (int i = 0; i < n; ++i) {
                    const double t = 2 * kPi * i / n;
                    s.points.push_back(
                        at(cx + std::cos(t) * part.c / 2, cy + std::sin(t) * part.d / 2));
                }
                break;
            }
            case kSceneryPolygon:
                for (const SceneryPoint& p : part.points) s.points.push_back(at(p.x, p.y));
                if (s.points.size() < 2) continue;
                break;
            case kSceneryLine:
                s.type = SceneryShape::Type::Line;
                s.points = {at(part.a, part.b), at(part.c, part.d)};
                break;
            case kSceneryText: {
                if (part.text.empty()) continue;
                s.type = SceneryShape::Type::Text;
                s.points = {at(part.a, part.b)};
                s.text = part.text;
                const double size = part.c * std::min(pose.scaleX, pose.scaleY) * zoom;
                s.pointSize = std::max(8, static_cast<int>(std::min(size, 400.0)));
                break;
            }
            default:
                continue;  // a part type this program does not know
        }
        out.push_back(std::move(s));
    }
    return out;
}

std::vector<PointMm> SceneryFootprint(const SceneryDef& def, const SceneryPose& pose) {
    return {SceneryToLayout(def, pose, 0, 0), SceneryToLayout(def, pose, def.width, 0),
            SceneryToLayout(def, pose, def.width, def.depth),
            SceneryToLayout(def, pose, 0, def.depth)};
}
