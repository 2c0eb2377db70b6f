// The help window: a picture column and the scrolled help text.
#pragma once

#include <wx/dialog.h>

#include <functional>
#include <vector>

class wxScrolledWindow;
class wxStaticText;

class HelpDialog : public wxDialog {
public:
    using AddressOpener = std::function<bool(const wxString& url)>;

    HelpDialog(wxWindow* parent, AddressOpener openAddress);

    // The heading texts in the order shown.
    std::vector<wxString> Headings() const;
    // True when the picture column is shown.
    bool HasPicture() const { return hasPicture; }
    wxScrolledWindow* TextArea() const { return text; }

private:
    wxScrolledWindow* text = nullptr;
    std::vector<wxStaticText*> headings;
    bool hasPicture = false;
};
