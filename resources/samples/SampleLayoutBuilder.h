// The sample layouts shipped beside the program: built piece by piece with the program's own
// snapping (every piece aligned onto the connector it joins), then written as layout files.
#pragma once

#include <string>
#include <vector>

#include "model/LayoutDocument.h"

struct SampleLayout {
    std::string name;  // layout name and file name (without ".xml")
    LayoutDocument doc;
};

// "C-Track Oval Station", "K-Track Two Decks", "Z-Track Shelf", "C-Track Figure Eight" (a
// climb over its own track), "TRIX C-Track Reversing Loop" (with its wiring plan), "Kato N Oval
// Station" (a passing loop and a siding) and "Minitrix N Figure Eight" (over itself on a grade),
// in that order. Every open
// end of every piece is joined (dead ends carry bumpers); nothing is selected; no undo history.
std::vector<SampleLayout> BuildSampleLayouts();
