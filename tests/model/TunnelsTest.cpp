// Tunnels: analysis over chains, loops, branches and overlaps; adding and removing with portals.
#include <gtest/gtest.h>

#include "model/LayoutDocument.h"
#include "model/TrackBuilder.h"
#include "model/Tunnels.h"

namespace {

class TunnelTest : public testing::Test {
protected:
    // Five straights in a row.
    void Build() { ids = b.Line("24188", 5); }
    void Select(std::initializer_list<int> which) {
        doc.ClearSelection();
        for (int i : which) b[ids[i]].selected = true;
    }
    void ExpectRefused() {
        EXPECT_EQ(AnalyseTunnel(doc), TunnelAnalysis{});
        const auto before = DocState(doc);
        EXPECT_FALSE(ToggleTunnel(doc));
        EXPECT_TRUE(DocState(doc) == before);
    }
    static void ExpectPortal(const SceneryItem& s, double x, double y, double heading) {
        EXPECT_EQ(s.item, "tunnel_portal_single");
        EXPECT_NEAR(s.x, x, 1e-6);
        EXPECT_NEAR(s.y, y, 1e-6);
        EXPECT_NEAR(s.heading, heading, 1e-6);
    }
    void ExpectEnds(uint32_t pieceA, uint32_t connA, uint32_t pieceB, uint32_t connB) {
        const TunnelAnalysis a = AnalyseTunnel(doc);
        EXPECT_TRUE(a.allowed);
        EXPECT_EQ((std::vector<uint32_t>{a.pieceA, a.connA, a.pieceB, a.connB}),
                  (std::vector<uint32_t>{pieceA, connA, pieceB, connB}));
    }

    LayoutDocument doc;
    TrackBuilder b{doc};
    std::vector<uint32_t> ids;
};

TEST_F(TunnelTest, ThreeJoinedPiecesMakeATunnelWithPortalsFacingOut) {
    Build();
    Select({3, 1, 2});
    const TunnelAnalysis a = AnalyseTunnel(doc);
    EXPECT_FALSE(a.isTunnel);
    EXPECT_EQ(TunnelToolLabel(a), "Tunnel");
    EXPECT_EQ(a.chain, (std::vector<uint32_t>{ids[1], ids[2], ids[3]}));
    ExpectEnds(ids[1], 0, ids[3], 1);

    const uint32_t n = doc.nextId;
    const size_t undoBefore = doc.undoStack.size();
    EXPECT_TRUE(ToggleTunnel(doc));
    EXPECT_EQ(doc.undoStack.size(), undoBefore + 1);
    ASSERT_EQ(doc.scenery.size(), 2u);
    EXPECT_EQ(doc.scenery[0].id, n);
    EXPECT_EQ(doc.scenery[1].id, n + 1);
    ExpectPortal(doc.scenery[0], 188.3, 0, 180);
    ExpectPortal(doc.scenery[1], 753.2, 0, 0);
    EXPECT_EQ(doc.tunnels,
              (std::vector<Tunnel>{{n + 2, n, n + 1, ids[1], ids[3], {ids[1], ids[2], ids[3]}}}));
    EXPECT_EQ(doc.nextId, n + 3);

    doc.Undo();
    EXPECT_TRUE(doc.tunnels.empty() && doc.scenery.empty());
    EXPECT_EQ(doc.nextId, n + 3);
}

TEST_F(TunnelTest, SelectingExactlyATunnelRemovesItAndItsPortalsOnly) {
    Build();
    doc.scenery.push_back({doc.TakeId(), "tree_conifer", 0, 0, 0, false, 1, 1, 1});
    Select({1, 2, 3});
    ToggleTunnel(doc);
    doc.scenery.push_back({doc.TakeId(), "bush", 0, 0, 0, false, 1, 1, 1});
    const TunnelAnalysis a = AnalyseTunnel(doc);
    EXPECT_TRUE(a.allowed && a.isTunnel);
    EXPECT_EQ(a.tunnelId, doc.tunnels[0].id);
    EXPECT_EQ(TunnelToolLabel(a), "Remove Tunnel");
    EXPECT_TRUE(ToggleTunnel(doc));
    EXPECT_TRUE(doc.tunnels.empty());
    ASSERT_EQ(doc.scenery.size(), 2u);
    EXPECT_EQ(doc.scenery[0].item, "tree_conifer");
    EXPECT_EQ(doc.scenery[1].item, "bush");
}

TEST_F(TunnelTest, EmptySingleSeparateAndOverlappingSelectionsAndUnknownEndsAreRefused) {
    Build();
    // An end with an unknown article passes the analysis but places nothing, not even a snapshot.
    b[ids[3]].article = "99999";
    Select({1, 2, 3});
    EXPECT_TRUE(AnalyseTunnel(doc).allowed);
    const auto before = DocState(doc);
    EXPECT_FALSE(ToggleTunnel(doc));
    EXPECT_TRUE(DocState(doc) == before);
    b[ids[3]].article = "24188";

    Select({2, 3, 4});
    ASSERT_TRUE(ToggleTunnel(doc));
    const std::vector<std::vector<int>> refused{{},        {0},    {0, 2}, {0, 1, 3},
                                                {1, 2, 3}, {3, 4}, {1, 2}, {0, 1, 2, 3, 4}};
    for (const std::vector<int>& sel : refused) {
        SCOPED_TRACE(testing::PrintToString(sel));
        doc.ClearSelection();
        for (int i : sel) b[ids[i]].selected = true;
        ExpectRefused();
    }
    Select({0, 1});
    EXPECT_TRUE(AnalyseTunnel(doc).allowed) << "side by side with the first";
}

TEST_F(TunnelTest, LoopHasNoEndsButAnOpenArcOfItDoes) {
    ids = b.Line("24130", 12);
    b.Join(ids.back(), 1, ids.front(), 0);
    for (uint32_t id : ids) b[id].selected = true;
    EXPECT_EQ(AnalyseTunnel(doc), TunnelAnalysis{});
    b[ids[5]].selected = false;
    ExpectEnds(ids[4], 1, ids[6], 0);
    EXPECT_EQ(AnalyseTunnel(doc).chain.size(), 11u);
}

TEST_F(TunnelTest, BranchingSelectionHasThreeEndsAndAStraightRouteThroughATurnoutTwo) {
    const uint32_t turnout = b.Place("24612");
    ids = {turnout};
    for (int c = 0; c < 3; ++c) ids.push_back(b.Attach("24188", turnout, c, c == 0 ? 1 : 0));
    for (uint32_t id : ids) b[id].selected = true;
    EXPECT_EQ(AnalyseTunnel(doc), TunnelAnalysis{});
    b[ids[3]].selected = false;  // the branch track
    ExpectEnds(ids[1], 0, ids[2], 1);
}

TEST_F(TunnelTest, PiecesJoinedAtBothEndsHaveNoEndsAndStaleJointsCountAsOutward) {
    const uint32_t a = b.Place("24188"), c = b.Place("24188");
    b.Join(a, 1, c, 0);
    b.Join(a, 0, c, 1);
    b[a].selected = b[c].selected = true;
    EXPECT_EQ(AnalyseTunnel(doc), TunnelAnalysis{});
    b[a].joints[0] = {777, 1};
    b[c].joints[1] = {};
    ExpectEnds(a, 0, c, 1);
}

}  // namespace
