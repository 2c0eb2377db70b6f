// The "Close Gap" window: the search runs on a worker thread behind a progress dialog with
// Cancel; the chains found are listed one per line, the selected one drawn as a ghost.
#pragma once

#include <wx/dialog.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/gui/BackgroundSearch.h"
#include "canvas/CanvasOverlays.h"
#include "gapclose/GapText.h"
#include "gapclose/SolveGap.h"
#include "layoutcheck/LayoutCheck.h"
#include "model/LayoutDocument.h"

class wxCheckBox;
class wxListBox;
class wxProgressDialog;
class wxSizer;
class wxSpinCtrl;
class wxSpinCtrlDouble;
class wxStaticText;

class CloseGapDialog : public wxDialog {
public:
    // Shows the pieces of the selected chain (none: an empty list) where they would lie.
    using GhostHandler = std::function<void(std::vector<GhostPiece>)>;

    // Starts the first search at once. `doc` is copied: the search never reads the live layout.
    CloseGapDialog(wxWindow* parent, const LayoutDocument& doc, const GapEnds& ends,
                   GhostHandler ghost);
    ~CloseGapDialog() override;

    // The chain of the selected line; null when no line is selected.
    const GapSolution* Chosen() const;
    // Selects a line (-1: none) as a click would, drawing its ghost.
    void Choose(int line);
    bool Searching() const { return job.Running(); }
    const GapSearchResult& Result() const { return result; }
    GapOptions Options() const;
    // Puts the options into the controls and searches again.
    void SetOptions(const GapOptions& options);
    wxListBox* List() const { return list; }
    // The pieces the owner has at hand (owned, less what the layout uses). The "Only pieces I
    // own" option is offered once some are known.
    void SetPiecesAtHand(std::map<std::string, int> atHand);
    wxString StatusText() const;
    wxStaticText* Status() const { return status; }
    // Moves the window beside `keepClear` (screen pixels: the ends and the room between them),
    // on the display that shows them.
    void MoveBeside(const wxRect& keepClear);

private:
    wxSizer* BuildOptions();
    void BindOptions();
    void StartSearch();
    void OnPoll();
    void Poll();
    void ShowResult();
    void CloseProgress();

    LayoutDocument copy;
    GapEnds ends;
    GhostHandler ghost;
    CheckOptions check;

    GapSearchResult pending;  // written by the worker until the search is done
    GapSearchResult result;
    std::chrono::steady_clock::time_point searchStart;
    wxProgressDialog* progress = nullptr;
    bool polling = false;

    wxSpinCtrlDouble* toleranceMm = nullptr;
    wxSpinCtrlDouble* toleranceDeg = nullptr;
    wxSpinCtrl* maxPieces = nullptr;
    wxCheckBox* useTurnouts = nullptr;
    wxCheckBox* allowCrossing = nullptr;
    wxCheckBox* onlyOwned = nullptr;
    std::map<std::string, int> piecesAtHand;
    double timeLimitS = GapOptions().timeLimitS;  // no control: set by SetOptions only
    wxListBox* list = nullptr;
    wxStaticText* status = nullptr;
    BackgroundSearch job;  // last: its thread ends before what it writes goes
};
