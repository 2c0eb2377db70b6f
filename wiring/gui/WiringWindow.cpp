// The Wiring window and the wiring view.
#include "wiring/gui/WiringWindow.h"

#include <wx/button.h>
#include <wx/clrpicker.h>
#include <wx/intl.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/print.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include <algorithm>

#include "app/CommandIds.h"
#include "app/gui/MainFrameDialogs.h"
#include "base/gui/FrameServices.h"
#include "base/gui/NumberSpinCtrl.h"
#include "base/gui/TextPrintout.h"
#include "canvas/Interaction.h"
#include "canvas/ViewTransform.h"
#include "canvas/gui/CanvasPanel.h"
#include "canvas/gui/LayoutRenderer.h"
#include "catalog/TrackCatalog.h"
#include "layoutcheck/LayoutCheck.h"
#include "persistence/AtomicFile.h"
#include "trackgeometry/Units.h"
#include "wiring/WireList.h"
#include "wiring/WiringEdits.h"
#include "wiring/WiringMarks.h"
#include "wiring/WiringProposals.h"

namespace {

// What an edit of the plan changes: the drawing and, through the wiring part, the tally.
constexpr DocChange kWiringChange = DocChange::Placement | DocChange::Pieces;

WiringWindow* openWindow = nullptr;
bool viewShown = false;
int viewListener = 0;

wxString Utf8(const std::string& text) { return wxString::FromUTF8(text); }

Rgb ToRgb(uint32_t colour) {
    return {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
            static_cast<uint8_t>(colour)};
}

wxColour ToColour(uint32_t colour) {
    const Rgb c = ToRgb(colour);
    return wxColour(c.r, c.g, c.b);
}

uint32_t FromColour(const wxColour& c) {
    return (static_cast<uint32_t>(c.Red()) << 16) | (static_cast<uint32_t>(c.Green()) << 8) |
           c.Blue();
}

wxSpinCtrlDouble* MakeSpin(wxWindow* parent, double min, double max, double value, double step,
                           int digits) {
    auto* spin = new NumberSpinCtrl(parent, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                    wxDefaultSize, wxSP_ARROW_KEYS, min, max, value, step);
    spin->SetDigits(digits);
    return spin;
}

wxString DistrictName(const LayoutDocument& doc, uint32_t id) {
    const PowerDistrict* d = doc.wiring.FindDistrict(id);
    return d ? Utf8(d->name) : _("none");
}

// The plan as the canvas and the printout draw it, from the document as it is now.
WiringOverlay MakeOverlay(const LayoutDocument& doc) {
    const TrackGraph graph = BuildTrackGraph(doc);
    const WiringMarks marks =
        BuildWiringMarks(doc, graph, AnalyseWiring(doc, graph, CurrentWiringOptions()));
    WiringOverlay overlay;
    for (const WiringMarks::Line& l : marks.lines)
        overlay.lines.push_back({l.points, ToRgb(l.colour), l.detection, l.piece, l.section});
    for (const WiringMarks::Bar& b : marks.gaps) overlay.bars.push_back({b.a, b.b});
    for (const WiringMarks::Symbol& s : marks.feeders)
        overlay.symbols.push_back({s.at, s.number, ToRgb(s.colour)});
    return overlay;
}

void ShowMarks(FrameServices& frame) {
    CanvasPanel* canvas = frame.Canvas();
    if (!canvas) return;
    canvas->SetWiringOverlay(viewShown ? MakeOverlay(frame.Document()) : WiringOverlay{});
}

// The plan in its wiring colours on the first page, the tables of districts, sections and
// feeders on the pages after it.
class WiringPrintout : public TextPrintout {
public:
    WiringPrintout(WiringOverlay overlay, const std::string& tables)
        : TextPrintout(_("Wiring"), tables, 1), overlay(std::move(overlay)) {}

private:
    void DrawPage(wxDC& dc, int) override {
        LayoutBounds bounds;
        for (const WiringOverlay::Line& l : overlay.lines)
            for (const PointMm& p : l.points) bounds.Add(p.x, p.y);
        if (bounds.any) DrawWiringOverlay(dc, overlay, FitTransform(bounds, kWidth, kHeight));
    }
    WiringOverlay overlay;
};

// A press in the wiring view: on a piece end it steps the gap there on, with Shift on a piece it
// adds a feeder. Other presses go on to editing.
bool WiringClick(FrameServices& frame, double x, double y, bool shift) {
    CanvasPanel* canvas = frame.Canvas();
    if (!viewShown || !canvas) return false;
    LayoutDocument& doc = frame.Document();
    const double reachMm = 8 / std::max(canvas->Zoom(), 1e-6);  // 8 pixels
    const TrackGraph graph = BuildTrackGraph(doc);
    if (shift) {
        const ViewTransform& view = canvas->Transform();
        const uint32_t piece =
            PieceAt(doc, canvas->Index(), view, view.ToPixelX(x), view.ToPixelY(y));
        if (piece == kNoId || !AddFeeder(doc, graph, piece)) return false;
    } else {
        const PieceEnd end = PieceEndNear(doc, x, y, reachMm);
        if (end.piece == kNoId || !CycleGap(doc, graph, end.piece, end.connector)) return false;
    }
    frame.NotifyChanged(kWiringChange);
    return true;
}

}  // namespace

WiringOptions& CurrentWiringOptions() {
    static WiringOptions options;
    return options;
}

WiringWindow::WiringWindow(FrameServices* frame)
    : wxDialog(frame->Window(), wxID_ANY, _("Wiring"), wxDefaultPosition, wxSize(760, 720),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      frame(frame) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(BuildOptions(), 0, wxEXPAND | wxALL, 8);
    top->Add(BuildDistricts(), 2, wxEXPAND | wxLEFT | wxRIGHT, 8);
    top->Add(BuildSections(), 2, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 8);
    top->Add(BuildFindings(), 2, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 8);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, kIdPrint, _("Print...")), 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, kIdExport, _("Export Wire List (CSV)...")), 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, wxID_CLOSE, _("Close")), 0);
    top->Add(buttons, 0, wxEXPAND | wxALL, 8);
    SetSizer(top);
    top->SetSizeHints(this);
    wxSize size = GetSize();
    size.IncTo(wxSize(760, 720));
    SetSize(size);

    BindButtons();
    BindControls();
    Bind(wxEVT_CLOSE_WINDOW, &WiringWindow::OnClose, this);
    listenerId = frame->AddChangeListener([this](DocChange what) { DocumentChanged(what); });
    openWindow = this;
    Rerun();
}

// The options on the left, the proposals that use them on the right.
wxSizer* WiringWindow::BuildOptions() {
    const WiringOptions& options = CurrentWiringOptions();
    auto* head = new wxBoxSizer(wxHORIZONTAL);
    auto* optionGrid = new wxFlexGridSizer(2, 4, 8);
    auto option = [&](const wxString& text, wxSpinCtrlDouble* spin) {
        optionGrid->Add(new wxStaticText(this, wxID_ANY, text), 0, wxALIGN_CENTER_VERTICAL);
        optionGrid->Add(spin, 0);
        return spin;
    };
    spacingH0 = option(_("Feeder every (H0, m):"),
                       MakeSpin(this, 0.1, 50, options.feederSpacingH0Mm / 1000, 0.1, 1));
    spacingZ = option(_("Feeder every (Z and N, m):"),
                      MakeSpin(this, 0.1, 50, options.feederSpacingZMm / 1000, 0.1, 1));
    longestTrain = option(_("Longest train (mm, 0: ready-made trains):"),
                          MakeSpin(this, 0, 10000, options.longestTrainMm, 10, 0));
    head->Add(optionGrid, 0);
    head->AddStretchSpacer();
    auto* proposals = new wxBoxSizer(wxVERTICAL);
    proposals->Add(new wxButton(this, kIdProposeGaps, _("Propose Reversing Gaps")), 0,
                   wxEXPAND | wxBOTTOM, 4);
    proposals->Add(new wxButton(this, kIdProposeFeeders, _("Propose Feeders")), 0,
                   wxEXPAND | wxBOTTOM, 4);
    proposals->Add(new wxButton(this, kIdProposeBlocks, _("Propose Blocks")), 0, wxEXPAND);
    head->Add(proposals, 0, wxLEFT, 12);
    return head;
}

// The districts' list and the fields of the selected one.
wxSizer* WiringWindow::BuildDistricts() {
    auto* districtBox = new wxStaticBoxSizer(wxVERTICAL, this, _("Districts"));
    districts = new RowList(districtBox->GetStaticBox(), wxID_ANY, wxSize(-1, 110),
                            wxLC_REPORT | wxLC_SINGLE_SEL);
    districts->AppendColumn(_("Name"), wxLIST_FORMAT_LEFT, 180);
    districts->AppendColumn(_("Colour"), wxLIST_FORMAT_LEFT, 90);
    districts->AppendColumn(_("Maximum current (A)"), wxLIST_FORMAT_LEFT, 150);
    districts->AppendColumn(_("Sections"), wxLIST_FORMAT_LEFT, 260);
    districtBox->Add(districts, 1, wxEXPAND);
    auto* fields = new wxBoxSizer(wxHORIZONTAL);
    wxWindow* box = districtBox->GetStaticBox();
    fields->Add(new wxStaticText(box, wxID_ANY, _("Name:")), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT,
                4);
    districtName = new wxTextCtrl(box, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(160, -1),
                                  wxTE_PROCESS_ENTER);
    fields->Add(districtName, 0, wxRIGHT, 8);
    districtColour = new wxColourPickerCtrl(box, wxID_ANY);
    fields->Add(districtColour, 0, wxRIGHT, 8);
    fields->Add(new wxStaticText(box, wxID_ANY, _("Maximum current (A):")), 0,
                wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    districtCurrent = MakeSpin(box, 0.1, 20, 3, 0.1, 1);
    fields->Add(districtCurrent, 0, wxRIGHT, 8);
    fields->Add(new wxButton(box, kIdAddDistrict, _("Add District")), 0, wxRIGHT, 6);
    removeDistrict = new wxButton(box, kIdRemoveDistrict, _("Remove District"));
    fields->Add(removeDistrict, 0);
    districtBox->Add(fields, 0, wxTOP, 6);
    return districtBox;
}

wxSizer* WiringWindow::BuildSections() {
    auto* sectionBox = new wxStaticBoxSizer(wxVERTICAL, this, _("Sections"));
    sections = new RowList(sectionBox->GetStaticBox(), wxID_ANY, wxSize(-1, 140),
                           wxLC_REPORT | wxLC_SINGLE_SEL);
    const wxString sectionTitles[] = {_("Section"), _("District"), _("Length"),
                                      _("Pieces"),  _("Feeders"),  _("Detector")};
    const int sectionWidths[] = {70, 140, 90, 80, 80, 80};
    for (int i = 0; i < 6; ++i)
        sections->AppendColumn(sectionTitles[i], wxLIST_FORMAT_LEFT, sectionWidths[i]);
    sectionBox->Add(sections, 1, wxEXPAND);
    return sectionBox;
}

wxSizer* WiringWindow::BuildFindings() {
    auto* findingBox = new wxStaticBoxSizer(wxVERTICAL, this, _("Findings"));
    findings = new RowList(findingBox->GetStaticBox(), wxID_ANY, wxSize(-1, 140),
                           wxLC_REPORT | wxLC_SINGLE_SEL);
    findings->AppendColumn(_("Kind"), wxLIST_FORMAT_LEFT, 150);
    findings->AppendColumn(_("Finding"), wxLIST_FORMAT_LEFT, 560);
    findingBox->Add(findings, 1, wxEXPAND);
    return findingBox;
}

void WiringWindow::BindButtons() {
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { ProposeGaps(); }, kIdProposeGaps);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { ProposeFeeders(); }, kIdProposeFeeders);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { ProposeBlocks(); }, kIdProposeBlocks);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            const std::string error = ExportWireList();
            if (!error.empty())
                wxMessageBox(Utf8(error), _("Export Failed"), wxOK | wxICON_ERROR, this);
        },
        kIdExport);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            selectedDistrict = AddDistrict(this->frame->Document());
            this->frame->NotifyChanged(kWiringChange);
        },
        kIdAddDistrict);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            if (RemoveDistrict(this->frame->Document(), selectedDistrict))
                this->frame->NotifyChanged(kWiringChange);
        },
        kIdRemoveDistrict);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Print(); }, kIdPrint);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Close(); }, wxID_CLOSE);
}

// The options, the lists and the district's fields.
void WiringWindow::BindControls() {
    for (wxSpinCtrlDouble* spin : {spacingH0, spacingZ, longestTrain})
        spin->Bind(wxEVT_SPINCTRLDOUBLE, &WiringWindow::OnOption, this);
    districts->Bind(wxEVT_LIST_ITEM_SELECTED,
                    [this](wxListEvent& event) { SelectDistrict(event.GetIndex()); });
    findings->Bind(wxEVT_LIST_ITEM_SELECTED,
                   [this](wxListEvent& event) { ShowFinding(event.GetIndex()); });
    districtName->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { ApplyDistrictFields(); });
    districtName->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        event.Skip();
        if (!IsBeingDeleted()) ApplyDistrictFields();
    });
    districtColour->Bind(wxEVT_COLOURPICKER_CHANGED,
                         [this](wxColourPickerEvent&) { ApplyDistrictFields(); });
    districtCurrent->Bind(wxEVT_SPINCTRLDOUBLE,
                          [this](wxSpinDoubleEvent&) { ApplyDistrictFields(); });
}

WiringWindow* WiringWindow::Open() { return openWindow; }

void WiringWindow::Rerun() {
    const LayoutDocument& doc = frame->Document();
    graph = BuildTrackGraph(doc);
    analysis = AnalyseWiring(doc, graph, CurrentWiringOptions());

    std::vector<RowList::Row> rows;
    for (const PowerDistrict& d : doc.wiring.districts) {
        wxString fed;
        for (size_t s = 0; s < analysis.sections.size(); ++s) {
            if (analysis.sections[s].district != d.id) continue;
            if (!fed.empty()) fed += ", ";
            fed += wxString::Format("%zu", s + 1);
        }
        RowList::Row row;
        row.cells = {Utf8(d.name), ToColour(d.colour).GetAsString(wxC2S_HTML_SYNTAX),
                     wxString::Format("%.1f", d.maxCurrentA), fed};
        row.colour = ToColour(d.colour);
        rows.push_back(std::move(row));
    }
    districts->SetRows(std::move(rows));
    rows = {};
    for (size_t s = 0; s < analysis.sections.size(); ++s) {
        const Section& section = analysis.sections[s];
        RowList::Row row;
        row.cells = {wxString::Format("%zu", s + 1),
                     DistrictName(doc, section.district),
                     Utf8(FormatLength(section.lengthMm, doc.units)),
                     wxString::Format("%zu", section.pieces.size()),
                     wxString::Format("%zu", section.feeders.size()),
                     section.detector > 0 ? wxString::Format("%d", section.detector) : wxString()};
        row.bold = section.reversing;
        rows.push_back(std::move(row));
    }
    sections->SetRows(std::move(rows));
    rows = {};
    for (const WiringFinding& f : analysis.findings) {
        RowList::Row row;
        row.cells = {wxGetTranslation(Utf8(WiringFindingKindName(f.kind))), Utf8(f.text)};
        rows.push_back(std::move(row));
    }
    findings->SetRows(std::move(rows));
    const size_t count = analysis.findings.size();
    const wxString counted =
        wxString::Format(wxPLURAL("Wiring - %zu finding", "Wiring - %zu findings", count), count);
    SetTitle(count == 0 ? _("Wiring - no findings") : counted);
    if (!doc.wiring.FindDistrict(selectedDistrict))
        selectedDistrict = doc.wiring.districts.empty() ? kNoId : doc.wiring.districts.front().id;
    ShowDistrictFields();
}

bool WiringWindow::ProposeGaps() {
    LayoutDocument& doc = frame->Document();
    const WiringAdditions add{
        ProposeReversingGaps(doc, BuildTrackGraph(doc), CurrentWiringOptions()), {}, {}};
    if (!AddToWiringPlan(doc, add)) return false;
    frame->NotifyChanged(kWiringChange);
    return true;
}

bool WiringWindow::ProposeFeeders() {
    LayoutDocument& doc = frame->Document();
    const WiringAdditions add{
        {}, ::ProposeFeeders(doc, BuildTrackGraph(doc), CurrentWiringOptions()), {}};
    if (!AddToWiringPlan(doc, add)) return false;
    frame->NotifyChanged(kWiringChange);
    return true;
}

bool WiringWindow::ProposeBlocks() {
    LayoutDocument& doc = frame->Document();
    if (!AddToWiringPlan(doc, ::ProposeBlocks(doc, BuildTrackGraph(doc)))) return false;
    frame->NotifyChanged(kWiringChange);
    return true;
}

void WiringWindow::ShowFinding(long index) {
    if (index < 0 || index >= static_cast<long>(analysis.findings.size())) return;
    const WiringFinding& w = analysis.findings[static_cast<size_t>(index)];
    LayoutFinding f;
    f.pieces = w.pieces;
    f.x = w.x;
    f.y = w.y;
    f.text = w.text;
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
        if (free.width < 200 || free.height < 200) free = {area.x, area.y, area.width, area.height};
        ViewTransform view = FitTransform(bounds, free.width, free.height);
        view.offsetX += free.x - area.x;
        view.offsetY += free.y - area.y;
        canvas->SetTransform(view);
    }
    frame->NotifyChanged(DocChange::Selection | DocChange::View);
}

void WiringWindow::Print() {
    const LayoutDocument& doc = frame->Document();
    const TrackGraph g = BuildTrackGraph(doc);
    const WiringAnalysis a = AnalyseWiring(doc, g, CurrentWiringOptions());
    WiringPrintout printout(MakeOverlay(doc), WiringTablesText(doc, g, a));
    wxPrintDialogData data(*frame->GetPrintData());
    switch (RunPrintJob(this, data, printout)) {
        case PrintOutcome::Printed:
            *frame->GetPrintData() = data.GetPrintData();
            break;
        case PrintOutcome::Failed:
            wxMessageBox(_("The wiring plan could not be printed."), _("Print Failed"),
                         wxOK | wxICON_ERROR, this);
            break;
        case PrintOutcome::Cancelled:
            break;
    }
}

std::string WiringWindow::ExportWireList() {
    const wxString path = AskExportPath(this, _("Export Wire List"), _("Wire list (*.csv)|*.csv"),
                                        _("Wire list") + ".csv");
    if (path.empty()) return {};
    const LayoutDocument& doc = frame->Document();
    const TrackGraph g = BuildTrackGraph(doc);
    const std::string csv = WireListCsv(doc, g, AnalyseWiring(doc, g, CurrentWiringOptions()));
    return WriteFileAtomically(path.utf8_string(), csv);
}

void WiringWindow::SelectDistrict(long row) {
    const auto& list = frame->Document().wiring.districts;
    if (row < 0 || row >= static_cast<long>(list.size())) return;
    selectedDistrict = list[static_cast<size_t>(row)].id;
    ShowDistrictFields();
}

void WiringWindow::EditDistrict(const wxString& name, uint32_t colour, double maxCurrentA) {
    showing = true;
    districtName->ChangeValue(name);
    districtColour->SetColour(ToColour(colour));
    districtCurrent->SetValue(maxCurrentA);
    showing = false;
    ApplyDistrictFields();
}

void WiringWindow::ShowDistrictFields() {
    const PowerDistrict* d = frame->Document().wiring.FindDistrict(selectedDistrict);
    showing = true;
    districtName->ChangeValue(d ? Utf8(d->name) : wxString());
    if (d) districtColour->SetColour(ToColour(d->colour));
    districtCurrent->SetValue(d ? d->maxCurrentA : 3.0);
    showing = false;
    for (wxWindow* w : std::initializer_list<wxWindow*>{districtName, districtColour,
                                                        districtCurrent, removeDistrict})
        w->Enable(d != nullptr);
}

void WiringWindow::ApplyDistrictFields() {
    if (showing) return;
    const PowerDistrict* d = frame->Document().wiring.FindDistrict(selectedDistrict);
    if (!d) return;
    PowerDistrict changed = *d;
    changed.name = districtName->GetValue().utf8_string();
    changed.colour = FromColour(districtColour->GetColour());
    changed.maxCurrentA = districtCurrent->GetValue();
    if (ChangeDistrict(frame->Document(), changed)) frame->NotifyChanged(kWiringChange);
}

void WiringWindow::DocumentChanged(DocChange what) {
    if (HasAny(what, DocChange::Content | DocChange::File)) Rerun();
}

void WiringWindow::OnOption(wxSpinDoubleEvent&) {
    if (IsBeingDeleted() || frame->Window()->IsBeingDeleted()) return;
    WiringOptions& options = CurrentWiringOptions();
    options.feederSpacingH0Mm = spacingH0->GetValue() * 1000;
    options.feederSpacingZMm = spacingZ->GetValue() * 1000;
    options.longestTrainMm = longestTrain->GetValue();
    Rerun();
    ShowMarks(*frame);
}

void WiringWindow::OnClose(wxCloseEvent&) {
    frame->RemoveChangeListener(listenerId);
    openWindow = nullptr;
    Destroy();
}

bool WiringViewShown() { return viewShown; }

void ShowWiringView(FrameServices& frame, bool shown) {
    viewShown = shown;
    if (wxMenuBar* bar = frame.Window()->GetMenuBar(); bar && bar->FindItem(kCmdWiringView))
        bar->Check(kCmdWiringView, shown);
    if (wxToolBar* tools = frame.Window()->GetToolBar(); tools && tools->FindById(kCmdWiringView))
        tools->ToggleTool(kCmdWiringView, shown);
    if (shown && !viewListener) {
        viewListener = frame.AddChangeListener([&frame](DocChange what) {
            if (HasAny(what, DocChange::Content | DocChange::File)) ShowMarks(frame);
        });
    } else if (!shown && viewListener) {
        frame.RemoveChangeListener(viewListener);
        viewListener = 0;
    }
    if (CanvasPanel* canvas = frame.Canvas()) {
        if (shown)
            canvas->SetViewClickHandler([&frame](double x, double y, bool shift) {
                return WiringClick(frame, x, y, shift);
            });
        else
            canvas->SetViewClickHandler({});
    }
    ShowMarks(frame);
}

void BindWiringCommands(FrameServices& frame) {
    viewShown = false;
    viewListener = 0;
    if (wxMenuBar* bar = frame.Window()->GetMenuBar()) {
        wxMenu* menu = nullptr;
        if (bar->FindItem(kCmdCheckLayout, &menu) && menu) {
            size_t at = 0;
            while (at < menu->GetMenuItemCount() &&
                   menu->FindItemByPosition(at)->GetId() != kCmdCheckLayout)
                ++at;
            menu->Insert(at + 1, kCmdWiring, _("&Wiring..."));
        }
        menu = nullptr;
        if (bar->FindItem(kCmdSnap, &menu) && menu) {
            size_t at = 0;
            while (at < menu->GetMenuItemCount() &&
                   menu->FindItemByPosition(at)->GetId() != kCmdSnap)
                ++at;
            menu->InsertCheckItem(at + 1, kCmdWiringView, _("&Wiring"));
        }
    }
    if (wxToolBar* tools = frame.Window()->GetToolBar()) {
        tools->AddSeparator();
        tools->AddTool(kCmdWiringView, _("Wiring"), wxBitmap(),
                       _("Show the wiring plan: districts, gaps, feeders and detection; click a "
                         "joint for a gap, Shift+click a piece for a feeder"),
                       wxITEM_CHECK);
        tools->Realize();
    }
    frame.Window()->Bind(
        wxEVT_MENU,
        [&frame](wxCommandEvent&) {
            if (WiringWindow* open = WiringWindow::Open()) {
                open->Raise();
                return;
            }
            (new WiringWindow(&frame))->Show();
        },
        kCmdWiring);
    frame.Window()->Bind(
        wxEVT_MENU, [&frame](wxCommandEvent&) { ShowWiringView(frame, !WiringViewShown()); },
        kCmdWiringView);
}
