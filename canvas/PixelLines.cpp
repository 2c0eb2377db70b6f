// Bresenham's lines into a pixel buffer.
#include "canvas/PixelLines.h"

#include <algorithm>
#include <cstdlib>

void DrawPixelLine(PixelTarget& t, int x0, int y0, int x1, int y1, uint32_t word, int width) {
    if (!t.pixels || width < 1) return;
    x0 += t.originX;
    x1 += t.originX;
    y0 += t.originY;
    y1 += t.originY;
    const int lo = -width / 2, hi = (width - 1) / 2;
    // Never past the image, whatever the clip says.
    const int cx0 = std::max(t.clipX0, 0), cx1 = std::min(t.clipX1, t.width);
    const int cy0 = std::max(t.clipY0, 0), cy1 = std::min(t.clipY1, t.height);
    // A line wholly to one side of the clip is not walked.
    if (std::max(x0, x1) + hi < cx0 || std::min(x0, x1) + lo >= cx1 ||
        std::max(y0, y1) + hi < cy0 || std::min(y0, y1) + lo >= cy1)
        return;
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    const bool acrossY = dx >= -dy;  // the width is laid across the shorter axis
    auto plot = [&](int x, int y) {
        for (int o = lo; o <= hi; ++o) {
            const int px = acrossY ? x : x + o, py = acrossY ? y + o : y;
            if (px < cx0 || px >= cx1 || py < cy0 || py >= cy1) continue;
            t.pixels[static_cast<size_t>(py) * static_cast<size_t>(t.stride) +
                     static_cast<size_t>(px)] = word;
        }
    };
    int err = dx + dy;
    for (int x = x0, y = y0;;) {
        plot(x, y);
        if (x == x1 && y == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}
