// View and layout commands of the main window: zoom, grid, snap, labels, units, info boxes.
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/toolbar.h>

#include "app/CommandIds.h"
#include "app/gui/AppLanguage.h"
#include "app/gui/MainFrame.h"
#include "canvas/gui/CanvasPanel.h"

void MainFrame::OnZoomIn(wxCommandEvent&) { canvas->ZoomBy(1.25); }

void MainFrame::OnZoomOut(wxCommandEvent&) { canvas->ZoomBy(0.8); }

void MainFrame::OnZoomFit(wxCommandEvent&) { canvas->ZoomToFit(); }

void MainFrame::OnShowGrid(wxCommandEvent& event) { canvas->SetShowGrid(event.IsChecked()); }

void MainFrame::OnSnap(wxCommandEvent& event) {
    document.snapOn = event.IsChecked();
    NotifyChanged(DocChange::View);
}

void MainFrame::OnLabels(wxCommandEvent& event) {
    document.labelsShown = !event.IsChecked();
    SetToolLabel(kCmdLabels, document.labelsShown ? _("Hide Labels") : _("Show Labels"));
    NotifyChanged(DocChange::View);
}

void MainFrame::OnUnits(wxCommandEvent& event) {
    document.units = event.GetId() - kCmdUnitsMm;
    NotifyChanged(DocChange::View);
}

void MainFrame::OnLanguage(wxCommandEvent& event) {
    const LanguageChoice choice = event.GetId() == kCmdLanguageGerman    ? LanguageChoice::German
                                  : event.GetId() == kCmdLanguageEnglish ? LanguageChoice::English
                                                                         : LanguageChoice::System;
    if (choice == StoredLanguageChoice()) return;
    StoreLanguageChoice(choice);
    // The menus, panels and dialogs are built in one language: the new one needs a new start.
    wxMessageBox(_("Quillmore will use the new language the next time it starts."), _("Language"),
                 wxOK | wxICON_INFORMATION, this);
}

void MainFrame::CheckUnitsItem() {
    const int units = document.units >= 0 && document.units <= 2 ? document.units : 0;
    GetMenuBar()->Check(kCmdUnitsMm + units, true);
}

void MainFrame::OnValidate(wxCommandEvent&) {
    wxMessageBox(_("Validation not yet implemented."), _("Validate"), wxOK | wxICON_INFORMATION,
                 this);
}

void MainFrame::OnProperties(wxCommandEvent&) {
    wxMessageBox(_("Layout properties not yet implemented."), _("Properties"),
                 wxOK | wxICON_INFORMATION, this);
}
