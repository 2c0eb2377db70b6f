// The "Resize Scenery" dialog: width and depth scales with an aspect lock.
#pragma once

#include <wx/dialog.h>

struct SceneryDef;
class wxCheckBox;
class wxSizer;
class wxSpinCtrlDouble;
class wxSpinDoubleEvent;
class wxStaticText;

class SceneryResizeDialog : public wxDialog {
public:
    // Ends with 200 (OK), 201 (Reset to Default) or 202 (Cancel, Escape, close box).
    SceneryResizeDialog(wxWindow* parent, const SceneryDef& def, double scaleX, double scaleY);

    double WidthScale() const;
    double DepthScale() const;
    wxSpinCtrlDouble* WidthControl() const { return widthSpin; }
    wxSpinCtrlDouble* DepthControl() const { return depthSpin; }
    wxCheckBox* LockControl() const { return lock; }
    // What a change of the width control does (also called by its event).
    void WidthChanged();

private:
    wxSizer* BuildButtons();
    // Steps and typing in the scales.
    void BindScales();
    // The lock rule for a width scale the user typed or stepped to.
    void WidthTyped(double scale);
    // "(= ... mm)" for both scales; a negative scale is read from its spin control.
    void ShowSizes(double widthScale = -1, double depthScale = -1);

    double width = 0;
    double depth = 0;
    double ratio = 1;
    double appliedWidth = 1;  // the width scale the depth last followed
    wxSpinCtrlDouble* widthSpin = nullptr;
    wxSpinCtrlDouble* depthSpin = nullptr;
    wxStaticText* widthMm = nullptr;
    wxStaticText* depthMm = nullptr;
    wxCheckBox* lock = nullptr;
};
