// The helix and tunnel locks before delete, rotate and move, with their exact texts.
#include <gtest/gtest.h>

#include "model/Helices.h"
#include "model/LayoutDocument.h"
#include "model/Locks.h"
#include "model/TrackBuilder.h"
#include "model/Tunnels.h"

namespace {

const LockRefusal kNone{};

// A helix, a row of four straights with a tunnel over the middle two, and a tree.
class LockTest : public testing::Test {
protected:
    void SetUp() override {
        doc.EnsureDefaultLevel();
        row = b.Line("24188", 4);
        b[row[1]].selected = b[row[2]].selected = true;
        ToggleTunnel(doc);
        PlaceHelix(doc, 1500, 500, 0, "");
        helix = doc.helices[0];
        SceneryItem tree;
        tree.id = doc.TakeId();
        tree.item = "tree_conifer";
        doc.scenery.push_back(tree);
        doc.ClearSelection();
    }
    void SelectStubs(int count) {
        const uint32_t stubs[4] = {helix.bottomR1, helix.bottomR2, helix.topR1, helix.topR2};
        for (int i = 0; i < count; ++i) b[stubs[i]].selected = true;
    }
    SceneryItem& Scenery(uint32_t id) { return *doc.FindScenery(id); }
    LockRefusal Helix(const char* participle) {
        return {"Helix track is locked",
                std::string("Selection includes track that is part of a helix. Helix track "
                            "cannot be ") +
                    participle + " individually."};
    }
    LockRefusal Tunnel(const char* verb) {
        return {"Tunnel is locked",
                std::string("Selection includes tunnel track or portals. Remove the tunnel "
                            "first, then ") +
                    verb + "."};
    }

    LayoutDocument doc;
    TrackBuilder b{doc};
    std::vector<uint32_t> row;
    ::Helix helix;
};

TEST_F(LockTest, FreeSelectionsPass) {
    EXPECT_EQ(CheckSelectionLocks(doc, "delete"), kNone);
    EXPECT_EQ(CheckMoveLocks(doc), kNone);
    b[row[0]].selected = b[row[3]].selected = true;
    doc.scenery.back().selected = true;
    EXPECT_EQ(CheckSelectionLocks(doc, "delete"), kNone);
    EXPECT_FALSE(CheckSelectionLocks(doc, "rotate", true).Refused());
    EXPECT_EQ(CheckMoveLocks(doc), kNone);
}

TEST_F(LockTest, HelixPieceIsLockedWithTheVerbsPastParticiple) {
    SelectStubs(1);
    EXPECT_EQ(CheckSelectionLocks(doc, "delete"), Helix("deleted"));
    EXPECT_EQ(CheckSelectionLocks(doc, "rotate"), Helix("rotated"));
    EXPECT_EQ(CheckSelectionLocks(doc, "rotate", true), Helix("rotated")) << "part of a helix";
}

TEST_F(LockTest, TunnelTrackAndPortalsAreLockedWithTheVerb) {
    b[row[2]].selected = true;
    EXPECT_EQ(CheckSelectionLocks(doc, "delete"), Tunnel("delete"));
    EXPECT_EQ(CheckMoveLocks(doc), Tunnel("move"));
    doc.ClearSelection();
    Scenery(doc.tunnels[0].portalB).selected = true;
    EXPECT_EQ(CheckSelectionLocks(doc, "rotate"), Tunnel("rotate"));
    EXPECT_EQ(CheckMoveLocks(doc), Tunnel("move"));
}

TEST_F(LockTest, HelixLockIsReportedBeforeTunnelLock) {
    b[row[1]].selected = true;  // earlier in the piece list than the helix
    SelectStubs(1);
    Scenery(doc.tunnels[0].portalA).selected = true;
    EXPECT_EQ(CheckSelectionLocks(doc, "delete"), Helix("deleted"));
}

TEST_F(LockTest, WholeHelixPassesOnlyWhereTheCallerAllowsIt) {
    SelectStubs(4);
    EXPECT_EQ(CheckSelectionLocks(doc, "delete"), Helix("deleted")) << "Edit menu delete";
    EXPECT_EQ(CheckSelectionLocks(doc, "delete", true), kNone);
    EXPECT_EQ(CheckSelectionLocks(doc, "rotate", true), kNone);

    doc.scenery.back().selected = true;
    EXPECT_EQ(CheckSelectionLocks(doc, "delete", true), Helix("deleted")) << "plus scenery";
    doc.scenery.back().selected = false;
    b[row[0]].selected = true;
    EXPECT_EQ(CheckSelectionLocks(doc, "rotate", true), Helix("rotated")) << "plus a piece";
}

TEST_F(LockTest, MovingNeedsWholeHelices) {
    SelectStubs(3);
    const LockRefusal partial{
        "Helix partially selected",
        "Selection contains part of a helix. Either select the whole helix (click any of its "
        "stubs) or exclude it from the selection before moving."};
    EXPECT_EQ(CheckMoveLocks(doc), partial);
    SelectStubs(4);
    EXPECT_EQ(CheckMoveLocks(doc), kNone);
    b[row[0]].selected = true;
    EXPECT_EQ(CheckMoveLocks(doc), kNone) << "a whole helix moves with other track";
    b[row[1]].selected = true;
    EXPECT_EQ(CheckMoveLocks(doc), Tunnel("move"));
}

// Not reachable by selecting track on the canvas, but possible in a file: a tunnel over a stub.
TEST_F(LockTest, WholeHelixInsideATunnelStaysTunnelLocked) {
    doc.tunnels[0].covers.push_back(helix.topR2);
    SelectStubs(4);
    EXPECT_EQ(CheckSelectionLocks(doc, "delete", true), Tunnel("delete"));
    EXPECT_EQ(CheckSelectionLocks(doc, "rotate", true), Tunnel("rotate"));
    EXPECT_EQ(CheckMoveLocks(doc), Tunnel("move"));
    EXPECT_EQ(CheckSelectionLocks(doc, "delete"), Helix("deleted"));
}

TEST_F(LockTest, ChecksChangeNothing) {
    SelectStubs(2);
    b[row[1]].selected = true;
    const DocState before(doc);
    CheckSelectionLocks(doc, "delete");
    CheckSelectionLocks(doc, "rotate", true);
    CheckMoveLocks(doc);
    EXPECT_EQ(DocState(doc), before);
}

}  // namespace
