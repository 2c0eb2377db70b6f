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

namespace {

const wxString kBase = "Quillmore v1.3 by Bramblewick";

// How the dialogs the file commands open are answered.
struct Answers {
    Answers(int message, wxString name = "", int textEntry = wxID_OK, wxString openName = "")
        : message(message), name(name), textEntry(textEntry), openName(openName) {}
    int message;        // message boxes
    wxString name;      // typed into the layout name dialog when not empty
    int textEntry;      // the layout name dialog
    wxString openName;  // row picked in the Open Layout dialog
};

class MainFrameTest : public FrameTest {
protected:
    void SetUp() override {
        OpenFrame();
        frame->SetProgramFolder(folder.Path());
    }

    std::unique_ptr<ModalAnswerer> Answer(const Answers& a) {
        return std::make_unique<ModalAnswerer>([a](wxDialog* dialog) -> int {
            if (auto* entry = dynamic_cast<wxTextEntryDialog*>(dialog)) {
                if (!a.name.empty()) entry->SetValue(a.name);
                return a.textEntry;
            }
            if (auto* open = dynamic_cast<OpenLayoutDialog*>(dialog))
                return open->SelectName(a.openName) ? wxID_OK : wxID_CANCEL;
            return a.message;
        });
    }

    void AddPieces(int n) {
        for (int i = 0; i < n; ++i) {
            PlacedPiece p;
            p.article = "24188";
            p.x = 188.3 * i;
            p.joints.resize(2);
            frame->Document().AddPiece(p);
        }
        frame->NotifyChanged(DocChange::Pieces);
        frame->FlushChanges();
    }
    std::string FileIn(const std::string& name) const { return folder.File(name); }

    TempDir folder;
};

TEST_F(MainFrameTest, FirstSaveAsksTheNameThenSavesToTheSameFileAndTheTitleFollows) {
    AddPieces(2);
    EXPECT_EQ(frame->GetTitle(), kBase + " *");
    auto hook = Answer(Answers{wxID_YES});
    ASSERT_TRUE(frame->SaveLayoutFile(false));
    frame->FlushChanges();
    ASSERT_EQ(hook->Count(), 1);
    EXPECT_EQ(hook->Dialogs()[0].title, "Save Layout");
    EXPECT_EQ(hook->Dialogs()[0].message, "My Layout") << "the offered default";
    EXPECT_EQ(frame->FilePath(), FileIn("My Layout.xml"));
    EXPECT_EQ(frame->GetTitle(), kBase + " - My Layout");
    AddPieces(1);
    EXPECT_EQ(frame->GetTitle(), kBase + " - My Layout *");
    ASSERT_TRUE(frame->SaveLayoutFile(false));
    EXPECT_EQ(hook->Count(), 1) << "a later save asks nothing";
    EXPECT_NE(ReadFileBytes(FileIn("My Layout.xml")).find("<piece id=\"3\""), std::string::npos);
}

TEST_F(MainFrameTest, FirstSaveAsksBeforeReplacingAFileOfThatName) {
    std::ofstream(FileIn("Yard.xml")) << "precious";
    AddPieces(1);
    {
        auto hook = Answer(Answers{wxID_NO, "Yard"});
        EXPECT_FALSE(frame->SaveLayoutFile(false));
        ASSERT_EQ(hook->Count(), 2);
        EXPECT_NE(hook->Dialogs()[1].message.Find("replace"), wxNOT_FOUND);
        EXPECT_EQ(ReadFileBytes(FileIn("Yard.xml")), "precious");
        EXPECT_TRUE(frame->IsModified() && frame->FilePath().empty());
    }
    // The refused save kept nothing: the name is asked again, then the replace question.
    EXPECT_TRUE(frame->LayoutName().empty());
    auto hook = Answer(Answers{wxID_YES, "Yard"});
    EXPECT_TRUE(frame->SaveLayoutFile(false));
    EXPECT_EQ(hook->Count(), 2);
    EXPECT_NE(ReadFileBytes(FileIn("Yard.xml")).find("<layout"), std::string::npos);
}

// A refused name ended the save; now the prompt comes back holding the name to mend.
TEST_F(MainFrameTest, RefusedLayoutNameReturnsToThePromptWithTheName) {
    AddPieces(1);
    for (const char* bad : {"../escape", "sub/dir", ".."}) {
        std::vector<wxString> offered;
        ModalAnswerer hook([&](wxDialog* dialog) -> int {
            auto* entry = dynamic_cast<wxTextEntryDialog*>(dialog);
            if (!entry) return wxID_OK;
            offered.push_back(entry->GetValue());
            if (offered.size() == 1) entry->SetValue(bad);
            return offered.size() == 1 ? wxID_OK : wxID_CANCEL;
        });
        EXPECT_FALSE(frame->SaveLayoutFile(false)) << bad;
        ASSERT_EQ(hook.Count(), 3) << bad;
        EXPECT_EQ(hook.Dialogs()[1].title, "Save Layout") << "the refusal is shown";
        ASSERT_EQ(offered.size(), 2u);
        EXPECT_EQ(offered[1], bad) << "the prompt comes back with the refused name";
        EXPECT_TRUE(frame->FilePath().empty() && frame->LayoutName().empty());
        EXPECT_TRUE(frame->IsModified());
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
    EXPECT_FALSE(
        std::filesystem::exists(std::filesystem::path(folder.Path()).parent_path() / "escape.xml"));

    int prompts = 0;
    ModalAnswerer mend([&](wxDialog* dialog) -> int {
        if (auto* entry = dynamic_cast<wxTextEntryDialog*>(dialog))
            entry->SetValue(++prompts == 1 ? "yard/east" : "yard east");
        return wxID_OK;
    });
    EXPECT_TRUE(frame->SaveLayoutFile(false));
    EXPECT_EQ(prompts, 2);
    EXPECT_EQ(frame->FilePath(), FileIn("yard east.xml"));
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
        auto hook = Answer(Answers{wxID_OK, "Yard"});
        Command(wxID_SAVEAS);
        EXPECT_EQ(asked, 1);
    }
    EXPECT_TRUE(frame->LayoutName().empty());
    EXPECT_TRUE(frame->FilePath().empty());
    EXPECT_TRUE(frame->IsModified());
    EXPECT_EQ(frame->GetTitle(), title);
    {
        auto hook = Answer(Answers{wxID_OK, "", wxID_CANCEL});
        Command(wxID_SAVE);
        ASSERT_EQ(hook->Count(), 1) << "Save asks for the name again";
        EXPECT_EQ(hook->Dialogs()[0].message, "My Layout");
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));

    // A saved layout: Save As cancelled at the file dialog keeps its file.
    {
        auto hook = Answer(Answers{wxID_OK, "Depot"});
        ASSERT_TRUE(frame->SaveLayoutFile(false));
    }
    const wxString path = frame->FilePath();
    frame->SetSavePathAsker([](wxWindow*, const wxString&, const wxString&) { return wxString(); });
    EXPECT_FALSE(frame->SaveLayoutFile(true));
    EXPECT_EQ(frame->FilePath(), path);
    EXPECT_EQ(frame->LayoutName(), "Depot");
}

// The menus lacked the commands a person looks for first: Cut, Copy, Paste, the 3D view, the
// levels and an About box.
TEST_F(MainFrameTest, MenusOfferClipboard3DViewLevelsAndAbout) {
    wxMenuBar* bar = frame->GetMenuBar();
    const struct {
        int id;
        const char* menu;
        const char* label;
        const char* keys;
    } expected[] = {{wxID_CUT, "Edit", "Cut", "Ctrl+X"},
                    {wxID_COPY, "Edit", "Copy", "Ctrl+C"},
                    {wxID_PASTE, "Edit", "Paste", "Ctrl+V"},
                    {kCmd3DView, "View", "3D View", ""},
                    {kCmdLevels, "Layout", "Levels...", ""},
                    {wxID_ABOUT, "Help", "About Quillmore", ""}};
    for (const auto& e : expected) {
        wxMenu* owner = nullptr;
        wxMenuItem* item = bar->FindItem(e.id, &owner);
        ASSERT_NE(item, nullptr) << e.label;
        EXPECT_EQ(item->GetItemLabelText(), e.label);
        EXPECT_EQ(owner, bar->GetMenu(bar->FindMenu(e.menu))) << e.label;
        std::unique_ptr<wxAcceleratorEntry> accel(item->GetAccel());
        EXPECT_EQ(accel ? accel->ToString() : wxString(), e.keys) << e.label;
    }

    // Copy, Paste and Cut work on the canvas's copy buffer, as its keys do.
    AddPieces(2);
    LayoutDocument& doc = frame->Document();
    EXPECT_FALSE(Enabled(wxID_COPY)) << "nothing selected";
    EXPECT_FALSE(Enabled(wxID_PASTE)) << "nothing copied";
    doc.pieces[0].selected = true;
    frame->NotifyChanged(DocChange::Selection);
    EXPECT_TRUE(Enabled(wxID_CUT) && Enabled(wxID_COPY));
    Command(wxID_COPY);
    EXPECT_EQ(frame->Canvas()->Gestures().CopyBuffer().size(), 1u);
    ASSERT_TRUE(Enabled(wxID_PASTE));
    Command(wxID_PASTE);
    EXPECT_EQ(doc.pieces.size(), 3u);
    doc.ClearSelection();
    doc.pieces[1].selected = true;
    const uint32_t cut = doc.pieces[1].id;
    Command(wxID_CUT);
    EXPECT_EQ(doc.pieces.size(), 2u);
    EXPECT_EQ(doc.FindPiece(cut), nullptr);
    EXPECT_EQ(frame->Canvas()->Gestures().CopyBuffer().size(), 1u);
    Command(kCmdUndo);
    EXPECT_NE(doc.FindPiece(cut), nullptr) << "the cut is one undoable delete";

    // Layout > Levels... opens the level manager; Help > About the about box.
    {
        auto hook = Answer(Answers{wxID_OK});
        Command(kCmdLevels);
        ASSERT_EQ(hook->Count(), 1);
        EXPECT_EQ(hook->Dialogs()[0].title, "Manage Levels");
    }
    std::vector<wxAboutDialogInfo> shown;
    frame->SetAboutShower(
        [&](const wxAboutDialogInfo& info, wxWindow* parent) {
            EXPECT_EQ(parent, frame);
            shown.push_back(info);
        });
    Command(wxID_ABOUT);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].GetName(), "Quillmore");
    EXPECT_EQ(shown[0].GetVersion(), "1.3");
    EXPECT_EQ(shown[0].GetWebSiteURL(), kMakerWebSite);
    EXPECT_TRUE(kBase.Contains("v" + shown[0].GetVersion())) << "the title's version";
}

TEST_F(MainFrameTest, SaveAndOpenRoundTripThroughTheDialogs) {
    AddPieces(3);
    frame->Document().units = 2;
    {
        auto hook = Answer(Answers{wxID_YES, "Yard"});
        Command(wxID_SAVE);
        EXPECT_EQ(hook->Count(), 1);
    }
    Command(wxID_NEW);  // saved: no question
    EXPECT_TRUE(frame->Document().pieces.empty());
    frame->Document().units = 0;
    auto hook = Answer(Answers{wxID_OK, "", wxID_OK, "Yard"});
    Command(wxID_OPEN);
    ASSERT_EQ(hook->Count(), 1);
    EXPECT_EQ(frame->Document().pieces.size(), 3u);
    EXPECT_EQ(frame->FilePath(), FileIn("Yard.xml"));
    EXPECT_EQ(frame->Document().units, 2);
    EXPECT_TRUE(frame->GetMenuBar()->IsChecked(kCmdUnitsInch));
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
        std::filesystem::remove(FileIn("Kept.xml"));
        AddPieces(2);
        const size_t pieces = frame->Document().pieces.size();
        auto hook = Answer(Answers{c.answer, "Kept", c.nameDialog});
        Command(c.command);
        ASSERT_EQ(hook->Count(), c.dialogs);
        EXPECT_EQ(hook->Dialogs()[0].title, "Unsaved Changes");
        EXPECT_EQ(hook->Dialogs()[0].message, "You have unsaved changes. Save before continuing?");
        EXPECT_EQ(frame->IsModified(), !c.discarded);
        EXPECT_EQ(frame->Document().pieces.size(), c.discarded ? 0 : pieces);
        EXPECT_EQ(std::filesystem::exists(FileIn("Kept.xml")), c.dialogs == 2 && c.discarded);
    }
    // The close box is vetoed on Cancel; Exit after No closes.
    AddPieces(1);
    {
        auto hook = Answer(Answers{wxID_CANCEL});
        EXPECT_FALSE(frame->Close(false));
    }
    EXPECT_FALSE(wxTheApp->IsScheduledForDestruction(frame));
    auto hook = Answer(Answers{wxID_NO});
    Command(wxID_EXIT);
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(frame));
    frame = nullptr;
    PumpEvents();
}

TEST_F(MainFrameTest, NewClearsAndItsUndoRestoresWithoutReusingIds) {
    AddPieces(2);
    auto hook = Answer(Answers{wxID_YES, "Old"});
    ASSERT_TRUE(frame->SaveLayoutFile(false));
    // Undo after New brought the pieces back without their baseboard and their deck.
    Doc().levels.push_back(Level{2, "Upper", true, 0, false, {}, {}});
    Doc().activeLevel = 2;
    Doc().baseboard = {{0, 0}, {1800, 0}, {1800, 600}, {0, 600}};
    Doc().shapeWidth = 1800;
    const LayoutDocument before = Doc();

    Command(wxID_NEW);
    const LayoutDocument& doc = Doc();
    EXPECT_TRUE(doc.pieces.empty() && doc.baseboard.empty());
    EXPECT_EQ(doc.levels, std::vector<Level>{DefaultLevel()});
    EXPECT_TRUE(frame->FilePath().empty() && frame->LayoutName().empty());
    EXPECT_EQ(frame->GetTitle(), kBase);

    Command(kCmdUndo);
    EXPECT_EQ(doc.pieces, before.pieces);
    EXPECT_EQ(doc.baseboard, before.baseboard);
    EXPECT_EQ(doc.levels, before.levels);
    EXPECT_EQ(doc.activeLevel, 2u);
    EXPECT_EQ(doc.shapeWidth, 1800);
    EXPECT_EQ(frame->GetTitle(), kBase + " *");
    AddPieces(1);
    EXPECT_EQ(doc.pieces.back().id, 3u) << "the restored pieces keep ids 1 and 2";

    // After New the first save asks for a name again.
    auto second = Answer(Answers{wxID_NO});
    Command(wxID_NEW);
    AddPieces(1);
    ASSERT_TRUE(frame->SaveLayoutFile(false));
    EXPECT_EQ(second->Dialogs().back().message, "My Layout");
}

TEST_F(MainFrameTest, UndoAfterOpenBringsBackAnotherLayoutsPiecesUnderTheOpenedFile) {
    // File B holds one piece.
    AddPieces(1);
    {
        auto hook = Answer(Answers{wxID_YES, "B"});
        ASSERT_TRUE(frame->SaveLayoutFile(false));
    }
    const std::string savedB = ReadFileBytes(FileIn("B.xml"));
    // New, then an unsaved layout of three pieces is dropped and B opened.
    Command(wxID_NEW);
    AddPieces(3);
    auto hook = Answer(Answers{wxID_NO, "", wxID_OK, "B"});
    Command(wxID_OPEN);
    ASSERT_EQ(frame->FilePath(), FileIn("B.xml"));
    ASSERT_EQ(frame->Document().pieces.size(), 1u);

    EXPECT_FALSE(Enabled(kCmdUndo)) << "the opened file starts a fresh history";
    EXPECT_FALSE(Enabled(kCmdRedo));
    Command(kCmdUndo);
    EXPECT_EQ(frame->Document().pieces.size(), 1u) << "B's own piece stays";
    EXPECT_FALSE(frame->IsModified());
    ASSERT_TRUE(frame->SaveLayoutFile(false));
    EXPECT_EQ(ReadFileBytes(FileIn("B.xml")), savedB) << "saving cannot overwrite B with others";

    // Edits after opening are undoable as before.
    AddPieces(1);
    Command(kCmdUndo);
    EXPECT_EQ(frame->Document().pieces.size(), 1u);
    EXPECT_FALSE(Enabled(kCmdUndo));
}

// The title kept " *" after undoing back to the saved layout. The saved state is a step of the
// history that undo and redo return to; a change that recorded no step at it loses it.
TEST_F(MainFrameTest, UndoOrRedoBackToTheSavedLayoutLeavesItUnmodified) {
    AddPieces(2);
    {
        auto hook = Answer(Answers{wxID_YES, "Star"});
        ASSERT_TRUE(frame->SaveLayoutFile(false));
    }
    frame->FlushChanges();
    const wxString saved = kBase + " - Star";
    AddPieces(1);
    EXPECT_EQ(frame->GetTitle(), saved + " *");
    Command(kCmdUndo);
    EXPECT_EQ(frame->GetTitle(), saved);
    EXPECT_FALSE(frame->IsModified());
    Command(kCmdUndo);
    EXPECT_EQ(frame->GetTitle(), saved + " *") << "one step before the saved layout";
    Command(kCmdRedo);
    EXPECT_EQ(frame->GetTitle(), saved);
    EXPECT_FALSE(frame->IsModified());
    frame->Document().pieces[0].x = 40;  // edited without an undo step
    frame->NotifyChanged(DocChange::Placement);
    AddPieces(1);
    Command(kCmdUndo);
    EXPECT_EQ(frame->GetTitle(), saved + " *") << "this state differs from the file";
}

TEST_F(MainFrameTest, CommandsAreEnabledAsTheDocumentAllows) {
    for (int id : std::initializer_list<int>{kCmdUndo, kCmdRedo, kCmdDelete})
        EXPECT_FALSE(Enabled(id)) << id;
    for (int id :
         {5002, 5000, 5003, 5004, 5012, 5013, 5010, 2005, 2006, 2009, 2014, 2018, 2000, 2021})
        EXPECT_TRUE(Enabled(id)) << id;
    AddPieces(2);
    EXPECT_TRUE(Enabled(kCmdUndo));
    EXPECT_FALSE(Enabled(kCmdDelete));
    frame->Document().pieces[1].selected = true;
    frame->NotifyChanged(DocChange::Selection);
    EXPECT_TRUE(Enabled(kCmdDelete));
    Command(kCmdUndo);
    EXPECT_EQ(frame->Document().pieces.size(), 1u);
    EXPECT_TRUE(Enabled(kCmdRedo));
    Command(kCmdRedo);
    EXPECT_FALSE(Enabled(kCmdRedo));
}

TEST_F(MainFrameTest, DeleteAsksAboutGradedPiecesOnly) {
    AddPieces(3);
    LayoutDocument& doc = frame->Document();
    doc.pieces[0].selected = doc.pieces[1].selected = true;
    doc.pieces[1].grade = 2.0;
    {
        auto hook = Answer(Answers{wxID_NO});
        Command(kCmdDelete);
        ASSERT_EQ(hook->Count(), 1);
        EXPECT_EQ(hook->Dialogs()[0].title, "Delete");
        EXPECT_EQ(hook->Dialogs()[0].message, "Selection includes graded pieces. Delete?");
        EXPECT_EQ(doc.pieces.size(), 3u);
    }
    {
        auto hook = Answer(Answers{wxID_YES});
        Command(kCmdDelete);
    }
    ASSERT_EQ(doc.pieces.size(), 1u);
    EXPECT_EQ(doc.pieces[0].id, 3u);
}

TEST_F(MainFrameTest, DeleteIsRefusedOnHelixAndTunnelTrack) {
    AddPieces(3);  // three straights in a row, joined, ids 1 to 3
    LayoutDocument& doc = frame->Document();
    for (int i = 0; i < 2; ++i) {
        doc.pieces[i].joints[1] = Joint{doc.pieces[i + 1].id, 0};
        doc.pieces[i + 1].joints[0] = Joint{doc.pieces[i].id, 1};
    }
    EXPECT_FALSE(Enabled(kCmdTunnel)) << "nothing selected is no chain";
    for (auto& p : doc.pieces) p.selected = true;
    frame->NotifyChanged(DocChange::Selection);
    EXPECT_TRUE(Enabled(kCmdTunnel));
    Command(kCmdTunnel);
    ASSERT_EQ(doc.tunnels.size(), 1u);
    ASSERT_EQ(doc.scenery.size(), 2u) << "two portals";
    const std::string tunnelText =
        "Selection includes tunnel track or portals. Remove the tunnel first, then delete.";
    const std::string helixText =
        "Selection includes track that is part of a helix. Helix track cannot be deleted "
        "individually.";
    const struct {
        bool piece1, portal, helix3;
        const char* title;
        const std::string& message;
    } cases[] = {{true, false, false, "Tunnel is locked", tunnelText},
                 {false, true, false, "Tunnel is locked", tunnelText},
                 {true, false, true, "Helix track is locked", helixText}};  // helix reported first
    for (const auto& c : cases) {
        doc.ClearSelection();
        doc.pieces[1].selected = c.piece1;
        doc.scenery[1].selected = c.portal;
        doc.pieces[2].selected = c.helix3;
        doc.pieces[2].helixId = c.helix3 ? 9 : kNoId;
        auto hook = Answer(Answers{wxID_OK});
        Command(kCmdDelete);
        ASSERT_EQ(hook->Count(), 1) << c.title;
        EXPECT_EQ(hook->Dialogs()[0].title, c.title);
        EXPECT_EQ(hook->Dialogs()[0].message, c.message);
        EXPECT_EQ(doc.pieces.size(), 3u);
        EXPECT_EQ(doc.scenery.size(), 2u);
    }
}

}  // namespace
