// The gap closer's vocabulary: the two open ends of a gap, what the search may do, and the chains
// of catalog pieces it finds between them.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "model/LayoutDocument.h"

// An open end of a placed piece: connector `connector` of the piece with id `piece`.
struct GapEnd {
    uint32_t piece = kNoId;
    int connector = -1;
    bool operator==(const GapEnd&) const = default;
};

struct GapOptions {
    double toleranceMm = 0.5;   // the chain's last exit may land this far from end B...
    double toleranceDeg = 0.5;  // ...and turned this far from facing it exactly
    int maxPieces = 10;
    double timeLimitS = 3.0;
    bool useTurnouts = false;    // a turnout may be passed along either leg
    bool allowCrossing = false;  // the chain may cross existing track (never itself)
    // Only pieces the user owns: never more of an article than `stock` holds (absent: none).
    bool limitToStock = false;
    std::map<std::string, int> stock;
    // Polled while searching; set it from another thread to stop the search early.
    const std::atomic<bool>* cancel = nullptr;
    // Called now and then from the searching thread with the share of the work done, 0 to 1.
    std::function<void(double)> progress;
};

// One piece of a chain, entered by connector `entry` and left by connector `exit`.
struct GapStep {
    std::string article;
    int entry = 0;
    int exit = 1;
    bool operator==(const GapStep&) const = default;
};

struct GapSolution {
    std::vector<GapStep> steps;  // in laying order from end A
    double missMm = 0;           // the last exit's distance from end B
    double missDeg = 0;          // its heading's difference from exactly facing end B
};

// The nearest chain a search found when none closed the gap.
struct GapNearMiss {
    bool found = false;
    int pieces = 0;
    double missMm = 0;
    double missDeg = 0;
};

// Everything a search learnt, for the window: the solutions and why there are none.
struct GapSearchResult {
    std::vector<GapSolution> solutions;  // best first, at most kMaxGapSolutions
    std::string error;                   // the ends cannot be joined at all: one sentence
    GapNearMiss nearest;                 // filled when there is no solution
    int searchedPieces = 0;  // every chain of up to this many pieces was examined
    bool timedOut = false;
    bool cancelled = false;
    double firstSolutionS = -1;  // seconds until the first solution was accepted
};

inline constexpr size_t kMaxGapSolutions = 12;
