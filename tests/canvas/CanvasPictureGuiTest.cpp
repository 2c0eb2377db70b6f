// The canvas's kept picture: after every motion of a palette drag, a selection move and a rubber
// band, the picture the window shows equals a full repaint of the same state,
// pixel for pixel, at three zooms with labels on and off.
#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include <algorithm>
#include <cstring>

#include "SampleLayouts.h"
#include "canvas/gui/LayoutRenderer.h"
#include "catalog/TrackCatalog.h"
#include "support/FrameFixture.h"

namespace {

struct ViewCase {
    double zoom;
    bool labels;
};

class CanvasPicture : public testing::TestWithParam<ViewCase>, public FrameFixture {
protected:
    void SetUp() override {
        OpenFrame(wxSize(1100, 800));
        LayoutDocument& doc = Doc();
        doc = SampleMixed(400);
        doc.labelsShown = GetParam().labels;
        for (PlacedPiece& p : doc.pieces) p.selected = false;
        // Centre the view on the middle of the rows at the case's zoom.
        ViewTransform view;
        view.zoom = GetParam().zoom;
        const wxSize size = canvas->GetClientSize();
        view.offsetX = size.x / 2.0 - 3000 * view.zoom + 0.37;
        view.offsetY = size.y / 2.0 - 800 * view.zoom + 0.61;
        canvas->SetTransform(view);
        PumpEvents();
    }
    void TearDown() override { CloseFrame(); }

    // A full repaint of the present state: the canvas's own paint and the plain drawing the
    // printout uses (every object visited, nothing kept).
    wxImage FullRepaint(bool plain) {
        if (!plain) return Painted();
        const wxSize size = canvas->GetClientSize();
        wxBitmap bitmap(size, 24);
        {
            wxMemoryDC dc(bitmap);
            const LayoutDocument& doc = Doc();
            DrawLayout(dc, doc, canvas->Transform(), size);
            DrawRulers(dc, doc.units, canvas->Transform(), size);
            DrawResizeHandles(dc, doc, canvas->Transform());
            DrawOverlays(dc, doc, canvas->Overlays(), canvas->Transform());
        }
        return bitmap.ConvertToImage();
    }

    // Pixels where the shown picture differs from a full repaint; the first one in `where`.
    int Differences(const wxImage& full, wxPoint& where) {
        const wxImage shown = canvas->Picture().ConvertToImage();
        EXPECT_EQ(shown.GetSize(), full.GetSize());
        if (shown.GetSize() != full.GetSize()) return -1;
        const unsigned char* a = shown.GetData();
        const unsigned char* b = full.GetData();
        int count = 0;
        for (int i = 0; i < full.GetWidth() * full.GetHeight(); ++i) {
            if (std::memcmp(a + 3 * i, b + 3 * i, 3) == 0) continue;
            if (count++ == 0) where = wxPoint(i % full.GetWidth(), i / full.GetWidth());
        }
        return count;
    }

    void ExpectPictureIsFullRepaint(const char* step) {
        for (bool plain : {false, true}) {
            wxPoint where;
            const int n = Differences(FullRepaint(plain), where);
            EXPECT_EQ(n, 0) << step << (plain ? " (plain drawing)" : " (canvas paint)")
                            << ": first difference at " << where.x << ", " << where.y;
        }
    }

    // The window point of a piece's midpoint.
    wxPoint PiecePoint(size_t index) {
        const PlacedPiece& p = Doc().pieces[index];
        const PointMm mid = PieceMidpoint(p, *TrackCatalog::Instance().Find(p.article));
        return canvas->LayoutToScreen(mid.x, mid.y);
    }
    // The straight on level 1 nearest the window centre.
    size_t CentralStraight() {
        const wxSize size = canvas->GetClientSize();
        size_t best = 0;
        double bestDist = 1e18;
        for (size_t i = 0; i < Doc().pieces.size(); ++i) {
            const PlacedPiece& p = Doc().pieces[i];
            if (p.level != 1 ||
                TrackCatalog::Instance().Find(p.article)->kind != PieceKind::Straight)
                continue;
            const wxPoint at = PiecePoint(i);
            const double d = std::hypot(at.x - size.x / 2.0, at.y - size.y / 2.0);
            if (d < bestDist) bestDist = d, best = i;
        }
        return best;
    }
    // Drags with the left button from `press` along `steps` motions, each picture checked.
    template <class Step>
    void DragChecked(const char* what, wxPoint press, int steps, Step step) {
        Mouse(wxEVT_LEFT_DOWN, press.x, press.y, true);
        for (int k = 1; k <= steps && !HasFailure(); ++k) {
            const wxPoint at = step(k);
            Mouse(wxEVT_MOTION, at.x, at.y, true);
            ExpectPictureIsFullRepaint(what);
        }
    }
};

TEST_P(CanvasPicture, EveryMotionOfAGestureMatchesAFullRepaint) {
    LayoutDocument& doc = Doc();
    const wxSize size = canvas->GetClientSize();
    {
        SCOPED_TRACE("palette ghost swept past open ends and off the edge");
        canvas->BeginPieceDrag("24130");
        ASSERT_NE(canvas->Gestures().Get<PieceDragGesture>(), nullptr);
        for (int k = 0; k < 24 && !HasFailure(); ++k) {
            Mouse(wxEVT_MOTION, 40 + k * (size.x - 80) / 23, 100 + (k * 37) % (size.y - 150),
                  false);
            ExpectPictureIsFullRepaint("palette ghost");
        }
        canvas->CancelPieceDrag();
    }
    {
        SCOPED_TRACE("a chain selected by a click and a shift click, moved");
        const size_t target = CentralStraight();
        const wxPoint press = PiecePoint(target), second = PiecePoint(target + 2);
        Click(press.x, press.y);
        ASSERT_TRUE(doc.pieces[target].selected);
        Mouse(wxEVT_LEFT_DOWN, second.x, second.y, true, true);
        Mouse(wxEVT_LEFT_UP, second.x, second.y, false, true);
        const double x0 = doc.pieces[target].x;
        DragChecked("moved pieces", press, 14,
                    [&](int k) { return wxPoint(press.x + k * 9, press.y + (k % 5) * 7 - 10); });
        EXPECT_NE(doc.pieces[target].x, x0);  // the selection did move
        Mouse(wxEVT_LEFT_UP, press.x + 126, press.y, false);
    }
    {
        SCOPED_TRACE("a rubber band from beside the layout over the track, then shrunk");
        doc.ClearSelection();
        ViewTransform view = canvas->Transform();
        view.offsetX = 200 - (-400) * view.zoom;  // layout x -400 mm under window x 200
        canvas->SetTransform(view);
        DragChecked("rubber band", wxPoint(60, 120), 16,
                    [](int k) { return wxPoint(60 + k * 45, 120 + k * 30); });
        EXPECT_TRUE(canvas->Overlays().rubberBand);
        Mouse(wxEVT_MOTION, 90, 140, true);
        ExpectPictureIsFullRepaint("shrunk band");
        Mouse(wxEVT_LEFT_UP, 700, 600, false);
        EXPECT_TRUE(std::any_of(doc.pieces.begin(), doc.pieces.end(),
                                [](const PlacedPiece& p) { return p.selected; }));
    }
}

// Panning shifts the picture and draws only the uncovered strips; once the pan ends the picture
// is the full repaint again.
TEST_P(CanvasPicture, PanEndsOnTheFullRepaint) {
    auto middle = [&](wxEventType type, int x, int y) {
        wxMouseEvent e(type);
        e.SetEventObject(canvas);
        e.SetPosition(wxPoint(x, y));
        e.SetMiddleDown(type != wxEVT_MIDDLE_UP);
        canvas->GetEventHandler()->ProcessEvent(e);
    };
    middle(wxEVT_MIDDLE_DOWN, 400, 300);
    for (int k = 1; k <= 8; ++k) {
        middle(wxEVT_MOTION, 400 + k * 23, 300 - k * 11);
        // The shifted picture is the layout at the new offsets, but for edge pixels of shapes
        // that cross the window's left or top edge: positions there are truncated toward zero,
        // which does not shift with the view. The end of the pan draws the picture whole.
        wxPoint where;
        EXPECT_LT(Differences(FullRepaint(false), where), 1000) << "pan step " << k;
    }
    middle(wxEVT_MIDDLE_UP, 584, 212);
    canvas->Update();
    PumpEvents(60);
    ExpectPictureIsFullRepaint("after pan");
}

INSTANTIATE_TEST_SUITE_P(Zooms, CanvasPicture,
                         testing::Values(ViewCase{0.07, true}, ViewCase{0.3, true},
                                         ViewCase{1.2, true}, ViewCase{0.07, false},
                                         ViewCase{0.3, false}, ViewCase{1.2, false}),
                         [](const testing::TestParamInfo<ViewCase>& info) {
                             return "Zoom" +
                                    std::to_string(static_cast<int>(info.param.zoom * 100)) +
                                    (info.param.labels ? "Labels" : "NoLabels");
                         });

}  // namespace
