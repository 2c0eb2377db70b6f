// The Trains window and the animation of the trains on the plan and in the 3D view.
#include "trains/gui/TrainsWindow.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/intl.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>

#include <algorithm>
#include <map>

#include "base/gui/FrameServices.h"
#include "base/gui/SetSizerAndLeastSize.h"
#include "canvas/gui/CanvasPanel.h"
#include "catalog/TrackCatalog.h"
#include "trains/TrainPicture.h"
#include "view3d/gui/TrackGLCanvas.h"
#include "view3d/gui/View3DFrame.h"

namespace {

// A click this many pixels from a centre line still hits the track.
constexpr double kPickPx = 10.0;
// A frame that comes late (a busy machine, a modal dialog) runs the trains no further than this.
constexpr double kLongestFrameS = 0.1;

// The scale most of the layout's track is in (H0 for an empty layout).
int LayoutScale(const LayoutDocument& doc) {
    std::map<int, int> count;
    for (const PlacedPiece& p : doc.pieces)
        if (const PieceDef* def = TrackCatalog::Instance().Find(p.article))
            ++count[ScaleOf(def->system)];
    int best = 87, most = 0;
    for (const auto& [scale, n] : count)
        if (n > most && !TrainPresetsFor(scale).empty()) best = scale, most = n;
    return best;
}

wxString TrainLine(const SessionTrain& t) {
    const wxString state = t.running ? _("running") : t.collided ? _("collided") : _("stopped");
    const size_t cars = t.consist.vehicleLengthsMm.size() - 1;
    return wxString::Format(
        wxPLURAL("%s: %s, %zu car, %.0f km/h, %s%s", "%s: %s, %zu cars, %.0f km/h, %s%s", cars),
        wxString::FromUTF8(t.name), wxString::FromUTF8(ScaleName(t.preset.scale)), cars, t.speedKmh,
        state, t.state.reversed ? _(" (reversed)") : wxString());
}

}  // namespace

TrainsWindow::TrainsWindow(FrameServices* owner)
    : wxDialog(owner->Window(), wxID_ANY, _("Trains"), wxDefaultPosition, wxSize(480, 440),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      frame(owner),
      timer(this) {
    wxSizer* sizer = BuildRows();
    SetSizerAndLeastSize(*this, sizer);

    Bind(wxEVT_BUTTON, &TrainsWindow::OnAdd, this, kIdAdd);
    Bind(wxEVT_BUTTON, &TrainsWindow::OnStartStop, this, kIdStartStop);
    Bind(wxEVT_BUTTON, &TrainsWindow::OnReverse, this, kIdReverse);
    Bind(wxEVT_BUTTON, &TrainsWindow::OnRemove, this, kIdRemove);
    Bind(wxEVT_SPINCTRL, &TrainsWindow::OnSpeed, this, kIdSpeed);
    Bind(wxEVT_LISTBOX, &TrainsWindow::OnSelect, this, kIdList);
    Bind(wxEVT_TIMER, &TrainsWindow::OnTimer, this);
    Bind(wxEVT_CLOSE_WINDOW, &TrainsWindow::OnClose, this);
    listenerId = frame->AddChangeListener([this](DocChange what) { DocumentChanged(what); });
    if (CanvasPanel* canvas = frame->Canvas())
        canvas->SetClickHandler([this](double x, double y) { return Click(x, y); });
    session.SetNetwork(BuildTrackGraph(frame->Document()));
    ShowTrains();
    ShowPicture();
}

// The train to add (preset and cars), the list of trains, and the selected one's controls.
wxSizer* TrainsWindow::BuildRows() {
    preset = new wxChoice(this, kIdPreset);
    const int scale = LayoutScale(frame->Document());
    for (const TrainPreset& p : TrainPresets()) {
        preset->Append(wxString::FromUTF8(TrainPresetLabel(p)));
        if (preset->GetSelection() == wxNOT_FOUND && p.scale == scale)
            preset->SetSelection(static_cast<int>(preset->GetCount() - 1));
    }
    cars = new wxSpinCtrl(this, kIdCars, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                          wxSP_ARROW_KEYS, 0, 30, 3);
    auto* add = new wxButton(this, kIdAdd, _("Add Train"));
    list = new wxListBox(this, kIdList);
    startStop = new wxButton(this, kIdStartStop, _("Start"));
    auto* reverse = new wxButton(this, kIdReverse, _("Reverse"));
    speed = new wxSpinCtrl(this, kIdSpeed, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                           wxSP_ARROW_KEYS, 0, 400, 80);
    auto* remove = new wxButton(this, kIdRemove, _("Remove"));

    auto* addRow = new wxBoxSizer(wxHORIZONTAL);
    addRow->Add(new wxStaticText(this, wxID_ANY, _("Cars:")), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT,
                4);
    addRow->Add(cars, 0, wxRIGHT, 8);
    addRow->Add(add, 0);
    auto* runRow = new wxBoxSizer(wxHORIZONTAL);
    runRow->Add(startStop, 0, wxRIGHT, 4);
    runRow->Add(reverse, 0, wxRIGHT, 4);
    runRow->Add(remove, 0);
    auto* speedRow = new wxBoxSizer(wxHORIZONTAL);
    speedRow->Add(new wxStaticText(this, wxID_ANY, _("Speed (scale km/h):")), 0,
                  wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    speedRow->Add(speed, 0);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(preset, 0, wxEXPAND | wxALL, 6);
    sizer->Add(addRow, 0, wxLEFT | wxRIGHT | wxBOTTOM, 6);
    sizer->Add(list, 1, wxEXPAND | wxLEFT | wxRIGHT, 6);
    sizer->Add(runRow, 0, wxALL, 6);
    sizer->Add(speedRow, 0, wxLEFT | wxRIGHT | wxBOTTOM, 6);
    return sizer;
}

uint32_t TrainsWindow::Watched() const { return session.Find(watched) ? watched : 0; }

void TrainsWindow::ShowStatus(const std::string& text) {
    frame->ShowStatus(wxString::FromUTF8(text));
}

bool TrainsWindow::Click(double xMm, double yMm) {
    const double zoom = frame->Canvas() ? frame->Canvas()->Zoom() : 1.0;
    const std::optional<TrackPick> pick =
        PickTrack(session.Network(), {xMm, yMm}, kPickPx / std::max(zoom, 1e-6));
    if (placing) {
        if (!pick) {
            ShowStatus(_("Click a track to put the train's head there.").utf8_string());
            return true;
        }
        placing = false;
        const int index = preset->GetSelection();
        if (index == wxNOT_FOUND) return true;
        uint32_t id = 0;
        const std::string error = session.AddTrain(TrainPresets()[static_cast<size_t>(index)],
                                                   cars->GetValue(), pick->at, pick->offsetMm, &id);
        if (!error.empty()) {
            ShowStatus(error);
            return true;
        }
        watched = id;
        session.SetSpeed(id, speed->GetValue());
        ShowStatus(
            wxString::Format(_("%s is on the track."), wxString::FromUTF8(session.Find(id)->name))
                .utf8_string());
        ShowTrains();
        ShowPicture();
        return true;
    }
    // Turnouts switch whether or not trains run: a train stopped by one set against it starts
    // again over the new setting.
    return pick && ThrowSwitch(pick->at.piece);
}

bool TrainsWindow::ThrowSwitch(uint32_t piece) {
    if (!session.ThrowSwitch(piece)) return false;
    ShowPicture();
    return true;
}

void TrainsWindow::OnAdd(wxCommandEvent&) {
    placing = true;
    ShowStatus(_("Click a track to put the train's head there.").utf8_string());
}

void TrainsWindow::OnStartStop(wxCommandEvent&) {
    const SessionTrain* t = session.Find(Watched());
    if (!t) return;
    session.SetRunning(t->id, !t->running);
    ShowTrains();
    ShowPicture();
    Animate();
}

void TrainsWindow::OnReverse(wxCommandEvent&) {
    session.Reverse(Watched());
    ShowTrains();
    ShowPicture();
}

void TrainsWindow::OnSpeed(wxCommandEvent&) {
    session.SetSpeed(Watched(), speed->GetValue());
    ShowTrains();
}

void TrainsWindow::OnRemove(wxCommandEvent&) {
    session.Remove(Watched());
    watched = session.Trains().empty() ? 0 : session.Trains().back().id;
    ShowTrains();
    ShowPicture();
}

void TrainsWindow::OnSelect(wxCommandEvent& event) {
    const int row = event.GetSelection();
    if (row >= 0 && row < static_cast<int>(listed.size())) watched = listed[row];
    ShowTrains();
}

void TrainsWindow::Animate() {
    if (session.AnyRunning() && !timer.IsRunning()) {
        lastFrame = std::chrono::steady_clock::now();
        timer.Start(kFrameMs);
    }
}

void TrainsWindow::OnTimer(wxTimerEvent&) {
    const auto now = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(now - lastFrame).count();
    lastFrame = now;
    Advance(std::min(seconds, kLongestFrameS));
}

void TrainsWindow::Advance(double seconds) {
    std::vector<uint32_t> wereRunning;
    for (const SessionTrain& t : session.Trains())
        if (t.running) wereRunning.push_back(t.id);
    const std::vector<std::string> stops = session.Run(seconds);
    // The stop message in the status bar goes once its train runs again.
    const SessionTrain* stopped = session.Find(shownStop.train);
    if (stopped && stopped->running && frame->StatusBar() &&
        frame->StatusBar()->GetStatusText(0) == shownStop.text)
        ShowStatus("");
    if (!stops.empty()) {
        shownStop = {};
        for (uint32_t id : wereRunning)
            if (const SessionTrain* t = session.Find(id); t && !t->running) shownStop.train = id;
        shownStop.text = wxString::FromUTF8(stops.back());
        ShowStatus(stops.back());
        ShowTrains();
    }
    ShowPicture();
    if (!session.AnyRunning()) timer.Stop();
}

void TrainsWindow::ShowTrains() {
    if (!session.Find(watched)) watched = session.Trains().empty() ? 0 : session.Trains().front().id;
    listed.clear();
    wxArrayString lines;
    int selected = wxNOT_FOUND;
    for (const SessionTrain& t : session.Trains()) {
        if (t.id == watched) selected = static_cast<int>(listed.size());
        listed.push_back(t.id);
        lines.Add(TrainLine(t));
    }
    if (list->GetStrings() != lines) list->Set(lines);
    if (selected != wxNOT_FOUND) list->SetSelection(selected);
    const SessionTrain* t = session.Find(watched);
    startStop->SetLabel(t && t->running ? _("Stop") : _("Start"));
    if (t && speed->GetValue() != static_cast<int>(t->speedKmh))
        speed->SetValue(static_cast<int>(t->speedKmh));
}

void TrainsWindow::ShowPicture() {
    if (legsVersion != session.SwitchVersion()) {
        legs = SetLegLines(session.Network(), session.Switches());
        legsVersion = session.SwitchVersion();
    }
    if (CanvasPanel* canvas = frame->Canvas()) canvas->SetTrainsOverlay(TrainsPicture(session, legs));
    if (View3DFrame* view = frame->View3D()) view->Canvas()->SetTrains(&session, Watched());
}

void TrainsWindow::DocumentChanged(DocChange what) {
    if (HasAny(what, DocChange::File)) {
        session.Clear();
        session.SetNetwork(BuildTrackGraph(frame->Document()));
    } else if (HasAny(what, DocChange::Pieces | DocChange::Placement)) {
        const bool wasRunning = session.AnyRunning();
        const int removed =
            session.SetNetwork(BuildTrackGraph(frame->Document(), &session.Network()));
        if (removed > 0) {
            // The one-train sentence has no number to fill in.
            const wxString text =
                wxPLURAL("A train was taken off: its track was removed.",
                         "%d trains were taken off: their track was removed.", removed);
            ShowStatus((removed == 1 ? text : wxString::Format(text, removed)).utf8_string());
        } else if (wasRunning) {
            ShowStatus(_("The trains stopped: the track was edited.").utf8_string());
        }
    } else {
        return;
    }
    timer.Stop();
    placing = false;
    ShowTrains();
    ShowPicture();
}

void TrainsWindow::OnClose(wxCloseEvent&) {
    timer.Stop();
    frame->RemoveChangeListener(listenerId);
    if (CanvasPanel* canvas = frame->Canvas()) {
        canvas->SetClickHandler(nullptr);
        canvas->SetTrainsOverlay({});
    }
    if (View3DFrame* view = frame->View3D()) view->Canvas()->SetTrains(nullptr, 0);
    frame->ForgetTrainsWindow();
    Destroy();
}
