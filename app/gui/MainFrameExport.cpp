// The main window's export commands: picture (PNG or SVG), PDF and the parts list (CSV).
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>

#include "app/gui/MainFrame.h"
#include "app/gui/MainFrameDialogs.h"
#include "dialogs/PlanExport.h"
#include "dialogs/gui/PlanExportFiles.h"
#include "dialogs/gui/PrintOptionsDialog.h"
#include "persistence/AtomicFile.h"

namespace {

wxString AskWithFileDialog(wxWindow* parent, const wxString& title, const wxString& wildcard,
                           const wxString& file) {
    const MainFrame* frame = dynamic_cast<MainFrame*>(parent);
    wxFileDialog dialog(parent, title, frame ? frame->ProgramFolder() : wxString(), file, wildcard,
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
}

ExportPathAsker& Asker() {
    static ExportPathAsker asker = AskWithFileDialog;
    return asker;
}

// The offered file name: the layout's name (or "My Layout") with the extension.
wxString OfferedName(const MainFrame& frame, const wxString& extension) {
    wxString name = frame.LayoutName();
    if (name.empty() && !frame.FilePath().empty()) name = wxFileName(frame.FilePath()).GetName();
    if (name.empty()) name = "My Layout";
    return name + extension;
}

// The path the user picks, or empty (cancelled, or told why the name does not fit).
std::string AskPath(MainFrame& frame, const wxString& title, const wxString& wildcard,
                    const wxString& extension, bool (*fits)(ExportKind), const char* needs) {
    const wxString path = Asker()(&frame, title, wildcard, OfferedName(frame, extension));
    if (path.empty()) return {};
    const std::string utf8 = path.utf8_string();
    if (!fits(ExportKindForPath(utf8))) {
        wxMessageBox(wxString::Format("The file name needs the extension %s.", needs),
                     "Export Failed", wxOK | wxICON_ERROR, &frame);
        return {};
    }
    return utf8;
}

void ReportFailure(MainFrame& frame, const std::string& error) {
    if (!error.empty())
        wxMessageBox(wxString::FromUTF8(error), "Export Failed", wxOK | wxICON_ERROR, &frame);
}

void ExportPicture(MainFrame& frame) {
    const std::string path = AskPath(
        frame, "Export Picture", "PNG picture (*.png)|*.png|SVG drawing (*.svg)|*.svg", ".png",
        [](ExportKind k) { return k == ExportKind::Png || k == ExportKind::Svg; }, ".png or .svg");
    if (path.empty()) return;
    LayoutDocument& doc = frame.Document();
    PictureOptionsDialog ask(&frame, doc, DefaultPictureResolution(doc));
    if (ask.ShowModal() != wxID_OK) return;
    ReportFailure(frame, WritePicture(doc, path, ask.Resolution()));
}

void ExportPdf(MainFrame& frame) {
    PrintOptionsDialog ask(&frame, frame.GetPrintOptions());
    if (ask.ShowModal() != wxID_OK) return;
    frame.GetPrintOptions() = ask.Options();
    const std::string path = AskPath(
        frame, "Export PDF", "PDF document (*.pdf)|*.pdf", ".pdf",
        [](ExportKind k) { return k == ExportKind::Pdf; }, ".pdf");
    if (path.empty()) return;
    double widthMm = 0, heightMm = 0;
    PaperSizeMm(*frame.GetPrintData(), &widthMm, &heightMm);
    ReportFailure(frame,
                  WritePdf(frame.Document(), frame.GetPrintOptions(), widthMm, heightMm, path));
}

void ExportPartsList(MainFrame& frame) {
    const std::string path = AskPath(
        frame, "Export Parts List", "Parts list (*.csv)|*.csv", ".csv",
        [](ExportKind k) { return k == ExportKind::Csv; }, ".csv");
    if (path.empty()) return;
    ReportFailure(frame, WriteFileAtomically(path, PartsListCsv(frame.Document())));
}

}  // namespace

void SetExportPathAsker(ExportPathAsker asker) {
    Asker() = asker ? std::move(asker) : ExportPathAsker(AskWithFileDialog);
}

wxString AskExportPath(wxWindow* parent, const wxString& title, const wxString& wildcard,
                       const wxString& file) {
    return Asker()(parent, title, wildcard, file);
}

void BindExportCommands(MainFrame& frame) {
    if (wxMenuBar* bar = frame.GetMenuBar()) {
        wxMenu* file = nullptr;
        if (bar->FindItem(wxID_PRINT, &file) && file) {
            size_t at = 0;
            while (at < file->GetMenuItemCount() &&
                   file->FindItemByPosition(at)->GetId() != wxID_PRINT)
                ++at;
            file->InsertSeparator(++at);
            file->Insert(++at, kCmdExportPicture, "Export &Picture...");
            file->Insert(++at, kCmdExportPdf, "Export P&DF...");
            file->Insert(++at, kCmdExportParts, "Export Parts &List...");
        }
    }
    frame.Bind(
        wxEVT_MENU, [&frame](wxCommandEvent&) { ExportPicture(frame); }, kCmdExportPicture);
    frame.Bind(
        wxEVT_MENU, [&frame](wxCommandEvent&) { ExportPdf(frame); }, kCmdExportPdf);
    frame.Bind(
        wxEVT_MENU, [&frame](wxCommandEvent&) { ExportPartsList(frame); }, kCmdExportParts);
}
