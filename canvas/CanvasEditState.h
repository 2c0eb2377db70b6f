// What the canvas remembers between mouse events while an edit gesture runs.
#pragma once

#include <string>
#include <vector>

#include "canvas/SceneryEdit.h"
#include "canvas/Selection.h"
#include "canvas/Snapping.h"
#include "model/LayoutDocument.h"

// Each gesture sets its part when it starts and clears it when it ends; at most one of the
// drags runs at a time.
struct CanvasEditState {
    // Palette drags (a ghost follows the pointer until the next left press).
    bool pieceDrag = false;
    std::string dragArticle;
    PiecePose freePose;
    SnapResult snap;
    bool sceneryDrag = false;
    std::string dragScenery;
    PiecePose sceneryGhost;
    bool helixDrag = false;
    std::string dragHelix;
    PointMm helixCentre;

    // Moving the selection: pending until the pointer travels 5 pixels.
    bool pendingMove = false;
    int pressX = 0;
    int pressY = 0;
    PointMm pressPoint;
    MoveStart moveStart;
    bool moving = false;
    GroupSnap groupSnap;
    // Moving scenery picked up directly (no threshold); the undo snapshot waits for the first
    // real movement so that a plain click leaves the history alone.
    bool sceneryMoving = false;
    bool sceneryMoveRecorded = false;
    SceneryMoveStart sceneryStart;

    bool rubberBand = false;
    bool ctrlPan = false;

    // Alt-drag rotation.
    bool rotating = false;
    RotationStart rotation;
    bool flash = false;

    // Tape, measurement, label, outline and resize drags.
    bool measuring = false;  // the first point is set
    PointMm tapeFirst;
    bool measurementDrag = false;
    MeasurementDragStart measurement;
    bool labelDrag = false;
    LabelDragStart label;
    bool outlineDrag = false;
    OutlineDragStart outline;
    bool resizing = false;
    SceneryResizeStart resize;

    std::vector<PlacedPiece> copyBuffer;
    int menuX = 0;  // window point of the last context menu (paste goes there)
    int menuY = 0;
    bool swallowNextPress = false;  // the press that follows a double-click clone

    bool PaletteDrag() const { return pieceDrag || sceneryDrag || helixDrag; }
};
