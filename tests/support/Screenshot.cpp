#include "support/Screenshot.h"

#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/window.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "support/GuiTestSupport.h"

void SaveShot(wxWindow* window, const std::string& name) {
    const char* folder = std::getenv("QUILLMORE_SHOTS");
    if (!folder || !*folder) return;
    std::error_code made;
    std::filesystem::create_directories(folder, made);  // a folder not there yet is made
    const bool wasShown = window->IsShown();
    window->Show();
    window->Raise();
    PumpUntil([window] { return window->IsShownOnScreen(); });
    window->Refresh();
    window->Update();
    PumpEvents(300);
    std::vector<wxWindow*> parts{window};
    if (window->IsTopLevel()) {
        for (wxWindow* child : window->GetChildren())
            if (child->IsShown() && !child->IsTopLevel()) parts.push_back(child);
        if (auto* frame = dynamic_cast<wxFrame*>(window);
            frame && frame->GetMenuBar() &&
            std::find(parts.begin(), parts.end(), frame->GetMenuBar()) == parts.end())
            parts.push_back(frame->GetMenuBar());
    }
    const wxPoint origin = window->GetScreenPosition();
    wxBitmap bitmap(window->GetSize(), 24);
    {
        wxMemoryDC memory(bitmap);
        memory.SetBackground(*wxWHITE_BRUSH);
        memory.Clear();
        for (wxWindow* part : parts) {
            wxWindowDC from(part);
            const wxPoint at = part == window ? wxPoint() : part->GetScreenPosition() - origin;
            memory.Blit(at.x, at.y, part->GetSize().x, part->GetSize().y, &from, 0, 0);
        }
    }
    bitmap.SaveFile(std::string(folder) + "/" + name, wxBITMAP_TYPE_PNG);
    if (!wasShown) window->Hide();
}
