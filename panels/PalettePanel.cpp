// The left panel of the main window.
#include "panels/PalettePanel.h"

#include "model/LayoutDocument.h"

PalettePanel::PalettePanel(wxWindow* parent, MainFrame* owner)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxNO_BORDER),
      frame(owner) {}

void PalettePanel::PopulateLists() {}

void PalettePanel::RefreshLibrary() {}

void PalettePanel::SelectSystemForLayout(const std::vector<PlacedPiece>&) {}
