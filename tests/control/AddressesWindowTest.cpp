// The Addresses window and the address field of the properties panel in the real main window:
// numbering, typing one address, printing the list and undoing both edits.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/listctrl.h>
#include <wx/print.h>
#include <wx/textctrl.h>

#include "app/CommandIds.h"
#include "app/gui/MainFrameDialogs.h"
#include "control/gui/AddressesWindow.h"
#include "panels/gui/PropertiesPanel.h"
#include "support/FrameFixture.h"

namespace {

class AddressesWindowTest : public FrameTest {
protected:
    void TearDown() override {
        SetPrintRunner(nullptr);
        if (AddressesWindow* w = AddressesWindow::Open()) w->Close(true);
        FrameTest::TearDown();
    }
    int32_t AddressOf(uint32_t id) {
        const AccessoryAddress* a = Doc().control.Find(id);
        return a ? a->address : 0;
    }
};

TEST_F(AddressesWindowTest, AssignTypeOneAddressPrintAndUndo) {
    std::vector<uint32_t> ids;
    for (double x : {0.0, 600.0, 1200.0}) ids.push_back(LayPiece(Doc(), x, 0, 1, "24612"));
    frame->NotifyChanged(DocChange::Pieces);
    Command(kCmdAddresses);
    AddressesWindow* window = AddressesWindow::Open();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->List()->GetItemCount(), 3);
    EXPECT_EQ(window->List()->GetItemText(0, 0), "");

    window->Assign();
    frame->FlushChanges();
    EXPECT_EQ(AddressOf(ids[0]), 1);
    EXPECT_EQ(AddressOf(ids[1]), 2);
    EXPECT_EQ(AddressOf(ids[2]), 3);
    EXPECT_EQ(window->List()->GetItemText(1, 0), "2");

    // The list on paper through the frame's print job: one page of text for three turnouts.
    int pages = 0, ink = 0;
    SetPrintRunner([&](wxWindow*, wxPrintDialogData&, wxPrintout& printout) {
        printout.SetPageSizePixels(800, 1100);
        printout.SetPaperRectPixels(wxRect(0, 0, 800, 1100));
        printout.SetPPIPrinter(100, 100);
        int minPage = 0, from = 0, to = 0;
        printout.GetPageInfo(&minPage, &pages, &from, &to);
        wxBitmap bitmap(800, 1100, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxWHITE_BRUSH);
            dc.Clear();
            printout.SetDC(&dc);
            EXPECT_TRUE(printout.OnPrintPage(1));
            EXPECT_FALSE(printout.HasPage(2));
            printout.SetDC(nullptr);
        }
        const wxImage image = bitmap.ConvertToImage();
        for (int y = 0; y < 1100; ++y)
            for (int x = 0; x < 800; ++x) ink += image.GetRed(x, y) < 128;
        return PrintOutcome::Printed;
    });
    wxCommandEvent print(wxEVT_BUTTON, AddressesWindow::kIdPrint);
    window->GetEventHandler()->ProcessEvent(print);
    EXPECT_EQ(pages, 1);
    EXPECT_GT(ink, 200) << "the lines are drawn";

    // Select the middle turnout: the properties panel shows its address; type another.
    Doc().FindPiece(ids[1])->selected = true;
    frame->NotifyChanged(DocChange::Selection);
    frame->FlushChanges();
    auto* field =
        dynamic_cast<wxTextCtrl*>(frame->Properties()->FindWindow(PropertiesPanel::kIdAddress));
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(field->IsShown());
    EXPECT_EQ(field->GetValue(), "2");
    field->ChangeValue("40");
    wxCommandEvent enter(wxEVT_TEXT_ENTER, field->GetId());
    enter.SetEventObject(field);
    field->GetEventHandler()->ProcessEvent(enter);
    frame->FlushChanges();
    EXPECT_EQ(AddressOf(ids[1]), 40);
    EXPECT_EQ(window->List()->GetItemText(2, 0), "40");  // sorted by address

    // Undo takes the typed address back, then the whole numbering.
    Command(kCmdUndo);
    EXPECT_EQ(AddressOf(ids[1]), 2);
    EXPECT_EQ(field->GetValue(), "2");
    Command(kCmdUndo);
    EXPECT_FALSE(Doc().control.Exists());
    EXPECT_EQ(window->List()->GetItemText(0, 0), "");
}

}  // namespace
