// Running trains in the main window: a train added to a sample layout by a click on its track,
// started, a turnout thrown under it by a click, a train freed by one from a turnout set against
// it; a deletion that takes a train off; the trains in the 3D view and its cab camera.
#include <gtest/gtest.h>
#include <wx/listbox.h>
#include <wx/spinctrl.h>

#include "app/CommandIds.h"
#include "catalog/TrackCatalog.h"
#include "resources/samples/SampleLayoutBuilder.h"
#include "support/FrameFixture.h"
#include "trains/TrainPicture.h"
#include "trains/gui/TrainsWindow.h"
#include "view3d/gui/TrackGLCanvas.h"
#include "view3d/gui/View3DFrame.h"

namespace {

constexpr double kFrameS = 1.0 / 30;

void Button(wxWindow* target, int id) {
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(target);
    target->GetEventHandler()->ProcessEvent(event);
}

class TrainsWindowTest : public testing::Test, public FrameFixture {
protected:
    void SetUp() override {
        OpenFrame(wxSize(1200, 800));
        Doc() = BuildSampleLayouts().front().doc;  // the C-Track oval with a station
        frame->NotifyChanged(DocChange::File);
        frame->FlushChanges();
        PumpEvents();
        canvas->ZoomToFit();
        Command(kCmdTrains);
        window = frame->Trains();
        ASSERT_NE(window, nullptr);
        PumpEvents();
        // The oval's two turnouts lie on its top run, roots to the west.
        for (const PlacedPiece& p : Doc().pieces)
            if (p.article == "24611") turnouts.push_back(p.id);
        ASSERT_EQ(turnouts.size(), 2u);
    }
    void TearDown() override {
        if (frame->View3D()) frame->View3D()->Destroy();
        CloseFrame();
    }
    const PlacedPiece& Piece(uint32_t id) { return *Doc().FindPiece(id); }
    // A left press and release on the canvas over a layout point.
    void ClickAt(double x, double y) {
        const wxPoint at = canvas->LayoutToScreen(x, y);
        Click(at.x, at.y);
    }
    // Add Train with `cars` cars, then a click on the track at (x, y).
    uint32_t AddTrain(int cars, double x, double y) {
        static_cast<wxSpinCtrl*>(window->FindWindow(TrainsWindow::kIdCars))->SetValue(cars);
        Button(window, TrainsWindow::kIdAdd);
        EXPECT_TRUE(window->Placing());
        ClickAt(x, y);
        EXPECT_FALSE(window->Placing());
        return window->Watched();
    }
    // Add Train, then a click on the straight just east of the first turnout.
    uint32_t AddTrain(int cars) {
        return AddTrain(cars, Piece(turnouts[0]).x + 188.3 + 94.0, Piece(turnouts[0]).y);
    }
    const SessionTrain& Train(uint32_t id) { return *window->Session().Find(id); }

    TrainsWindow* window = nullptr;
    std::vector<uint32_t> turnouts;
};

TEST_F(TrainsWindowTest, ATrainRunsSeenFromItsCabAndTheOtherLegShowsWhenItsTurnoutIsThrown) {
    const uint32_t id = AddTrain(3);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(Train(id).poses.size(), 4u);

    // The 3D view draws the train.
    Command(kCmd3DView);
    View3DFrame* view = frame->View3D();
    ASSERT_NE(view, nullptr);
    TrackGLCanvas* gl = view->Canvas();
    ASSERT_TRUE(PumpUntil([&] { return gl->IsShownOnScreen(); }));
    ASSERT_TRUE(gl->RenderFrame());
    EXPECT_FALSE(gl->TrainVehicles().empty());
    // The vehicles' models are made once; the frames after that only move them.
    const int models = gl->VehicleModelsMade();
    EXPECT_GT(models, 0);
    EXPECT_LE(static_cast<size_t>(models), gl->TrainVehicles().size());
    for (int k = 0; k < 3; ++k) ASSERT_TRUE(gl->RenderFrame());
    EXPECT_EQ(gl->VehicleModelsMade(), models);
    // C: the camera rides in the cab, at the head of the train, looking along the track.
    wxKeyEvent key(wxEVT_KEY_DOWN);
    key.m_keyCode = 'C';
    key.SetEventObject(gl);
    gl->GetEventHandler()->ProcessEvent(key);
    EXPECT_EQ(gl->Mode(), TrackGLCanvas::CameraMode::Cab);
    Button(window, TrainsWindow::kIdStartStop);
    for (int i = 0; i < 20; ++i) window->Advance(kFrameS);
    ASSERT_TRUE(gl->RenderFrame());
    EXPECT_EQ(gl->LastGlError(), 0u);
    const LinePose head = HeadPose(window->Session().Network(), Train(id).state);
    const CameraView& v = gl->LastView();
    EXPECT_NEAR(v.eye.x, head.x, 1e-3);
    EXPECT_NEAR(v.eye.y, -head.y, 1e-3);
    EXPECT_EQ(gl->HiddenFromCab(), 1) << "the locomotive the camera rides in";
    ASSERT_TRUE(Train(id).running);
    // The timer runs it; then frames are run one by one.
    EXPECT_TRUE(window->Animating());
    const double before = Train(id).state.alongMm;
    EXPECT_TRUE(PumpUntil([&] { return Train(id).state.alongMm != before; }, 3000));

    // The vehicles stand on the plan in their colours: the locomotive's body is drawn.
    PumpEvents();
    const VehiclePose& loco = Train(id).poses.front();
    const wxPoint mid =
        canvas->LayoutToScreen((loco.front.x + loco.rear.x) / 2, (loco.front.y + loco.rear.y) / 2);
    EXPECT_EQ(PixelAt(canvas->Picture().ConvertToImage(), mid.x, mid.y),
              wxColour(kLocomotiveColour.r, kLocomotiveColour.g, kLocomotiveColour.b));
    // The plan knows the pieces the train stands on (the wiring view lights their sections).
    std::vector<uint32_t> under = Train(id).occupied;
    std::sort(under.begin(), under.end());
    under.erase(std::unique(under.begin(), under.end()), under.end());
    EXPECT_FALSE(under.empty());
    EXPECT_EQ(canvas->TrainsShown().occupied, under);

    // A click on the second turnout while the train runs throws it; the plan shows its new leg.
    const uint32_t second = turnouts[1];
    const PlacedPiece& t = Piece(second);
    ClickAt(t.x + 40.0, t.y);
    EXPECT_EQ(SetLeg(window->Session().Switches(), second), 2);
    const ConnectorPose legEnd = GetConnectorPose(t, *TrackCatalog::Instance().Find("24611"), 2);
    bool legShown = false;
    for (const TrainsOverlay::Leg& leg : canvas->TrainsShown().legs)
        legShown |=
            std::hypot(leg.points.back().x - legEnd.x, leg.points.back().y - legEnd.y) < 0.5;
    EXPECT_TRUE(legShown);
}

// A train stopped by a turnout set against it stayed stuck: with no train running, a click on the
// turnout only selected it. The click switches it now, Start runs the train over the new
// setting, and the stop message leaves the status bar once the train moves again. Deleting its
// track then takes the train off.
TEST_F(TrainsWindowTest, AClickFreesATrainStoppedByATurnoutAndDeletingItsTrackTakesItOff) {
    // A train of one car on the second straight east of the first turnout, turned to run west
    // towards the turnout's straight leg.
    const uint32_t turnout = turnouts[0];
    const uint32_t near = Piece(turnout).joints[1].target;
    const PlacedPiece& far = Piece(Piece(near).joints[1].target);
    const PieceDef& straight = *TrackCatalog::Instance().Find(far.article);
    const ConnectorPose a = GetConnectorPose(far, straight, 0),
                        b = GetConnectorPose(far, straight, 1);
    const uint32_t id = AddTrain(1, (a.x + b.x) / 2, (a.y + b.y) / 2);
    ASSERT_NE(id, 0u);
    // Listed with one car, under its preset's name as the list of ready-made trains shows it.
    EXPECT_EQ(Status(), wxString::FromUTF8(Train(id).name) + " is on the track.");
    const auto* list = static_cast<wxListBox*>(window->FindWindow(TrainsWindow::kIdList));
    ASSERT_EQ(list->GetCount(), 1u);
    EXPECT_TRUE(list->GetString(0).Contains(", 1 car, 80 km/h, stopped")) << list->GetString(0);
    Button(window, TrainsWindow::kIdReverse);
    const PlacedPiece& t = Piece(turnout);
    ClickAt(t.x + 40.0, t.y);
    ASSERT_EQ(SetLeg(window->Session().Switches(), turnout), 2) << "switched with no train running";
    EXPECT_FALSE(t.selected) << "the click went to the turnout, not to the selection";

    Button(window, TrainsWindow::kIdStartStop);
    for (int frame = 0; frame < 30 * 20 && Train(id).running; ++frame) window->Advance(kFrameS);
    ASSERT_EQ(Train(id).lastStop, StopReason::AgainstSwitch);
    EXPECT_EQ(Status(), "Train 1 stopped: turnout set against the train");

    ClickAt(t.x + 40.0, t.y);
    EXPECT_EQ(SetLeg(window->Session().Switches(), turnout), 1);
    Button(window, TrainsWindow::kIdStartStop);
    for (int frame = 0; frame < 30 * 10 && Train(id).state.step.piece != turnout; ++frame) {
        window->Advance(kFrameS);
        ASSERT_TRUE(Train(id).running) << Status().utf8_string();
    }
    EXPECT_EQ(Train(id).state.step.piece, turnout) << "the train runs on over the turnout";
    EXPECT_EQ(Status(), "") << "the stop message went when the train moved";

    // Deleting the piece under the running train takes it off.
    const uint32_t under = Train(id).state.step.piece;
    for (PlacedPiece& p : Doc().pieces) p.selected = p.id == under;
    frame->DeleteSelection(DeleteSource::EditMenu);
    frame->FlushChanges();
    EXPECT_EQ(window->Session().Find(id), nullptr);
    EXPECT_TRUE(canvas->TrainsShown().bodies.empty());
    EXPECT_FALSE(window->Animating());
    EXPECT_EQ(Status(), "A train was taken off: its track was removed.");
}

}  // namespace
