// The level manager and the level properties dialog.
#include "dialogs/gui/LevelManagerDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/clrpicker.h>
#include <wx/intl.h>
#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/textdlg.h>

#include <algorithm>

#include "base/Translate.h"
#include "base/gui/NumberSpinCtrl.h"
#include "trackgeometry/Units.h"

namespace {
const char* UnitText(int units) { return units == 1 ? "cm" : units == 2 ? "in" : "mm"; }
}  // namespace

LevelPropertiesDialog::LevelPropertiesDialog(wxWindow* parent, const Level& level, int u)
    : wxDialog(parent, wxID_ANY,
               wxString::Format(_("Level Properties: %s"), wxString::FromUTF8(level.name))),
      units(u),
      storedHeightMm(level.height) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* nameRow = new wxBoxSizer(wxHORIZONTAL);
    nameRow->Add(new wxStaticText(this, wxID_ANY, _("Name:")), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT,
                 6);
    name = new wxTextCtrl(this, wxID_ANY, wxString::FromUTF8(level.name), wxDefaultPosition,
                          wxSize(220, -1));
    nameRow->Add(name, 1);
    top->Add(nameRow, 0, wxEXPAND | wxALL, 10);

    const ::HeightField field = HeightFieldFor(units);
    auto* heightRow = new wxBoxSizer(wxHORIZONTAL);
    heightRow->Add(
        new wxStaticText(this, wxID_ANY,
                         wxString::Format(_("Height off the ground (%s):"), UnitText(units))),
        0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    // The range reaches below zero so that a typed negative height is refused with a message
    // (on OK) instead of being clamped to 0 behind the user's back.
    height = new NumberSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                wxSP_ARROW_KEYS, -field.max, field.max,
                                ShownLength(level.height, units), field.increment);
    height->SetName("height");
    height->SetDigits(field.digits);
    // More digits need a wider field: the toolkit's size for them, not the one from before.
    height->InvalidateBestSize();
    height->SetInitialSize();
    heightRow->Add(height);
    top->Add(heightRow, 0, wxLEFT | wxRIGHT | wxBOTTOM, 10);

    auto* colourRow = new wxBoxSizer(wxHORIZONTAL);
    colourTrack = new wxCheckBox(this, wxID_ANY, _("Color track on this level:"));
    colourTrack->SetValue(level.colourTrack);
    colourRow->Add(colourTrack, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    picker = new wxColourPickerCtrl(this, wxID_ANY,
                                    wxColour(level.colour.r, level.colour.g, level.colour.b));
    colourRow->Add(picker);
    top->Add(colourRow, 0, wxLEFT | wxRIGHT | wxBOTTOM, 10);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(top);
    CentreOnParent();
}

LevelEdit LevelPropertiesDialog::Values() const {
    const wxColour c = picker->GetColour();
    return LevelEdit{name->GetValue().utf8_string(),
                     EnteredLengthMm(storedHeightMm, height->GetValue(), units),
                     colourTrack->GetValue(), Rgb{c.Red(), c.Green(), c.Blue()}};
}

bool LevelPropertiesDialog::TransferDataFromWindow() {
    if (height->GetValue() < 0) {
        wxMessageBox(_("A level cannot lie below the ground: please enter a height of 0 or more."),
                     _("Level Properties"), wxOK | wxICON_WARNING, this);
        height->SetFocus();
        return false;
    }
    return wxDialog::TransferDataFromWindow();
}

LevelManagerDialog::LevelManagerDialog(wxWindow* parent, LayoutDocument& document)
    : wxDialog(parent, wxID_ANY, _("Manage Levels"), wxDefaultPosition, wxSize(500, 360),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      doc(document) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY,
                              _("Check to show a level.  Double-click a row to edit its "
                                "properties\n(name, height, and track color).  Single-click sets "
                                "the active level\nfor new pieces.")),
             0, wxALL, 8);
    list = new RowList(this, wxID_ANY, wxSize(420, 200), wxLC_SINGLE_SEL);
    list->EnableCheckBoxes(true);
    // Each column at least as wide as its title, with room for the check box in the first.
    const auto column = [this](const wxString& title, wxListColumnFormat format, int width,
                               int extra) {
        list->AppendColumn(title, format, std::max(width, list->GetTextExtent(title).x + extra));
    };
    column(_("Level Name"), wxLIST_FORMAT_LEFT, 200, 48);
    column(_("Height"), wxLIST_FORMAT_RIGHT, 90, 24);
    column(_("Track Color"), wxLIST_FORMAT_LEFT, 90, 24);
    column(_("ID"), wxLIST_FORMAT_RIGHT, 40, 24);
    int columnsWidth = 0;
    for (int i = 0; i < list->GetColumnCount(); ++i) columnsWidth += list->GetColumnWidth(i);
    list->SetMinSize(wxSize(std::max(420, columnsWidth + 8), 200));
    top->Add(list, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* add = new wxButton(this, wxID_ANY, _("Add Level"));
    removeButton = new wxButton(this, wxID_ANY, _("Remove Level"));
    buttons->Add(add, 0, wxRIGHT, 6);
    buttons->Add(removeButton);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_OK, _("Close")));
    top->Add(buttons, 0, wxEXPAND | wxALL, 8);
    SetSizer(top);
    // The usual size, or more where the texts and columns need it (German ones are longer).
    const wxSize needed = top->ComputeFittingWindowSize(this);
    SetSize(wxSize(std::max(500, needed.x), std::max(360, needed.y)));
    Layout();
    CentreOnParent();

    add->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { AddLevelAsked(); });
    removeButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RemoveSelected(); });
    list->Bind(wxEVT_LIST_ITEM_CHECKED, &LevelManagerDialog::OnChecked, this);
    list->Bind(wxEVT_LIST_ITEM_UNCHECKED, &LevelManagerDialog::OnChecked, this);
    list->Bind(wxEVT_LIST_ITEM_SELECTED, &LevelManagerDialog::OnSelected, this);
    list->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent&) { EditSelected(); });
    Refill();
}

void LevelManagerDialog::Refill() {
    filling = true;
    std::vector<RowList::Row> rows;
    for (const Level& level : doc.levels)
        rows.push_back({{wxString::FromUTF8(level.name),
                         wxString::FromUTF8(FormatLevelHeight(level.height, doc.units)),
                         level.colourTrack ? _("custom") : wxString("-"),
                         wxString::Format("%d", static_cast<int>(level.id))},
                        wxColour(),
                        level.id == doc.activeLevel,
                        level.visible});
    list->SetRows(std::move(rows));
    filling = false;
    UpdateRemoveButton();
}

long LevelManagerDialog::SelectedRow() const {
    return list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
}

void LevelManagerDialog::UpdateRemoveButton() { removeButton->Enable(doc.levels.size() >= 2); }

void LevelManagerDialog::OnChecked(wxListEvent& event) {
    const long row = event.GetIndex();
    if (filling || row < 0 || row >= static_cast<long>(doc.levels.size())) return;
    doc.levels[row].visible = event.GetEventType() == wxEVT_LIST_ITEM_CHECKED;
    list->SetChecked(row, doc.levels[row].visible);
}

void LevelManagerDialog::OnSelected(wxListEvent& event) {
    const long row = event.GetIndex();
    if (filling || row < 0 || row >= static_cast<long>(doc.levels.size())) return;
    doc.activeLevel = doc.levels[row].id;
    UpdateRemoveButton();
}

void LevelManagerDialog::AddLevelAsked() {
    wxTextEntryDialog ask(this, _("Name for new level:"), _("Add Level"),
                          wxString::FromUTF8(ProposedLevelName(doc)), wxOK | wxCANCEL | wxCENTRE);
    if (ask.ShowModal() != wxID_OK) return;
    if (AddLevel(doc, ask.GetValue().utf8_string()) != 0) Refill();
}

void LevelManagerDialog::EditSelected() {
    const long row = SelectedRow();
    if (row < 0 || row >= static_cast<long>(doc.levels.size())) {
        wxMessageBox(_("Select a level first."), _("Level Properties"), wxOK | wxICON_INFORMATION,
                     this);
        return;
    }
    const uint32_t id = doc.levels[row].id;
    LevelPropertiesDialog properties(this, doc.levels[row], doc.units);
    if (properties.ShowModal() != wxID_OK) return;
    ApplyLevelEdit(doc, id, properties.Values());
    Refill();
}

void LevelManagerDialog::RemoveSelected() {
    if (doc.levels.size() < 2) {
        wxMessageBox(_("A layout must have at least one level."), _("Remove Level"),
                     wxOK | wxICON_INFORMATION, this);
        return;
    }
    const long row = SelectedRow();
    if (row < 0 || row >= static_cast<long>(doc.levels.size())) return;
    const Level& level = doc.levels[row];
    const uint32_t id = level.id;
    const std::string question = RemoveLevelQuestion(level.name, CountLevelContents(doc, id));
    wxMessageDialog confirm(this, wxString::FromUTF8(question),
                            wxString::FromUTF8(Tr("Remove Level \u2014 Confirm Deletion")),
                            wxYES_NO | wxNO_DEFAULT | wxICON_WARNING);
    confirm.SetYesNoLabels(_("Delete Level && Contents"), _("Cancel"));
    if (confirm.ShowModal() != wxID_YES) return;
    RemoveLevel(doc, id);
    Refill();
}
