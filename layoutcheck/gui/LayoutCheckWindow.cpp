// The layout check window: options, the list of findings, ignoring, the report, and the rings on
// the canvas.
#include "layoutcheck/gui/LayoutCheckWindow.h"

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/intl.h>
#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include <cmath>
#include <fstream>

#include "base/NumberStyle.h"
#include "base/gui/FrameServices.h"
#include "base/gui/NumberSpinCtrl.h"
#include "canvas/ViewTransform.h"
#include "canvas/gui/CanvasPanel.h"
#include "canvas/gui/LayoutRenderer.h"
#include "layoutcheck/FindingsReport.h"
#include "layoutcheck/IgnoredFindings.h"
#include "trackgeometry/Units.h"

namespace {

wxColour Colour(Rgb c) { return wxColour(c.r, c.g, c.b); }

const char* UnitLabel(int units) {
    return units == kUnitsCm ? "cm" : units == kUnitsInch ? "in" : "mm";
}

// Enough decimals for a stored length to come back unchanged: 1 in mm, 2 in cm, 3 in inches.
int UnitDigits(int units) { return units == kUnitsCm ? 2 : units == kUnitsInch ? 3 : 1; }

// A list column at least `least` pixels wide, wider where its heading or one of `texts` needs it
// (the language decides which).
int ColumnWidth(wxWindow* list, int least, const wxString& heading,
                const std::vector<wxString>& texts) {
    int width = list->GetTextExtent(heading).x;
    for (const wxString& t : texts) width = std::max(width, list->GetTextExtent(t).x);
    return std::max(least, width + 24);  // the cell's margins and the heading's sort arrow
}

// A spin control at the toolkit's best size (narrower cuts off its "+" button).
wxSpinCtrlDouble* MakeSpin(wxWindow* parent, const wxString& name, double max, double step) {
    auto* spin = new NumberSpinCtrl(parent, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                    wxDefaultSize, wxSP_ARROW_KEYS, 0, max, 0, step, name);
    return spin;
}

}  // namespace

LayoutCheckWindow::LayoutCheckWindow(FrameServices* frame)
    : wxDialog(frame->Window(), wxID_ANY, _("Layout Check"), wxDefaultPosition, wxSize(820, 480),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      frame(frame) {
    wxSizer* grid = BuildOptionGrid();
    list = new RowList(this, wxID_ANY, wxDefaultSize, wxLC_SINGLE_SEL);
    const wxString severityHeading = _("Severity");
    list->AppendColumn(
        severityHeading, wxLIST_FORMAT_LEFT,
        ColumnWidth(list, 90, severityHeading,
                    {wxString::FromUTF8(FindingSeverityName(FindingSeverity::Error)),
                     wxString::FromUTF8(FindingSeverityName(FindingSeverity::Warning))}));
    list->AppendColumn(_("Finding"), wxLIST_FORMAT_LEFT, 700);

    wxSizer* buttons = BuildButtons();

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(grid, 0, wxALL, 6);
    sizer->Add(list, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 6);
    sizer->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 6);
    SetSizer(sizer);
    SetMinSize(wxSize(std::max(GetMinSize().x, sizer->GetMinSize().x + 12), 360));
    Layout();

    list->Bind(wxEVT_LIST_ITEM_SELECTED, &LayoutCheckWindow::OnItemSelected, this);
    list->Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent&) { UpdateButtons(); });
    for (const LengthField& f : lengths)
        f.spin->Bind(wxEVT_SPINCTRLDOUBLE, &LayoutCheckWindow::OnOptionChanged, this);
    recommendedGrade->Bind(wxEVT_SPINCTRLDOUBLE, &LayoutCheckWindow::OnOptionChanged, this);
    proposeStraight->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        options.minStraightMm = ProposedMinStraightMm(this->frame->Document());
        ShowOptionValues();
        Rerun();
    });
    SetEscapeId(wxID_CLOSE);
    Bind(wxEVT_CLOSE_WINDOW, &LayoutCheckWindow::OnClose, this);
    listenerId = frame->AddChangeListener([this](DocChange what) { DocumentChanged(what); });
    ShowOptionValues();
    Rerun();
}

// The options in two rows of four columns, each label above its control.
wxSizer* LayoutCheckWindow::BuildOptionGrid() {
    auto* grid = new wxFlexGridSizer(0, 4, 2, 12);
    std::vector<wxWindow*> labelRow, controlRow;
    auto flush = [&] {
        for (wxWindow* w : labelRow) grid->Add(w, 0, wxTOP, 6);
        for (wxWindow* w : controlRow) grid->Add(w, 0, wxEXPAND);
        labelRow.clear();
        controlRow.clear();
    };
    auto addLength = [&](const wxString& caption, const char* name, double CheckOptions::*value,
                         double maxMm) {
        LengthField field;
        field.caption = caption;
        field.value = value;
        field.label = new wxStaticText(this, wxID_ANY, caption);
        field.spin = MakeSpin(this, name, maxMm, 1);
        labelRow.push_back(field.label);
        controlRow.push_back(field.spin);
        lengths.push_back(field);
    };
    addLength(_("H0 clearance"), "clearanceH0", &CheckOptions::clearanceH0Mm, 500);
    addLength(_("N clearance"), "clearanceN", &CheckOptions::clearanceNMm, 500);
    addLength(_("Z clearance"), "clearanceZ", &CheckOptions::clearanceZMm, 500);
    labelRow.push_back(new wxStaticText(this, wxID_ANY, _("Recommended grade (%):")));
    recommendedGrade = MakeSpin(this, "recommendedGrade", 20, 0.5);
    recommendedGrade->SetDigits(1);
    controlRow.push_back(recommendedGrade);
    flush();
    addLength(_("Straight between curves"), "minStraight", &CheckOptions::minStraightMm, 5000);
    // The S-bend straight a user would choose: the longest vehicle that runs on the layout.
    proposeStraight = new wxButton(this, wxID_ANY, _("Longest vehicle"), wxDefaultPosition,
                                   wxDefaultSize, 0, wxDefaultValidator, "proposeStraight");
    proposeStraight->SetToolTip(
        _("Sets the straight an S-bend needs to the longest vehicle of the ready-made trains"));
    labelRow.push_back(new wxStaticText(this, wxID_ANY, wxEmptyString));
    controlRow.push_back(proposeStraight);
    addLength(_("Minimum radius"), "minRadius", &CheckOptions::minRadiusMm, 5000);
    addLength(_("Longest train"), "longestTrain", &CheckOptions::longestTrainMm, 20000);
    flush();

    return grid;
}

// Ignore and Show Ignored on the left, Save Report and Close on the right.
wxSizer* LayoutCheckWindow::BuildButtons() {
    ignore = new wxButton(this, wxID_ANY, _("Ignore"), wxDefaultPosition, wxDefaultSize, 0,
                          wxDefaultValidator, "ignore");
    showIgnored = new wxButton(this, wxID_ANY, _("Show Ignored"), wxDefaultPosition, wxDefaultSize,
                               0, wxDefaultValidator, "showIgnored");
    auto* save = new wxButton(this, wxID_SAVE, _("Save Report..."), wxDefaultPosition,
                              wxDefaultSize, 0, wxDefaultValidator, "saveReport");
    auto* close = new wxButton(this, wxID_CLOSE, _("Close"));
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(ignore, 0, wxRIGHT, 6);
    buttons->Add(showIgnored, 0, wxRIGHT, 6);
    buttons->AddStretchSpacer();
    buttons->Add(save, 0, wxRIGHT, 6);
    buttons->Add(close);
    ignore->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { IgnoreFinding(SelectedRow()); });
    showIgnored->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ShowIgnored(); });
    save->Bind(wxEVT_BUTTON, &LayoutCheckWindow::OnSaveReport, this);
    close->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Close(); });
    return buttons;
}

void LayoutCheckWindow::ShowOptionValues() {
    const int units = frame->Document().units;
    const double factor = UnitFactor(units);
    for (const LengthField& f : lengths) {
        if (units != shownUnits) {
            f.label->SetLabel(wxString::Format("%s (%s):", f.caption, UnitLabel(units)));
            f.spin->SetDigits(UnitDigits(units));
            const double maxMm = f.spin->GetMax() * (shownUnits < 0 ? 1 : UnitFactor(shownUnits));
            f.spin->SetRange(0, maxMm / factor);
            f.spin->SetIncrement(units == kUnitsMm ? 1 : units == kUnitsCm ? 0.1 : 0.05);
        }
        f.spin->SetValue(options.*f.value / factor);
    }
    recommendedGrade->SetValue(options.recommendedGradePercent);
    proposeStraight->SetLabel(wxString::Format(
        _("Longest vehicle (%s)"),
        wxString::FromUTF8(FormatLength(ProposedMinStraightMm(frame->Document()), units))));
    if (units != shownUnits) {
        // The digits change the toolkit's best width; narrower cuts off the "+" button.
        for (const LengthField& f : lengths) {
            f.spin->InvalidateBestSize();
            f.spin->SetMinSize(f.spin->GetBestSize());
        }
        recommendedGrade->SetMinSize(recommendedGrade->GetBestSize());
        Layout();
        Fit();
    }
    shownUnits = units;
}

void LayoutCheckWindow::SetOptions(const CheckOptions& o) {
    options = o;
    ShowOptionValues();
    Rerun();
}

void LayoutCheckWindow::Rerun() {
    findings =
        frame->CheckIgnores().Visible(CheckLayout(frame->Document(), options), &ignoredCount);
    std::vector<RowList::Row> rows;
    // A row rather than an empty list, so that nobody wonders whether the check ran.
    if (findings.empty()) rows.push_back({{wxString(), _("No findings")}, wxColour(), false});
    for (const LayoutFinding& f : findings)
        rows.push_back({{wxString::FromUTF8(FindingSeverityName(f.severity)),
                         wxString::FromUTF8(LocalDecimals(f.text))},
                        Colour(f.severity == FindingSeverity::Error ? kErrorRing : kWarningRing),
                        false});
    list->SetRows(std::move(rows));
    wxString title = wxString::FromUTF8(LayoutCheckTitle(findings));
    if (ignoredCount > 0) title += wxString::Format(_(" (%d ignored)"), ignoredCount);
    SetTitle(title);
    ShowRings();
    UpdateButtons();
}

void LayoutCheckWindow::ShowRings() {
    CanvasPanel* canvas = frame->Canvas();
    if (!canvas) return;
    std::vector<FindingRing> rings;
    rings.reserve(findings.size());
    for (const LayoutFinding& f : findings) {
        rings.push_back({f.x, f.y, f.severity == FindingSeverity::Error});
    }
    canvas->SetFindingRings(std::move(rings));
}

long LayoutCheckWindow::SelectedRow() const {
    if (!list) return -1;
    const long row = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    return row < static_cast<long>(findings.size()) ? row : -1;
}

void LayoutCheckWindow::UpdateButtons() {
    ignore->Enable(SelectedRow() >= 0);
    showIgnored->Enable(ignoredCount > 0);
}

void LayoutCheckWindow::DocumentChanged(DocChange what) {
    // The texts give places and lengths in the layout's units: a change of units reruns too.
    const bool unitsChanged = frame->Document().units != shownUnits;
    if (unitsChanged) ShowOptionValues();
    if (unitsChanged || HasAny(what, DocChange::Content | DocChange::File)) Rerun();
}

void LayoutCheckWindow::ShowFinding(long index) {
    if (index < 0 || index >= static_cast<long>(findings.size())) return;
    const LayoutFinding& f = findings[index];
    LayoutDocument& doc = frame->Document();
    SelectFindingPieces(doc, f);
    if (CanvasPanel* canvas = frame->Canvas()) {
        const FindingBox box = FindingExtent(doc, f);
        LayoutBounds bounds;
        bounds.Add(box.minX, box.minY);
        bounds.Add(box.maxX, box.maxY);
        const wxRect area = canvas->GetScreenRect();
        const wxRect cover = GetScreenRect();
        PixelRect free = UncoveredPart({area.x, area.y, area.width, area.height},
                                       {cover.x, cover.y, cover.width, cover.height});
        // A sliver beside the window is no place to show anything: then use the whole canvas.
        if (free.width < 200 || free.height < 200) free = {area.x, area.y, area.width, area.height};
        ViewTransform view = FitTransform(bounds, free.width, free.height);
        view.offsetX += free.x - area.x;
        view.offsetY += free.y - area.y;
        canvas->SetTransform(view);
    }
    frame->NotifyChanged(DocChange::Selection | DocChange::View);
}

void LayoutCheckWindow::IgnoreFinding(long index) {
    if (index < 0 || index >= static_cast<long>(findings.size())) return;
    frame->CheckIgnores().Ignore(findings[index]);
    Rerun();
}

void LayoutCheckWindow::ShowIgnored() {
    frame->CheckIgnores().Clear();
    Rerun();
}

std::string LayoutCheckWindow::SaveReport(const wxString& path) const {
    const std::string file = path.utf8_string();
    const LayoutDocument& doc = frame->Document();
    const std::string text =
        IsCsvReportName(file)
            ? FindingsReportCsv(findings, doc.units)
            : FindingsReportText(findings, frame->LayoutName().utf8_string(), ignoredCount);
    std::ofstream out(path.fn_str(), std::ios::binary);
    if (out) out << text;
    out.close();
    if (!out) return wxString::Format(_("Could not write the report to %s."), path).utf8_string();
    return "";
}

void LayoutCheckWindow::OnSaveReport(wxCommandEvent&) {
    const wxString name = frame->LayoutName().empty() ? _("Layout") : frame->LayoutName();
    const wxString file = wxString::Format(_("%s check.txt"), name);
    wxString path;
    if (askReportPath) {
        path = askReportPath(this, file);
    } else {
        wxFileDialog dialog(this, _("Save Check Report"), wxEmptyString, file,
                            _("Text report (*.txt)|*.txt|CSV report (*.csv)|*.csv"),
                            wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
        if (dialog.ShowModal() == wxID_OK) path = dialog.GetPath();
    }
    if (path.empty()) return;
    const std::string error = SaveReport(path);
    if (!error.empty())
        wxMessageBox(wxString::FromUTF8(error), _("Save Check Report"), wxOK | wxICON_ERROR, this);
}

void LayoutCheckWindow::OnItemSelected(wxListEvent& event) {
    ShowFinding(event.GetIndex());
    UpdateButtons();
}

void LayoutCheckWindow::OnOptionChanged(wxSpinDoubleEvent& event) {
    // The toolkit reports a value when a field loses the focus, even while the window closes.
    if (IsBeingDeleted() || frame->Window()->IsBeingDeleted()) return;
    // Only the edited field is read back, and only when its value differs from the stored one
    // as shown: a field shown rounded keeps its exact value until the user changes it.
    auto edited = [](wxSpinCtrlDouble* spin, double stored) {
        const int digits = static_cast<int>(spin->GetDigits());
        return std::fabs(spin->GetValue() - stored) > 0.5 * std::pow(10.0, -digits);
    };
    bool changed = false;
    if (event.GetEventObject() == recommendedGrade &&
        edited(recommendedGrade, options.recommendedGradePercent)) {
        options.recommendedGradePercent = recommendedGrade->GetValue();
        changed = true;
    }
    const double factor = UnitFactor(shownUnits);
    for (const LengthField& f : lengths) {
        if (event.GetEventObject() == f.spin && edited(f.spin, options.*f.value / factor)) {
            options.*f.value = f.spin->GetValue() * factor;
            changed = true;
        }
    }
    if (changed) Rerun();
}

void LayoutCheckWindow::OnClose(wxCloseEvent&) {
    frame->RemoveChangeListener(listenerId);
    if (CanvasPanel* canvas = frame->Canvas()) canvas->SetFindingRings({});
    frame->ForgetCheckWindow();
    Destroy();
}
