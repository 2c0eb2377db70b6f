// printf-style formatting into a std::string, for the program's messages and report lines.
#pragma once

#include <string>

// Formats like std::snprintf and returns the whole text, however long. Numbers follow the C
// locale the program keeps for LC_NUMERIC, so decimals always print with a point.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
