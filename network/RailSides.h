// How the connectors of a piece pair up into rails: the connectors its routes link share one
// pair of rails, each end on the start or the end side of travel through them.
#pragma once

#include <vector>

#include "network/TrackGraph.h"

struct RailSides {
    std::vector<int> group;  // per connector: its lowest linked connector
    std::vector<int> side;   // per connector: 0 start, 1 end of travel through its group
};

// The rails of a piece with `connectors` connectors; false when its routes do not split into two
// sides (as a turntable turns its bridge round). Routes naming other connectors are ignored.
bool SplitRailSides(const GraphPiece& piece, int connectors, RailSides* out);
