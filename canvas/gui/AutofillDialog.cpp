// The "Autofill Gap" choice of straight fills.
#include "canvas/gui/AutofillDialog.h"

#include <wx/button.h>
#include <wx/intl.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>

#include "canvas/Autofill.h"

namespace {
constexpr int kMinWidth = 380;
// Room beside a line: the dialog's and the list's borders and a vertical scroll bar.
constexpr int kLineMargin = 80;
}  // namespace

AutofillDialog::AutofillDialog(wxWindow* parent, const std::string& prompt,
                               const std::vector<std::string>& lines)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(Tr(kAutofillDialogTitle)), wxDefaultPosition,
               wxSize(380, 320), wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* promptText =
        new wxStaticText(this, wxID_ANY, wxControl::EscapeMnemonics(wxString::FromUTF8(prompt)));
    sizer->Add(promptText, 0, wxALL, 8);
    wxArrayString items;
    for (const std::string& line : lines) items.Add(wxString::FromUTF8(line));
    list = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, items, wxLB_SINGLE);
    sizer->Add(list, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_OK, _("Place")), 0, wxRIGHT, 4);
    buttons->Add(new wxButton(this, wxID_CANCEL, _("Cancel")), 0);
    sizer->Add(buttons, 0, wxEXPAND | wxALL, 8);
    SetSizer(sizer);
    // Wide enough for the longest line, so the choices can be told apart, within the screen.
    int widest = promptText->GetBestSize().x;
    for (const wxString& item : items) widest = std::max(widest, list->GetTextExtent(item).x);
    const int screen = wxGetDisplaySize().x - 40;
    const int width = std::clamp(widest + kLineMargin, kMinWidth, std::max(kMinWidth, screen));
    SetSize(wxSize(width, 320));
    list->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { EndModal(wxID_OK); });
    CentreOnParent();
}

int AutofillDialog::Choice() const {
    return list->GetSelection() == wxNOT_FOUND ? -1 : list->GetSelection();
}
