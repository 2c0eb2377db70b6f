// The main window of a window test.
#include "support/FrameFixture.h"

#include <wx/dcmemory.h>
#include <wx/statusbr.h>

#include <cstdlib>

void FrameFixture::OpenFrame(wxSize client) {
    if (const char* h = std::getenv("HOME")) oldHome = h;
    setenv("HOME", home.Path().c_str(), 1);
    frame = new MainFrame();
    frame->Document().EnsureDefaultLevel();
    canvas = frame->Canvas();
    if (client == wxDefaultSize) return;
    frame->SetClientSize(client);
    frame->Show();
    PumpEvents();
}

void FrameFixture::CloseFrame() {
    if (frame) {
        while (canvas->HasCapture()) canvas->ReleaseMouse();
        frame->Destroy();
        frame = nullptr;
    }
    PumpEvents();
    if (!oldHome.empty()) setenv("HOME", oldHome.c_str(), 1);
}

void FrameFixture::Command(int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(frame);
    frame->GetEventHandler()->ProcessEvent(event);
    frame->FlushChanges();
}

bool FrameFixture::Enabled(int id) {
    wxUpdateUIEvent event(id);
    event.SetEventObject(frame);
    frame->GetEventHandler()->ProcessEvent(event);
    return !event.GetSetEnabled() || event.GetEnabled();
}

void FrameFixture::Mouse(wxEventType type, int x, int y) {
    Mouse(type, x, y, type == wxEVT_LEFT_DOWN);
}

void FrameFixture::Mouse(wxEventType type, int x, int y, bool left, bool shift, bool alt) {
    wxMouseEvent e(type);
    e.SetEventObject(canvas);
    e.SetId(canvas->GetId());
    e.SetPosition(wxPoint(x, y));
    e.SetLeftDown(left);
    e.SetShiftDown(shift);
    e.SetAltDown(alt);
    canvas->GetEventHandler()->ProcessEvent(e);
}

void FrameFixture::Click(int x, int y) {
    Mouse(wxEVT_LEFT_DOWN, x, y, true);
    Mouse(wxEVT_LEFT_UP, x, y, false);
}

wxImage FrameFixture::Painted() {
    const wxSize size = canvas->GetClientSize();
    wxBitmap bitmap(size, 24);
    {
        wxMemoryDC dc(bitmap);
        canvas->PaintTo(dc, size.x, size.y);
    }
    return bitmap.ConvertToImage();
}

wxString FrameFixture::Status(int field) { return frame->GetStatusBar()->GetStatusText(field); }
