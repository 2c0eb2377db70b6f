// The "Open Layout" dialog.
#include "app/gui/OpenLayoutDialog.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>

OpenLayoutDialog::OpenLayoutDialog(wxWindow* parent, const std::vector<std::string>& names)
    : wxDialog(parent, wxID_ANY, _("Open Layout"), wxDefaultPosition, wxSize(320, 420),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
    // The names come sorted by byte value; the list box's own sorting would follow the locale.
    wxArrayString rows;
    for (const std::string& name : names) rows.Add(wxString(name.c_str(), *wxConvFileName));
    list = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, rows, wxLB_SINGLE);

    openButton = new wxButton(this, wxID_OK, _("Open"));
    openButton->Disable();
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(openButton, 0, wxRIGHT, 8);
    auto* cancel = new wxButton(this, wxID_CANCEL, _("Cancel"));
    buttons->Add(cancel);

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(list, 1, wxEXPAND | wxALL, 8);
    sizer->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizer(sizer);
    // Never narrower than its buttons, whatever their language.
    wxSize size = GetSize();
    size.IncTo(GetBestSize());
    SetSize(size);
    Layout();

    list->Bind(wxEVT_LISTBOX, &OpenLayoutDialog::OnSelect, this);
    list->Bind(wxEVT_LISTBOX_DCLICK, &OpenLayoutDialog::OnDoubleClick, this);
    // A list that starts with the focus gets its first row chosen by the toolkit: the dialog
    // starts on Cancel, so nothing is chosen (and Open stays disabled) until the user picks.
    cancel->SetFocus();
}

wxString OpenLayoutDialog::SelectedName() const {
    const int row = list->GetSelection();
    return row == wxNOT_FOUND ? wxString() : list->GetString(row);
}

bool OpenLayoutDialog::SelectName(const wxString& name) {
    const int row = list->FindString(name, true);
    if (row == wxNOT_FOUND) return false;
    list->SetSelection(row);
    openButton->Enable();
    return true;
}

void OpenLayoutDialog::OnSelect(wxCommandEvent&) {
    openButton->Enable(list->GetSelection() != wxNOT_FOUND);
}

void OpenLayoutDialog::OnDoubleClick(wxCommandEvent&) {
    if (list->GetSelection() != wxNOT_FOUND) EndModal(wxID_OK);
}
