// The electrical check of a wiring plan: the sections the gaps cut the track into, the district
// each is fed by, and what goes wrong when the layout is switched on (shorts, boosters bridged,
// dead track, too few feeders, reversing sections too short, detection that cannot work).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"
#include "network/TrackGraph.h"
#include "wiring/WiringPlan.h"

struct WiringOptions {
    // Track allowed per feeder: the usual advice is a feeder every 2 m in H0 and every 1 m in Z
    // (and N).
    double feederSpacingH0Mm = 2000;
    double feederSpacingZMm = 1000;
    // The longest train that runs; 0 takes the longest ready-made train of the track's scale
    // with `presetCars` cars.
    double longestTrainMm = 0;
    int presetCars = 3;
};

// Connected track with no gap inside: every piece of it is live at the same time.
struct Section {
    std::vector<uint32_t> pieces;  // in document order
    double lengthMm = 0;
    std::vector<Feeder> feeders;
    uint32_t district = kNoId;  // the district feeding it, through its own or a neighbour's feeder
    int detector = 0;           // contact number; 0 when it is no detection section
    bool twoRail = false;
    // Both rails gapped at every end and needed to turn trains round: it must be switched by a
    // reverser.
    bool reversing = false;
};

enum class WiringFindingKind : int32_t {
    ShortCircuit = 0,
    BoostersMeet,
    Unfed,
    FeederSpacing,
    ReversingSectionShort,
    MixedRails,
    UnknownPiece,
};

struct WiringFinding {
    WiringFindingKind kind = WiringFindingKind::ShortCircuit;
    std::vector<uint32_t> pieces;
    double x = 0;  // where, layout mm
    double y = 0;
    std::string text;
    bool operator==(const WiringFinding&) const = default;
};

struct WiringAnalysis {
    std::vector<Section> sections;  // ordered by their first piece in the document
    std::vector<WiringFinding> findings;
    // Index into `sections` of each piece of the graph, by its index in graph.Pieces().
    std::vector<int> sectionOfPiece;
    // The section holding the piece, or null.
    const Section* SectionOf(const TrackGraph& graph, uint32_t piece) const;
};

WiringAnalysis AnalyseWiring(const LayoutDocument& doc, const TrackGraph& graph,
                             const WiringOptions& options);

// "Short circuit", "Boosters meet", ... as the Wiring window names the kind.
std::string WiringFindingKindName(WiringFindingKind kind);

// The length of the longest train the options stand for at a scale (87 for H0, 220 for Z).
double LongestTrainMm(const WiringOptions& options, int scale);
