// The undo record of one canvas gesture: the document as it was when the gesture began, pushed
// on the undo stack only once the gesture has really changed something.
#pragma once

#include "model/LayoutDocument.h"

// True when the document's editable part equals the snapshot, selection flags aside (selecting
// is not an edit).
bool SameContent(const UndoSnapshot& snapshot, const LayoutDocument& doc);

class EditTransaction {
public:
    EditTransaction() = default;
    // Remembers the document as it is now.
    explicit EditTransaction(const LayoutDocument& doc) : before(doc.Snapshot()), open(true) {}

    // Called after each change the gesture makes: the first time the document differs from the
    // remembered state, that state goes on the undo stack. True once something was recorded.
    bool Touch(LayoutDocument& doc);
    bool Recorded() const { return recorded; }
    // Takes back what the gesture changed: the document returns to the remembered state and the
    // undo step goes again. True when there was something to take back.
    bool Revert(LayoutDocument& doc);

private:
    UndoSnapshot before;
    bool open = false;
    bool recorded = false;
};
