// Helices: placing a helix unit with its four end pieces, and the rules that lock those pieces.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Translate.h"
#include "model/LayoutDocument.h"

struct HelixVariant;

// Where an end piece sits: `offsetMm` along the local y axis of a helix centred at (x, y) and
// turned by headingDeg.
PointMm HelixEndPosition(double x, double y, double headingDeg, double offsetMm);

// Places a helix of the variant `variantId` (the default variant when the id is empty or
// unknown) centred at (x, y): one undo snapshot, the helix record, then its end pieces bottomR1,
// bottomR2, topR1, topR2. Returns the helix id; kNoId when nothing was placed.
uint32_t PlaceHelix(LayoutDocument& doc, double x, double y, double headingDeg,
                    std::string_view variantId);
// The same with the variant given directly.
uint32_t PlaceHelixVariant(LayoutDocument& doc, const HelixVariant& variant, double x, double y,
                           double headingDeg);

// True when every selected piece carries the same helix id and every piece of that helix is
// selected, with no scenery selected: the helix moves, turns and goes as one unit.
bool SelectionIsWholeHelix(const LayoutDocument& doc);
// Selects every piece of each helix that has a selected piece (a click on one stub takes the
// whole helix).
void SelectWholeHelices(LayoutDocument& doc);

// Refusal for helix track, worded with the operation's verb ("delete" gives "... deleted ...").
inline constexpr const char* kHelixLockTitle = TR_NOOP("Helix track is locked");
std::string HelixLockMessage(std::string_view verb);
// Refusal for moving part of a helix.
inline constexpr const char* kHelixPartialTitle = TR_NOOP("Helix partially selected");
inline constexpr const char* kHelixPartialMessage = TR_NOOP(
    "Selection contains part of a helix. Either select the whole helix (click any of its "
    "stubs) or exclude it from the selection before moving.");

// "delete" -> "deleted", "rotate" -> "rotated", "move" -> "moved".
std::string PastParticiple(std::string_view verb);
