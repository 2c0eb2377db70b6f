// The window that greets the user at start-up: a picture of a layout, the maker's link and a
// button to go on.
#pragma once

#include <wx/bitmap.h>
#include <wx/dialog.h>

#include <functional>

class wxButton;
class wxPanel;

class SplashDialog : public wxDialog {
public:
    // Opens web addresses (the maker's link); the caller's opener, as for Buy Track.
    using AddressOpener = std::function<bool(const wxString& url)>;

    SplashDialog(wxWindow* parent, AddressOpener openAddress);

    // What the picture panel shows, drawn into dc (900 x 600): the background, or the painted
    // fallback, then the logo in the bottom-right corner.
    void PaintPicture(wxDC& dc) const;
    bool HasBackground() const { return background.IsOk(); }
    bool HasLogo() const { return logo.IsOk(); }
    wxButton* DoneButton() const { return done; }

private:
    wxBitmap background;
    wxBitmap logo;
    wxPanel* picture = nullptr;
    wxButton* done = nullptr;
};
