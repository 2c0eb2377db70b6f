// The rules about how track is laid: S-bends, tight curves, reversing loops, short sidings and
// turnouts on a grade, on layouts built from catalog pieces; then the report and ignoring.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "catalog/TrackCatalog.h"
#include "layoutcheck/FindingsReport.h"
#include "layoutcheck/IgnoredFindings.h"
#include "layoutcheck/LayoutCheck.h"
#include "layoutcheck/TrackChecks.h"
#include "model/TrackBuilder.h"
#include "trackgeometry/Units.h"
#include "wiring/WiringProposals.h"

namespace {

std::vector<LayoutFinding> OfKind(const std::vector<LayoutFinding>& findings, FindingKind kind) {
    std::vector<LayoutFinding> out;
    std::copy_if(findings.begin(), findings.end(), std::back_inserter(out),
                 [&](const LayoutFinding& f) { return f.kind == kind; });
    return out;
}

double LengthOf(const std::string& article) {
    return TrackCatalog::Instance().Find(article)->length;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class TrackChecksTest : public ::testing::Test {
protected:
    std::vector<LayoutFinding> Check(const CheckOptions& options, FindingKind kind) {
        return OfKind(CheckLayout(doc, options), kind);
    }
    LayoutDocument doc;
    TrackBuilder track{doc};
};

// ---- S-bends ----

struct BendCase {
    const char* name;
    std::vector<const char*> between;  // straights between the curves
    bool opposite;                     // the second curve turns the other way
    double minStraightMm;
    bool found;
};

TEST_F(TrackChecksTest, SBendsNeedTheStraightAlongTheTrackBetweenOppositeCurves) {
    const BendCase cases[] = {
        {"opposite curves joined directly", {}, true, 300, true},
        {"one straight, too short", {"24188"}, true, 300, true},
        {"two straights, long enough", {"24188", "24188"}, true, 300, false},
        {"curves turning the same way", {}, false, 300, false},
        {"check off", {}, true, 0, false},
    };
    for (const BendCase& c : cases) {
        SCOPED_TRACE(c.name);
        doc = LayoutDocument();
        const uint32_t lead = track.Place("24188");
        const uint32_t first = track.Attach("24130", lead, 1);
        std::vector<uint32_t> pieces{first};
        uint32_t last = first;
        double straight = 0;
        for (const char* s : c.between) {
            last = track.Attach(s, last, 1);
            pieces.push_back(last);
            straight += LengthOf(s);
        }
        // A curve joined by its far end turns the other way along the track.
        const uint32_t second = track.Attach("24130", last, 1, c.opposite ? 1 : 0);
        pieces.push_back(second);
        track.Attach("24188", second, c.opposite ? 0 : 1);
        CheckOptions options;
        options.minStraightMm = c.minStraightMm;
        const std::vector<LayoutFinding> bends =
            OfKind(CheckLayout(doc, options), FindingKind::SBend);
        ASSERT_EQ(bends.size(), c.found ? 1u : 0u);
        if (!c.found) continue;
        EXPECT_EQ(bends[0].severity, FindingSeverity::Warning);
        EXPECT_EQ(std::set<uint32_t>(bends[0].pieces.begin(), bends[0].pieces.end()),
                  std::set<uint32_t>(pieces.begin(), pieces.end()));
        EXPECT_TRUE(Contains(bends[0].text, FormatLength(straight, doc.units) + " of straight"))
            << bends[0].text;
        EXPECT_TRUE(Contains(bends[0].text, FormatLength(c.minStraightMm, doc.units) + " needed"))
            << bends[0].text;
    }
}

// ---- Tight curves ----

// A circle of R1 curves is one place to mend, not twelve findings.
TEST_F(TrackChecksTest, CurvesAndDivergingRoutesBelowTheMinimumRadiusJoinedIntoOneFinding) {
    std::set<uint32_t> circle{track.Place("24130", 0, 0)};
    uint32_t last = *circle.begin();
    for (int i = 1; i < 12; ++i) circle.insert(last = track.Attach("24130", last, 1));
    const uint32_t r1 = track.Attach("24130", track.Place("24188", 2000, 0), 1);
    track.Place("24230", 0, 600);                            // R2, 437.5 mm
    const uint32_t turnout = track.Place("24611", 0, 1200);  // diverges on R2
    CheckOptions options;
    options.minRadiusMm = 400;
    std::vector<LayoutFinding> tight = Check(options, FindingKind::TightRadius);
    ASSERT_EQ(tight.size(), 2u);
    const auto whole = std::find_if(tight.begin(), tight.end(),
                                    [](const LayoutFinding& f) { return f.pieces.size() > 1; });
    ASSERT_NE(whole, tight.end());
    EXPECT_EQ(std::set<uint32_t>(whole->pieces.begin(), whole->pieces.end()), circle);
    EXPECT_TRUE(Contains(whole->text, "12 joined curves (12 \u00d7 24130)")) << whole->text;
    const LayoutFinding& single = whole == tight.begin() ? tight[1] : tight[0];
    EXPECT_EQ(single.pieces, std::vector{r1});
    EXPECT_TRUE(Contains(single.text, "360 mm")) << single.text;
    EXPECT_TRUE(Contains(single.text, "400 mm minimum")) << single.text;

    options.minRadiusMm = 500;
    tight = Check(options, FindingKind::TightRadius);
    ASSERT_EQ(tight.size(), 4u);
    EXPECT_EQ(std::count_if(tight.begin(), tight.end(),
                            [&](const LayoutFinding& f) {
                                return f.pieces == std::vector{turnout} &&
                                       Contains(f.text, "Diverging radius");
                            }),
              1);
    EXPECT_TRUE(Check(CheckOptions(), FindingKind::TightRadius).empty());
}

// ---- Reversing loops ----

TEST_F(TrackChecksTest, ReversingLoopsOnTwoRailTrackOnly) {
    struct Case {
        const char* turnout;
        const char* curve;
        const char* straight;
        bool twoRail;
    };
    for (const Case c :
         {Case{"62611", "62130", "62188", true}, Case{"24611", "24130", "24188", false},
          Case{"8562", "8520", "8500", true}}) {
        SCOPED_TRACE(c.turnout);
        doc = LayoutDocument();
        // Two balloons: each loop starts at its turnout.
        const std::vector<uint32_t> one = track.Balloon(c.turnout, c.curve, c.straight, 0);
        const std::vector<uint32_t> two = track.Balloon(c.turnout, c.curve, c.straight, 3000);
        const std::set<uint32_t> firstLoop(one.begin(), one.end()),
            secondLoop(two.begin(), two.end());
        const std::vector<LayoutFinding> loops =
            OfKind(CheckLayout(doc), FindingKind::ReversingLoop);
        if (!c.twoRail) {
            EXPECT_TRUE(loops.empty()) << loops.front().text;
            continue;
        }
        // One finding per loop, naming exactly its pieces and placed at its turnout.
        ASSERT_EQ(loops.size(), 2u);
        for (const LayoutFinding& f : loops) {
            EXPECT_EQ(f.severity, FindingSeverity::Error);
            const std::set<uint32_t> named(f.pieces.begin(), f.pieces.end());
            EXPECT_EQ(named.size(), f.pieces.size());
            EXPECT_TRUE(named == firstLoop || named == secondLoop);
            const uint32_t sw = named == firstLoop ? one.front() : two.front();
            EXPECT_EQ(f.x, track[sw].x);
            EXPECT_EQ(f.y, track[sw].y);
            EXPECT_TRUE(Contains(f.text, "insulated sections and a reversing module")) << f.text;
            EXPECT_TRUE(Contains(f.text, "11 pieces")) << f.text;
            EXPECT_TRUE(Contains(f.text, std::string("8 x ") + c.curve)) << f.text;
        }
        // A loop the wiring plan gaps into a reversing section is no longer reported.
        for (const RailGap& g : ProposeReversingGaps(doc, BuildTrackGraph(doc), WiringOptions()))
            if (firstLoop.count(g.piece)) doc.wiring.gaps.push_back(g);
        ASSERT_FALSE(doc.wiring.gaps.empty());
        const std::vector<LayoutFinding> left =
            OfKind(CheckLayout(doc), FindingKind::ReversingLoop);
        ASSERT_EQ(left.size(), 1u);
        EXPECT_EQ(std::set<uint32_t>(left[0].pieces.begin(), left[0].pieces.end()), secondLoop);
    }
}

TEST_F(TrackChecksTest, OvalsAndFiguresOfEightOnTwoRailTrackAreNoReversingLoop) {
    track.Oval("62188", "62130");  // TRIX C
    // A figure of eight of Z track through a crossing: each track of the crossing keeps its own
    // rails, so the eight is no reversing loop.
    const uint32_t x = track.Place("8500", 0, 4000);
    const uint32_t cross = track.Place("8559", 0, 4500);
    track.Join(x, 1, cross, 0);
    track.Join(x, 0, cross, 3);
    const uint32_t y = track.Place("8500", 300, 4500);
    track.Join(y, 0, cross, 1);
    track.Join(y, 1, cross, 2);
    for (const LayoutFinding& f : Check(CheckOptions(), FindingKind::ReversingLoop))
        ADD_FAILURE() << f.text;
}

// ---- Sidings ----

TEST_F(TrackChecksTest, SidingsShorterThanTheLongestTrain) {
    // A turnout with the main line on through its straight leg and a siding of about 500 mm,
    // ending at a bumper, on its diverging leg.
    const uint32_t sw = track.Place("62611");
    track.Attach("62188", sw, 0, 1);
    uint32_t main = sw;
    for (int i = 0; i < 3; ++i) main = track.Attach("62360", main, 1);
    const uint32_t s1 = track.Attach("62236", sw, 2);
    const uint32_t s2 = track.Attach("62188", s1, 1);
    const uint32_t bumper = track.Attach("62977", s2, 1);
    const double siding = LengthOf("62236") + LengthOf("62188") + LengthOf("62977");

    CheckOptions options;
    options.longestTrainMm = 600;
    std::vector<LayoutFinding> shortOnes = Check(options, FindingKind::SidingTooShort);
    ASSERT_EQ(shortOnes.size(), 1u);
    EXPECT_EQ(shortOnes[0].pieces, (std::vector{sw, s1, s2, bumper}));
    EXPECT_TRUE(Contains(shortOnes[0].text, FormatLength(siding, doc.units) + " long"))
        << shortOnes[0].text;
    EXPECT_TRUE(Contains(shortOnes[0].text, "600 mm train")) << shortOnes[0].text;
    const ConnectorPose leg =
        GetConnectorPose(track[sw], *TrackCatalog::Instance().Find("62611"), 2);
    EXPECT_NEAR(shortOnes[0].x, leg.x, 1e-9);

    options.longestTrainMm = 450;
    EXPECT_TRUE(Check(options, FindingKind::SidingTooShort).empty());
    EXPECT_TRUE(Check(CheckOptions(), FindingKind::SidingTooShort).empty());

    // A second turnout on the way: the first leg leads to a ladder, not a siding; the short
    // tracks behind the second turnout are the sidings.
    LayoutDocument ladder;
    TrackBuilder t(ladder);
    const uint32_t first = t.Place("62611");
    const uint32_t second = t.Attach("62612", t.Attach("62236", first, 2), 1);
    const uint32_t b1 = t.Attach("62977", second, 1);
    const uint32_t b2 = t.Attach("62977", second, 2);
    options.longestTrainMm = 600;
    shortOnes = OfKind(CheckLayout(ladder, options), FindingKind::SidingTooShort);
    ASSERT_EQ(shortOnes.size(), 2u);
    for (const LayoutFinding& f : shortOnes) {
        EXPECT_EQ(f.pieces.front(), second);
        EXPECT_TRUE(f.pieces.back() == b1 || f.pieces.back() == b2);
    }
}

// ---- Turnouts on a grade ----

TEST_F(TrackChecksTest, TurnoutsCrossingsAndSlipsOnAGrade) {
    struct Case {
        const char* article;
        double grade, elevation;
        bool found;
    };
    for (const Case c :
         {Case{"24611", 2, 0, true}, Case{"24611", -2, 60, true}, Case{"24640", 2, 0, true},
          Case{"24624", 1, 0, true}, Case{"24611", 0, 60, false}, Case{"24188", 2, 0, false}}) {
        SCOPED_TRACE(std::string(c.article) + " " + std::to_string(c.grade));
        doc = LayoutDocument();
        const uint32_t id = track.Place(c.article, 0, 0, 0, c.elevation);
        track[id].grade = c.grade;
        const std::vector<LayoutFinding> graded =
            OfKind(CheckLayout(doc), FindingKind::TurnoutOnGrade);
        ASSERT_EQ(graded.size(), c.found ? 1u : 0u);
        if (!c.found) continue;
        EXPECT_EQ(graded[0].pieces, std::vector{id});
        EXPECT_TRUE(Contains(graded[0].text, "grade of 2.0") || c.grade == 1) << graded[0].text;
    }
}

// ---- Report and ignoring ----

TEST(FindingsReport, TextAndCsvCarryEveryFindingAndQuoteWhatTheyMust) {
    LayoutDocument doc;
    TrackBuilder t(doc);
    const uint32_t a = t.Place("24188");
    t.Place("24188", 94.15, -94.15, 90);
    t[t.Place("24611", 0, 600)].grade = 2;
    doc.units = kUnitsCm;
    const std::vector<LayoutFinding> findings = CheckLayout(doc);
    ASSERT_GE(findings.size(), 3u);

    const std::string text = FindingsReportText(findings, "Yard \"East\"", 2);
    EXPECT_EQ(text.rfind(LayoutCheckTitle(findings) + "\n", 0), 0u);
    EXPECT_TRUE(Contains(text, "Layout: Yard \"East\"\n"));
    EXPECT_TRUE(Contains(text, "2 ignored"));
    for (const LayoutFinding& f : findings)
        EXPECT_TRUE(Contains(text, FindingSeverityName(f.severity) + ": " + f.text + "\n"));
    EXPECT_TRUE(Contains(FindingsReportText({}, "", 0), "No findings"));

    const std::string csv = FindingsReportCsv(findings, doc.units);
    EXPECT_EQ(csv.rfind("Severity,Kind,Finding,X (cm),Y (cm),Pieces\r\n", 0), 0u);
    EXPECT_EQ(static_cast<size_t>(std::count(csv.begin(), csv.end(), '\n')), findings.size() + 1);
    // Texts with commas are quoted, others are not; positions are in the layout's units.
    for (const LayoutFinding& f : findings) {
        const bool comma = f.text.find(',') != std::string::npos;
        EXPECT_TRUE(Contains(csv, comma ? ",\"" + f.text + "\"," : "," + f.text + ",")) << csv;
    }
    ASSERT_TRUE(std::any_of(findings.begin(), findings.end(), [](const LayoutFinding& f) {
        return f.text.find(',') != std::string::npos;
    }));
    const LayoutFinding& first = findings.front();
    char x[32];
    std::snprintf(x, sizeof x, ",%.2f,", first.x / 10);
    EXPECT_TRUE(Contains(csv, x)) << csv;
    EXPECT_TRUE(Contains(csv, "," + std::to_string(a) + " ")) << csv;

    EXPECT_TRUE(IsCsvReportName("check.CSV"));
    EXPECT_FALSE(IsCsvReportName("check.txt"));
    EXPECT_FALSE(IsCsvReportName("csv"));
}

TEST(IgnoredFindings, AFindingStaysIgnoredWhenItsNumbersChangeButNotOnOtherPieces) {
    const auto finding = [](FindingKind kind, std::vector<uint32_t> pieces, const char* text) {
        return LayoutFinding{.kind = kind, .pieces = std::move(pieces), .text = text};
    };
    IgnoredFindings ignored;
    ignored.Ignore(finding(FindingKind::NearMiss, {7, 3}, "Gap of 2.0 mm"));
    const LayoutFinding closer = finding(FindingKind::NearMiss, {3, 7}, "Gap of 1.0 mm");
    const LayoutFinding elsewhere = finding(FindingKind::NearMiss, {3, 8}, "Gap of 2.0 mm");
    const LayoutFinding otherKind = finding(FindingKind::StrainedJoint, {7, 3}, "Gap of 2.0 mm");
    int hidden = -1;
    const std::vector<LayoutFinding> shown =
        ignored.Visible({closer, elsewhere, otherKind}, &hidden);
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(shown, (std::vector{elsewhere, otherKind}));
}

}  // namespace
