// The canvas gestures without a window: what each gesture does to the document, what it asks of
// the window, when it records undo, and a whole edit session.
#include <gtest/gtest.h>

#include <cmath>
#include <variant>

#include "canvas/EditTransaction.h"
#include "canvas/GestureDriver.h"
#include "canvas/Interaction.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "model/GradeRuns.h"
#include "model/Helices.h"
#include "model/Tunnels.h"
#include "trackgeometry/PieceGeometry.h"

namespace {

constexpr Modifiers kCtrl{true, false, false};
constexpr Modifiers kShift{false, true, false};
constexpr Modifiers kAlt{false, false, true};

class Gestures : public testing::Test, protected GestureDriver {
protected:
    size_t Undos() const { return doc.undoStack.size(); }
    uint32_t AddPlatform(double x, double y, double heading = 0, bool selected = false) {
        // 230 x 60 mm, resizable
        doc.scenery.push_back({doc.TakeId(), "platform", x, y, heading, selected});
        return doc.scenery.back().id;
    }
};

// ---- Palette drags ----

TEST_F(Gestures, PieceDragTurnsSnapsAndDropsJoined) {
    EXPECT_FALSE(gestures.BeginPieceDrag(doc, view, "no-such-article").handled);
    EXPECT_FALSE(gestures.PaletteDrag());
    const uint32_t first = Add("24188", 99.7, 100);  // open end at (288, 100)
    const GestureResult& begun = Keep(gestures.BeginPieceDrag(doc, view, "24188"));
    EXPECT_EQ(begun.capture, PointerCapture::Capture);
    EXPECT_TRUE(begun.focus);
    RightClick(0, 0);
    EXPECT_DOUBLE_EQ(Active<PieceDragGesture>()->freePose.heading, 30);
    Keep(gestures.Wheel(doc, -120, true));
    EXPECT_DOUBLE_EQ(Active<PieceDragGesture>()->freePose.heading, 15);
    Hover(288, 124);
    ASSERT_TRUE(Active<PieceDragGesture>()->snap.snapped);
    EXPECT_TRUE(gestures.Overlays(doc).pieceGhost);
    EXPECT_TRUE(gestures.Overlays(doc).snapTarget);
    Key(CanvasKey::Turn);  // R turns the ghost; the snap waits for the next move
    EXPECT_DOUBLE_EQ(Active<PieceDragGesture>()->freePose.heading, 45);
    EXPECT_FALSE(Active<PieceDragGesture>()->snap.snapped);
    Hover(288, 124);
    const size_t undos = Undos();
    Press(288, 124);
    EXPECT_FALSE(gestures.PaletteDrag());
    EXPECT_EQ(last.capture, PointerCapture::Release);
    EXPECT_TRUE(HasAny(last.changed, DocChange::Pieces));
    ASSERT_EQ(doc.pieces.size(), 2u);
    EXPECT_EQ(Undos(), undos + 1);
    EXPECT_EQ(doc.pieces[1].joints[0], (Joint{first, 1}));

    gestures.BeginPieceDrag(doc, view, "24188");
    Key(CanvasKey::Escape);  // cancelled: nothing placed, the pointer goes back
    EXPECT_FALSE(gestures.PaletteDrag());
    EXPECT_EQ(last.capture, PointerCapture::Release);
    EXPECT_EQ(doc.pieces.size(), 2u);
}

TEST_F(Gestures, FirstZPieceGoesToUnitZoomWithoutLeavingTheView) {
    // Dropped far from the origin: a jump to zoom 1 at the default offsets would put the piece
    // some 1300 pixels further right and down, off any window.
    view = ViewTransform{};
    const ViewTransform before = view;
    Drop("8500", 900, 600);  // a Z-gauge straight
    ASSERT_EQ(doc.pieces.size(), 1u);
    ASSERT_TRUE(last.view);
    EXPECT_DOUBLE_EQ(last.view->zoom, 1.0);
    const PlacedPiece& p = doc.pieces[0];
    const PointMm mid = PieceMidpoint(p, *TrackCatalog::Instance().Find(p.article));
    EXPECT_NEAR(mid.x * last.view->zoom + last.view->offsetX, mid.x * before.zoom + before.offsetX,
                1e-6);
    EXPECT_NEAR(mid.y * last.view->zoom + last.view->offsetY, mid.y * before.zoom + before.offsetY,
                1e-6);
    // Only the first piece sets the zoom.
    Drop("8500", 100, 100);
    EXPECT_FALSE(last.view);
}

TEST_F(Gestures, SceneryAndHelixGhostsDropWhereThePointerIs) {
    gestures.BeginSceneryDrag(view, "platform");
    ASSERT_TRUE(Active<SceneryDragGesture>());
    gestures.BeginHelixDrag(view, "proses_2_5_r1r2");  // one gesture at a time
    EXPECT_FALSE(Active<SceneryDragGesture>());
    ASSERT_TRUE(Active<HelixDragGesture>());
    Hover(2000, 2000);
    EXPECT_DOUBLE_EQ(gestures.Overlays(doc).helixGhostX, 2000);
    Press(2000, 2000);
    ASSERT_EQ(doc.helices.size(), 1u);
    EXPECT_DOUBLE_EQ(doc.helices[0].x, 2000);
    EXPECT_EQ(doc.pieces.size(), 4u);

    gestures.BeginSceneryDrag(view, "platform");
    Hover(500, 400);
    RightClick(0, 0);  // +15 degrees
    Key(CanvasKey::Turn);
    Keep(gestures.Wheel(doc, 120, false));  // +30 more
    EXPECT_DOUBLE_EQ(gestures.Overlays(doc).sceneryGhostHeading, 60);
    Press(500, 400);
    ASSERT_EQ(doc.scenery.size(), 1u);
    EXPECT_DOUBLE_EQ(doc.scenery[0].x, 500);
    EXPECT_DOUBLE_EQ(doc.scenery[0].heading, 60);
    EXPECT_TRUE(doc.scenery[0].selected);
}

// ---- Moving ----

TEST_F(Gestures, PlainClickSelectsWithoutRecordingFivePixelsMove) {
    const uint32_t p = Add("24188", 100, 100);
    const size_t undos = Undos();
    Press(150, 100);
    EXPECT_EQ(last.capture, PointerCapture::Capture);
    EXPECT_TRUE(HasAny(last.changed, DocChange::Selection));
    Drag(154, 100);
    Release(154, 100);
    EXPECT_EQ(last.capture, PointerCapture::Release);
    EXPECT_EQ(SelectedPieces(), std::vector<uint32_t>{p});
    EXPECT_DOUBLE_EQ(doc.FindPiece(p)->x, 100);
    EXPECT_EQ(Undos(), undos);
    EXPECT_EQ(last.changed, DocChange::None);

    doc.ClearSelection();
    const UndoSnapshot before = doc.Snapshot();
    DragFromTo(150, 100, 153, 104);  // 3-4-5: exactly five pixels
    EXPECT_DOUBLE_EQ(doc.FindPiece(p)->x, 103);
    EXPECT_TRUE(HasAny(last.changed, DocChange::Placement));
    ASSERT_EQ(Undos(), undos + 1);
    doc.Undo();  // back to the document before the press, selection included
    EXPECT_DOUBLE_EQ(doc.FindPiece(p)->x, 100);
    EXPECT_FALSE(doc.FindPiece(p)->selected);
    EXPECT_TRUE(SameContent(before, doc));
}

TEST_F(Gestures, LockedSelectionsRefuseToMove) {
    // A tunnel over a chain of two straights.
    const uint32_t a = Add("24188", 0, 0), b = Add("24188", 188.3, 0);
    Join(a, 1, b, 0);
    doc.FindPiece(a)->selected = doc.FindPiece(b)->selected = true;
    ASSERT_TRUE(ToggleTunnel(doc));
    doc.ClearSelection();
    const size_t undos = Undos();
    Press(50, 0);
    Drag(80, 0);
    ASSERT_TRUE(last.message);
    EXPECT_EQ(last.message->title, "Tunnel is locked");
    EXPECT_EQ(last.message->text, TunnelLockMessage("move"));
    EXPECT_EQ(last.capture, PointerCapture::Release);
    EXPECT_FALSE(Active<MoveGesture>());
    Drag(120, 0);  // the refused move is over
    EXPECT_DOUBLE_EQ(doc.FindPiece(a)->x, 0);
    EXPECT_EQ(Undos(), undos);
}

TEST_F(Gestures, SceneryMeasurementAndLabelDragsRecordOnceAndClicksNothing) {
    const uint32_t item = AddPlatform(400, 400);
    const size_t undos = Undos();
    Click(400, 400);
    EXPECT_TRUE(doc.FindScenery(item)->selected);
    EXPECT_EQ(Undos(), undos);
    DragFromTo(400, 400, 402, 401);  // no threshold for scenery
    EXPECT_DOUBLE_EQ(doc.FindScenery(item)->x, 402);
    EXPECT_DOUBLE_EQ(doc.FindScenery(item)->y, 401);
    EXPECT_EQ(Undos(), undos + 1);
    EXPECT_TRUE(HasAny(last.changed, DocChange::Scenery));

    // Measurements and labels move as one undo step each; a click on a length label selects.
    doc.measurements.push_back({doc.TakeId(), 100, 100, 300, 100, 0, 0, false});
    doc.labels.push_back({doc.TakeId(), "Yard", 600, 600, false});
    Click(200, 100);
    EXPECT_TRUE(doc.measurements[0].selected);
    EXPECT_EQ(Undos(), undos + 1);
    DragFromTo(200, 100, 200, 150);
    EXPECT_DOUBLE_EQ(doc.measurements[0].y1, 150);
    EXPECT_DOUBLE_EQ(doc.measurements[0].y2, 150);
    EXPECT_EQ(Undos(), undos + 2);
    DragFromTo(610, 610, 700, 650);
    EXPECT_TRUE(doc.labels[0].selected);
    EXPECT_DOUBLE_EQ(doc.labels[0].x, 690);
    EXPECT_DOUBLE_EQ(doc.labels[0].y, 640);
    EXPECT_EQ(Undos(), undos + 3);
}

// ---- Rotation ----

TEST_F(Gestures, AltDragTurnsSnapsWithTheFlashAndRecordsOnce) {
    const uint32_t p = Add("24188", 200, 200, 88.5);
    doc.FindPiece(p)->selected = true;
    const size_t undos = Undos();
    Press(300, 200, kAlt);
    ASSERT_TRUE(Active<RotationGesture>());
    EXPECT_TRUE(gestures.Overlays(doc).rotation);
    Drag(300, 200, kAlt);  // 88.5 is within 2 degrees of 90
    EXPECT_DOUBLE_EQ(doc.FindPiece(p)->heading, 90);
    EXPECT_EQ(last.flash, FlashTimer::Start);
    EXPECT_TRUE(gestures.Overlays(doc).rotationFlash);
    Drag(300, 200, kAlt);  // still snapped: the running timer is kept
    EXPECT_EQ(last.flash, FlashTimer::Keep);
    Keep(gestures.FlashExpired());
    EXPECT_FALSE(gestures.Overlays(doc).rotationFlash);
    // The pivot is the piece's position; the pointer an eighth of a turn on turns it by 45.
    Drag(300, 300, kAlt);
    EXPECT_NEAR(doc.FindPiece(p)->heading, 133.5, 1e-9);
    EXPECT_EQ(last.flash, FlashTimer::Stop);
    Release(300, 300, kAlt);
    EXPECT_EQ(last.flash, FlashTimer::Stop);
    EXPECT_FALSE(gestures.Overlays(doc).rotation);
    EXPECT_EQ(Undos(), undos + 1);
}

// ---- Band, pan, tape ----

TEST_F(Gestures, RubberBandAddsWhatItEnclosesAndEmptiesTheCopyBuffer) {
    const uint32_t a = Add("24188", 100, 100), b = Add("24188", 500, 100);
    Add("24188", 900, 100);
    Click(150, 100);
    gestures.Copy(doc);
    ASSERT_FALSE(gestures.CopyBuffer().empty());
    Press(50, 50);
    EXPECT_TRUE(gestures.CopyBuffer().empty());  // a press on empty canvas empties it
    Drag(600, 150);
    const CanvasOverlays band = gestures.Overlays(doc);
    EXPECT_TRUE(band.rubberBand);
    EXPECT_EQ(band.bandX1, 600);
    Release(600, 150);
    EXPECT_EQ(SelectedPieces(), (std::vector<uint32_t>{a, b}));
    DragFromTo(850, 50, 854, 54);  // 4 pixels: nothing
    EXPECT_TRUE(SelectedPieces().empty());
}

TEST_F(Gestures, CtrlPressOnEmptyCanvasPansBeyondTheDeadZoneAndOffersALabelPoint) {
    view = ViewTransform{};
    Press(200, 150, kCtrl);
    ASSERT_TRUE(last.labelPoint);
    EXPECT_DOUBLE_EQ(last.labelPoint->x, (200 - 60) / 0.4);
    EXPECT_EQ(last.cursor, CanvasCursor::Hand);
    Drag(203, 147, kCtrl);
    EXPECT_FALSE(last.view);
    Drag(150, 250, kCtrl);
    EXPECT_DOUBLE_EQ(view.offsetX, 10);
    EXPECT_DOUBLE_EQ(view.offsetY, 160);
    Release(150, 250);
    EXPECT_EQ(last.cursor, CanvasCursor::Default);
    EXPECT_EQ(last.capture, PointerCapture::Release);
}

TEST_F(Gestures, TapeAddsAMeasurementAtTheSecondPressAndLeavesTheMode) {
    doc.toolMode = 3;
    Click(100, 100);
    Hover(300, 100);
    EXPECT_EQ(last.cursor, CanvasCursor::Pencil);
    EXPECT_TRUE(gestures.Overlays(doc).tape);
    EXPECT_EQ(gestures.Overlays(doc).tapeMouseX, 300);
    Press(100, 100);  // the same spot: nothing, and the mode ends
    EXPECT_TRUE(doc.measurements.empty());
    EXPECT_TRUE(last.measureToolReleased);
    Release(100, 100);
    EXPECT_EQ(doc.toolMode, 0);
    doc.toolMode = 3;
    Click(100, 100);
    Press(400, 500);
    ASSERT_EQ(doc.measurements.size(), 1u);
    EXPECT_TRUE(HasAny(last.changed, DocChange::Annotations));
    Release(400, 500);
}

// ---- Measurements, labels, outlines, handles ----

TEST_F(Gestures, ShiftDragOnADeckOutlineMovesItWithoutAnUndoRecord) {
    doc.levels[0].outline = {{0, 0}, {1000, 0}, {1000, 500}, {0, 500}};
    const size_t undos = Undos();
    Press(500, 2, kShift);
    Drag(520, 32);
    Release(520, 32);
    EXPECT_EQ(last.changed, DocChange::Levels);
    EXPECT_EQ(doc.levels[0].outline[2], (PointMm{1020, 530}));
    EXPECT_EQ(Undos(), undos);  // levels are not part of the undo record
}

// A menu or a dialog that takes the pointer mid-gesture ends the gesture as Escape would: the
// document and its undo history are as before the press.
TEST_F(Gestures, LosingThePointerMidGestureTakesBackWhatTheGestureChanged) {
    const uint32_t piece = Add("24188", 100, 100);
    const uint32_t item = AddPlatform(400, 400);
    doc.labels.push_back({doc.TakeId(), "Yard", 600, 600, false});
    doc.levels[0].outline = {{0, 800}, {1000, 800}, {1000, 1300}, {0, 1300}};
    // Each gesture begins with a press and a drag from (x0, y0) to (x1, y1); the turn has the piece
    // selected, and the palette ghost only follows the pointer to (x1, y1).
    const struct {
        const char* gesture;
        int x0, y0, x1, y1;
        Modifiers modifiers;
    } cases[] = {
        {"move", 150, 100, 180, 140, {}},
        {"scenery move", 400, 400, 430, 420, {}},
        {"turn", 300, 200, 300, 300, kAlt},
        {"label drag", 610, 610, 700, 650, {}},
        {"outline drag", 500, 802, 520, 832, kShift},
        {"rubber band", 900, 100, 950, 160, {}},
        {"pan", 900, 100, 950, 160, kCtrl},
        {"palette ghost", 0, 0, 700, 300, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gesture);
        doc.ClearSelection();
        const UndoSnapshot before = doc.Snapshot();
        const std::vector<PointMm> outline = doc.levels[0].outline;
        const size_t undos = Undos();
        if (c.x0 == 0) {
            gestures.BeginPieceDrag(doc, view, "24188");
            Hover(c.x1, c.y1);
        } else {
            doc.FindPiece(piece)->selected = c.modifiers.alt;
            Press(c.x0, c.y0, c.modifiers);
            Drag(c.x1, c.y1, c.modifiers);
        }
        ASSERT_FALSE(std::holds_alternative<std::monostate>(gestures.Active()));
        Keep(gestures.CaptureLost(doc));
        EXPECT_TRUE(std::holds_alternative<std::monostate>(gestures.Active()));
        EXPECT_EQ(last.capture, PointerCapture::Release);
        EXPECT_TRUE(last.repaint);
        EXPECT_TRUE(SameContent(before, doc));
        EXPECT_EQ(doc.levels[0].outline, outline);
        EXPECT_EQ(Undos(), undos);
        EXPECT_FALSE(doc.CanRedo());
        Hover(20, 20);  // nothing follows the pointer any more
        EXPECT_TRUE(SameContent(before, doc));
    }
    EXPECT_DOUBLE_EQ(doc.FindPiece(piece)->x, 100);
    EXPECT_DOUBLE_EQ(doc.FindScenery(item)->x, 400);
}

TEST_F(Gestures, HandlesShowTheirCursorAndResize) {
    AddPlatform(400, 400, 90, true);  // right edge handle at (400, 515)
    Hover(400, 515);
    EXPECT_EQ(last.cursor, CanvasCursor::SizeWE);
    Hover(400, 450);
    EXPECT_EQ(last.cursor, CanvasCursor::Default);
    Hover(370, 515);  // the (+, +) corner, turned by 90 degrees
    EXPECT_EQ(last.cursor, CanvasCursor::SizeNWSE);
    const size_t undos = Undos();
    Press(400, 515);
    Drag(410, 600);
    Release(410, 600);
    EXPECT_NEAR(doc.scenery[0].scaleX * 230, 315, 1e-9);
    EXPECT_EQ(Undos(), undos + 1);
    doc.scenery.clear();
    Drag(420, 600);  // the item is gone: the resize ends quietly
    EXPECT_FALSE(Active<ResizeGesture>());
}

TEST_F(Gestures, DoubleClicksOpenTheResizeDialogOrCloneAndSwallowTheNextPress) {
    const uint32_t item = AddPlatform(800, 800);
    DoubleClick(800, 800);
    EXPECT_EQ(last.resizeDialog, item);
    const uint32_t p = Add("24188", 100, 100);
    DoubleClick(150, 100);
    ASSERT_EQ(doc.pieces.size(), 2u);
    EXPECT_EQ(doc.pieces[1].joints[0], (Joint{p, 1}));
    EXPECT_TRUE(gestures.SwallowsNextPress());
    Click(3000, 3000);  // swallowed: the selection stays
    EXPECT_EQ(SelectedPieces(), std::vector<uint32_t>{doc.pieces[1].id});
    EXPECT_FALSE(gestures.SwallowsNextPress());
}

// ---- Right button and commands ----

// (Deleting graded pieces asks first: the canvas window's tests answer that question.)
TEST_F(Gestures, EscapeClearsTheSelectionAndOtherKeysAreNotHandled) {
    Add("24188", 100, 100);
    Click(150, 100);
    Key(CanvasKey::Escape);
    EXPECT_TRUE(SelectedPieces().empty());
    EXPECT_FALSE(Key(CanvasKey::Other).handled);
}

// ---- Undo records ----

// A gesture's edit records once, and only when the document changed: a touch with nothing
// changed says so and leaves no undo step that would undo nothing.
TEST_F(Gestures, AnEditRecordsOnlyOnceSomethingChanged) {
    const uint32_t p = Add("24188", 100, 100);
    const size_t undos = Undos();
    EditTransaction edit(doc);
    EXPECT_FALSE(edit.Touch(doc));
    EXPECT_FALSE(edit.Recorded());
    EXPECT_EQ(Undos(), undos);
    doc.FindPiece(p)->x += 10;
    EXPECT_TRUE(edit.Touch(doc));
    doc.FindPiece(p)->x += 10;
    EXPECT_TRUE(edit.Touch(doc));
    EXPECT_EQ(Undos(), undos + 1);
    doc.Undo();
    EXPECT_DOUBLE_EQ(doc.FindPiece(p)->x, 100);
}

}  // namespace

// ---- Background pictures ----

// A 400 x 200 pixel image laid 800 mm wide from (100, 100): it covers x 100..900, y 100..500.
class PictureGestures : public Gestures {
protected:
    void SetUp() override {
        doc.pictures.push_back({"plan.png", 100, 100, 800});
        gestures.UsePictureSizes([](const std::string& path) {
            return path == "plan.png" ? PointMm{400, 200} : PointMm{};
        });
    }
    const BackgroundPicture& Picture() const { return doc.pictures[0]; }
    PointMm Centre() const { return PictureCentre(Picture(), {400, 200}); }
};

TEST_F(PictureGestures, DragsMoveAndTurnItOneUndoStepEachAndWhatLeavesItAlone) {
    const BackgroundPicture start = Picture();
    const size_t undos = Undos();
    {
        SCOPED_TRACE("Escape gives the picture back and records nothing");
        Press(300, 300, kAlt);
        Drag(300, 500, kAlt);
        Key(CanvasKey::Escape);
        EXPECT_EQ(last.capture, PointerCapture::Release);
        Drag(500, 500);  // the gesture is over: nothing follows the pointer
        EXPECT_EQ(Picture(), start);
        EXPECT_EQ(Undos(), undos);
    }
    {
        SCOPED_TRACE("hidden or covered pictures and Ctrl or Shift presses");
        doc.pictures[0].shown = false;
        DragFromTo(300, 300, 400, 400);
        doc.pictures[0].shown = true;
        EXPECT_EQ(Picture(), start);
        const uint32_t piece = Add("24188", 300, 300);
        DragFromTo(310, 300, 410, 300);  // the piece above takes the press
        EXPECT_NE(doc.FindPiece(piece)->x, 300);
        Press(700, 300, kCtrl);  // Ctrl pans over a picture as over empty canvas
        EXPECT_NE(Active<PanGesture>(), nullptr);
        Release(700, 300, kCtrl);
        DragFromTo(700, 300, 750, 300, kShift);
        EXPECT_EQ(Picture(), start);
        doc.pieces.clear();
    }
    const size_t before = Undos();
    Press(300, 300);
    Drag(320, 290);
    EXPECT_EQ(Undos(), before + 1);
    Drag(350, 310);
    Release(350, 310);
    EXPECT_DOUBLE_EQ(Picture().xMm, 150);
    EXPECT_DOUBLE_EQ(Picture().yMm, 110);
    EXPECT_TRUE(HasAny(last.changed, DocChange::Pictures));
    EXPECT_EQ(Undos(), before + 1);

    const PointMm centre = Centre();  // (550, 310)
    Press(850, 310, kAlt);
    Drag(550, 610, kAlt);  // a quarter turn clockwise round the middle
    Release(550, 610, kAlt);
    EXPECT_NEAR(Picture().rotationDeg, 90, 1e-9);
    EXPECT_NEAR(Centre().x, centre.x, 1e-9);
    EXPECT_NEAR(Centre().y, centre.y, 1e-9);
    EXPECT_EQ(Undos(), before + 2);
}
