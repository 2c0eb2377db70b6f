// The print options dialog.
#include "dialogs/gui/PrintOptionsDialog.h"

#include <wx/checkbox.h>
#include <wx/intl.h>
#include <wx/radiobox.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

PrintOptionsDialog::PrintOptionsDialog(wxWindow* parent, const PrintOptions& o)
    : wxDialog(parent, wxID_ANY, _("Print Options")) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    const wxString scalings[] = {_("Fit to page"), _("Actual scale 1 : N"), _("Custom percentage")};
    scaling = new wxRadioBox(this, wxID_ANY, _("Scaling"), wxDefaultPosition, wxDefaultSize, 3,
                             scalings, 1, wxRA_SPECIFY_COLS);
    scaling->SetSelection(o.scaling >= 0 && o.scaling <= 2 ? o.scaling : 0);
    top->Add(scaling, 0, wxEXPAND | wxALL, 8);

    auto* denominatorRow = new wxBoxSizer(wxHORIZONTAL);
    denominatorLabel = new wxStaticText(this, wxID_ANY, "    1 :");
    denominator = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                 wxSP_ARROW_KEYS, 1, 1000, o.scaleDenominator);
    denominatorRow->Add(denominatorLabel, 0, wxALIGN_CENTER_VERTICAL);
    denominatorRow->Add(denominator, 0, wxLEFT | wxRIGHT, 4);
    denominatorRow->Add(
        new wxStaticText(this, wxID_ANY, _("  (e.g. 1:10 -- 10 mm on layout = 1 mm on paper)")), 0,
        wxALIGN_CENTER_VERTICAL);
    top->Add(denominatorRow, 0, wxLEFT | wxRIGHT | wxBOTTOM, 8);

    auto* percentRow = new wxBoxSizer(wxHORIZONTAL);
    percentLabel = new wxStaticText(this, wxID_ANY, _("    Scale:"));
    percent = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                             wxSP_ARROW_KEYS, 1, 1000, o.percent);
    percentRow->Add(percentLabel, 0, wxALIGN_CENTER_VERTICAL);
    percentRow->Add(percent, 0, wxLEFT | wxRIGHT, 4);
    percentRow->Add(new wxStaticText(this, wxID_ANY, "  %"), 0, wxALIGN_CENTER_VERTICAL);
    top->Add(percentRow, 0, wxLEFT | wxRIGHT | wxBOTTOM, 8);

    const wxString levelChoices[] = {_("Active level only"), _("All levels (composite)")};
    levels = new wxRadioBox(this, wxID_ANY, _("Levels"), wxDefaultPosition, wxDefaultSize, 2,
                            levelChoices, 1, wxRA_SPECIFY_COLS);
    levels->SetSelection(o.levels == 1 ? 1 : 0);
    top->Add(levels, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);

    const wxString colours[] = {_("Color"), _("Grayscale")};
    colour = new wxRadioBox(this, wxID_ANY, _("Color"), wxDefaultPosition, wxDefaultSize, 2,
                            colours, 2, wxRA_SPECIFY_COLS);
    colour->SetSelection(o.colourMode == 1 ? 1 : 0);
    top->Add(colour, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);

    auto* include = new wxStaticBoxSizer(wxVERTICAL, this, _("Include"));
    grid = new wxCheckBox(include->GetStaticBox(), wxID_ANY, _("Grid"));
    grid->SetValue(o.grid);
    baseboard = new wxCheckBox(include->GetStaticBox(), wxID_ANY, _("Baseboard outline"));
    baseboard->SetValue(o.baseboard);
    include->Add(grid, 0, wxALL, 4);
    include->Add(baseboard, 0, wxALL, 4);
    pictures = new wxCheckBox(include->GetStaticBox(), wxID_ANY, _("Include background pictures"));
    pictures->SetValue(o.pictures);
    include->Add(pictures, 0, wxALL, 4);
    top->Add(include, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(top);
    CentreOnParent();

    UpdateEnabling();
    scaling->Bind(wxEVT_RADIOBOX, [this](wxCommandEvent&) { UpdateEnabling(); });
}

void PrintOptionsDialog::UpdateEnabling() {
    const int chosen = scaling->GetSelection();
    denominatorLabel->Enable(chosen == 1);
    denominator->Enable(chosen == 1);
    percentLabel->Enable(chosen == 2);
    percent->Enable(chosen == 2);
}

PrintOptions PrintOptionsDialog::Options() const {
    PrintOptions o;
    o.scaling = scaling->GetSelection();
    o.scaleDenominator = denominator->GetValue();
    o.percent = percent->GetValue();
    o.levels = levels->GetSelection();
    o.colourMode = colour->GetSelection();
    o.grid = grid->GetValue();
    o.baseboard = baseboard->GetValue();
    o.pictures = pictures->GetValue();
    return o;
}
