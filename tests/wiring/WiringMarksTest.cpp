// Editing the plan as the wiring view and window do (gaps stepped by a click, feeders, districts)
// and what the view draws and the wire list holds.
#include <gtest/gtest.h>

#include <cmath>

#include "canvas/CanvasOverlays.h"
#include "model/TrackBuilder.h"
#include "network/TrackGraph.h"
#include "trackgeometry/PieceGeometry.h"
#include "wiring/WireList.h"
#include "wiring/WiringEdits.h"
#include "wiring/WiringMarks.h"
#include "wiring/WiringParts.h"

namespace {

class WiringMarksTest : public ::testing::Test {
protected:
    std::vector<GapRails> StepThrough(uint32_t piece, int connector, int clicks) {
        std::vector<GapRails> seen;
        for (int i = 0; i < clicks; ++i) {
            EXPECT_TRUE(CycleGap(doc, BuildTrackGraph(doc), piece, connector));
            EXPECT_LE(doc.wiring.gaps.size(), 1u);
            seen.push_back(doc.wiring.gaps.empty() ? GapRails(-1) : doc.wiring.gaps[0].rails);
        }
        return seen;
    }
    LayoutDocument doc;
    TrackBuilder track{doc};
};

TEST_F(WiringMarksTest, AClickStepsThroughTheGapsOfTheTrackSystemAndUndoTakesEachBack) {
    const std::vector<uint32_t> two = track.Line("62188", 2);
    const GapRails none = GapRails(-1);
    EXPECT_EQ(StepThrough(two[0], 1, 4),
              (std::vector<GapRails>{GapRails::Left, GapRails::Right, GapRails::Both, none}));
    // The far side of the joint steps the gap kept on this side.
    ASSERT_TRUE(CycleGap(doc, BuildTrackGraph(doc), two[0], 1));
    ASSERT_TRUE(CycleGap(doc, BuildTrackGraph(doc), two[1], 0));
    EXPECT_EQ(doc.wiring.gaps, (std::vector<RailGap>{{two[0], 1, GapRails::Right}}));
    for (int i = 0; i < 6; ++i) doc.Undo();
    EXPECT_TRUE(doc.wiring.gaps.empty());

    doc = LayoutDocument{};
    const std::vector<uint32_t> c = track.Line("24188", 2);
    EXPECT_EQ(StepThrough(c[0], 1, 4),
              (std::vector<GapRails>{GapRails::Centre, GapRails::Left, GapRails::Right, none}));
}

TEST_F(WiringMarksTest, BarsCrossTheCutRailsAtTheJointAndTrackTakesItsDistrictColour) {
    const std::vector<uint32_t> line = track.Line("62188", 3);
    const uint32_t district = AddDistrict(doc);
    ASSERT_TRUE(AddFeeder(doc, BuildTrackGraph(doc), line[0]));
    doc.wiring.gaps = {{line[1], 1, GapRails::Left}, {line[0], 0, GapRails::Both}};
    doc.wiring.detectors = {{line[2], 1}};
    const TrackGraph graph = BuildTrackGraph(doc);
    const WiringMarks marks = BuildWiringMarks(doc, graph, AnalyseWiring(doc, graph, {}));
    ASSERT_EQ(marks.gaps.size(), 3u);
    const PlacedPiece& middle = track[line[1]];
    const ConnectorPose joint =
        GetConnectorPose(middle, *TrackCatalog::Instance().Find(middle.article), 1);
    const WiringMarks::Bar& bar = marks.gaps[0];
    const double gauge = RailGaugeMm(TrackSystem::TrixC);
    // Across the track (at right angles to it), centred on one rail, half a gauge from the joint.
    const double dx = bar.b.x - bar.a.x, dy = bar.b.y - bar.a.y;
    EXPECT_NEAR(dx * CosDeg(joint.heading) + dy * SinDeg(joint.heading), 0, 1e-9);
    EXPECT_NEAR(std::hypot(dx, dy), 0.9 * gauge, 1e-9);
    EXPECT_NEAR(std::hypot((bar.a.x + bar.b.x) / 2 - joint.x, (bar.a.y + bar.b.y) / 2 - joint.y),
                gauge / 2, 1e-9);
    // The two bars of a gap in both rails lie on either side of the centre line.
    const WiringMarks::Bar &b1 = marks.gaps[1], &b2 = marks.gaps[2];
    EXPECT_NEAR(std::hypot(b1.a.x + b1.b.x - b2.a.x - b2.b.x, b1.a.y + b1.b.y - b2.a.y - b2.b.y),
                2 * gauge, 1e-9);

    // The first two pieces are one fed section; the third, behind a one-rail gap, is a
    // detection section with no feeder of its own.
    ASSERT_EQ(marks.lines.size(), 3u);
    const uint32_t colour = doc.wiring.FindDistrict(district)->colour;
    EXPECT_EQ(marks.lines[0].colour, colour);
    EXPECT_EQ(marks.lines[1].colour, colour);
    EXPECT_EQ(marks.lines[2].colour, kUnfedColour);
    EXPECT_EQ(marks.lines[2].detection, true);
    EXPECT_EQ(marks.lines[0].detection, false);
    ASSERT_EQ(marks.feeders.size(), 1u);
    EXPECT_EQ(marks.feeders[0].number, 1);
    EXPECT_EQ(marks.feeders[0].colour, colour);

    // Removing the district leaves its feeder with none, and the track grey.
    ASSERT_TRUE(RemoveDistrict(doc, district));
    EXPECT_EQ(doc.wiring.feeders[0].district, kNoId);
    EXPECT_EQ(BuildWiringMarks(doc, graph, AnalyseWiring(doc, graph, {})).lines[0].colour,
              kUnfedColour);
    doc.Undo();
    EXPECT_EQ(doc.wiring.feeders[0].district, district);
}

// While trains run, the detection section a train stands in lights up as a whole; a train on
// track that reports nothing lights nothing.
TEST_F(WiringMarksTest, ATrainLightsTheWholeDetectionSectionItStandsIn) {
    const std::vector<uint32_t> line = track.Line("62188", 5);
    doc.wiring.gaps = {{line[1], 1, GapRails::Left}, {line[3], 1, GapRails::Left}};
    doc.wiring.detectors = {{line[3], 7}};
    const TrackGraph graph = BuildTrackGraph(doc);
    WiringOverlay overlay;
    for (const WiringMarks::Line& l :
         BuildWiringMarks(doc, graph, AnalyseWiring(doc, graph, {})).lines)
        overlay.lines.push_back({l.points, {}, l.detection, l.piece, l.section});
    std::vector<uint32_t> litPieces;
    for (size_t i : OccupiedDetectionLines(overlay, {line[2]}))
        litPieces.push_back(overlay.lines[i].piece);
    EXPECT_EQ(litPieces, (std::vector<uint32_t>{line[2], line[3]}));
    EXPECT_TRUE(OccupiedDetectionLines(overlay, {line[0], line[4]}).empty());
    EXPECT_TRUE(OccupiedDetectionLines(overlay, {}).empty());
}

TEST_F(WiringMarksTest, WireListHasALinePerFeederAndTheTablesListDistrictsSectionsAndFeeders) {
    const std::vector<uint32_t> line = track.Line("24188", 3);
    doc.wiring.districts = {{4, "North, yard", 0xFF0000, 3}};
    doc.wiring.gaps = {{line[1], 0, GapRails::Centre}};
    doc.wiring.feeders = {{line[2], 4}, {line[0], kNoId}};
    const TrackGraph graph = BuildTrackGraph(doc);
    const std::string csv = WireListCsv(doc, graph, AnalyseWiring(doc, graph, {}));
    const PointMm mid = PieceMidpoint(track[line[2]], *TrackCatalog::Instance().Find("24188"));
    char position[64];
    std::snprintf(position, sizeof position, "\"%.0f, %.0f\"", mid.x, mid.y);
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "Section,District,Feeder,Piece,Position (mm)");
    EXPECT_NE(csv.find("2,\"North, yard\",1,#3 24188," + std::string(position) + "\n"),
              std::string::npos)
        << csv;
    EXPECT_NE(csv.find("1,,2,#1 24188,"), std::string::npos) << csv;
    // The printed tables: the district with the section it feeds, both sections, both feeders.
    const std::string tables = WiringTablesText(doc, graph, AnalyseWiring(doc, graph, {}));
    EXPECT_NE(tables.find("North, yard  3.0                  2\n"), std::string::npos) << tables;
    EXPECT_NE(tables.find("\n2        North, yard  377 mm  2       1\n"), std::string::npos)
        << tables;
    EXPECT_NE(tables.find("\n2       1        -            #1 24188\n"), std::string::npos)
        << tables;
}

// K and Z track take the catalog's feeder, contact and isolating pieces; other breaks are made
// by hand and counted by kind, each joint once and open ends not at all.
TEST_F(WiringMarksTest, TheWiringPartCountsCatalogPiecesAndBreaksMadeByHand) {
    const std::vector<uint32_t> k = track.Line("2200", 3);
    const std::vector<uint32_t> z = track.Line("8500", 3);
    const std::vector<uint32_t> c = track.Line("24188", 3);
    const std::vector<uint32_t> trix = track.Line("62188", 3);
    EXPECT_TRUE(WiringParts(doc).empty());
    doc.wiring.feeders = {{k[0], kNoId}, {k[1], kNoId}, {z[0], kNoId}, {c[0], kNoId}};
    doc.wiring.gaps = {
        {k[0], 1, GapRails::Left},    {k[1], 1, GapRails::Centre},  {z[0], 1, GapRails::Right},
        {z[1], 1, GapRails::Both},    {c[0], 1, GapRails::Centre},  {c[1], 0, GapRails::Left},
        {trix[0], 1, GapRails::Both}, {trix[1], 0, GapRails::Left},  // the same joint again
        {trix[2], 1, GapRails::Left},                                // an open end
    };
    const std::vector<WiringPart> parts = WiringParts(doc);
    auto count = [&](const std::string& key) {
        for (const WiringPart& p : parts)
            if (p.article == key || (p.article.empty() && p.text == key)) return p.count;
        return 0;
    };
    EXPECT_EQ(count("2290"), 2);
    EXPECT_EQ(count("8590"), 1);
    EXPECT_EQ(count("2295"), 1);
    EXPECT_EQ(count("8588"), 1);
    EXPECT_EQ(count("8598"), 1);
    EXPECT_EQ(count("Centre-conductor insulators (made by hand)"), 2) << "K and C centre breaks";
    EXPECT_EQ(count("Outer-rail insulators (made by hand)"), 0) << "c[1] end 0 is c[0] end 1";
    EXPECT_EQ(count("Insulated rail joiners"), 2);
    EXPECT_EQ(parts.front().article, "2290");
    EXPECT_EQ(parts.front().text, TrackCatalog::Instance().Find("2290")->name);
}

}  // namespace
