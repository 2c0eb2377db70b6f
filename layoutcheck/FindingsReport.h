// The findings of the layout check written out for keeping or sharing: plain text to read, or
// CSV for a spreadsheet.
#pragma once

#include <string>
#include <vector>

#include "layoutcheck/LayoutCheck.h"

// The title line, the layout's name, the counts (and how many findings are ignored), then one
// line per finding: "Error: <text>".
std::string FindingsReportText(const std::vector<LayoutFinding>& findings,
                               const std::string& layoutName, int ignored);
// A header row, then one row per finding: severity, kind, text, position in the layout's units
// and the ids of the pieces; fields quoted where they must be.
std::string FindingsReportCsv(const std::vector<LayoutFinding>& findings, int units);
// CSV when the file name ends in ".csv" (any case), else text.
bool IsCsvReportName(const std::string& fileName);
