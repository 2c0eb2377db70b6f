// Culling and level of detail of the track instances.
#include "view3d/TrackView.h"

#include <algorithm>
#include <cmath>
#include <numbers>

TrackDetail TrackDetailAt(double pixelsPerMm) {
    if (!(pixelsPerMm < kFullDetailPixelsPerMm)) return TrackDetail::Full;
    return pixelsPerMm >= kDistantDetailPixelsPerMm ? TrackDetail::Distant : TrackDetail::Far;
}

TrackView::TrackView(const float modelview[16], int width, int height, double fovYDeg) {
    std::copy(modelview, modelview + 16, mv);
    tanY = std::tan(fovYDeg / 2 * std::numbers::pi / 180);
    tanX = tanY * (height > 0 ? static_cast<double>(width) / height : 1.0);
    pixelsAtUnitDepth = std::max(height, 0) / (2 * tanY);
}

std::optional<TrackDetail> TrackView::Of(const TrackInstance& t) const {
    const std::optional<TrackSight> sight = SightOf(t);
    if (!sight) return std::nullopt;
    return sight->detail;
}

std::optional<double> TrackView::DepthOf(double x, double y, double z, double r) const {
    const double xe = mv[0] * x + mv[4] * y + mv[8] * z + mv[12];
    const double ye = mv[1] * x + mv[5] * y + mv[9] * z + mv[13];
    const double depth = -(mv[2] * x + mv[6] * y + mv[10] * z + mv[14]);
    if (depth + r < 1.0) return std::nullopt;
    if ((std::abs(xe) - depth * tanX) / std::sqrt(1 + tanX * tanX) > r) return std::nullopt;
    if ((std::abs(ye) - depth * tanY) / std::sqrt(1 + tanY * tanY) > r) return std::nullopt;
    return depth;
}

std::optional<TrackSight> TrackView::SightOf(const TrackInstance& t) const {
    // Every point of a piece lies within its length of its start; structures add 110 mm.
    const double r = t.length + 110.0;
    const std::optional<double> centreDepth = DepthOf(t.x, t.y, t.z, r);
    if (!centreDepth) return std::nullopt;
    const double depth = *centreDepth;
    if (depth - r <= 1.0) return TrackSight{TrackDetail::Full, false};
    const double pixelsPerMm = PixelsPerMmAt(depth - r);
    return TrackSight{TrackDetailAt(pixelsPerMm), pixelsPerMm < kSmallPartsPixelsPerMm};
}
