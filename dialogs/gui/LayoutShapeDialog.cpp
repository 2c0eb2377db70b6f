// The baseboard outline dialog.
#include "dialogs/gui/LayoutShapeDialog.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "base/Translate.h"
#include "dialogs/LayoutShape.h"

namespace {
const char* UnitText(int units) { return units == 1 ? "cm" : units == 2 ? "in" : "mm"; }

// A core text from the shape table in the reader's language.
wxString Translated(const char* english) { return wxString::FromUTF8(Tr(english)); }

// Wide enough for every name and text the shapes show, so that changing the shape keeps the
// dialog's width (the fields are laid out anew each time).
constexpr int kMinDialogWidth = 420;
}  // namespace

LayoutShapeDialog::LayoutShapeDialog(wxWindow* parent, const std::vector<PointMm>& outline,
                                     int displayUnits, LayoutDocument& document)
    : wxDialog(parent, wxID_ANY, _("Layout Baseboard"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      doc(document),
      units(displayUnits >= 0 && displayUnits <= 2 ? displayUnits : 0),
      vertices(outline) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* shapeRow = new wxBoxSizer(wxHORIZONTAL);
    shapeRow->Add(new wxStaticText(this, wxID_ANY, _("Shape:")), 0,
                  wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    choice = new wxChoice(this, wxID_ANY);
    choice->SetName("shape");
    for (int i = 0; i < kShapeCount; ++i) choice->Append(Translated(ShapeInfoFor(i).choice));
    choice->SetSelection(doc.lastShape >= 0 && doc.lastShape < kShapeCount ? doc.lastShape : 0);
    shapeRow->Add(choice, 1);
    top->Add(shapeRow, 0, wxEXPAND | wxALL, 10);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    fieldPanel = new wxPanel(this);
    top->Add(fieldPanel, 1, wxEXPAND | wxALL, 10);
    top->Add(new wxStaticText(this, wxID_ANY,
                              wxString::Format(_("All dimensions in %s."), UnitText(units))),
             0, wxLEFT | wxRIGHT, 10);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxALL, 10);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, wxID_OK, _("Apply")), 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, wxID_CANCEL, _("Cancel")));
    top->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    SetSizer(top);
    BuildFieldPanel();
    SetSize(wxSize(std::max(kMinDialogWidth, GetSize().x), GetSize().y));
    CentreOnParent();

    choice->Bind(wxEVT_CHOICE, &LayoutShapeDialog::OnShapeChoice, this);
    Bind(wxEVT_BUTTON, &LayoutShapeDialog::OnApply, this, wxID_OK);
}

int LayoutShapeDialog::Shape() const { return choice->GetSelection(); }

void LayoutShapeDialog::SelectShape(int shape) {
    choice->SetSelection(shape);
    BuildFieldPanel();
}

void LayoutShapeDialog::BuildFieldPanel() {
    fieldPanel->DestroyChildren();
    fields.fill(nullptr);
    customText = nullptr;
    const int shape = Shape();
    const ShapeInfo& info = ShapeInfoFor(shape);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(fieldPanel, wxID_ANY, Translated(info.explanation)), 0, wxBOTTOM,
               8);
    const std::array<int, 4> values = ShapeFieldValues(doc, shape, units);
    // The fields line up behind the widest label, however long the language makes it.
    std::array<wxStaticText*, 4> labels{};
    int labelWidth = 0;
    for (int i = 0; i < info.fieldCount; ++i) {
        labels[i] = new wxStaticText(fieldPanel, wxID_ANY, Translated(info.labels[i]));
        labelWidth = std::max(labelWidth, labels[i]->GetBestSize().x);
    }
    for (int i = 0; i < info.fieldCount; ++i) {
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        labels[i]->SetMinSize(wxSize(labelWidth + 8, -1));
        row->Add(labels[i], 0, wxALIGN_CENTER_VERTICAL);
        fields[i] =
            new wxSpinCtrl(fieldPanel, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                           wxSP_ARROW_KEYS, kShapeFieldMin, kShapeFieldMax, values[i]);
        fields[i]->SetName(wxString::Format("field%d", i));
        row->Add(fields[i], 0, wxLEFT | wxRIGHT, 4);
        row->Add(new wxStaticText(fieldPanel, wxID_ANY, UnitText(units)), 0,
                 wxALIGN_CENTER_VERTICAL);
        sizer->Add(row, 0, wxBOTTOM, 4);
    }
    if (shape == kShapeCustom) {
        customText = new wxTextCtrl(
            fieldPanel, wxID_ANY, wxString::FromUTF8(FormatCustomOutline(vertices, units)),
            wxDefaultPosition, wxSize(300, 120), wxTE_MULTILINE | wxTE_DONTWRAP);
        customText->SetName("vertices");
        sizer->Add(customText, 1, wxEXPAND);
    }
    fieldPanel->SetSizer(sizer, true);
    fieldPanel->Layout();
    GetSizer()->Fit(this);
}

bool LayoutShapeDialog::Apply() {
    const int shape = Shape();
    const ShapeInfo& info = ShapeInfoFor(shape);
    std::array<int, 4> values{};
    for (int i = 0; i < info.fieldCount; ++i) values[i] = fields[i] ? fields[i]->GetValue() : 0;
    const std::array<double, 4> sizesMm = ShapeFieldsMm(doc, shape, values, units);
    std::vector<PointMm> outline;
    std::vector<int> skipped;
    if (shape == kShapeCustom) {
        // The text shows the outline rounded to the unit's decimals: left as it was filled in,
        // it stands for the outline itself.
        const std::string text = customText->GetValue().utf8_string();
        outline = text == FormatCustomOutline(vertices, units) && !vertices.empty()
                      ? vertices
                      : ParseCustomOutline(text, units, &skipped);
    } else {
        outline = ShapeOutlineMm(shape, sizesMm);
    }
    // Fewer than three corners make no board: a cutout that does not fit, or a custom list
    // without three readable lines (the Clear choice is the way to remove the board).
    if (shape <= kShapeCustom && outline.size() < 3) {
        wxMessageBox(_("Please enter valid dimensions."), _("Layout Shape"), wxOK | wxICON_WARNING,
                     this);
        return false;
    }
    vertices = std::move(outline);
    StoreLastShapeMm(doc, shape, sizesMm, info.fieldCount);
    if (!skipped.empty()) {
        wxMessageBox(wxString::FromUTF8(SkippedLinesNote(skipped)), _("Layout Shape"),
                     wxOK | wxICON_INFORMATION, this);
    }
    if (IsModal()) EndModal(wxID_OK);
    return true;
}

void LayoutShapeDialog::OnShapeChoice(wxCommandEvent&) { BuildFieldPanel(); }

void LayoutShapeDialog::OnApply(wxCommandEvent&) { Apply(); }
