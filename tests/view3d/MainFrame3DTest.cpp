// The main frame's 3D View command: open or raise, forget the window when it closes, and keep
// its scene and background pictures in step with the layout through the change notification.
#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/menu.h>

#include "app/CommandIds.h"
#include "model/TrackBuilder.h"
#include "support/FrameFixture.h"
#include "view3d/gui/TrackGLCanvas.h"
#include "view3d/gui/View3DFrame.h"

namespace {

class MainFrame3D : public FrameTest {
protected:
    void SetUp() override {
        OpenFrame();
        frame->Show();
        frame->AfterStartup();
        PumpEvents();
    }
    void View3DCommand() { Command(kCmd3DView); }
    void AddPiece(double x) { TrackBuilder(frame->Document()).Place("24188", x); }
    TrackGLCanvas* Canvas() const { return frame->View3D()->Canvas(); }
};

}  // namespace

TEST_F(MainFrame3D, CommandOpensCentredOrRaisesEditsRebuildOnceAndClosingForgetsTheWindow) {
    frame->SetSize(120, 90, 1400, 900);
    PumpEvents(50);
    AddPiece(0);
    View3DCommand();
    View3DFrame* first = frame->View3D();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetParent(), frame);
    EXPECT_TRUE(first->IsShown());
    EXPECT_EQ(Canvas()->Scene().tracks.size(), 1u);  // built once by the canvas
    TrackGLCanvas* canvas = Canvas();
    ASSERT_TRUE(PumpUntil([&] { return canvas->IsShownOnScreen(); }));
    PumpEvents(50);
    const wxRect main = frame->GetRect(), own = first->GetRect();
    EXPECT_NEAR(own.x + own.width / 2.0, main.x + main.width / 2.0, 2);
    EXPECT_NEAR(own.y + own.height / 2.0, main.y + main.height / 2.0, 2);
    EXPECT_FLOAT_EQ(canvas->Camera().distance, 400);

    SCOPED_TRACE("the command again raises the same window, rebuilt");
    AddPiece(188.3);  // behind the frame's back
    View3DCommand();
    EXPECT_EQ(frame->View3D(), first);
    EXPECT_EQ(canvas->Scene().tracks.size(), 2u);

    SCOPED_TRACE("edits rebuild once at the next paint, refit the distance, keep the angles");
    canvas->Camera().yaw = 100;
    canvas->Camera().pitch = 50;
    const int built = canvas->RebuildCount();
    // Selection and view changes leave the scene alone.
    frame->NotifyChanged(DocChange::Selection | DocChange::View);
    frame->FlushChanges();
    EXPECT_FALSE(canvas->RebuildPending());
    // A drag: twenty updates before the window paints again cost one rebuild.
    for (int i = 2; i <= 21; ++i) {
        AddPiece(188.3 * i);
        frame->NotifyChanged(DocChange::Pieces);
        frame->FlushChanges();
    }
    EXPECT_TRUE(canvas->RebuildPending());
    EXPECT_EQ(canvas->RebuildCount(), built);
    ASSERT_TRUE(PumpUntil([&] { return !canvas->RebuildPending(); }));
    EXPECT_EQ(canvas->RebuildCount(), built + 1);
    EXPECT_EQ(canvas->Scene().tracks.size(), 22u);
    EXPECT_NEAR(canvas->Camera().distance, 1.8 * 22 * 188.3, 0.5);
    EXPECT_FLOAT_EQ(canvas->Camera().yaw, 100);
    EXPECT_FLOAT_EQ(canvas->Camera().pitch, 50);

    SCOPED_TRACE("closed, it is forgotten; opened again, its camera starts afresh");
    canvas->Camera().panX = 55;
    frame->View3D()->Close();
    EXPECT_EQ(frame->View3D(), nullptr);
    PumpEvents(50);
    frame->NotifyChanged(DocChange::Pieces);  // no listener left to reach the closed window
    frame->FlushChanges();
    frame->Document().pieces.clear();
    View3DCommand();
    ASSERT_NE(frame->View3D(), nullptr);
    EXPECT_FLOAT_EQ(Canvas()->Camera().yaw, 30);
    EXPECT_FLOAT_EQ(Canvas()->Camera().panX, 0);
}

// Background pictures: off by default, then lying on the baseboard at their place, added through
// the main frame's change notification, one texture a file.
TEST_F(MainFrame3D, PicturesLieOnTheBaseboardAtTheirPlaceOnlyWhenTurnedOn) {
    TempDir dir;
    const unsigned char colour[3] = {230, 30, 200};
    wxImage image(40, 30);
    image.SetRGB(wxRect(0, 0, 40, 30), colour[0], colour[1], colour[2]);
    // 400 x 300 mm around the origin.
    BackgroundPicture picture{dir.File("plan.png"), -200, -150, 400, 0, 1.0, false, true, kNoId};
    ASSERT_TRUE(image.SaveFile(wxString::FromUTF8(picture.path), wxBITMAP_TYPE_PNG));
    LayoutDocument& doc = frame->Document();
    doc.baseboard = {{-400, -300}, {400, -300}, {400, 300}, {-400, 300}};
    View3DCommand();
    View3DFrame* view = frame->View3D();
    ASSERT_NE(view, nullptr);
    TrackGLCanvas* canvas = view->Canvas();
    ASSERT_TRUE(PumpUntil([&] { return canvas->IsShownOnScreen(); }));
    canvas->Camera().pitch = 0;
    canvas->Camera().yaw = 0;
    auto show = [&](bool on) {
        view->GetMenuBar()->Check(View3DFrame::kCmdShowPictures, on);
        wxCommandEvent event(wxEVT_MENU, View3DFrame::kCmdShowPictures);
        event.SetInt(on);
        view->GetEventHandler()->ProcessEvent(event);
    };
    std::vector<uint8_t> pixels;
    wxPoint inside, beside;  // on the picture, and on the bare baseboard beside it
    auto draw = [&] {
        ASSERT_TRUE(canvas->RenderFrame(&pixels));
        EXPECT_EQ(canvas->LastGlError(), 0u);
        ASSERT_TRUE(canvas->ProjectToWindow(50, 30, 0, inside));
        ASSERT_TRUE(canvas->ProjectToWindow(320, -200, 0, beside));
    };
    auto at = [&](const std::vector<uint8_t>& frame, wxPoint p, int c) {
        const wxSize size = canvas->GetClientSize();
        return int(frame[(static_cast<size_t>(size.y - 1 - p.y) * size.x + p.x) * 3 + c]);
    };

    ASSERT_TRUE(AddPicture(doc, picture));
    frame->NotifyChanged(DocChange::Pictures);
    PumpEvents();  // the frame hands changes on after the event
    EXPECT_FALSE(view->GetMenuBar()->IsChecked(View3DFrame::kCmdShowPictures));
    draw();
    const std::vector<uint8_t> off = pixels;
    EXPECT_GT(at(off, inside, 1), at(off, inside, 0) + 15);  // the baseboard's green
    EXPECT_EQ(canvas->PicturesLaid(), 0u);

    show(true);
    draw();
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(at(pixels, inside, c), colour[c], 8) << c;
        EXPECT_EQ(at(pixels, beside, c), at(off, beside, c)) << c;
    }
    EXPECT_EQ(canvas->PictureTexturesMade(), 1);

    show(false);
    draw();
    EXPECT_EQ(pixels, off);
    EXPECT_EQ(canvas->PicturesLaid(), 0u);
}
