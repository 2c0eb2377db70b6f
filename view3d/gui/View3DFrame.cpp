// The 3D view's frame: its title, size, menu, status text and the canvas filling it.
#include "view3d/gui/View3DFrame.h"

#include <wx/menu.h>
#include <wx/sizer.h>

#include "view3d/gui/TrackGLCanvas.h"

View3DFrame::View3DFrame(wxWindow* parent, const LayoutDocument& document)
    : wxFrame(parent, wxID_ANY, wxGetTranslation(kTitle), wxDefaultPosition, wxSize(1000, 700)) {
    auto* view = new wxMenu;
    view->AppendCheckItem(kCmdShowPictures, _("Background &Pictures"),
                          _("Show the layout's background pictures lying on the baseboard"));
    auto* bar = new wxMenuBar;
    bar->Append(view, _("&View"));
    SetMenuBar(bar);
    CreateStatusBar(1);
    SetStatusText(wxGetTranslation(kStatusText));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    canvas = new TrackGLCanvas(this, document);
    sizer->Add(canvas, 1, wxEXPAND);
    SetSizer(sizer);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent& event) { canvas->ShowPictures(event.IsChecked()); },
        kCmdShowPictures);
    // Over the editor, where the user looks, rather than wherever the system puts a new window.
    if (parent)
        CentreOnParent();
    else
        Centre();
}
