// Selection editing: clicks and chains, bands, rotation snapping and turning, the copy buffer,
// pair deletion and scenery edits (resize handles, dialog results, tape, drags).
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "base/Geometry.h"
#include "canvas/Interaction.h"
#include "canvas/SceneryEdit.h"
#include "canvas/Selection.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "model/Helices.h"

namespace {

class EditDoc : public testing::Test {
protected:
    LayoutDocument doc;
    void SetUp() override { doc.EnsureDefaultLevel(); }

    uint32_t Add(const std::string& article, double x = 0, double y = 0, double heading = 0) {
        PlacedPiece p;
        std::tie(p.article, p.x, p.y, p.heading) = std::tuple(article, x, y, heading);
        return doc.AddPiece(p);  // no joint slots: clicking must grow them
    }
    void Join(uint32_t a, int ca, uint32_t b, int cb) {
        for (auto [id, n] : {std::pair{a, ca}, std::pair{b, cb}})
            if (doc.FindPiece(id)->joints.size() < 2) doc.FindPiece(id)->joints.resize(2);
        doc.FindPiece(a)->joints[ca] = {b, static_cast<uint32_t>(cb)};
        doc.FindPiece(b)->joints[cb] = {a, static_cast<uint32_t>(ca)};
    }
    // Where a piece or scenery item stands, within a nanometre.
    template <class Object>
    static void ExpectAt(const Object& o, double x, double y) {
        EXPECT_NEAR(o.x, x, 1e-9);
        EXPECT_NEAR(o.y, y, 1e-9);
    }
    std::vector<uint32_t> Selected() const {
        std::vector<uint32_t> ids;
        for (const PlacedPiece& p : doc.pieces)
            if (p.selected) ids.push_back(p.id);
        return ids;
    }
};

TEST_F(EditDoc, PlainClickKeepsAGroupCtrlClickRemovesOnePiece) {
    const uint32_t a = Add("24188"), b = Add("24188"), c = Add("24188");
    doc.FindPiece(a)->selected = doc.FindPiece(b)->selected = true;
    ClickPiece(doc, b, false, false);
    EXPECT_EQ(Selected(), (std::vector<uint32_t>{a, b}));
    ClickPiece(doc, b, true, false);
    EXPECT_EQ(Selected(), (std::vector<uint32_t>{a}));
    ClickPiece(doc, c, false, false);
    EXPECT_EQ(Selected(), (std::vector<uint32_t>{c}));
    EXPECT_EQ(doc.FindPiece(c)->joints.size(), 2u);  // grown to the connector count
}

TEST_F(EditDoc, ShiftClickUnreachableOrOnTheAnchorToggles) {
    const uint32_t a = Add("24188"), b = Add("24188"), lone = Add("24188");
    Join(a, 1, b, 0);
    doc.FindPiece(a)->selected = true;
    ClickPiece(doc, lone, false, true);
    EXPECT_EQ(Selected(), (std::vector<uint32_t>{a, lone}));
    ClickPiece(doc, lone, false, true);  // the anchor is now `lone` itself
    EXPECT_EQ(Selected(), (std::vector<uint32_t>{a}));
    doc.ClearSelection();
    ClickPiece(doc, b, false, true);  // nothing selected: toggles
    EXPECT_EQ(Selected(), (std::vector<uint32_t>{b}));
}

TEST_F(EditDoc, ShiftClickAlongALoopSelectsTheShorterChainFromTheLastSelected) {
    std::vector<uint32_t> ids;
    for (int k = 0; k < 12; ++k) ids.push_back(Add("24130"));
    for (int k = 0; k < 12; ++k) Join(ids[k], 1, ids[(k + 1) % 12], 0);
    ClickPiece(doc, ids[2], false, false);
    ClickPiece(doc, ids[11], false, true);  // 2-1-0-11 beats 2-3-...-11
    EXPECT_EQ(Selected(), (std::vector<uint32_t>{ids[0], ids[1], ids[2], ids[11]}));
}

TEST_F(EditDoc, BandSelectsByOriginInPixelsAndAddsToTheSelection) {
    ViewTransform view;                              // zoom 0.4, offsets 60
    const uint32_t inside = Add("24188", 100, 100);  // pixels (100, 100)
    const uint32_t edge = Add("24188", 200, 100);    // pixels (140, 100)
    Add("24188", 300, 100);                          // outside: pixels (180, 100)
    const uint32_t kept = Add("24188", 2000, 2000);
    doc.FindPiece(kept)->selected = true;
    doc.scenery.push_back({doc.TakeId(), "tree_group", 150, 150});  // pixels (120, 120)
    EXPECT_FALSE(SelectInBand(doc, view, 98, 98, 102, 102));        // 4 x 4: nothing
    EXPECT_EQ(Selected(), (std::vector<uint32_t>{kept}));
    EXPECT_TRUE(SelectInBand(doc, view, 140, 125, 95, 95));
    EXPECT_EQ(Selected(), (std::vector<uint32_t>{inside, edge, kept}));
    EXPECT_TRUE(doc.scenery[0].selected);
}

struct SnapCase {
    double reference, delta;
    double expectDelta;
    double expectHeading;
    bool snapped;
};
class RotationSnapping : public testing::TestWithParam<SnapCase> {};

TEST_P(RotationSnapping, SnapsWithinTwoDegreesOfQuarterTurns) {
    const SnapCase& c = GetParam();
    const RotationSnap r = SnapRotation(c.reference, c.delta);
    EXPECT_EQ(r.snapped, c.snapped);
    EXPECT_NEAR(r.delta, c.expectDelta, 1e-9);
    EXPECT_NEAR(r.candidate, c.expectHeading, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Cases, RotationSnapping,
                         testing::Values(SnapCase{87.9, 0, 0, 87.9, false},
                                         SnapCase{88.0, 0, 2.0, 90, true},
                                         SnapCase{10, 80.5, 80, 90, true},
                                         SnapCase{5, 353.5, -5, 0, true},      // folded: 358.5 -> 0
                                         SnapCase{100, -98.2, -100, 0, true},  // 1.8 -> 0
                                         SnapCase{300, 150, 150, 90, true},
                                         SnapCase{45, 190, -170, 235, false}));

TEST_F(EditDoc, RotationTurnsAboutTheMeanOfTheSelection) {
    const uint32_t a = Add("24188", 0, 0, 10), b = Add("24188", 200, 0, 350);
    doc.scenery.push_back({doc.TakeId(), "tree_group", 100, 300, 0, true});
    doc.FindPiece(a)->selected = doc.FindPiece(b)->selected = true;
    const RotationStart start = TakeRotationStart(doc);
    ASSERT_TRUE(start.valid);
    EXPECT_DOUBLE_EQ(start.reference, 10);
    ASSERT_TRUE(ApplyRotation(doc, start, 90));
    // A quarter turn clockwise (y down) maps (dx, dy) to (-dy, dx) about (100, 100).
    ExpectAt(*doc.FindPiece(a), 200, 0);
    ExpectAt(*doc.FindPiece(b), 200, 200);
    EXPECT_DOUBLE_EQ(doc.FindPiece(a)->heading, 100);
    EXPECT_DOUBLE_EQ(doc.FindPiece(b)->heading, 80);
    ExpectAt(doc.scenery[0], -100, 100);
    // Every call starts from the snapshot, so turning back restores the poses.
    ApplyRotation(doc, start, 0);
    ExpectAt(*doc.FindPiece(b), 200, 0);
    EXPECT_DOUBLE_EQ(doc.FindPiece(b)->heading, 350);
}

// A click on one stub takes the whole helix, which turns about its centre; its stubs pasted are
// loose pieces, and deleting them leaves the helix.
TEST_F(EditDoc, AHelixIsSelectedAndTurnedWholeAndItsPastedStubsAreLoose) {
    const uint32_t helix = PlaceHelix(doc, 500, 500, 0, "proses_2_5_r1r2");
    const Helix h = *doc.FindHelix(helix);
    ClickPiece(doc, h.topR2, false, false);
    EXPECT_EQ(Selected(), (std::vector<uint32_t>{h.bottomR1, h.bottomR2, h.topR1, h.topR2}));
    const RotationStart start = TakeRotationStart(doc);
    EXPECT_EQ(start.helixId, helix);
    ApplyRotation(doc, start, 90);
    EXPECT_DOUBLE_EQ(doc.FindHelix(helix)->heading, 90);
    // bottomR1 sat 360 mm above the centre; a quarter turn takes it to the right of it.
    ExpectAt(*doc.FindPiece(h.bottomR1), 860, 500);

    const std::vector<uint32_t> ids = PasteBuffer(doc, CopySelection(doc), 2000, 2000);
    ASSERT_EQ(ids.size(), 4u);
    for (uint32_t id : ids) EXPECT_EQ(doc.FindPiece(id)->helixId, kNoId);
    doc.DeleteSelected();
    EXPECT_NE(doc.FindHelix(helix), nullptr);
}

TEST_F(EditDoc, StepRotationTurnsPlatformsBy30AndTreesBy15) {
    const uint32_t a = Add("24188", 100, 100, 0), b = Add("24188", 200, 100, 0);
    doc.FindPiece(a)->selected = doc.FindPiece(b)->selected = true;
    for (const char* id : {"platform", "tree_group"})
        doc.scenery.push_back({doc.TakeId(), id, 100, 200, 0, true});
    const LayoutDocument before = doc;
    ASSERT_TRUE(StepRotateSelection(doc));
    const double c30 = std::cos(kPi / 6), s30 = std::sin(kPi / 6);
    EXPECT_NEAR(doc.FindPiece(a)->x, 100, 1e-9);  // the pivot
    ExpectAt(*doc.FindPiece(b), 100 + 100 * c30, 100 + 100 * s30);
    EXPECT_DOUBLE_EQ(doc.FindPiece(b)->heading, 30);
    EXPECT_NEAR(doc.scenery[0].x, 100 - 100 * s30, 1e-9);
    EXPECT_DOUBLE_EQ(doc.scenery[0].heading, 30);
    EXPECT_DOUBLE_EQ(doc.scenery[1].heading, 15);
    EXPECT_NEAR(doc.scenery[1].x, 100 - 100 * std::sin(kPi / 12), 1e-9);
    doc.ClearSelection();
    EXPECT_FALSE(StepRotateSelection(doc));
    EXPECT_EQ(doc.undoStack.size(), before.undoStack.size() + 1) << "one step, none for nothing";
}

TEST_F(EditDoc, PasteGivesFreshIdsKeepsInnerJointsAndCentresOnTheClick) {
    const uint32_t outside = Add("24188", -188.3, 0);
    const uint32_t a = Add("24188", 0, 0), b = Add("24188", 188.3, 0), c = Add("24188", 376.6, 0);
    Join(outside, 1, a, 0);
    Join(a, 1, b, 0);
    Join(b, 1, c, 0);
    for (uint32_t id : {a, b, c}) doc.FindPiece(id)->selected = true;
    doc.FindPiece(b)->elevation = 12;
    const std::vector<PlacedPiece> buffer = CopySelection(doc);
    ASSERT_EQ(buffer.size(), 3u);
    const uint32_t firstNew = doc.nextId;
    const size_t undoBefore = doc.undoStack.size();
    const std::vector<uint32_t> ids = PasteBuffer(doc, buffer, 1000, 500);
    ASSERT_EQ(ids, (std::vector<uint32_t>{firstNew, firstNew + 1, firstNew + 2}));
    EXPECT_EQ(doc.undoStack.size(), undoBefore + 1);
    EXPECT_EQ(Selected(), ids);
    // The buffer's mean x is 188.3: every copy moves by (1000 - 188.3, 500).
    EXPECT_NEAR(doc.FindPiece(ids[0])->x, 1000 - 188.3, 1e-9);
    EXPECT_DOUBLE_EQ(doc.FindPiece(ids[1])->y, 500);
    EXPECT_DOUBLE_EQ(doc.FindPiece(ids[1])->elevation, 12);
    EXPECT_TRUE(doc.FindPiece(ids[0])->joints[0].IsOpen());  // was joined outside the buffer
    EXPECT_EQ(doc.FindPiece(ids[0])->joints[1], (Joint{ids[1], 0}));
    EXPECT_EQ(doc.FindPiece(ids[1])->joints[1], (Joint{ids[2], 0}));
    EXPECT_EQ(doc.FindPiece(outside)->joints[1], (Joint{a, 0}));  // the originals are untouched
    EXPECT_TRUE(PasteBuffer(doc, {}, 0, 0).empty());
    EXPECT_EQ(doc.undoStack.size(), undoBefore + 1);
}

// ---- Scenery, tape, labels, outlines ----

SceneryItem Platform(double x, double y, double heading) {
    return {50, "platform", x, y, heading, true};  // 230 x 60
}

TEST_F(EditDoc, CornerOntoTheOppositeCornerLeavesFiveByFive) {
    doc.scenery.push_back(Platform(300, 200, 30));
    const SceneryDef& def = *SceneryCatalog::Instance().Find("platform");
    const PointMm corner0 = HandleWorld(doc.scenery[0], def, 0);
    const SceneryResizeStart start = BeginSceneryResize(doc, 50, 4);
    ASSERT_TRUE(DragSceneryResize(doc, start, corner0.x, corner0.y));
    const SceneryItem& s = doc.scenery[0];
    EXPECT_NEAR(s.scaleX * 230, 5, 1e-9);
    EXPECT_NEAR(s.scaleY * 60, 5, 1e-9);
    const PointMm still = HandleWorld(s, def, 0);
    ExpectAt(still, corner0.x, corner0.y);
}

TEST_F(EditDoc, ResizeDialogResults) {
    doc.scenery.push_back(Platform(0, 0, 0));
    EXPECT_FALSE(ApplySceneryResizeResult(doc, 50, kResizeCancel, 3, 3));
    EXPECT_TRUE(doc.undoStack.empty());
    ASSERT_TRUE(ApplySceneryResizeResult(doc, 50, kResizeOk, 2.5, 0.05));
    EXPECT_DOUBLE_EQ(doc.scenery[0].scaleX, 2.5);
    EXPECT_DOUBLE_EQ(doc.scenery[0].scaleY, 0.1);
    ASSERT_TRUE(ApplySceneryResizeResult(doc, 50, kResizeReset, 4, 4));
    EXPECT_DOUBLE_EQ(doc.scenery[0].scaleX, 1);
    EXPECT_DOUBLE_EQ(doc.scenery[0].scaleY, 1);
    EXPECT_EQ(doc.undoStack.size(), 2u);
}

TEST_F(EditDoc, TapeShorterThanOneMillimetreAddsNothing) {
    EXPECT_EQ(AddMeasurement(doc, {10, 10}, {10.5, 10.5}), kNoId);
    EXPECT_TRUE(doc.measurements.empty());
    EXPECT_TRUE(doc.undoStack.empty());
    const uint32_t id = AddMeasurement(doc, {10, 10}, {10, 11});
    ASSERT_NE(id, kNoId);
    EXPECT_EQ(doc.undoStack.size(), 1u);
}

}  // namespace
