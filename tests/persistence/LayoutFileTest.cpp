// Layout files: exact text of the writer, reader defaults, round trips, refusals, locale.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <clocale>
#include <string>
#include <vector>

#include "FileTestSupport.h"
#include "persistence/LayoutFile.h"

namespace {

// The small example layout, byte for byte as a user's file holds it.
const char* const kExampleFile =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<layout name="Shelf &amp; Yard" version="1" units="0">
  <grade_runs>
    <run deg="2.0000" anchor="2" conn="1"/>
  </grade_runs>
  <pieces>
    <piece id="1" cat="24188" x="0.0000" y="0.0000" heading="0.0000" z="0.0000" grade="0.0000" level="1" sel="0">
      <joint conn="1" target="2" tconn="0"/>
    </piece>
    <piece id="2" cat="24188" x="200.0000" y="0.0000" heading="0.0000" z="0.0000" grade="2.0000" level="1" sel="1" color="16711680">
      <joint conn="0" target="1" tconn="1"/>
    </piece>
  </pieces>
  <levels active="1">
    <level id="1" name="Level 1" visible="1" height="0.0000" trackcolor="0" r="180" g="200" b="220"/>
  </levels>
  <baseboard>
    <vertex x="0.0000" y="0.0000"/>
    <vertex x="1200.0000" y="0.0000"/>
    <vertex x="1200.0000" y="600.0000"/>
    <vertex x="0.0000" y="600.0000"/>
  </baseboard>
  <lastshape id="0" w_mm="1200.0000" h_mm="600.0000" w2_mm="0.0000" h2_mm="0.0000"/>
  <labels>
    <label id="3" x="100.0000" y="-50.0000" text="Station"/>
  </labels>
</layout>
)";

// A document that uses every record the file carries.
LayoutDocument FullDocument() {
    LayoutDocument doc;
    doc.units = 1;
    doc.levels.push_back(DefaultLevel());
    Level upper;
    upper.id = 2;
    upper.name = "Upper <deck> & \"yard\"";
    upper.visible = false;
    upper.height = 80.5;
    upper.colourTrack = true;
    upper.colour = {10, 20, 30};
    upper.outline = {{0, 0}, {1200, 0}, {1200, -600.25}};
    doc.levels.push_back(upper);
    doc.activeLevel = 2;

    PlacedPiece p1;
    p1.id = 1;
    p1.article = "24188";
    p1.joints = {Joint{}, Joint{2, 0}};
    PlacedPiece p2;
    p2.id = 2;
    p2.article = "24130";
    p2.x = 188.3;
    p2.elevation = 12.5;
    p2.grade = 2.5;
    p2.level = 2;
    p2.selected = true;
    p2.hasColour = true;
    p2.colour = {255, 128, 0};
    p2.joints = {Joint{1, 1}, Joint{}};
    PlacedPiece p3;
    p3.id = 3;
    p3.article = "24912";
    p3.x = -100.125;
    p3.y = 50.0625;
    p3.heading = 270;
    p3.level = 2;
    p3.helixId = 7;
    p3.selected = true;
    p3.joints = {Joint{}, Joint{4, 0}};
    PlacedPiece p4;
    p4.id = 4;
    p4.article = "24912";
    p4.x = -200;
    p4.y = 50;
    p4.heading = 359.9999;
    p4.level = 2;
    p4.helixId = 7;
    p4.selected = true;
    p4.joints = {Joint{3, 1}, Joint{}};
    doc.pieces = {p1, p2, p3, p4};

    doc.gradeRuns.push_back(GradeRun{2.5, 2, 1});
    doc.RefreshCurrentGrade();

    doc.scenery.push_back(SceneryItem{5, "tree_oak", 500, 300, 45, true, 1.5, 0.75, 2});
    doc.scenery.push_back(SceneryItem{8, "tunnel_portal_single", 10, 20, 90, false, 1, 1, 1});
    doc.scenery.push_back(SceneryItem{9, "tunnel_portal_single", 30, 40, 270, false, 1, 1, 1});
    doc.labels.push_back(Label{6, "Yard <East> & \"Main\"", 100, -50, false});
    doc.tunnels.push_back(Tunnel{10, 8, 9, 1, kNoId, {2, 3}});
    doc.tunnels.push_back(Tunnel{11, kNoId, kNoId, kNoId, kNoId, {}});
    doc.helices.push_back(Helix{7, 400, 400, 90, "proses_2_5_r1r2", 3, 4, kNoId, kNoId});
    doc.baseboard = {{0, 0}, {2400, 0}, {2400, 1200}, {0, 1200}};
    doc.lastShape = 3;
    doc.shapeWidth = 2000;
    doc.shapeHeight = 900.5;
    doc.shapeWidth2 = 600;
    doc.shapeHeight2 = 450;
    doc.nextId = 12;
    return doc;
}

const char* const kFullDocumentName = "Club <North> & \"South\"";

// FullDocument() as the writer must put it, worked out line by line.
const char* const kFullDocumentFile =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<layout name="Club &lt;North&gt; &amp; &quot;South&quot;" version="1" units="1">
  <grade_runs>
    <run deg="2.5000" anchor="2" conn="1"/>
  </grade_runs>
  <pieces>
    <piece id="1" cat="24188" x="0.0000" y="0.0000" heading="0.0000" z="0.0000" grade="0.0000" level="1" sel="0">
      <joint conn="1" target="2" tconn="0"/>
    </piece>
    <piece id="2" cat="24130" x="188.3000" y="0.0000" heading="0.0000" z="12.5000" grade="2.5000" level="2" sel="1" color="16744448">
      <joint conn="0" target="1" tconn="1"/>
    </piece>
    <piece id="3" cat="24912" x="-100.1250" y="50.0625" heading="270.0000" z="0.0000" grade="0.0000" level="2" helix="7" sel="1">
      <joint conn="1" target="4" tconn="0"/>
    </piece>
    <piece id="4" cat="24912" x="-200.0000" y="50.0000" heading="359.9999" z="0.0000" grade="0.0000" level="2" helix="7" sel="1">
      <joint conn="0" target="3" tconn="1"/>
    </piece>
  </pieces>
  <scenery>
    <sceneryitem id="5" item="tree_oak" x="500.0000" y="300.0000" heading="45.0000" scalex="1.5000" scaley="0.7500" level="2" sel="1"/>
    <sceneryitem id="8" item="tunnel_portal_single" x="10.0000" y="20.0000" heading="90.0000" scalex="1.0000" scaley="1.0000" level="1" sel="0"/>
    <sceneryitem id="9" item="tunnel_portal_single" x="30.0000" y="40.0000" heading="270.0000" scalex="1.0000" scaley="1.0000" level="1" sel="0"/>
  </scenery>
  <levels active="2">
    <level id="1" name="Level 1" visible="1" height="0.0000" trackcolor="0" r="180" g="200" b="220"/>
    <level id="2" name="Upper &lt;deck&gt; &amp; &quot;yard&quot;" visible="0" height="80.5000" trackcolor="1" r="10" g="20" b="30">
      <pt x="0.0000" y="0.0000"/>
      <pt x="1200.0000" y="0.0000"/>
      <pt x="1200.0000" y="-600.2500"/>
    </level>
  </levels>
  <baseboard>
    <vertex x="0.0000" y="0.0000"/>
    <vertex x="2400.0000" y="0.0000"/>
    <vertex x="2400.0000" y="1200.0000"/>
    <vertex x="0.0000" y="1200.0000"/>
  </baseboard>
  <lastshape id="3" w_mm="2000.0000" h_mm="900.5000" w2_mm="600.0000" h2_mm="450.0000"/>
  <labels>
    <label id="6" x="100.0000" y="-50.0000" text="Yard &lt;East&gt; &amp; &quot;Main&quot;"/>
  </labels>
  <tunnels>
    <tunnel id="10" portalA="8" portalB="9" anchorA="1" anchorB="-1">
      <covers piece="2"/>
      <covers piece="3"/>
    </tunnel>
    <tunnel id="11" portalA="-1" portalB="-1" anchorA="-1" anchorB="-1">
    </tunnel>
  </tunnels>
  <helices>
    <helix id="7" cx="400.0000" cy="400.0000" heading="90.0000" variant="proses_2_5_r1r2" bottomR1="3" bottomR2="4" topR1="-1" topR2="-1"/>
  </helices>
</layout>
)";

const char* const kEmptyDocumentFile =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<layout name="" version="1" units="0">
  <pieces>
  </pieces>
  <levels active="1">
    <level id="1" name="Level 1" visible="1" height="0.0000" trackcolor="0" r="180" g="200" b="220"/>
  </levels>
  <lastshape id="0" w_mm="2400.0000" h_mm="1200.0000" w2_mm="1200.0000" h2_mm="1200.0000"/>
</layout>
)";

// Loads `text` into a fresh document and expects success.
LayoutDocument LoadText(const std::string& text, std::string* name = nullptr) {
    LayoutDocument doc;
    std::string error = LoadLayoutFromText(doc, text, name);
    EXPECT_EQ(error, "");
    return doc;
}

// A layout file around the given lines of its piece list.
std::string WithPieces(const std::string& pieceLines) {
    return "<layout name=\"t\" version=\"1\" units=\"0\">\n  <pieces>\n" + pieceLines +
           "  </pieces>\n</layout>\n";
}

class LayoutFileTest : public testing::Test {
protected:
    TempFolder folder;
};

TEST_F(LayoutFileTest, ExampleFileReadsAndWritesBackByteForByte) {
    std::string path = folder.File("shelf.xml");
    WriteBytes(path, kExampleFile);
    LayoutDocument doc;
    std::string name;
    ASSERT_EQ(LoadLayout(doc, path, &name), "");
    EXPECT_EQ(name, "Shelf & Yard");
    ASSERT_EQ(doc.pieces.size(), 2u);
    EXPECT_EQ(doc.pieces[1].x, 200.0);
    EXPECT_TRUE(doc.pieces[1].selected);
    EXPECT_TRUE(doc.pieces[1].hasColour);
    EXPECT_EQ(doc.pieces[1].colour, (Rgb{255, 0, 0}));  // 16711680 = 0xFF0000
    EXPECT_EQ(doc.pieces[0].joints[1], (Joint{2, 0}));
    EXPECT_TRUE(doc.pieces[0].joints[0].IsOpen());
    EXPECT_EQ(doc.baseboard.size(), 4u);
    EXPECT_EQ(doc.shapeWidth, 1200.0);
    EXPECT_EQ(doc.shapeWidth2, 0.0);
    ASSERT_EQ(doc.labels.size(), 1u);
    EXPECT_EQ(doc.labels[0].text, "Station");
    EXPECT_EQ(doc.nextId, 4u) << "one above the label's id 3";
    EXPECT_TRUE(doc.currentGrade.hasGrade);
    EXPECT_EQ(doc.currentGrade.gradeDeg, 2.0);
    EXPECT_EQ(doc.currentGrade.anchorPiece, 2);

    std::string again = folder.File("again.xml");
    ASSERT_EQ(SaveLayout(doc, again, name), "");
    EXPECT_EQ(ReadBytes(again), kExampleFile);
}

TEST_F(LayoutFileTest, WriterProducesExactLinesForEveryRecordType) {
    EXPECT_EQ(LayoutToText(FullDocument(), kFullDocumentName), kFullDocumentFile);
}

TEST_F(LayoutFileTest, SaveLoadSaveGivesSameBytesAndEqualDocument) {
    LayoutDocument original = FullDocument();
    std::string first = folder.File("first.xml");
    ASSERT_EQ(SaveLayout(original, first, kFullDocumentName), "");

    LayoutDocument loaded;
    std::string name;
    ASSERT_EQ(LoadLayout(loaded, first, &name), "");
    EXPECT_EQ(name, kFullDocumentName);
    ExpectSameFileContents(loaded, original);

    std::string second = folder.File("second.xml");
    ASSERT_EQ(SaveLayout(loaded, second, name), "");
    EXPECT_EQ(ReadBytes(second), ReadBytes(first));
}

TEST_F(LayoutFileTest, NewEmptyDocumentSavesAsDeclarationPiecesLevelAndShape) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    EXPECT_EQ(LayoutToText(doc, ""), kEmptyDocumentFile);
    LayoutDocument back = LoadText(kEmptyDocumentFile);
    ExpectSameFileContents(back, doc);
}

TEST_F(LayoutFileTest, SavingReplacesAnExistingFile) {
    std::string path = folder.File("layout.xml");
    WriteBytes(path, std::string(100000, 'x'));
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    ASSERT_EQ(SaveLayout(doc, path, ""), "");
    EXPECT_EQ(ReadBytes(path), kEmptyDocumentFile);
}

TEST_F(LayoutFileTest, LinesLongerThanAReadBlockAndFaultLineNumbersFromFile) {
    // The file is read in blocks; a line may span several of them.
    LayoutDocument doc = FullDocument();
    doc.labels[0].text = std::string(200000, 'w') + "&<end>";
    std::string path = folder.File("long.xml");
    ASSERT_EQ(SaveLayout(doc, path, "long"), "");
    LayoutDocument back;
    ASSERT_EQ(LoadLayout(back, path, nullptr), "");
    ExpectSameFileContents(back, doc);

    std::string text = std::string(kExampleFile);
    text.pop_back();  // last line without its line feed, and a fault in it
    text += "<label id=\"9\" x=\"0\"/>";
    WriteBytes(path, std::string(70000, '\n') + text);
    EXPECT_EQ(LoadLayout(back, path, nullptr), "Line 70027: missing y in <label>");
}

TEST_F(LayoutFileTest, MissingFileReportsItsPathAndLeavesDocument) {
    LayoutDocument doc = FullDocument();
    std::string name = "kept";
    std::string path = folder.File("nothing-here.xml");
    EXPECT_EQ(LoadLayout(doc, path, &name), "Cannot open file: " + path);
    EXPECT_EQ(name, "kept");
    ExpectSameFileContents(doc, FullDocument());
    EXPECT_EQ(LoadLayout(doc, folder.path, &name), "Cannot open file: " + folder.path)
        << "a folder is not a layout";
    EXPECT_EQ(LoadLayout(doc, "/dev/zero", &name), "Cannot open file: /dev/zero")
        << "nor is an endless device";
    std::string fifo = folder.File("pipe.xml");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(LoadLayout(doc, fifo, &name), "Cannot open file: " + fifo) << "without waiting";
    ExpectSameFileContents(doc, FullDocument());
}

// --- Reader details ---

TEST(LayoutReader, LevelWithTwoOutlinePointsIsSelfClosingAndReloadsWithoutOutline) {
    LayoutDocument doc;
    Level level = DefaultLevel();
    level.outline = {{1, 2}, {3, 4}};
    doc.levels.push_back(level);
    std::string text = LayoutToText(doc, "");
    EXPECT_NE(text.find("r=\"180\" g=\"200\" b=\"220\"/>\n  </levels>"), std::string::npos);
    EXPECT_EQ(text.find("<pt"), std::string::npos);
    EXPECT_TRUE(LoadText(text).levels.at(0).outline.empty());
}

TEST(LayoutReader, PieceWithoutHelixOrColourHasNeitherAttributeAndReadsBackSo) {
    LayoutDocument doc;
    PlacedPiece p;
    p.id = 1;
    p.article = "24188";
    doc.pieces.push_back(p);
    std::string text = LayoutToText(doc, "");
    EXPECT_EQ(text.find("helix="), std::string::npos);
    EXPECT_EQ(text.find("color="), std::string::npos);
    LayoutDocument back = LoadText(text);
    EXPECT_EQ(back.pieces.at(0).helixId, kNoId);
    EXPECT_FALSE(back.pieces.at(0).hasColour);
}

TEST(LayoutReader, ColourIntegerPacksRedGreenBlue) {
    LayoutDocument doc = LoadText(WithPieces(
        "    <piece id=\"1\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\" color=\"16744448\">\n"
        "    </piece>\n"));
    EXPECT_TRUE(doc.pieces.at(0).hasColour);
    EXPECT_EQ(doc.pieces.at(0).colour, (Rgb{255, 128, 0}));  // 255*65536 + 128*256
}

TEST(LayoutReader, LevelRedIsNotTakenFromTrackcolor) {
    LayoutDocument doc = LoadText(
        "<levels active=\"1\">\n"
        "<level id=\"1\" name=\"A\" visible=\"1\" height=\"0.0000\" trackcolor=\"1\" r=\"10\" "
        "g=\"20\" b=\"30\"/>\n</levels>\n");
    ASSERT_EQ(doc.levels.size(), 1u);
    EXPECT_TRUE(doc.levels[0].colourTrack);
    EXPECT_EQ(doc.levels[0].colour, (Rgb{10, 20, 30}));
}

TEST(LayoutReader, AbsentLevelAttributesTakeTheirDefaults) {
    LayoutDocument doc = LoadText("<levels >\n<level id=\"4\"/>\n</levels>\n");
    ASSERT_EQ(doc.levels.size(), 1u);
    EXPECT_EQ(doc.levels[0].id, 4u);
    EXPECT_EQ(doc.activeLevel, 1u);
    EXPECT_TRUE(doc.levels[0].visible) << "only \"0\" hides a level";
    EXPECT_FALSE(doc.levels[0].colourTrack);
    EXPECT_EQ(doc.levels[0].colour, (Rgb{180, 180, 180}));
    EXPECT_EQ(doc.levels[0].height, 0.0);
}

TEST(LayoutReader, SceneryItemWithoutScaleOrLevelGetsOneAndLevelOne) {
    LayoutDocument doc = LoadText(
        "<scenery>\n<sceneryitem id=\"3\" item=\"house\" x=\"1\" y=\"2\" heading=\"3\"/>\n"
        "</scenery>\n");
    ASSERT_EQ(doc.scenery.size(), 1u);
    EXPECT_EQ(doc.scenery[0].scaleX, 1.0);
    EXPECT_EQ(doc.scenery[0].scaleY, 1.0);
    EXPECT_EQ(doc.scenery[0].level, 1);
    EXPECT_FALSE(doc.scenery[0].selected);
}

TEST(LayoutReader, SceneryItemOutsideTheSceneryBlockIsIgnored) {
    LayoutDocument doc =
        LoadText("<sceneryitem id=\"3\" item=\"house\" x=\"1\" y=\"2\" heading=\"3\"/>\n");
    EXPECT_TRUE(doc.scenery.empty());
    EXPECT_EQ(doc.nextId, 1u);
}

TEST(LayoutReader, JointBeyondTheSlotsGrowsTheListWithOpenSlots) {
    LayoutDocument doc =
        LoadText(WithPieces("    <piece id=\"1\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\">\n"
                            "      <joint conn=\"0\" target=\"2\" tconn=\"1\"/>\n"
                            "      <joint conn=\"5\" target=\"2\" tconn=\"0\"/>\n"
                            "    </piece>\n"
                            "    <piece id=\"2\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\">\n"
                            "      <joint conn=\"0\" target=\"1\" tconn=\"5\"/>\n"
                            "      <joint conn=\"1\" target=\"1\" tconn=\"0\"/>\n"
                            "    </piece>\n"));
    const PlacedPiece& p = doc.pieces.at(0);
    ASSERT_EQ(p.joints.size(), 6u);
    for (int i : {2, 3, 4}) EXPECT_TRUE(p.joints[i].IsOpen()) << i;
    EXPECT_EQ(p.joints[5], (Joint{2, 0}));
    EXPECT_EQ(p.joints[0], (Joint{2, 1}));
}

TEST(LayoutReader, JointOnTheLargestAllowedConnectorIsKept) {
    LayoutDocument doc =
        LoadText(WithPieces("    <piece id=\"1\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\">\n"
                            "      <joint conn=\"63\" target=\"2\" tconn=\"63\"/>\n"
                            "    </piece>\n"
                            "    <piece id=\"2\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\">\n"
                            "      <joint conn=\"63\" target=\"1\" tconn=\"63\"/>\n"
                            "    </piece>\n"));
    EXPECT_EQ(doc.pieces.at(0).joints.size(), 64u);
    EXPECT_EQ(doc.pieces.at(0).joints[63], (Joint{2, 63}));
}

TEST(LayoutReader, OneSelectedHelixPieceSelectsTheWholeHelix) {
    LayoutDocument doc = LoadText(WithPieces(
        "    <piece id=\"1\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\" helix=\"7\" sel=\"0\">\n"
        "    </piece>\n"
        "    <piece id=\"2\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\" helix=\"8\" sel=\"0\">\n"
        "    </piece>\n"
        "    <piece id=\"3\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\" helix=\"7\" sel=\"1\">\n"
        "    </piece>\n"
        "    <piece id=\"4\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\" sel=\"0\">\n"
        "    </piece>\n"));
    std::vector<bool> selected;
    for (const PlacedPiece& p : doc.pieces) selected.push_back(p.selected);
    EXPECT_EQ(selected, (std::vector<bool>{true, false, true, false}));
}

TEST(LayoutReader, LoadingReplacesGradeRunsAndBaseboardOfThePreviousLayout) {
    LayoutDocument doc = FullDocument();
    ASSERT_EQ(LoadLayoutFromText(doc, WithPieces(""), nullptr), "");
    EXPECT_TRUE(doc.gradeRuns.empty());
    EXPECT_FALSE(doc.currentGrade.hasGrade);
    EXPECT_TRUE(doc.baseboard.empty());
    EXPECT_TRUE(doc.scenery.empty());
    EXPECT_TRUE(doc.tunnels.empty());
    EXPECT_TRUE(doc.helices.empty());
}

TEST(LayoutReader, FileWithoutLevelsGetsTheDefaultLevel) {
    LayoutDocument doc = FullDocument();
    ASSERT_EQ(LoadLayoutFromText(doc, WithPieces(""), nullptr), "");
    ASSERT_EQ(doc.levels.size(), 1u);
    EXPECT_EQ(doc.levels[0], DefaultLevel());
    EXPECT_EQ(doc.levels[0].colour, (Rgb{180, 200, 220}));
    EXPECT_EQ(doc.activeLevel, 1u);
}

TEST(LayoutReader, FileOfAnotherKindLoadsAsEmptyLayout) {
    for (const char* text : {"", "hello\nworld", "\n\n\n", "<html><body>x</body></html>"}) {
        LayoutDocument doc;
        std::string name = "old";
        ASSERT_EQ(LoadLayoutFromText(doc, text, &name), "") << text;
        EXPECT_EQ(name, "");
        EXPECT_TRUE(doc.pieces.empty());
        EXPECT_EQ(doc.levels.size(), 1u);
        EXPECT_EQ(doc.nextId, 1u);
    }
}

TEST(LayoutReader, NextIdIsOneAboveTheHighestObjectId) {
    // Level ids, covers entries and grade-run anchors are not object ids.
    LayoutDocument doc = LoadText(
        "<layout name=\"\" version=\"1\" units=\"0\">\n"
        "<run deg=\"1\" anchor=\"900\" conn=\"0\"/>\n" +
        WithPieces("    <piece id=\"4\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\">\n    </piece>\n") +
        "<levels active=\"1\">\n<level id=\"800\" name=\"L\"/>\n</levels>\n"
        "<scenery>\n<sceneryitem id=\"9\" item=\"s\" x=\"0\" y=\"0\" heading=\"0\"/>\n</scenery>\n"
        "<label id=\"12\" x=\"0\" y=\"0\" text=\"t\"/>\n"
        "<tunnel id=\"17\" portalA=\"9\" portalB=\"9\">\n<covers piece=\"700\"/>\n</tunnel>\n"
        "<helix id=\"15\" cx=\"0\" cy=\"0\" heading=\"0\" bottomR1=\"4\" bottomR2=\"4\" "
        "topR1=\"4\" topR2=\"4\"/>\n");
    EXPECT_EQ(doc.nextId, 18u);
    EXPECT_EQ(doc.tunnels.at(0).anchorA, kNoId);
    EXPECT_EQ(doc.tunnels.at(0).covers, (std::vector<uint32_t>{700}));
    EXPECT_EQ(doc.helices.at(0).variant, "proses_2_5_r1r2");
}

TEST(LayoutReader, PointsCoversAndJointsWithoutParentAreSkipped) {
    LayoutDocument doc = LoadText(
        "<pt x=\"1\" y=\"2\"/>\n<covers piece=\"3\"/>\n<joint conn=\"0\" target=\"1\" "
        "tconn=\"0\"/>\n<pieces>\n<joint conn=\"0\" target=\"1\" tconn=\"0\"/>\n</pieces>\n");
    EXPECT_TRUE(doc.pieces.empty());
    EXPECT_TRUE(doc.tunnels.empty());
    EXPECT_TRUE(doc.levels.at(0).outline.empty());
}

TEST(LayoutReader, AbsentShapeSettingsKeepTheCurrentValues) {
    LayoutDocument doc;
    doc.lastShape = 2;
    doc.shapeWidth = 1000;
    doc.shapeHeight = 500;
    ASSERT_EQ(LoadLayoutFromText(doc, "<lastshape id=\"4\" h_mm=\"750.5\"/>\n", nullptr), "");
    EXPECT_EQ(doc.lastShape, 4);
    EXPECT_EQ(doc.shapeWidth, 1000.0);
    EXPECT_EQ(doc.shapeHeight, 750.5);
    EXPECT_EQ(doc.shapeWidth2, 1200.0);
}

TEST(LayoutReader, CarriageReturnsAndFinalLineWithoutFeedAreAccepted) {
    std::string text = kExampleFile;
    std::string crlf;
    for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    crlf.pop_back();  // no line feed after </layout>
    LayoutDocument a = LoadText(text);
    LayoutDocument b = LoadText(crlf);
    ExpectSameFileContents(a, b);
}

TEST(LayoutReader, PieceListEndsAtTheLayoutEndWithoutItsClosingTag) {
    LayoutDocument doc = LoadText(
        "<pieces>\n<piece id=\"1\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\">\n</layout>\n"
        "<label id=\"2\" x=\"0\" y=\"0\" text=\"after\"/>\n");
    EXPECT_EQ(doc.pieces.size(), 1u);
    EXPECT_EQ(doc.labels.size(), 1u) << "reading goes on after the piece list";
}

TEST(LayoutReader, NumbersReadTheirLeadingPart) {
    LayoutDocument doc = LoadText(
        WithPieces("    <piece id=\" 7th\" cat=\"a\" x=\"0.5000\" y=\"-1.25e2mm\" heading=\"+90\" "
                   "level=\"3x\">\n    </piece>\n"));
    const PlacedPiece& p = doc.pieces.at(0);
    EXPECT_EQ(p.id, 7u);
    EXPECT_EQ(p.x, 0.5);
    EXPECT_EQ(p.y, -125.0);
    EXPECT_EQ(p.heading, 90.0);
    EXPECT_EQ(p.level, 3);
}

TEST(LayoutReader, OpeningLeavesUndoHistoryAndViewFlagsAndDropsMeasurements) {
    LayoutDocument doc = FullDocument();
    doc.PushUndo();
    doc.PushUndo();
    doc.Undo();
    doc.measurements.push_back(Measurement{11, 0, 0, 100, 0, 0, 0, false});
    doc.gridShown = false;
    doc.gridSpacing = 16;
    ASSERT_EQ(LoadLayoutFromText(doc, kExampleFile, nullptr), "");
    EXPECT_EQ(doc.undoStack.size(), 1u);
    EXPECT_EQ(doc.redoStack.size(), 1u);
    EXPECT_EQ(doc.undoStack.front().pieces.size(), 4u) << "snapshots keep the old layout";
    EXPECT_TRUE(doc.measurements.empty()) << "measurements belonged to the old layout";
    EXPECT_FALSE(doc.gridShown);
    EXPECT_EQ(doc.gridSpacing, 16.0);
}

// --- Joints are mirrored after loading ---

TEST(LayoutReader, JointToMissingPieceIsOpened) {
    LayoutDocument doc =
        LoadText(WithPieces("    <piece id=\"1\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\">\n"
                            "      <joint conn=\"1\" target=\"9\" tconn=\"0\"/>\n"
                            "    </piece>\n"));
    EXPECT_TRUE(doc.pieces.at(0).IsOpen(1));
}

TEST(LayoutReader, JointWhoseTargetDoesNotPointBackIsOpened) {
    // 1.1 names 2.0, but 2.0 names 3.0; 2.1 and 3.0 are a proper pair.
    LayoutDocument doc =
        LoadText(WithPieces("    <piece id=\"1\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\">\n"
                            "      <joint conn=\"1\" target=\"2\" tconn=\"0\"/>\n"
                            "    </piece>\n"
                            "    <piece id=\"2\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\">\n"
                            "      <joint conn=\"0\" target=\"3\" tconn=\"1\"/>\n"
                            "      <joint conn=\"1\" target=\"3\" tconn=\"0\"/>\n"
                            "    </piece>\n"
                            "    <piece id=\"3\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\">\n"
                            "      <joint conn=\"0\" target=\"2\" tconn=\"1\"/>\n"
                            "      <joint conn=\"4\" target=\"2\" tconn=\"7\"/>\n"
                            "    </piece>\n"));
    EXPECT_TRUE(doc.pieces[0].IsOpen(1));
    EXPECT_TRUE(doc.pieces[1].IsOpen(0));
    EXPECT_EQ(doc.pieces[1].joints[1], (Joint{3, 0}));
    EXPECT_EQ(doc.pieces[2].joints[0], (Joint{2, 1}));
    EXPECT_TRUE(doc.pieces[2].IsOpen(4)) << "slot 7 of piece 2 does not exist";
    EXPECT_TRUE(AllJointsMirrored(doc));
}

TEST(LayoutReader, LevelsBlockNeedsItsAttributeBlank) {
    // "<levels>" without attributes never comes from the writer and does not open the block.
    LayoutDocument doc = LoadText("<levels>\n<level id=\"4\"/>\n</levels>\n");
    ASSERT_EQ(doc.levels.size(), 1u);
    EXPECT_EQ(doc.levels[0], DefaultLevel());
}

TEST(LayoutReader, KnownPiecesGetOneSlotPerConnector) {
    // The file leaves open slots out; the catalog says how many the piece has.
    LayoutDocument doc = LoadText(WithPieces(
        "    <piece id=\"1\" cat=\"74862\" x=\"0\" y=\"0\" heading=\"0\">\n    </piece>\n"
        "    <piece id=\"2\" cat=\"no-such-article\" x=\"0\" y=\"0\" heading=\"0\">\n"
        "    </piece>\n"));
    EXPECT_EQ(doc.pieces.at(0).joints.size(), 30u) << "the turntable has 30 exits";
    EXPECT_TRUE(doc.pieces.at(1).joints.empty());
}

TEST(LayoutReader, JointWithTargetMinusOneIsOpen) {
    LayoutDocument doc =
        LoadText(WithPieces("    <piece id=\"1\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\">\n"
                            "      <joint conn=\"2\" target=\"-1\" tconn=\"-1\"/>\n"
                            "    </piece>\n"));
    EXPECT_EQ(doc.pieces.at(0).joints.size(), 3u);
    EXPECT_TRUE(doc.pieces.at(0).IsOpen(2));
}

// --- Refused files leave the document as it was ---

struct BadFile {
    const char* what;
    std::string text;
    std::string error;
};

std::string PieceLine(const std::string& attributes) {
    return "<pieces>\n<piece " + attributes + ">\n</piece>\n</pieces>\n";
}

class RefusedLayout : public testing::TestWithParam<BadFile> {};

TEST_P(RefusedLayout, NamesTheLineAndLeavesTheDocument) {
    LayoutDocument doc = FullDocument();
    doc.PushUndo();
    doc.measurements.push_back(Measurement{40, 0, 0, 1, 1, 0, 0, true});
    std::string name = "Current";
    const std::string before = LayoutToText(doc, name);

    EXPECT_EQ(LoadLayoutFromText(doc, GetParam().text, &name), GetParam().error);
    EXPECT_EQ(LayoutToText(doc, name), before);
    EXPECT_EQ(name, "Current");
    EXPECT_EQ(doc.nextId, 12u);
    EXPECT_EQ(doc.measurements.size(), 1u);
    EXPECT_EQ(doc.undoStack.size(), 1u);
}

const std::string kOkPiece = "id=\"1\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\"";

INSTANTIATE_TEST_SUITE_P(
    Faults, RefusedLayout,
    testing::Values(
        BadFile{"MissingX", PieceLine("id=\"1\" cat=\"a\" y=\"0\" heading=\"0\""),
                "Line 2: missing x in <piece>"},
        BadFile{"EmptyHeading", PieceLine("id=\"1\" cat=\"a\" x=\"0\" y=\"0\" heading=\"\""),
                "Line 2: missing heading in <piece>"},
        BadFile{"WordForX", PieceLine("id=\"1\" cat=\"a\" x=\"left\" y=\"0\" heading=\"0\""),
                "Line 2: x in <piece> is not a number"},
        BadFile{"CommaDecimal", PieceLine("id=\"1\" cat=\"a\" x=\",5\" y=\"0\" heading=\"0\""),
                "Line 2: x in <piece> is not a number"},
        BadFile{"NotANumber", PieceLine("id=\"1\" cat=\"a\" x=\"nan\" y=\"0\" heading=\"0\""),
                "Line 2: x in <piece> is not a number"},
        BadFile{"Infinite", PieceLine("id=\"1\" cat=\"a\" x=\"0\" y=\"-inf\" heading=\"0\""),
                "Line 2: y in <piece> is not a number"},
        BadFile{"HugeDouble", PieceLine("id=\"1\" cat=\"a\" x=\"1e999\" y=\"0\" heading=\"0\""),
                "Line 2: x in <piece> is out of range"},
        BadFile{"FarAway", PieceLine("id=\"1\" cat=\"a\" x=\"2e9\" y=\"0\" heading=\"0\""),
                "Line 2: x in <piece> is out of range"},
        BadFile{"IdBeyond32Bits",
                PieceLine("id=\"4294967296\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\""),
                "Line 2: id in <piece> is out of range"},
        BadFile{"NegativeId", PieceLine("id=\"-1\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\""),
                "Line 2: id in <piece> is out of range"},
        BadFile{"ColourBeyond24Bits", PieceLine(kOkPiece + " color=\"16777216\""),
                "Line 2: color in <piece> is out of range"},
        BadFile{"NegativeHelix", PieceLine(kOkPiece + " helix=\"-2\""),
                "Line 2: helix in <piece> is out of range"},
        BadFile{"NegativeConn",
                "<pieces>\n<piece " + kOkPiece +
                    ">\n<joint conn=\"-1\" target=\"2\" tconn=\"0\"/>\n</piece>\n</pieces>\n",
                "Line 3: conn in <joint> is out of range"},
        BadFile{"ConnBeyondAnyPiece",
                "<pieces>\n<piece " + kOkPiece +
                    ">\n<joint conn=\"64\" target=\"2\" tconn=\"0\"/>\n</piece>\n</pieces>\n",
                "Line 3: conn in <joint> is out of range"},
        BadFile{"HugeConn",
                "<pieces>\n<piece " + kOkPiece +
                    ">\n<joint conn=\"2000000000\" target=\"2\" tconn=\"0\"/>\n</piece>\n",
                "Line 3: conn in <joint> is out of range"},
        BadFile{"TconnBeyondAnyPiece",
                "<pieces>\n<piece " + kOkPiece +
                    ">\n<joint conn=\"0\" target=\"2\" tconn=\"99\"/>\n</piece>\n</pieces>\n",
                "Line 3: tconn in <joint> is out of range"},
        BadFile{"JointWithoutTarget",
                "<pieces>\n<piece " + kOkPiece + ">\n<joint conn=\"0\" tconn=\"1\"/>\n",
                "Line 3: missing target in <joint>"},
        BadFile{"TwoPiecesOneId", PieceLine(kOkPiece) + PieceLine(kOkPiece),
                "Line 6: id 1 is used twice"},
        BadFile{"LabelReusesPieceId",
                PieceLine(kOkPiece) + "<label id=\"1\" x=\"0\" y=\"0\" text=\"a\"/>\n",
                "Line 5: id 1 is used twice"},
        BadFile{"HelixReusesSceneryId",
                "<scenery>\n<sceneryitem id=\"3\" item=\"s\" x=\"0\" y=\"0\" heading=\"0\"/>\n"
                "</scenery>\n<helix id=\"3\" cx=\"0\" cy=\"0\" heading=\"0\" bottomR1=\"1\" "
                "bottomR2=\"1\" topR1=\"1\" topR2=\"1\"/>\n",
                "Line 4: id 3 is used twice"},
        BadFile{"TunnelReusesLabelId",
                "<label id=\"5\" x=\"0\" y=\"0\"/>\n<tunnel id=\"5\" portalA=\"1\" "
                "portalB=\"2\">\n</tunnel>\n",
                "Line 2: id 5 is used twice"},
        BadFile{"UnitsOutOfRange", "<layout name=\"x\" version=\"1\" units=\"3\">\n",
                "Line 1: units in <layout> is out of range"},
        BadFile{"RunWithoutConn", "<grade_runs>\n<run deg=\"2\" anchor=\"1\"/>\n",
                "Line 2: missing conn in <run>"},
        BadFile{"LevelWithoutId", "<levels active=\"1\">\n<level name=\"x\"/>\n</levels>\n",
                "Line 2: missing id in <level>"},
        BadFile{"LevelRedTooLarge",
                "<levels active=\"1\">\n<level id=\"1\" r=\"256\"/>\n</levels>\n",
                "Line 2: r in <level> is out of range"},
        BadFile{"NegativeActiveLevel", "<levels active=\"-3\">\n</levels>\n",
                "Line 1: active in <levels> is out of range"},
        BadFile{"OutlinePointWithoutY",
                "<levels active=\"1\">\n<level id=\"1\">\n<pt x=\"1\"/>\n</level>\n</levels>\n",
                "Line 3: missing y in <pt>"},
        BadFile{"VertexNotANumber", "<baseboard>\n<vertex x=\"a\" y=\"1\"/>\n</baseboard>\n",
                "Line 2: x in <vertex> is not a number"},
        BadFile{"ShapeTypeOutOfRange", "<lastshape id=\"6\"/>\n",
                "Line 1: id in <lastshape> is out of range"},
        BadFile{"ShapeWidthNotANumber", "<lastshape id=\"1\" w_mm=\"wide\"/>\n",
                "Line 1: w_mm in <lastshape> is not a number"},
        BadFile{"SceneryWithoutHeading",
                "<scenery>\n<sceneryitem id=\"3\" item=\"s\" x=\"0\" y=\"0\"/>\n</scenery>\n",
                "Line 2: missing heading in <sceneryitem>"},
        BadFile{"LabelWithoutY", "<label id=\"2\" x=\"0\" text=\"a\"/>\n",
                "Line 1: missing y in <label>"},
        BadFile{"TunnelWithoutPortal", "<tunnel id=\"2\" portalA=\"1\">\n",
                "Line 1: missing portalB in <tunnel>"},
        BadFile{"CoversNegative",
                "<tunnel id=\"2\" portalA=\"1\" portalB=\"1\">\n<covers piece=\"-1\"/>\n",
                "Line 2: piece in <covers> is out of range"},
        BadFile{"HelixWithoutTop",
                "<helix id=\"3\" cx=\"0\" cy=\"0\" heading=\"0\" bottomR1=\"1\" bottomR2=\"1\" "
                "topR1=\"1\"/>\n",
                "Line 1: missing topR2 in <helix>"},
        BadFile{"FaultOnLastLineAfterGoodContent",
                std::string(kExampleFile) + "<label id=\"99\" x=\"0\"/>\n",
                "Line 28: missing y in <label>"}),
    [](const testing::TestParamInfo<BadFile>& info) { return std::string(info.param.what); });

// --- Every prefix of a valid file either loads or is refused, never anything worse ---

TEST(LayoutReader, EveryPrefixOfAFileLoadsOrIsRefused) {
    const std::string full = kFullDocumentFile;
    for (size_t n = 0; n <= full.size(); n += 7) {
        LayoutDocument doc;
        std::string error = LoadLayoutFromText(doc, full.substr(0, n), nullptr);
        if (error.empty()) {
            EXPECT_TRUE(AllJointsMirrored(doc)) << n;
            EXPECT_FALSE(doc.levels.empty()) << n;
        } else {
            EXPECT_EQ(error.rfind("Line ", 0), 0u) << error;
        }
    }
}

// --- Attribute lookup and escaping ---

TEST(AttributeValue, FindsWholeNamesAfterWhiteSpace) {
    const std::string line = "<level id=\"1\" trackcolor=\"1\" r=\"10\"\tg=\"20\" b=\"30\"/>";
    EXPECT_EQ(AttributeValue(line, "r"), "10");
    EXPECT_EQ(AttributeValue(line, "g"), "20") << "a tab counts as white space";
    EXPECT_EQ(AttributeValue(line, "color"), "");
    EXPECT_EQ(AttributeValue(line, "trackcolor"), "1");
    EXPECT_EQ(AttributeValue(line, "d"), "") << "the end of \"id\" is not an attribute d";
}

TEST(AttributeValue, FirstMatchWinsAndUnterminatedIsEmpty) {
    EXPECT_EQ(AttributeValue("<a x=\"1\" x=\"2\"/>", "x"), "1");
    EXPECT_EQ(AttributeValue("<a x=\"1", "x"), "");
    EXPECT_EQ(AttributeValue("<a x=\"\" y=\"2\"/>", "x"), "");
    EXPECT_EQ(AttributeValue("<a x = \"1\"/>", "x"), "") << "no blanks around the equals sign";
}

TEST(AttributeValue, TextInsideAValueIsNotAnAttribute) {
    EXPECT_EQ(AttributeValue("<piece cat=\"b x=\" x=\"5\"/>", "x"), "5");
    EXPECT_EQ(AttributeValue("<piece cat=\"a x=\"1\"\"/>", "x"), "")
        << "after the value's quotes the remaining text is not an attribute";
}

TEST(LayoutReader, NamesEndingLikeAnAttributeStillRoundTrip) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    PlacedPiece p;
    p.id = 1;
    p.article = "odd x=";
    p.x = 5;
    doc.pieces.push_back(p);
    doc.labels.push_back(Label{2, "a y=", 1, 2, false});
    doc.nextId = 3;
    std::string text = LayoutToText(doc, "Shelf units=");
    std::string name;
    LayoutDocument back = LoadText(text, &name);
    EXPECT_EQ(name, "Shelf units=");
    ExpectSameFileContents(back, doc);
}

TEST(AttributeValue, DecodesReferencesInOnePass) {
    EXPECT_EQ(AttributeValue("<a t=\"&lt;&gt;&amp;&quot;\"/>", "t"), "<>&\"");
    EXPECT_EQ(AttributeValue("<a t=\"&amp;lt;\"/>", "t"), "&lt;");
    EXPECT_EQ(AttributeValue("<a t=\"R&D &copy; &\"/>", "t"), "R&D &copy; &");
}

TEST(EscapeXml, ReplacesTheFourCharactersOnly) {
    EXPECT_EQ(EscapeXml("a<b>c&d\"e'f"), "a&lt;b&gt;c&amp;d&quot;e'f");
    EXPECT_EQ(EscapeXml("Gleis \xC3\x98 12"), "Gleis \xC3\x98 12") << "UTF-8 bytes unchanged";
    EXPECT_EQ(AttributeValue(" t=\"" + EscapeXml("&lt; <\"&") + "\"", "t"), "&lt; <\"&");
}

TEST(FileNumbers, DoublesHaveFourDecimalsAndReadBack) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {{0, "0.0000"},           {-12.5, "-12.5000"}, {1234.5678, "1234.5678"},
                 {0.00005, "0.0001"},     {2.0 / 3, "0.6667"}, {1e9, "1000000000.0000"},
                 {5e9, "1000000000.0000"}};
    for (const Case& c : cases) {
        std::string out;
        AppendFileDouble(out, c.value);
        EXPECT_EQ(out, c.text) << c.value;
    }
    std::string nan;
    AppendFileDouble(nan, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(nan, "0.0000") << "a file must never hold a value its reader refuses";
}

// --- Locale ---

class DecimalCommaLocale : public testing::Test {
protected:
    void SetUp() override {
        const char* current = std::setlocale(LC_ALL, nullptr);
        saved = current ? current : "C";
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
            GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    }
    void TearDown() override { std::setlocale(LC_ALL, saved.c_str()); }
    std::string saved;
};

TEST_F(DecimalCommaLocale, FilesStillUseDecimalPoints) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.1f", 0.5);
    ASSERT_STREQ(buffer, "0,5") << "the locale is really active";

    EXPECT_EQ(LayoutToText(FullDocument(), kFullDocumentName), kFullDocumentFile);
    LayoutDocument back = LoadText(kFullDocumentFile);
    ExpectSameFileContents(back, FullDocument());
    LayoutDocument half = LoadText("<lastshape id=\"0\" w_mm=\"0.5000\"/>\n");
    EXPECT_EQ(half.shapeWidth, 0.5);

    TempFolder folder;
    LayoutDocument example;
    std::string name;
    WriteBytes(folder.File("a.xml"), kExampleFile);
    ASSERT_EQ(LoadLayout(example, folder.File("a.xml"), &name), "");
    ASSERT_EQ(SaveLayout(example, folder.File("b.xml"), name), "");
    EXPECT_EQ(ReadBytes(folder.File("b.xml")), kExampleFile);
}

}  // namespace
