// Hit tests of the canvas: which piece, helix, scenery item, label, measurement, resize handle or
// deck outline lies under a window point.
#pragma once

#include <cstdint>

#include "canvas/ViewTransform.h"
#include "model/LayoutDocument.h"

struct PieceDef;
struct SceneryDef;
class LayoutIndex;

// Half-width of the band that catches clicks on track: 7 mm for Z gauge, 20 mm otherwise.
double PieceHitHalfWidth(const PieceDef& def);
// True when the layout point (x, y) in mm lies on the piece: the band of its straight route, the
// span of a curve (widened by 3 degrees at both ends), a turntable's pit, or the lead and the two
// drawn arcs of a K-Track curved turnout.
bool PointOnPiece(const PlacedPiece& piece, const PieceDef& def, double x, double y);

// Height of a level; 0 for an id that names no level.
double LevelHeight(const LayoutDocument& doc, int32_t levelId);

// The piece under the window point: among the pieces hit on visible levels, the highest level
// wins, then the piece whose origin is nearest in pixels. kNoId when none.
uint32_t PieceAt(const LayoutDocument& doc, const ViewTransform& view, int px, int py);
// The same answer from the pieces the index finds at the point (all pieces when the index was
// built for another document).
uint32_t PieceAt(const LayoutDocument& doc, const LayoutIndex& index, const ViewTransform& view,
                 int px, int py);
// The helix whose inner or outer ring (25 mm either side) lies under the window point, on the
// highest level. kNoId when none.
uint32_t HelixAt(const LayoutDocument& doc, const ViewTransform& view, int px, int py);
// PieceAt, then HelixAt standing for the helix's bottomR1 piece.
uint32_t PieceOrHelixAt(const LayoutDocument& doc, const ViewTransform& view, int px, int py);
uint32_t PieceOrHelixAt(const LayoutDocument& doc, const LayoutIndex& index,
                        const ViewTransform& view, int px, int py);
// The bottomR1 piece that stands for a helix in clicks; kNoId when the helix or piece is missing.
uint32_t HelixStub(const LayoutDocument& doc, uint32_t helixId);

// The scenery item whose footprint (3 mm widened) lies under the window point, on the highest
// level, the later item on equal heights. kNoId when none.
uint32_t SceneryAt(const LayoutDocument& doc, const ViewTransform& view, int px, int py);
uint32_t SceneryAt(const LayoutDocument& doc, const LayoutIndex& index, const ViewTransform& view,
                   int px, int py);
// The first label (document order) whose text box, from 4 pixels left to 120 right and 4 above
// to 24 below its position, holds the window point. kNoId when none.
uint32_t LabelAt(const LayoutDocument& doc, const ViewTransform& view, int px, int py);

enum class MeasurementPart { None = 0, Line = 1, Label = 2 };
struct MeasurementHit {
    uint32_t id = kNoId;
    MeasurementPart part = MeasurementPart::None;
};
// The last measurement whose length label (tested first) or line lies under the window point.
MeasurementHit MeasurementAt(const LayoutDocument& doc, const ViewTransform& view, int px, int py);

// Handle positions of an item in layout mm, 0..7 starting at the (-, -) corner.
PointMm HandleLocal(const SceneryItem& item, const SceneryDef& def, int handle);
PointMm HandleWorld(const SceneryItem& item, const SceneryDef& def, int handle);
// The first handle whose window position lies less than sqrt(37) pixels from the point; -1 when
// none.
int HandleAt(const SceneryItem& item, const SceneryDef& def, const ViewTransform& view, int px,
             int py);

// The visible level, highest first, whose closed deck outline (3 points or more) passes within
// 8 pixels of the window point. kNoId when none.
uint32_t LevelOutlineAt(const LayoutDocument& doc, const ViewTransform& view, int px, int py);

// Distance from p to the segment a-b.
double DistanceToSegment(PointMm p, PointMm a, PointMm b);
