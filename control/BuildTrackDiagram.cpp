// The track diagram: nodes placed by plan order, runs routed on the grid, then compacted.
#include "control/BuildTrackDiagram.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <queue>
#include <set>
#include <tuple>
#include <unordered_map>

#include "control/ControlPlan.h"
#include "control/IsDiagramNode.h"
#include "model/LayoutDocument.h"
#include "network/HelixTrack.h"
#include "network/TrackGraph.h"

DiagramSide OppositeSide(DiagramSide side) {
    if (side == DiagramSide::None) return side;
    return static_cast<DiagramSide>((static_cast<int>(side) + 2) % 4);
}

DiagramSide ClockwiseSide(DiagramSide side) {
    if (side == DiagramSide::None) return side;
    return static_cast<DiagramSide>((static_cast<int>(side) + 1) % 4);
}

void StepToSide(DiagramSide side, int& x, int& y) {
    switch (side) {
        case DiagramSide::North:
            --y;
            break;
        case DiagramSide::East:
            ++x;
            break;
        case DiagramSide::South:
            ++y;
            break;
        case DiagramSide::West:
            --x;
            break;
        case DiagramSide::None:
            break;
    }
}

bool HasSide(const DiagramCell& cell, DiagramSide side) {
    if (side == DiagramSide::None) return false;
    for (const auto& [a, b] : cell.tracks)
        if (a == side || b == side) return true;
    return false;
}

const DiagramCell* TrackDiagram::At(int x, int y) const {
    auto it = std::lower_bound(
        cells.begin(), cells.end(), std::pair(y, x),
        [](const DiagramCell& c, std::pair<int, int> key) { return std::pair(c.y, c.x) < key; });
    return it != cells.end() && it->x == x && it->y == y ? &*it : nullptr;
}

namespace {

constexpr DiagramSide kSides[4] = {DiagramSide::North, DiagramSide::East, DiagramSide::South,
                                   DiagramSide::West};

// The side a plan direction (y downwards, as on the diagram) points to.
DiagramSide SideOf(double dx, double dy) {
    if (std::fabs(dx) >= std::fabs(dy)) return dx >= 0 ? DiagramSide::East : DiagramSide::West;
    return dy >= 0 ? DiagramSide::South : DiagramSide::North;
}

double Turn(const TrackRoute& line) {
    double sum = 0;
    for (double t : line.turns) sum += t;
    return sum;
}

// True when c lies to the right of travel from a to b (y downwards).
bool RightOf(PointMm a, PointMm b, PointMm c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) > 0;
}

// The scale of a track system against H0: 1 for H0, 87/220 for Z, 87/160 for N.
double SizeAgainstH0(TrackSystem system) {
    switch (system) {
        case TrackSystem::MarklinZ:
        case TrackSystem::RokuhanZ:
            return 87.0 / 220;
        case TrackSystem::MinitrixN:
        case TrackSystem::KatoN:
            return 87.0 / 160;
        default:
            return 1;
    }
}

enum class Kind { Plain, Node, Skip };

Kind KindOf(const GraphPiece& gp) {
    if (!gp.def || gp.def->kind == PieceKind::Turntable) return Kind::Skip;
    if (IsDiagramNode(gp.def->kind)) return Kind::Node;
    return gp.def->connectors.size() == 2 ? Kind::Plain : Kind::Skip;
}

// A turnout, crossing, slip or bumper, or an open end where plain track stops (piece kNoId).
struct Node {
    uint32_t piece = kNoId;
    DiagramSymbol symbol = DiagramSymbol::Straight;
    PointMm at;
    std::vector<DiagramSide> sides;  // per connector
    std::vector<std::pair<DiagramSide, DiagramSide>> tracks;
    std::vector<int> runs;  // per connector; -1 when the connector is open
    int gx = 0, gy = 0;
};

// Plain track between two node connectors (connector -1 at an open end).
struct Run {
    int a = -1, b = -1;
    int connA = -1, connB = -1;
    std::vector<uint32_t> pieces;  // placed pieces, from a to b
    int32_t level = 1;
    double elevation = 0;  // highest piece
    double lowest = 0;
    bool helix = false;
    std::vector<std::pair<int, int>> path;  // cells, from a to b
};

std::vector<PointMm> Ends(const GraphPiece& gp, PointMm* buffer = nullptr) {
    const int n = gp.def ? static_cast<int>(gp.def->connectors.size()) : 0;
    std::vector<PointMm> ends(n);
    for (const TrackRoute& r : gp.lines) {
        if (r.points.empty()) continue;
        if (r.from >= 0 && r.from < n) ends[r.from] = r.points.front();
        if (r.to >= 0 && r.to < n) ends[r.to] = r.points.back();
        if (r.to < 0 && buffer) *buffer = r.points.back();
    }
    return ends;
}

// The connector whose route from k turns least.
int Straightest(const GraphPiece& gp, int k) {
    int best = -1;
    double bestTurn = 1e9;
    for (const TrackRoute& r : gp.lines) {
        const int other = r.from == k ? r.to : r.to == k ? r.from : -1;
        if (other < 0) continue;
        if (std::fabs(Turn(r)) < bestTurn) bestTurn = std::fabs(Turn(r)), best = other;
    }
    return best;
}

// A crossing or double slip: connector 0 and the one its straightest route leads to face each
// other, the other two cross them.
bool OrientCrossing(const GraphPiece& gp, const std::vector<PointMm>& ends, Node& node) {
    const int n = static_cast<int>(ends.size());
    if (n < 4) return false;
    node.symbol =
        gp.def->kind == PieceKind::Crossing ? DiagramSymbol::Crossing : DiagramSymbol::DoubleSlip;
    const int a = 0, c = Straightest(gp, 0);
    int b = -1;
    for (int k = 1; k < n && b < 0; ++k)
        if (k != c) b = k;
    if (c < 0 || b < 0) return false;
    const int d = 6 - a - b - c;
    node.sides[c] = SideOf(ends[c].x - ends[a].x, ends[c].y - ends[a].y);
    node.sides[a] = OppositeSide(node.sides[c]);
    const DiagramSide right = ClockwiseSide(node.sides[c]);
    node.sides[b] = RightOf(ends[a], ends[c], ends[b]) ? right : OppositeSide(right);
    node.sides[d] = OppositeSide(node.sides[b]);
    return true;
}

// A turnout: the straight leg turns least; the others leave to the side they diverge to.
bool OrientTurnout(const GraphPiece& gp, const std::vector<PointMm>& ends, Node& node) {
    const int n = static_cast<int>(ends.size());
    const int straight = Straightest(gp, 0);
    if (straight < 0) return false;
    node.sides[straight] = SideOf(ends[straight].x - ends[0].x, ends[straight].y - ends[0].y);
    node.sides[0] = OppositeSide(node.sides[straight]);
    const DiagramSide right = ClockwiseSide(node.sides[straight]);
    std::vector<int> legs;
    for (int k = 1; k < n; ++k)
        if (k != straight) legs.push_back(k);
    if (legs.empty()) return false;
    if (legs.size() == 1) {
        const bool r = RightOf(ends[0], ends[straight], ends[legs[0]]);
        node.sides[legs[0]] = r ? right : OppositeSide(right);
        node.symbol = r ? DiagramSymbol::TurnoutRight : DiagramSymbol::TurnoutLeft;
    } else {
        // A three-way turnout: the leg further right goes right.
        int l = legs[0], r = legs[1];
        if (RightOf(ends[0], ends[straight], ends[l]) && !RightOf(ends[0], ends[straight], ends[r]))
            std::swap(l, r);
        node.sides[r] = right;
        node.sides[l] = OppositeSide(right);
        node.symbol = DiagramSymbol::ThreeWay;
    }
    return true;
}

// The cell's tracks are the piece's routes, the straight leg's route first.
void AddNodeTracks(const GraphPiece& gp, Node& node) {
    for (const TrackRoute& r : gp.lines) {
        const DiagramSide to = r.to < 0 ? DiagramSide::None : node.sides[r.to];
        std::pair<DiagramSide, DiagramSide> t(node.sides[r.from], to);
        if (node.symbol != DiagramSymbol::Bumper && r.from != 0 &&
            node.symbol != DiagramSymbol::Crossing && node.symbol != DiagramSymbol::DoubleSlip)
            std::swap(t.first, t.second);
        if (std::find(node.tracks.begin(), node.tracks.end(), t) == node.tracks.end() &&
            std::find(node.tracks.begin(), node.tracks.end(), std::pair(t.second, t.first)) ==
                node.tracks.end())
            node.tracks.push_back(t);
    }
    std::stable_sort(node.tracks.begin(), node.tracks.end(), [](auto& p, auto& q) {
        return (p.second == OppositeSide(p.first)) > (q.second == OppositeSide(q.first));
    });
}

// A turnout, crossing, double slip or bumper turned onto the grid: the side each connector
// leaves by and the cell's tracks. False for a piece that is none of them.
bool Orient(const GraphPiece& gp, Node& node) {
    if (KindOf(gp) != Kind::Node) return false;
    PointMm buffer;
    const std::vector<PointMm> ends = Ends(gp, &buffer);
    const int n = static_cast<int>(ends.size());
    node.piece = gp.id;
    node.sides.assign(n, DiagramSide::None);
    node.runs.assign(n, -1);
    for (const PointMm& e : ends) node.at.x += e.x / n, node.at.y += e.y / n;
    const PieceKind pk = gp.def->kind;
    if (pk == PieceKind::Bumper) {
        node.symbol = DiagramSymbol::Bumper;
        node.sides[0] = SideOf(ends[0].x - buffer.x, ends[0].y - buffer.y);
    } else if (pk == PieceKind::Crossing || pk == PieceKind::DoubleSlip) {
        if (!OrientCrossing(gp, ends, node)) return false;
    } else if (!OrientTurnout(gp, ends, node)) {
        return false;
    }
    AddNodeTracks(gp, node);
    return true;
}

struct Grid {
    int w = 0, h = 0;
    std::vector<DiagramCell> cells;
    std::vector<char> used;
    std::vector<int> reserved;  // -1 free; a run's leg; -2 an open end
    std::vector<int> runOf;     // the run whose straight a cell holds
    int Index(int x, int y) const { return y * w + x; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
};

class DiagramBuilder {
public:
    DiagramBuilder(const LayoutDocument& doc, const TrackGraph& graph, const DiagramOptions& o)
        : doc_(doc), graph_(graph), o_(o) {}

    TrackDiagram Build() {
        CollectNodes();
        CollectRuns();
        Place();
        Route();
        Spread();
        return Finish();
    }

private:
    // --- the network, contracted -------------------------------------------------------

    void CollectNodes() {
        double size = 0;
        for (const auto& shared : graph_.Pieces()) {
            const GraphPiece& gp = *shared;
            const Kind kind = KindOf(gp);
            kinds_.push_back(kind);
            if (kind != Kind::Node) continue;
            if (!size) size = SizeAgainstH0(gp.def->system);
            Node node;
            if (!Orient(gp, node)) continue;
            nodeOf_[gp.id] = static_cast<int>(nodes_.size());
            nodes_.push_back(std::move(node));
        }
        tolerance_ = o_.sameLineMm * (size ? size : 1);
    }

    Kind KindOfId(uint32_t id) const {
        const int i = graph_.IndexOf(id);
        return i < 0 ? Kind::Skip : kinds_[i];
    }

    // Adds a piece to a run: its height and level decide where the run may cross others.
    void AddToRun(Run& run, uint32_t id) {
        if (IsHelixTrackId(id)) {
            run.helix = true;
            return;
        }
        const PlacedPiece* p = doc_.FindPiece(id);
        if (!p) return;
        if (run.pieces.empty()) run.level = p->level, run.lowest = run.elevation = p->elevation;
        run.elevation = std::max(run.elevation, p->elevation);
        run.lowest = std::min(run.lowest, p->elevation);
        run.pieces.push_back(id);
    }

    // An open end at the connector `conn` of piece `id`: a node of its own.
    int OpenEnd(uint32_t id, int conn) {
        Node node;
        const GraphPiece* gp = graph_.Find(id);
        if (gp) {
            const std::vector<PointMm> ends = Ends(*gp);
            if (conn >= 0 && conn < static_cast<int>(ends.size())) node.at = ends[conn];
        }
        nodes_.push_back(node);
        return static_cast<int>(nodes_.size()) - 1;
    }

    // Walks plain track from leaving `from` on; ends the run at a node's connector or an open
    // end.
    void Walk(Run& run, GraphEnd from) {
        GraphEnd cur = from;
        for (;;) {
            const GraphEnd j = graph_.Joined(cur);
            if (j.piece != kNoId) {
                auto it = nodeOf_.find(j.piece);
                if (it != nodeOf_.end()) {
                    run.b = it->second;
                    run.connB = j.connector;
                    return;
                }
                const int index = graph_.IndexOf(j.piece);
                if (KindOfId(j.piece) == Kind::Plain && !visited_[index]) {
                    visited_[index] = 1;
                    AddToRun(run, j.piece);
                    cur = GraphEnd{j.piece, 1 - j.connector};
                    continue;
                }
            }
            run.b = OpenEnd(cur.piece, cur.connector);
            return;
        }
    }

    void CollectRuns() {
        visited_.assign(graph_.Pieces().size(), 0);
        const size_t realNodes = nodes_.size();
        for (size_t n = 0; n < realNodes; ++n) {
            for (size_t c = 0; c < nodes_[n].sides.size(); ++c) {
                if (nodes_[n].runs[c] >= 0) continue;
                const GraphEnd j = graph_.Joined(GraphEnd{nodes_[n].piece, static_cast<int>(c)});
                if (j.piece == kNoId) continue;  // an open leg: its cell stays empty
                Run run;
                run.a = static_cast<int>(n);
                run.connA = static_cast<int>(c);
                if (const PlacedPiece* p = doc_.FindPiece(nodes_[n].piece)) run.level = p->level;
                Walk(run, GraphEnd{nodes_[n].piece, static_cast<int>(c)});
                AddRun(std::move(run));
            }
        }
        // Plain track joined to no node: lines between two open ends, and rings.
        const auto& pieces = graph_.Pieces();
        for (size_t i = 0; i < pieces.size(); ++i) {
            if (kinds_[i] != Kind::Plain || visited_[i]) continue;
            const uint32_t id = pieces[i]->id;
            // Back to one end of the line, or round to the start of a ring.
            GraphEnd cur{id, 0};
            bool ring = false;
            for (size_t guard = 0; guard <= pieces.size(); ++guard) {
                const GraphEnd j = graph_.Joined(cur);
                if (j.piece == kNoId || KindOfId(j.piece) != Kind::Plain) break;
                if (j.piece == id) {
                    ring = true;
                    break;
                }
                cur = GraphEnd{j.piece, 1 - j.connector};
            }
            if (ring) {
                Ring(id);
                continue;
            }
            Run run;
            // cur leaves the line's first piece at its open end.
            visited_[graph_.IndexOf(cur.piece)] = 1;
            run.a = OpenEnd(cur.piece, cur.connector);
            AddToRun(run, cur.piece);
            Walk(run, GraphEnd{cur.piece, 1 - cur.connector});
            if (!run.pieces.empty()) AddRun(std::move(run));
        }
    }

    // A plain piece of a ring that stands for the ring's place on the plan: a node whose cell is
    // a straight, turned as the piece runs.
    int Waypoint(GraphEnd leaving) {
        const GraphPiece& gp = *graph_.Find(leaving.piece);
        const std::vector<PointMm> ends = Ends(gp);
        const int f = leaving.connector, b = 1 - f;
        Node node;
        node.piece = gp.id;
        node.sides.assign(2, DiagramSide::None);
        node.runs.assign(2, -1);
        node.sides[f] = SideOf(ends[f].x - ends[b].x, ends[f].y - ends[b].y);
        node.sides[b] = OppositeSide(node.sides[f]);
        node.tracks = {{node.sides[0], node.sides[1]}};
        node.at = PointMm{(ends[0].x + ends[1].x) / 2, (ends[0].y + ends[1].y) / 2};
        visited_[graph_.IndexOf(gp.id)] = 1;
        nodeOf_[gp.id] = static_cast<int>(nodes_.size());
        nodes_.push_back(std::move(node));
        return static_cast<int>(nodes_.size()) - 1;
    }

    // A ring of plain track joined to no node: its pieces furthest left and right become
    // waypoints placed by plan order like nodes, and the two runs between them are routed as any
    // others.
    void Ring(uint32_t first) {
        std::vector<GraphEnd> order{GraphEnd{first, 1}};
        for (;;) {
            const GraphEnd j = graph_.Joined(order.back());
            if (j.piece == first) break;
            order.push_back(GraphEnd{j.piece, 1 - j.connector});
        }
        std::vector<size_t> placed;
        for (size_t k = 0; k < order.size(); ++k)
            if (doc_.FindPiece(order[k].piece)) placed.push_back(k);
        if (placed.empty()) return;
        // The pieces furthest left and furthest right, in the order round the ring.
        auto x = [&](size_t k) {
            const GraphPiece& gp = *graph_.Find(order[k].piece);
            const std::vector<PointMm> e = Ends(gp);
            return (e[0].x + e[1].x) / 2;
        };
        size_t left = placed[0], right = placed[0];
        for (size_t k : placed) {
            if (x(k) < x(left)) left = k;
            if (x(k) > x(right)) right = k;
        }
        std::vector<size_t> chosen{std::min(left, right)};
        if (left != right) chosen.push_back(std::max(left, right));
        std::vector<std::pair<int, int>> waypoints;  // node, connector it is left by
        for (size_t k : chosen) waypoints.emplace_back(Waypoint(order[k]), order[k].connector);
        for (const auto& [node, conn] : waypoints) {
            Run run;
            run.a = node;
            run.connA = conn;
            if (const PlacedPiece* p = doc_.FindPiece(nodes_[node].piece)) run.level = p->level;
            Walk(run, GraphEnd{nodes_[node].piece, conn});
            AddRun(std::move(run));
        }
    }

    void AddRun(Run run) {
        const int index = static_cast<int>(runs_.size());
        if (run.connA >= 0) nodes_[run.a].runs[run.connA] = index;
        if (run.connB >= 0) nodes_[run.b].runs[run.connB] = index;
        runs_.push_back(std::move(run));
    }

    // --- placement ---------------------------------------------------------------------

    // The rank of every node along one axis, values closer than the tolerance sharing one.
    std::vector<int> Ranks(bool alongX, int& count) const {
        std::vector<int> order(nodes_.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
        auto value = [&](int i) { return alongX ? nodes_[i].at.x : nodes_[i].at.y; };
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return value(a) < value(b); });
        std::vector<int> rank(nodes_.size(), 0);
        count = 0;
        double start = 0;
        for (size_t k = 0; k < order.size(); ++k) {
            const double v = value(order[k]);
            if (k == 0 || v - start > tolerance_) ++count, start = v;
            rank[order[k]] = count - 1;
        }
        return rank;
    }

    bool CellFree(int x, int y) const {
        if (!grid_.Inside(x, y)) return false;
        const int i = grid_.Index(x, y);
        return !grid_.used[i] && grid_.reserved[i] == -1;
    }

    // Whether node n fits at (x, y): its cell and the cells its legs lead into are free.
    bool Fits(const Node& node, int x, int y) const {
        if (x < 1 || y < 1 || x >= grid_.w - 1 || y >= grid_.h - 1 || !CellFree(x, y)) return false;
        for (size_t c = 0; c < node.sides.size(); ++c) {
            int ex = x, ey = y;
            StepToSide(node.sides[c], ex, ey);
            // A leg joined straight to a placed node's leg may share the cell between them.
            const bool shared = grid_.Inside(ex, ey) && node.runs[c] >= 0 &&
                                !grid_.used[grid_.Index(ex, ey)] &&
                                grid_.reserved[grid_.Index(ex, ey)] == node.runs[c];
            if (!shared && !CellFree(ex, ey)) return false;
        }
        return true;
    }

    void Place() {
        int columns = 0, rows = 0;
        const std::vector<int> cx = Ranks(true, columns), cy = Ranks(false, rows);
        constexpr int kMargin = 6;
        grid_.w = columns * 3 + 2 * kMargin;
        grid_.h = rows * 2 + 2 * kMargin;
        const size_t size = static_cast<size_t>(grid_.w) * grid_.h;
        grid_.cells.assign(size, DiagramCell{});
        grid_.used.assign(size, 0);
        grid_.reserved.assign(size, -1);
        grid_.runOf.assign(size, -1);
        std::vector<int> order(nodes_.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return std::pair(cx[a], cy[a]) < std::pair(cx[b], cy[b]);
        });
        // Alternatives nearest first, moves along the column before moves along the row.
        std::vector<std::pair<int, int>> offsets;
        for (int d = 0; d <= 12; ++d)
            for (int dx = 0; dx <= d; ++dx)
                for (int sx : {1, -1})
                    for (int sy : {1, -1}) {
                        const int dy = d - dx;
                        if ((dx == 0 && sx < 0) || (dy == 0 && sy < 0)) continue;
                        offsets.emplace_back(dx * sx, dy * sy);
                    }
        for (int n : order) {
            Node& node = nodes_[n];
            const int x0 = kMargin + cx[n] * 3, y0 = kMargin + cy[n] * 2;
            node.gx = node.gy = -1;
            for (const auto& [dx, dy] : offsets)
                if (Fits(node, x0 + dx, y0 + dy)) {
                    node.gx = x0 + dx, node.gy = y0 + dy;
                    break;
                }
            if (node.gx < 0) continue;  // no room: its runs become links
            const int i = grid_.Index(node.gx, node.gy);
            if (node.piece == kNoId) {
                grid_.reserved[i] = -2;
                continue;
            }
            grid_.used[i] = 1;
            DiagramCell& cell = grid_.cells[i];
            cell.x = node.gx, cell.y = node.gy;
            cell.symbol = node.symbol;
            cell.tracks = node.tracks;
            cell.pieces = {node.piece};
            if (const AccessoryAddress* a = doc_.control.Find(node.piece))
                cell.address = a->address;
            for (size_t c = 0; c < node.sides.size(); ++c) {
                int ex = node.gx, ey = node.gy;
                StepToSide(node.sides[c], ex, ey);
                grid_.reserved[grid_.Index(ex, ey)] = node.runs[c] >= 0 ? node.runs[c] : -2;
            }
        }
    }

    // --- routing -----------------------------------------------------------------------

    // Two runs may cross at different heights: on other levels, through a helix, one higher
    // than the other by a clearance, or one climbing by as much (over or under the other).
    bool MayCross(int a, int b) const {
        const Run &r = runs_[a], &s = runs_[b];
        const double clearance = tolerance_;
        return r.helix || s.helix || r.level != s.level ||
               std::fabs(r.elevation - s.elevation) >= clearance ||
               r.elevation - r.lowest >= clearance || s.elevation - s.lowest >= clearance;
    }

    struct Step {
        int x, y;
        DiagramSide entry, exit;
    };

    // The start cells of a run at one end: the cell its leg leads into, or the four cells
    // around an open end.
    void RunEnds(const Run& run, bool first, std::vector<Step>& out, int& tx, int& ty) const {
        const int n = first ? run.a : run.b;
        const int conn = first ? run.connA : run.connB;
        const Node& node = nodes_[n];
        out.clear();
        tx = node.gx, ty = node.gy;
        if (node.gx < 0) return;
        if (conn >= 0) {
            int x = node.gx, y = node.gy;
            StepToSide(node.sides[conn], x, y);
            out.push_back({x, y, OppositeSide(node.sides[conn]), DiagramSide::None});
            tx = x, ty = y;
            return;
        }
        for (DiagramSide s : kSides) {
            int x = node.gx, y = node.gy;
            StepToSide(s, x, y);
            out.push_back({x, y, OppositeSide(s), DiagramSide::None});
        }
    }

    // Whether run r may lay track from `entry` to `exit` in the cell; sets `cross` when it
    // passes under another run's straight.
    bool Enterable(int r, int x, int y, DiagramSide entry, DiagramSide exit, bool& cross) const {
        cross = false;
        if (!grid_.Inside(x, y)) return false;
        const int i = grid_.Index(x, y);
        if (!grid_.used[i]) return grid_.reserved[i] == -1 || grid_.reserved[i] == r;
        const DiagramCell& c = grid_.cells[i];
        if (c.symbol != DiagramSymbol::Straight || c.tracks.size() != 1 ||
            exit != OppositeSide(entry) || HasSide(c, entry) || grid_.runOf[i] < 0 ||
            grid_.runOf[i] == r || !MayCross(r, grid_.runOf[i]))
            return false;
        cross = true;
        return true;
    }

    // Where a run's path ends: on the goal leg's cell leaving by `exit`, or (an open end)
    // stepping into the cell (x, y).
    struct PathGoal {
        int x, y;
        bool leg;
        DiagramSide exit;
    };

    // The search's per-state tables, sized to the grid; a new epoch forgets the last search.
    void StartSearch() {
        const size_t states = static_cast<size_t>(grid_.w) * grid_.h * 4;
        if (cost_.size() != states) {
            cost_.assign(states, 0);
            parent_.assign(states, -1);
            stamp_.assign(states, 0);
        }
        ++epoch_;
    }

    // The cheapest path of run r from any of `starts` to the goal over states of a cell and the
    // side it is entered by, bends and crossings costing extra; empty when there is none.
    std::vector<Step> SearchPath(int r, const std::vector<Step>& starts, const PathGoal& goal) {
        StartSearch();
        using Item = std::tuple<int, int, int>;  // estimate, cost, state
        std::priority_queue<Item, std::vector<Item>, std::greater<Item>> open;
        auto key = [&](int x, int y, DiagramSide entry) {
            return (grid_.Index(x, y)) * 4 + static_cast<int>(entry);
        };
        auto estimate = [&](int x, int y) { return std::abs(x - goal.x) + std::abs(y - goal.y); };
        for (const Step& s : starts) {
            if (!grid_.Inside(s.x, s.y)) continue;
            const int k = key(s.x, s.y, s.entry);
            stamp_[k] = epoch_, cost_[k] = 0, parent_[k] = -1;
            open.emplace(estimate(s.x, s.y), 0, k);
        }
        constexpr int kBend = 3, kCross = 2;
        int expansions = 0;
        while (!open.empty() && expansions < 400000) {
            const auto [f, g, k] = open.top();
            open.pop();
            if (stamp_[k] != epoch_ || g > cost_[k]) continue;
            ++expansions;
            const int cell = k / 4, x = cell % grid_.w, y = cell / grid_.w;
            const DiagramSide entry = static_cast<DiagramSide>(k % 4);
            for (DiagramSide exit : kSides) {
                if (exit == entry) continue;
                bool cross = false;
                if (!Enterable(r, x, y, entry, exit, cross)) continue;
                int nx = x, ny = y;
                StepToSide(exit, nx, ny);
                if (goal.leg ? (x == goal.x && y == goal.y && exit == goal.exit)
                             : (nx == goal.x && ny == goal.y))
                    return TracePath(k, exit);
                if (!grid_.Inside(nx, ny)) continue;
                const int cost =
                    g + 1 + (exit != OppositeSide(entry) ? kBend : 0) + (cross ? kCross : 0);
                const int nk = key(nx, ny, OppositeSide(exit));
                if (stamp_[nk] == epoch_ && cost_[nk] <= cost) continue;
                stamp_[nk] = epoch_, cost_[nk] = cost, parent_[nk] = k;
                open.emplace(cost + estimate(nx, ny), cost, nk);
            }
        }
        return {};
    }

    // Back from the goal state; the exit of each cell is the entry of the next one reversed.
    std::vector<Step> TracePath(int goalState, DiagramSide lastExit) const {
        std::vector<Step> path;
        DiagramSide exit = lastExit;
        for (int k = goalState; k >= 0; k = parent_[k]) {
            const int cell = k / 4;
            const DiagramSide entry = static_cast<DiagramSide>(k % 4);
            path.push_back({cell % grid_.w, cell / grid_.w, entry, exit});
            exit = OppositeSide(entry);
        }
        std::reverse(path.begin(), path.end());
        return path;
    }

    // Lays run r's track along the path: plain cells, or an underpass where it passes under
    // another run's straight.
    void LayPath(int r, const std::vector<Step>& path) {
        Run& run = runs_[r];
        for (const Step& s : path) {
            const int i = grid_.Index(s.x, s.y);
            DiagramCell& c = grid_.cells[i];
            if (grid_.used[i]) {
                c.symbol = DiagramSymbol::Underpass;
                c.tracks.emplace_back(s.entry, s.exit);
                grid_.runOf[i] = -1;
            } else {
                grid_.used[i] = 1;
                c.x = s.x, c.y = s.y;
                c.symbol = s.exit == OppositeSide(s.entry) ? DiagramSymbol::Straight
                                                           : DiagramSymbol::Curve;
                c.tracks = {{s.entry, s.exit}};
                grid_.runOf[i] = r;
            }
            run.path.emplace_back(s.x, s.y);
        }
    }

    bool RoutePath(int r) {
        const Run& run = runs_[r];
        std::vector<Step> starts, goals;
        int sx, sy, tx, ty;
        RunEnds(run, true, starts, sx, sy);
        RunEnds(run, false, goals, tx, ty);
        if (starts.empty() || goals.empty()) return false;
        const bool goalIsLeg = run.connB >= 0;
        // The open end's own cell is what an open-ended run reaches.
        const PathGoal goal{goalIsLeg ? goals[0].x : nodes_[run.b].gx,
                            goalIsLeg ? goals[0].y : nodes_[run.b].gy, goalIsLeg,
                            goalIsLeg ? goals[0].entry : DiagramSide::None};
        const std::vector<Step> path = SearchPath(r, starts, goal);
        if (path.empty()) return false;
        std::set<std::pair<int, int>> seen;
        for (const Step& s : path)
            if (!seen.insert({s.x, s.y}).second) return false;  // it would cross itself
        LayPath(r, path);
        return true;
    }

    // A run that found no path: a link at each end, named alike.
    void LinkRun(int r) {
        Run& run = runs_[r];
        const std::string name = "L" + std::to_string(++links_);
        for (int end = 0; end < 2; ++end) {
            const int n = end == 0 ? run.a : run.b;
            const int conn = end == 0 ? run.connA : run.connB;
            const Node& node = nodes_[n];
            if (node.gx < 0) continue;
            int x = node.gx, y = node.gy;
            DiagramSide side = DiagramSide::West;
            if (conn >= 0) {
                StepToSide(node.sides[conn], x, y);
                side = OppositeSide(node.sides[conn]);
            }
            const int i = grid_.Index(x, y);
            if (grid_.used[i]) continue;
            grid_.used[i] = 1;
            DiagramCell& c = grid_.cells[i];
            c.x = x, c.y = y;
            c.symbol = DiagramSymbol::Link;
            c.tracks = {{side, DiagramSide::None}};
            c.text = name;
            run.path.emplace_back(x, y);
        }
    }

    void Route() {
        std::vector<int> order;
        std::vector<int> length(runs_.size(), 0);
        for (size_t r = 0; r < runs_.size(); ++r) {
            const Node &a = nodes_[runs_[r].a], &b = nodes_[runs_[r].b];
            length[r] = std::abs(a.gx - b.gx) + std::abs(a.gy - b.gy);
            order.push_back(static_cast<int>(r));
        }
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return length[a] < length[b]; });
        for (int r : order)
            if (!RoutePath(r)) LinkRun(r);
    }

    // --- pieces and contacts -----------------------------------------------------------

    void Spread() {
        std::unordered_map<uint32_t, size_t> sectionOf;
        for (size_t s = 0; s < o_.sections.size(); ++s)
            for (uint32_t p : o_.sections[s].pieces) sectionOf.emplace(p, s);
        for (Run& run : runs_) {
            const size_t n = run.pieces.size(), m = run.path.size();
            if (m == 0) continue;
            for (size_t k = 0; k < n; ++k) {
                const auto [x, y] = run.path[std::min(m - 1, k * m / n)];
                grid_.cells[grid_.Index(x, y)].pieces.push_back(run.pieces[k]);
            }
            // One contact per detection section the run passes, on a straight holding its track.
            std::set<size_t> marked;
            for (const auto& [x, y] : run.path) {
                DiagramCell& c = grid_.cells[grid_.Index(x, y)];
                if (c.symbol != DiagramSymbol::Straight) continue;
                for (uint32_t p : c.pieces) {
                    auto it = sectionOf.find(p);
                    if (it == sectionOf.end() || !marked.insert(it->second).second) continue;
                    c.symbol = DiagramSymbol::Contact;
                    c.address = o_.sections[it->second].contact;
                    c.text = o_.sections[it->second].name;
                    break;
                }
            }
        }
    }

    // --- the result --------------------------------------------------------------------

    TrackDiagram Finish() {
        std::vector<DiagramCell> cells;
        for (size_t i = 0; i < grid_.used.size(); ++i)
            if (grid_.used[i]) cells.push_back(grid_.cells[i]);
        Compact(cells, true);
        Compact(cells, false);
        TrackDiagram d;
        if (cells.empty()) return d;
        int x0 = cells[0].x, y0 = cells[0].y, x1 = x0, y1 = y0;
        for (const DiagramCell& c : cells) {
            x0 = std::min(x0, c.x), y0 = std::min(y0, c.y);
            x1 = std::max(x1, c.x), y1 = std::max(y1, c.y);
        }
        for (DiagramCell& c : cells) c.x -= x0, c.y -= y0;
        std::sort(cells.begin(), cells.end(), [](const DiagramCell& a, const DiagramCell& b) {
            return std::pair(a.y, a.x) < std::pair(b.y, b.x);
        });
        d.width = x1 - x0 + 1;
        d.height = y1 - y0 + 1;
        d.cells = std::move(cells);
        return d;
    }

    // Removes the columns (or rows) that hold nothing but straight track across them standing
    // for no piece, and empty ones whose removal joins no two tracks.
    static void Compact(std::vector<DiagramCell>& cells, bool columns) {
        if (cells.empty()) return;
        auto along = [&](const DiagramCell& c) { return columns ? c.x : c.y; };
        auto across = [&](const DiagramCell& c) { return columns ? c.y : c.x; };
        const DiagramSide before = columns ? DiagramSide::West : DiagramSide::North;
        const DiagramSide after = OppositeSide(before);
        int lo = along(cells[0]), hi = lo;
        for (const DiagramCell& c : cells) lo = std::min(lo, along(c)), hi = std::max(hi, along(c));
        // Track ends on each line: which lines have a side facing the line after.
        std::map<int, std::set<int>> facingAfter, facingBefore;
        for (const DiagramCell& c : cells) {
            if (HasSide(c, after)) facingAfter[along(c)].insert(across(c));
            if (HasSide(c, before)) facingBefore[along(c)].insert(across(c));
        }
        std::map<int, std::vector<const DiagramCell*>> byLine;
        for (const DiagramCell& c : cells) byLine[along(c)].push_back(&c);
        int prevKept = lo - 1;
        std::set<int> gone;
        for (int l = lo; l <= hi; ++l) {
            bool ok = true;
            for (const DiagramCell* c : byLine[l]) {
                if (!(c->symbol == DiagramSymbol::Straight && c->tracks.size() == 1 &&
                      HasSide(*c, before) && c->pieces.empty()))
                    ok = false;
            }
            // Where the line is empty, the kept line before and the next line must not both
            // have track facing it there.
            if (ok) {
                const int next = l + 1;
                std::set<int> occupied;
                for (const DiagramCell* c : byLine[l]) occupied.insert(across(*c));
                for (int a : facingAfter[prevKept])
                    if (!occupied.count(a) && facingBefore[next].count(a)) ok = false;
            }
            if (ok && l != lo && l != hi) {
                gone.insert(l);
            } else {
                prevKept = l;
            }
        }
        if (gone.empty()) return;
        std::vector<DiagramCell> kept;
        for (DiagramCell& c : cells) {
            if (gone.count(along(c))) continue;
            const int shift =
                static_cast<int>(std::distance(gone.begin(), gone.lower_bound(along(c))));
            (columns ? c.x : c.y) -= shift;
            kept.push_back(std::move(c));
        }
        cells = std::move(kept);
    }

    const LayoutDocument& doc_;
    const TrackGraph& graph_;
    const DiagramOptions& o_;
    std::vector<Kind> kinds_;
    std::vector<char> visited_;
    std::vector<Node> nodes_;
    std::unordered_map<uint32_t, int> nodeOf_;
    std::vector<Run> runs_;
    double tolerance_ = 50;
    Grid grid_;
    std::vector<int> cost_, parent_;
    std::vector<uint32_t> stamp_;
    uint32_t epoch_ = 0;
    int links_ = 0;
};

}  // namespace

TrackDiagram BuildTrackDiagram(const LayoutDocument& doc, const TrackGraph& graph,
                               const DiagramOptions& options) {
    return DiagramBuilder(doc, graph, options).Build();
}

std::vector<DiagramSide> DiagramSidesOf(const TrackGraph& graph, uint32_t piece) {
    const GraphPiece* gp = graph.Find(piece);
    Node node;
    if (!gp || !Orient(*gp, node)) return {};
    return node.sides;
}

std::vector<uint32_t> PiecesLeftOut(const LayoutDocument& doc, const TrackDiagram& diagram) {
    std::set<uint32_t> drawn;
    for (const DiagramCell& c : diagram.cells) drawn.insert(c.pieces.begin(), c.pieces.end());
    std::vector<uint32_t> out;
    for (const PlacedPiece& p : doc.pieces)
        if (!drawn.count(p.id)) out.push_back(p.id);
    std::sort(out.begin(), out.end());
    return out;
}
