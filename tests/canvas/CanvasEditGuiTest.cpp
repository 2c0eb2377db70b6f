// Editing on the canvas of the real main window, driven by synthetic mouse and key events:
// palette drops, moves, rotation, delete, copy and paste, clone, chains, autofill, tape, handles
// and undo over a session of mixed edits.
#include <gtest/gtest.h>
#include <wx/listbox.h>
#include <wx/menu.h>

#include <cmath>
#include <cstdlib>

#include "app/gui/MainFrame.h"
#include "canvas/Interaction.h"
#include "trackgeometry/PieceGeometry.h"
#include "canvas/SceneryEdit.h"
#include "canvas/Snapping.h"
#include "canvas/gui/CanvasPanel.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "model/GradeRuns.h"
#include "model/Helices.h"
#include "support/GuiTestSupport.h"

namespace {

enum Mods { kNone = 0, kCtrl = 1, kShift = 2, kAlt = 4 };

// The parts of the document an undo snapshot covers.
struct DocContent {
    std::vector<PlacedPiece> pieces;
    std::vector<SceneryItem> scenery;
    std::vector<Label> labels;
    std::vector<Measurement> measurements;
    std::vector<Tunnel> tunnels;
    std::vector<Helix> helices;
    std::vector<GradeRun> gradeRuns;
    bool operator==(const DocContent&) const = default;
};

DocContent Unselected(DocContent c);

DocContent ContentOf(const LayoutDocument& d, bool withSelection = true) {
    DocContent c{d.pieces, d.scenery, d.labels, d.measurements, d.tunnels, d.helices, d.gradeRuns};
    return withSelection ? c : Unselected(c);
}

// Undo restores the selection of the moment the edit took its snapshot, which a click may have
// changed after the previous edit ended.
DocContent Unselected(DocContent c) {
    for (auto& p : c.pieces) p.selected = false;
    for (auto& s : c.scenery) s.selected = false;
    for (auto& l : c.labels) l.selected = false;
    for (auto& m : c.measurements) m.selected = false;
    return c;
}

class CanvasEdit : public testing::Test {
protected:
    TempDir home;
    std::string oldHome;
    MainFrame* frame = nullptr;
    CanvasPanel* canvas = nullptr;
    LayoutDocument* doc = nullptr;
    std::vector<std::vector<wxString>> menus;  // labels of every context menu shown

    void SetUp() override {
        if (const char* h = std::getenv("HOME")) oldHome = h;
        setenv("HOME", home.Path().c_str(), 1);
        frame = new MainFrame();
        frame->Show();
        doc = &frame->Document();
        doc->EnsureDefaultLevel();
        canvas = frame->Canvas();
        ViewTransform view;
        view.zoom = 1;  // one pixel per millimetre, origin at the window corner
        view.offsetX = 0;
        view.offsetY = 0;
        canvas->SetTransform(view);
        canvas->SetPopupMenuHook([this](wxMenu& menu) {
            std::vector<wxString> labels;
            for (wxMenuItem* item : menu.GetMenuItems()) labels.push_back(item->GetItemLabelText());
            menus.push_back(labels);
        });
        PumpEvents();
    }
    void TearDown() override {
        // Every gesture ends by giving the pointer back.
        EXPECT_FALSE(canvas->HasCapture());
        while (canvas->HasCapture()) canvas->ReleaseMouse();
        frame->Destroy();
        PumpEvents();
        setenv("HOME", oldHome.c_str(), 1);
    }

    void SetZoom(double zoom) {
        ViewTransform view;
        view.zoom = zoom;
        view.offsetX = 0;
        view.offsetY = 0;
        canvas->SetTransform(view);
    }

    void Send(wxEventType type, int x, int y, int mods, bool left, int wheel = 0) {
        wxMouseEvent e(type);
        e.SetEventObject(canvas);
        e.SetId(canvas->GetId());
        e.SetPosition(wxPoint(x, y));
        e.SetControlDown(mods & kCtrl);
        e.SetShiftDown(mods & kShift);
        e.SetAltDown(mods & kAlt);
        e.SetLeftDown(left);
        e.m_wheelRotation = wheel;
        e.m_wheelDelta = 120;
        canvas->GetEventHandler()->ProcessEvent(e);
    }
    void Press(int x, int y, int mods = kNone) { Send(wxEVT_LEFT_DOWN, x, y, mods, true); }
    void Drag(int x, int y, int mods = kNone) { Send(wxEVT_MOTION, x, y, mods, true); }
    void Hover(int x, int y) { Send(wxEVT_MOTION, x, y, kNone, false); }
    void Release(int x, int y, int mods = kNone) { Send(wxEVT_LEFT_UP, x, y, mods, false); }
    void Click(int x, int y, int mods = kNone) {
        Press(x, y, mods);
        Release(x, y, mods);
    }
    void DoubleClick(int x, int y) {
        Click(x, y);
        Press(x, y);
        Send(wxEVT_LEFT_DCLICK, x, y, kNone, true);
        Release(x, y);
    }
    void RightClick(int x, int y, int mods = kNone) {
        Send(wxEVT_RIGHT_DOWN, x, y, mods, false);
        Send(wxEVT_RIGHT_UP, x, y, mods, false);
    }
    void Key(int code) {
        wxKeyEvent e(wxEVT_KEY_DOWN);
        e.SetEventObject(canvas);
        e.m_keyCode = code;
        canvas->GetEventHandler()->ProcessEvent(e);
    }
    void Command(int id) {
        wxCommandEvent e(wxEVT_MENU, id);
        e.SetEventObject(canvas);
        canvas->GetEventHandler()->ProcessEvent(e);
    }

    uint32_t Add(const std::string& article, double x, double y, double heading = 0) {
        PlacedPiece p;
        p.article = article;
        p.x = x;
        p.y = y;
        p.heading = heading;
        const PieceDef* def = TrackCatalog::Instance().Find(article);
        p.joints.resize(def ? def->connectors.size() : 2);
        return doc->AddPiece(p);
    }
    void Join(uint32_t a, int ca, uint32_t b, int cb) {
        doc->FindPiece(a)->joints[ca] = {b, static_cast<uint32_t>(cb)};
        doc->FindPiece(b)->joints[cb] = {a, static_cast<uint32_t>(ca)};
    }
    std::vector<uint32_t> Selected() const {
        std::vector<uint32_t> ids;
        for (const PlacedPiece& p : doc->pieces)
            if (p.selected) ids.push_back(p.id);
        return ids;
    }
    const PlacedPiece& Last() const { return doc->pieces.back(); }
    template <class G>
    const G* Active() const {
        return canvas->Gestures().Get<G>();
    }
};

// ---- Palette drops ----

TEST_F(CanvasEdit, DropAt24mmSnapsAndJoinsAt26mmItDoesNot) {
    const uint32_t first = Add("24188", 99.7, 100);  // open end at (288, 100), heading 0
    canvas->BeginPieceDrag("24188");
    ASSERT_TRUE(Active<PieceDragGesture>());
    Send(wxEVT_RIGHT_DOWN, 0, 0, kNone, false);  // the ghost turns 30 degrees
    EXPECT_DOUBLE_EQ(Active<PieceDragGesture>()->freePose.heading, 30);
    Hover(288, 124);
    ASSERT_TRUE(Active<PieceDragGesture>()->snap.snapped);
    EXPECT_TRUE(canvas->Overlays().snapTarget);
    const size_t undo = doc->undoStack.size();
    Press(288, 124);
    EXPECT_FALSE(Active<PieceDragGesture>());
    ASSERT_EQ(doc->pieces.size(), 2u);
    EXPECT_EQ(doc->undoStack.size(), undo + 1);
    EXPECT_NEAR(Last().x, 288, 1e-9);
    EXPECT_NEAR(Last().y, 100, 1e-9);
    EXPECT_NEAR(HeadingDiffDeg(Last().heading, 0), 0, 1e-9);
    EXPECT_EQ(Last().joints[0], (Joint{first, 1}));
    EXPECT_EQ(doc->FindPiece(first)->joints[1], (Joint{Last().id, 0}));
    EXPECT_EQ(Selected(), std::vector<uint32_t>{Last().id});
    EXPECT_TRUE(frame->IsModified());

    doc->pieces.pop_back();  // at 26 mm the piece lands where dropped, unjoined
    doc->pieces[0].joints[1] = {};
    canvas->BeginPieceDrag("24188");
    Send(wxEVT_MOUSEWHEEL, 0, 0, kNone, false, 120);  // the wheel turns the ghost too
    Hover(288, 126);
    EXPECT_FALSE(Active<PieceDragGesture>()->snap.snapped);
    Press(288, 126);
    ASSERT_EQ(doc->pieces.size(), 2u);
    EXPECT_DOUBLE_EQ(Last().y, 126);
    EXPECT_DOUBLE_EQ(Last().heading, 30);
    EXPECT_TRUE(Last().joints[0].IsOpen());
    EXPECT_TRUE(doc->pieces[0].joints[1].IsOpen());
}

TEST_F(CanvasEdit, CTrackNextToAnOpenKTrackEndIsRefusedWithTheClashMessage) {
    Add("2200", 100, 100);  // K-Track, open end at (280, 100)
    const size_t undo = doc->undoStack.size();
    {
        ModalAnswerer answer(wxID_OK);
        canvas->BeginPieceDrag("24188");
        Hover(290, 100);
        EXPECT_FALSE(Active<PieceDragGesture>()->snap.snapped);
        Press(290, 100);
        ASSERT_EQ(answer.Count(), 1);
        EXPECT_EQ(answer.Dialogs()[0].title, "Incompatible Track Systems");
        EXPECT_EQ(answer.Dialogs()[0].message,
                  "Marklin C-Track cannot connect to Marklin K-Track.\n\nThese track systems are "
                  "not compatible.\nUse adapter track 24922 to connect C-Track to K-Track.");
    }
    EXPECT_EQ(doc->pieces.size(), 1u);
    EXPECT_EQ(doc->undoStack.size(), undo);
    EXPECT_FALSE(Active<PieceDragGesture>());
    EXPECT_FALSE(canvas->HasCapture());

    doc->snapOn = false;  // without snapping the piece goes down unjoined, without a word
    ModalAnswerer none(wxID_OK);
    canvas->BeginPieceDrag("24188");
    Hover(290, 100);
    Press(290, 100);
    EXPECT_EQ(none.Count(), 0);
    EXPECT_EQ(doc->pieces.size(), 2u);
}

TEST_F(CanvasEdit, PairPieceArrivesAsTwoJoinedTheFirstSelected) {
    canvas->BeginPieceDrag("74618");
    Hover(500, 500);
    Press(500, 500);
    ASSERT_EQ(doc->pieces.size(), 2u);
    const PlacedPiece& a = doc->pieces[0];
    const PlacedPiece& b = doc->pieces[1];
    EXPECT_EQ(a.article, "74618");
    EXPECT_EQ(b.article, "74618");
    EXPECT_EQ(a.joints[1], (Joint{b.id, 0}));
    EXPECT_EQ(b.joints[0], (Joint{a.id, 1}));
    EXPECT_NEAR(b.x, 680, 1e-9);  // 180 mm further along heading 0
    EXPECT_EQ(Selected(), std::vector<uint32_t>{a.id});
}

// ---- Moving ----

TEST_F(CanvasEdit, FourPixelsSelectWithoutMovingFivePixelsMove) {
    const uint32_t p = Add("24188", 100, 100);
    const size_t undo = doc->undoStack.size();
    Press(150, 100);
    Drag(154, 100);
    Release(154, 100);
    EXPECT_EQ(Selected(), std::vector<uint32_t>{p});
    EXPECT_DOUBLE_EQ(doc->FindPiece(p)->x, 100);
    EXPECT_EQ(doc->undoStack.size(), undo);
    Press(150, 100);
    Drag(153, 104);  // 3-4-5: exactly five pixels
    Release(153, 104);
    EXPECT_DOUBLE_EQ(doc->FindPiece(p)->x, 103);
    EXPECT_DOUBLE_EQ(doc->FindPiece(p)->y, 104);
    EXPECT_EQ(doc->undoStack.size(), undo + 1);
}

TEST_F(CanvasEdit, MovingTwoMillimetresDetachesHalfAMillimetreKeepsJoints) {
    const uint32_t a = Add("24188", 0, 0), b = Add("24188", 188.3, 0);
    Join(a, 1, b, 0);
    SetZoom(10);  // 5 pixels are 0.5 mm
    Press(2500, 0);
    Drag(2505, 0);
    Release(2505, 0);
    EXPECT_NEAR(doc->FindPiece(b)->x, 188.8, 1e-9);
    EXPECT_EQ(doc->FindPiece(b)->joints[0], (Joint{a, 1}));
    SetZoom(5);
    Press(1000, 0);
    Drag(1010, 0);  // 2 mm
    Release(1010, 0);
    EXPECT_NEAR(doc->FindPiece(b)->x, 190.8, 1e-9);
    EXPECT_TRUE(doc->FindPiece(b)->joints[0].IsOpen());
    EXPECT_TRUE(doc->FindPiece(a)->joints[1].IsOpen());
}

TEST_F(CanvasEdit, SnappedMoveAlsoJoinsASecondPairWithinFourMillimetres) {
    const uint32_t a = Add("24188", 0, 0);
    const uint32_t c = Add("24188", 379.6, 0);  // 3.0 mm beyond where a second straight ends
    const uint32_t b = Add("24188", 188.3, 300, 10);
    const size_t undo = doc->undoStack.size();
    Press(250, 310);
    Drag(251, 5);
    ASSERT_TRUE(Active<MoveGesture>());
    EXPECT_TRUE(Active<MoveGesture>()->groupSnap.Snapped());
    Release(251, 5);
    EXPECT_EQ(doc->undoStack.size(), undo + 1);
    const PlacedPiece& moved = *doc->FindPiece(b);
    EXPECT_NEAR(HeadingDiffDeg(moved.heading, 0), 0, 1e-9);
    EXPECT_NEAR(moved.y, 0, 1e-9);
    // Whichever end snapped, both ends are joined now.
    EXPECT_EQ(moved.joints[0], (Joint{a, 1}));
    EXPECT_EQ(moved.joints[1], (Joint{c, 0}));
    EXPECT_EQ(doc->FindPiece(a)->joints[1], (Joint{b, 0}));
    EXPECT_EQ(doc->FindPiece(c)->joints[0], (Joint{b, 1}));
}

TEST_F(CanvasEdit, AHelixMissingAStubCannotBeMoved) {
    const uint32_t helix = PlaceHelix(*doc, 1000, 1000, 0, "proses_2_5_r1r2");
    const Helix h = *doc->FindHelix(helix);
    // A damaged file: one end piece of the helix is gone, so only three can ever be selected.
    doc->pieces.EraseIf([&](const PlacedPiece& p) { return p.id == h.topR2; });
    const PlacedPiece stub = *doc->FindPiece(h.bottomR1);  // at (1000, 640), heading 0
    const size_t undo = doc->undoStack.size();
    ModalAnswerer answer(wxID_OK);
    Press(static_cast<int>(stub.x) + 50, static_cast<int>(stub.y));
    EXPECT_EQ(Selected().size(), 3u);
    Drag(static_cast<int>(stub.x) + 80, static_cast<int>(stub.y));
    Release(static_cast<int>(stub.x) + 80, static_cast<int>(stub.y));
    ASSERT_EQ(answer.Count(), 1);
    EXPECT_EQ(answer.Dialogs()[0].title, "Helix partially selected");
    EXPECT_EQ(answer.Dialogs()[0].message,
              "Selection contains part of a helix. Either select the whole helix (click any of "
              "its stubs) or exclude it from the selection before moving.");
    EXPECT_DOUBLE_EQ(doc->FindPiece(h.bottomR1)->x, stub.x);
    EXPECT_EQ(doc->undoStack.size(), undo);
}

// ---- Rotation ----

class AltRotation : public CanvasEdit,
                    public testing::WithParamInterface<std::pair<double, bool>> {};

TEST_P(AltRotation, SnapsWithinTwoDegreesOfARightAngleWithTheFlash) {
    const auto [start, snaps] = GetParam();
    const uint32_t p = Add("24188", 200, 200, start);
    doc->FindPiece(p)->selected = true;
    const size_t undo = doc->undoStack.size();
    Press(300, 200, kAlt);  // pointer straight right of the pivot
    ASSERT_TRUE(Active<RotationGesture>());
    EXPECT_EQ(doc->undoStack.size(), undo);  // nothing turned yet
    Drag(300, 200, kAlt);
    EXPECT_DOUBLE_EQ(doc->FindPiece(p)->heading, snaps ? 90.0 : start);
    // Only a turn that changed the heading is recorded.
    EXPECT_EQ(doc->undoStack.size(), snaps ? undo + 1 : undo);
    EXPECT_EQ(canvas->Overlays().rotationFlash, snaps);
    if (snaps) {
        EXPECT_DOUBLE_EQ(canvas->Overlays().rotationHeading, 90);
        EXPECT_TRUE(PumpUntil([&] { return !canvas->Overlays().rotationFlash; }, 3000));
    }
    Release(300, 200, kAlt);
    EXPECT_FALSE(Active<RotationGesture>());
    EXPECT_TRUE(doc->FindPiece(p)->joints[0].IsOpen());
    if (!snaps) return;
    doc->Undo();
    EXPECT_DOUBLE_EQ(doc->FindPiece(p)->heading, start);
}

INSTANTIATE_TEST_SUITE_P(Headings, AltRotation,
                         testing::Values(std::pair{88.5, true}, std::pair{87.9, false}));

// ---- Delete, copy, paste ----

TEST_F(CanvasEdit, DeletingGradedPiecesAsksFirst) {
    const uint32_t p = Add("24188", 100, 100);
    doc->FindPiece(p)->grade = 2;
    doc->FindPiece(p)->selected = true;
    {
        ModalAnswerer no(wxID_NO);
        Key(WXK_DELETE);
        ASSERT_EQ(no.Count(), 1);
        EXPECT_EQ(no.Dialogs()[0].title, "Delete");
        EXPECT_EQ(no.Dialogs()[0].message, "Selection includes graded pieces. Delete?");
    }
    EXPECT_EQ(doc->pieces.size(), 1u);
    ModalAnswerer yes(wxID_YES);
    Command(CanvasPanel::kDeleteSelectionId);
    EXPECT_EQ(yes.Count(), 1);
    EXPECT_TRUE(doc->pieces.empty());
}

TEST_F(CanvasEdit, CopyPasteAndTheBufferEmptiedByAClickOnEmptyCanvas) {
    const uint32_t a = Add("24188", 0, 0), b = Add("24188", 188.3, 0);
    Join(a, 1, b, 0);
    Click(50, 0);
    Click(250, 0, kCtrl);
    ASSERT_EQ(Selected(), (std::vector<uint32_t>{a, b}));
    RightClick(250, 0);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0], (std::vector<wxString>{"Autofill Gap...", "Close Gap...", "Copy"}));
    Command(5032);
    RightClick(1000, 1000);  // empty canvas with a full buffer: only Paste
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[1], std::vector<wxString>{"Paste"});
    const size_t undo = doc->undoStack.size();
    Command(5033);
    ASSERT_EQ(doc->pieces.size(), 4u);
    EXPECT_EQ(doc->undoStack.size(), undo + 1);
    EXPECT_NEAR(doc->pieces[2].x, 1000 - 94.15, 1e-9);
    EXPECT_NEAR(doc->pieces[3].y, 1000, 1e-9);
    EXPECT_EQ(doc->pieces[2].joints[1], (Joint{doc->pieces[3].id, 0}));
    EXPECT_EQ(Selected(), (std::vector<uint32_t>{doc->pieces[2].id, doc->pieces[3].id}));

    Click(3000, 3000);  // empties the buffer and the selection
    EXPECT_TRUE(Selected().empty());
    doc->pieces[0].selected = true;
    RightClick(3000, 3000);
    EXPECT_EQ(menus.size(), 2u);  // no menu this time
    EXPECT_TRUE(Selected().empty());
    doc->pieces[0].selected = true;
    RightClick(3000, 3000, kShift);  // Shift keeps the selection
    EXPECT_EQ(Selected(), std::vector<uint32_t>{doc->pieces[0].id});
}

// ---- Clone, chains, autofill ----

TEST_F(CanvasEdit, DoubleClickClonesAndExtendsAndSwallowsTheNextPress) {
    const uint32_t p = Add("24188", 100, 100);
    DoubleClick(150, 100);
    ASSERT_EQ(doc->pieces.size(), 2u);
    const PlacedPiece clone = Last();
    EXPECT_NEAR(clone.x, 288.3, 1e-9);
    EXPECT_EQ(clone.joints[0], (Joint{p, 1}));
    EXPECT_EQ(doc->FindPiece(p)->joints[1], (Joint{clone.id, 0}));
    EXPECT_EQ(Selected(), std::vector<uint32_t>{clone.id});
    EXPECT_TRUE(canvas->Gestures().SwallowsNextPress());
    Click(3000, 3000);  // swallowed: the selection stays
    EXPECT_EQ(Selected(), std::vector<uint32_t>{clone.id});
    DoubleClick(350, 100);
    ASSERT_EQ(doc->pieces.size(), 3u);
    EXPECT_NEAR(Last().x, 476.6, 1e-9);
    EXPECT_EQ(Last().joints[0], (Joint{clone.id, 1}));
}

TEST_F(CanvasEdit, ShiftClickAlongALoopSelectsTheShorterChain) {
    const PieceDef& def = *TrackCatalog::Instance().Find("24130");
    std::vector<uint32_t> ids{Add("24130", 1000, 640, 0)};
    for (int k = 1; k < 12; ++k) {
        const PlacedPiece& prev = *doc->FindPiece(ids.back());
        const PiecePose pose = AlignToConnector(def, 0, GetConnectorPose(prev, def, 1));
        ids.push_back(Add("24130", pose.x, pose.y, pose.heading));
        Join(ids[k - 1], 1, ids[k], 0);
    }
    Join(ids[11], 1, ids[0], 0);
    auto clickOn = [&](int k, int mods) {
        const PointMm mid = PieceMidpoint(*doc->FindPiece(ids[k]), def);
        ASSERT_EQ(PieceAt(*doc, canvas->Transform(), std::lround(mid.x), std::lround(mid.y)),
                  ids[k]);
        Click(std::lround(mid.x), std::lround(mid.y), mods);
    };
    clickOn(2, kNone);
    clickOn(11, kShift);  // 2-1-0-11 beats 2-3-...-11
    EXPECT_EQ(Selected(), (std::vector<uint32_t>{ids[0], ids[1], ids[2], ids[11]}));
    clickOn(5, kCtrl);
    clickOn(7, kShift);  // the anchor is the last selected in document order: 11
    EXPECT_EQ(Selected(), (std::vector<uint32_t>{ids[0], ids[1], ids[2], ids[5], ids[7], ids[8],
                                                 ids[9], ids[10], ids[11]}));
}

TEST_F(CanvasEdit, AutofillOffersTheSingle188StraightFirstAndPlacesIt) {
    const uint32_t a = Add("24188", 0, 0), b = Add("24188", 376.6, 0);
    Click(50, 0);
    Click(450, 0, kCtrl);
    std::vector<wxString> lines;
    ModalAnswerer answer([&](wxDialog* dialog) -> int {
        wxListBox* list = nullptr;
        for (wxWindow* child : dialog->GetChildren())
            if (auto* l = dynamic_cast<wxListBox*>(child)) list = l;
        if (!list) return wxID_CANCEL;
        for (unsigned i = 0; i < list->GetCount(); ++i) lines.push_back(list->GetString(i));
        list->SetSelection(0);
        return wxID_OK;
    });
    RightClick(450, 0);
    ASSERT_EQ(menus.back().front(), "Autofill Gap...");
    const size_t undo = doc->undoStack.size();
    Command(6001);
    ASSERT_EQ(answer.Count(), 1);
    EXPECT_EQ(answer.Dialogs()[0].title, "Autofill Gap");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "24188 - 188.3mm  (188.3 mm)");
    EXPECT_LE(lines.size(), 12u);
    ASSERT_EQ(doc->pieces.size(), 3u);
    EXPECT_EQ(doc->undoStack.size(), undo + 1);
    const PlacedPiece& fill = Last();
    EXPECT_EQ(fill.article, "24188");
    EXPECT_NEAR(fill.x, 188.3, 1e-9);
    EXPECT_EQ(fill.joints[0], (Joint{a, 1}));
    EXPECT_EQ(fill.joints[1], (Joint{b, 0}));
    EXPECT_EQ(doc->FindPiece(b)->joints[0], (Joint{fill.id, 1}));
}

// ---- Tape, measurements, labels, scenery ----

TEST_F(CanvasEdit, TapeIgnoresASecondClickOnTheSameSpotAndLeavesTheMode) {
    doc->toolMode = 3;
    Click(100, 100);
    EXPECT_TRUE(canvas->Overlays().tape);
    Hover(300, 100);
    Click(100, 100);
    EXPECT_TRUE(doc->measurements.empty());
    EXPECT_EQ(doc->toolMode, 0);
    EXPECT_FALSE(canvas->Overlays().tape);
    doc->toolMode = 3;
    Click(100, 100);
    Click(400, 500);
    ASSERT_EQ(doc->measurements.size(), 1u);
    const Measurement& m = doc->measurements[0];
    EXPECT_DOUBLE_EQ(std::hypot(m.x2 - m.x1, m.y2 - m.y1), 500);
    doc->toolMode = 3;
    Click(100, 100);
    Key(WXK_ESCAPE);
    EXPECT_EQ(doc->toolMode, 0);
    EXPECT_FALSE(Active<TapeGesture>());
}

TEST_F(CanvasEdit, RightEdgeHandleOfATurnedPlatformKeepsItsLeftEdge) {
    SceneryItem s;
    s.id = doc->TakeId();
    s.item = "platform";  // 230 x 60
    s.x = 400;
    s.y = 400;
    s.heading = 90;
    s.selected = true;
    doc->scenery.push_back(s);
    // Turned by 90 degrees: right edge handle at (400, 515), left edge at (400, 285).
    Hover(400, 515);
    const size_t undo = doc->undoStack.size();
    Press(400, 515);
    ASSERT_TRUE(Active<ResizeGesture>());
    Drag(410, 600);
    Release(410, 600);
    const SceneryItem& r = doc->scenery[0];
    EXPECT_NEAR(r.scaleX * 230, 315, 1e-9);
    EXPECT_DOUBLE_EQ(r.scaleY, 1);
    const PointMm left = HandleWorld(r, *SceneryCatalog::Instance().Find("platform"), 7);
    EXPECT_NEAR(left.x, 400, 1e-9);
    EXPECT_NEAR(left.y, 285, 1e-9);
    EXPECT_EQ(doc->undoStack.size(), undo + 1);
}

TEST_F(CanvasEdit, RightClickOnTheHeadOfAClimbEndsItThere) {
    const uint32_t p = Add("24188", 100, 100);
    ASSERT_FALSE(StartGrade(*doc, p, 2.0).empty());
    ASSERT_EQ(doc->gradeRuns.size(), 1u);
    const size_t undo = doc->undoStack.size();
    RightClick(150, 100);
    EXPECT_TRUE(doc->gradeRuns.empty());
    EXPECT_TRUE(menus.empty());
    EXPECT_EQ(doc->undoStack.size(), undo + 1);
    RightClick(150, 100);  // no climb left: the context menu
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0], std::vector<wxString>{"Copy"});
    doc->Undo();
    EXPECT_EQ(doc->gradeRuns.size(), 1u);
}

// ---- Undo and redo over a session ----

TEST_F(CanvasEdit, EveryEditOfASessionUndoesAndRedoesExactly) {
    ModalAnswerer yes(wxID_YES);
    std::vector<DocContent> states{ContentOf(*doc)};
    std::vector<std::string> names{"start"};
    auto edit = [&](const std::string& name, const std::function<void()>& action) {
        const size_t before = doc->undoStack.size();
        action();
        ASSERT_EQ(doc->undoStack.size(), before + 1) << name;
        states.push_back(ContentOf(*doc));
        names.push_back(name);
    };
    edit("drop", [&] {
        canvas->BeginPieceDrag("24188");
        Hover(100, 100);
        Press(100, 100);
    });
    edit("drop snapped", [&] {
        canvas->BeginPieceDrag("24130");
        Hover(290, 105);
        Press(290, 105);
    });
    edit("clone", [&] { DoubleClick(150, 100); });
    Click(3000, 3000);  // the swallowed press
    edit("move", [&] {
        Press(150, 100);
        Drag(150, 300);
        Release(150, 300);
    });
    edit("rotate", [&] {
        Press(500, 500, kAlt);
        Drag(500, 700, kAlt);
        Release(500, 700, kAlt);
    });
    edit("step", [&] { RightClick(0, 0, kAlt); });
    edit("copy and paste", [&] {
        RightClick(100, 300);  // the moved straight's origin, the pivot of both turns
        Command(5032);
        RightClick(1500, 1500);
        Command(5033);
    });
    edit("scenery", [&] {
        canvas->BeginSceneryDrag("platform");
        Hover(800, 800);
        Press(800, 800);
    });
    edit("resize", [&] {
        Press(915, 800);
        Drag(1000, 820);
        Release(1000, 820);
    });
    edit("scenery move", [&] {
        Press(800, 800);
        Drag(820, 830);
        Release(820, 830);
    });
    edit("tape", [&] {
        doc->toolMode = 3;
        Click(2000, 100);
        Click(2300, 100);
    });
    edit("measurement drag", [&] {
        Press(2150, 100);
        Drag(2150, 200);
        Release(2150, 200);
    });
    edit("delete", [&] {
        Click(100, 300);
        Key(WXK_DELETE);
    });
    edit("helix", [&] {
        canvas->BeginHelixDrag("proses_2_5_r1r2");
        Hover(3000, 3000);
        Press(3000, 3000);
    });
    const size_t n = states.size();
    for (size_t k = n - 1; k > 0; --k) {
        doc->Undo();
        EXPECT_EQ(ContentOf(*doc, false), Unselected(states[k - 1])) << "undo of " << names[k];
    }
    for (size_t k = 1; k < n; ++k) {
        doc->Redo();
        // Redo brings back what undo found, whose selection is that of the next edit's start.
        if (k + 1 < n)
            EXPECT_EQ(ContentOf(*doc, false), Unselected(states[k])) << "redo of " << names[k];
        else
            EXPECT_EQ(ContentOf(*doc), states[k]) << "redo of " << names[k];
    }
}

}  // namespace
