// Clearance defaults by gauge.
#include "catalog/TrackClearance.h"

bool IsZGauge(TrackSystem system) {
    return system == TrackSystem::MarklinZ || system == TrackSystem::RokuhanZ;
}

bool IsNGauge(TrackSystem system) {
    return system == TrackSystem::MinitrixN || system == TrackSystem::KatoN;
}

double DefaultClearanceMm(TrackSystem system) {
    if (IsZGauge(system)) return kClearanceZMm;
    return IsNGauge(system) ? kClearanceNMm : kClearanceH0Mm;
}
