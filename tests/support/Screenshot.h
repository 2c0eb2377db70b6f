// Saving what a window looks like, for looking at a window test's result by eye.
#pragma once

class wxWindow;

// Saves `window` as `name` (a PNG) in the folder QUILLMORE_SHOTS names; does nothing when it is
// unset. A hidden window (a dialog answered without showing) is shown for the picture and hidden
// again.
void SaveShot(wxWindow* window, const char* name);
