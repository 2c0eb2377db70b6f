// Pixel tests of the layout drawing: pieces, levels, tunnels, baseboard, grid, rulers, overlays.
#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include <cstdlib>
#include <set>

#include "canvas/RouteLines.h"
#include "canvas/gui/LayoutRenderer.h"
#include "catalog/TrackCatalog.h"
#include "support/DocBuilders.h"
#include "trackgeometry/PieceGeometry.h"

namespace {

// Draws into a white 24-bit bitmap and reads pixels back.
class Canvas {
public:
    Canvas(int w, int h) : bitmap(w, h, 24) {}
    template <class F>
    void Draw(F&& f) {
        wxMemoryDC dc(bitmap);
        f(dc);
        dc.SelectObject(wxNullBitmap);
        image = bitmap.ConvertToImage();
    }
    Rgb At(int x, int y) const {
        return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
    }
    void Layout(const LayoutDocument& doc, const ViewTransform& view) {
        Draw([&](wxDC& dc) { DrawLayout(dc, doc, view, Size()); });
    }
    // Overlays alone, on white.
    void Overlays(const LayoutDocument& doc, const CanvasOverlays& o, const ViewTransform& view) {
        Draw([&](wxDC& dc) {
            dc.SetBackground(*wxWHITE_BRUSH);
            dc.Clear();
            DrawOverlays(dc, doc, o, view);
        });
    }
    wxSize Size() const { return bitmap.GetSize(); }

private:
    wxBitmap bitmap;
    wxImage image;
};

bool Near(Rgb a, Rgb b, int tol = 2) {
    return std::abs(a.r - b.r) <= tol && std::abs(a.g - b.g) <= tol && std::abs(a.b - b.b) <= tol;
}

std::string Str(Rgb c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) +
           ")";
}

#define EXPECT_PIXEL(canvas, x, y, colour)                                                  \
    EXPECT_TRUE(Near((canvas).At(x, y), colour))                                            \
        << "pixel (" << (x) << ", " << (y) << ") is " << Str((canvas).At(x, y)) << ", not " \
        << Str(colour)

constexpr Rgb kWhite{255, 255, 255};

// One level, no grid, and labels as asked.
LayoutDocument PlainDoc(bool labels = false) {
    LayoutDocument doc;
    doc.levels = {DefaultLevel()};
    doc.gridShown = false;
    doc.labelsShown = labels;
    return doc;
}

}  // namespace

// One straight from (100, 100) along +x at zoom 1: its middle is pixel (194, 100).
TEST(PieceDrawing, BandDotsAndLabels) {
    LayoutDocument doc = PlainDoc();
    const uint32_t id = LayPiece(doc, 100, 100);
    auto piece = [&]() -> PlacedPiece& { return *doc.FindPiece(id); };
    ViewTransform view{1, 0, 0};
    Canvas canvas{400, 300};
    auto draw = [&] { canvas.Layout(doc, view); };
    {
        SCOPED_TRACE("the band has the default fill along its length");
        draw();
        EXPECT_PIXEL(canvas, 194, 100, (Rgb{210, 210, 205}));
        EXPECT_PIXEL(canvas, 194, 125, kWhite);  // beyond the 18.7 mm half-width
    }
    {
        SCOPED_TRACE("the article label shows as ink at the middle");
        doc.labelsShown = true;
        view.zoom = 1.5;
        draw();
        int dark = 0;  // the "24188" text around the middle (291, 150) at zoom 1.5
        for (int y = 140; y < 160; ++y)
            for (int x = 260; x < 325; ++x)
                dark += canvas.At(x, y).r < 120 && canvas.At(x, y).g < 120;
        EXPECT_GT(dark, 20);
    }
    {
        SCOPED_TRACE("connector dots only from zoom 0.2 with labels shown");
        const uint32_t other = LayPiece(doc, 288.3, 100);
        piece().joints[1] = {other, 0};
        doc.FindPiece(other)->joints[0] = {id, 1};
        view.zoom = 1;
        draw();
        EXPECT_PIXEL(canvas, 100, 100, (Rgb{255, 140, 0}));  // open end
        EXPECT_PIXEL(canvas, 288, 100, (Rgb{60, 180, 60}));  // joined ends
        view.zoom = 0.19;  // the dots are gone: the open end shows track
        draw();
        EXPECT_FALSE(Near(canvas.At(19, 19), Rgb{255, 140, 0}, 40)) << Str(canvas.At(19, 19));
    }
}

TEST(LayoutDrawing, BaseboardDeckAndDimensionLabels) {
    LayoutDocument doc = PlainDoc(true);
    doc.baseboard = {{0, 0}, {300, 0}, {300, 200}, {0, 200}};
    doc.levels[0].outline = {{150, 100}, {280, 100}, {280, 180}, {150, 180}};
    ViewTransform view{1, 50, 50};
    Canvas canvas(400, 300);
    canvas.Layout(doc, view);
    EXPECT_PIXEL(canvas, 100, 100, (Rgb{245, 235, 210}));  // baseboard
    EXPECT_PIXEL(canvas, 250, 190, (Rgb{235, 220, 190}));  // deck
    // The top edge's dimension box sits 12 mm above the edge, centred at x = 200.
    EXPECT_PIXEL(canvas, 170, 38, (Rgb{255, 248, 220}));
    doc.baseboardShown = false;
    canvas.Layout(doc, view);
    EXPECT_PIXEL(canvas, 100, 100, kWhite);
}

TEST(LayoutDrawing, GridLinesOriginCrossAndRulersWithOriginMarks) {
    LayoutDocument doc;
    ViewTransform view;  // zoom 0.4, offsets 60: lines every 12.8 px
    Canvas canvas(300, 200);
    canvas.Layout(doc, view);
    // A line at x = 85 (60 + 2 × 12.8 = 85.6).
    EXPECT_PIXEL(canvas, 85, 30, (Rgb{220, 220, 215}));
    EXPECT_PIXEL(canvas, 90, 30, kWhite);
    EXPECT_PIXEL(canvas, 66, 60, (Rgb{180, 180, 220}));  // origin cross at (60, 60), 10 px long
    doc.gridShown = false;
    canvas.Layout(doc, view);
    EXPECT_PIXEL(canvas, 85, 30, kWhite);
    EXPECT_PIXEL(canvas, 66, 60, kWhite);
    canvas.Draw([&](wxDC& dc) {
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        DrawRulers(dc, 0, view, canvas.Size());
    });
    EXPECT_PIXEL(canvas, 100, 8, (Rgb{240, 240, 240}));
    EXPECT_PIXEL(canvas, 100, 30, kWhite);
    EXPECT_PIXEL(canvas, 60, 10, (Rgb{200, 80, 80}));     // origin mark on the top ruler
    EXPECT_PIXEL(canvas, 140, 17, (Rgb{140, 140, 140}));  // tick at 200 mm
}

TEST(LayoutDrawing, SceneryAndSelectedScenery) {
    LayoutDocument doc = PlainDoc(true);
    doc.scenery.push_back({1, "platform", 200, 150});
    ViewTransform view{1, 0, 0};
    Canvas canvas(400, 300);
    canvas.Layout(doc, view);
    EXPECT_PIXEL(canvas, 185, 140, (Rgb{180, 175, 170}));  // the body, away from the stripes
    doc.scenery[0].selected = true;
    canvas.Draw([&](wxDC& dc) {
        DrawLayout(dc, doc, view, canvas.Size());
        DrawResizeHandles(dc, doc, view);
    });
    // Corner handle 0 at (85, 120): a white square inside a blue frame.
    EXPECT_PIXEL(canvas, 85, 120, kWhite);
    const Rgb frame = canvas.At(81, 120);
    EXPECT_TRUE(frame.b > frame.r + 60) << Str(frame);
}

TEST(Overlays, GhostSnapTargetBandTapeAndRotationReadOut) {
    LayoutDocument doc;
    ViewTransform view{1, 0, 0};
    Canvas canvas(400, 300);
    CanvasOverlays o;
    o.pieceGhost = o.snapTarget = o.rubberBand = true;
    o.ghostArticle = "24188";
    o.ghostX = o.snapX = 50;
    o.ghostY = o.snapY = 100;
    o.bandX0 = 300;
    o.bandY0 = 200;
    o.bandX1 = 380;
    o.bandY1 = 280;
    canvas.Overlays(doc, o, view);
    EXPECT_PIXEL(canvas, 144, 100, (Rgb{200, 225, 200}));  // ghost middle
    EXPECT_PIXEL(canvas, 50, 100, (Rgb{255, 220, 0}));     // snap target over the ghost's end
    int blue = 0;
    for (int x = 300; x <= 380; ++x) blue += canvas.At(x, 200).b > 150 && canvas.At(x, 200).r < 100;
    EXPECT_GT(blue, 10);  // dotted top edge

    o = CanvasOverlays{};
    o.tape = o.rotation = o.rotationFlash = true;
    o.tapeX = 20;
    o.tapeMouseX = 220;
    o.tapeY = o.tapeMouseY = 250;
    o.pivotX = 100;
    o.pivotY = 60;
    o.rotationHeading = 45;
    canvas.Overlays(doc, o, view);
    EXPECT_PIXEL(canvas, 20, 250, (Rgb{40, 80, 200}));  // tape start dot
    // Inside the length box: (255, 248, 220) at alpha 235 over white.
    EXPECT_PIXEL(canvas, 232, 250, (Rgb{255, 249, 223}));
    const Rgb flash = canvas.At(100, 50);  // a green disc of radius 16 around the pivot
    EXPECT_TRUE(flash.g > 180 && flash.r < 120) << Str(flash);
    o.rotationFlash = false;
    canvas.Overlays(doc, o, view);
    EXPECT_PIXEL(canvas, 100, 50, kWhite);  // the plain marker has radius 8
}

namespace {

// A Z bumper alone at zoom 2, with labels shown: (100, 100) along +x, its 15 mm ending at pixel
// 230; its one connector (and joint dot) at pixel 200.
// Its article used to run past both ends under the joint dots; its end looked like plain track.
TEST(TidyPieces, ZBumperShowsItsStopBarAndNoLabelRunningUnderTheDots) {
    LayoutDocument doc = PlainDoc(true);
    LayPiece(doc, 100, 100, 1, "8991");
    ViewTransform view{2, 0, 0};
    Canvas canvas(300, 220);
    canvas.Layout(doc, view);
    // The stop bar in the last millimetres of the piece (its shape is the piece geometry's own).
    EXPECT_PIXEL(canvas, 228, 200, kStopBarFill);
    // No letter ink beyond the piece's ends, where a label too wide for it used to run.
    int ink = 0;
    for (int y = 185; y < 215; ++y) {
        for (int x = 150; x < 194; ++x) ink += canvas.At(x, y) != kWhite;
        for (int x = 234; x < 300; ++x) ink += canvas.At(x, y) != kWhite;
    }
    EXPECT_EQ(ink, 0);
}

}  // namespace

// At an overview a piece is a line along each of its routes in its band's line colour, and
// nothing else of it is drawn: no outline, bridge arc, label or dot.
TEST(LevelOfDetail, PiecesShowAsTheirRouteLinesOnly) {
    LayoutDocument doc = PlainDoc(true);  // labels and dots would show if drawn in full
    doc.FindPiece(LayPiece(doc, 400, 400, 1, "74636"))->elevation = 80;  // a raised bridge
    doc.FindPiece(LayPiece(doc, 400, 800, 1, "24612"))->selected = true;
    const ViewTransform view{0.025, 0, 0};
    std::set<std::tuple<int, int, int>> lineColours;
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef& def = *TrackCatalog::Instance().Find(p.article);
        ASSERT_TRUE(DrawnAsRouteLines(def, view.zoom)) << p.article;
        PieceLook look;
        look.selected = p.selected;
        look.level = &doc.levels[0];
        const PieceColours c = PieceColoursFor(p, def, look);
        const Rgb line = ThinBandColour(c.fill, c.outline, p.selected);
        lineColours.insert({line.r, line.g, line.b});
    }
    ASSERT_EQ(lineColours.size(), 2u);
    Canvas canvas(40, 40);
    canvas.Layout(doc, view);
    int ink = 0;
    for (int y = 0; y < canvas.Size().y; ++y)
        for (int x = 0; x < canvas.Size().x; ++x) {
            const Rgb c = canvas.At(x, y);
            if (c == kWhite) continue;
            ++ink;
            EXPECT_TRUE(lineColours.count({c.r, c.g, c.b}))
                << "pixel (" << x << ", " << y << ") is " << Str(c);
        }
    EXPECT_GT(ink, 10);
}
