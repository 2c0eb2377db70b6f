// Heights and grades of placed pieces, and the grade runs that carry a climb from piece to piece.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/LayoutDocument.h"

struct PieceDef;

// A grade whose magnitude is at or below this counts as flat.
inline constexpr double kFlatGradeDeg = 0.001;
// The steepest grade the program accepts, in degrees.
inline constexpr double kMaxGradeDeg = 6.0;
// Grades steeper than the maximum are flagged in this red, with a warning.
inline constexpr Rgb kGradeWarningColour{200, 40, 40};

// Horizontal length a grade acts on: the length, or for a curve the x of its second connector.
double RunLength(const PieceDef& def);
// sin(grade) x run length; 0 when the article is not in the catalog.
double PieceRise(const PlacedPiece& piece);
// Height at connector 1: elevation + rise.
double PieceEndHeight(const PlacedPiece& piece);
// Height of the piece at connector `conn`: its elevation at connector 0, its end height elsewhere.
double ConnectorHeight(const PlacedPiece& piece, int conn);

// The run anchored at a piece, or null.
const GradeRun* FindGradeRunAt(const LayoutDocument& doc, uint32_t pieceId);

// Gives piece N (pieceId), just joined at its connector ownConn to connector targetConn of piece E
// (targetId), its height and grade from E, and moves a run anchored at E on to N.
void ContinueGrade(LayoutDocument& doc, uint32_t pieceId, int ownConn, uint32_t targetId,
                   int targetConn);

// Starts (or re-angles) a run at the piece; takes an undo snapshot. Returns the status text
// ("Elevation: UP 3.0 deg"), empty when the piece is missing and nothing changed.
std::string StartGrade(LayoutDocument& doc, uint32_t pieceId, double angleDeg);

// Flattens the piece and the flat pieces after it, and removes the run at the first anchoring
// piece at or after it; takes an undo snapshot. Returns the status text, empty when nothing
// happened.
std::string EndGrade(LayoutDocument& doc, uint32_t pieceId);

// Ends the run whose head is the given piece, keeping the head's own grade, so the next pieces
// attached there are flat (right-click on a run's head). Takes an undo snapshot. Returns the
// status text, empty when the piece heads no run (nothing changed).
std::string StopGradeAtHead(LayoutDocument& doc, uint32_t pieceId);

// Re-levels the piece on its predecessor and lifts the flat pieces after it to its end height;
// takes an undo snapshot. False when the piece is missing (nothing changed).
bool RecalculateForward(LayoutDocument& doc, uint32_t pieceId);

// Removes every run anchored at the piece and refreshes the current grade.
void RemoveGradeRunsAt(LayoutDocument& doc, uint32_t pieceId);

// A new layout: no runs, no current grade.
void ResetGradeRuns(LayoutDocument& doc);

// Status texts shown by the main frame.
std::string StartGradeStatusText(double angleDeg);
std::string EndGradeStatusText();
// The first status field after a repaint: the run list while runs exist; "Ready" in place of a
// stale run list; otherwise the current text unchanged. `afterOpen` forces "Ready" without runs.
std::string GradeRunsStatusText(const std::vector<GradeRun>& runs, std::string_view currentText,
                                bool afterOpen = false);
