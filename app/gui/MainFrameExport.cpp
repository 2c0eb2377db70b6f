// The main window's export commands: picture (PNG or SVG), PDF and the parts list (CSV).
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/progdlg.h>

#include <memory>

#include "app/FrameLogic.h"
#include "app/gui/MainFrame.h"
#include "app/gui/MainFrameDialogs.h"
#include "canvas/gui/PictureLayer.h"
#include "dialogs/PlanExport.h"
#include "dialogs/gui/PlanExportFiles.h"
#include "dialogs/gui/PrintOptionsDialog.h"
#include "persistence/AtomicFile.h"

namespace {

ExportAnswer AskWithFileDialog(wxWindow* parent, const ExportQuestion& q) {
    wxFileDialog dialog(parent, q.title, q.folder, q.file, q.wildcard,
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK) return {};
    return {dialog.GetPath(), dialog.GetFilterIndex()};
}

ExportPathAsker& Asker() {
    static ExportPathAsker asker = AskWithFileDialog;
    return asker;
}

// The folder of the last export in this run and the layout file it was for.
wxString& LastFolder() {
    static wxString folder;
    return folder;
}
wxString& LastLayout() {
    static wxString layout;
    return layout;
}

// Where the file dialog opens for the frame's layout (ExportStartFolder).
wxString StartFolder(const MainFrame& frame) {
    return wxString::FromUTF8(ExportStartFolder(LastFolder().utf8_string(),
                                                LastLayout().utf8_string(),
                                                frame.FilePath().utf8_string(),
                                                frame.ProgramFolder().utf8_string()));
}

// The offered file name: the layout's name (or "My Layout") with the extension.
wxString OfferedName(const MainFrame& frame, const wxString& extension) {
    wxString name = frame.LayoutName();
    if (name.empty() && !frame.FilePath().empty()) name = wxFileName(frame.FilePath()).GetName();
    if (name.empty()) name = kDefaultLayoutName;
    return name + extension;
}

// One file kind of an export's file dialog.
struct FileKind {
    wxString filter;        // "PNG picture (*.png)|*.png", in the reader's language
    const char* extension;  // ".png"
};

// The path the user picks (ChosenExportPath), or empty when cancelled or when the name has
// another extension (the user is told).
std::string AskPath(MainFrame& frame, const wxString& title, const std::vector<FileKind>& kinds) {
    wxString wildcard, needs;
    std::vector<std::string> extensions;
    for (const FileKind& k : kinds) {
        wildcard += (wildcard.empty() ? wxString() : wxString("|")) + k.filter;
        needs += (needs.empty() ? wxString() : _(" or ")) + wxString(k.extension);
        extensions.push_back(k.extension);
    }
    const ExportAnswer answer = Asker()(
        &frame, {title, wildcard, StartFolder(frame), OfferedName(frame, kinds.front().extension)});
    if (answer.path.empty()) return {};
    const size_t chosen = answer.filterIndex > 0 ? static_cast<size_t>(answer.filterIndex) : 0;
    LastFolder() = wxFileName(answer.path).GetPath();
    LastLayout() = frame.FilePath();
    const std::string path = ChosenExportPath(answer.path.utf8_string(), extensions, chosen);
    if (path.empty())
        wxMessageBox(wxString::Format(_("The file name needs the extension %s."), needs),
                     _("Export Failed"), wxOK | wxICON_ERROR, &frame);
    return path;
}

void ReportFailure(MainFrame& frame, const std::string& error) {
    if (!error.empty())
        wxMessageBox(wxString::FromUTF8(error), _("Export Failed"), wxOK | wxICON_ERROR, &frame);
}

void ExportPicture(MainFrame& frame) {
    const PrintOptions& print = frame.GetPrintOptions();
    const int scale = print.scaling == 1 ? print.scaleDenominator : 1;
    // The SVG kind names the scale the drawing will state.
    const wxString svg = wxString::Format(_("SVG drawing at %s (*.svg)|*.svg"),
                                          wxString::FromUTF8(SvgScaleText(scale)));
    const std::string path = AskPath(frame, _("Export Picture"),
                                     {{_("PNG picture (*.png)|*.png"), ".png"}, {svg, ".svg"}});
    if (path.empty()) return;
    LayoutDocument& doc = frame.Document();
    const PictureImageSize pictureSizes = print.pictures ? SharedPictureSizes() : PictureImageSize{};
    double pxPerMm = DefaultPictureResolution(doc, pictureSizes);
    // Only a PNG has pixels to ask about; an SVG states its size at the print's scale (full size
    // unless the print options ask for 1 : N).
    if (ExportKindForPath(path) == ExportKind::Png) {
        PictureOptionsDialog ask(&frame, doc, pxPerMm, pictureSizes);
        if (ask.ShowModal() != wxID_OK) return;
        pxPerMm = ask.Resolution();
    }
    ReportFailure(frame, WritePicture(doc, path, pxPerMm, scale, print.pictures));
}

// More pages than a plan of a room takes at full size on letter paper: a scale typed by mistake,
// which would keep the program writing for minutes. The user is asked first.
constexpr int kManyPdfPages = 100;

void ExportPdf(MainFrame& frame) {
    PrintOptionsDialog ask(&frame, frame.GetPrintOptions());
    if (ask.ShowModal() != wxID_OK) return;
    frame.GetPrintOptions() = ask.Options();
    double widthMm = 0, heightMm = 0;
    PaperSizeMm(*frame.GetPrintData(), &widthMm, &heightMm);
    const int count = PdfPageCount(frame.Document(), frame.GetPrintOptions(), widthMm, heightMm);
    if (count > kManyPdfPages &&
        wxMessageBox(wxString::Format(_("At this scale the plan takes %d pages. Write all of "
                                        "them?"),
                                      count),
                     _("Export PDF"), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION,
                     &frame) != wxYES)
        return;
    const std::string path =
        AskPath(frame, _("Export PDF"), {{_("PDF document (*.pdf)|*.pdf"), ".pdf"}});
    if (path.empty()) return;
    // Pages take a moment each: a long export shows its progress and can be cancelled.
    std::unique_ptr<wxProgressDialog> progress;
    if (count > 1)
        progress = std::make_unique<wxProgressDialog>(
            _("Export PDF"), wxString::Format(_("Page %d of %d"), 0, count), count, &frame,
            wxPD_APP_MODAL | wxPD_CAN_ABORT | wxPD_AUTO_HIDE | wxPD_ELAPSED_TIME);
    auto tell = [&progress](int done, int all) {
        return !progress || progress->Update(done, wxString::Format(_("Page %d of %d"), done, all));
    };
    ReportFailure(frame, WritePdf(frame.Document(), frame.GetPrintOptions(), widthMm, heightMm,
                                  path, nullptr, tell));
}

void ExportPartsList(MainFrame& frame) {
    const std::string path =
        AskPath(frame, _("Export Parts List"), {{_("Parts list (*.csv)|*.csv"), ".csv"}});
    if (path.empty()) return;
    ReportFailure(frame, WriteFileAtomically(path, PartsListCsv(frame.Document())));
}

}  // namespace

void SetExportPathAsker(ExportPathAsker asker) {
    Asker() = asker ? std::move(asker) : ExportPathAsker(AskWithFileDialog);
}

wxString AskExportPath(wxWindow* parent, const wxString& title, const wxString& wildcard,
                       const wxString& file) {
    const MainFrame* frame = nullptr;
    for (wxWindow* w = parent; w && !frame; w = w->GetParent()) frame = dynamic_cast<MainFrame*>(w);
    const wxString path =
        Asker()(parent, {title, wildcard, frame ? StartFolder(*frame) : LastFolder(), file}).path;
    if (!path.empty()) {
        LastFolder() = wxFileName(path).GetPath();
        if (frame) LastLayout() = frame->FilePath();
    }
    return path;
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
            file->Insert(++at, kCmdExportPicture, _("Export &Picture..."));
            file->Insert(++at, kCmdExportPdf, _("Export P&DF..."));
            file->Insert(++at, kCmdExportParts, _("Export Parts &List..."));
        }
    }
    frame.Bind(
        wxEVT_MENU, [&frame](wxCommandEvent&) { ExportPicture(frame); }, kCmdExportPicture);
    frame.Bind(
        wxEVT_MENU, [&frame](wxCommandEvent&) { ExportPdf(frame); }, kCmdExportPdf);
    frame.Bind(
        wxEVT_MENU, [&frame](wxCommandEvent&) { ExportPartsList(frame); }, kCmdExportParts);
}
