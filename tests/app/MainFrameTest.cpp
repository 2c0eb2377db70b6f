// The main window driven by its commands: title, unsaved changes, files, delete, enabling.
#include <gtest/gtest.h>
#include <wx/aboutdlg.h>
#include <wx/menu.h>
#include <wx/textdlg.h>

#include <filesystem>
#include <fstream>

#include "app/CommandIds.h"
#include "app/HelpText.h"
#include "app/gui/OpenLayoutDialog.h"
#include "support/FrameFixture.h"

namespace fs = std::filesystem;

namespace {

const wxString kBase = "Quillmore v1.3 by Bramblewick";

class MainFrameTest : public FrameTest {
protected:
    void SetUp() override {
        OpenFrame();
        frame->SetProgramFolder(folder.Path());
    }

    // Message boxes get `message`; the layout name prompt gets `name` typed (when not empty) and
    // `entry`; the Open Layout dialog gets the row `pick` chosen.
    std::unique_ptr<ModalAnswerer> Answer(int message, wxString name = "", int entry = wxID_OK,
                                          wxString pick = "") {
        return std::make_unique<ModalAnswerer>([=](wxDialog* dialog) -> int {
            if (auto* prompt = dynamic_cast<wxTextEntryDialog*>(dialog)) {
                if (!name.empty()) prompt->SetValue(name);
                return entry;
            }
            if (auto* open = dynamic_cast<OpenLayoutDialog*>(dialog))
                return open->SelectName(pick) ? wxID_OK : wxID_CANCEL;
            return message;
        });
    }
    // n straights in a row, each its own undo step.
    void AddPieces(int n) {
        for (int i = 0; i < n; ++i) {
            PlacedPiece p;
            p.article = "24188";
            p.x = 188.3 * i;
            p.joints.resize(2);
            Doc().AddPiece(p);
        }
        frame->NotifyChanged(DocChange::Pieces);
        frame->FlushChanges();
    }
    std::string FileIn(const std::string& name) const { return folder.File(name); }

    TempDir folder;
};

// The first save offers "My Layout"; a refused name brings the prompt back holding it (which
// names are refused is the file-name rule's own), a name of an existing file is written only
// after asking; once saved, Save asks nothing.
TEST_F(MainFrameTest, FirstSaveAsksASafeNameAndBeforeReplacingThenSavesToTheSameFile) {
    AddPieces(2);
    EXPECT_EQ(frame->GetTitle(), kBase + " *");
    std::ofstream(FileIn("Yard.xml")) << "precious";
    std::vector<wxString> offered;
    int replace = wxID_NO;
    ModalAnswerer hook([&](wxDialog* dialog) -> int {
        auto* entry = dynamic_cast<wxTextEntryDialog*>(dialog);
        if (!entry) return replace;
        offered.push_back(entry->GetValue());
        entry->SetValue(offered.size() == 1 ? "../escape" : "Yard");
        return wxID_OK;
    });
    EXPECT_FALSE(frame->SaveLayoutFile(false));
    ASSERT_EQ(hook.Count(), 4);
    EXPECT_EQ(hook.Dialogs()[1].title, "Save Layout") << "the refusal is shown";
    EXPECT_NE(hook.Dialogs()[3].message.Find("replace"), wxNOT_FOUND);
    EXPECT_EQ(offered, (std::vector<wxString>{"My Layout", "../escape"}));
    EXPECT_EQ(ReadFileBytes(FileIn("Yard.xml")), "precious");
    EXPECT_FALSE(fs::exists(fs::path(folder.Path()).parent_path() / "escape.xml"));
    EXPECT_TRUE(frame->IsModified() && frame->FilePath().empty() && frame->LayoutName().empty());

    offered.clear();
    replace = wxID_YES;
    EXPECT_TRUE(frame->SaveLayoutFile(false));
    frame->FlushChanges();
    EXPECT_EQ(frame->FilePath(), FileIn("Yard.xml"));
    EXPECT_EQ(frame->GetTitle(), kBase + " - Yard");
    AddPieces(1);
    const int asked = hook.Count();
    ASSERT_TRUE(frame->SaveLayoutFile(false));
    EXPECT_EQ(hook.Count(), asked) << "a later save asks nothing";
    EXPECT_NE(ReadFileBytes(FileIn("Yard.xml")).find("<piece id=\"3\""), std::string::npos);
}

// Cancelling the file dialog of Save As kept the typed name, and the next Save wrote that file
// without asking anything.
TEST_F(MainFrameTest, CancelledSaveAsLeavesNameAndPathUnchanged) {
    AddPieces(1);
    const wxString title = frame->GetTitle();
    int asked = 0;
    frame->SetSavePathAsker([&](wxWindow*, const wxString&, const wxString& file) {
        ++asked;
        EXPECT_EQ(file, "Yard.xml");
        return wxString();
    });
    {
        auto hook = Answer(wxID_OK, "Yard");
        Command(wxID_SAVEAS);
        EXPECT_EQ(asked, 1);
    }
    EXPECT_TRUE(frame->LayoutName().empty() && frame->FilePath().empty());
    EXPECT_EQ(frame->GetTitle(), title) << "still marked unsaved";
    {
        auto hook = Answer(wxID_OK, "", wxID_CANCEL);
        Command(wxID_SAVE);
        ASSERT_EQ(hook->Count(), 1) << "Save asks for the name again";
        EXPECT_EQ(hook->Dialogs()[0].message, "My Layout");
    }
    EXPECT_TRUE(fs::is_empty(folder.Path()));
}

// The menus lacked the commands a person looks for first: Cut, Copy, Paste, the 3D view, the
// levels and an About box (the level manager's own tests open it from its menu item).
TEST_F(MainFrameTest, MenusOfferClipboard3DViewLevelsAndAbout) {
    const std::pair<int, const char*> expected[] = {{wxID_CUT, "Ctrl+X"},   {wxID_COPY, "Ctrl+C"},
                                                    {wxID_PASTE, "Ctrl+V"}, {kCmd3DView, ""},
                                                    {kCmdLevels, ""},       {wxID_ABOUT, ""}};
    for (const auto& [id, keys] : expected) {
        wxMenuItem* item = frame->GetMenuBar()->FindItem(id);
        ASSERT_NE(item, nullptr) << id;
        std::unique_ptr<wxAcceleratorEntry> accel(item->GetAccel());
        EXPECT_EQ(accel ? accel->ToString() : wxString(), keys) << id;
    }

    // Cut and Paste work on the canvas's copy buffer, as its keys do (when they are offered is
    // the command states' own, what a paste makes the selection's).
    AddPieces(2);
    LayoutDocument& doc = Doc();
    EXPECT_FALSE(Enabled(wxID_PASTE)) << "nothing copied";
    doc.pieces[1].selected = true;
    const uint32_t cut = doc.pieces[1].id;
    frame->NotifyChanged(DocChange::Selection);
    Command(wxID_CUT);
    EXPECT_EQ(doc.FindPiece(cut), nullptr);
    EXPECT_EQ(frame->Canvas()->Gestures().CopyBuffer().size(), 1u);
    ASSERT_TRUE(Enabled(wxID_PASTE));
    Command(wxID_PASTE);
    EXPECT_EQ(doc.pieces.size(), 2u);

    // Help > About shows the about box.
    std::vector<wxAboutDialogInfo> shown;
    frame->SetAboutShower([&](const wxAboutDialogInfo& info, wxWindow* parent) {
        EXPECT_EQ(parent, frame);
        shown.push_back(info);
    });
    Command(wxID_ABOUT);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].GetWebSiteURL(), kMakerWebSite);
    EXPECT_TRUE(kBase.Contains("v" + shown[0].GetVersion())) << "the title's version";
}

// New forgets the file and its name (what New keeps, and its undo, are the layout reset's own).
// Open after New: the unsaved layout is dropped, the file's own settings come with it, and the
// opened file starts a fresh history that undo cannot leave.
TEST_F(MainFrameTest, SaveAndOpenRoundTripAndTheOpenedFileStartsAFreshHistory) {
    AddPieces(1);
    Doc().units = 2;
    {
        auto hook = Answer(wxID_YES, "B");
        Command(wxID_SAVE);
        EXPECT_EQ(hook->Count(), 1);
    }
    const std::string savedB = ReadFileBytes(FileIn("B.xml"));
    {
        ModalAnswerer none(wxID_CANCEL);
        Command(wxID_NEW);
        EXPECT_EQ(none.Count(), 0) << "saved: no question";
    }
    EXPECT_TRUE(Doc().pieces.empty());
    EXPECT_TRUE(frame->FilePath().empty() && frame->LayoutName().empty());
    EXPECT_EQ(frame->GetTitle(), kBase);
    Doc().units = 0;
    AddPieces(3);
    auto hook = Answer(wxID_NO, "", wxID_OK, "B");
    Command(wxID_OPEN);
    ASSERT_EQ(hook->Count(), 2);
    ASSERT_EQ(frame->FilePath(), FileIn("B.xml"));
    ASSERT_EQ(Doc().pieces.size(), 1u);
    EXPECT_EQ(Doc().units, 2);
    EXPECT_TRUE(frame->GetMenuBar()->IsChecked(kCmdUnitsInch));

    EXPECT_FALSE(Enabled(kCmdUndo)) << "the opened file starts a fresh history";
    Command(kCmdUndo);
    EXPECT_EQ(Doc().pieces.size(), 1u) << "B's own piece stays";
    EXPECT_FALSE(frame->IsModified());
    ASSERT_TRUE(frame->SaveLayoutFile(false));
    EXPECT_EQ(ReadFileBytes(FileIn("B.xml")), savedB) << "saving cannot overwrite B with others";
}

TEST_F(MainFrameTest, UnsavedChangesAreAskedAboutBeforeNewCloseAndExit) {
    const struct {
        int answer, nameDialog, command;
        bool discarded;
        int dialogs;
    } cases[] = {
        {wxID_CANCEL, wxID_OK, wxID_NEW, false, 1},   // the layout stays
        {wxID_NO, wxID_OK, wxID_CLOSE, true, 1},      // discarded without saving
        {wxID_YES, wxID_OK, wxID_NEW, true, 2},       // saved first, as "Kept"
        {wxID_YES, wxID_CANCEL, wxID_NEW, false, 2},  // saving cancelled: everything stays
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        fs::remove(FileIn("Kept.xml"));
        AddPieces(2);
        const size_t pieces = Doc().pieces.size();
        auto hook = Answer(c.answer, "Kept", c.nameDialog);
        Command(c.command);
        ASSERT_EQ(hook->Count(), c.dialogs);
        EXPECT_EQ(hook->Dialogs()[0].title, "Unsaved Changes");
        EXPECT_EQ(hook->Dialogs()[0].message, "You have unsaved changes. Save before continuing?");
        EXPECT_EQ(frame->IsModified(), !c.discarded);
        EXPECT_EQ(Doc().pieces.size(), c.discarded ? 0 : pieces);
        EXPECT_EQ(fs::exists(FileIn("Kept.xml")), c.dialogs == 2 && c.discarded);
    }
    // The close box is vetoed on Cancel; Exit after No closes.
    AddPieces(1);
    {
        auto hook = Answer(wxID_CANCEL);
        EXPECT_FALSE(frame->Close(false));
    }
    EXPECT_FALSE(wxTheApp->IsScheduledForDestruction(frame));
    auto hook = Answer(wxID_NO);
    Command(wxID_EXIT);
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(frame));
    frame = nullptr;
    PumpEvents();
}

// The title kept " *" after undoing back to the saved layout. The saved state is a step of the
// history that undo and redo return to; a change that recorded no step at it loses it.
TEST_F(MainFrameTest, UndoOrRedoBackToTheSavedLayoutLeavesItUnmodified) {
    AddPieces(2);
    {
        auto hook = Answer(wxID_YES, "Star");
        ASSERT_TRUE(frame->SaveLayoutFile(false));
    }
    frame->FlushChanges();
    const wxString saved = kBase + " - Star";
    AddPieces(1);
    EXPECT_EQ(frame->GetTitle(), saved + " *");
    Command(kCmdUndo);
    EXPECT_EQ(frame->GetTitle(), saved);
    Command(kCmdUndo);
    EXPECT_EQ(frame->GetTitle(), saved + " *") << "one step before the saved layout";
    Command(kCmdRedo);
    EXPECT_EQ(frame->GetTitle(), saved);
    Doc().pieces[0].x = 40;  // edited without an undo step
    frame->NotifyChanged(DocChange::Placement);
    AddPieces(1);
    Command(kCmdUndo);
    EXPECT_EQ(frame->GetTitle(), saved + " *") << "this state differs from the file";
}

// Undo, Redo and Delete follow the document; Delete refuses tunnel track.
TEST_F(MainFrameTest, CommandsFollowTheDocumentAndDeleteRefusesTunnelsAndIsUndone) {
    AddPieces(3);  // three straights in a row, ids 1 to 3, joined below
    LayoutDocument& doc = Doc();
    for (int i = 0; i < 2; ++i) {
        doc.pieces[i].joints[1] = Joint{doc.pieces[i + 1].id, 0};
        doc.pieces[i + 1].joints[0] = Joint{doc.pieces[i].id, 1};
    }
    // When Delete and Tunnel are offered is the command states' own.
    for (auto& p : doc.pieces) p.selected = true;
    frame->NotifyChanged(DocChange::Selection);
    Command(kCmdTunnel);
    ASSERT_EQ(doc.tunnels.size(), 1u);
    // Which selections the rules refuse is the delete command's own; the window shows its refusal.
    doc.ClearSelection();
    doc.pieces[1].selected = true;
    {
        auto hook = Answer(wxID_OK);
        Command(kCmdDelete);
        ASSERT_EQ(hook->Count(), 1);
        EXPECT_EQ(hook->Dialogs()[0].title, "Tunnel is locked");
        EXPECT_EQ(hook->Dialogs()[0].message,
                  "Selection includes tunnel track or portals. Remove the tunnel first, then "
                  "delete.");
        EXPECT_EQ(doc.pieces.size(), 3u);
    }

    // Two loose pieces more go, asking nothing; the question about graded pieces is the canvas's
    // (its window tests answer it).
    AddPieces(2);
    doc.ClearSelection();
    doc.pieces[3].selected = doc.pieces[4].selected = true;
    {
        ModalAnswerer none(wxID_CANCEL);
        Command(kCmdDelete);
        EXPECT_EQ(none.Count(), 0);
    }
    EXPECT_EQ(doc.pieces.size(), 3u);
    Command(kCmdUndo);
    EXPECT_EQ(doc.pieces.size(), 5u);
}

}  // namespace
