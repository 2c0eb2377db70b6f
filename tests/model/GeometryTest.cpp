// The shared geometry rules: angle normalisation and heading differences, the extent of a layout
// or a selection, level visibility, and the selection queries.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "canvas/Snapping.h"
#include "canvas/ViewTransform.h"
#include "catalog/TrackCatalog.h"
#include "model/Helices.h"
#include "model/LayoutExtent.h"
#include "model/SelectionQueries.h"
#include "support/DocBuilders.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::nan("");

TEST(NormalizeDeg, BringsEveryFiniteAngleIntoZeroTo360) {
    // -1e-20 + 360 rounds to 360, which must wrap to 0.
    const struct {
        double in, out;
    } cases[] = {
        {0, 0},    {359.5, 359.5}, {360, 0},    {-30, 330},      {725, 5},          {-725, 355},
        {1440, 0}, {-1440, 0},     {-1e-20, 0}, {360000045, 45}, {-360000045, 315}, {kNaN, 0},
        {kInf, 0}, {-kInf, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(NormalizeDeg(c.in), c.out) << c.in;
}

TEST(HeadingDiffDeg, FoldsIntoZeroTo180AndIsSymmetric) {
    const struct {
        double a, b, diff;
    } cases[] = {
        {0, 180, 180}, {10, 350, 20}, {350, 10, 20},  {-90, 270, 0}, {725, 0, 5},
        {0, 540, 180}, {0, 181, 179}, {179, -1, 180}, {30, 30, 0},   {-10, 10, 20},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(HeadingDiffDeg(c.a, c.b), c.diff) << c.a << c.b;
        EXPECT_DOUBLE_EQ(HeadingDiffDeg(c.b, c.a), c.diff) << c.b << c.a;
    }
    EXPECT_TRUE(std::isnan(HeadingDiffDeg(kNaN, 0)));
    EXPECT_TRUE(std::isnan(HeadingDiffDeg(0, kInf)));
}

class Extent : public testing::Test {
protected:
    uint32_t Piece(const char* article, double x, double y, double heading, int32_t level = 1) {
        return LayPiece(doc, x, y, level, article, heading);
    }
    SceneryItem& Scenery(double x, double y) {
        return doc.scenery.emplace_back(
            SceneryItem{.id = doc.TakeId(), .item = "tree", .x = x, .y = y});
    }
    static void ExpectBounds(const LayoutBounds& b, double minX, double minY, double maxX,
                             double maxY) {
        ASSERT_TRUE(b.any);
        EXPECT_NEAR(b.minX, minX, 1e-9);
        EXPECT_NEAR(b.minY, minY, 1e-9);
        EXPECT_NEAR(b.maxX, maxX, 1e-9);
        EXPECT_NEAR(b.maxY, maxY, 1e-9);
    }
    LayoutDocument doc;
};

TEST_F(Extent, PiecesSpanTheirCatalogLengthScenerySitsAtItsPositionLabelsDoNotCount) {
    EXPECT_FALSE(LayoutExtent(doc).any);
    EXPECT_EQ(FitLayout(doc, 800, 600), ViewTransform{});
    Piece("no-such-article", -5000, -5000, 0);
    EXPECT_EQ(FitLayout(doc, 800, 600), ViewTransform{}) << "nothing of it can be drawn";
    Piece("24188", 100, 50, 90);  // 188.3 mm straight pointing down
    ExpectBounds(LayoutExtent(doc), 100, 50, 100, 238.3);
    Scenery(-200, 10);
    doc.labels.push_back(Label{doc.TakeId(), "Far away", 9000, 9000, false});
    doc.measurements.push_back(Measurement{doc.TakeId(), 0, 0, 0, 7000, 7000, 0, false});
    ExpectBounds(LayoutExtent(doc), -200, 10, 100, 238.3);

    doc.EnsureDefaultLevel();
    doc.levels[0].outline = {{0, -300}, {50, -300}};  // outlines count with any number of points
    ExpectBounds(LayoutExtent(doc), -200, -300, 100, 238.3);
    ExtentOptions noOutlines;
    noOutlines.outlines = false;
    ExpectBounds(LayoutExtent(doc, noOutlines), -200, 10, 100, 238.3);

    LayoutDocument board;
    board.EnsureDefaultLevel();
    board.levels[0].outline = {{0, 0}, {400, 0}};
    EXPECT_EQ(FitLayout(board, 800, 600), ViewTransform{}) << "two points are no outline";
    board.levels[0].outline.push_back({400, 200});
    LayoutBounds outline;
    outline.Add(0, 0);
    outline.Add(400, 200);
    EXPECT_EQ(FitLayout(board, 800, 600), FitTransform(outline, 800, 600));
}

TEST_F(Extent, AHelixCountsByItsEndPiecesOnly) {
    ASSERT_NE(PlaceHelix(doc, 500, 500, 30, ""), kNoId);
    const LayoutBounds withHelix = LayoutExtent(doc);
    ASSERT_TRUE(withHelix.any);
    LayoutBounds ends;
    for (const PlacedPiece& p : doc.pieces) AddPieceExtent(ends, p);
    EXPECT_EQ(withHelix.minX, ends.minX);
    EXPECT_EQ(withHelix.maxX, ends.maxX);
    EXPECT_EQ(withHelix.maxY, ends.maxY);
}

// Hidden levels hide their pieces from snapping; pieces of unknown levels stay visible.
TEST_F(Extent, ALevelOrTheSelectionNarrowsItAndHiddenLevelsHideFromSnapping) {
    const uint32_t low = Piece("24188", 0, 0, 0, 1);
    Piece("24188", 1000, 0, 0, 2);
    const uint32_t orphan = Piece("24188", 0, 200, 0, 7);
    Scenery(-50, -50).selected = true;
    doc.EnsureDefaultLevel();
    doc.levels[0].outline = {{-900, -900}, {900, -900}, {900, 900}};
    doc.levels.push_back(Level{2, "Upper", false, 80, false, {}, {}});

    ExtentOptions upper;
    upper.pieceLevel = 2;
    upper.outlines = false;
    ExpectBounds(LayoutExtent(doc, upper), -50, -50, 1188.3, 0);  // scenery of every level
    ExpectBounds(SelectionExtent(doc), -50, -50, -50, -50);
    doc.FindPiece(low)->selected = true;
    ExpectBounds(SelectionExtent(doc), -50, -50, 188.3, 0);  // no outline, no unselected piece

    EXPECT_TRUE(IsLevelVisible(doc, 1) && IsLevelVisible(doc, 7) && IsLevelVisible(doc, -1));
    EXPECT_FALSE(IsLevelVisible(doc, 2));
    std::vector<uint32_t> ids;
    for (const PlacedPiece* p : SnapCandidates(doc, false)) ids.push_back(p->id);
    EXPECT_EQ(ids, (std::vector<uint32_t>{low, orphan}));
}

TEST_F(Extent, SelectionQueriesCountPiecesAndSceneryAndGradesAboveOneThousandth) {
    const uint32_t a = Piece("24188", 0, 0, 0);
    const uint32_t b = Piece("24188", 200, 0, 0);
    doc.labels.push_back(Label{doc.TakeId(), "L", 0, 0, true});
    EXPECT_TRUE(doc.HasSelection());
    EXPECT_FALSE(PieceOrScenerySelected(doc)) << "labels and measurements do not count";
    Scenery(0, 0).selected = true;
    EXPECT_TRUE(PieceOrScenerySelected(doc));
    EXPECT_EQ(SelectedPieceCount(doc), 0);
    doc.scenery.clear();
    doc.FindPiece(a)->selected = doc.FindPiece(b)->selected = true;
    EXPECT_TRUE(PieceOrScenerySelected(doc));
    EXPECT_EQ(SelectedPieceCount(doc), 2);

    for (const auto& [grade, selected, graded] : {std::tuple{0.001, true, false},
                                                  {-0.001, true, false},
                                                  {0.0011, true, true},
                                                  {-2.5, true, true},
                                                  {3.0, false, false}}) {
        doc.FindPiece(a)->grade = grade;
        doc.FindPiece(a)->selected = selected;
        EXPECT_EQ(SelectionHasGrade(doc), graded) << grade;
    }
}

}  // namespace
