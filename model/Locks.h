// The lock check run before deleting, moving and rotating a selection.
#pragma once

#include <string>
#include <string_view>

#include "model/LayoutDocument.h"

// Why an operation on the selection is refused; empty title and message when it may go ahead.
struct LockRefusal {
    std::string title;
    std::string message;
    bool Refused() const { return !title.empty(); }
    bool operator==(const LockRefusal&) const = default;
};

// Refuses a selection holding helix track (reported first), tunnel track or a tunnel portal,
// worded with the verb ("delete", "rotate", "move"). With `wholeHelixPasses`, a selection that is
// exactly one whole helix and nothing else passes the helix lock: the canvas deletes and turns a
// helix as a unit, while the Edit menu's Delete refuses every helix piece.
LockRefusal CheckSelectionLocks(const LayoutDocument& doc, std::string_view verb,
                                bool wholeHelixPasses = false);

// The checks before a selection is dragged: every helix touched must be selected whole, and no
// selected piece may lie in a tunnel, nor may a portal be selected.
LockRefusal CheckMoveLocks(const LayoutDocument& doc);
