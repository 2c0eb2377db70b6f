// The modeless "Track Diagram" window (Layout > Track Diagram...): the layout drawn as a control
// station's track board, a control panel for the running trains: a click on a turnout switches
// it, occupied track and contacts light up, a click elsewhere selects the cell's pieces on the
// plan; printing and PNG export.
#pragma once

#include <wx/dialog.h>
#include <wx/timer.h>

#include <cstdint>
#include <set>
#include <vector>

#include "control/BuildTrackDiagram.h"
#include "model/DocumentChange.h"
#include "network/TrackGraph.h"

class FrameServices;
class wxDC;
class wxScrolledWindow;

class TrackDiagramWindow : public wxDialog {
public:
    static constexpr int kIdPrint = 4320;
    static constexpr int kIdPng = 4321;
    static constexpr int kCellPx = 28;

    explicit TrackDiagramWindow(FrameServices* frame);
    // The open window, or null.
    static TrackDiagramWindow* Open();

    const TrackDiagram& Diagram() const { return diagram; }
    // The drawing, in cells of kCellPx.
    wxScrolledWindow* Board() const { return board; }
    // A click on a cell: a turnout switches while the Trains window is open; any other cell
    // (or a turnout without trains) selects its pieces on the plan.
    void ClickCell(int x, int y);
    // Draws the diagram with its top left corner at the origin, `cellPx` a cell.
    void Draw(wxDC& dc, double cellPx) const;

private:
    void Rebuild();
    void DocumentChanged(DocChange what);
    void OnPrint(wxCommandEvent& event);
    void OnPng(wxCommandEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnClose(wxCloseEvent& event);
    // The pieces the trains stand on now.
    std::set<uint32_t> Occupied() const;
    void DrawCell(wxDC& dc, const DiagramCell& cell, double cellPx,
                  const std::set<uint32_t>& occupied) const;
    // Which of a switch's tracks is its set route (the first without trains).
    size_t SetTrack(const DiagramCell& cell) const;

    FrameServices* frame;
    wxScrolledWindow* board = nullptr;
    TrackDiagram diagram;
    TrackGraph graph;
    std::vector<DetectionSection> sections;
    wxTimer timer;
    uint64_t shownSwitches = ~uint64_t{0};
    int listenerId = 0;
};

// Adds Layout > Track Diagram... after Layout > Addresses... and binds it.
void BindTrackDiagramCommand(FrameServices& frame);
