// Article names in the reader's language.
#include "catalog/ArticleNames.h"

#include <algorithm>
#include <cctype>
#include <regex>
#include <vector>

#include "base/NumberStyle.h"
#include "base/Translate.h"

namespace {

// The words of the catalog's names, longest first so that a phrase wins over its parts.
constexpr const char* kPhrases[] = {
    TR_NOOP("Symmetrical Three-Way Turnout"),
    TR_NOOP("Slim Right Curved Turnout"),
    TR_NOOP("Slim Left Curved Turnout"),
    TR_NOOP("Straight Uncoupler Track"),
    TR_NOOP("Platform Viaduct Bridge"),
    TR_NOOP("Straight Circuit Track"),
    TR_NOOP("Bumper Stop with Light"),
    TR_NOOP("Straight Feeder Track"),
    TR_NOOP("Track End with Bumper"),
    TR_NOOP("Compact Right Turnout"),
    TR_NOOP("Double Viaduct Bridge"),
    TR_NOOP("Curved Viaduct Bridge"),
    TR_NOOP("Concrete Tie Straight"),
    TR_NOOP("Turnout Branch Curve"),
    TR_NOOP("Right Curved Turnout"),
    TR_NOOP("Manual Right Turnout"),
    TR_NOOP("Compact Left Turnout"),
    TR_NOOP("Left Curved Turnout"),
    TR_NOOP("Manual Left Turnout"),
    TR_NOOP("Wide-Angle Crossing"),
    TR_NOOP("Double Track Feeder"),
    TR_NOOP("Slim Right Turnout"),
    TR_NOOP("Double Slip Switch"),
    TR_NOOP("Slim Left Turnout"),
    TR_NOOP("Three-Way Turnout"),
    TR_NOOP("Double Crossover"),
    TR_NOOP("Conversion Track"),
    TR_NOOP("Adjustable Track"),
    TR_NOOP("Connection Curve"),
    TR_NOOP("Uncoupler Track"),
    TR_NOOP("Isolating Track"),
    TR_NOOP("Right Crossover"),
    TR_NOOP("Turntable Track"),
    TR_NOOP("Straight Track"),
    TR_NOOP("Left Crossover"),
    TR_NOOP("Viaduct Bridge"),
    TR_NOOP("Right Crossing"),
    TR_NOOP("Right Turnout"),
    TR_NOOP("Circuit Track"),
    TR_NOOP("Circuit Curve"),
    TR_NOOP("Road Crossing"),
    TR_NOOP("Contact Track"),
    TR_NOOP("Left Crossing"),
    TR_NOOP("Curved Track"),
    TR_NOOP("Left Turnout"),
    TR_NOOP("Track Bumper"),
    TR_NOOP("Truss Bridge"),
    TR_NOOP("Double Track"),
    TR_NOOP("Feeder Track"),
    TR_NOOP("Signal Track"),
    TR_NOOP("Arch Bridge"),
    TR_NOOP("Bumper Stop"),
    TR_NOOP("Outer Curve"),
    TR_NOOP("Wye Turnout"),
    TR_NOOP("Uncoupler"),
    TR_NOOP("Turntable"),
    TR_NOOP("Crossing"),
    TR_NOOP("Straight"),
    TR_NOOP("Open Pit"),
    TR_NOOP("Circuit"),
    TR_NOOP("Spacing"),
    TR_NOOP("Ash Pit"),
    TR_NOOP("Curved"),
    TR_NOOP("Length"),
    TR_NOOP("Curve"),
};

bool Letter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '-'; }

std::string TranslatePhrases(const std::string& name) {
    std::string out;
    for (size_t i = 0; i < name.size();) {
        bool matched = false;
        if (i == 0 || !Letter(name[i - 1])) {
            for (const char* phrase : kPhrases) {
                const size_t n = std::char_traits<char>::length(phrase);
                if (name.compare(i, n, phrase) != 0) continue;
                if (i + n < name.size() && Letter(name[i + n])) continue;
                out += Tr(phrase);
                i += n;
                matched = true;
                break;
            }
        }
        if (!matched) out += name[i++];
    }
    return out;
}

// " (14-3/16)", " (43-7/8")", " / 14-3/16"" and " / 7"": a length in inches after the
// millimetres.
std::string WithoutInches(const std::string& name) {
    static const std::regex inches(R"(\s*(\(\d+(-\d+/\d+)?(/\d+)?"?\)|/\s*\d+(-\d+/\d+)?(/\d+)?"))");
    return std::regex_replace(name, inches, "");
}

}  // namespace

std::string ArticleDisplayName(const std::string& name) {
    std::string text = TranslatePhrases(name);
    if (!CurrentNumberStyle().inchFractions) text = WithoutInches(text);
    return LocalDecimals(text);
}
