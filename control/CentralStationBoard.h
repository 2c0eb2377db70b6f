// The track diagram as the control station's track board ("gleisbild"), in the text files the
// station's second and third generation read and write.
#pragma once

#include <string>

#include "control/ControlPlan.h"
#include "control/TrackDiagram.h"

// The board file's element type of a cell ("gerade", "linksweiche", "s88kontakt", ...).
std::string CentralStationType(const DiagramCell& cell, const ControlPlan& plan);
// The element's rotation, 0 to 3: each step turns the type's upright tile a quarter turn
// anticlockwise on the screen (a straight 0 runs across, a corner 0 joins south and east, a left
// turnout 0 has its root south and its leg west, a bumper 0 takes the track from the north).
int CentralStationRotation(const DiagramCell& cell);

// Writes `folder`/gleisbild.cs2, the index naming one page, and `folder`/gleisbilder/<name>.cs2
// with one element per cell: its cell as id (page in bits 16 to 23, row in 8 to 15, column in 0
// to 7), type, rotation, accessory ("artikel": twice the keyboard address for turnouts, the
// contact number for contacts, -1 for plain track) and a link's or contact's text. Returns an
// error text, empty on success; nothing is written for an empty diagram or one wider or higher
// than 256 cells.
std::string WriteCentralStationBoard(const TrackDiagram& diagram, const ControlPlan& plan,
                                     const std::string& folder, const std::string& name);
