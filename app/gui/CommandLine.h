// The program's command line: a layout to open, --help and --version.
#pragma once

#include <wx/string.h>

struct CommandLineRequest {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    wxString layoutPath;  // the layout to open at start; empty for none
    wxString text;        // what Help, Version and Error print
};

// Reads the arguments through the toolkit's parser. It runs before the toolkit starts its
// windows, so that --help and --version work without a display.
CommandLineRequest ParseCommandLine(int argc, char** argv);
