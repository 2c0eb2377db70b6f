// Numbers in the reader's style.
#include "base/NumberStyle.h"

#include <cctype>
#include <cstdlib>

namespace {
NumberStyle g_style;

bool Digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
}  // namespace

NumberStyle NumberStyleFor(const std::string& language) {
    const bool german = language.rfind("de", 0) == 0;
    return {german, !german};
}

void SetNumberStyle(const NumberStyle& style) { g_style = style; }
const NumberStyle& CurrentNumberStyle() { return g_style; }

std::string LocalDecimals(std::string text) {
    if (!g_style.decimalComma) return text;
    for (size_t i = 1; i + 1 < text.size(); ++i)
        if (text[i] == '.' && Digit(text[i - 1]) && Digit(text[i + 1])) text[i] = ',';
    return text;
}

bool ParseDecimal(std::string_view text, double* value) {
    size_t from = 0, to = text.size();
    while (from < to && std::isspace(static_cast<unsigned char>(text[from]))) ++from;
    while (to > from && std::isspace(static_cast<unsigned char>(text[to - 1]))) --to;
    std::string plain(text.substr(from, to - from));
    int marks = 0, digits = 0;
    for (size_t i = 0; i < plain.size(); ++i) {
        char& c = plain[i];
        if (c == ',' || c == '.') {
            c = '.';
            ++marks;
        } else if (Digit(c)) {
            ++digits;
        } else if (!((c == '-' || c == '+') && i == 0)) {
            return false;
        }
    }
    if (marks > 1 || digits == 0) return false;
    // strtod reads the point: the program keeps the C locale for numbers.
    char* end = nullptr;
    const double parsed = std::strtod(plain.c_str(), &end);
    if (end != plain.c_str() + plain.size()) return false;
    *value = parsed;
    return true;
}
