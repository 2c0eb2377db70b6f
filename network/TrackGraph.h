// The track network: which connectors are joined, which routes lead through each piece, and the
// one step that every walk along the track (routes, profiles, running trains, checks) goes
// through.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "trackgeometry/TrackRoutes.h"
#include "model/LayoutDocument.h"

struct PieceDef;

// The connector number of a bumper's buffer end: a route ends there, and a train parked against
// the buffer leaves the piece from there.
inline constexpr int kBufferEnd = -1;

// One end of a placed piece: its id and a connector number (or kBufferEnd on a bumper).
struct GraphEnd {
    uint32_t piece = kNoId;
    int connector = 0;
    bool operator==(const GraphEnd&) const = default;
};

// Why a step along the track goes no further. The network itself reports OpenEnd, BufferStop and
// UnknownPiece; AgainstTurnout is for callers that know how the turnouts are set (a train that
// runs into a turnout by a leg the turnout is not set for).
enum class StepStop : int32_t {
    None = 0,      // the step leads on
    OpenEnd,       // the connector left by is joined to nothing
    BufferStop,    // the route ends at a bumper's buffer
    AgainstTurnout,
    UnknownPiece,  // a piece missing from the network or whose article is not in the catalog
};

// What a message says about a stop: "open end", "buffer stop", "turnout set against the train",
// "unknown piece"; empty for None.
std::string StepStopName(StepStop stop);

// One route through a piece, from connector `entry` to connector `exit` (kBufferEnd when the
// route ends at a bumper's buffer), with its centre-line length.
struct PieceRouteRef {
    int entry = 0;
    int exit = 0;
    double lengthMm = 0;
};

// Everything the network keeps about one placed piece, or one track of a helix (an id for which
// IsHelixTrackId holds, not in the document). A piece's geometry depends only on its article,
// pose, elevation and grade, so a rebuild shares it between graphs while those are unchanged.
struct GraphPiece {
    uint32_t id = kNoId;
    const PieceDef* def = nullptr;      // null when the article is not in the catalog
    std::shared_ptr<const PieceDef> ownDef;  // a helix track's record (def points to it)
    std::vector<TrackRoute> lines;      // PieceRoutes of the piece, in its own direction
    std::vector<PieceRouteRef> routes;  // every allowed (entry, exit) pair, both directions
    // The value the geometry was built from; a piece with an equal key reuses it.
    std::string article;
    double x = 0, y = 0, heading = 0, elevation = 0, grade = 0;
};

// The network of a layout: a node per connector of every placed piece, an edge per route through
// a piece, and the joints between connectors. Cheap to copy (the pieces are shared).
class TrackGraph {
public:
    // The pieces in document order.
    const std::vector<std::shared_ptr<const GraphPiece>>& Pieces() const { return pieces; }
    // The piece with this id, or null.
    const GraphPiece* Find(uint32_t pieceId) const;
    // Index of the piece in Pieces(), or -1.
    int IndexOf(uint32_t pieceId) const;
    // Number of connectors of the piece (0 when absent or unknown).
    int ConnectorCount(uint32_t pieceId) const;

    // The end entered when leaving by `end`: the joined piece and its connector, or piece kNoId
    // when the connector is open (or is a buffer end).
    GraphEnd Joined(GraphEnd end) const;
    // The routes a train may take through `piece` after entering by connector `entry`: a turnout
    // entered by its root any leg, by a leg only the root; a crossing straight across; a double
    // slip both routes on from each end; a turntable any other exit; a bumper its buffer
    // (exit kBufferEnd); a bumper entered at kBufferEnd its connector 0. Empty for unknown pieces.
    std::vector<PieceRouteRef> RoutesFrom(uint32_t pieceId, int entry) const;
    // The route's length, or a negative value when the piece has no such route.
    double RouteLength(uint32_t pieceId, int entry, int exit) const;

    // Number of pieces whose geometry was reused from the previous graph in the last build.
    size_t reusedPieces = 0;

private:
    friend TrackGraph BuildTrackGraph(const LayoutDocument& doc, const TrackGraph* previous);
    std::vector<std::shared_ptr<const GraphPiece>> pieces;
    std::unordered_map<uint32_t, int> indexById;
    // joinStart[i] .. joinStart[i + 1]: the joined ends of piece i's connectors, by number.
    std::vector<uint32_t> joinStart;
    std::vector<GraphEnd> joins;
};

// The network of the document: its pieces in document order, then the tracks of its helices,
// each joined at its ends to connector 0 of its two end pieces. With `previous` (a graph of an
// earlier state of the same document), the geometry of every piece whose article, pose,
// elevation and grade are unchanged is taken over instead of being computed again; joints are
// always read afresh.
TrackGraph BuildTrackGraph(const LayoutDocument& doc, const TrackGraph* previous = nullptr);

// One step along the track: a train leaves a piece by `leaving`. It enters the joined piece at
// `entered` and may go on by any of `routes` (RoutesFrom of the entered end); or it stops, and
// `stop` says why (OpenEnd: nothing joined; UnknownPiece: the joined piece is not known).
// A route whose exit is kBufferEnd ends at a buffer: stepping from it gives BufferStop.
struct TrackStep {
    StepStop stop = StepStop::None;
    GraphEnd entered;
    std::vector<PieceRouteRef> routes;
};
TrackStep StepFrom(const TrackGraph& graph, GraphEnd leaving);

// A route through the network.
struct RouteStep {
    uint32_t piece = kNoId;
    int entry = 0;
    int exit = 0;
    double lengthMm = 0;
    bool operator==(const RouteStep&) const = default;
};
struct Route {
    std::vector<RouteStep> steps;  // empty when there is no route
    double lengthMm = 0;
};

// The shortest route that enters piece `from.piece` by `from.connector` and leaves piece
// `to.piece` by `to.connector`, obeying the direction rule at every piece. Leaving by a bumper's
// buffer (`to.connector` kBufferEnd) ends at the buffer.
Route FindRoute(const TrackGraph& graph, GraphEnd from, GraphEnd to);
// The shortest route that runs through the whole of piece `a` first and of piece `b` last,
// entering `a` and leaving `b` by whichever connectors give the shortest; empty when none.
Route FindRouteBetween(const TrackGraph& graph, uint32_t a, uint32_t b);

// The centre line of one route through a piece, oriented from `entry` to `exit` (`along` from 0
// at the entry; heights follow the piece's elevation and grade). Empty when there is no such
// route.
TrackRoute StepLine(const TrackGraph& graph, uint32_t pieceId, int entry, int exit);
// The centre line of a whole route, its `along` measured from the route's start.
TrackRoute RouteLine(const TrackGraph& graph, const Route& route);

// A place on a centre line: position, rail height, heading of travel (degrees, world) and
// grade of travel (rise over distance, per cent).
struct LinePose {
    double x = 0;
    double y = 0;
    double heightMm = 0;
    double headingDeg = 0;
    double gradePercent = 0;
};
// The pose at `distanceMm` along the line (clamped to its ends). A line for the other direction
// of travel is StepLine with entry and exit swapped.
LinePose PoseAt(const TrackRoute& line, double distanceMm);
