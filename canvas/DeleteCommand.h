// The one delete of the selection, for the Edit menu's Delete and the canvas's Delete and
// Backspace keys: the checks first, then the change.
#pragma once

#include "model/DocumentChange.h"
#include "base/Translate.h"
#include "canvas/GestureTypes.h"
#include "model/Locks.h"

class LayoutDocument;

// Where a delete comes from. The Edit menu deletes selected pieces and scenery and refuses every
// helix piece. The canvas also deletes selected labels and measurements, takes one whole helix
// (its four end pieces and nothing else locked) as a unit, and takes the joined partners of
// pieces placed as pairs along.
enum class DeleteSource { EditMenu, Canvas };

// The question before deleting graded pieces.
inline constexpr char kDeleteGradedTitle[] = TR_NOOP("Delete");
inline constexpr char kDeleteGradedQuestion[] =
    TR_NOOP("Selection includes graded pieces. Delete?");

// What must happen before the delete may run.
struct DeleteCheck {
    bool applies = false;          // something this source deletes is selected
    LockRefusal refusal;           // when refused: shown, and nothing is deleted
    bool asksAboutGrades = false;  // ask kDeleteGradedQuestion; anything but Yes deletes nothing
};
DeleteCheck CheckDelete(const LayoutDocument& doc, DeleteSource source);

// Deletes the selection (one undo snapshot) once the check passed and the question, if any,
// was answered Yes; returns what changed.
DocChange RunDelete(LayoutDocument& doc, DeleteSource source);
