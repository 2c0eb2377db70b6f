// Layout and block files told apart by their root element.
#include "persistence/FileKind.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

struct KindCase {
    const char* text;
    FileKind kind;
};

class FileKindTest : public testing::TestWithParam<KindCase> {};

TEST_P(FileKindTest, TheRootElementDecides) {
    EXPECT_EQ(DetectFileKind(GetParam().text), GetParam().kind) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FileKindTest,
    testing::Values(
        KindCase{"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<layout name=\"a\" version=\"1\">",
                 FileKind::Layout},
        KindCase{"<block name=\"b\" version=\"1\">\n", FileKind::Block},
        KindCase{"\xEF\xBB\xBF<?xml version=\"1.0\"?><layout>", FileKind::Layout},
        KindCase{"<!-- <block> in a comment -->\r\n<!DOCTYPE layout>\n<layout/>",
                 FileKind::Layout},
        KindCase{"  \n\t<layout\n name=\"x\">", FileKind::Layout},
        // Other roots, and names that only begin like ours.
        KindCase{"<layouts>", FileKind::Other}, KindCase{"<blocky/>", FileKind::Other},
        KindCase{"<svg xmlns=\"http://www.w3.org/2000/svg\">", FileKind::Other},
        // Text before the root, cut-off files and empty ones.
        KindCase{"layout", FileKind::Other}, KindCase{"<layout", FileKind::Other},
        KindCase{"<!-- unterminated <layout>", FileKind::Other}, KindCase{"", FileKind::Other},
        KindCase{"<", FileKind::Other}));

TEST(FileKindAt, ReadsTheStartOfAFileAndTreatsAMissingOneAsOther) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "quillmore-filekind-test.xml";
    std::ofstream(path) << "<?xml version=\"1.0\"?>\n<block name=\"x\" version=\"1\">\n"
                        << std::string(10000, ' ') << "</block>\n";
    EXPECT_EQ(DetectFileKindAt(path.string()), FileKind::Block);
    std::filesystem::remove(path);
    EXPECT_EQ(DetectFileKindAt(path.string()), FileKind::Other);
}

}  // namespace
