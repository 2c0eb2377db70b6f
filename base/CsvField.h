// One field of a comma-separated file, as spreadsheets read it.
#pragma once

#include <string>

// RFC 4180: a field with a comma, quote or line break is quoted, its quotes doubled; any other
// field is written as it is.
std::string CsvField(const std::string& text);
