// Tests of track piece colours and shapes on the canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "base/Geometry.h"
#include "catalog/TrackCatalog.h"
#include "trackgeometry/PieceGeometry.h"

namespace {

const PieceDef& Def(const char* article) {
    const PieceDef* def = TrackCatalog::Instance().Find(article);
    EXPECT_NE(def, nullptr) << article;
    static PieceDef none;
    return def ? *def : none;
}

void ExpectNear(PointMm p, double x, double y, double tol = 1e-6) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

// Centre line end of a curved band: halfway between its outer and inner end points.
PointMm BandEnd(const PieceShape& band) {
    const size_t n = band.points.size() / 2;  // segments + 1 points per edge
    const PointMm outer = band.points[n - 1];
    const PointMm inner = band.points[n];
    return {(outer.x + inner.x) / 2, (outer.y + inner.y) / 2};
}

}  // namespace

TEST(PieceColours, ElevationTintRunsFromGreyThroughYellowToBrown) {
    EXPECT_EQ(ElevationTint(60), (Rgb{255, 220, 60}));
    EXPECT_EQ(ElevationTint(200), (Rgb{180, 110, 0}));
    EXPECT_EQ(ElevationOutline(ElevationTint(200)), (Rgb{120, 50, 0}));
    // 30 mm: t = 0.25, u = 0.5 → (232.5, 215, 132.5) truncated.
    EXPECT_EQ(ElevationTint(30), (Rgb{232, 215, 132}));
    // 90 mm: t = 0.75, u = 0.5 → (217.5, 165, 30).
    EXPECT_EQ(ElevationTint(90), (Rgb{217, 165, 30}));
}

class PieceColoursTest : public testing::Test {
protected:
    PieceColoursTest() {
        level.colourTrack = true;
        level.colour = {10, 20, 30};
        piece.article = "24188";
    }
    const PieceDef& def = Def("24188");
    Level level;
    PlacedPiece piece;
    PieceLook look;
};

TEST_F(PieceColoursTest, SelectedAndTunnelPiecesIgnoreLevelOwnColourAndHeight) {
    piece.hasColour = true;
    piece.colour = {1, 2, 3};
    piece.elevation = 80;
    look.level = &level;
    look.selected = true;
    look.inTunnel = true;
    EXPECT_EQ(PieceColoursFor(piece, def, look), (PieceColours{{180, 200, 230}, {40, 100, 200}}));
    look = PieceLook{};  // a plain piece in a tunnel: fill and outline fade
    look.inTunnel = true;
    PlacedPiece plain;
    EXPECT_EQ(PieceColoursFor(plain, def, look), (PieceColours{{216, 216, 214}, {180, 180, 178}}));
}

TEST_F(PieceColoursTest, OwnColourWinsOverLevelColour) {
    look.level = &level;
    EXPECT_EQ(PieceColoursFor(piece, def, look).fill, (Rgb{10, 20, 30}));
    piece.hasColour = true;
    piece.colour = {1, 2, 3};
    EXPECT_EQ(PieceColoursFor(piece, def, look).fill, (Rgb{1, 2, 3}));
    level.colourTrack = false;
    piece.hasColour = false;
    EXPECT_EQ(PieceColoursFor(piece, def, look).fill, (Rgb{210, 210, 205}));
}

TEST_F(PieceColoursTest, RaisedPieceIsTintedUnlessFlatOnAHelix) {
    piece.elevation = 80;
    const Rgb tinted = ElevationTint(80);
    EXPECT_EQ(PieceColoursFor(piece, def, look).fill, tinted);
    look.helixLinked = true;
    EXPECT_EQ(PieceColoursFor(piece, def, look).fill, (Rgb{210, 210, 205}));
    piece.grade = 2;
    EXPECT_EQ(PieceColoursFor(piece, def, look).fill, tinted);
    // A helix end piece itself at the top of the helix stays untinted while flat.
    look.helixLinked = false;
    piece.grade = 0;
    piece.helixId = 3;
    piece.elevation = 260;
    EXPECT_EQ(PieceColoursFor(piece, def, look).fill, (Rgb{210, 210, 205}));
    // At or below 0.5 mm nothing is tinted.
    piece.helixId = kNoId;
    piece.elevation = 0.5;
    EXPECT_EQ(PieceColoursFor(piece, def, look).fill, (Rgb{210, 210, 205}));
}

TEST(PieceBands, CurveBandEdgesLieOnTheirRadii) {
    // Radius 360, 30°: 20 segments, centre (0, 360).
    const std::vector<PointMm> b = CurveBand(0, 0, 0, 360, 30, 18.7, 188.5);
    ASSERT_EQ(b.size(), 42u);
    ExpectNear(b[0], 0, -18.7);
    ExpectNear(b[20], 378.7 * std::sin(30 * kDegToRad), 360 - 378.7 * std::cos(30 * kDegToRad));
    ExpectNear(b[21], 341.3 * std::sin(30 * kDegToRad), 360 - 341.3 * std::cos(30 * kDegToRad));
    ExpectNear(b[41], 0, 18.7);
    for (int i = 0; i <= 20; ++i) {
        EXPECT_NEAR(std::hypot(b[i].x, b[i].y - 360), 378.7, 1e-9);
        EXPECT_NEAR(std::hypot(b[41 - i].x, b[41 - i].y - 360), 341.3, 1e-9);
    }
}

class PieceShapesTest : public testing::Test {
protected:
    std::vector<PieceShape> Shapes(const char* article, double x = 0, double y = 0,
                                   double heading = 0, const PlacedPiece* piece = nullptr) {
        return BuildPieceShapes(Def(article), x, y, heading, fill, outline, false, 1.0, piece);
    }
    Rgb fill{200, 200, 200};
    Rgb outline{100, 100, 100};
};

// A bumper drawn as one band looked like plain track: it gets a stop bar across its closed end.
TEST_F(PieceShapesTest, BumperLooksLikeABumperWithAStopBarAtItsEnd) {
    for (const char* article : {"24977", "8991", "7389"}) {
        const PieceDef& def = Def(article);
        const std::vector<PieceShape> s = Shapes(article, 10, 20, 90);
        ASSERT_EQ(s.size(), 2u) << article;
        EXPECT_EQ(s[0].fill, fill) << "the track";
        EXPECT_EQ(s[1].type, PieceShape::Type::Polygon);
        EXPECT_EQ(s[1].fill, kStopBarFill);
        // Heading 90: the closed end lies def.length below (10, 20); the bar reaches it, stays
        // on the piece, and is wider than the track.
        LayoutBounds bar, track;
        for (const PointMm& p : s[1].points) bar.Add(p.x, p.y);
        for (const PointMm& p : s[0].points) track.Add(p.x, p.y);
        EXPECT_NEAR(bar.maxY, 20 + def.length, 1e-9) << article;
        EXPECT_GT(bar.minY, 20.0) << article;
        EXPECT_GT(bar.maxX - bar.minX, track.maxX - track.minX) << article;
    }
}

// The Z bumper's article ran past its 15 mm under the end dots; a label only goes where it fits.
TEST(PieceLabels, LabelFitsBetweenTheEndDotsOrIsLeftOut) {
    const PieceDef* bumper = TrackCatalog::Instance().Find("8991");
    const PieceDef* straight = TrackCatalog::Instance().Find("24188");
    ASSERT_TRUE(bumper && straight);
    EXPECT_FALSE(LabelFitsPiece(*bumper, 24, 3, 1.0));
    EXPECT_TRUE(LabelFitsPiece(*straight, 24, 3, 1.0));
    // The room shrinks with the zoom: 188.3 mm at 0.2 px/mm leaves 37.66 - 8 px.
    EXPECT_TRUE(LabelFitsPiece(*straight, 29, 3, 0.2));
    EXPECT_FALSE(LabelFitsPiece(*straight, 30, 3, 0.2));
    PieceDef lengthless = *straight;
    lengthless.length = 0;
    EXPECT_TRUE(LabelFitsPiece(lengthless, 500, 3, 0.2));
}

// The C bumper's article was centred on the whole piece and ran onto its stop bar.
TEST(PieceLabels, BumperLabelStaysBetweenItsDotAndItsStopBar) {
    for (const char* article : {"24977", "8991"}) {
        const PieceDef* bumper = TrackCatalog::Instance().Find(article);
        ASSERT_TRUE(bumper && bumper->kind == PieceKind::Bumper) << article;
        PlacedPiece p;
        p.article = article;
        const double zoom = 2, r = 3;
        for (int width = 4; width < 400; width += 4) {
            if (!LabelFitsPiece(*bumper, width, r, zoom)) continue;
            const double centre = ArticleLabelPoint(p, *bumper).x;  // heading 0: along x
            EXPECT_GE(centre - width / 2.0 / zoom, r / zoom) << article << " " << width;
            EXPECT_LE(centre + width / 2.0 / zoom, bumper->length - StopBarLength(*bumper))
                << article << " " << width;
        }
    }
}

// Plain track is one band in the fill, ending at its connector; branches are drawn in their own
// shade under or over the through route and end at their connectors: turnouts, the three-way,
// curved turnouts (C lead 257.5 − 180 = 77.5 mm, K lead the piece's length 64.6 mm), the crossing's
// diagonal and the double slip's slips and their edges.
TEST_F(PieceShapesTest, BandsAndBranchesHaveTheirShadeAndEndAtTheirConnectors) {
    const Rgb b{185, 185, 190};
    const struct {
        const char* article;
        std::vector<Rgb> fills;  // of the first shapes, in drawing order
        size_t shapes;
        std::vector<std::tuple<size_t, double, double, double>> ends;  // shape, x, y, tolerance
    } cases[] = {
        {"24188", {fill}, 1, {}},
        {"24130", {fill}, 1, {{0, 180.0, 360 * (1 - std::cos(30 * kDegToRad)), 1e-6}}},
        {"24612", {fill, b}, 2, {{1, 180.04, 38.76, 0.02}}},
        {"24630", {b, b, fill}, 3, {{0, 180.04, 38.76, 0.02}, {1, 180.04, -38.76, 0.02}}},
        {"24672", {fill, b, b}, 3, {{0, 180, 48.2, 0.05}, {2, 257.5, 48.2, 0.05}}},
        {"2268", {fill, b, b}, 3, {{2, 244.6, 48.23, 0.05}}},
        {"24640", {fill, {190, 190, 195}}, 2, {{1, 179.96, 88.74 - 50, 1e-6}}},
        {"24624",
         {fill, {192, 192, 196}, {210, 210, 218}},
         8,
         {{2, 179.96, 38.74, 0.1}, {5, 188.3, 0, 0.1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.article);
        const std::vector<PieceShape> s = Shapes(c.article);
        ASSERT_EQ(s.size(), c.shapes);
        for (size_t i = 0; i < c.fills.size(); ++i) EXPECT_EQ(s[i].fill, c.fills[i]) << i;
        for (const auto& [i, x, y, tol] : c.ends) ExpectNear(BandEnd(s[i]), x, y, tol);
    }
    EXPECT_EQ(Shapes("24630")[2].points.size(), 4u);
    ExpectNear(Shapes("24672")[1].points[1], 77.5, 18.7);
    ExpectNear(Shapes("2268")[1].points[1], 64.6, 18.7);
    // The crossing's diagonal starts at connector 2; the slips' edges are lines in the outline.
    const PieceShape diagonal = Shapes("24640", 100, 50, 0)[1];
    ExpectNear({(diagonal.points[0].x + diagonal.points[3].x) / 2,
                (diagonal.points[0].y + diagonal.points[3].y) / 2},
               108.34, 11.26);
    const std::vector<PieceShape> slip = Shapes("24624");
    EXPECT_EQ(slip[2].pen, (Rgb{210, 210, 218}));
    EXPECT_EQ(slip[3].type, PieceShape::Type::Polyline);
    EXPECT_EQ(slip[3].pen, outline);
}

TEST_F(PieceShapesTest, TurntableHasPitDeckBridgeTracksAndDots) {
    PlacedPiece p;
    std::tie(p.article, p.x, p.y) = std::tuple("74862", 500, 400);
    p.joints.resize(30);
    p.joints[0] = {7, 0};
    p.joints[15] = {8, 1};
    const std::vector<PieceShape> s = Shapes("74862", 500, 400, 0, &p);
    // Pit, deck, bridge, two tracks, 30 dots.
    ASSERT_EQ(s.size(), 35u);
    EXPECT_EQ(s[0].type, PieceShape::Type::Circle);
    EXPECT_DOUBLE_EQ(s[0].radiusMm, 189);
    EXPECT_DOUBLE_EQ(s[1].radiusMm, 139);
    EXPECT_EQ(s[1].fill, fill);
    // Track to the joined exit 15 at (−139, 0) from the pit rim at (−189, 0).
    ExpectNear(s[4].points[0], 500 - 189, 400, 1e-6);
    ExpectNear(s[4].points[1], 500 - 139, 400, 1e-6);
    ExpectNear(s[5].points[0], 639, 400, 1e-6);
}

TEST(PieceMidpoint, CurveUsesArcMidpointOthersHalfLength) {
    PlacedPiece p;
    p.article = "24130";
    ExpectNear(PieceMidpoint(p, Def("24130")), 360 * std::sin(15 * kDegToRad),
               360 * (1 - std::cos(15 * kDegToRad)));
    p.heading = 180;
    p.x = 100;
    ExpectNear(PieceMidpoint(p, Def("24188")), 100 - 94.15, 0);
    EXPECT_TRUE(IsCircuitTrack(Def("24994")));
    EXPECT_TRUE(IsCircuitTrack(Def("24294")));
    EXPECT_FALSE(IsCircuitTrack(Def("24188")));
}

// Band width on screen is 2 × half-width × zoom: 37.4 mm per unit zoom for the wide systems,
// 12 mm for Z gauge; below 3 pixels a band becomes a line of the band's rounded width.
TEST(ThinBandDecision, LineBelowThreePixelsWithTheBandsRoundedWidth) {
    const struct {
        double halfWidth, zoom;
        bool line;
        int widthPx;
    } cases[] = {
        {18.7, 0.05, true, 2},    // 1.87 px: zoom to fit of a big layout
        {18.7, 0.08, true, 3},    // 2.99 px
        {18.7, 0.081, false, 0},  // 3.03 px
        {6.0, 0.2, true, 2},      // Z gauge 2.4 px
        {6.0, 0.25, false, 0},    // exactly 3 px is not narrower
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BandDrawnAsLine(c.halfWidth, c.zoom), c.line) << c.halfWidth << " " << c.zoom;
        if (c.line) {
            EXPECT_EQ(BandLineWidthPx(c.halfWidth, c.zoom), c.widthPx) << c.zoom;
        }
    }
}

TEST(BandCentreLine, AStraightGivesItsAxisACurveItsArcAndOddPointListsNothing) {
    const std::vector<PointMm> line = BandCentreLine(StraightBand(10, 20, 90, 100, 18.7));
    ASSERT_EQ(line.size(), 2u);
    ExpectNear(line[0], 10, 20);
    ExpectNear(line[1], 10, 120);
    // Heading +x, turning 30° clockwise on screen on radius 400: the centre is at (0, 400).
    const std::vector<PointMm> arc = BandCentreLine(CurveBand(0, 0, 0, 400, 30, 18.7, 0));
    ASSERT_EQ(arc.size(), static_cast<size_t>(ArcSegments(30) + 1));
    for (const PointMm& p : arc) EXPECT_NEAR(std::hypot(p.x, p.y - 400), 400, 1e-6);
    ExpectNear(arc.front(), 0, 0);
    ExpectNear(arc.back(), 400 * std::sin(30 * kDegToRad), 400 - 400 * std::cos(30 * kDegToRad));
    EXPECT_TRUE(BandCentreLine({{0, 0}, {1, 0}, {1, 1}}).empty());
}

TEST(ThinBandColour, MeanOfFillAndOutlineOrTheSelectedOutline) {
    EXPECT_EQ(ThinBandColour({210, 210, 205}, {120, 120, 115}, false), (Rgb{165, 165, 160}));
    EXPECT_EQ(ThinBandColour({255, 0, 1}, {0, 255, 0}, false), (Rgb{127, 127, 0}));
    EXPECT_EQ(ThinBandColour({180, 200, 230}, {40, 100, 200}, true), (Rgb{40, 100, 200}));
}
