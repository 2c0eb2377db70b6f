// Tests of what the layout drawing shows and in which order, and of scenery shapes.
#include <gtest/gtest.h>

#include <cmath>

#include "base/Geometry.h"
#include "canvas/LayoutGeometry.h"
#include "canvas/SceneryGeometry.h"
#include "catalog/HelixVariants.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "model/LayoutExtent.h"
#include "support/DocBuilders.h"
#include "trackgeometry/PieceGeometry.h"
#include "trackgeometry/Units.h"

namespace {

PlacedPiece Piece(uint32_t id, const char* article = "24188") {
    PlacedPiece p;
    p.id = id;
    p.article = article;
    p.joints.resize(2);
    return p;
}

void Join(LayoutDocument& doc, uint32_t a, int ca, uint32_t b, int cb) {
    doc.FindPiece(a)->joints[ca] = {b, static_cast<uint32_t>(cb)};
    doc.FindPiece(b)->joints[cb] = {a, static_cast<uint32_t>(ca)};
}

std::unordered_set<uint32_t> Ids(std::initializer_list<uint32_t> ids) { return ids; }

// The default level, shown, and level 2, hidden.
LayoutDocument DocWithHiddenLevel() {
    LayoutDocument doc;
    doc.levels = {DefaultLevel()};
    doc.levels.push_back({.id = 2, .visible = false, .outline = {}});
    return doc;
}

}  // namespace

TEST(HelixLinked, FloodFillsStopAtHelixPieces) {
    LayoutDocument doc;
    // 1: low helix end, 2: high helix end (another helix: 6), 3-4 chain from 1, 5 from 2.
    for (uint32_t id = 1; id <= 7; ++id) doc.pieces.push_back(Piece(id));
    doc.FindPiece(1)->helixId = 9;
    doc.FindPiece(2)->helixId = 9;
    doc.FindPiece(2)->elevation = 260;
    doc.FindPiece(6)->helixId = 10;
    Join(doc, 1, 1, 3, 0);
    Join(doc, 3, 1, 4, 0);
    Join(doc, 2, 1, 5, 0);
    Join(doc, 4, 1, 6, 0);  // a helix piece of another helix is never added by a fill
    const HelixLinkedSets sets = ComputeHelixLinked(doc);
    EXPECT_EQ(sets.low, Ids({1, 3, 4, 6}));
    EXPECT_EQ(sets.all, Ids({1, 2, 3, 4, 5, 6}));
}

TEST(DrawOrder, LowLinkedFirstUnselectedBeforeSelectedHiddenAndUnknownLeftOut) {
    LayoutDocument doc = DocWithHiddenLevel();
    for (uint32_t id = 1; id <= 6; ++id) doc.pieces.push_back(Piece(id));
    doc.pieces[0].selected = true;      // id 1
    doc.pieces[1].helixId = 4;          // id 2, low helix piece
    doc.pieces[2].level = 2;            // id 3, hidden
    doc.pieces[3].article = "no-such";  // id 4, unknown
    doc.pieces[4].selected = true;      // id 5
    const PieceDrawOrder order = PieceDrawOrderFor(doc, ComputeHelixLinked(doc));
    EXPECT_EQ(order.low, (std::vector<size_t>{1}));
    EXPECT_EQ(order.rest, (std::vector<size_t>{5, 0, 4}));
}

// How far a drawn piece may reach: the longest length or radius among the pieces drawn only, so a
// long piece on a hidden level does not widen every search for what to draw.
TEST(DrawOrder, LongestReachIsThatOfTheDrawnPieces) {
    LayoutDocument doc = DocWithHiddenLevel();
    doc.pieces = {Piece(1), Piece(2, "24130"), Piece(3, "24360")};  // R1 curve: radius 360 mm
    doc.pieces[2].level = 2;                                        // the 360 mm straight is hidden
    const PieceDef* curve = TrackCatalog::Instance().Find("24130");
    ASSERT_NE(curve, nullptr);
    EXPECT_DOUBLE_EQ(PieceDrawOrderFor(doc, ComputeHelixLinked(doc)).longestMm, curve->radius);
    doc.pieces[1].article = "24188";
    EXPECT_NEAR(PieceDrawOrderFor(doc, ComputeHelixLinked(doc)).longestMm, 188.3, 1e-9);
    doc.pieces[2].level = 1;
    EXPECT_DOUBLE_EQ(PieceDrawOrderFor(doc, ComputeHelixLinked(doc)).longestMm, 360);
}

TEST(DrawOrder, PortalsComeAfterOtherSceneryAndHiddenLevelsDrop) {
    LayoutDocument doc = DocWithHiddenLevel();
    auto item = [](uint32_t id, const char* what) { return SceneryItem{id, what}; };
    doc.scenery = {
        item(1, "tunnel_portal_single"), item(2, "platform"),        item(3, "platform"),
        item(4, "tunnel_portal_single"), item(5, "nothing-like-it"), item(6, "platform")};
    doc.scenery[1].selected = true;
    doc.scenery[5].level = 2;
    doc.tunnels.push_back({0, 1, 4, kNoId, kNoId, {}});
    const SceneryDrawOrder order = SceneryDrawOrderFor(doc);
    EXPECT_EQ(order.items, (std::vector<size_t>{2, 1}));
    EXPECT_EQ(order.portals, (std::vector<size_t>{0, 3}));
    EXPECT_EQ(TunnelPieceIds(doc).size(), 0u);
}

TEST(Levels, DecksSortByHeightAndMixTheirColour) {
    LayoutDocument doc;
    const std::vector<PointMm> square = {{0, 0}, {10, 0}, {10, 10}};
    Level a{.id = 1, .height = 100, .outline = square};
    doc.levels = {a,
                  {.id = 2, .height = 0, .outline = square},
                  {.id = 3, .height = 50, .outline = {{0, 0}, {1, 1}}},  // too few points
                  {.id = 4, .visible = false, .height = -5, .outline = square}};
    const std::vector<const Level*> decks = DeckLevels(doc);
    ASSERT_EQ(decks.size(), 2u);
    EXPECT_EQ(decks[0]->id, 2u);
    EXPECT_EQ(decks[1]->id, 1u);
    EXPECT_EQ(DeckFill(a), (Rgb{235, 220, 190}));
    a.colourTrack = true;
    a.colour = {180, 200, 220};
    // (180 + 2·245) / 3, (200 + 2·235) / 3, (220 + 2·210) / 3.
    EXPECT_EQ(DeckFill(a), (Rgb{223, 223, 213}));
}

TEST(Baseboard, EdgeLabelsSitOutsideAndSkipShortEdges) {
    // Rectangle 2400 × 1200 with a 5 mm step on its left edge.
    const std::vector<PointMm> board = {{0, 0}, {2400, 0}, {2400, 1200}, {0, 1200}, {0, 5}};
    const std::vector<EdgeLabel> labels = BaseboardEdgeLabels(board, kUnitsMm);
    ASSERT_EQ(labels.size(), 4u);  // the 5 mm edge from (0, 5) to (0, 0) has none
    EXPECT_NEAR(labels[0].at.x, 1200, 1e-9);
    EXPECT_NEAR(labels[0].at.y, -12, 1e-9);
    EXPECT_EQ(labels[0].text, "2400 mm");
    EXPECT_NEAR(labels[1].at.x, 2412, 1e-9);
    EXPECT_NEAR(labels[3].at.x, -12, 1e-9);
    EXPECT_EQ(labels[3].text, "1195 mm");
    EXPECT_EQ(BaseboardEdgeLabels(board, kUnitsInch)[0].text, "94.49\"");
    EXPECT_TRUE(BaseboardEdgeLabels({{0, 0}, {100, 0}}, kUnitsMm).empty());
}

TEST(GradeArrows, PointAlongTheRunAndCarryTheGrade) {
    LayoutDocument doc;
    LayPiece(doc, 100, 100);
    GradeRun run{2, 1};
    GradeArrow a;
    ASSERT_TRUE(GradeArrowFor(doc, run, a));
    EXPECT_NEAR(a.start.x, 194.15, 1e-9);
    EXPECT_NEAR(a.end.x, 214.15, 1e-9);
    EXPECT_NEAR(std::abs(a.headLeft.y - a.headRight.y), 12, 1e-9);
    EXPECT_EQ(a.colour, (Rgb{220, 100, 20}));
    EXPECT_EQ(a.text, "+2.0\xC2\xB0");

    // Connector 0 open and connector 1 joined: the run goes the other way.
    doc.pieces[0].joints[1] = {5, 0};
    run.gradeDeg = -1.5;
    ASSERT_TRUE(GradeArrowFor(doc, run, a));
    EXPECT_NEAR(a.start.x, 5.85, 1e-9);
    EXPECT_NEAR(a.end.x, -14.15, 1e-9);
    EXPECT_EQ(a.colour, (Rgb{30, 100, 200}));
    EXPECT_EQ(a.text, "-1.5\xC2\xB0");

    run.anchorPiece = 2;
    EXPECT_FALSE(GradeArrowFor(doc, run, a));
    run.anchorPiece = -1;
    EXPECT_FALSE(GradeArrowFor(doc, run, a));
}

TEST(Measurements, ArrowHeadsOnlyOnLinesLongerThan6Pixels) {
    const MeasurementHeads h = MeasurementHeadsPx({0, 0}, {100, 0});
    ASSERT_TRUE(h.shown);
    EXPECT_NEAR(h.a[1].x, 10, 1e-9);
    EXPECT_NEAR(std::abs(h.a[1].y), 5, 1e-9);
    EXPECT_NEAR(h.b[1].x, 90, 1e-9);
    EXPECT_NEAR(h.a[1].y + h.a[2].y, 0, 1e-9);
    EXPECT_FALSE(MeasurementHeadsPx({0, 0}, {6, 0}).shown);
}

TEST(Helices, RingPiecesCloseIntoCirclesOfTheVariantRadii) {
    const HelixVariant* v = FindHelixVariant("proses_2_5_r1r2");
    ASSERT_NE(v, nullptr);
    const std::vector<PlacedPiece> ring = HelixRingPieces({12, 500, 500, 20, ""}, *v);
    ASSERT_EQ(ring.size(), 60u);  // 2.5 turns × 12 curves, two tracks
    for (size_t i = 0; i < ring.size(); ++i) {
        const double radius = i < 30 ? 360 : 437.5;
        EXPECT_NEAR(std::hypot(ring[i].x - 500, ring[i].y - 500), radius, 1e-9);
        EXPECT_EQ(ring[i].helixId, 12u);
        EXPECT_EQ(ring[i].elevation, 0);
        // Each curve ends where the previous one of its ring starts.
        if (i % 30 == 0) continue;
        const PieceDef* def = TrackCatalog::Instance().Find(ring[i].article);
        ASSERT_NE(def, nullptr);
        const ConnectorPose end = GetConnectorPose(ring[i], *def, 1);
        EXPECT_NEAR(end.x, ring[i - 1].x, 1e-6);
        EXPECT_NEAR(end.y, ring[i - 1].y, 1e-6);
    }
    // First inner piece: at −120° + heading from the centre.
    EXPECT_NEAR(ring[0].x, 500 + 360 * std::cos(-100 * kDegToRad), 1e-9);
    EXPECT_NEAR(ring[0].heading, -10, 1e-9);
}

TEST(SceneryShapes, PlatformPartsInLayoutMillimetres) {
    const SceneryDef* def = SceneryCatalog::Instance().Find("platform");
    ASSERT_NE(def, nullptr);
    const SceneryPose pose{1000, 500, 0, 2, 1};
    const std::vector<SceneryShape> s = BuildSceneryShapes(*def, pose, false, 1.0);
    ASSERT_EQ(s.size(), def->parts.size());
    // The body fills the whole footprint: 460 × 60 around the centre.
    ASSERT_EQ(s[0].points.size(), 4u);
    EXPECT_NEAR(s[0].points[0].x, 770, 1e-9);
    EXPECT_NEAR(s[0].points[0].y, 470, 1e-9);
    EXPECT_NEAR(s[0].points[2].x, 1230, 1e-9);
    EXPECT_NEAR(s[0].points[2].y, 530, 1e-9);
    EXPECT_EQ(s[0].fill, (SceneryColor{180, 175, 170, 255}));
    EXPECT_TRUE(s[0].stroked);
    // The yellow edge strip has no outline.
    EXPECT_FALSE(s[1].stroked);
    // Selected: (0.7 r + 30, 0.7 g + 48, 0.7 b + 66).
    const std::vector<SceneryShape> sel = BuildSceneryShapes(*def, pose, true, 1.0);
    EXPECT_EQ(sel[0].fill, (SceneryColor{156, 170, 185, 255}));
}

// What zoom to fit, printing and pictures frame: everything drawn, not just piece ends.
class DrawingExtentTest : public testing::Test {
protected:
    void SetUp() override { doc.EnsureDefaultLevel(); }
    void Add(const char* article, double x, double y, int32_t level = 1) {
        LayPiece(doc, x, y, level, article);
    }
    LayoutDocument doc;
};

TEST_F(DrawingExtentTest, ACurveCountsWithItsBulgeAndItsBand) {
    // An R1 curve bends away from the line from its start to one length along its heading,
    // which is all that rule looked at.
    Add("24130", 0, 0);
    const PlacedPiece& curve = doc.pieces[0];
    const PieceDef& def = *TrackCatalog::Instance().Find("24130");
    const ConnectorPose end = GetConnectorPose(curve, def, 1);
    const LayoutBounds b = DrawingExtent(doc);
    const double w = BandHalfWidth(def);
    EXPECT_NEAR(b.minX, 0, 1e-6);        // the band starts square across the start
    EXPECT_NEAR(b.minY, -w, 1e-6);       // the outer edge at the start
    EXPECT_GT(b.maxY, end.y + w * 0.5);  // the inner edge past the far end
    EXPECT_GT(b.maxX, end.x);            // the outer edge beyond the far end's centre
    LayoutBounds ends;
    AddPieceExtent(ends, curve);
    EXPECT_LT(ends.maxY, b.maxY - 40);  // the start-and-length rule misses the bend
}

TEST_F(DrawingExtentTest, SceneryFootprintsHelicesAndNotesCount) {
    const SceneryDef* station = SceneryCatalog::Instance().Find("station_large");
    ASSERT_NE(station, nullptr);
    doc.scenery.push_back({doc.TakeId(), "station_large", 1000, 500, 30});
    LayoutBounds footprint;
    for (const PointMm& p : SceneryFootprint(*station, {1000, 500, 30, 1, 1}))
        footprint.Add(p.x, p.y);
    LayoutBounds b = DrawingExtent(doc);
    EXPECT_LE(b.minX, footprint.minX + 1e-6);
    EXPECT_GE(b.maxY, footprint.maxY - 1e-6);
    EXPECT_LT(b.minX, 1000 - station->width / 3);  // not just the item's centre

    doc.helices.push_back({doc.TakeId(), 3000, 500, 0, "proses_2_5_r1r2"});
    doc.measurements.push_back({0, 0, 2000, 100, 2000, 0, 40});  // the label hangs 40 mm below
    b = DrawingExtent(doc);
    const HelixVariant* v = FindHelixVariant("proses_2_5_r1r2");
    EXPECT_GT(b.maxX, 3000 + v->radiusOuter);
    EXPECT_NEAR(b.maxY, 2040, 1e-9);
}

// The shown baseboard and its labels count (zoom to fit frames them) unless left out.
TEST_F(DrawingExtentTest, TheBaseboardCanBeLeftOut) {
    doc.baseboard = {{0, 0}, {2400, 0}, {2400, 1300}, {0, 1300}};
    Add("24188", 500, 500);
    EXPECT_NEAR(DrawingExtent(doc).minX, -12, 1e-9);
    DrawingExtentOptions noBoard;
    noBoard.baseboard = false;
    const LayoutBounds b = DrawingExtent(doc, noBoard);
    EXPECT_GT(b.minX, 400);
    EXPECT_LT(b.maxX, 800);
}

TEST_F(DrawingExtentTest, OneLevelLeavesOtherLevelsOutAndBadNumbersNeverCount) {
    doc.levels.push_back(DefaultLevel());
    doc.levels.back().id = 2;
    doc.levels.back().outline = {{5000, 5000}, {6000, 5000}, {6000, 6000}};
    Add("24188", 0, 0);
    Add("24188", 4000, 0, 2);
    Add("24188", std::nan(""), 0);
    Add("no-such-article", -9000, -9000);
    DrawingExtentOptions first;
    first.level = 1;
    LayoutBounds b = DrawingExtent(doc, first);
    ASSERT_TRUE(b.any);
    EXPECT_TRUE(std::isfinite(b.minX) && std::isfinite(b.maxX));
    EXPECT_GT(b.minX, -1);
    EXPECT_LT(b.maxX, 200);
    b = DrawingExtent(doc);
    EXPECT_NEAR(b.maxX, 6000, 1e-9);
    EXPECT_NEAR(b.maxY, 6000, 1e-9);
    EXPECT_FALSE(DrawingExtent(LayoutDocument{}).any);
}
