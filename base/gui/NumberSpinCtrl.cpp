#include "base/gui/NumberSpinCtrl.h"

#include <dlfcn.h>

#include "base/Format.h"
#include "base/NumberStyle.h"

namespace {

// The toolkit is loaded already: the two functions of its spin button that the window class
// does not offer are looked up, not linked.
template <typename Fn>
Fn Toolkit(const char* name) {
    return reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, name));
}

// The spin button keeps its value apart from its text. Reading the value through the window
// class parses the text instead, which is still the old one while the new value is written.
using SpinValueFn = double (*)(void*);
SpinValueFn SpinValue() {
    static const auto fn = Toolkit<SpinValueFn>("gtk_spin_button_get_value");
    return fn;
}

// A numeric spin button lets only digits and the C locale's point be typed or written.
using SetNumericFn = void (*)(void*, int);
SetNumericFn SetNumeric() {
    static const auto fn = Toolkit<SetNumericFn>("gtk_spin_button_set_numeric");
    return fn;
}

}  // namespace

NumberSpinCtrl::NumberSpinCtrl(wxWindow* parent, wxWindowID id, const wxString& value,
                               const wxPoint& pos, const wxSize& size, long style, double min,
                               double max, double initial, double inc, const wxString& name)
    : wxSpinCtrlDouble(parent, id, value, pos, size, style, min, max, initial, inc, name) {
    if (CurrentNumberStyle().decimalComma && SpinValue() && SetNumeric()) {
        SetNumeric()(GetHandle(), 0);
        SetValue(initial);  // written again, with the comma
    }
}

double NumberSpinCtrl::HeldValue() const {
    return SpinValue() ? SpinValue()(GetHandle()) : GetMin();
}

wxSpinCtrlGTKBase::GTKInputResult NumberSpinCtrl::GTKInput(double* value) const {
    const GTKInputResult own = wxSpinCtrlDouble::GTKInput(value);
    if (own != GTKInput_Default || !CurrentNumberStyle().decimalComma || !SpinValue()) return own;
    // Text that is no number keeps the value it had.
    if (!ParseDecimal(GetTextValue().utf8_string(), value)) *value = HeldValue();
    return GTKInput_Converted;
}

bool NumberSpinCtrl::GTKOutput(wxString* text) const {
    if (wxSpinCtrlDouble::GTKOutput(text)) return true;
    if (!CurrentNumberStyle().decimalComma || !SpinValue()) return false;
    *text = wxString::FromUTF8(
        LocalDecimals(Format("%.*f", static_cast<int>(GetDigits()), HeldValue())));
    return true;
}
