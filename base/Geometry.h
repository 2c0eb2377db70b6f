// The geometry every part of the program shares, from the catalogs up: pi, angles in degrees and
// bounding boxes. What depends on the document (a layout's extent, level visibility) is in
// model/LayoutExtent.h.
#pragma once

#include <cmath>

inline constexpr double kPi = 3.14159265358979323846;
// Radians per degree.
inline constexpr double kDegToRad = kPi / 180.0;

constexpr double DegToRad(double deg) { return deg * kPi / 180.0; }
constexpr double RadToDeg(double rad) { return rad * 180.0 / kPi; }
inline double SinDeg(double deg) { return std::sin(DegToRad(deg)); }
inline double CosDeg(double deg) { return std::cos(DegToRad(deg)); }

// A grade as the user reads it in per cent: tan(|grade|) x 100 for a grade in degrees. Heights
// always climb with the sine (rise = sin(grade) x run length), so a rise per length of track
// turns into the grade it stands for first.
inline double GradePercentShown(double gradeDeg) {
    return std::tan(DegToRad(std::fabs(gradeDeg))) * 100;
}
// The grade in degrees of `risePerLength` (rise over run length, as a fraction), signed.
inline double GradeDegOfSlope(double risePerLength) {
    return RadToDeg(std::asin(std::fmax(-1.0, std::fmin(1.0, risePerLength))));
}

// Brings an angle in degrees into [0, 360) by adding or subtracting 360; a value that is not
// finite gives 0.
double NormalizeDeg(double deg);
// The difference of two headings folded into [0, 180]; not a number when either is not finite.
double HeadingDiffDeg(double a, double b);

// A bounding box in millimetres; empty until a point is added.
struct LayoutBounds {
    double minX = 1e9;
    double minY = 1e9;
    double maxX = -1e9;
    double maxY = -1e9;
    bool any = false;
    void Add(double x, double y);
};
