// The 3D view's frame: its title, size, status text and the canvas filling it.
#include "view3d/gui/View3DFrame.h"

#include <wx/sizer.h>

#include "view3d/gui/TrackGLCanvas.h"

View3DFrame::View3DFrame(wxWindow* parent, const LayoutDocument& document)
    : wxFrame(parent, wxID_ANY, wxGetTranslation(kTitle), wxDefaultPosition, wxSize(1000, 700)) {
    CreateStatusBar(1);
    SetStatusText(wxGetTranslation(kStatusText));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    canvas = new TrackGLCanvas(this, document);
    sizer->Add(canvas, 1, wxEXPAND);
    SetSizer(sizer);
    // Over the editor, where the user looks, rather than wherever the system puts a new window.
    if (parent)
        CentreOnParent();
    else
        Centre();
}
