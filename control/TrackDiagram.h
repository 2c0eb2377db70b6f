// The track diagram: the layout as a control station's track board draws it, a grid of square
// cells each holding a straight, a corner, a turnout, a crossing or a bumper.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A side of a cell; north is up on the screen. None stands for a bumper's buffer end and for the
// far end of a link.
enum class DiagramSide : int32_t { North = 0, East, South, West, None };

enum class DiagramSymbol : int32_t {
    Straight = 0,
    Curve,        // a corner joining two neighbouring sides
    TurnoutLeft,  // the diverging leg leaves to the left of travel from the root
    TurnoutRight,
    ThreeWay,
    Crossing,
    DoubleSlip,
    Bumper,
    Underpass,  // two tracks crossing at different heights
    Contact,    // a straight carrying a detection section's contact
    Link,       // the track goes on at the other link of the same text
};

struct DiagramCell {
    int x = 0;
    int y = 0;  // grows downwards
    DiagramSymbol symbol = DiagramSymbol::Straight;
    // Every route through the cell as the two sides it joins; a turnout's first pair is root to
    // straight leg.
    std::vector<std::pair<DiagramSide, DiagramSide>> tracks;
    // The placed pieces the cell stands for.
    std::vector<uint32_t> pieces;
    int address = -1;  // the accessory's first address, or the contact number
    std::string text;  // a link's name
    bool operator==(const DiagramCell&) const = default;
};

struct TrackDiagram {
    int width = 0;
    int height = 0;
    std::vector<DiagramCell> cells;  // row by row, left to right
    // The cell at (x, y), or null when it is empty.
    const DiagramCell* At(int x, int y) const;
    bool operator==(const TrackDiagram&) const = default;
};

// The side across the cell, the side a quarter turn clockwise, and the neighbour beyond a side.
DiagramSide OppositeSide(DiagramSide side);
DiagramSide ClockwiseSide(DiagramSide side);
void StepToSide(DiagramSide side, int& x, int& y);
// Whether a cell has track ending at the side.
bool HasSide(const DiagramCell& cell, DiagramSide side);
