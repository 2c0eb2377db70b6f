// The 3D View command: opens the 3D window or raises it, and keeps it in step with the layout.
#include "app/gui/MainFrame.h"
#include "trains/gui/TrainsWindow.h"
#include "view3d/gui/TrackGLCanvas.h"
#include "view3d/gui/View3DFrame.h"

namespace {
// Changes that alter what the 3D view shows; a new or opened layout (File) replaces everything.
constexpr DocChange kSceneChanges = DocChange::Pieces | DocChange::Placement | DocChange::Scenery |
                                    DocChange::Levels | DocChange::File;
}  // namespace

void MainFrame::OnView3D(wxCommandEvent&) {
    if (view3D) {
        view3D->Canvas()->Rebuild();
        view3D->Raise();
        return;
    }
    view3D = new View3DFrame(this, document);
    if (trainsWindow) view3D->Canvas()->SetTrains(&trainsWindow->Session(), trainsWindow->Watched());
    // Drags notify on every mouse move: the canvas merges the requests into its next paint.
    view3DListener = AddChangeListener([this](DocChange what) {
        if (view3D && HasAny(what, kSceneChanges)) view3D->Canvas()->RequestRebuild();
        if (view3D && HasAny(what, DocChange::Pictures)) view3D->Canvas()->PicturesChanged();
    });
    view3D->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        RemoveChangeListener(view3DListener);
        view3D = nullptr;
        event.Skip();  // the close goes on and destroys the window
    });
    view3D->Show();
}
