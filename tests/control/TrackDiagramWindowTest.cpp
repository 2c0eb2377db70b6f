// The Track Diagram window over the running trains in the real main window: a click on a
// turnout switches the plan's turnout, the train's track lights up, a click on plain track
// selects its pieces; the exports write their files, an empty layout none.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/scrolwin.h>

#include <filesystem>

#include "app/CommandIds.h"
#include "app/gui/MainFrameDialogs.h"
#include "control/gui/DiagramExport.h"
#include "control/gui/TrackDiagramWindow.h"
#include "resources/samples/SampleLayoutBuilder.h"
#include "support/FrameFixture.h"
#include "support/Screenshot.h"
#include "trains/gui/TrainsWindow.h"

namespace {

class TrackDiagramWindowTest : public testing::Test, public FrameFixture {
protected:
    void SetUp() override {
        OpenFrame(wxSize(1200, 800));
        Load(BuildSampleLayouts().front().doc);  // the C-Track oval with a station
        SetExportPathAsker([this](wxWindow*, const ExportQuestion& q) {
            ++asked;
            return ExportAnswer{wxString::FromUTF8(out.File(q.file.utf8_string())), 0};
        });
    }
    void TearDown() override {
        SetExportPathAsker(nullptr);
        if (TrackDiagramWindow* w = TrackDiagramWindow::Open()) w->Close(true);
        CloseFrame();
    }
    void Load(const LayoutDocument& doc) {
        Doc() = doc;
        frame->NotifyChanged(DocChange::File);
        frame->FlushChanges();
    }
    void Button(wxWindow* target, int id) {
        wxCommandEvent event(wxEVT_BUTTON, id);
        event.SetEventObject(target);
        target->GetEventHandler()->ProcessEvent(event);
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

    TempDir out;
    int asked = 0;
};

// One window through a session: a train's track lit, a turnout switched and plain track selected
// by clicks, the exports (the diagram saved as a picture when QUILLMORE_SHOTS names a folder)
// and an empty layout followed, that exports nothing.
TEST_F(TrackDiagramWindowTest, ClicksSwitchAndSelectExportsWriteAndAnEmptyLayoutExportsNothing) {
    Command(kCmdTrains);
    TrainsWindow* trains = frame->Trains();
    ASSERT_NE(trains, nullptr);
    Command(kCmdTrackDiagram);
    TrackDiagramWindow* w = TrackDiagramWindow::Open();
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
    EXPECT_FALSE(Doc().FindPiece(piece)->selected);

    // Plain track is chosen: its pieces, and only they, are selected on the plan.
    Press(w, *straight);
    for (const PlacedPiece& p : Doc().pieces)
        EXPECT_EQ(p.selected, std::find(straight->pieces.begin(), straight->pieces.end(), p.id) !=
                                  straight->pieces.end());

    // The exports write their files.
    Command(kCmdExportBoard);
    EXPECT_TRUE(std::filesystem::exists(out.File("gleisbild.cs2")));
    EXPECT_TRUE(std::filesystem::exists(out.File("gleisbilder/My Layout.cs2")));
    Command(kCmdExportRocrail);
    EXPECT_NE(ReadFileBytes(out.File("plan.xml")).find("<sw id="), std::string::npos);
    Button(w, TrackDiagramWindow::kIdPng);
    EXPECT_EQ(ReadFileBytes(out.File("Track Diagram.png")).substr(1, 3), "PNG");
    EXPECT_EQ(asked, 3);

    // The sample wired with detectors: their sections become the diagram's contacts.
    for (SampleLayout& sample : BuildSampleLayouts())
        if (sample.name == "TRIX C-Track Reversing Loop") Load(sample.doc);
    const TrackGraph g = BuildTrackGraph(Doc());
    DiagramOptions o;
    o.sections = WiringDetectionSections(Doc(), g);
    ASSERT_FALSE(o.sections.empty());
    EXPECT_EQ(w->Diagram(), BuildTrackDiagram(Doc(), g, o));
    SaveShot(w, "diagram.png");

    Load(LayoutDocument());
    EXPECT_TRUE(w->Diagram().cells.empty());
    ModalAnswerer answer(wxID_OK);
    Command(kCmdExportRocrail);
    ASSERT_EQ(answer.Count(), 1);
    EXPECT_EQ(answer.Dialogs()[0].message, "The layout has no track to export.");
    EXPECT_EQ(asked, 3);
}

}  // namespace
