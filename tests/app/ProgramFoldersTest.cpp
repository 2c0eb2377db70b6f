// Where layouts and samples live, run from the build folder and from an installation.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "app/ProgramFolders.h"

namespace fs = std::filesystem;

namespace {

class ProgramFoldersTest : public testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("quillmore-folders-" + std::to_string(std::random_device{}()));
        fs::create_directories(root / "prefix" / "bin");
        fs::create_directories(root / "home" / "Documents");
    }
    void TearDown() override { fs::remove_all(root); }
    void Install() {
        const fs::path samples = root / "prefix" / "share" / "quillmore" / "samples";
        fs::create_directories(samples);
        std::ofstream(samples / "Oval.xml") << "<layout/>";
        std::ofstream(samples / "Shelf.xml") << "<layout/>";
        std::ofstream(samples / "README") << "not a layout";
    }
    std::string Bin() const { return (root / "prefix" / "bin").string(); }
    std::string Docs() const { return (root / "home" / "Documents").string(); }
    fs::path root;
};

TEST_F(ProgramFoldersTest, ABuildFolderRunKeepsEverythingBesideTheExecutable) {
    const ProgramFolders folders = ResolveProgramFolders(Bin(), Docs());
    EXPECT_FALSE(folders.installed);
    EXPECT_EQ(folders.layouts, Bin());
    EXPECT_EQ(folders.samples, Bin());
    EXPECT_EQ(PrepareLayoutsFolder(folders), "");
    EXPECT_TRUE(fs::is_empty(Bin())) << "nothing is copied or made";
}

// An installation keeps the samples in its share folder and saves to the user's folder, never into
// the prefix; the first start copies the samples there, later starts leave the folder alone.
TEST_F(ProgramFoldersTest, AnInstallationCopiesTheSamplesToTheUsersFolderOnce) {
    Install();
    const ProgramFolders folders = ResolveProgramFolders(Bin(), Docs());
    EXPECT_TRUE(folders.installed);
    EXPECT_EQ(fs::path(folders.samples), fs::path(InstalledShareFolder(Bin())) / "samples");
    EXPECT_EQ(fs::path(folders.layouts), fs::path(Docs()) / "Quillmore");
    EXPECT_EQ(fs::relative(folders.layouts, root / "prefix").string().substr(0, 2), "..");
    ASSERT_EQ(PrepareLayoutsFolder(folders), "");
    const fs::path layouts = folders.layouts;
    EXPECT_TRUE(fs::exists(layouts / "Oval.xml"));
    EXPECT_TRUE(fs::exists(layouts / "Shelf.xml"));
    EXPECT_FALSE(fs::exists(layouts / "README")) << "only layouts";

    // The user deleted a sample and changed another: neither is put back.
    fs::remove(layouts / "Oval.xml");
    std::ofstream(layouts / "Shelf.xml") << "<layout name=\"mine\"/>";
    ASSERT_EQ(PrepareLayoutsFolder(folders), "");
    EXPECT_FALSE(fs::exists(layouts / "Oval.xml"));
    std::ifstream in(layouts / "Shelf.xml");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "<layout name=\"mine\"/>");
}

TEST_F(ProgramFoldersTest, AFolderThatCannotBeMadeIsReported) {
    Install();
    std::ofstream(root / "home" / "blocked") << "a file where the folder would go";
    const ProgramFolders folders =
        ResolveProgramFolders(Bin(), (root / "home" / "blocked").string());
    EXPECT_NE(PrepareLayoutsFolder(folders).find("Cannot create folder"), std::string::npos);
}

}  // namespace
