// The layout check's report in text and CSV.
#include "layoutcheck/FindingsReport.h"

#include <algorithm>
#include <cctype>

#include "base/CsvField.h"
#include "base/Format.h"
#include "base/Translate.h"
#include "trackgeometry/Units.h"

namespace {

std::string Number(double v) { return Format("%.2f", v); }

}  // namespace

std::string FindingsReportText(const std::vector<LayoutFinding>& findings,
                               const std::string& layoutName, int ignored) {
    std::string out = LayoutCheckTitle(findings) + "\n";
    if (!layoutName.empty()) out += Format(Tr("Layout: %s").c_str(), layoutName.c_str()) + "\n";
    const int errors = CountFindings(findings, FindingSeverity::Error);
    const int warnings = CountFindings(findings, FindingSeverity::Warning);
    out += (errors == 1 ? Tr("1 error") : Format(Tr("%d errors").c_str(), errors)) + ", " +
           (warnings == 1 ? Tr("1 warning") : Format(Tr("%d warnings").c_str(), warnings));
    if (ignored > 0) out += ", " + Format(Tr("%d ignored").c_str(), ignored);
    out += "\n\n";
    if (findings.empty()) out += Tr("No findings") + "\n";
    for (const LayoutFinding& f : findings)
        out += FindingSeverityName(f.severity) + ": " + f.text + "\n";
    return out;
}

std::string FindingsReportCsv(const std::vector<LayoutFinding>& findings, int units) {
    const std::string unit = UnitName(units);
    // The headings are read by a person in a spreadsheet, so they are in the reader's language.
    std::string out = CsvField(Tr("Severity")) + "," + CsvField(Tr("Kind")) + "," +
                      CsvField(Tr("Finding")) + "," +
                      CsvField(Format(Tr("X (%s)").c_str(), unit.c_str())) + "," +
                      CsvField(Format(Tr("Y (%s)").c_str(), unit.c_str())) + "," +
                      CsvField(Tr("Pieces")) + "\r\n";
    const double factor = UnitFactor(units);
    for (const LayoutFinding& f : findings) {
        std::string ids;
        for (uint32_t id : f.pieces) ids += (ids.empty() ? "" : " ") + std::to_string(id);
        out += CsvField(FindingSeverityName(f.severity)) + "," + CsvField(FindingKindName(f.kind)) +
               "," + CsvField(f.text) + "," + Number(f.x / factor) + "," + Number(f.y / factor) +
               "," + ids + "\r\n";
    }
    return out;
}

bool IsCsvReportName(const std::string& fileName) {
    if (fileName.size() < 4) return false;
    std::string tail = fileName.substr(fileName.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".csv";
}
