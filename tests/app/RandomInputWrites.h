// The random-input run's watch on written files (RandomInputWrites.cpp).
#pragma once

#include <string>
#include <vector>

// From now on, paths written outside scratchFolder (and outside /dev and /proc) are recorded.
void WatchWrites(const std::string& scratchFolder);
// The writes outside the scratch folder so far ("how path"), at most 20.
std::vector<std::string> WritesOutside();
// The layout files (".xml") written inside the scratch folder since the last call.
std::vector<std::string> TakeWrittenPaths();
