// The electrical check and the proposals on layouts built from catalog pieces: reversing loops on
// two-rail and three-rail track, districts split by centre breaks, feeder spacing, blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "model/TrackBuilder.h"
#include "network/TrackGraph.h"
#include "wiring/WiringAnalysis.h"
#include "wiring/WiringEdits.h"
#include "wiring/WiringParts.h"
#include "wiring/WiringProposals.h"

namespace {

class WiringTest : public ::testing::Test {
protected:
    WiringAnalysis Analyse() { return AnalyseWiring(doc, BuildTrackGraph(doc), options); }
    std::vector<WiringFinding> Findings(WiringFindingKind kind) {
        std::vector<WiringFinding> out;
        for (const WiringFinding& f : Analyse().findings)
            if (f.kind == kind) out.push_back(f);
        return out;
    }
    // A closed ring of `curves` curves with `straights` straights after the first and the
    // seventh curve.
    std::vector<uint32_t> Ring(const char* curve, int straights = 0,
                               const char* straight = "24188") {
        std::vector<uint32_t> ring{track.Place(curve)};
        for (int i = 1; i < 12 + 2 * straights; ++i) {
            const bool isStraight =
                (i > 0 && i <= straights) || (i > 6 + straights && i <= 6 + 2 * straights);
            ring.push_back(track.Attach(isStraight ? straight : curve, ring.back(), 1));
        }
        track.Join(ring.back(), 1, ring.front(), 0);
        return ring;
    }
    void Apply(const WiringAdditions& add) { ASSERT_TRUE(AddToWiringPlan(doc, add)); }

    LayoutDocument doc;
    TrackBuilder track{doc};
    WiringOptions options;
};

TEST_F(WiringTest, TwoRailReversingLoopShortsUntilGappedLongerThanATrainThreeRailNeverShorts) {
    const std::vector<uint32_t> loop = track.Balloon("62611", "62130", "62188");
    const std::vector<WiringFinding> shorts = Findings(WiringFindingKind::ShortCircuit);
    ASSERT_EQ(shorts.size(), 1u);
    // The finding names the loop, not the tail that leads to it.
    EXPECT_EQ(std::set<uint32_t>(shorts[0].pieces.begin(), shorts[0].pieces.end()),
              std::set<uint32_t>(loop.begin(), loop.end()));
    EXPECT_EQ(shorts[0].pieces.size(), loop.size());

    const std::vector<RailGap> gaps = ProposeReversingGaps(doc, BuildTrackGraph(doc), options);
    ASSERT_EQ(gaps.size(), 2u);
    for (const RailGap& g : gaps) {
        EXPECT_EQ(g.rails, GapRails::Both);
        EXPECT_NE(g.piece, loop.front()) << "the section keeps clear of the turnout";
    }
    Apply({gaps, {}, {}});
    EXPECT_TRUE(Findings(WiringFindingKind::ShortCircuit).empty());
    EXPECT_TRUE(Findings(WiringFindingKind::ReversingSectionShort).empty());
    const WiringAnalysis analysis = Analyse();
    const auto reversing = std::find_if(analysis.sections.begin(), analysis.sections.end(),
                                        [](const Section& s) { return s.reversing; });
    ASSERT_NE(reversing, analysis.sections.end());
    EXPECT_GT(reversing->lengthMm, LongestTrainMm(options, 87));
    // A train longer than the whole loop does not fit the reversing section.
    options.longestTrainMm = 5000;
    EXPECT_TRUE(Findings(WiringFindingKind::ShortCircuit).empty());
    EXPECT_EQ(Findings(WiringFindingKind::ReversingSectionShort).size(), 1u);

    // On three-rail track the same loop needs no gaps.
    doc = LayoutDocument{};
    track.Balloon("24611", "24130", "24188");
    EXPECT_TRUE(Findings(WiringFindingKind::ShortCircuit).empty());
    EXPECT_TRUE(ProposeReversingGaps(doc, BuildTrackGraph(doc), options).empty());
}

TEST_F(WiringTest, CentreBreaksSplitACircleIntoDistricts) {
    const std::vector<uint32_t> ring = Ring("24130");
    doc.wiring.districts = {{1, "North", 0xFF0000, 3}, {2, "South", 0x0000FF, 3}};
    doc.wiring.gaps = {{ring[0], 0, GapRails::Centre}, {ring[6], 0, GapRails::Centre}};
    doc.wiring.feeders = {{ring[2], 1}, {ring[8], 2}};
    WiringAnalysis analysis = Analyse();
    EXPECT_TRUE(analysis.findings.empty()) << analysis.findings.front().text;
    ASSERT_EQ(analysis.sections.size(), 2u);
    EXPECT_EQ(analysis.sections[0].district, 1u);
    EXPECT_EQ(analysis.sections[1].district, 2u);
    EXPECT_EQ(analysis.sections[0].pieces.size(), 6u);

    doc.wiring.feeders.pop_back();
    EXPECT_EQ(Findings(WiringFindingKind::Unfed).size(), 1u);
    EXPECT_EQ(Analyse().findings.size(), 1u);

    doc.wiring.feeders = {{ring[2], 1}, {ring[8], 2}};
    doc.wiring.gaps.pop_back();
    const std::vector<WiringFinding> meet = Findings(WiringFindingKind::BoostersMeet);
    ASSERT_EQ(meet.size(), 1u);
    EXPECT_NE(meet[0].text.find("North"), std::string::npos) << meet[0].text;
    EXPECT_NE(meet[0].text.find("South"), std::string::npos) << meet[0].text;
}

TEST_F(WiringTest, ALongOvalNeedsAFeederEveryTwoMetres) {
    // Twelve R1 curves (2.26 m) and 41 straights on each side: 17.7 m of track.
    const std::vector<uint32_t> oval = Ring("24130", 41);
    doc.wiring.feeders = {{oval[0], kNoId}};
    ASSERT_EQ(Findings(WiringFindingKind::FeederSpacing).size(), 1u);
    const std::vector<Feeder> feeders = ProposeFeeders(doc, BuildTrackGraph(doc), options);
    EXPECT_EQ(feeders.size() + 1,
              static_cast<size_t>(std::ceil(Analyse().sections[0].lengthMm / 2000)));
    Apply({{}, feeders, {}});
    EXPECT_TRUE(Analyse().findings.empty());
}

TEST_F(WiringTest, ProposedBlocksMakeOneDetectionSectionPerTrackBetweenTurnouts) {
    for (const char* system : {"C", "TRIX"}) {
        SCOPED_TRACE(system);
        doc = LayoutDocument{};
        const bool trix = system[0] == 'T';
        const char* straight = trix ? "62188" : "24188";
        const char* turnout = trix ? "62611" : "24611";
        // A station: an approach, a turnout, two tracks of two straights, a turnout, a departure.
        const uint32_t in = track.Place(straight);
        const uint32_t t1 = track.Attach(turnout, in, 1);
        const uint32_t main1 = track.Attach(straight, t1, 1);
        const uint32_t main2 = track.Attach(straight, main1, 1);
        const uint32_t side1 = track.Attach(straight, t1, 2);
        const uint32_t side2 = track.Attach(straight, side1, 1);
        const uint32_t t2 = track.Attach(turnout, main2, 1, 1);
        track.Join(side2, 1, t2, 2);
        const uint32_t out = track.Attach(straight, t2, 0);
        Apply(ProposeBlocks(doc, BuildTrackGraph(doc)));
        const WiringAnalysis analysis = Analyse();
        const TrackGraph graph = BuildTrackGraph(doc);
        std::vector<std::vector<uint32_t>> detected;
        for (const Section& s : analysis.sections)
            if (s.detector > 0) detected.push_back(s.pieces);
        std::sort(detected.begin(), detected.end());
        std::vector<std::vector<uint32_t>> expected{{in}, {main1, main2}, {side1, side2}, {out}};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(detected, expected);
        EXPECT_EQ(analysis.SectionOf(graph, t1)->detector, 0);
        // Every gap cuts the same rail of the track.
        EXPECT_TRUE(Findings(WiringFindingKind::MixedRails).empty());
        // Proposing again adds nothing.
        EXPECT_TRUE(ProposeBlocks(doc, graph).Empty());
    }
}

TEST_F(WiringTest, DetectionGapsInBothRailsOfOneDistrictAreMixed) {
    const std::vector<uint32_t> line = track.Line("62188", 6);
    doc.wiring.gaps = {{line[1], 1, GapRails::Left}, {line[3], 1, GapRails::Right}};
    EXPECT_EQ(Findings(WiringFindingKind::MixedRails).size(), 1u);
    // Seen from the next piece turned round, its right rail is the same rail as the left one.
    doc.wiring.gaps[1] = {line[3], 1, GapRails::Left};
    EXPECT_TRUE(Findings(WiringFindingKind::MixedRails).empty());
}

TEST_F(WiringTest, EveryProposalIsOneUndoStep) {
    track.Balloon("62611", "62130", "62188");
    const LayoutDocument before = doc;
    const size_t steps = doc.undoStack.size();
    const TrackGraph graph = BuildTrackGraph(doc);
    Apply({ProposeReversingGaps(doc, graph, options), {}, {}});
    Apply({{}, ProposeFeeders(doc, graph, options), {}});
    const WiringPlan fed = doc.wiring;
    Apply(ProposeBlocks(doc, graph));
    EXPECT_EQ(doc.undoStack.size(), steps + 3);
    EXPECT_FALSE(AddToWiringPlan(doc, ProposeBlocks(doc, graph))) << "nothing new, no step";
    doc.Undo();
    EXPECT_EQ(doc.wiring, fed);
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(doc.wiring, before.wiring);
}

// The properties panel's district and detector of a piece change its whole section.
TEST_F(WiringTest, ASectionsDistrictAndDetectorAreSetFromAnyOfItsPieces) {
    const std::vector<uint32_t> ring = Ring("24130");
    doc.wiring.districts = {{1, "North", 0xFF0000, 3}, {2, "South", 0x0000FF, 3}};
    doc.wiring.gaps = {{ring[0], 0, GapRails::Centre}, {ring[6], 0, GapRails::Centre}};
    doc.wiring.feeders = {{ring[2], 1}, {ring[3], 1}};
    const TrackGraph graph = BuildTrackGraph(doc);
    const size_t steps = doc.undoStack.size();
    PieceWiringFinder finder;  // the panel's: one analysis until the layout changes
    PieceWiring w;
    ASSERT_TRUE(finder.Find(doc, ring[4], &w));
    EXPECT_EQ(w.district, 1u);
    // Both feeders of the first section move to South; the unfed second section gets one.
    ASSERT_TRUE(SetSectionDistrict(doc, graph, ring[4], 2));
    ASSERT_TRUE(finder.Find(doc, ring[1], &w));
    EXPECT_EQ(w.district, 2u) << "an edit in the history is seen without being told";
    EXPECT_EQ(doc.wiring.feeders, (std::vector<Feeder>{{ring[2], 2}, {ring[3], 2}}));
    ASSERT_TRUE(SetSectionDistrict(doc, graph, ring[9], 1));
    EXPECT_EQ(doc.wiring.feeders.back(), (Feeder{ring[9], 1}));
    EXPECT_FALSE(SetSectionDistrict(doc, graph, ring[8], 1)) << "already so: no step";
    EXPECT_FALSE(SetSectionDistrict(doc, graph, ring[8], 7)) << "no such district";
    const WiringAnalysis analysis = Analyse();
    EXPECT_EQ(analysis.SectionOf(graph, ring[1])->district, 2u);
    EXPECT_EQ(analysis.SectionOf(graph, ring[7])->district, 1u);

    // One detector per section, from whichever piece it was set.
    ASSERT_TRUE(SetSectionDetector(doc, graph, ring[1], 5));
    ASSERT_TRUE(SetSectionDetector(doc, graph, ring[5], 6));
    EXPECT_EQ(doc.wiring.detectors, (std::vector<Detector>{{ring[5], 6}}));
    EXPECT_FALSE(SetSectionDetector(doc, graph, ring[2], 6));
    EXPECT_EQ(Analyse().SectionOf(graph, ring[3])->detector, 6);
    ASSERT_TRUE(SetSectionDetector(doc, graph, ring[3], 0));
    EXPECT_TRUE(doc.wiring.detectors.empty());
    EXPECT_EQ(doc.undoStack.size(), steps + 5);
    doc.Undo();
    EXPECT_EQ(doc.wiring.detectors, (std::vector<Detector>{{ring[5], 6}}));
    for (uint32_t piece : ring) {
        PieceWiring once;
        ASSERT_EQ(finder.Find(doc, piece, &w), FindPieceWiring(doc, piece, &once));
        EXPECT_EQ(std::tie(w.section, w.district, w.detector),
                  std::tie(once.section, once.district, once.detector));
    }
    doc.wiring.detectors.clear();  // behind the history's back: seen once forgotten
    ASSERT_TRUE(finder.Find(doc, ring[5], &w));
    EXPECT_EQ(w.detector, 6);
    finder.Forget();
    ASSERT_TRUE(finder.Find(doc, ring[5], &w));
    EXPECT_EQ(w.detector, 0);
}

TEST_F(WiringTest, DeletingAPieceDropsItsWiring) {
    const std::vector<uint32_t> line = track.Line("24188", 3);
    doc.wiring.gaps = {{line[1], 0, GapRails::Centre}};
    doc.wiring.feeders = {{line[1], kNoId}, {line[2], kNoId}};
    doc.FindPiece(line[1])->selected = true;
    doc.DeleteSelected();
    EXPECT_TRUE(doc.wiring.gaps.empty());
    EXPECT_EQ(doc.wiring.feeders, (std::vector<Feeder>{{line[2], kNoId}}));
    doc.Undo();
    EXPECT_EQ(doc.wiring.feeders.size(), 2u);
}

}  // namespace
