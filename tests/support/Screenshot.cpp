#include "support/Screenshot.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/window.h>

#include <cstdlib>
#include <string>

#include "support/GuiTestSupport.h"

void SaveShot(wxWindow* window, const char* name) {
    const char* folder = std::getenv("QUILLMORE_SHOTS");
    if (!folder || !*folder) return;
    const bool wasShown = window->IsShown();
    window->Show();
    window->Raise();
    PumpUntil([window] { return window->IsShownOnScreen(); });
    window->Refresh();
    window->Update();
    PumpEvents(1000);
    const wxRect rect = window->GetScreenRect();
    wxBitmap bitmap(rect.GetSize(), 24);
    {
        wxMemoryDC memory(bitmap);
        wxScreenDC screen;
        memory.Blit(0, 0, rect.width, rect.height, &screen, rect.x, rect.y);
    }
    bitmap.SaveFile(std::string(folder) + "/" + name, wxBITMAP_TYPE_PNG);
    if (!wasShown) window->Hide();
}
