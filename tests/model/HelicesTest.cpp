// Helix placement and the helix and tunnel locks before delete, rotate and move.
#include <gtest/gtest.h>

#include "catalog/HelixVariants.h"
#include "model/Helices.h"
#include "model/LayoutDocument.h"
#include "model/Locks.h"
#include "model/TrackBuilder.h"
#include "model/Tunnels.h"

namespace {

class HelixTest : public testing::Test {
protected:
    void SetUp() override {
        doc.EnsureDefaultLevel();
        b.Place("24188");  // ids start past an existing piece
        b.Place("24188");
    }
    // Expected x, y and height of the bottom R1, bottom R2, top R1 and top R2 end pieces.
    void ExpectEnds(const Helix& h, const double (&want)[4][3]) {
        const uint32_t ends[4] = {h.bottomR1, h.bottomR2, h.topR1, h.topR2};
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            const PlacedPiece* p = doc.FindPiece(ends[i]);
            ASSERT_NE(p, nullptr);
            EXPECT_NEAR(p->x, want[i][0], 1e-6);
            EXPECT_NEAR(p->y, want[i][1], 1e-6);
            EXPECT_DOUBLE_EQ(p->elevation, want[i][2]);
            EXPECT_DOUBLE_EQ(p->heading, h.heading);
            EXPECT_EQ(p->helixId, h.id);
            EXPECT_EQ(p->joints, std::vector<Joint>(2)) << "two open joints";
        }
    }

    LayoutDocument doc;
    TrackBuilder b{doc};
};

TEST_F(HelixTest, TakesTheNextIdThenItsFourEndPiecesPosedOnTheAxis) {
    const uint32_t n = doc.nextId;
    const size_t undoBefore = doc.undoStack.size();
    EXPECT_EQ(PlaceHelix(doc, 500, 500, 0, "proses_2_5_r1r2"), n);
    ASSERT_EQ(doc.helices.size(), 1u);
    const Helix& h = doc.helices[0];
    EXPECT_EQ((std::vector<uint32_t>{h.id, h.bottomR1, h.bottomR2, h.topR1, h.topR2}),
              (std::vector<uint32_t>{n, n + 1, n + 2, n + 3, n + 4}));
    EXPECT_EQ(doc.nextId, n + 5);
    EXPECT_EQ(doc.undoStack.size(), undoBefore + 1) << "one snapshot for the whole unit";
    ExpectEnds(h, {{500, 140, 0}, {500, 62.5, 0}, {500, 860, 260}, {500, 937.5, 260}});

    PlaceHelix(doc, 100, 200, 30, "proses_3_5_r2r3");
    EXPECT_EQ(doc.helices[1].variant, "proses_3_5_r2r3");
    ExpectEnds(doc.helices[1], {{318.75, -178.886114, 0},
                                {357.5, -246.003083, 0},
                                {-118.75, 578.886114, 340},
                                {-157.5, 646.003083, 340}});
    doc.Undo();
    doc.Undo();
    EXPECT_TRUE(doc.helices.empty());
    EXPECT_EQ(doc.pieces.size(), 2u);
    EXPECT_EQ(doc.nextId, n + 10) << "ids stay used";
}

TEST_F(HelixTest, UnknownOrEmptyVariantPlacesTheDefaultAndBadInputChangesNothing) {
    const auto before = DocState(doc);
    HelixVariant odd = HelixVariants().front();
    odd.straightArticle = "99999";
    EXPECT_EQ(PlaceHelixVariant(doc, odd, 0, 0, 0), kNoId);
    EXPECT_EQ(PlaceHelix(doc, std::nan(""), 0, 0, ""), kNoId);
    EXPECT_TRUE(DocState(doc) == before);

    EXPECT_NE(PlaceHelix(doc, 0, 0, 0, "no_such_helix"), kNoId);
    ASSERT_EQ(doc.helices.size(), 1u);
    EXPECT_EQ(doc.helices[0].variant, "proses_2_5_r1r2");
    EXPECT_DOUBLE_EQ(doc.FindPiece(doc.helices[0].topR2)->y, 437.5);
}

// A row of four straights with a tunnel over the middle two, a helix and a tree.
class LockTest : public testing::Test {
protected:
    void SetUp() override {
        doc.EnsureDefaultLevel();
        row = b.Line("24188", 4);
        b[row[1]].selected = b[row[2]].selected = true;
        ToggleTunnel(doc);
        PlaceHelix(doc, 1500, 500, 0, "");
        const ::Helix& h = doc.helices[0];
        stubs = {h.bottomR1, h.bottomR2, h.topR1, h.topR2};
        doc.scenery.push_back({doc.TakeId(), "tree_conifer", 0, 0, 0, false, 1, 1, 1});
        doc.ClearSelection();
    }
    void SelectStubs(int count) {
        for (int i = 0; i < count; ++i) b[stubs[i]].selected = true;
    }
    static LockRefusal Helix(const std::string& participle) {
        return {"Helix track is locked",
                "Selection includes track that is part of a helix. Helix track cannot be " +
                    participle + " individually."};
    }
    static LockRefusal Tunnel(const std::string& verb) {
        return {"Tunnel is locked",
                "Selection includes tunnel track or portals. Remove the tunnel first, then " +
                    verb + "."};
    }

    LayoutDocument doc;
    TrackBuilder b{doc};
    std::vector<uint32_t> row, stubs;
};

TEST_F(LockTest, HelixPiecesAreLockedWithTheVerbsPastParticipleAndBeforeTunnels) {
    SelectStubs(1);
    EXPECT_EQ(CheckSelectionLocks(doc, "rotate", true), Helix("rotated")) << "part of a helix";
    b[row[1]].selected = true;  // tunnel track earlier in the piece list
    EXPECT_EQ(CheckSelectionLocks(doc, "delete"), Helix("deleted"));

    doc.ClearSelection();
    SelectStubs(4);
    EXPECT_EQ(CheckSelectionLocks(doc, "delete"), Helix("deleted")) << "Edit menu delete";
    EXPECT_EQ(CheckSelectionLocks(doc, "delete", true), LockRefusal{});
    EXPECT_TRUE(SelectionIsWholeHelix(doc));
    b[row[0]].selected = true;
    EXPECT_FALSE(SelectionIsWholeHelix(doc));
    EXPECT_EQ(CheckSelectionLocks(doc, "rotate", true), Helix("rotated")) << "plus a piece";
}

TEST_F(LockTest, TunnelTrackAndPortalsAreLockedWithTheVerb) {
    b[row[2]].selected = true;
    EXPECT_EQ(CheckSelectionLocks(doc, "delete"), Tunnel("delete"));
    EXPECT_EQ(CheckMoveLocks(doc), Tunnel("move"));
    doc.ClearSelection();
    doc.FindScenery(doc.tunnels[0].portalB)->selected = true;
    EXPECT_EQ(CheckSelectionLocks(doc, "rotate"), Tunnel("rotate"));
    // Possible only in a file: a tunnel over a helix stub keeps a whole helix tunnel-locked.
    doc.ClearSelection();
    doc.tunnels[0].covers.push_back(stubs[3]);
    SelectStubs(4);
    EXPECT_EQ(CheckSelectionLocks(doc, "delete", true), Tunnel("delete"));
    EXPECT_EQ(CheckMoveLocks(doc), Tunnel("move"));
}

TEST_F(LockTest, FreeSelectionsPassAndMovingNeedsWholeHelices) {
    b[row[0]].selected = b[row[3]].selected = doc.scenery.back().selected = true;
    EXPECT_EQ(CheckSelectionLocks(doc, "delete"), LockRefusal{});
    EXPECT_EQ(CheckMoveLocks(doc), LockRefusal{});
    SelectStubs(3);
    EXPECT_EQ(CheckMoveLocks(doc),
              (LockRefusal{"Helix partially selected",
                           "Selection contains part of a helix. Either select the whole helix "
                           "(click any of its stubs) or exclude it from the selection before "
                           "moving."}));
    SelectWholeHelices(doc);
    b[row[0]].selected = true;
    EXPECT_EQ(CheckMoveLocks(doc), LockRefusal{}) << "a whole helix moves with other track";
}

}  // namespace
