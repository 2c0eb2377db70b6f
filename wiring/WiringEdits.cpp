// Edits of the wiring plan, each one undo step.
#include "wiring/WiringEdits.h"

#include <algorithm>

bool AddToWiringPlan(LayoutDocument& doc, const WiringAdditions& additions) {
    WiringPlan plan = doc.wiring;
    bool changed = false;
    for (const RailGap& gap : additions.gaps) {
        auto it = std::find_if(plan.gaps.begin(), plan.gaps.end(), [&](const RailGap& g) {
            return g.piece == gap.piece && g.connector == gap.connector;
        });
        if (it == plan.gaps.end()) {
            plan.gaps.push_back(gap);
            changed = true;
        } else if (it->rails != gap.rails) {
            it->rails = gap.rails;
            changed = true;
        }
    }
    for (const Feeder& f : additions.feeders) {
        if (std::find(plan.feeders.begin(), plan.feeders.end(), f) != plan.feeders.end()) continue;
        plan.feeders.push_back(f);
        changed = true;
    }
    for (const Detector& d : additions.detectors) {
        if (std::any_of(plan.detectors.begin(), plan.detectors.end(),
                        [&](const Detector& x) { return x.piece == d.piece; }))
            continue;
        plan.detectors.push_back(d);
        changed = true;
    }
    if (!changed) return false;
    doc.PushUndo();
    doc.wiring = std::move(plan);
    return true;
}
