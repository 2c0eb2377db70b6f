// The track diagram against the network it is drawn from: both graphs contracted to their
// turnouts, crossings and bumpers by walks of this test's own, then compared; plan order, size
// and repeatability over the shipped samples and seeded random layouts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "control/BuildTrackDiagram.h"
#include "control/IsDiagramNode.h"
#include "network/TrackGraph.h"
#include "persistence/LayoutFile.h"
#include "suggest/SuggestLayouts.h"
#include "trains/TrainSpec.h"

namespace {

const PieceDef* DefOf(const LayoutDocument& doc, uint32_t id) {
    const PlacedPiece* p = doc.FindPiece(id);
    return p ? TrackCatalog::Instance().Find(p->article) : nullptr;
}

bool IsNode(const PieceDef* def) { return def && IsDiagramNode(def->kind); }

// The role of a connector of a node piece in the plan: "root", "straight", "leg" (diverging),
// "x" (a crossing's or slip's) or "buffer".
std::string PlanRole(const LayoutDocument& doc, const TrackGraph& g, uint32_t id, int c) {
    const PieceDef* def = DefOf(doc, id);
    if (def->kind == PieceKind::Bumper) return "buffer";
    if (def->kind == PieceKind::DoubleSlip || def->kind == PieceKind::Crossing) return "x";
    if (c == 0) return "root";
    double best = 1e9, mine = 0;
    for (const TrackRoute& r : g.Find(id)->lines) {
        if (r.from != 0 && r.to != 0) continue;
        double turn = 0;
        for (double t : r.turns) turn += t;
        best = std::min(best, std::fabs(turn));
        if (r.from == c || r.to == c) mine = std::fabs(turn);
    }
    return mine <= best ? "straight" : "leg";
}

// What a connector leads to along plain track in the plan: "piece/role" or "open".
std::string PlanNeighbour(const LayoutDocument& doc, const TrackGraph& g, GraphEnd end) {
    for (size_t guard = 0; guard <= g.Pieces().size(); ++guard) {
        const GraphEnd j = g.Joined(end);
        if (j.piece == kNoId) return "open";
        const GraphPiece* gp = g.Find(j.piece);
        if (!gp->def || gp->def->kind == PieceKind::Turntable) return "open";
        if (IsNode(gp->def))
            return std::to_string(j.piece) + "/" + PlanRole(doc, g, j.piece, j.connector);
        if (gp->def->connectors.size() != 2) return "open";
        end = GraphEnd{j.piece, 1 - j.connector};
    }
    return "loop";
}

bool IsNodeCell(const DiagramCell& c) {
    return c.symbol == DiagramSymbol::TurnoutLeft || c.symbol == DiagramSymbol::TurnoutRight ||
           c.symbol == DiagramSymbol::ThreeWay || c.symbol == DiagramSymbol::Crossing ||
           c.symbol == DiagramSymbol::DoubleSlip || c.symbol == DiagramSymbol::Bumper;
}

// The role of a side of a node cell, read from its tracks alone: a turnout's root is the side
// all its tracks share, the straight leg the side across from it.
std::string CellRole(const DiagramCell& c, DiagramSide side) {
    if (c.symbol == DiagramSymbol::Bumper) return "buffer";
    if (c.symbol == DiagramSymbol::Crossing || c.symbol == DiagramSymbol::DoubleSlip) return "x";
    for (DiagramSide root :
         {DiagramSide::North, DiagramSide::East, DiagramSide::South, DiagramSide::West}) {
        bool all = true;
        for (const auto& [a, b] : c.tracks) all = all && (a == root || b == root);
        if (!all) continue;
        if (side == root) return "root";
        return side == OppositeSide(root) ? "straight" : "leg";
    }
    return "?";
}

DiagramSide OtherEnd(const DiagramCell& c, DiagramSide side) {
    for (const auto& [a, b] : c.tracks) {
        if (a == side) return b;
        if (b == side) return a;
    }
    return DiagramSide::None;
}

// The same walk over the diagram: from cell to facing cell, through links, to a node cell.
std::string DiagramNeighbour(const TrackDiagram& d, const DiagramCell* cell, DiagramSide side) {
    for (size_t guard = 0; guard <= d.cells.size() * 2; ++guard) {
        int x = cell->x, y = cell->y;
        StepToSide(side, x, y);
        const DiagramCell* next = d.At(x, y);
        const DiagramSide entry = OppositeSide(side);
        if (!next || !HasSide(*next, entry)) return "open";
        if (IsNodeCell(*next))
            return std::to_string(next->pieces.at(0)) + "/" + CellRole(*next, entry);
        if (next->symbol == DiagramSymbol::Link) {
            const DiagramCell* other = nullptr;
            for (const DiagramCell& c : d.cells)
                if (c.symbol == DiagramSymbol::Link && c.text == next->text && &c != next)
                    other = &c;
            if (!other) return "broken link";
            cell = other;
            side = other->tracks.at(0).first;
            continue;
        }
        cell = next;
        side = OtherEnd(*next, entry);
        if (side == DiagramSide::None) return "dead end";
    }
    return "loop";
}

// Checks every rule of a faithful diagram.
void ExpectFaithful(const LayoutDocument& doc, const TrackDiagram& d) {
    const TrackGraph g = BuildTrackGraph(doc);
    std::map<uint32_t, int> cellsOf;
    std::map<uint32_t, const DiagramCell*> nodeCell;
    for (const DiagramCell& c : d.cells) {
        ASSERT_TRUE(c.x >= 0 && c.y >= 0 && c.x < d.width && c.y < d.height);
        for (uint32_t p : c.pieces) ++cellsOf[p];
        for (const auto& [a, b] : c.tracks) {
            ASSERT_NE(a, b);
            ASSERT_NE(a, DiagramSide::None);
        }
        if (IsNodeCell(c)) {
            ASSERT_EQ(c.pieces.size(), 1u) << "a node cell stands for exactly its piece";
            nodeCell[c.pieces[0]] = &c;
        } else if (c.symbol == DiagramSymbol::Underpass) {
            ASSERT_EQ(c.tracks.size(), 2u);
            for (const auto& [a, b] : c.tracks) EXPECT_EQ(b, OppositeSide(a));
        } else {
            // A curve turns; a link ends in its cell; everything else runs straight across.
            ASSERT_EQ(c.tracks.size(), 1u) << "two tracks share a plain cell";
            const auto [a, b] = c.tracks[0];
            const bool link = c.symbol == DiagramSymbol::Link;
            EXPECT_EQ(b == (link ? DiagramSide::None : OppositeSide(a)),
                      c.symbol != DiagramSymbol::Curve)
                << static_cast<int>(c.symbol);
        }
    }
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = TrackCatalog::Instance().Find(p.article);
        if (!def || def->kind == PieceKind::Turntable) continue;
        EXPECT_EQ(cellsOf[p.id], 1) << "piece " << p.id << " " << p.article;
    }
    // The contracted graphs: each node's legs lead to the same nodes' same legs.
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = TrackCatalog::Instance().Find(p.article);
        if (!IsNode(def)) continue;
        ASSERT_TRUE(nodeCell.count(p.id)) << p.id;
        const DiagramCell& cell = *nodeCell[p.id];
        std::multiset<std::string> plan, drawn;
        for (int c = 0; c < static_cast<int>(def->connectors.size()); ++c)
            plan.insert(PlanRole(doc, g, p.id, c) + ">" + PlanNeighbour(doc, g, GraphEnd{p.id, c}));
        std::set<DiagramSide> sides;
        for (const auto& [a, b] : cell.tracks)
            for (DiagramSide s : {a, b})
                if (s != DiagramSide::None) sides.insert(s);
        for (DiagramSide s : sides)
            drawn.insert(CellRole(cell, s) + ">" + DiagramNeighbour(d, &cell, s));
        EXPECT_EQ(plan, drawn) << "piece " << p.id << " " << p.article;
        // A left turnout's leg leaves to the left of travel from the root.
        if (cell.symbol == DiagramSymbol::TurnoutLeft ||
            cell.symbol == DiagramSymbol::TurnoutRight) {
            const bool left = cell.symbol == DiagramSymbol::TurnoutLeft;
            DiagramSide root = DiagramSide::None, leg = DiagramSide::None;
            for (DiagramSide s : sides) {
                if (CellRole(cell, s) == "root") root = s;
                if (CellRole(cell, s) == "leg") leg = s;
            }
            EXPECT_EQ(leg, left ? ClockwiseSide(root) : OppositeSide(ClockwiseSide(root)));
            if (def->kind == PieceKind::LeftTurnout || def->kind == PieceKind::RightTurnout) {
                EXPECT_EQ(left, def->kind == PieceKind::LeftTurnout) << p.article;
            }
        }
    }
}

// Of the pairs of turnouts and bumpers whose origins lie clearly apart on the plan (100 mm at H0),
// how many keep their order left to right and top to bottom; {kept, pairs}.
std::pair<int, int> PairsInOrder(const LayoutDocument& doc, const TrackDiagram& d) {
    auto ordered = [](const DiagramCell& c) {
        return IsNodeCell(c) && c.symbol != DiagramSymbol::Crossing &&
               c.symbol != DiagramSymbol::DoubleSlip;
    };
    int kept = 0, pairs = 0;
    for (const DiagramCell& ca : d.cells)
        for (const DiagramCell& cb : d.cells) {
            if (!ordered(ca) || !ordered(cb)) continue;
            const PlacedPiece &a = *doc.FindPiece(ca.pieces[0]), &b = *doc.FindPiece(cb.pieces[0]);
            const double apart =
                100.0 * 87 / ScaleOf(TrackCatalog::Instance().Find(a.article)->system);
            if (b.x - a.x > apart) ++pairs, kept += cb.x > ca.x;
            if (b.y - a.y > apart) ++pairs, kept += cb.y > ca.y;
        }
    return {kept, pairs};
}

LayoutDocument Sample(const std::string& name) {
    LayoutDocument doc;
    const std::string path = std::string(QUILLMORE_SOURCE_DIR) + "/resources/layouts/" + name;
    EXPECT_EQ(LoadLayout(doc, path, nullptr), "") << path;
    return doc;
}

const char* const kSamples[] = {"C-Track Figure Eight.xml", "C-Track Oval Station.xml",
                                "K-Track Two Decks.xml", "TRIX C-Track Reversing Loop.xml",
                                "Z-Track Shelf.xml"};

class SampleDiagram : public testing::TestWithParam<const char*> {};

TEST_P(SampleDiagram, IsFaithfulInOrderSmallAndRepeatable) {
    const LayoutDocument doc = Sample(GetParam());
    const TrackGraph g = BuildTrackGraph(doc);
    const TrackDiagram d = BuildTrackDiagram(doc, g, DiagramOptions{});
    ASSERT_FALSE(d.cells.empty());
    ExpectFaithful(doc, d);
    EXPECT_LE(d.width, 40);
    EXPECT_LE(d.height, 20);
    const auto [kept, pairs] = PairsInOrder(doc, d);
    EXPECT_GE(kept, 0.9 * pairs) << kept << " of " << pairs;
    EXPECT_EQ(BuildTrackDiagram(doc, BuildTrackGraph(doc), DiagramOptions{}), d);
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleDiagram, testing::ValuesIn(kSamples));

// Suggested layouts on seeded random boards, and two of them stacked on two levels.
TEST(RandomDiagram, SuggestedLayoutsAndStackedLevelsAreFaithful) {
    std::mt19937 random(39);
    const TrackSystem systems[] = {TrackSystem::MarklinC, TrackSystem::TrixC,
                                   TrackSystem::MarklinK};
    int checked = 0, underpasses = 0;
    for (int round = 0; round < 4; ++round) {
        SuggestOptions o;
        o.system = systems[round % 3];
        o.widthMm = std::uniform_int_distribution<int>(1600, 3200)(random);
        o.depthMm = std::uniform_int_distribution<int>(900, 1600)(random);
        o.maxResults = 4;
        o.timeLimitS = 2;
        const std::vector<LayoutSuggestion> found = SuggestLayouts(o, nullptr);
        for (size_t i = 0; i < found.size(); ++i) {
            SCOPED_TRACE(found[i].kind);
            LayoutDocument doc = found[i].layout;
            if (i + 1 < found.size()) {
                // The next plan above this one, shifted, on level 2.
                const uint32_t offset = doc.nextId;
                for (PlacedPiece p : found[i + 1].layout.pieces) {
                    p.id += offset;
                    for (Joint& j : p.joints)
                        if (!j.IsOpen()) j.target += offset;
                    p.x += 150, p.y += 90, p.level = 2, p.elevation = 120;
                    doc.pieces.push_back(p);
                }
            }
            const TrackDiagram d = BuildTrackDiagram(doc, BuildTrackGraph(doc), DiagramOptions{});
            ExpectFaithful(doc, d);
            ++checked;
            for (const DiagramCell& c : d.cells)
                underpasses += c.symbol == DiagramSymbol::Underpass;
        }
    }
    EXPECT_GE(checked, 8);
    EXPECT_GT(underpasses, 0) << "the levels cross somewhere";
}

}  // namespace
