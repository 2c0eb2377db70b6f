// The separate top-level window of the 3D view.
#pragma once

#include <wx/frame.h>
#include <wx/intl.h>

class LayoutDocument;
class TrackGLCanvas;

class View3DFrame : public wxFrame {
public:
    // In English; the window shows them translated.
    static constexpr const char* kTitle = wxTRANSLATE("3D View - Quillmore");
    static constexpr const char* kStatusText =
        wxTRANSLATE("Left drag: rotate  |  Right drag: pan  |  Scroll: zoom  |  R: reset view");

    // View > Background Pictures: the layout's pictures lying on the baseboard (a check item).
    static constexpr int kCmdShowPictures = 2085;

    View3DFrame(wxWindow* parent, const LayoutDocument& document);

    TrackGLCanvas* Canvas() const { return canvas; }

private:
    TrackGLCanvas* canvas = nullptr;
};
