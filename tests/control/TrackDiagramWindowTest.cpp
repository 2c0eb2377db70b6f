// The Track Diagram window over the running trains in the real main window: a click on a
// turnout switches the plan's turnout, the train's track lights up, a click on plain track
// selects its pieces; the diagram's exports write their files, and an empty layout none.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/scrolwin.h>

#include <cstdlib>
#include <filesystem>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "app/gui/MainFrameDialogs.h"
#include "canvas/gui/CanvasPanel.h"
#include "control/gui/DiagramExport.h"
#include "control/gui/TrackDiagramWindow.h"
#include "resources/samples/SampleLayoutBuilder.h"
#include "support/GuiTestSupport.h"
#include "support/Screenshot.h"
#include "trains/gui/TrainsWindow.h"

namespace {

void Command(wxWindow* target, wxEventType type, int id) {
    wxCommandEvent event(type, id);
    event.SetEventObject(target);
    target->GetEventHandler()->ProcessEvent(event);
}

class TrackDiagramWindowTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("HOME", home.Path().c_str(), 1);
        frame = new MainFrame();
        frame->Show();
        frame->Document() = BuildSampleLayouts().front().doc;  // the C-Track oval with a station
        frame->NotifyChanged(DocChange::File);
        frame->FlushChanges();
        SetExportPathAsker([this](wxWindow*, const ExportQuestion& q) {
            ++asked;
            return ExportAnswer{wxString::FromUTF8(out.File(q.file.utf8_string())), 0};
        });
    }
    void TearDown() override {
        SetExportPathAsker(nullptr);
        if (TrackDiagramWindow* w = TrackDiagramWindow::Open()) w->Close(true);
        frame->Destroy();
        PumpEvents();
    }
    TrackDiagramWindow* OpenDiagram() {
        Command(frame, wxEVT_MENU, kCmdTrackDiagram);
        TrackDiagramWindow* w = TrackDiagramWindow::Open();
        EXPECT_NE(w, nullptr);
        return w;
    }
    const DiagramCell* First(const TrackDiagram& d, DiagramSymbol symbol) {
        for (const DiagramCell& c : d.cells)
            if (c.symbol == symbol && !c.pieces.empty()) return &c;
        return nullptr;
    }
    // A left press on the drawing at the middle of a cell.
    void Press(TrackDiagramWindow* w, const DiagramCell& c) {
        wxScrolledWindow* board = w->Board();
        wxMouseEvent event(wxEVT_LEFT_DOWN);
        event.SetPosition(board->CalcScrolledPosition(wxPoint(
            c.x * TrackDiagramWindow::kCellPx + 14, c.y * TrackDiagramWindow::kCellPx + 14)));
        event.m_leftDown = true;
        event.SetEventObject(board);
        board->GetEventHandler()->ProcessEvent(event);
        frame->FlushChanges();
    }

    TempDir home, out;
    MainFrame* frame = nullptr;
    int asked = 0;
};

TEST_F(TrackDiagramWindowTest, AClickOnATurnoutWhileATrainRunsSwitchesThePlansTurnout) {
    Command(frame, wxEVT_MENU, kCmdTrains);
    TrainsWindow* trains = frame->Trains();
    ASSERT_NE(trains, nullptr);
    TrackDiagramWindow* w = OpenDiagram();
    ASSERT_NE(w, nullptr);
    const TrackDiagram& d = w->Diagram();
    const DiagramCell* straight = First(d, DiagramSymbol::Straight);
    ASSERT_NE(straight, nullptr);
    uint32_t id = 0;
    ASSERT_EQ(trains->Session().AddTrain(TrainPresets().front(), 1,
                                         GraphEnd{straight->pieces.front(), 0}, 20, &id),
              "");
    trains->Session().SetRunning(id, true);

    // The train's track lights up red.
    const std::vector<uint32_t>& occupied = trains->Session().Find(id)->occupied;
    const DiagramCell* lit = nullptr;
    for (const DiagramCell& c : d.cells)
        for (uint32_t p : c.pieces)
            if (c.symbol == DiagramSymbol::Straight &&
                std::find(occupied.begin(), occupied.end(), p) != occupied.end())
                lit = &c;
    ASSERT_NE(lit, nullptr);
    wxBitmap bitmap(d.width * 28, d.height * 28, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        w->Draw(dc, 28);
    }
    const wxImage picture = bitmap.ConvertToImage();
    const int px = lit->x * 28 + 14, py = lit->y * 28 + 14;
    EXPECT_GT(picture.GetRed(px, py), 180);
    EXPECT_LT(picture.GetGreen(px, py), 120);

    const DiagramCell* turnout = First(d, DiagramSymbol::TurnoutLeft);
    if (!turnout) turnout = First(d, DiagramSymbol::TurnoutRight);
    ASSERT_NE(turnout, nullptr);
    const uint32_t piece = turnout->pieces.front();
    const int before = SetLeg(trains->Session().Switches(), piece);
    Press(w, *turnout);
    EXPECT_NE(SetLeg(trains->Session().Switches(), piece), before);
    EXPECT_TRUE(trains->Session().Find(id)->running);
    EXPECT_FALSE(frame->Document().FindPiece(piece)->selected);

    // Plain track is chosen: its pieces, and only they, are selected on the plan.
    Press(w, *straight);
    for (const PlacedPiece& p : frame->Document().pieces)
        EXPECT_EQ(p.selected, std::find(straight->pieces.begin(), straight->pieces.end(), p.id) !=
                                  straight->pieces.end());

    // The window follows an edit: a bumper taken away leaves its cell.
    const size_t cells = d.cells.size();
    const DiagramCell* bumper = First(d, DiagramSymbol::Bumper);
    ASSERT_NE(bumper, nullptr);
    const uint32_t gone = bumper->pieces.front();
    frame->Document().ClearSelection();
    frame->Document().FindPiece(gone)->selected = true;
    frame->Document().DeleteSelected();
    frame->NotifyChanged(DocChange::Pieces);
    frame->FlushChanges();
    EXPECT_EQ(w->Diagram().cells.size(), cells - 1);
}

TEST_F(TrackDiagramWindowTest, ExportsWriteTheirFilesAndAnEmptyLayoutNone) {
    Command(frame, wxEVT_MENU, kCmdExportBoard);
    EXPECT_TRUE(std::filesystem::exists(out.File("gleisbild.cs2")));
    EXPECT_TRUE(std::filesystem::exists(out.File("gleisbilder/My Layout.cs2")));
    Command(frame, wxEVT_MENU, kCmdExportRocrail);
    EXPECT_NE(ReadFileBytes(out.File("plan.xml")).find("<sw id="), std::string::npos);
    TrackDiagramWindow* w = OpenDiagram();
    ASSERT_NE(w, nullptr);
    Command(w, wxEVT_BUTTON, TrackDiagramWindow::kIdPng);
    EXPECT_EQ(ReadFileBytes(out.File("Track Diagram.png")).substr(1, 3), "PNG");
    EXPECT_EQ(asked, 3);

    frame->Document() = LayoutDocument();
    frame->NotifyChanged(DocChange::File);
    frame->FlushChanges();
    EXPECT_TRUE(w->Diagram().cells.empty());
    ModalAnswerer answer(wxID_OK);
    Command(frame, wxEVT_MENU, kCmdExportRocrail);
    ASSERT_EQ(answer.Count(), 1);
    EXPECT_EQ(answer.Dialogs()[0].message, "The layout has no track to export.");
    EXPECT_EQ(asked, 3);
}

// Each sample's diagram in the window, built afresh for each layout opened (and saved as a picture
// when QUILLMORE_SHOTS names a folder).
TEST_F(TrackDiagramWindowTest, EverySampleIsDrawnWhole) {
    TrackDiagramWindow* w = OpenDiagram();
    ASSERT_NE(w, nullptr);
    for (SampleLayout& sample : BuildSampleLayouts()) {
        frame->Document() = sample.doc;
        frame->NotifyChanged(DocChange::File);
        frame->FlushChanges();
        const TrackDiagram& d = w->Diagram();
        ASSERT_FALSE(d.cells.empty()) << sample.name;
        // The window follows the change of layout: the diagram of the new one.
        const LayoutDocument& doc = frame->Document();
        const TrackGraph g = BuildTrackGraph(doc);
        DiagramOptions o;
        o.sections = WiringDetectionSections(doc, g);
        EXPECT_EQ(d, BuildTrackDiagram(doc, g, o)) << sample.name;
        SaveShot(w, (sample.name + " diagram.png").c_str());
    }
}

}  // namespace
