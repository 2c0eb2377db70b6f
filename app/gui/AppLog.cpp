// The application log and the main frame construction trace.
#include "app/gui/AppLog.h"

#include <wx/datetime.h>
#include <wx/file.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {
std::unique_ptr<wxFile>& LogFile() {
    static std::unique_ptr<wxFile> file;
    return file;
}
bool traceReset = false;
}  // namespace

wxString LogDirectory() {
    wxString dir = wxStandardPaths::Get().GetUserLocalDataDir();
    if (!wxFileName::DirExists(dir)) wxFileName::Mkdir(dir, 0777, wxPATH_MKDIR_FULL);
    if (!wxFileName::DirExists(dir)) dir = wxStandardPaths::Get().GetTempDir();
    return dir;
}

void OpenAppLog() {
    auto& file = LogFile();
    file = std::make_unique<wxFile>();
    const wxString path = LogDirectory() + wxFileName::GetPathSeparator() + "quillmore.log";
    wxLogNull quiet;  // a log that cannot be opened stays silent
    file->Create(path, true, wxS_IRUSR | wxS_IWUSR | wxS_IRGRP | wxS_IWGRP | wxS_IROTH | wxS_IWOTH);
}

void CloseAppLog() {
    auto& file = LogFile();
    if (file) file->Close();
    file.reset();
}

void AppLog(const wxString& message) {
    auto& file = LogFile();
    if (!file || !file->IsOpened()) return;
    const wxString line = wxDateTime::UNow().Format("%H:%M:%S.%l ") + message + "\n";
    const wxScopedCharBuffer bytes = line.mb_str(*wxConvCurrent);
    file->Write(bytes.data(), bytes.length());
    file->Flush();
}

void TraceLog(const char* text) {
    static const std::string path = std::string(
        (LogDirectory() + wxFileName::GetPathSeparator() + "mainframe.log").mb_str(*wxConvCurrent));
    if (!traceReset) {
        std::remove(path.c_str());
        traceReset = true;
    }
    if (FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fputs(text, f);
        std::fputs("\r\n", f);
        std::fclose(f);
    }
}

void LogToolkitAssertion(const wxString& file, int line, const wxString& function,
                         const wxString& condition, const wxString& message) {
    const wxString text = wxString::Format("wx assertion failed at %s:%d in %s: %s %s", file, line,
                                           function, condition, message);
    const auto& log = LogFile();
    if (log && log->IsOpened()) {
        AppLog(text);
    } else {
        std::fprintf(stderr, "%s\n", text.utf8_str().data());
    }
}
