// The sample layouts shipped beside the program: the files in the source tree are exactly what
// the builder makes, they load, save back byte for byte, and have no open end anywhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "dialogs/LayoutShape.h"
#include "layoutcheck/LayoutCheck.h"
#include "network/HeightProfile.h"
#include "persistence/FileTestSupport.h"
#include "persistence/LayoutFile.h"
#include "resources/samples/SampleLayoutBuilder.h"
#include "trackgeometry/PieceGeometry.h"
#include "wiring/WiringAnalysis.h"

namespace {

class SampleLayouts : public testing::TestWithParam<int> {
protected:
    static const std::vector<SampleLayout>& Built() {
        static const std::vector<SampleLayout> layouts = BuildSampleLayouts();
        return layouts;
    }
    const SampleLayout& Sample() const { return Built().at(GetParam()); }
};

TEST_P(SampleLayouts, FileIsWhatTheBuilderMakesAndSavesBackByteForByte) {
    const std::string text = SourceFile("resources/layouts/" + Sample().name + ".xml");
    ASSERT_FALSE(text.empty()) << Sample().name;
    EXPECT_EQ(text, LayoutToText(Sample().doc, Sample().name))
        << "run make_sample_layouts resources/layouts after changing the builder";
    LayoutDocument loaded;
    std::string name;
    ASSERT_EQ(LoadLayoutFromText(loaded, text, &name), "");
    EXPECT_EQ(name, Sample().name);
    EXPECT_EQ(LayoutToText(loaded, name), text);
}

// The Z shelf stored the default 2400 x 1200 board for its 1200 x 300 shelf, so the layout shape
// dialog offered a board the layout does not have.
TEST_P(SampleLayouts, StoredShapeSettingsRebuildTheSampleOwnBoard) {
    const LayoutDocument& doc = Sample().doc;
    ASSERT_GE(doc.baseboard.size(), 3u);
    EXPECT_EQ(ShapeOutlineMm(doc.lastShape,
                             {doc.shapeWidth, doc.shapeHeight, doc.shapeWidth2, doc.shapeHeight2}),
              doc.baseboard);
}

TEST_P(SampleLayouts, EveryEndIsJoinedBothWaysAndEveryPieceIsKnown) {
    const LayoutDocument& doc = Sample().doc;
    ASSERT_GE(doc.pieces.size(), 10u);
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = TrackCatalog::Instance().Find(p.article);
        ASSERT_NE(def, nullptr) << p.article;
        ASSERT_EQ(p.joints.size(), def->connectors.size()) << p.article;
        for (size_t c = 0; c < p.joints.size(); ++c) {
            if (p.helixId != kNoId && c == 0) continue;  // the helix winds on from here
            SCOPED_TRACE(p.article + " #" + std::to_string(p.id) + " end " + std::to_string(c));
            ASSERT_FALSE(p.joints[c].IsOpen()) << "an open end";
            const PlacedPiece* other = doc.FindPiece(p.joints[c].target);
            ASSERT_NE(other, nullptr);
            EXPECT_EQ(other->joints.at(p.joints[c].targetConn), (Joint{p.id, uint32_t(c)}));
            // Joined ends lie on each other.
            const ConnectorPose a = GetConnectorPose(p, *def, static_cast<int>(c));
            const ConnectorPose b = GetConnectorPose(
                *other, *TrackCatalog::Instance().Find(other->article), p.joints[c].targetConn);
            EXPECT_NEAR(a.x, b.x, 4.0);
            EXPECT_NEAR(a.y, b.y, 4.0);
        }
    }
    EXPECT_FALSE(doc.HasSelection());
    EXPECT_FALSE(doc.CanUndo());
}

// A tree stood on the end of the C sample's siding: no plant may cover a piece's ends or middle.
TEST_P(SampleLayouts, NoTreeOrBushStandsOnTheTrack) {
    const LayoutDocument& doc = Sample().doc;
    for (const SceneryItem& item : doc.scenery) {
        if (item.item.rfind("tree", 0) != 0 && item.item.rfind("bush", 0) != 0) continue;
        const SceneryDef* def = SceneryCatalog::Instance().Find(item.item);
        ASSERT_NE(def, nullptr) << item.item;
        const double halfW = def->width * item.scaleX / 2, halfD = def->depth * item.scaleY / 2;
        const double a = item.heading * M_PI / 180;
        const auto covers = [&](double x, double y) {
            const double dx = x - item.x, dy = y - item.y;
            const double u = dx * std::cos(a) + dy * std::sin(a);
            const double v = -dx * std::sin(a) + dy * std::cos(a);
            return std::fabs(u) <= halfW + 10 && std::fabs(v) <= halfD + 10;
        };
        for (const PlacedPiece& p : doc.pieces) {
            const PieceDef* pieceDef = TrackCatalog::Instance().Find(p.article);
            ASSERT_NE(pieceDef, nullptr);
            // Its middle and every corner of its drawing, closed bumper ends included.
            std::vector<PointMm> points{PieceMidpoint(p, *pieceDef)};
            for (const PieceShape& shape :
                 BuildPieceShapes(*pieceDef, p.x, p.y, p.heading, {}, {}, false, 1.0, &p))
                points.insert(points.end(), shape.points.begin(), shape.points.end());
            for (const PointMm& point : points) {
                EXPECT_FALSE(covers(point.x, point.y))
                    << item.item << " at " << item.x << ", " << item.y << " on " << p.article
                    << " #" << p.id << " at " << point.x << ", " << point.y;
            }
        }
    }
}

TEST_P(SampleLayouts, TheLayoutCheckFindsNothing) {
    for (const LayoutFinding& finding : CheckLayout(Sample().doc))
        ADD_FAILURE() << FindingSeverityName(finding.severity) << ": " << finding.text << " at "
                      << finding.x << ", " << finding.y;
}

INSTANTIATE_TEST_SUITE_P(All, SampleLayouts, testing::Values(0, 1, 2, 3, 4, 5, 6));

TEST(SampleLayoutContents, EachShowsWhatItIsFor) {
    const std::vector<SampleLayout> layouts = BuildSampleLayouts();
    ASSERT_EQ(layouts.size(), 7u);
    auto systems = [](const LayoutDocument& doc) {
        std::set<TrackSystem> s;
        for (const PlacedPiece& p : doc.pieces)
            s.insert(TrackCatalog::Instance().Find(p.article)->system);
        return s;
    };
    auto count = [](const LayoutDocument& doc, const char* article) {
        return std::count_if(doc.pieces.begin(), doc.pieces.end(),
                             [&](const PlacedPiece& p) { return p.article == article; });
    };
    const LayoutDocument& oval = layouts[0].doc;
    EXPECT_EQ(systems(oval), std::set<TrackSystem>{TrackSystem::MarklinC});
    EXPECT_EQ(count(oval, "24130"), 12) << "the oval's two ends";
    EXPECT_EQ(count(oval, "24977"), 2) << "two sidings";
    EXPECT_FALSE(oval.scenery.empty());

    const LayoutDocument& decks = layouts[1].doc;
    EXPECT_EQ(decks.helices.size(), 1u);
    EXPECT_EQ(decks.tunnels.size(), 1u);
    EXPECT_EQ(count(decks, "7263"), 1) << "the bridge";
    EXPECT_EQ(decks.levels.size(), 2u);
    EXPECT_TRUE(systems(decks).count(TrackSystem::MarklinK));
    double highest = 0;
    for (const PlacedPiece& p : decks.pieces)
        if (p.article == "7389") highest = std::max(highest, p.elevation);
    EXPECT_NEAR(highest, 260, 1) << "a K-Track end on the upper deck";

    const LayoutDocument& shelf = layouts[2].doc;
    EXPECT_EQ(systems(shelf), std::set<TrackSystem>{TrackSystem::MarklinZ});
    EXPECT_GE(shelf.scenery.size(), 3u);

    // The figure eights climb over their own track: going once round from any piece, the route
    // passes under or over itself with room to spare, and the climb comes back down.
    EXPECT_EQ(systems(layouts[6].doc), std::set<TrackSystem>{TrackSystem::MinitrixN});
    for (const int index : {3, 6}) {
        SCOPED_TRACE(layouts[index].name);
        const LayoutDocument& eight = layouts[index].doc;
        const TrackGraph graph = BuildTrackGraph(eight);
        const uint32_t first = eight.pieces.front().id;
        const GraphEnd before = graph.Joined({first, 0});
        const Route loop = FindRoute(graph, {first, 0}, before);
        ASSERT_EQ(loop.steps.size(), eight.pieces.size());
        const HeightProfile profile = BuildProfile(eight, graph, loop);
        ASSERT_EQ(profile.crossings.size(), 2u);
        double top = 0;
        for (const ProfilePoint& p : profile.points) top = std::max(top, p.heightMm);
        for (const ProfileCrossing& c : profile.crossings) {
            EXPECT_NE(graph.Find(c.otherPiece), nullptr);
            EXPECT_GE(c.clearanceMm, NeededClearanceMm(eight, c.otherPiece));
            EXPECT_NEAR(c.clearanceMm, top, 1e-6) << "over the flat top, under the flat bottom";
        }
        EXPECT_NE(profile.crossings[0].otherAbove, profile.crossings[1].otherAbove);
        EXPECT_NEAR(profile.points.front().heightMm, profile.points.back().heightMm, 1e-9);
    }

    // The Kato oval's passing loop lies 33 mm outside its main line on #4 turnouts; its siding
    // leaves on a #6.
    const LayoutDocument& kato = layouts[5].doc;
    EXPECT_EQ(systems(kato), std::set<TrackSystem>{TrackSystem::KatoN});
    EXPECT_EQ(count(kato, "20-220") + count(kato, "20-221"), 2);
    EXPECT_EQ(count(kato, "20-202"), 1);
    EXPECT_EQ(count(kato, "20-060"), 1) << "one siding";
    std::set<double> straightRows;
    for (const PlacedPiece& p : kato.pieces)
        if (p.article == "20-000" && std::fabs(p.heading) < 1e-6)
            straightRows.insert(std::round(p.y * 10) / 10);
    EXPECT_EQ(straightRows, (std::set<double>{250 - 32.8, 250}));

    // The balloon is wired to be switched on: its reversing section keeps the rails apart, every
    // section is fed and detection covers the track.
    const LayoutDocument& balloon = layouts[4].doc;
    EXPECT_EQ(systems(balloon), std::set<TrackSystem>{TrackSystem::TrixC});
    const WiringAnalysis wiring = AnalyseWiring(balloon, BuildTrackGraph(balloon), WiringOptions());
    for (const WiringFinding& f : wiring.findings) {
        EXPECT_NE(f.kind, WiringFindingKind::ShortCircuit) << f.text;
        EXPECT_NE(f.kind, WiringFindingKind::Unfed) << f.text;
    }
    EXPECT_EQ(std::count_if(wiring.sections.begin(), wiring.sections.end(),
                            [](const Section& s) { return s.reversing; }),
              1);
    EXPECT_FALSE(balloon.wiring.detectors.empty());
}

}  // namespace
