// The palette's fixed data: track systems offered, their piece groups and the list ids.
#pragma once

#include <string>
#include <vector>

#include "catalog/TrackCatalog.h"

// Window ids of the palette's controls.
inline constexpr int kPaletteSystemChoiceId = 3000;
inline constexpr int kPaletteTrackListId = 3001;
inline constexpr int kPaletteLibraryListId = 3002;
inline constexpr int kPaletteSceneryListId = 3003;
inline constexpr int kPaletteSignalsListId = 3004;

// The palette offers six systems, by index: C, K, TRIX C, Z, Minitrix N, Kato N (the Z system
// comes fourth although the catalog numbers it 2).
inline constexpr int kPaletteSystemCount = 6;
inline constexpr int kPaletteZIndex = 3;

// Header rows read this prefix followed by the group or category name.
inline constexpr const char* kPaletteHeaderPrefix = "--- ";
// A helix row's key is this prefix followed by the helix variant id.
inline constexpr const char* kPaletteHelixKeyPrefix = "@helix:";

// One group of a system's Track list, with its article numbers in list order.
struct PaletteGroup {
    std::string name;
    std::vector<std::string> articles;
};

// The choice's entry for palette index `index` ("Marklin C-Track", ...); "" when out of range.
std::string PaletteSystemName(int index);
// The catalog system behind a palette index; Marklin C for an index out of range.
TrackSystem PaletteCatalogSystem(int index);
// The groups of a system, in list order; empty for an index out of range. The helix group of
// the C system is not among them: it lists the helix variants and follows the last group.
const std::vector<PaletteGroup>& PaletteGroups(int index);
// True for the one system whose Track list ends with the helix group.
bool PaletteListsHelices(int index);
