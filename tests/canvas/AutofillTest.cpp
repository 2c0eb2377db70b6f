// Autofill: facing ends, the fill search against a plain exhaustive search, texts and placing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "canvas/Autofill.h"
#include "canvas/Snapping.h"

namespace {

// ---- The search against a plain exhaustive one ----

struct RefSolution {
    std::vector<int> picks;  // candidate indices, non-decreasing
    double total = 0;
};

// Every multiset of candidates, longest first, whose total lies within 1.5 mm of the gap, with at
// most m pieces, as the straightforward depth-first search finds them; then sorted by count and
// miss (stable, so equal keys keep search order).
std::vector<RefSolution> ExhaustiveFills(const std::vector<const PieceDef*>& cands, double gap) {
    const double tol = 1.5 + 1e-7;
    std::vector<RefSolution> found;
    if (cands.empty()) return found;
    const int m = static_cast<int>(std::min(64.0, std::ceil(gap / cands.back()->length) + 4));
    std::vector<int> picks;
    auto extend = [&](auto&& self, size_t s, double t) -> void {
        if (!picks.empty() && std::fabs(t - gap) <= tol) {
            found.push_back({picks, t});
            return;
        }
        if (t > gap + tol || static_cast<int>(picks.size()) >= m) return;
        for (size_t k = s; k < cands.size(); ++k) {
            if (t + cands[k]->length > gap + tol) continue;
            picks.push_back(static_cast<int>(k));
            self(self, k, t + cands[k]->length);
            picks.pop_back();
        }
    };
    extend(extend, 0, 0.0);
    std::stable_sort(found.begin(), found.end(), [&](const RefSolution& x, const RefSolution& y) {
        if (x.picks.size() != y.picks.size()) return x.picks.size() < y.picks.size();
        return std::fabs(x.total - gap) < std::fabs(y.total - gap) - 1e-9;
    });
    return found;
}

// A multiset of articles, order-free.
std::multiset<std::string> Bag(const std::vector<std::string>& articles) {
    return {articles.begin(), articles.end()};
}

// The fast search must give the best 12 of the exhaustive list: the same count and miss at every
// place (ties may come in any order), every one a real fill, none twice.
void ExpectSameBest(TrackSystem system, double gap) {
    const std::vector<const PieceDef*> cands = FillCandidates(system);
    const std::vector<RefSolution> ref = ExhaustiveFills(cands, gap);
    const std::vector<FillSolution> got = SearchStraightFill(system, gap);
    ASSERT_EQ(got.size(), std::min<size_t>(12, ref.size())) << "gap " << gap;
    std::set<std::multiset<std::string>> all, seen;
    for (const RefSolution& r : ref) {
        std::vector<std::string> a;
        for (int k : r.picks) a.push_back(cands[k]->article);
        all.insert(Bag(a));
    }
    for (size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "gap " << gap << " place " << i);
        EXPECT_EQ(got[i].articles.size(), ref[i].picks.size());
        EXPECT_NEAR(std::fabs(got[i].total - gap), std::fabs(ref[i].total - gap), 1e-6);
        double sum = 0;
        for (const std::string& a : got[i].articles)
            sum += TrackCatalog::Instance().Find(a)->length;
        EXPECT_NEAR(sum, got[i].total, 1e-6);
        EXPECT_TRUE(all.count(Bag(got[i].articles))) << "not a fill of this gap";
        EXPECT_TRUE(seen.insert(Bag(got[i].articles)).second) << "offered twice";
    }
}

struct SystemRange {
    TrackSystem system;
    double maxGapMm;  // the exhaustive search stays quick below this
};
class FillSearchMatchesExhaustive : public testing::TestWithParam<SystemRange> {};

TEST_P(FillSearchMatchesExhaustive, OnManySmallGaps) {
    const SystemRange range = GetParam();
    // Odd hundredths keep every gap clear of the tolerance edges, which have their own test.
    for (double gap = 10.037; gap < range.maxGapMm; gap += 3.71) ExpectSameBest(range.system, gap);
}
INSTANTIATE_TEST_SUITE_P(Autofill, FillSearchMatchesExhaustive,
                         testing::Values(SystemRange{TrackSystem::MarklinC, 800},
                                         SystemRange{TrackSystem::TrixC, 800},
                                         SystemRange{TrackSystem::MarklinZ, 400},
                                         SystemRange{TrackSystem::MarklinK, 450}));

TEST(FillSearch, CandidatesAreTheSystemsOwnStraightsLongestFirst) {
    const std::vector<const PieceDef*> c = FillCandidates(TrackSystem::MarklinC);
    ASSERT_FALSE(c.empty());
    for (size_t i = 0; i < c.size(); ++i) {
        EXPECT_EQ(c[i]->kind, PieceKind::Straight);
        EXPECT_EQ(c[i]->system, TrackSystem::MarklinC);
        EXPECT_NE(c[i]->article, "24922") << "the adapter's far end is K-Track";
        if (i > 0) {
            EXPECT_GE(c[i - 1]->length, c[i]->length);
        }
        // Totals are counted in tenths of a millimetre.
        EXPECT_NEAR(c[i]->length * 10, std::round(c[i]->length * 10), 1e-9);
    }
    EXPECT_EQ(c.front()->length, 360);
    EXPECT_EQ(c.back()->length, 64);
    for (TrackSystem s : {TrackSystem::MarklinK, TrackSystem::MarklinZ, TrackSystem::TrixC})
        for (const PieceDef* d : FillCandidates(s))
            EXPECT_NEAR(d->length * 10, std::round(d->length * 10), 1e-9) << d->article;
}

TEST(FillSearch, SingleStraightComesFirstForItsOwnLength) {
    const std::vector<FillSolution> s = SearchStraightFill(TrackSystem::MarklinC, 188.3);
    ASSERT_GE(s.size(), 3u);
    EXPECT_EQ(s[0].articles, std::vector<std::string>{"24188"});
    EXPECT_NEAR(s[0].total, 188.3, 1e-9);
    EXPECT_EQ(s[1].articles, std::vector<std::string>{"74620"}) << "the 188.3 mm truss bridge";
    // Then pairs of the three 94.2 mm straights (188.4 mm).
    EXPECT_EQ(s[2].articles.size(), 2u);
    EXPECT_NEAR(s[2].total, 188.4, 1e-9);
}

TEST(FillSearch, ToleranceEdgeIsInside) {
    // 188.3 misses 189.8 by exactly 1.5 mm and counts; 189.81 it misses by more.
    EXPECT_EQ(SearchStraightFill(TrackSystem::MarklinC, 189.8)[0].articles,
              std::vector<std::string>{"24188"});
    EXPECT_EQ(SearchStraightFill(TrackSystem::MarklinC, 186.8)[0].articles,
              std::vector<std::string>{"24188"});
    const std::vector<FillSolution> past = SearchStraightFill(TrackSystem::MarklinC, 189.81);
    ASSERT_FALSE(past.empty());
    EXPECT_EQ(past[0].articles.size(), 2u);
}

TEST(FillSearch, LongGapsStayBoundedAndSorted) {
    struct Gap {
        TrackSystem system;
        double mm;
    };
    // 20 m and 30 m lie beyond the totals the search keeps tables for between calls.
    const Gap gaps[] = {{TrackSystem::MarklinC, 4000},  {TrackSystem::MarklinC, 10000},
                        {TrackSystem::MarklinC, 20000}, {TrackSystem::TrixC, 10000},
                        {TrackSystem::MarklinZ, 10000}, {TrackSystem::MarklinK, 10000},
                        {TrackSystem::MarklinK, 30000}};
    for (const Gap& g : gaps) {
        const std::vector<FillSolution> fills = SearchStraightFill(g.system, g.mm);
        ASSERT_EQ(fills.size(), 12u) << g.mm;
        for (size_t i = 0; i < fills.size(); ++i) {
            EXPECT_LE(std::fabs(fills[i].total - g.mm), 1.5 + 1e-9);
            if (i == 0) continue;
            const size_t n0 = fills[i - 1].articles.size(), n1 = fills[i].articles.size();
            EXPECT_LE(n0, n1);
            if (n0 == n1) {
                EXPECT_LE(std::fabs(fills[i - 1].total - g.mm),
                          std::fabs(fills[i].total - g.mm) + 1e-9);
            }
        }
    }
    // 4 m of K-Track: four 900 mm flex tracks fall 400 mm short and no K straight is 400 mm
    // long, while five overshoot; four flex with 360 + 41.3 (4001.3 mm) is among the best.
    const std::vector<FillSolution> k4 = SearchStraightFill(TrackSystem::MarklinK, 4000);
    EXPECT_EQ(k4[0].articles.size(), 6u);
    EXPECT_EQ(Bag(k4[0].articles),
              (std::multiset<std::string>{"2205", "2205", "2205", "2205", "7263", "2293"}));
}

TEST(FillSearch, ImpossibleAndBadGapsGiveNothing) {
    EXPECT_TRUE(SearchStraightFill(TrackSystem::MarklinC, 20).empty());   // below 64 - 1.5
    EXPECT_TRUE(SearchStraightFill(TrackSystem::MarklinC, 1e9).empty());  // beyond 64 pieces
    EXPECT_TRUE(SearchStraightFill(TrackSystem::MarklinK, 1e300).empty());
    EXPECT_TRUE(SearchStraightFill(TrackSystem::MarklinK, HUGE_VAL).empty());
    EXPECT_TRUE(SearchStraightFill(TrackSystem::MarklinC, std::nan("")).empty());
    EXPECT_TRUE(SearchStraightFill(TrackSystem::MarklinC, -300).empty());
    EXPECT_TRUE(SearchStraightFill(TrackSystem::KatoN, 300).empty());  // no straights
    // 64 pieces at most: 64 x 360 mm is reachable, one more 64 mm piece is not.
    EXPECT_EQ(SearchStraightFill(TrackSystem::MarklinC, 64 * 360.0)[0].articles.size(), 64u);
    EXPECT_TRUE(SearchStraightFill(TrackSystem::MarklinC, 64 * 360.0 + 64).empty());
}

TEST(FillSolutionLine, JoinsNamesAndShowsTheTotal) {
    EXPECT_EQ(FillSolutionLine({{"24188", "24094"}, 282.5}),
              "24188 - 188.3mm + 24094 - 94.2mm  (282.5 mm)");
    EXPECT_EQ(FillSolutionLine({{"gone"}, 10}), "gone  (10.0 mm)");
}

// ---- Planning and placing in a document ----

class FillDoc : public testing::Test {
protected:
    void SetUp() override { doc.EnsureDefaultLevel(); }
    uint32_t Put(const std::string& article, double x, double y, double heading,
                 bool selected = true) {
        PlacedPiece p;
        p.id = doc.TakeId();
        p.article = article;
        p.x = x;
        p.y = y;
        p.heading = heading;
        p.selected = selected;
        if (const PieceDef* d = TrackCatalog::Instance().Find(article))
            p.joints.resize(d->connectors.size());
        doc.pieces.push_back(p);
        return p.id;
    }
    PlacedPiece& P(uint32_t id) { return *doc.FindPiece(id); }

    LayoutDocument doc;
};

TEST_F(FillDoc, CollinearGapOffersTheMatchingStraightAndPlacesItJoined) {
    Level upper;
    upper.id = 2;
    upper.height = 50;
    doc.levels.push_back(upper);
    const uint32_t a = Put("24188", 0, 0, 0);
    const uint32_t b = Put("24188", 376.6, 0, 0);
    P(a).level = P(b).level = 2;
    P(a).elevation = P(b).elevation = 50;
    AutofillPlan plan = PlanAutofill(doc);
    ASSERT_TRUE(plan.applies);
    EXPECT_TRUE(plan.message.empty()) << plan.message;
    EXPECT_EQ(plan.ends.connA, 1);
    EXPECT_EQ(plan.ends.connB, 0);
    EXPECT_NEAR(plan.ends.gap, 188.3, 1e-9);
    EXPECT_EQ(plan.prompt, "Gap: 188.3 mm. Select fill:");
    ASSERT_EQ(plan.lines.size(), plan.solutions.size());
    EXPECT_EQ(plan.lines[0], "24188 - 188.3mm  (188.3 mm)");

    const size_t before = doc.pieces.size();
    ASSERT_EQ(PlaceFillSolution(doc, plan.ends, plan.solutions[0]), "");
    ASSERT_EQ(doc.pieces.size(), before + 1);
    const PlacedPiece& n = doc.pieces.back();
    EXPECT_EQ(n.article, "24188");
    EXPECT_NEAR(n.x, 188.3, 1e-9);
    EXPECT_NEAR(n.heading, 0, 1e-9);
    EXPECT_EQ(n.level, 1);
    EXPECT_EQ(n.elevation, 0);
    EXPECT_FALSE(n.selected);
    EXPECT_EQ(n.joints[0], (Joint{a, 1}));
    EXPECT_EQ(n.joints[1], (Joint{b, 0}));
    EXPECT_EQ(P(a).joints[1], (Joint{n.id, 0}));
    EXPECT_EQ(P(b).joints[0], (Joint{n.id, 1}));
    EXPECT_TRUE(P(a).selected && P(b).selected) << "the selection is left as it was";
    EXPECT_EQ(doc.undoStack.size(), 1u);
    doc.Undo();
    EXPECT_EQ(doc.pieces.size(), before);
}

TEST_F(FillDoc, MultiPieceFillIsChainedEndToEnd) {
    // A gap of 188.3 + 94.2 = 282.5 mm running down the page (heading 90).
    const uint32_t a = Put("24188", 0, 0, 90);
    const uint32_t b = Put("24188", 0, 188.3 + 282.5, 90);
    const AutofillPlan plan = PlanAutofill(doc);
    ASSERT_FALSE(plan.solutions.empty());
    const FillSolution two{{"24188", "24094"}, 282.5};
    ASSERT_EQ(PlaceFillSolution(doc, plan.ends, two), "");
    ASSERT_EQ(doc.pieces.size(), 4u);
    const PlacedPiece& f1 = doc.pieces[2];
    const PlacedPiece& f2 = doc.pieces[3];
    EXPECT_NEAR(f1.y, 188.3, 1e-9);
    EXPECT_NEAR(f2.y, 376.6, 1e-9);
    EXPECT_NEAR(f2.x, 0, 1e-9);
    EXPECT_NEAR(f2.heading, 90, 1e-9);
    EXPECT_EQ(f1.joints[0], (Joint{a, 1}));
    EXPECT_EQ(f1.joints[1], (Joint{f2.id, 0}));
    EXPECT_EQ(f2.joints[0], (Joint{f1.id, 1}));
    EXPECT_EQ(f2.joints[1], (Joint{b, 0}));
    EXPECT_EQ(P(b).joints[0], (Joint{f2.id, 1}));
    EXPECT_NE(f1.id, f2.id);
    EXPECT_EQ(doc.nextId, f2.id + 1);
}

TEST_F(FillDoc, PiecesSelectedInEitherOrderFindTheSameGap) {
    Put("24188", 376.6, 0, 0);
    Put("24188", 0, 0, 0);
    const AutofillPlan plan = PlanAutofill(doc);
    ASSERT_FALSE(plan.solutions.empty());
    EXPECT_EQ(plan.ends.connA, 0);
    EXPECT_EQ(plan.ends.connB, 1);
    ASSERT_EQ(PlaceFillSolution(doc, plan.ends, plan.solutions[0]), "");
    // Laid from A (the start of the later straight) backwards.
    EXPECT_NEAR(doc.pieces.back().x, 376.6, 1e-9);
    EXPECT_NEAR(doc.pieces.back().heading, 180, 1e-9);
}

TEST_F(FillDoc, TouchingEndsSayTheyTouch) {
    Put("24188", 0, 0, 0);
    Put("24188", 188.8, 0, 0);
    const AutofillPlan plan = PlanAutofill(doc);
    EXPECT_EQ(plan.title, "Autofill");
    EXPECT_EQ(plan.message, "The two pieces are already touching \u2014 no gap to fill.");
    EXPECT_TRUE(plan.solutions.empty());
}

struct SkewCase {
    double headingB;  // the second piece's heading; the first points along 0
    double offsetY;   // its sideways offset, mm
    bool fills;
};
class SkewedEnds : public FillDoc, public testing::WithParamInterface<SkewCase> {};

TEST_P(SkewedEnds, OnlyEndsInLineGetStraights) {
    const SkewCase c = GetParam();
    Put("24188", 0, 0, 0);
    // b's connector 0 lies 188.3 mm beyond a's end (plus the offset), turned by headingB.
    Put("24188", 376.6, c.offsetY, c.headingB);
    const AutofillPlan plan = PlanAutofill(doc);
    ASSERT_TRUE(plan.applies);
    if (c.fills) {
        EXPECT_FALSE(plan.solutions.empty());
        EXPECT_TRUE(plan.message.empty());
        return;
    }
    EXPECT_TRUE(plan.solutions.empty());
    EXPECT_EQ(plan.title, "Autofill \u2014 No Solution");
    char expected[160];
    std::snprintf(expected, sizeof expected,
                  "Gap is %.1fmm. No combination of catalog straights fills it within tolerance.",
                  std::hypot(188.3, c.offsetY));
    EXPECT_EQ(plan.message, expected);
}
INSTANTIATE_TEST_SUITE_P(Autofill, SkewedEnds,
                         testing::Values(SkewCase{0, 0, true}, SkewCase{9, 0, true},
                                         SkewCase{15, 0, false}, SkewCase{-15, 0, false},
                                         SkewCase{0, 4, true}, SkewCase{0, 8, false}));

TEST_F(FillDoc, EndsThatDoNotFaceClearTheSelection) {
    Put("24188", 0, 0, 0);
    Put("24188", 0, 100, 90);
    const AutofillPlan plan = PlanAutofill(doc);
    ASSERT_TRUE(plan.applies);
    EXPECT_EQ(plan.message, "Could not find facing free connectors on the two selected pieces.");
    EXPECT_TRUE(plan.selectionCleared);
    EXPECT_FALSE(doc.HasSelection());
}

TEST_F(FillDoc, OnlyExactlyTwoKnownPiecesApply) {
    Put("24188", 0, 0, 0);
    Put("24188", 376.6, 0, 0);
    Put("24188", 0, 300, 0);
    const std::vector<PlacedPiece> before = doc.pieces;
    EXPECT_FALSE(PlanAutofill(doc).applies);
    doc.pieces.pop_back();
    doc.pieces.back().article = "gone";
    EXPECT_FALSE(PlanAutofill(doc).applies);
    doc.pieces.pop_back();
    EXPECT_FALSE(PlanAutofill(doc).applies);
    EXPECT_TRUE(doc.undoStack.empty());
}

TEST_F(FillDoc, MixedSystemEndsAreNotFilled) {
    Put("24922", 0, 0, 0);  // its connector 1, K-Track, at (180, 0)
    Put("24188", 180 + 188.3, 0, 0);
    const AutofillPlan plan = PlanAutofill(doc);
    EXPECT_TRUE(plan.solutions.empty());
    EXPECT_EQ(plan.title, kAutofillNoSolutionTitle);
}

TEST_F(FillDoc, AdapterEndTakesKTrackFill) {
    Put("24922", 0, 0, 0);
    Put("2200", 180 + 180, 0, 0);
    const AutofillPlan plan = PlanAutofill(doc);
    ASSERT_FALSE(plan.solutions.empty());
    EXPECT_EQ(TrackCatalog::Instance().Find(plan.solutions[0].articles[0])->system,
              TrackSystem::MarklinK);
}

TEST_F(FillDoc, BadPlacementsChangeNothing) {
    const uint32_t a = Put("24188", 0, 0, 0);
    const uint32_t b = Put("24188", 376.6, 0, 0);
    const AutofillPlan plan = PlanAutofill(doc);
    ASSERT_FALSE(plan.solutions.empty());
    const std::vector<PlacedPiece> before = doc.pieces;
    const uint32_t nextId = doc.nextId;

    EXPECT_NE(PlaceFillSolution(doc, plan.ends, {{"24188", "nope"}, 188.3}), "");
    EXPECT_NE(PlaceFillSolution(doc, plan.ends, {{}, 0}), "");
    FillEnds missing = plan.ends;
    missing.pieceB = 999;
    EXPECT_NE(PlaceFillSolution(doc, missing, plan.solutions[0]), "");
    EXPECT_NE(PlaceFillSolution(doc, FillEnds{}, plan.solutions[0]), "");
    P(b).x += 2;  // B moved away from where the plan saw it
    EXPECT_NE(PlaceFillSolution(doc, plan.ends, plan.solutions[0]), "");
    P(b).x -= 2;
    P(a).joints[1] = {b, 0};  // A's end got joined meanwhile
    P(b).joints[0] = {a, 1};
    EXPECT_NE(PlaceFillSolution(doc, plan.ends, plan.solutions[0]), "");
    P(a).joints[1] = P(b).joints[0] = Joint{};

    EXPECT_EQ(doc.pieces, before);
    EXPECT_EQ(doc.nextId, nextId);
    EXPECT_TRUE(doc.undoStack.empty());
}

}  // namespace
