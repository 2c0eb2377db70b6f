// How to print: the choices of the print options dialog, kept by the main window for the run.
#pragma once

#include <cstdint>

struct PrintOptions {
    int32_t scaling = 0;            // 0 fit to page, 1 actual scale 1 : N, 2 custom percentage
    int32_t scaleDenominator = 10;  // N, 1..1000
    int32_t percent = 100;          // of the fitted size, 1..1000
    int32_t levels = 0;             // 0 active level only, 1 all levels
    int32_t colourMode = 0;         // 0 colour, 1 grayscale
    bool grid = false;
    bool baseboard = true;
    bool pictures = false;  // the background pictures (prints, PDF pages and picture exports)
};
