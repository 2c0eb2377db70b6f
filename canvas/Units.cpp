// Display units of lengths and coordinates.
#include "canvas/Units.h"

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
    return buf;
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
    return buf;
}
