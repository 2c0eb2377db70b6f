// The wiring view and the Wiring window in the real main window: a gap placed and stepped by
// clicks on a joint and drawn as a bar, a feeder by Shift + click, feeders proposed from the
// window and its findings, the sample's plan, its wire list and print. With QUILLMORE_SHOTS set to
// a folder, the wiring view of the sample and the window are saved there as PNG pictures.
#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include <cstdlib>

#include "app/CommandIds.h"
#include "app/gui/MainFrameDialogs.h"
#include "catalog/TrackCatalog.h"
#include "control/PrintedPages.h"
#include "model/TrackBuilder.h"
#include "panels/gui/PropertiesPanel.h"
#include "support/FrameFixture.h"
#include "support/Screenshot.h"
#include "wiring/gui/WiringWindow.h"

namespace {

bool IsBar(int r, int g, int b) {
    return r == kWiringBarColour.r && g == kWiringBarColour.g && b == kWiringBarColour.b;
}

class WiringWindowTest : public testing::Test, public FrameFixture {
protected:
    void SetUp() override { OpenFrame(wxSize(1400, 860)); }
    void TearDown() override {
        SetExportPathAsker(nullptr);
        SetPrintRunner(nullptr);
        if (WiringWindow* w = WiringWindow::Open()) w->Close(true);
        if (WiringViewShown()) ShowWiringView(*frame, false);
        CloseFrame();
    }
    void Button(wxWindow* target, int id) {
        wxCommandEvent event(wxEVT_BUTTON, id);
        event.SetEventObject(target);
        target->GetEventHandler()->ProcessEvent(event);
        frame->FlushChanges();
    }
    void ClickAt(double x, double y, bool shift = false) {
        const wxPoint at = canvas->LayoutToScreen(x, y);
        Mouse(wxEVT_LEFT_DOWN, at.x, at.y, true, shift);
        Mouse(wxEVT_LEFT_UP, at.x, at.y, false, shift);
        frame->FlushChanges();
    }
    // Pixels of the gap bars' colour within `radius` pixels of a layout point.
    int BarPixelsNear(const wxImage& image, double x, double y, int radius) {
        const wxPoint at = canvas->LayoutToScreen(x, y);
        const wxRect box(at.x - radius, at.y - radius, 2 * radius + 1, 2 * radius + 1);
        return CountPixels(image.GetSubImage(box.Intersect(wxRect(image.GetSize()))), IsBar);
    }
};

TEST_F(WiringWindowTest, AClickOnAJointPlacesAGapDrawnAsABarAndFeedersAreProposed) {
    TrackBuilder track(Doc());
    const std::vector<uint32_t> line = track.Line("62188", 4);
    frame->NotifyChanged(DocChange::Pieces);
    frame->FlushChanges();
    canvas->ZoomToFit();
    Command(kCmdWiringView);
    ASSERT_TRUE(WiringViewShown());

    const PlacedPiece& second = track[line[1]];
    const ConnectorPose joint =
        GetConnectorPose(second, *TrackCatalog::Instance().Find(second.article), 1);
    EXPECT_EQ(BarPixelsNear(Painted(), joint.x, joint.y, 12), 0);
    ClickAt(joint.x, joint.y);
    ASSERT_EQ(Doc().wiring.gaps.size(), 1u);
    EXPECT_EQ(Doc().wiring.gaps[0].rails, GapRails::Left);
    EXPECT_GT(BarPixelsNear(Painted(), joint.x, joint.y, 12), 8) << "the gap's bar at the joint";
    // A click on the track away from any joint is no gap; it selects as in the plan view.
    ClickAt(second.x + 94, second.y);
    EXPECT_EQ(Doc().wiring.gaps.size(), 1u);

    // The window lists the two sections, unfed, and feeds them when asked.
    Command(kCmdWiring);
    WiringWindow* window = WiringWindow::Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Sections()->GetItemCount(), 2);
    auto findingsOf = [&](const wxString& kind) {
        int n = 0;
        for (long i = 0; i < window->Findings()->GetItemCount(); ++i)
            n += window->Findings()->Cell(i, 0) == kind;
        return n;
    };
    EXPECT_EQ(findingsOf("No feeder"), 2);
    Button(window, WiringWindow::kIdAddDistrict);
    ASSERT_EQ(Doc().wiring.districts.size(), 1u);
    Button(window, WiringWindow::kIdProposeFeeders);
    EXPECT_EQ(Doc().wiring.feeders.size(), 2u);
    EXPECT_EQ(findingsOf("No feeder"), 0);
    EXPECT_EQ(window->Districts()->Cell(0, 3), "1, 2") << "the district feeds both sections";
    // Undo takes the proposal back as one step.
    Command(kCmdUndo);
    EXPECT_TRUE(Doc().wiring.feeders.empty());
    EXPECT_EQ(findingsOf("No feeder"), 2);

    // Shift + click on a piece adds a feeder there; a finding jumps to its pieces.
    ClickAt(track[line[3]].x + 94, track[line[3]].y, true);
    ASSERT_EQ(Doc().wiring.feeders.size(), 1u);
    EXPECT_EQ(Doc().wiring.feeders[0].piece, line[3]);
    ASSERT_EQ(findingsOf("No feeder"), 1);
    window->ShowFinding(0);
    const std::vector<uint32_t>& named = window->Analysis().findings[0].pieces;
    for (const PlacedPiece& p : Doc().pieces)
        EXPECT_EQ(p.selected, std::find(named.begin(), named.end(), p.id) != named.end());

    // The properties panel tells a selected piece's place in the plan.
    Doc().ClearSelection();
    Doc().FindPiece(line[3])->selected = true;
    frame->NotifyChanged(DocChange::Selection);
    frame->FlushChanges();
    auto* where = dynamic_cast<wxStaticText*>(frame->Properties()->FindWindowByName("wiringText"));
    ASSERT_NE(where, nullptr);
    EXPECT_EQ(where->GetLabelText(), wxString::FromUTF8("Section 2 \u00b7 Booster 1"));

    // Districts are edited in the window.
    window->SelectDistrict(0);
    window->EditDistrict("Yard", 0x00AA00, 2.5);
    frame->FlushChanges();
    EXPECT_EQ(Doc().wiring.districts[0], (PowerDistrict{1, "Yard", 0x00AA00, 2.5}));
    EXPECT_EQ(window->Districts()->Cell(0, 0), "Yard");

    // The panel's district choice lists the renamed district; its detector field sets the
    // section's detector.
    auto* district =
        dynamic_cast<wxChoice*>(frame->Properties()->FindWindowByName("districtChoice"));
    auto* detector =
        dynamic_cast<wxSpinCtrl*>(frame->Properties()->FindWindowByName("detectorField"));
    ASSERT_TRUE(district && detector);
    EXPECT_EQ(district->GetStringSelection(), "Yard");
    detector->SetValue(4);
    wxSpinEvent spun(wxEVT_SPINCTRL, PropertiesPanel::kIdDetector);
    detector->GetEventHandler()->ProcessEvent(spun);
    frame->FlushChanges();
    EXPECT_EQ(Doc().wiring.detectors, (std::vector<Detector>{{line[3], 4}}));
    EXPECT_EQ(where->GetLabelText(), wxString::FromUTF8("Section 2 \u00b7 Yard \u00b7 detector 4"));
}

TEST_F(WiringWindowTest, TheSampleLoopListsItsSectionsExportsItsWireListAndPrints) {
    const std::string sample =
        std::string(QUILLMORE_SOURCE_DIR) + "/resources/layouts/TRIX C-Track Reversing Loop.xml";
    ASSERT_TRUE(frame->OpenLayoutPath(wxString::FromUTF8(sample)));
    frame->FlushChanges();
    Command(kCmdWiringView);
    Command(kCmdWiring);
    WiringWindow* window = WiringWindow::Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Sections()->GetItemCount(),
              static_cast<long>(window->Analysis().sections.size()));

    const std::string path = home.File("wires.csv");
    SetExportPathAsker([&](wxWindow*, const ExportQuestion&) {
        return ExportAnswer{wxString::FromUTF8(path), 0};
    });
    EXPECT_EQ(window->ExportWireList(), "");
    EXPECT_NE(ReadFileBytes(path).find("Booster 1"), std::string::npos);

    // Printing: the plan with its gap bars on the first page, the tables on the second.
    const std::vector<wxImage> pages = PrintedPages([&] { window->Print(); }, wxSize(800, 1100));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_GT(CountPixels(pages[0], IsBar), 20);
    EXPECT_GT(CountPixels(pages[1], [](int r, int, int) { return r < 128; }), 200);

    if (const char* dir = std::getenv("QUILLMORE_SHOTS"); dir && *dir)
        Painted().SaveFile(wxString(dir) + "/wiring-view.png", wxBITMAP_TYPE_PNG);
    SaveShot(window, "wiring-window.png");
}

}  // namespace
