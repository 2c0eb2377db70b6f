// Start-up: the log with its exact lines and line ends, and the construction trace in order.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "app/gui/AppLog.h"
#include "app/gui/MainFrame.h"
#include "support/GuiTestSupport.h"
#include "tests/app/AppTestHome.h"

namespace {

TEST(AppLog, LinesAreTimeStampedAndEndInNewline) {
    UseTestHome();
    OpenAppLog();
    AppLog("=== Quillmore starting ===");
    AppLog("second");
    const std::string path = (LogDirectory() + "/quillmore.log").ToStdString();
    const std::string text = ReadFileBytes(path);
    EXPECT_TRUE(std::regex_match(
        text, std::regex("\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d === Quillmore starting ===\n"
                         "\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d second\n")))
        << text;
    CloseAppLog();
    AppLog("after close");  // writes nothing, does not fail
    EXPECT_EQ(ReadFileBytes(path), text);
    OpenAppLog();  // a new start empties the log
    EXPECT_EQ(ReadFileBytes(path), "");
    CloseAppLog();
}

// The program switched the toolkit's assertions off, so a wrong call into it went unnoticed.
TEST(ToolkitAssertions, AreWrittenToTheLogInTheProgramAndFailTheTestInTests) {
    UseTestHome();
    OpenAppLog();
    const wxAssertHandler_t testHandler = wxSetAssertHandler(LogToolkitAssertion);
    wxFAIL_MSG("a deliberately wrong call");
    wxSetAssertHandler(testHandler);
    CloseAppLog();
    const std::string text = ReadFileBytes((LogDirectory() + "/quillmore.log").ToStdString());
    EXPECT_NE(text.find("wx assertion failed at "), std::string::npos) << text;
    EXPECT_NE(text.find("StartupTest.cpp:"), std::string::npos) << text;
    EXPECT_NE(text.find("a deliberately wrong call"), std::string::npos) << text;

    // The window tests' own handler turns the same assertion into a failure of the test.
    EXPECT_NONFATAL_FAILURE(wxFAIL_MSG("an assertion inside a test"), "an assertion inside a test");
}

TEST(MainFrameConstruction, WritesTheTraceLinesInOrderAndTheBareTitle) {
    UseTestHome();
    const std::string tracePath = (LogDirectory() + "/mainframe.log").ToStdString();
    TraceLog("before");  // the first trace of a run empties the file
    const size_t start = ReadFileBytes(tracePath).size();
    auto* frame = new MainFrame();
    // The steps in order, each line ended by CR LF and none left out at the end.
    std::string trace = ReadFileBytes(tracePath).substr(start);
    size_t at = 0;
    for (const char* step :
         {"A: wxFrame base constructed", "B: MenuBar done", "C: ToolBar done", "BuildPanels: start",
          "BuildPanels: canvas created", "BuildPanels: palette populated", "D: Panels done",
          "E: StatusBar done", "F: MainFrame constructor complete"}) {
        at = trace.find(std::string(step) + "\r\n", at);
        ASSERT_NE(at, std::string::npos) << step << " in\n" << trace;
    }
    EXPECT_TRUE(trace.ends_with("F: MainFrame constructor complete\r\n")) << trace;
    EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 18) << trace;
    EXPECT_EQ(std::count(trace.begin(), trace.end(), '\r'), 18) << trace;
    EXPECT_EQ(frame->GetTitle(), "Quillmore v1.3 by Bramblewick");
    frame->Destroy();
    PumpEvents();
}

}  // namespace
