// Saving what a window looks like, for looking at a window test's result by eye.
#pragma once

#include <string>

class wxWindow;

// Saves `window` as `name` (a PNG) in the folder QUILLMORE_SHOTS names; does nothing when it is
// unset. The picture is copied from the window's own drawing, with a frame's menus, toolbar and
// status bar: under Xvfb the screen may still show an earlier window where this one is. A hidden
// window (a dialog answered without showing) is shown for the picture and hidden again.
void SaveShot(wxWindow* window, const std::string& name);
