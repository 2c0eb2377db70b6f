// Where a window goes so that it leaves a part of the screen in sight: the gap closer's window
// beside the two ends it joins, not over them and the chain drawn between them.
#pragma once

// A rectangle of screen pixels.
struct ScreenBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The top-left corner for a window of width × height next to `keepClear`, `gap` pixels off it:
// to its right, left, below or above, the first side where the window fits inside `area`; when
// none does, the side where the window, pushed inside `area`, covers least of `keepClear`.
ScreenBox PlaceBeside(const ScreenBox& keepClear, int width, int height, const ScreenBox& area,
                      int gap = 16);
