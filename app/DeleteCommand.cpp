// The one delete of the selection.
#include "app/DeleteCommand.h"

#include "canvas/Selection.h"
#include "model/LayoutDocument.h"
#include "model/SelectionQueries.h"

DeleteCheck CheckDelete(const LayoutDocument& doc, DeleteSource source) {
    DeleteCheck check;
    const bool canvas = source == DeleteSource::Canvas;
    check.applies = canvas ? doc.HasSelection() : PieceOrScenerySelected(doc);
    if (!check.applies) return check;
    check.refusal = CheckSelectionLocks(doc, "delete", canvas);
    if (check.refusal.Refused()) return check;
    check.asksAboutGrades = SelectionHasGrade(doc);
    return check;
}

DocChange RunDelete(LayoutDocument& doc, DeleteSource source) {
    if (source == DeleteSource::Canvas) ExpandPairSelection(doc);
    doc.DeleteSelected();
    // Neighbours lose their joints, grade runs fall back and helices go with their end pieces.
    return DocChange::Pieces | DocChange::Placement | DocChange::Scenery | DocChange::Annotations |
           DocChange::Selection;
}
