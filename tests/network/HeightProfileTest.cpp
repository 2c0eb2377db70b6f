// The height profile of routes: heights and grades of a climbing run, crossings with their
// clearances, an even grade and a joint dragged to a new height.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "base/Format.h"
#include "base/Geometry.h"
#include "catalog/TrackCatalog.h"
#include "layoutcheck/LayoutCheck.h"
#include "model/GradeRuns.h"
#include "model/TrackBuilder.h"
#include "network/HeightProfile.h"
#include "network/ProfileChart.h"
#include "panels/PropertiesLogic.h"

namespace {

const PieceDef& Def(const std::string& article) { return *TrackCatalog::Instance().Find(article); }

class HeightProfileTest : public ::testing::Test {
protected:
    LayoutDocument doc;
    TrackBuilder track{doc};

    // A run of pieces climbing at `deg` from `startMm`, laid along x from the origin.
    std::vector<uint32_t> Climb(const std::vector<std::string>& articles, double deg,
                                double startMm) {
        std::vector<uint32_t> ids{track.Place(articles[0], 0, 0, 0, startMm)};
        StartGrade(doc, ids[0], deg);
        for (size_t i = 1; i < articles.size(); ++i)
            ids.push_back(track.Attach(articles[i], ids.back(), 1));
        return ids;
    }

    Route Along(const std::vector<uint32_t>& ids) {
        return FindRoute(BuildTrackGraph(doc), {ids.front(), 0}, {ids.back(), 1});
    }
};

TEST_F(HeightProfileTest, ClimbingRunGivesEachJointItsHeightAndEachPieceItsGrade) {
    const std::vector<std::string> articles{"24188", "24130", "24130", "24188"};
    const std::vector<uint32_t> ids = Climb(articles, 3.0, 12);
    const Route route = Along(ids);
    const HeightProfile p = BuildProfile(doc, route);
    ASSERT_EQ(p.points.size(), ids.size() + 1);
    ASSERT_EQ(p.sections.size(), ids.size());
    double distance = 0;
    for (size_t i = 0; i < ids.size(); ++i) {
        const PlacedPiece& piece = track[ids[i]];
        EXPECT_EQ(std::pair(p.points[i].piece, p.points[i].connector), std::pair(ids[i], 0));
        EXPECT_NEAR(p.points[i].distanceMm, distance, 1e-6);
        EXPECT_NEAR(p.points[i].heightMm, ConnectorHeight(piece, 0), 1e-9);
        // Rise as the grade runs compute it, over the centre line's length.
        const double rise = std::sin(3.0 * kDegToRad) * RunLength(Def(articles[i]));
        EXPECT_EQ(p.sections[i].piece, ids[i]);
        EXPECT_NEAR(p.sections[i].gradePercent, rise / route.steps[i].lengthMm * 100, 1e-9);
        distance += route.steps[i].lengthMm;
    }
    EXPECT_EQ(std::pair(p.points.back().piece, p.points.back().connector),
              std::pair(ids.back(), 1));
    EXPECT_NEAR(p.points.back().distanceMm, route.lengthMm, 1e-6);
    EXPECT_NEAR(p.points.back().heightMm, PieceEndHeight(track[ids.back()]), 1e-9);
    EXPECT_TRUE(p.crossings.empty());

    // The other way the same points in reverse, the grades falling.
    const Route back = FindRoute(BuildTrackGraph(doc), {ids.back(), 1}, {ids.front(), 0});
    const HeightProfile q = BuildProfile(doc, back);
    ASSERT_EQ(q.points.size(), p.points.size());
    for (size_t i = 0; i < p.points.size(); ++i) {
        const ProfilePoint& a = p.points[i];
        const ProfilePoint& b = q.points[q.points.size() - 1 - i];
        EXPECT_NEAR(b.heightMm, a.heightMm, 1e-9);
        EXPECT_NEAR(b.distanceMm, route.lengthMm - a.distanceMm, 1e-6);
    }
    EXPECT_NEAR(q.sections.front().gradePercent, -p.sections.back().gradePercent, 1e-9);
}

TEST_F(HeightProfileTest, CrossingOfAClimbOverFlatTrackAtItsDistanceAndClearance) {
    const double deg = 1.5;
    const std::vector<uint32_t> run = Climb({"24188", "24188", "24188"}, deg, 40);
    const double crossX = 2 * 188.3 + 50;  // 50 mm into the third piece
    const uint32_t below = track.Place("24188", crossX, -90, 90, 4);
    track.Place("24188", 0, 300, 0, 0);  // never meets the run
    const double heightThere = 40 + std::sin(deg * kDegToRad) * crossX;

    const Route route = Along(run);
    const HeightProfile p = BuildProfile(doc, route);
    ASSERT_EQ(p.crossings.size(), 1u);
    EXPECT_EQ(p.crossings[0].otherPiece, below);
    EXPECT_NEAR(p.crossings[0].distanceMm, crossX, 1e-6);
    EXPECT_NEAR(p.crossings[0].clearanceMm, heightThere - 4, 1e-6);
    EXPECT_FALSE(p.crossings[0].otherAbove);

    // Seen from the flat track, the climb passes above it, half way along.
    const HeightProfile u =
        BuildProfile(doc, FindRoute(BuildTrackGraph(doc), {below, 0}, {below, 1}));
    ASSERT_EQ(u.crossings.size(), 1u);
    EXPECT_EQ(u.crossings[0].otherPiece, run[2]);
    EXPECT_TRUE(u.crossings[0].otherAbove);
    EXPECT_NEAR(u.crossings[0].distanceMm, 90, 1e-6);

    // Track on one deck meets the route: no crossing.
    track[below].elevation = heightThere - 3;
    EXPECT_TRUE(BuildProfile(doc, route).crossings.empty());
}

TEST_F(HeightProfileTest, EvenGradeGivesOneGradeLinearHeightsAndUndoesExactly) {
    const std::vector<std::string> articles{"24188", "24130", "24188", "24230", "24094"};
    std::vector<uint32_t> ids = Climb(articles, 0.5, 10);
    // Kinks along the way, and a steeper end.
    track[ids[1]].grade = 3;
    track[ids[2]].elevation += 15;
    track[ids[4]].elevation = 70;
    const auto before = DocState(doc);
    const Route route = Along(ids);
    const HeightProfile old = BuildProfile(doc, route);

    ASSERT_EQ(EvenGrade(doc, route), "");
    EXPECT_EQ(doc.undoStack.size(), std::get<7>(before) + 1);
    const HeightProfile p = BuildProfile(doc, route);
    const double first = old.points.front().heightMm, last = old.points.back().heightMm;
    for (const ProfilePoint& pt : p.points) {
        EXPECT_NEAR(pt.heightMm, first + (last - first) * pt.distanceMm / route.lengthMm, 1e-6);
    }
    for (const ProfileSection& s : p.sections)
        EXPECT_NEAR(s.gradePercent, (last - first) / route.lengthMm * 100, 1e-6);
    // The route is as long as its pieces' catalog lengths, and each piece climbs its share of
    // the rise by its catalog length.
    double catalogMm = 0;
    for (const std::string& a : articles) catalogMm += TrackCatalog::Instance().Find(a)->length;
    EXPECT_NEAR(p.points.back().distanceMm, catalogMm, 0.01);
    for (size_t i = 0; i < ids.size(); ++i) {
        const double share = TrackCatalog::Instance().Find(articles[i])->length / catalogMm;
        EXPECT_NEAR(PieceEndHeight(track[ids[i]]) - track[ids[i]].elevation, (last - first) * share,
                    0.01)
            << articles[i];
    }
    // Joined pieces meet at one height.
    for (size_t i = 0; i + 1 < ids.size(); ++i)
        EXPECT_NEAR(PieceEndHeight(track[ids[i]]), track[ids[i + 1]].elevation, 1e-6);

    doc.Undo();
    EXPECT_EQ(doc.pieces, std::get<0>(before));
    EXPECT_EQ(doc.gradeRuns, std::get<4>(before));
}

// After a drag in the profile one piece read 23.6 % there and 24.3 % in the check: a piece has
// one grade, and both read it alike.
TEST_F(HeightProfileTest, TheChartAndTheCheckShowAPiecesGradeAlike) {
    const std::vector<uint32_t> ids = Climb({"24188", "24188", "24188"}, 13.7, 0);
    const HeightProfile p = BuildProfile(doc, Along(ids));
    ASSERT_NEAR(track[ids[1]].grade, 13.7, 1e-9);
    const ProfileChart chart = LayoutProfileChart(doc, p, 800, 300);
    ASSERT_EQ(chart.grades.size(), ids.size());
    CheckOptions options;
    options.recommendedGradePercent = 3;
    const std::vector<LayoutFinding> findings = CheckLayout(doc, options);
    for (size_t i = 0; i < ids.size(); ++i) {
        const std::string shown = chart.grades[i].text;
        EXPECT_EQ(shown, Format("%.1f %%", GradePercentShown(track[ids[i]].grade)));
        const std::string number = shown.substr(0, shown.find(' '));
        const bool named = std::any_of(findings.begin(), findings.end(), [&](const auto& f) {
            return f.kind == FindingKind::SteepGrade && f.pieces == std::vector{ids[i]} &&
                   f.text.find("(" + number + " %)") != std::string::npos;
        });
        EXPECT_TRUE(named) << shown;
    }
    EXPECT_NE(ProfileReadout(doc, p, 100).find(chart.grades[0].text), std::string::npos);
}

TEST_F(HeightProfileTest, EvenGradeIsRefusedPastTheMaximumAndOnBrokenRoutes) {
    const std::vector<uint32_t> ids = Climb({"24188", "24188"}, 0, 0);
    // Just past the maximum over the two pieces.
    const double steep = std::sin((kMaxGradeDeg + 0.2) * kDegToRad) * 2 * 188.3;
    track[ids[1]].elevation = steep / 2;
    track[ids[1]].grade = std::asin(steep / 2 / 188.3) / kDegToRad;
    const Route route = Along(ids);
    const auto before = DocState(doc);
    const std::string why = EvenGrade(doc, route);
    EXPECT_NE(why.find("maximum"), std::string::npos) << why;
    EXPECT_EQ(DocState(doc), before);

    EXPECT_NE(EvenGrade(doc, Route{}), "");
    Route wrongWay = route;
    wrongWay.steps[0].exit = 0;
    EXPECT_NE(EvenGrade(doc, wrongWay), "");
    EXPECT_EQ(DocState(doc), before);
    // Just within the maximum it is done.
    const double within = std::sin((kMaxGradeDeg - 0.2) * kDegToRad) * 2 * 188.3;
    track[ids[1]].elevation = within / 2;
    track[ids[1]].grade = std::asin(within / 2 / 188.3) / kDegToRad;
    EXPECT_EQ(EvenGrade(doc, route), "");
}

TEST_F(HeightProfileTest, DraggedJointSetsTheGradesOnBothSidesInOneUndoStep) {
    const std::vector<uint32_t> ids = Climb({"24188", "24130", "24188"}, 1.0, 20);
    const Route route = Along(ids);
    const HeightProfile old = BuildProfile(doc, route);
    const auto before = DocState(doc);

    ASSERT_EQ(SetProfileHeight(doc, route, 2, 60), "");
    EXPECT_EQ(doc.undoStack.size(), std::get<7>(before) + 1);
    const HeightProfile p = BuildProfile(doc, route);
    EXPECT_NEAR(p.points[2].heightMm, 60, 1e-9);
    EXPECT_NEAR(PieceEndHeight(track[ids[1]]), 60, 1e-9);
    // The far ends stay where they were; the piece beyond is untouched.
    EXPECT_NEAR(p.points[1].heightMm, old.points[1].heightMm, 1e-9);
    EXPECT_NEAR(p.points[3].heightMm, old.points[3].heightMm, 1e-9);
    EXPECT_EQ(track[ids[0]], std::get<0>(before)[0]);
    EXPECT_GT(p.sections[1].gradePercent, old.sections[1].gradePercent);
    EXPECT_LT(p.sections[2].gradePercent, 0);

    doc.Undo();
    EXPECT_EQ(doc.pieces, std::get<0>(before));
    // A height no piece can reach changes nothing.
    EXPECT_NE(SetProfileHeight(doc, route, 1, 5000), "");
    EXPECT_NE(SetProfileHeight(doc, route, 9, 10), "");
    EXPECT_EQ(doc.pieces, std::get<0>(before));
}

}  // namespace
