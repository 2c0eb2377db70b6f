// Helpers for window tests: pumping events, answering modal dialogs, temporary folders.
#pragma once

#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/string.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// Processes pending events until `done` returns true or `timeoutMs` passes; returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 2000);
// Processes pending events for a short while.
void PumpEvents(int ms = 20);

// Answers every modal dialog opened while it lives, without showing it. The answerer receives
// the dialog and returns the code ShowModal() gives back (wxID_OK, wxID_YES, wxID_CANCEL, ...).
// Message boxes are recorded with their caption and text.
class ModalAnswerer : public wxModalDialogHook {
public:
    using Answer = std::function<int(wxDialog*)>;
    explicit ModalAnswerer(Answer answer);
    // Answers every dialog with the same code.
    explicit ModalAnswerer(int code);
    ~ModalAnswerer() override;

    struct Seen {
        wxString title;    // dialog title (caption of a message box)
        wxString message;  // message of a message box or text entry dialog, else empty
    };
    const std::vector<Seen>& Dialogs() const { return seen; }
    int Count() const { return static_cast<int>(seen.size()); }

protected:
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog* dialog) override;

private:
    Answer answer;
    std::vector<Seen> seen;
};

// A fresh temporary folder, removed with its contents when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return path; }
    std::string File(const std::string& name) const { return path + "/" + name; }

private:
    std::string path;
};

// Sends everything written to file descriptor 2 into a temporary file while it lives; what was
// captured still reaches the test's log at the end.
class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    bool Active() const { return file && saved >= 0; }
    // Everything written so far.
    std::string Text() const;

private:
    int saved = -1;
    std::FILE* file = nullptr;
};

// Reads a whole file as bytes; empty when missing.
std::string ReadFileBytes(const std::string& path);
