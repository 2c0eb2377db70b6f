// The layout shape dialog, the level manager and the print commands inside the main window.
#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/printdlg.h>
#include <wx/prntbase.h>
#include <wx/radiobox.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>
#include <wx/textdlg.h>
#include <wx/timer.h>

#include "app/CommandIds.h"
#include "app/gui/MainFrameDialogs.h"
#include "dialogs/LayoutShape.h"
#include "dialogs/gui/LayoutPrintout.h"
#include "dialogs/gui/LayoutShapeDialog.h"
#include "dialogs/gui/LevelManagerDialog.h"
#include "dialogs/gui/PrintOptionsDialog.h"
#include "support/FrameFixture.h"

namespace {

using Outline = std::vector<PointMm>;

bool IsBold(wxListCtrl* list, long row) {
    const wxFont font = list->GetItemFont(row);
    return font.IsOk() && font.GetWeight() == wxFONTWEIGHT_BOLD;
}

class DialogsGuiTest : public FrameTest {
protected:
    void TearDown() override {
        SetPrintRunner(nullptr);
        CloseFrame();
    }
};

// The dialog runs for real; a timer types a custom outline and presses Apply.
TEST_F(DialogsGuiTest, CustomOutlineTypedIntoTheRunningDialog) {
    LayoutShapeDialog* shown = nullptr;
    ModalAnswerer spy([&shown](wxDialog* d) {
        if (auto* shape = dynamic_cast<LayoutShapeDialog*>(d)) {
            shown = shape;
            return int(wxID_NONE);  // show it
        }
        return int(wxID_OK);  // the note about the skipped lines
    });
    wxTimer timer;
    bool typed = false;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (!shown) return;
        timer.Stop();
        shown->SelectShape(kShapeCustom);
        EXPECT_EQ(shown->CustomText()->GetValue(), "0,0\n2400,0\n2400,1200\n0,1200\n");
        shown->CustomText()->SetValue("0, 0\n100 ,0\n100,50\nno comma here\nab,cd\n0,50");
        wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
        click.SetEventObject(shown->FindWindow(wxID_OK));
        shown->FindWindow(wxID_OK)->GetEventHandler()->ProcessEvent(click);
        typed = true;
    });
    timer.Start(50);
    Command(kCmdLayoutShape);
    EXPECT_TRUE(typed);
    EXPECT_EQ(Doc().baseboard, (Outline{{0, 0}, {100, 0}, {100, 50}, {0, 50}}));
    EXPECT_EQ(Doc().lastShape, kShapeCustom);
    ASSERT_EQ(spy.Count(), 2);
    EXPECT_EQ(spy.Dialogs()[1].title, "Layout Shape");
    EXPECT_TRUE(spy.Dialogs()[1].message.StartsWith("Skipped lines 4 and 5, which are not"))
        << spy.Dialogs()[1].message;
}

TEST_F(DialogsGuiTest, LevelManagerListsAddsEditsAndRemoves) {
    Doc().units = 2;
    Doc().levels[0].height = 25.4;
    const uint32_t flat = LayPiece(Doc(), 0, 0, 1);
    const uint32_t upper = LayPiece(Doc(), 300, 0, 2);
    std::vector<wxString> questions;
    ModalAnswerer answer([&](wxDialog* d) -> int {
        if (auto* entry = dynamic_cast<wxTextEntryDialog*>(d)) {
            EXPECT_EQ(entry->GetValue(), "Level 2");
            entry->SetValue("Upper deck");
            return wxID_OK;
        }
        if (auto* props = dynamic_cast<LevelPropertiesDialog*>(d)) {
            EXPECT_EQ(props->GetTitle(), "Level Properties: Level 1");
            EXPECT_DOUBLE_EQ(props->HeightField()->GetValue(), 1.0);
            props->NameField()->SetValue("  Ground ");
            props->HeightField()->SetValue(2.5);
            return wxID_OK;
        }
        if (auto* box = dynamic_cast<wxMessageDialog*>(d)) {
            questions.push_back(box->GetTitle() + "|" + box->GetMessage());
            return wxID_YES;
        }
        auto* levels = dynamic_cast<LevelManagerDialog*>(d);
        if (!levels) return wxID_CANCEL;
        wxListCtrl* list = levels->List();
        EXPECT_EQ(list->GetItemCount(), 1);
        EXPECT_EQ(list->GetItemText(0, 1), "1.00 in");
        EXPECT_TRUE(list->IsItemChecked(0));
        EXPECT_FALSE(levels->RemoveButton()->IsEnabled());

        levels->AddLevelAsked();
        EXPECT_EQ(list->GetItemCount(), 2);
        EXPECT_EQ(list->GetItemText(1, 0), "Upper deck");
        EXPECT_EQ(list->GetItemText(1, 3), "2");
        EXPECT_TRUE(IsBold(list, 1));  // the new active level

        list->CheckItem(1, false);
        EXPECT_FALSE(Doc().levels[1].visible);
        list->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        levels->EditSelected();
        EXPECT_EQ(list->GetItemText(0, 0), "Ground");
        EXPECT_TRUE(IsBold(list, 0));

        list->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        levels->RemoveSelected();
        EXPECT_EQ(list->GetItemCount(), 1);
        return wxID_OK;
    });
    const std::vector<PlacedPiece> pieces = Doc().pieces;
    const std::vector<Level> levels = Doc().levels;
    Command(kCmdLevels);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(questions[0].StartsWith(
        wxString::FromUTF8("Remove Level \u2014 Confirm Deletion|Remove level \"Upper deck\"?")));
    EXPECT_TRUE(questions[0].Contains(wxString::FromUTF8("\u2022 1 track piece(s)")));
    ASSERT_EQ(Doc().levels.size(), 1u);
    EXPECT_EQ(Doc().levels[0].name, "Ground");
    EXPECT_DOUBLE_EQ(Doc().levels[0].height, 63.5);
    EXPECT_DOUBLE_EQ(Doc().FindPiece(flat)->elevation, 63.5);
    EXPECT_EQ(Doc().FindPiece(upper), nullptr);
    EXPECT_EQ(Doc().activeLevel, 1u);
    // Removing a level with its pieces could not be taken back: the session is one undo step.
    EXPECT_EQ(Doc().undoStack.size(), 1u);
    Command(kCmdUndo);
    EXPECT_EQ(Doc().pieces, pieces);
    EXPECT_EQ(Doc().levels, levels);
}

TEST(PrintOptionsDialogTest, SpinFieldsFollowTheScalingAndKeepTheirValues) {
    PrintOptionsDialog dialog(nullptr, PrintOptions{.scaleDenominator = 87, .percent = 150});
    EXPECT_FALSE(dialog.Denominator()->IsEnabled());
    EXPECT_FALSE(dialog.Percent()->IsEnabled());
    dialog.Scaling()->SetSelection(1);
    wxCommandEvent change(wxEVT_RADIOBOX, dialog.Scaling()->GetId());
    change.SetEventObject(dialog.Scaling());
    dialog.Scaling()->GetEventHandler()->ProcessEvent(change);
    EXPECT_TRUE(dialog.Denominator()->IsEnabled());
    EXPECT_FALSE(dialog.Percent()->IsEnabled());
    dialog.Grid()->SetValue(true);
    const PrintOptions read = dialog.Options();
    EXPECT_EQ(read.scaling, 1);
    EXPECT_EQ(read.scaleDenominator, 87);
    EXPECT_EQ(read.percent, 150);  // kept though greyed out
    EXPECT_TRUE(read.grid);
}

// Prints page 1 of a job into a bitmap the way a printer would, and says how the job ended.
struct FakePrinter {
    PrintOutcome outcome;
    int pages = 0;
    PrintOutcome operator()(wxWindow*, wxPrintDialogData&, wxPrintout& printout) {
        wxBitmap bitmap(600, 400, 24);
        wxMemoryDC dc(bitmap);
        printout.SetDC(&dc);
        printout.SetPageSizePixels(600, 400);
        printout.SetPaperRectPixels(wxRect(0, 0, 600, 400));
        printout.SetPPIPrinter(300, 300);
        printout.OnPreparePrinting();
        int minPage, maxPage, from, to;
        printout.GetPageInfo(&minPage, &maxPage, &from, &to);
        pages = maxPage;
        printout.OnBeginDocument(1, maxPage);
        printout.OnPrintPage(1);
        printout.OnEndDocument();
        printout.SetDC(nullptr);
        return outcome;
    }
};

TEST_F(DialogsGuiTest, PrintKeepsTheScreensLevelsWhateverTheOutcomeAndCancelPrintsNothing) {
    Doc().levels.push_back(NamedLevel(2, "Two", true));
    Doc().levels.push_back(NamedLevel(3, "Three", false));
    LayPiece(Doc(), 0, 0, 1);
    LayPiece(Doc(), 0, 400, 2);
    {
        SCOPED_TRACE("cancelled options print nothing and keep the options");
        SetPrintRunner([](wxWindow*, wxPrintDialogData&, wxPrintout&) {
            ADD_FAILURE() << "printed";
            return PrintOutcome::Printed;
        });
        frame->GetPrintOptions().percent = 42;
        ModalAnswerer cancel(wxID_CANCEL);
        Command(wxID_PRINT);
        EXPECT_EQ(frame->GetPrintOptions().percent, 42);
    }
    for (PrintOutcome outcome :
         {PrintOutcome::Cancelled, PrintOutcome::Failed, PrintOutcome::Printed}) {
        FakePrinter printer{outcome};
        SetPrintRunner([&printer](wxWindow* w, wxPrintDialogData& d, wxPrintout& p) {
            return printer(w, d, p);
        });
        ModalAnswerer answer([](wxDialog* d) {
            if (auto* options = dynamic_cast<PrintOptionsDialog*>(d)) {
                options->Levels()->SetSelection(0);
                return int(wxID_OK);
            }
            return int(wxID_OK);
        });
        Command(wxID_PRINT);
        EXPECT_EQ(printer.pages, 1);
        EXPECT_TRUE(Doc().levels[0].visible);
        EXPECT_TRUE(Doc().levels[1].visible);
        EXPECT_FALSE(Doc().levels[2].visible);
        const bool failed = outcome == PrintOutcome::Failed;
        ASSERT_EQ(answer.Count(), failed ? 2 : 1);
        if (failed) {
            EXPECT_EQ(answer.Dialogs()[1].title, "Print");
            EXPECT_EQ(answer.Dialogs()[1].message,
                      "There was a problem printing. Check that a printer is installed and "
                      "connected.");
        }
    }
}

TEST_F(DialogsGuiTest, PreviewAsksForTheOptionsOpensItsFrameAndLeavesTheScreensLevels) {
    Doc().levels.push_back(NamedLevel(2, "Two", true));
    LayPiece(Doc(), 0, 0, 1);
    LayPiece(Doc(), 0, 300, 2);
    const auto preview = [] {
        wxPreviewFrame* found = nullptr;
        for (wxWindow* w : wxTopLevelWindows)
            if (auto* p = dynamic_cast<wxPreviewFrame*>(w); p && !p->IsBeingDeleted()) found = p;
        return found;
    };
    ASSERT_EQ(frame->GetPrintOptions().levels, 0);  // active level only
    ModalAnswerer options([](wxDialog* d) {
        if (auto* print = dynamic_cast<PrintOptionsDialog*>(d)) {
            print->Scaling()->SetSelection(1);
            print->Denominator()->SetValue(5);
        }
        return int(wxID_OK);
    });
    Command(wxID_PREVIEW);
    EXPECT_EQ(frame->GetPrintOptions().scaleDenominator, 5) << "the options are kept";
    wxPreviewFrame* shown = preview();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->GetTitle(), "Print Preview -- Quillmore");
    EXPECT_EQ(shown->GetParent(), frame);
    EXPECT_TRUE(shown->HasFlag(wxFRAME_FLOAT_ON_PARENT));
    PumpEvents(100);
    EXPECT_TRUE(Doc().levels[1].visible);  // while the preview shows its page
    shown->Close(true);
    PumpEvents();
    EXPECT_TRUE(Doc().levels[1].visible);
}

}  // namespace
