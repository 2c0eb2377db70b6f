// Helpers for window tests.
#include "support/GuiTestSupport.h"

#include <unistd.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/msgdlg.h>
#include <wx/textdlg.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return done();
        wxTheApp->ProcessPendingEvents();
        wxYield();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void PumpEvents(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        wxTheApp->ProcessPendingEvents();
        wxYield();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

ModalAnswerer::ModalAnswerer(Answer a) : answer(std::move(a)) { Register(); }
ModalAnswerer::ModalAnswerer(int code) : answer([code](wxDialog*) { return code; }) { Register(); }
ModalAnswerer::~ModalAnswerer() { Unregister(); }

int ModalAnswerer::Enter(wxDialog* dialog) {
    Seen s;
    s.title = dialog->GetTitle();
    if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog)) {
        s.message = box->GetMessage();
        if (s.title.empty()) s.title = box->GetTitle();
    } else if (auto* entry = dynamic_cast<wxTextEntryDialog*>(dialog)) {
        s.message = entry->GetValue();
    }
    seen.push_back(s);
    return answer(dialog);
}

void ModalAnswerer::Exit(wxDialog*) {}

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "quillmore-test-XXXXXX").string();
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data())) path = buf.data();
}

TempDir::~TempDir() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

StderrCapture::StderrCapture() {
    std::fflush(stderr);
    saved = dup(STDERR_FILENO);
    file = std::tmpfile();
    if (file) dup2(fileno(file), STDERR_FILENO);
}

StderrCapture::~StderrCapture() {
    std::fflush(stderr);
    if (saved >= 0) {
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
    if (file) {
        const std::string text = Text();
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fclose(file);
    }
}

std::string StderrCapture::Text() const {
    std::fflush(stderr);
    std::string text;
    if (!file) return text;
    std::rewind(file);
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    std::fseek(file, 0, SEEK_END);
    return text;
}
