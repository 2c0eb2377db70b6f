// Background pictures in the 3D window: off by default, then lying on the baseboard at their
// place and opacity, kept in step with the layout through the main frame, one texture a file.
#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/menu.h>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "support/GuiTestSupport.h"
#include "tests/app/AppTestHome.h"
#include "view3d/gui/TrackGLCanvas.h"
#include "view3d/gui/View3DFrame.h"

TEST(View3DPictureTest, LiesOnTheBaseboardAtItsOpacityOnlyWhenTurnedOn) {
    UseTestHome();
    TempDir dir;
    const unsigned char colour[3] = {230, 30, 200};
    wxImage image(40, 30);
    image.SetRGB(wxRect(0, 0, 40, 30), colour[0], colour[1], colour[2]);
    // 400 x 300 mm around the origin.
    BackgroundPicture picture{dir.File("plan.png"), -200, -150, 400, 0, 1.0, false, true, kNoId};
    ASSERT_TRUE(image.SaveFile(wxString::FromUTF8(picture.path), wxBITMAP_TYPE_PNG));

    auto* frame = new MainFrame();
    frame->Show();
    LayoutDocument& doc = frame->Document();
    doc.EnsureDefaultLevel();
    doc.baseboard = {{-400, -300}, {400, -300}, {400, 300}, {-400, 300}};
    frame->AfterStartup();
    wxCommandEvent open(wxEVT_MENU, kCmd3DView);
    frame->GetEventHandler()->ProcessEvent(open);
    View3DFrame* view = frame->View3D();
    ASSERT_NE(view, nullptr);
    TrackGLCanvas* canvas = view->Canvas();
    ASSERT_TRUE(PumpUntil([&] { return canvas->IsShownOnScreen(); }));
    canvas->Camera().pitch = 0;
    canvas->Camera().yaw = 0;
    auto edit = [&](bool changed) {
        ASSERT_TRUE(changed);
        frame->NotifyChanged(DocChange::Pictures);
        PumpEvents();  // the frame hands changes on after the event
    };
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

    edit(AddPicture(doc, picture));
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
    // Half opaque: halfway between the board and the picture, from the same texture.
    picture.opacity = 0.5;
    edit(ChangePicture(doc, 0, picture));
    draw();
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(at(pixels, inside, c), (colour[c] + at(off, inside, c)) / 2.0, 8) << c;
    EXPECT_EQ(canvas->PictureTexturesMade(), 1);

    show(false);
    draw();
    EXPECT_EQ(pixels, off);
    EXPECT_EQ(canvas->PicturesLaid(), 0u);
    frame->Destroy();
    PumpEvents();
}
