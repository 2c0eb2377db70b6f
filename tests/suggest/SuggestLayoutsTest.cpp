// Suggested layouts on the boards beginners have: every one buildable, inside the board, distinct
// and the same each time; the owner's box respected; a board too small says what would do.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "catalog/TrackCatalog.h"
#include "catalog/TrackClearance.h"
#include "layoutcheck/LayoutCheck.h"
#include "model/GradeRuns.h"
#include "suggest/SuggestLayouts.h"
#include "trackgeometry/PieceGeometry.h"

namespace {

struct BoardCase {
    const char* name;
    TrackSystem system;
    double width, depth;
    std::vector<PointMm> outline;  // empty: the rectangle
    size_t kinds;                  // at least this many kinds of plan fit
};

std::vector<PointMm> Outline(const SuggestOptions& o) {
    if (!o.board.empty()) return o.board;
    return {{0, 0}, {o.widthMm, 0}, {o.widthMm, o.depthMm}, {0, o.depthMm}};
}

double EdgeDistance(PointMm p, PointMm a, PointMm b) {
    const double vx = b.x - a.x, vy = b.y - a.y;
    const double t =
        std::clamp(((p.x - a.x) * vx + (p.y - a.y) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
    return std::hypot(p.x - a.x - t * vx, p.y - a.y - t * vy);
}

// Every corner of every piece's outline (and points along its edges) inside the board, at least
// the margin from its edge.
void ExpectInsideBoard(const LayoutDocument& doc, const SuggestOptions& o) {
    const std::vector<PointMm> board = Outline(o);
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef& d = *TrackCatalog::Instance().Find(p.article);
        for (const PieceShape& s :
             BuildPieceShapes(d, p.x, p.y, p.heading, Rgb{}, Rgb{}, false, 1.0, &p)) {
            if (s.type != PieceShape::Type::Polygon) continue;
            for (size_t i = 0; i < s.points.size(); ++i) {
                const PointMm a = s.points[i], b = s.points[(i + 1) % s.points.size()];
                for (double f = 0; f < 1; f += 0.1) {
                    const PointMm q{a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f};
                    bool inside = false;
                    double nearest = 1e9;
                    for (size_t k = 0, j = board.size() - 1; k < board.size(); j = k++) {
                        const PointMm u = board[k], v = board[j];
                        if ((u.y > q.y) != (v.y > q.y) &&
                            q.x < (v.x - u.x) * (q.y - u.y) / (v.y - u.y) + u.x)
                            inside = !inside;
                        nearest = std::min(nearest, EdgeDistance(q, u, v));
                    }
                    ASSERT_TRUE(inside) << p.article << " at " << q.x << ", " << q.y;
                    ASSERT_GE(nearest, o.marginMm - 0.01) << p.article;
                }
            }
        }
    }
}

std::map<std::string, int> Articles(const LayoutDocument& doc) {
    std::map<std::string, int> counts;
    for (const PlacedPiece& p : doc.pieces) ++counts[p.article];
    return counts;
}

class SuggestBoards : public testing::TestWithParam<BoardCase> {};
const std::vector<PointMm> kLShape{{0, 0},       {2400, 0},    {2400, 1200},
                                   {1200, 1200}, {1200, 2400}, {0, 2400}};

TEST_P(SuggestBoards, EverySuggestionIsBuildableDistinctAndRepeatable) {
    const BoardCase& c = GetParam();
    SuggestOptions o;
    o.system = c.system;
    o.widthMm = c.width;
    o.depthMm = c.depth;
    o.board = c.outline;
    int seen = 0;
    o.found = [&](const LayoutSuggestion&) { ++seen; };
    const std::vector<LayoutSuggestion> first = SuggestLayouts(o, nullptr);
    ASSERT_FALSE(first.empty());
    EXPECT_LE(first.size(), 12u);
    EXPECT_GE(seen, int(first.size()));
    std::set<std::pair<std::string, std::map<std::string, int>>> plans;
    std::set<std::string> kinds;
    for (size_t i = 0; i < first.size(); ++i) {
        const LayoutSuggestion& s = first[i];
        SCOPED_TRACE(s.kind + " #" + std::to_string(i));
        if (i > 0) {
            EXPECT_GE(first[i - 1].score, s.score);
        }
        CheckOptions check;
        check.minStraightMm = ProposedMinStraightMm(s.layout);
        for (const LayoutFinding& f : CheckLayout(s.layout, check))
            EXPECT_EQ(f.kind, FindingKind::SBend) << f.text;
        ExpectInsideBoard(s.layout, o);
        EXPECT_EQ(s.pieceCount, int(s.layout.pieces.size()));
        EXPECT_EQ(s.piecesToBuy, s.pieceCount);
        EXPECT_GT(s.smallestRadiusMm, 0);
        for (const PlacedPiece& p : s.layout.pieces)
            EXPECT_EQ(TrackCatalog::Instance().Find(p.article)->system, c.system);
        // The same plan turned, mirrored or with a straight moved uses the same pieces.
        EXPECT_TRUE(plans.insert({s.kind, Articles(s.layout)}).second);
        kinds.insert(s.kind);
    }
    EXPECT_GE(kinds.size(), c.kinds);
    const std::vector<LayoutSuggestion> again = SuggestLayouts(o, nullptr);
    ASSERT_EQ(again.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(again[i].score, first[i].score);
        EXPECT_EQ(again[i].layout.pieces, first[i].layout.pieces);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boards, SuggestBoards,
    testing::Values(BoardCase{"Z_1200x600", TrackSystem::MarklinZ, 1200, 600, {}, 4},
                    BoardCase{"C_1800x900", TrackSystem::MarklinC, 1800, 900, {}, 4},
                    BoardCase{"K_1800x900", TrackSystem::MarklinK, 1800, 900, {}, 4},
                    BoardCase{"C_3000x1500", TrackSystem::MarklinC, 3000, 1500, {}, 7},
                    BoardCase{"C_L_shaped", TrackSystem::MarklinC, 0, 0, kLShape, 3}),
    [](const testing::TestParamInfo<BoardCase>& info) { return std::string(info.param.name); });

TEST(SuggestOwned, StarterSetGivesOnlyWhatTheBoxBuilds) {
    TrackBox box;
    box.Set("24130", 12);
    box.Set("24188", 5);
    box.Set("24611", 1);
    box.Set("24612", 1);
    box.Set("24977", 1);
    SuggestOptions o;
    o.onlyOwned = true;
    const std::vector<LayoutSuggestion> found = SuggestLayouts(o, &box);
    ASSERT_FALSE(found.empty());
    for (const LayoutSuggestion& s : found) {
        EXPECT_EQ(s.piecesToBuy, 0) << s.kind;
        for (const auto& [article, n] : Articles(s.layout))
            EXPECT_LE(n, box.Owned(article)) << s.kind << " " << article;
    }
    // Without the limit the same box only prices what is missing. The share of the search done
    // only rises and ends at 1.
    o.onlyOwned = false;
    std::vector<double> shares;
    o.progress = [&](double share) { shares.push_back(share); };
    const std::vector<LayoutSuggestion> all = SuggestLayouts(o, &box);
    ASSERT_GT(all.size(), 1u);
    ASSERT_GT(shares.size(), 2u);
    EXPECT_EQ(shares.front(), 0);
    EXPECT_EQ(shares.back(), 1);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_LT(shares[shares.size() - 2], 1);
    for (const LayoutSuggestion& s : all) {
        int missing = 0;
        for (const auto& [article, n] : Articles(s.layout))
            missing += std::max(0, n - box.Owned(article));
        EXPECT_EQ(s.piecesToBuy, missing);
    }
}

TEST(SuggestOptionsTest, NoCurveTighterAndNoStationShorterThanAsked) {
    SuggestOptions o;
    o.widthMm = 3000;
    o.depthMm = 1500;
    o.minRadiusMm = 437.5;
    o.longestTrainMm = 700;
    const std::vector<LayoutSuggestion> found = SuggestLayouts(o, nullptr);
    ASSERT_FALSE(found.empty());
    CheckOptions check;
    check.minRadiusMm = o.minRadiusMm;
    check.longestTrainMm = o.longestTrainMm;
    bool station = false;
    std::set<std::string> kinds;
    for (const LayoutSuggestion& s : found) {
        EXPECT_GE(s.smallestRadiusMm, o.minRadiusMm) << s.kind;
        kinds.insert(s.kind);
        if (s.longestStationTrackMm > 0) {
            station = true;
            EXPECT_GE(s.longestStationTrackMm, o.longestTrainMm) << s.kind;
        }
        for (const LayoutFinding& f : CheckLayout(s.layout, check)) {
            EXPECT_NE(f.kind, FindingKind::TightRadius) << s.kind << ": " << f.text;
            EXPECT_NE(f.kind, FindingKind::SidingTooShort) << s.kind << ": " << f.text;
        }
    }
    EXPECT_TRUE(station);
    // Plans without station tracks are not held to the train's length.
    EXPECT_TRUE(kinds.count("Double oval") && kinds.count("Dog bone"));
}

TEST(SuggestTooSmall, NoSuggestionAndTheBoardThatWouldDo) {
    SuggestOptions o;
    o.kinds = {SuggestKind::Oval, SuggestKind::OvalWithStation};
    o.widthMm = 700;
    o.depthMm = 700;  // less than a circle of R1 (360 mm) with its margin
    EXPECT_TRUE(SuggestLayouts(o, nullptr).empty());
    const PointMm size = SmallestSuggestBoard(o);
    EXPECT_GT(size.x, 720);
    EXPECT_EQ(SmallestBoardSentence(o), "The smallest board that would do is " +
                                            std::to_string(int(size.x)) + " \u00d7 " +
                                            std::to_string(int(size.y)) + " mm.");
    // The board named is indeed enough.
    o.widthMm = size.x;
    o.depthMm = size.y;
    EXPECT_FALSE(SuggestLayouts(o, nullptr).empty());
}

// A window may stop the search: a cancel set as the first plan comes keeps that plan.
TEST(SuggestProgress, StopsWhenCancelled) {
    SuggestOptions o;
    std::atomic<bool> cancel{false};
    int seen = 0;
    o.cancel = &cancel;
    o.found = [&](const LayoutSuggestion&) {
        ++seen;
        cancel = true;
    };
    EXPECT_EQ(SuggestLayouts(o, nullptr).size(), 1u);
    EXPECT_EQ(seen, 1);
}

// Over and under: the two tracks cross the clearance apart with no crossing piece, every joint
// meets at one height, and no grade is steeper than recommended (the check finds nothing).
TEST(SuggestOverUnder, ClimbsTheClearanceOnGradesWithinTheRules) {
    for (const TrackSystem system :
         {TrackSystem::MarklinC, TrackSystem::TrixC, TrackSystem::MarklinZ}) {
        SuggestOptions o;
        o.system = system;
        o.widthMm = system == TrackSystem::MarklinZ ? 1200 : 3000;
        o.depthMm = system == TrackSystem::MarklinZ ? 600 : 1500;
        o.kinds = {SuggestKind::FigureEight};
        int overUnder = 0;
        for (const LayoutSuggestion& s : SuggestLayouts(o, nullptr)) {
            if (s.kind != "Figure eight, over and under") continue;
            ++overUnder;
            const LayoutDocument& doc = s.layout;
            double highest = 0, lowest = 1e9;
            for (const PlacedPiece& p : doc.pieces) {
                const PieceDef& d = *TrackCatalog::Instance().Find(p.article);
                EXPECT_NE(d.kind, PieceKind::Crossing) << p.article;
                EXPECT_LE(std::tan(DegToRad(std::fabs(p.grade))), 0.03 + 1e-9);
                highest = std::max(highest, p.elevation);
                lowest = std::min(lowest, p.elevation);
                for (size_t c = 0; c < p.joints.size(); ++c) {
                    ASSERT_FALSE(p.IsOpen(int(c)));
                    const PlacedPiece& q = *doc.FindPiece(p.joints[c].target);
                    EXPECT_NEAR(ConnectorHeight(p, int(c)),
                                ConnectorHeight(q, int(p.joints[c].targetConn)), 0.01);
                }
            }
            EXPECT_NEAR(lowest, 0, 1e-9);
            EXPECT_GE(highest, DefaultClearanceMm(system));
            CheckOptions check;
            check.minStraightMm = ProposedMinStraightMm(doc);
            for (const LayoutFinding& f : CheckLayout(doc, check))
                EXPECT_EQ(f.kind, FindingKind::SBend) << f.text;
        }
        EXPECT_GT(overUnder, 0) << TrackSystemShortName(system);
    }
}

}  // namespace
