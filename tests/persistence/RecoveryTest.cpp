// Recovery files: their text, when they are written and removed, and which ones are offered.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "FileTestSupport.h"
#include "RandomLayout.h"
#include "persistence/Recovery.h"

namespace fs = std::filesystem;

namespace {

const RecoveryInfo kInfo{"Club <North> & \"South\"", "/home/u/layouts/club.xml", 4242};

LayoutDocument Sample(uint32_t seed) { return RandomLayout(seed).Make(60); }

size_t CountFiles(const std::string& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(RecoveryText, BringsBackTheDocumentNamePathAndOwnerAndTheQuestionNamesIt) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        const LayoutDocument doc = Sample(seed);
        const std::string text = RecoveryToText(doc, kInfo);
        EXPECT_TRUE(text.starts_with(LayoutToText(doc, kInfo.layoutName)))
            << "the layout file's text comes first";
        LayoutDocument back;
        RecoveryInfo info;
        ASSERT_EQ(LoadRecoveryFromText(text, &back, &info), "") << "seed " << seed;
        EXPECT_EQ(LayoutToText(back, info.layoutName), LayoutToText(doc, kInfo.layoutName));
        EXPECT_EQ(info.layoutName, kInfo.layoutName);
        EXPECT_EQ(info.filePath, kInfo.filePath);
        EXPECT_EQ(info.pid, kInfo.pid);
    }
    EXPECT_TRUE(RecoveryToText(LayoutDocument(), {"", "", 7})
                    .ends_with("</layout>\n<recovery pid=\"7\" path=\"\"/>\n"));
    // The question names the layout, or else its file.
    EXPECT_EQ(RecoveryQuestion(kInfo),
              "Quillmore was closed without saving \"Club <North> & \"South\"\". Recover the "
              "unsaved changes?");
    EXPECT_EQ(RecoveryDisplayName({"", "/home/u/Yard 2.xml", 1}), "Yard 2");
}

TEST(RecoveryText, AFileCutShortOrDamagedIsRefusedAndNothingIsTaken) {
    const std::string text = RecoveryToText(Sample(3), kInfo);
    const LayoutDocument untouched = Sample(5);
    auto refused = [&](const std::string& damaged) {
        LayoutDocument doc = untouched;
        RecoveryInfo info{"kept", "", 1};
        std::string error = LoadRecoveryFromText(damaged, &doc, &info);
        EXPECT_EQ(info.layoutName, "kept");
        EXPECT_EQ(LayoutToText(doc, ""), LayoutToText(untouched, ""));
        return error;
    };
    // Cut at every line end and in the middle of lines: never read as a smaller layout.
    size_t lineCount = 0;
    for (size_t cut = 0; cut < text.size(); ++cut) {
        const bool lineEnd = cut > 0 && text[cut - 1] == '\n';
        lineCount += lineEnd;
        if (!lineEnd && cut % 37 != 0) continue;
        const std::string error = refused(text.substr(0, cut));
        EXPECT_TRUE(error.starts_with("Line ")) << cut << ": " << error;
        if (lineEnd) {
            EXPECT_EQ(error, "Line " + std::to_string(lineCount + 1) +
                                 ": missing <recovery> at the end of the file");
        }
    }
    EXPECT_EQ(refused(LayoutToText(Sample(3), "x") + "<recovery path=\"/a\"/>\n"),
              "Line " + std::to_string(std::count(text.begin(), text.end(), '\n')) +
                  ": missing pid in <recovery>");
    EXPECT_EQ(refused("<pieces>\n<piece id=\"1\" x=\"0\"/>\n</pieces>\n</layout>\n"
                      "<recovery pid=\"3\" path=\"\"/>\n"),
              "Line 2: missing y in <piece>")
        << "the layout reader's error comes first";
}

class RecoverySlotTest : public testing::Test {
protected:
    TempFolder folder;
    const LayoutDocument doc = Sample(11);
};

TEST_F(RecoverySlotTest, WritesOnlyAModifiedLayoutThatChangedSinceTheLastWrite) {
    RecoverySlot slot;
    EXPECT_EQ(slot.Tick(doc, "n", "", true), "") << "no slot: nothing written";
    ASSERT_EQ(slot.Claim(folder.path + "/new/sub", 321), "");
    const std::string file = folder.path + "/new/sub/recovery-321.xml";
    EXPECT_EQ(slot.FilePath(), file);
    EXPECT_TRUE(fs::exists(folder.path + "/new/sub/recovery-321.lock"));

    slot.NoteChange();
    EXPECT_EQ(slot.Tick(doc, "n", "/p.xml", false), "");
    EXPECT_FALSE(fs::exists(file)) << "an unmodified layout is not written";
    EXPECT_EQ(slot.Tick(doc, "n", "/p.xml", true), "");
    EXPECT_EQ(ReadBytes(file), RecoveryToText(doc, {"n", "/p.xml", 321}));

    // Saved or dropped: the file goes, and comes back only after the next change.
    slot.NoteChange();
    slot.Remove();
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(slot.Tick(doc, "n", "", true), "");
    EXPECT_FALSE(fs::exists(file));

    // A failed write is reported and tried again.
    slot.NoteChange();
    fs::create_directory(file);
    EXPECT_EQ(slot.Tick(doc, "n", "", true), "Cannot write file: " + file);
    fs::remove(file);
    EXPECT_EQ(slot.Tick(doc, "n", "", true), "");
    EXPECT_TRUE(fs::exists(file));

    slot.Release();
    EXPECT_EQ(CountFiles(folder.path + "/new/sub"), 0u) << "a normal end leaves nothing behind";
}

TEST_F(RecoverySlotTest, ARunningInstanceKeepsItsFileAndAFinishedOneLeavesItsFileToOffer) {
    auto running = std::make_unique<RecoverySlot>();
    ASSERT_EQ(running->Claim(folder.path, 500), "");
    running->NoteChange();
    ASSERT_EQ(running->Tick(doc, "running", "", true), "");
    RecoverySlot second;
    ASSERT_EQ(second.Claim(folder.path, 500), "") << "same process id, another slot";
    EXPECT_EQ(second.FilePath(), folder.File("recovery-500-2.xml"));
    EXPECT_TRUE(FindOrphanedRecoveries(folder.path).empty());
    EXPECT_TRUE(fs::exists(running->FilePath())) << "neither offered nor deleted";

    // A process that dies holding a slot: the system drops its lock, the file stays.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RecoverySlot dying;
        if (!dying.Claim(folder.path, 77).empty()) _exit(1);
        dying.NoteChange();
        if (!dying.Tick(Sample(12), "crashed", "/l/crashed.xml", true).empty()) _exit(2);
        raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    std::vector<OrphanedRecovery> found = FindOrphanedRecoveries(folder.path);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].FilePath(), folder.File("recovery-77.xml"));
    EXPECT_TRUE(FindOrphanedRecoveries(folder.path).empty())
        << "while one instance deals with it, no other one offers it";
    LayoutDocument back;
    RecoveryInfo info;
    ASSERT_EQ(found[0].Load(&back, &info), "");
    EXPECT_EQ(info.layoutName, "crashed");
    EXPECT_EQ(info.filePath, "/l/crashed.xml");
    EXPECT_EQ(LayoutToText(back, ""), LayoutToText(Sample(12), ""));

    // Declined: gone with its lock; the running instances' files stay.
    found[0].Discard();
    EXPECT_FALSE(fs::exists(folder.File("recovery-77.xml")));
    EXPECT_FALSE(fs::exists(folder.File("recovery-77.lock")));
    EXPECT_TRUE(fs::exists(running->FilePath()));

    // A normal end of the running one leaves nothing to offer.
    running.reset();
    EXPECT_TRUE(FindOrphanedRecoveries(folder.path).empty());
}

TEST_F(RecoverySlotTest, FilesLeftUnderTheSameProcessIdAreOfferedNewestFirst) {
    // Left by earlier runs (after a restart process ids come again), without lock files.
    WriteBytes(folder.File("recovery-900.xml"), RecoveryToText(doc, {"older", "", 900}));
    fs::last_write_time(folder.File("recovery-900.xml"),
                        fs::file_time_type::clock::now() - std::chrono::hours(2));
    WriteBytes(folder.File("recovery-900-2.xml"), RecoveryToText(doc, {"newer", "", 900}));
    // Not recovery files of this kind.
    for (const char* other : {"recovery-.xml", "recovery-1-2-3.xml", "recovery-9.xml.tmp-9-0",
                              "unreadable-recovery-900.xml"})
        WriteBytes(folder.File(other), "x");
    fs::create_directory(folder.File("recovery-5.xml"));

    RecoverySlot slot;
    ASSERT_EQ(slot.Claim(folder.path, 900), "");
    EXPECT_EQ(slot.FilePath(), folder.File("recovery-900-3.xml")) << "taken names are kept";
    std::vector<OrphanedRecovery> found = FindOrphanedRecoveries(folder.path);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].FilePath(), folder.File("recovery-900-2.xml"));
    EXPECT_EQ(found[1].FilePath(), folder.File("recovery-900.xml"));
}

TEST_F(RecoverySlotTest, AnUnreadableFileIsKeptAsideUnderAFreeName) {
    for (int round = 1; round <= 2; ++round) {
        WriteBytes(folder.File("recovery-31.xml"), "garbage\n");
        std::vector<OrphanedRecovery> found = FindOrphanedRecoveries(folder.path);
        ASSERT_EQ(found.size(), 1u);
        LayoutDocument back;
        RecoveryInfo info;
        EXPECT_EQ(found[0].Load(&back, &info), "Line 2: missing <recovery> at the end of the file");
        const std::string kept = found[0].KeepAside();
        EXPECT_EQ(kept, folder.File(round == 1 ? "unreadable-recovery-31.xml"
                                               : "unreadable-recovery-31-2.xml"));
        EXPECT_EQ(ReadBytes(kept), "garbage\n");
        EXPECT_FALSE(fs::exists(folder.File("recovery-31.xml")));
        EXPECT_FALSE(fs::exists(folder.File("recovery-31.lock")));
    }
    EXPECT_TRUE(FindOrphanedRecoveries(folder.path).empty());
}

}  // namespace
