// Layouts from anywhere: Open Other, Save To, the recent layouts, the command line and drops.
#include <gtest/gtest.h>
#include <wx/confbase.h>
#include <wx/dnd.h>
#include <wx/filehistory.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/msgout.h>

#include <filesystem>
#include <fstream>

#include "app/CommandIds.h"
#include "app/gui/AppSettings.h"
#include "app/gui/CommandLine.h"
#include "panels/PaletteLogic.h"
#include "panels/PaletteTables.h"
#include "persistence/LayoutFile.h"
#include "persistence/LibraryBlock.h"
#include "support/FrameFixture.h"
#include "tests/app/AppTestHome.h"

namespace {

PlacedPiece Straight(double x) {
    PlacedPiece piece;
    piece.article = "24188";
    piece.x = x;
    piece.joints.resize(2);
    return piece;
}

// Writes a layout of `count` straights named `name` to `path`.
void WriteLayout(const std::string& path, int count, const std::string& name) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    for (int i = 0; i < count; ++i) doc.AddPiece(Straight(188.3 * i));
    ASSERT_EQ(SaveLayout(doc, path, name), "");
}

class DesktopTest : public FrameTest {
protected:
    void SetUp() override {
        UseTestHome();
        // Each test keeps its recent layouts apart.
        AppSettings().DeleteAll();
        OpenFrame();
        frame->SetProgramFolder(programFolder.Path());
    }
    std::vector<wxString> Recent() const {
        std::vector<wxString> paths;
        for (size_t i = 0; i < frame->RecentLayouts().GetCount(); ++i)
            paths.push_back(frame->RecentLayouts().GetHistoryFile(i));
        return paths;
    }
    void AddPiece() {
        frame->Document().AddPiece(Straight(0));
        frame->NotifyChanged(DocChange::Pieces);
        frame->FlushChanges();
    }

    TempDir programFolder;
    TempDir elsewhere;
};

TEST_F(DesktopTest, OpenOtherLoadsFromAnotherFolderAndSaveGoesBackThere) {
    const std::string path = elsewhere.File("Attic.xml");
    WriteLayout(path, 3, "Attic");
    AddPiece();
    wxString askedFolder;
    frame->SetOpenPathAsker([&](wxWindow*, const wxString& folder) {
        askedFolder = folder;
        return wxString::FromUTF8(path);
    });
    {
        // The unsaved change is asked about first, exactly as Open asks.
        ModalAnswerer hook(wxID_NO);
        Command(kCmdOpenOther);
        ASSERT_EQ(hook.Count(), 1);
        EXPECT_EQ(hook.Dialogs()[0].title, "Unsaved Changes");
    }
    EXPECT_FALSE(askedFolder.empty());
    EXPECT_EQ(frame->Document().pieces.size(), 3u);
    EXPECT_EQ(frame->LayoutName(), "Attic");
    EXPECT_FALSE(frame->IsModified());

    AddPiece();
    ModalAnswerer none(wxID_CANCEL);
    ASSERT_TRUE(frame->SaveLayoutFile(false));
    EXPECT_EQ(none.Count(), 0) << "Save writes back to the opened file without asking";
    LayoutDocument reread;
    ASSERT_EQ(LoadLayout(reread, path, nullptr), "");
    EXPECT_EQ(reread.pieces.size(), 4u);
    EXPECT_TRUE(std::filesystem::is_empty(programFolder.Path())) << "nothing went elsewhere";
}

TEST_F(DesktopTest, OpenOtherCancelledAtTheQuestionOrTheDialogChangesNothing) {
    AddPiece();
    int asked = 0;
    frame->SetOpenPathAsker([&](wxWindow*, const wxString&) {
        ++asked;
        return wxString();
    });
    {
        ModalAnswerer hook(wxID_CANCEL);
        Command(kCmdOpenOther);
    }
    EXPECT_EQ(asked, 0) << "Cancel at the unsaved-changes question shows no file dialog";
    {
        ModalAnswerer hook(wxID_NO);
        Command(kCmdOpenOther);
    }
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(frame->Document().pieces.size(), 1u);
    EXPECT_TRUE(frame->IsModified());
}

TEST_F(DesktopTest, SaveToWritesWhereItIsToldAndKeepsTheLayoutThere) {
    AddPiece();
    const std::string target = elsewhere.File("Shelf plan");  // typed without ".xml"
    frame->SetSavePathAsker([&](wxWindow*, const wxString&, const wxString& file) {
        EXPECT_EQ(file, "My Layout.xml");
        return wxString::FromUTF8(target);
    });
    ModalAnswerer hook(wxID_YES);
    Command(kCmdSaveTo);
    EXPECT_EQ(hook.Count(), 0) << "no name question: the dialog names the file";
    EXPECT_TRUE(std::filesystem::exists(target + ".xml"));
    EXPECT_EQ(frame->FilePath(), wxString::FromUTF8(target + ".xml"));
    EXPECT_EQ(frame->LayoutName(), "Shelf plan");
    EXPECT_FALSE(frame->IsModified());
    EXPECT_EQ(Recent().front(), wxString::FromUTF8(target + ".xml"));
}

TEST_F(DesktopTest, SaveToThatFailsLeavesTheLayoutWhereItWas) {
    AddPiece();
    frame->SetSavePathAsker([&](wxWindow*, const wxString&, const wxString&) {
        return wxString::FromUTF8(elsewhere.File("missing-folder/Plan.xml"));
    });
    ModalAnswerer hook(wxID_OK);
    Command(kCmdSaveTo);
    ASSERT_EQ(hook.Count(), 1);
    EXPECT_EQ(hook.Dialogs()[0].title, "Save Failed");
    EXPECT_TRUE(frame->FilePath().empty());
    EXPECT_TRUE(frame->LayoutName().empty());
    EXPECT_TRUE(frame->IsModified());
}

TEST_F(DesktopTest, RecentLayoutsAreNewestFirstTrimmedToNineAndKeptInTheSettings) {
    std::vector<std::string> paths;
    for (int i = 0; i < 11; ++i) {
        paths.push_back(elsewhere.File("Plan " + std::to_string(i) + ".xml"));
        WriteLayout(paths.back(), 1, "Plan");
        ASSERT_TRUE(frame->OpenLayoutPath(wxString::FromUTF8(paths.back())));
    }
    ASSERT_TRUE(frame->OpenLayoutPath(wxString::FromUTF8(paths[4])));  // again: moves to the top
    std::vector<wxString> recent = Recent();
    ASSERT_EQ(recent.size(), 9u);
    EXPECT_EQ(recent[0], wxString::FromUTF8(paths[4]));
    EXPECT_EQ(recent[1], wxString::FromUTF8(paths[10]));
    EXPECT_EQ(recent[7], wxString::FromUTF8(paths[3]));
    EXPECT_EQ(recent[8], wxString::FromUTF8(paths[2])) << "0 and 1 fell off the end";

    // A new window reads the same list back from the settings.
    MainFrame* second = new MainFrame();
    ASSERT_EQ(second->RecentLayouts().GetCount(), 9u);
    EXPECT_EQ(second->RecentLayouts().GetHistoryFile(0), wxString::FromUTF8(paths[4]));
    second->Destroy();
    PumpEvents();

    // The submenu holds them, first the newest.
    wxMenuItem* item = frame->GetMenuBar()->FindItem(wxID_FILE1);
    ASSERT_NE(item, nullptr);
    EXPECT_NE(item->GetItemLabelText().Find("Plan 4"), wxNOT_FOUND);
}

TEST_F(DesktopTest, RecentLayoutsShowNamesWithTheirFolderAndAGreyedNoneWhenEmpty) {
    wxMenuBar* bar = frame->GetMenuBar();
    const auto noneItem = [bar]() -> wxMenuItem* {
        wxMenuItem* first = bar->FindItem(wxID_FILE1);
        if (first) return nullptr;
        const int id = bar->FindMenuItem(_("&File"), _("(none)"));
        return id == wxNOT_FOUND ? nullptr : bar->FindItem(id);
    };
    wxMenuItem* none = noneItem();
    ASSERT_NE(none, nullptr) << "an empty list says so";
    EXPECT_FALSE(none->IsEnabled());

    // One layout here and one in a folder of its own: both by name alone, as in any session.
    const TempDir other;
    const std::string a = elsewhere.File("Attic.xml"), b = other.File("Basement.xml");
    WriteLayout(a, 1, "Attic");
    WriteLayout(b, 1, "Basement");
    ASSERT_TRUE(frame->OpenLayoutPath(wxString::FromUTF8(a)));
    EXPECT_EQ(noneItem(), nullptr);
    ASSERT_TRUE(frame->OpenLayoutPath(wxString::FromUTF8(b)));
    for (const auto& [id, path] : {std::pair{wxID_FILE1, b}, std::pair{wxID_FILE2, a}}) {
        wxMenuItem* item = bar->FindItem(id);
        ASSERT_NE(item, nullptr);
        const wxString name = wxFileName(wxString::FromUTF8(path)).GetName();
        EXPECT_NE(item->GetItemLabelText().Find(name), wxNOT_FOUND) << item->GetItemLabelText();
        EXPECT_EQ(item->GetItemLabelText().Find("/"), wxNOT_FOUND) << item->GetItemLabelText();
        EXPECT_EQ(item->GetHelp(), wxString::FromUTF8(path)) << "the folder in the status bar";
    }
}

TEST_F(DesktopTest, ARecentLayoutThatIsGoneIsDroppedWithAMessage) {
    const std::string kept = elsewhere.File("Kept.xml");
    const std::string gone = elsewhere.File("Gone.xml");
    WriteLayout(kept, 2, "Kept");
    WriteLayout(gone, 1, "Gone");
    ASSERT_TRUE(frame->OpenLayoutPath(wxString::FromUTF8(kept)));
    ASSERT_TRUE(frame->OpenLayoutPath(wxString::FromUTF8(gone)));
    std::filesystem::remove(gone);
    {
        ModalAnswerer hook(wxID_OK);
        Command(wxID_FILE1);  // the newest: the one that is gone
        ASSERT_EQ(hook.Count(), 1);
        EXPECT_EQ(hook.Dialogs()[0].title, "Recent Layouts");
        EXPECT_NE(hook.Dialogs()[0].message.Find("Gone.xml"), wxNOT_FOUND);
    }
    ASSERT_EQ(Recent().size(), 1u);
    EXPECT_EQ(Recent()[0], wxString::FromUTF8(kept));
    Command(wxID_FILE1);
    EXPECT_EQ(frame->FilePath(), wxString::FromUTF8(kept));
    EXPECT_EQ(frame->Document().pieces.size(), 2u);
}

TEST_F(DesktopTest, ACommandLineLayoutOpens) {
    const std::string path = elsewhere.File("Given.xml");
    WriteLayout(path, 2, "Given");
    ModalAnswerer hook(wxID_OK);
    frame->OpenFromCommandLine(wxString::FromUTF8(path));
    EXPECT_EQ(hook.Count(), 0);
    EXPECT_EQ(frame->LayoutName(), "Given");
    EXPECT_EQ(frame->Document().pieces.size(), 2u);
}

TEST_F(DesktopTest, ABadCommandLinePathReportsTheReaderAndLeavesAnEmptyLayout) {
    const std::string path = elsewhere.File("Broken.xml");
    std::ofstream(path) << "<layout name=\"x\" version=\"1\">\n<pieces>\n<piece id=\"oops\"/>\n";
    for (const std::string& bad : {path, elsewhere.File("Missing.xml")}) {
        ModalAnswerer hook(wxID_OK);
        frame->OpenFromCommandLine(wxString::FromUTF8(bad));
        ASSERT_EQ(hook.Count(), 1) << bad;
        EXPECT_EQ(hook.Dialogs()[0].title, "Open Failed");
        EXPECT_FALSE(hook.Dialogs()[0].message.empty());
        EXPECT_TRUE(frame->Document().pieces.empty());
        EXPECT_TRUE(frame->FilePath().empty());
        EXPECT_FALSE(frame->IsModified());
        EXPECT_FALSE(frame->Document().CanUndo());
    }
}

// Drops arrive through the window's drop target, as the toolkit delivers them.
bool Drop(wxWindow* window, const std::vector<std::string>& paths) {
    auto* target = dynamic_cast<wxFileDropTarget*>(window->GetDropTarget());
    if (!target) return false;
    wxArrayString files;
    for (const std::string& path : paths) files.push_back(wxString::FromUTF8(path));
    const bool taken = target->OnDropFiles(10, 10, files);
    PumpEvents(50);
    return taken;
}

TEST_F(DesktopTest, ADroppedLayoutOpensAfterTheUnsavedChangesQuestion) {
    const std::string path = elsewhere.File("Dropped.xml");
    WriteLayout(path, 4, "Dropped");
    AddPiece();
    {
        ModalAnswerer hook(wxID_CANCEL);
        ASSERT_TRUE(Drop(frame, {path}));
        ASSERT_EQ(hook.Count(), 1);
        EXPECT_EQ(hook.Dialogs()[0].title, "Unsaved Changes");
        EXPECT_EQ(frame->Document().pieces.size(), 1u) << "cancelled: nothing opened";
    }
    ModalAnswerer hook(wxID_NO);
    ASSERT_TRUE(Drop(frame->Canvas(), {path}));
    EXPECT_EQ(frame->Document().pieces.size(), 4u);
    EXPECT_EQ(frame->LayoutName(), "Dropped");
}

TEST_F(DesktopTest, ADroppedBlockJoinsTheLibraryOfItsSystem) {
    LayoutDocument blockDoc;
    PlacedPiece piece = Straight(0);
    piece.selected = true;
    blockDoc.AddPiece(piece);
    const std::string path = elsewhere.File("Siding.xml");
    ASSERT_EQ(SaveBlock(blockDoc, path, "Siding"), "");
    ModalAnswerer hook(wxID_OK);
    ASSERT_TRUE(Drop(frame, {path}));
    EXPECT_EQ(hook.Count(), 0);
    const std::string library = LibraryFolderPath(
        programFolder.Path(), PaletteSystemName(SystemIndexForLayout(blockDoc.pieces)));
    EXPECT_EQ(ReadFileBytes(library + "/Siding.xml"), ReadFileBytes(path));
    EXPECT_TRUE(frame->Document().pieces.empty()) << "a block is not opened as the layout";
}

TEST_F(DesktopTest, ADroppedFileOfAnotherKindIsRefusedWithAMessage) {
    const std::string path = elsewhere.File("notes.xml");
    std::ofstream(path) << "<?xml version=\"1.0\"?>\n<notes/>\n";
    ModalAnswerer hook(wxID_OK);
    Drop(frame, {path});
    ASSERT_EQ(hook.Count(), 1);
    EXPECT_NE(hook.Dialogs()[0].message.Find("neither"), wxNOT_FOUND);
    EXPECT_TRUE(frame->FilePath().empty());
}

// The parser needs writable argument strings, as main receives them.
CommandLineRequest Parse(std::vector<std::string> args) {
    args.insert(args.begin(), "quillmore");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    return ParseCommandLine(static_cast<int>(args.size()), argv.data());
}

TEST(CommandLine, ReadsALayoutPathHelpAndVersion) {
    using Action = CommandLineRequest::Action;
    EXPECT_EQ(Parse({}).action, Action::Run);
    EXPECT_TRUE(Parse({}).layoutPath.empty());
    const CommandLineRequest open = Parse({"/tmp/My Layout.xml"});
    EXPECT_EQ(open.action, Action::Run);
    EXPECT_EQ(open.layoutPath, "/tmp/My Layout.xml");
    for (const char* help : {"--help", "-h"}) {
        const CommandLineRequest request = Parse({help});
        EXPECT_EQ(request.action, Action::Help) << help;
        EXPECT_NE(request.text.Find("--version"), wxNOT_FOUND) << request.text;
    }
    const CommandLineRequest version = Parse({"--version"});
    EXPECT_EQ(version.action, Action::Version);
    EXPECT_EQ(version.text, "Quillmore 1.3\n");
    // main parses before the toolkit starts, when there is no message output yet: an error
    // must not make the parser assert for the want of one.
    wxMessageOutput* const output = wxMessageOutput::Set(nullptr);
    const CommandLineRequest bogus = Parse({"--frobnicate"});
    const CommandLineRequest two = Parse({"a.xml", "b.xml"});
    wxMessageOutput::Set(output);
    EXPECT_EQ(bogus.action, Action::Error);
    EXPECT_TRUE(bogus.text.StartsWith("quillmore: unknown option or too many layouts\n"));
    EXPECT_NE(bogus.text.Find("--version"), wxNOT_FOUND) << "with the usage";
    EXPECT_EQ(two.action, Action::Error);
}

}  // namespace
