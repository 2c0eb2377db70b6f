// A report list that shows the program's own rows: the control keeps none of its own (it is
// virtual), so nothing it remembers between events, such as the row last pressed, can outlive
// a refill.
#pragma once

#include <wx/listctrl.h>

#include <vector>

class RowList : public wxListCtrl {
public:
    struct Row {
        std::vector<wxString> cells;  // one per column; missing cells are empty
        wxColour colour;              // the text colour; invalid for the list's own
        bool bold = false;
        bool checked = false;  // in a list with check boxes
    };

    RowList(wxWindow* parent, wxWindowID id, const wxSize& size, long style,
            const wxString& name = wxListCtrlNameStr);

    // Shows these rows instead of the last ones; as in a list filled anew, no row stays
    // selected or current.
    void SetRows(std::vector<Row> rows);
    const std::vector<Row>& Rows() const { return rows; }
    // Keeps a row's check box as the user left it (the list reads it back from the row).
    void SetChecked(long row, bool checked);
    // The text of a cell, empty outside the rows.
    wxString Cell(long row, long column) const;

protected:
    wxString OnGetItemText(long item, long column) const override;
    wxItemAttr* OnGetItemAttr(long item) const override;
    bool OnGetItemIsChecked(long item) const override;

private:
    std::vector<Row> rows;
    mutable wxItemAttr attr;
};
