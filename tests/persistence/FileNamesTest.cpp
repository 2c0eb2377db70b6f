// Names typed for blocks and layouts stay one plain file name inside their folder.
#include <gtest/gtest.h>

#include "persistence/FileNames.h"

namespace {

struct NameCase {
    const char* what;
    std::string name;
    bool accepted;
};

class BlockName : public testing::TestWithParam<NameCase> {};

TEST_P(BlockName, IsAcceptedOrRefusedWithAReason) {
    std::string error = CheckBlockName(GetParam().name);
    if (GetParam().accepted) {
        EXPECT_EQ(error, "");
    } else {
        EXPECT_NE(error, "");
    }
    EXPECT_EQ(CheckLayoutName(GetParam().name), error) << "layouts follow the same rule";
}

INSTANTIATE_TEST_SUITE_P(
    Names, BlockName,
    testing::Values(
        NameCase{"Plain", "Station throat", true},
        NameCase{"Punctuation", "Yard & \"Shed\" (v2), #3!", true},
        NameCase{"Umlauts", "Gleisw\xC3\xA4ndel \xC3\x98 12", true},
        NameCase{"SingleDotInside", "v1.2", true}, NameCase{"Longest", std::string(251, 'a'), true},
        NameCase{"Empty", "", false}, NameCase{"Slash", "a/b", false},
        NameCase{"Backslash", "a\\b", false}, NameCase{"ParentFolder", "..", false},
        NameCase{"ClimbOut", "../../etc/passwd", false}, NameCase{"DotsInside", "a..b", false},
        NameCase{"HiddenFile", ".hidden", false}, NameCase{"NewLine", "a\nb", false},
        NameCase{"Tab", "a\tb", false}, NameCase{"Delete", "a\x7F", false},
        NameCase{"NulByte", std::string("a\0b", 3), false},
        NameCase{"TooLong", std::string(252, 'a'), false}, NameCase{"BrokenUtf8", "caf\xC3", false},
        NameCase{"OverlongUtf8", "\xC0\xAF", false}, NameCase{"Surrogate", "\xED\xA0\x80", false}),
    [](const testing::TestParamInfo<NameCase>& info) { return std::string(info.param.what); });

TEST(FileBaseName, ReasonsAreSpecific) {
    EXPECT_EQ(CheckFileBaseName("a/b"), "The name may not contain \"/\" or \"\\\".");
    EXPECT_EQ(CheckFileBaseName(".."), "The name may not contain \"..\".");
    EXPECT_EQ(CheckFileBaseName(""), "The name is empty.");
    EXPECT_EQ(CheckFileBaseName("a\x01"), "The name may not contain control characters.");
    EXPECT_EQ(CheckFileBaseName(std::string(250, 'x'), ".backup"), "The name is too long.");
}

}  // namespace
