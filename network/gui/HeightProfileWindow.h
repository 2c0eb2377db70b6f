// The modeless "Height Profile" window: the route between two pieces unrolled from left to
// right, its joints dragged up and down, an even grade at one click, printed and exported.
#pragma once

#include <wx/dialog.h>

#include <cstdint>
#include <string>

#include "model/DocumentChange.h"
#include "network/HeightProfile.h"
#include "network/ProfileChart.h"

class FrameServices;
class wxButton;
class wxStaticText;

class HeightProfileWindow : public wxDialog {
public:
    // The route's two pieces: the profile runs from the first to the last.
    HeightProfileWindow(FrameServices* frame, uint32_t firstPiece, uint32_t lastPiece);

    // The frame's open profile window, or null.
    static HeightProfileWindow* Of(wxWindow* frame);

    // Shows the route between two other pieces.
    void ShowRoute(uint32_t firstPiece, uint32_t lastPiece);
    // After the main frame's update: any change of the content (or a new or opened layout)
    // finds the route again and redraws.
    void DocumentChanged(DocChange what);

    const Route& CurrentRoute() const { return route; }
    const HeightProfile& Profile() const { return profile; }
    // The chart as the plot shows it now (with a dot being dragged where the pointer holds it).
    ProfileChart Chart() const;
    wxWindow* PlotWindow() const;
    wxButton* EvenGradeButton() const { return evenGrade; }
    wxString ReadoutText() const;

    // The buttons' work: "" when done, else why not (already reported to the user).
    std::string RunEvenGrade();
    std::string ExportPicture(const std::string& path);
    void Print();

private:
    class PlotPanel;
    friend class PlotPanel;

    void Rebuild();
    void ShowSummary();
    void OnClose(wxCloseEvent& event);
    void ShowReadout(double x);
    void Drop(size_t dot, double y);

    FrameServices* frame = nullptr;
    uint32_t first = kNoId;
    uint32_t last = kNoId;
    TrackGraph graph;
    Route route;
    HeightProfile profile;
    PlotPanel* plot = nullptr;
    wxStaticText* readout = nullptr;
    wxButton* evenGrade = nullptr;
    wxButton* print = nullptr;
    wxButton* exportButton = nullptr;
    int listenerId = 0;
};
