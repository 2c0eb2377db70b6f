// The wire list of a wiring plan: one line per feeder with its section, district, number, piece
// and position, for the one who lays the wires under the board.
#pragma once

#include <string>

#include "model/LayoutDocument.h"
#include "network/TrackGraph.h"
#include "wiring/WiringAnalysis.h"

// "Section,District,Feeder,Piece,Position" and a line per feeder in the plan's order. Sections
// are numbered from 1 in the analysis's order, feeders by their place in the plan; the position
// is the middle of the piece in whole millimetres.
std::string WireListCsv(const LayoutDocument& doc, const TrackGraph& graph,
                        const WiringAnalysis& analysis);

// The number a section is shown with: its place in analysis.sections, from 1; 0 when the piece
// is in none.
int SectionNumberOf(const TrackGraph& graph, const WiringAnalysis& analysis, uint32_t piece);

// The tables printed with the plan, in a fixed-width font: the districts with their sections,
// the sections (length in the layout's units, pieces, feeders, detector) and the feeders.
std::string WiringTablesText(const LayoutDocument& doc, const TrackGraph& graph,
                             const WiringAnalysis& analysis);
