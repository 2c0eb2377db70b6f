// The one delete of the selection, as the Edit menu and the canvas run it.
#include <gtest/gtest.h>

#include "canvas/DeleteCommand.h"
#include "model/Helices.h"
#include "model/LayoutDocument.h"

namespace {

const char kHelixTitle[] = "Helix track is locked";
const char kTunnelTitle[] = "Tunnel is locked";

class DeleteCommand : public testing::Test {
protected:
    uint32_t Piece(const char* article = "24188", double x = 0) {
        PlacedPiece p;
        p.article = article;
        p.x = x;
        p.joints.resize(2);
        return doc.AddPiece(p);
    }
    void Join(uint32_t a, uint32_t b) {
        doc.FindPiece(a)->joints[1] = Joint{b, 0};
        doc.FindPiece(b)->joints[0] = Joint{a, 1};
    }
    void Select(std::initializer_list<uint32_t> ids) {
        doc.ClearSelection();
        for (uint32_t id : ids) doc.FindPiece(id)->selected = true;
    }
    LayoutDocument doc;
};

TEST_F(DeleteCommand, EachSourceChecksWhatItDeletesAndWhichLocksApply) {
    const uint32_t loose = Piece("24188", 0);
    const uint32_t graded = Piece("24188", 200);
    doc.FindPiece(graded)->grade = 2.0;
    const uint32_t helix = PlaceHelix(doc, 1000, 1000, 0, "");
    const Helix h = *doc.FindHelix(helix);
    const uint32_t covered = Piece("24188", 400);
    doc.tunnels.push_back(Tunnel{doc.TakeId(), kNoId, kNoId, covered, covered, {covered}});
    doc.labels.push_back(Label{doc.TakeId(), "Yard", 0, 0, false});

    const struct {
        const char* what;
        std::vector<uint32_t> pieces;
        bool label;
        DeleteCheck menu, canvas;
    } cases[] = {
        {"nothing", {}, false, {}, {}},
        {"a label alone", {}, true, {}, {true, {}, false}},
        {"a flat piece", {loose}, false, {true, {}, false}, {true, {}, false}},
        {"a graded piece", {graded}, false, {true, {}, true}, {true, {}, true}},
        {"one whole helix",
         {h.bottomR1, h.bottomR2, h.topR1, h.topR2},
         false,
         {true, {kHelixTitle, ""}, false},
         {true, {}, false}},
        {"part of a helix",
         {h.topR1},
         false,
         {true, {kHelixTitle, ""}, false},
         {true, {kHelixTitle, ""}, false}},
        {"tunnel track",
         {covered, graded},
         false,
         {true, {kTunnelTitle, ""}, false},
         {true, {kTunnelTitle, ""}, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        doc.ClearSelection();
        for (uint32_t id : c.pieces) doc.FindPiece(id)->selected = true;
        doc.labels[0].selected = c.label;
        for (const auto& [source, expected] :
             {std::pair{DeleteSource::EditMenu, c.menu}, {DeleteSource::Canvas, c.canvas}}) {
            const DeleteCheck got = CheckDelete(doc, source);
            EXPECT_EQ(got.applies, expected.applies);
            EXPECT_EQ(got.refusal.title, expected.refusal.title);
            EXPECT_EQ(got.refusal.Refused(), !got.refusal.message.empty());
            EXPECT_EQ(got.asksAboutGrades, expected.asksAboutGrades);
        }
    }
}

TEST_F(DeleteCommand, TheCanvasTakesPairPartnersAlongTheMenuDoesNot) {
    for (DeleteSource source : {DeleteSource::EditMenu, DeleteSource::Canvas}) {
        doc = LayoutDocument{};
        const uint32_t a = Piece("74618", 0), b = Piece("74618", 180), c = Piece("24188", 360);
        Join(a, b);
        Join(b, c);
        Select({a});
        const LayoutDocument before = doc;
        const DocChange change = RunDelete(doc, source);
        EXPECT_TRUE(HasAny(change, DocChange::Pieces));
        EXPECT_TRUE(HasAny(change, DocChange::Selection));
        const bool canvas = source == DeleteSource::Canvas;
        ASSERT_EQ(doc.pieces.size(), canvas ? 1u : 2u);
        EXPECT_EQ(doc.pieces.back().id, c);
        EXPECT_EQ(doc.FindPiece(c)->joints[0].IsOpen(), canvas) << "joints to deleted pieces open";
        doc.Undo();
        // The snapshot is taken after the partners joined the selection.
        EXPECT_EQ(doc.FindPiece(b)->selected, canvas);
        doc.FindPiece(b)->selected = false;
        EXPECT_EQ(doc.pieces, before.pieces) << "one snapshot restores everything";
    }
}

TEST_F(DeleteCommand, TheCanvasDeletesAWholeHelixWithItsRecordAndLabels) {
    const uint32_t helix = PlaceHelix(doc, 0, 0, 0, "");
    doc.labels.push_back(Label{doc.TakeId(), "Spiral", 0, 0, false});
    for (PlacedPiece& p : doc.pieces) p.selected = true;
    doc.labels[0].selected = true;
    ASSERT_FALSE(CheckDelete(doc, DeleteSource::Canvas).refusal.Refused());
    RunDelete(doc, DeleteSource::Canvas);
    EXPECT_TRUE(doc.pieces.empty());
    EXPECT_EQ(doc.FindHelix(helix), nullptr);
    EXPECT_TRUE(doc.labels.empty());
}

}  // namespace
