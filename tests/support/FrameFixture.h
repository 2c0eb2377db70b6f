// A main window of its own for each window test, with HOME in a fresh folder while it is open,
// and the few ways the tests drive it: menu picks, mouse events on the canvas, its painting.
#pragma once

#include <gtest/gtest.h>
#include <wx/image.h>

#include <string>

#include "app/gui/MainFrame.h"
#include "canvas/gui/CanvasPanel.h"
#include "support/DocBuilders.h"
#include "support/GuiTestSupport.h"

class FrameFixture {
protected:
    // Opens the main window with one level; shown at `client` size when a size is given.
    void OpenFrame(wxSize client = wxDefaultSize);
    void CloseFrame();
    LayoutDocument& Doc() { return frame->Document(); }
    // A menu pick as the menu bar sends it, then the change notifications it made.
    void Command(int id);
    bool Enabled(int id);
    // A mouse event on the canvas at window pixel (x, y); the first form holds the left button
    // on a press only.
    void Mouse(wxEventType type, int x, int y);
    void Mouse(wxEventType type, int x, int y, bool left, bool shift = false, bool alt = false);
    void Click(int x, int y);
    // The canvas painted into a bitmap of its size.
    wxImage Painted();
    wxString Status(int field = 0);

    TempDir home;
    MainFrame* frame = nullptr;
    CanvasPanel* canvas = nullptr;

private:
    std::string oldHome;
};

class FrameTest : public testing::Test, public FrameFixture {
protected:
    void SetUp() override { OpenFrame(); }
    void TearDown() override { CloseFrame(); }
};

inline wxColour PixelAt(const wxImage& image, int x, int y) {
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}
