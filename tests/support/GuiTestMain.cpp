// Main of the window tests: starts wxWidgets on the display (Xvfb in the test command) and turns
// assertions and logged errors into test failures, so that nothing waits for a modal box.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/log.h>

#include <cstdio>
#include <cstdlib>

#include "app/gui/AppLanguage.h"

namespace {
void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
    ADD_FAILURE_AT(file.utf8_str().data(), line)
        << "wx assertion in " << func.utf8_str().data() << ": " << cond.utf8_str().data() << " "
        << msg.utf8_str().data();
}

class TestLog : public wxLog {
protected:
    void DoLogTextAtLevel(wxLogLevel level, const wxString& msg) override {
        std::fprintf(stderr, "[wx] %s\n", msg.utf8_str().data());
        if (level <= wxLOG_Warning) ADD_FAILURE() << "wx logged: " << msg.utf8_str().data();
    }
};
}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    // The tests read the program's English texts whatever the machine's language: nothing the
    // tests start follows a German environment, and no catalog is installed.
    setenv("LC_ALL", "C.UTF-8", 1);
    unsetenv("LANGUAGE");
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "wxEntryStart failed: is there a display?\n");
        return 2;
    }
    wxTheApp->SetAppName("quillmore");
    wxSetAssertHandler(FailOnAssert);
    delete wxLog::SetActiveTarget(new TestLog);
    wxInitAllImageHandlers();
    UseLanguage(kSourceLanguage, wxString());
    const int rc = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return rc;
}
