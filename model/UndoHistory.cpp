// Undo and redo by whole snapshots of the editable part of the document.
#include "model/LayoutDocument.h"

#include <atomic>

namespace {

// Revisions are unique among all documents of the run, so a document that replaces another
// never takes up a revision someone remembers of the old one.
uint64_t NewRevision() {
    static std::atomic<uint64_t> last{0};
    return ++last;
}

}  // namespace

UndoSnapshot LayoutDocument::TakeSnapshot() const {
    return UndoSnapshot{pieces,
                        scenery,
                        labels,
                        measurements,
                        tunnels,
                        helices,
                        gradeRuns,
                        currentGrade,
                        levels,
                        activeLevel,
                        BaseboardState{baseboard, lastShape, shapeWidth, shapeHeight, shapeWidth2,
                                       shapeHeight2},
                        0,  // the revision is set as the snapshot goes on a stack
                        wiring,
                        control,
                        pictures};
}

void LayoutDocument::RestoreSnapshot(UndoSnapshot&& s) {
    pieces = std::move(s.pieces);
    scenery = std::move(s.scenery);
    labels = std::move(s.labels);
    measurements = std::move(s.measurements);
    tunnels = std::move(s.tunnels);
    helices = std::move(s.helices);
    currentGrade = s.currentGrade;
    gradeRuns = std::move(s.gradeRuns);
    levels = std::move(s.levels);
    activeLevel = s.activeLevel;
    baseboard = std::move(s.baseboard.outline);
    lastShape = s.baseboard.lastShape;
    shapeWidth = s.baseboard.shapeWidth;
    shapeHeight = s.baseboard.shapeHeight;
    shapeWidth2 = s.baseboard.shapeWidth2;
    shapeHeight2 = s.baseboard.shapeHeight2;
    revision = s.revision;
    wiring = std::move(s.wiring);
    control = std::move(s.control);
    pictures = std::move(s.pictures);

    uint32_t highest = pieces.HighestId();
    auto note = [&](const auto& list) {
        for (const auto& o : list)
            if (o.id != kNoId && o.id > highest) highest = o.id;
    };
    note(scenery);
    note(labels);
    note(measurements);
    note(tunnels);
    note(helices);
    if (highest < kNoId - 1 && nextId <= highest) nextId = highest + 1;
}

void LayoutDocument::PushUndo() { PushUndo(TakeSnapshot()); }

void LayoutDocument::PushUndo(UndoSnapshot before) {
    before.revision = revision;
    revision = NewRevision();
    undoStack.push_back(std::move(before));
    while (undoStack.size() > kUndoLimit) undoStack.pop_front();
    redoStack.clear();
}

void LayoutDocument::Undo() {
    if (undoStack.empty()) return;
    redoStack.push_back(TakeSnapshot());
    redoStack.back().revision = revision;
    RestoreSnapshot(std::move(undoStack.back()));
    undoStack.pop_back();
}

void LayoutDocument::Redo() {
    if (redoStack.empty()) return;
    undoStack.push_back(TakeSnapshot());
    undoStack.back().revision = revision;
    RestoreSnapshot(std::move(redoStack.back()));
    redoStack.pop_back();
}

void LayoutDocument::ClearHistory() {
    undoStack.clear();
    redoStack.clear();
}
