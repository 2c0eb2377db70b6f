// Clearance defaults by gauge.
#include "catalog/TrackClearance.h"

bool IsZGauge(TrackSystem system) {
    return system == TrackSystem::MarklinZ || system == TrackSystem::RokuhanZ;
}

double DefaultClearanceMm(TrackSystem system) {
    return IsZGauge(system) ? kClearanceZMm : kClearanceH0Mm;
}
