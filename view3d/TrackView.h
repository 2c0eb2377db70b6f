// Which track a frame draws, and in how much detail, from the size it has on screen: detail
// finer than a pixel or two would alias into noise, so it merges into bands first and then into
// the bed alone.
#pragma once

#include <optional>

#include "view3d/Scene3D.h"
#include "view3d/TrackMeshes.h"

// Full while a sleeper is at least two pixels long (the rails are then most of a pixel wide);
// Distant (the bed with sleepers and rails merged into one band) while the bed's margins beside
// the band are at least half a pixel wide; Far (the bed's top alone, in the colour the band and
// margins mix to) below that, from a bed about three pixels wide.
inline constexpr double kFullDetailPixelsPerMm = 2.0 / (2 * kSleeperHalfLength);
inline constexpr double kDistantDetailPixelsPerMm = 0.5 / (kBedHalfWidth - kSleeperHalfWidth);
TrackDetail TrackDetailAt(double pixelsPerMm);
// Piers keep their rounded ends while the rounding's radius (11 mm) is at least two pixels;
// smaller, a box over the same footprint looks the same. A bridge's struts (4 mm and less) are
// then under a pixel: the structure's far outline shows as much.
inline constexpr double kSmallPartsPixelsPerMm = 2.0 / 11.0;

// How a visible piece is drawn: its track's detail, and whether its piers and a bridge's
// structure are small enough for their far forms.
struct TrackSight {
    TrackDetail detail;
    bool smallParts;
};

// The track instances of one frame seen through a perspective camera.
class TrackView {
public:
    // `modelview` is column-major, as OpenGL keeps it; fovYDeg is the vertical field of view of a
    // viewport `width` by `height` pixels.
    TrackView(const float modelview[16], int width, int height, double fovYDeg);
    // Nothing when the piece lies wholly outside the view, else the detail its nearest possible
    // point calls for.
    std::optional<TrackDetail> Of(const TrackInstance& t) const;
    std::optional<TrackSight> SightOf(const TrackInstance& t) const;
    // Whether any of the ball of radius r about (x, y, z) is in view.
    bool Sees(double x, double y, double z, double r) const { return DepthOf(x, y, z, r).has_value(); }
    // On-screen size of one millimetre at `depth` mm in front of the eye.
    double PixelsPerMmAt(double depth) const { return pixelsAtUnitDepth / depth; }

private:
    // The depth of the ball's centre in front of the eye; nothing when the ball is out of view.
    std::optional<double> DepthOf(double x, double y, double z, double r) const;

    float mv[16];
    double tanX;
    double tanY;
    double pixelsAtUnitDepth;
};
