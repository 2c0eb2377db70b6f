// Background pictures in the real main window: added through the dialog, calibrated by two
// clicks on the canvas and a typed distance, locked, drawn under the track at their opacity
// from a copy scaled once per zoom.
#include <cairo-pdf.h>
#include <cairo.h>
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/textdlg.h>

#include <cmath>
#include <cstdlib>

#include "app/gui/MainFrameDialogs.h"
#include "canvas/gui/PictureLayer.h"
#include "dialogs/PrintPlan.h"
#include "dialogs/gui/BackgroundPicturesDialog.h"
#include "dialogs/gui/LayoutPrintout.h"
#include "persistence/LayoutFile.h"
#include "support/FrameFixture.h"

namespace {

constexpr unsigned char kBlue[3] = {20, 60, 230};

const wxColour kBlueColour(kBlue[0], kBlue[1], kBlue[2]);

class PictureWindow : public FrameTest {
protected:
    std::string png;

    void SetUp() override {
        OpenFrame(wxSize(1500, 950));
        Doc().gridShown = false;
        canvas->SetTransform(ViewTransform{1.0, 0.0, 0.0});
        wxImage image(400, 300);
        image.SetRGB(wxRect(0, 0, 400, 300), kBlue[0], kBlue[1], kBlue[2]);
        png = home.File("room plan.png");
        ASSERT_TRUE(image.SaveFile(png, wxBITMAP_TYPE_PNG));
        PumpEvents();
    }

    // Opens Layout > Background Pictures... and lets `work` use the dialog; it answers the code
    // the dialog is closed with.
    void InDialog(const std::function<int(BackgroundPicturesDialog&)>& work) {
        ModalAnswerer answer([&](wxDialog* d) {
            auto* pictures = dynamic_cast<BackgroundPicturesDialog*>(d);
            return pictures ? work(*pictures) : wxID_OK;
        });
        Command(kCmdBackgroundPictures);
    }
    const BackgroundPicture& Picture() { return Doc().pictures.at(0); }
};

TEST_F(PictureWindow, CalibratedByTwoClicksLockedAndDrawnUnderTheTrack) {
    InDialog([&](BackgroundPicturesDialog& d) {
        EXPECT_FALSE(d.AddPictureFile(home.File("nothing.png")));
        EXPECT_TRUE(d.AddPictureFile(png));
        d.SetOpacityPercent(40);
        return BackgroundPicturesDialog::kCalibrate;
    });
    ASSERT_EQ(Doc().pictures.size(), 1u);
    EXPECT_TRUE(Status().Contains("first point")) << Status();
    const BackgroundPicture before = Picture();
    const double width = PictureImages::Shared().Get(before.path)->Width();
    ASSERT_EQ(width, 400);
    const wxSize client = canvas->GetClientSize();
    ASSERT_GE(client.x, 600);
    ASSERT_GE(client.y, 450);
    const int ax = client.x * 3 / 10, ay = client.y * 4 / 10, bx = ax + 200, by = ay + 150;

    Click(ax, ay);
    EXPECT_TRUE(Status().Contains("second point")) << Status();
    {
        ModalAnswerer distance([](wxDialog* d) {
            if (auto* entry = dynamic_cast<wxTextEntryDialog*>(d)) entry->SetValue("306,25");
            return wxID_OK;
        });
        Click(bx, by);
        PumpUntil([&] { return distance.Count() > 0; });
        PumpEvents();
    }
    const PointMm a = LayoutToPicture(before, width, {double(ax), double(ay)});
    const PointMm b = LayoutToPicture(before, width, {double(bx), double(by)});
    const PointMm la = PictureToLayout(Picture(), width, a);
    const PointMm lb = PictureToLayout(Picture(), width, b);
    EXPECT_NEAR(std::hypot(lb.x - la.x, lb.y - la.y), 306.25, 0.1);

    // Escape in the middle of the next calibration changes nothing, and the canvas edits again.
    InDialog([](BackgroundPicturesDialog& d) {
        d.ToggleLocked();
        return BackgroundPicturesDialog::kCalibrate;
    });
    const BackgroundPicture locked = Picture();
    ASSERT_TRUE(locked.locked);
    Click(ax, ay);
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    escape.SetEventObject(canvas);
    frame->GetEventHandler()->ProcessEvent(escape);
    PumpEvents();
    EXPECT_TRUE(Status().Contains("cancelled")) << Status();
    EXPECT_EQ(Picture(), locked);

    // A piece laid over the locked picture leaves it where it was.
    const PointMm middle = PictureToLayout(locked, width, {200, 150});
    const int mx = static_cast<int>(middle.x), my = static_cast<int>(middle.y);
    canvas->BeginPieceDrag("24188");
    Mouse(wxEVT_MOTION, mx, my);
    Mouse(wxEVT_LEFT_DOWN, mx, my);
    Mouse(wxEVT_LEFT_UP, mx, my);
    PumpEvents();
    ASSERT_EQ(Doc().pieces.size(), 1u);
    EXPECT_EQ(Picture(), locked);

    // The picture shows at 40 % over white where there is no track, and the track covers it.
    const wxImage shown = Painted();
    const PointMm inside = PictureToLayout(locked, width, {20, 150});
    const int px = static_cast<int>(inside.x), py = static_cast<int>(inside.y);
    const unsigned char got[3] = {shown.GetRed(px, py), shown.GetGreen(px, py),
                                  shown.GetBlue(px, py)};
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(got[c], std::lround(255 * 0.6 + kBlue[c] * 0.4), 3) << "channel " << c;
    InDialog([](BackgroundPicturesDialog& d) {
        d.ToggleShown();
        return BackgroundPicturesDialog::kClosed;
    });
    const wxImage hidden = Painted();
    // The track covers the picture: the middle of the piece looks the same with the picture under
    // it (at zoom 1 without panning, window pixels are millimetres).
    const PlacedPiece& laid = Doc().pieces.at(0);
    const int tx = static_cast<int>(laid.x + 94), ty = static_cast<int>(laid.y);
    EXPECT_NE(PixelAt(hidden, tx, ty), *wxWHITE);
    EXPECT_EQ(PixelAt(shown, tx, ty), PixelAt(hidden, tx, ty));
    EXPECT_EQ(PixelAt(hidden, px, py), *wxWHITE);
}

TEST_F(PictureWindow, MissingPictureFileOpensWithAMessageAndKeepsItsEntry) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    const BackgroundPicture gone{.path = home.File("gone/plan.png")};
    doc.pictures = {gone};
    const std::string layout = home.File("with picture.xml");
    ASSERT_EQ(SaveLayout(doc, layout, "With picture"), "");
    ModalAnswerer answer(wxID_OK);
    ASSERT_TRUE(frame->OpenLayoutPath(wxString::FromUTF8(layout)));
    ASSERT_EQ(answer.Count(), 1);
    EXPECT_TRUE(answer.Dialogs()[0].message.Contains(wxString::FromUTF8(gone.path)));
    EXPECT_EQ(Doc().pictures, doc.pictures);
    Painted();  // draws without it
}

// Printing draws the pictures only when the options include them.
TEST_F(PictureWindow, PrintsPicturesOnlyWhenIncluded) {
    LayoutDocument& doc = Doc();
    doc.pictures = {BackgroundPicture{.path = png, .widthMm = 1000, .opacity = 1}};
    PrintOptions options;
    const PrintBounds bounds = ComputePrintBounds(doc, options, doc.activeLevel);
    const PrintPages pages = Paginate(bounds, options, 800, 1100, 100);
    const PageTransform t = PageTransformFor(pages, 1);
    const int x = static_cast<int>(500 * t.scale + t.offsetX);
    const int y = static_cast<int>(375 * t.scale + t.offsetY);
    for (bool included : {false, true}) {
        options.pictures = included;
        wxBitmap bitmap(800, 1100, 24);
        {
            wxMemoryDC dc(bitmap);
            DrawPrintPage(dc, doc, options, doc.activeLevel, pages, 1);
        }
        EXPECT_EQ(PixelAt(bitmap.ConvertToImage(), x, y), included ? kBlueColour : *wxWHITE);
    }
}

}  // namespace

TEST_F(PictureWindow, DraggedUnlessLockedAlignedByFourClicksAndDrawnFromAKeptCopy) {
    // At zoom 1 it covers window pixels 100..500 by 100..400.
    Doc().pictures.push_back(
        BackgroundPicture{.path = png, .xMm = 100, .yMm = 100, .widthMm = 400, .opacity = 1});
    frame->NotifyChanged(DocChange::Pictures);
    const auto drag = [&](int x0, int y0, int x1, int y1) {
        Mouse(wxEVT_LEFT_DOWN, x0, y0);
        Mouse(wxEVT_MOTION, x1, y1, true);
        Mouse(wxEVT_LEFT_UP, x1, y1);
        PumpEvents();
    };
    drag(200, 200, 260, 230);
    EXPECT_DOUBLE_EQ(Picture().xMm, 160);
    EXPECT_DOUBLE_EQ(Picture().yMm, 130);
    EXPECT_FALSE(canvas->HasCapture());
    const wxImage moved = Painted();  // drawn where it went: (530, 420) is only in the new place
    EXPECT_EQ(PixelAt(moved, 530, 420), kBlueColour);
    Doc().Undo();

    Doc().pictures[0].locked = true;
    drag(200, 200, 260, 230);
    EXPECT_DOUBLE_EQ(Picture().xMm, 100);
    EXPECT_DOUBLE_EQ(Picture().yMm, 100);

    SCOPED_TRACE("aligned by four clicks: two points of the picture, each where it belongs");
    InDialog([&](BackgroundPicturesDialog& d) {
        d.ToggleLocked();
        return BackgroundPicturesDialog::kAlign;
    });
    const BackgroundPicture before = Picture();
    const wxPoint clicks[4] = {{150, 160}, {60, 300}, {400, 260}, {350, 90}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(Status().Contains(i % 2 ? "layout point" : "on the picture")) << Status();
        Click(clicks[i].x, clicks[i].y);
    }
    PumpUntil([&] { return !(Picture() == before); });
    const PointMm pixel = LayoutToPicture(before, 400, {double(clicks[2].x), double(clicks[2].y)});
    const PointMm now = PictureToLayout(Picture(), 400, pixel);
    EXPECT_NEAR(now.x, clicks[3].x, 0.1);
    EXPECT_NEAR(now.y, clicks[3].y, 0.1);
    EXPECT_TRUE(Status().Contains("aligned")) << Status();

    SCOPED_TRACE("repaints and small pans draw the kept copy; a new zoom makes one more");
    Painted();
    const int made = canvas->Pictures().CopiesMade();
    EXPECT_GE(made, 1);
    for (int i = 0; i < 5; ++i) {
        ViewTransform view = canvas->Transform();
        view.offsetX += 7;
        view.offsetY -= 3;
        canvas->SetTransform(view);
        Painted();
    }
    EXPECT_EQ(canvas->Pictures().CopiesMade(), made);
    ViewTransform zoomed = canvas->Transform();
    zoomed.zoom = 1.5;
    canvas->SetTransform(zoomed);
    Painted();
    EXPECT_EQ(canvas->Pictures().CopiesMade(), made + 1);
}

// A PDF is added as its first page: two pages, red then green, each twice as wide as high.
TEST_F(PictureWindow, APdfIsAddedAsItsFirstPage) {
    const std::string pdf = home.File("plan.pdf");
    cairo_surface_t* surface = cairo_pdf_surface_create(pdf.c_str(), 200, 100);
    cairo_t* cr = cairo_create(surface);
    for (const double green : {0.0, 1.0}) {
        cairo_set_source_rgb(cr, 1 - green, green, 0);
        cairo_paint(cr);
        cairo_show_page(cr);
    }
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const cairo_status_t written = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    ASSERT_EQ(written, CAIRO_STATUS_SUCCESS);

    InDialog([&](BackgroundPicturesDialog& d) {
        EXPECT_TRUE(d.AddPictureFile(pdf));
        return BackgroundPicturesDialog::kClosed;
    });
    ASSERT_EQ(Doc().pictures.size(), 1u);
    const auto image = PictureImages::Shared().Get(Picture().path);
    ASSERT_TRUE(image && image->Ok()) << (image ? image->error : wxString());
    const wxImage& page = image->image;
    EXPECT_NEAR(static_cast<double>(page.GetWidth()) / page.GetHeight(), 2.0, 0.01);
    const int x = page.GetWidth() / 2, y = page.GetHeight() / 2;
    EXPECT_GT(page.GetRed(x, y), 200);
    EXPECT_LT(page.GetGreen(x, y), 50);
}
