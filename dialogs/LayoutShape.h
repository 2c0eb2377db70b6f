// Baseboard outlines built from the layout shape dialog's shapes and sizes, and its custom
// vertex list.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/LayoutDocument.h"

// Shape ids: the position in the dialog's choice, stored as the document's lastShape.
enum LayoutShapeId : int {
    kShapeRectangle = 0,
    kShapeL = 1,
    kShapeU = 2,
    kShapeT = 3,
    kShapeCustom = 4,
    kShapeClear = 5,
};
inline constexpr int kShapeCount = 6;
// Spin control range of every size field, in the display unit.
inline constexpr int kShapeFieldMin = 1;
inline constexpr int kShapeFieldMax = 99000;

// What the dialog shows for one shape.
struct ShapeInfo {
    const char* choice;       // text in the shape choice
    const char* explanation;  // text above the fields
    int fieldCount;           // 0, 2 or 4 size fields
    std::array<const char*, 4> labels;
    std::array<double, 4> defaultsMm;
};
// The shape's texts and defaults; the rectangle for an id out of range.
const ShapeInfo& ShapeInfoFor(int shape);

// The initial values of the shape's size fields in the display unit, rounded to integers: the
// document's last sizes when its lastShape is this shape, else the defaults.
std::array<int, 4> ShapeFieldValues(const LayoutDocument& doc, int shape, int units);

// The outline of a parametric shape (0..3) from its field values in the display unit, with the
// cutouts clamped so that the outline stays a simple polygon; empty for other shapes.
std::vector<PointMm> ShapeOutline(int shape, const std::array<int, 4>& fields, int units);

// The custom vertex text: one "x,y" line per vertex in the display unit, or the corners of a
// 2400 by 1200 mm rectangle when there are no vertices.
std::string FormatCustomOutline(const std::vector<PointMm>& vertices, int units);
// Reads "x,y" lines (blanks ignored) in the display unit. Lines without a comma, lines whose
// parts are not numbers and values beyond the size fields' range are skipped.
std::vector<PointMm> ParseCustomOutline(const std::string& text, int units);

// Stores the applied shape as the document's last shape settings: the id and, for each of the
// `fieldCount` fields, its size in millimetres (sizes of missing fields keep their values).
void StoreLastShape(LayoutDocument& doc, int shape, const std::array<int, 4>& fields,
                    int fieldCount, int units);
