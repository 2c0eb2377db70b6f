// The "Open Layout" dialog: a list of the layouts in the program folder to pick one from.
#pragma once

#include <wx/dialog.h>

#include <string>
#include <vector>

class wxButton;
class wxListBox;

class OpenLayoutDialog : public wxDialog {
public:
    // names: layout names in the order to show them.
    OpenLayoutDialog(wxWindow* parent, const std::vector<std::string>& names);

    // The selected name, empty when none is selected.
    wxString SelectedName() const;
    // Selects the row showing name; false when there is none.
    bool SelectName(const wxString& name);

private:
    void OnSelect(wxCommandEvent& event);
    void OnDoubleClick(wxCommandEvent& event);

    wxListBox* list = nullptr;
    wxButton* openButton = nullptr;
};
