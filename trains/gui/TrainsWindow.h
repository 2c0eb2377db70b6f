// The modeless "Trains" window: adding trains from the presets, starting, stopping, turning
// them round, their speed, taking them off; and the animation that runs them on the plan and in
// the 3D view, 30 frames a second.
#pragma once

#include <wx/dialog.h>
#include <wx/timer.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "model/DocumentChange.h"
#include "canvas/CanvasOverlays.h"
#include "trains/TrainSession.h"

class FrameServices;
class wxButton;
class wxChoice;
class wxListBox;
class wxSizer;
class wxSpinCtrl;

class TrainsWindow : public wxDialog {
public:
    // Window ids of the controls.
    static constexpr int kIdPreset = 4300;
    static constexpr int kIdCars = 4301;
    static constexpr int kIdAdd = 4302;
    static constexpr int kIdList = 4303;
    static constexpr int kIdStartStop = 4304;
    static constexpr int kIdReverse = 4305;
    static constexpr int kIdSpeed = 4306;
    static constexpr int kIdRemove = 4307;
    static constexpr int kFrameMs = 33;  // 30 frames a second

    explicit TrainsWindow(FrameServices* frame);

    TrainSession& Session() { return session; }
    // The train the buttons act on and the 3D view's train cameras ride with (0: none).
    uint32_t Watched() const;
    // True after Add Train until a click on the track puts the train there.
    bool Placing() const { return placing; }
    bool Animating() const { return timer.IsRunning(); }

    // A left press on the plan at a layout point: puts the train being added there, or throws
    // the turnout under it. True when the press was used.
    bool Click(double xMm, double yMm);
    // Sets a turnout to its next leg as a click on it does, and shows it; false when the piece
    // has no leg to choose.
    bool ThrowSwitch(uint32_t piece);
    // One frame of the animation, `seconds` after the last.
    void Advance(double seconds);
    // After the main frame's update: an edit of the track stops the trains and takes off those
    // whose track is gone; another layout takes them all off.
    void DocumentChanged(DocChange what);

private:
    wxSizer* BuildRows();
    void OnAdd(wxCommandEvent& event);
    void OnStartStop(wxCommandEvent& event);
    void OnReverse(wxCommandEvent& event);
    void OnSpeed(wxCommandEvent& event);
    void OnRemove(wxCommandEvent& event);
    void OnSelect(wxCommandEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnClose(wxCloseEvent& event);

    // The list, the buttons' labels and the speed, from the session.
    void ShowTrains();
    // The trains on the plan and in the 3D view.
    void ShowPicture();
    void ShowStatus(const std::string& text);
    void Animate();

    FrameServices* frame = nullptr;
    TrainSession session;
    wxChoice* preset = nullptr;
    wxSpinCtrl* cars = nullptr;
    wxListBox* list = nullptr;
    wxButton* startStop = nullptr;
    wxSpinCtrl* speed = nullptr;
    std::vector<uint32_t> listed;  // train ids in list order
    uint32_t watched = 0;
    bool placing = false;
    wxTimer timer;
    std::chrono::steady_clock::time_point lastFrame;
    std::vector<TrainsOverlay::Leg> legs;
    uint64_t legsVersion = ~uint64_t{0};
    int listenerId = 0;
    // The last stop message put in the status bar and the train it is about.
    struct ShownStop {
        uint32_t train = 0;
        wxString text;
    } shownStop;
};
