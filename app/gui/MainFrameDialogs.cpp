// The main window's dialog commands: layout shape, levels, page setup, print preview and print.
#include "app/gui/MainFrameDialogs.h"

#include <wx/cmndata.h>
#include <wx/msgdlg.h>
#include <wx/print.h>
#include <wx/printdlg.h>

#include "app/CommandIds.h"
#include "model/DocumentChange.h"
#include "app/gui/MainFrame.h"
#include "dialogs/gui/LayoutPrintout.h"
#include "dialogs/gui/LayoutShapeDialog.h"
#include "dialogs/gui/LevelManagerDialog.h"
#include "control/gui/AddressesWindow.h"
#include "control/gui/DiagramExport.h"
#include "dialogs/gui/PrintOptionsDialog.h"
#include "wiring/gui/WiringWindow.h"

namespace {

PrintOutcome RunToolkitPrinter(wxWindow* parent, wxPrintDialogData& data, wxPrintout& printout) {
    wxPrinter printer(&data);
    if (printer.Print(parent, &printout, true)) {
        data = printer.GetPrintDialogData();
        return PrintOutcome::Printed;
    }
    return wxPrinter::GetLastError() == wxPRINTER_ERROR ? PrintOutcome::Failed
                                                        : PrintOutcome::Cancelled;
}

PrintRunner& Runner() {
    static PrintRunner runner = RunToolkitPrinter;
    return runner;
}

void LayoutShape(MainFrame& frame) {
    LayoutDocument& doc = frame.Document();
    UndoSnapshot before = doc.Snapshot();
    LayoutShapeDialog dialog(&frame, doc.baseboard, doc.units, doc);
    if (dialog.ShowModal() != wxID_OK) return;
    doc.baseboard = dialog.Vertices();
    if (doc.Snapshot() == before) return;  // applied as it was: nothing to undo or save
    doc.PushUndo(std::move(before));
    frame.NotifyChanged(DocChange::Levels);
}

void Levels(MainFrame& frame) {
    LayoutDocument& doc = frame.Document();
    doc.EnsureDefaultLevel();
    // The manager edits the document directly, at every click: its whole session becomes one
    // undo step, and a session that changed nothing leaves the layout unmodified.
    UndoSnapshot before = doc.Snapshot();
    {
        LevelManagerDialog dialog(&frame, doc);
        dialog.ShowModal();
    }
    if (doc.Snapshot() == before) return;
    doc.PushUndo(std::move(before));
    frame.NotifyChanged(DocChange::Levels | DocChange::Pieces | DocChange::Placement |
                        DocChange::Scenery);
}

void PageSetup(MainFrame& frame) {
    wxPageSetupDialogData& setup = *frame.GetPageSetup();
    setup.SetPrintData(*frame.GetPrintData());
    wxPageSetupDialog dialog(&frame, &setup);
    if (dialog.ShowModal() != wxID_OK) return;
    setup = dialog.GetPageSetupDialogData();
    *frame.GetPrintData() = setup.GetPrintData();
}

void Preview(MainFrame& frame) {
    // The options first, as for printing: scale, fit and grey can be tried out on the preview.
    PrintOptionsDialog ask(&frame, frame.GetPrintOptions());
    if (ask.ShowModal() != wxID_OK) return;
    frame.GetPrintOptions() = ask.Options();
    LayoutDocument& doc = frame.Document();
    const PrintOptions& options = frame.GetPrintOptions();
    wxPrintDialogData data(*frame.GetPrintData());
    auto* preview = new wxPrintPreview(new LayoutPrintout(doc, options),
                                       new LayoutPrintout(doc, options), &data);
    if (!preview->IsOk()) {
        delete preview;
        wxMessageBox(_("Could not create print preview. Is a printer driver installed?"),
                     _("Print Preview"), wxOK | wxICON_ERROR, &frame);
        return;
    }
    auto* window =
        new wxPreviewFrame(preview, &frame, _("Print Preview -- Quillmore"), wxDefaultPosition,
                           wxSize(900, 700), wxDEFAULT_FRAME_STYLE | wxFRAME_FLOAT_ON_PARENT);
    window->Centre();
    window->Initialize();
    window->Show();
}

void Print(MainFrame& frame) {
    PrintOptionsDialog ask(&frame, frame.GetPrintOptions());
    if (ask.ShowModal() != wxID_OK) return;
    frame.GetPrintOptions() = ask.Options();
    wxPrintDialogData data(*frame.GetPrintData());
    LayoutPrintout printout(frame.Document(), frame.GetPrintOptions());
    switch (Runner()(&frame, data, printout)) {
        case PrintOutcome::Printed:
            *frame.GetPrintData() = data.GetPrintData();
            break;
        case PrintOutcome::Failed:
            wxMessageBox(_("There was a problem printing. Check that a printer is installed and "
                           "connected."),
                         _("Print"), wxOK | wxICON_ERROR, &frame);
            break;
        case PrintOutcome::Cancelled:
            break;
    }
}

}  // namespace

void SetPrintRunner(PrintRunner runner) {
    Runner() = runner ? std::move(runner) : PrintRunner(RunToolkitPrinter);
}

PrintOutcome RunPrintJob(wxWindow* parent, wxPrintDialogData& data, wxPrintout& printout) {
    return Runner()(parent, data, printout);
}

void BindDialogCommands(MainFrame& frame) {
    const auto bind = [&frame](int id, void (*command)(MainFrame&)) {
        frame.Bind(
            wxEVT_MENU, [&frame, command](wxCommandEvent&) { command(frame); }, id);
    };
    bind(kCmdLayoutShape, LayoutShape);
    bind(kCmdLevels, Levels);
    bind(wxID_PAGE_SETUP, PageSetup);
    bind(wxID_PREVIEW, Preview);
    bind(wxID_PRINT, Print);
    BindExportCommands(frame);
    BindProfileCommands(frame);
    BindControlCommands(frame);
    BindDiagramCommands(frame);
    BindWiringCommands(frame);
    BindPictureCommands(frame);
}
