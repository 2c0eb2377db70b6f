// Running trains in the main window: a train added to a sample layout by a click on its track,
// started, sent into a siding by a click on a turnout, freed by one from a turnout set against
// it; edits that stop trains and take them off; the trains in the 3D view and its cab camera.
#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/listbox.h>
#include <wx/spinctrl.h>

#include <cstdlib>

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

// Saves a picture into $QUILLMORE_SHOT_DIR when it is set.
void KeepShot(const wxImage& image, const char* name) {
    if (const char* dir = std::getenv("QUILLMORE_SHOT_DIR"))
        image.SaveFile(wxString::FromUTF8(std::string(dir) + "/" + name), wxBITMAP_TYPE_PNG);
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

TEST_F(TrainsWindowTest, ATrainRunsSeenFromItsCabAndTakesTheOtherLegWhenItsTurnoutIsThrown) {
    const uint32_t id = AddTrain(3);
    ASSERT_NE(id, 0u);
    const uint32_t start = Train(id).state.step.piece;
    EXPECT_EQ(Train(id).poses.size(), 4u);

    // The 3D view draws the train.
    Command(kCmd3DView);
    View3DFrame* view = frame->View3D();
    ASSERT_NE(view, nullptr);
    TrackGLCanvas* gl = view->Canvas();
    ASSERT_TRUE(PumpUntil([&] { return gl->IsShownOnScreen(); }));
    std::vector<uint8_t> pixels;
    ASSERT_TRUE(gl->RenderFrame(&pixels));
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
    ASSERT_TRUE(gl->RenderFrame(&pixels));
    EXPECT_EQ(gl->LastGlError(), 0u);
    const LinePose head = HeadPose(window->Session().Network(), Train(id).state);
    const CameraView& v = gl->LastView();
    EXPECT_NEAR(v.eye.x, head.x, 1e-3);
    EXPECT_NEAR(v.eye.y, -head.y, 1e-3);
    EXPECT_GT(v.eye.z, head.heightMm + 30.0);  // a driver's eye is well above the rail
    // The track ahead lies ahead of the eye (the train heads east along the top run).
    EXPECT_GT(v.target.x, v.eye.x + 100.0);
    EXPECT_EQ(gl->HiddenFromCab(), 1) << "the locomotive the camera rides in";
    const wxSize size = gl->GetClientSize();
    ASSERT_EQ(pixels.size(), static_cast<size_t>(size.x * size.y * 3));
    // The frame's rows run bottom up.
    const wxImage image = wxImage(size.x, size.y, pixels.data(), true).Mirror(false);
    // Out of the cab, the track fills the bottom middle of the picture: neither the dark sky
    // nor the green baseboard shows there.
    int track = 0, all = 0;
    for (int y = size.y * 8 / 10; y < size.y * 95 / 100; ++y)
        for (int x = size.x * 47 / 100; x < size.x * 53 / 100; ++x, ++all) {
            const int r = image.GetRed(x, y), g = image.GetGreen(x, y), b = image.GetBlue(x, y);
            const bool board = g > r + 15 && g > b + 15;
            track += !board && r + g + b > 150;
        }
    EXPECT_GT(track, all * 8 / 10);
    KeepShot(image, "cab-view.png");
    // O: back to the orbit camera.
    key.m_keyCode = 'O';
    gl->GetEventHandler()->ProcessEvent(key);
    EXPECT_EQ(gl->Mode(), TrackGLCanvas::CameraMode::Orbit);
    ASSERT_TRUE(Train(id).running);
    // The timer runs it; then frames are run one by one.
    EXPECT_TRUE(window->Animating());
    const double before = Train(id).state.alongMm;
    EXPECT_TRUE(PumpUntil([&] { return Train(id).state.alongMm != before; }, 3000));

    // A second on, it has left its starting piece.
    for (int frame = 0; frame < 30; ++frame) window->Advance(kFrameS);
    ASSERT_TRUE(Train(id).running) << Status().utf8_string();
    EXPECT_NE(Train(id).state.step.piece, start);

    // The vehicles stand on the plan in their colours: the locomotive's body is drawn.
    PumpEvents();
    const VehiclePose& loco = Train(id).poses.front();
    const wxPoint mid =
        canvas->LayoutToScreen((loco.front.x + loco.rear.x) / 2, (loco.front.y + loco.rear.y) / 2);
    const wxImage plan = canvas->Picture().ConvertToImage();
    EXPECT_EQ(wxColour(plan.GetRed(mid.x, mid.y), plan.GetGreen(mid.x, mid.y),
                       plan.GetBlue(mid.x, mid.y)),
              wxColour(kLocomotiveColour.r, kLocomotiveColour.g, kLocomotiveColour.b));
    KeepShot(plan, "plan-running-train.png");
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

    // The train now takes the diverging leg into the siding, and stops at its buffer.
    const uint32_t siding = Piece(second).joints[2].target;
    bool tookSiding = false;
    for (int frame = 0; frame < 30 * 60 && Train(id).running; ++frame) {
        window->Advance(kFrameS);
        tookSiding |= Train(id).state.step.piece == siding;
        if (Train(id).state.step.piece == second) {
            EXPECT_EQ(Train(id).state.step.exit, 2);
        }
    }
    EXPECT_TRUE(tookSiding);
    EXPECT_FALSE(Train(id).running);
    EXPECT_EQ(Train(id).lastStop, StopReason::BufferStop);
    EXPECT_EQ(Status(), "Train 1 stopped: buffer stop");
    EXPECT_FALSE(window->Animating());
    PumpEvents();
    KeepShot(canvas->Picture().ConvertToImage(), "plan-train-at-siding-buffer.png");
}

// A train stopped by a turnout set against it stayed stuck: with no train running, a click on the
// turnout only selected it. The click switches it now, Start runs the train over the new
// setting, and the stop message leaves the status bar once the train moves again. Edits of the
// track then stop the train, and take it off when its track goes.
TEST_F(TrainsWindowTest, AClickFreesATrainStoppedByATurnoutAndEditsStopItOrTakeItOff) {
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
    const auto* preset = static_cast<wxChoice*>(window->FindWindow(TrainsWindow::kIdPreset));
    EXPECT_EQ(preset->GetStringSelection(), wxString::FromUTF8(Train(id).preset.name));
    Button(window, TrainsWindow::kIdReverse);
    const PlacedPiece& t = Piece(turnout);
    ClickAt(t.x + 40.0, t.y);
    ASSERT_EQ(SetLeg(window->Session().Switches(), turnout), 2) << "switched with no train running";
    EXPECT_FALSE(t.selected) << "the click went to the turnout, not to the selection";

    Button(window, TrainsWindow::kIdStartStop);
    for (int frame = 0; frame < 30 * 20 && Train(id).running; ++frame) window->Advance(kFrameS);
    ASSERT_EQ(Train(id).lastStop, StopReason::AgainstSwitch);
    const RouteStep& head = Train(id).state.step;
    EXPECT_EQ(Piece(head.piece).joints[head.exit].target, turnout) << "stopped at its leg";
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

    // Editing the track: raising a piece far from the running train stops it.
    LayoutDocument& doc = Doc();
    const uint32_t farPiece = doc.pieces[15].id;
    ASSERT_TRUE(std::find(Train(id).occupied.begin(), Train(id).occupied.end(), farPiece) ==
                Train(id).occupied.end());
    doc.FindPiece(farPiece)->elevation += 5;
    frame->NotifyChanged(DocChange::Placement);
    frame->FlushChanges();
    ASSERT_NE(window->Session().Find(id), nullptr);
    EXPECT_FALSE(Train(id).running);
    EXPECT_FALSE(window->Animating());
    // Deleting the piece under it takes it off.
    const uint32_t under = Train(id).state.step.piece;
    for (PlacedPiece& p : doc.pieces) p.selected = p.id == under;
    frame->DeleteSelection(DeleteSource::EditMenu);
    frame->FlushChanges();
    EXPECT_EQ(window->Session().Find(id), nullptr);
    EXPECT_TRUE(canvas->TrainsShown().bodies.empty());
    EXPECT_EQ(Status(), "A train was taken off: its track was removed.");
}

}  // namespace
