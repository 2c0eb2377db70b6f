// Helpers for window tests: pumping events, answering modal dialogs, temporary folders.
#pragma once

#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/string.h>

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

// Reads a whole file as bytes; empty when missing.
std::string ReadFileBytes(const std::string& path);
