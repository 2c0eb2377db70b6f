#include "canvas/CanvasOverlays.h"

#include <algorithm>
#include <set>

std::vector<size_t> OccupiedDetectionLines(const WiringOverlay& wiring,
                                           const std::vector<uint32_t>& occupied) {
    if (occupied.empty()) return {};
    std::set<int> sections;
    for (const WiringOverlay::Line& line : wiring.lines)
        if (line.outlined && line.section >= 0 &&
            std::binary_search(occupied.begin(), occupied.end(), line.piece))
            sections.insert(line.section);
    std::vector<size_t> lit;
    for (size_t i = 0; i < wiring.lines.size(); ++i)
        if (wiring.lines[i].outlined && sections.count(wiring.lines[i].section)) lit.push_back(i);
    return lit;
}
