// Start-up times for the start-up benchmark.
#include "app/gui/StartupProbe.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/window.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

namespace {

// The launcher's clock reading, or a negative number when there is no probe.
double ProbeStartNs() {
    static const double start = [] {
        const char* text = std::getenv("QUILLMORE_STARTUP_PROBE");
        if (!text || !*text) return -1.0;
        char* end = nullptr;
        const double ns = std::strtod(text, &end);
        return end && *end == '\0' && ns >= 0 ? ns : -1.0;
    }();
    return start;
}

// The splash under the probe, once drawn, and whether the main window was drawn too: the
// program quits when both were.
wxDialog* drawnSplash = nullptr;
bool windowDrawn = false;

void QuitWhenBothDrawn() {
    if (!drawnSplash || !windowDrawn) return;
    wxDialog* splash = drawnSplash;
    drawnSplash = nullptr;
    // The splash is a child of the main window that lives on the stack until its modal loop
    // returns: the main window closes only once the splash is gone.
    splash->Bind(wxEVT_DESTROY, [splash](wxWindowDestroyEvent& event) {
        event.Skip();
        if (event.GetEventObject() != splash) return;
        wxTheApp->CallAfter([] {
            if (wxWindow* top = wxTheApp->GetTopWindow()) top->Close(true);
        });
    });
    splash->CallAfter([splash] {
        if (splash->IsModal()) splash->EndModal(wxID_OK);
    });
}

void Report(const char* what) {
    const double start = ProbeStartNs();
    if (start < 0) return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const double ns = static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
    std::printf("%s %.1f\n", what, (ns - start) / 1e6);
    std::fflush(stdout);
}

}  // namespace

void WatchStartupPaint(wxWindow* window, const char* what) {
    if (ProbeStartNs() < 0 || !window) return;
    auto reported = std::make_shared<bool>(false);
    const std::string name = what;
    window->Bind(wxEVT_PAINT, [reported, name](wxPaintEvent& event) {
        event.Skip();  // the window paints as it always does
        if (*reported) return;
        *reported = true;
        Report(name.c_str());
        windowDrawn = true;
        QuitWhenBothDrawn();
    });
}

void StartupSplashDrawn(wxDialog* splash) {
    static bool reported = false;
    if (ProbeStartNs() < 0 || reported) return;
    reported = true;
    Report("splash");
    drawnSplash = splash;
    QuitWhenBothDrawn();
}
