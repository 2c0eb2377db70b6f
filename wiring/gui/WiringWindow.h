// The modeless Wiring window (Layout > Wiring...): the booster districts with their sections,
// the sections, the findings of the electrical check, the proposals and their options, and the
// wire list; and the wiring view of the canvas (View > Wiring and its toolbar toggle).
#pragma once

#include <wx/dialog.h>

#include <vector>

#include "base/gui/RowList.h"
#include "model/DocumentChange.h"
#include "network/TrackGraph.h"
#include "wiring/WiringAnalysis.h"

class FrameServices;
class wxButton;
class wxColourPickerCtrl;
class wxColourPickerEvent;
class wxListEvent;
class wxSpinCtrlDouble;
class wxSizer;
class wxSpinDoubleEvent;
class wxTextCtrl;

// Command ids of Layout > Wiring... and View > Wiring.
enum WiringCommandId : int {
    kCmdWiring = 2035,
    kCmdWiringView = 2036,
};

// The options the window and the view check the plan with, kept while the program runs.
WiringOptions& CurrentWiringOptions();

class WiringWindow : public wxDialog {
public:
    static constexpr int kIdProposeGaps = 4400;
    static constexpr int kIdProposeFeeders = 4401;
    static constexpr int kIdProposeBlocks = 4402;
    static constexpr int kIdExport = 4403;
    static constexpr int kIdAddDistrict = 4404;
    static constexpr int kIdRemoveDistrict = 4405;
    static constexpr int kIdPrint = 4406;

    explicit WiringWindow(FrameServices* frame);
    // The open window, or null.
    static WiringWindow* Open();

    // Checks the plan again and fills the three lists.
    void Rerun();
    // Each adds what its proposal finds as one undo step; false when there was nothing to add.
    bool ProposeGaps();
    bool ProposeFeeders();
    bool ProposeBlocks();
    // Selects the pieces of finding `index` and frames them beside the window.
    void ShowFinding(long index);
    // Prints the plan in its wiring colours and the tables of districts, sections and feeders
    // through the frame's print job runner.
    void Print();
    // Writes the wire list to a file the export asker names; returns an error text (empty on
    // success or when cancelled).
    std::string ExportWireList();

    const WiringAnalysis& Analysis() const { return analysis; }
    RowList* Districts() const { return districts; }
    RowList* Sections() const { return sections; }
    RowList* Findings() const { return findings; }
    // Shows district row `row` in the fields below the list.
    void SelectDistrict(long row);
    // Sets the fields of the selected district as the user would and applies them.
    void EditDistrict(const wxString& name, uint32_t colour, double maxCurrentA);

private:
    // The parts of the window, from the top.
    wxSizer* BuildOptions();
    wxSizer* BuildDistricts();
    wxSizer* BuildSections();
    wxSizer* BuildFindings();
    void BindButtons();
    void BindControls();
    void DocumentChanged(DocChange what);
    void ShowDistrictFields();
    void ApplyDistrictFields();
    void OnOption(wxSpinDoubleEvent& event);
    void OnClose(wxCloseEvent& event);

    FrameServices* frame;
    int listenerId = 0;
    TrackGraph graph;
    WiringAnalysis analysis;
    uint32_t selectedDistrict = 0xFFFFFFFFu;
    bool showing = false;  // fields being filled, not edited
    wxSpinCtrlDouble* spacingH0 = nullptr;
    wxSpinCtrlDouble* spacingZ = nullptr;
    wxSpinCtrlDouble* longestTrain = nullptr;
    RowList* districts = nullptr;
    RowList* sections = nullptr;
    RowList* findings = nullptr;
    wxTextCtrl* districtName = nullptr;
    wxColourPickerCtrl* districtColour = nullptr;
    wxSpinCtrlDouble* districtCurrent = nullptr;
    wxButton* removeDistrict = nullptr;
};

// The wiring view: on, the canvas draws the plan over the layout, and a click on a joint steps
// its gap on, Shift + click on a piece adds a feeder (each one undo step).
bool WiringViewShown();
void ShowWiringView(FrameServices& frame, bool shown);

// Adds Layout > Wiring..., View > Wiring and the toolbar's Wiring toggle, and binds them.
void BindWiringCommands(FrameServices& frame);
