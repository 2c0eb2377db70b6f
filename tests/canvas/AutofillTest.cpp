// Autofill: facing ends, the fill search against a plain exhaustive search, texts and placing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "canvas/Autofill.h"
#include "canvas/LoosePieces.h"
#include "canvas/Snapping.h"

namespace {

// The fast search must give the best 12 fills a plain depth-first search over every multiset of
// at most m candidates finds: the same count and miss at every place (ties may come in any
// order), every one a real fill, none twice.
void ExpectSameBest(TrackSystem system, double gap) {
    const std::vector<const PieceDef*> cands = FillCandidates(system);
    const double tol = 1.5 + 1e-7;
    const size_t m = static_cast<size_t>(std::min(64.0, std::ceil(gap / cands.back()->length) + 4));
    std::vector<std::pair<size_t, double>> ref;  // count, miss
    std::set<std::multiset<std::string>> all, seen;
    std::multiset<std::string> bag;
    auto extend = [&](auto&& self, size_t first, double total) -> void {
        if (!bag.empty() && std::fabs(total - gap) <= tol) {
            ref.push_back({bag.size(), std::fabs(total - gap)});
            all.insert(bag);
            return;
        }
        if (bag.size() >= m) return;
        for (size_t k = first; k < cands.size(); ++k) {
            if (total + cands[k]->length > gap + tol) continue;
            const auto it = bag.insert(cands[k]->article);
            self(self, k, total + cands[k]->length);
            bag.erase(it);
        }
    };
    extend(extend, 0, 0.0);
    std::sort(ref.begin(), ref.end());
    const std::vector<FillSolution> got = SearchStraightFill(system, gap);
    ASSERT_EQ(got.size(), std::min<size_t>(12, ref.size())) << "gap " << gap;
    for (size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "gap " << gap << " place " << i);
        EXPECT_EQ(got[i].articles.size(), ref[i].first);
        EXPECT_NEAR(std::fabs(got[i].total - gap), ref[i].second, 1e-6);
        double sum = 0;
        for (const std::string& a : got[i].articles)
            sum += TrackCatalog::Instance().Find(a)->length;
        EXPECT_NEAR(sum, got[i].total, 1e-6);
        const std::multiset<std::string> b(got[i].articles.begin(), got[i].articles.end());
        EXPECT_TRUE(all.count(b)) << "not a fill of this gap";
        EXPECT_TRUE(seen.insert(b).second) << "offered twice";
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
                                         SystemRange{TrackSystem::MarklinZ, 400},
                                         SystemRange{TrackSystem::MarklinK, 450}));

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
    EXPECT_EQ(std::multiset<std::string>(k4[0].articles.begin(), k4[0].articles.end()),
              (std::multiset<std::string>{"2205", "2205", "2205", "2205", "7263", "2293"}));
}

TEST(FillSearch, ImpossibleAndBadGapsGiveNothing) {
    EXPECT_TRUE(SearchStraightFill(TrackSystem::MarklinC, 20).empty());   // below 64 - 1.5
    EXPECT_TRUE(SearchStraightFill(TrackSystem::MarklinC, 1e9).empty());  // beyond 64 pieces
    EXPECT_TRUE(SearchStraightFill(TrackSystem::MarklinK, HUGE_VAL).empty());
    EXPECT_TRUE(SearchStraightFill(TrackSystem::MarklinC, std::nan("")).empty());
    EXPECT_TRUE(SearchStraightFill(TrackSystem::MarklinC, -300).empty());
    EXPECT_TRUE(SearchStraightFill(TrackSystem::RokuhanZ, 300).empty());  // no straights
    // N straights fill N gaps with their own pieces.
    for (const TrackSystem n : {TrackSystem::KatoN, TrackSystem::MinitrixN}) {
        const auto fills = SearchStraightFill(n, 310);
        ASSERT_FALSE(fills.empty());
        for (const std::string& a : fills[0].articles)
            EXPECT_EQ(TrackCatalog::Instance().Find(a)->system, n) << a;
        EXPECT_NEAR(fills[0].total, 310, 1.5);
    }
    // 64 pieces at most: 64 x 360 mm is reachable, one more 64 mm piece is not.
    EXPECT_EQ(SearchStraightFill(TrackSystem::MarklinC, 64 * 360.0)[0].articles.size(), 64u);
    EXPECT_TRUE(SearchStraightFill(TrackSystem::MarklinC, 64 * 360.0 + 64).empty());
}

// ---- Planning and placing in a document ----

class FillDoc : public testing::Test {
protected:
    void SetUp() override { doc.EnsureDefaultLevel(); }
    uint32_t Put(const std::string& article, double x, double y, double heading,
                 bool selected = true) {
        return PutPiece(doc, article, x, y, heading, 1, selected);
    }
    PlacedPiece& P(uint32_t id) { return *doc.FindPiece(id); }

    LayoutDocument doc;
};

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
    EXPECT_NEAR(f2.heading, 90, 1e-9);
    EXPECT_EQ(f1.joints[0], (Joint{a, 1}));
    EXPECT_EQ(f1.joints[1], (Joint{f2.id, 0}));
    EXPECT_EQ(f2.joints[0], (Joint{f1.id, 1}));
    EXPECT_EQ(f2.joints[1], (Joint{b, 0}));
    EXPECT_EQ(P(b).joints[0], (Joint{f2.id, 1}));
    EXPECT_EQ(doc.nextId, f2.id + 1);
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
                         testing::Values(SkewCase{9, 0, true}, SkewCase{-15, 0, false},
                                         SkewCase{0, 4, true}, SkewCase{0, 8, false}));

TEST_F(FillDoc, MixedSystemEndsAreNotFilled) {
    Put("24922", 0, 0, 0);  // its connector 1, K-Track, at (180, 0)
    Put("24188", 180 + 188.3, 0, 0);
    const AutofillPlan plan = PlanAutofill(doc);
    EXPECT_TRUE(plan.solutions.empty());
    EXPECT_EQ(plan.title, kAutofillNoSolutionTitle);
}

TEST_F(FillDoc, BadPlacementsChangeNothing) {
    const uint32_t a = Put("24188", 0, 0, 0);
    const uint32_t b = Put("24188", 376.6, 0, 0);
    const AutofillPlan plan = PlanAutofill(doc);
    ASSERT_FALSE(plan.solutions.empty());
    const std::vector<PlacedPiece> before = doc.pieces;
    const uint32_t nextId = doc.nextId;

    EXPECT_NE(PlaceFillSolution(doc, plan.ends, {{"24188", "nope"}, 188.3}), "");
    FillEnds missing = plan.ends;
    missing.pieceB = 999;
    EXPECT_NE(PlaceFillSolution(doc, missing, plan.solutions[0]), "");
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
