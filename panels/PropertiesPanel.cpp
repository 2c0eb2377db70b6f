// The right panel of the main window.
#include "panels/PropertiesPanel.h"

PropertiesPanel::PropertiesPanel(wxWindow* parent, MainFrame* owner)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxNO_BORDER),
      frame(owner) {}

void PropertiesPanel::RefreshSelection() {}

void PropertiesPanel::RefreshTally() {}

void PropertiesPanel::BeginLabel(double, double) {}
