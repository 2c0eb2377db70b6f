// The help window: a picture column and the scrolled help text.
#pragma once

#include <wx/dialog.h>

#include <functional>
#include <vector>

#include "app/HelpText.h"

class wxAboutDialogInfo;
class wxMenuBar;
class wxScrolledWindow;
class wxStaticText;

class HelpDialog : public wxDialog {
public:
    using AddressOpener = std::function<bool(const wxString& url)>;

    // shortcuts: the menus' accelerators for the shortcut table (see MenuShortcuts).
    HelpDialog(wxWindow* parent, AddressOpener openAddress,
               const std::vector<HelpShortcut>& shortcuts);

    // The heading texts in the order shown.
    std::vector<wxString> Headings() const;
    // The lines of the shortcut table as shown.
    std::vector<wxString> ShortcutLines() const;
    // True when the picture column is shown.
    bool HasPicture() const { return hasPicture; }
    wxScrolledWindow* TextArea() const { return text; }

private:
    wxScrolledWindow* text = nullptr;
    std::vector<wxStaticText*> headings;
    wxStaticText* shortcutTable = nullptr;
    bool hasPicture = false;
};

// What Help > About shows: the program's name, its version, what it does and the maker's site.
wxAboutDialogInfo QuillmoreAboutInfo();

// Every accelerator of the menu bar, in menu order: the keys as the menu shows them and the
// command as "Menu > Item".
std::vector<HelpShortcut> MenuShortcuts(const wxMenuBar& bar);
