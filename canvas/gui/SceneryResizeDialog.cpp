// The "Resize Scenery" dialog: width and depth scales with an aspect lock.
#include "canvas/gui/SceneryResizeDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statline.h>
#include <wx/stattext.h>

#include "base/gui/NumberSpinCtrl.h"
#include "canvas/SceneryEdit.h"
#include "catalog/SceneryCatalog.h"

namespace {

wxSpinCtrlDouble* ScaleSpin(wxWindow* parent, double value) {
    // The toolkit's own width: GTK needs room for the value and both of its buttons.
    auto* spin =
        new NumberSpinCtrl(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                           wxSP_ARROW_KEYS, kMinSceneryScale, kMaxSceneryScale, value, 0.1);
    spin->SetDigits(2);
    // More digits need a wider field: the toolkit's size for them, not the one from before.
    spin->InvalidateBestSize();
    spin->SetInitialSize();
    spin->SetMinSize(spin->GetBestSize());
    return spin;
}

}  // namespace

SceneryResizeDialog::SceneryResizeDialog(wxWindow* parent, const SceneryDef& def, double scaleX,
                                         double scaleY)
    : wxDialog(parent, wxID_ANY, _("Resize Scenery")),
      width(def.width),
      depth(def.depth),
      ratio(AspectRatio(scaleX, scaleY)) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* name =
        new wxStaticText(this, wxID_ANY, wxControl::EscapeMnemonics(wxString::FromUTF8(def.name)));
    name->SetFont(name->GetFont().Bold());
    sizer->Add(name, 0, wxALL, 8);
    sizer->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    sizer->Add(new wxStaticText(
                   this, wxID_ANY,
                   wxString::Format(_("Catalog size: %.0f x %.0f mm    Current: %.0f x "
                                      "%.0f mm"),
                                    def.width, def.depth, def.width * scaleX, def.depth * scaleY)),
               0, wxALL, 8);

    auto row = [&](const wxString& label, double value, wxSpinCtrlDouble*& spin,
                   wxStaticText*& mm) {
        auto* line = new wxBoxSizer(wxHORIZONTAL);
        line->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
        spin = ScaleSpin(this, value);
        line->Add(spin, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
        mm = new wxStaticText(this, wxID_ANY, wxEmptyString);
        line->Add(mm, 0, wxALIGN_CENTER_VERTICAL);
        sizer->Add(line, 0, wxLEFT | wxRIGHT | wxBOTTOM, 8);
    };
    row(_("Width scale:"), scaleX, widthSpin, widthMm);
    row(_("Depth scale:"), scaleY, depthSpin, depthMm);
    lock = new wxCheckBox(this, wxID_ANY, _("Lock aspect ratio"));
    lock->SetValue(true);
    sizer->Add(lock, 0, wxLEFT | wxRIGHT | wxBOTTOM, 8);
    sizer->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, 8);

    sizer->Add(BuildButtons(), 0, wxEXPAND | wxALL, 8);

    BindScales();
    appliedWidth = scaleX;
    ShowSizes();
    SetSizerAndFit(sizer);
    CentreOnParent();
}

// Reset to Default on the left, OK and Cancel on the right.
wxSizer* SceneryResizeDialog::BuildButtons() {
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* reset = new wxButton(this, kResizeReset, _("Reset to Default"));
    auto* ok = new wxButton(this, kResizeOk, _("OK"));
    auto* cancel = new wxButton(this, kResizeCancel, _("Cancel"));
    buttons->Add(reset, 0);
    buttons->AddStretchSpacer();
    buttons->Add(ok, 0, wxRIGHT, 4);
    buttons->Add(cancel, 0);
    ok->SetDefault();
    for (int id : {kResizeOk, kResizeReset, kResizeCancel})
        Bind(
            wxEVT_BUTTON, [this, id](wxCommandEvent&) { EndModal(id); }, id);
    SetAffirmativeId(kResizeOk);
    SetEscapeId(kResizeCancel);  // Escape and the close box cancel too
    return buttons;
}

void SceneryResizeDialog::BindScales() {
    widthSpin->Bind(wxEVT_SPINCTRLDOUBLE, [this](wxSpinDoubleEvent&) { WidthChanged(); });
    depthSpin->Bind(wxEVT_SPINCTRLDOUBLE, [this](wxSpinDoubleEvent&) { ShowSizes(); });
    // Typing reaches the spin controls as text only, until they lose the focus (if ever before
    // OK): every number typed counts as a change at once.
    widthSpin->Bind(wxEVT_TEXT, [this](wxCommandEvent& event) {
        double scale = 0;
        if (ParseSceneryScale(event.GetString().utf8_string(), &scale)) WidthTyped(scale);
        event.Skip();
    });
    depthSpin->Bind(wxEVT_TEXT, [this](wxCommandEvent& event) {
        double scale = 0;
        if (ParseSceneryScale(event.GetString().utf8_string(), &scale)) ShowSizes(-1, scale);
        event.Skip();
    });
}

double SceneryResizeDialog::WidthScale() const { return widthSpin->GetValue(); }

double SceneryResizeDialog::DepthScale() const {
    // A width typed just before OK may not have reached the depth yet.
    const double w = WidthScale();
    if (lock->GetValue() && w != appliedWidth) return LockedDepthScale(w, ratio);
    return depthSpin->GetValue();
}

void SceneryResizeDialog::WidthChanged() { WidthTyped(widthSpin->GetValue()); }

void SceneryResizeDialog::WidthTyped(double scale) {
    appliedWidth = scale;
    if (lock->GetValue()) depthSpin->SetValue(LockedDepthScale(scale, ratio));
    ShowSizes(scale, lock->GetValue() ? depthSpin->GetValue() : -1);
}

void SceneryResizeDialog::ShowSizes(double widthScale, double depthScale) {
    // The spin values are read only when no typed value is given: reading makes the toolkit
    // reformat the text under the user's cursor.
    if (widthScale < 0) widthScale = widthSpin->GetValue();
    if (depthScale < 0) depthScale = depthSpin->GetValue();
    widthMm->SetLabel(wxString::Format("(= %.0f mm)", width * widthScale));
    depthMm->SetLabel(wxString::Format("(= %.0f mm)", depth * depthScale));
}
