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

// Names alone in the menu with the folder as its help, a greyed "(none)" when empty, and a layout
// that is gone dropped with a message.
TEST_F(DesktopTest, RecentLayoutsShowNamesAGreyedNoneAndDropWhatIsGone) {
    wxMenuBar* bar = frame->GetMenuBar();
    const auto noneItem = [bar]() -> wxMenuItem* {
        if (bar->FindItem(wxID_FILE1)) return nullptr;
        const int id = bar->FindMenuItem(_("&File"), _("(none)"));
        return id == wxNOT_FOUND ? nullptr : bar->FindItem(id);
    };
    wxMenuItem* none = noneItem();
    ASSERT_NE(none, nullptr) << "an empty list says so";
    EXPECT_FALSE(none->IsEnabled());

    // One layout here and one in a folder of its own: both by name alone, as in any session.
    const TempDir other;
    const std::string a = elsewhere.File("Attic.xml"), b = other.File("Gone.xml");
    WriteLayout(a, 2, "Attic");
    WriteLayout(b, 1, "Gone");
    ASSERT_TRUE(frame->OpenLayoutPath(wxString::FromUTF8(a)));
    EXPECT_EQ(noneItem(), nullptr);
    ASSERT_TRUE(frame->OpenLayoutPath(wxString::FromUTF8(b)));
    for (const auto& [id, path] : {std::pair{wxID_FILE1, b}, std::pair{wxID_FILE2, a}}) {
        wxMenuItem* item = bar->FindItem(id);
        ASSERT_NE(item, nullptr);
        const wxString label = item->GetItemLabelText();
        EXPECT_NE(label.Find(wxFileName(wxString::FromUTF8(path)).GetName()), wxNOT_FOUND) << label;
        EXPECT_EQ(label.Find("/"), wxNOT_FOUND) << label;
        EXPECT_EQ(item->GetHelp(), wxString::FromUTF8(path)) << "the folder in the status bar";
    }
    std::filesystem::remove(b);
    {
        ModalAnswerer hook(wxID_OK);
        Command(wxID_FILE1);  // the newest: the one that is gone
        ASSERT_EQ(hook.Count(), 1);
        EXPECT_EQ(hook.Dialogs()[0].title, "Recent Layouts");
        EXPECT_NE(hook.Dialogs()[0].message.Find("Gone.xml"), wxNOT_FOUND);
    }
    ASSERT_EQ(Recent(), std::vector<wxString>{wxString::FromUTF8(a)});
    Command(wxID_FILE1);
    EXPECT_EQ(frame->FilePath(), wxString::FromUTF8(a));
    EXPECT_EQ(frame->Document().pieces.size(), 2u);
}

// A layout given on the command line opens; a broken or missing one is reported and leaves an
// empty layout.
TEST_F(DesktopTest, ACommandLineLayoutOpensAndABadOneIsReported) {
    const std::string path = elsewhere.File("Broken.xml");
    std::ofstream(path) << "<layout name=\"x\" version=\"1\">\n<pieces>\n<piece id=\"oops\"/>\n";
    for (const std::string& bad : {path, elsewhere.File("Missing.xml")}) {
        SCOPED_TRACE(bad);
        ModalAnswerer hook(wxID_OK);
        frame->OpenFromCommandLine(wxString::FromUTF8(bad));
        ASSERT_EQ(hook.Count(), 1);
        EXPECT_EQ(hook.Dialogs()[0].title, "Open Failed");
        EXPECT_FALSE(hook.Dialogs()[0].message.empty());
        EXPECT_TRUE(frame->Document().pieces.empty() && frame->FilePath().empty());
        EXPECT_FALSE(frame->IsModified());
        EXPECT_FALSE(frame->Document().CanUndo());
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
