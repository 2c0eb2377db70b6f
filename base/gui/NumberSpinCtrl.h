// A number field with arrows that writes and reads the reader's decimal mark: "12,5" under a
// decimal comma, and either mark when typed. The toolkit's own field always writes a point.
#pragma once

#include <wx/spinctrl.h>

class NumberSpinCtrl : public wxSpinCtrlDouble {
public:
    NumberSpinCtrl(wxWindow* parent, wxWindowID id, const wxString& value = wxEmptyString,
                   const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                   long style = wxSP_ARROW_KEYS, double min = 0, double max = 100,
                   double initial = 0, double inc = 1,
                   const wxString& name = wxS("wxSpinCtrlDouble"));

    GTKInputResult GTKInput(double* value) const override;
    bool GTKOutput(wxString* text) const override;

private:
    // The value the arrows and the last accepted text left, whatever the text shows now.
    double HeldValue() const;
};
