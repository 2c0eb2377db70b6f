// The height profile window on the figure-eight sample, which climbs over its own track: opening
// it from the Layout menu, its crossing bars, dragging a joint with undo, Even Grade, following
// changes, export and print.
#include <gtest/gtest.h>
#include <wx/button.h>

#include <filesystem>

#include "app/CommandIds.h"
#include "app/gui/MainFrameDialogs.h"
#include "control/PrintedPages.h"
#include "model/GradeRuns.h"
#include "network/gui/HeightProfileWindow.h"
#include "network/gui/ProfileDrawing.h"
#include "persistence/LayoutFile.h"
#include "support/FrameFixture.h"

namespace {

void PlotMouse(wxWindow* w, wxEventType type, double x, double y) {
    wxMouseEvent event(type);
    event.SetPosition(wxPoint(wxRound(x), wxRound(y)));
    event.SetLeftDown(type != wxEVT_LEFT_UP);
    event.SetEventObject(w);
    w->GetEventHandler()->ProcessEvent(event);
}

void Press(wxButton* button) {
    ASSERT_TRUE(button);
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

class HeightProfileWindowTest : public testing::Test, public FrameFixture {
protected:
    void SetUp() override {
        OpenFrame(wxSize(1200, 800));
        const std::filesystem::path file = std::filesystem::path(QUILLMORE_SOURCE_DIR) /
                                           "resources" / "layouts" / "C-Track Figure Eight.xml";
        ASSERT_EQ(LoadLayout(Doc(), file.string(), nullptr), "");
        frame->NotifyChanged(DocChange::All);
        PumpEvents();
        // The sample's first piece passes under the crossing; the piece that crosses over it is
        // the other end of the climb.
        low = Doc().pieces.front().id;
        const TrackGraph graph = BuildTrackGraph(Doc());
        const HeightProfile loop =
            BuildProfile(Doc(), graph, FindRoute(graph, {low, 0}, graph.Joined({low, 0})));
        ASSERT_FALSE(loop.crossings.empty());
        high = loop.crossings.front().otherPiece;
    }
    void TearDown() override {
        SetExportPathAsker(nullptr);
        CloseFrame();
    }
    void Select(std::initializer_list<uint32_t> ids) {
        Doc().ClearSelection();
        for (uint32_t id : ids) Doc().FindPiece(id)->selected = true;
        frame->NotifyChanged(DocChange::Selection);
    }
    HeightProfileWindow* Open() {
        Select({low, high});
        Command(kCmdHeightProfile);
        HeightProfileWindow* w = HeightProfileWindow::Of(frame);
        if (w) {
            w->SetClientSize(900, 480);
            w->Layout();
            PumpEvents();
        }
        return w;
    }

    uint32_t low = 0, high = 0;
};

// One session: a refusal, the window with its crossing bars, a dot dragged and Even Grade each
// one undo step, export, print, and Escape.
TEST_F(HeightProfileWindowTest, OpensShowsTheCrossingsEditsByDragAndEvenGradeExportsAndCloses) {
    {
        ModalAnswerer answer(wxID_OK);
        Select({low});
        Command(kCmdHeightProfile);
        ASSERT_EQ(answer.Count(), 1);
        EXPECT_EQ(answer.Dialogs()[0].message,
                  "Select the two pieces whose route the height profile should show.");
        EXPECT_EQ(HeightProfileWindow::Of(frame), nullptr);
    }

    HeightProfileWindow* w = Open();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->GetTitle(), "Height Profile");
    EXPECT_EQ(w->CurrentRoute().steps.front().piece, low);
    EXPECT_EQ(w->CurrentRoute().steps.back().piece, high);

    const ProfileChart chart = w->Chart();
    ASSERT_EQ(chart.crossings.size(), 2u) << "under the top, over the bottom";

    const std::vector<PlacedPiece> before = Doc().pieces;
    const size_t undo = Doc().undoStack.size();
    const size_t index = w->Profile().points.size() / 2;
    const ProfilePoint point = w->Profile().points[index];
    const ChartDot dot = chart.dots[index];
    const double targetY = std::round(dot.y - 50);

    wxWindow* plot = w->PlotWindow();
    PlotMouse(plot, wxEVT_LEFT_DOWN, dot.x, dot.y);
    PlotMouse(plot, wxEVT_MOTION, dot.x, targetY);
    EXPECT_NEAR(w->Chart().dots[index].y, targetY, 1e-9) << "the dot follows the pointer";
    EXPECT_EQ(Doc().pieces, before) << "nothing changes before the drop";
    PlotMouse(plot, wxEVT_LEFT_UP, dot.x, targetY);
    PumpEvents();

    EXPECT_EQ(Doc().undoStack.size(), undo + 1);
    const double wanted = chart.HeightAt(targetY);
    EXPECT_NEAR(ConnectorHeight(*Doc().FindPiece(point.piece), point.connector), wanted, 1e-6);
    // The window followed the change.
    EXPECT_NEAR(w->Profile().points[index].heightMm, wanted, 1e-6);

    Command(kCmdUndo);
    PumpEvents();
    EXPECT_EQ(Doc().pieces, before);
    EXPECT_NEAR(w->Profile().points[index].heightMm, point.heightMm, 1e-9);
    // The readout follows the pointer.
    PlotMouse(plot, wxEVT_MOTION, chart.XOf(point.distanceMm), dot.y);
    EXPECT_TRUE(w->ReadoutText().StartsWith("Distance: ")) << w->ReadoutText();

    // Even Grade gives every section of the route one grade, in one undo step.
    Press(w->EvenGradeButton());
    PumpEvents();
    const HeightProfile& p = w->Profile();
    EXPECT_NEAR(p.sections.back().gradePercent, p.sections.front().gradePercent, 1e-6);
    EXPECT_EQ(Doc().undoStack.size(), undo + 1);

    const std::string path = home.File("profile.svg");
    SetExportPathAsker([&](wxWindow*, const ExportQuestion&) {
        return ExportAnswer{wxString::FromUTF8(path), 0};
    });
    Press(static_cast<wxButton*>(wxWindow::FindWindowByLabel("Export...", w)));
    const std::string svg = ReadFileBytes(path);
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("Distance (mm)"), std::string::npos);

    const std::vector<wxImage> pages = PrintedPages(
        [&] { Press(static_cast<wxButton*>(wxWindow::FindWindowByLabel("Print...", w))); },
        wxSize(1100, 800));
    ASSERT_EQ(pages.size(), 1u);
    const Rgb within = BandColour(GradeBand::Within);
    EXPECT_GT(CountPixels(pages[0],
                          [&](int r, int g, int b) {
                              return r == within.r && g == within.g && b == within.b;
                          }),
              100);

    // Escape, also from the plot that holds the focus, closes the window.
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    escape.SetEventObject(w->PlotWindow());
    w->PlotWindow()->GetEventHandler()->ProcessEvent(escape);
    PumpEvents();
    EXPECT_EQ(HeightProfileWindow::Of(frame), nullptr);
}

}  // namespace
