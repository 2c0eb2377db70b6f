// The layout check window: options, the list of findings, and the rings on the canvas.
#include "layoutcheck/gui/LayoutCheckWindow.h"

#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include "app/gui/MainFrame.h"
#include "canvas/ViewTransform.h"
#include "canvas/gui/CanvasPanel.h"
#include "canvas/gui/LayoutRenderer.h"

namespace {

wxColour Colour(Rgb c) { return wxColour(c.r, c.g, c.b); }

// A labelled option in one column of the grid: the label above, the control below.
wxSpinCtrlDouble* AddOption(wxWindow* parent, wxFlexGridSizer* grid, int column,
                            const wxString& label, const wxString& name, double max, double step,
                            double value) {
    grid->Insert(column, new wxStaticText(parent, wxID_ANY, label), 0, wxLEFT | wxRIGHT, 8);
    auto* spin = new wxSpinCtrlDouble(parent, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                      wxDefaultSize, wxSP_ARROW_KEYS, 0, max, value, step, name);
    spin->SetDigits(1);
    grid->Add(spin, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    return spin;
}

}  // namespace

LayoutCheckWindow::LayoutCheckWindow(MainFrame* frame)
    : wxDialog(frame, wxID_ANY, "Layout Check", wxDefaultPosition, wxSize(760, 420),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      frame(frame) {
    const CheckOptions defaults;
    auto* options = new wxFlexGridSizer(2, 3, 2, 0);
    clearanceH0 = AddOption(this, options, 0, "H0 clearance (mm):", "clearanceH0", 500, 1,
                            defaults.clearanceH0Mm);
    clearanceZ = AddOption(this, options, 1, "Z clearance (mm):", "clearanceZ", 500, 1,
                           defaults.clearanceZMm);
    recommendedGrade = AddOption(this, options, 2, "Recommended grade (%):", "recommendedGrade", 20,
                                 0.5, defaults.recommendedGradePercent);

    list = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                          wxLC_REPORT | wxLC_SINGLE_SEL);
    list->AppendColumn("Severity", wxLIST_FORMAT_LEFT, 90);
    list->AppendColumn("Finding", wxLIST_FORMAT_LEFT, 640);

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(options, 0, wxALL, 6);
    sizer->Add(list, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 6);
    SetSizer(sizer);
    Layout();

    list->Bind(wxEVT_LIST_ITEM_SELECTED, &LayoutCheckWindow::OnItemSelected, this);
    for (wxSpinCtrlDouble* spin : {clearanceH0, clearanceZ, recommendedGrade}) {
        spin->Bind(wxEVT_SPINCTRLDOUBLE, &LayoutCheckWindow::OnOptionChanged, this);
    }
    Bind(wxEVT_CLOSE_WINDOW, &LayoutCheckWindow::OnClose, this);
    listenerId = frame->AddChangeListener([this](DocChange what) { DocumentChanged(what); });
    Rerun();
}

CheckOptions LayoutCheckWindow::Options() const {
    CheckOptions o;
    o.clearanceH0Mm = clearanceH0->GetValue();
    o.clearanceZMm = clearanceZ->GetValue();
    o.recommendedGradePercent = recommendedGrade->GetValue();
    return o;
}

void LayoutCheckWindow::SetOptions(const CheckOptions& options) {
    clearanceH0->SetValue(options.clearanceH0Mm);
    clearanceZ->SetValue(options.clearanceZMm);
    recommendedGrade->SetValue(options.recommendedGradePercent);
    Rerun();
}

void LayoutCheckWindow::Rerun() {
    findings = CheckLayout(frame->Document(), Options());
    list->Freeze();
    list->DeleteAllItems();
    for (size_t i = 0; i < findings.size(); ++i) {
        const LayoutFinding& f = findings[i];
        const long row = list->InsertItem(static_cast<long>(i),
                                          wxString::FromUTF8(FindingSeverityName(f.severity)));
        list->SetItem(row, 1, wxString::FromUTF8(f.text));
        list->SetItemTextColour(
            row, Colour(f.severity == FindingSeverity::Error ? kErrorRing : kWarningRing));
    }
    list->Thaw();
    SetTitle(wxString::FromUTF8(LayoutCheckTitle(findings)));
    ShowRings();
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

void LayoutCheckWindow::DocumentChanged(DocChange what) {
    if (HasAny(what, DocChange::Content | DocChange::File)) Rerun();
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
        const wxSize size = canvas->GetClientSize();
        canvas->SetTransform(FitTransform(bounds, size.x, size.y));
    }
    frame->NotifyChanged(DocChange::Selection | DocChange::View);
}

void LayoutCheckWindow::OnItemSelected(wxListEvent& event) { ShowFinding(event.GetIndex()); }

void LayoutCheckWindow::OnOptionChanged(wxSpinDoubleEvent&) { Rerun(); }

void LayoutCheckWindow::OnClose(wxCloseEvent&) {
    frame->RemoveChangeListener(listenerId);
    if (CanvasPanel* canvas = frame->Canvas()) canvas->SetFindingRings({});
    frame->ForgetCheckWindow();
    Destroy();
}
