// Layouts from anywhere: Open Other, Save To, the recent layouts, the command line and drops.
#include <gtest/gtest.h>
#include <wx/confbase.h>
#include <wx/dnd.h>
#include <wx/filehistory.h>
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

// Open Other asks about the unsaved changes first, exactly as Open asks; Save then writes back to
// the file it opened.
TEST_F(DesktopTest, OpenOtherLoadsFromAnotherFolderAndSaveGoesBackThere) {
    const std::string path = elsewhere.File("Attic.xml");
    WriteLayout(path, 3, "Attic");
    AddPiece();
    int asked = 0;
    wxString askedFolder, chosen;
    frame->SetOpenPathAsker([&](wxWindow*, const wxString& folder) {
        ++asked;
        askedFolder = folder;
        return chosen;
    });
    {
        ModalAnswerer hook(wxID_CANCEL);
        Command(kCmdOpenOther);
        EXPECT_EQ(hook.Dialogs().at(0).title, "Unsaved Changes");
    }
    EXPECT_EQ(asked, 0) << "Cancel at the unsaved-changes question shows no file dialog";
    for (const wxString& answer : {wxString(), wxString::FromUTF8(path)}) {
        chosen = answer;
        ModalAnswerer hook(wxID_NO);
        Command(kCmdOpenOther);
        ASSERT_EQ(hook.Count(), 1);
        if (answer.empty()) {
            EXPECT_EQ(asked, 1);
            EXPECT_EQ(frame->Document().pieces.size(), 1u) << "the file dialog cancelled";
            EXPECT_TRUE(frame->IsModified());
        }
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

// Save To writes where it is told without asking a name; one that fails leaves the layout where
// it was.
TEST_F(DesktopTest, SaveToWritesWhereItIsToldAndKeepsTheLayoutThere) {
    AddPiece();
    std::string target = elsewhere.File("missing-folder/Plan.xml");
    frame->SetSavePathAsker([&](wxWindow*, const wxString&, const wxString& file) {
        EXPECT_EQ(file, "My Layout.xml");
        return wxString::FromUTF8(target);
    });
    {
        ModalAnswerer hook(wxID_OK);
        Command(kCmdSaveTo);
        ASSERT_EQ(hook.Count(), 1);
        EXPECT_EQ(hook.Dialogs()[0].title, "Save Failed");
        EXPECT_TRUE(frame->FilePath().empty() && frame->LayoutName().empty());
        EXPECT_TRUE(frame->IsModified());
    }
    target = elsewhere.File("Shelf plan");  // typed without ".xml"
    ModalAnswerer hook(wxID_YES);
    Command(kCmdSaveTo);
    EXPECT_EQ(hook.Count(), 0) << "no name question: the dialog names the file";
    EXPECT_TRUE(std::filesystem::exists(target + ".xml"));
    EXPECT_EQ(frame->FilePath(), wxString::FromUTF8(target + ".xml"));
    EXPECT_EQ(frame->LayoutName(), "Shelf plan");
    EXPECT_FALSE(frame->IsModified());
    EXPECT_EQ(Recent().front(), wxString::FromUTF8(target + ".xml"));
}

// A greyed "(none)" while empty; newest first, nine at most, kept in the settings; shown by name
// with the path as the item's help; a layout that is gone is dropped with a message.
TEST_F(DesktopTest, RecentLayoutsAreNewestFirstTrimmedToNineShownByNameAndDropWhatIsGone) {
    wxMenuBar* bar = frame->GetMenuBar();
    const int noneId = bar->FindMenuItem(_("&File"), _("(none)"));
    ASSERT_NE(noneId, wxNOT_FOUND) << "an empty list says so";
    EXPECT_FALSE(bar->FindItem(noneId)->IsEnabled());
    std::vector<std::string> paths;
    for (int i = 0; i < 11; ++i) {
        paths.push_back(elsewhere.File("Plan " + std::to_string(i) + ".xml"));
        WriteLayout(paths.back(), 1, "Plan");
        ASSERT_TRUE(frame->OpenLayoutPath(wxString::FromUTF8(paths.back())));
    }
    ASSERT_TRUE(frame->OpenLayoutPath(wxString::FromUTF8(paths[4])));  // again: moves to the top
    EXPECT_EQ(bar->FindMenuItem(_("&File"), _("(none)")), wxNOT_FOUND);
    std::vector<wxString> recent = Recent();
    ASSERT_EQ(recent.size(), 9u);
    EXPECT_EQ(recent[0], wxString::FromUTF8(paths[4]));
    EXPECT_EQ(recent[1], wxString::FromUTF8(paths[10]));
    EXPECT_EQ(recent[8], wxString::FromUTF8(paths[2])) << "0 and 1 fell off the end";

    // A new window reads the same list back from the settings.
    MainFrame* second = new MainFrame();
    ASSERT_EQ(second->RecentLayouts().GetCount(), 9u);
    EXPECT_EQ(second->RecentLayouts().GetHistoryFile(0), wxString::FromUTF8(paths[4]));
    second->Destroy();
    PumpEvents();

    wxMenuItem* item = bar->FindItem(wxID_FILE1);
    ASSERT_NE(item, nullptr);
    EXPECT_NE(item->GetItemLabelText().Find("Plan 4"), wxNOT_FOUND);
    EXPECT_EQ(item->GetItemLabelText().Find("/"), wxNOT_FOUND) << item->GetItemLabelText();
    EXPECT_EQ(item->GetHelp(), wxString::FromUTF8(paths[4])) << "the folder in the status bar";
    std::filesystem::remove(paths[4]);
    {
        ModalAnswerer hook(wxID_OK);
        Command(wxID_FILE1);
        ASSERT_EQ(hook.Count(), 1);
        EXPECT_EQ(hook.Dialogs()[0].title, "Recent Layouts");
        EXPECT_NE(hook.Dialogs()[0].message.Find("Plan 4.xml"), wxNOT_FOUND);
    }
    ASSERT_EQ(Recent().size(), 8u);
    Command(wxID_FILE1);
    EXPECT_EQ(frame->FilePath(), wxString::FromUTF8(paths[10]));
    EXPECT_EQ(frame->Document().pieces.size(), 1u);
}

// A layout given on the command line opens; a broken or missing one is reported and leaves an
// empty layout.
TEST_F(DesktopTest, ACommandLineLayoutOpensAndABadOneIsReported) {
    // What the reader refuses, and why, is the layout reader's own; one broken file stands here.
    const std::string path = elsewhere.File("Broken.xml");
    std::ofstream(path) << "<layout name=\"x\" version=\"1\">\n<pieces>\n<piece id=\"oops\"/>\n";
    {
        ModalAnswerer hook(wxID_OK);
        frame->OpenFromCommandLine(wxString::FromUTF8(path));
        ASSERT_EQ(hook.Count(), 1);
        EXPECT_EQ(hook.Dialogs()[0].title, "Open Failed");
        EXPECT_TRUE(frame->Document().pieces.empty() && frame->FilePath().empty());
        EXPECT_FALSE(frame->IsModified() || frame->Document().CanUndo());
    }
    const std::string given = elsewhere.File("Given.xml");
    WriteLayout(given, 2, "Given");
    ModalAnswerer hook(wxID_OK);
    frame->OpenFromCommandLine(wxString::FromUTF8(given));
    EXPECT_EQ(hook.Count(), 0);
    EXPECT_EQ(frame->LayoutName(), "Given");
    EXPECT_EQ(frame->Document().pieces.size(), 2u);
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

// A file of another kind is refused, a block joins the library of its system, a layout opens
// after the unsaved-changes question, on the frame and on the canvas alike.
TEST_F(DesktopTest, DropsRefuseOtherFilesFileBlocksAndOpenLayouts) {
    const std::string notes = elsewhere.File("notes.xml");
    std::ofstream(notes) << "<?xml version=\"1.0\"?>\n<notes/>\n";
    {
        ModalAnswerer hook(wxID_OK);
        Drop(frame, {notes});
        ASSERT_EQ(hook.Count(), 1);
        EXPECT_NE(hook.Dialogs()[0].message.Find("neither"), wxNOT_FOUND);
        EXPECT_TRUE(frame->FilePath().empty());
    }
    LayoutDocument blockDoc;
    PlacedPiece piece = Straight(0);
    piece.selected = true;
    blockDoc.AddPiece(piece);
    const std::string block = elsewhere.File("Siding.xml");
    ASSERT_EQ(SaveBlock(blockDoc, block, "Siding"), "");
    {
        ModalAnswerer hook(wxID_OK);
        ASSERT_TRUE(Drop(frame, {block}));
        EXPECT_EQ(hook.Count(), 0);
    }
    const std::string library = LibraryFolderPath(
        programFolder.Path(), PaletteSystemName(SystemIndexForLayout(blockDoc.pieces)));
    EXPECT_EQ(ReadFileBytes(library + "/Siding.xml"), ReadFileBytes(block));
    EXPECT_TRUE(frame->Document().pieces.empty()) << "a block is not opened as the layout";

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
    const CommandLineRequest help = Parse({"-h"});
    EXPECT_EQ(help.action, Action::Help);
    EXPECT_NE(help.text.Find("--version"), wxNOT_FOUND) << help.text;
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
