// Layout and block files told apart by their root element.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "persistence/FileKind.h"

namespace {

TEST(FileKind, TheRootElementDecides) {
    const struct {
        const char* text;
        FileKind kind;
    } cases[] = {
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<layout name=\"a\" version=\"1\">",
         FileKind::Layout},
        {"<block name=\"b\" version=\"1\">\n", FileKind::Block},
        {"\xEF\xBB\xBF<?xml version=\"1.0\"?><layout>", FileKind::Layout},
        {"<!-- <block> in a comment -->\r\n<!DOCTYPE layout>\n<layout/>", FileKind::Layout},
        // Other roots, names that only begin like ours, text before the root, cut-off and empty.
        {"<layouts>", FileKind::Other},
        {"<blocky/>", FileKind::Other},
        {"layout", FileKind::Other},
        {"<layout", FileKind::Other},
        {"<!-- unterminated <layout>", FileKind::Other},
        {"", FileKind::Other}};
    for (const auto& c : cases) EXPECT_EQ(DetectFileKind(c.text), c.kind) << c.text;

    // A file is read from its start; a missing one is Other.
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "quillmore-filekind-test.xml";
    std::ofstream(path) << "<?xml version=\"1.0\"?>\n<block name=\"x\" version=\"1\">\n"
                        << std::string(10000, ' ') << "</block>\n";
    EXPECT_EQ(DetectFileKindAt(path.string()), FileKind::Block);
    std::filesystem::remove(path);
    EXPECT_EQ(DetectFileKindAt(path.string()), FileKind::Other);
}

}  // namespace
