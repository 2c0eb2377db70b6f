// The "Close Gap" window: options, the search off the window's thread, the list and the ghost.
#include "gapclose/gui/CloseGapDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/display.h>
#include <wx/intl.h>
#include <wx/listbox.h>
#include <wx/progdlg.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include <cstdio>

#include "base/NumberStyle.h"
#include "base/gui/NumberSpinCtrl.h"
#include "base/gui/SetSizerAndLeastSize.h"
#include "catalog/TrackCatalog.h"
#include "gapclose/PlaceBeside.h"

namespace {

// How often the window looks at the search, and how long a search may run before the progress
// dialog appears (a quick one then never flickers it up).
constexpr int kPollMs = 40;
constexpr double kProgressAfterS = 0.25;

wxString EndText(const LayoutDocument& doc, GapEnd end) {
    const PlacedPiece* p = doc.FindPiece(end.piece);
    return wxString::Format(_("connector %d of %s"), end.connector,
                            p ? wxString::FromUTF8(p->article) : wxString("?"));
}

}  // namespace

CloseGapDialog::CloseGapDialog(wxWindow* parent, const LayoutDocument& doc, const GapEnds& ends,
                               GhostHandler ghost)
    : wxDialog(parent, wxID_ANY, wxGetTranslation(kCloseGapTitle), wxDefaultPosition,
               wxSize(720, 460), wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      ends(ends),
      ghost(std::move(ghost)),
      job(this, kPollMs, [this] { OnPoll(); }) {
    // Only what the search reads: pieces and the next id; never the undo history.
    copy.pieces = doc.pieces;
    copy.nextId = doc.nextId;

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(
        new wxStaticText(this, wxID_ANY,
                         wxString::Format(_("From %s to %s, %.1f mm apart."), EndText(doc, ends.a),
                                          EndText(doc, ends.b), ends.distanceMm)),
        0, wxALL, 8);
    sizer->Add(BuildOptions(), 0, wxLEFT | wxRIGHT, 8);

    list = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, nullptr, wxLB_SINGLE);
    sizer->Add(list, 1, wxEXPAND | wxALL, 8);
    status = new wxStaticText(this, wxID_ANY, wxEmptyString);
    sizer->Add(status, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_OK, _("OK")), 0, wxRIGHT, 4);
    buttons->Add(new wxButton(this, wxID_CANCEL, _("Cancel")), 0);
    sizer->Add(buttons, 0, wxEXPAND | wxALL, 8);
    SetSizerAndLeastSize(*this, sizer);

    list->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) { Choose(list->GetSelection()); });
    list->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) {
        if (Chosen()) EndModal(wxID_OK);
    });
    BindOptions();
    CentreOnParent();
    StartSearch();
}

// The tolerances, the most pieces and the kinds of chain: captions over the first three.
wxSizer* CloseGapDialog::BuildOptions() {
    const GapOptions defaults;
    auto* options = new wxFlexGridSizer(2, 6, 2, 8);
    options->Add(new wxStaticText(this, wxID_ANY, _("Tolerance (mm):")));
    options->Add(new wxStaticText(
        this, wxID_ANY,
        // The key holds a degree sign: convert it from UTF-8 rather than the C library's locale.
        wxGetTranslation(wxString::FromUTF8(wxTRANSLATE("Tolerance (\u00b0):")))));
    options->Add(new wxStaticText(this, wxID_ANY, _("Most pieces:")));
    options->AddSpacer(0);
    options->AddSpacer(0);
    options->AddSpacer(0);
    toleranceMm =
        new NumberSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                           wxSP_ARROW_KEYS, 0.05, 5, defaults.toleranceMm, 0.05, "toleranceMm");
    toleranceDeg =
        new NumberSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                           wxSP_ARROW_KEYS, 0.05, 5, defaults.toleranceDeg, 0.05, "toleranceDeg");
    toleranceMm->SetDigits(2);
    toleranceDeg->SetDigits(2);
    maxPieces = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                               wxSP_ARROW_KEYS, 1, 16, defaults.maxPieces, "maxPieces");
    useTurnouts = new wxCheckBox(this, wxID_ANY, _("Use turnouts"));
    allowCrossing = new wxCheckBox(this, wxID_ANY, _("Allow crossing track"));
    onlyOwned = new wxCheckBox(this, wxID_ANY, _("Only pieces I own"));
    onlyOwned->Enable(false);
    options->Add(toleranceMm, 0, wxEXPAND);
    options->Add(toleranceDeg, 0, wxEXPAND);
    options->Add(maxPieces, 0, wxEXPAND);
    options->Add(useTurnouts, 0, wxALIGN_CENTER_VERTICAL);
    options->Add(allowCrossing, 0, wxALIGN_CENTER_VERTICAL);
    options->Add(onlyOwned, 0, wxALIGN_CENTER_VERTICAL);
    return options;
}

// Each change of an option searches again.
void CloseGapDialog::BindOptions() {
    auto again = [this](wxCommandEvent&) { StartSearch(); };
    toleranceMm->Bind(wxEVT_SPINCTRLDOUBLE, again);
    toleranceDeg->Bind(wxEVT_SPINCTRLDOUBLE, again);
    maxPieces->Bind(wxEVT_SPINCTRL, again);
    useTurnouts->Bind(wxEVT_CHECKBOX, again);
    allowCrossing->Bind(wxEVT_CHECKBOX, again);
    onlyOwned->Bind(wxEVT_CHECKBOX, again);
}

CloseGapDialog::~CloseGapDialog() {
    job.Stop();
    CloseProgress();
}

GapOptions CloseGapDialog::Options() const {
    GapOptions o;
    o.toleranceMm = toleranceMm->GetValue();
    o.toleranceDeg = toleranceDeg->GetValue();
    o.maxPieces = maxPieces->GetValue();
    o.useTurnouts = useTurnouts->GetValue();
    o.allowCrossing = allowCrossing->GetValue();
    o.limitToStock = onlyOwned->GetValue();
    o.timeLimitS = timeLimitS;
    if (o.limitToStock) o.stock = piecesAtHand;
    return o;
}

void CloseGapDialog::SetPiecesAtHand(std::map<std::string, int> atHand) {
    piecesAtHand = std::move(atHand);
    onlyOwned->Enable(!piecesAtHand.empty());
    if (piecesAtHand.empty() && onlyOwned->GetValue()) {
        onlyOwned->SetValue(false);
        StartSearch();
    }
}

void CloseGapDialog::SetOptions(const GapOptions& options) {
    toleranceMm->SetValue(options.toleranceMm);
    toleranceDeg->SetValue(options.toleranceDeg);
    maxPieces->SetValue(options.maxPieces);
    useTurnouts->SetValue(options.useTurnouts);
    allowCrossing->SetValue(options.allowCrossing);
    timeLimitS = options.timeLimitS;
    if (options.limitToStock) {
        piecesAtHand = options.stock;
        onlyOwned->Enable(!piecesAtHand.empty());
    }
    onlyOwned->SetValue(options.limitToStock && onlyOwned->IsEnabled());
    StartSearch();
}

const GapSolution* CloseGapDialog::Chosen() const {
    const int line = list->GetSelection();
    if (Searching() || line == wxNOT_FOUND || line >= static_cast<int>(result.solutions.size()))
        return nullptr;
    return &result.solutions[line];
}

void CloseGapDialog::Choose(int line) {
    if (line >= 0 && line < static_cast<int>(list->GetCount())) {
        list->SetSelection(line);
    } else {
        list->SetSelection(wxNOT_FOUND);
    }
    const GapSolution* s = Chosen();
    FindWindow(wxID_OK)->Enable(s != nullptr);
    std::vector<GhostPiece> pieces;
    if (s) {
        for (const PlacedPiece& p : LayGapChain(copy, ends.a, s->steps))
            pieces.push_back({p.article, p.x, p.y, p.heading});
    }
    if (ghost) ghost(std::move(pieces));
}

wxString CloseGapDialog::StatusText() const { return status->GetLabel(); }

void CloseGapDialog::MoveBeside(const wxRect& keepClear) {
    int display = wxDisplay::GetFromPoint(keepClear.GetTopLeft() + keepClear.GetSize() / 2);
    if (display == wxNOT_FOUND) display = 0;
    const wxRect area = wxDisplay(static_cast<unsigned>(display)).GetClientArea();
    const ScreenBox at =
        PlaceBeside({keepClear.x, keepClear.y, keepClear.width, keepClear.height}, GetSize().x,
                    GetSize().y, {area.x, area.y, area.width, area.height});
    Move(at.x, at.y);
}

void CloseGapDialog::StartSearch() {
    job.Stop();
    list->Clear();
    Choose(-1);
    status->SetLabel(_("Searching the catalog..."));
    GapOptions options = Options();
    options.cancel = job.CancelFlag();
    options.progress = [this](double share) { job.SetProgress(share); };
    searchStart = std::chrono::steady_clock::now();
    job.Start([this, options]() { pending = SearchGap(copy, ends.a, ends.b, options); });
}

void CloseGapDialog::CloseProgress() {
    if (!progress) return;
    delete progress;
    progress = nullptr;
}

void CloseGapDialog::OnPoll() {
    // The progress dialog's Update dispatches events, this timer's among them.
    if (polling) return;
    polling = true;
    Poll();
    polling = false;
}

void CloseGapDialog::Poll() {
    if (job.Done()) {
        job.Finish();
        CloseProgress();
        result = std::move(pending);
        pending = {};
        ShowResult();
        return;
    }
    const double running =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - searchStart).count();
    if (!progress && running >= kProgressAfterS) {
        progress = new wxProgressDialog(wxGetTranslation(kCloseGapTitle),
                                        _("Searching the catalog for a chain..."), 1000, this,
                                        wxPD_CAN_ABORT | wxPD_ELAPSED_TIME | wxPD_SMOOTH);
    }
    // Cancel on the progress dialog stops the search; what it found so far is still listed.
    if (progress && !progress->Update(job.Permille())) job.Cancel();
}

void CloseGapDialog::ShowResult() {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - searchStart).count();
    for (const GapSolution& s : result.solutions)
        list->Append(wxString::FromUTF8(LocalDecimals(GapSolutionLine(s, check))));
    const std::string text = result.solutions.empty()
                                 ? GapNoSolutionText(result, Options())
                                 : GapSearchStatusText(result, seconds);
    // A long message (the time limit's, with the nearest chain) wraps onto further lines, and
    // the list gives up the room they need.
    status->SetLabel(wxString::FromUTF8(LocalDecimals(text)));
    status->Wrap(GetClientSize().x - 16);
    status->InvalidateBestSize();
    status->SetMinSize(status->GetBestSize());
    Layout();
    Choose(result.solutions.empty() ? -1 : 0);
}
