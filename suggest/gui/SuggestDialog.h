// "New from Suggestion": asks for the board, the track system, the kinds of plan and the options,
// searches off the window's thread and shows the layouts found as a gallery of thumbnails, as
// they come; the one chosen is handed to the frame to open.
#pragma once

#include <wx/dialog.h>

#include <mutex>
#include <vector>

#include "base/gui/BackgroundSearch.h"
#include "suggest/SuggestLayouts.h"

class FrameServices;
class SuggestGallery;
class wxButton;
class wxCheckBox;
class wxChoice;
class wxGauge;
class wxSizer;
class wxSpinCtrl;
class wxStaticText;

class SuggestDialog : public wxDialog {
public:
    // Starts with the open layout's baseboard (its outline kept when it is not a plain
    // rectangle), the layout's track system and the owner's box, and searches at once.
    SuggestDialog(wxWindow* parent, const FrameServices& frame);
    ~SuggestDialog() override;

    // The options the controls show (without the callbacks).
    SuggestOptions Options() const;
    // Puts the board into the controls (an outline of 3 or more points is kept) and searches.
    void SetBoard(double widthMm, double depthMm, const std::vector<PointMm>& outline = {});
    // Searches again with the controls' options; a running search is stopped first.
    void StartSearch();
    bool Searching() const { return job.Running(); }
    // The layouts shown: as found while searching, best first once done.
    const std::vector<LayoutSuggestion>& Suggestions() const { return shown; }
    // Selects a thumbnail (-1: none), as a click does.
    void Choose(int index);
    // The selected suggestion once the search is over; null before, or with none selected.
    const LayoutSuggestion* Chosen() const;
    // The line under the gallery: the count found, or why there is none.
    wxString StatusText() const;
    SuggestGallery* Gallery() const { return gallery; }

private:
    // The parts of the window, from the top.
    wxSizer* BuildBoardBox(double widthMm, double depthMm);
    wxSizer* BuildTrackBox(const LayoutDocument& doc, const SuggestOptions& defaults);
    wxSizer* BuildOptionBox(const SuggestOptions& defaults);
    wxSizer* BuildSearchRow();
    void Poll();
    void Finish();
    void ShowStatus(const wxString& text);

    std::vector<PointMm> outline;  // the baseboard's, when it is no rectangle
    TrackBox box;
    std::vector<TrackSystem> systems;

    wxSpinCtrl* width = nullptr;
    wxSpinCtrl* depth = nullptr;
    wxCheckBox* keepOutline = nullptr;
    wxChoice* system = nullptr;
    std::vector<std::pair<SuggestKind, wxCheckBox*>> kinds;
    wxSpinCtrl* margin = nullptr;
    wxSpinCtrl* minRadius = nullptr;
    wxSpinCtrl* longestTrain = nullptr;
    wxCheckBox* onlyOwned = nullptr;
    SuggestGallery* gallery = nullptr;
    wxStaticText* status = nullptr;
    wxGauge* gauge = nullptr;
    wxButton* stop = nullptr;

    // What the search hands over; `mutex` guards `arrived`.
    std::mutex mutex;
    std::vector<LayoutSuggestion> arrived;
    std::vector<LayoutSuggestion> result;  // the worker's, read once `done`
    SuggestOptions searched;
    std::vector<LayoutSuggestion> shown;
    BackgroundSearch job;  // last: its thread ends before what it writes goes
};
