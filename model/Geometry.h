// The geometry rules every part of the program shares: angles in degrees, the extent of a layout
// or of its selection, and which levels are shown.
#pragma once

#include <cmath>
#include <cstdint>

class LayoutDocument;
struct PlacedPiece;

inline constexpr double kPi = 3.14159265358979323846;
// Radians per degree.
inline constexpr double kDegToRad = kPi / 180.0;

constexpr double DegToRad(double deg) { return deg * kPi / 180.0; }
constexpr double RadToDeg(double rad) { return rad * 180.0 / kPi; }
inline double SinDeg(double deg) { return std::sin(DegToRad(deg)); }
inline double CosDeg(double deg) { return std::cos(DegToRad(deg)); }

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

// What LayoutExtent takes in.
struct ExtentOptions {
    static constexpr int64_t kEveryLevel = INT64_MIN;
    int64_t pieceLevel = kEveryLevel;  // only the pieces on this level
    bool selectedOnly = false;         // only selected pieces and scenery items, no outlines
    bool outlines = true;              // every point of every level's outline
};

// Adds a catalog piece as its position and the point at its catalog length along its heading;
// a piece whose article the catalog lacks adds nothing.
void AddPieceExtent(LayoutBounds& bounds, const PlacedPiece& piece);
// Catalog pieces as above, scenery items by their position, and the level outlines. Helices are
// covered by their end pieces; labels and measurements do not count.
LayoutBounds LayoutExtent(const LayoutDocument& doc, const ExtentOptions& options = {});
// The selected catalog pieces and scenery items.
LayoutBounds SelectionExtent(const LayoutDocument& doc);

// Whether the objects on a level are shown. A level id that names no level counts as visible:
// its objects would otherwise vanish.
bool IsLevelVisible(const LayoutDocument& doc, int32_t levelId);
