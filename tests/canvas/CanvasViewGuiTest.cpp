// The canvas view in the real main window: middle-button panning, wheel zoom, the pointer
// read-out and the grade-run status text, driven by synthetic events on one open window.
#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "support/FrameFixture.h"

namespace {

class CanvasView : public testing::Test, public FrameFixture {
protected:
    void SetUp() override { OpenFrame(wxSize(1000, 700)); }
    void TearDown() override {
        EXPECT_FALSE(canvas->HasCapture());  // every gesture gives the pointer back
        CloseFrame();
    }
    void Send(wxEventType type, int x, int y, bool middle, int wheel = 0) {
        wxMouseEvent e(type);
        e.SetEventObject(canvas);
        e.SetPosition(wxPoint(x, y));
        e.SetMiddleDown(middle);
        e.m_wheelRotation = wheel;
        e.m_wheelDelta = 120;
        canvas->GetEventHandler()->ProcessEvent(e);
    }
    void ExpectOffsets(double x, double y) {
        EXPECT_DOUBLE_EQ(canvas->Transform().offsetX, x);
        EXPECT_DOUBLE_EQ(canvas->Transform().offsetY, y);
    }
};

TEST_F(CanvasView, PanZoomPointerReadOutAndGradeStatus) {
    {
        SCOPED_TRACE("middle drag pans");
        Send(wxEVT_MIDDLE_DOWN, 200, 150, true);
        EXPECT_TRUE(canvas->IsPanning());
        Send(wxEVT_MOTION, 150, 250, true);
        ExpectOffsets(10, 160);
        Send(wxEVT_MIDDLE_UP, 150, 250, false);
        EXPECT_FALSE(canvas->IsPanning());
        Send(wxEVT_MOTION, 300, 300, false);
        ExpectOffsets(10, 160);
    }
    {
        // The read-out follows the units at once: opening a layout in other units used to leave
        // the old unit in the status bar until the mouse moved.
        SCOPED_TRACE("pointer read-out");
        Send(wxEVT_MOTION, 50, 260, false);
        EXPECT_EQ(Status(2), "100 mm,  250 mm");
        Command(kCmdUnitsInch);
        EXPECT_EQ(Status(2), "3.94 in,  9.84 in") << "the same point, in the new unit";
        Send(wxEVT_MOTION, 50, 260, false);
        Doc().units = 1;  // a layout that comes with its own units, as Open and New give
        frame->NotifyChanged(DocChange::File);
        frame->FlushChanges();
        EXPECT_EQ(Status(2), "10.0 cm,  25.0 cm");
    }
    {
        SCOPED_TRACE("wheel zooms about the pointer");
        double x0 = 0, y0 = 0, x = 0, y = 0;
        canvas->ScreenToLayout(300, 200, x0, y0);
        Send(wxEVT_MOUSEWHEEL, 300, 200, false, 120);
        EXPECT_NEAR(canvas->Zoom(), 0.46, 1e-12);
        canvas->ScreenToLayout(300, 200, x, y);
        EXPECT_NEAR(x, x0, 1e-9);
    }
    {
        SCOPED_TRACE("paint shows the active grade runs in the status bar");
        Doc().gradeRuns = {{2.0, 5, 1}, {-1.5, 6, 1}};
        Painted();
        EXPECT_EQ(Status(0), "[ELEV] 2.0 deg -1.5 deg  (right-click piece to stop)");
        Doc().gradeRuns.clear();
        Painted();
        EXPECT_EQ(Status(0), "Ready");
        frame->SetStatusText("Saved", 0);
        Painted();
        EXPECT_EQ(Status(0), "Saved");
    }
}

}  // namespace
