// Crash recovery in the main window: a killed run's layout comes back at the next start, a
// running one's is left alone, and what is saved or dropped leaves no recovery file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wx/textdlg.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "persistence/LayoutFile.h"
#include "persistence/Recovery.h"
#include "support/FrameFixture.h"
#include "tests/app/AppTestHome.h"

namespace fs = std::filesystem;

namespace {

// The recovery files (not the lock files) in a folder, by name.
std::set<std::string> XmlFiles(const std::string& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.path().extension() == ".xml") names.insert(entry.path().filename().string());
    return names;
}

const std::string kOwnFile = "recovery-" + std::to_string(getpid()) + ".xml";
const std::string kOwnLock = "recovery-" + std::to_string(getpid()) + ".lock";

class RecoveryGuiTest : public testing::Test {
protected:
    void SetUp() override { UseTestHome(); }
    void TearDown() override {
        if (frame) frame->Destroy();
        PumpEvents();
    }

    // A new start of the program: the frame with its level, then the recovery offer.
    void Start(int intervalMs = 30000) {
        if (frame) frame->Destroy();
        // The earlier run has ended normally once its lock file is gone.
        EXPECT_TRUE(PumpUntil([&] { return !fs::exists(data.File(kOwnLock)); }));
        frame = new MainFrame();
        frame->SetProgramFolder(layouts.Path());
        frame->Document().EnsureDefaultLevel();
        frame->AfterStartup();
        frame->StartRecovery(data.Path(), intervalMs);
    }

    void Edit() {
        LayoutDocument& doc = frame->Document();
        doc.PushUndo();
        LayPiece(doc, 188.3 * static_cast<double>(doc.pieces.size()));
        frame->NotifyChanged(DocChange::Pieces);
        frame->FlushChanges();
    }

    // Writes a recovery file as a run that has ended would have left it.
    void LeaveRecoveryFile(const std::string& name, const std::string& text) {
        std::ofstream(data.File(name), std::ios::binary) << text;
    }

    TempDir data;     // the per-user data folder of the logs
    TempDir layouts;  // the program folder
    MainFrame* frame = nullptr;
};

// The real run: a child saves a layout, edits it, is killed once its recovery file is written.
TEST_F(RecoveryGuiTest, KilledRunIsOfferedAtTheNextStartAndComesBackExactly) {
    const std::string expectedFile = layouts.File("expected.txt");
    const std::string readyFile = layouts.File("ready");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        execl(RECOVERY_DRIVER, RECOVERY_DRIVER, data.Path().c_str(), layouts.Path().c_str(),
              expectedFile.c_str(), readyFile.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    const bool ready = PumpUntil([&] { return fs::exists(readyFile); }, 60000);
    if (!ready) kill(child, SIGKILL);
    ASSERT_TRUE(ready) << "the child run did not write its recovery file";
    const std::string childFile = "recovery-" + std::to_string(child) + ".xml";
    ASSERT_EQ(XmlFiles(data.Path()), std::set<std::string>{childFile});

    {
        // A second instance while the first runs: no question, its file stays.
        ModalAnswerer answers(wxID_YES);
        Start();
        EXPECT_EQ(answers.Count(), 0);
        EXPECT_EQ(XmlFiles(data.Path()), std::set<std::string>{childFile});
        EXPECT_FALSE(frame->IsModified());
    }

    ASSERT_EQ(kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    ModalAnswerer answers(wxID_YES);
    Start();
    ASSERT_EQ(answers.Count(), 1);
    EXPECT_EQ(answers.Dialogs()[0].title, "Recover Layout");
    EXPECT_EQ(answers.Dialogs()[0].message,
              "Quillmore was closed without saving \"Crash Test & Co\". Recover the unsaved "
              "changes?");
    const std::string expected = ReadFileBytes(expectedFile);
    ASSERT_NE(expected.find("Unsaved &lt;work&gt;"), std::string::npos);
    EXPECT_EQ(frame->LayoutName(), "Crash Test & Co");
    EXPECT_EQ(frame->FilePath(), layouts.File("Crash Test & Co.xml"));
    EXPECT_TRUE(frame->IsModified());
    // The killed run's file is gone; the recovered changes are safe again in this run's own.
    EXPECT_EQ(XmlFiles(data.Path()), std::set<std::string>{kOwnFile});

    // Saved: byte for byte what the killed run would have saved; nothing left to recover.
    EXPECT_NE(ReadFileBytes(layouts.File("Crash Test & Co.xml")), expected);
    ASSERT_TRUE(frame->SaveLayoutFile(false));
    frame->FlushChanges();
    EXPECT_EQ(ReadFileBytes(layouts.File("Crash Test & Co.xml")), expected);
    EXPECT_TRUE(XmlFiles(data.Path()).empty());
}

TEST_F(RecoveryGuiTest, DeclinedRecoveryIsDeletedAndTheProgramStartsEmpty) {
    LayoutDocument left;
    left.EnsureDefaultLevel();
    left.labels.push_back(Label{1, "lost", 0, 0, false});
    left.nextId = 2;
    LeaveRecoveryFile("recovery-999999.xml", RecoveryToText(left, {"", "/x/Shelf.xml", 999999}));
    ModalAnswerer answers(wxID_NO);
    Start();
    ASSERT_EQ(answers.Count(), 1);
    EXPECT_EQ(answers.Dialogs()[0].message,
              "Quillmore was closed without saving \"Shelf\". Recover the unsaved changes?");
    EXPECT_TRUE(XmlFiles(data.Path()).empty());
    EXPECT_TRUE(frame->Document().labels.empty());
    EXPECT_FALSE(frame->IsModified());
    EXPECT_TRUE(frame->FilePath().empty());
}

// Which files cannot be read and under which name they are kept aside is the recovery slot's
// own; the window reports each with the reader's error and starts empty.
TEST_F(RecoveryGuiTest, AnUnreadableFileIsReportedKeptAsideAndTheProgramStartsEmpty) {
    LayoutDocument left;
    left.EnsureDefaultLevel();
    for (uint32_t id = 1; id <= 20; ++id) LayPiece(left, 188.3 * id);
    const std::string text = RecoveryToText(left, {"Cut", "", 41});
    const std::string cut = text.substr(0, text.size() / 2);
    LeaveRecoveryFile("recovery-41.xml", cut);
    ModalAnswerer answers(wxID_OK);
    Start();
    ASSERT_EQ(answers.Count(), 1);
    EXPECT_EQ(answers.Dialogs()[0].title, "Recover Layout");
    const wxString message = answers.Dialogs()[0].message;
    LayoutDocument doc;
    RecoveryInfo info;
    EXPECT_EQ(message.AfterFirst('\n').BeforeFirst('\n').utf8_string(),
              LoadRecoveryFromText(cut, &doc, &info));
    EXPECT_NE(message.Find(data.File("unreadable-recovery-41.xml")), wxNOT_FOUND) << message;
    EXPECT_EQ(ReadFileBytes(data.File("unreadable-recovery-41.xml")), cut);
    EXPECT_TRUE(frame->Document().pieces.empty());
    EXPECT_FALSE(frame->IsModified());
}

// When a file is due is the recovery slot's own; the window writes its layout, and saving it or
// dropping it by New or Exit removes the file.
TEST_F(RecoveryGuiTest, OnlyUnsavedChangesAreWrittenAndSavingOrDroppingThemRemovesTheFile) {
    Start();
    Edit();
    frame->WriteRecoveryIfDue();
    ASSERT_EQ(XmlFiles(data.Path()), std::set<std::string>{kOwnFile});
    LayoutDocument written;
    RecoveryInfo info;
    ASSERT_EQ(LoadRecovery(data.File(kOwnFile), &written, &info), "");
    EXPECT_EQ(LayoutToText(written, ""), LayoutToText(frame->Document(), ""));
    EXPECT_EQ(info.pid, getpid());

    {
        ModalAnswerer answers([](wxDialog* dialog) {
            if (auto* entry = dynamic_cast<wxTextEntryDialog*>(dialog)) entry->SetValue("Kept");
            return wxID_OK;
        });
        ASSERT_TRUE(frame->SaveLayoutFile(false));
        frame->FlushChanges();
    }
    EXPECT_TRUE(XmlFiles(data.Path()).empty()) << "saved";

    // New and Exit, each answered "No" to saving the changes.
    for (int command : {wxID_NEW, wxID_EXIT}) {
        Edit();
        frame->WriteRecoveryIfDue();
        ASSERT_EQ(XmlFiles(data.Path()), std::set<std::string>{kOwnFile}) << command;
        ModalAnswerer answers(wxID_NO);
        wxCommandEvent event(wxEVT_MENU, command);
        frame->GetEventHandler()->ProcessEvent(event);
        EXPECT_EQ(answers.Count(), 1) << command;
        if (command == wxID_NEW) {
            frame->FlushChanges();
            EXPECT_FALSE(frame->IsModified());
            EXPECT_TRUE(XmlFiles(data.Path()).empty());
        } else {
            // Closed: the frame goes, and with it the file and the lock.
            EXPECT_TRUE(PumpUntil([&] { return fs::is_empty(data.Path()); }));
            frame = nullptr;
        }
    }
}

TEST_F(RecoveryGuiTest, TheTimerWritesChangesWhileTheProgramRuns) {
    Start(40);
    PumpEvents(150);
    EXPECT_TRUE(XmlFiles(data.Path()).empty());
    Edit();
    ASSERT_TRUE(PumpUntil([&] { return fs::exists(data.File(kOwnFile)); }));
    const std::string first = ReadFileBytes(data.File(kOwnFile));
    Edit();
    ASSERT_TRUE(PumpUntil([&] { return ReadFileBytes(data.File(kOwnFile)) != first; }));
    EXPECT_EQ(ReadFileBytes(data.File(kOwnFile)),
              RecoveryToText(frame->Document(), {"", "", static_cast<int32_t>(getpid())}));
}

}  // namespace
