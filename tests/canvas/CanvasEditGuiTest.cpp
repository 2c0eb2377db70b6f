// Editing on the canvas of the real main window, driven by synthetic mouse and key events:
// palette drops, moves, rotation, delete, copy and paste, clone, chains, autofill, tape, handles
// and undo over a session of mixed edits.
#include <gtest/gtest.h>
#include <wx/listbox.h>
#include <wx/menu.h>

#include <cmath>

#include "canvas/Interaction.h"
#include "catalog/TrackCatalog.h"
#include "model/GradeRuns.h"
#include "model/Helices.h"
#include "model/TrackBuilder.h"
#include "support/FrameFixture.h"
#include "trackgeometry/PieceGeometry.h"

namespace {

enum Mods { kNone = 0, kCtrl = 1, kShift = 2, kAlt = 4 };

class CanvasEdit : public testing::Test, public FrameFixture {
protected:
    LayoutDocument* doc = nullptr;
    std::vector<std::vector<wxString>> menus;  // labels of every context menu shown

    void SetUp() override {
        OpenFrame(wxSize(1000, 700));
        doc = &Doc();
        SetZoom(1);  // one pixel per millimetre, origin at the window corner
        canvas->SetPopupMenuHook([this](wxMenu& menu) {
            std::vector<wxString> labels;
            for (wxMenuItem* item : menu.GetMenuItems()) labels.push_back(item->GetItemLabelText());
            menus.push_back(labels);
        });
        PumpEvents();
    }
    void TearDown() override {
        EXPECT_FALSE(canvas->HasCapture());  // every gesture ends by giving the pointer back
        CloseFrame();
    }

    void SetZoom(double zoom) { canvas->SetTransform(ViewTransform{zoom, 0, 0}); }

    void Send(wxEventType type, int x, int y, int mods, bool left, int wheel = 0) {
        wxMouseEvent e(type);
        e.SetId(canvas->GetId());
        e.SetPosition(wxPoint(x, y));
        e.SetControlDown(mods & kCtrl);
        e.SetShiftDown(mods & kShift);
        e.SetAltDown(mods & kAlt);
        e.SetLeftDown(left);
        e.m_wheelRotation = wheel;
        e.m_wheelDelta = 120;
        ToCanvas(e);
    }
    void Press(int x, int y, int mods = kNone) { Send(wxEVT_LEFT_DOWN, x, y, mods, true); }
    void Drag(int x, int y, int mods = kNone) { Send(wxEVT_MOTION, x, y, mods, true); }
    void Hover(int x, int y) { Send(wxEVT_MOTION, x, y, kNone, false); }
    void Release(int x, int y, int mods = kNone) { Send(wxEVT_LEFT_UP, x, y, mods, false); }
    void Click(int x, int y, int mods = kNone) {
        Press(x, y, mods);
        Release(x, y, mods);
    }
    void DragFromTo(int x0, int y0, int x1, int y1, int mods = kNone) {
        Press(x0, y0, mods);
        Drag(x1, y1, mods);
        Release(x1, y1, mods);
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
    void Drop(const std::string& article, int x, int y) {
        canvas->BeginPieceDrag(article);
        Hover(x, y);
        Press(x, y);
    }
    void Key(int code) {
        wxKeyEvent e(wxEVT_KEY_DOWN);
        e.m_keyCode = code;
        ToCanvas(e);
    }
    void CanvasCommand(int id) {
        wxCommandEvent e(wxEVT_MENU, id);
        ToCanvas(e);
    }
    void ToCanvas(wxEvent& e) {
        e.SetEventObject(canvas);
        canvas->GetEventHandler()->ProcessEvent(e);
    }

    uint32_t Add(const std::string& article, double x, double y, double heading = 0) {
        return TrackBuilder(*doc).Place(article, x, y, heading);
    }
    void Join(uint32_t a, int ca, uint32_t b, int cb) { TrackBuilder(*doc).Join(a, ca, b, cb); }
    std::vector<uint32_t> Selected() const {
        std::vector<uint32_t> ids;
        for (const PlacedPiece& p : doc->pieces)
            if (p.selected) ids.push_back(p.id);
        return ids;
    }
    size_t Undos() const { return doc->undoStack.size(); }
    const PlacedPiece& Last() const { return doc->pieces.back(); }
    template <class G>
    const G* Active() const {
        return canvas->Gestures().Get<G>();
    }
};

TEST_F(CanvasEdit, PaletteDropsSnapJoinAndRefuseAClashOfSystems) {
    const uint32_t first = Add("24188", 99.7, 100);  // open end at (288, 100), heading 0
    {
        SCOPED_TRACE("within 24 mm the ghost snaps and the piece drops joined");
        canvas->BeginPieceDrag("24188");
        Send(wxEVT_RIGHT_DOWN, 0, 0, kNone, false);  // the ghost turns 30 degrees
        EXPECT_DOUBLE_EQ(Active<PieceDragGesture>()->freePose.heading, 30);
        Hover(288, 124);
        ASSERT_TRUE(Active<PieceDragGesture>()->snap.snapped);
        EXPECT_TRUE(canvas->Overlays().snapTarget);
        const size_t undo = Undos();
        Press(288, 124);
        EXPECT_FALSE(Active<PieceDragGesture>());
        ASSERT_EQ(doc->pieces.size(), 2u);
        EXPECT_EQ(Undos(), undo + 1);
        EXPECT_NEAR(Last().x, 288, 1e-9);
        EXPECT_EQ(Last().joints[0], (Joint{first, 1}));
        EXPECT_EQ(doc->FindPiece(first)->joints[1], (Joint{Last().id, 0}));
        EXPECT_EQ(Selected(), std::vector<uint32_t>{Last().id});
        EXPECT_TRUE(frame->IsModified());
    }
    {
        SCOPED_TRACE("a pair piece arrives as two joined, the first selected");
        Drop("74618", 500, 500);
        ASSERT_EQ(doc->pieces.size(), 4u);
        const PlacedPiece &a = doc->pieces[2], &b = doc->pieces[3];
        EXPECT_EQ(b.article, "74618");
        EXPECT_EQ(a.joints[1], (Joint{b.id, 0}));
        EXPECT_NEAR(b.x, 680, 1e-9);  // 180 mm further along heading 0
        EXPECT_EQ(Selected(), std::vector<uint32_t>{a.id});
    }
    {
        SCOPED_TRACE("C-Track next to an open K-Track end is refused with the clash message");
        Add("2200", 100, 1000);  // open end at (280, 1000)
        const size_t pieces = doc->pieces.size(), undo = Undos();
        {
            ModalAnswerer answer(wxID_OK);
            Drop("24188", 290, 1000);
            ASSERT_EQ(answer.Count(), 1);
            EXPECT_EQ(answer.Dialogs()[0].title, "Incompatible Track Systems");
            EXPECT_EQ(
                answer.Dialogs()[0].message,
                "Marklin C-Track cannot connect to Marklin K-Track.\n\nThese track systems "
                "are not compatible.\nUse adapter track 24922 to connect C-Track to K-Track.");
        }
        EXPECT_EQ(doc->pieces.size(), pieces);
        EXPECT_EQ(Undos(), undo);
        EXPECT_FALSE(Active<PieceDragGesture>());
        doc->snapOn = false;  // without snapping the piece goes down unjoined, without a word
        ModalAnswerer none(wxID_OK);
        Drop("24188", 290, 1000);
        EXPECT_EQ(none.Count(), 0);
        EXPECT_EQ(doc->pieces.size(), pieces + 1);
    }
}

TEST_F(CanvasEdit, MovesTurnsAndTheirRefusals) {
    const uint32_t a = Add("24188", 0, 0), b = Add("24188", 188.3, 0);
    Join(a, 1, b, 0);
    const size_t undo = Undos();
    {
        SCOPED_TRACE("four pixels select, five move, two millimetres detach");
        DragFromTo(250, 0, 254, 0);
        EXPECT_EQ(Selected(), std::vector<uint32_t>{b});
        EXPECT_DOUBLE_EQ(doc->FindPiece(b)->x, 188.3);
        EXPECT_EQ(Undos(), undo);
        SetZoom(10);                   // 5 pixels are 0.5 mm: the joint holds
        DragFromTo(2500, 0, 2503, 4);  // 3-4-5: exactly five pixels
        EXPECT_NEAR(doc->FindPiece(b)->x, 188.6, 1e-9);
        EXPECT_NEAR(doc->FindPiece(b)->y, 0.4, 1e-9);
        EXPECT_EQ(doc->FindPiece(b)->joints[0], (Joint{a, 1}));
        EXPECT_EQ(Undos(), undo + 1);
        SetZoom(5);
        DragFromTo(1000, 0, 1010, 0);  // 2 mm
        EXPECT_NEAR(doc->FindPiece(b)->x, 190.6, 1e-9);
        EXPECT_TRUE(doc->FindPiece(b)->joints[0].IsOpen());
        EXPECT_TRUE(doc->FindPiece(a)->joints[1].IsOpen());
        SetZoom(1);
    }
    {
        SCOPED_TRACE("an Alt turn snaps to the right angle and its flash goes out on a timer");
        const uint32_t p = Add("24188", 200, 200, 88.5);
        doc->ClearSelection();
        doc->FindPiece(p)->selected = true;
        const size_t before = Undos();
        Press(300, 200, kAlt);  // pointer straight right of the pivot
        ASSERT_TRUE(Active<RotationGesture>());
        Drag(300, 200, kAlt);
        EXPECT_DOUBLE_EQ(doc->FindPiece(p)->heading, 90);
        EXPECT_EQ(Undos(), before + 1);
        EXPECT_TRUE(canvas->Overlays().rotationFlash);
        EXPECT_TRUE(PumpUntil([&] { return !canvas->Overlays().rotationFlash; }, 3000));
        Release(300, 200, kAlt);
        EXPECT_FALSE(Active<RotationGesture>());
    }
    {
        SCOPED_TRACE("a helix missing a stub cannot be moved");
        const Helix h = *doc->FindHelix(PlaceHelix(*doc, 1000, 1000, 0, "proses_2_5_r1r2"));
        // A damaged file: one end piece of the helix is gone, so only three can be selected.
        doc->pieces.EraseIf([&](const PlacedPiece& p) { return p.id == h.topR2; });
        const PlacedPiece stub = *doc->FindPiece(h.bottomR1);  // at (1000, 640), heading 0
        const size_t before = Undos();
        ModalAnswerer answer(wxID_OK);
        const int x = static_cast<int>(stub.x), y = static_cast<int>(stub.y);
        DragFromTo(x + 50, y, x + 80, y);
        ASSERT_EQ(answer.Count(), 1);
        EXPECT_EQ(answer.Dialogs()[0].title, "Helix partially selected");
        EXPECT_EQ(answer.Dialogs()[0].message,
                  "Selection contains part of a helix. Either select the whole helix (click any "
                  "of its stubs) or exclude it from the selection before moving.");
        EXPECT_DOUBLE_EQ(doc->FindPiece(h.bottomR1)->x, stub.x);
        EXPECT_EQ(Undos(), before);
    }
}

TEST_F(CanvasEdit, ContextMenusCopyPasteDeleteAutofillChainsAndClimbs) {
    const uint32_t a = Add("24188", 0, 0), b = Add("24188", 188.3, 0);
    Join(a, 1, b, 0);
    {
        SCOPED_TRACE("copy and paste from the context menu");
        Click(50, 0);
        Click(250, 0, kCtrl);
        ASSERT_EQ(Selected(), (std::vector<uint32_t>{a, b}));
        RightClick(250, 0);
        ASSERT_EQ(menus.size(), 1u);
        EXPECT_EQ(menus[0], (std::vector<wxString>{"Autofill Gap...", "Close Gap...", "Copy"}));
        CanvasCommand(5032);
        RightClick(1000, 1000);  // empty canvas with a full buffer: only Paste
        ASSERT_EQ(menus.size(), 2u);
        EXPECT_EQ(menus[1], std::vector<wxString>{"Paste"});
        const size_t undo = Undos();
        CanvasCommand(5033);
        ASSERT_EQ(doc->pieces.size(), 4u);
        EXPECT_EQ(Undos(), undo + 1);
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
    {
        SCOPED_TRACE("deleting graded pieces asks first");
        doc->pieces[0].grade = 2;
        {
            ModalAnswerer no(wxID_NO);
            Key(WXK_DELETE);
            ASSERT_EQ(no.Count(), 1);
            EXPECT_EQ(no.Dialogs()[0].title, "Delete");
            EXPECT_EQ(no.Dialogs()[0].message, "Selection includes graded pieces. Delete?");
        }
        EXPECT_EQ(doc->pieces.size(), 4u);
        ModalAnswerer yes(wxID_YES);
        CanvasCommand(CanvasPanel::kDeleteSelectionId);
        EXPECT_EQ(yes.Count(), 1);
        EXPECT_EQ(doc->pieces.size(), 3u);
    }
    {
        SCOPED_TRACE("autofill offers the single 188 straight first and places it");
        doc->pieces.clear();
        const uint32_t l = Add("24188", 0, 0), r = Add("24188", 376.6, 0);
        Click(50, 0);
        Click(450, 0, kCtrl);
        std::vector<wxString> lines;
        ModalAnswerer answer([&](wxDialog* dialog) -> int {
            for (wxWindow* child : dialog->GetChildren())
                if (auto* list = dynamic_cast<wxListBox*>(child)) {
                    for (unsigned i = 0; i < list->GetCount(); ++i)
                        lines.push_back(list->GetString(i));
                    list->SetSelection(0);
                    return wxID_OK;
                }
            return wxID_CANCEL;
        });
        RightClick(450, 0);
        ASSERT_EQ(menus.back().front(), "Autofill Gap...");
        const size_t undo = Undos();
        CanvasCommand(6001);
        ASSERT_EQ(answer.Count(), 1);
        EXPECT_EQ(answer.Dialogs()[0].title, "Autofill Gap");
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0], "24188 - 188.3mm  (188.3 mm)");
        EXPECT_LE(lines.size(), 12u);
        ASSERT_EQ(doc->pieces.size(), 3u);
        EXPECT_EQ(Undos(), undo + 1);
        EXPECT_NEAR(Last().x, 188.3, 1e-9);
        EXPECT_EQ(Last().joints[0], (Joint{l, 1}));
        EXPECT_EQ(doc->FindPiece(r)->joints[0], (Joint{Last().id, 1}));
    }
    {
        SCOPED_TRACE("a shift click selects the chain between");
        doc->pieces.clear();
        const uint32_t a = Add("24188", 0, 0), b = Add("24188", 188.3, 0),
                       c = Add("24188", 376.6, 0);
        Join(a, 1, b, 0);
        Join(b, 1, c, 0);
        Click(50, 0);
        Click(450, 0, kShift);
        EXPECT_EQ(Selected(), (std::vector<uint32_t>{a, b, c}));
    }
    {
        SCOPED_TRACE("a right click on the head of a climb ends it there");
        doc->pieces.clear();
        doc->ClearSelection();
        const uint32_t p = Add("24188", 100, 100);
        ASSERT_FALSE(StartGrade(*doc, p, 2.0).empty());
        const size_t shown = menus.size(), undo = Undos();
        RightClick(150, 100);
        EXPECT_TRUE(doc->gradeRuns.empty());
        EXPECT_EQ(menus.size(), shown);
        EXPECT_EQ(Undos(), undo + 1);
        RightClick(150, 100);  // no climb left: the context menu
        ASSERT_EQ(menus.size(), shown + 1);
        EXPECT_EQ(menus.back(), std::vector<wxString>{"Copy"});
    }
}

// ---- Undo and redo over a session ----

TEST_F(CanvasEdit, EveryEditOfASessionUndoesAndRedoesExactly) {
    ModalAnswerer yes(wxID_YES);
    std::vector<UndoSnapshot> states{doc->Snapshot()};
    std::vector<std::string> names{"start"};
    auto edit = [&](const std::string& name, const std::function<void()>& action) {
        const size_t before = Undos();
        action();
        ASSERT_EQ(Undos(), before + 1) << name;
        states.push_back(doc->Snapshot());
        names.push_back(name);
    };
    edit("drop", [&] { Drop("24188", 100, 100); });
    edit("drop snapped", [&] { Drop("24130", 290, 105); });
    edit("clone", [&] { DoubleClick(150, 100); });
    Click(3000, 3000);  // the swallowed press
    edit("move", [&] { DragFromTo(150, 100, 150, 300); });
    edit("rotate", [&] { DragFromTo(500, 500, 500, 700, kAlt); });
    edit("step", [&] { RightClick(0, 0, kAlt); });
    edit("copy and paste", [&] {
        RightClick(100, 300);  // the moved straight's origin, the pivot of both turns
        CanvasCommand(5032);
        RightClick(1500, 1500);
        CanvasCommand(5033);
    });
    edit("scenery", [&] {
        canvas->BeginSceneryDrag("platform");
        Hover(800, 800);
        Press(800, 800);
    });
    edit("resize", [&] { DragFromTo(915, 800, 1000, 820); });
    edit("scenery move", [&] { DragFromTo(800, 800, 820, 830); });
    edit("tape", [&] {
        doc->toolMode = 3;
        Click(2000, 100);
        Click(2300, 100);
    });
    edit("measurement drag", [&] { DragFromTo(2150, 100, 2150, 200); });
    edit("delete", [&] {
        Click(100, 300);
        Key(WXK_DELETE);
    });
    edit("helix", [&] {
        canvas->BeginHelixDrag("proses_2_5_r1r2");
        Hover(3000, 3000);
        Press(3000, 3000);
    });
    for (size_t k = states.size() - 1; k > 0; --k) {
        doc->Undo();
        EXPECT_TRUE(SameContent(states[k - 1], *doc)) << "undo of " << names[k];
    }
    for (size_t k = 1; k < states.size(); ++k) {
        doc->Redo();
        EXPECT_TRUE(SameContent(states[k], *doc)) << "redo of " << names[k];
    }
}

}  // namespace
