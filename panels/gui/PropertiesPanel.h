// The right panel: label entry, colours, the selection's properties, grade controls and the tally.
#pragma once

#include <wx/panel.h>

#include <cstdint>
#include <functional>

#include "panels/PieceTally.h"
#include "wiring/WiringParts.h"

class FrameServices;
class wxButton;
class wxChoice;
class wxSpinCtrl;
class wxSpinEvent;
class RowList;
class wxRadioButton;
class wxSpinCtrlDouble;
class wxStaticText;
class wxTextCtrl;
struct SelectionView;

class PropertiesPanel : public wxPanel {
public:
    // Window ids of the panel's controls.
    static constexpr int kIdHeight = 4100;
    static constexpr int kIdLevel = 4101;
    static constexpr int kIdStartGrade = 4102;
    static constexpr int kIdEndGrade = 4104;
    static constexpr int kIdRecalc = 4106;
    static constexpr int kIdLabelText = 4107;
    static constexpr int kIdLabelOk = 4108;
    static constexpr int kIdColour = 4109;
    static constexpr int kIdApply = 4110;
    static constexpr int kIdAddress = 4111;
    static constexpr int kIdDistrict = 4112;
    static constexpr int kIdDetector = 4113;
    // Columns of the tally list.
    static constexpr int kTallyPieceColumn = 0;
    static constexpr int kTallyNeededColumn = 1;
    static constexpr int kTallyOwnedColumn = 2;
    static constexpr int kTallyToBuyColumn = 3;

    // Hands a web address to the system browser; the result is only informative.
    using BrowserOpener = std::function<bool(const wxString& url)>;

    PropertiesPanel(wxWindow* parent, FrameServices* frame);

    // Rebuilds the selection section from the document's selection flags (the main frame's
    // update calls it after changes).
    void RefreshSelection();
    // The layout changed: the wiring analysis the selection's section is read from is made anew.
    void ForgetWiring() { wiringFinder.Forget(); }
    // Rebuilds the piece count list with its recommended accessories (likewise).
    void RefreshTally();
    // Opens the label field for a new label at a layout position (mm) and focuses it.
    void BeginLabel(double x, double y);

    // The Buy Track button: messages, then the store's cart of what the owner's box lacks in the
    // browser.
    void BuyTrack();
    // The "?" button: the modal "Buy Track - How it works" dialog.
    void ShowBuyTrackHelp();
    // Replaces the browser opener (tests capture the address instead of starting a browser).
    void SetBrowserOpener(BrowserOpener opener);
    // Opens a web address through the opener (Buy Track's, the help's and the splash's links).
    bool OpenAddress(const wxString& url) { return openBrowser(url); }
    // wxLaunchDefaultBrowser without any error report: a browser that cannot start stays silent.
    static bool OpenInDefaultBrowser(const wxString& url);

    // What the selection section shows; kNoId when none.
    uint32_t ShownPieceId() const { return shownPiece; }
    uint32_t ShownHelixId() const { return shownHelix; }
    uint32_t ShownSceneryId() const { return shownScenery; }
    bool LabelPending() const { return labelPending; }
    // The counts behind the last tally list, and how often the list was recounted.
    const PieceCounts& LastTally() const { return lastTally; }
    int TallyRecounts() const { return tallyRecounts; }

private:
    // The panel's parts, from the top.
    void BuildControls();
    wxSizer* BuildLabelBox();
    wxSizer* BuildColourBox();
    void AddPieceRows(wxSizer* top);
    wxSizer* BuildGradeBox();
    wxSizer* BuildAngleRow(wxWindow* parent);
    wxSizer* BuildGradeButtons(wxWindow* parent);
    void AddTally(wxSizer* top);
    wxSizer* BuildBuyRow();
    void ShowView(const SelectionView& view);
    void FillLevelChoice(int32_t selectedLevel);
    // Fits the long texts to the panel's width: the selection texts wrap, the tally's piece
    // column takes what the count column leaves.
    void FitToWidth();
    void OnTallyMotion(wxMouseEvent& event);

    void OnSetHeight(wxCommandEvent& event);
    void OnSetLevel(wxCommandEvent& event);
    void OnSetAddress(wxCommandEvent& event);
    void OnSetDistrict(wxCommandEvent& event);
    void OnSetDetector(wxSpinEvent& event);
    // The section's district and detector of the shown piece, or hidden.
    void ShowPieceWiring(uint32_t piece);
    void OnStartGrade(wxCommandEvent& event);
    void OnEndGrade(wxCommandEvent& event);
    void OnRecalc(wxCommandEvent& event);
    void OnAddLabel(wxCommandEvent& event);
    void OnApplyColour(wxCommandEvent& event);

    FrameServices* frame = nullptr;
    BrowserOpener openBrowser;

    PieceWiringFinder wiringFinder;
    uint32_t shownPiece = kNoId;
    uint32_t shownScenery = kNoId;
    uint32_t shownHelix = kNoId;
    bool labelPending = false;
    double labelX = 0;
    double labelY = 0;
    PieceCounts lastTally;
    // The selection texts and the grade hint as shown before wrapping.
    wxString headerText, infoText, warningText, gradeHintText;
    int tallyRecounts = 0;

    wxTextCtrl* labelText = nullptr;
    wxButton* labelOk = nullptr;
    wxChoice* colourChoice = nullptr;
    wxStaticText* header = nullptr;
    wxStaticText* info = nullptr;
    wxChoice* levelChoice = nullptr;
    wxStaticText* addressLabel = nullptr;
    wxTextCtrl* addressField = nullptr;
    wxStaticText* wiringText = nullptr;  // the piece's section
    wxStaticText* districtLabel = nullptr;
    wxChoice* districtChoice = nullptr;
    std::vector<uint32_t> districtIds;  // per choice entry; kNoId for "none"
    wxStaticText* detectorLabel = nullptr;
    wxSpinCtrl* detectorField = nullptr;  // 0: no detection section
    wxStaticText* heightLabel = nullptr;
    wxTextCtrl* heightField = nullptr;
    wxStaticText* gradeValue = nullptr;
    wxStaticText* gradeWarning = nullptr;
    wxStaticText* gradeHint = nullptr;
    wxRadioButton* gradeUp = nullptr;
    wxRadioButton* gradeDown = nullptr;
    wxSpinCtrlDouble* gradeSpin = nullptr;
    wxButton* startGrade = nullptr;
    wxButton* endGrade = nullptr;
    wxButton* recalc = nullptr;
    RowList* tallyList = nullptr;
    int tallyPieceWidth = 0;  // what the widest name in the tally's piece column needs
    wxButton* buyTrack = nullptr;
    wxButton* buyTrackHelp = nullptr;
    wxButton* myTrack = nullptr;

    wxDECLARE_EVENT_TABLE();
};
