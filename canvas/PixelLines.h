// Lines written straight into 32-bit pixels: the overview's thousands of short lines, one or
// two pixels wide and not smoothed, which a general path stroker draws many times slower.
#pragma once

#include <cstdint>

#include "model/LayoutDocument.h"

// An image in memory: one 32-bit word per pixel, 0xAARRGGBB, `stride` words from row to row.
// Only pixels inside the clip rectangle (x0 <= x < x1, y0 <= y < y1) are written; `originX`
// and `originY` are the pixel that line coordinate (0, 0) falls on.
struct PixelTarget {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    int clipX0 = 0, clipY0 = 0, clipX1 = 0, clipY1 = 0;
    int originX = 0, originY = 0;
};

// The opaque pixel word of a colour.
inline uint32_t PixelWord(Rgb c) {
    return 0xFF000000u | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | uint32_t{c.b};
}

// The line from (x0, y0) to (x1, y1), both ends included, one pixel per step along its longer
// axis and `width` pixels across it (from -width / 2 to (width - 1) / 2 about the line), so a
// line of a few pixels, or of none (a dot), always shows. What falls outside the clip is left.
void DrawPixelLine(PixelTarget& target, int x0, int y0, int x1, int y1, uint32_t word, int width);
