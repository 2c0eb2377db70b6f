// The modeless "Layout Check" window: the findings of the layout, rerun after every change.
#pragma once

#include <wx/dialog.h>

#include <functional>
#include <vector>

#include "model/DocumentChange.h"
#include "base/gui/RowList.h"
#include "layoutcheck/LayoutCheck.h"

class FrameServices;
class wxButton;
class wxListEvent;
class wxSizer;
class wxSpinCtrlDouble;
class wxSpinDoubleEvent;
class wxStaticText;

class LayoutCheckWindow : public wxDialog {
public:
    explicit LayoutCheckWindow(FrameServices* frame);

    // Checks the layout with the window's options, lists the findings that are not ignored and
    // rings them on the canvas.
    void Rerun();
    // After the main frame's update: a change of the content (or a new or opened layout)
    // reruns the check; a change of units shows the lengths in the new units; selection and
    // view changes do nothing.
    void DocumentChanged(DocChange what);
    // Selects the pieces of finding `index` and frames it in the area of the canvas this window
    // leaves free.
    void ShowFinding(long index);
    // Hides finding `index` until the session ends (or another layout is begun or opened).
    void IgnoreFinding(long index);
    // Shows every ignored finding again.
    void ShowIgnored();
    // Writes the listed findings to `path`: CSV when it ends in ".csv", else text. Returns an
    // error text, empty on success.
    std::string SaveReport(const wxString& path) const;

    // The findings listed (the ignored ones left out).
    const std::vector<LayoutFinding>& Findings() const { return findings; }
    // The options in millimetres as the user set them; a field shown rounded in cm or inches
    // keeps its exact value until it is edited.
    CheckOptions Options() const { return options; }
    // Puts the options into the window's controls and reruns.
    void SetOptions(const CheckOptions& options);
    RowList* List() const { return list; }

    // Asks for the report's file; empty when cancelled. Tests replace it, as the native file
    // dialog cannot be answered without being shown.
    using ReportPathAsker = std::function<wxString(wxWindow* parent, const wxString& file)>;
    void SetReportPathAsker(ReportPathAsker asker) { askReportPath = std::move(asker); }

private:
    struct LengthField {
        wxStaticText* label = nullptr;
        wxSpinCtrlDouble* spin = nullptr;
        double CheckOptions::*value = nullptr;
        wxString caption;  // translated, without the unit
    };
    wxSizer* BuildOptionGrid();
    wxSizer* BuildButtons();
    void ShowOptionValues();
    void OnItemSelected(wxListEvent& event);
    void OnOptionChanged(wxSpinDoubleEvent& event);
    void OnSaveReport(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void ShowRings();
    void UpdateButtons();
    long SelectedRow() const;

    FrameServices* frame = nullptr;
    CheckOptions options;
    int shownUnits = -1;
    std::vector<LengthField> lengths;
    wxSpinCtrlDouble* recommendedGrade = nullptr;
    wxButton* proposeStraight = nullptr;
    wxButton* ignore = nullptr;
    wxButton* showIgnored = nullptr;
    RowList* list = nullptr;
    std::vector<LayoutFinding> findings;
    int ignoredCount = 0;
    int listenerId = 0;
    ReportPathAsker askReportPath;
};
