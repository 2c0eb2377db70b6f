// The Addresses window (Layout > Addresses...): the protocol, numbering with its options, the
// sortable address list, printing and CSV export; and File > Export > JMRI Panel...
#pragma once

#include <wx/dialog.h>

#include <vector>

#include "model/DocumentChange.h"
#include "control/AddressList.h"

class FrameServices;
class wxChoice;
class wxListEvent;
class wxListView;
class wxSpinCtrl;

// Command ids of Layout > Addresses... and File > Export JMRI Panel...
enum ControlCommandId : int {
    kCmdAddresses = 2033,
    kCmdExportJmri = 2034,
};

class AddressesWindow : public wxDialog {
public:
    static constexpr int kIdProtocol = 4300;
    static constexpr int kIdAssign = 4301;
    static constexpr int kIdPrint = 4302;
    static constexpr int kIdExport = 4303;

    explicit AddressesWindow(FrameServices* frame);
    // The open window, or null.
    static AddressesWindow* Open();

    // Numbers the accessories without an address with the window's options.
    void Assign();
    void ShowRows();
    const std::vector<AddressListRow>& Rows() const { return rows; }
    wxListView* List() const { return list; }

private:
    void DocumentChanged(DocChange what);
    void OnProtocol(wxCommandEvent& event);
    void OnSelected(wxListEvent& event);
    void OnColumn(wxListEvent& event);
    void OnPrint(wxCommandEvent& event);
    void OnExport(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);

    FrameServices* frame;
    int listenerId = 0;
    int sortColumn = 0;
    bool sortUp = true;
    std::vector<AddressListRow> rows;
    wxChoice* protocol = nullptr;
    wxSpinCtrl* first = nullptr;
    wxChoice* order = nullptr;
    wxListView* list = nullptr;
};

// Adds Layout > Addresses... after the layout check and File > Export JMRI Panel... after the
// other exports, and binds them.
void BindControlCommands(FrameServices& frame);
