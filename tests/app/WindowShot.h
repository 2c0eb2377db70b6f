// Pictures of windows for looking at by eye, copied from each window's own drawing: under Xvfb
// the screen itself may still show an earlier window where this one is.
#pragma once

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/GuiTestSupport.h"

// Saves what `window` shows as `name`.png in the folder QUILLMORE_SHOTS names, menus, toolbar and
// status bar included; does nothing when it is unset.
inline void ShootWindow(wxWindow* window, const std::string& name) {
    const char* folder = std::getenv("QUILLMORE_SHOTS");
    if (!folder || !*folder) return;
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
    bitmap.SaveFile(wxString(folder) + "/" + name + ".png", wxBITMAP_TYPE_PNG);
}
