// The height profile's drawing geometry: axes, track colours, dots, levels, crossing bars and the
// pointer's readout, worked out for a climb over flat track.
#include <gtest/gtest.h>

#include <cmath>

#include "base/Geometry.h"
#include "model/GradeRuns.h"
#include "model/TrackBuilder.h"
#include "network/ProfileChart.h"
#include "panels/PropertiesLogic.h"

namespace {

class ProfileChartTest : public ::testing::Test {
protected:
    LayoutDocument doc;
    TrackBuilder track{doc};
    std::vector<uint32_t> run;
    uint32_t below = 0;

    // Four straights: flat, 1 degree, 2.5 degrees (above the recommended 3 %) and 7 degrees
    // (above the maximum), with a flat straight 30 mm under the third.
    void SetUp() override {
        doc.EnsureDefaultLevel();
        doc.levels.push_back(Level{2, "Upper", true, 20, false, {180, 200, 220}, {}});
        doc.levels.push_back(Level{3, "Far above", true, 5000, false, {180, 200, 220}, {}});
        run = track.Line("24188", 4);
        const double grades[] = {0, 1, 2.5, 7};
        for (size_t i = 0; i < run.size(); ++i) {
            track[run[i]].grade = grades[i];
            if (i > 0) track[run[i]].elevation = PieceEndHeight(track[run[i - 1]]);
        }
        const double at = 2 * 188.3 + 94.15;
        const double h = track[run[2]].elevation + std::sin(2.5 * kDegToRad) * 94.15;
        below = track.Place("24188", at, -90, 90, h - 30);
    }

    HeightProfile Profile() {
        return BuildProfile(doc,
                            FindRoute(BuildTrackGraph(doc), {run.front(), 0}, {run.back(), 1}));
    }
};

TEST_F(ProfileChartTest, AxesSpanTheRouteAndMapBothWays) {
    const HeightProfile p = Profile();
    const ProfileChart c = LayoutProfileChart(doc, p, 800, 400);
    EXPECT_LT(c.left, c.right);
    EXPECT_LT(c.top, c.bottom);
    EXPECT_LE(c.right, 800);
    EXPECT_LE(c.bottom, 400);
    EXPECT_NEAR(c.XOf(0), c.left, 1e-9);
    EXPECT_NEAR(c.XOf(p.points.back().distanceMm), c.right, 1e-9);
    for (double d : {0.0, 123.4, 700.0}) EXPECT_NEAR(c.DistanceAt(c.XOf(d)), d, 1e-9);
    for (double h : {-10.0, 0.0, 55.5}) EXPECT_NEAR(c.HeightAt(c.YOf(h)), h, 1e-9);
    // The track under the route lies inside the plot.
    ASSERT_EQ(c.crossings.size(), 1u);
    EXPECT_LE(c.crossings[0].yOther, c.bottom);
    // Ticks inside the axes, in order, labelled with round values in the layout's units.
    for (const auto* ticks : {&c.distanceTicks, &c.heightTicks}) {
        ASSERT_GE(ticks->size(), 2u);
        for (size_t i = 0; i + 1 < ticks->size(); ++i)
            EXPECT_NE((*ticks)[i].px, (*ticks)[i + 1].px);
    }
    for (const ChartTick& t : c.distanceTicks) {
        EXPECT_GE(t.px, c.left - 1e-6);
        EXPECT_LE(t.px, c.right + 1e-6);
        EXPECT_NEAR(c.DistanceAt(t.px), std::stod(t.label), 1e-6);
    }
    EXPECT_EQ(c.distanceTitle, "Distance (mm)");
}

TEST_F(ProfileChartTest, TrackIsColouredByGradeAndDotsCarryTheirHeights) {
    const HeightProfile p = Profile();
    const ProfileChart c = LayoutProfileChart(doc, p, 800, 400);
    ASSERT_EQ(c.track.size(), 4u);
    const GradeBand expected[] = {GradeBand::Within, GradeBand::Within, GradeBand::AboveRecommended,
                                  GradeBand::AboveMaximum};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(c.track[i].band, expected[i]) << i;
        EXPECT_EQ(c.grades[i].band, expected[i]) << i;
        // The line rises on the screen (y falls) as the route climbs.
        EXPECT_EQ(c.track[i].y1<c.track[i].y0, p.sections[i].gradePercent> 0) << i;
    }
    char percent[32];
    std::snprintf(percent, sizeof percent, "%.1f %%", p.sections[2].gradePercent);
    EXPECT_EQ(c.grades[2].text, percent);
    ASSERT_EQ(c.dots.size(), p.points.size());
    for (size_t i = 0; i < p.points.size(); ++i) {
        EXPECT_NEAR(std::stod(c.dots[i].label), p.points[i].heightMm, 0.05);
        EXPECT_EQ(DotNear(c, c.dots[i].x + 2, c.dots[i].y - 2, 6), static_cast<int>(i));
    }
    EXPECT_EQ(DotNear(c, c.dots[1].x, c.dots[1].y + 40, 6), -1);
    // Only the levels within the heights shown.
    ASSERT_EQ(c.levels.size(), 2u);
    EXPECT_EQ(c.levels[1].name, "Upper");
    EXPECT_NEAR(c.HeightAt(c.levels[1].y), 20, 1e-9);
}

TEST_F(ProfileChartTest, CrossingBarIsRedOnlyBelowTheCheckClearance) {
    ProfileChart c = LayoutProfileChart(doc, Profile(), 800, 400);
    ASSERT_EQ(c.crossings.size(), 1u);
    EXPECT_TRUE(c.crossings[0].tooLow);
    EXPECT_GT(c.crossings[0].yOther, c.crossings[0].yRoute) << "the other track is below";
    EXPECT_NEAR(c.DistanceAt(c.crossings[0].x), 2 * 188.3 + 94.15, 1e-6);
    EXPECT_EQ(c.crossings[0].label, "30.0 mm");
    EXPECT_NEAR(c.HeightAt(c.crossings[0].yRoute) - c.HeightAt(c.crossings[0].yOther), 30, 1e-6);

    track[below].elevation -= 40;
    c = LayoutProfileChart(doc, Profile(), 800, 400);
    ASSERT_EQ(c.crossings.size(), 1u);
    EXPECT_FALSE(c.crossings[0].tooLow);
    EXPECT_EQ(c.crossings[0].label, "70.0 mm");
}

TEST_F(ProfileChartTest, ReadoutUnderThePointer) {
    const HeightProfile p = Profile();
    const double d = 188.3 + 50;
    const double h = p.points[1].heightMm + p.sections[1].gradePercent / 100 * 50;
    char expected[160];
    std::snprintf(expected, sizeof expected, "Distance: %.1f mm   Height: %.1f mm   Grade: %.1f %%",
                  d, h, p.sections[1].gradePercent);
    EXPECT_EQ(ProfileReadout(doc, p, d), expected);
    EXPECT_EQ(ProfileReadout(doc, p, -1), "");
    EXPECT_EQ(ProfileReadout(doc, p, p.points.back().distanceMm + 1), "");
    EXPECT_EQ(ProfileReadout(doc, HeightProfile{}, 0), "");
}

}  // namespace
