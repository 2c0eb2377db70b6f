// The modeless "Layout Check" window: the findings of the layout, rerun after every change.
#pragma once

#include <wx/dialog.h>

#include <vector>

#include "app/DocumentChange.h"
#include "layoutcheck/LayoutCheck.h"

class MainFrame;
class wxListCtrl;
class wxListEvent;
class wxSpinCtrlDouble;
class wxSpinDoubleEvent;

class LayoutCheckWindow : public wxDialog {
public:
    explicit LayoutCheckWindow(MainFrame* frame);

    // Checks the layout with the window's options, lists the findings and rings them on the
    // canvas.
    void Rerun();
    // After the main frame's update: a change of the content (or a new or opened layout)
    // reruns the check; selection and view changes do not.
    void DocumentChanged(DocChange what);
    // Selects the pieces of finding `index` and centres the canvas on it.
    void ShowFinding(long index);

    const std::vector<LayoutFinding>& Findings() const { return findings; }
    CheckOptions Options() const;
    // Puts the options into the window's controls and reruns.
    void SetOptions(const CheckOptions& options);
    wxListCtrl* List() const { return list; }

private:
    void OnItemSelected(wxListEvent& event);
    void OnOptionChanged(wxSpinDoubleEvent& event);
    void OnClose(wxCloseEvent& event);
    void ShowRings();

    MainFrame* frame = nullptr;
    wxSpinCtrlDouble* clearanceH0 = nullptr;
    wxSpinCtrlDouble* clearanceZ = nullptr;
    wxSpinCtrlDouble* recommendedGrade = nullptr;
    wxListCtrl* list = nullptr;
    std::vector<LayoutFinding> findings;
    int listenerId = 0;
};
