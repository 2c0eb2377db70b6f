// Joining after a placement: a chain that comes back to its own start closes, whichever way the
// last piece arrives (append, clone, drop, paste), and only facing ends of one system join.
#include <gtest/gtest.h>

#include <vector>

#include "canvas/LoosePieces.h"
#include "canvas/Selection.h"
#include "canvas/Snapping.h"
#include "model/LayoutDocument.h"

namespace {

class PlacementJoin : public testing::Test {
protected:
    void SetUp() override { doc.EnsureDefaultLevel(); }

    uint32_t Put(const std::string& article, double x, double y, double heading) {
        return PutPiece(doc, article, x, y, heading);
    }
    PlacedPiece& P(uint32_t id) { return *doc.FindPiece(id); }
    int OpenEnds() const {
        int open = 0;
        for (const PlacedPiece& p : doc.pieces)
            for (const Joint& j : p.joints) open += j.IsOpen();
        return open;
    }

    LayoutDocument doc;
};

// Twelve 30-degree curves make a circle: the twelfth closes it however it is placed.
TEST_F(PlacementJoin, ACircleOfCurvesClosesWhenItsLastPieceIsAppendedClonedOrDropped) {
    for (const char* how : {"append", "clone", "drop"}) {
        SCOPED_TRACE(how);
        doc = LayoutDocument{};
        doc.EnsureDefaultLevel();
        const uint32_t first = Put("24130", 0, 0, 0);
        P(first).selected = true;
        uint32_t last = first;
        for (int i = 0; i < 10; ++i)
            last = how[0] == 'a' ? PlaceAfterSelection(doc, "24130").firstId
                                 : CloneAndExtend(doc, last).firstId;
        ASSERT_EQ(doc.pieces.size(), 11u);
        uint32_t closing = kNoId;
        if (how[0] == 'd') {
            // The ghost snaps onto the last piece's free end; its other end lands on the first.
            const ConnectorPose end =
                GetConnectorPose(P(last), *TrackCatalog::Instance().Find("24130"), 1);
            const PiecePose free{end.x + 3, end.y + 2, 0};
            const SnapResult snap = TrackPaletteDrag(doc, "24130", free);
            ASSERT_TRUE(snap.snapped);
            ASSERT_EQ(snap.targetPiece, last);
            closing = DropPalettePiece(doc, "24130", free, snap).firstId;
        } else {
            closing = how[0] == 'a' ? PlaceAfterSelection(doc, "24130").firstId
                                    : CloneAndExtend(doc, last).firstId;
        }
        ASSERT_NE(closing, kNoId);
        EXPECT_EQ(P(closing).joints[1], (Joint{first, 0})) << "the chain's first open end";
        EXPECT_EQ(P(first).joints[0], (Joint{closing, 1}));
        EXPECT_EQ(OpenEnds(), 0);
        EXPECT_EQ(BrokenJoint(doc), "");
    }
}

// A new piece's end near an old piece's connector 1 at (188.3, 0), heading 0.
TEST_F(PlacementJoin, OnlyNearFacingEndsOfOneSystemJoin) {
    const struct {
        const char* article;
        double x, heading;
        bool joins;
        const char* why;
    } cases[] = {
        {"24188", 188.3, 0, true, "end to end"},
        {"24188", 191.2, 0, true, "a gap of 2.9 mm"},
        {"24188", 192.4, 0, false, "a gap of 4.1 mm is beyond the join radius"},
        {"24188", 1, 0, false, "end 1 pointing the same way"},
        {"24188", 189.3, 15, true, "facing within twenty degrees"},
        {"24188", 189.3, 25, false, "turned by more than twenty degrees"},
        {"2200", 189.3, 0, false, "a K-Track end never joins C-Track"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        doc = LayoutDocument{};
        const uint32_t old = Put("24188", 0, 0, 0);
        const uint32_t added = Put(c.article, c.x, 0, c.heading);
        const uint32_t ids[] = {added};
        EXPECT_EQ(JoinPlacedEnds(doc, ids), c.joins ? 1 : 0);
        EXPECT_EQ(!P(old).joints[1].IsOpen(), c.joins);
        if (c.joins) {
            EXPECT_EQ(P(added).joints[0], (Joint{old, 1}));
        }
        EXPECT_TRUE(P(old).joints[0].IsOpen());
    }
}

TEST_F(PlacementJoin, AnEndJoinsItsNearestPartnerOnceAndJoinedEndsStay) {
    const uint32_t far = Put("24188", 0.0, 0, 0);     // end 1 at 188.3
    const uint32_t near = Put("24188", 2.5, 0.5, 0);  // end 1 at 190.8, 0.5
    const uint32_t taken = Put("24188", 1.0, 0, 0);   // end 1 at 189.3, already joined
    const uint32_t partner = Put("24188", 400, 400, 0);
    P(taken).joints[1] = {partner, 0};
    P(partner).joints[0] = {taken, 1};
    const uint32_t added = Put("24188", 191, 0, 0);  // end 0 at 191, 0
    const uint32_t ids[] = {added};
    EXPECT_EQ(JoinPlacedEnds(doc, ids), 1);
    EXPECT_EQ(P(added).joints[0], (Joint{near, 1}));
    EXPECT_TRUE(P(far).joints[1].IsOpen());
    EXPECT_EQ(P(taken).joints[1], (Joint{partner, 0}));
    EXPECT_EQ(BrokenJoint(doc), "");
}

TEST_F(PlacementJoin, APasteOntoAnOpenEndJoinsIt) {
    const uint32_t a = Put("24188", 0, 0, 0);
    P(a).selected = true;
    const std::vector<PlacedPiece> buffer = CopySelection(doc);
    // The copy's origin goes to the paste point, 1.5 mm past a's end 1.
    const std::vector<uint32_t> pasted = PasteBuffer(doc, buffer, 188.3 + 1.5, 0);
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_EQ(P(pasted[0]).joints[0], (Joint{a, 1}));
    EXPECT_TRUE(P(pasted[0]).joints[1].IsOpen());
    doc.Undo();
    EXPECT_EQ(doc.pieces.size(), 1u) << "the join is part of the paste's undo step";
    EXPECT_TRUE(P(a).joints[1].IsOpen());
}

}  // namespace
