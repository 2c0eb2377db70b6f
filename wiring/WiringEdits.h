// Edits of the document's wiring plan; each is one undo step and reports whether it changed
// anything (nothing changed, no step).
#pragma once

#include <cstdint>

#include "model/LayoutDocument.h"
#include "wiring/WiringProposals.h"

// Adds what a proposal found: gaps at ends that have none, feeders and detectors not yet there.
bool AddToWiringPlan(LayoutDocument& doc, const WiringAdditions& additions);
