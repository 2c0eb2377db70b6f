// Editing of scenery, labels, measurements and deck outlines on the canvas, without a window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/LayoutDocument.h"

struct SceneryDef;

// ---- Scenery resizing ----

// No side of an item resized with its handles becomes shorter than this, mm.
inline constexpr double kMinResizeMm = 5.0;

struct SceneryResizeStart {
    uint32_t itemId = kNoId;
    int handle = -1;
    PointMm anchor;  // the opposite handle, which stays in place
    double scaleX = 1, scaleY = 1;
    double x = 0, y = 0, heading = 0;
};
// Takes the grab-time state for dragging handle `handle` of the item (no undo snapshot).
// handle is -1 when the item or its definition is unknown.
SceneryResizeStart BeginSceneryResize(const LayoutDocument& doc, uint32_t itemId, int handle);
// Resizes the item so the dragged handle follows the point (x, y) mm and the opposite handle
// stays at the anchor. False when the item or its definition is gone or has no positive size.
bool DragSceneryResize(LayoutDocument& doc, const SceneryResizeStart& start, double x, double y);
// Whether a handle changes the width (local x) and the depth (local y).
bool HandleChangesWidth(int handle);
bool HandleChangesDepth(int handle);

// ---- Resize Scenery dialog ----

inline constexpr int kResizeOk = 200;
inline constexpr int kResizeReset = 201;
inline constexpr int kResizeCancel = 202;
// Scales at or below this become this.
inline constexpr double kMinSceneryScale = 0.1;

// Width scale over depth scale when the dialog opens (1.0 when the depth scale is not positive).
double AspectRatio(double scaleX, double scaleY);
// Greatest scale the dialog offers.
inline constexpr double kMaxSceneryScale = 10.0;
// A scale typed into the dialog: a decimal number ("." or "," as decimal point, blanks around)
// from 0.1 to 10. False for anything else, including a number still being typed ("0.").
bool ParseSceneryScale(const std::string& text, double* scale);
// The depth scale that keeps the aspect ratio for a width scale, within 0.1 to 10 (the width
// itself when the ratio is not positive).
double LockedDepthScale(double widthScale, double ratio);
// Applies the dialog's result: 202 changes nothing; 201 resets both scales to 1; any other code
// sets the two values, each at least 0.1. One undo snapshot when something is applied. False
// when nothing changed.
bool ApplySceneryResizeResult(LayoutDocument& doc, uint32_t itemId, int result, double scaleX,
                              double scaleY);

// ---- Scenery from the palette ----

// Adds an item of the scenery id at the pose (one undo snapshot), on the highest visible level,
// as the only selection. kNoId (nothing changed) when the id is not in the scenery catalog.
uint32_t DropScenery(LayoutDocument& doc, std::string_view sceneryId, double x, double y,
                     double heading);

// ---- Measuring tape ----

// Shorter tapes are discarded, mm.
inline constexpr double kMinMeasurementMm = 1.0;
// Lays down a measurement from `first` to `second` (one undo snapshot) when they are at least
// 1 mm apart; returns its id, or kNoId when nothing was added.
uint32_t AddMeasurement(LayoutDocument& doc, PointMm first, PointMm second);

struct MeasurementDragStart {
    uint32_t id = kNoId;
    int part = 0;  // 1 line, 2 label
    PointMm grab;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0, dx = 0, dy = 0;
};
MeasurementDragStart BeginMeasurementDrag(const LayoutDocument& doc, uint32_t id, int part,
                                          PointMm grab);
// Moves line and label together by (point - grab). False when the measurement is gone.
bool DragMeasurement(LayoutDocument& doc, const MeasurementDragStart& start, PointMm point);

// ---- Labels ----

struct LabelDragStart {
    uint32_t id = kNoId;
    PointMm grabOffset;  // pointer minus label position
};
LabelDragStart BeginLabelDrag(const LayoutDocument& doc, uint32_t id, PointMm grab);
bool DragLabel(LayoutDocument& doc, const LabelDragStart& start, PointMm point);

// ---- Deck outlines ----

struct OutlineDragStart {
    uint32_t levelId = kNoId;
    PointMm grab;
    std::vector<PointMm> outline;
};
OutlineDragStart BeginOutlineDrag(const LayoutDocument& doc, uint32_t levelId, PointMm grab);
// Shifts the outline by (point - grab) from its grab-time copy. False when the level is gone or
// its outline changed its point count.
bool DragOutline(LayoutDocument& doc, const OutlineDragStart& start, PointMm point);
