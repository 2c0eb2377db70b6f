// The helix in the network, on the two-deck sample: each of its tracks runs from its bottom stub
// to the top stub on the same radius, as long as its spiral, climbing evenly; the profile runs
// from deck to deck over it.
#include <gtest/gtest.h>

#include <cmath>

#include "base/Geometry.h"
#include "catalog/HelixVariants.h"
#include "network/HeightProfile.h"
#include "network/HelixTrack.h"
#include "network/TrackGraph.h"
#include "resources/samples/SampleLayoutBuilder.h"

namespace {

class TwoDeckHelix : public ::testing::Test {
protected:
    void SetUp() override {
        for (SampleLayout& s : BuildSampleLayouts())
            if (s.name == "K-Track Two Decks") doc = std::move(s.doc);
        ASSERT_EQ(doc.helices.size(), 1u);
        helix = doc.helices.front();
        variant = FindHelixVariant(helix.variant);
        ASSERT_NE(variant, nullptr);
        graph = BuildTrackGraph(doc);
    }
    // The piece joined to a stub's outer end (connector 1).
    uint32_t Beyond(uint32_t stub) const { return doc.FindPiece(stub)->joints[1].target; }
    LayoutDocument doc;
    Helix helix;
    const HelixVariant* variant = nullptr;
    TrackGraph graph;
};

TEST_F(TwoDeckHelix, EachTrackRunsBottomToTopOnItsRadiusClimbingEvenly) {
    struct Track {
        uint32_t bottom, top, otherTop;
        double radius;
    };
    for (const Track& t : {Track{helix.bottomR1, helix.topR1, helix.topR2, variant->radiusInner},
                           Track{helix.bottomR2, helix.topR2, helix.topR1, variant->radiusOuter}}) {
        const Route up = FindRoute(graph, {t.bottom, 1}, {t.top, 1});
        ASSERT_EQ(up.steps.size(), 3u) << t.radius;
        const RouteStep& spiral = up.steps[1];
        EXPECT_TRUE(IsHelixTrackId(spiral.piece));
        EXPECT_NEAR(spiral.lengthMm, 2 * kPi * t.radius * variant->turns, 0.01);
        EXPECT_TRUE(FindRoute(graph, {t.bottom, 1}, {t.otherTop, 1}).steps.empty());
        // Down again the other way.
        EXPECT_NEAR(FindRoute(graph, {t.top, 1}, {t.bottom, 1}).lengthMm, up.lengthMm, 1e-9);
        const TrackRoute line = StepLine(graph, spiral.piece, spiral.entry, spiral.exit);
        const double rise = variant->rise;
        for (double d = 0; d <= spiral.lengthMm; d += 97.1) {
            const LinePose p = PoseAt(line, d);
            EXPECT_NEAR(std::hypot(p.x - helix.x, p.y - helix.y), t.radius, 1e-6) << d;
            EXPECT_NEAR(p.heightMm, rise * d / spiral.lengthMm, 1e-6) << d;
            EXPECT_NEAR(p.gradePercent, rise / spiral.lengthMm * 100, 1e-6) << d;
        }
        const LinePose end = PoseAt(line, spiral.lengthMm);
        const PlacedPiece& top = *doc.FindPiece(t.top);
        EXPECT_NEAR(end.x, top.x, 1e-6);
        EXPECT_NEAR(end.y, top.y, 1e-6);
        EXPECT_NEAR(HeadingDiffDeg(end.headingDeg, top.heading), 0, 1e-6);
    }
}

TEST_F(TwoDeckHelix, TheProfileRunsFromDeckToDeckWithTheHelixsGrade) {
    const uint32_t lower = Beyond(helix.bottomR1), upper = Beyond(helix.topR1);
    const Route route = FindRouteBetween(graph, lower, upper);
    ASSERT_EQ(route.steps.size(), 5u);
    const HeightProfile profile = BuildProfile(doc, graph, route);
    ASSERT_EQ(profile.sections.size(), 5u);
    EXPECT_NEAR(profile.points.front().heightMm, 0, 1e-9);
    EXPECT_NEAR(profile.points.back().heightMm, variant->rise, 1e-9);
    const double spiral = 2 * kPi * variant->radiusInner * variant->turns;
    EXPECT_TRUE(IsHelixTrackId(profile.sections[2].piece));
    EXPECT_NEAR(profile.sections[2].gradePercent, variant->rise / spiral * 100, 1e-6);
    EXPECT_NEAR(profile.points[3].distanceMm - profile.points[2].distanceMm, spiral, 0.01);
    // The helix's rise is its own: evening the grade over it is refused and changes nothing.
    const auto before = doc.pieces;
    EXPECT_NE(EvenGrade(doc, route).find("helix"), std::string::npos);
    EXPECT_EQ(doc.pieces, before);
}

}  // namespace
