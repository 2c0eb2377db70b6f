// Saving never destroys the previous file: failures at every step leave it intact and are reported.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "FileTestSupport.h"
#include "persistence/AtomicFile.h"
#include "persistence/LayoutFile.h"

namespace fs = std::filesystem;

namespace {

// A layout large enough that writing it takes many bytes.
LayoutDocument BigLayout() {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    for (uint32_t i = 1; i <= 200; ++i)
        doc.pieces.push_back(PlacedPiece{
            i, "24188", 188.3 * i, 0, 0, true, 0, 0, false, Rgb{}, 1, kNoId, {Joint{}, Joint{}}});
    doc.nextId = 201;
    return doc;
}

class SaveFailure : public testing::Test {
protected:
    // The folder holds only `count` entries: no temporary file is left behind.
    void ExpectEntries(long count) {
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), {}), count);
    }
    TempFolder folder;
    const std::string oldBytes = "<?xml version=\"1.0\"?>\n<layout name=\"old work\">\n</layout>\n";
};

// Runs `save` as on a full disk: the process may not grow any file beyond 400 bytes.
std::string SaveOnFullDisk(const std::function<std::string()>& save) {
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 400;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    std::string error = setrlimit(RLIMIT_FSIZE, &limit) == 0 ? save() : "no file size limit";
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    return error;
}

TEST_F(SaveFailure, FullDiskDuringWriteLeavesOldFileAndReportsError) {
    const std::string layout = folder.File("layout.xml");
    WriteBytes(layout, oldBytes);
    EXPECT_EQ(SaveOnFullDisk([&] { return SaveLayout(BigLayout(), layout, "new work"); }),
              "Cannot write file: " + layout);
    EXPECT_EQ(ReadBytes(layout), oldBytes);
    ExpectEntries(1);
}

TEST_F(SaveFailure, MissingFolderOrAFolderInTheWayIsReported) {
    std::string gone = folder.File("gone/layout.xml");
    EXPECT_EQ(SaveLayout(BigLayout(), gone, "x"), "Cannot open file: " + gone);
    // A folder in the way of the file: the final rename fails for root and for everyone else.
    std::string path = folder.File("layout.xml");
    fs::create_directory(path);
    WriteBytes(path + "/inside.txt", oldBytes);
    EXPECT_EQ(SaveLayout(BigLayout(), path, "x"), "Cannot write file: " + path);
    EXPECT_EQ(ReadBytes(path + "/inside.txt"), oldBytes);
    ExpectEntries(1);
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

TEST_F(SaveFailure, SuccessfulSaveKeepsPermissionsAndFollowsLinks) {
    std::string real = folder.File("real.xml"), link = folder.File("link.xml");
    WriteBytes(real, oldBytes);
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(real, mode);
    fs::create_symlink(real, link);
    ASSERT_EQ(WriteFileAtomically(link, "new"), "");
    EXPECT_TRUE(fs::is_symlink(link)) << "the link stays a link";
    EXPECT_EQ(ReadBytes(real), "new");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, mode);
    ASSERT_EQ(WriteFileAtomically(real, ""), "");
    EXPECT_EQ(ReadBytes(real), "") << "empty content replaces the file too";
}

}  // namespace
