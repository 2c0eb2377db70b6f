// The layout shape dialog refuses outlines it cannot build, reports the custom lines it skipped,
// and offers the sample layouts' own boards.
#include <gtest/gtest.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "trackgeometry/Units.h"
#include "dialogs/LayoutShape.h"
#include "dialogs/gui/LayoutShapeDialog.h"
#include "persistence/LayoutFile.h"
#include "support/GuiTestSupport.h"

namespace {

class LayoutShapeGuiTest : public testing::Test {
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
    LayoutDocument& Doc() { return frame->Document(); }

    TempDir home;
    MainFrame* frame = nullptr;
};

// A U whose notch was wider than the board gave a broken outline instead of a refusal.
TEST_F(LayoutShapeGuiTest, CutoutThatDoesNotFitIsRefusedWithTheMessage) {
    const std::vector<PointMm> board{{0, 0}, {500, 0}, {500, 400}, {0, 400}};
    Doc().baseboard = board;
    const struct {
        int shape;
        std::array<int, 4> fields;
    } cases[] = {{kShapeU, {1000, 800, 1500, 300}},
                 {kShapeU, {1000, 800, 600, 800}},
                 {kShapeL, {1000, 800, 1000, 300}},
                 {kShapeT, {1000, 800, 1200, 300}}};
    for (const auto& c : cases) {
        LayoutShapeDialog dialog(frame, Doc().baseboard, Doc().units, Doc());
        dialog.SelectShape(c.shape);
        for (int i = 0; i < 4; ++i) dialog.Field(i)->SetValue(c.fields[i]);
        ModalAnswerer answer(wxID_OK);
        EXPECT_FALSE(dialog.Apply()) << c.shape;
        ASSERT_EQ(answer.Count(), 1);
        EXPECT_EQ(answer.Dialogs()[0].title, "Layout Shape");
        EXPECT_EQ(answer.Dialogs()[0].message, "Please enter valid dimensions.");
        EXPECT_EQ(dialog.Vertices(), board) << "the refused outline is not taken";
        EXPECT_EQ(Doc().lastShape, 0) << "nor are its sizes";
        EXPECT_EQ(Doc().shapeWidth, 2400);
    }
}

TEST_F(LayoutShapeGuiTest, SkippedCustomLinesAreReportedAfterApplyAndTooFewAreRefused) {
    LayoutShapeDialog dialog(frame, {}, 0, Doc());
    dialog.SelectShape(kShapeCustom);
    dialog.CustomText()->SetValue("0,0\n100,0\n\nhundred,50\n100,50\n0;50\n0,50\n");
    {
        ModalAnswerer answer(wxID_OK);
        EXPECT_TRUE(dialog.Apply());
        ASSERT_EQ(answer.Count(), 1);
        EXPECT_EQ(answer.Dialogs()[0].message,
                  wxString::FromUTF8(SkippedLinesNote({4, 6})));
        EXPECT_TRUE(answer.Dialogs()[0].message.StartsWith("Skipped lines 4 and 6"));
    }
    EXPECT_EQ(dialog.Vertices(), (std::vector<PointMm>{{0, 0}, {100, 0}, {100, 50}, {0, 50}}));

    dialog.CustomText()->SetValue("0,0\n100,0\n");
    ModalAnswerer answer(wxID_OK);
    EXPECT_FALSE(dialog.Apply());
    ASSERT_EQ(answer.Count(), 1);
    EXPECT_EQ(answer.Dialogs()[0].message, "Please enter valid dimensions.");
}

// The dialog opened on a sample offers the sample's own board, and applying it as offered
// changes nothing.
TEST_F(LayoutShapeGuiTest, SampleLayoutsOfferTheirOwnBoard) {
    for (const char* name : {"C-Track Oval Station", "K-Track Two Decks", "Z-Track Shelf"}) {
        std::string path = QUILLMORE_SOURCE_DIR;
        path.append("/resources/layouts/").append(name).append(".xml");
        LayoutDocument sample;
        ASSERT_EQ(LoadLayout(sample, path, nullptr), "") << name;
        double maxX = 0, maxY = 0;
        for (const PointMm& p : sample.baseboard) {
            maxX = std::max(maxX, p.x);
            maxY = std::max(maxY, p.y);
        }
        LayoutShapeDialog dialog(frame, sample.baseboard, sample.units, sample);
        ASSERT_EQ(dialog.Shape(), kShapeRectangle) << name;
        EXPECT_EQ(dialog.Field(0)->GetValue(), std::lround(maxX / UnitFactor(sample.units))) << name;
        EXPECT_EQ(dialog.Field(1)->GetValue(), std::lround(maxY / UnitFactor(sample.units))) << name;
        const std::vector<PointMm> board = sample.baseboard;
        EXPECT_TRUE(dialog.Apply());
        EXPECT_EQ(dialog.Vertices(), board) << name;
    }
}

}  // namespace
