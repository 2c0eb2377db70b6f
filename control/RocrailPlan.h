// The track diagram as the control program's plan file ("plan.xml").
#pragma once

#include <string>

#include "control/ControlPlan.h"
#include "control/TrackDiagram.h"

// Writes the plan into `xml`: one level; plain cells as tracks ("tk": straight, curve, buffer),
// turnouts, three-way turnouts, double slips, crossings and underpasses as switches ("sw") with
// their decoder addresses (module address and port, protocol M or N as the plan's protocol),
// contacts as feedback sensors ("fb") and, for each stretch of plain track between turnouts, a
// block ("bk") on its first straight cell with the stretch's sensors as its events. False (and
// `xml` empty) for an empty diagram.
bool WriteRocrailPlan(const TrackDiagram& diagram, const ControlPlan& plan, std::string& xml);
