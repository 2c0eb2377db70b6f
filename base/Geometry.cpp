// The shared geometry: angle normalisation, heading differences and bounding boxes.
#include "base/Geometry.h"

#include <algorithm>
#include <cmath>

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
