// The height profile window on the figure-eight sample, which climbs over its own track: opening
// it from the Layout menu, its crossing bar, dragging a joint with undo, Even Grade, following
// changes, export and print.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/dcmemory.h>
#include <wx/menu.h>

#include <cmath>
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

wxColour Colour(Rgb c) { return wxColour(c.r, c.g, c.b); }

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

// Counts the pixels of a colour in a box around (x, y).
int CountColour(const wxImage& image, int x, int y, int half, wxColour colour) {
    int n = 0;
    for (int yy = std::max(0, y - half); yy <= std::min(image.GetHeight() - 1, y + half); ++yy)
        for (int xx = std::max(0, x - half); xx <= std::min(image.GetWidth() - 1, x + half); ++xx)
            n += image.GetRed(xx, yy) == colour.Red() && image.GetGreen(xx, yy) == colour.Green() &&
                 image.GetBlue(xx, yy) == colour.Blue();
    return n;
}

wxImage Render(const ProfileChart& chart) {
    wxBitmap bitmap(chart.width, chart.height, 24);
    {
        wxMemoryDC dc(bitmap);
        DrawProfileChart(dc, chart);
    }
    return bitmap.ConvertToImage();
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

// One session: refusals, the menu entry, the window with its crossing bars, a new pair, a dot
// dragged and Even Grade each one undo step, export, print, and the Close button and Escape.
TEST_F(HeightProfileWindowTest, OpensShowsTheCrossingsEditsByDragAndEvenGradeExportsAndCloses) {
    {
        ModalAnswerer answer(wxID_OK);
        Select({low});
        Command(kCmdHeightProfile);
        const uint32_t alone = LayPiece(Doc(), 3000);
        Select({low, alone});
        Command(kCmdHeightProfile);
        ASSERT_EQ(answer.Count(), 2);
        EXPECT_EQ(answer.Dialogs()[0].message,
                  "Select the two pieces whose route the height profile should show.");
        EXPECT_EQ(answer.Dialogs()[1].message,
                  "There is no route between the two selected pieces.");
        EXPECT_EQ(HeightProfileWindow::Of(frame), nullptr);
        Doc().pieces.pop_back();
        frame->NotifyChanged(DocChange::Pieces);
    }

    wxMenuItem* item = frame->GetMenuBar()->FindItem(kCmdHeightProfile);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->GetItemLabel(), "Height &Profile...");
    wxMenu* menu = nullptr;
    frame->GetMenuBar()->FindItem(kCmdHeightProfile, &menu);
    EXPECT_EQ(menu, frame->GetMenuBar()->GetMenu(frame->GetMenuBar()->FindMenu("Layout")));

    // Opening again shows the new pair in the same window.
    Select({low, Doc().pieces[1].id});
    Command(kCmdHeightProfile);
    HeightProfileWindow* first = HeightProfileWindow::Of(frame);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->CurrentRoute().steps.back().piece, Doc().pieces[1].id);
    HeightProfileWindow* w = Open();
    ASSERT_EQ(w, first);
    EXPECT_EQ(w->GetTitle(), "Height Profile");
    EXPECT_TRUE(w->IsShown());
    EXPECT_FALSE(w->IsModal());
    EXPECT_EQ(w->CurrentRoute().steps.front().piece, low);
    EXPECT_EQ(w->CurrentRoute().steps.back().piece, high);

    const ProfileChart chart = w->Chart();
    ASSERT_EQ(chart.crossings.size(), 2u) << "under the top, over the bottom";
    const wxImage image = Render(chart);
    for (const ChartCrossingBar& bar : chart.crossings) {
        EXPECT_FALSE(bar.tooLow);
        EXPECT_GT(CountColour(image, wxRound(bar.x), wxRound((bar.yRoute + bar.yOther) / 2), 2,
                              Colour(kProfileBar)),
                  0);
        EXPECT_GT(std::fabs(bar.yRoute - bar.yOther), 40) << "a bar, not a dot";
    }
    // The climb drawn in its grade colour between two joints.
    const ChartSegment& mid = chart.track[chart.track.size() / 2];
    EXPECT_GT(CountColour(image, wxRound((mid.x0 + mid.x1) / 2), wxRound((mid.y0 + mid.y1) / 2), 2,
                          Colour(BandColour(mid.band))),
              0);

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

    // Even Grade gives every section of the route one grade.
    Press(w->EvenGradeButton());
    PumpEvents();
    const HeightProfile& p = w->Profile();
    for (const ProfileSection& s : p.sections)
        EXPECT_NEAR(s.gradePercent, p.sections.front().gradePercent, 1e-6);
    EXPECT_NE(Doc().pieces, before);
    EXPECT_EQ(Doc().undoStack.size(), undo + 1);
    Command(kCmdUndo);
    PumpEvents();
    EXPECT_EQ(Doc().pieces, before);

    TempDir dir;
    for (const char* file : {"profile.png", "profile.svg"}) {
        const std::string path = dir.File(file);
        SetExportPathAsker([&](wxWindow*, const ExportQuestion&) {
            return ExportAnswer{wxString::FromUTF8(path), 0};
        });
        Press(static_cast<wxButton*>(wxWindow::FindWindowByLabel("Export...", w)));
        const std::string bytes = ReadFileBytes(path);
        ASSERT_FALSE(bytes.empty()) << file;
        if (std::string(file).ends_with(".png")) {
            EXPECT_EQ(bytes.substr(1, 3), "PNG");
        } else {
            EXPECT_NE(bytes.find("<svg"), std::string::npos);
            EXPECT_NE(bytes.find("Distance (mm)"), std::string::npos);
        }
    }

    const std::vector<wxImage> pages = PrintedPages(
        [&] { Press(static_cast<wxButton*>(wxWindow::FindWindowByLabel("Print...", w))); },
        wxSize(1100, 800));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_GT(CountColour(pages[0], 550, 400, 550, Colour(BandColour(GradeBand::Within))), 100);

    // The Close button and Escape, also from the plot that holds the focus, close the window.
    auto* close = dynamic_cast<wxButton*>(w->FindWindow(wxID_CLOSE));
    ASSERT_TRUE(close);
    EXPECT_EQ(close->GetLabel(), "Close");
    Press(close);
    PumpEvents();
    EXPECT_EQ(HeightProfileWindow::Of(frame), nullptr);
    w = Open();
    ASSERT_TRUE(w);
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    escape.SetEventObject(w->PlotWindow());
    w->PlotWindow()->GetEventHandler()->ProcessEvent(escape);
    PumpEvents();
    EXPECT_EQ(HeightProfileWindow::Of(frame), nullptr);
}

}  // namespace
