// The gap closer: chains found land on the other end, removed chains are found again, the layout
// and the options are respected, and laying a chain is one undoable step.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <map>
#include <random>

#include "base/Geometry.h"
#include "canvas/Snapping.h"
#include "catalog/TrackCatalog.h"
#include "gapclose/SolveGap.h"
#include "layoutcheck/LayoutCheck.h"
#include "model/TrackBuilder.h"

namespace {

const PieceDef& Def(const std::string& article) { return *TrackCatalog::Instance().Find(article); }

PlacedPiece At(PiecePose pose, const std::string& article = "") {
    PlacedPiece p;
    p.article = article;
    p.x = pose.x;
    p.y = pose.y;
    p.heading = pose.heading;
    if (!article.empty()) p.joints.resize(Def(article).connectors.size());
    return p;
}

uint32_t Place(LayoutDocument& doc, const std::string& article, PiecePose pose) {
    return doc.AddPiece(At(pose, article));
}

ConnectorPose EndPose(const LayoutDocument& doc, GapEnd e) {
    const PlacedPiece& p = *doc.FindPiece(e.piece);
    return GetConnectorPose(p, Def(p.article), e.connector);
}

// Lays the steps from end A through the catalog's connectors alone and returns the last exit.
ConnectorPose Rebuild(const LayoutDocument& doc, GapEnd a, const std::vector<GapStep>& steps) {
    ConnectorPose cursor = EndPose(doc, a);
    for (const GapStep& s : steps) {
        const PieceDef& def = Def(s.article);
        cursor = GetConnectorPose(At(AlignToConnector(def, s.entry, cursor)), def, s.exit);
    }
    return cursor;
}

// Every solution lands on B within the tolerance, says truly how far it missed, and the list is
// in the promised order.
void ExpectLandsOnB(const LayoutDocument& doc, GapEnd a, GapEnd b,
                    const std::vector<GapSolution>& solutions, const GapOptions& options) {
    const ConnectorPose pb = EndPose(doc, b);
    for (size_t i = 0; i < solutions.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "solution " << i);
        const GapSolution& s = solutions[i];
        ASSERT_FALSE(s.steps.empty());
        const ConnectorPose end = Rebuild(doc, a, s.steps);
        const double mm = std::hypot(end.x - pb.x, end.y - pb.y);
        const double deg = 180.0 - HeadingDiffDeg(end.heading, pb.heading);
        EXPECT_LE(mm, options.toleranceMm + 1e-9);
        EXPECT_LE(deg, options.toleranceDeg + 1e-9);
        EXPECT_NEAR(s.missMm, mm, 1e-6);
        EXPECT_NEAR(s.missDeg, deg, 1e-6);
        if (i > 0) {
            const GapSolution& prev = solutions[i - 1];
            EXPECT_LE(prev.steps.size(), s.steps.size());
            if (prev.steps.size() == s.steps.size()) {
                EXPECT_LE(prev.missMm, s.missMm + 1e-12);
            }
        }
    }
    EXPECT_LE(solutions.size(), kMaxGapSolutions);
}

bool IsPlainTrack(const PieceDef& d, TrackSystem system) {
    return d.system == system && (d.kind == PieceKind::Straight || d.kind == PieceKind::Curve) &&
           d.connectors.size() == 2 && !d.isBridge && !d.isRamp && !d.isFlex &&
           d.connectorSystems.empty();
}

// Ids of pieces the layout check finds running through each other.
std::vector<std::vector<uint32_t>> Collisions(const LayoutDocument& doc) {
    std::vector<std::vector<uint32_t>> out;
    for (const LayoutFinding& f : CheckLayout(doc))
        if (f.kind == FindingKind::Collision) out.push_back(f.pieces);
    return out;
}

// A start straight and an end straight that a random chain of `count` plain pieces once joined;
// the chain itself is left out. Chains that run through themselves are drawn again.
struct RemovedChain {
    LayoutDocument doc;
    GapEnd a, b;
    std::vector<GapStep> removed;
};

RemovedChain RemoveRandomChain(TrackSystem system, int count, std::mt19937& rng) {
    std::vector<const PieceDef*> plain;
    const PieceDef* straight = nullptr;
    for (const PieceDef& d : TrackCatalog::Instance().pieces) {
        if (!IsPlainTrack(d, system)) continue;
        plain.push_back(&d);
        if (!straight && d.kind == PieceKind::Straight) straight = &d;
    }
    std::uniform_real_distribution<double> heading(0, 360);
    for (;;) {
        RemovedChain g;
        LayoutDocument full;
        TrackBuilder track(full);
        const uint32_t s = track.Place(straight->article, 0, 0, heading(rng));
        uint32_t prev = s;
        int prevConn = 1;
        for (int i = 0; i < count; ++i) {
            const PieceDef& d = *plain[rng() % plain.size()];
            const int entry = static_cast<int>(rng() % 2);
            prev = track.Attach(d.article, prev, prevConn, entry);
            g.removed.push_back({d.article, entry, 1 - entry});
            prevConn = 1 - entry;
        }
        const uint32_t e = track.Attach(straight->article, prev, prevConn, 0);
        if (!Collisions(full).empty()) continue;
        for (const PlacedPiece& p : full.pieces) {
            if (p.id != s && p.id != e) continue;
            PlacedPiece copy = p;
            copy.joints.assign(copy.joints.size(), Joint{});
            g.doc.pieces.push_back(copy);
        }
        g.doc.nextId = full.nextId;
        g.a = {s, 1};
        g.b = {e, 0};
        return g;
    }
}

class RemovedChainIsFoundAgain : public testing::TestWithParam<TrackSystem> {};

TEST_P(RemovedChainIsFoundAgain, ByAChainNoLonger) {
    std::mt19937 rng(static_cast<unsigned>(GetParam()) * 7919u + 17u);
    GapOptions options;
    options.timeLimitS = 300;  // this test is about what is found, not how fast
    for (int count = 2; count <= 8; ++count) {
        const RemovedChain g = RemoveRandomChain(GetParam(), count, rng);
        SCOPED_TRACE(testing::Message() << count << " pieces removed");
        const GapSearchResult r = SearchGap(g.doc, g.a, g.b, options);
        EXPECT_TRUE(r.error.empty()) << r.error;
        ASSERT_FALSE(r.solutions.empty());
        EXPECT_LE(r.solutions.front().steps.size(), g.removed.size());
        ExpectLandsOnB(g.doc, g.a, g.b, r.solutions, options);
        for (const GapSolution& s : r.solutions)
            for (const GapStep& step : s.steps)
                EXPECT_TRUE(IsPlainTrack(Def(step.article), GetParam())) << step.article;
    }
}

INSTANTIATE_TEST_SUITE_P(EverySystem, RemovedChainIsFoundAgain,
                         testing::Values(TrackSystem::MarklinC, TrackSystem::MarklinK,
                                         TrackSystem::MarklinZ, TrackSystem::TrixC,
                                         TrackSystem::KatoN, TrackSystem::MinitrixN));

TEST(SolveGap, ClosesTheOffsetBetweenTracksButNotThroughTrackUnlessCrossingIsAllowed) {
    // The outer track of a parallel pair lies two opposed 24.3 degree R2 arcs to the side of the
    // inner one; the ends are placed from that geometry, not from pieces.
    const double r = 437.5, turn = DegToRad(24.3);
    const double along = 2 * r * std::sin(turn), side = 2 * r * (1 - std::cos(turn));
    LayoutDocument doc;
    const GapEnd a{Place(doc, "24188", {0, 0, 0}), 1};
    const GapEnd b{Place(doc, "24188", {188.3 + along, side, 0}), 0};
    const std::vector<GapSolution> open = SolveGap(doc, a, b, GapOptions());
    ASSERT_FALSE(open.empty());
    EXPECT_LE(open.front().steps.size(), 2u);
    ExpectLandsOnB(doc, a, b, open, GapOptions());
    // A straight laid across the S-bend between the tracks.
    Place(doc, "24188", {188.3 + along / 2, side / 2 - 94.15, 90});
    GapOptions options;
    options.maxPieces = 6;
    const std::vector<GapSolution> blocked = SolveGap(doc, a, b, options);
    for (const GapSolution& s : blocked) {
        EXPECT_GT(s.steps.size(), 2u);
        LayoutDocument laid = doc;
        ASSERT_EQ(PlaceGapSolution(laid, a, b, s), "");
        EXPECT_TRUE(Collisions(laid).empty());
    }
    options.allowCrossing = true;
    const std::vector<GapSolution> crossing = SolveGap(doc, a, b, options);
    ASSERT_FALSE(crossing.empty());
    EXPECT_LE(crossing.front().steps.size(), 2u);
    LayoutDocument laid = doc;
    ASSERT_EQ(PlaceGapSolution(laid, a, b, crossing.front()), "");
    EXPECT_FALSE(Collisions(laid).empty()) << "the allowed chain crosses the straight";
}

TEST(SolveGap, UnclosableGapNamesTheNearestMissAndStopsAtTheTimeLimitAndWhenCancelled) {
    // Two ends side by side pointing the same way: no chain turns round in 10 mm.
    LayoutDocument doc;
    const uint32_t s = Place(doc, "24188", {0, 0, 0});
    const uint32_t e = Place(doc, "24188", {0, 60, 0});
    GapOptions options;
    options.maxPieces = 6;
    const GapSearchResult r = SearchGap(doc, {s, 1}, {e, 1}, options);
    EXPECT_TRUE(r.error.empty());
    EXPECT_TRUE(r.solutions.empty());
    ASSERT_TRUE(r.nearest.found);
    EXPECT_GE(r.nearest.pieces, 1);
    EXPECT_LE(r.nearest.pieces, options.maxPieces);
    EXPECT_TRUE(r.nearest.missMm > options.toleranceMm || r.nearest.missDeg > options.toleranceDeg);
    EXPECT_TRUE(r.timedOut || r.searchedPieces == options.maxPieces);

    options.timeLimitS = 0.05;
    options.maxPieces = 12;
    const GapSearchResult slow = SearchGap(doc, {s, 1}, {e, 1}, options);
    EXPECT_TRUE(slow.timedOut);
    EXPECT_LT(slow.searchedPieces, options.maxPieces);

    std::atomic<bool> cancel{true};
    options.timeLimitS = 60;
    options.cancel = &cancel;
    const GapSearchResult cancelled = SearchGap(doc, {s, 1}, {e, 1}, options);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(cancelled.nearest.found);
}

TEST(SolveGap, NeverUsesMoreThanTheStock) {
    // Eleven R1 curves of a circle of twelve: A is the last one's free end, B the first one's.
    LayoutDocument doc;
    const std::vector<uint32_t> ids = TrackBuilder(doc).Line("24130", 11);
    const GapEnd a{ids.back(), 1}, b{ids.front(), 0};
    GapOptions options;
    options.limitToStock = true;
    for (const std::map<std::string, int>& stock :
         {std::map<std::string, int>{{"24115", 2}},
          std::map<std::string, int>{{"24115", 1}, {"24107", 2}},
          std::map<std::string, int>{{"24107", 5}, {"24130", 0}}}) {
        options.stock = stock;
        const std::vector<GapSolution> s = SolveGap(doc, a, b, options);
        ASSERT_FALSE(s.empty());
        ExpectLandsOnB(doc, a, b, s, options);
        for (const GapSolution& sol : s) {
            std::map<std::string, int> used;
            for (const GapStep& step : sol.steps) ++used[step.article];
            for (const auto& [article, n] : used) {
                const auto it = stock.find(article);
                ASSERT_NE(it, stock.end()) << article << " is not owned";
                EXPECT_LE(n, it->second) << article;
            }
        }
    }
    options.stock = {{"24188", 3}};  // straights alone cannot turn 30 degrees
    EXPECT_TRUE(SolveGap(doc, a, b, options).empty());
}

TEST(SolveGap, TurnoutsOnlyWhenAskedAndTheOtherLegStaysOpen) {
    // End B lies where a right turnout's diverging leg would put it.
    LayoutDocument doc;
    const PieceDef& turnout = Def("24612");
    const uint32_t s = Place(doc, "24188", {0, 0, 0});
    const ConnectorPose leg =
        GetConnectorPose(At(AlignToConnector(turnout, 0, EndPose(doc, {s, 1}))), turnout, 2);
    const uint32_t e = Place(doc, "24188", AlignToConnector(Def("24188"), 0, leg));
    const GapEnd a{s, 1}, b{e, 0};

    GapOptions options;
    options.maxPieces = 1;
    for (const GapSolution& sol : SolveGap(doc, a, b, options))
        for (const GapStep& step : sol.steps) EXPECT_NE(Def(step.article).kind, turnout.kind);
    options.useTurnouts = true;
    const std::vector<GapSolution> with = SolveGap(doc, a, b, options);
    ASSERT_FALSE(with.empty());
    ExpectLandsOnB(doc, a, b, with, options);
    const GapStep& step = with.front().steps.front();
    EXPECT_EQ(Def(step.article).connectors.size(), 3u);
    ASSERT_EQ(PlaceGapSolution(doc, a, b, with.front()), "");
    const PlacedPiece& laid = doc.pieces.back();
    EXPECT_EQ(laid.IsOpen(0) + laid.IsOpen(1) + laid.IsOpen(2), 1);
}

TEST(SolveGap, RefusesEndsItCannotJoin) {
    LayoutDocument doc;
    const uint32_t c = Place(doc, "24188", {0, 0, 0});
    const uint32_t k = Place(doc, "2200", {400, 0, 180});
    const uint32_t high = Place(doc, "24188", {400, 200, 180});
    doc.FindPiece(high)->elevation = 40;
    const uint32_t other = Place(doc, "24188", {-400, 0, 0});
    JoinConnectors(doc, c, 0, other, 1);

    const auto error = [&](GapEnd a, GapEnd b) { return SearchGap(doc, a, b, GapOptions()).error; };
    EXPECT_THAT(error({c, 1}, {k, 1}), testing::HasSubstr("different track systems"));
    EXPECT_THAT(error({c, 1}, {high, 1}), testing::HasSubstr("different heights"));
    EXPECT_THAT(error({c, 0}, {high, 0}), testing::HasSubstr("already joined"));
    EXPECT_THAT(error({c, 1}, {c, 1}), testing::HasSubstr("same connector"));
    EXPECT_THAT(error({c, 1}, {999, 0}), testing::HasSubstr("no longer"));
    EXPECT_TRUE(SolveGap(doc, {c, 1}, {k, 1}, GapOptions()).empty());
}

TEST(PlaceGapSolution, JoinsBothEndsAndUndoRestoresTheDocument) {
    std::mt19937 rng(3);
    RemovedChain g = RemoveRandomChain(TrackSystem::TrixC, 4, rng);
    g.doc.levels.push_back(DefaultLevel());
    g.doc.FindPiece(g.a.piece)->level = 2;  // the chain takes A's level and height
    g.doc.FindPiece(g.a.piece)->elevation = 12;
    g.doc.FindPiece(g.b.piece)->elevation = 12;
    const std::vector<GapSolution> s = SolveGap(g.doc, g.a, g.b, GapOptions());
    ASSERT_FALSE(s.empty());
    const std::vector<PlacedPiece> before = g.doc.pieces;
    const size_t undoBefore = g.doc.undoStack.size();

    ASSERT_EQ(PlaceGapSolution(g.doc, g.a, g.b, s.front()), "");
    const std::vector<GapStep>& steps = s.front().steps;
    ASSERT_EQ(g.doc.pieces.size(), before.size() + steps.size());
    EXPECT_EQ(g.doc.undoStack.size(), undoBefore + 1);
    const PlacedPiece& first = g.doc.pieces[before.size()];
    const PlacedPiece& last = g.doc.pieces.back();
    EXPECT_EQ(g.doc.FindPiece(g.a.piece)->joints[g.a.connector],
              (Joint{first.id, static_cast<uint32_t>(steps.front().entry)}));
    EXPECT_EQ(g.doc.FindPiece(g.b.piece)->joints[g.b.connector],
              (Joint{last.id, static_cast<uint32_t>(steps.back().exit)}));
    for (size_t i = before.size(); i < g.doc.pieces.size(); ++i) {
        EXPECT_EQ(g.doc.pieces[i].level, 2);
        EXPECT_EQ(g.doc.pieces[i].elevation, 12);
    }
    // Only the far ends of the two straights stay open.
    int open = 0;
    for (const LayoutFinding& f : CheckLayout(g.doc)) {
        open += f.kind == FindingKind::OpenEnd ? 1 : 0;
        EXPECT_NE(f.kind, FindingKind::Collision) << f.text;
    }
    EXPECT_EQ(open, 2);

    g.doc.Undo();
    EXPECT_EQ(g.doc.pieces, before);
    EXPECT_EQ(g.doc.undoStack.size(), undoBefore);
    // With B moved after the search, or an empty chain, nothing is laid and nothing is undoable.
    g.doc.FindPiece(g.b.piece)->x += 50;
    const std::vector<PlacedPiece> moved = g.doc.pieces;
    EXPECT_NE(PlaceGapSolution(g.doc, g.a, g.b, s.front()), "");
    EXPECT_NE(PlaceGapSolution(g.doc, g.a, g.b, GapSolution{}), "");
    EXPECT_EQ(g.doc.pieces, moved);
    EXPECT_EQ(g.doc.undoStack.size(), undoBefore);
}

}  // namespace
