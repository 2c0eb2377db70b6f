// The virtual report list over the program's own rows.
#include "base/gui/RowList.h"

RowList::RowList(wxWindow* parent, wxWindowID id, const wxSize& size, long style,
                 const wxString& name)
    : wxListCtrl(parent, id, wxDefaultPosition, size, style | wxLC_REPORT | wxLC_VIRTUAL,
                 wxDefaultValidator, name) {}

void RowList::SetRows(std::vector<Row> newRows) {
    rows = std::move(newRows);
    SetItemCount(0);  // forgets the selection and the current row
    SetItemCount(static_cast<long>(rows.size()));
    Refresh();
}

wxString RowList::Cell(long row, long column) const {
    if (row < 0 || row >= static_cast<long>(rows.size()) || column < 0) return wxString();
    const std::vector<wxString>& cells = rows[static_cast<size_t>(row)].cells;
    return column < static_cast<long>(cells.size()) ? cells[static_cast<size_t>(column)]
                                                    : wxString();
}

void RowList::SetChecked(long row, bool checked) {
    if (row < 0 || row >= static_cast<long>(rows.size())) return;
    rows[static_cast<size_t>(row)].checked = checked;
    RefreshItem(row);
}

wxString RowList::OnGetItemText(long item, long column) const { return Cell(item, column); }

wxItemAttr* RowList::OnGetItemAttr(long item) const {
    if (item < 0 || item >= static_cast<long>(rows.size())) return nullptr;
    const Row& row = rows[static_cast<size_t>(item)];
    if (!row.colour.IsOk() && !row.bold) return nullptr;
    attr = wxItemAttr();
    if (row.colour.IsOk()) attr.SetTextColour(row.colour);
    if (row.bold) attr.SetFont(GetFont().Bold());
    return &attr;
}

bool RowList::OnGetItemIsChecked(long item) const {
    return item >= 0 && item < static_cast<long>(rows.size()) &&
           rows[static_cast<size_t>(item)].checked;
}
