// The "Autofill Gap" choice of straight fills.
#include "canvas/gui/AutofillDialog.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "canvas/Autofill.h"

AutofillDialog::AutofillDialog(wxWindow* parent, const std::string& prompt,
                               const std::vector<std::string>& lines)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(kAutofillDialogTitle), wxDefaultPosition,
               wxSize(380, 320), wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(prompt)), 0, wxALL, 8);
    wxArrayString items;
    for (const std::string& line : lines) items.Add(wxString::FromUTF8(line));
    list = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, items, wxLB_SINGLE);
    sizer->Add(list, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_OK, "Place"), 0, wxRIGHT, 4);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"), 0);
    sizer->Add(buttons, 0, wxEXPAND | wxALL, 8);
    SetSizer(sizer);
    SetSize(wxSize(380, 320));
    list->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { EndModal(wxID_OK); });
    CentreOnParent();
}

int AutofillDialog::Choice() const {
    return list->GetSelection() == wxNOT_FOUND ? -1 : list->GetSelection();
}
