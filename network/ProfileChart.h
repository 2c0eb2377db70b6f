// The drawing of a height profile, worked out without a window: where the axes, the track, the
// joints, the grades, the levels and the crossings go in a picture of a given size, in which
// colours, and what the pointer reads.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "model/LayoutDocument.h"
#include "network/HeightProfile.h"

// How steep a stretch is: within the recommended grade, above it, or above the maximum.
enum class GradeBand { Within, AboveRecommended, AboveMaximum };
GradeBand BandOfGrade(double gradePercent, double recommendedPercent);
Rgb BandColour(GradeBand band);

inline constexpr Rgb kProfileBackground{255, 255, 255};
inline constexpr Rgb kProfileAxis{60, 60, 60};
inline constexpr Rgb kProfileGridLine{225, 225, 225};
inline constexpr Rgb kProfileLevel{120, 120, 170};
inline constexpr Rgb kProfileDot{30, 30, 30};
inline constexpr Rgb kProfileBar{70, 110, 190};
inline constexpr Rgb kProfileBarTooLow{210, 30, 30};

struct ChartTick {
    double px = 0;  // x for the distance axis, y for the height axis
    std::string label;
};
struct ChartSegment {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    GradeBand band = GradeBand::Within;
};
struct ChartDot {
    double x = 0, y = 0;
    std::string label;  // the height
};
struct ChartGradeLabel {
    double x = 0, y = 0;  // the middle of the piece's line
    std::string text;     // "2.5 %"
    GradeBand band = GradeBand::Within;
};
struct ChartLevelLine {
    double y = 0;
    std::string name;
};
struct ChartCrossingBar {
    double x = 0;
    double yRoute = 0;  // where the route is
    double yOther = 0;  // where the other track is
    std::string label;  // the clearance
    bool tooLow = false;
};

struct ProfileChart {
    int width = 1, height = 1;  // the whole picture, pixels
    // The plot area in pixels, and the distances and heights it spans.
    double left = 0, top = 0, right = 0, bottom = 0;
    double minDistanceMm = 0, maxDistanceMm = 1, minHeightMm = 0, maxHeightMm = 1;
    std::string distanceTitle;  // "Distance (mm)"
    std::string heightTitle;    // "Height (mm)"
    std::vector<ChartTick> distanceTicks;
    std::vector<ChartTick> heightTicks;
    std::vector<ChartLevelLine> levels;
    std::vector<ChartSegment> track;  // one per piece
    std::vector<ChartGradeLabel> grades;
    std::vector<ChartDot> dots;  // one per profile point
    std::vector<ChartCrossingBar> crossings;

    double XOf(double distanceMm) const;
    double YOf(double heightMm) const;
    double DistanceAt(double x) const;
    double HeightAt(double y) const;
};

// Lays out the profile in a picture of width × height pixels; lengths in the document's units,
// grades coloured against `recommendedPercent` and the maximum grade, crossings red below the
// clearance the layout check asks for.
ProfileChart LayoutProfileChart(const LayoutDocument& doc, const HeightProfile& profile, int width,
                                int height, double recommendedPercent = 3.0);

// The chart while dot `index` is dragged to height y (pixels): the dot and the ends of the lines
// that meet there follow it.
void MoveDot(ProfileChart& chart, size_t index, double y);

// The dot within radiusPx of (x, y) nearest to it, or -1.
int DotNear(const ProfileChart& chart, double x, double y, double radiusPx);

// What the pointer reads at a distance along the route: "Distance: 1234 mm   Height: 45.2 mm
// Grade: 2.6 %"; empty outside the route.
std::string ProfileReadout(const LayoutDocument& doc, const HeightProfile& profile,
                           double distanceMm);

// A length for the profile's labels in the document's units, without the unit: "45.2".
std::string ProfileLength(double mm, int units);
