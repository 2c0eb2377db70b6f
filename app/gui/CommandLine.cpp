// The program's command line, read through the toolkit's parser.
#include "app/gui/CommandLine.h"

#include <wx/cmdline.h>
#include <wx/msgout.h>

#include "app/FrameLogic.h"

namespace {

// Takes what the parser would print about a wrong command line: the program prints its own
// message, and before the toolkit starts there is nowhere else for the parser's to go.
class SwallowedOutput : public wxMessageOutput {
public:
    void Output(const wxString&) override {}
};

// Puts a swallowing output in place while it lives.
class QuietParser {
public:
    QuietParser() : saved(wxMessageOutput::Set(&output)) {}
    ~QuietParser() { wxMessageOutput::Set(saved); }

private:
    SwallowedOutput output;
    wxMessageOutput* saved;
};

}  // namespace

CommandLineRequest ParseCommandLine(int argc, char** argv) {
    static const wxCmdLineEntryDesc kEntries[] = {
        {wxCMD_LINE_SWITCH, "h", "help", "show this help and exit", wxCMD_LINE_VAL_NONE,
         wxCMD_LINE_OPTION_HELP},
        {wxCMD_LINE_SWITCH, "v", "version", "show the version and exit", wxCMD_LINE_VAL_NONE, 0},
        {wxCMD_LINE_PARAM, nullptr, nullptr, "layout file", wxCMD_LINE_VAL_STRING,
         wxCMD_LINE_PARAM_OPTIONAL},
        {wxCMD_LINE_NONE, nullptr, nullptr, nullptr, wxCMD_LINE_VAL_NONE, 0},
    };
    wxCmdLineParser parser(kEntries, argc, argv);
    // The command line answers before any window, and so before any catalog: in English.
    parser.SetLogo(
        wxString::Format("Quillmore %s: a planner for model-railway track layouts.\n", kVersion));
    CommandLineRequest request;
    // Errors are collected rather than printed by the parser, which would need the windows.
    wxString errors;
    {
        wxLogNull quiet;
        const QuietParser parserQuiet;
        const int result = parser.Parse(false);
        if (result == -1) {
            request.action = CommandLineRequest::Action::Help;
            request.text = parser.GetUsageString();
            return request;
        }
        if (result != 0) {
            request.action = CommandLineRequest::Action::Error;
            request.text =
                "quillmore: unknown option or too many layouts\n" + parser.GetUsageString();
            return request;
        }
    }
    if (parser.Found("version")) {
        request.action = CommandLineRequest::Action::Version;
        request.text = wxString::Format("Quillmore %s\n", kVersion);
        return request;
    }
    if (parser.GetParamCount() > 0) request.layoutPath = parser.GetParam(0);
    return request;
}
