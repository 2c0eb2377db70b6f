// The printout drawn into bitmaps: placement, grid and level options, grayscale, multi-page
// tiles with their page marks.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include "canvas/LayoutGeometry.h"
#include "canvas/ViewTransform.h"
#include "dialogs/gui/LayoutPrintout.h"
#include "support/FrameFixture.h"

namespace {

constexpr int kW = 1000, kH = 800;
const wxColour kWhite(255, 255, 255);
const wxColour kPieceFill(210, 210, 205);
const wxColour kBoardFill(245, 235, 210);

class PrintoutTest : public testing::Test {
protected:
    void SetUp() override {
        doc.EnsureDefaultLevel();
        doc.levels.push_back(NamedLevel(2, "Two", true));
        doc.labelsShown = false;
        doc.baseboard = {{0, 0}, {2000, 0}, {2000, 1000}, {0, 1000}};
    }
    // The page at w x h printer pixels, drawn `shown` times its size as a print preview does.
    wxImage PrintPage(LayoutPrintout& printout, int page, int w = kW, int h = kH,
                      double shown = 1) {
        wxBitmap bitmap(int(w * shown), int(h * shown), 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetUserScale(shown, shown);
            printout.SetDC(&dc);
            printout.SetPageSizePixels(w, h);
            printout.SetPaperRectPixels(wxRect(0, 0, w, h));
            printout.SetPPIPrinter(dpi, dpi);
            if (page == 1) printout.OnPreparePrinting();
            EXPECT_TRUE(printout.OnPrintPage(page));
            printout.SetDC(nullptr);
        }
        return bitmap.ConvertToImage();
    }
    static int CountDiffering(const wxImage& image, wxRect area, const wxColour& from) {
        int n = 0;
        for (int y = area.y; y < area.GetBottom(); ++y)
            for (int x = area.x; x < area.GetRight(); ++x) n += PixelAt(image, x, y) != from;
        return n;
    }

    LayoutDocument doc;
    // A screen's resolution: these pages are a few inches wide, and text and pens keep the size
    // they have on screen. The tests of paper resolution set their own.
    int dpi = 96;
};

// The grid, level and board options change the paper only, never what the canvas shows.
TEST_F(PrintoutTest, OptionsChangeThePaperButNotTheScreen) {
    LayPiece(doc, 1000, 200, 1);
    LayPiece(doc, 1000, 800, 2);
    LayPiece(doc, 0, 0, 1);
    LayPiece(doc, 1811.7, 1000, 1);  // with the one before, spans the board
    doc.levels[0].visible = false;   // hidden on screen, but it is the active level
    doc.gridShown = true;
    const wxRect inside(60, 200, 300, 100);
    PrintOptions options;
    const auto at = [](const wxImage& image, LayoutPrintout& printout, double x, double y) {
        const PageTransform t = PageTransformFor(printout.Pages(), 1);
        return PixelAt(image, int(x * t.scale + t.offsetX), int(y * t.scale + t.offsetY));
    };
    LayoutPrintout active(doc, options);
    wxImage page = PrintPage(active, 1);
    EXPECT_EQ(at(page, active, 1020, 200), kPieceFill);
    EXPECT_EQ(at(page, active, 1020, 800), kBoardFill) << "only the active level";
    // A ticked grid prints (LabelsAndGridKeepTheirSizeAt300Dpi).
    EXPECT_EQ(CountDiffering(page, inside, kBoardFill), 0) << "no grid unless ticked";

    options.levels = 1;
    options.baseboard = false;
    LayoutPrintout all(doc, options);
    page = PrintPage(all, 1);
    EXPECT_EQ(at(page, all, 1020, 200), kPieceFill);
    EXPECT_EQ(at(page, all, 1020, 800), kPieceFill);
    EXPECT_EQ(at(page, all, 200, 200), kWhite) << "no board";
    EXPECT_FALSE(doc.levels[0].visible);
    EXPECT_TRUE(doc.levels[1].visible);
    EXPECT_TRUE(doc.baseboardShown);
}

// The grey page is the colour page in grey. A preview shows the printer's page far smaller than
// its dots: there the grey page is drawn at the preview's size, not as a picture of every printer
// dot (hundreds of megabytes at 1200 dpi).
TEST_F(PrintoutTest, GreyIsTheColourPageInGreyAndAPreviewDrawsItAtItsOwnSize) {
    EXPECT_DOUBLE_EQ(GreyPageScale(800, 600, 1.0), 1.0);
    EXPECT_DOUBLE_EQ(GreyPageScale(9921, 14032, 0.1), 0.1);
    EXPECT_LE(GreyPageScale(9921, 14032, 1.0) * GreyPageScale(9921, 14032, 1.0) * 9921 * 14032,
              kMaxGreyPagePixels * 1.0001);
    LayPiece(doc, 1000, 500, 1);
    const struct {
        int dpi, w, h;
        double shown;
    } cases[] = {{96, kW, kH, 1}, {600, 6000, 8000, 0.1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        dpi = c.dpi;
        PrintOptions options;
        LayoutPrintout colour(doc, options);
        const wxImage coloured = PrintPage(colour, 1, c.w, c.h, c.shown);
        options.colourMode = 1;
        LayoutPrintout grey(doc, options);
        const wxImage page = PrintPage(grey, 1, c.w, c.h, c.shown);
        int inked = 0, missed = 0;
        for (int y = 0; y < page.GetHeight(); y += 3)
            for (int x = 0; x < page.GetWidth(); x += 3) {
                const wxColour g = PixelAt(page, x, y), source = PixelAt(coloured, x, y);
                ASSERT_TRUE(g.Red() == g.Green() && g.Green() == g.Blue()) << x << "," << y;
                const double luma =
                    0.299 * source.Red() + 0.587 * source.Green() + 0.114 * source.Blue();
                if (c.shown == 1) {
                    EXPECT_NEAR(g.Red(), luma, 2.0) << x << "," << y;
                }
                const bool ink = g != kWhite;
                inked += ink;
                missed += (source != kWhite) != ink;
            }
        EXPECT_GT(inked, 200);
        EXPECT_LT(missed, inked / 10) << "the grey page lies where the colour page does";
    }
}

// Straights along y = 150 mm at 1:1 on 600 × 700-pixel pages at 100 dpi: tiles of 552 × 644
// pixels, 140.2 mm × 163.6 mm; the track crosses the seam between the first two columns.
TEST_F(PrintoutTest, FullSizePagesTileTheLayoutWithMarksInTheMargins) {
    doc.baseboard = {{0, 0}, {400, 0}, {400, 300}, {0, 300}};
    LayPiece(doc, 20, 150, 1);
    LayPiece(doc, 208.3, 150, 1);
    dpi = 100;
    const PrintOptions options{.scaling = 1, .scaleDenominator = 1};
    LayoutPrintout printout(doc, options);
    const int w = 600, h = 700;
    const wxImage first = PrintPage(printout, 1, w, h);
    const PrintPages& pages = printout.Pages();
    // The board with its dimension labels 12 mm outside: 424 mm = 1669 px over 552-pixel tiles,
    // 324 mm = 1275 px over 644-pixel rows.
    ASSERT_EQ(pages.columns, 4);
    ASSERT_EQ(pages.rows, 2);
    const wxImage second = PrintPage(printout, 2, w, h);
    const PageTransform t1 = PageTransformFor(pages, 1);
    // The track row: y = 150 mm on page row 1.
    const int trackY = static_cast<int>(150 * t1.scale + t1.offsetY);
    const int seam = t1.marginX + t1.areaW;
    EXPECT_EQ(PixelAt(first, seam - 2, trackY), kPieceFill);
    EXPECT_EQ(PixelAt(second, t1.marginX + 1, trackY), kPieceFill);
    // The tile corners carry their marks (where: PageCornerMarks).
    EXPECT_EQ(PixelAt(second, seam, t1.marginY + t1.areaH + t1.marginY / 4), wxColour(0, 0, 0));
    // Each tile ends at its edges: the second row does not cover its own header, where its page
    // mark stands, with the first row's board.
    const wxImage below = PrintPage(printout, pages.columns + 1, w, h);
    EXPECT_GT(CountDiffering(below, wxRect(t1.marginX, 0, t1.areaW, t1.marginY), kWhite), 20);
    int board = 0;
    for (int y = 0; y < t1.marginY; ++y)
        for (int x = 0; x < w; ++x) board += PixelAt(below, x, y) == kBoardFill;
    EXPECT_EQ(board, 0);
}

// Text and the grid at a printer's resolution: a label comes out as tall as a
// screen shows it at the print's scale, not a few printer dots.
TEST_F(PrintoutTest, LabelsAndGridKeepTheirSizeAt300Dpi) {
    doc.baseboard = {{0, 0}, {400, 0}, {400, 300}, {0, 300}};
    doc.labels.push_back(Label{.id = doc.TakeId(), .text = "HH", .x = 100, .y = 100});
    doc.gridShown = true;
    dpi = 300;
    const PrintOptions options{.scaling = 1, .scaleDenominator = 5, .grid = true};
    LayoutPrintout printout(doc, options);
    const int w = 1400, h = 1100;
    const wxImage page = PrintPage(printout, 1, w, h);
    ASSERT_EQ(printout.Pages().Count(), 1);
    const PageTransform t = PageTransformFor(printout.Pages(), 1);
    const double pixelScale = printout.Pages().PixelScale();
    // The label's ink: dark rows below its corner.
    const int lx = static_cast<int>(100 * t.scale + t.offsetX);
    const int ly = static_cast<int>(100 * t.scale + t.offsetY);
    int top = -1, bottom = -1;
    for (int y = ly; y < std::min(h, ly + 200); ++y)
        for (int x = lx; x < std::min(w, lx + 300); ++x)
            if (PixelAt(page, x, y).Red() < 100) {
                if (top < 0) top = y;
                bottom = y;
            }
    ASSERT_GE(top, 0) << "no label text found";
    // 1 : 5 at 300 dpi shows as zoom 0.76 on a screen: 8-point labels, 33 dots high on paper.
    const int em = FontPixelHeight(LabelPointSize(t.scale / pixelScale), pixelScale);
    EXPECT_GE(em, 30);
    // Capitals stand about 0.7 of the font's height.
    EXPECT_GE(bottom - top + 1, em * 6 / 10) << "em " << em;
    EXPECT_LE(bottom - top + 1, em);

    // The grid lies evenly at the print's scale.
    const int y = static_cast<int>(60 * t.scale + t.offsetY) + 3;  // clear of the edges' labels
    const int boardGrey =
        PixelAt(page, static_cast<int>(20 * t.scale + t.offsetX) + 2, y + 1).Red();
    std::vector<int> starts;
    for (int x = static_cast<int>(10 * t.scale + t.offsetX);
         x < static_cast<int>(390 * t.scale + t.offsetX); ++x) {
        const bool line = PixelAt(page, x, y).Red() < boardGrey - 20;
        const bool before = PixelAt(page, x - 1, y).Red() < boardGrey - 20;
        if (line && !before) starts.push_back(x);
    }
    const double spacing = doc.gridSpacing * t.scale;
    ASSERT_GE(starts.size(), 8u) << "board grey " << boardGrey;
    for (size_t i = 1; i < starts.size(); ++i)
        EXPECT_NEAR(starts[i] - starts[i - 1], spacing, 1.0) << i;
}

}  // namespace
