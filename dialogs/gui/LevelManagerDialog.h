// The level manager: shows, hides, adds, edits and removes the levels of the layout. Every
// change goes into the document at once.
#pragma once

#include <wx/dialog.h>

#include "base/gui/RowList.h"
#include "dialogs/LevelEdit.h"

class wxButton;
class wxCheckBox;
class wxColourPickerCtrl;
class wxListEvent;
class wxSpinCtrlDouble;
class wxTextCtrl;

// The properties of one level: name, height in the display unit, track colour.
class LevelPropertiesDialog : public wxDialog {
public:
    LevelPropertiesDialog(wxWindow* parent, const Level& level, int units);
    // The entered values, height converted back to millimetres (the stored height itself while
    // the field still shows it).
    LevelEdit Values() const;
    // OK: refuses a negative height with a message and keeps the dialog open.
    bool TransferDataFromWindow() override;

    wxTextCtrl* NameField() const { return name; }
    wxSpinCtrlDouble* HeightField() const { return height; }
    wxCheckBox* ColourBox() const { return colourTrack; }
    wxColourPickerCtrl* ColourPicker() const { return picker; }

private:
    int units;
    double storedHeightMm;
    wxTextCtrl* name = nullptr;
    wxSpinCtrlDouble* height = nullptr;
    wxCheckBox* colourTrack = nullptr;
    wxColourPickerCtrl* picker = nullptr;
};

class LevelManagerDialog : public wxDialog {
public:
    LevelManagerDialog(wxWindow* parent, LayoutDocument& doc);

    RowList* List() const { return list; }
    wxButton* RemoveButton() const { return removeButton; }

    // The buttons' and the list's actions (also driven by tests).
    void AddLevelAsked();
    void EditSelected();
    void RemoveSelected();
    // Rebuilds the rows from the document.
    void Refill();

private:
    long SelectedRow() const;
    void UpdateRemoveButton();
    void OnChecked(wxListEvent& event);
    void OnSelected(wxListEvent& event);

    LayoutDocument& doc;
    RowList* list = nullptr;
    wxButton* removeButton = nullptr;
    bool filling = false;
};
