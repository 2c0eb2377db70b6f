// The baseboard outline dialog: a parametric shape, a typed vertex list, or no outline.
#pragma once

#include <wx/dialog.h>

#include <array>
#include <vector>

#include "model/LayoutDocument.h"

class wxChoice;
class wxPanel;
class wxSpinCtrl;
class wxTextCtrl;

class LayoutShapeDialog : public wxDialog {
public:
    // vertices: the current outline (copied); Apply stores the last shape settings in doc.
    LayoutShapeDialog(wxWindow* parent, const std::vector<PointMm>& vertices, int units,
                      LayoutDocument& doc);

    // The outline after a successful Apply.
    const std::vector<PointMm>& Vertices() const { return vertices; }

    // Chooses a shape as the choice does, rebuilding the fields.
    void SelectShape(int shape);
    int Shape() const;
    // The size field i (0..3) of the shown shape, or null; the custom text field, or null.
    wxSpinCtrl* Field(int i) const { return i >= 0 && i < 4 ? fields[i] : nullptr; }
    wxTextCtrl* CustomText() const { return customText; }
    // Builds the outline from the fields; on success stores the last shape settings and ends
    // the dialog with OK. False (after telling the user) when the outline is refused.
    bool Apply();

private:
    void BuildFieldPanel();
    void OnShapeChoice(wxCommandEvent& event);
    void OnApply(wxCommandEvent& event);

    LayoutDocument& doc;
    int units;
    std::vector<PointMm> vertices;
    wxChoice* choice = nullptr;
    wxPanel* fieldPanel = nullptr;
    std::array<wxSpinCtrl*, 4> fields{};
    wxTextCtrl* customText = nullptr;
};
