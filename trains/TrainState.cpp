// Putting a train on the track.
#include "trains/TrainState.h"

#include <algorithm>

#include "trains/SwitchSettings.h"

TrainState PlaceTrain(const TrackGraph& graph, GraphEnd at, double offsetMm) {
    TrainState state;
    const std::vector<PieceRouteRef> routes = graph.RoutesFrom(at.piece, at.connector);
    // Unset turnouts send trains to connector 1: the settings of a fresh session.
    const PieceRouteRef* route = ChooseRoute(SwitchSettings{}, at.piece, routes);
    if (!route) return state;
    state.step = {at.piece, route->entry, route->exit, route->lengthMm};
    state.alongMm = std::clamp(offsetMm, 0.0, route->lengthMm);
    return state;
}
