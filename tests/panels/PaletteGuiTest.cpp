// The palette in the real main window: system switching and the Scenery page, the system for an
// opened layout, placing by double-click, library blocks and the Save as Library Block command.
#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/textdlg.h>

#include <algorithm>
#include <filesystem>

#include "app/CommandIds.h"
#include "panels/gui/PalettePanel.h"
#include "persistence/LibraryBlock.h"
#include "support/FrameFixture.h"

namespace {

namespace fs = std::filesystem;

PlacedPiece Straight(uint32_t id, double x, double y, std::vector<Joint> joints = {{}, {}}) {
    return PlacedPiece{
        .id = id, .article = "24188", .x = x, .y = y, .colour = {}, .joints = std::move(joints)};
}

class PaletteGuiTest : public FrameTest {
protected:
    void SetUp() override {
        OpenFrame();
        frame->Show();
        frame->SetProgramFolder(wxString::FromUTF8(program.Path()));
        palette = frame->Palette();
        palette->RefreshLibrary();
        PumpEvents(30);
    }
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
    int TrackRow(const std::string& key) const {
        const std::vector<std::string>& keys = palette->TrackKeys();
        return static_cast<int>(std::find(keys.begin(), keys.end(), key) - keys.begin());
    }
    void DoubleClick(wxListBox* list, int row) {
        list->SetSelection(row);
        wxCommandEvent event(wxEVT_LISTBOX_DCLICK, list->GetId());
        event.SetEventObject(list);
        event.SetInt(row);
        list->GetEventHandler()->ProcessEvent(event);
    }
    // Runs a menu command, answering every dialog with `answer` (entry dialogs get `name`).
    std::vector<ModalAnswerer::Seen> Run(int command, const wxString& name, int answer = wxID_OK) {
        ModalAnswerer answerer([&](wxDialog* dialog) -> int {
            if (auto* entry = dynamic_cast<wxTextEntryDialog*>(dialog)) entry->SetValue(name);
            return dynamic_cast<wxTextEntryDialog*>(dialog) ? wxID_OK : answer;
        });
        wxCommandEvent event(wxEVT_MENU, command);
        event.SetEventObject(frame);
        frame->GetEventHandler()->ProcessEvent(event);
        return answerer.Dialogs();
    }
    // The Scenery page, put back as the last page after Z-Track, is shown and opened by the
    // toolkit.
    void ExpectSceneryPageOpens() {
        wxNotebook* book = palette->Notebook();
        PumpUntil([&] { return book->GetPageCount() == 4u; });
        ASSERT_EQ(book->GetPageCount(), 4u);
        ASSERT_EQ(book->GetPage(3), palette->SceneryList());
        book->SetSelection(3);
        PumpUntil([&] { return book->GetSelection() == 3; });
        EXPECT_EQ(book->GetSelection(), 3) << "the toolkit shows and opens the page";
        book->SetSelection(0);
    }
    std::string BlockFolder(const char* system = "Marklin_C-Track") const {
        return program.Path() + "/library/" + system;
    }

    TempDir program;
    PalettePanel* palette = nullptr;
};

TEST_F(PaletteGuiTest, ZTrackChosenOrOpenedMovesToTrackAndDetachesScenery) {
    ASSERT_EQ(PageTexts(), (std::vector<wxString>{"Track", "Library", "Scenery", "Signals"}));
    EXPECT_EQ(palette->SceneryList()->GetCount(), 15u);
    palette->Notebook()->SetSelection(2);
    ChooseSystem(3);
    EXPECT_EQ(PageTexts(), (std::vector<wxString>{"Track", "Library", "Signals"}));
    EXPECT_EQ(palette->Notebook()->GetSelection(), 0);
    EXPECT_EQ(palette->TrackKeys().at(1), "8500");
    ChooseSystem(3);  // choosing Z again changes nothing
    EXPECT_EQ(palette->Notebook()->GetPageCount(), 3u);

    ChooseSystem(1);
    EXPECT_EQ(PageTexts(), (std::vector<wxString>{"Track", "Library", "Signals", "Scenery"}));
    EXPECT_EQ(palette->TrackKeys().at(1), "2200");
    ExpectSceneryPageOpens();

    SCOPED_TRACE("an opened layout chooses its system, and the page goes and comes with Z");
    const auto open = [&](std::vector<const char*> articles) {
        std::vector<PlacedPiece> pieces(articles.size());
        for (size_t i = 0; i < articles.size(); ++i) pieces[i].article = articles[i];
        palette->SelectSystemForLayout(pieces);
        return palette->SystemChoice()->GetSelection();
    };
    EXPECT_EQ(open({"8500", "8510"}), 3);
    EXPECT_FALSE(palette->SceneryPageShown());
    EXPECT_EQ(open({"2200", "24188"}), 0);
    EXPECT_TRUE(palette->SceneryPageShown());
}

TEST_F(PaletteGuiTest, HeaderRowsPlaceNothingAndHelixRowsPlaceAHelix) {
    DoubleClick(palette->TrackList(), 0);
    const int row = TrackRow("@helix:proses_3_5_r1r2");
    DoubleClick(palette->TrackList(), row - 2);  // the helix header above the variants
    EXPECT_TRUE(Doc().pieces.empty());
    EXPECT_FALSE(frame->Canvas()->Gestures().PaletteDrag());

    DoubleClick(palette->TrackList(), row);
    ASSERT_EQ(Doc().helices.size(), 1u);
    EXPECT_EQ(Doc().helices[0].variant, "proses_3_5_r1r2");
    EXPECT_EQ(Doc().pieces.size(), 4u);  // its four end pieces
}

TEST_F(PaletteGuiTest, DoubleClicksBuildAChainForward) {
    PlacedPiece first = Straight(0, 0, 0);
    first.selected = true;
    Doc().AddPiece(first);
    const size_t undoBefore = Doc().undoStack.size();
    for (int i = 0; i < 3; ++i) DoubleClick(palette->TrackList(), TrackRow("24188"));
    ASSERT_EQ(Doc().pieces.size(), 4u);
    EXPECT_EQ(Doc().undoStack.size(), undoBefore + 3);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(Doc().pieces[i].x, 188.3 * i, 1e-6) << i;
        EXPECT_EQ(Doc().pieces[i].selected, i == 3);
    }
    EXPECT_EQ(Doc().pieces[2].joints.at(1), (Joint{Doc().pieces[3].id, 0}));
}

TEST_F(PaletteGuiTest, LibraryBlockLandsAtTheOriginWithFreshIds) {
    // The layout holds three pieces; the block reuses two of their ids.
    for (int i = 0; i < 3; ++i) Doc().AddPiece(Straight(0, 2000 + 200.0 * i, 2000));
    LayoutDocument source;
    source.pieces = std::vector<PlacedPiece>{Straight(2, 1200, 800, {Joint{40, 1}, Joint{3, 0}}),
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
    EXPECT_EQ(Doc().pieces[3].id, 4u);
    EXPECT_DOUBLE_EQ(Doc().pieces[3].x, 0);
}

TEST_F(PaletteGuiTest, SavingABlockAsksBeforeReplacingAndRefusesUnsafeNames) {
    Doc().AddPiece(Straight(0, 10, 20));
    Doc().AddPiece(Straight(0, 300, 20));
    Doc().pieces[0].selected = Doc().pieces[1].selected = true;
    std::vector<ModalAnswerer::Seen> seen;
    for (const char* bad : {"../outside", ".hidden"}) {
        seen = Run(kCmdSaveBlock, bad);
        ASSERT_EQ(seen.size(), 2u) << bad;
        EXPECT_EQ(seen[1].title, "Save Block Failed") << bad;
    }
    EXPECT_FALSE(fs::exists(program.Path() + "/outside.xml"));

    seen = Run(kCmdSaveBlock, "Yard");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].message, "Block saved: Yard");
    EXPECT_FALSE(frame->IsModified()) << "saving a block is not an edit of the layout";
    const std::string path = BlockFolder() + "/Yard.xml";
    const std::string firstBytes = ReadFileBytes(path);
    Doc().pieces[1].selected = false;  // the second save holds one piece

    seen = Run(kCmdSaveBlock, "Yard", wxID_NO);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].title, "Save Block");
    EXPECT_EQ(seen[1].message, "A library block named \"Yard\" already exists. Replace it?");
    EXPECT_EQ(ReadFileBytes(path), firstBytes);

    seen = Run(kCmdSaveBlock, "Yard", wxID_YES);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2].message, "Block saved: Yard");
    std::vector<PlacedPiece> pieces;
    std::vector<SceneryItem> items;
    ASSERT_EQ(LoadBlock(path, nullptr, &pieces, &items), "");
    EXPECT_EQ(pieces.size(), 1u);
    EXPECT_EQ(palette->LibraryList()->GetCount(), 1u);
}

}  // namespace
