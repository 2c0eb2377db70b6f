// The Addresses window and the address field of the properties panel in the real main window:
// numbering, typing one address, printing the list and undoing the typed address.
#include <gtest/gtest.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>

#include "app/CommandIds.h"
#include "control/PrintedPages.h"
#include "control/gui/AddressesWindow.h"
#include "panels/gui/PropertiesPanel.h"
#include "support/FrameFixture.h"

namespace {

class AddressesWindowTest : public FrameTest {
protected:
    void TearDown() override {
        if (AddressesWindow* w = AddressesWindow::Open()) w->Close(true);
        FrameTest::TearDown();
    }
    int32_t AddressOf(uint32_t id) {
        const AccessoryAddress* a = Doc().control.Find(id);
        return a ? a->address : 0;
    }
};

TEST_F(AddressesWindowTest, AssignPrintTypeOneAddressAndUndoIt) {
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
    EXPECT_EQ(AddressOf(ids[1]), 2);
    EXPECT_EQ(window->List()->GetItemText(1, 0), "2");

    // The list on paper through the frame's print job: one page of text for three turnouts.
    const std::vector<wxImage> pages = PrintedPages(
        [&] {
            wxCommandEvent print(wxEVT_BUTTON, AddressesWindow::kIdPrint);
            window->GetEventHandler()->ProcessEvent(print);
        },
        wxSize(800, 1100));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_GT(CountPixels(pages[0], [](int r, int, int) { return r < 128; }), 200)
        << "the lines are drawn";

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

    // Undo takes the typed address back.
    Command(kCmdUndo);
    EXPECT_EQ(AddressOf(ids[1]), 2);
    EXPECT_EQ(field->GetValue(), "2");
}

}  // namespace
