// Tunnels: analysis over chains, loops, branches and overlaps; adding and removing with portals.
#include <gtest/gtest.h>

#include "model/LayoutDocument.h"
#include "model/TrackBuilder.h"
#include "model/Tunnels.h"

namespace {

// Five straights in a row (ids 1 to 5), heading given by the test.
class TunnelTest : public testing::Test {
protected:
    void Build(double heading = 0) {
        doc.EnsureDefaultLevel();
        ids = b.Line("24188", 5, heading);
    }
    void Select(std::initializer_list<int> which) {
        doc.ClearSelection();
        for (int i : which) b[ids[i]].selected = true;
    }
    void ExpectRefused() {
        EXPECT_EQ(AnalyseTunnel(doc), TunnelAnalysis{});
        const DocState before(doc);
        EXPECT_FALSE(ToggleTunnel(doc));
        EXPECT_EQ(DocState(doc), before);
    }
    static void ExpectPortal(const SceneryItem& s, double x, double y, double heading) {
        EXPECT_EQ(s.item, "tunnel_portal_single");
        EXPECT_NEAR(s.x, x, 1e-6);
        EXPECT_NEAR(s.y, y, 1e-6);
        EXPECT_NEAR(s.heading, heading, 1e-6);
        EXPECT_DOUBLE_EQ(s.scaleX, 1.0);
        EXPECT_DOUBLE_EQ(s.scaleY, 1.0);
        EXPECT_FALSE(s.selected);
    }

    LayoutDocument doc;
    TrackBuilder b{doc};
    std::vector<uint32_t> ids;
};

TEST_F(TunnelTest, SinglePieceOrNothingSelectedIsRefused) {
    Build();
    ExpectRefused();
    Select({2});
    ExpectRefused();
}

TEST_F(TunnelTest, ThreeJoinedPiecesMakeATunnelWithPortalsFacingOut) {
    Build();
    Select({3, 1, 2});
    const TunnelAnalysis a = AnalyseTunnel(doc);
    EXPECT_TRUE(a.allowed);
    EXPECT_FALSE(a.isTunnel);
    EXPECT_EQ(TunnelToolLabel(a), "Tunnel");
    EXPECT_EQ(a.pieceA, ids[1]);
    EXPECT_EQ(a.connA, 0u);
    EXPECT_EQ(a.pieceB, ids[3]);
    EXPECT_EQ(a.connB, 1u);
    EXPECT_EQ(a.chain, (std::vector<uint32_t>{ids[1], ids[2], ids[3]}));

    const uint32_t n = doc.nextId;
    const size_t undoBefore = doc.undoStack.size();
    EXPECT_TRUE(ToggleTunnel(doc));
    EXPECT_EQ(doc.undoStack.size(), undoBefore + 1);
    ASSERT_EQ(doc.scenery.size(), 2u);
    EXPECT_EQ(doc.scenery[0].id, n);
    EXPECT_EQ(doc.scenery[1].id, n + 1);
    ExpectPortal(doc.scenery[0], 188.3, 0, 180);
    ExpectPortal(doc.scenery[1], 753.2, 0, 0);
    ASSERT_EQ(doc.tunnels.size(), 1u);
    const Tunnel& t = doc.tunnels[0];
    EXPECT_EQ(t.id, n + 2);
    EXPECT_EQ(t.portalA, n);
    EXPECT_EQ(t.portalB, n + 1);
    EXPECT_EQ(t.anchorA, ids[1]);
    EXPECT_EQ(t.anchorB, ids[3]);
    EXPECT_EQ(t.covers, (std::vector<uint32_t>{ids[1], ids[2], ids[3]}));
    EXPECT_EQ(doc.nextId, n + 3);
}

TEST_F(TunnelTest, PortalsFollowATurnedChainAndItsLevel) {
    Build(90);
    for (uint32_t id : ids) b[id].level = 2;
    Select({0, 1});
    ASSERT_TRUE(ToggleTunnel(doc));
    ExpectPortal(doc.scenery[0], 0, 0, 270);
    ExpectPortal(doc.scenery[1], 0, 376.6, 90);
    EXPECT_EQ(doc.scenery[0].level, 2);
}

TEST_F(TunnelTest, SelectingExactlyATunnelRemovesItAndItsPortalsOnly) {
    Build();
    SceneryItem tree;
    tree.id = doc.TakeId();
    tree.item = "tree_conifer";
    doc.scenery.push_back(tree);
    Select({1, 2, 3});
    ToggleTunnel(doc);
    SceneryItem bush;
    bush.id = doc.TakeId();
    bush.item = "bush";
    doc.scenery.push_back(bush);

    const TunnelAnalysis a = AnalyseTunnel(doc);
    EXPECT_TRUE(a.allowed);
    EXPECT_TRUE(a.isTunnel);
    EXPECT_EQ(a.tunnelId, doc.tunnels[0].id);
    EXPECT_EQ(TunnelToolLabel(a), "Remove Tunnel");

    const size_t undoBefore = doc.undoStack.size();
    EXPECT_TRUE(ToggleTunnel(doc));
    EXPECT_EQ(doc.undoStack.size(), undoBefore + 1);
    EXPECT_TRUE(doc.tunnels.empty());
    ASSERT_EQ(doc.scenery.size(), 2u);
    EXPECT_EQ(doc.scenery[0].item, "tree_conifer");
    EXPECT_EQ(doc.scenery[1].item, "bush");
}

TEST_F(TunnelTest, OverlappingOrPartialSelectionsOfATunnelAreRefused) {
    Build();
    Select({1, 2, 3});
    ToggleTunnel(doc);
    Select({1, 2, 3, 4});
    ExpectRefused();
    Select({2, 3});
    ExpectRefused();
    Select({3, 4});
    ExpectRefused();
    Select({0, 1});
    ExpectRefused();
}

TEST_F(TunnelTest, SeparatePiecesAreRefused) {
    Build();
    Select({0, 2});
    ExpectRefused();
    Select({0, 1, 3, 4});
    ExpectRefused();
}

TEST_F(TunnelTest, UndoRemovesPortalsAndRecord) {
    Build();
    Select({0, 1, 2, 3, 4});
    ASSERT_TRUE(ToggleTunnel(doc));
    EXPECT_EQ(doc.tunnels[0].anchorA, ids[0]);
    EXPECT_EQ(doc.tunnels[0].anchorB, ids[4]);
    const uint32_t next = doc.nextId;
    doc.Undo();
    EXPECT_TRUE(doc.tunnels.empty());
    EXPECT_TRUE(doc.scenery.empty());
    EXPECT_EQ(doc.nextId, next);
}

TEST_F(TunnelTest, EndWithAnUnknownArticleRefusesWithoutASnapshot) {
    Build();
    b[ids[3]].article = "99999";
    Select({1, 2, 3});
    EXPECT_TRUE(AnalyseTunnel(doc).allowed);
    const DocState before(doc);
    EXPECT_FALSE(ToggleTunnel(doc));
    EXPECT_EQ(DocState(doc), before);
}

TEST_F(TunnelTest, TwoTunnelsSideBySide) {
    Build();
    Select({0, 1});
    ASSERT_TRUE(ToggleTunnel(doc));
    Select({2, 3, 4});
    const TunnelAnalysis a = AnalyseTunnel(doc);
    EXPECT_TRUE(a.allowed);
    EXPECT_FALSE(a.isTunnel);
    ASSERT_TRUE(ToggleTunnel(doc));
    EXPECT_EQ(doc.tunnels.size(), 2u);
    Select({0, 1});
    EXPECT_EQ(AnalyseTunnel(doc).tunnelId, doc.tunnels[0].id);
}

// Twelve R360 30deg curves closed into a circle.
TEST(TunnelShapes, LoopHasNoEndsButAnOpenArcOfItDoes) {
    LayoutDocument doc;
    TrackBuilder b(doc);
    std::vector<uint32_t> ids = b.Line("24130", 12);
    b.Join(ids.back(), 1, ids.front(), 0);
    for (uint32_t id : ids) b[id].selected = true;
    EXPECT_EQ(AnalyseTunnel(doc), TunnelAnalysis{});

    b[ids[5]].selected = false;
    const TunnelAnalysis a = AnalyseTunnel(doc);
    ASSERT_TRUE(a.allowed);
    EXPECT_EQ(a.pieceA, ids[4]);
    EXPECT_EQ(a.connA, 1u) << "the end towards the unselected piece";
    EXPECT_EQ(a.pieceB, ids[6]);
    EXPECT_EQ(a.connB, 0u);
    EXPECT_EQ(a.chain.size(), 11u);
}

TEST(TunnelShapes, BranchingSelectionHasThreeEnds) {
    LayoutDocument doc;
    TrackBuilder b(doc);
    const uint32_t turnout = b.Place("24612");
    std::vector<uint32_t> ids{turnout};
    for (int c = 0; c < 3; ++c) ids.push_back(b.Attach("24188", turnout, c, c == 0 ? 1 : 0));
    for (uint32_t id : ids) b[id].selected = true;
    EXPECT_EQ(AnalyseTunnel(doc), TunnelAnalysis{});

    b[ids[3]].selected = false;  // the branch track
    const TunnelAnalysis a = AnalyseTunnel(doc);
    ASSERT_TRUE(a.allowed) << "a straight route through the turnout";
    EXPECT_EQ(a.pieceA, ids[1]);
    EXPECT_EQ(a.connA, 0u);
    EXPECT_EQ(a.pieceB, ids[2]);
    EXPECT_EQ(a.connB, 1u);
}

TEST(TunnelShapes, TwoPiecesJoinedAtBothEndsHaveNoEnds) {
    LayoutDocument doc;
    TrackBuilder b(doc);
    const uint32_t a = b.Place("24188");
    const uint32_t c = b.Place("24188");
    b.Join(a, 1, c, 0);
    b.Join(a, 0, c, 1);
    b[a].selected = b[c].selected = true;
    EXPECT_EQ(AnalyseTunnel(doc), TunnelAnalysis{});
}

TEST(TunnelShapes, JointsToVanishedPiecesCountAsOutward) {
    LayoutDocument doc;
    TrackBuilder b(doc);
    const std::vector<uint32_t> ids = b.Line("24188", 2);
    b[ids[0]].joints[0] = {777, 1};  // a stale joint
    b[ids[0]].selected = b[ids[1]].selected = true;
    const TunnelAnalysis a = AnalyseTunnel(doc);
    ASSERT_TRUE(a.allowed);
    EXPECT_EQ(a.pieceA, ids[0]);
    EXPECT_EQ(a.connA, 0u);
}

TEST(TunnelLocks, TunnelPiecesAndPortalsAreKnown) {
    LayoutDocument doc;
    TrackBuilder b(doc);
    const std::vector<uint32_t> ids = b.Line("24188", 3);
    b[ids[0]].selected = b[ids[1]].selected = true;
    ASSERT_TRUE(ToggleTunnel(doc));
    EXPECT_TRUE(IsTunnelPiece(doc, ids[0]));
    EXPECT_TRUE(IsTunnelPiece(doc, ids[1]));
    EXPECT_FALSE(IsTunnelPiece(doc, ids[2]));
    EXPECT_TRUE(IsTunnelPortal(doc, doc.tunnels[0].portalA));
    EXPECT_TRUE(IsTunnelPortal(doc, doc.tunnels[0].portalB));
    EXPECT_FALSE(IsTunnelPortal(doc, ids[0]));
    EXPECT_EQ(TunnelLockMessage("rotate"),
              "Selection includes tunnel track or portals. Remove the tunnel first, then rotate.");
}

}  // namespace
