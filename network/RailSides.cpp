// The pairing of a piece's connectors into rails, shared by the reversing-loop check and the
// power plan.
#include "network/RailSides.h"

bool SplitRailSides(const GraphPiece& piece, int n, RailSides* out) {
    std::vector<int>& group = out->group;
    std::vector<int>& side = out->side;
    group.assign(n, -1);
    side.assign(n, 0);
    for (int c = 0; c < n; ++c) {
        if (group[c] >= 0) continue;
        group[c] = c;
        std::vector<int> todo{c};
        while (!todo.empty()) {
            const int at = todo.back();
            todo.pop_back();
            for (const PieceRouteRef& r : piece.routes) {
                if (r.exit < 0 || r.entry < 0 || r.entry >= n || r.exit >= n ||
                    (r.entry != at && r.exit != at))
                    continue;
                const int other = r.entry == at ? r.exit : r.entry;
                if (group[other] < 0) {
                    group[other] = c;
                    side[other] = 1 - side[at];
                    todo.push_back(other);
                } else if (side[other] == side[at]) {
                    return false;
                }
            }
        }
    }
    return true;
}
