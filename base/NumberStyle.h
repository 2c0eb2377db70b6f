// How numbers read in the reader's language: a decimal comma or point, and whether lengths in
// inches are also given as fractions. Files always keep the point; only what windows show
// follows the style.
#pragma once

#include <string>
#include <string_view>

struct NumberStyle {
    bool decimalComma = false;  // "12,5 mm" (German) rather than "12.5 mm"
    bool inchFractions = true;  // article names keep "(14-3/16")"
};

// The style of a language ("de", "en"): German writes a decimal comma and no inch fractions.
NumberStyle NumberStyleFor(const std::string& language);
// Set once at start-up with the language, before any window; English until then.
void SetNumberStyle(const NumberStyle& style);
const NumberStyle& CurrentNumberStyle();

// The text with every decimal point that stands between two digits written as the style's
// decimal mark ("R2=437.5mm" → "R2=437,5mm" under a decimal comma).
std::string LocalDecimals(std::string text);
// A number as typed: a decimal comma or point, blanks around it; false for anything else
// (several marks, letters, nothing). `value` is left alone then.
bool ParseDecimal(std::string_view text, double* value);
