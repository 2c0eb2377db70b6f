// The two plain-text logs: the time-stamped application log and the frame construction trace.
#pragma once

#include <wx/string.h>

// The per-user local data directory (created if missing), or the temporary directory.
wxString LogDirectory();

// Opens "quillmore.log" for writing, emptying it. A failure leaves logging silent.
void OpenAppLog();
// Closes the application log; later calls of AppLog write nothing.
void CloseAppLog();
// Writes "%H:%M:%S.%l <message>\n" and flushes at once.
void AppLog(const wxString& message);

// Appends "<text>\r\n" to "mainframe.log"; the first call of a run deletes the old file first.
void TraceLog(const char* text);

// The toolkit's assertion handler of the program: a wrong call into the toolkit is written to
// the application log ("wx assertion failed at <file>:<line> in <function>: <condition> <message>"),
// or to stderr while no log is open, and the program goes on.
void LogToolkitAssertion(const wxString& file, int line, const wxString& function,
                         const wxString& condition, const wxString& message);
