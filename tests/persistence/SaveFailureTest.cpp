// Saving never destroys the previous file: failures at every step leave it intact and are reported.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "FileTestSupport.h"
#include "persistence/AtomicFile.h"
#include "persistence/LayoutFile.h"
#include "persistence/LibraryBlock.h"

namespace fs = std::filesystem;

namespace {

// A layout large enough that writing it takes many bytes.
LayoutDocument BigLayout() {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    for (uint32_t i = 1; i <= 200; ++i) {
        PlacedPiece p;
        p.id = i;
        p.article = "24188";
        p.x = 188.3 * i;
        p.joints.resize(2);
        doc.pieces.push_back(p);
    }
    doc.nextId = 201;
    return doc;
}

// Everything in the folder except `keep`: temporary files must not be left behind.
std::vector<std::string> OtherEntries(const std::string& folder, const std::string& keep) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename() != keep) names.push_back(e.path().filename().string());
    return names;
}

class SaveFailure : public testing::Test {
protected:
    TempFolder folder;
    const std::string oldBytes = "<?xml version=\"1.0\"?>\n<layout name=\"old work\">\n</layout>\n";
};

TEST_F(SaveFailure, VanishedFolderIsReportedAndNothingIsCreated) {
    std::string path = folder.File("gone/layout.xml");
    EXPECT_EQ(SaveLayout(BigLayout(), path, "x"), "Cannot open file: " + path);
    EXPECT_FALSE(fs::exists(folder.File("gone")));
    EXPECT_TRUE(OtherEntries(folder.path, "").empty());
}

TEST_F(SaveFailure, TargetThatCannotBeReplacedStaysAndNoTemporaryFileRemains) {
    // A folder in the way of the file: the final rename fails for root and for everyone else.
    std::string path = folder.File("layout.xml");
    fs::create_directory(path);
    WriteBytes(path + "/inside.txt", oldBytes);
    EXPECT_EQ(SaveLayout(BigLayout(), path, "x"), "Cannot write file: " + path);
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(ReadBytes(path + "/inside.txt"), oldBytes);
    EXPECT_TRUE(OtherEntries(folder.path, "layout.xml").empty());
}

// Simulates a full disk: the process may not grow any file beyond a few hundred bytes.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    bool Active() const { return active_; }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
    bool active_ = false;
};

TEST_F(SaveFailure, FullDiskDuringWriteLeavesOldFileAndReportsError) {
    std::string path = folder.File("layout.xml");
    WriteBytes(path, oldBytes);
    std::string error;
    {
        FileSizeLimit limit(400);
        ASSERT_TRUE(limit.Active());
        error = SaveLayout(BigLayout(), path, "new work");
    }
    EXPECT_EQ(error, "Cannot write file: " + path);
    EXPECT_EQ(ReadBytes(path), oldBytes);
    EXPECT_TRUE(OtherEntries(folder.path, "layout.xml").empty());

    // Same for a block.
    LayoutDocument doc = BigLayout();
    for (auto& p : doc.pieces) p.selected = true;
    std::string blockPath = folder.File("block.xml");
    WriteBytes(blockPath, oldBytes);
    {
        FileSizeLimit limit(400);
        error = SaveBlock(doc, blockPath, "b");
    }
    EXPECT_EQ(error, "Cannot write file: " + blockPath);
    EXPECT_EQ(ReadBytes(blockPath), oldBytes);
}

TEST_F(SaveFailure, SuccessfulSaveKeepsPermissionsAndFollowsLinks) {
    std::string real = folder.File("real.xml");
    WriteBytes(real, oldBytes);
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::string link = folder.File("link.xml");
    fs::create_symlink(real, link);

    ASSERT_EQ(WriteFileAtomically(link, "new"), "");
    EXPECT_TRUE(fs::is_symlink(link)) << "the link stays a link";
    EXPECT_EQ(ReadBytes(real), "new");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(SaveFailure, ReadOnlyFileIsNotReplaced) {
    std::string path = folder.File("locked.xml");
    WriteBytes(path, oldBytes);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string expected = "Cannot open file: " + path;
    if (geteuid() != 0) {
        EXPECT_EQ(SaveLayout(BigLayout(), path, "x"), expected);
    } else {
        // Root may write to any file: save as an ordinary user in a child process.
        constexpr uid_t kNobody = 65534;
        ASSERT_EQ(chown(folder.path.c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(chown(path.c_str(), kNobody, kNobody), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(3);
            _exit(SaveLayout(BigLayout(), path, "x") == expected ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save did not refuse; 3: no ordinary user";
    }
    EXPECT_EQ(ReadBytes(path), oldBytes);
}

TEST_F(SaveFailure, EmptyContentReplacesFile) {
    std::string path = folder.File("f.txt");
    WriteBytes(path, oldBytes);
    ASSERT_EQ(WriteFileAtomically(path, ""), "");
    EXPECT_EQ(ReadBytes(path), "");
}

}  // namespace
