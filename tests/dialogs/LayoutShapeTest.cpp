// Baseboard outlines of the layout shape dialog: parametric shapes, custom vertex text, units.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "dialogs/LayoutShape.h"

namespace {

using Outline = std::vector<PointMm>;

// "x,y x,y ..." in millimetres.
Outline Points(const std::string& text) {
    Outline points;
    std::istringstream in(text);
    for (double x, y; in >> x && in.ignore() && in >> y;) points.push_back({x, y});
    return points;
}

struct OutlineCase {
    const char* name;
    int shape;
    std::array<int, 4> fields;
    int units;
    const char* expected;  // empty: no outline
};

OutlineCase Case(const char* name, int shape, int a, int b, int c, int d, int units,
                 const char* expected) {
    return {name, shape, {a, b, c, d}, units, expected};
}

class ShapeOutlineTest : public testing::TestWithParam<OutlineCase> {};

TEST_P(ShapeOutlineTest, BuildsTheOutlineOrNoneWhenACutoutDoesNotFit) {
    const OutlineCase& c = GetParam();
    EXPECT_EQ(ShapeOutline(c.shape, c.fields, c.units), Points(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ShapeOutlineTest,
    testing::Values(
        Case("RectangleInCm", kShapeRectangle, 240, 120, 0, 0, 1, "0,0 2400,0 2400,1200 0,1200"),
        Case("LCutoutWiderThanTheBoard", kShapeL, 2400, 2400, 3000, 1200, 0, ""),
        Case("LCutoutAsDeepAsTheBoard", kShapeL, 100, 50, 20, 50, 0, ""),
        Case("LCutoutJustInside", kShapeL, 100, 50, 99, 49, 0, "0,0 100,0 100,1 1,1 1,50 0,50"),
        Case("UNotchCentred", kShapeU, 3600, 2400, 1200, 1200, 0,
             "0,0 3600,0 3600,2400 2400,2400 2400,1200 1200,1200 1200,2400 0,2400"),
        Case("UNotchWiderThanTheBoard", kShapeU, 10, 10, 99, 5, 0, ""),
        Case("UNotchAsWideAsTheBoard", kShapeU, 10, 10, 10, 5, 0, ""),
        Case("UNotchAsDeepAsTheBoard", kShapeU, 10, 10, 4, 10, 0, ""),
        Case("UNotchJustInside", kShapeU, 10, 10, 8, 9, 0, "0,0 10,0 10,10 9,10 9,1 1,1 1,10 0,10"),
        Case("TStemBelowBar", kShapeT, 3600, 1200, 1200, 1200, 0,
             "0,0 3600,0 3600,1200 2400,1200 2400,2400 1200,2400 1200,1200 0,1200"),
        Case("TStemWiderThanTheBar", kShapeT, 100, 50, 200, 2, 1, ""),
        Case("TStemAsWideAsTheBar", kShapeT, 100, 50, 100, 2, 1, ""),
        Case("TNarrowStemInCm", kShapeT, 100, 50, 20, 2, 1,
             "0,0 1000,0 1000,500 600,500 600,520 400,520 400,500 0,500"),
        Case("CustomHasNoParametricOutline", kShapeCustom, 1, 1, 1, 1, 0, ""),
        Case("ClearIsEmpty", kShapeClear, 1, 1, 1, 1, 0, "")),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShapeFieldValues, NewLayoutShowsTheDefaultsRoundedPerUnit) {
    LayoutDocument doc;
    EXPECT_EQ(ShapeFieldValues(doc, kShapeRectangle, 0), (std::array<int, 4>{2400, 1200, 0, 0}));
    EXPECT_EQ(ShapeFieldValues(doc, kShapeRectangle, 1), (std::array<int, 4>{240, 120, 0, 0}));
    EXPECT_EQ(ShapeFieldValues(doc, kShapeRectangle, 2), (std::array<int, 4>{94, 47, 0, 0}));
    EXPECT_EQ(ShapeFieldValues(doc, kShapeU, 1), (std::array<int, 4>{360, 240, 120, 120}));
}

TEST(ShapeFieldValues, StoredSizesBelongToTheLastShapeOnly) {
    LayoutDocument doc;
    StoreLastShape(doc, kShapeL, {2000, 1500, 700, 600}, 4, 0);
    EXPECT_EQ(doc.lastShape, kShapeL);
    EXPECT_EQ(ShapeFieldValues(doc, kShapeL, 0), (std::array<int, 4>{2000, 1500, 700, 600}));
    EXPECT_EQ(ShapeFieldValues(doc, kShapeU, 0), (std::array<int, 4>{3600, 2400, 1200, 1200}));
    // 1500 mm is 59.06 in: rounds to 59; 700 mm is 27.56 in: 28.
    EXPECT_EQ(ShapeFieldValues(doc, kShapeL, 2), (std::array<int, 4>{79, 59, 28, 24}));
}

TEST(StoreLastShape, ConvertsToMillimetresAndKeepsSizesOfMissingFields) {
    LayoutDocument doc;
    doc.shapeWidth2 = 777;
    doc.shapeHeight2 = 888;
    StoreLastShape(doc, kShapeRectangle, {240, 120, 0, 0}, 2, 1);
    EXPECT_EQ(doc.shapeWidth, 2400);
    EXPECT_EQ(doc.shapeHeight, 1200);
    EXPECT_EQ(doc.shapeWidth2, 777);
    EXPECT_EQ(doc.shapeHeight2, 888);
    StoreLastShape(doc, kShapeClear, {}, 0, 0);
    EXPECT_EQ(doc.lastShape, kShapeClear);
    EXPECT_EQ(doc.shapeWidth, 2400);
}

TEST(CustomOutline, PrefillsARectangleInTheDisplayUnit) {
    EXPECT_EQ(FormatCustomOutline({}, 0), "0,0\n2400,0\n2400,1200\n0,1200\n");
    EXPECT_EQ(FormatCustomOutline({}, 1), "0,0\n240,0\n240,120\n0,120\n");
    EXPECT_EQ(FormatCustomOutline({}, 2), "0,0\n94,0\n94,47\n0,47\n");
    EXPECT_EQ(FormatCustomOutline({{0, 0}, {254, 12.7}}, 2), "0.000,0.000\n10.000,0.500\n");
}

TEST(CustomOutline, FormattedVerticesReadBackUnchanged) {
    const Outline outline{{0, 0}, {1234.5, 0}, {1234.5, 678.25}, {-10, 678.25}};
    EXPECT_EQ(ParseCustomOutline(FormatCustomOutline(outline, 0), 0), outline);
}

TEST(CustomOutline, SkipsLinesWithoutACommaAndIgnoresBlanks) {
    const std::string text = "0, 0\n100 ,0\n100,50\nsome words here\n0,50";
    EXPECT_EQ(ParseCustomOutline(text, 0), (Outline{{0, 0}, {100, 0}, {100, 50}, {0, 50}}));
    EXPECT_EQ(ParseCustomOutline(" 1 0 , 2\r\n\n\n", 1), (Outline{{100, 20}}));
}

TEST(CustomOutline, SkipsLinesThatAreNotTwoNumbers) {
    const std::string text =
        "ab,cd\n5\n,\n1,\n,2\n1e400,0\n0,-1e999\n100000,0\n3x,4\nnan,1\ninf,2\n0x10,1\n"
        "+7,-8\n99000,-99000\n1,2,3\n";
    EXPECT_EQ(ParseCustomOutline(text, 0), (Outline{{7, -8}, {99000, -99000}, {1, 2}}));
}

}  // namespace
