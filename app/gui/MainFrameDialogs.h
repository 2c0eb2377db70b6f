// The main window's dialog commands: layout shape, levels, page setup, print preview and print.
#pragma once

#include <wx/string.h>

#include <functional>

class MainFrame;
class wxPrintDialogData;
class wxPrintout;
class wxWindow;

// How a print job ended.
enum class PrintOutcome { Printed, Cancelled, Failed };

// Runs a print job: by default the toolkit's printer with its print dialog. Tests replace it,
// as the native print dialog cannot run without a print system.
using PrintRunner =
    std::function<PrintOutcome(wxWindow* parent, wxPrintDialogData& data, wxPrintout& printout)>;
void SetPrintRunner(PrintRunner runner);
// Runs a print job through the current runner (the toolkit's printer, or the tests' stand-in).
PrintOutcome RunPrintJob(wxWindow* parent, wxPrintDialogData& data, wxPrintout& printout);

// Asks where to write an export: the toolkit's save file dialog (asking before replacing a file)
// by default, opened in `folder` with `file` offered; answers the chosen path (empty when
// cancelled) and the index of the file kind chosen in `wildcard`. Tests replace it.
struct ExportQuestion {
    wxString title;
    wxString wildcard;
    wxString folder;
    wxString file;
};
struct ExportAnswer {
    wxString path;
    int filterIndex = 0;
};
using ExportPathAsker = std::function<ExportAnswer(wxWindow* parent, const ExportQuestion&)>;
void SetExportPathAsker(ExportPathAsker asker);
// Asks through the current asker.
wxString AskExportPath(wxWindow* parent, const wxString& title, const wxString& wildcard,
                       const wxString& file);

// Command ids of the export menu items of the File menu.
enum ExportCommandId : int {
    kCmdExportPicture = 2030,
    kCmdExportPdf = 2031,
    kCmdExportParts = 2032,
};
// Adds the export items after the print items of the File menu and binds them.
void BindExportCommands(MainFrame& frame);

// Adds "Height Profile..." to the Layout menu, after the layout check, and binds it
// (MainFrameProfile.cpp).
void BindProfileCommands(MainFrame& frame);

// Adds "Background Pictures..." to the Layout menu, after the levels, and binds it with the
// clicks of calibrating and aligning (MainFramePictures.cpp).
inline constexpr int kCmdBackgroundPictures = 2080;
void BindPictureCommands(MainFrame& frame);
// Tells which pictures of the document could not be read (after opening a layout).
void ReportMissingPictures(MainFrame& frame);

// Binds the dialog commands of the frame (Layout Shape, Levels, Page Setup, Print Preview,
// Print).
void BindDialogCommands(MainFrame& frame);
