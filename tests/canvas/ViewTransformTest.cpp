// Tests of the canvas transform, zoom rules, zoom to fit, grid lines, rulers and display units.
#include <gtest/gtest.h>

#include <cmath>

#include "canvas/ViewTransform.h"
#include "model/LayoutDocument.h"
#include "trackgeometry/Units.h"

TEST(ViewTransform, PixelsTruncateTowardZero) {
    ViewTransform v;
    // −151.25 mm × 0.4 + 60 = −0.5: truncation gives 0 where floor would give −1.
    EXPECT_EQ(v.ToPixelX(-151.25), 0);
    // −200 mm → −20 exactly; −201 mm → −20.4 → −20.
    EXPECT_EQ(v.ToPixelX(-201), -20);
    EXPECT_EQ(v.ToPixelY(1.9), 60);  // 60.76
}

// Zooming keeps the pivot (or the kept layout point) still; zooming out stops at 0.3, and a
// fitted zoom below it jumps up to it.
TEST(ViewTransform, ZoomKeepsItsPointStillAndStopsAt03) {
    const ViewTransform v{0.7, 13, -40};
    const double wx = v.ToLayoutX(300), wy = v.ToLayoutY(200);
    const ViewTransform z = ZoomAbout(v, 1.25, 300, 200);
    EXPECT_DOUBLE_EQ(z.zoom, 0.875);
    EXPECT_NEAR(z.ToLayoutX(300), wx, 1e-9);
    EXPECT_NEAR(z.ToLayoutY(200), wy, 1e-9);
    const ViewTransform k = ZoomKeeping(v, 1.0, 1500, 800);
    EXPECT_DOUBLE_EQ(k.zoom, 1.0);
    EXPECT_NEAR(1500 * k.zoom + k.offsetX, 1500 * v.zoom + v.offsetX, 1e-9);
    EXPECT_NEAR(800 * k.zoom + k.offsetY, 800 * v.zoom + v.offsetY, 1e-9);
    ViewTransform out;
    for (int i = 0; i < 20; ++i) out = ZoomAbout(out, 0.8, 0, 0);
    EXPECT_DOUBLE_EQ(out.zoom, 0.3);
    EXPECT_DOUBLE_EQ(ZoomAbout(ViewTransform{0.05, 0, 0}, 1.15, 100, 100).zoom, 0.3);
}

TEST(FitTransform, SingleStraightIsFramedWith80PixelMarginsWithinTheZoomLimits) {
    LayoutBounds b;
    b.Add(0, 0);
    b.Add(188.3, 0);
    const ViewTransform v = FitTransform(b, 1400, 900);
    // Width limits: (1400 − 160) / 188.3; height span counts as 1 mm.
    EXPECT_NEAR(v.zoom, 1240 / 188.3, 1e-9);
    EXPECT_NEAR(v.offsetX, 80, 1e-9);
    // Vertically centred: (900 − 160 − zoom × 1) / 2 + 80.
    EXPECT_NEAR(v.offsetY, (740 - v.zoom) / 2 + 80, 1e-9);
    // The zoom is limited to 0.05 .. 20.
    LayoutBounds tiny;
    tiny.Add(5, 5);
    EXPECT_DOUBLE_EQ(FitTransform(tiny, 800, 600).zoom, 20.0);
    LayoutBounds huge;
    huge.Add(0, 0);
    huge.Add(1e6, 1e6);
    // Also in a window smaller than its margins, where the zoom would come out negative.
    EXPECT_DOUBLE_EQ(FitTransform(huge, 100, 100).zoom, 0.05);
}

struct StepCase {
    int units;
    double zoom;
    double step;
};
class RulerStepTest : public testing::TestWithParam<StepCase> {};
TEST_P(RulerStepTest, PicksFirstTableEntryAtLeast60PixelsApart) {
    EXPECT_DOUBLE_EQ(RulerStep(GetParam().units, GetParam().zoom), GetParam().step);
}
INSTANTIATE_TEST_SUITE_P(
    Units, RulerStepTest,
    testing::Values(StepCase{kUnitsInch, 0.4, 6},   // 60 / (25.4 × 0.4) ≈ 5.9
                    StepCase{kUnitsMm, 20, 5},      // 3 mm: 1 mm ticks would be 20 px apart
                    StepCase{kUnitsMm, 0.3, 200},   // exactly 200
                    StepCase{kUnitsMm, 0.05, 500},  // 1200: beyond the table, the last entry
                    StepCase{kUnitsCm, 0.4, 20},    // 15 cm
                    StepCase{kUnitsCm, 20, 0.5},    // 0.03 cm
                    StepCase{kUnitsInch, 0.01, 192}));

TEST(RulerLabel, InchesRoundToHalvesWithTheInchMark) {
    EXPECT_EQ(RulerLabel(kUnitsInch, 152.4), "6\"");
    EXPECT_EQ(RulerLabel(kUnitsInch, 12.7), "0.5\"");
    EXPECT_EQ(RulerLabel(kUnitsInch, 25.4 * 2.3), "2.5\"");  // 4.6 halves → 5 halves
    EXPECT_EQ(RulerLabel(kUnitsMm, 200), "200");
    EXPECT_EQ(RulerLabel(kUnitsMm, -400), "-400");
    EXPECT_EQ(RulerLabel(kUnitsCm, 50), "5");
}

TEST(RulerTicks, NewViewInMillimetresAndNoneUnderTheCorner) {
    ViewTransform v;
    // Step 200 mm = 80 px; the tick at −200 mm (−20 px) is under the corner.
    const std::vector<RulerTick> ticks = RulerTicks(v, kUnitsMm, 400, true);
    ASSERT_EQ(ticks.size(), 5u);  // 60, 140, 220, 300, 380
    EXPECT_EQ(ticks[0].pixel, 60);
    EXPECT_EQ(ticks[0].label, "0");
    EXPECT_EQ(ticks[4].pixel, 380);
    EXPECT_EQ(ticks[4].label, "800");
    v.offsetX = -1000;  // layout x 0 far off to the left: ticks under the corner are skipped
    for (const RulerTick& t : RulerTicks(v, kUnitsMm, 800, true)) {
        EXPECT_GE(t.pixel, 20);
        EXPECT_LT(t.pixel, 800);
    }
}

TEST(GridLines, SpacingOf32MmAtDefaultZoomAndOnlyFrom6To400Pixels) {
    // 12.8 px apart, first line at floor(−60 / 12.8) × 12.8 + 60 = −4.
    const std::vector<int> lines = GridLines(32, 0.4, 60, 100);
    ASSERT_EQ(lines.size(), 9u);  // −4, 8.8, 21.6, ..., 98.4
    EXPECT_EQ(lines[0], -4);
    EXPECT_EQ(lines[1], 8);
    EXPECT_EQ(lines[8], 98);
    // Lines disappear below 6 and above 400 pixels apart.
    EXPECT_TRUE(GridLines(32, 0.18, 60, 1000).empty());     // 5.76 px
    EXPECT_FALSE(GridLines(32, 0.1875, 60, 1000).empty());  // 6 px
    EXPECT_FALSE(GridLines(32, 12.5, 60, 1000).empty());    // 400 px
    EXPECT_TRUE(GridLines(32, 12.6, 60, 1000).empty());     // 403.2 px
}

namespace {
LayoutDocument BoardOnly(double w, double h) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    doc.baseboard = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    return doc;
}
}  // namespace

TEST(FitLayout, FramesTheBaseboardAndItsDimensionLabels) {
    // A board with nothing on it yet is still a drawing to frame.
    const LayoutDocument doc = BoardOnly(2400, 1300);
    const ViewTransform v = FitLayout(doc, 1200, 800);
    EXPECT_NE(v, ViewTransform{});
    // The labels 12 mm outside the edges sit on the 80-pixel margins, the board within them.
    EXPECT_NEAR(-12 * v.zoom + v.offsetX, 80, 1e-6);
    EXPECT_NEAR(2412 * v.zoom + v.offsetX, 1120, 1e-6);
    EXPECT_GT(-12 * v.zoom + v.offsetY, 79.99);
    EXPECT_LT(1312 * v.zoom + v.offsetY, 720.01);
    // Hidden, the board is not framed: an empty layout gets the default view.
    LayoutDocument hidden = doc;
    hidden.baseboardShown = false;
    EXPECT_EQ(FitLayout(hidden, 1200, 800), ViewTransform{});
}

TEST(OpenedLayoutView, ZLayoutsStopAtOnePixelPerMillimetreButAlwaysFit) {
    const LayoutDocument shelf = BoardOnly(1200, 300);
    // Fitting a 1.2 m shelf into 1600 pixels would enlarge it beyond 1 px/mm.
    const ViewTransform fitted = FitLayout(shelf, 1600, 900);
    ASSERT_GT(fitted.zoom, 1.0);
    const ViewTransform capped = OpenedLayoutView(shelf, 1600, 900, true);
    EXPECT_DOUBLE_EQ(capped.zoom, 1.0);
    // Still centred: the board's middle on the window's middle.
    EXPECT_NEAR(600 * capped.zoom + capped.offsetX, 800, 1e-6);
    EXPECT_NEAR(150 * capped.zoom + capped.offsetY, 450, 1e-6);
    EXPECT_EQ(OpenedLayoutView(shelf, 1600, 900, false), fitted);
    // In a window too small for 1 px/mm the fit wins, so the whole board stays in sight.
    const ViewTransform small = OpenedLayoutView(shelf, 900, 600, true);
    EXPECT_LT(small.zoom, 1.0);
    EXPECT_EQ(small, FitLayout(shelf, 900, 600));
}

TEST(PaperScale, TextAndMarksKeepTheirScreenSizeOnPaper) {
    // 11 points on a 96-dpi screen are 15 pixels; on a 300-dpi page 11/72 inch is ~46 dots.
    EXPECT_EQ(FontPixelHeight(11, 1), 15);
    const double paper = PaperPixelScale(300);
    EXPECT_EQ(FontPixelHeight(11, paper), static_cast<int>(std::round(11 / 72.0 * 300)));
    // A tiny layout printed at ten times the page's fit asks for text of a million points: the
    // font engine cannot make it and took seconds a glyph trying.
    EXPECT_LE(FontPixelHeight(1e6, paper), 8000);
    EXPECT_DOUBLE_EQ(PaperPixelScale(0), 1);
    ViewTransform v{1.181, 0, 0, paper};
    EXPECT_NEAR(v.ScreenZoom(), 1.181 * 96 / 300, 1e-12);
    EXPECT_EQ(v.Px(2), 6);  // a 2-pixel pen: 6 dots
    EXPECT_EQ(v.Px(0.1), 1);
}

TEST(GridLines, OnPaperTheSpacingIsJudgedAsOnScreenAndStaysEven) {
    // 32 mm at 1:1 on a 600-dpi page is 756 dots apart, but only 121 screen pixels: drawn.
    const double s = 600 / 25.4;
    EXPECT_TRUE(GridLines(32, s, 0, 6600).empty());  // judged in dots it would be too far apart
    const std::vector<int> lines = GridLines(32, s, 0.5, 6600, PaperPixelScale(600));
    ASSERT_GE(lines.size(), 8u);
    for (size_t i = 1; i < lines.size(); ++i) EXPECT_NEAR(lines[i] - lines[i - 1], 32 * s, 1.0);
}
