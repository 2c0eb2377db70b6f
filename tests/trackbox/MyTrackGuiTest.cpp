// My Track in the real main window: counts entered in the dialog, the tally's stock columns and
// the cart of only the missing pieces; import (add or replace), export, Clear, Undo, a refused box
// file and the grid's own editor.
#include <glib.h>
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/grid.h>
#include <wx/listctrl.h>
#include <wx/notebook.h>
#include <wx/spinctrl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "catalog/TrackCatalog.h"
#include "panels/PaletteTables.h"
#include "panels/PieceTally.h"
#include "panels/StoreTable.h"
#include "panels/gui/PropertiesPanel.h"
#include "support/FrameFixture.h"
#include "support/Screenshot.h"
#include "trackbox/gui/MyTrackDialog.h"

namespace {

using Counts = std::vector<std::pair<const char*, int>>;

class MyTrackTest : public testing::Test, public FrameFixture {
protected:
    void SetUp() override {
        OpenFrame(wxSize(1200, 760));
        panel = frame->Properties();
        panel->SetBrowserOpener([this](const wxString& url) {
            opened.push_back(url);
            return true;
        });
    }
    void TearDown() override { CloseFrame(); }

    void Place(const Counts& counts) {
        for (const auto& [article, n] : counts)
            for (int i = 0; i < n; ++i) LayPiece(Doc(), 0, 0, 1, article);
        frame->NotifyChanged(DocChange::Pieces);
        frame->FlushChanges();
    }
    void Press(const wxString& name, wxWindow* parent = nullptr) {
        auto* button = dynamic_cast<wxButton*>((parent ? parent : panel)->FindWindow(name));
        ASSERT_NE(button, nullptr) << name;
        wxCommandEvent event(wxEVT_BUTTON, button->GetId());
        event.SetEventObject(button);
        button->GetEventHandler()->ProcessEvent(event);
        frame->FlushChanges();
    }
    // Types counts into the dialog's pages as the owner would, on whichever page lists each.
    static void Enter(MyTrackDialog& dialog, const Counts& counts) {
        for (const auto& [article, n] : counts) {
            bool found = false;
            for (size_t page = 0; page < dialog.PageCount() && !found; ++page) {
                const auto& articles = dialog.PageArticles(page);
                const auto it = std::find(articles.begin(), articles.end(), article);
                if (it == articles.end()) continue;
                dialog.PageGrid(page)->SetCellValue(static_cast<int>(it - articles.begin()), 1,
                                                    wxString::Format("%d", n));
                found = true;
            }
            EXPECT_TRUE(found) << article << " is listed on a page";
        }
    }
    // The tally list: piece, needed, owned, to buy; and whether the row is drawn grey.
    struct Row {
        wxString piece, needed, owned, toBuy;
        bool grey;
        bool operator==(const Row&) const = default;
    };
    std::vector<Row> TallyRows() {
        auto* list = dynamic_cast<wxListCtrl*>(panel->FindWindow("pieceCount"));
        std::vector<Row> rows;
        const wxColour grey(kFullyOwnedColour.r, kFullyOwnedColour.g, kFullyOwnedColour.b);
        for (long i = 0; i < list->GetItemCount(); ++i)
            rows.push_back({list->GetItemText(i, 0), list->GetItemText(i, 1),
                            list->GetItemText(i, 2), list->GetItemText(i, 3),
                            list->GetItemTextColour(i) == grey});
        return rows;
    }
    static wxString Name(const char* article) {
        return wxString::FromUTF8(TrackCatalog::Instance().Find(article)->name);
    }
    // Runs the My Track dialog from its button or the menu, `act` deciding how it closes.
    void RunDialog(const std::function<int(MyTrackDialog&)>& act, bool fromMenu = false) {
        int runs = 0;
        ModalAnswerer answers([&](wxDialog* dialog) {
            auto* myTrack = dynamic_cast<MyTrackDialog*>(dialog);
            return myTrack && ++runs ? act(*myTrack) : wxID_OK;
        });
        fromMenu ? Command(kCmdMyTrack) : Press("myTrack");
        EXPECT_EQ(runs, 1);
    }
    std::string BoxFile() const { return home.File(".quillmore/my-track.csv"); }

    PropertiesPanel* panel = nullptr;
    std::vector<wxString> opened;
};

TEST_F(MyTrackTest, CountsFillTheTallyTheCartHoldsWhatIsMissingAndClearAndCancelWork) {
    Place({{"24188", 5}, {"24630", 2}, {"74636", 1}});  // the bridge carries a 24360
    RunDialog(
        [](MyTrackDialog& d) {  // from the menu
            Enter(d, {{"24188", 3}, {"24630", 2}, {"24360", 1}, {"74636", 1}, {"2200", 6}});
            return wxID_OK;
        },
        true);
    // The stock columns as the tally works them out; an article owned in full is drawn grey.
    const std::vector<Row> rows = TallyRows();
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[0], (Row{Name("24188"), "5", "3", "2", false}));
    SaveShot(frame, "tally.png");
    {
        SCOPED_TRACE("the cart holds only what is missing");
        ModalAnswerer answers(wxID_OK);
        Press("buyTrack");
        EXPECT_EQ(answers.Count(), 0);
        const std::string variant = *StoreTable::BuiltIn().FindVariantId("24188");
        EXPECT_EQ(opened, (std::vector<wxString>{wxString::FromUTF8(
                              StoreTable::BuiltIn().CartAddress() + variant + ":2")}));
    }
    // The box was kept beside the logs.
    TrackBox saved;
    ASSERT_EQ(LoadTrackBox(BoxFile(), saved), "");
    EXPECT_EQ(saved.Owned("2200"), 6);

    RunDialog([](MyTrackDialog& d) {
        Enter(d, {{"24188", 5}});
        return wxID_OK;
    });
    {
        SCOPED_TRACE("a full box needs no cart");
        ModalAnswerer answers(wxID_OK);
        Press("buyTrack");
        EXPECT_EQ(opened.size(), 1u);
        ASSERT_EQ(answers.Count(), 1);
        EXPECT_EQ(answers.Dialogs()[0].title, "Buy Track");
        EXPECT_EQ(answers.Dialogs()[0].message, "You already own every piece this layout needs.");
        EXPECT_EQ(TallyRows().front(), (Row{Name("24188"), "5", "5", "0", true}));
    }
    // Typed counts thrown away with Cancel change nothing, on screen or on disk.
    const std::string before = ReadFileBytes(BoxFile());
    RunDialog([](MyTrackDialog& d) {
        Enter(d, {{"24188", 40}});
        return wxID_CANCEL;
    });
    EXPECT_EQ(frame->OwnedTrack().Owned("24188"), 5);
    EXPECT_EQ(ReadFileBytes(BoxFile()), before);

    // Clear empties the box and the tally owns nothing again.
    RunDialog([&](MyTrackDialog& d) {
        Press("clear", &d);
        EXPECT_TRUE(d.Box().Empty());
        return wxID_OK;
    });
    EXPECT_TRUE(frame->OwnedTrack().Empty());
    EXPECT_EQ(ReadFileBytes(BoxFile()), "Article,Count\n");
    EXPECT_EQ(TallyRows().front(), (Row{Name("24188"), "5", "0", "5", false}));
}

// A refused box file is reported and kept until the owner saves. Import asks whether to add or
// replace typed counts, one step that Undo takes back; into an empty box it imports without
// asking, and unknown articles get a page of their own.
TEST_F(MyTrackTest, ARefusedBoxFileImportReplacingWithUndoAndExport) {
    std::filesystem::create_directories(home.File(".quillmore"));
    const std::string bad = "Article,Count\n24188,3\n24130,-1\n";
    std::ofstream(BoxFile(), std::ios::binary) << bad;
    frame->LoadOwnedTrack(wxString::FromUTF8(BoxFile()));
    EXPECT_TRUE(frame->OwnedTrack().Empty());

    const std::string import = home.File("from-spreadsheet.csv");
    std::ofstream(import, std::ios::binary)
        << "\xEF\xBB\xBF\"Article\";\"Count\"\r\n\"24188\";\"4\"\r\n\"99999\";\"2\"\r\n";
    const std::string exported = home.File("exported.csv");
    TrackBox typed, imported;
    typed.Set("24188", 3);
    typed.Set("24630", 2);
    imported.Set("24188", 4);
    imported.Set("99999", 2);
    bool importing = false;
    std::vector<wxString> asked;
    ModalAnswerer answers([&](wxDialog* dialog) -> int {
        if (auto* question = dynamic_cast<wxMessageDialog*>(dialog)) {
            if (!importing) return wxID_OK;  // the refused file's report
            asked.push_back(question->GetMessage() + "|" + question->GetYesLabel() + "|" +
                            question->GetNoLabel() + "|" + question->GetCancelLabel());
            return wxID_NO;  // Replace
        }
        auto* myTrack = dynamic_cast<MyTrackDialog*>(dialog);
        if (!myTrack) return wxID_OK;
        EXPECT_EQ(ReadFileBytes(BoxFile()), bad);
        myTrack->SetPathAsker(
            [&](wxWindow*, bool save) { return wxString::FromUTF8(save ? exported : import); });
        Enter(*myTrack, {{"24188", 3}, {"24630", 2}});
        importing = true;
        Press("import", myTrack);
        EXPECT_EQ(myTrack->Box(), imported) << "Replace";
        Press("undo", myTrack);
        EXPECT_EQ(myTrack->Box(), typed) << "one Undo takes back the whole import";
        EXPECT_FALSE(myTrack->CanUndo());

        Press("clear", myTrack);
        Press("import", myTrack);  // nothing counted: no question
        EXPECT_EQ(myTrack->Box(), imported);
        EXPECT_EQ(myTrack->PageCount(), 7u);
        EXPECT_EQ(myTrack->PageArticles(6), (std::vector<std::string>{"99999"}));
        EXPECT_EQ(myTrack->PageGrid(6)->GetCellValue(0, 1), "2");
        Enter(*myTrack, {{"24130", 12}});
        Press("export", myTrack);
        return wxID_OK;
    });
    Press("myTrack");
    ASSERT_GE(answers.Count(), 2);
    EXPECT_EQ(answers.Dialogs()[0].title, "My Track");
    EXPECT_TRUE(
        answers.Dialogs()[0].message.StartsWith("Line 3: the count -1 of 24130 is negative"))
        << answers.Dialogs()[0].message;
    EXPECT_EQ(asked, std::vector<wxString>(
                         1, "Add to the counts in My Track, or replace them?|Add|Replace|Cancel"));
    EXPECT_EQ(ReadFileBytes(exported), "Article,Count\n24130,12\n24188,4\n99999,2\n");
    EXPECT_EQ(ReadFileBytes(BoxFile()), ReadFileBytes(exported));
    EXPECT_EQ(frame->OwnedTrack().Owned("99999"), 2);
}

TEST_F(MyTrackTest, ATabListsItsPiecesAndATypedCountIsTakenWithoutAStrayEditor) {
    TrackBox box;
    box.Set("24188", 12);
    box.Set("2200", 3);
    box.Set("62188", 5);
    box.Set("8500", 1);
    MyTrackDialog dialog(frame, box);
    dialog.Show();
    PumpEvents(100);
    auto* notebook = dynamic_cast<wxNotebook*>(dialog.PageGrid(0)->GetParent());
    ASSERT_NE(notebook, nullptr);
    ASSERT_EQ(notebook->GetPageCount(), 6u) << "no other articles: one tab per system";
    EXPECT_EQ(notebook->GetPageText(0), wxString::FromUTF8(PaletteSystemName(0)));
    const auto& articles = dialog.PageArticles(0);
    wxGrid* grid = dialog.PageGrid(0);
    ASSERT_EQ(grid->GetNumberRows(), static_cast<int>(articles.size()));
    for (size_t row = 0; row < articles.size(); ++row) {
        EXPECT_EQ(grid->GetCellValue(row, 0), Name(articles[row].c_str()));
        EXPECT_EQ(grid->GetCellValue(row, 1), wxString::Format("%d", box.Owned(articles[row])));
        EXPECT_TRUE(grid->IsReadOnly(row, 0) && !grid->IsReadOnly(row, 1));
    }
    EXPECT_EQ(dialog.Box(), box);
    SaveShot(&dialog, "dialog.png");
    // A count typed but not yet confirmed still counts when the dialog is closed with OK.
    grid->SetGridCursor(0, 1);
    grid->EnableCellEditControl();
    ASSERT_TRUE(grid->IsCellEditControlEnabled());
    wxGridCellEditor* editor = grid->GetCellEditor(0, 1);
    auto* spin = dynamic_cast<wxSpinCtrl*>(editor->GetControl());
    editor->DecRef();
    ASSERT_NE(spin, nullptr);
    spin->SetValue(7);
    EXPECT_EQ(dialog.Box().Owned(dialog.PageArticles(0)[0]), 7);
    // The count is confirmed and the editor goes: the toolkit moves every child of the grid when
    // it scrolls and complains about a hidden one, so none stays behind.
    grid->DisableCellEditControl();
    EXPECT_EQ(grid->GetCellValue(0, 1), "7");
    EXPECT_TRUE(PumpUntil([grid] {
        for (wxWindow* child : grid->GetGridWindow()->GetChildren())
            if (!child->IsShown()) return false;
        return true;
    })) << "a hidden cell editor stays in the grid";
    int complaints = 0;
    const guint handler = g_log_set_handler(
        "Gtk", GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING),
        [](const gchar*, GLogLevelFlags, const gchar*, gpointer count) {
            ++*static_cast<int*>(count);
        },
        &complaints);
    grid->Scroll(0, 3);
    grid->Scroll(0, 0);
    PumpEvents(50);
    g_log_remove_handler("Gtk", handler);
    EXPECT_EQ(complaints, 0);
    dialog.Destroy();
}

}  // namespace
