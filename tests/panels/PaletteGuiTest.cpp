// The palette in the real main window: system switching and the Scenery page, the system for an
// opened layout, placing by double-click and drag, library blocks, the hover preview and the
// Save as Library Block command.
#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/dcmemory.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/notebook.h>
#include <wx/textdlg.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/OpenLayoutDialog.h"
#include "canvas/CanvasPanel.h"
#include "catalog/TrackCatalog.h"
#include "panels/PalettePanel.h"
#include "panels/PiecePreviewPopup.h"
#include "persistence/LayoutFile.h"
#include "persistence/LibraryBlock.h"
#include "support/GuiTestSupport.h"

namespace {

namespace fs = std::filesystem;

PlacedPiece Straight(uint32_t id, double x, double y,
                     std::vector<Joint> joints = {Joint{}, Joint{}}) {
    PlacedPiece p;
    p.id = id;
    p.article = "24188";
    p.x = x;
    p.y = y;
    p.joints = std::move(joints);
    return p;
}

class PaletteGuiTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("HOME", home.Path().c_str(), 1);
        frame = new MainFrame();
        frame->Show();
        frame->Document().EnsureDefaultLevel();
        frame->SetProgramFolder(wxString::FromUTF8(program.Path()));
        palette = frame->Palette();
        ASSERT_NE(palette, nullptr);
        palette->RefreshLibrary();
        PumpEvents(30);
    }
    void TearDown() override {
        if (frame->Canvas()->HasCapture()) frame->Canvas()->ReleaseMouse();
        frame->Destroy();
        PumpEvents(20);
    }

    LayoutDocument& Doc() { return frame->Document(); }

    // Chooses a system as the user does: the choice changes and raises its event.
    void ChooseSystem(int index) {
        palette->SystemChoice()->SetSelection(index);
        wxCommandEvent event(wxEVT_CHOICE, palette->SystemChoice()->GetId());
        event.SetEventObject(palette->SystemChoice());
        event.SetInt(index);
        palette->SystemChoice()->GetEventHandler()->ProcessEvent(event);
    }

    std::vector<wxString> PageTexts() const {
        std::vector<wxString> texts;
        for (size_t i = 0; i < palette->Notebook()->GetPageCount(); ++i)
            texts.push_back(palette->Notebook()->GetPageText(i));
        return texts;
    }

    int RowOfKey(const std::vector<std::string>& keys, const std::string& key) const {
        for (size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == key) return static_cast<int>(i);
        return -1;
    }

    // Selects a row and double-clicks it.
    void DoubleClick(wxListBox* list, int row) {
        list->SetSelection(row);
        wxCommandEvent event(wxEVT_LISTBOX_DCLICK, list->GetId());
        event.SetEventObject(list);
        event.SetInt(row);
        list->GetEventHandler()->ProcessEvent(event);
    }

    void Mouse(wxListBox* list, wxEventType type, wxPoint at, bool leftDown) {
        wxMouseEvent event(type);
        event.SetEventObject(list);
        event.SetPosition(at);
        event.m_leftDown = leftDown;
        list->GetEventHandler()->ProcessEvent(event);
    }

    // A window point inside row `row` of the Track list (scrolled into view).
    wxPoint PointOfRow(int row) {
        wxListBox* list = palette->TrackList();
        list->EnsureVisible(row);
        // The list scrolls once it has laid itself out again.
        wxPoint found(-1, -1);
        PumpUntil(
            [&] {
                for (int y = 1; y < list->GetClientSize().y; ++y) {
                    if (list->HitTest(wxPoint(20, y)) == row) {
                        found = wxPoint(20, y + 2);
                        return true;
                    }
                }
                return false;
            },
            3000);
        if (found.y < 0) ADD_FAILURE() << "row " << row << " not found";
        return found;
    }

    std::string BlockFolder(const char* system = "Marklin_C-Track") const {
        return program.Path() + "/library/" + system;
    }

    TempDir home;
    TempDir program;
    MainFrame* frame = nullptr;
    PalettePanel* palette = nullptr;
};

// ---- System choice and the Scenery page ----

TEST_F(PaletteGuiTest, ZTrackWhileSceneryIsShownMovesToTrackAndDetachesScenery) {
    ASSERT_EQ(PageTexts(), (std::vector<wxString>{"Track", "Library", "Scenery", "Signals"}));
    const unsigned sceneryRows = palette->SceneryList()->GetCount();
    EXPECT_EQ(sceneryRows, 15u);
    palette->Notebook()->SetSelection(2);

    ChooseSystem(3);
    EXPECT_EQ(PageTexts(), (std::vector<wxString>{"Track", "Library", "Signals"}));
    EXPECT_EQ(palette->Notebook()->GetSelection(), 0);
    EXPECT_FALSE(palette->SceneryPageShown());
    EXPECT_EQ(palette->TrackList()->GetString(0), "--- Straights");
    EXPECT_EQ(palette->TrackKeys().at(1), "8500");
    EXPECT_EQ(palette->SignalKeys().at(1), "signal_z_semaphore_stop");
    // Choosing Z again changes nothing.
    ChooseSystem(3);
    EXPECT_EQ(palette->Notebook()->GetPageCount(), 3u);

    ChooseSystem(1);
    EXPECT_EQ(PageTexts(), (std::vector<wxString>{"Track", "Library", "Signals", "Scenery"}));
    EXPECT_EQ(palette->Notebook()->GetSelection(), 0);
    EXPECT_TRUE(palette->SceneryPageShown());
    EXPECT_EQ(palette->SceneryList()->GetCount(), sceneryRows);
    EXPECT_EQ(palette->SceneryKeys().at(1), "platform");
    EXPECT_EQ(palette->TrackKeys().at(1), "2200");
    EXPECT_EQ(palette->SignalKeys().at(1), "signal_semaphore_stop");
}

TEST_F(PaletteGuiTest, ZTrackFromAnotherPageKeepsThatPage) {
    palette->Notebook()->SetSelection(1);
    ChooseSystem(3);
    EXPECT_EQ(palette->Notebook()->GetSelection(), 1);
    EXPECT_EQ(palette->Notebook()->GetPageText(1), "Library");
}

struct OpenedCase {
    std::vector<std::string> articles;
    int index;
    bool sceneryPage;
};

TEST_F(PaletteGuiTest, OpenedLayoutChoosesItsSystem) {
    const OpenedCase cases[] = {
        {{"8500", "62188"}, 2, true},  // TRIX C and Z only: TRIX C
        {{"8500", "8510"}, 3, false},  // Z only: the Scenery page goes
        {{"2200", "24188"}, 0, true},  // C and K: C, and the page comes back
        {{}, 0, true},                 // empty layout
    };
    for (const OpenedCase& c : cases) {
        std::vector<PlacedPiece> pieces;
        for (const std::string& article : c.articles) {
            PlacedPiece p;
            p.article = article;
            pieces.push_back(p);
        }
        palette->SelectSystemForLayout(pieces);
        EXPECT_EQ(palette->SystemChoice()->GetSelection(), c.index);
        EXPECT_EQ(palette->SceneryPageShown(), c.sceneryPage);
        const TrackSystem expected = c.index == 0   ? TrackSystem::MarklinC
                                     : c.index == 2 ? TrackSystem::TrixC
                                                    : TrackSystem::MarklinZ;
        const PieceDef* first = TrackCatalog::Instance().Find(palette->TrackKeys().at(1));
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->system, expected);
    }
}

TEST_F(PaletteGuiTest, OpeningALayoutFileSwitchesTheSystem) {
    struct Case {
        const char* name;
        std::vector<std::string> articles;
        int index;
    };
    const Case cases[] = {
        {"trixz", {"8500", "62188"}, 2}, {"zonly", {"8500"}, 3}, {"mixed", {"2200", "24188"}, 0}};
    for (const Case& c : cases) {
        LayoutDocument doc;
        doc.EnsureDefaultLevel();
        for (const std::string& article : c.articles) {
            PlacedPiece p = Straight(0, 0, 0);
            p.article = article;
            doc.AddPiece(p);
        }
        ASSERT_EQ(SaveLayout(doc, program.File(std::string(c.name) + ".xml"), c.name), "");
    }
    for (const Case& c : cases) {
        ModalAnswerer answerer([&](wxDialog* dialog) -> int {
            if (auto* open = dynamic_cast<OpenLayoutDialog*>(dialog))
                return open->SelectName(c.name) ? wxID_OK : wxID_CANCEL;
            return wxID_NO;
        });
        wxCommandEvent event(wxEVT_MENU, wxID_OPEN);
        event.SetEventObject(frame);
        frame->GetEventHandler()->ProcessEvent(event);
        ASSERT_EQ(Doc().pieces.size(), c.articles.size()) << c.name;
        EXPECT_EQ(palette->SystemChoice()->GetSelection(), c.index) << c.name;
        EXPECT_EQ(palette->SceneryPageShown(), c.index != 3) << c.name;
    }
}

// ---- Double-click placement ----

TEST_F(PaletteGuiTest, HeaderRowPlacesNothing) {
    DoubleClick(palette->TrackList(), 0);
    EXPECT_TRUE(Doc().pieces.empty());
    EXPECT_FALSE(frame->Canvas()->EditState().PaletteDrag());
    EXPECT_FALSE(palette->DragSuppressed());
    EXPECT_FALSE(frame->IsModified());
}

TEST_F(PaletteGuiTest, HelixRowPlacesAHelixAtFiveHundred) {
    const int row = RowOfKey(palette->TrackKeys(), "@helix:proses_3_5_r1r2");
    ASSERT_GT(row, 0);
    DoubleClick(palette->TrackList(), row);
    ASSERT_EQ(Doc().helices.size(), 1u);
    EXPECT_EQ(Doc().helices[0].variant, "proses_3_5_r1r2");
    EXPECT_DOUBLE_EQ(Doc().helices[0].x, 500);
    EXPECT_DOUBLE_EQ(Doc().helices[0].y, 500);
    EXPECT_DOUBLE_EQ(Doc().helices[0].heading, 0);
    EXPECT_EQ(Doc().pieces.size(), 4u);  // its four end pieces
    EXPECT_TRUE(frame->IsModified());
    EXPECT_TRUE(palette->DragSuppressed());
    // The helix header above the variants is a header like any other.
    DoubleClick(palette->TrackList(), row - 2);
    EXPECT_EQ(Doc().helices.size(), 1u);
}

TEST_F(PaletteGuiTest, DoubleClicksBuildAChainForward) {
    PlacedPiece first = Straight(0, 0, 0);
    first.selected = true;
    Doc().AddPiece(first);
    const size_t undoBefore = Doc().undoStack.size();
    const int row = RowOfKey(palette->TrackKeys(), "24188");
    for (int i = 0; i < 3; ++i) DoubleClick(palette->TrackList(), row);

    ASSERT_EQ(Doc().pieces.size(), 4u);
    EXPECT_EQ(Doc().undoStack.size(), undoBefore + 3);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(Doc().pieces[i].x, 188.3 * i, 1e-6) << i;
        EXPECT_NEAR(Doc().pieces[i].y, 0, 1e-6);
        EXPECT_EQ(Doc().pieces[i].selected, i == 3);
    }
    for (size_t i = 0; i + 1 < 4; ++i) {
        EXPECT_EQ(Doc().pieces[i].joints.at(1), (Joint{Doc().pieces[i + 1].id, 0}));
        EXPECT_EQ(Doc().pieces[i + 1].joints.at(0), (Joint{Doc().pieces[i].id, 1}));
    }
    EXPECT_TRUE(frame->IsModified());
}

TEST_F(PaletteGuiTest, DoubleClickWithNothingSelectedStartsADrag) {
    DoubleClick(palette->TrackList(), RowOfKey(palette->TrackKeys(), "24064"));
    EXPECT_TRUE(Doc().pieces.empty());
    EXPECT_TRUE(frame->Canvas()->EditState().pieceDrag);
    EXPECT_EQ(frame->Canvas()->EditState().dragArticle, "24064");
    frame->Canvas()->CancelPieceDrag();
}

// ---- Dragging out of the lists ----

TEST_F(PaletteGuiTest, DraggingARowHandsItToTheCanvas) {
    wxListBox* list = palette->TrackList();
    list->SetSelection(RowOfKey(palette->TrackKeys(), "24130"));
    Mouse(list, wxEVT_LEFT_DOWN, wxPoint(20, 20), true);
    Mouse(list, wxEVT_MOTION, wxPoint(25, 22), true);
    EXPECT_TRUE(frame->Canvas()->EditState().pieceDrag);
    EXPECT_EQ(frame->Canvas()->EditState().dragArticle, "24130");
    frame->Canvas()->CancelPieceDrag();

    // A helix row starts a helix drag.
    list->SetSelection(RowOfKey(palette->TrackKeys(), "@helix:proses_2_5_r2r3"));
    Mouse(list, wxEVT_LEFT_DOWN, wxPoint(20, 20), true);
    Mouse(list, wxEVT_MOTION, wxPoint(25, 22), true);
    EXPECT_TRUE(frame->Canvas()->EditState().helixDrag);
    EXPECT_EQ(frame->Canvas()->EditState().dragHelix, "proses_2_5_r2r3");
    frame->Canvas()->CancelPieceDrag();
}

TEST_F(PaletteGuiTest, MotionWithoutTheButtonOrOnAHeaderStartsNoDrag) {
    wxListBox* list = palette->TrackList();
    list->SetSelection(RowOfKey(palette->TrackKeys(), "24130"));
    Mouse(list, wxEVT_MOTION, wxPoint(25, 22), false);
    EXPECT_FALSE(frame->Canvas()->EditState().PaletteDrag());
    list->SetSelection(0);
    Mouse(list, wxEVT_LEFT_DOWN, wxPoint(20, 20), true);
    Mouse(list, wxEVT_MOTION, wxPoint(25, 22), true);
    EXPECT_FALSE(frame->Canvas()->EditState().PaletteDrag());
}

TEST_F(PaletteGuiTest, DoubleClickFollowedByMotionWithTheButtonHeldStartsNoDrag) {
    PlacedPiece first = Straight(0, 0, 0);
    first.selected = true;
    Doc().AddPiece(first);
    wxListBox* list = palette->TrackList();
    DoubleClick(list, RowOfKey(palette->TrackKeys(), "24188"));
    ASSERT_EQ(Doc().pieces.size(), 2u);
    Mouse(list, wxEVT_MOTION, wxPoint(25, 22), true);
    EXPECT_FALSE(frame->Canvas()->EditState().PaletteDrag());
    // The next press clears the suppression.
    Mouse(list, wxEVT_LEFT_DOWN, wxPoint(20, 20), true);
    EXPECT_FALSE(palette->DragSuppressed());
    Mouse(list, wxEVT_MOTION, wxPoint(25, 22), true);
    EXPECT_TRUE(frame->Canvas()->EditState().pieceDrag);
    frame->Canvas()->CancelPieceDrag();
}

TEST_F(PaletteGuiTest, SceneryAndSignalsDragTheListOfTheCurrentPage) {
    palette->SceneryList()->SetSelection(RowOfKey(palette->SceneryKeys(), "tree_conifer"));
    palette->SignalsList()->SetSelection(RowOfKey(palette->SignalKeys(), "signal_color_stop"));
    palette->Notebook()->SetSelection(3);  // Signals
    Mouse(palette->SignalsList(), wxEVT_LEFT_DOWN, wxPoint(20, 20), true);
    Mouse(palette->SignalsList(), wxEVT_MOTION, wxPoint(25, 22), true);
    EXPECT_TRUE(frame->Canvas()->EditState().sceneryDrag);
    EXPECT_EQ(frame->Canvas()->EditState().dragScenery, "signal_color_stop");
    frame->Canvas()->CancelPieceDrag();

    palette->Notebook()->SetSelection(2);  // Scenery
    DoubleClick(palette->SceneryList(), RowOfKey(palette->SceneryKeys(), "tree_conifer"));
    EXPECT_TRUE(frame->Canvas()->EditState().sceneryDrag);
    EXPECT_EQ(frame->Canvas()->EditState().dragScenery, "tree_conifer");
    frame->Canvas()->CancelPieceDrag();

    DoubleClick(palette->SceneryList(), 0);  // header
    EXPECT_FALSE(frame->Canvas()->EditState().PaletteDrag());
}

// ---- Library blocks ----

TEST_F(PaletteGuiTest, LibraryBlockLandsAtTheOriginWithFreshIds) {
    // The layout holds three pieces; the block reuses two of their ids.
    for (int i = 0; i < 3; ++i) Doc().AddPiece(Straight(0, 2000 + 200.0 * i, 2000));
    ASSERT_EQ(Doc().nextId, 4u);
    LayoutDocument source;
    source.pieces = {Straight(2, 1200, 800, {Joint{40, 1}, Joint{3, 0}}),
                     Straight(3, 1500, 300, {Joint{2, 1}, Joint{}}),
                     Straight(9, 1350, 550, {Joint{}, Joint{41, 0}})};
    for (PlacedPiece& p : source.pieces) p.selected = true;
    fs::create_directories(BlockFolder());
    ASSERT_EQ(SaveBlock(source, BlockFolder() + "/Yard.xml", "Yard"), "");
    palette->RefreshLibrary();
    ASSERT_EQ(palette->LibraryList()->GetCount(), 1u);
    EXPECT_EQ(palette->LibraryList()->GetString(0), "Yard");

    const size_t undoBefore = Doc().undoStack.size();
    DoubleClick(palette->LibraryList(), 0);
    ASSERT_EQ(Doc().pieces.size(), 6u);
    EXPECT_EQ(Doc().undoStack.size(), undoBefore + 1);
    double minX = 1e18, maxX = -1e18, minY = 1e18, maxY = -1e18;
    for (size_t i = 3; i < 6; ++i) {
        const PlacedPiece& p = Doc().pieces[i];
        EXPECT_EQ(p.id, 4u + (i - 3));
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    EXPECT_DOUBLE_EQ(minX, 0);
    EXPECT_DOUBLE_EQ(maxX, 300);
    EXPECT_DOUBLE_EQ(minY, 0);
    EXPECT_DOUBLE_EQ(maxY, 500);
    EXPECT_EQ(Doc().pieces[3].joints.at(0), Joint{});  // was joined to 40, outside the block
    EXPECT_EQ(Doc().pieces[3].joints.at(1), (Joint{5, 0}));
    EXPECT_EQ(Doc().pieces[4].joints.at(0), (Joint{4, 1}));
    EXPECT_EQ(Doc().pieces[5].joints.at(1), Joint{});
    EXPECT_TRUE(frame->IsModified());
    // The pieces already there keep their places.
    EXPECT_DOUBLE_EQ(Doc().pieces[1].x, 2200);
}

TEST_F(PaletteGuiTest, UnreadableBlockIsReportedAndChangesNothing) {
    fs::create_directories(BlockFolder());
    std::ofstream(BlockFolder() + "/Gone.xml") << "<block name=\"Gone\" version=\"1\">\n</block>\n";
    palette->RefreshLibrary();
    ASSERT_EQ(palette->LibraryList()->GetCount(), 1u);
    fs::remove(BlockFolder() + "/Gone.xml");
    ModalAnswerer answerer(wxID_OK);
    DoubleClick(palette->LibraryList(), 0);
    ASSERT_EQ(answerer.Count(), 1);
    EXPECT_EQ(answerer.Dialogs()[0].title, "Load Block Failed");
    EXPECT_EQ(answerer.Dialogs()[0].message,
              wxString::FromUTF8("Cannot open file: " + BlockFolder() + "/Gone.xml"));
    EXPECT_TRUE(Doc().pieces.empty());
    EXPECT_TRUE(Doc().undoStack.empty());
    EXPECT_FALSE(frame->IsModified());
}

TEST_F(PaletteGuiTest, LibraryListFollowsTheChosenSystem) {
    fs::create_directories(BlockFolder());
    fs::create_directories(BlockFolder("TRIX_C-Track"));
    std::ofstream(BlockFolder() + "/C loop.xml") << "x";
    std::ofstream(BlockFolder("TRIX_C-Track") + "/Trix yard.xml") << "x";
    palette->RefreshLibrary();
    ASSERT_EQ(palette->LibraryList()->GetCount(), 1u);
    EXPECT_EQ(palette->LibraryList()->GetString(0), "C loop");
    ChooseSystem(2);
    ASSERT_EQ(palette->LibraryList()->GetCount(), 1u);
    EXPECT_EQ(palette->LibraryList()->GetString(0), "Trix yard");
    EXPECT_EQ(palette->LibraryPaths().at(0), BlockFolder("TRIX_C-Track") + "/Trix yard.xml");
    ChooseSystem(1);
    EXPECT_EQ(palette->LibraryList()->GetCount(), 0u);
}

// ---- Save as Library Block ----

class SaveBlockTest : public PaletteGuiTest {
protected:
    // Runs the menu command, typing `name` into the name dialog and answering message boxes
    // with `answer`.
    ModalAnswerer::Seen RunCommand(const wxString& name, int answer = wxID_OK,
                                   std::vector<ModalAnswerer::Seen>* all = nullptr) {
        ModalAnswerer answerer([&](wxDialog* dialog) -> int {
            if (auto* entry = dynamic_cast<wxTextEntryDialog*>(dialog)) {
                if (name.empty() && answer == wxID_CANCEL) return wxID_CANCEL;
                entry->SetValue(name);
                return wxID_OK;
            }
            return answer;
        });
        wxCommandEvent event(wxEVT_MENU, kCmdSaveBlock);
        event.SetEventObject(frame);
        frame->GetEventHandler()->ProcessEvent(event);
        if (all) *all = answerer.Dialogs();
        return answerer.Count() ? answerer.Dialogs().back() : ModalAnswerer::Seen{};
    }

    void SelectTwoPieces() {
        Doc().AddPiece(Straight(0, 10, 20));
        Doc().AddPiece(Straight(0, 300, 20));
        Doc().pieces[0].selected = true;
        Doc().pieces[1].selected = true;
    }
};

TEST_F(SaveBlockTest, CommandIsEnabledInTheFileMenu) {
    frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    wxMenuItem* item = frame->GetMenuBar()->FindItem(kCmdSaveBlock);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetItemLabel(), "Save as &Library Block...");
    EXPECT_TRUE(item->IsEnabled());
}

TEST_F(SaveBlockTest, NothingSelectedIsRefusedWithoutWriting) {
    Doc().AddPiece(Straight(0, 0, 0));
    std::vector<ModalAnswerer::Seen> seen;
    RunCommand("Yard", wxID_OK, &seen);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, "Save Block");
    EXPECT_EQ(seen[0].message, "Select pieces first to save as library block.");
    EXPECT_FALSE(fs::exists(program.Path() + "/library"));
}

TEST_F(SaveBlockTest, SavesIntoANewFolderAndListsTheBlock) {
    SelectTwoPieces();
    std::vector<ModalAnswerer::Seen> seen;
    RunCommand("Yard & \"Shed\"", wxID_OK, &seen);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "Save Library Block");
    EXPECT_EQ(seen[1].title, "Save Block");
    EXPECT_EQ(seen[1].message, "Block saved: Yard & \"Shed\"");
    const std::string path = BlockFolder() + "/Yard & \"Shed\".xml";
    ASSERT_TRUE(fs::is_regular_file(path));
    std::string name;
    std::vector<PlacedPiece> pieces;
    std::vector<SceneryItem> items;
    ASSERT_EQ(LoadBlock(path, &name, &pieces, &items), "");
    EXPECT_EQ(name, "Yard & \"Shed\"");
    EXPECT_EQ(pieces.size(), 2u);
    ASSERT_EQ(palette->LibraryList()->GetCount(), 1u);
    EXPECT_EQ(palette->LibraryList()->GetString(0), "Yard & \"Shed\"");
    // Saving a block is not an edit of the layout.
    EXPECT_FALSE(frame->IsModified());
}

TEST_F(SaveBlockTest, GoesToTheFolderOfTheChosenSystem) {
    SelectTwoPieces();
    ChooseSystem(3);
    RunCommand("Z yard");
    EXPECT_TRUE(fs::is_regular_file(BlockFolder("Marklin_Z-Track") + "/Z yard.xml"));
    EXPECT_FALSE(fs::exists(BlockFolder()));
}

TEST_F(SaveBlockTest, CancelOrEmptyNameWritesNothing) {
    SelectTwoPieces();
    std::vector<ModalAnswerer::Seen> seen;
    RunCommand("", wxID_CANCEL, &seen);
    EXPECT_EQ(seen.size(), 1u);
    RunCommand("", wxID_OK, &seen);  // OK with an empty name
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_FALSE(fs::exists(program.Path() + "/library"));
}

TEST_F(SaveBlockTest, ExistingBlockIsReplacedOnlyAfterYes) {
    SelectTwoPieces();
    RunCommand("Yard");
    const std::string path = BlockFolder() + "/Yard.xml";
    const std::string firstBytes = ReadFileBytes(path);
    Doc().pieces[1].selected = false;  // the second save holds one piece

    std::vector<ModalAnswerer::Seen> seen;
    RunCommand("Yard", wxID_NO, &seen);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].title, "Save Block");
    EXPECT_EQ(seen[1].message, "A library block named \"Yard\" already exists. Replace it?");
    EXPECT_EQ(ReadFileBytes(path), firstBytes);

    RunCommand("Yard", wxID_YES, &seen);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2].message, "Block saved: Yard");
    std::vector<PlacedPiece> pieces;
    std::vector<SceneryItem> items;
    ASSERT_EQ(LoadBlock(path, nullptr, &pieces, &items), "");
    EXPECT_EQ(pieces.size(), 1u);
    EXPECT_EQ(palette->LibraryList()->GetCount(), 1u);
}

TEST_F(SaveBlockTest, NameThatWouldLeaveTheFolderIsRefused) {
    SelectTwoPieces();
    for (const char* bad : {"../outside", "a/b", ".hidden"}) {
        std::vector<ModalAnswerer::Seen> seen;
        RunCommand(bad, wxID_OK, &seen);
        ASSERT_EQ(seen.size(), 2u) << bad;
        EXPECT_EQ(seen[1].title, "Save Block Failed") << bad;
        EXPECT_FALSE(seen[1].message.empty());
    }
    EXPECT_FALSE(fs::exists(program.Path() + "/library"));
    EXPECT_FALSE(fs::exists(program.Path() + "/outside.xml"));
}

TEST_F(SaveBlockTest, FolderThatCannotBeMadeIsReportedAsASaveFailure) {
    SelectTwoPieces();
    std::ofstream(program.Path() + "/library") << "a file where the folder should be";
    std::vector<ModalAnswerer::Seen> seen;
    RunCommand("Yard", wxID_OK, &seen);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].title, "Save Block Failed");
    EXPECT_EQ(seen[1].message,
              wxString::FromUTF8("Cannot open file: " + BlockFolder() + "/Yard.xml"));
    EXPECT_EQ(palette->LibraryList()->GetCount(), 0u);
}

// ---- Hover preview ----

TEST_F(PaletteGuiTest, HoverShowsThePieceAndIgnoresTheSameRow) {
    wxListBox* list = palette->TrackList();
    PiecePreviewPopup* preview = palette->Preview();
    const int row = RowOfKey(palette->TrackKeys(), "24071");
    const wxPoint at = PointOfRow(row);
    Mouse(list, wxEVT_MOTION, at, false);
    ASSERT_NE(preview->Piece(), nullptr);
    EXPECT_EQ(preview->Piece()->article, "24071");
    EXPECT_TRUE(preview->IsShown());
    EXPECT_EQ(palette->HoveredRow(), row);
    const wxPoint screen = list->ClientToScreen(at);
    EXPECT_EQ(preview->GetPosition(), wxPoint(screen.x + 8, screen.y - 27));
    EXPECT_EQ(preview->GetSize(), wxSize(80, 55));

    // The same row again leaves the popup where it is.
    preview->Move(5, 5);
    Mouse(list, wxEVT_MOTION, at + wxPoint(7, 0), false);
    EXPECT_EQ(preview->GetPosition(), wxPoint(5, 5));

    // A header row hides it.
    Mouse(list, wxEVT_MOTION, PointOfRow(0), false);
    EXPECT_EQ(preview->Piece(), nullptr);
    EXPECT_FALSE(preview->IsShown());
    EXPECT_EQ(palette->HoveredRow(), -1);

    // Leaving the list hides it too.
    Mouse(list, wxEVT_MOTION, PointOfRow(1), false);
    EXPECT_TRUE(preview->IsShown());
    Mouse(list, wxEVT_LEAVE_WINDOW, wxPoint(-3, -3), false);
    EXPECT_FALSE(preview->IsShown());
}

TEST_F(PaletteGuiTest, HelixRowsShowNoPreview) {
    const int row = RowOfKey(palette->TrackKeys(), "@helix:proses_2_5_r1r2");
    const wxPoint at = PointOfRow(row);
    Mouse(palette->TrackList(), wxEVT_MOTION, at, false);
    EXPECT_EQ(palette->Preview()->Piece(), nullptr);
    EXPECT_FALSE(palette->Preview()->IsShown());
}

wxColour Pixel(const wxImage& image, int x, int y) {
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

TEST_F(PaletteGuiTest, PreviewPaintsFrameArticleAndPiece) {
    PiecePreviewPopup* preview = palette->Preview();
    wxBitmap bitmap(80, 55, 24);
    {
        wxMemoryDC dc(bitmap);
        preview->PaintTo(dc);
    }
    const wxColour paper(255, 255, 240);
    wxImage image = bitmap.ConvertToImage();
    EXPECT_EQ(Pixel(image, 0, 0), paper);  // no piece: nothing but the background
    EXPECT_EQ(Pixel(image, 40, 30), paper);

    preview->ShowFor(TrackCatalog::Instance().Find("24188"), wxPoint(300, 300));
    {
        wxMemoryDC dc(bitmap);
        preview->PaintTo(dc);
    }
    image = bitmap.ConvertToImage();
    const wxColour frameGrey(180, 180, 180);
    // The frame's four edges (corners are blended where the lines join).
    EXPECT_EQ(Pixel(image, 0, 27), frameGrey);
    EXPECT_EQ(Pixel(image, 79, 27), frameGrey);
    EXPECT_EQ(Pixel(image, 40, 0), frameGrey);
    EXPECT_EQ(Pixel(image, 40, 54), frameGrey);
    EXPECT_EQ(Pixel(image, 3, 50), paper);
    // The article number in dark ink near the top middle.
    int ink = 0;
    for (int y = 2; y < 14; ++y)
        for (int x = 20; x < 60; ++x)
            if (image.GetRed(x, y) < 120) ++ink;
    EXPECT_GT(ink, 10);
    // 188.3 mm at 0.289 px/mm runs from x = 12.8 to 67.2 around y = 30: track at the middle,
    // paper beyond both ends.
    EXPECT_NE(Pixel(image, 40, 30), paper);
    EXPECT_NE(Pixel(image, 20, 30), paper);
    EXPECT_EQ(Pixel(image, 8, 30), paper);
    EXPECT_EQ(Pixel(image, 73, 30), paper);
    preview->HidePreview();
    EXPECT_FALSE(preview->IsShown());
}

}  // namespace
