// Start-up: the log with its exact lines and line ends, and the construction trace in order.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

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
    EXPECT_EQ(ReadFileBytes(tracePath).substr(start),
              "A: wxFrame base constructed\r\n"
              "B: MenuBar done\r\n"
              "C: ToolBar done\r\n"
              "BuildPanels: start\r\n"
              "BuildPanels: root panel created\r\n"
              "BuildPanels: palette created\r\n"
              "BuildPanels: splitter created\r\n"
              "BuildPanels: canvas created\r\n"
              "BuildPanels: properties created\r\n"
              "BuildPanels: split done\r\n"
              "BuildPanels: adding to sizer\r\n"
              "BuildPanels: outerSplit added\r\n"
              "BuildPanels: sizer set\r\n"
              "BuildPanels: layout done\r\n"
              "BuildPanels: palette populated\r\n"
              "D: Panels done\r\n"
              "E: StatusBar done\r\n"
              "F: MainFrame constructor complete\r\n");
    EXPECT_EQ(frame->GetTitle(), "Quillmore v1.3 by Bramblewick");
    frame->Destroy();
    PumpEvents();
}

}  // namespace
