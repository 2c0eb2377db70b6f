// The level manager's operations on the document: add, edit and remove levels.
#pragma once

#include <string>

#include "model/LayoutDocument.h"

// Colour of a new level: row (id - 1) mod 6 of the level colour table.
Rgb NewLevelColour(uint32_t id);
// The highest level id plus one (1 without levels).
uint32_t NextLevelId(const LayoutDocument& doc);
// "Level %d" with the next level id.
std::string ProposedLevelName(const LayoutDocument& doc);
// Appends a visible level at height 0 with the next id and the table colour and makes it the
// active level; returns its id, or 0 when the name is empty (nothing added).
uint32_t AddLevel(LayoutDocument& doc, const std::string& name);

// A height for the level list: "%.0f mm", "%.1f cm" or "%.2f in".
std::string FormatLevelHeight(double heightMm, int units);
// The height field of the properties dialog for a unit: its maximum, step and decimals (enough
// for the shown value to stand for the stored height).
struct HeightField {
    double max;
    double increment;
    int digits;
};
HeightField HeightFieldFor(int units);

// What the properties dialog gives back for a level.
struct LevelEdit {
    std::string name;  // blanks at both ends are trimmed; empty keeps the old name
    double heightMm = 0;
    bool colourTrack = false;
    Rgb colour;
};
// Applies the edit; when the height changed, moves the level's flat pieces outside helices to
// it. False (nothing changed) when no level has this id or the height is negative.
bool ApplyLevelEdit(LayoutDocument& doc, uint32_t levelId, const LevelEdit& edit);

// What removing a level deletes.
struct LevelContents {
    int pieces = 0;   // pieces on the level outside helices
    int scenery = 0;  // scenery items on the level
    int helices = 0;  // helices whose inner bottom piece lies on the level
};
LevelContents CountLevelContents(const LayoutDocument& doc, uint32_t levelId);
// The confirmation text of Remove Level.
std::string RemoveLevelQuestion(const std::string& name, const LevelContents& contents);
// Removes the level with its pieces, scenery and the helices that start on it (with all their
// pieces). Joints of the remaining pieces that pointed at removed pieces are opened and grade
// runs anchored on removed pieces are dropped. When the active level goes, the first remaining
// level becomes active. Refused (false) for an unknown id or the last level.
bool RemoveLevel(LayoutDocument& doc, uint32_t levelId);
