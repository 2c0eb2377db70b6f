// Display units of lengths and coordinates.
#include "trackgeometry/Units.h"

#include "base/NumberStyle.h"

#include <cmath>
#include <cstdio>

double UnitFactor(int units) {
    switch (units) {
        case kUnitsCm:
            return 10.0;
        case kUnitsInch:
            return 25.4;
        default:
            return 1.0;
    }
}

std::string FormatLength(double mm, int units) {
    char buf[64];
    switch (units) {
        case kUnitsCm:
            std::snprintf(buf, sizeof buf, "%.1f cm", mm / 10.0);
            break;
        case kUnitsInch:
            std::snprintf(buf, sizeof buf, "%.2f\"", mm / 25.4);
            break;
        default:
            std::snprintf(buf, sizeof buf, "%.0f mm", mm);
            break;
    }
    return LocalDecimals(buf);
}

std::string FormatCoordinates(double xMm, double yMm, int units) {
    char buf[96];
    switch (units) {
        case kUnitsCm:
            std::snprintf(buf, sizeof buf, "%.1f cm,  %.1f cm", xMm / 10.0, yMm / 10.0);
            break;
        case kUnitsInch:
            std::snprintf(buf, sizeof buf, "%.2f in,  %.2f in", xMm / 25.4, yMm / 25.4);
            break;
        default:
            std::snprintf(buf, sizeof buf, "%.0f mm,  %.0f mm", xMm, yMm);
            break;
    }
    std::string text = LocalDecimals(buf);
    // Under a decimal comma the two numbers are parted by a semicolon, as "1,2 cm; 3,4 cm".
    if (CurrentNumberStyle().decimalComma)
        if (const size_t at = text.find(",  "); at != std::string::npos) text[at] = ';';
    return text;
}

int LengthDigits(int units) {
    switch (units) {
        case kUnitsCm:
            return 2;
        case kUnitsInch:
            return 3;
        default:
            return 1;
    }
}

double ShownLength(double mm, int units) {
    const double scale = std::pow(10.0, LengthDigits(units));
    return std::round(mm / UnitFactor(units) * scale) / scale;
}

double EnteredLengthMm(double storedMm, double fieldValue, int units) {
    // Half a step of the last shown digit: a field that gives back the shown value, however it
    // was rounded on the way through the control, is untouched.
    const double halfStep = 0.5 * std::pow(10.0, -LengthDigits(units));
    if (std::fabs(fieldValue - ShownLength(storedMm, units)) < halfStep * 0.5) return storedMm;
    return fieldValue * UnitFactor(units);
}

std::string UnitName(int units) {
    switch (units) {
        case kUnitsCm:
            return "cm";
        case kUnitsInch:
            return "in";
        default:
            return "mm";
    }
}
