// The level and layout shape dialogs in the main window: stored lengths change only when the user
// changes them (the fields show the display unit and must give back unrounded values when left
// alone), every change is undoable, and outlines that cannot be built are refused.
#include <gtest/gtest.h>
#include <wx/listctrl.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>

#include <functional>

#include "app/CommandIds.h"
#include "dialogs/LayoutShape.h"
#include "dialogs/gui/LayoutShapeDialog.h"
#include "dialogs/gui/LevelManagerDialog.h"
#include "support/FrameFixture.h"
#include "trackgeometry/Units.h"

namespace {

class LevelsAndShape : public FrameTest {
protected:
    uint32_t FlatPiece(double elevation) {
        const uint32_t id = LayPiece(Doc(), 0);
        Doc().FindPiece(id)->elevation = elevation;
        return id;
    }
    // Opens the level manager and the properties of level 1; `edit` may change the fields
    // before the properties dialog is answered with OK.
    void EditFirstLevel(const std::function<void(LevelPropertiesDialog*)>& edit) {
        ModalAnswerer answer([&](wxDialog* d) -> int {
            if (auto* props = dynamic_cast<LevelPropertiesDialog*>(d)) {
                edit(props);
                return wxID_OK;
            }
            auto* levels = dynamic_cast<LevelManagerDialog*>(d);
            if (!levels) return wxID_CANCEL;
            levels->List()->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
            levels->EditSelected();
            return wxID_OK;
        });
        Command(kCmdLevels);
    }
    // Opens Layout Shape, lets `edit` change the dialog, and applies it.
    void ApplyShape(const std::function<void(LayoutShapeDialog*)>& edit = nullptr) {
        ModalAnswerer answer([&](wxDialog* d) {
            auto* shape = dynamic_cast<LayoutShapeDialog*>(d);
            if (!shape) return int(wxID_CANCEL);
            if (edit) edit(shape);
            return shape->Apply() ? int(wxID_OK) : int(wxID_CANCEL);
        });
        Command(kCmdLayoutShape);
    }
    void ApplyRectangle(int width, int depth) {
        ApplyShape([=](LayoutShapeDialog* shape) {
            shape->SelectShape(kShapeRectangle);
            shape->Field(0)->SetValue(width);
            shape->Field(1)->SetValue(depth);
        });
    }
};

// A level at 25.4 mm showed as "2.5" cm and came back as 25.0 mm, moving its pieces with it. The
// conversion is the units' own (EnteredLengthMm); this is the dialog giving it the stored height.
TEST_F(LevelsAndShape, LevelHeightRoundTripsAnUneditedOk) {
    Doc().units = kUnitsCm;
    Doc().levels[0].height = 25.45;
    const uint32_t onLevel = FlatPiece(25.45);
    const uint32_t setApart = FlatPiece(25.45 + 3.33);
    double shown = -1;
    EditFirstLevel([&](LevelPropertiesDialog* props) {
        shown = props->HeightField()->GetValue();
        EXPECT_EQ(props->HeightField()->GetDigits(), static_cast<unsigned>(LengthDigits(kUnitsCm)));
    });
    EXPECT_NEAR(shown * UnitFactor(kUnitsCm), 25.45, 0.05 + 1e-9);
    EXPECT_EQ(Doc().levels[0].height, 25.45);
    EXPECT_EQ(Doc().FindPiece(onLevel)->elevation, 25.45);
    EXPECT_EQ(Doc().FindPiece(setApart)->elevation, 25.45 + 3.33);
}

// The running dialog: OK with a negative height says why and stays open; nothing is stored.
TEST_F(LevelsAndShape, NegativeLevelHeightIsRefusedWithAMessageNotClampedToZero) {
    Doc().levels[0].height = 40;
    LevelPropertiesDialog dialog(frame, Doc().levels[0], kUnitsCm);
    dialog.HeightField()->SetValue(-2);
    EXPECT_DOUBLE_EQ(dialog.HeightField()->GetValue(), -2) << "the field must not clamp";
    ModalAnswerer answer(wxID_OK);
    wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
    click.SetEventObject(dialog.FindWindow(wxID_OK));
    dialog.FindWindow(wxID_OK)->GetEventHandler()->ProcessEvent(click);
    ASSERT_EQ(answer.Count(), 1);
    EXPECT_EQ(answer.Dialogs()[0].title, "Level Properties");
    EXPECT_TRUE(answer.Dialogs()[0].message.Contains("0 or more"));
    EXPECT_NE(dialog.GetReturnCode(), wxID_OK) << "the dialog stays open";
    dialog.HeightField()->SetValue(0);
    EXPECT_TRUE(dialog.TransferDataFromWindow());
    EXPECT_EQ(answer.Count(), 1) << "a height of 0 is fine";
    EXPECT_EQ(Doc().levels[0].height, 40);
}

// Applying the baseboard dialog untouched rebuilt 2400 mm from the 94 it shows in inches; a custom
// outline left as shown lost its decimals alike.
TEST_F(LevelsAndShape, BaseboardSizesAndCustomOutlineRoundTripAnUntouchedApply) {
    const std::vector<PointMm> outline{{0, 0}, {1234.56, 0.04}, {1000.001, 777.77}, {3.3, 9.99}};
    Doc().units = kUnitsInch;
    Doc().lastShape = kShapeU;
    Doc().shapeWidth = 3000.5;
    Doc().shapeHeight = 2413;
    Doc().shapeWidth2 = 1201.2;
    Doc().shapeHeight2 = 777;
    ApplyShape();
    EXPECT_EQ(Doc().shapeWidth, 3000.5);
    EXPECT_EQ(Doc().shapeHeight, 2413);
    EXPECT_EQ(Doc().shapeWidth2, 1201.2);
    EXPECT_EQ(Doc().shapeHeight2, 777);
    EXPECT_EQ(Doc().baseboard, ShapeOutlineMm(kShapeU, {3000.5, 2413, 1201.2, 777}));
    Doc().baseboard = outline;
    ApplyShape([](LayoutShapeDialog* shape) { shape->SelectShape(kShapeCustom); });
    EXPECT_EQ(Doc().baseboard, outline);
}

TEST_F(LevelsAndShape, BaseboardChangeIsOneUndoStepAndAnUnchangedOrCancelledDialogIsNone) {
    ApplyRectangle(1800, 600);
    ASSERT_EQ(Doc().undoStack.size(), 1u);
    ApplyRectangle(1800, 600);  // the same outline again
    {
        ModalAnswerer cancel([](wxDialog* d) {
            if (auto* shape = dynamic_cast<LayoutShapeDialog*>(d)) shape->Field(0)->SetValue(900);
            return int(wxID_CANCEL);
        });
        Command(kCmdLayoutShape);
    }
    EXPECT_EQ(Doc().baseboard, ShapeOutlineMm(kShapeRectangle, {1800, 600, 0, 0}));
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

// A U whose notch was wider than the board gave a broken outline instead of a refusal; too few
// custom lines are refused alike.
TEST_F(LevelsAndShape, OutlinesThatCannotBeBuiltAreRefusedWithTheMessage) {
    const std::vector<PointMm> board{{0, 0}, {500, 0}, {500, 400}, {0, 400}};
    Doc().baseboard = board;
    for (const int shape : {kShapeU, kShapeCustom}) {
        SCOPED_TRACE(shape);
        LayoutShapeDialog dialog(frame, Doc().baseboard, Doc().units, Doc());
        dialog.SelectShape(shape);
        if (shape == kShapeCustom) dialog.CustomText()->SetValue("0,0\n100,0\n\nhundred,50\n");
        const int fields[] = {1000, 800, 1500, 300};
        for (int i = 0; shape != kShapeCustom && i < 4; ++i) dialog.Field(i)->SetValue(fields[i]);
        ModalAnswerer answer(wxID_OK);
        EXPECT_FALSE(dialog.Apply());
        ASSERT_EQ(answer.Count(), 1);
        EXPECT_EQ(answer.Dialogs()[0].title, "Layout Shape");
        EXPECT_EQ(answer.Dialogs()[0].message, "Please enter valid dimensions.");
        EXPECT_EQ(dialog.Vertices(), board) << "the refused outline is not taken";
        EXPECT_EQ(Doc().lastShape, 0) << "nor are its sizes";
        EXPECT_EQ(Doc().shapeWidth, 2400);
    }
}

}  // namespace
