// Running a train over the network's one step at a time, and turning it round.
#include "trains/AdvanceTrain.h"

#include <algorithm>

#include "trains/TrackBehind.h"

namespace {

// The steps kept behind a train: more than any train is long, so its vehicles follow the way it
// came, not the way the turnouts are set now.
constexpr double kTrailKeepMm = 8000.0;
constexpr size_t kMaxSteps = 1000000;

void KeepTrail(std::vector<RouteStep>& trail) {
    double total = 0;
    size_t keep = trail.size();
    while (keep > 0 && total < kTrailKeepMm) total += trail[--keep].lengthMm;
    if (keep > 0) trail.erase(trail.begin(), trail.begin() + static_cast<std::ptrdiff_t>(keep));
}

StopReason FromStepStop(StepStop stop) {
    switch (stop) {
        case StepStop::BufferStop:
            return StopReason::BufferStop;
        case StepStop::AgainstTurnout:
            return StopReason::AgainstSwitch;
        default:
            return StopReason::OpenEnd;
    }
}

RouteStep Reversed(const RouteStep& s) { return {s.piece, s.exit, s.entry, s.lengthMm}; }

}  // namespace

std::string StopReasonName(StopReason reason) {
    switch (reason) {
        case StopReason::None:
            return "";
        case StopReason::BufferStop:
            return StepStopName(StepStop::BufferStop);
        case StopReason::OpenEnd:
            return StepStopName(StepStop::OpenEnd);
        case StopReason::AgainstSwitch:
            return StepStopName(StepStop::AgainstTurnout);
    }
    return "";
}

AdvanceResult AdvanceTrain(const TrackGraph& graph, const SwitchSettings& switches,
                           TrainState& state, double distanceMm) {
    AdvanceResult result;
    if (!state.Valid() || !graph.Find(state.step.piece)) {
        result.reason = StopReason::OpenEnd;
        return result;
    }
    double remaining = std::max(distanceMm, 0.0);
    size_t steps = 0;
    for (;;) {
        const double room = std::max(state.step.lengthMm - state.alongMm, 0.0);
        if (remaining <= room) {
            state.alongMm += remaining;
            result.movedMm += remaining;
            return result;
        }
        // The head reaches the end of its step: the rest of the distance lies beyond it.
        state.alongMm = state.step.lengthMm;
        result.movedMm += room;
        remaining -= room;
        const TrackStep next = StepFrom(graph, {state.step.piece, state.step.exit});
        if (next.stop != StepStop::None) {
            result.reason = FromStepStop(next.stop);
            return result;
        }
        if (EntersAgainstSwitch(graph, switches, next.entered.piece, next.entered.connector)) {
            result.reason = StopReason::AgainstSwitch;
            return result;
        }
        const PieceRouteRef* route = ChooseRoute(switches, next.entered.piece, next.routes);
        if (!route) {
            result.reason = StopReason::OpenEnd;
            return result;
        }
        state.trail.push_back(state.step);
        KeepTrail(state.trail);
        state.step = {next.entered.piece, route->entry, route->exit, route->lengthMm};
        state.alongMm = 0;
        // A circle of routes without length would never use up the distance.
        if (++steps > kMaxSteps) return result;
    }
}

void ReverseTrain(const TrackGraph& graph, TrainState& state, const TrainSpec& consist) {
    if (!state.Valid()) return;
    TrackBehind behind(graph, state);
    const TrackBehind::Place tail = behind.Locate(TrainLengthMm(consist));
    const std::vector<RouteStep>& steps = behind.Steps();
    TrainState turned;
    turned.reversed = !state.reversed;
    turned.step = Reversed(steps[tail.step]);
    turned.alongMm = std::clamp(steps[tail.step].lengthMm - tail.alongMm, 0.0,
                                steps[tail.step].lengthMm);
    // Behind the new head lie the steps between it and the old head, the nearest last.
    for (size_t k = 0; k < tail.step; ++k) turned.trail.push_back(Reversed(steps[k]));
    state = std::move(turned);
}

LinePose HeadPose(const TrackGraph& graph, const TrainState& state) {
    return PoseAt(StepLine(graph, state.step.piece, state.step.entry, state.step.exit),
                  state.alongMm);
}

LinePose PoseAhead(const TrackGraph& graph, const SwitchSettings& switches,
                   const TrainState& state, double distanceMm) {
    TrainState probe;
    probe.step = state.step;
    probe.alongMm = state.alongMm;
    AdvanceTrain(graph, switches, probe, distanceMm);
    return HeadPose(graph, probe);
}
