// The Addresses window and the JMRI panel export.
#include "control/gui/AddressesWindow.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/dc.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/print.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include <algorithm>

#include "app/CommandIds.h"
#include "app/FrameLogic.h"
#include "app/gui/MainFrameDialogs.h"
#include "base/gui/FrameServices.h"
#include "base/gui/TextPrintout.h"
#include "control/AssignAddresses.h"
#include "control/JmriPanel.h"
#include "network/TrackGraph.h"
#include "persistence/AtomicFile.h"

namespace {

AddressesWindow* openWindow = nullptr;

wxString Utf8(const std::string& text) { return wxString::FromUTF8(text); }

void ExportJmri(FrameServices& frame) {
    const wxString name =
        frame.LayoutName().empty() ? wxString(kDefaultLayoutName) : frame.LayoutName();
    const wxString path = AskExportPath(frame.Window(), _("Export JMRI Panel"),
                                        _("JMRI panel file (*.xml)|*.xml"), name + ".xml");
    if (path.empty()) return;
    const LayoutDocument& doc = frame.Document();
    JmriOptions options;
    options.panelName = name.utf8_string();
    std::string xml;
    if (!WriteJmriPanel(doc, BuildTrackGraph(doc), options, xml)) {
        wxMessageBox(_("The layout has no track to export."), _("Export Failed"),
                     wxOK | wxICON_ERROR, frame.Window());
        return;
    }
    const std::string error = WriteFileAtomically(path.utf8_string(), xml);
    if (!error.empty())
        wxMessageBox(Utf8(error), _("Export Failed"), wxOK | wxICON_ERROR, frame.Window());
}

void InsertAfter(wxMenuBar* bar, int after, int id, const wxString& text) {
    wxMenu* menu = nullptr;
    if (!bar || !bar->FindItem(after, &menu) || !menu) return;
    size_t at = 0;
    while (at < menu->GetMenuItemCount() && menu->FindItemByPosition(at)->GetId() != after) ++at;
    menu->Insert(at + 1, id, text);
}

}  // namespace

AddressesWindow::AddressesWindow(FrameServices* frame)
    : wxDialog(frame->Window(), wxID_ANY, _("Addresses"), wxDefaultPosition, wxSize(640, 480),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      frame(frame) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* options = new wxBoxSizer(wxHORIZONTAL);
    options->Add(new wxStaticText(this, wxID_ANY, _("Protocol:")), 0, wxALIGN_CENTER_VERTICAL);
    protocol = new wxChoice(this, kIdProtocol);
    protocol->Append(_("M\u00e4rklin-Motorola (1 to 320)"));
    protocol->Append(_("DCC (1 to 2044)"));
    options->Add(protocol, 0, wxLEFT | wxRIGHT, 6);
    options->Add(new wxStaticText(this, wxID_ANY, _("First address:")), 0,
                 wxALIGN_CENTER_VERTICAL | wxLEFT, 6);
    first = new wxSpinCtrl(this, wxID_ANY, "1", wxDefaultPosition, wxDefaultSize,
                           wxSP_ARROW_KEYS, 1, 2044, 1);
    options->Add(first, 0, wxLEFT | wxRIGHT, 6);
    order = new wxChoice(this, wxID_ANY);
    order->Append(_("By position"));
    order->Append(_("By station"));
    order->SetSelection(0);
    order->SetToolTip(_("By position: row by row, top to bottom, then left to right. By station: "
                        "turnouts joined to each other get consecutive numbers."));
    options->Add(order, 0, wxRIGHT, 6);
    options->Add(new wxButton(this, kIdAssign, _("Assign Addresses")), 0);
    top->Add(options, 0, wxEXPAND | wxALL, 8);

    list = new wxListView(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                          wxLC_REPORT | wxLC_SINGLE_SEL);
    const wxString titles[] = {_("Address"), _("Article"),  _("Kind"),
                               _("Position (mm)"), _("Level"), _("Section")};
    const int widths[] = {70, 80, 140, 110, 100, 80};
    for (int i = 0; i < 6; ++i) list->AppendColumn(titles[i], wxLIST_FORMAT_LEFT, widths[i]);
    top->Add(list, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, kIdPrint, _("Print...")), 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, kIdExport, _("Export (CSV)...")), 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, wxID_CLOSE, _("Close")), 0);
    top->Add(buttons, 0, wxEXPAND | wxALL, 8);
    SetSizer(top);

    Bind(wxEVT_CHOICE, &AddressesWindow::OnProtocol, this, kIdProtocol);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Assign(); }, kIdAssign);
    Bind(wxEVT_BUTTON, &AddressesWindow::OnPrint, this, kIdPrint);
    Bind(wxEVT_BUTTON, &AddressesWindow::OnExport, this, kIdExport);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Close(); }, wxID_CLOSE);
    list->Bind(wxEVT_LIST_ITEM_SELECTED, &AddressesWindow::OnSelected, this);
    list->Bind(wxEVT_LIST_COL_CLICK, &AddressesWindow::OnColumn, this);
    Bind(wxEVT_CLOSE_WINDOW, &AddressesWindow::OnClose, this);
    listenerId = frame->AddChangeListener([this](DocChange what) { DocumentChanged(what); });
    openWindow = this;
    ShowRows();
}

AddressesWindow* AddressesWindow::Open() { return openWindow; }

void AddressesWindow::Assign() {
    LayoutDocument& doc = frame->Document();
    AddressOptions options;
    options.first = first->GetValue();
    options.order = order->GetSelection() == 1 ? AddressOrder::ByStation : AddressOrder::ByPosition;
    const AddressAssignment a = AssignAddresses(doc, BuildTrackGraph(doc), options);
    if (ApplyAddresses(doc, a)) frame->NotifyChanged(DocChange::Placement);
    if (a.unassigned > 0)
        wxMessageBox(wxString::Format(_("%d accessories found no free address."), a.unassigned),
                     _("Addresses"), wxOK | wxICON_WARNING, this);
}

void AddressesWindow::ShowRows() {
    const LayoutDocument& doc = frame->Document();
    protocol->SetSelection(ProtocolOf(doc) == DigitalProtocol::Dcc ? 1 : 0);
    rows = AddressListRows(doc);
    auto key = [this](const AddressListRow& r) {
        switch (sortColumn) {
            case 1: return r.article;
            case 2: return r.kind;
            case 4: return r.level;
            case 5: return r.section;
            default: return std::string();
        }
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const AddressListRow& a, const AddressListRow& b) {
        bool less;
        if (sortColumn == 0)
            less = std::pair(a.address == 0, a.address) < std::pair(b.address == 0, b.address);
        else if (sortColumn == 3)
            less = std::pair(a.y, a.x) < std::pair(b.y, b.x);
        else
            less = key(a) < key(b);
        const bool greater = sortColumn == 0
                                 ? std::pair(b.address == 0, b.address) < std::pair(a.address == 0, a.address)
                             : sortColumn == 3 ? std::pair(b.y, b.x) < std::pair(a.y, a.x)
                                               : key(b) < key(a);
        return sortUp ? less : greater;
    });
    list->DeleteAllItems();
    for (size_t i = 0; i < rows.size(); ++i) {
        const AddressListRow& r = rows[i];
        const long item = list->InsertItem(static_cast<long>(i), Utf8(r.addressText));
        list->SetItem(item, 1, Utf8(r.article));
        list->SetItem(item, 2, Utf8(r.kind));
        list->SetItem(item, 3, wxString::Format("%.0f, %.0f", r.x, r.y));
        list->SetItem(item, 4, Utf8(r.level));
        list->SetItem(item, 5, Utf8(r.section));
    }
}

void AddressesWindow::DocumentChanged(DocChange what) {
    if (HasAny(what, DocChange::Content | DocChange::File)) ShowRows();
}

void AddressesWindow::OnProtocol(wxCommandEvent&) {
    const DigitalProtocol chosen =
        protocol->GetSelection() == 1 ? DigitalProtocol::Dcc : DigitalProtocol::MarklinMotorola;
    if (SetProtocol(frame->Document(), chosen)) frame->NotifyChanged(DocChange::Placement);
}

void AddressesWindow::OnSelected(wxListEvent& event) {
    const long i = event.GetIndex();
    if (i < 0 || static_cast<size_t>(i) >= rows.size()) return;
    LayoutDocument& doc = frame->Document();
    PlacedPiece* piece = doc.FindPiece(rows[static_cast<size_t>(i)].piece);
    if (!piece || piece->selected) return;
    doc.ClearSelection();
    piece->selected = true;
    frame->NotifyChanged(DocChange::Selection);
}

void AddressesWindow::OnColumn(wxListEvent& event) {
    const int column = event.GetColumn();
    sortUp = column == sortColumn ? !sortUp : true;
    sortColumn = column;
    ShowRows();
}

void AddressesWindow::OnPrint(wxCommandEvent&) {
    std::string text;
    WriteAddressList(frame->Document(), AddressListFormat::Text, text);
    TextPrintout printout(_("Addresses"), text);
    wxPrintDialogData data(*frame->GetPrintData());
    switch (RunPrintJob(this, data, printout)) {
        case PrintOutcome::Printed:
            *frame->GetPrintData() = data.GetPrintData();
            break;
        case PrintOutcome::Failed:
            wxMessageBox(_("The address list could not be printed."), _("Print Failed"),
                         wxOK | wxICON_ERROR, this);
            break;
        case PrintOutcome::Cancelled:
            break;
    }
}

void AddressesWindow::OnExport(wxCommandEvent&) {
    const wxString path = AskExportPath(this, _("Export Address List"),
                                        _("Address list (*.csv)|*.csv"),
                                        _("Addresses") + ".csv");
    if (path.empty()) return;
    std::string csv;
    WriteAddressList(frame->Document(), AddressListFormat::Csv, csv);
    const std::string error = WriteFileAtomically(path.utf8_string(), csv);
    if (!error.empty()) wxMessageBox(Utf8(error), _("Export Failed"), wxOK | wxICON_ERROR, this);
}

void AddressesWindow::OnClose(wxCloseEvent&) {
    frame->RemoveChangeListener(listenerId);
    openWindow = nullptr;
    Destroy();
}

void BindControlCommands(FrameServices& frame) {
    wxMenuBar* bar = frame.Window()->GetMenuBar();
    InsertAfter(bar, kCmdCheckLayout, kCmdAddresses, _("&Addresses..."));
    InsertAfter(bar, kCmdExportParts, kCmdExportJmri, _("Export &JMRI Panel..."));
    frame.Window()->Bind(
        wxEVT_MENU,
        [&frame](wxCommandEvent&) {
            if (AddressesWindow* open = AddressesWindow::Open()) {
                open->Raise();
                return;
            }
            (new AddressesWindow(&frame))->Show();
        },
        kCmdAddresses);
    frame.Window()->Bind(
        wxEVT_MENU, [&frame](wxCommandEvent&) { ExportJmri(frame); }, kCmdExportJmri);
}
