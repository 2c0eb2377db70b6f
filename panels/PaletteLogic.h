// Window-free rules of the palette: list contents, the system for an opened layout, the library
// folder, the Scenery page rule and the hover preview's scale.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "canvas/ViewTransform.h"
#include "model/LayoutDocument.h"

struct PieceDef;

// One row of a palette list: the text shown and the key behind it ("" for a header row).
struct PaletteRow {
    std::string text;
    std::string key;
    bool operator==(const PaletteRow&) const = default;
};

// The Track list of palette system `index`: per group a header row, then one row per article
// the catalog holds; for the C system the helix group follows the last group.
std::vector<PaletteRow> BuildTrackRows(int index);
// The Scenery list: platforms, stations, bridges and nature items in catalog order, with a
// header row whenever the category changes.
std::vector<PaletteRow> BuildSceneryRows();
// The Signals list of palette system `index`: Z signals for the Z system, the others otherwise,
// with a header row whenever the signal kind changes.
std::vector<PaletteRow> BuildSignalRows(int index);
// "Semaphore", "Color light", "Distant" or "Other", from words in the scenery id.
std::string SignalKind(std::string_view sceneryId);

// Categories the Scenery list keeps, as a bit mask over categories 0 to 7.
inline constexpr unsigned kPaletteSceneryMask = 149;  // platforms, stations, bridges, nature
bool PaletteShowsSceneryCategory(int category);

// The helix variant id of a helix row's key; "" for any other key.
std::string HelixIdFromKey(std::string_view key);
bool IsHelixKey(std::string_view key);

// The palette system a freshly opened layout should show: the system most of its pieces are of
// (a helix's own track aside), preferring C, then K, then TRIX C, then Z on a tie; C when no
// piece is known (also for an empty layout).
int SystemIndexForLayout(const std::vector<PlacedPiece>& pieces);

// What the Scenery page rule does when system `index` is chosen.
enum class SceneryPageChange { None, Remove, Add };
SceneryPageChange SceneryPageChangeFor(int index, bool pageShown);

// Folder name of a system's library blocks, from the choice text ("Marklin C-Track" gives
// "Marklin_C-Track"; unknown texts get their blanks replaced by "_").
std::string LibraryFolderName(const std::string& choiceText);
// programFolder/library/<folder name of the choice text>.
std::string LibraryFolderPath(const std::string& programFolder, const std::string& choiceText);
// The block files directly in `folder` (plain, not hidden, ending in ".xml"), in the order the
// directory listing gives: text is the file name without ".xml", key its full path. A missing or
// unreadable folder gives an empty list.
std::vector<PaletteRow> BuildLibraryRows(const std::string& folder);

// The hover preview is a fixed 80 x 55 pixel window.
inline constexpr int kPreviewWidth = 80;
inline constexpr int kPreviewHeight = 55;
// Pixels per millimetre that fit the piece into the preview, within [0.05, 3].
double PreviewZoom(const PieceDef& def);
// The view that draws the piece, placed at (0, 0) with heading 0, centred on its length.
ViewTransform PreviewTransform(const PieceDef& def);
