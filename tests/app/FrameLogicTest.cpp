// Main-window rules without a window: title, enabling, the layout folder, delete and New.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/FrameLogic.h"
#include "model/LayoutDocument.h"

namespace {

TEST(FrameTitle, FollowsNameThenFileThenMark) {
    const std::string base = "Quillmore v1.3 by Bramblewick";
    const struct {
        const char* name;
        const char* path;
        bool modified;
        std::string expected;
    } cases[] = {{"", "", false, base},
                 {"", "", true, base + " *"},
                 {"Test", "", true, base + " - Test *"},
                 {"Test", "/home/u/Other.xml", false, base + " - Test"},
                 {"", "/home/u/Yard.v2.xml", true, base + " - Yard.v2 *"},
                 {"Gleis \xC3\xBC", "", false, base + " - Gleis \xC3\xBC"}};
    for (const auto& c : cases) EXPECT_EQ(FrameTitle(c.name, c.path, c.modified), c.expected);
}

PlacedPiece Piece(const std::string& article = "24188", double grade = 0, bool selected = false) {
    PlacedPiece p;
    p.article = article;
    p.grade = grade;
    p.selected = selected;
    p.joints.resize(2);
    return p;
}

// The window asks at every idle moment and forgets at every change notification: between two,
// the answer stands; an edit in the history or a piece added also starts afresh.
TEST(CommandStates, AreWorkedOutOncePerChangeAndDeleteNeedsAPieceOrSceneryItem) {
    LayoutDocument doc;
    doc.AddPiece(Piece());
    doc.AddPiece(Piece());
    doc.pieces[0].joints = {Joint{}, Joint{doc.pieces[1].id, 0}};
    doc.pieces[1].joints = {Joint{doc.pieces[0].id, 1}, Joint{}};
    CommandStates states;
    EXPECT_FALSE(states.Enabling(doc).deleteSelection);
    EXPECT_FALSE(states.Tunnel(doc).allowed);
    for (PlacedPiece& p : doc.pieces) p.selected = true;
    EXPECT_FALSE(states.Enabling(doc).deleteSelection) << "no change told yet";
    states.Forget();
    EXPECT_TRUE(states.Enabling(doc).deleteSelection);
    EXPECT_TRUE(states.Tunnel(doc).allowed);
    EXPECT_EQ(states.Tunnel(doc).chain.size(), 2u);
    doc.ClearSelection();
    doc.AddPiece(Piece());
    EXPECT_FALSE(states.Enabling(doc).deleteSelection) << "a piece added starts afresh";

    // Delete needs a selected piece or scenery item: labels and measurements do not count.
    doc.scenery.push_back(SceneryItem{});
    doc.labels.push_back(Label{0, "", 0, 0, true});
    doc.measurements.push_back(Measurement{0, 0, 0, 0, 0, 0, 0, true});
    EXPECT_FALSE(EnabledCommands(doc).deleteSelection);
    doc.scenery[0].selected = true;
    EXPECT_TRUE(EnabledCommands(doc).deleteSelection);
}

// Two levels, a baseboard, pieces 1 and 2, label 3 and a grade run.
LayoutDocument BusyDocument() {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    doc.levels.push_back(Level{2, "Upper", true, 0, false, {}, {}});
    doc.activeLevel = 2;
    doc.baseboard = {{0, 0}, {1000, 0}, {1000, 500}};
    doc.AddPiece(Piece());
    doc.AddPiece(Piece());
    doc.labels.push_back(Label{doc.TakeId(), "Yard", 5, 5, false});
    doc.gradeRuns.push_back(GradeRun{2.0, 1, 1});
    doc.RefreshCurrentGrade();
    doc.units = 2;
    return doc;
}

TEST(NewLayout, LeavesOneDefaultLevelAndUndoBringsBackTheLevelsAndBaseboardToo) {
    LayoutDocument doc = BusyDocument();
    const LayoutDocument busy = doc;
    ResetForNewLayout(doc);
    EXPECT_EQ(doc.levels, std::vector<Level>{DefaultLevel()});
    EXPECT_EQ(doc.activeLevel, 1u);
    EXPECT_TRUE(doc.baseboard.empty() && doc.pieces.empty() && doc.labels.empty());
    EXPECT_TRUE(doc.gradeRuns.empty());
    EXPECT_FALSE(doc.currentGrade.hasGrade);
    EXPECT_EQ(doc.nextId, 1u);
    EXPECT_EQ(doc.units, 2) << "the display unit is not part of the layout content";

    doc.Undo();
    EXPECT_EQ(doc.pieces.size(), 2u);
    EXPECT_EQ(doc.labels.size(), 1u);
    EXPECT_TRUE(doc.currentGrade.hasGrade);
    // Pieces on the upper level must not come back without the level they stand on.
    EXPECT_EQ(doc.levels, busy.levels);
    EXPECT_EQ(doc.activeLevel, busy.activeLevel);
    EXPECT_EQ(doc.baseboard, busy.baseboard);
    // The restored objects hold ids 1 to 3: the next one must not share any of them.
    EXPECT_EQ(doc.AddPiece(Piece()), 4u);
}

}  // namespace
