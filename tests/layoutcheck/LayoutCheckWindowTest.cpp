// The layout check window in the main window: listing, selecting, rerunning, rings, options.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/spinctrl.h>

#include <algorithm>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "canvas/Snapping.h"
#include "canvas/gui/CanvasPanel.h"
#include "canvas/gui/LayoutRenderer.h"
#include "layoutcheck/gui/LayoutCheckWindow.h"
#include "support/GuiTestSupport.h"
#include "tests/canvas/SampleLayouts.h"

namespace {

void Command(MainFrame* frame, int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(frame);
    frame->GetEventHandler()->ProcessEvent(event);
}

int CountKind(const std::vector<LayoutFinding>& findings, FindingKind kind) {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                          [&](const LayoutFinding& f) { return f.kind == kind; }));
}

class LayoutCheckWindowTest : public testing::Test {
protected:
    void SetUp() override {
        frame = new MainFrame();
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
    void TearDown() override {
        frame->Destroy();
        PumpEvents();
    }
    LayoutCheckWindow* Open() {
        Command(frame, kCmdCheckLayout);
        return frame->CheckWindow();
    }
    long Row(const LayoutCheckWindow& w, FindingKind kind) const {
        const auto& f = w.Findings();
        const auto it =
            std::find_if(f.begin(), f.end(), [&](const auto& x) { return x.kind == kind; });
        return it == f.end() ? -1 : static_cast<long>(it - f.begin());
    }

    MainFrame* frame = nullptr;
    uint32_t gapFirst = 0, gapSecond = 0;
};

TEST_F(LayoutCheckWindowTest, ListsTheFindingsWithTheirCountAndRingsThem) {
    wxMenuItem* item = frame->GetMenuBar()->FindItem(kCmdCheckLayout);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->GetItemLabel(), "Check &Layout...\tCtrl+L");

    LayoutCheckWindow* window = Open();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->IsShown());
    EXPECT_FALSE(window->IsModal());
    const std::vector<LayoutFinding> expected = CheckLayout(frame->Document());
    ASSERT_GE(expected.size(), 3u);
    EXPECT_EQ(window->Findings(), expected);
    EXPECT_EQ(window->GetTitle(),
              wxString::Format("Layout Check - %d findings", static_cast<int>(expected.size())));
    wxListCtrl* list = window->List();
    ASSERT_EQ(list->GetItemCount(), static_cast<int>(expected.size()));
    for (long i : {0L, static_cast<long>(expected.size()) - 1}) {
        EXPECT_EQ(list->GetItemText(i, 0), FindingSeverityName(expected[i].severity));
        EXPECT_EQ(list->GetItemText(i, 1), wxString::FromUTF8(expected[i].text));
    }
    EXPECT_EQ(CountKind(expected, FindingKind::NearMiss), 1);
    EXPECT_EQ(CountKind(expected, FindingKind::LowClearance), 1);

    // One ring per finding; an error's ring is red on the canvas.
    const std::vector<FindingRing> rings = frame->Canvas()->Overlays().findingRings;
    ASSERT_EQ(rings.size(), expected.size());
    const long nearMiss = Row(*window, FindingKind::NearMiss);
    EXPECT_TRUE(rings[nearMiss].error);
    window->ShowFinding(nearMiss);
    const wxSize size = frame->Canvas()->GetClientSize();
    wxBitmap bitmap(size.x, size.y, 24);
    {
        wxMemoryDC dc(bitmap);
        frame->Canvas()->PaintTo(dc, size.x, size.y);
    }
    const wxImage image = bitmap.ConvertToImage();
    const ViewTransform& view = frame->Canvas()->Transform();
    const int px = view.ToPixelX(rings[nearMiss].x), py = view.ToPixelY(rings[nearMiss].y);
    int red = 0;
    for (int dy = -2; dy <= 2; ++dy) {
        const int y = py - kFindingRingPx + dy;  // the top of the ring, above the track
        if (image.GetRed(px, y) == kErrorRing.r && image.GetGreen(px, y) == kErrorRing.g) ++red;
    }
    EXPECT_GE(red, 2);

    // Closing the window takes the rings away.
    window->Close();
    PumpEvents();
    EXPECT_EQ(frame->CheckWindow(), nullptr);
    EXPECT_TRUE(frame->Canvas()->Overlays().findingRings.empty());
}

TEST_F(LayoutCheckWindowTest, SelectingAFindingSelectsItsPiecesAndCentresTheCanvas) {
    LayoutCheckWindow* window = Open();
    const long row = Row(*window, FindingKind::NearMiss);
    ASSERT_GE(row, 0);
    window->List()->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                                 wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    PumpEvents();
    for (const PlacedPiece& p : frame->Document().pieces) {
        EXPECT_EQ(p.selected, p.id == gapFirst || p.id == gapSecond) << p.id;
    }
    const LayoutFinding& f = window->Findings()[row];
    const ViewTransform& view = frame->Canvas()->Transform();
    const wxSize size = frame->Canvas()->GetClientSize();
    EXPECT_NEAR(view.ToPixelX(f.x), size.x / 2, 2);
    EXPECT_NEAR(view.ToPixelY(f.y), size.y / 2, 2);
    // Both pieces are in view, and the 2 mm gap is at least a few pixels wide.
    EXPECT_GE(view.ToPixelX(150), 0);
    EXPECT_GE(view.zoom * 2, 2.0);
    // Selecting does not rerun the check: the list keeps its selection.
    PumpEvents();
    EXPECT_EQ(window->List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED), row);
}

TEST_F(LayoutCheckWindowTest, AnEditThatClosesTheGapRemovesItsFinding) {
    LayoutCheckWindow* window = Open();
    const size_t before = window->Findings().size();
    ASSERT_GE(Row(*window, FindingKind::NearMiss), 0);
    // Drag the second straight onto the first, as the canvas does: the snap joins them.
    LayoutDocument& doc = frame->Document();
    for (PlacedPiece& p : doc.pieces) p.selected = p.id == gapSecond;
    const MoveStart start = TakeMoveStart(doc);
    const GroupSnap snap = TrackSelectionMove(doc, start, -2, 0);
    ReleaseSelectionMove(doc, start, snap);
    ASSERT_FALSE(doc.FindPiece(gapSecond)->IsOpen(0));
    frame->NotifyChanged(DocChange::Placement);
    ASSERT_TRUE(PumpUntil([&] { return Row(*window, FindingKind::NearMiss) < 0; }));
    // The near miss and the two open ends at the gap are gone.
    EXPECT_EQ(window->Findings().size(), before - 3);
    EXPECT_EQ(window->List()->GetItemCount(), static_cast<int>(before - 3));
    EXPECT_EQ(window->Findings(), CheckLayout(doc));
    EXPECT_EQ(window->GetTitle(), wxString::FromUTF8(LayoutCheckTitle(window->Findings())));
}

TEST_F(LayoutCheckWindowTest, OptionsInTheWindowApplyToTheRun) {
    LayoutCheckWindow* window = Open();
    ASSERT_GE(Row(*window, FindingKind::LowClearance), 0);
    auto* h0 = dynamic_cast<wxSpinCtrlDouble*>(window->FindWindow("clearanceH0"));
    ASSERT_TRUE(h0);
    h0->SetValue(45);
    wxSpinDoubleEvent event(wxEVT_SPINCTRLDOUBLE, h0->GetId(), 45);
    event.SetEventObject(h0);
    h0->GetEventHandler()->ProcessEvent(event);
    EXPECT_EQ(Row(*window, FindingKind::LowClearance), -1);
    EXPECT_DOUBLE_EQ(window->Options().clearanceH0Mm, 45);
    // The run's options stay with the window's reruns after an edit.
    frame->NotifyChanged(DocChange::Placement);
    PumpEvents(50);
    EXPECT_EQ(Row(*window, FindingKind::LowClearance), -1);
    // Ctrl+L again brings the same window forward rather than a second one.
    Command(frame, kCmdCheckLayout);
    EXPECT_EQ(frame->CheckWindow(), window);
}

}  // namespace
