// Stored lengths change only when the user changes them: the level height, the baseboard sizes
// and the custom outline go through fields in the display unit and must come back unrounded
// when those fields are left alone.
#include <gtest/gtest.h>
#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <cstdlib>
#include <functional>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "trackgeometry/Units.h"
#include "dialogs/LayoutShape.h"
#include "dialogs/gui/LayoutShapeDialog.h"
#include "dialogs/gui/LevelManagerDialog.h"
#include "support/GuiTestSupport.h"

namespace {

constexpr int kAllUnits[] = {kUnitsMm, kUnitsCm, kUnitsInch};

class StoredValuesGuiTest : public testing::Test {
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
    }
    LayoutDocument& Doc() { return frame->Document(); }
    uint32_t FlatPiece(double elevation) {
        PlacedPiece p;
        p.id = Doc().TakeId();
        p.article = "24188";
        p.level = 1;
        p.elevation = elevation;
        p.joints.resize(2);
        Doc().pieces.push_back(p);
        return p.id;
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

    TempDir home;
    MainFrame* frame = nullptr;
};

// A level at 25.4 mm showed as "2.5" cm and came back as 25.0 mm, moving its pieces with it.
TEST_F(StoredValuesGuiTest, LevelHeightRoundTripsAnUneditedOkInAllThreeUnits) {
    for (int units : kAllUnits) {
        for (double height : {25.4, 75.0, 25.45}) {
            Doc().units = units;
            Doc().levels[0].height = height;
            const uint32_t onLevel = FlatPiece(height);
            const uint32_t setApart = FlatPiece(height + 3.33);
            double shown = -1;
            EditFirstLevel([&](LevelPropertiesDialog* props) {
                shown = props->HeightField()->GetValue();
                EXPECT_EQ(props->HeightField()->GetDigits(), static_cast<unsigned>(LengthDigits(units)));
            });
            const std::string where = std::to_string(height) + " mm, unit " + std::to_string(units);
            EXPECT_NEAR(shown * UnitFactor(units), height, 0.05 + 1e-9) << where;
            EXPECT_EQ(Doc().levels[0].height, height) << where;
            EXPECT_EQ(Doc().FindPiece(onLevel)->elevation, height) << where;
            EXPECT_EQ(Doc().FindPiece(setApart)->elevation, height + 3.33) << where;
        }
    }
}

TEST_F(StoredValuesGuiTest, LevelHeightEditedInEachUnitIsStoredAndMovesTheFlatPieces) {
    const struct {
        int units;
        double typed;
        double expectedMm;
    } cases[] = {{kUnitsMm, 25.5, 25.5}, {kUnitsCm, 2.54, 25.4}, {kUnitsInch, 1.5, 38.1}};
    for (const auto& c : cases) {
        Doc().units = c.units;
        Doc().levels[0].height = 10;
        const uint32_t piece = FlatPiece(10);
        EditFirstLevel([&](LevelPropertiesDialog* props) { props->HeightField()->SetValue(c.typed); });
        EXPECT_NEAR(Doc().levels[0].height, c.expectedMm, 1e-9) << c.units;
        EXPECT_NEAR(Doc().FindPiece(piece)->elevation, c.expectedMm, 1e-9) << c.units;
    }
}

// The running dialog: OK with a negative height says why and stays open; nothing is stored.
TEST_F(StoredValuesGuiTest, NegativeLevelHeightIsRefusedWithAMessageNotClampedToZero) {
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

// Applying the baseboard dialog untouched rebuilt 2400 mm from the 94 it shows in inches.
TEST_F(StoredValuesGuiTest, BaseboardSizesRoundTripAnUntouchedApplyInAllThreeUnits) {
    for (int units : kAllUnits) {
        Doc().units = units;
        Doc().lastShape = kShapeU;
        Doc().shapeWidth = 3000.5;
        Doc().shapeHeight = 2413;
        Doc().shapeWidth2 = 1201.2;
        Doc().shapeHeight2 = 777;
        ModalAnswerer answer([](wxDialog* d) {
            auto* shape = dynamic_cast<LayoutShapeDialog*>(d);
            return shape && shape->Apply() ? int(wxID_OK) : int(wxID_CANCEL);
        });
        Command(kCmdLayoutShape);
        EXPECT_EQ(Doc().shapeWidth, 3000.5) << units;
        EXPECT_EQ(Doc().shapeHeight, 2413) << units;
        EXPECT_EQ(Doc().shapeWidth2, 1201.2) << units;
        EXPECT_EQ(Doc().shapeHeight2, 777) << units;
        EXPECT_EQ(Doc().baseboard, ShapeOutlineMm(kShapeU, {3000.5, 2413, 1201.2, 777})) << units;
    }
}

TEST_F(StoredValuesGuiTest, BaseboardFieldEditedInInchesIsConvertedAndTheOthersKept) {
    Doc().units = kUnitsInch;
    ModalAnswerer answer([](wxDialog* d) {
        auto* shape = dynamic_cast<LayoutShapeDialog*>(d);
        if (!shape) return int(wxID_CANCEL);
        shape->Field(0)->SetValue(shape->Field(0)->GetValue() + 1);  // 94 -> 95 in
        return shape->Apply() ? int(wxID_OK) : int(wxID_CANCEL);
    });
    Command(kCmdLayoutShape);
    EXPECT_DOUBLE_EQ(Doc().shapeWidth, 95 * 25.4);
    EXPECT_EQ(Doc().shapeHeight, 1200) << "the untouched depth keeps its millimetres";
}

TEST_F(StoredValuesGuiTest, CustomOutlineLeftAsShownKeepsItsVerticesInAllThreeUnits) {
    const std::vector<PointMm> outline{{0, 0}, {1234.56, 0.04}, {1000.001, 777.77}, {3.3, 9.99}};
    for (int units : kAllUnits) {
        Doc().units = units;
        Doc().baseboard = outline;
        ModalAnswerer answer([](wxDialog* d) {
            auto* shape = dynamic_cast<LayoutShapeDialog*>(d);
            if (!shape) return int(wxID_CANCEL);
            shape->SelectShape(kShapeCustom);
            return shape->Apply() ? int(wxID_OK) : int(wxID_CANCEL);
        });
        Command(kCmdLayoutShape);
        EXPECT_EQ(Doc().baseboard, outline) << units;
    }
}

}  // namespace
