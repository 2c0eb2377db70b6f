// The gap closer's texts, the choice of ends and the strain limits shared with the layout check.
#include <gtest/gtest.h>

#include "canvas/Snapping.h"
#include "catalog/TrackCatalog.h"
#include "gapclose/GapText.h"
#include "gapclose/PlaceBeside.h"
#include "gapclose/SolveGap.h"
#include "layoutcheck/LayoutCheck.h"
#include "support/DocBuilders.h"

namespace {

GapSolution Chain(std::vector<const char*> articles, double miss = 0.05) {
    GapSolution s;
    for (const char* a : articles) s.steps.push_back({a, 0, 1});
    s.missMm = s.missDeg = miss;
    return s;
}

TEST(GapText, LineCountsArticlesInOrderAndNamesMissRadiusAndSBend) {
    // R1 curve turning one way, R2 curve the other way straight after: an S-bend.
    GapSolution s = Chain({"24130", "24230", "24130", "24188"}, 0.34);
    s.steps[1] = {"24230", 1, 0};
    s.missDeg = 0.21;
    const std::string line = GapSolutionLine(s, CheckOptions());
    EXPECT_EQ(line.find("4 pieces: 24130, 24230, 24130, 24188; miss 0.3 mm, 0.2\u00b0"), 0u)
        << line;
    EXPECT_NE(line.find("smallest radius 360.0 mm"), std::string::npos) << line;
    EXPECT_NE(line.find("S-bend"), std::string::npos);
    EXPECT_NE(line.find("strained joint"), std::string::npos);
    // The same curves with a straight between them turn the train gently back: no S-bend.
    s = Chain({"24130", "24188", "24230"});
    s.steps[2] = {"24230", 1, 0};
    const std::string gentle = GapSolutionLine(s, CheckOptions());
    EXPECT_EQ(gentle.find("S-bend"), std::string::npos) << gentle;
    EXPECT_EQ(gentle.find("strained"), std::string::npos) << gentle;
    EXPECT_NE(GapSolutionLine(Chain({"24188"}), CheckOptions()).find("straight"),
              std::string::npos);
    // "7 pieces: 5 x 24130, 2 x 24115" stood for three different chains: the order is shown, runs
    // of one article counted.
    const auto pieces = [](std::vector<const char*> articles) {
        const std::string text = GapSolutionLine(Chain(articles), CheckOptions());
        return text.substr(0, text.find(';'));
    };
    EXPECT_EQ(pieces({"24130", "24130", "24130", "24115", "24130", "24130", "24115"}),
              "7 pieces: 24130 \u00d73, 24115, 24130 \u00d72, 24115");
    EXPECT_EQ(pieces({"24130", "24115", "24130", "24130", "24130", "24130", "24115"}),
              "7 pieces: 24130, 24115, 24130 \u00d74, 24115");
}

// The window opened over the gap and hid the chain drawn in it.
TEST(GapWindowPlace, BesideTheEndsNeverOverThem) {
    const ScreenBox screen{0, 0, 1600, 1000};
    struct Case {
        ScreenBox ends;
        int side;  // 0 right, 1 left, 2 below, 3 above
    } cases[] = {
        {{100, 300, 300, 200}, 0},   // room on the right
        {{1100, 300, 400, 200}, 1},  // at the right edge: left
        {{200, 50, 1300, 150}, 2},   // wide, near the top: below
        {{200, 800, 1300, 150}, 3},  // wide, near the bottom: above
    };
    for (const Case& c : cases) {
        const ScreenBox at = PlaceBeside(c.ends, 720, 460, screen);
        EXPECT_GE(at.x, 0);
        EXPECT_GE(at.y, 0);
        EXPECT_LE(at.x + 720, 1600);
        EXPECT_LE(at.y + 460, 1000);
        const bool right = at.x >= c.ends.x + c.ends.width;
        const bool left = at.x + 720 <= c.ends.x;
        const bool below = at.y >= c.ends.y + c.ends.height;
        const bool above = at.y + 460 <= c.ends.y;
        EXPECT_TRUE((c.side == 0 && right) || (c.side == 1 && left) || (c.side == 2 && below) ||
                    (c.side == 3 && above))
            << c.side << ": " << at.x << "," << at.y;
    }
    // Ends filling the screen: the window still lies wholly on it.
    const ScreenBox at = PlaceBeside({0, 0, 1600, 1000}, 720, 460, screen);
    EXPECT_TRUE(at.x >= 0 && at.y >= 0 && at.x + 720 <= 1600 && at.y + 460 <= 1000);
}

TEST(GapEnds, TakesTheNearestOpenEndsOfTheTwoSelectedPieces) {
    LayoutDocument doc;
    const uint32_t a = LayPiece(doc, 0);
    const uint32_t b = LayPiece(doc, 500);
    const uint32_t c = LayPiece(doc, 188.3 + 300);
    EXPECT_FALSE(SelectedGapEnds(doc).found);
    doc.FindPiece(a)->selected = doc.FindPiece(b)->selected = true;
    GapEnds ends = SelectedGapEnds(doc);
    ASSERT_TRUE(ends.found);
    EXPECT_EQ(ends.a, (GapEnd{a, 1}));
    EXPECT_EQ(ends.b, (GapEnd{b, 0}));
    EXPECT_NEAR(ends.distanceMm, 500 - 188.3, 1e-9);
    // A joined end is not open: the next nearest is taken.
    JoinConnectors(doc, b, 0, c, 1);
    ends = SelectedGapEnds(doc);
    EXPECT_EQ(ends.b, (GapEnd{b, 1}));
    doc.FindPiece(c)->selected = true;
    EXPECT_FALSE(SelectedGapEnds(doc).found);
}

TEST(GapText, StrainedLinesAgreeWithTheLayoutCheckAfterLaying) {
    // B sits 0.3 mm beyond a straight's reach: the chain closes within 0.5 mm but strains.
    LayoutDocument doc;
    const uint32_t a = LayPiece(doc, 0);
    const uint32_t b = LayPiece(doc, 2 * 188.3 + 0.3);
    const std::vector<GapSolution> s = SolveGap(doc, {a, 1}, {b, 0}, GapOptions());
    ASSERT_FALSE(s.empty());
    for (const double limit : {0.1, 0.5}) {
        CheckOptions check;
        check.strainMm = limit;
        LayoutDocument laid = doc;
        ASSERT_EQ(PlaceGapSolution(laid, {a, 1}, {b, 0}, s.front()), "");
        int strained = 0;
        for (const LayoutFinding& f : CheckLayout(laid, check))
            strained += f.kind == FindingKind::StrainedJoint ? 1 : 0;
        EXPECT_EQ(strained, GapJointStrained(s.front(), check) ? 1 : 0) << "limit " << limit;
        EXPECT_EQ(GapJointStrained(s.front(), check), limit < s.front().missMm);
    }
}

}  // namespace
