// Printing to scale: bounds, pagination of the three scalings, tiles, page marks and the
// document flags a page is drawn with.
#include <gtest/gtest.h>

#include <cmath>

#include "canvas/ViewTransform.h"
#include "catalog/TrackCatalog.h"
#include "dialogs/PrintPlan.h"
#include "support/DocBuilders.h"
#include "trackgeometry/PieceGeometry.h"

namespace {

// Letter landscape and A4 portrait at 300 dpi.
constexpr int kLetterW = 3300, kLetterH = 2550;
constexpr int kA4W = 2480, kA4H = 3508;

PrintOptions Scaled(int scaling, int value = 0) {
    PrintOptions o;
    o.scaling = scaling;
    if (scaling == 1) o.scaleDenominator = value;
    if (scaling == 2) o.percent = value;
    return o;
}

class PrintPlanTest : public testing::Test {
protected:
    void SetUp() override {
        doc.EnsureDefaultLevel();
        doc.baseboard = {{0, 0}, {2000, 0}, {2000, 1000}, {0, 1000}};
    }
    LayoutDocument doc;
};

TEST_F(PrintPlanTest, BoundsAreWhatThePageShows) {
    const PieceDef* def = TrackCatalog::Instance().Find("24188");
    ASSERT_NE(def, nullptr);
    const double w = BandHalfWidth(*def);
    LayPiece(doc, 2100, 500, 1, "24188", 90);         // its band reaches x = 2100 + w
    LayPiece(doc, -300, -40, 2);                      // only with all levels
    LayPiece(doc, 9000, 9000, 1, "no-such-article");  // never widens
    doc.scenery.push_back(SceneryItem{.item = "tree_conifer", .x = 1500, .y = 1400, .level = 2});

    // The active level's track and the board with its dimension labels 12 mm outside.
    PrintOptions active;
    PrintBounds b = ComputePrintBounds(doc, active, 1);
    EXPECT_DOUBLE_EQ(b.minX, -12);
    EXPECT_DOUBLE_EQ(b.minY, -12);
    EXPECT_NEAR(b.maxX, 2100 + w, 1e-9);
    EXPECT_DOUBLE_EQ(b.maxY, std::max(1012.0, 500 + def->length));

    // All levels without the board: level 2's piece and tree come in.
    b = ComputePrintBounds(doc, PrintOptions{.levels = 1, .baseboard = false}, 1);
    EXPECT_DOUBLE_EQ(b.minX, -300);
    EXPECT_NEAR(b.minY, -40 - w, 1e-9);
    EXPECT_GT(b.maxY, 1400);
    // A board the canvas hides is not printed, so it does not count either.
    doc.baseboardShown = false;
    b = ComputePrintBounds(doc, active, 1);
    EXPECT_NEAR(b.minX, 2100 - w, 1e-9);
}

// A picture reaching past the track widens the print when it is printed with it: by its four
// corners, on the levels printed, at the pixel size its image has.
TEST_F(PrintPlanTest, BoundsTakeInThePicturesPrinted) {
    LayPiece(doc, 0, 0);
    doc.levels.push_back(NamedLevel(2, "Upper", true));
    // 400 x 300 pixels: 750 mm high.
    doc.pictures = {BackgroundPicture{.path = "room.png", .xMm = -2000, .yMm = 500}};
    const PictureImageSize sizes = [](const std::string& path) {
        return path == "room.png" ? PointMm{400, 300} : PointMm{};
    };
    PrintOptions o{.baseboard = false};
    const PrintBounds track = ComputePrintBounds(doc, o, 1, sizes);
    EXPECT_DOUBLE_EQ(track.minX, 0);
    o.pictures = true;
    PrintBounds b = ComputePrintBounds(doc, o, 1, sizes);
    EXPECT_DOUBLE_EQ(b.minX, -2000);
    EXPECT_DOUBLE_EQ(b.maxY, 1250);
    EXPECT_DOUBLE_EQ(b.maxX, track.maxX);
    // Turned a quarter about its corner, it reaches up from there instead.
    doc.pictures[0].rotationDeg = 90;
    b = ComputePrintBounds(doc, o, 1, sizes);
    EXPECT_NEAR(b.minX, -2750, 1e-9);
    EXPECT_NEAR(b.maxY, 1500, 1e-9);
    // Not on the level printed, hidden, or of an unread image: the track alone.
    doc.pictures[0].level = 2;
    EXPECT_DOUBLE_EQ(ComputePrintBounds(doc, o, 1, sizes).minX, 0);
    o.levels = 1;
    EXPECT_LT(ComputePrintBounds(doc, o, 1, sizes).minX, -2000);
    doc.pictures[0].shown = false;
    EXPECT_DOUBLE_EQ(ComputePrintBounds(doc, o, 1, sizes).minX, 0);
    doc.pictures[0].shown = true;
    doc.pictures[0].path = "gone.png";
    EXPECT_DOUBLE_EQ(ComputePrintBounds(doc, o, 1, sizes).minX, 0);
}

TEST_F(PrintPlanTest, EmptyLayoutPrintsAMetreSquareOnOnePage) {
    LayoutDocument empty;
    const PrintOptions o{.baseboard = false};
    const PrintBounds b = ComputePrintBounds(empty, o, 1);
    EXPECT_EQ(b.minX, 0);
    EXPECT_EQ(b.maxY, 1000);
    const PrintPages pages = Paginate(b, o, kLetterW, kLetterH, 300);
    EXPECT_EQ(pages.Count(), 1);
    EXPECT_DOUBLE_EQ(pages.scale, int(kLetterH * 0.92) / 1000.0);
}

struct PaginationCase {
    const char* name;
    int scaling, value, width, height, dpi;
    double scale;
    int columns, rows;
};

class PaginationTest : public testing::TestWithParam<PaginationCase> {};

// The 2000 × 1000 mm layout: usable area 92 % of the page, truncated.
TEST_P(PaginationTest, CountsPagesForTheScale) {
    const PaginationCase& c = GetParam();
    const PrintPages p = Paginate(PrintBounds{0, 0, 2000, 1000}, Scaled(c.scaling, c.value),
                                  c.width, c.height, c.dpi);
    EXPECT_NEAR(p.scale, c.scale, 1e-9);
    EXPECT_EQ(p.columns, c.columns);
    EXPECT_EQ(p.rows, c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Layout2000x1000, PaginationTest,
    testing::Values(
        // Fit: min(2346 / 1000, 3036 / 2000).
        PaginationCase{"FitLetter", 0, 0, kLetterW, kLetterH, 300, 3036 / 2000.0, 1, 1},
        // 1:10 at 300 dpi is 1.181 px/mm: 2362 × 1181 px fits 3036 × 2346.
        PaginationCase{"TenthLetter", 1, 10, kLetterW, kLetterH, 300, 300 / 25.4 / 10, 1, 1},
        // ... but not 2281 px across an A4 portrait page: two columns.
        PaginationCase{"TenthA4", 1, 10, kA4W, kA4H, 300, 300 / 25.4 / 10, 2, 1},
        PaginationCase{"TenthUnknownDpi", 1, 10, kA4W, kA4H, 0, 300 / 25.4 / 10, 2, 1},
        PaginationCase{"FullSize600Dpi", 1, 1, kLetterW, kLetterH, 600, 600 / 25.4, 16, 11},
        // 200 % doubles the fitted scale: 6072 × 3036 px on 3036 × 2346.
        PaginationCase{"TwiceFitted", 2, 200, kLetterW, kLetterH, 300, 2 * 3036 / 2000.0, 2, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageTransform, OnePageIsCentredInsideTheMargins) {
    const PrintPages pages =
        Paginate(PrintBounds{100, 50, 2100, 1050}, PrintOptions{}, 1000, 800, 300);
    const PageTransform t = PageTransformFor(pages, 1);
    EXPECT_EQ(t.marginX, 40);
    EXPECT_EQ(t.marginY, 32);
    EXPECT_EQ(t.areaW, 920);
    EXPECT_EQ(t.areaH, 736);
    const double left = 100 * t.scale + t.offsetX, right = 2100 * t.scale + t.offsetX;
    const double top = 50 * t.scale + t.offsetY, bottom = 1050 * t.scale + t.offsetY;
    EXPECT_NEAR(left - t.marginX, t.marginX + t.areaW - right, 1e-9);
    EXPECT_NEAR(top - t.marginY, t.marginY + t.areaH - bottom, 1e-9);
    EXPECT_GE(left, t.marginX - 1e-9);
    EXPECT_GE(top, t.marginY - 1e-9);
}

TEST(PageTransform, PagesTileTheAreaInsideTheMarginsRowByRow) {
    const PrintPages pages =
        Paginate(PrintBounds{-500, 200, 1500, 1200}, Scaled(1, 1), kLetterW, kLetterH, 300);
    ASSERT_GT(pages.columns, 2);
    ASSERT_GT(pages.rows, 1);
    const PageTransform first = PageTransformFor(pages, 1);
    // The layout's top-left corner lands on the first page's inner top-left corner.
    EXPECT_NEAR(-500 * first.scale + first.offsetX, first.marginX, 1e-9);
    EXPECT_NEAR(200 * first.scale + first.offsetY, first.marginY, 1e-9);
    // The point at the right inner edge of page (row 1, column 1) is the left inner edge of
    // (row 1, column 2), and the bottom edge of page 1 is the top of the page below it.
    const double tileW = first.areaW / first.scale, tileH = first.areaH / first.scale;
    const PageTransform right = PageTransformFor(pages, 2);
    const PageTransform below = PageTransformFor(pages, pages.columns + 1);
    EXPECT_NEAR((-500 + tileW) * right.scale + right.offsetX, right.marginX, 1e-6);
    EXPECT_NEAR((200 + tileH) * below.scale + below.offsetY, below.marginY, 1e-6);
    EXPECT_NEAR(below.offsetX, first.offsetX, 1e-9);
}

TEST(PageMarks, NameRowAndColumnOnMultiPagePrintsOnly) {
    PrintPages pages{.bounds = {}, .columns = 4, .rows = 3};
    EXPECT_EQ(PageMarkText(pages, 1), "Row 1, Column 1 of 3 \u00d7 4");
    EXPECT_EQ(PageMarkText(pages, 7), "Row 2, Column 3 of 3 \u00d7 4");
    EXPECT_EQ(PageMarkText(pages, 12), "Row 3, Column 4 of 3 \u00d7 4");
    EXPECT_EQ(PageMarkText(pages, 13), "");
    pages.columns = pages.rows = 1;
    EXPECT_EQ(PageMarkText(pages, 1), "");
}

TEST(PageMarks, CornerMarksStayInTheMargins) {
    const PrintPages pages{.bounds = {}, .scale = 1, .columns = 2, .width = 3300, .height = 2550};
    const PageTransform t = PageTransformFor(pages, 2);
    const auto marks = PageCornerMarks(t);
    ASSERT_EQ(marks.size(), 8u);
    for (const MarkLine& m : marks) {
        for (auto [x, y] : {std::pair{m.x1, m.y1}, std::pair{m.x2, m.y2}}) {
            EXPECT_GE(x, 0);
            EXPECT_GE(y, 0);
            EXPECT_LE(x, pages.width);
            EXPECT_LE(y, pages.height);
            const bool insideArea = x > t.marginX && x < t.marginX + t.areaW && y > t.marginY &&
                                    y < t.marginY + t.areaH;
            EXPECT_FALSE(insideArea) << x << "," << y;
        }
        // Each mark lies on the line of a tile edge.
        EXPECT_TRUE(m.x1 == m.x2 || m.y1 == m.y2);
        EXPECT_TRUE(m.x1 == t.marginX || m.x1 == t.marginX + t.areaW || m.y1 == t.marginY ||
                    m.y1 == t.marginY + t.areaH);
    }
}

TEST(PrintDrawFlags, ShowsTheActiveLevelForOnePageUnselectedAndRestoresEverything) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    doc.levels.push_back(NamedLevel(2, "Two", false));
    doc.levels.push_back(NamedLevel(3, "Three", true));
    doc.gridShown = true;
    doc.baseboardShown = true;
    for (int i = 0; i < 3; ++i) doc.FindPiece(LayPiece(doc, 0))->selected = i != 1;
    doc.scenery.push_back(SceneryItem{.item = {}, .selected = true});
    doc.labels.push_back(Label{.text = {}, .selected = true});
    doc.measurements.resize(2);
    doc.measurements.back().selected = true;
    const LayoutDocument before = doc;
    PrintOptions o{.grid = false, .baseboard = false};
    {
        PrintDrawFlags flags(doc, o, 2);
        // Nothing is selected on paper.
        for (const PlacedPiece& p : doc.pieces) EXPECT_FALSE(p.selected);
        EXPECT_FALSE(doc.scenery[0].selected);
        EXPECT_FALSE(doc.labels[0].selected);
        EXPECT_FALSE(doc.measurements[1].selected);
        EXPECT_FALSE(doc.levels[0].visible);
        EXPECT_TRUE(doc.levels[1].visible);
        EXPECT_FALSE(doc.levels[2].visible);
        EXPECT_FALSE(doc.gridShown);
        EXPECT_FALSE(doc.baseboardShown);
        doc.levels.erase(doc.levels.begin() + 2);  // a level going away meanwhile is skipped
    }
    EXPECT_TRUE(doc.levels[0].visible);
    EXPECT_FALSE(doc.levels[1].visible);
    EXPECT_TRUE(doc.gridShown);
    EXPECT_TRUE(doc.baseboardShown);
    EXPECT_EQ(doc.pieces, before.pieces);
    EXPECT_EQ(doc.scenery, before.scenery);
    EXPECT_EQ(doc.labels, before.labels);
    EXPECT_EQ(doc.measurements, before.measurements);

    o.levels = 1;
    o.grid = true;
    doc.gridShown = false;
    {
        PrintDrawFlags flags(doc, o, 1);
        EXPECT_TRUE(doc.levels[1].visible);
        EXPECT_FALSE(doc.gridShown);  // the grid prints only when the canvas shows it
    }
    EXPECT_FALSE(doc.levels[1].visible);
}

TEST(PageTransform, TilesAreCutWhereTheNextTileGoesOn) {
    PrintBounds b{0, 0, 2000, 1000};
    const PageTransform one = PageTransformFor(Paginate(b, PrintOptions{}, 3300, 2550, 300), 1);
    EXPECT_FALSE(one.coverLeft || one.coverTop || one.coverRight || one.coverBottom);
    const PrintPages tiles = Paginate(b, Scaled(1, 3), 3300, 2550, 300);
    ASSERT_EQ(tiles.columns, 3);
    ASSERT_EQ(tiles.rows, 2);
    const PageTransform first = PageTransformFor(tiles, 1), middle = PageTransformFor(tiles, 2);
    const PageTransform last = PageTransformFor(tiles, 6);
    EXPECT_FALSE(first.coverLeft || first.coverTop);
    EXPECT_TRUE(first.coverRight && first.coverBottom);
    EXPECT_TRUE(middle.coverLeft && middle.coverRight && middle.coverBottom);
    EXPECT_FALSE(middle.coverTop);
    EXPECT_TRUE(last.coverLeft && last.coverTop);
    EXPECT_FALSE(last.coverRight || last.coverBottom);
}

TEST(PageMarks, TextIsTenPointsOnPaperWithinTheMargin) {
    PrintPages pages = Paginate(PrintBounds{}, Scaled(1, 1), 3300, 2550, 300);
    EXPECT_DOUBLE_EQ(pages.PixelScale(), 300 / 96.0);
    const PageTransform t = PageTransformFor(pages, 1);
    EXPECT_EQ(PageMarkTextPx(t, pages.PixelScale()), static_cast<int>(std::round(10 * 300 / 72.0)));
    // A narrow margin bounds it.
    PageTransform thin = t;
    thin.marginY = 20;
    EXPECT_EQ(PageMarkTextPx(thin, pages.PixelScale()), 14);
    PrintPages unknown = Paginate(PrintBounds{}, Scaled(1, 1), 3300, 2550, 0);
    EXPECT_EQ(unknown.dpi, kDefaultPrinterDpi);
}

}  // namespace
