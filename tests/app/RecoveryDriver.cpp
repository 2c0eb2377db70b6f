// A Quillmore run for the crash-recovery tests, to be killed: it saves a layout under a name,
// edits it, and once the recovery timer has written the recovery file it writes the text the
// layout saves to into the expected-text file, then "ready", and runs until it is killed.
// Arguments: recovery folder, layout folder, expected-text file, ready file.
#include <wx/app.h>
#include <wx/modalhook.h>
#include <wx/textdlg.h>
#include <wx/timer.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "model/DocumentChange.h"
#include "app/gui/MainFrame.h"
#include "persistence/LayoutFile.h"

namespace {

constexpr int kAssertionExit = 70;

// Names the layout at its first save; nothing else is asked.
class NameAnswer : public wxModalDialogHook {
protected:
    int Enter(wxDialog* dialog) override {
        auto* entry = dynamic_cast<wxTextEntryDialog*>(dialog);
        if (!entry) return wxID_CANCEL;
        entry->SetValue("Crash Test & Co");
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}
};

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path + ".part", std::ios::binary) << text;
    std::filesystem::rename(path + ".part", path);
}

class DriverApp : public wxApp {
public:
    bool OnInit() override {
        if (argc != 5) return false;
        recoveryFolder = argv[1].utf8_string();
        expectedFile = argv[3].utf8_string();
        readyFile = argv[4].utf8_string();
        frame = new MainFrame();
        frame->SetProgramFolder(argv[2]);
        frame->Show();
        frame->Document().EnsureDefaultLevel();
        frame->AfterStartup();
        frame->StartRecovery(argv[1], 50);

        LayoutDocument& doc = frame->Document();
        PlacedPiece straight{0, "24188", 0, 0, 0, false, 0, 0, false, {}, 1, kNoId, {{}, {}}};
        doc.AddPiece(straight);
        frame->NotifyChanged(DocChange::Pieces);
        NameAnswer answer;
        answer.Register();
        const bool saved = frame->SaveLayoutFile(false);
        answer.Unregister();
        if (!saved) return false;

        // Unsaved work after the save: joined pieces, scenery, a label.
        straight.x = 188.3;
        straight.joints = {Joint{doc.pieces[0].id, 1}, Joint{}};
        const uint32_t second = doc.AddPiece(straight);
        doc.pieces[0].joints[1] = Joint{second, 0};
        doc.scenery.push_back(SceneryItem{doc.TakeId(), "tree", 50, 80, 30, false, 1.5, 1, 1});
        doc.labels.push_back(Label{doc.TakeId(), "Unsaved <work> & \"more\"", 10, 20, false});
        frame->NotifyChanged(DocChange::Pieces | DocChange::Scenery | DocChange::Annotations);

        poll.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { CheckWritten(); });
        poll.Start(20);
        return true;
    }

private:
    void CheckWritten() {
        for (const auto& entry : std::filesystem::directory_iterator(recoveryFolder)) {
            if (entry.path().extension() != ".xml") continue;
            poll.Stop();
            WriteText(expectedFile,
                      LayoutToText(frame->Document(), frame->LayoutName().utf8_string()));
            WriteText(readyFile, "ready");
            return;
        }
    }

    MainFrame* frame = nullptr;
    wxTimer poll;
    std::string recoveryFolder, expectedFile, readyFile;
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(DriverApp);

// A wrong call into the toolkit ends the driver at once with its own exit code, so the test that
// runs it fails instead of going on with a program in an unknown state.
void FailOnAssert(const wxString& file, int line, const wxString& function,
                  const wxString& condition, const wxString& message) {
    std::fprintf(stderr, "wx assertion failed at %s:%d in %s: %s %s\n", file.utf8_str().data(),
                 line, function.utf8_str().data(), condition.utf8_str().data(),
                 message.utf8_str().data());
    std::_Exit(kAssertionExit);
}

int main(int argc, char** argv) {
    wxSetAssertHandler(FailOnAssert);
    return wxEntry(argc, argv);
}
