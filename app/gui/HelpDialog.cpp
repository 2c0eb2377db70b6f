// The help window.
#include "app/gui/HelpDialog.h"

#include <wx/aboutdlg.h>
#include <wx/accel.h>
#include <wx/button.h>
#include <wx/hyperlink.h>
#include <wx/menu.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <memory>

#include "app/HelpText.h"
#include "app/gui/ResourceImages.h"
#include "base/Translate.h"

namespace {
constexpr int kWrapWidth = 490;

wxStaticText* Paragraph(wxWindow* parent, const std::string& body, const wxFont& font) {
    auto* text =
        new wxStaticText(parent, wxID_ANY, wxControl::EscapeMnemonics(wxString::FromUTF8(body)));
    text->SetFont(font);
    text->Wrap(kWrapWidth);
    return text;
}
}  // namespace

HelpDialog::HelpDialog(wxWindow* parent, AddressOpener openAddress,
                       const std::vector<HelpShortcut>& shortcuts)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(Tr(kHelpTitle)), wxDefaultPosition,
               wxSize(925, 700), wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    const wxImage image = LoadResourceImage(103, 368, 660);
    hasPicture = image.IsOk();
    if (hasPicture) columns->Add(new wxStaticBitmap(this, wxID_ANY, wxBitmap(image)), 0, wxALL, 8);

    text = new wxScrolledWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                wxVSCROLL | wxBORDER_NONE);
    text->SetScrollRate(0, 12);
    text->SetBackgroundColour(GetBackgroundColour());
    const wxFont headingFont(wxFontInfo(11).Family(wxFONTFAMILY_DEFAULT).Bold());
    const wxFont bodyFont(wxFontInfo(10).Family(wxFONTFAMILY_DEFAULT));
    const wxFont tableFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE));
    auto* body = new wxBoxSizer(wxVERTICAL);
    for (const HelpSection& section : HelpSections(shortcuts)) {
        auto* heading = new wxStaticText(text, wxID_ANY, wxString::FromUTF8(section.heading));
        heading->SetFont(headingFont);
        headings.push_back(heading);
        body->Add(heading, 0, wxTOP | wxLEFT, 8);
        if (section.makerLink) {
            auto* row = new wxBoxSizer(wxHORIZONTAL);
            auto* by = new wxStaticText(text, wxID_ANY, _("Quillmore by"));
            by->SetFont(bodyFont);
            row->Add(by, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
            auto* link = new wxHyperlinkCtrl(text, wxID_ANY, "Bramblewick", kMakerWebSite);
            link->Bind(wxEVT_HYPERLINK, [openAddress](wxHyperlinkEvent& event) {
                if (openAddress) openAddress(event.GetURL());
            });
            row->Add(link, 0, wxALIGN_CENTER_VERTICAL);
            body->Add(row, 0, wxLEFT | wxRIGHT | wxTOP, 8);
        }
        if (section.preformatted) {
            std::string lines;
            for (const std::string& line : section.paragraphs) lines += line + "\n";
            auto* table = new wxStaticText(text, wxID_ANY, wxString::FromUTF8(lines));
            table->SetFont(tableFont);
            shortcutTable = table;
            body->Add(table, 0, wxLEFT | wxRIGHT | wxBOTTOM, 8);
            continue;
        }
        for (const std::string& paragraph : section.paragraphs)
            body->Add(Paragraph(text, paragraph, bodyFont), 0,
                      wxALIGN_LEFT | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    }
    text->SetSizer(body);
    text->FitInside();
    columns->Add(text, 1, wxEXPAND);

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(columns, 1, wxEXPAND);
    sizer->Add(new wxButton(this, wxID_OK, _("Close")), 0, wxALIGN_RIGHT | wxALL, 8);
    SetSizer(sizer);
    Layout();
    CentreOnParent();
}

std::vector<wxString> HelpDialog::ShortcutLines() const {
    std::vector<wxString> lines;
    if (!shortcutTable) return lines;
    for (const wxString& line : wxSplit(shortcutTable->GetLabel(), '\n', '\0'))
        if (!line.empty()) lines.push_back(line);
    return lines;
}

namespace {
void AddMenuShortcuts(const wxMenu& menu, const wxString& path, std::vector<HelpShortcut>& rows) {
    for (const wxMenuItem* item : menu.GetMenuItems()) {
        const wxString name = path + " > " + item->GetItemLabelText();
        if (item->GetSubMenu()) {
            AddMenuShortcuts(*item->GetSubMenu(), name, rows);
            continue;
        }
        const std::unique_ptr<wxAcceleratorEntry> accel(item->GetAccel());
        // Named from the English key names as the menus name them ("Entf", not the toolkit's
        // "Löschen").
        if (accel) rows.push_back({KeyNamesAsMenusShowThem(accel->ToRawString().utf8_string()),
                                   name.utf8_string()});
    }
}
}  // namespace

std::vector<HelpShortcut> MenuShortcuts(const wxMenuBar& bar) {
    std::vector<HelpShortcut> rows;
    for (size_t i = 0; i < bar.GetMenuCount(); ++i)
        AddMenuShortcuts(*bar.GetMenu(i), wxStripMenuCodes(bar.GetMenuLabel(i)), rows);
    return rows;
}

std::vector<wxString> HelpDialog::Headings() const {
    std::vector<wxString> texts;
    for (const wxStaticText* heading : headings) texts.push_back(heading->GetLabelText());
    return texts;
}

wxAboutDialogInfo QuillmoreAboutInfo() {
    wxAboutDialogInfo info;
    info.SetName("Quillmore");
    info.SetVersion(kProgramVersion);
    info.SetDescription(
        _("Plans model-railway layouts from real sectional track pieces: snap them together, "
          "check the result in 3D, print it to scale and get the parts list."));
    info.SetWebSite(kMakerWebSite, "Bramblewick");
    return info;
}
