// Background pictures in the 3D window: off by default, then lying on the baseboard at their
// place and opacity, their texture made once, and kept in step through the main frame.
#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/menu.h>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "support/GuiTestSupport.h"
#include "tests/app/AppTestHome.h"
#include "view3d/gui/TrackGLCanvas.h"
#include "view3d/gui/View3DFrame.h"

namespace {

constexpr unsigned char kPicture[3] = {230, 30, 200};

// A picture file of one colour, 40 x 30 pixels, laid 400 mm wide around the layout's origin.
BackgroundPicture PictureIn(const TempDir& dir, double opacity) {
    wxImage image(40, 30);
    image.SetRGB(wxRect(0, 0, 40, 30), kPicture[0], kPicture[1], kPicture[2]);
    BackgroundPicture p;
    p.path = dir.File("plan.png");
    EXPECT_TRUE(image.SaveFile(wxString::FromUTF8(p.path), wxBITMAP_TYPE_PNG));
    p.xMm = -200;
    p.yMm = -150;
    p.widthMm = 400;
    p.opacity = opacity;
    return p;
}

void ShowPictures(View3DFrame* frame, bool show) {
    frame->GetMenuBar()->Check(View3DFrame::kCmdShowPictures, show);
    wxCommandEvent event(wxEVT_MENU, View3DFrame::kCmdShowPictures);
    event.SetInt(show);
    frame->GetEventHandler()->ProcessEvent(event);
}

}  // namespace

TEST(View3DPictureTest, LiesOnTheBaseboardAtItsOpacityOnlyWhenTurnedOn) {
    TempDir dir;
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    doc.baseboard = {{-400, -300}, {400, -300}, {400, 300}, {-400, 300}};
    doc.pictures.push_back(PictureIn(dir, 1.0));
    auto* frame = new View3DFrame(nullptr, doc);
    frame->Show();
    TrackGLCanvas* canvas = frame->Canvas();
    ASSERT_TRUE(PumpUntil([&] { return canvas->IsShownOnScreen(); }));
    canvas->Camera().pitch = 0;
    canvas->Camera().yaw = 0;
    std::vector<uint8_t> pixels;
    wxPoint inside, beside;  // on the picture, and on the bare baseboard beside it
    auto draw = [&] {
        ASSERT_TRUE(canvas->RenderFrame(&pixels));
        EXPECT_EQ(canvas->LastGlError(), 0u);
        ASSERT_TRUE(canvas->ProjectToWindow(50, 30, 0, inside));
        ASSERT_TRUE(canvas->ProjectToWindow(320, -200, 0, beside));
    };
    // Channel c of window pixel p (y down) in `frame`.
    auto at = [&](const std::vector<uint8_t>& frame, wxPoint p, int c) {
        const wxSize size = canvas->GetClientSize();
        return int(frame[(static_cast<size_t>(size.y - 1 - p.y) * size.x + p.x) * 3 + c]);
    };

    EXPECT_FALSE(frame->GetMenuBar()->IsChecked(View3DFrame::kCmdShowPictures));
    draw();
    const std::vector<uint8_t> off = pixels;
    EXPECT_GT(at(off, inside, 1), at(off, inside, 0) + 15);  // the baseboard's green
    EXPECT_EQ(canvas->PicturesLaid(), 0u);
    EXPECT_EQ(canvas->PictureTexturesMade(), 0);

    ShowPictures(frame, true);
    draw();
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(at(pixels, inside, c), kPicture[c], 8) << c;
        EXPECT_EQ(at(pixels, beside, c), at(off, beside, c)) << c;
    }

    // Half opaque: halfway between the board and the picture, from the same texture.
    doc.pictures[0].opacity = 0.5;
    canvas->PicturesChanged();
    draw();
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(at(pixels, inside, c), (kPicture[c] + at(off, inside, c)) / 2.0, 8) << c;
    EXPECT_EQ(canvas->PicturesLaid(), 1u);
    EXPECT_EQ(canvas->PictureTexturesMade(), 1);

    ShowPictures(frame, false);
    draw();
    EXPECT_EQ(pixels, off);
    EXPECT_EQ(canvas->PicturesLaid(), 0u);
    frame->Destroy();
    PumpEvents();
}

TEST(View3DPictureTest, MainFramesPictureChangesReachTheWindow) {
    UseTestHome();
    TempDir dir;
    auto* frame = new MainFrame();
    frame->Show();
    frame->Document().EnsureDefaultLevel();
    frame->AfterStartup();
    wxCommandEvent open(wxEVT_MENU, kCmd3DView);
    frame->GetEventHandler()->ProcessEvent(open);
    ASSERT_NE(frame->View3D(), nullptr);
    TrackGLCanvas* canvas = frame->View3D()->Canvas();
    ASSERT_TRUE(PumpUntil([&] { return canvas->IsShownOnScreen(); }));
    auto add = [&] {
        ASSERT_TRUE(AddPicture(frame->Document(), PictureIn(dir, 0.5)));
        frame->NotifyChanged(DocChange::Pictures);
        PumpEvents();  // the frame hands changes on after the event
        ASSERT_TRUE(canvas->RenderFrame());
    };
    add();  // with the option off nothing is laid
    EXPECT_EQ(canvas->PicturesLaid(), 0u);
    ShowPictures(frame->View3D(), true);
    EXPECT_EQ(canvas->PicturesLaid(), 1u);
    add();
    EXPECT_EQ(canvas->PicturesLaid(), 2u);
    EXPECT_EQ(canvas->PictureTexturesMade(), 1);  // one file, one texture
    frame->Destroy();
    PumpEvents();
}
