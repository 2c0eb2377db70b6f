// Start-up and shutdown of the application.
#include "app/gui/QuillmoreApp.h"

#include <exception>

#include "app/gui/AppLanguage.h"
#include "app/gui/AppLog.h"
#include "app/gui/MainFrame.h"
#include "app/gui/StartupProbe.h"
#include "canvas/gui/CanvasPanel.h"
#include "catalog/TrackCatalog.h"

bool QuillmoreApp::OnInit() {
    OpenAppLog();
    AppLog("=== Quillmore starting ===");
    // Before the first window: every text is looked up as it is made.
    AppLog("Language: " + wxString::FromUTF8(UseLanguageAtStart()));
    AppLog(
        wxString::Format("Built-in catalog loaded - %d pieces", TrackCatalog::Instance().Count()));
    AppLog("Creating MainFrame...");
    try {
        mainFrame = new MainFrame();
    } catch (const std::exception& e) {
        AppLog("EXCEPTION: " + wxString::FromUTF8(e.what()));
        return false;
    } catch (...) {
        AppLog("UNKNOWN EXCEPTION in MainFrame");
        return false;
    }
    AppLog("MainFrame created OK");
    WatchStartupPaint(mainFrame->Canvas(), "window");
    mainFrame->Show();
    AppLog("Show OK");
    mainFrame->Document().EnsureDefaultLevel();
    mainFrame->ShowSplash();  // the properties panel refreshes once it is closed
    if (!startupLayout().empty()) mainFrame->OpenFromCommandLine(startupLayout());
    // After the splash: offers what a run that ended without saving left, then keeps the
    // unsaved layout beside the logs.
    mainFrame->StartRecovery(LogDirectory());
    return true;
}

int QuillmoreApp::OnExit() {
    AppLog("OnExit");
    CloseAppLog();
    return 0;
}
