// Start-up: the logs with their exact lines and line ends, and the bare main window.
#include <gtest/gtest.h>
#include <wx/stdpaths.h>

#include <cstdlib>
#include <regex>

#include "app/AppLog.h"
#include "app/MainFrame.h"
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

TEST(MainFrame, HasItsTitleSizeAndTraceLines) {
    UseTestHome();
    auto* frame = new MainFrame();
    EXPECT_EQ(frame->GetTitle(), "Quillmore v1.3 by Bramblewick");
    EXPECT_EQ(frame->GetSize(), wxSize(1400, 900));
    EXPECT_TRUE(frame->Document().levels.empty());
    frame->Document().EnsureDefaultLevel();
    EXPECT_EQ(frame->Document().levels.at(0).name, "Level 1");

    const std::string trace = ReadFileBytes((LogDirectory() + "/mainframe.log").ToStdString());
    EXPECT_EQ(trace.rfind("A: wxFrame base constructed\r\n", 0), 0u) << trace;
    EXPECT_NE(trace.find("F: MainFrame constructor complete\r\n"), std::string::npos);
    EXPECT_LT(trace.find("BuildPanels: start"), trace.find("D: Panels done"));
    frame->Destroy();
    PumpEvents();
}
}  // namespace
