// The main window's dialog commands: layout shape, levels, page setup, print preview and print.
#pragma once

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

// Binds the dialog commands of the frame (Layout Shape, Levels, Page Setup, Print Preview,
// Print).
void BindDialogCommands(MainFrame& frame);
