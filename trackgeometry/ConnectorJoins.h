// Where the ends of placed pieces are and how they join: connector poses, aligning a piece to an
// end, and the joints a placement makes. Every subsystem that lays or follows track uses them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"

// Greatest distance between two connectors that can snap (and that the clash probe examines).
inline constexpr double kCaptureRadiusMm = 25.0;
// Two connectors whose headings differ by less than this point the same way and never pair.
inline constexpr double kMinTurnDeg = 20.0;
// After a snapped move, further open ends closer than this are joined as well.
inline constexpr double kJoinRadiusMm = 4.0;
// A move longer than this breaks the joints between the moved selection and the rest.
inline constexpr double kDetachDistanceMm = 1.0;

// Position of a piece's connector 0 and the heading of its local frame.
struct PiecePose {
    double x = 0;
    double y = 0;
    double heading = 0;
    bool operator==(const PiecePose&) const = default;
};

// Connector i of a and connector j of b may be joined: their track systems are equal.
bool ConnectorsCompatible(const PieceDef& a, int i, const PieceDef& b, int j);

// World poses of every connector of a placed piece, in connector order, with their open flags.
std::vector<ConnectorPose> ConnectorPoses(const PlacedPiece& piece, const PieceDef& def);

// Pose for a piece of definition `def` whose connector `k` lies on `target` and faces it;
// (0, 0, 0) when k is not a connector of def.
PiecePose AlignToConnector(const PieceDef& def, int k, const ConnectorPose& target);

// Farthest any connector of `def` lies from the piece's origin.
double PieceReachMm(const PieceDef& def);
// Farthest any connector of any catalog piece lies from its piece's origin: searches skip far
// pieces on their origin alone.
double CatalogReachMm();
// Makes a piece's joint list as long as its connector count (new entries open).
void GrowJoints(PlacedPiece& p, const PieceDef& def);

// Joins connector ca of piece a and connector cb of piece b on both pieces, opening any partner
// either end had before. False (nothing changed) when a piece or connector does not exist or
// a == b. Takes no undo snapshot.
bool JoinConnectors(LayoutDocument& doc, uint32_t a, int ca, uint32_t b, int cb);
// After a placement (drop, append, clone, paste, autofill, library block): joins every open end
// of the new pieces that lies within the join radius of a facing open end (headings at least
// 180 - kMinTurnDeg apart) of the same track system on another piece, so a chain that comes back
// to its own start closes. Each end joins at most once, the nearest partner first. Takes no undo
// snapshot (the placement took it); returns the number of joints made.
int JoinPlacedEnds(LayoutDocument& doc, std::span<const uint32_t> newPieces);
