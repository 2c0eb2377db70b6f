// The track network: pieces, their routes, their joints, and the shortest route through them.
#include "network/TrackGraph.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>
#include <utility>

#include "base/Geometry.h"
#include "base/Translate.h"
#include "catalog/TrackCatalog.h"
#include "network/HelixTrack.h"

namespace {

bool SameGeometry(const GraphPiece& node, const PlacedPiece& piece) {
    return node.x == piece.x && node.y == piece.y && node.heading == piece.heading &&
           node.elevation == piece.elevation && node.grade == piece.grade &&
           node.article == piece.article;
}

// The allowed routes follow from the centre lines: a line between two connectors can be run both
// ways, which gives turnouts root-to-leg and leg-to-root but never leg-to-leg. A turntable's bridge
// joins any two exits; a bumper's buffer is only reached from its connector and left towards it.
std::vector<PieceRouteRef> AllowedRoutes(const PieceDef& def, const std::vector<TrackRoute>& lines) {
    std::vector<PieceRouteRef> routes;
    if (def.kind == PieceKind::Turntable) {
        for (const TrackRoute& a : lines) {
            for (const TrackRoute& b : lines) {
                if (a.from != b.from) routes.push_back({a.from, b.from, a.Length() + b.Length()});
            }
        }
        return routes;
    }
    for (const TrackRoute& line : lines) {
        routes.push_back({line.from, line.to, line.Length()});
        routes.push_back({line.to, line.from, line.Length()});
    }
    std::stable_sort(routes.begin(), routes.end(),
                     [](const PieceRouteRef& a, const PieceRouteRef& b) { return a.entry < b.entry; });
    return routes;
}

std::shared_ptr<const GraphPiece> MakeNode(const PlacedPiece& piece) {
    auto node = std::make_shared<GraphPiece>();
    node->id = piece.id;
    node->article = piece.article;
    node->x = piece.x;
    node->y = piece.y;
    node->heading = piece.heading;
    node->elevation = piece.elevation;
    node->grade = piece.grade;
    node->def = TrackCatalog::Instance().Find(piece.article);
    if (node->def) {
        node->lines = PieceRoutes(piece, *node->def);
        node->routes = AllowedRoutes(*node->def, node->lines);
    }
    return node;
}

TrackRoute Reversed(const TrackRoute& line) {
    TrackRoute r;
    r.from = line.to;
    r.to = line.from;
    r.points.assign(line.points.rbegin(), line.points.rend());
    r.heights.assign(line.heights.rbegin(), line.heights.rend());
    const double total = line.Length();
    r.along.reserve(line.along.size());
    for (auto it = line.along.rbegin(); it != line.along.rend(); ++it) r.along.push_back(total - *it);
    r.turns.reserve(line.turns.size());
    for (auto it = line.turns.rbegin(); it != line.turns.rend(); ++it) r.turns.push_back(-*it);
    return r;
}

// Appends `tail` to `line`, dropping the point they share.
void Append(TrackRoute& line, const TrackRoute& tail) {
    if (tail.points.empty()) return;
    const double offset = line.Length();
    const size_t skip = line.points.empty() ? 0 : 1;
    // A line without turns is straight between its points.
    line.turns.resize(line.points.empty() ? 0 : line.points.size() - 1, 0.0);
    for (size_t i = skip; i < tail.points.size(); ++i) {
        line.points.push_back(tail.points[i]);
        line.heights.push_back(tail.heights[i]);
        line.along.push_back(offset + tail.along[i]);
    }
    for (size_t k = 0; k + 1 < tail.points.size(); ++k)
        line.turns.push_back(k < tail.turns.size() ? tail.turns[k] : 0.0);
}

}  // namespace

std::string StepStopName(StepStop stop) {
    switch (stop) {
        case StepStop::None:
            return "";
        case StepStop::OpenEnd:
            return Tr("open end");
        case StepStop::BufferStop:
            return Tr("buffer stop");
        case StepStop::AgainstTurnout:
            return Tr("turnout set against the train");
        case StepStop::UnknownPiece:
            return Tr("unknown piece");
    }
    return "";
}

const GraphPiece* TrackGraph::Find(uint32_t pieceId) const {
    const int i = IndexOf(pieceId);
    return i < 0 ? nullptr : pieces[i].get();
}

int TrackGraph::IndexOf(uint32_t pieceId) const {
    const auto it = indexById.find(pieceId);
    return it == indexById.end() ? -1 : it->second;
}

int TrackGraph::ConnectorCount(uint32_t pieceId) const {
    const int i = IndexOf(pieceId);
    if (i < 0 || !pieces[i]->def) return 0;
    return static_cast<int>(joinStart[i + 1] - joinStart[i]);
}

GraphEnd TrackGraph::Joined(GraphEnd end) const {
    const int i = IndexOf(end.piece);
    if (i < 0 || end.connector < 0 ||
        end.connector >= static_cast<int>(joinStart[i + 1] - joinStart[i]))
        return {kNoId, 0};
    return joins[joinStart[i] + end.connector];
}

std::vector<PieceRouteRef> TrackGraph::RoutesFrom(uint32_t pieceId, int entry) const {
    std::vector<PieceRouteRef> out;
    const GraphPiece* node = Find(pieceId);
    if (!node) return out;
    for (const PieceRouteRef& r : node->routes) {
        if (r.entry == entry) out.push_back(r);
    }
    return out;
}

double TrackGraph::RouteLength(uint32_t pieceId, int entry, int exit) const {
    const GraphPiece* node = Find(pieceId);
    if (!node) return -1;
    for (const PieceRouteRef& r : node->routes) {
        if (r.entry == entry && r.exit == exit) return r.lengthMm;
    }
    return -1;
}

TrackGraph BuildTrackGraph(const LayoutDocument& doc, const TrackGraph* previous) {
    TrackGraph g;
    g.pieces.reserve(doc.pieces.size());
    g.indexById.reserve(doc.pieces.size());
    g.joinStart.reserve(doc.pieces.size() + 1);
    g.joinStart.push_back(0);
    for (const PlacedPiece& piece : doc.pieces) {
        std::shared_ptr<const GraphPiece> node;
        if (previous) {
            const int old = previous->IndexOf(piece.id);
            if (old >= 0 && SameGeometry(*previous->pieces[old], piece)) node = previous->pieces[old];
        }
        if (node) {
            ++g.reusedPieces;
        } else {
            node = MakeNode(piece);
        }
        const int connectors = node->def ? static_cast<int>(node->def->connectors.size())
                                         : static_cast<int>(piece.joints.size());
        for (int c = 0; c < connectors; ++c) {
            if (piece.IsOpen(c)) {
                g.joins.push_back({kNoId, 0});
            } else {
                g.joins.push_back({piece.joints[c].target,
                                   static_cast<int>(piece.joints[c].targetConn)});
            }
        }
        g.joinStart.push_back(static_cast<uint32_t>(g.joins.size()));
        g.indexById.emplace(piece.id, static_cast<int>(g.pieces.size()));
        g.pieces.push_back(std::move(node));
    }
    if (doc.helices.empty()) return g;
    for (HelixTrack& t : HelixTracks(doc)) {
        const int bottom = g.IndexOf(t.bottom), top = g.IndexOf(t.top);
        if (bottom < 0 || top < 0 || g.IndexOf(t.id) >= 0) continue;
        auto node = std::make_shared<GraphPiece>();
        node->id = t.id;
        node->article = t.def->article;
        node->ownDef = std::move(t.def);
        node->def = node->ownDef.get();
        node->lines.push_back(std::move(t.line));
        node->routes = AllowedRoutes(*node->def, node->lines);
        g.joins[g.joinStart[bottom]] = {t.id, 0};
        g.joins[g.joinStart[top]] = {t.id, 1};
        g.joins.push_back({t.bottom, 0});
        g.joins.push_back({t.top, 0});
        g.joinStart.push_back(static_cast<uint32_t>(g.joins.size()));
        g.indexById.emplace(t.id, static_cast<int>(g.pieces.size()));
        g.pieces.push_back(std::move(node));
    }
    return g;
}

TrackStep StepFrom(const TrackGraph& graph, GraphEnd leaving) {
    TrackStep step;
    if (leaving.connector == kBufferEnd) {
        step.stop = StepStop::BufferStop;
        return step;
    }
    if (!graph.Find(leaving.piece)) {
        step.stop = StepStop::UnknownPiece;
        return step;
    }
    step.entered = graph.Joined(leaving);
    if (step.entered.piece == kNoId) {
        step.stop = StepStop::OpenEnd;
        return step;
    }
    const GraphPiece* next = graph.Find(step.entered.piece);
    if (!next || !next->def) {
        step.stop = StepStop::UnknownPiece;
        return step;
    }
    step.routes = graph.RoutesFrom(step.entered.piece, step.entered.connector);
    return step;
}

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();

// The route search's states, "entered piece p by connector c": one per connector of every piece
// and slot 0 for the buffer end (kBufferEnd), numbered piece by piece.
class RouteStates {
public:
    explicit RouteStates(const TrackGraph& graph) : stateStart(graph.Pieces().size() + 1, 0) {
        const auto& pieces = graph.Pieces();
        for (size_t i = 0; i < pieces.size(); ++i) {
            const size_t n = pieces[i]->def ? pieces[i]->def->connectors.size() : 0;
            stateStart[i + 1] = stateStart[i] + static_cast<uint32_t>(n + 1);
        }
    }
    size_t Count() const { return stateStart.back(); }
    uint32_t Of(int pieceIndex, int connector) const {
        return stateStart[pieceIndex] + static_cast<uint32_t>(connector + 1);
    }
    bool Valid(int pieceIndex, int connector) const {
        return connector >= kBufferEnd &&
               connector + 1 < static_cast<int>(stateStart[pieceIndex + 1] - stateStart[pieceIndex]);
    }
    int PieceOf(uint32_t s) const {
        return static_cast<int>(std::upper_bound(stateStart.begin(), stateStart.end(), s) -
                                stateStart.begin()) -
               1;
    }
    int EntryOf(uint32_t s, int piece) const { return static_cast<int>(s - stateStart[piece]) - 1; }

private:
    std::vector<uint32_t> stateStart;
};

// The search's distances and the way back from each state reached.
struct RouteTree {
    explicit RouteTree(size_t states)
        : dist(states, kInf), prevState(states, kNone), prevExit(states, 0) {}
    std::vector<double> dist;
    std::vector<uint32_t> prevState;
    std::vector<int> prevExit;
};

// The best way out of the goal piece: the route's length, the state it entered the goal by,
// and the goal's own route.
struct RouteGoal {
    double length = kInf;
    uint32_t state = kNone;
    double lastLength = 0;
    int exit = 0;
};

// Dijkstra from `starts` until no shorter way to leave `toPiece` by one of `exits` can be found.
RouteGoal SearchRoutes(const TrackGraph& graph, const RouteStates& states,
                       const std::vector<GraphEnd>& starts, uint32_t toPiece,
                       const std::vector<int>& exits, RouteTree& tree) {
    const auto& pieces = graph.Pieces();
    using Item = std::pair<double, uint32_t>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
    for (const GraphEnd& from : starts) {
        const int fromIndex = graph.IndexOf(from.piece);
        if (fromIndex < 0 || !states.Valid(fromIndex, from.connector)) continue;
        const uint32_t start = states.Of(fromIndex, from.connector);
        if (tree.dist[start] == 0) continue;
        tree.dist[start] = 0;
        queue.push({0, start});
    }
    RouteGoal best;
    while (!queue.empty()) {
        const auto [d, s] = queue.top();
        queue.pop();
        if (d > tree.dist[s]) continue;
        if (d >= best.length) break;
        const int p = states.PieceOf(s);
        const int entry = states.EntryOf(s, p);
        const GraphPiece& node = *pieces[p];
        for (const PieceRouteRef& r : node.routes) {
            if (r.entry != entry) continue;
            const double nd = d + r.lengthMm;
            if (node.id == toPiece && nd < best.length &&
                std::find(exits.begin(), exits.end(), r.exit) != exits.end())
                best = {nd, s, r.lengthMm, r.exit};
            if (r.exit == kBufferEnd) continue;
            const GraphEnd next = graph.Joined({node.id, r.exit});
            if (next.piece == kNoId) continue;
            const int q = graph.IndexOf(next.piece);
            if (q < 0 || !states.Valid(q, next.connector)) continue;
            const uint32_t ns = states.Of(q, next.connector);
            if (nd < tree.dist[ns]) {
                tree.dist[ns] = nd;
                tree.prevState[ns] = s;
                tree.prevExit[ns] = r.exit;
                queue.push({nd, ns});
            }
        }
    }
    return best;
}

// The route back from the goal to its start, put in travel order.
Route TraceRoute(const TrackGraph& graph, const RouteStates& states, const RouteTree& tree,
                 const RouteGoal& goal) {
    Route route;
    int exit = goal.exit;
    double length = goal.lastLength;
    for (uint32_t s = goal.state; s != kNone; s = tree.prevState[s]) {
        const int p = states.PieceOf(s);
        route.steps.push_back({graph.Pieces()[p]->id, states.EntryOf(s, p), exit, length});
        if (tree.prevState[s] != kNone) {
            exit = tree.prevExit[s];
            length = tree.dist[s] - tree.dist[tree.prevState[s]];
        }
    }
    std::reverse(route.steps.begin(), route.steps.end());
    route.lengthMm = goal.length;
    return route;
}

// The shortest route from any of `starts` (each a connector some piece is entered by) that leaves
// piece `toPiece` by any of `exits`: Dijkstra over the states "entered piece p by connector c",
// so the direction rule holds at every piece and nobody reverses inside one.
Route ShortestRoute(const TrackGraph& graph, const std::vector<GraphEnd>& starts, uint32_t toPiece,
                    const std::vector<int>& exits) {
    if (!graph.Find(toPiece)) return Route{};
    const RouteStates states(graph);
    RouteTree tree(states.Count());
    const RouteGoal goal = SearchRoutes(graph, states, starts, toPiece, exits, tree);
    if (goal.state == kNone) return Route{};
    return TraceRoute(graph, states, tree, goal);
}

// Every end a route can enter a piece by, which is also every end it can leave by.
std::vector<int> RouteEnds(const TrackGraph& graph, uint32_t pieceId) {
    std::vector<int> out;
    const GraphPiece* node = graph.Find(pieceId);
    if (!node) return out;
    for (const PieceRouteRef& r : node->routes) {
        if (std::find(out.begin(), out.end(), r.entry) == out.end()) out.push_back(r.entry);
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

Route FindRoute(const TrackGraph& graph, GraphEnd from, GraphEnd to) {
    return ShortestRoute(graph, {from}, to.piece, {to.connector});
}

Route FindRouteBetween(const TrackGraph& graph, uint32_t a, uint32_t b) {
    std::vector<GraphEnd> starts;
    for (int c : RouteEnds(graph, a)) starts.push_back({a, c});
    return ShortestRoute(graph, starts, b, RouteEnds(graph, b));
}

TrackRoute StepLine(const TrackGraph& graph, uint32_t pieceId, int entry, int exit) {
    const GraphPiece* node = graph.Find(pieceId);
    if (!node || !node->def || entry == exit) return {};
    for (const TrackRoute& line : node->lines) {
        if (line.from == entry && line.to == exit) return line;
        if (line.from == exit && line.to == entry) return Reversed(line);
    }
    if (node->def->kind == PieceKind::Turntable) {
        const TrackRoute* in = nullptr;
        const TrackRoute* out = nullptr;
        for (const TrackRoute& line : node->lines) {
            if (line.from == entry) in = &line;
            if (line.from == exit) out = &line;
        }
        if (!in || !out) return {};
        TrackRoute across = *in;
        Append(across, Reversed(*out));
        across.from = entry;
        across.to = exit;
        return across;
    }
    return {};
}

TrackRoute RouteLine(const TrackGraph& graph, const Route& route) {
    TrackRoute line;
    if (route.steps.empty()) return line;
    line.from = route.steps.front().entry;
    line.to = route.steps.back().exit;
    for (const RouteStep& step : route.steps) Append(line, StepLine(graph, step.piece, step.entry, step.exit));
    return line;
}

LinePose PoseAt(const TrackRoute& line, double distanceMm) {
    LinePose pose;
    const size_t n = line.points.size();
    if (n == 0) return pose;
    if (n == 1) {
        pose.x = line.points[0].x;
        pose.y = line.points[0].y;
        pose.heightMm = line.heights[0];
        return pose;
    }
    const double d = std::clamp(distanceMm, 0.0, line.Length());
    // The segment [k, k + 1] holding d; a segment of zero length is skipped.
    size_t k = static_cast<size_t>(std::upper_bound(line.along.begin(), line.along.end(), d) -
                                   line.along.begin());
    k = std::clamp<size_t>(k, 1, n - 1) - 1;
    while (k + 2 < n && line.along[k + 1] - line.along[k] <= 0) ++k;
    const double len = line.along[k + 1] - line.along[k];
    const double t = len > 0 ? std::clamp((d - line.along[k]) / len, 0.0, 1.0) : 0;
    const PointMm a = line.points[k], b = line.points[k + 1];
    // The segment is an arc turning by `turn` from a to b: it leaves a half the turn before the
    // chord's heading and turns evenly along its length.
    const double turn = (k < line.turns.size() ? line.turns[k] : 0.0) * kDegToRad;
    const double chordHeading = std::atan2(b.y - a.y, b.x - a.x);
    const double start = chordHeading - turn / 2;
    double heading = chordHeading;
    if (std::fabs(turn) < 1e-9 || len <= 0) {
        pose.x = a.x + (b.x - a.x) * t;
        pose.y = a.y + (b.y - a.y) * t;
    } else {
        const double radius = len / turn;  // signed: negative when turning right
        heading = start + turn * t;
        pose.x = a.x + radius * (std::sin(heading) - std::sin(start));
        pose.y = a.y - radius * (std::cos(heading) - std::cos(start));
    }
    pose.heightMm = line.heights[k] + (line.heights[k + 1] - line.heights[k]) * t;
    pose.headingDeg = std::fmod(heading / kDegToRad, 360.0);
    if (pose.headingDeg < 0) pose.headingDeg += 360;
    if (pose.headingDeg >= 360) pose.headingDeg = 0;
    pose.gradePercent = len > 0 ? (line.heights[k + 1] - line.heights[k]) / len * 100 : 0;
    return pose;
}
