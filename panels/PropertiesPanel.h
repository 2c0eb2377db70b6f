// The right panel: label entry, colours, the selection's properties, grade controls and the tally.
#pragma once

#include <wx/panel.h>

class MainFrame;

class PropertiesPanel : public wxPanel {
public:
    PropertiesPanel(wxWindow* parent, MainFrame* frame);

    // Rebuilds the selection section from the document's selection flags.
    void RefreshSelection();
    // Rebuilds the piece count list.
    void RefreshTally();
    // Opens the label field for a new label at a layout position (mm).
    void BeginLabel(double x, double y);

private:
    MainFrame* frame = nullptr;
};
