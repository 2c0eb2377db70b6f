// Editing on the canvas of the real main window, driven by synthetic mouse and key events:
// palette drops and their undo, moves, rotation, context menus, delete, copy and paste, autofill
// and climbs.
#include <gtest/gtest.h>
#include <wx/listbox.h>
#include <wx/menu.h>

#include "app/CommandIds.h"
#include "canvas/Interaction.h"
#include "canvas/Snapping.h"
#include "catalog/TrackCatalog.h"
#include "model/GradeRuns.h"
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

    void Send(wxEventType type, int x, int y, int mods, bool left) {
        wxMouseEvent e(type);
        e.SetId(canvas->GetId());
        e.SetPosition(wxPoint(x, y));
        e.SetControlDown(mods & kCtrl);
        e.SetShiftDown(mods & kShift);
        e.SetAltDown(mods & kAlt);
        e.SetLeftDown(left);
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
        const size_t undo = Undos();
        Press(288, 124);
        EXPECT_FALSE(Active<PieceDragGesture>());
        ASSERT_EQ(doc->pieces.size(), 2u);
        EXPECT_EQ(Undos(), undo + 1);
        EXPECT_NEAR(Last().x, 288, 1e-9);
        EXPECT_EQ(Last().joints[0], (Joint{first, 1}));
        EXPECT_TRUE(frame->IsModified());
        Command(kCmdUndo);
        ASSERT_EQ(doc->pieces.size(), 1u);
        EXPECT_TRUE(doc->FindPiece(first)->joints[1].IsOpen());
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
            EXPECT_EQ(answer.Dialogs()[0].message,
                      IncompatibleSystemsText(TrackSystem::MarklinC, TrackSystem::MarklinK));
        }
        EXPECT_EQ(doc->pieces.size(), pieces);
        EXPECT_EQ(Undos(), undo);
        EXPECT_FALSE(Active<PieceDragGesture>());
    }
}

TEST_F(CanvasEdit, MovesAndTurns) {
    const uint32_t a = Add("24188", 0, 0), b = Add("24188", 188.3, 0);
    Join(a, 1, b, 0);
    const size_t undo = Undos();
    {
        SCOPED_TRACE("a drag moves the piece it starts on and parts its joint");
        DragFromTo(250, 0, 260, 0);
        EXPECT_EQ(Selected(), std::vector<uint32_t>{b});
        EXPECT_NEAR(doc->FindPiece(b)->x, 198.3, 1e-9);
        EXPECT_TRUE(doc->FindPiece(a)->joints[1].IsOpen());
        EXPECT_EQ(Undos(), undo + 1);
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
}

TEST_F(CanvasEdit, ContextMenusCopyPasteDeleteAutofillAndClimbs) {
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
        EXPECT_NEAR(doc->pieces[2].x, 1000 - 94.15, 1e-9);  // centred on the right click
        Click(3000, 3000);                                  // empties the buffer and the selection
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
        ASSERT_EQ(doc->pieces.size(), 3u);
        EXPECT_EQ(Undos(), undo + 1);
        EXPECT_NEAR(Last().x, 188.3, 1e-9);
        EXPECT_EQ(Last().joints[0], (Joint{l, 1}));
        EXPECT_EQ(doc->FindPiece(r)->joints[0], (Joint{Last().id, 1}));
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

}  // namespace
