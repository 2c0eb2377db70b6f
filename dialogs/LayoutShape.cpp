// Baseboard outlines of the layout shape dialog.
#include "dialogs/LayoutShape.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "base/Format.h"
#include "base/Translate.h"
#include "trackgeometry/Units.h"

namespace {

const ShapeInfo kShapes[kShapeCount] = {
    {TR_NOOP("Rectangle"),
     TR_NOOP("Simple rectangular baseboard:"),
     2,
     {TR_NOOP("Width (left to right):"), TR_NOOP("Depth (top to bottom):"), nullptr, nullptr},
     {2400, 1200, 0, 0}},
    {TR_NOOP("L-Shape"),
     TR_NOOP("L-Shape: full rectangle minus bottom-right corner.\n"
             "W1/H1 = full size,  W2/H2 = cutout (bottom-right)."),
     4,
     {TR_NOOP("Full width  W1:"), TR_NOOP("Full depth  H1:"), TR_NOOP("Cutout width  W2:"),
      TR_NOOP("Cutout depth  H2:")},
     {2400, 2400, 1200, 1200}},
    {TR_NOOP("U-Shape"),
     TR_NOOP("U-Shape: rectangle with notch cut from bottom centre.\n"
             "W/H = outer size,  W2/H2 = notch (centred on bottom)."),
     4,
     {TR_NOOP("Outer width  W:"), TR_NOOP("Outer depth  H:"), TR_NOOP("Notch width  W2:"),
      TR_NOOP("Notch depth  H2:")},
     {3600, 2400, 1200, 1200}},
    {TR_NOOP("T-Shape"),
     TR_NOOP("T-Shape: wide top bar plus narrower stem below.\n"
             "W/H1 = top bar,  W2/H2 = stem (centred)."),
     4,
     {TR_NOOP("Top width  W:"), TR_NOOP("Top depth  H1:"), TR_NOOP("Stem width  W2:"),
      TR_NOOP("Stem depth  H2:")},
     {3600, 1200, 1200, 1200}},
    {TR_NOOP("Custom polygon (vertices)"),
     TR_NOOP("Enter polygon vertices as  x,y  pairs, one per line.\n"
             "Values are in the unit selected above.\n"
             "Example (mm):  0,0  /  2400,0  /  2400,1200  /  0,1200\n"
             "Lines that are not two numbers separated by a comma are skipped."),
     0,
     {nullptr, nullptr, nullptr, nullptr},
     {0, 0, 0, 0}},
    {TR_NOOP("Clear (no baseboard)"),
     TR_NOOP("Remove the baseboard outline from the canvas."),
     0,
     {nullptr, nullptr, nullptr, nullptr},
     {0, 0, 0, 0}},
};

// A whole text as a finite number within the size fields' range, else false.
bool ParseValue(std::string_view text, double& value) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) return false;
    return std::fabs(value) <= kShapeFieldMax;
}

}  // namespace

const ShapeInfo& ShapeInfoFor(int shape) {
    return kShapes[shape >= 0 && shape < kShapeCount ? shape : 0];
}

namespace {
// The sizes the shape's fields are filled from: the last applied ones or the defaults.
std::array<double, 4> InitialSizesMm(const LayoutDocument& doc, int shape) {
    const ShapeInfo& info = ShapeInfoFor(shape);
    if (doc.lastShape == shape)
        return {doc.shapeWidth, doc.shapeHeight, doc.shapeWidth2, doc.shapeHeight2};
    return info.defaultsMm;
}
}  // namespace

std::array<int, 4> ShapeFieldValues(const LayoutDocument& doc, int shape, int units) {
    const ShapeInfo& info = ShapeInfoFor(shape);
    const std::array<double, 4> sizes = InitialSizesMm(doc, shape);
    const double factor = UnitFactor(units);
    std::array<int, 4> values{};
    for (int i = 0; i < info.fieldCount; ++i) {
        const double shown = std::round(sizes[i] / factor);  // halves away from zero
        values[i] =
            static_cast<int>(std::clamp(shown, double(kShapeFieldMin), double(kShapeFieldMax)));
    }
    return values;
}

std::array<double, 4> ShapeFieldsMm(const LayoutDocument& doc, int shape,
                                    const std::array<int, 4>& fields, int units) {
    const std::array<int, 4> initial = ShapeFieldValues(doc, shape, units);
    const std::array<double, 4> sizes = InitialSizesMm(doc, shape);
    std::array<double, 4> mm{};
    for (int i = 0; i < 4; ++i)
        mm[i] = fields[i] == initial[i] && i < ShapeInfoFor(shape).fieldCount
                    ? sizes[i]
                    : fields[i] * UnitFactor(units);
    return mm;
}

std::vector<PointMm> ShapeOutline(int shape, const std::array<int, 4>& fields, int units) {
    const double f = UnitFactor(units);
    return ShapeOutlineMm(shape, {fields[0] * f, fields[1] * f, fields[2] * f, fields[3] * f});
}

std::vector<PointMm> ShapeOutlineMm(int shape, const std::array<double, 4>& sizesMm) {
    const double W = sizesMm[0], H = sizesMm[1], W2 = sizesMm[2], H2 = sizesMm[3];
    // A cutout must leave board on both sides of it (and a stem must be narrower than its bar):
    // otherwise there is no outline to build, and the caller refuses the sizes.
    switch (shape) {
        case kShapeRectangle:
            return {{0, 0}, {W, 0}, {W, H}, {0, H}};
        case kShapeL:
            if (W2 >= W || H2 >= H) return {};
            return {{0, 0}, {W, 0}, {W, H - H2}, {W - W2, H - H2}, {W - W2, H}, {0, H}};
        case kShapeU: {
            if (W2 >= W || H2 >= H) return {};
            const double a = (W - W2) / 2, b = (W + W2) / 2;
            return {{0, 0}, {W, 0}, {W, H}, {b, H}, {b, H - H2}, {a, H - H2}, {a, H}, {0, H}};
        }
        case kShapeT: {
            if (W2 >= W) return {};
            const double d = std::max(H2, 1.0);
            const double a = (W - W2) / 2, b = (W + W2) / 2;
            return {{0, 0}, {W, 0}, {W, H}, {b, H}, {b, H + d}, {a, H + d}, {a, H}, {0, H}};
        }
        default:
            return {};
    }
}

std::string FormatCustomOutline(const std::vector<PointMm>& vertices, int units) {
    const double f = UnitFactor(units);
    char buf[128];
    if (vertices.empty()) {
        const double w = 2400 / f, d = 1200 / f;
        std::snprintf(buf, sizeof buf, "0,0\n%.0f,0\n%.0f,%.0f\n0,%.0f\n", w, w, d, d);
        return buf;
    }
    std::string text;
    for (const PointMm& v : vertices) {
        // Inches need a third decimal to come within a tenth of a millimetre.
        const int digits = std::max(2, LengthDigits(units));
        std::snprintf(buf, sizeof buf, "%.*f,%.*f\n", digits, v.x / f, digits, v.y / f);
        text += buf;
    }
    return text;
}

std::vector<PointMm> ParseCustomOutline(const std::string& text, int units,
                                        std::vector<int>* skippedLines) {
    const double f = UnitFactor(units);
    std::vector<PointMm> points;
    size_t start = 0;
    int lineNumber = 0;
    while (start <= text.size()) {
        ++lineNumber;
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line;
        for (size_t i = start; i < end; ++i) {
            const char c = text[i];
            if (c != ' ' && c != '\t' && c != '\r') line += c;
        }
        start = end + 1;
        if (line.empty()) continue;
        const size_t comma = line.find(',');
        const std::string_view rest =
            std::string_view(line).substr(comma == std::string::npos ? line.size() : comma + 1);
        double x = 0, y = 0;
        if (comma == std::string::npos || !ParseValue(std::string_view(line).substr(0, comma), x) ||
            !ParseValue(rest.substr(0, rest.find(',')), y)) {
            if (skippedLines) skippedLines->push_back(lineNumber);
            continue;
        }
        points.push_back({x * f, y * f});
    }
    return points;
}

void StoreLastShape(LayoutDocument& doc, int shape, const std::array<int, 4>& fields,
                    int fieldCount, int units) {
    const double f = UnitFactor(units);
    StoreLastShapeMm(doc, shape, {fields[0] * f, fields[1] * f, fields[2] * f, fields[3] * f},
                     fieldCount);
}

void StoreLastShapeMm(LayoutDocument& doc, int shape, const std::array<double, 4>& sizesMm,
                      int fieldCount) {
    doc.lastShape = shape;
    double* sizes[4] = {&doc.shapeWidth, &doc.shapeHeight, &doc.shapeWidth2, &doc.shapeHeight2};
    for (int i = 0; i < fieldCount && i < 4; ++i) *sizes[i] = sizesMm[i];
}

std::string SkippedLinesNote(const std::vector<int>& skippedLines) {
    if (skippedLines.empty()) return {};
    std::string list = std::to_string(skippedLines[0]);
    for (size_t i = 1; i + 1 < skippedLines.size(); ++i)
        list += ", " + std::to_string(skippedLines[i]);
    if (skippedLines.size() == 1)
        return Format(Tr("Skipped line %s, which is not two numbers separated by a comma. The "
                         "outline was made from the other lines.")
                          .c_str(),
                      list.c_str());
    list = Format(Tr("%s and %d").c_str(), list.c_str(), skippedLines.back());
    return Format(Tr("Skipped lines %s, which are not two numbers separated by a comma. The "
                     "outline was made from the other lines.")
                      .c_str(),
                  list.c_str());
}
