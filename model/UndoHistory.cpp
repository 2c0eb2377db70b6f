// Undo and redo by whole snapshots of the editable part of the document.
#include "model/LayoutDocument.h"

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
                        control};
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
    control = std::move(s.control);

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
    undoStack.push_back(std::move(before));
    while (undoStack.size() > kUndoLimit) undoStack.pop_front();
    redoStack.clear();
}

void LayoutDocument::Undo() {
    if (undoStack.empty()) return;
    redoStack.push_back(TakeSnapshot());
    RestoreSnapshot(std::move(undoStack.back()));
    undoStack.pop_back();
}

void LayoutDocument::Redo() {
    if (redoStack.empty()) return;
    undoStack.push_back(TakeSnapshot());
    RestoreSnapshot(std::move(redoStack.back()));
    redoStack.pop_back();
}

void LayoutDocument::ClearHistory() {
    undoStack.clear();
    redoStack.clear();
}
