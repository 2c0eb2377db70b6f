// Connector snapping: the capture search, track-system compatibility and the joins the canvas
// makes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Translate.h"
#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"
#include "trackgeometry/ConnectorJoins.h"

class LayoutIndex;
struct BoxMm;


inline constexpr const char* kIncompatibleSystemsTitle = TR_NOOP("Incompatible Track Systems");


struct SnapResult {
    bool snapped = false;
    uint32_t targetPiece = kNoId;
    int32_t targetConn = -1;
    int32_t ownConn = -1;
    double x = 0;  // pose the snapping piece must take
    double y = 0;
    double heading = 0;
    double distance = 0;  // between the two connectors before alignment
    double targetX = 0;   // the target connector, for highlighting
    double targetY = 0;
};

struct SystemClash {
    bool clash = false;
    TrackSystem dragged = TrackSystem::MarklinC;  // system of the dragged piece's connector
    TrackSystem placed = TrackSystem::MarklinC;   // system of the placed piece's connector
};

// ---- Geometry (pure) ----

// Nearest open connector of the candidates within the capture radius that may pair with an end
// of `def` at the trial pose. Ties keep the first pair in candidate, target-connector,
// own-connector order.
SnapResult FindSnap(const PieceDef& def, const PiecePose& trial,
                    std::span<const PlacedPiece* const> candidates);
// First open connector of `pieces` within the capture radius, turned far enough to pair, whose
// track system differs from that of the dragged piece's nearby connector.
SystemClash CheckSystemClash(const PieceDef& def, const PiecePose& trial,
                             const PieceList& pieces);

// "<dragged> cannot connect to <placed>. ..." shown under kIncompatibleSystemsTitle.
std::string IncompatibleSystemsText(TrackSystem dragged, TrackSystem placed);

// ---- Document helpers ----

// Pieces on visible levels (a level missing from the document counts as visible), in document
// order; without the selected ones when `skipSelected`.
std::vector<const PlacedPiece*> SnapCandidates(const LayoutDocument& doc, bool skipSelected);
// The same restricted to the pieces the index finds in the box, in document order.
std::vector<const PlacedPiece*> SnapCandidates(const LayoutDocument& doc, const LayoutIndex& index,
                                               const BoxMm& box, bool skipSelected);
// The box within which a piece of `def` at `pose` may find a snap: its ends widened by the
// capture radius.
BoxMm SnapReach(const PieceDef& def, const PiecePose& pose);
// Level for a piece dropped on empty canvas: the visible level with the greatest height (the
// first on equal heights), else the active level.
uint32_t DropLevel(const LayoutDocument& doc);
// Opens every joint between a selected and an unselected piece, on both pieces.
void DetachSelection(LayoutDocument& doc);
// "Pieces: " and the number of pieces, for the status bar.
std::string PiecesStatusText(const LayoutDocument& doc);

// ---- Palette drag and placement ----

// The snap of a palette ghost at the free pose (not snapped when snapping is off or the article
// is unknown).
SnapResult TrackPaletteDrag(const LayoutDocument& doc, std::string_view article,
                            const PiecePose& freePose);
// The same answer searching only the pieces the index finds near the ghost's ends.
SnapResult TrackPaletteDrag(const LayoutDocument& doc, const LayoutIndex& index,
                            std::string_view article, const PiecePose& freePose);

struct PlacementResult {
    uint32_t firstId = kNoId;   // the new piece; kNoId when nothing was placed
    uint32_t secondId = kNoId;  // the partner of a piece placed as a pair
    std::string errorTitle;     // a refusal to show (OK, warning icon); empty otherwise
    std::string error;
    bool startDrag = false;    // PlaceAfterSelection with nothing selected: start a palette drag
    bool firstZPiece = false;  // the first piece of a Z layout: the view goes to zoom 1.0
    bool Placed() const { return firstId != kNoId; }
};

// Drops a palette piece at the free pose, or at `snap` when it is snapped and snapping is on:
// checks systems, places it (one undo snapshot, also for a pair), joins it, continues the grade,
// places the pair partner and leaves the first new piece as the only selection.
PlacementResult DropPalettePiece(LayoutDocument& doc, std::string_view article,
                                 const PiecePose& freePose, const SnapResult& snap);
// Appends a piece of `article` to the newest selected piece (palette double click); with nothing
// selected only sets startDrag.
PlacementResult PlaceAfterSelection(LayoutDocument& doc, std::string_view article);
// Double click on a piece: attaches a copy of it to its free connector 1 (else 0).
PlacementResult CloneAndExtend(LayoutDocument& doc, uint32_t pieceId);

// ---- Moving a selection ----

struct MoveStart {
    struct Pose {
        uint32_t id = kNoId;
        double x = 0, y = 0, heading = 0;
        size_t at = static_cast<size_t>(-1);  // position in its list when the move started
    };
    std::vector<Pose> pieces;   // selected pieces, document order
    std::vector<Pose> scenery;  // selected scenery items
    std::vector<Pose> helices;  // helices used by selected pieces
};

// The snap recorded for a moved selection: the moving piece it belongs to and its snap.
struct GroupSnap {
    uint32_t movingPiece = kNoId;
    SnapResult snap;
    bool Snapped() const { return movingPiece != kNoId && snap.snapped; }
};

// Poses of the selection when a move starts.
MoveStart TakeMoveStart(const LayoutDocument& doc);
// Places the selection (pieces, scenery, helices) at its start poses shifted by (dx, dy) mm and
// returns the best snap of a moving piece onto an unselected one (none when snapping is off).
GroupSnap TrackSelectionMove(LayoutDocument& doc, const MoveStart& start, double dx, double dy);
// The same answer searching only the pieces the index finds near each moving piece; the index
// follows the moved pieces and scenery items.
GroupSnap TrackSelectionMove(LayoutDocument& doc, LayoutIndex& index, const MoveStart& start,
                             double dx, double dy);
// Ends a move: detaches the selection when it moved more than 1 mm, carries it rigidly onto the
// recorded snap, joins it, continues the grade and joins further ends within 4 mm.
void ReleaseSelectionMove(LayoutDocument& doc, const MoveStart& start, const GroupSnap& snap);
