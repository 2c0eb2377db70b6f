// Drawing the track diagram from the track network.
#pragma once

#include <cstdint>
#include <vector>

#include "control/JmriPanel.h"
#include "control/TrackDiagram.h"

class LayoutDocument;
class TrackGraph;

struct DiagramOptions {
    // Detection sections: a run of plain track holding a piece of one gets a contact cell.
    std::vector<DetectionSection> sections;
    // Turnouts closer than this along an axis (mm at H0, scaled for other track) share a column
    // or row of the diagram.
    double sameLineMm = 50;
};

// The diagram of the layout, drawn as an orthogonal grid drawing:
// - Every turnout, crossing, double slip and bumper is one cell, turned as the plan has it
//   (each connector's direction rounded to the nearest side); plain track between them is
//   contracted to one edge per run, an open end to an empty cell.
// - Placement by plan order: the nodes' plan positions are ranked along x and along y, values
//   closer than options.sameLineMm sharing a rank, and put on a coarse grid (three columns and
//   two rows per rank); a node whose cell or legs are taken moves to the nearest free cell.
// - Each run is routed on the grid from leg to leg by a maze router (A* over cell and direction,
//   corners penalised), shortest first. A run may pass straight across a straight of another
//   run only when the two can lie at different heights (other levels, a helix, one higher than
//   the other or one climbing by a clearance), giving an underpass; a run that finds no path
//   becomes a pair of links.
// - A ring of plain track without a turnout gets two waypoints, its pieces furthest left and
//   right, placed like nodes (each a straight cell), and is routed between them.
// - Plain pieces are spread over their run's cells in order; empty columns and rows, and those
//   holding only straights across them that stand for no piece, are removed.
// The same layout always gives the same diagram.
TrackDiagram BuildTrackDiagram(const LayoutDocument& doc, const TrackGraph& graph,
                               const DiagramOptions& options);

// The side of its cell each connector of a turnout, crossing, double slip or bumper leaves by, as
// BuildTrackDiagram turns the piece; empty for other pieces.
std::vector<DiagramSide> DiagramSidesOf(const TrackGraph& graph, uint32_t piece);

// The placed pieces no cell stands for (their article is unknown, or a turntable), by id.
std::vector<uint32_t> PiecesLeftOut(const LayoutDocument& doc, const TrackDiagram& diagram);
