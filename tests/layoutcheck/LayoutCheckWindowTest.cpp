// The layout check window in the main window: listing, selecting, rerunning, rings, options.
#include <gtest/gtest.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
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

std::vector<LayoutFinding> OfKind(const std::vector<LayoutFinding>& findings, FindingKind kind) {
    std::vector<LayoutFinding> out;
    for (const LayoutFinding& f : findings)
        if (f.kind == kind) out.push_back(f);
    return out;
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

TEST_F(LayoutCheckWindowTest, ListsRingsAndFramesTheFindingsAndFollowsEditsUntilClosed) {
    wxMenuItem* item = frame->GetMenuBar()->FindItem(kCmdCheckLayout);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->GetItemLabel(), "Check &Layout...\tCtrl+L");
    // A canvas about 900 px wide, beside a properties panel wide enough for the tally.
    frame->SetSize(1500, 900);
    PumpEvents();
    LayoutCheckWindow* window = Open();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->IsShown());
    EXPECT_FALSE(window->IsModal());
    LayoutDocument& doc = frame->Document();
    const std::vector<LayoutFinding> expected = CheckLayout(doc);
    EXPECT_EQ(window->Findings(), expected);
    EXPECT_EQ(window->GetTitle(),
              wxString::Format("Layout Check - %d findings", static_cast<int>(expected.size())));
    wxListCtrl* list = window->List();
    ASSERT_EQ(list->GetItemCount(), static_cast<int>(expected.size()));
    for (long i : {0L, static_cast<long>(expected.size()) - 1}) {
        EXPECT_EQ(list->GetItemText(i, 0), FindingSeverityName(expected[i].severity));
        EXPECT_EQ(list->GetItemText(i, 1), wxString::FromUTF8(expected[i].text));
    }
    EXPECT_EQ(OfKind(expected, FindingKind::NearMiss).size(), 1u);

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
    // Framed in the larger free part (beside the window), centred there.
    const PixelRect free = UncoveredPart({area.x, area.y, area.width, area.height},
                                         {cover.x, cover.y, cover.width, cover.height});
    EXPECT_NEAR(area.x + view.ToPixelX(f.x), free.x + free.width / 2, 2);
    EXPECT_NEAR(area.y + view.ToPixelY(f.y), free.y + free.height / 2, 2);
    EXPECT_GE(view.zoom * 2, 2.0);  // the 2 mm gap is still a few pixels wide
    // Selecting does not rerun the check: the list keeps its selection.
    PumpEvents();
    EXPECT_EQ(list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED), row);

    SCOPED_TRACE("an edit that closes the gap removes its finding");
    // Drag the second straight onto the first, as the canvas does: the snap joins them.
    for (PlacedPiece& p : doc.pieces) p.selected = p.id == gapSecond;
    const MoveStart start = TakeMoveStart(doc);
    ReleaseSelectionMove(doc, start, TrackSelectionMove(doc, start, -2, 0));
    ASSERT_FALSE(doc.FindPiece(gapSecond)->IsOpen(0));
    frame->NotifyChanged(DocChange::Placement);
    ASSERT_TRUE(PumpUntil([&] { return Row(*window, FindingKind::NearMiss) < 0; }));
    // The near miss and the two open ends at the gap are gone.
    EXPECT_EQ(window->Findings().size(), expected.size() - 3);
    EXPECT_EQ(list->GetItemCount(), static_cast<int>(expected.size() - 3));
    EXPECT_EQ(window->Findings(), CheckLayout(doc));
    EXPECT_EQ(window->GetTitle(), wxString::FromUTF8(LayoutCheckTitle(window->Findings())));

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

    SCOPED_TRACE("the Close button closes the window and takes the rings away");
    wxWindow* close = window->FindWindow(wxID_CLOSE);
    ASSERT_TRUE(close);
    EXPECT_EQ(close->GetLabel(), "Close");
    Press(close);
    PumpEvents();
    EXPECT_EQ(frame->CheckWindow(), nullptr);
    EXPECT_TRUE(canvas->Overlays().findingRings.empty());
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

// Fields and finding texts follow the layout's units; edited options apply to the run and its
// reruns.
TEST_F(LayoutCheckWindowTest, OptionsApplyToTheRunAndShowInTheLayoutsUnits) {
    LayoutCheckWindow* window = Open();
    ASSERT_GE(Row(*window, FindingKind::LowClearance), 0);
    SetSpin(window, "clearanceH0", 45);
    EXPECT_EQ(Row(*window, FindingKind::LowClearance), -1);
    EXPECT_DOUBLE_EQ(window->Options().clearanceH0Mm, 45);
    // The run's options stay with the window's reruns after an edit.
    frame->NotifyChanged(DocChange::Placement);
    PumpEvents(50);
    EXPECT_EQ(Row(*window, FindingKind::LowClearance), -1);
    // Ctrl+L again brings the same window forward rather than a second one.
    Command(kCmdCheckLayout);
    EXPECT_EQ(frame->CheckWindow(), window);

    CheckOptions exact;
    exact.clearanceH0Mm = 65.4;
    exact.clearanceZMm = 31.75;
    exact.longestTrainMm = 1234.5;
    window->SetOptions(exact);
    struct Case {
        int units;
        const char* label;
        double shown;  // the H0 clearance as shown
        int digits;
    };
    for (const Case c : {Case{kUnitsCm, "H0 clearance (cm):", 6.54, 2},
                         Case{kUnitsInch, "H0 clearance (in):", 65.4 / 25.4, 3},
                         Case{kUnitsMm, "H0 clearance (mm):", 65.4, 1}}) {
        SCOPED_TRACE(c.label);
        frame->Document().units = c.units;
        frame->NotifyChanged(DocChange::View);
        PumpEvents();
        auto* h0 = dynamic_cast<wxSpinCtrlDouble*>(window->FindWindow("clearanceH0"));
        ASSERT_TRUE(h0);
        EXPECT_EQ(static_cast<int>(h0->GetDigits()), c.digits);
        EXPECT_NEAR(h0->GetValue(), c.shown, 0.6 * std::pow(10.0, -c.digits));
        // The label just before the field names the unit.
        bool labelled = false;
        for (wxWindow* child : window->GetChildren())
            labelled = labelled || child->GetLabel() == c.label;
        EXPECT_TRUE(labelled);
        // Unedited fields keep their values to the last digit.
        EXPECT_EQ(window->Options().clearanceH0Mm, 65.4);
        EXPECT_EQ(window->Options().clearanceZMm, 31.75);
        EXPECT_EQ(window->Options().longestTrainMm, 1234.5);
        const std::vector<LayoutFinding> open = OfKind(window->Findings(), FindingKind::OpenEnd);
        ASSERT_FALSE(open.empty());
        EXPECT_NE(open[0].text.find(PlaceText(open[0].x, open[0].y, c.units)), std::string::npos)
            << open[0].text;
    }
    // An edit in centimetres is stored in millimetres; the others stay as they were.
    frame->Document().units = kUnitsCm;
    frame->NotifyChanged(DocChange::View);
    PumpEvents();
    SetSpin(window, "clearanceZ", 4);
    EXPECT_NEAR(window->Options().clearanceZMm, 40, 1e-9);
    EXPECT_EQ(window->Options().clearanceH0Mm, 65.4);

    // The S-bend straight proposed is the longest preset vehicle: for H0, a 26.4 m coach at 1:87.
    EXPECT_EQ(window->Options().minStraightMm, 0);
    wxWindow* propose = window->FindWindow("proposeStraight");
    ASSERT_TRUE(propose);
    EXPECT_TRUE(propose->GetLabel().Contains(
        wxString::FromUTF8(FormatLength(kLongestPresetVehicleM * 1000 / 87, kUnitsCm))))
        << propose->GetLabel();
    Press(propose);
    EXPECT_NEAR(window->Options().minStraightMm, kLongestPresetVehicleM * 1000 / 87, 1e-9);
    LayoutDocument z;  // all Z: 1:220
    AppendJoined(z, "8500", kNoId, 0);
    EXPECT_NEAR(ProposedMinStraightMm(z), kLongestPresetVehicleM * 1000 / 220, 1e-9);
}

TEST_F(LayoutCheckWindowTest, ATrainLengthShowsTheShortSidingWhichCanBeIgnoredAndReported) {
    // A TRIX turnout with a siding of about 500 mm to a bumper on its diverging leg.
    LayoutDocument& doc = frame->Document();
    const uint32_t sw = AppendJoined(doc, "62611", kNoId, 0, 3000, 3000, 0);
    uint32_t main = sw;
    for (int i = 0; i < 3; ++i) main = AppendJoined(doc, "62360", main, 1);
    const uint32_t s1 = AppendJoined(doc, "62236", sw, 2);
    const uint32_t bumper = AppendJoined(doc, "62977", AppendJoined(doc, "62188", s1, 1), 1);
    frame->NotifyChanged(DocChange::Pieces);
    LayoutCheckWindow* window = Open();
    ASSERT_TRUE(window);
    PumpEvents();
    auto sidingRow = [&] {
        const auto& f = window->Findings();
        for (size_t i = 0; i < f.size(); ++i)
            if (f[i].kind == FindingKind::SidingTooShort && f[i].pieces.front() == sw)
                return static_cast<long>(i);
        return -1L;
    };
    EXPECT_EQ(sidingRow(), -1);

    SetSpin(window, "longestTrain", 600);
    EXPECT_DOUBLE_EQ(window->Options().longestTrainMm, 600);
    const long row = sidingRow();
    ASSERT_GE(row, 0);
    const LayoutFinding siding = window->Findings()[row];
    EXPECT_EQ(siding.pieces.back(), bumper);
    EXPECT_EQ(window->List()->GetItemText(row, 1), wxString::FromUTF8(siding.text));
    const size_t before = window->Findings().size();

    // Choose it and ignore it: gone from the list, the rings and the count.
    wxWindow* ignore = window->FindWindow("ignore");
    EXPECT_FALSE(ignore->IsEnabled());
    window->List()->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    PumpEvents();
    Press(ignore);
    EXPECT_EQ(sidingRow(), -1);
    EXPECT_EQ(window->Findings().size(), before - 1);
    EXPECT_EQ(window->List()->GetItemCount(), static_cast<int>(before - 1));
    EXPECT_EQ(frame->Canvas()->Overlays().findingRings.size(), before - 1);
    EXPECT_TRUE(window->GetTitle().EndsWith(" (1 ignored)")) << window->GetTitle();
    // An edit reruns the check; the finding stays ignored.
    frame->NotifyChanged(DocChange::Placement);
    PumpEvents(50);
    EXPECT_EQ(sidingRow(), -1);

    // Save the report, as text and as CSV, through the window's button.
    const TempDir temp;
    const std::string& dir = temp.Path();
    wxString asked;
    wxString answer = wxString::FromUTF8(dir + "/report.txt");
    window->SetReportPathAsker([&](wxWindow*, const wxString& file) {
        asked = file;
        return answer;
    });
    Press(window->FindWindow("saveReport"));
    EXPECT_TRUE(asked.EndsWith(".txt")) << asked;
    const std::string text = ReadFileBytes(dir + "/report.txt");
    // The ignored finding is left out and counted.
    EXPECT_EQ(text, FindingsReportText(window->Findings(), frame->LayoutName().utf8_string(), 1));
    answer = wxString::FromUTF8(dir + "/report.csv");
    Press(window->FindWindow("saveReport"));
    EXPECT_EQ(ReadFileBytes(dir + "/report.csv"), FindingsReportCsv(window->Findings(), doc.units));
    // A folder that is not there: an error text, not a report claimed written.
    EXPECT_NE(window->SaveReport(dir + "/missing/report.txt"), "");

    // Closed and opened again, the window still leaves it out for this session; Show Ignored
    // brings it back; a new layout forgets what was ignored.
    const CheckOptions options = window->Options();
    window->Close();
    PumpEvents();
    window = Open();
    window->SetOptions(options);
    EXPECT_EQ(sidingRow(), -1);
    Press(window->FindWindow("showIgnored"));
    EXPECT_GE(sidingRow(), 0);
    window->IgnoreFinding(sidingRow());
    EXPECT_EQ(frame->CheckIgnores().Size(), 1u);
    {
        ModalAnswerer discard(wxID_NO);  // the unsaved-changes question
        Command(wxID_NEW);
    }
    PumpEvents(50);
    EXPECT_EQ(frame->CheckIgnores().Size(), 0u);
}

}  // namespace
