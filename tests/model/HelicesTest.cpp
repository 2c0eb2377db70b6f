// Helix placement: ids, end-piece poses and heights, the default variant, undo, whole-helix rules.
#include <gtest/gtest.h>

#include "catalog/HelixVariants.h"
#include "model/Helices.h"
#include "model/LayoutDocument.h"
#include "model/TrackBuilder.h"

namespace {

struct EndExpect {
    double x, y, elevation;
};

class HelixTest : public testing::Test {
protected:
    void SetUp() override {
        doc.EnsureDefaultLevel();
        b.Place("24188");  // ids start past an existing piece
        b.Place("24188");
    }
    void ExpectEnds(const Helix& h, const EndExpect (&want)[4]) {
        const uint32_t ends[4] = {h.bottomR1, h.bottomR2, h.topR1, h.topR2};
        for (int i = 0; i < 4; ++i) {
            const PlacedPiece* p = doc.FindPiece(ends[i]);
            ASSERT_NE(p, nullptr) << i;
            EXPECT_NEAR(p->x, want[i].x, 1e-6) << i;
            EXPECT_NEAR(p->y, want[i].y, 1e-6) << i;
            EXPECT_DOUBLE_EQ(p->elevation, want[i].elevation) << i;
            EXPECT_DOUBLE_EQ(p->heading, h.heading) << i;
            EXPECT_EQ(p->article, "24188");
            EXPECT_EQ(p->helixId, h.id);
            EXPECT_EQ(p->level, 1);
            EXPECT_DOUBLE_EQ(p->grade, 0);
            EXPECT_EQ(p->joints, std::vector<Joint>(2)) << "two open joints";
        }
    }

    LayoutDocument doc;
    TrackBuilder b{doc};
};

TEST_F(HelixTest, TakesTheNextIdThenItsFourEndPiecesInOrder) {
    const uint32_t n = doc.nextId;
    const size_t undoBefore = doc.undoStack.size();
    const uint32_t id = PlaceHelix(doc, 500, 500, 0, "proses_2_5_r1r2");
    EXPECT_EQ(id, n);
    ASSERT_EQ(doc.helices.size(), 1u);
    const Helix& h = doc.helices[0];
    EXPECT_EQ(h.id, n);
    EXPECT_EQ(h.variant, "proses_2_5_r1r2");
    EXPECT_EQ((std::vector<uint32_t>{h.bottomR1, h.bottomR2, h.topR1, h.topR2}),
              (std::vector<uint32_t>{n + 1, n + 2, n + 3, n + 4}));
    ASSERT_EQ(doc.pieces.size(), 6u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(doc.pieces[2 + i].id, n + 1 + i) << "appended in order";
    EXPECT_EQ(doc.nextId, n + 5);
    EXPECT_EQ(doc.undoStack.size(), undoBefore + 1) << "one snapshot for the whole unit";
}

TEST_F(HelixTest, EndPiecesSitOnTheHelixAxisAtBottomAndTop) {
    PlaceHelix(doc, 500, 500, 0, "proses_2_5_r1r2");
    const Helix& h = doc.helices[0];
    EXPECT_DOUBLE_EQ(h.x, 500);
    EXPECT_DOUBLE_EQ(h.y, 500);
    ExpectEnds(h, {{500, 140, 0}, {500, 62.5, 0}, {500, 860, 260}, {500, 937.5, 260}});
}

TEST_F(HelixTest, TurnedHelixTurnsItsEndPieces) {
    PlaceHelix(doc, 500, 500, 90, "proses_2_5_r1r2");
    ExpectEnds(doc.helices[0], {{860, 500, 0}, {937.5, 500, 0}, {140, 500, 260}, {62.5, 500, 260}});

    PlaceHelix(doc, 100, 200, 30, "proses_3_5_r2r3");
    const Helix& h = doc.helices[1];
    EXPECT_EQ(h.variant, "proses_3_5_r2r3");
    ExpectEnds(h, {{318.75, -178.886114, 0},
                   {357.5, -246.003083, 0},
                   {-118.75, 578.886114, 340},
                   {-157.5, 646.003083, 340}});
}

TEST_F(HelixTest, UnknownOrEmptyVariantPlacesTheDefault) {
    EXPECT_NE(PlaceHelix(doc, 0, 0, 0, "no_such_helix"), kNoId);
    EXPECT_NE(PlaceHelix(doc, 0, 0, 0, ""), kNoId);
    ASSERT_EQ(doc.helices.size(), 2u);
    EXPECT_EQ(doc.helices[0].variant, "proses_2_5_r1r2");
    EXPECT_EQ(doc.helices[1].variant, "proses_2_5_r1r2");
    EXPECT_DOUBLE_EQ(doc.FindPiece(doc.helices[0].topR2)->y, 437.5);
}

TEST_F(HelixTest, UndoRemovesTheHelixAndItsPiecesTogetherButKeepsIdsUsed) {
    PlaceHelix(doc, 500, 500, 0, "proses_4_5_r4r5");
    const uint32_t next = doc.nextId;
    doc.Undo();
    EXPECT_TRUE(doc.helices.empty());
    EXPECT_EQ(doc.pieces.size(), 2u);
    EXPECT_EQ(doc.nextId, next);
    doc.Redo();
    EXPECT_EQ(doc.helices.size(), 1u);
    EXPECT_EQ(doc.pieces.size(), 6u);
}

TEST_F(HelixTest, RefusedPlacementChangesNothing) {
    const DocState before(doc);
    HelixVariant odd = HelixVariants().front();
    odd.straightArticle = "99999";
    EXPECT_EQ(PlaceHelixVariant(doc, odd, 0, 0, 0), kNoId);
    EXPECT_EQ(PlaceHelix(doc, std::nan(""), 0, 0, ""), kNoId);
    EXPECT_EQ(PlaceHelix(doc, 0, 0, std::numeric_limits<double>::infinity(), ""), kNoId);
    EXPECT_EQ(DocState(doc), before);
}

TEST_F(HelixTest, WholeHelixSelection) {
    PlaceHelix(doc, 500, 500, 0, "");
    PlaceHelix(doc, 1500, 500, 0, "");
    const Helix h = doc.helices[0];
    EXPECT_FALSE(SelectionIsWholeHelix(doc)) << "nothing selected";

    doc.FindPiece(h.topR1)->selected = true;
    EXPECT_FALSE(SelectionIsWholeHelix(doc));
    SelectWholeHelices(doc);
    for (uint32_t id : {h.bottomR1, h.bottomR2, h.topR1, h.topR2})
        EXPECT_TRUE(doc.FindPiece(id)->selected);
    EXPECT_FALSE(doc.FindPiece(doc.helices[1].topR1)->selected) << "the other helix stays";
    EXPECT_FALSE(doc.pieces[0].selected);
    EXPECT_TRUE(SelectionIsWholeHelix(doc));

    doc.pieces[0].selected = true;
    EXPECT_FALSE(SelectionIsWholeHelix(doc)) << "plus a plain piece";
    doc.pieces[0].selected = false;
    doc.FindPiece(doc.helices[1].bottomR1)->selected = true;
    SelectWholeHelices(doc);
    EXPECT_FALSE(SelectionIsWholeHelix(doc)) << "two helices";
}

TEST(HelixLockText, UsesTheVerbsPastParticiple) {
    EXPECT_EQ(PastParticiple("delete"), "deleted");
    EXPECT_EQ(PastParticiple("rotate"), "rotated");
    EXPECT_EQ(PastParticiple("move"), "moved");
    EXPECT_EQ(PastParticiple("lock"), "locked");
    EXPECT_EQ(HelixLockMessage("delete"),
              "Selection includes track that is part of a helix. Helix track cannot be deleted "
              "individually.");
}

}  // namespace
