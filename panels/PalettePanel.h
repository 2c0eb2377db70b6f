// The left panel: track systems, catalog pieces, library blocks, scenery and signals to place.
#pragma once

#include <wx/panel.h>

#include <vector>

class MainFrame;
struct PlacedPiece;

class PalettePanel : public wxPanel {
public:
    PalettePanel(wxWindow* parent, MainFrame* frame);

    // Fills every list once the main window has laid out its panels.
    void PopulateLists();
    // Refills the Library list (after a block was saved).
    void RefreshLibrary();
    // Switches the track-system choice to a system the freshly opened layout uses.
    void SelectSystemForLayout(const std::vector<PlacedPiece>& pieces);

private:
    MainFrame* frame = nullptr;
};
