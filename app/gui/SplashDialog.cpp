// The start-up window.
#include "app/gui/SplashDialog.h"

#include <wx/button.h>
#include <wx/dcbuffer.h>
#include <wx/hyperlink.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/FrameLogic.h"
#include "app/HelpText.h"
#include "app/gui/ResourceImages.h"
#include "app/gui/StartupProbe.h"
#include "base/Translate.h"

namespace {
constexpr int kPictureWidth = 900;
constexpr int kPictureHeight = 600;
}  // namespace

SplashDialog::SplashDialog(wxWindow* parent, AddressOpener openAddress)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(Tr(kBaseTitle)), wxDefaultPosition,
               wxSize(900, 700), wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
    const wxImage back = LoadResourceImage(101, kPictureWidth, kPictureHeight);
    if (back.IsOk()) background = wxBitmap(back);
    const wxImage portrait = LoadResourceImage(102, 120, 160);
    if (portrait.IsOk()) logo = wxBitmap(portrait);

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    picture = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxSize(kPictureWidth, kPictureHeight));
    picture->SetBackgroundStyle(wxBG_STYLE_PAINT);
    picture->Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
        {
            wxAutoBufferedPaintDC dc(picture);
            PaintPicture(dc);
        }
        StartupSplashDrawn(this);
    });
    sizer->Add(picture, 0);

    auto* byRow = new wxBoxSizer(wxHORIZONTAL);
    auto* by = new wxStaticText(this, wxID_ANY, _("Quillmore by"));
    by->SetFont(by->GetFont().Larger());
    byRow->Add(by, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    auto* link = new wxHyperlinkCtrl(this, wxID_ANY, "Bramblewick", kMakerWebSite);
    link->SetFont(link->GetFont().Larger().Bold());
    link->Bind(wxEVT_HYPERLINK, [openAddress](wxHyperlinkEvent& event) {
        if (openAddress) openAddress(event.GetURL());
    });
    byRow->Add(link, 0, wxALIGN_CENTER_VERTICAL);
    sizer->Add(byRow, 0, wxALL, 8);

    auto* buttonRow = new wxBoxSizer(wxHORIZONTAL);
    buttonRow->AddStretchSpacer();
    done = new wxButton(this, wxID_OK, _("  Done Staring  "));
    done->SetFont(done->GetFont().Larger().Bold());
    // 280 by 40 pixels, or wider when the label needs it.
    wxSize buttonSize(280, 40);
    buttonSize.IncTo(done->GetBestSize());
    done->SetMinSize(buttonSize);
    buttonRow->Add(done, 0, wxALL, 8);
    sizer->Add(buttonRow, 0, wxEXPAND);
    SetSizer(sizer);
    done->SetDefault();
    CentreOnParent();
}

void SplashDialog::PaintPicture(wxDC& dc) const {
    if (background.IsOk()) {
        dc.DrawBitmap(background, 0, 0);
    } else {
        dc.SetBackground(wxBrush(wxColour(30, 40, 60)));
        dc.Clear();
        dc.SetTextForeground(*wxWHITE);
        dc.SetFont(wxFont(wxFontInfo(28).Family(wxFONTFAMILY_SWISS).Bold()));
        dc.DrawText("Quillmore", 20, 20);
        dc.DrawText(_("by Bramblewick"), 20, 60);
    }
    if (logo.IsOk())
        dc.DrawBitmap(logo, kPictureWidth - 10 - logo.GetWidth(),
                      kPictureHeight - 10 - logo.GetHeight());
}
