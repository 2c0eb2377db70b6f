// The layout check window in the main window: listing, selecting, rerunning, rings, options.
#include <gtest/gtest.h>
#include <wx/listctrl.h>
#include <wx/spinctrl.h>

#include <algorithm>
#include <cmath>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "canvas/Snapping.h"
#include "canvas/gui/CanvasPanel.h"
#include "canvas/gui/LayoutRenderer.h"
#include "layoutcheck/FindingsReport.h"
#include "layoutcheck/TrackChecks.h"
#include "layoutcheck/gui/LayoutCheckWindow.h"
#include "support/FrameFixture.h"
#include "tests/canvas/SampleLayouts.h"
#include "trackgeometry/Units.h"

namespace {

void SetSpin(wxWindow* window, const char* name, double value) {
    auto* spin = dynamic_cast<wxSpinCtrlDouble*>(window->FindWindow(name));
    ASSERT_TRUE(spin) << name;
    spin->SetValue(value);
    wxSpinDoubleEvent event(wxEVT_SPINCTRLDOUBLE, spin->GetId(), value);
    event.SetEventObject(spin);
    spin->GetEventHandler()->ProcessEvent(event);
}

void Press(wxWindow* button) {
    ASSERT_TRUE(button);
    ASSERT_TRUE(button->IsEnabled());
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

class LayoutCheckWindowTest : public FrameTest {
protected:
    void SetUp() override {
        OpenFrame();
        frame->Show();
        LayoutDocument& doc = frame->Document();
        doc = SampleShowcase();
        // Two straights 2 mm short of meeting (a near miss), and a bridge 50 mm over a flat
        // straight (low clearance for H0).
        gapFirst = AppendJoined(doc, "24188", kNoId, 0, 150, 1400, 0);
        gapSecond = AppendJoined(doc, "24188", kNoId, 0, 150 + 188.3 + 2, 1400, 0);
        const uint32_t bridge = AppendJoined(doc, "74636", kNoId, 0, 700, 1700, 0);
        doc.FindPiece(bridge)->elevation = 50;
        AppendJoined(doc, "24188", kNoId, 0, 880, 1600, 90);
        frame->NotifyChanged(DocChange::Pieces);
        PumpEvents();
    }
    LayoutCheckWindow* Open() {
        Command(kCmdCheckLayout);
        return frame->CheckWindow();
    }
    long Row(const LayoutCheckWindow& w, FindingKind kind) const {
        const auto& f = w.Findings();
        const auto it =
            std::find_if(f.begin(), f.end(), [&](const auto& x) { return x.kind == kind; });
        return it == f.end() ? -1 : static_cast<long>(it - f.begin());
    }

    uint32_t gapFirst = 0, gapSecond = 0;
};

// One window through its life: listing, rings, framing a chosen finding, options in the layout's
// units, ignoring, the report, following edits, closing and opening again.
TEST_F(LayoutCheckWindowTest, ListsFramesAppliesOptionsIgnoresReportsAndFollowsEditsUntilClosed) {
    // A canvas about 900 px wide, beside a properties panel wide enough for the tally.
    frame->SetSize(1500, 900);
    PumpEvents();
    LayoutCheckWindow* window = Open();
    ASSERT_TRUE(window);
    LayoutDocument& doc = frame->Document();
    const std::vector<LayoutFinding> expected = CheckLayout(doc);
    EXPECT_EQ(window->Findings(), expected);
    EXPECT_EQ(window->GetTitle(),
              wxString::Format("Layout Check - %d findings", static_cast<int>(expected.size())));
    wxListCtrl* list = window->List();
    ASSERT_EQ(list->GetItemCount(), static_cast<int>(expected.size()));
    const long last = static_cast<long>(expected.size()) - 1;
    EXPECT_EQ(list->GetItemText(last, 0), FindingSeverityName(expected[last].severity));
    EXPECT_EQ(list->GetItemText(last, 1), wxString::FromUTF8(expected[last].text));

    SCOPED_TRACE("one ring per finding; an error's ring is red on the canvas");
    const std::vector<FindingRing> rings = canvas->Overlays().findingRings;
    ASSERT_EQ(rings.size(), expected.size());
    const long row = Row(*window, FindingKind::NearMiss);
    EXPECT_TRUE(rings[row].error);
    window->ShowFinding(row);
    const wxImage image = Painted();
    const int px = canvas->Transform().ToPixelX(rings[row].x);
    const int py = canvas->Transform().ToPixelY(rings[row].y);
    int red = 0;
    for (int dy = -2; dy <= 2; ++dy) {
        const int y = py - kFindingRingPx + dy;  // the top of the ring, above the track
        if (image.GetRed(px, y) == kErrorRing.r && image.GetGreen(px, y) == kErrorRing.g) ++red;
    }
    EXPECT_GE(red, 2);

    SCOPED_TRACE("a chosen finding is selected and framed clear of the window, not under it");
    // The window over the canvas, right of its middle, as a user might leave it.
    const wxRect area = canvas->GetScreenRect();
    window->SetSize(area.x + area.width * 2 / 3, area.y + area.height / 4, area.width / 3,
                    area.height / 2);
    PumpEvents();
    list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                       wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    PumpEvents();
    for (const PlacedPiece& p : doc.pieces) {
        EXPECT_EQ(p.selected, p.id == gapFirst || p.id == gapSecond) << p.id;
    }
    const LayoutFinding& f = window->Findings()[row];
    const ViewTransform& view = canvas->Transform();
    // The finding and both its pieces' far ends are on the canvas and outside the window.
    const wxRect cover = window->GetScreenRect();
    for (double x : {f.x, 150.0, 150 + 2 * 188.3 + 2}) {
        const wxPoint at(area.x + view.ToPixelX(x), area.y + view.ToPixelY(f.y));
        EXPECT_TRUE(area.Contains(at)) << x;
        EXPECT_FALSE(cover.Contains(at)) << x;
    }
    // Selecting does not rerun the check: the list keeps its selection.
    PumpEvents();
    EXPECT_EQ(list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED), row);

    SCOPED_TRACE("edited options apply to the run and its reruns; the command raises the window");
    ASSERT_GE(Row(*window, FindingKind::LowClearance), 0);
    SetSpin(window, "clearanceH0", 45);
    EXPECT_EQ(Row(*window, FindingKind::LowClearance), -1);
    frame->NotifyChanged(DocChange::Placement);
    PumpEvents(50);
    EXPECT_EQ(Row(*window, FindingKind::LowClearance), -1);
    Command(kCmdCheckLayout);
    EXPECT_EQ(frame->CheckWindow(), window);

    SCOPED_TRACE("fields and texts in inches; unedited values keep their last digit");
    CheckOptions exact = window->Options();
    exact.clearanceH0Mm = 65.4;
    exact.longestTrainMm = 1234.5;
    window->SetOptions(exact);
    doc.units = kUnitsInch;
    frame->NotifyChanged(DocChange::View);
    PumpEvents();
    auto* h0 = dynamic_cast<wxSpinCtrlDouble*>(window->FindWindow("clearanceH0"));
    ASSERT_TRUE(h0);
    EXPECT_EQ(static_cast<int>(h0->GetDigits()), 3);
    EXPECT_NEAR(h0->GetValue(), 65.4 / 25.4, 0.6e-3);
    bool labelled = false;
    for (wxWindow* child : window->GetChildren())
        labelled = labelled || child->GetLabel() == "H0 clearance (in):";
    EXPECT_TRUE(labelled);
    EXPECT_EQ(window->Options().clearanceH0Mm, 65.4);
    EXPECT_EQ(window->Options().longestTrainMm, 1234.5);
    SetSpin(window, "clearanceZ", 1.5);
    EXPECT_NEAR(window->Options().clearanceZMm, 38.1, 1e-9);
    EXPECT_EQ(window->Options().clearanceH0Mm, 65.4);
    // The S-bend straight proposed is the longest preset vehicle: for H0, a 26.4 m coach at 1:87.
    Press(window->FindWindow("proposeStraight"));
    EXPECT_NEAR(window->Options().minStraightMm, kLongestPresetVehicleM * 1000 / 87, 1e-9);
    LayoutDocument z;  // all Z: 1:220
    AppendJoined(z, "8500", kNoId, 0);
    EXPECT_NEAR(ProposedMinStraightMm(z), kLongestPresetVehicleM * 1000 / 220, 1e-9);

    SCOPED_TRACE("an ignored finding leaves the list, the rings and the count, also on reruns");
    const long low = Row(*window, FindingKind::LowClearance);
    ASSERT_GE(low, 0);
    const size_t before = window->Findings().size();
    list->SetItemState(low, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    PumpEvents();
    Press(window->FindWindow("ignore"));
    EXPECT_EQ(Row(*window, FindingKind::LowClearance), -1);
    EXPECT_EQ(window->Findings().size(), before - 1);
    EXPECT_EQ(list->GetItemCount(), static_cast<int>(before - 1));
    EXPECT_EQ(canvas->Overlays().findingRings.size(), before - 1);
    EXPECT_TRUE(window->GetTitle().EndsWith(" (1 ignored)")) << window->GetTitle();
    frame->NotifyChanged(DocChange::Placement);
    PumpEvents(50);
    EXPECT_EQ(Row(*window, FindingKind::LowClearance), -1);

    SCOPED_TRACE("the report leaves the ignored finding out and counts it");
    const TempDir temp;
    const std::string& dir = temp.Path();
    wxString asked;
    window->SetReportPathAsker([&](wxWindow*, const wxString& file) {
        asked = file;
        return wxString::FromUTF8(dir + "/report.txt");
    });
    Press(window->FindWindow("saveReport"));
    EXPECT_TRUE(asked.EndsWith(".txt")) << asked;
    EXPECT_EQ(ReadFileBytes(dir + "/report.txt"),
              FindingsReportText(window->Findings(), frame->LayoutName().utf8_string(), 1));
    // A folder that is not there: an error text, not a report claimed written.
    EXPECT_NE(window->SaveReport(dir + "/missing/report.txt"), "");

    SCOPED_TRACE("an edit that closes the gap removes its finding");
    // Drag the second straight onto the first, as the canvas does: the snap joins them.
    const size_t withGap = window->Findings().size();
    for (PlacedPiece& p : doc.pieces) p.selected = p.id == gapSecond;
    const MoveStart start = TakeMoveStart(doc);
    ReleaseSelectionMove(doc, start, TrackSelectionMove(doc, start, -2, 0));
    ASSERT_FALSE(doc.FindPiece(gapSecond)->IsOpen(0));
    frame->NotifyChanged(DocChange::Placement);
    ASSERT_TRUE(PumpUntil([&] { return Row(*window, FindingKind::NearMiss) < 0; }));
    // The near miss and the two open ends at the gap are gone.
    EXPECT_EQ(window->Findings().size(), withGap - 3);
    EXPECT_EQ(list->GetItemCount(), static_cast<int>(withGap - 3));

    SCOPED_TRACE("the Close button closes the window and takes the rings away");
    wxWindow* close = window->FindWindow(wxID_CLOSE);
    ASSERT_TRUE(close);
    Press(close);
    PumpEvents();
    EXPECT_EQ(frame->CheckWindow(), nullptr);
    EXPECT_TRUE(canvas->Overlays().findingRings.empty());

    SCOPED_TRACE("opened again it still leaves the finding out; Show Ignored brings it back");
    window = Open();
    list = window->List();
    EXPECT_EQ(Row(*window, FindingKind::LowClearance), -1);
    Press(window->FindWindow("showIgnored"));
    EXPECT_GE(Row(*window, FindingKind::LowClearance), 0);
    window->IgnoreFinding(Row(*window, FindingKind::LowClearance));
    EXPECT_EQ(frame->CheckIgnores().Size(), 1u);

    SCOPED_TRACE("no findings show in the list, not only in the title");
    doc.pieces.clear();
    frame->NotifyChanged(DocChange::Pieces);
    ASSERT_TRUE(PumpUntil([&] { return window->Findings().empty(); }));
    EXPECT_EQ(window->GetTitle(), "Layout Check - no findings");
    ASSERT_EQ(list->GetItemCount(), 1);
    EXPECT_EQ(list->GetItemText(0, 1), "No findings");
    // The row is no finding: choosing it neither selects nor offers to ignore anything.
    list->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    PumpEvents();
    EXPECT_FALSE(window->FindWindow("ignore")->IsEnabled());

    SCOPED_TRACE("a new layout forgets what was ignored");
    {
        ModalAnswerer discard(wxID_NO);  // the unsaved-changes question
        Command(wxID_NEW);
    }
    PumpEvents(50);
    EXPECT_EQ(frame->CheckIgnores().Size(), 0u);
}

TEST(UncoveredPart, TheLargestSideOfTheCanvasBesideTheWindow) {
    const PixelRect canvas{100, 50, 1000, 600};
    // Missing the canvas: all of it.
    EXPECT_EQ(UncoveredPart(canvas, {1200, 0, 300, 300}), canvas);
    // Over the right third: the left two thirds.
    EXPECT_EQ(UncoveredPart(canvas, {800, 0, 500, 900}), (PixelRect{100, 50, 700, 600}));
    // Over the top strip: the band below.
    EXPECT_EQ(UncoveredPart(canvas, {0, 0, 1500, 250}), (PixelRect{100, 250, 1000, 400}));
    // Covering everything: nothing free.
    const PixelRect none = UncoveredPart(canvas, {0, 0, 2000, 2000});
    EXPECT_EQ(none.width * none.height, 0);
}

}  // namespace
