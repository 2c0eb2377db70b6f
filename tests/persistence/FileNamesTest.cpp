// Names typed for blocks and layouts stay one plain file name inside their folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "persistence/FileNames.h"

namespace {

TEST(FileNames, BlockAndLayoutNamesAreAcceptedOrRefusedWithAReason) {
    const std::vector<std::string> accepted{"Station throat", "Yard & \"Shed\" (v2), #3!",
                                            "Gleisw\xC3\xA4ndel \xC3\x98 12", "v1.2",
                                            std::string(251, 'a')};
    // ... and refused: path parts, hidden files, control characters, too long, broken UTF-8
    // (truncated, overlong, surrogate).
    std::vector<std::string> refused{std::string("a\0b", 3), std::string(252, 'a')};
    for (const char* name : {"", "a/b", "a\\b", "..", "../../etc/passwd", "a..b", ".hidden", "a\nb",
                             "a\tb", "a\x7F", "caf\xC3", "\xC0\xAF", "\xED\xA0\x80"})
        refused.push_back(name);
    for (const std::string& name : accepted) EXPECT_EQ(CheckBlockName(name), "") << name;
    for (const std::string& name : refused) EXPECT_NE(CheckBlockName(name), "") << name;
    for (const auto& list : {accepted, refused})
        for (const std::string& name : list)
            EXPECT_EQ(CheckLayoutName(name), CheckBlockName(name))
                << "layouts follow the same rule";
    EXPECT_EQ(CheckFileBaseName("a/b"), "The name may not contain \"/\" or \"\\\".");
    EXPECT_EQ(CheckFileBaseName(""), "The name is empty.");
    EXPECT_EQ(CheckFileBaseName("a\x01"), "The name may not contain control characters.");
    EXPECT_EQ(CheckFileBaseName(std::string(250, 'x'), ".backup"), "The name is too long.");
}

}  // namespace
