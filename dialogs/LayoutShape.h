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
// The shape's texts (English, shown through Tr) and defaults; the rectangle for an id out of
// range.
const ShapeInfo& ShapeInfoFor(int shape);

// The initial values of the shape's size fields in the display unit, rounded to integers: the
// document's last sizes when its lastShape is this shape, else the defaults.
std::array<int, 4> ShapeFieldValues(const LayoutDocument& doc, int shape, int units);

// The sizes in millimetres that the shape's fields stand for. A field that still shows the value
// ShapeFieldValues gave it stands for the size it was filled from, so that a field left alone
// never writes back its rounded value (2400 mm shows as 94 in, which is 2387.6 mm).
std::array<double, 4> ShapeFieldsMm(const LayoutDocument& doc, int shape,
                                    const std::array<int, 4>& fields, int units);

// The outline of a parametric shape (0..3) from its sizes in millimetres; empty for other shapes
// and when a cutout does not fit: an L or U cutout as wide or as deep as the board, a T stem
// as wide as its bar or wider.
std::vector<PointMm> ShapeOutlineMm(int shape, const std::array<double, 4>& sizesMm);
// The same from field values in the display unit.
std::vector<PointMm> ShapeOutline(int shape, const std::array<int, 4>& fields, int units);

// The custom vertex text: one "x,y" line per vertex in the display unit, or the corners of a
// 2400 by 1200 mm rectangle when there are no vertices.
std::string FormatCustomOutline(const std::vector<PointMm>& vertices, int units);
// Reads "x,y" lines (blanks ignored) in the display unit. Lines without a comma, lines whose
// parts are not numbers and values beyond the size fields' range are skipped; the numbers
// (from 1) of skipped lines that were not blank go to skippedLines when given.
std::vector<PointMm> ParseCustomOutline(const std::string& text, int units,
                                        std::vector<int>* skippedLines = nullptr);
// The note after Apply about skipped custom lines: "Skipped line 4, which is not ..." or
// "Skipped lines 2, 5 and 7, which are not ..."; empty when none were skipped.
std::string SkippedLinesNote(const std::vector<int>& skippedLines);

// Stores the applied shape as the document's last shape settings: the id and, for each of the
// `fieldCount` fields, its size in millimetres (sizes of missing fields keep their values).
void StoreLastShape(LayoutDocument& doc, int shape, const std::array<int, 4>& fields,
                    int fieldCount, int units);
// The same from sizes in millimetres.
void StoreLastShapeMm(LayoutDocument& doc, int shape, const std::array<double, 4>& sizesMm,
                      int fieldCount);
