// Placing a window beside what it must not hide.
#include "gapclose/PlaceBeside.h"

#include <algorithm>

namespace {

// Moves `box` inside `area` as far as it fits (its top-left corner wins when it is larger).
ScreenBox Inside(ScreenBox box, const ScreenBox& area) {
    box.x = std::max(area.x, std::min(box.x, area.x + area.width - box.width));
    box.y = std::max(area.y, std::min(box.y, area.y + area.height - box.height));
    return box;
}

long long Overlap(const ScreenBox& a, const ScreenBox& b) {
    const long long w = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const long long h = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

bool Contains(const ScreenBox& area, const ScreenBox& box) {
    return box.x >= area.x && box.y >= area.y && box.x + box.width <= area.x + area.width &&
           box.y + box.height <= area.y + area.height;
}

}  // namespace

ScreenBox PlaceBeside(const ScreenBox& keepClear, int width, int height, const ScreenBox& area,
                      int gap) {
    const ScreenBox& k = keepClear;
    const int midX = k.x + k.width / 2 - width / 2;
    const int midY = k.y + k.height / 2 - height / 2;
    const ScreenBox sides[] = {
        {k.x + k.width + gap, midY, width, height},   // right
        {k.x - gap - width, midY, width, height},     // left
        {midX, k.y + k.height + gap, width, height},  // below
        {midX, k.y - gap - height, width, height},    // above
    };
    ScreenBox best = Inside(sides[0], area);
    long long bestCover = -1;
    for (const ScreenBox& side : sides) {
        // Slid into the screen; a side that then still leaves the ends free wins at once.
        const ScreenBox moved = Inside(side, area);
        const long long cover = Overlap(moved, k);
        if (Contains(area, moved) && cover == 0) return moved;
        if (bestCover < 0 || cover < bestCover) {
            best = moved;
            bestCover = cover;
        }
    }
    return best;
}
