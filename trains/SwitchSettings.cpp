// Turnout settings: which leg a train takes and when it runs into a turnout set against it.
#include "trains/SwitchSettings.h"

#include <algorithm>

int SetLeg(const SwitchSettings& switches, uint32_t piece) {
    const auto it = switches.legs.find(piece);
    return it == switches.legs.end() ? 1 : it->second;
}

const PieceRouteRef* ChooseRoute(const SwitchSettings& switches, uint32_t piece,
                                 const std::vector<PieceRouteRef>& routes) {
    if (routes.empty()) return nullptr;
    if (routes.size() == 1) return &routes.front();
    const int leg = SetLeg(switches, piece);
    for (const PieceRouteRef& r : routes)
        if (r.exit == leg) return &r;
    return &routes.front();
}

bool EntersAgainstSwitch(const TrackGraph& graph, const SwitchSettings& switches, uint32_t piece,
                         int entry) {
    const std::vector<PieceRouteRef> in = graph.RoutesFrom(piece, entry);
    if (in.size() != 1 || in.front().exit == kBufferEnd) return false;
    const std::vector<PieceRouteRef> fan = graph.RoutesFrom(piece, in.front().exit);
    if (fan.size() < 2) return false;
    const PieceRouteRef* taken = ChooseRoute(switches, piece, fan);
    return taken && taken->exit != entry;
}

std::vector<int> SwitchableLegs(const TrackGraph& graph, uint32_t piece) {
    std::vector<int> legs;
    const int connectors = graph.ConnectorCount(piece);
    for (int entry = 0; entry < connectors; ++entry) {
        const std::vector<PieceRouteRef> routes = graph.RoutesFrom(piece, entry);
        if (routes.size() < 2) continue;
        for (const PieceRouteRef& r : routes)
            if (r.exit != kBufferEnd && std::find(legs.begin(), legs.end(), r.exit) == legs.end())
                legs.push_back(r.exit);
    }
    std::sort(legs.begin(), legs.end());
    return legs;
}

bool ThrowSwitch(const TrackGraph& graph, SwitchSettings& switches, uint32_t piece) {
    const std::vector<int> legs = SwitchableLegs(graph, piece);
    if (legs.size() < 2) return false;
    const int now = SetLeg(switches, piece);
    const auto it = std::upper_bound(legs.begin(), legs.end(), now);
    switches.legs[piece] = it == legs.end() ? legs.front() : *it;
    return true;
}

std::vector<PieceRouteRef> SetRoutes(const TrackGraph& graph, const SwitchSettings& switches,
                                     uint32_t piece) {
    std::vector<PieceRouteRef> out;
    const int connectors = graph.ConnectorCount(piece);
    for (int entry = 0; entry < connectors; ++entry) {
        const std::vector<PieceRouteRef> routes = graph.RoutesFrom(piece, entry);
        if (routes.size() < 2) continue;
        if (const PieceRouteRef* r = ChooseRoute(switches, piece, routes)) out.push_back(*r);
    }
    return out;
}
