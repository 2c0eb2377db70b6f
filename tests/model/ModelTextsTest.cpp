// Message formatting, the translation hook the window program installs, and the model's messages
// through it: each lock refusal is one whole sentence per operation, and the grade read-out
// translates its words but keeps its marker and its numbers.
#include <gtest/gtest.h>

#include <string>

#include "base/Format.h"
#include "base/Translate.h"
#include "model/GradeRuns.h"
#include "model/Helices.h"
#include "model/Tunnels.h"

namespace {

// Marks every text it is asked for, so that a test sees what went through the catalog.
std::string Bracketed(const char* english) { return std::string("[") + english + "]"; }

TEST(FormatTest, KeepsTextsLongerThanTheStackBufferWhole) {
    const std::string name(2000, 'x');
    EXPECT_EQ(Format("%s ends at %.1f mm", name.c_str(), 12.25), name + " ends at 12.2 mm");
    EXPECT_EQ(Format("%s", ""), "");
}

class Translated : public testing::Test {
protected:
    void SetUp() override { SetTranslator(Bracketed); }
    void TearDown() override { SetTranslator(nullptr); }
};

TEST_F(Translated, LockRefusalsAreWholeSentencesPerOperation) {
    for (const char* verb : {"delete", "move", "rotate"}) {
        SCOPED_TRACE(verb);
        const std::string helix = HelixLockMessage(verb);
        EXPECT_TRUE(helix.starts_with("[Selection") && helix.ends_with("individually.]")) << helix;
        const std::string tunnel = TunnelLockMessage(verb);
        EXPECT_EQ(tunnel,
                  "[Selection includes tunnel track or portals. Remove the tunnel first, "
                  "then " +
                      std::string(verb) + ".]");
    }
    // An operation without a sentence of its own is still worded, in English.
    SetTranslator(nullptr);
    EXPECT_EQ(TunnelLockMessage("lift"),
              "Selection includes tunnel track or portals. Remove the tunnel first, then lift.");
}

TEST_F(Translated, GradeReadOutTranslatesWordsAndKeepsItsMarker) {
    EXPECT_EQ(StartGradeStatusText(-2.5), "[Elevation: [DOWN] 2.5 deg]");
    GradeRun run;
    run.gradeDeg = 3.0;
    const std::string shown = GradeRunsStatusText({run}, "", false);
    EXPECT_EQ(shown, "[ELEV][ 3.0 deg][  (right-click piece to stop)]");
    // The marker is found again whatever the language, and the read-out gives way to "Ready".
    EXPECT_EQ(GradeRunsStatusText({}, shown, false), "[Ready]");
    EXPECT_EQ(GradeRunsStatusText({}, "Something else", false), "Something else");
    EXPECT_EQ(GradeRunsStatusText({}, "Something else", true), "[Ready]");
    SetTranslator(nullptr);
    EXPECT_EQ(GradeRunsStatusText({run, {-2.5, 4, 0}}, "Ready"),
              "[ELEV] 3.0 deg -2.5 deg  (right-click piece to stop)");
}

}  // namespace
