// Hit tests of the canvas: track bands, curve spans, helix rings, scenery footprints, labels,
// measurements, handles and deck outlines.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "base/Geometry.h"
#include "canvas/Interaction.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "model/Helices.h"

namespace {

PlacedPiece PieceAtPose(const std::string& article, double x, double y, double heading) {
    PlacedPiece p;
    std::tie(p.article, p.x, p.y, p.heading) = std::tuple(article, x, y, heading);
    return p;
}

// World point of local (lx, ly) of a pose, worked out with the clockwise, y-down convention.
PointMm World(const PlacedPiece& p, double lx, double ly) {
    const double h = p.heading * kPi / 180;
    return {p.x + lx * std::cos(h) - ly * std::sin(h), p.y + lx * std::sin(h) + ly * std::cos(h)};
}

// A point on a right-hand arc of radius r after turning `deg` from the start, `off` mm outward.
PointMm OnRightArc(double r, double deg, double off) {
    const double t = deg * kPi / 180;
    return {(r + off) * std::sin(t), r - (r + off) * std::cos(t)};
}

struct BandCase {
    const char* name;
    std::string article;
    double lx, ly;
    bool hit;
};

class StraightBand : public testing::TestWithParam<BandCase> {};

TEST_P(StraightBand, CatchesItsBandOnly) {
    const BandCase& c = GetParam();
    const PlacedPiece p = PieceAtPose(c.article, 100, 50, 30);
    const PieceDef* def = TrackCatalog::Instance().Find(c.article);
    ASSERT_NE(def, nullptr);
    const PointMm w = World(p, c.lx, c.ly);
    EXPECT_EQ(PointOnPiece(p, *def, w.x, w.y), c.hit);
}

INSTANTIATE_TEST_SUITE_P(Cases, StraightBand,
                         testing::Values(BandCase{"middle", "24188", 94, 0, true},
                                         BandCase{"fiveBeforeStart", "24188", -4.99, 0, true},
                                         BandCase{"beyondStartSlack", "24188", -5.1, 0, false},
                                         BandCase{"fiveAfterEnd", "24188", 193.29, 0, true},
                                         BandCase{"beyondEndSlack", "24188", 193.5, 0, false},
                                         BandCase{"edgeOfBand", "24188", 50, -19.99, true},
                                         BandCase{"outsideBand", "24188", 50, 20.1, false},
                                         BandCase{"zGaugeInside", "8500", 50, 6.9, true},
                                         BandCase{"zGaugeOutside", "8500", 50, 7.2, false}),
                         [](const auto& info) { return info.param.name; });

TEST(CurveHit, SpanWidenedByThreeDegreesAndRadiusByBandPlusFive) {
    const PlacedPiece p = PieceAtPose("24130", 0, 0, 0);  // R1 360 mm, 30 degrees
    const PieceDef& def = *TrackCatalog::Instance().Find("24130");
    auto hits = [&](double deg, double off) {
        const PointMm l = OnRightArc(360, deg, off);
        return PointOnPiece(p, def, l.x, l.y);
    };
    EXPECT_TRUE(hits(15, 0));
    EXPECT_TRUE(hits(32.9, 0));
    EXPECT_FALSE(hits(33.2, 0));
    EXPECT_TRUE(hits(15, 24.9));  // h + 5 = 25 mm either side
    EXPECT_FALSE(hits(15, 25.2));
    // The far side of the circle is not the piece.
    EXPECT_FALSE(hits(180, 0));
}

class HitDoc : public testing::Test {
protected:
    LayoutDocument doc;
    ViewTransform view{1, 0, 0};  // pixels are millimetres
    void SetUp() override {
        doc.EnsureDefaultLevel();
        doc.levels.push_back({.id = 2, .name = "Upper", .height = 100, .outline = {}});
    }
    uint32_t Add(const std::string& article, double x, double y, double heading, int level = 1) {
        PlacedPiece p = PieceAtPose(article, x, y, heading);
        p.level = level;
        p.joints.resize(2);
        return doc.AddPiece(p);
    }
};

TEST_F(HitDoc, PieceOnHigherLevelWinsThenNearestOrigin) {
    const uint32_t low = Add("24188", 0, 0, 0, 1);
    const uint32_t high = Add("24188", 100, 0, 0, 2);
    EXPECT_EQ(PieceAt(doc, view, 150, 0), high);
    EXPECT_EQ(PieceAt(doc, view, 50, 0), low);
    doc.FindPiece(high)->level = 1;
    // Both on level 1 now: the origin at 100 is nearer to x = 120 than the origin at 0.
    EXPECT_EQ(PieceAt(doc, view, 120, 0), high);
    EXPECT_EQ(PieceAt(doc, view, 40, 0), low);
    doc.levels[1].visible = false;
    doc.FindPiece(high)->level = 2;
    EXPECT_EQ(PieceAt(doc, view, 150, 0), low);
    EXPECT_EQ(PieceAt(doc, view, 250, 0), kNoId);
    EXPECT_EQ(PieceAt(doc, view, 100, 30), kNoId);
}

TEST_F(HitDoc, HelixRingsStandForTheBottomInnerStub) {
    const uint32_t helixId = PlaceHelix(doc, 1000, 1000, 0, "proses_2_5_r1r2");
    ASSERT_NE(helixId, kNoId);
    const Helix& h = *doc.FindHelix(helixId);
    // Inner radius 360, outer 437.5: points on the x axis through the centre.
    EXPECT_EQ(HelixAt(doc, view, 1000 + 360 + 24, 1000), helixId);
    EXPECT_EQ(HelixAt(doc, view, 1000 + 437 + 24, 1000), helixId);
    EXPECT_EQ(HelixAt(doc, view, 1000 + 360 + 40, 1000), kNoId);
    EXPECT_EQ(HelixAt(doc, view, 1000, 1000), kNoId);
    EXPECT_EQ(PieceOrHelixAt(doc, view, 1000 - 360, 1000), h.bottomR1);
}

TEST_F(HitDoc, SceneryFootprintFollowsTheHeadingAndScale) {
    const SceneryItem s{doc.TakeId(), "platform", 500, 500, 90};  // 230 x 60
    doc.scenery.push_back(s);
    // Turned by 90 degrees the long side runs along y.
    EXPECT_EQ(SceneryAt(doc, view, 500, 500 + 117), s.id);
    EXPECT_EQ(SceneryAt(doc, view, 500, 500 + 119), kNoId);
    EXPECT_EQ(SceneryAt(doc, view, 500 + 34, 500), kNoId);
    doc.scenery[0].scaleY = 2;  // 120 deep now
    EXPECT_EQ(SceneryAt(doc, view, 500 + 62, 500), s.id);
}

TEST_F(HitDoc, MeasurementLabelBeforeLineAndPixelTolerances) {
    view.zoom = 0.5;
    doc.measurements.push_back({3, 0, 0, 400, 0, 0, -100});  // label 100 mm above the middle
    // Label at (200, -100) mm = pixels (100, -50); 32 px is 64 mm at zoom 0.5.
    MeasurementHit hit = MeasurementAt(doc, view, 100 + 16, -50 + 4);
    EXPECT_EQ(hit.id, 3u);
    EXPECT_EQ(hit.part, MeasurementPart::Label);
    hit = MeasurementAt(doc, view, 20, 8);  // 8 pixels = 16 mm off the line
    EXPECT_EQ(hit.part, MeasurementPart::Line);
    EXPECT_EQ(MeasurementAt(doc, view, 20, 9).id, kNoId);   // 18 mm off
    EXPECT_EQ(MeasurementAt(doc, view, 208, 0).id, 3u);     // 16 mm beyond the end
    EXPECT_EQ(MeasurementAt(doc, view, 209, 0).id, kNoId);  // 18 mm beyond
}

TEST_F(HitDoc, HandlesWithinSqrt37Pixels) {
    const SceneryItem s{0, "platform", 200, 100};
    const SceneryDef& def = *SceneryCatalog::Instance().Find("platform");
    // Handle 3 (right edge) at (315, 100); 6 px away is 36 < 37, (6, 1) is 37.
    EXPECT_EQ(HandleAt(s, def, view, 321, 100), 3);
    EXPECT_EQ(HandleAt(s, def, view, 321, 101), -1);
    EXPECT_EQ(HandleAt(s, def, view, 85, 70), 0);
    EXPECT_EQ(HandleAt(s, def, view, 200, 100), -1);
}

}  // namespace
