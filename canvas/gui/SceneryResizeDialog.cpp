// The "Resize Scenery" dialog: width and depth scales with an aspect lock.
#include "canvas/gui/SceneryResizeDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statline.h>
#include <wx/stattext.h>

#include "canvas/SceneryEdit.h"
#include "catalog/SceneryCatalog.h"

namespace {

wxSpinCtrlDouble* ScaleSpin(wxWindow* parent, double value) {
    auto* spin = new wxSpinCtrlDouble(parent, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                      wxSize(80, -1), wxSP_ARROW_KEYS, 0.1, 10.0, value, 0.1);
    spin->SetDigits(2);
    return spin;
}

}  // namespace

SceneryResizeDialog::SceneryResizeDialog(wxWindow* parent, const SceneryDef& def, double scaleX,
                                         double scaleY)
    : wxDialog(parent, wxID_ANY, "Resize Scenery"),
      width(def.width),
      depth(def.depth),
      ratio(AspectRatio(scaleX, scaleY)) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* name = new wxStaticText(this, wxID_ANY, wxString::FromUTF8(def.name));
    name->SetFont(name->GetFont().Bold());
    sizer->Add(name, 0, wxALL, 8);
    sizer->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    sizer->Add(new wxStaticText(
                   this, wxID_ANY,
                   wxString::Format("Catalog size: %.0f x %.0f mm    Current: %.0f x "
                                    "%.0f mm",
                                    def.width, def.depth, def.width * scaleX, def.depth * scaleY)),
               0, wxALL, 8);

    auto row = [&](const char* label, double value, wxSpinCtrlDouble*& spin, wxStaticText*& mm) {
        auto* line = new wxBoxSizer(wxHORIZONTAL);
        line->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
        spin = ScaleSpin(this, value);
        line->Add(spin, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
        mm = new wxStaticText(this, wxID_ANY, wxEmptyString);
        line->Add(mm, 0, wxALIGN_CENTER_VERTICAL);
        sizer->Add(line, 0, wxLEFT | wxRIGHT | wxBOTTOM, 8);
    };
    row("Width scale:", scaleX, widthSpin, widthMm);
    row("Depth scale:", scaleY, depthSpin, depthMm);
    lock = new wxCheckBox(this, wxID_ANY, "Lock aspect ratio");
    lock->SetValue(true);
    sizer->Add(lock, 0, wxLEFT | wxRIGHT | wxBOTTOM, 8);
    sizer->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, 8);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* reset = new wxButton(this, kResizeReset, "Reset to Default");
    auto* ok = new wxButton(this, kResizeOk, "OK");
    auto* cancel = new wxButton(this, kResizeCancel, "Cancel");
    buttons->Add(reset, 0);
    buttons->AddStretchSpacer();
    buttons->Add(ok, 0, wxRIGHT, 4);
    buttons->Add(cancel, 0);
    sizer->Add(buttons, 0, wxEXPAND | wxALL, 8);
    ok->SetDefault();
    for (int id : {kResizeOk, kResizeReset, kResizeCancel})
        Bind(
            wxEVT_BUTTON, [this, id](wxCommandEvent&) { EndModal(id); }, id);
    SetAffirmativeId(kResizeOk);
    SetEscapeId(kResizeCancel);  // Escape and the close box cancel too

    widthSpin->Bind(wxEVT_SPINCTRLDOUBLE, [this](wxSpinDoubleEvent&) { WidthChanged(); });
    depthSpin->Bind(wxEVT_SPINCTRLDOUBLE, [this](wxSpinDoubleEvent&) { ShowSizes(); });
    ShowSizes();
    SetSizerAndFit(sizer);
    CentreOnParent();
}

double SceneryResizeDialog::WidthScale() const { return widthSpin->GetValue(); }
double SceneryResizeDialog::DepthScale() const { return depthSpin->GetValue(); }

void SceneryResizeDialog::WidthChanged() {
    if (lock->GetValue() && ratio > 0) depthSpin->SetValue(widthSpin->GetValue() / ratio);
    ShowSizes();
}

void SceneryResizeDialog::ShowSizes() {
    widthMm->SetLabel(wxString::Format("(= %.0f mm)", width * widthSpin->GetValue()));
    depthMm->SetLabel(wxString::Format("(= %.0f mm)", depth * depthSpin->GetValue()));
}
