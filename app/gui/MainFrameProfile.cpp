// The height profile command of the main window: opens the profile of the route between the two
// selected pieces, or shows it in the window already open.
#include <wx/menu.h>
#include <wx/msgdlg.h>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "app/gui/MainFrameDialogs.h"
#include "network/gui/HeightProfileWindow.h"

namespace {

void OpenHeightProfile(MainFrame& frame) {
    const LayoutDocument& doc = frame.Document();
    std::vector<uint32_t> selected;
    for (const PlacedPiece& p : doc.pieces) {
        if (p.selected) selected.push_back(p.id);
    }
    if (selected.size() != 2) {
        wxMessageBox(_("Select the two pieces whose route the height profile should show."),
                     _("Height Profile"), wxOK | wxICON_INFORMATION, &frame);
        return;
    }
    if (FindRouteBetween(BuildTrackGraph(doc), selected[0], selected[1]).steps.empty()) {
        wxMessageBox(_("There is no route between the two selected pieces."), _("Height Profile"),
                     wxOK | wxICON_INFORMATION, &frame);
        return;
    }
    if (HeightProfileWindow* open = HeightProfileWindow::Of(&frame)) {
        open->ShowRoute(selected[0], selected[1]);
        open->Raise();
        return;
    }
    (new HeightProfileWindow(&frame, selected[0], selected[1]))->Show();
}

}  // namespace

void BindProfileCommands(MainFrame& frame) {
    if (wxMenuBar* bar = frame.GetMenuBar()) {
        wxMenu* layout = nullptr;
        if (bar->FindItem(kCmdCheckLayout, &layout) && layout) {
            size_t at = 0;
            while (at < layout->GetMenuItemCount() &&
                   layout->FindItemByPosition(at)->GetId() != kCmdCheckLayout)
                ++at;
            layout->Insert(at + 1, kCmdHeightProfile, _("Height &Profile..."));
        }
    }
    frame.Bind(
        wxEVT_MENU, [&frame](wxCommandEvent&) { OpenHeightProfile(frame); }, kCmdHeightProfile);
}
