// Baseboard outlines of the layout shape dialog.
#include "dialogs/LayoutShape.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "canvas/Units.h"

namespace {

const ShapeInfo kShapes[kShapeCount] = {
    {"Rectangle",
     "Simple rectangular baseboard:",
     2,
     {"Width (left to right):", "Depth (top to bottom):", nullptr, nullptr},
     {2400, 1200, 0, 0}},
    {"L-Shape",
     "L-Shape: full rectangle minus bottom-right corner.\n"
     "W1/H1 = full size,  W2/H2 = cutout (bottom-right).",
     4,
     {"Full width  W1:", "Full depth  H1:", "Cutout width  W2:", "Cutout depth  H2:"},
     {2400, 2400, 1200, 1200}},
    {"U-Shape",
     "U-Shape: rectangle with notch cut from bottom centre.\n"
     "W/H = outer size,  W2/H2 = notch (centred on bottom).",
     4,
     {"Outer width  W:", "Outer depth  H:", "Notch width  W2:", "Notch depth  H2:"},
     {3600, 2400, 1200, 1200}},
    {"T-Shape",
     "T-Shape: wide top bar plus narrower stem below.\n"
     "W/H1 = top bar,  W2/H2 = stem (centred).",
     4,
     {"Top width  W:", "Top depth  H1:", "Stem width  W2:", "Stem depth  H2:"},
     {3600, 1200, 1200, 1200}},
    {"Custom polygon (vertices)",
     "Enter polygon vertices as  x,y  pairs, one per line.\n"
     "Values are in the unit selected above.\n"
     "Example (mm):  0,0  /  2400,0  /  2400,1200  /  0,1200\n"
     "Lines that are not two numbers separated by a comma are skipped.",
     0,
     {nullptr, nullptr, nullptr, nullptr},
     {0, 0, 0, 0}},
    {"Clear (no baseboard)",
     "Remove the baseboard outline from the canvas.",
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

std::array<int, 4> ShapeFieldValues(const LayoutDocument& doc, int shape, int units) {
    const ShapeInfo& info = ShapeInfoFor(shape);
    const double stored[4] = {doc.shapeWidth, doc.shapeHeight, doc.shapeWidth2, doc.shapeHeight2};
    const double factor = UnitFactor(units);
    std::array<int, 4> values{};
    for (int i = 0; i < info.fieldCount; ++i) {
        const double mm = doc.lastShape == shape ? stored[i] : info.defaultsMm[i];
        const double shown = std::round(mm / factor);  // halves away from zero
        values[i] =
            static_cast<int>(std::clamp(shown, double(kShapeFieldMin), double(kShapeFieldMax)));
    }
    return values;
}

std::vector<PointMm> ShapeOutline(int shape, const std::array<int, 4>& fields, int units) {
    const double f = UnitFactor(units);
    const double W = fields[0] * f, H = fields[1] * f, W2 = fields[2] * f, H2 = fields[3] * f;
    switch (shape) {
        case kShapeRectangle:
            return {{0, 0}, {W, 0}, {W, H}, {0, H}};
        case kShapeL: {
            const double w = std::min(W2, W - 1), h = std::min(H2, H - 1);
            return {{0, 0}, {W, 0}, {W, H - h}, {W - w, H - h}, {W - w, H}, {0, H}};
        }
        case kShapeU: {
            const double w = std::min(W2, W - 2), h = std::min(H2, H - 1);
            const double a = (W - w) / 2, b = (W + w) / 2;
            return {{0, 0}, {W, 0}, {W, H}, {b, H}, {b, H - h}, {a, H - h}, {a, H}, {0, H}};
        }
        case kShapeT: {
            const double w = std::min(W2, W), d = std::max(H2, 1.0);
            const double a = (W - w) / 2, b = (W + w) / 2;
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
        std::snprintf(buf, sizeof buf, "%.2f,%.2f\n", v.x / f, v.y / f);
        text += buf;
    }
    return text;
}

std::vector<PointMm> ParseCustomOutline(const std::string& text, int units) {
    const double f = UnitFactor(units);
    std::vector<PointMm> points;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line;
        for (size_t i = start; i < end; ++i) {
            const char c = text[i];
            if (c != ' ' && c != '\t' && c != '\r') line += c;
        }
        start = end + 1;
        const size_t comma = line.find(',');
        if (line.empty() || comma == std::string::npos) continue;
        const std::string_view rest = std::string_view(line).substr(comma + 1);
        double x = 0, y = 0;
        if (!ParseValue(std::string_view(line).substr(0, comma), x) ||
            !ParseValue(rest.substr(0, rest.find(',')), y))
            continue;
        points.push_back({x * f, y * f});
    }
    return points;
}

void StoreLastShape(LayoutDocument& doc, int shape, const std::array<int, 4>& fields,
                    int fieldCount, int units) {
    const double f = UnitFactor(units);
    doc.lastShape = shape;
    double* sizes[4] = {&doc.shapeWidth, &doc.shapeHeight, &doc.shapeWidth2, &doc.shapeHeight2};
    for (int i = 0; i < fieldCount && i < 4; ++i) *sizes[i] = fields[i] * f;
}
