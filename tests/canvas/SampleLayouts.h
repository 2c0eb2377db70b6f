// Layouts built in code for the drawing tests, the screenshot and the drawing benchmark.
#pragma once

#include <cstdint>
#include <string>

#include "model/LayoutDocument.h"

// Appends a piece joined at its connector 0 to connector `conn` of piece `target` (or free at the
// given pose when target is kNoId). Returns the new piece's id.
uint32_t AppendJoined(LayoutDocument& doc, const std::string& article, uint32_t target, int conn,
                      double x = 0, double y = 0, double heading = 0);

// A small layout with every kind of piece, a helix, a tunnel, scenery, a baseboard, two levels,
// a grade run, a label and a measurement.
LayoutDocument SampleShowcase();

// `count` pieces of mixed kinds in rows, with scenery, two levels, labels, measurements,
// helices and tunnels spread over them.
LayoutDocument SampleMixed(int count);

// `count` pieces, half R1 curves and half straights, joined into closed rings laid out in a
// square grid (the last ring may stay open).
LayoutDocument SampleJoinedTrack(int count);
