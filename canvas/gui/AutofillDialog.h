// The "Autofill Gap" choice of straight fills.
#pragma once

#include <wx/dialog.h>

#include <string>
#include <vector>

class wxListBox;

class AutofillDialog : public wxDialog {
public:
    // One line per fill; "Place" ends with wxID_OK, "Cancel" with wxID_CANCEL.
    AutofillDialog(wxWindow* parent, const std::string& prompt,
                   const std::vector<std::string>& lines);
    // The chosen line, -1 when none is selected.
    int Choice() const;
    wxListBox* List() const { return list; }

private:
    wxListBox* list = nullptr;
};
