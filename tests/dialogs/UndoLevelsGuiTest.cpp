// Every change to the document can be undone, the levels and the baseboard included.
#include <gtest/gtest.h>
#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>

#include <cstdlib>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "dialogs/LayoutShape.h"
#include "dialogs/gui/LayoutShapeDialog.h"
#include "dialogs/gui/LevelManagerDialog.h"
#include "support/GuiTestSupport.h"

namespace {

class UndoLevelsGuiTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("HOME", home.Path().c_str(), 1);
        frame = new MainFrame();
        frame->Document().EnsureDefaultLevel();
    }
    void TearDown() override {
        frame->Destroy();
        PumpEvents();
    }
    void Command(int id) {
        wxCommandEvent event(wxEVT_MENU, id);
        event.SetEventObject(frame);
        frame->GetEventHandler()->ProcessEvent(event);
        frame->FlushChanges();
    }
    LayoutDocument& Doc() { return frame->Document(); }
    void Pieces(int count, int32_t level) {
        for (int i = 0; i < count; ++i) {
            PlacedPiece p;
            p.id = Doc().TakeId();
            p.article = "24188";
            p.x = 200.0 * i;
            p.level = level;
            p.joints.resize(2);
            Doc().pieces.push_back(p);
        }
    }
    void AddSecondLevel() {
        Level upper;
        upper.id = 2;
        upper.name = "Upper";
        upper.height = 80;
        Doc().levels.push_back(upper);
    }
    // Applies a rectangle in the layout shape dialog.
    void ApplyRectangle(int width, int depth) {
        ModalAnswerer answer([=](wxDialog* d) {
            auto* shape = dynamic_cast<LayoutShapeDialog*>(d);
            if (!shape) return int(wxID_CANCEL);
            shape->SelectShape(kShapeRectangle);
            shape->Field(0)->SetValue(width);
            shape->Field(1)->SetValue(depth);
            return shape->Apply() ? int(wxID_OK) : int(wxID_CANCEL);
        });
        Command(kCmdLayoutShape);
    }

    TempDir home;
    MainFrame* frame = nullptr;
};

// Removing a level that held 9 pieces could not be taken back.
TEST_F(UndoLevelsGuiTest, RemovedLevelWithItsPiecesComesBackWithUndo) {
    AddSecondLevel();
    Pieces(2, 1);
    Pieces(9, 2);
    const std::vector<PlacedPiece> pieces = Doc().pieces;
    const std::vector<Level> levels = Doc().levels;
    wxString question;
    ModalAnswerer answer([&](wxDialog* d) -> int {
        if (auto* box = dynamic_cast<wxMessageDialog*>(d)) {
            question = box->GetMessage();
            return wxID_YES;
        }
        auto* manager = dynamic_cast<LevelManagerDialog*>(d);
        if (!manager) return wxID_CANCEL;
        manager->List()->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        manager->RemoveSelected();
        return wxID_OK;
    });
    Command(kCmdLevels);
    EXPECT_TRUE(question.Contains(wxString::FromUTF8("\u2022 9 track piece(s)")));
    EXPECT_TRUE(question.EndsWith("This cannot be undone from this dialog. Are you sure?"));
    ASSERT_EQ(Doc().pieces.size(), 2u);
    ASSERT_EQ(Doc().levels.size(), 1u);
    EXPECT_EQ(Doc().undoStack.size(), 1u) << "the whole manager session is one step";

    Command(kCmdUndo);
    EXPECT_EQ(Doc().pieces, pieces);
    EXPECT_EQ(Doc().levels, levels);
    Command(kCmdRedo);
    EXPECT_EQ(Doc().pieces.size(), 2u);
    EXPECT_EQ(Doc().levels.size(), 1u);
}

// Undo after New brought the old pieces back without their baseboard (and without their deck).
TEST_F(UndoLevelsGuiTest, UndoAfterNewBringsThePiecesBackWithTheirBaseboardAndLevels) {
    AddSecondLevel();
    Pieces(3, 2);
    Doc().activeLevel = 2;
    ApplyRectangle(1800, 600);
    ASSERT_EQ(Doc().baseboard.size(), 4u);
    const LayoutDocument before = Doc();
    {
        ModalAnswerer dontSave(wxID_NO);
        Command(wxID_NEW);
    }
    ASSERT_TRUE(Doc().pieces.empty());
    ASSERT_TRUE(Doc().baseboard.empty());
    Command(kCmdUndo);
    EXPECT_EQ(Doc().pieces, before.pieces);
    EXPECT_EQ(Doc().baseboard, before.baseboard);
    EXPECT_EQ(Doc().levels, before.levels);
    EXPECT_EQ(Doc().activeLevel, 2u);
    EXPECT_EQ(Doc().shapeWidth, 1800);
}

TEST_F(UndoLevelsGuiTest, BaseboardChangeIsOneUndoStepAndAnUnchangedDialogIsNone) {
    ApplyRectangle(1800, 600);
    ASSERT_EQ(Doc().undoStack.size(), 1u);
    ApplyRectangle(1800, 600);  // the same outline again
    EXPECT_EQ(Doc().undoStack.size(), 1u);
    ApplyRectangle(2000, 600);
    EXPECT_EQ(Doc().undoStack.size(), 2u);
    Command(kCmdUndo);
    EXPECT_EQ(Doc().baseboard, ShapeOutlineMm(kShapeRectangle, {1800, 600, 0, 0}));
    Command(kCmdUndo);
    EXPECT_TRUE(Doc().baseboard.empty());
    EXPECT_EQ(Doc().shapeWidth, 2400) << "the shape settings come back with the outline";

    Doc().undoStack.clear();
    Doc().redoStack.clear();
    {
        ModalAnswerer close(wxID_OK);  // the manager opened and closed, nothing changed
        Command(kCmdLevels);
    }
    EXPECT_TRUE(Doc().undoStack.empty());
}

}  // namespace
