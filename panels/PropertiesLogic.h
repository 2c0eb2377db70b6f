// What the properties panel shows for a selection, and the edits it makes to the document.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Translate.h"
#include "model/GradeRuns.h"
#include "model/LayoutDocument.h"
#include "trackgeometry/Units.h"

enum class SelectionViewKind { Empty, Piece, Run, Helix, Scenery, Several };

// "Height (mm):", the height field's label, naming the display unit of LayoutDocument::units.
std::string HeightLabelText(int units);

// Everything the selection section of the panel displays; built without any window.
struct SelectionView {
    SelectionViewKind kind = SelectionViewKind::Empty;
    // At most one of these is set; a run view shows none of them.
    uint32_t pieceId = kNoId;
    uint32_t helixId = kNoId;
    uint32_t sceneryId = kNoId;
    std::vector<uint32_t> runOrder;  // run view: the pieces from one end to the other

    std::string header = Tr("No selection");
    std::string info;
    std::string heightLabel = HeightLabelText(0);
    std::string heightText = "0";
    bool heightShown = false;
    std::string gradeText = "-";
    std::string warning;
    bool gradeTooSteep = false;  // grade value drawn in kGradeWarningColour

    bool levelShown = false;
    int32_t levelId = 0;  // the level to select in the choice (entry 0 when not found)

    bool gradeUp = true;      // the UP radio button; DOWN otherwise
    double gradeSpinDeg = 0;  // unsigned value of the angle spin control
    bool startGradeShown = false;
    bool endGradeShown = false;
    bool recalcShown = false;
    // The UP/DOWN buttons and the angle act on one piece: usable only while one is shown.
    bool gradeControlsEnabled = false;
};

// Decides which view the selection flags of the document call for and fills it in.
SelectionView BuildSelectionView(const LayoutDocument& doc);
// The single-piece view of one placed piece; the empty view when it or its article is unknown.
SelectionView BuildPieceView(const LayoutDocument& doc, uint32_t pieceId);
SelectionView BuildHelixView(const LayoutDocument& doc, uint32_t helixId);
SelectionView BuildSceneryView(const LayoutDocument& doc, uint32_t sceneryId);
// The run view; `pieceIds` must be the selected straight pieces of one connected run.
SelectionView BuildRunView(const LayoutDocument& doc, const std::vector<uint32_t>& pieceIds);
// Several pieces (and scenery items) that form no run: how many ("12 pieces selected") and, line
// by line, the track system, height, grade and level, each the shared value or "mixed".
SelectionView BuildSeveralView(const LayoutDocument& doc, const std::vector<uint32_t>& pieceIds,
                               int sceneryCount);

// True when the selected straight pieces lie parallel and form one chain through their joints.
bool IsStraightRun(const LayoutDocument& doc, const std::vector<uint32_t>& pieceIds);
// Orders a run from an end piece (joined to exactly one other piece of the run) through the
// joints; starts at the first piece when no end exists (a closed loop). Each piece once.
std::vector<uint32_t> OrderRun(const LayoutDocument& doc, const std::vector<uint32_t>& pieceIds);

// "-2.50 deg (4.4%)" for a grade in degrees; "-" when flat.
std::string GradeValueText(double gradeDeg);
// "WARNING: Grade 7.0 deg exceeds 6 deg max!" when steeper than 6 degrees; empty otherwise.
std::string GradeWarningText(double gradeDeg);
// A height in the display unit for the height field, with the unit's LengthDigits decimals.
std::string FormatHeightEntry(double mm, int units);
// Reads the height field (a decimal number with "." or "," as decimal point, blanks around it
// allowed) and converts it to millimetres. False, leaving *mm alone, when it is not a finite
// number.
bool ParseHeightEntry(std::string_view text, int units, double* mm);

// Sets one piece's height (mm), nothing else; one undo snapshot. False when the piece is gone.
bool SetPieceHeight(LayoutDocument& doc, uint32_t pieceId, double heightMm);

// Moves the piece and all track joined to it (helix track excepted) to a level; flat pieces take
// the level's height, graded ones keep theirs. The level becomes the active one. One undo
// snapshot; false when the piece is gone.
bool MovePieceChainToLevel(LayoutDocument& doc, uint32_t pieceId, int32_t levelId);
// Moves a helix to a level: its lower ends to the level's height, its upper ends and the flat
// track joined to them to that height plus the helix's rise. One undo snapshot; false when the
// helix is gone.
bool MoveHelixToLevel(LayoutDocument& doc, uint32_t helixId, int32_t levelId);
// Moves a scenery item to a level. One undo snapshot; false when the item is gone.
bool MoveSceneryToLevel(LayoutDocument& doc, uint32_t sceneryId, int32_t levelId);

// Text of a new label: trailing white space removed.
std::string TrimLabelText(std::string_view text);
// Adds an unselected label with the next id at (x, y) mm; one undo snapshot. kNoId, with nothing
// changed, when the text is empty after trimming.
uint32_t AddLabelAt(LayoutDocument& doc, std::string_view text, double x, double y);

// The colour choice: entry 0 "Default" clears the piece colour.
struct PieceColourEntry {
    const char* name;
    bool hasColour;
    Rgb colour;
};
inline constexpr std::array<PieceColourEntry, 9> kPieceColours{{
    {TR_NOOP("Default"), false, {0, 0, 0}},
    {TR_NOOP("Red"), true, {220, 60, 60}},
    {TR_NOOP("Orange"), true, {230, 140, 40}},
    {TR_NOOP("Yellow"), true, {220, 200, 50}},
    {TR_NOOP("Green"), true, {60, 170, 60}},
    {TR_NOOP("Blue"), true, {60, 100, 200}},
    {TR_NOOP("Purple"), true, {140, 60, 180}},
    {TR_NOOP("Pink"), true, {210, 90, 150}},
    {TR_NOOP("White"), true, {240, 240, 240}},
}};
// Gives every selected piece the colour of a choice entry, then clears the whole selection.
// One undo snapshot; false, with nothing changed, for a bad entry or when no piece is selected.
bool ApplyPieceColour(LayoutDocument& doc, int entry);
