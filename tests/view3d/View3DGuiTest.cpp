// The 3D window under Xvfb with Mesa's software OpenGL: it draws without errors, pixels read
// back show track where it lies, and the mouse and keys move the camera.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "catalog/TrackCatalog.h"
#include "model/TrackBuilder.h"
#include "persistence/LayoutFile.h"
#include "support/GuiTestSupport.h"
#include "view3d/gui/TrackGLCanvas.h"
#include "view3d/gui/View3DFrame.h"

namespace {

struct Rgb8 {
    int r, g, b;
};

class View3DTest : public testing::Test {
protected:
    View3DTest() { doc.EnsureDefaultLevel(); }
    void TearDown() override {
        if (frame) frame->Destroy();
        PumpEvents();
    }
    // Opens the window on the document as it is now and waits until it can draw.
    TrackGLCanvas* Open() {
        frame = new View3DFrame(nullptr, doc);
        frame->Show();
        EXPECT_TRUE(PumpUntil([&] { return frame->Canvas()->IsShownOnScreen(); }));
        PumpEvents(50);
        return frame->Canvas();
    }
    // Draws a frame and keeps its pixels.
    void Draw() {
        ASSERT_TRUE(frame->Canvas()->RenderFrame(&pixels));
        EXPECT_EQ(frame->Canvas()->LastGlError(), 0u);
        size = frame->Canvas()->GetClientSize();
        ASSERT_EQ(pixels.size(), static_cast<size_t>(size.x) * size.y * 3);
    }
    // The pixel at window position (x, y), y downwards.
    Rgb8 At(int x, int y) const {
        const size_t i = (static_cast<size_t>(size.y - 1 - y) * size.x + x) * 3;
        return {pixels[i], pixels[i + 1], pixels[i + 2]};
    }
    // Share of the pixels in the box of half-size 4 around (x, y) that `pred` accepts.
    template <class Pred>
    double Share(int x, int y, Pred pred) const {
        int hit = 0, all = 0;
        for (int yy = y - 4; yy <= y + 4; ++yy)
            for (int xx = x - 4; xx <= x + 4; ++xx, ++all) hit += pred(At(xx, yy));
        return static_cast<double>(hit) / all;
    }
    static bool Background(Rgb8 c) {  // the clear colour or the grid and axis lines
        return c.r < 125 && c.g < 125 && c.b < 125;
    }
    static bool Ballast(Rgb8 c) {  // lit bed, sleepers and rails: brighter than any background
        return !Background(c) && std::abs(c.r - c.g) < 60;
    }
    // A mouse event on the canvas with the buttons held as given.
    void Mouse(wxEventType type, int x, int y, bool left = false, bool right = false,
               int wheel = 0) {
        wxMouseEvent e(type);
        e.SetPosition({x, y});
        e.m_leftDown = left;
        e.m_rightDown = right;
        e.m_wheelRotation = wheel;
        e.SetEventObject(frame->Canvas());
        frame->Canvas()->GetEventHandler()->ProcessEvent(e);
    }
    void RightDrag(int x, int y, int dx, int dy) {
        Mouse(wxEVT_RIGHT_DOWN, x, y, false, true);
        Mouse(wxEVT_MOTION, x + dx, y + dy, false, true);
        Mouse(wxEVT_RIGHT_UP, x + dx, y + dy);
    }

    LayoutDocument doc;
    TrackBuilder track{doc};
    View3DFrame* frame = nullptr;
    std::vector<uint8_t> pixels;
    wxSize size;
};

}  // namespace

TEST_F(View3DTest, EmptyWindowShowsAxesThenTheBoardAndTheMouseAndKeysMoveTheCamera) {
    TrackGLCanvas* canvas = Open();
    EXPECT_EQ(frame->GetTitle(), "3D View - Quillmore");
    EXPECT_TRUE(canvas->HasFlag(wxWANTS_CHARS));
    // Counts the pixels where red, or green, leads the other by `by`.
    auto leading = [&](int by, bool redLeads) {
        int n = 0;
        for (size_t i = 0; i < pixels.size(); i += 3)
            n += redLeads ? pixels[i] > pixels[i + 1] + by : pixels[i + 1] > pixels[i] + by;
        return n;
    };
    Draw();
    EXPECT_FLOAT_EQ(canvas->Camera().distance, 800);  // nothing to fit
    EXPECT_GT(leading(40, true), 50);                 // the x = 0 axis
    const int greenAxes = leading(40, false);         // the y = 0 axis
    EXPECT_GT(greenAxes, 50);
    doc.baseboard = {{-400, -300}, {400, -300}, {400, 300}, {-400, 300}};
    canvas->Rebuild();
    Draw();
    EXPECT_GT(leading(15, false), greenAxes + 10000);  // the baseboard's green fills a large area

    SCOPED_TRACE("left drag turns, right drag pans, the wheel zooms, R resets the angles");
    Mouse(wxEVT_LEFT_DOWN, 100, 100, true);
    Mouse(wxEVT_MOTION, 160, 120, true);
    EXPECT_FLOAT_EQ(canvas->Camera().yaw, 30 + 30);
    Mouse(wxEVT_LEFT_UP, 160, 120);
    Mouse(wxEVT_MOTION, 300, 300);  // no button: nothing moves
    EXPECT_FLOAT_EQ(canvas->Camera().yaw, 60);
    RightDrag(300, 300, 20, 0);
    EXPECT_NE(canvas->Camera().panX, 0);
    Mouse(wxEVT_MOUSEWHEEL, 0, 0, false, false, 120);
    EXPECT_FLOAT_EQ(canvas->Camera().distance, 800 * 0.88f);
    wxKeyEvent key(wxEVT_KEY_DOWN);
    key.m_keyCode = 'r';
    key.SetEventObject(canvas);
    canvas->GetEventHandler()->ProcessEvent(key);
    EXPECT_FLOAT_EQ(canvas->Camera().yaw, 30);
    EXPECT_FLOAT_EQ(canvas->Camera().panX, 0);
}

TEST_F(View3DTest, TrackShowsWhereItLiesSeenFromAbove) {
    // Track along world X through the middle: seen from straight above it is a level band.
    track.Line("24360", 5);
    for (PlacedPiece& p : doc.pieces) p.x -= 900;
    TrackGLCanvas* canvas = Open();
    canvas->Camera().pitch = 0;
    canvas->Camera().yaw = 0;
    Draw();
    const int cy = size.y / 2;
    for (int x : {size.x * 3 / 10, size.x / 2 + 20, size.x * 7 / 10})
        EXPECT_GT(Share(x, cy, Ballast), 0.6) << x;
    for (int x : {size.x / 10, size.x * 9 / 10})  // beyond the ends of the track
        EXPECT_GT(Share(x, cy, Background), 0.99) << x;
    EXPECT_GT(Share(size.x * 3 / 10, cy - size.y / 5, Background), 0.99);
    EXPECT_FALSE(canvas->Scene().farMade);  // nothing far: the far meshes are not made
}

// The two-deck sample (decks on legs, a helix, a tunnel) with bridges on piers, a piece at an
// absurd height, a crossing outline and a tree added: drawn without errors from every angle.
TEST_F(View3DTest, TwoDeckSampleAndAbsurdPiecesDrawWithoutErrorsFromEveryAngle) {
    ASSERT_EQ(
        LoadLayout(doc, QUILLMORE_SOURCE_DIR "/resources/layouts/K-Track Two Decks.xml", nullptr),
        "");
    for (uint32_t id : track.Line("74636", 2)) track[id].elevation = 90;
    track.Place("24188", 0, 600, 0, 1e9);
    doc.baseboard = {{-500, -500}, {2500, 1500}, {2500, -500}, {-500, 1500}};
    doc.scenery.push_back({doc.TakeId(), "tree_lg_dec", 300, 300});
    TrackGLCanvas* canvas = Open();
    for (float pitch : {35.0f, 89.0f, -60.0f}) {
        canvas->Camera().pitch = pitch;
        Draw();
    }
}

// Nothing is far yet, so the far batch has no change to tell of: the rebuild itself must.
TEST_F(View3DTest, APieceChangedToAnotherArticleIsDrawnAsItBeforeAnythingIsFar) {
    const uint32_t id = track.Place("24188", 0, 0);
    track.Place("24130", 300, 0);
    TrackGLCanvas* canvas = Open();
    Draw();
    ASSERT_FALSE(canvas->Scene().farMade);
    track[id].article = "24172";
    canvas->Rebuild();
    Draw();
    const std::vector<uint8_t> edited = pixels;
    canvas->CopyAllMeshesAgain();
    Draw();
    EXPECT_TRUE(edited == pixels);
}

TEST_F(View3DTest, AfterEditsTheViewLooksAsWithEveryMeshCopiedAgain) {
    // Raised track on risers and bridges on piers: what an edit rewrites in place on the card.
    std::vector<uint32_t> ids;
    for (int k = 0; k < 8; ++k)
        ids.push_back(
            track.Place(k % 2 ? "24188" : "24130", 250.0 * k, 0, k * 20.0, 30.0 * (k % 3)));
    const uint32_t bridge = track.Place("74636", 0, 400, 0, 90);
    track.Attach("74636", bridge, 1);
    TrackGLCanvas* canvas = Open();
    // Seen from far away first, so that the edits below rewrite the far meshes too.
    canvas->Camera().distance *= 12;
    Draw();
    Draw();
    ASSERT_TRUE(canvas->Scene().farMade);
    // Taken away and added (the card's copies grow and shrink), then moved and raised (they are
    // rewritten in place), each drawn before the next.
    const std::vector<std::function<void()>> edits = {
        [&] { doc.pieces.erase(doc.pieces.begin() + 1); },
        [&] { track.Place("74620", 600, -300, 30, 50); },
        [&] { track[ids[4]].x += 40; },
        [&] { track[ids[2]].elevation = 70; },
        [&] { track[bridge].y -= 60; },
    };
    for (const auto& edit : edits) {
        edit();
        canvas->Rebuild();
        Draw();
    }
    // Near, and far enough for the track to come from the far batch.
    auto nearAndFar = [&] {
        // A busy machine may still be sizing the window: let it settle, and draw from then on.
        PumpEvents(50);
        Draw();
        PumpEvents(20);
        // The camera as the scene fits it, set anew: tests running beside this one on the same
        // display may have clicked and dragged over the window.
        OrbitCamera camera;
        camera.Fit(canvas->Scene().bounds);
        canvas->Camera() = camera;
        Draw();
        std::vector<uint8_t> both = pixels;
        canvas->Camera().distance *= 12;
        Draw();
        both.insert(both.end(), pixels.begin(), pixels.end());
        return both;
    };
    // The same meshes copied to the card whole, in the same window.
    const std::vector<uint8_t> edited = nearAndFar();
    canvas->CopyAllMeshesAgain();
    const std::vector<uint8_t> whole = nearAndFar();
    ASSERT_EQ(edited.size(), whole.size());
    const auto differ = std::mismatch(edited.begin(), edited.end(), whole.begin());
    EXPECT_TRUE(differ.first == edited.end()) << "first at byte " << differ.first - edited.begin();
    // And the layout is there to compare: lit track and piers in the far picture.
    size_t lit = 0;
    for (int y = 0; y < size.y; ++y)
        for (int x = 0; x < size.x; ++x) lit += !Background(At(x, y));
    EXPECT_GT(lit, 20u);
}
