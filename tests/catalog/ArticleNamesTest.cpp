// Numbers and article names in German: the decimal comma on the screen and in what is typed, no
// inch fractions, the descriptive words translated and the article number kept.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "base/NumberStyle.h"
#include "base/Translate.h"
#include "catalog/ArticleNames.h"
#include "catalog/TrackCatalog.h"
#include "trackgeometry/Units.h"

namespace {

std::string German(const char* english) {
    static const std::map<std::string, std::string> words = {
        {"Left Turnout", "Weiche links"}, {"Curved Track", "Bogengleis"}, {"Straight", "Gerade"}};
    const auto it = words.find(english);
    return it == words.end() ? english : it->second;
}

// German for the length of one test, English again after it.
class InGerman : public testing::Test {
protected:
    void SetUp() override {
        SetTranslator(German);
        SetNumberStyle(NumberStyleFor("de"));
    }
    void TearDown() override {
        SetTranslator(nullptr);
        SetNumberStyle(NumberStyleFor("en"));
    }
};

// German showed "437.5mm" and inch fractions, and read no "12,5" typed.
TEST_F(InGerman, ArticleNamesAndLengthsReadGerman) {
    EXPECT_EQ(ArticleDisplayName("24611 Left Turnout R2=437.5mm 24.3\u00b0"),
              "24611 Weiche links R2=437,5mm 24,3\u00b0");
    EXPECT_EQ(ArticleDisplayName("24130 (30\u00b0) R1 - 360mm (14-3/16)"),
              "24130 (30\u00b0) R1 - 360mm");
    EXPECT_EQ(ArticleDisplayName("62360 Straight 360mm / 14-3/16\""), "62360 Gerade 360mm");
    // Words inside other words and unknown words stay.
    EXPECT_EQ(ArticleDisplayName("2200 Straightish Curved Track"), "2200 Straightish Bogengleis");
    EXPECT_EQ(FormatLength(437.5, kUnitsCm), "43,8 cm");
    EXPECT_EQ(FormatCoordinates(12, 34, kUnitsCm), "1,2 cm;  3,4 cm");
    // What the catalog holds, and so what files hold, is unchanged.
    EXPECT_EQ(TrackCatalog::Instance().Find("24611")->name,
              "24611 Left Turnout R2=437.5mm 24.3\u00b0");
}

TEST(NumberStyle, EnglishKeepsNamesAndPointsAndBothMarksAreRead) {
    EXPECT_EQ(ArticleDisplayName("24130 (30\u00b0) R1 - 360mm (14-3/16)"),
              "24130 (30\u00b0) R1 - 360mm (14-3/16)");
    EXPECT_EQ(FormatLength(437.5, kUnitsCm), "43.8 cm");
    EXPECT_EQ(LocalDecimals("1.5"), "1.5");
    struct {
        const char* text;
        bool ok;
        double value;
    } cases[] = {{"12,5", true, 12.5}, {" 12.5 ", true, 12.5}, {"-3", true, -3},
                 {"1,2,3", false, 0},  {"1.2,3", false, 0},    {"abc", false, 0},
                 {"", false, 0},       {",", false, 0},        {"4e3", false, 0}};
    for (const auto& c : cases) {
        double value = -99;
        EXPECT_EQ(ParseDecimal(c.text, &value), c.ok) << c.text;
        EXPECT_EQ(value, c.ok ? c.value : -99) << c.text;
    }
}

}  // namespace
