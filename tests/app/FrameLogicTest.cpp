// Main-window rules without a window: title, enabling, the layout folder, delete and New.
#include "app/FrameLogic.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/LayoutDocument.h"

namespace {

const std::string kBase = "Quillmore v1.3 by Bramblewick";

struct TitleCase {
    std::string name, path;
    bool modified;
    std::string expected;
};

class FrameTitleTest : public testing::TestWithParam<TitleCase> {};

TEST_P(FrameTitleTest, FollowsNameThenFileThenMark) {
    const TitleCase& c = GetParam();
    EXPECT_EQ(FrameTitle(c.name, c.path, c.modified), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrameTitleTest,
    testing::Values(TitleCase{"", "", false, kBase}, TitleCase{"", "", true, kBase + " *"},
                    TitleCase{"Test", "", true, kBase + " - Test *"},
                    TitleCase{"Test", "/home/u/Other.xml", false, kBase + " - Test"},
                    TitleCase{"", "/home/u/Yard.xml", false, kBase + " - Yard"},
                    TitleCase{"", "/home/u/Yard.v2.xml", true, kBase + " - Yard.v2 *"},
                    TitleCase{"Gleis \xC3\xBC", "", false, kBase + " - Gleis \xC3\xBC"}));

PlacedPiece Piece(const std::string& article = "24188") {
    PlacedPiece p;
    p.article = article;
    p.joints.resize(2);
    return p;
}

TEST(EnabledCommands, UndoRedoFollowTheStacks) {
    LayoutDocument doc;
    CommandEnabling e = EnabledCommands(doc);
    EXPECT_FALSE(e.undo);
    EXPECT_FALSE(e.redo);
    doc.AddPiece(Piece());
    e = EnabledCommands(doc);
    EXPECT_TRUE(e.undo);
    EXPECT_FALSE(e.redo);
    doc.Undo();
    e = EnabledCommands(doc);
    EXPECT_FALSE(e.undo);
    EXPECT_TRUE(e.redo);
}

TEST(EnabledCommands, DeleteNeedsASelectedPieceOrSceneryItem) {
    LayoutDocument doc;
    doc.AddPiece(Piece());
    doc.scenery.push_back(SceneryItem{});
    doc.labels.push_back(Label{});
    doc.measurements.push_back(Measurement{});
    EXPECT_FALSE(EnabledCommands(doc).deleteSelection);
    doc.labels[0].selected = true;
    doc.measurements[0].selected = true;
    EXPECT_FALSE(EnabledCommands(doc).deleteSelection);
    doc.scenery[0].selected = true;
    EXPECT_TRUE(EnabledCommands(doc).deleteSelection);
    doc.scenery[0].selected = false;
    doc.pieces[0].selected = true;
    EXPECT_TRUE(EnabledCommands(doc).deleteSelection);
}

class LayoutFolderTest : public testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("quillmore-frame-" + std::to_string(::getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    void Touch(const std::string& name) { std::ofstream(dir / name) << "x"; }

    std::filesystem::path dir;
};

TEST_F(LayoutFolderTest, ListsXmlFilesByteSortedWithoutExtension) {
    for (const char* f : {"b.xml", "A.xml", "a.xml", "Yard.v2.xml", "notes.txt", "x.XML",
                          "xml", ".xml", "old.xml.bak"})
        Touch(f);
    std::filesystem::create_directories(dir / "sub.xml");
    std::filesystem::create_directories(dir / "library");
    std::ofstream(dir / "library" / "block.xml") << "x";

    const std::vector<std::string> expected{"A", "Yard.v2", "a", "b"};
    EXPECT_EQ(ListLayoutNames(dir.string()), expected);
}

TEST_F(LayoutFolderTest, EmptyOrMissingFolderListsNothing) {
    EXPECT_TRUE(ListLayoutNames(dir.string()).empty());
    EXPECT_TRUE(ListLayoutNames((dir / "missing").string()).empty());
}

TEST_F(LayoutFolderTest, NameAndFolderGiveThePath) {
    EXPECT_EQ(LayoutFilePath("/opt/q", "My Layout"), "/opt/q/My Layout.xml");
}

TEST(DeleteChecks, GradedMeansAboveOneThousandthSelectedOnly) {
    LayoutDocument doc;
    for (double g : {0.001, -0.001, 0.0}) {
        PlacedPiece p = Piece();
        p.grade = g;
        p.selected = true;
        doc.pieces.push_back(p);
    }
    PlacedPiece steepUnselected = Piece();
    steepUnselected.grade = 3;
    doc.pieces.push_back(steepUnselected);
    EXPECT_FALSE(SelectionHasGradedPieces(doc));

    doc.pieces[0].grade = 0.0011;
    EXPECT_TRUE(SelectionHasGradedPieces(doc));
    doc.pieces[0].grade = -2.5;
    EXPECT_TRUE(SelectionHasGradedPieces(doc));
}

TEST(SelectAll, SelectsPiecesAndSceneryOnly) {
    LayoutDocument doc;
    doc.pieces = {Piece(), Piece()};
    doc.scenery.resize(2);
    doc.labels.resize(1);
    doc.measurements.resize(1);
    doc.measurements[0].selected = true;
    SelectAllPiecesAndScenery(doc);
    for (auto& p : doc.pieces) EXPECT_TRUE(p.selected);
    for (auto& s : doc.scenery) EXPECT_TRUE(s.selected);
    EXPECT_FALSE(doc.labels[0].selected);
    EXPECT_TRUE(doc.measurements[0].selected);  // left as it was
}

TEST(MeasureMode, DeselectsEverything) {
    LayoutDocument doc;
    doc.pieces = {Piece()};
    doc.pieces[0].selected = true;
    doc.scenery.resize(1);
    doc.scenery[0].selected = true;
    doc.labels.resize(1);
    doc.labels[0].selected = true;
    doc.measurements.resize(1);
    doc.measurements[0].selected = true;
    EnterMeasureMode(doc);
    EXPECT_EQ(doc.toolMode, 3);
    EXPECT_FALSE(doc.HasSelection());
}

LayoutDocument BusyDocument() {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    Level second;
    second.id = 2;
    second.name = "Upper";
    doc.levels.push_back(second);
    doc.activeLevel = 2;
    doc.baseboard = {{0, 0}, {1000, 0}, {1000, 500}};
    doc.AddPiece(Piece());
    doc.AddPiece(Piece());
    doc.labels.push_back(Label{doc.TakeId(), "Yard", 5, 5, false});
    doc.gradeRuns.push_back(GradeRun{2.0, 1, 1});
    doc.RefreshCurrentGrade();
    return doc;
}

TEST(NewLayout, LeavesOneDefaultLevelAndNoContent) {
    LayoutDocument doc = BusyDocument();
    doc.units = 2;
    ResetForNewLayout(doc);
    ASSERT_EQ(doc.levels.size(), 1u);
    EXPECT_EQ(doc.levels[0], DefaultLevel());
    EXPECT_EQ(doc.activeLevel, 1u);
    EXPECT_TRUE(doc.baseboard.empty());
    EXPECT_TRUE(doc.pieces.empty());
    EXPECT_TRUE(doc.labels.empty());
    EXPECT_TRUE(doc.gradeRuns.empty());
    EXPECT_FALSE(doc.currentGrade.hasGrade);
    EXPECT_EQ(doc.nextId, 1u);
    EXPECT_EQ(doc.units, 2);  // the display unit is not part of the layout content
}

TEST(NewLayout, CanBeUndoneExceptLevelsAndBaseboard) {
    LayoutDocument doc = BusyDocument();
    ResetForNewLayout(doc);
    doc.Undo();
    EXPECT_EQ(doc.pieces.size(), 2u);
    EXPECT_EQ(doc.labels.size(), 1u);
    EXPECT_TRUE(doc.currentGrade.hasGrade);
    EXPECT_EQ(doc.levels.size(), 1u);
    EXPECT_TRUE(doc.baseboard.empty());
}

TEST(NextIdAfterUndo, UndoOfNewDoesNotLeadToSharedIds) {
    LayoutDocument doc = BusyDocument();  // ids 1, 2 pieces, 3 label
    ResetForNewLayout(doc);
    doc.Undo();
    RaiseNextIdAboveUsedIds(doc);
    const uint32_t id = doc.AddPiece(Piece());
    EXPECT_EQ(id, 4u);
}

TEST(NextIdAfterUndo, NeverLowersTheCounter) {
    LayoutDocument doc;
    doc.nextId = 40;
    PlacedPiece p = Piece();
    p.id = 7;
    doc.pieces.push_back(p);
    Tunnel t;
    t.id = 12;
    doc.tunnels.push_back(t);
    RaiseNextIdAboveUsedIds(doc);
    EXPECT_EQ(doc.nextId, 40u);
    doc.nextId = 3;
    RaiseNextIdAboveUsedIds(doc);
    EXPECT_EQ(doc.nextId, 13u);
}

TEST(AfterOpen, ZTrackAskForUnitZoom) {
    LayoutDocument doc;
    EXPECT_FALSE(WantsUnitZoomAfterOpen(doc));
    doc.pieces = {Piece("24188"), Piece("no-such-article")};
    EXPECT_FALSE(WantsUnitZoomAfterOpen(doc));
    doc.pieces.push_back(Piece("8500"));
    EXPECT_TRUE(WantsUnitZoomAfterOpen(doc));
}

TEST(StatusText, CountsPieces) {
    LayoutDocument doc;
    EXPECT_EQ(PieceCountText(doc), "Pieces: 0");
    doc.pieces = {Piece(), Piece(), Piece()};
    EXPECT_EQ(PieceCountText(doc), "Pieces: 3");
}

}  // namespace
