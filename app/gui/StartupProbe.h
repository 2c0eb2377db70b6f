// Measuring start-up: when the environment gives QUILLMORE_STARTUP_PROBE (the launcher's
// CLOCK_MONOTONIC time in nanoseconds), the program prints on standard output when its main
// window and its splash were first drawn ("window MS" and "splash MS", milliseconds since that
// time) and quits once the splash has been drawn. Otherwise it does nothing.
#pragma once

class wxWindow;
class wxDialog;

// Reports the first paint of `window` as `what`.
void WatchStartupPaint(wxWindow* window, const char* what);
// The splash has drawn its picture: reported, and under the probe the splash closes and the
// program quits.
void StartupSplashDrawn(wxDialog* splash);
