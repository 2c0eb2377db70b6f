// The print options dialog: scaling, levels, colour and what to include.
#pragma once

#include <wx/dialog.h>

#include "dialogs/PrintOptions.h"

class wxCheckBox;
class wxRadioBox;
class wxSpinCtrl;
class wxStaticText;

class PrintOptionsDialog : public wxDialog {
public:
    PrintOptionsDialog(wxWindow* parent, const PrintOptions& options);

    // The options as the controls show them (also the greyed-out spin fields).
    PrintOptions Options() const;
    // Greys out the spin fields whose scaling is not chosen.
    void UpdateEnabling();

    wxRadioBox* Scaling() const { return scaling; }
    wxRadioBox* Levels() const { return levels; }
    wxRadioBox* Colour() const { return colour; }
    wxSpinCtrl* Denominator() const { return denominator; }
    wxSpinCtrl* Percent() const { return percent; }
    wxCheckBox* Grid() const { return grid; }
    wxCheckBox* Baseboard() const { return baseboard; }

private:
    wxRadioBox* scaling = nullptr;
    wxStaticText* denominatorLabel = nullptr;
    wxSpinCtrl* denominator = nullptr;
    wxStaticText* percentLabel = nullptr;
    wxSpinCtrl* percent = nullptr;
    wxRadioBox* levels = nullptr;
    wxRadioBox* colour = nullptr;
    wxCheckBox* grid = nullptr;
    wxCheckBox* baseboard = nullptr;
    wxCheckBox* pictures = nullptr;
};
