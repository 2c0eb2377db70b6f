// The main frame's 3D View command: open or raise, forget the window when it closes, and keep
// its scene in step with the layout through the change notification.
#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "model/TrackBuilder.h"
#include "tests/app/AppTestHome.h"
#include "view3d/gui/TrackGLCanvas.h"
#include "view3d/gui/View3DFrame.h"

namespace {

class MainFrame3D : public testing::Test {
protected:
    void SetUp() override {
        UseTestHome();
        frame = new MainFrame();
        frame->Show();
        frame->Document().EnsureDefaultLevel();
        frame->AfterStartup();
        PumpEvents();
    }
    void TearDown() override {
        frame->Destroy();
        PumpEvents();
    }
    void View3DCommand() {
        wxCommandEvent event(wxEVT_MENU, kCmd3DView);
        event.SetEventObject(frame);
        frame->GetEventHandler()->ProcessEvent(event);
    }
    void AddPiece(double x) { TrackBuilder(frame->Document()).Place("24188", x); }
    TrackGLCanvas* Canvas() const { return frame->View3D()->Canvas(); }

    MainFrame* frame = nullptr;
};

}  // namespace

TEST_F(MainFrame3D, CommandOpensTheWindowThenRaisesAndRebuildsIt) {
    AddPiece(0);
    View3DCommand();
    View3DFrame* first = frame->View3D();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetParent(), frame);
    EXPECT_TRUE(first->IsShown());
    EXPECT_EQ(Canvas()->Scene().tracks.size(), 1u);  // built once by the canvas
    AddPiece(200);                                   // behind the frame's back
    View3DCommand();
    EXPECT_EQ(frame->View3D(), first);
    EXPECT_EQ(Canvas()->Scene().tracks.size(), 2u);
}

TEST_F(MainFrame3D, ClosingForgetsTheWindowAndReopeningStartsWithTheInitialCamera) {
    View3DCommand();
    ASSERT_TRUE(PumpUntil([&] { return Canvas()->IsShownOnScreen(); }));
    Canvas()->Camera().yaw = 120;
    Canvas()->Camera().pitch = -10;
    Canvas()->Camera().panX = 55;
    frame->View3D()->Close();
    EXPECT_EQ(frame->View3D(), nullptr);
    PumpEvents(50);
    frame->NotifyChanged(DocChange::Pieces);  // no listener left to reach the closed window
    frame->FlushChanges();
    View3DCommand();
    ASSERT_NE(frame->View3D(), nullptr);
    const OrbitCamera& cam = Canvas()->Camera();
    EXPECT_FLOAT_EQ(cam.yaw, 30);
    EXPECT_FLOAT_EQ(cam.pitch, 35);
    EXPECT_FLOAT_EQ(cam.panX, 0);
    EXPECT_FLOAT_EQ(cam.distance, 800);
}

TEST_F(MainFrame3D, EditingRebuildsOnceRefitsTheDistanceAndKeepsTheAngles) {
    AddPiece(0);
    View3DCommand();
    TrackGLCanvas* canvas = Canvas();
    ASSERT_TRUE(PumpUntil([&] { return canvas->IsShownOnScreen(); }));
    PumpEvents(50);
    canvas->Camera().yaw = 100;
    canvas->Camera().pitch = 50;
    EXPECT_FLOAT_EQ(canvas->Camera().distance, 400);
    const int built = canvas->RebuildCount();
    // Selection and view changes leave the scene alone.
    frame->NotifyChanged(DocChange::Selection | DocChange::View);
    frame->FlushChanges();
    EXPECT_FALSE(canvas->RebuildPending());
    // A drag: twenty updates before the window paints again cost one rebuild.
    for (int i = 1; i <= 20; ++i) {
        AddPiece(188.3 * i);
        frame->NotifyChanged(DocChange::Pieces);
        frame->FlushChanges();
    }
    EXPECT_TRUE(canvas->RebuildPending());
    EXPECT_EQ(canvas->RebuildCount(), built);
    ASSERT_TRUE(PumpUntil([&] { return !canvas->RebuildPending(); }));
    EXPECT_EQ(canvas->RebuildCount(), built + 1);
    EXPECT_EQ(canvas->Scene().tracks.size(), 21u);
    EXPECT_NEAR(canvas->Camera().distance, 1.8 * 21 * 188.3, 0.5);
    EXPECT_FLOAT_EQ(canvas->Camera().yaw, 100);
    EXPECT_FLOAT_EQ(canvas->Camera().pitch, 50);
    // Hiding the level empties the scene; the camera keeps its place.
    frame->Document().levels[0].visible = false;
    frame->NotifyChanged(DocChange::Levels);
    ASSERT_TRUE(PumpUntil([&] { return canvas->Scene().tracks.empty(); }));
    EXPECT_NEAR(canvas->Camera().distance, 1.8 * 21 * 188.3, 0.5);
}

TEST_F(MainFrame3D, WindowOpensCentredOverTheMainWindow) {
    frame->SetSize(120, 90, 1400, 900);
    PumpEvents(50);
    View3DCommand();
    View3DFrame* view = frame->View3D();
    ASSERT_NE(view, nullptr);
    PumpEvents(50);
    const wxRect main = frame->GetRect(), own = view->GetRect();
    EXPECT_NEAR(own.x + own.width / 2.0, main.x + main.width / 2.0, 2);
    EXPECT_NEAR(own.y + own.height / 2.0, main.y + main.height / 2.0, 2);
}
