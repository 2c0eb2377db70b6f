// Faults that random input found in the real window: a drag in the Piece Count list after the
// list was refilled, and gestures left half done when a dialog took the mouse.
#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/listctrl.h>
#include <wx/timer.h>

#include <filesystem>
#include <variant>

#include "panels/gui/PropertiesPanel.h"
#include "support/FrameFixture.h"

namespace {

class InputFaults : public FrameTest {
protected:
    void SetUp() override {
        const std::string name = "C-Track Oval Station.xml";
        std::filesystem::copy_file(std::string(QUILLMORE_SOURCE_DIR) + "/resources/layouts/" + name,
                                   folder.File(name));
        OpenFrame(wxSize(1200, 800));
        frame->SetProgramFolder(folder.Path());
        ASSERT_TRUE(frame->OpenLayoutPath(wxString::FromUTF8(folder.File(name))));
        frame->FlushChanges();
        tally = dynamic_cast<wxListCtrl*>(frame->Properties()->FindWindow("pieceCount"));
        ASSERT_NE(tally, nullptr);
        // The rows are drawn by the list's taller child; the other is the column titles.
        for (wxWindow* child : tally->GetChildren())
            if (!rows || child->GetSize().y > rows->GetSize().y) rows = child;
        ASSERT_NE(rows, nullptr);
    }

    // A mouse event on the rows of the Piece Count list, as the toolkit delivers it.
    void ListMouse(wxEventType type, wxPoint at, bool left) {
        wxMouseEvent e(type);
        e.SetEventObject(rows);
        e.SetPosition(at);
        e.SetLeftDown(left);
        rows->GetEventHandler()->ProcessEvent(e);
    }
    wxPoint RowCentre(long row) const {
        wxRect rect;
        EXPECT_TRUE(tally->GetItemRect(row, rect));
        // The item rectangle counts from above the column titles, the rows from below them.
        const wxPoint at(rect.x + 20, rect.y + rect.height / 2 - rows->GetPosition().y);
        int flags = 0;
        EXPECT_EQ(tally->HitTest(at, flags), row);
        return at;
    }
    // The layout is emptied and one straight placed: the list shrinks to one row.
    void ShrinkToOneRow() {
        LayoutDocument& doc = frame->Document();
        doc.pieces.clear();
        LayPiece(doc, 0);
        frame->NotifyChanged(DocChange::Pieces | DocChange::Selection);
        frame->FlushChanges();
        ASSERT_EQ(tally->GetItemCount(), 1);
        // The list takes the focus as a press on it gives it.
        rows->SetFocus();
        wxFocusEvent focus(wxEVT_SET_FOCUS, rows->GetId());
        focus.SetEventObject(rows);
        rows->GetEventHandler()->ProcessEvent(focus);
    }
    // Drags from `from` up onto the first row, over more motions than a drag needs to begin.
    void DragOntoFirstRow(wxPoint from) {
        const wxPoint to = RowCentre(0);
        for (int step = 1; step <= 5; ++step)
            ListMouse(wxEVT_MOTION, from + (to - from) * step / 5, true);
        ListMouse(wxEVT_LEFT_UP, to, false);
    }
    // Every row under the pointer names itself in the tool tip.
    void ExpectTipsNameTheRows() {
        for (long row = 0; row < tally->GetItemCount(); ++row) {
            ListMouse(wxEVT_MOTION, RowCentre(row), false);
            EXPECT_EQ(tally->GetToolTipText(), tally->GetItemText(row, 0)) << row;
            EXPECT_FALSE(tally->GetItemText(row, 0).empty());
        }
    }

    TempDir folder;
    wxListCtrl* tally = nullptr;
    wxWindow* rows = nullptr;
};

TEST_F(InputFaults, DraggingInThePieceCountListAfterItShrankIsHarmless) {
    const long before = tally->GetItemCount();
    ASSERT_GE(before, 3);
    // The last row clicked, then the list refilled with one row: a drag from the empty space
    // below it onto that row.
    ListMouse(wxEVT_LEFT_DOWN, RowCentre(before - 1), true);
    ListMouse(wxEVT_LEFT_UP, RowCentre(before - 1), false);
    ShrinkToOneRow();
    const wxPoint below = RowCentre(0) + wxPoint(0, 60);
    ListMouse(wxEVT_LEFT_DOWN, below, true);
    DragOntoFirstRow(below);
    ExpectTipsNameTheRows();

    // The list shrinks while the button is held on its last row.
    const ModalAnswerer discard(wxID_NO);  // the changes to the sample are not kept
    ASSERT_TRUE(frame->OpenLayoutPath(wxString::FromUTF8(folder.File("C-Track Oval Station.xml"))));
    frame->FlushChanges();
    ASSERT_EQ(tally->GetItemCount(), before);
    const wxPoint last = RowCentre(before - 1);
    ListMouse(wxEVT_LEFT_DOWN, last, true);
    ShrinkToOneRow();
    DragOntoFirstRow(last);
    ExpectTipsNameTheRows();
}

// A modal dialog that opens for real takes the mouse from the canvas.
void OpenRealDialogFor(wxWindow* parent) {
    wxDialog dialog(parent, wxID_ANY, "Taking the mouse");
    wxTimer close;
    close.Bind(wxEVT_TIMER, [&dialog](wxTimerEvent&) { dialog.EndModal(wxID_CANCEL); });
    close.StartOnce(50);
    dialog.ShowModal();
}

// What each gesture takes back when it loses the pointer is the gestures' own; a move stands for
// them all here.
TEST_F(InputFaults, ADialogOpenedMidGestureEndsItAsEscapeWould) {
    canvas->SetTransform(ViewTransform{1.0, 0.0, 0.0});
    LayoutDocument& doc = Doc();
    doc.pieces.clear();
    const uint32_t id = LayPiece(doc, 100, 100);
    frame->NotifyChanged(DocChange::Pieces);
    frame->FlushChanges();
    const size_t undos = doc.undoStack.size();
    Mouse(wxEVT_LEFT_DOWN, 150, 100, true);
    Mouse(wxEVT_MOTION, 190, 150, true);
    ASSERT_TRUE(canvas->HasCapture());
    OpenRealDialogFor(frame);
    frame->FlushChanges();
    EXPECT_FALSE(canvas->HasCapture());
    EXPECT_TRUE(std::holds_alternative<std::monostate>(canvas->Gestures().Active()));
    EXPECT_EQ(doc.undoStack.size(), undos);
    EXPECT_DOUBLE_EQ(doc.FindPiece(id)->x, 100);
    EXPECT_DOUBLE_EQ(doc.FindPiece(id)->y, 100);
}

}  // namespace

// Closing the window while the canvas pans holds the pointer: the capture goes with the window.
TEST_F(InputFaults, ClosingTheWindowMidGestureLetsGoOfThePointer) {
    CanvasPanel* canvas = frame->Canvas();
    wxMouseEvent down(wxEVT_MIDDLE_DOWN);
    down.SetEventObject(canvas);
    down.SetPosition(wxPoint(300, 300));
    canvas->GetEventHandler()->ProcessEvent(down);
    ASSERT_TRUE(canvas->HasCapture());
    frame->Destroy();
    frame = nullptr;
    PumpEvents();
    EXPECT_EQ(wxWindow::GetCapture(), nullptr);
}
