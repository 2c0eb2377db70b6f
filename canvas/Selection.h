// Selection editing on the canvas without a window: clicks, chains, bands, rotation, the copy
// buffer, deletion and scenery moves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas/ViewTransform.h"
#include "model/LayoutDocument.h"

class LayoutIndex;

// ---- Clicking ----

// The pieces from `to` back to `from` along joints by a shortest path (breadth first, connector
// order), both ends included; empty when `to` cannot be reached from `from`.
std::vector<uint32_t> ChainPath(const LayoutDocument& doc, uint32_t from, uint32_t to);

// A left click on piece p with the modifiers: plain click selects p alone (keeping a selection
// that already holds it), Ctrl toggles it, Shift selects the chain from the last selected piece.
// Selected helix pieces then bring their whole helix in, and p's joint list is grown to its
// connector count.
void ClickPiece(LayoutDocument& doc, uint32_t pieceId, bool ctrl, bool shift);

// A left click on a scenery item: without Shift it becomes the selection (kept when already
// selected), with Shift its selection toggles.
void ClickScenery(LayoutDocument& doc, uint32_t itemId, bool shift);

// Adds every piece and scenery item on a visible level whose position, in window pixels, lies in
// the rectangle spanned by the two corners (edges included); whole helices follow. False, with
// nothing selected, when the rectangle is 4 pixels wide and high or smaller.
bool SelectInBand(LayoutDocument& doc, const ViewTransform& view, int x0, int y0, int x1, int y1);
// The same, visiting only what the index finds under the band.
bool SelectInBand(LayoutDocument& doc, const LayoutIndex& index, const ViewTransform& view, int x0,
                  int y0, int x1, int y1);

// ---- Rotation ----

// Heading the rotation snaps to when within this of a quarter turn, degrees.
inline constexpr double kRotationSnapDeg = 2.0;

struct RotationSnap {
    double delta = 0;      // the turn to apply, (-180, 180]
    double candidate = 0;  // the resulting reference heading, [0, 360)
    bool snapped = false;
};
// Folds an angle into (-180, 180].
double FoldDeg(double deg);
// The turn `delta` of a selection whose reference heading is `reference`, snapped so the
// reference lands on 0, 90, 180 or 270 when it comes within 2 degrees of one.
RotationSnap SnapRotation(double reference, double delta);

// The selection as it was when an Alt-drag rotation began.
struct RotationStart {
    struct Pose {
        uint32_t id = kNoId;
        double x = 0, y = 0, heading = 0;
    };
    bool valid = false;
    PointMm pivot;
    uint32_t helixId = kNoId;  // the selection is this one whole helix
    double helixHeading = 0;
    std::vector<Pose> pieces;
    std::vector<Pose> scenery;
    double reference = 0;   // heading of the first snapshot
    double startAngle = 0;  // degrees, pointer about the pivot in window pixels
};
// Snapshot of the selected pieces and scenery items; invalid when nothing is selected. The pivot
// is the helix centre for a whole helix, otherwise the mean position of all selected objects.
RotationStart TakeRotationStart(const LayoutDocument& doc);
// Angle in degrees of the window point about the pivot (window pixels, y down).
double PointerAngle(const ViewTransform& view, PointMm pivot, int px, int py);
// Sets every object of the snapshot that is still selected to its snapshot pose turned about the
// pivot by delta, and the helix to its starting heading + delta. False when none is selected.
bool ApplyRotation(LayoutDocument& doc, const RotationStart& start, double delta);

// The Alt + right click turn: 30 degrees for pieces, helices, platforms and signals, 15 for other
// scenery, about the helix centre or the first selected piece (else scenery item). False when
// nothing is selected (nothing changed). Takes one undo snapshot; the lock check is the caller's.
bool StepRotateSelection(LayoutDocument& doc);
// Turn of one step for a scenery item: 30 degrees for platforms and signals, else 15.
double SceneryStepDeg(const std::string& sceneryId);

// ---- Copy buffer ----

// Copies of the selected pieces, document order.
std::vector<PlacedPiece> CopySelection(const LayoutDocument& doc);
// Adds the buffer as new pieces centred on (x, y) mm (one undo snapshot): fresh ids, joints
// inside the buffer carried over, all others open, no helix membership. The pasted pieces become
// the selection. Returns their ids; empty (nothing changed) for an empty buffer.
std::vector<uint32_t> PasteBuffer(LayoutDocument& doc, const std::vector<PlacedPiece>& buffer,
                                  double x, double y);

// ---- Deleting ----

// Pieces placed as pairs bring their joined partners placed as pairs into the selection.
void ExpandPairSelection(LayoutDocument& doc);

// ---- Moving scenery ----

struct SceneryMoveStart {
    struct Pose {
        uint32_t id = kNoId;
        double x = 0, y = 0;
    };
    std::vector<Pose> items;
};
SceneryMoveStart TakeSceneryMoveStart(const LayoutDocument& doc);
// Puts the snapshot items at their start positions shifted by (dx, dy) mm.
void MoveScenery(LayoutDocument& doc, const SceneryMoveStart& start, double dx, double dy);
