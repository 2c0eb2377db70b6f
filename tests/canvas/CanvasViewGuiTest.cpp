// The canvas view in the real main window: wheel zoom, panning with its dead zone, the pointer
// read-out and the grade-run status text, driven by synthetic events.
#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/statusbr.h>

#include <cstdlib>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "canvas/gui/CanvasPanel.h"
#include "support/GuiTestSupport.h"

namespace {

class CanvasView : public testing::Test {
protected:
    TempDir home;
    std::string oldHome;
    MainFrame* frame = nullptr;
    CanvasPanel* canvas = nullptr;

    void SetUp() override {
        if (const char* h = std::getenv("HOME")) oldHome = h;
        setenv("HOME", home.Path().c_str(), 1);
        frame = new MainFrame();
        frame->Show();
        frame->Document().EnsureDefaultLevel();
        canvas = frame->Canvas();
        ASSERT_NE(canvas, nullptr);
        PumpEvents();
    }
    void TearDown() override {
        EXPECT_FALSE(canvas->HasCapture());
        while (canvas->HasCapture()) canvas->ReleaseMouse();
        frame->Destroy();
        PumpEvents();
        setenv("HOME", oldHome.c_str(), 1);
    }

    void Mouse(wxEventType type, int x, int y, bool middle = false, bool left = false,
               int wheel = 0) {
        wxMouseEvent e(type);
        e.SetEventObject(canvas);
        e.SetId(canvas->GetId());
        e.SetPosition(wxPoint(x, y));
        e.SetMiddleDown(middle);
        e.SetLeftDown(left);
        e.m_wheelRotation = wheel;
        e.m_wheelDelta = 120;
        canvas->GetEventHandler()->ProcessEvent(e);
    }
    wxString Status(int field) { return frame->GetStatusBar()->GetStatusText(field); }
    // One paint into a bitmap of the canvas's size.
    void Paint() {
        const wxSize size = canvas->GetClientSize();
        wxBitmap bitmap(std::max(size.x, 1), std::max(size.y, 1), 24);
        wxMemoryDC dc(bitmap);
        canvas->PaintTo(dc, size.x, size.y);
    }
};

}  // namespace

TEST_F(CanvasView, MiddleDragPansOnlyBeyondTheDeadZone) {
    Mouse(wxEVT_MIDDLE_DOWN, 200, 150, true);
    EXPECT_TRUE(canvas->IsPanning());
    Mouse(wxEVT_MOTION, 203, 147, true);  // 3 pixels: nothing moves
    EXPECT_DOUBLE_EQ(canvas->Transform().offsetX, 60);
    EXPECT_DOUBLE_EQ(canvas->Transform().offsetY, 60);
    Mouse(wxEVT_MOTION, 204, 150, true);  // 4 pixels: the view follows
    EXPECT_DOUBLE_EQ(canvas->Transform().offsetX, 64);
    EXPECT_DOUBLE_EQ(canvas->Transform().offsetY, 60);
    Mouse(wxEVT_MOTION, 150, 250, true);
    EXPECT_DOUBLE_EQ(canvas->Transform().offsetX, 10);
    EXPECT_DOUBLE_EQ(canvas->Transform().offsetY, 160);
    Mouse(wxEVT_MIDDLE_UP, 150, 250);
    EXPECT_FALSE(canvas->IsPanning());
    Mouse(wxEVT_MOTION, 300, 300);  // no longer panning
    EXPECT_DOUBLE_EQ(canvas->Transform().offsetX, 10);
    EXPECT_DOUBLE_EQ(canvas->Transform().zoom, 0.4);
}

TEST_F(CanvasView, WheelZoomsAboutThePointerUpTo20) {
    double x0 = 0, y0 = 0;
    canvas->ScreenToLayout(300, 200, x0, y0);
    Mouse(wxEVT_MOUSEWHEEL, 300, 200, false, false, 120);
    EXPECT_NEAR(canvas->Zoom(), 0.46, 1e-12);
    double x = 0, y = 0;
    canvas->ScreenToLayout(300, 200, x, y);
    EXPECT_NEAR(x, x0, 1e-9);
    EXPECT_NEAR(y, y0, 1e-9);
    for (int i = 0; i < 50; ++i) Mouse(wxEVT_MOUSEWHEEL, 300, 200, false, false, 120);
    EXPECT_DOUBLE_EQ(canvas->Zoom(), 20.0);
    canvas->ScreenToLayout(300, 200, x, y);
    EXPECT_NEAR(x, x0, 1e-9);
}

// The read-out follows the units at once: opening a layout in other units used to leave the old
// unit in the status bar until the mouse moved.
TEST_F(CanvasView, PointerReadOutFollowsTheUnitsWithoutAMouseMove) {
    Mouse(wxEVT_MOTION, 100, 160);
    EXPECT_EQ(Status(2), "100 mm,  250 mm");
    wxCommandEvent inches(wxEVT_MENU, kCmdUnitsInch);
    frame->GetEventHandler()->ProcessEvent(inches);
    frame->FlushChanges();
    EXPECT_EQ(Status(2), "3.94 in,  9.84 in") << "the same point, in the new unit";
    Mouse(wxEVT_MOTION, 162, 60);  // 255 mm
    EXPECT_EQ(Status(2), "10.04 in,  0.00 in");

    // A layout that comes with its own units (as Open and New replace the document).
    Mouse(wxEVT_MOTION, 100, 160);
    frame->Document().units = 1;
    frame->NotifyChanged(DocChange::File);
    frame->FlushChanges();
    EXPECT_EQ(Status(2), "10.0 cm,  25.0 cm");
}

TEST_F(CanvasView, PaintShowsActiveGradeRunsInTheStatusBar) {
    LayoutDocument& doc = frame->Document();
    doc.gradeRuns = {{2.0, 5, 1}, {-1.5, 6, 1}};
    Paint();
    EXPECT_EQ(Status(0), "[ELEV] 2.0 deg -1.5 deg  (right-click piece to stop)");
    doc.gradeRuns.clear();
    Paint();
    EXPECT_EQ(Status(0), "Ready");
    frame->SetStatusText("Saved", 0);
    Paint();
    EXPECT_EQ(Status(0), "Saved");
}
