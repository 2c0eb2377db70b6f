// "New from Suggestion": the board and options, the search on a worker thread with the results
// shown as they arrive, the progress bar and Cancel, and the chosen layout.
#include "suggest/gui/SuggestDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "base/gui/FrameServices.h"
#include "base/gui/SetSizerAndLeastSize.h"
#include "catalog/TrackCatalog.h"
#include "suggest/gui/SuggestGallery.h"

namespace {

constexpr int kPollMs = 50;

// Whether the outline is an upright rectangle, which the width and depth say all about.
bool IsRectangle(const std::vector<PointMm>& outline) {
    if (outline.size() != 4) return false;
    for (size_t i = 0; i < 4; ++i) {
        const PointMm a = outline[i], b = outline[(i + 1) % 4];
        if (std::fabs(a.x - b.x) > 0.01 && std::fabs(a.y - b.y) > 0.01) return false;
    }
    return true;
}

// The system most of the layout's pieces belong to, among those suggestions are made for.
TrackSystem LayoutSystem(const LayoutDocument& doc, const std::vector<TrackSystem>& offered) {
    std::map<TrackSystem, int> counts;
    for (const PlacedPiece& p : doc.pieces)
        if (const PieceDef* d = TrackCatalog::Instance().Find(p.article)) ++counts[d->system];
    TrackSystem best = offered.front();
    int most = 0;
    for (TrackSystem s : offered)
        if (counts[s] > most) most = counts[s], best = s;
    return best;
}

wxSpinCtrl* Spin(wxWindow* parent, int low, int high, int value, const wxString& name) {
    return new wxSpinCtrl(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                          wxSP_ARROW_KEYS, low, high, value, name);
}

}  // namespace

SuggestDialog::SuggestDialog(wxWindow* parent, const FrameServices& frame)
    : wxDialog(parent, wxID_ANY, _("New from Suggestion"), wxDefaultPosition, wxSize(1120, 820),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      box(frame.OwnedTrack()),
      systems(SuggestSystems()),
      job(this, kPollMs, [this] { Poll(); }) {
    const LayoutDocument& doc = frame.Document();
    const SuggestOptions defaults;
    double w = defaults.widthMm, d = defaults.depthMm;
    if (doc.baseboard.size() >= 3) {
        LayoutBounds b;
        for (const PointMm& p : doc.baseboard) b.Add(p.x, p.y);
        w = b.maxX - b.minX;
        d = b.maxY - b.minY;
        if (!IsRectangle(doc.baseboard)) outline = doc.baseboard;
    }

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(BuildBoardBox(w, d), 0, wxEXPAND | wxRIGHT, 8);
    top->Add(BuildTrackBox(doc, defaults), 0, wxEXPAND | wxRIGHT, 8);
    top->Add(BuildOptionBox(defaults), 0, wxEXPAND);
    sizer->Add(top, 0, wxALL, 8);
    sizer->Add(BuildSearchRow(), 0, wxEXPAND | wxLEFT | wxRIGHT, 8);

    gallery = new SuggestGallery(this);
    sizer->Add(gallery, 1, wxEXPAND | wxALL, 8);
    status = new wxStaticText(this, wxID_ANY, wxEmptyString);
    sizer->Add(status, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    auto* open = new wxButton(this, wxID_OK, _("&Open"));
    buttons->Add(open, 0, wxRIGHT, 4);
    buttons->Add(new wxButton(this, wxID_CANCEL, _("Close")), 0);
    sizer->Add(buttons, 0, wxEXPAND | wxALL, 8);
    SetSizerAndLeastSize(*this, sizer);
    open->Enable(false);

    stop->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { job.Cancel(); });
    open->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (Chosen()) EndModal(wxID_OK);
    });
    gallery->onSelect = [this, open](int) { open->Enable(Chosen() != nullptr); };
    gallery->onActivate = [this](int) {
        if (Chosen()) EndModal(wxID_OK);
    };
    // A board typed anew is a rectangle.
    auto typed = [this](wxCommandEvent&) { keepOutline->SetValue(false); };
    width->Bind(wxEVT_SPINCTRL, typed);
    depth->Bind(wxEVT_SPINCTRL, typed);
    CentreOnParent();
    StartSearch();
}

wxSizer* SuggestDialog::BuildBoardBox(double widthMm, double depthMm) {
    auto* boardBox = new wxStaticBoxSizer(wxVERTICAL, this, _("Board"));
    auto* boardGrid = new wxFlexGridSizer(2, 4, 8);
    boardGrid->Add(new wxStaticText(boardBox->GetStaticBox(), wxID_ANY, _("Width (mm):")), 0,
                   wxALIGN_CENTER_VERTICAL);
    width = Spin(boardBox->GetStaticBox(), 200, 20000, int(std::lround(widthMm)), "width");
    boardGrid->Add(width);
    boardGrid->Add(new wxStaticText(boardBox->GetStaticBox(), wxID_ANY, _("Depth (mm):")), 0,
                   wxALIGN_CENTER_VERTICAL);
    depth = Spin(boardBox->GetStaticBox(), 200, 20000, int(std::lround(depthMm)), "depth");
    boardGrid->Add(depth);
    boardBox->Add(boardGrid, 0, wxALL, 4);
    keepOutline =
        new wxCheckBox(boardBox->GetStaticBox(), wxID_ANY, _("Keep the baseboard's outline"));
    keepOutline->SetValue(!outline.empty());
    keepOutline->Enable(!outline.empty());
    boardBox->Add(keepOutline, 0, wxALL, 4);
    return boardBox;
}

// The track system and the kinds of plan.
wxSizer* SuggestDialog::BuildTrackBox(const LayoutDocument& doc, const SuggestOptions& defaults) {
    auto* trackBox = new wxStaticBoxSizer(wxVERTICAL, this, _("Track"));
    system = new wxChoice(trackBox->GetStaticBox(), wxID_ANY);
    for (TrackSystem s : systems)
        system->Append(wxGetTranslation(wxString::FromUTF8(TrackSystemLongName(s))));
    const TrackSystem chosen = LayoutSystem(doc, systems);
    system->SetSelection(int(std::find(systems.begin(), systems.end(), chosen) - systems.begin()));
    trackBox->Add(system, 0, wxEXPAND | wxALL, 4);
    auto* kindGrid = new wxGridSizer(2, 2, 12);
    for (SuggestKind k : defaults.kinds) {
        auto* check = new wxCheckBox(trackBox->GetStaticBox(), wxID_ANY,
                                     wxGetTranslation(wxString::FromUTF8(SuggestKindName(k))));
        check->SetValue(true);
        kinds.emplace_back(k, check);
        kindGrid->Add(check);
    }
    trackBox->Add(kindGrid, 0, wxALL, 4);
    return trackBox;
}

wxSizer* SuggestDialog::BuildOptionBox(const SuggestOptions& defaults) {
    auto* optionBox = new wxStaticBoxSizer(wxVERTICAL, this, _("Options"));
    wxWindow* ob = optionBox->GetStaticBox();
    auto* optionGrid = new wxFlexGridSizer(2, 4, 8);
    optionGrid->Add(new wxStaticText(ob, wxID_ANY, _("Margin (mm):")), 0, wxALIGN_CENTER_VERTICAL);
    margin = Spin(ob, 0, 300, int(defaults.marginMm), "margin");
    optionGrid->Add(margin);
    optionGrid->Add(new wxStaticText(ob, wxID_ANY, _("Smallest radius (mm):")), 0,
                    wxALIGN_CENTER_VERTICAL);
    minRadius = Spin(ob, 0, 2000, 0, "minRadius");
    minRadius->SetToolTip(_("0: any radius"));
    optionGrid->Add(minRadius);
    optionGrid->Add(new wxStaticText(ob, wxID_ANY, _("Longest train (mm):")), 0,
                    wxALIGN_CENTER_VERTICAL);
    longestTrain = Spin(ob, 0, 5000, 0, "longestTrain");
    longestTrain->SetToolTip(_("Station tracks at least this long; 0: any"));
    optionGrid->Add(longestTrain);
    optionBox->Add(optionGrid, 0, wxALL, 4);
    onlyOwned = new wxCheckBox(ob, wxID_ANY, _("Only pieces I own"));
    // Offered once the box holds something.
    onlyOwned->Enable(!box.counts.empty());
    optionBox->Add(onlyOwned, 0, wxALL, 4);
    return optionBox;
}

// Find Layouts, the progress of the search and its Cancel.
wxSizer* SuggestDialog::BuildSearchRow() {
    auto* searchRow = new wxBoxSizer(wxHORIZONTAL);
    auto* search = new wxButton(this, wxID_ANY, _("&Find Layouts"));
    search->SetDefault();  // Return in a field searches again
    searchRow->Add(search, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    gauge = new wxGauge(this, wxID_ANY, 1000);
    searchRow->Add(gauge, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    stop = new wxButton(this, wxID_ANY, _("Cancel Search"));
    searchRow->Add(stop, 0, wxALIGN_CENTER_VERTICAL);
    search->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { StartSearch(); });
    return searchRow;
}

SuggestDialog::~SuggestDialog() { job.Stop(); }

SuggestOptions SuggestDialog::Options() const {
    SuggestOptions o;
    o.system = systems[std::max(0, system->GetSelection())];
    o.widthMm = width->GetValue();
    o.depthMm = depth->GetValue();
    if (keepOutline->GetValue()) o.board = outline;
    o.marginMm = margin->GetValue();
    o.kinds.clear();
    for (const auto& [kind, check] : kinds)
        if (check->GetValue()) o.kinds.push_back(kind);
    o.minRadiusMm = minRadius->GetValue();
    o.longestTrainMm = longestTrain->GetValue();
    o.onlyOwned = onlyOwned->IsEnabled() && onlyOwned->GetValue();
    return o;
}

void SuggestDialog::SetBoard(double widthMm, double depthMm, const std::vector<PointMm>& board) {
    width->SetValue(int(std::lround(widthMm)));
    depth->SetValue(int(std::lround(depthMm)));
    outline = board.size() >= 3 ? board : std::vector<PointMm>{};
    keepOutline->SetValue(!outline.empty());
    keepOutline->Enable(!outline.empty());
    StartSearch();
}

void SuggestDialog::StartSearch() {
    job.Stop();
    shown.clear();
    gallery->Clear();
    gallery->SetMessage(wxEmptyString);
    ShowStatus(_("Looking for layouts that fit the board..."));
    {
        std::lock_guard<std::mutex> lock(mutex);
        arrived.clear();
    }
    searched = Options();
    SuggestOptions o = searched;
    o.cancel = job.CancelFlag();
    o.found = [this](const LayoutSuggestion& s) {
        std::lock_guard<std::mutex> lock(mutex);
        arrived.push_back(s);
    };
    o.progress = [this](double share) { job.SetProgress(share); };
    gauge->SetValue(0);
    stop->Enable(true);
    job.Start([this, o]() { result = SuggestLayouts(o, &box); });
}

void SuggestDialog::Poll() {
    std::vector<LayoutSuggestion> fresh;
    {
        std::lock_guard<std::mutex> lock(mutex);
        fresh.swap(arrived);
    }
    for (LayoutSuggestion& s : fresh) {
        gallery->Add(s);
        shown.push_back(std::move(s));
    }
    gauge->SetValue(job.Permille());
    if (!shown.empty())
        ShowStatus(wxString::Format(
            wxPLURAL("%d layout found so far...", "%d layouts found so far...", int(shown.size())),
            int(shown.size())));
    if (job.Done()) Finish();
}

void SuggestDialog::Finish() {
    job.Finish();
    stop->Enable(false);
    gauge->SetValue(1000);
    // Best first, in place of the order of their finding.
    shown = std::move(result);
    result.clear();
    gallery->Clear();
    for (const LayoutSuggestion& s : shown) gallery->Add(s);
    if (shown.empty()) {
        // Too small a board says what would do; a board large enough that still gives nothing
        // was ruled out by the options.
        const PointMm least = SmallestSuggestBoard(searched);
        LayoutBounds b;
        if (searched.board.size() >= 3) {
            for (const PointMm& p : searched.board) b.Add(p.x, p.y);
        } else {
            b.Add(0, 0);
            b.Add(searched.widthMm, searched.depthMm);
        }
        const double longSide = std::max(b.maxX - b.minX, b.maxY - b.minY);
        const double shortSide = std::min(b.maxX - b.minX, b.maxY - b.minY);
        const bool tooSmall = least.x > 0 && (longSide < least.x || shortSide < least.y);
        const wxString why = searched.kinds.empty() ? _("Choose at least one kind of layout.")
                             : tooSmall ? wxString::FromUTF8(SmallestBoardSentence(searched))
                                        : _("No layout of the kinds chosen fits these options.");
        gallery->SetMessage(why);
        ShowStatus(why);
        return;
    }
    gallery->Select(0);
    ShowStatus(
        job.Cancelled()
            ? wxString::Format(wxPLURAL("Search cancelled: %d layout found.",
                                        "Search cancelled: %d layouts found.", int(shown.size())),
                               int(shown.size()))
            : wxString::Format(wxPLURAL("%d layout found.", "%d layouts found.", int(shown.size())),
                               int(shown.size())));
}

void SuggestDialog::Choose(int index) { gallery->Select(index); }

const LayoutSuggestion* SuggestDialog::Chosen() const {
    const int i = gallery->Selection();
    if (Searching() || i < 0 || i >= int(shown.size())) return nullptr;
    return &shown[i];
}

wxString SuggestDialog::StatusText() const { return status->GetLabel(); }

void SuggestDialog::ShowStatus(const wxString& text) { status->SetLabel(text); }
