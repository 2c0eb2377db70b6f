// The layout check on layouts built from catalog pieces: one group of cases per kind of finding.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>

#include "base/Geometry.h"
#include "layoutcheck/LayoutCheck.h"
#include "layoutcheck/TrackChecks.h"
#include "model/Helices.h"
#include "model/TrackBuilder.h"
#include "trackgeometry/SpatialHash.h"

namespace {

std::vector<FindingKind> Kinds(const std::vector<LayoutFinding>& findings) {
    std::vector<FindingKind> kinds;
    for (const LayoutFinding& f : findings) kinds.push_back(f.kind);
    return kinds;
}

int Count(const std::vector<LayoutFinding>& findings, FindingKind kind) {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                          [&](const LayoutFinding& f) { return f.kind == kind; }));
}

// Everything except open ends.
std::vector<LayoutFinding> Faults(const std::vector<LayoutFinding>& findings) {
    std::vector<LayoutFinding> out;
    for (const LayoutFinding& f : findings) {
        if (f.kind != FindingKind::OpenEnd) out.push_back(f);
    }
    return out;
}

class LayoutCheckTest : public ::testing::Test {
protected:
    // A ring of `count` pieces, each joined to the next, closed when `close`.
    std::vector<uint32_t> Ring(const std::vector<std::string>& articles, bool close) {
        std::vector<uint32_t> ids{track.Place(articles[0])};
        for (size_t i = 1; i < articles.size(); ++i)
            ids.push_back(track.Attach(articles[i], ids.back(), 1));
        if (close) track.Join(ids.back(), 1, ids.front(), 0);
        return ids;
    }
    std::vector<LayoutFinding> Check(const CheckOptions& options = CheckOptions()) {
        return CheckLayout(doc, options);
    }

    LayoutDocument doc;
    TrackBuilder track{doc};
};

// A closed circle is quiet; left unjoined it is a near miss with no gap; with one 15 degree curve
// among the 30 degree ones it has two open ends.
TEST_F(LayoutCheckTest, CirclesClosedUnjoinedAndOpen) {
    std::vector<std::string> articles(12, "24130");
    std::vector<uint32_t> ids = Ring(articles, true);
    EXPECT_TRUE(Check().empty());
    doc.pieces.clear();
    ids = Ring(articles, false);
    std::vector<LayoutFinding> findings = Check();
    ASSERT_EQ(Kinds(findings),
              (std::vector{FindingKind::NearMiss, FindingKind::OpenEnd, FindingKind::OpenEnd}));
    EXPECT_EQ(findings[0].severity, FindingSeverity::Error);
    EXPECT_EQ(findings[0].pieces, (std::vector{ids.front(), ids.back()}));
    EXPECT_NE(findings[0].text.find("Gap of 0.0 mm at 0.0"), std::string::npos);
    doc.pieces.clear();
    articles[5] = "24115";
    ids = Ring(articles, false);
    findings = Check();
    ASSERT_EQ(Kinds(findings), (std::vector{FindingKind::OpenEnd, FindingKind::OpenEnd}));
    EXPECT_EQ((std::set{findings[0].pieces[0], findings[1].pieces[0]}),
              (std::set{ids.front(), ids.back()}));
    EXPECT_EQ(findings[0].severity, FindingSeverity::Warning);
}

// Two open ends facing each other: the second piece starts `gap` mm on, turned `turnDeg`.
TEST_F(LayoutCheckTest, NearMissesOnlyBetweenCloseFacingCompatibleEnds) {
    const struct {
        const char* second;
        double gap, turnDeg;
        const char* text;  // null: no near miss
    } cases[] = {
        {"24188", 2.0, 0, "Gap of 2.0 mm at 0.0"},
        {"24188", 4.9, 4.5, "Gap of 4.9 mm at 4.5"},
        {"24188", 5.5, 0, nullptr},
        {"24188", 1.0, 6.0, nullptr},
        {"2200", 1.0, 0, nullptr},   // C-Track does not join K-Track, however close
        {"62188", 1.0, 0, nullptr},  // TRIX C-Track is a system of its own
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.second << " " << c.gap << " " << c.turnDeg);
        doc = LayoutDocument();
        track.Place("24188");
        track.Place(c.second, 188.3 + c.gap, 0, c.turnDeg);  // 24188 and 62188 are both 188.3 mm
        const std::vector<LayoutFinding> findings = Check();
        EXPECT_EQ(Count(findings, FindingKind::OpenEnd), 4);
        ASSERT_EQ(Count(findings, FindingKind::NearMiss), c.text ? 1 : 0);
        if (!c.text) continue;
        EXPECT_NEAR(findings[0].x, 188.3 + c.gap / 2, 1e-9);
        EXPECT_NE(findings[0].text.find(c.text), std::string::npos) << findings[0].text;
    }
}

TEST_F(LayoutCheckTest, StrainedJointsAreFoundOncePerJoint) {
    struct Case {
        double dy, turnDeg;
        bool strained;
    };
    for (const Case c :
         {Case{0.05, 0, false}, Case{0.3, 0, true}, Case{0, 0.2, true}, Case{0, 0.05, false}}) {
        doc = LayoutDocument();
        const std::vector<uint32_t> ids = track.Line("24188", 2);
        track[ids[1]].y += c.dy;
        track[ids[1]].heading += c.turnDeg;
        const std::vector<LayoutFinding> faults = Faults(CheckLayout(doc, CheckOptions()));
        ASSERT_EQ(faults.size(), c.strained ? 1u : 0u) << c.dy << " " << c.turnDeg;
        if (!c.strained) continue;
        EXPECT_EQ(faults[0].kind, FindingKind::StrainedJoint);
        EXPECT_EQ(faults[0].pieces, ids);
        EXPECT_NEAR(faults[0].x, 188.3, 0.01);
    }
}

TEST_F(LayoutCheckTest, SideBySideTracksMeetOnlyWhenCloseAlongFiftyMillimetres) {
    struct Case {
        const char* article;
        double offsetY, shiftX;
        int collisions;
    };
    // 10 mm apart over their whole length; 30 mm apart (beyond half a track width); 10 mm apart
    // overlapping 18 mm end to end (close along 35 mm); overlapping 68 mm. N double track lies at
    // its system's spacing, 33.0 or 33.6 mm.
    for (const Case c :
         {Case{"24188", 10, 0, 1}, Case{"24188", 30, 0, 0}, Case{"24188", 10, 170.3, 0},
          Case{"24188", 10, 120, 1}, Case{"20-000", 33.0, 0, 0}, Case{"14902", 33.6, 0, 0},
          Case{"14902", 10, 0, 1}}) {
        doc = LayoutDocument();
        track.Place(c.article);
        track.Place(c.article, c.shiftX, c.offsetY);
        EXPECT_EQ(Faults(CheckLayout(doc)).size(), static_cast<size_t>(c.collisions))
            << c.article << " " << c.offsetY << " " << c.shiftX;
        EXPECT_EQ(Count(CheckLayout(doc), FindingKind::Collision), c.collisions);
    }
}

// A climbing run of three straights crosses a flat straight; the heights at the crossing decide.
TEST_F(LayoutCheckTest, HeightDifferenceAtTheCrossingDecides) {
    const struct {
        const char* article;
        double heightAtCrossing;
        CheckOptions options;
        FindingKind kind;  // OpenEnd: nothing found where the tracks meet
        const char* text;
    } cases[] = {
        {"24188", 50, {}, FindingKind::LowClearance, "50.0 mm under 24188"},
        {"24188", 70, {}, FindingKind::OpenEnd, ""},
        {"24188", 50, {45, 30, 3}, FindingKind::OpenEnd, ""},
        {"24188", 6.5, {}, FindingKind::Collision, "difference 6.5 mm"},
        {"24188", 7.5, {}, FindingKind::LowClearance, "7.5 mm"},
        {"14902", 35, {}, FindingKind::LowClearance, "40.0 mm needed"},  // N track needs 40 mm
    };
    const double grade = 1.5;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.article << " " << c.heightAtCrossing);
        doc = LayoutDocument();
        std::vector<uint32_t> run{track.Place(c.article)};
        const double length = TrackCatalog::Instance().Find(c.article)->length;
        track[run[0]].elevation = c.heightAtCrossing - std::sin(grade * kDegToRad) * 2 * length - 1;
        StartGrade(doc, run[0], grade);
        for (int i = 0; i < 2; ++i) run.push_back(track.Attach(c.article, run.back(), 1));
        // The flat track crosses the run 1 mm / sin(grade) after the start of the third piece.
        const double crossX = 2 * length + 1 / std::sin(grade * kDegToRad);
        const uint32_t flat = track.Place(c.article, crossX, -60, 90);
        const std::vector<LayoutFinding> faults = Faults(Check(c.options));
        if (c.kind == FindingKind::OpenEnd) {
            EXPECT_TRUE(faults.empty()) << faults.front().text;
            continue;
        }
        ASSERT_EQ(faults.size(), 1u) << faults.back().text;
        EXPECT_EQ(faults[0].kind, c.kind);
        EXPECT_EQ(faults[0].pieces, (std::vector{run[2], flat}));
        EXPECT_NEAR(faults[0].x, crossX, 1e-6);
        EXPECT_NE(faults[0].text.find(c.text), std::string::npos) << faults[0].text;
    }
}

TEST_F(LayoutCheckTest, GradesAreCheckedAgainstTheMaximumAndTheRecommendation) {
    struct Case {
        double grade, recommended;
        bool found;
        FindingSeverity severity;
    };
    for (const Case c :
         {Case{7, 3, true, FindingSeverity::Error}, Case{-6.5, 3, true, FindingSeverity::Error},
          Case{2, 3, true, FindingSeverity::Warning}, Case{1.5, 3, false, {}},
          Case{1.5, 2.5, true, FindingSeverity::Warning}, Case{6, 20, false, {}}}) {
        doc = LayoutDocument();
        track[track.Place("24188")].grade = c.grade;
        CheckOptions options;
        options.recommendedGradePercent = c.recommended;
        const std::vector<LayoutFinding> faults = Faults(CheckLayout(doc, options));
        ASSERT_EQ(faults.size(), c.found ? 1u : 0u) << c.grade;
        if (!c.found) continue;
        EXPECT_EQ(faults[0].kind, FindingKind::SteepGrade);
        EXPECT_EQ(faults[0].severity, c.severity) << c.grade;
        EXPECT_NEAR(faults[0].x, 94.15, 1e-9);
    }
}

TEST_F(LayoutCheckTest, UnknownArticleIsItsOnlyFinding) {
    const uint32_t known = track.Place("24188");
    const uint32_t unknown = track.Place("99999", 20, 0);  // lies over the known piece
    track.Join(known, 1, unknown, 0);
    const std::vector<LayoutFinding> findings = Check();
    ASSERT_EQ(Kinds(findings), (std::vector{FindingKind::OpenEnd, FindingKind::UnknownArticle}));
    EXPECT_EQ(findings[0].pieces, std::vector{known});
    EXPECT_EQ(findings[1].pieces, std::vector{unknown});
    EXPECT_EQ(findings[1].text, "Article 99999 is not in the catalog");
}

// The stubs' open ends lie on their outer connectors, their texts say where in layout units. The
// check calls a stub's inner end continued exactly when the network runs a helix track from it:
// with one stub gone, its partner's inner end is open to both.
TEST_F(LayoutCheckTest, HelixStubsOpenOnlyAwayFromTheHelixWhereTheNetworkRunsIt) {
    const Helix helix = *doc.FindHelix(PlaceHelix(doc, 500, 500, 0, "proses_2_5_r1r2"));
    std::vector<LayoutFinding> findings = Check();
    ASSERT_EQ(Kinds(findings), std::vector<FindingKind>(4, FindingKind::OpenEnd));
    for (const LayoutFinding& f : findings) {
        const PlacedPiece& stub = track[f.pieces.at(0)];
        const ConnectorPose end =
            GetConnectorPose(stub, *TrackCatalog::Instance().Find(stub.article), 1);
        EXPECT_NEAR(f.x, end.x, 1e-9);
        EXPECT_NEAR(f.y, end.y, 1e-9);
        EXPECT_NE(f.text.find(PlaceText(end.x, end.y, doc.units)), std::string::npos) << f.text;
        EXPECT_EQ(f.text.find("connector"), std::string::npos) << f.text;
    }
    doc.pieces.EraseIf([&](const PlacedPiece& p) { return p.id == helix.topR1; });
    findings = Check();
    ASSERT_EQ(Kinds(findings), std::vector<FindingKind>(4, FindingKind::OpenEnd));
    const ConnectorPose inner =
        GetConnectorPose(track[helix.bottomR1], *TrackCatalog::Instance().Find("24188"), 0);
    EXPECT_EQ(std::count_if(findings.begin(), findings.end(),
                            [&](const LayoutFinding& f) {
                                return f.pieces == std::vector{helix.bottomR1} &&
                                       std::hypot(f.x - inner.x, f.y - inner.y) < 1e-9;
                            }),
              1);
}

TEST_F(LayoutCheckTest, PiecesAtPositionsThatAreNotNumbersDoNotUpsetTheOrder) {
    for (int i = 0; i < 40; ++i) {
        track.Place("24188", i % 3 == 0 ? std::nan("") : i * 50.0, i * 7.0, i * 13.0);
    }
    // Positions that are not numbers never compare equal, so compare what the user reads.
    auto texts = [](const std::vector<LayoutFinding>& findings) {
        std::vector<std::string> out;
        for (const LayoutFinding& f : findings) out.push_back(f.text);
        return out;
    };
    const std::vector<LayoutFinding> findings = Check();
    EXPECT_EQ(texts(findings), texts(Check()));
    EXPECT_GE(Count(findings, FindingKind::OpenEnd), 80);
}

// Straights crossing at one height collide, an error sorted first; choosing the finding selects
// them. (Where findings lie and their order the baseline of older kinds compares.)
TEST_F(LayoutCheckTest, StraightsCrossingCollideAndSelectingTheFindingSelectsExactlyThem) {
    const uint32_t a = track.Place("24188");
    const uint32_t b = track.Place("24188", 94.15, -94.15, 90);
    const uint32_t c = track.Place("24188", 0, 500);
    track[c].selected = true;
    track[track.Place("24188", 0, 600)].grade = 2;  // steep warning
    track.Place("99999", 0, 900);
    const std::vector<LayoutFinding> findings = Check();
    EXPECT_EQ(LayoutCheckTitle(findings),
              "Layout Check - " + std::to_string(findings.size()) + " findings");
    EXPECT_EQ(CountFindings(findings, FindingSeverity::Error), 1);
    const LayoutFinding& collision = findings.front();
    EXPECT_EQ(collision.kind, FindingKind::Collision);
    EXPECT_EQ(collision.pieces, (std::vector{a, b}));
    EXPECT_TRUE(SelectFindingPieces(doc, collision));
    EXPECT_TRUE(track[a].selected && track[b].selected);
    EXPECT_FALSE(track[c].selected);
    const FindingBox box = FindingExtent(doc, collision);
    EXPECT_NEAR((box.minX + box.maxX) / 2, collision.x, 1e-9);
    EXPECT_GE(box.maxX - box.minX, 188.3);
}

TEST(SpatialHash, VisitsEveryOverlappingPairOnce) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> pos(-500, 500), size(0, 60);
    std::vector<BoxMm> boxes;
    for (int i = 0; i < 400; ++i) {
        const double x = pos(rng), y = pos(rng);
        boxes.push_back({x, y, x + size(rng), y + size(rng)});
    }
    boxes.push_back({-1e6, 0, 1e6, 1});  // too big for the grid
    boxes.push_back({0, -1e6, 1, 1e6});
    boxes.push_back({std::nan(""), 0, 1, 1});
    std::vector<uint32_t> groups;
    for (size_t i = 0; i < boxes.size(); ++i) groups.push_back(static_cast<uint32_t>(i % 5));
    std::multiset<std::pair<size_t, size_t>> found, foundApart;
    ForEachOverlappingPair(boxes, 16, [&](size_t i, size_t j) { found.insert({i, j}); });
    ForEachOverlappingPair(
        boxes, 16,
        [&](size_t i, size_t j) {
            foundApart.insert({i, j});
        },
        &groups);
    std::multiset<std::pair<size_t, size_t>> expected, expectedApart;
    for (size_t i = 0; i < boxes.size(); ++i) {
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            const BoxMm &a = boxes[i], &b = boxes[j];
            if (!(a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY))
                continue;
            expected.insert({i, j});
            if (groups[i] != groups[j]) expectedApart.insert({i, j});
        }
    }
    EXPECT_EQ(found, expected);
    EXPECT_EQ(foundApart, expectedApart);
    EXPECT_LT(foundApart.size(), found.size());
}

}  // namespace
