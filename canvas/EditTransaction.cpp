// One undo record per gesture, taken only when the gesture changed the document.
#include "canvas/EditTransaction.h"

#include <algorithm>

namespace {

// Element-wise equality of two lists with the selection flags of b's elements copied onto a's.
template <class T>
bool SameExceptSelection(const T& x, const T& y) {
    if (x.selected == y.selected) return x == y;
    T copy = x;
    copy.selected = y.selected;
    return copy == y;
}

template <class T>
bool SameIgnoringSelection(const std::vector<T>& a, const std::vector<T>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameExceptSelection<T>);
}

// The chunks a gesture has not written are still shared with the snapshot: only the rest is
// compared, so a motion costs what it moved.
bool SameIgnoringSelection(const PieceList& a, const PieceList& b) {
    return a.Equal(b, SameExceptSelection<PlacedPiece>);
}

}  // namespace

bool SameContent(const UndoSnapshot& s, const LayoutDocument& doc) {
    return SameIgnoringSelection(s.pieces, doc.pieces) &&
           SameIgnoringSelection(s.scenery, doc.scenery) &&
           SameIgnoringSelection(s.labels, doc.labels) &&
           SameIgnoringSelection(s.measurements, doc.measurements) && s.tunnels == doc.tunnels &&
           s.helices == doc.helices && s.gradeRuns == doc.gradeRuns &&
           s.currentGrade == doc.currentGrade && s.pictures == doc.pictures;
}

bool EditTransaction::Touch(LayoutDocument& doc) {
    if (!open || recorded) return recorded;
    if (SameContent(before, doc)) return false;
    doc.PushUndo(std::move(before));
    before = UndoSnapshot{};
    recorded = true;
    return true;
}

bool EditTransaction::Revert(LayoutDocument& doc) {
    if (!recorded || !doc.CanUndo()) return false;
    doc.Undo();
    doc.redoStack.pop_back();  // the abandoned state is not a step to redo
    recorded = false;
    open = false;
    return true;
}
