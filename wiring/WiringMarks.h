// What the wiring view draws, in layout millimetres: every piece's routes in the colour of the
// district feeding its section (outlined when it is a detection section), the gaps as short
// bars across the rails they cut at the joint, and the feeders as numbered symbols.
#pragma once

#include <cstdint>
#include <vector>

#include "model/LayoutDocument.h"
#include "network/TrackGraph.h"
#include "wiring/WiringAnalysis.h"

// Track of a section no district feeds.
inline constexpr uint32_t kUnfedColour = 0x9A9A9A;

struct WiringMarks {
    struct Line {
        std::vector<PointMm> points;
        uint32_t colour = kUnfedColour;  // red * 65536 + green * 256 + blue
        bool detection = false;
        uint32_t piece = kNoId;
        int section = -1;  // index into the analysis's sections; -1 in none
    };
    struct Bar {
        PointMm a, b;
    };
    struct Symbol {
        PointMm at;
        int number = 0;  // the feeder's place in the plan, from 1
        uint32_t colour = kUnfedColour;
    };
    std::vector<Line> lines;
    std::vector<Bar> gaps;
    std::vector<Symbol> feeders;
};

WiringMarks BuildWiringMarks(const LayoutDocument& doc, const TrackGraph& graph,
                             const WiringAnalysis& analysis);

// The rails' distance apart of a track system (16.5 mm in H0, 6.5 mm in Z).
double RailGaugeMm(TrackSystem system);

// The piece end nearest to (x, y) within maxMm, joined or open; piece kNoId when there is none.
struct PieceEnd {
    uint32_t piece = kNoId;
    int connector = -1;
};
PieceEnd PieceEndNear(const LayoutDocument& doc, double x, double y, double maxMm);
