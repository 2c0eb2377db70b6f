// Proposals for the wiring plan: the gaps of reversing sections, the feeders every section needs
// and a detection section per stretch of track. Each returns what to add; AddToWiringPlan
// (WiringEdits.h) adds it as one undo step.
#pragma once

#include <vector>

#include "model/LayoutDocument.h"
#include "network/TrackGraph.h"
#include "wiring/WiringAnalysis.h"
#include "wiring/WiringPlan.h"

// What a proposal adds to the plan.
struct WiringAdditions {
    std::vector<RailGap> gaps;
    std::vector<Feeder> feeders;
    std::vector<Detector> detectors;
    bool Empty() const { return gaps.empty() && feeders.empty() && detectors.empty(); }
};

// For each two-rail loop that joins the rails: a reversing section inside it, both rails gapped
// at both ends, longer than the longest train, on plain track as far from turnouts as the loop
// allows.
std::vector<RailGap> ProposeReversingGaps(const LayoutDocument& doc, const TrackGraph& graph,
                                          const WiringOptions& options);

// At least one feeder per section and one per feeder spacing of its track, spread along it, in
// the district already feeding the section (else the first district, else none).
std::vector<Feeder> ProposeFeeders(const LayoutDocument& doc, const TrackGraph& graph,
                                   const WiringOptions& options);

// One detection section per stretch of plain track between turnouts and open ends: a gap in one
// rail (always the same rail) where the stretch meets a turnout, and a detector numbered after
// the plan's highest.
WiringAdditions ProposeBlocks(const LayoutDocument& doc, const TrackGraph& graph);
