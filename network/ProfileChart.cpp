// The height profile's drawing geometry.
#include "network/ProfileChart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/Format.h"
#include "base/Geometry.h"
#include "base/Translate.h"
#include "model/GradeRuns.h"
#include "trackgeometry/Units.h"

namespace {

// Room around the plot for the axes' labels and titles, pixels.
constexpr double kLeftMargin = 72;
constexpr double kRightMargin = 24;
constexpr double kTopMargin = 28;
constexpr double kBottomMargin = 52;
// The least height span shown, so a flat route is not blown up into noise.
constexpr double kMinHeightSpanMm = 40;

int LengthDecimals(int units) { return units == kUnitsInch ? 2 : 1; }

// Ticks about `wanted` apart over [lo, hi] mm, at round values of the display unit.
std::vector<double> NiceTicks(double lo, double hi, int units, int wanted, int* decimals) {
    const double f = UnitFactor(units);
    const double span = std::max((hi - lo) / f, 1e-9);
    const double raw = span / std::max(wanted, 1);
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    double step = mag;
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        step = m * mag;
        if (step >= raw) break;
    }
    *decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
    std::vector<double> ticks;
    for (double v = std::ceil(lo / f / step - 1e-9) * step; v <= hi / f + 1e-9 * step; v += step)
        ticks.push_back(v * f);
    return ticks;
}

std::string Number(double value, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    // "-0.0" reads as a fault in a chart
    if (std::string(buf).find_first_not_of("-0.") == std::string::npos) {
        std::snprintf(buf, sizeof buf, "%.*f", decimals, 0.0);
    }
    return buf;
}

std::string Percent(double value) { return Number(value, 1) + " %"; }

// What a section's rise per length reads as: the grade in per cent, signed, as the properties
// panel and the layout check show the same piece's grade.
double ShownPercent(double risePercent) {
    const double deg = GradeDegOfSlope(risePercent / 100);
    return std::copysign(GradePercentShown(deg), deg);
}

// The height of the route at a distance: the section's line, so a step at a joint shows.
double RouteHeightAt(const HeightProfile& p, double d, size_t* section) {
    size_t i = 0;
    while (i + 1 < p.sections.size() && d > p.points[i + 1].distanceMm) ++i;
    if (section) *section = i;
    if (p.sections.empty()) return p.points.empty() ? 0 : p.points.front().heightMm;
    return p.points[i].heightMm + p.sections[i].gradePercent / 100 * (d - p.points[i].distanceMm);
}

}  // namespace

GradeBand BandOfGrade(double gradePercent, double recommendedPercent) {
    const double steep = std::fabs(gradePercent);
    if (steep > GradePercentShown(kMaxGradeDeg) + 1e-9) return GradeBand::AboveMaximum;
    if (steep > recommendedPercent + 1e-9) return GradeBand::AboveRecommended;
    return GradeBand::Within;
}

Rgb BandColour(GradeBand band) {
    switch (band) {
        case GradeBand::AboveMaximum:
            return kGradeWarningColour;
        case GradeBand::AboveRecommended:
            return {230, 140, 0};
        case GradeBand::Within:
            break;
    }
    return {40, 150, 60};
}

std::string ProfileLength(double mm, int units) {
    return Number(mm / UnitFactor(units), LengthDecimals(units));
}

double ProfileChart::XOf(double d) const {
    return left + (d - minDistanceMm) / (maxDistanceMm - minDistanceMm) * (right - left);
}
double ProfileChart::YOf(double h) const {
    return bottom - (h - minHeightMm) / (maxHeightMm - minHeightMm) * (bottom - top);
}
double ProfileChart::DistanceAt(double x) const {
    return minDistanceMm + (x - left) / (right - left) * (maxDistanceMm - minDistanceMm);
}
double ProfileChart::HeightAt(double y) const {
    return minHeightMm + (bottom - y) / (bottom - top) * (maxHeightMm - minHeightMm);
}

namespace {

// The chart's height range: everything drawn must fit, the route and the tracks over and under
// it, with a little room above and below.
void FitHeights(const HeightProfile& profile, ProfileChart& c) {
    double lo = profile.points.front().heightMm, hi = lo;
    for (const ProfilePoint& p : profile.points) {
        lo = std::min(lo, p.heightMm);
        hi = std::max(hi, p.heightMm);
    }
    for (const ProfileCrossing& x : profile.crossings) {
        const double route = RouteHeightAt(profile, x.distanceMm, nullptr);
        const double other = route + (x.otherAbove ? x.clearanceMm : -x.clearanceMm);
        lo = std::min(lo, other);
        hi = std::max(hi, other);
    }
    if (hi - lo < kMinHeightSpanMm) {
        const double mid = (hi + lo) / 2;
        lo = mid - kMinHeightSpanMm / 2;
        hi = mid + kMinHeightSpanMm / 2;
    }
    const double pad = (hi - lo) * 0.12;
    c.minHeightMm = lo - pad;
    c.maxHeightMm = hi + pad;
}

// The ticks of both axes at round values of the display unit, and the levels within the range.
void AddAxes(const LayoutDocument& doc, ProfileChart& c) {
    const int units = doc.units;
    int decimals = 0;
    for (double d : NiceTicks(c.minDistanceMm, c.maxDistanceMm, units,
                              std::max(2, static_cast<int>((c.right - c.left) / 110)), &decimals))
        c.distanceTicks.push_back({c.XOf(d), Number(d / UnitFactor(units), decimals)});
    for (double h : NiceTicks(c.minHeightMm, c.maxHeightMm, units,
                              std::max(2, static_cast<int>((c.bottom - c.top) / 60)), &decimals))
        c.heightTicks.push_back({c.YOf(h), Number(h / UnitFactor(units), decimals)});

    for (const Level& level : doc.levels) {
        if (level.height < c.minHeightMm || level.height > c.maxHeightMm) continue;
        c.levels.push_back({c.YOf(level.height), level.name});
    }
}

// The route's sections, coloured and labelled by their grade, and a dot at every joint.
void AddTrack(const HeightProfile& profile, int units, double recommendedPercent, ProfileChart& c) {
    for (size_t i = 0; i < profile.sections.size() && i + 1 < profile.points.size(); ++i) {
        const ProfilePoint& a = profile.points[i];
        const double d1 = profile.points[i + 1].distanceMm;
        const double h1 = a.heightMm + profile.sections[i].gradePercent / 100 * (d1 - a.distanceMm);
        const double shown = ShownPercent(profile.sections[i].gradePercent);
        const GradeBand band = BandOfGrade(shown, recommendedPercent);
        ChartSegment s{c.XOf(a.distanceMm), c.YOf(a.heightMm), c.XOf(d1), c.YOf(h1), band};
        c.track.push_back(s);
        c.grades.push_back({(s.x0 + s.x1) / 2, (s.y0 + s.y1) / 2,
                            Percent(shown), band});
    }
    for (const ProfilePoint& p : profile.points)
        c.dots.push_back({c.XOf(p.distanceMm), c.YOf(p.heightMm), ProfileLength(p.heightMm, units)});
}

// The tracks crossing over or under the route, with their clearance and whether it is too low.
void AddCrossings(const LayoutDocument& doc, const HeightProfile& profile, ProfileChart& c) {
    const int units = doc.units;
    for (const ProfileCrossing& x : profile.crossings) {
        size_t section = 0;
        const double route = RouteHeightAt(profile, x.distanceMm, &section);
        const double other = route + (x.otherAbove ? x.clearanceMm : -x.clearanceMm);
        // The lower track decides the clearance it needs.
        const uint32_t lower = x.otherAbove ? profile.sections[section].piece : x.otherPiece;
        const bool tooLow = x.clearanceMm < NeededClearanceMm(doc, lower) - 1e-9;
        c.crossings.push_back({c.XOf(x.distanceMm), c.YOf(route), c.YOf(other),
                               ProfileLength(x.clearanceMm, units) + " " + UnitName(units), tooLow});
    }
}

}  // namespace

ProfileChart LayoutProfileChart(const LayoutDocument& doc, const HeightProfile& profile, int width,
                                int height, double recommendedPercent) {
    ProfileChart c;
    c.width = width;
    c.height = height;
    c.left = kLeftMargin;
    c.top = kTopMargin;
    c.right = std::max(c.left + 1, width - kRightMargin);
    c.bottom = std::max(c.top + 1, height - kBottomMargin);
    const int units = doc.units;
    c.distanceTitle = Format(Tr("Distance (%s)").c_str(), UnitName(units).c_str());
    c.heightTitle = Format(Tr("Height (%s)").c_str(), UnitName(units).c_str());
    if (profile.points.empty()) return c;
    FitHeights(profile, c);
    c.minDistanceMm = 0;
    c.maxDistanceMm = std::max(profile.points.back().distanceMm, 1.0);
    AddAxes(doc, c);
    AddTrack(profile, units, recommendedPercent, c);
    AddCrossings(doc, profile, c);
    return c;
}

void MoveDot(ProfileChart& chart, size_t index, double y) {
    if (index >= chart.dots.size()) return;
    chart.dots[index].y = y;
    if (index > 0 && index - 1 < chart.track.size()) chart.track[index - 1].y1 = y;
    if (index < chart.track.size()) chart.track[index].y0 = y;
}

int DotNear(const ProfileChart& chart, double x, double y, double radiusPx) {
    int best = -1;
    double bestDistance = radiusPx;
    for (size_t i = 0; i < chart.dots.size(); ++i) {
        const double d = std::hypot(chart.dots[i].x - x, chart.dots[i].y - y);
        if (d <= bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

std::string ProfileReadout(const LayoutDocument& doc, const HeightProfile& profile,
                           double distanceMm) {
    if (profile.points.empty() || distanceMm < 0 || distanceMm > profile.points.back().distanceMm)
        return "";
    size_t section = 0;
    const double h = RouteHeightAt(profile, distanceMm, &section);
    const double grade =
        profile.sections.empty() ? 0 : ShownPercent(profile.sections[section].gradePercent);
    const std::string unit = UnitName(doc.units);
    return Format(Tr("Distance: %s %s   Height: %s %s   Grade: %s").c_str(),
                  ProfileLength(distanceMm, doc.units).c_str(), unit.c_str(),
                  ProfileLength(h, doc.units).c_str(), unit.c_str(), Percent(grade).c_str());
}
