// Suggested layouts: complete, buildable track plans of a few kinds that fit a board, made from
// the catalog or from the pieces in the owner's box, best first.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"
#include "trackbox/TrackBox.h"

enum class SuggestKind : int32_t {
    Oval = 0,
    OvalWithStation,  // a passing loop and a siding
    DoubleOval,       // two ovals with crossovers
    FigureEight,
    DogBone,
    PointToPoint,    // a run-round loop at each end
    ShelfSwitching,  // sidings on a narrow shelf
};

struct LayoutSuggestion;

struct SuggestOptions {
    TrackSystem system = TrackSystem::MarklinC;
    // The board's outline; when empty, a rectangle of widthMm by depthMm.
    std::vector<PointMm> board;
    double widthMm = 1800;
    double depthMm = 900;
    double marginMm = 30;  // no piece comes closer to the board's edge
    std::vector<SuggestKind> kinds = {SuggestKind::Oval,          SuggestKind::OvalWithStation,
                                      SuggestKind::DoubleOval,    SuggestKind::FigureEight,
                                      SuggestKind::DogBone,       SuggestKind::PointToPoint,
                                      SuggestKind::ShelfSwitching};
    double minRadiusMm = 0;     // no curve tighter than this (0: any)
    bool onlyOwned = false;     // never more of an article than the box holds
    double longestTrainMm = 0;  // station and loop tracks at least this long (0: any)
    int maxResults = 12;
    double timeLimitS = 10;
    // Polled between candidates; set it from another thread to stop early.
    const std::atomic<bool>* cancel = nullptr;
    // Called from the searching thread with each layout as it is taken (before the final order),
    // so a window can show them as they come.
    std::function<void(const LayoutSuggestion&)> found;
    // Called from the searching thread with the share of the search done, rising from 0 to 1
    // (1 once the search ends, cancelled or not).
    std::function<void(double)> progress;
};

struct LayoutSuggestion {
    LayoutDocument layout;  // the track on the board, the board as its baseboard
    std::string kind;       // "Oval", "Oval with station", ...
    double trackLengthMm = 0;
    int pieceCount = 0;
    double smallestRadiusMm = 0;
    double longestStationTrackMm = 0;  // the longest passing loop or siding, 0 without one
    int piecesToBuy = 0;               // beyond what the box holds (all of them without a box)
    double score = 0;
};

// The track systems suggestions are made for, in the order a window offers them.
std::vector<TrackSystem> SuggestSystems();

// The name a kind is shown by, in English ("Oval", ...); pass it through Tr for a reader.
std::string SuggestKindName(SuggestKind kind);

// Distinct layouts (not the same plan turned, mirrored or with a straight elsewhere), best first,
// at most options.maxResults; the same input always gives the same list. `box` may be null.
std::vector<LayoutSuggestion> SuggestLayouts(const SuggestOptions& options, const TrackBox* box);

// The smallest rectangular board (width and depth, mm) that holds the smallest layout of the kinds
// chosen, margin included; 0 by 0 when the system has no suitable track.
PointMm SmallestSuggestBoard(const SuggestOptions& options);
// "The smallest board that would do is 800 × 800 mm." in the reader's language.
std::string SmallestBoardSentence(const SuggestOptions& options);
