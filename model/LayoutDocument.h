// The layout document: everything the user builds, plus its undo and redo history.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "control/ControlPlan.h"
#include "model/BackgroundPicture.h"
#include "model/PieceList.h"
#include "model/PlacedPiece.h"
#include "wiring/WiringPlan.h"

struct SceneryItem {
    uint32_t id = 0;
    std::string item;  // scenery catalog id
    double x = 0;      // centre of the footprint, mm
    double y = 0;
    double heading = 0;
    bool selected = false;
    double scaleX = 1;
    double scaleY = 1;
    int32_t level = 1;
    bool operator==(const SceneryItem&) const = default;
};

struct Label {
    uint32_t id = 0;
    std::string text;
    double x = 0;
    double y = 0;
    bool selected = false;
    bool operator==(const Label&) const = default;
};

struct Measurement {
    uint32_t id = 0;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double dx = 0, dy = 0;  // label offset
    bool selected = false;
    bool operator==(const Measurement&) const = default;
};

struct Tunnel {
    uint32_t id = 0;
    uint32_t portalA = kNoId;  // scenery item ids of the portals
    uint32_t portalB = kNoId;
    uint32_t anchorA = kNoId;  // end pieces the portals sit on
    uint32_t anchorB = kNoId;
    std::vector<uint32_t> covers;  // piece ids inside the tunnel
    bool operator==(const Tunnel&) const = default;
};

struct Helix {
    uint32_t id = 0;
    double x = 0;
    double y = 0;
    double heading = 0;
    std::string variant;  // helix variant id
    uint32_t bottomR1 = kNoId;
    uint32_t bottomR2 = kNoId;
    uint32_t topR1 = kNoId;
    uint32_t topR2 = kNoId;
    bool operator==(const Helix&) const = default;
};

struct Level {
    uint32_t id = 1;
    std::string name = "Level 1";
    bool visible = true;
    double height = 0;  // mm
    bool colourTrack = false;
    Rgb colour{180, 200, 220};
    std::vector<PointMm> outline;
    bool operator==(const Level&) const = default;
};

struct GradeRun {
    double gradeDeg = 0;
    int32_t anchorPiece = -1;
    uint32_t anchorConn = 1;
    bool operator==(const GradeRun&) const = default;
};

// Mirror of the last grade run, used as the grade the next run continues.
struct CurrentGrade {
    bool hasGrade = false;
    double gradeDeg = 0;
    int32_t anchorPiece = -1;
    int32_t anchorConn = 1;
    bool operator==(const CurrentGrade&) const = default;
};

// The baseboard outline with the shape settings it was made from.
struct BaseboardState {
    std::vector<PointMm> outline;
    int32_t lastShape = 0;
    double shapeWidth = 2400;
    double shapeHeight = 1200;
    double shapeWidth2 = 1200;
    double shapeHeight2 = 1200;
    bool operator==(const BaseboardState&) const = default;
};

// The editable part of the document, copied before every edit. The levels and the baseboard are
// part of it: removing a level deletes pieces, and New drops both, so neither may escape undo.
// The pieces share every chunk the edit did not write with the document and the other snapshots.
struct UndoSnapshot {
    PieceList pieces;
    std::vector<SceneryItem> scenery;
    std::vector<Label> labels;
    std::vector<Measurement> measurements;
    std::vector<Tunnel> tunnels;
    std::vector<Helix> helices;
    std::vector<GradeRun> gradeRuns;
    CurrentGrade currentGrade;
    std::vector<Level> levels;
    uint32_t activeLevel = 1;
    BaseboardState baseboard;
    // The document's revision when this state was current; set as the snapshot goes on a stack
    // (0 in a snapshot taken with Snapshot()).
    uint64_t revision = 0;
    WiringPlan wiring;
    ControlPlan control;
    std::vector<BackgroundPicture> pictures;
    bool operator==(const UndoSnapshot&) const = default;
};

class LayoutDocument {
public:
    static constexpr size_t kUndoLimit = 50;

    PieceList pieces;
    std::vector<SceneryItem> scenery;
    std::vector<Label> labels;
    std::vector<Measurement> measurements;
    std::vector<Tunnel> tunnels;
    std::vector<Helix> helices;
    uint32_t nextId = 1;
    std::vector<Level> levels;
    uint32_t activeLevel = 1;
    int32_t toolMode = 0;  // 3: measuring tape
    std::vector<PointMm> baseboard;
    bool baseboardShown = true;
    int32_t lastShape = 0;
    double shapeWidth = 2400;
    double shapeHeight = 1200;
    double shapeWidth2 = 1200;
    double shapeHeight2 = 1200;
    bool snapOn = true;
    bool gridShown = true;
    bool labelsShown = true;
    int32_t units = 0;  // 0 mm, 1 cm, 2 inches
    std::vector<GradeRun> gradeRuns;
    CurrentGrade currentGrade;
    double gridSpacing = 32;
    WiringPlan wiring;  // gaps, feeders, districts and detectors
    // Accessory addresses and the digital protocol (empty until the user gives any).
    ControlPlan control;
    // Pictures under the track, drawn in list order (the first lowest).
    std::vector<BackgroundPicture> pictures;
    std::deque<UndoSnapshot> undoStack;
    std::deque<UndoSnapshot> redoStack;

    // Takes an undo snapshot, gives the piece the next id, appends it and returns the id.
    uint32_t AddPiece(PlacedPiece piece);
    // Deletes the selected pieces, scenery, labels and measurements (one undo snapshot).
    void DeleteSelected();
    // Empties the layout for New (one undo snapshot); levels and baseboard are the caller's.
    void Clear();
    // Adds the default level "Level 1" when there is none.
    void EnsureDefaultLevel();
    // Makes currentGrade mirror the last grade run.
    void RefreshCurrentGrade();

    void PushUndo();
    // Records a state taken earlier with Snapshot() as the one before the current edit (the
    // stack limit and the emptied redo stack as for PushUndo).
    void PushUndo(UndoSnapshot before);
    void Undo();
    void Redo();
    bool CanUndo() const { return !undoStack.empty(); }
    bool CanRedo() const { return !redoStack.empty(); }
    // Forgets every undo and redo step: an opened file starts its own history, so no step can
    // bring another layout's content back under the opened file's name.
    void ClearHistory();

    // Names the current state of the editable part within the undo history: each recorded edit
    // gives the document a revision no state had before, and undo and redo bring back the
    // revision of the state they restore. Remembering the revision that was saved tells when
    // undo or redo returns to the saved layout.
    uint64_t Revision() const { return revision; }

    // Takes the next object id.
    uint32_t TakeId() { return nextId++; }

    // Lookups by id; null when absent.
    PlacedPiece* FindPiece(uint32_t id);
    const PlacedPiece* FindPiece(uint32_t id) const;
    SceneryItem* FindScenery(uint32_t id);
    const SceneryItem* FindScenery(uint32_t id) const;
    Helix* FindHelix(uint32_t id);
    const Helix* FindHelix(uint32_t id) const;
    Level* FindLevel(uint32_t id);
    const Level* FindLevel(uint32_t id) const;

    // A copy of the editable part that undo restores.
    UndoSnapshot Snapshot() const { return TakeSnapshot(); }

    // Clears every selection flag (pieces, scenery, labels, measurements).
    void ClearSelection();
    bool HasSelection() const;

private:
    UndoSnapshot TakeSnapshot() const;
    // Restores a snapshot and keeps nextId above every id it brings back: New and Open reset the
    // counter, so without this the next new object could share an id with a restored one.
    void RestoreSnapshot(UndoSnapshot&& snapshot);

    uint64_t revision = 0;
};

// The level every new document starts with: id 1, "Level 1", visible, height 0.
Level DefaultLevel();
