// Layout files: exact text of the writer, round trips, reader rules, refusals, locale.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <clocale>
#include <string>
#include <vector>

#include "FileTestSupport.h"
#include "RandomLayout.h"
#include "fuzz/LayoutInvariants.h"
#include "persistence/FileFields.h"
#include "persistence/LayoutFile.h"
#include "persistence/LibraryBlock.h"

namespace {

// The seed files double as samples: a user's small layout, every record, a new empty layout.
const std::string kExampleFile = SourceFile("fuzz/corpus/layout/example.xml");
const std::string kFullDocumentFile = SourceFile("fuzz/corpus/layout/every-record.xml");
const std::string kEmptyDocumentFile = SourceFile("fuzz/corpus/layout/new-layout.xml");
const char* const kFullDocumentName = "Club <North> & \"South\"";

PlacedPiece Piece(uint32_t id, const char* article, double x, double y, double heading,
                  int32_t level, uint32_t helix, bool selected, std::vector<Joint> joints) {
    return {id, article, x, y, heading, selected, 0, 0, false, Rgb{}, level, helix, joints};
}

// A document that uses every record the file carries (every-record.xml, worked out by hand).
LayoutDocument FullDocument() {
    LayoutDocument doc;
    doc.units = 1;
    const std::vector<PointMm> outline{{0, 0}, {1200, 0}, {1200, -600.25}};
    doc.levels = {DefaultLevel(),
                  {2, "Upper <deck> & \"yard\"", false, 80.5, true, {10, 20, 30}, outline}};
    doc.activeLevel = 2;
    doc.pieces = std::vector<PlacedPiece>{
        Piece(1, "24188", 0, 0, 0, 1, kNoId, false, {Joint{}, Joint{2, 0}}),
        Piece(2, "24130", 188.3, 0, 0, 2, kNoId, true, {Joint{1, 1}, Joint{}}),
        Piece(3, "24912", -100.125, 50.0625, 270, 2, 7, true, {Joint{}, Joint{4, 0}}),
        Piece(4, "24912", -200, 50, 359.9999, 2, 7, true, {Joint{3, 1}, Joint{}})};
    doc.pieces[1].elevation = 12.5;
    doc.pieces[1].grade = 2.5;
    doc.pieces[1].hasColour = true;
    doc.pieces[1].colour = {255, 128, 0};
    doc.gradeRuns.push_back(GradeRun{2.5, 2, 1});
    doc.RefreshCurrentGrade();
    doc.scenery = {SceneryItem{5, "tree_oak", 500, 300, 45, true, 1.5, 0.75, 2},
                   SceneryItem{8, "tunnel_portal_single", 10, 20, 90, false, 1, 1, 1},
                   SceneryItem{9, "tunnel_portal_single", 30, 40, 270, false, 1, 1, 1}};
    doc.labels.push_back(Label{6, "Yard <East> & \"Main\"", 100, -50, false});
    doc.measurements.push_back(Measurement{12, 0, -100, 188.3, -100, 5, -20.25, true});
    doc.tunnels = {Tunnel{10, 8, 9, 1, kNoId, {2, 3}}, Tunnel{11, kNoId, kNoId, kNoId, kNoId, {}}};
    doc.helices.push_back(Helix{7, 400, 400, 90, "proses_2_5_r1r2", 3, 4, kNoId, kNoId});
    doc.baseboard = {{0, 0}, {2400, 0}, {2400, 1200}, {0, 1200}};
    doc.lastShape = 3;
    doc.shapeWidth = 2000;
    doc.shapeHeight = 900.5;
    doc.shapeWidth2 = 600;
    doc.shapeHeight2 = 450;
    doc.nextId = 13;
    doc.wiring.districts = {{1, "Booster 1", 3174592, 3.0}, {2, "South & yard", 16711680, 2.5}};
    doc.wiring.gaps = {{1, 0, GapRails::Centre}, {2, 1, GapRails::Both}};
    doc.wiring.feeders = {{1, 1}, {2, kNoId}};
    doc.wiring.detectors = {{2, 4}};
    return doc;
}

LayoutDocument LoadText(const std::string& text, std::string* name = nullptr) {
    LayoutDocument doc;
    EXPECT_EQ(LoadLayoutFromText(doc, text, name), "");
    return doc;
}

// A piece line with the required attributes followed by `more`, and its joint lines.
std::string PieceText(int id, const std::string& more = "", const std::string& joints = "") {
    return "<piece id=\"" + std::to_string(id) + "\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\"" +
           more + ">\n" + joints + "</piece>\n";
}
std::string JointText(int conn, int target, int tconn) {
    return "<joint conn=\"" + std::to_string(conn) + "\" target=\"" + std::to_string(target) +
           "\" tconn=\"" + std::to_string(tconn) + "\"/>\n";
}
std::string InPieces(const std::string& lines) { return "<pieces>\n" + lines + "</pieces>\n"; }

class LayoutFileTest : public testing::Test {
protected:
    TempFolder folder;
};

TEST_F(LayoutFileTest, ExampleFileReadsAndWritesBackByteForByte) {
    ASSERT_EQ(std::count(kExampleFile.begin(), kExampleFile.end(), '\n'), 27);
    std::string path = folder.File("shelf.xml");
    WriteBytes(path, kExampleFile);
    LayoutDocument doc;
    std::string name;
    ASSERT_EQ(LoadLayout(doc, path, &name), "");
    EXPECT_EQ(name, "Shelf & Yard");
    ASSERT_EQ(doc.pieces.size(), 2u);
    EXPECT_TRUE(doc.pieces[1].selected);
    EXPECT_EQ(doc.pieces[1].colour, (Rgb{255, 0, 0}));  // 16711680 = 0xFF0000
    EXPECT_EQ(doc.pieces[0].joints, (std::vector<Joint>{Joint{}, Joint{2, 0}}));
    EXPECT_EQ(doc.labels.at(0).text, "Station");
    EXPECT_EQ(doc.nextId, 4u) << "one above the label's id 3";
    EXPECT_EQ(doc.currentGrade, (CurrentGrade{true, 2.0, 2, 1}));

    ASSERT_EQ(SaveLayout(doc, folder.File("again.xml"), name), "");
    EXPECT_EQ(ReadBytes(folder.File("again.xml")), kExampleFile);
}

TEST_F(LayoutFileTest, EveryRecordTypeWritesExactlyAndSurvivesSaveLoadSave) {
    const LayoutDocument original = FullDocument();
    EXPECT_EQ(LayoutToText(original, kFullDocumentName), kFullDocumentFile);
    std::string first = folder.File("first.xml"), second = folder.File("second.xml");
    ASSERT_EQ(SaveLayout(original, first, kFullDocumentName), "");
    LayoutDocument loaded;
    std::string name;
    ASSERT_EQ(LoadLayout(loaded, first, &name), "");
    EXPECT_EQ(name, kFullDocumentName);
    ExpectSameFileContents(loaded, original);
    ASSERT_EQ(SaveLayout(loaded, second, name), "");
    EXPECT_EQ(ReadBytes(second), ReadBytes(first));
}

// A new empty layout saved over an old, longer file; its outline has too few points to be written.
TEST_F(LayoutFileTest, NewEmptyDocumentSavesOverAnOldFileAndLoadsBack) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    doc.levels[0].outline = {{1, 2}, {3, 4}};
    std::string path = folder.File("layout.xml");
    WriteBytes(path, std::string(100000, 'x'));
    ASSERT_EQ(SaveLayout(doc, path, ""), "");
    EXPECT_EQ(ReadBytes(path), kEmptyDocumentFile);
    doc.levels[0].outline.clear();
    ExpectSameFileContents(LoadText(kEmptyDocumentFile), doc);
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

    // 70000 empty lines, the example, and a fault on a last line without its line feed.
    WriteBytes(path, std::string(70000, '\n') + kExampleFile + "<label id=\"9\" x=\"0\"/>");
    EXPECT_EQ(LoadLayout(back, path, nullptr), "Line 70028: missing y in <label>");
}

TEST_F(LayoutFileTest, WhatIsNoLayoutFileIsNotOpenedAndLeavesTheDocument) {
    LayoutDocument doc = FullDocument();
    std::string name = "kept";
    std::string fifo = folder.File("pipe.xml");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // A missing file, a folder, an endless device and a pipe (without waiting for a writer).
    for (const std::string& path :
         {folder.File("nothing.xml"), folder.path, std::string("/dev/zero"), fifo})
        EXPECT_EQ(LoadLayout(doc, path, &name), "Cannot open file: " + path);
    EXPECT_EQ(name, "kept");
    ExpectSameFileContents(doc, FullDocument());
}

// Each row: reader, file text, the exact error. Refusal leaves the document or outputs untouched.
TEST(RefusedFiles, NameTheLineAndLeaveTheDocument) {
    const auto rows = ReadTable("tests/persistence/data/refused-files.tsv");
    ASSERT_EQ(rows.size(), 47u);
    for (const auto& row : rows) {
        const std::string& text = row.at(1);
        const std::string& expected = row.at(2);
        SCOPED_TRACE(text);
        if (row[0] == "block") {
            std::string name = "before";
            std::vector<PlacedPiece> pieces(2);
            std::vector<SceneryItem> scenery(1);
            EXPECT_EQ(LoadBlockFromText(text, &name, &pieces, &scenery), expected);
            EXPECT_TRUE(name == "before" && pieces.size() == 2 && scenery.size() == 1);
            continue;
        }
        LayoutDocument doc = FullDocument();
        doc.PushUndo();
        std::string name = "Current";
        EXPECT_EQ(LoadLayoutFromText(doc, text, &name), expected);
        EXPECT_EQ(name, "Current");
        EXPECT_EQ(LayoutToText(doc, name), LayoutToText(FullDocument(), name));
        EXPECT_EQ(doc.nextId, 13u);
        EXPECT_EQ(doc.undoStack.size(), 1u);
    }
}

TEST(LayoutReader, JointsAreOpenedWhenNotMirrored) {
    // 1.1 names missing piece 9; 1.0 names 2.0 but 2.0 names 3.0; 3.4 names a slot 2.7 that
    // does not exist; 2.1 and 3.0 are a proper pair; 3.2 is explicitly open.
    LayoutDocument doc = LoadText(
        InPieces(PieceText(1, "", JointText(0, 2, 0) + JointText(1, 9, 0)) +
                 PieceText(2, "", JointText(0, 3, 1) + JointText(1, 3, 0)) +
                 PieceText(3, "", JointText(0, 2, 1) + JointText(4, 2, 7) + JointText(2, -1, -1))));
    EXPECT_EQ(doc.pieces[0].joints, (std::vector<Joint>{Joint{}, Joint{}}));
    EXPECT_EQ(doc.pieces[1].joints, (std::vector<Joint>{Joint{}, Joint{3, 0}}));
    ASSERT_EQ(doc.pieces[2].joints.size(), 5u) << "joints beyond the slots add open slots";
    EXPECT_EQ(doc.pieces[2].joints[0], (Joint{2, 1}));
    for (int i : {1, 2, 3, 4}) EXPECT_TRUE(doc.pieces[2].IsOpen(i)) << i;
    EXPECT_TRUE(LayoutInvariantsHold(doc));

    LayoutDocument known = LoadText(
        InPieces("<piece id=\"1\" cat=\"74862\" x=\"0\" y=\"0\" heading=\"0\">\n</piece>\n"));
    EXPECT_EQ(known.pieces.at(0).joints.size(), 30u) << "the turntable's 30 exits";
}

TEST(LayoutReader, AbsentAttributesTakeDefaultsAndLeadingNumbersAreRead) {
    LayoutDocument doc = LoadText(
        "<pt x=\"1\" y=\"2\"/>\n<covers piece=\"3\"/>\n" + JointText(0, 1, 0) +
        InPieces(JointText(0, 1, 0) + PieceText(1) +
                 "<piece id=\" 7th\" cat=\"a\" x=\"0.5000\" y=\"-1.25e2mm\" heading=\"+90\" "
                 "level=\"3x\">\n</piece>\n") +
        "<levels >\n<level id=\"4\"/>\n</levels>\n"
        "<scenery>\n<sceneryitem id=\"3\" item=\"house\" x=\"1\" y=\"2\" heading=\"3\"/>\n"
        "</scenery>\n<sceneryitem id=\"30\" item=\"outside\" x=\"1\" y=\"2\" heading=\"3\"/>\n");
    EXPECT_EQ(doc.pieces,
              (std::vector<PlacedPiece>{Piece(1, "a", 0, 0, 0, 1, kNoId, false, {}),
                                        Piece(7, "a", 0.5, -125, 90, 3, kNoId, false, {})}));
    EXPECT_EQ(doc.levels,
              (std::vector<Level>{Level{4, "", true, 0, false, Rgb{180, 180, 180}, {}}}))
        << "only \"0\" hides a level; colours are 180 when absent";
    EXPECT_EQ(doc.activeLevel, 1u);
    EXPECT_EQ(doc.scenery,
              (std::vector<SceneryItem>{SceneryItem{3, "house", 1, 2, 3, false, 1, 1, 1}}))
        << "items outside <scenery>, and points, covers and joints without parent are skipped";
    EXPECT_EQ(doc.nextId, 8u);
    EXPECT_TRUE(doc.tunnels.empty());
    EXPECT_EQ(
        LoadText("<measurement id=\"3\" x1=\"1\" y1=\"2\" x2=\"3\" y2=\"4\"/>\n").measurements,
        (std::vector<Measurement>{{3, 1, 2, 3, 4, 0, 0, false}}))
        << "the label offset defaults to none";
}

TEST(LayoutReader, OddButHarmlessFilesAreRead) {
    // Not a layout at all: an empty layout with the default level.
    for (const char* text : {"", "hello\nworld", "<html><body>x</body></html>"}) {
        std::string name = "old";
        LayoutDocument doc = LoadText(text, &name);
        EXPECT_EQ(name, "");
        EXPECT_TRUE(doc.pieces.empty());
        EXPECT_EQ(doc.levels, std::vector<Level>{DefaultLevel()});
    }
    // Carriage returns and a last line without its feed.
    std::string crlf;
    for (char c : kExampleFile) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    crlf.resize(crlf.size() - 2);
    ExpectSameFileContents(LoadText(crlf), LoadText(kExampleFile));
    // The piece list ends at </layout> without its closing tag; reading goes on.
    LayoutDocument open = LoadText("<pieces>\n" + PieceText(1) +
                                   "</layout>\n<label id=\"2\" x=\"0\" y=\"0\" text=\"after\"/>\n");
    EXPECT_EQ(open.pieces.size(), 1u);
    EXPECT_EQ(open.labels.size(), 1u);
}

TEST(LayoutReader, NextIdAndHelixSelection) {
    // Level ids, covers entries and grade-run anchors are not object ids.
    LayoutDocument doc = LoadText(
        "<run deg=\"1\" anchor=\"900\" conn=\"0\"/>\n" +
        InPieces(PieceText(4, " helix=\"7\" sel=\"0\"") + PieceText(5, " helix=\"8\" sel=\"0\"") +
                 PieceText(6, " helix=\"7\" sel=\"1\"") + PieceText(2, " sel=\"0\"")) +
        "<levels active=\"1\">\n<level id=\"800\" name=\"L\"/>\n</levels>\n"
        "<label id=\"12\" x=\"0\" y=\"0\" text=\"t\"/>\n"
        "<tunnel id=\"17\" portalA=\"9\" portalB=\"9\">\n<covers piece=\"700\"/>\n</tunnel>\n"
        "<helix id=\"15\" cx=\"0\" cy=\"0\" heading=\"0\" bottomR1=\"4\" bottomR2=\"4\" "
        "topR1=\"4\" topR2=\"4\"/>\n");
    EXPECT_EQ(doc.nextId, 18u);
    EXPECT_EQ(doc.tunnels.at(0).anchorA, kNoId);
    EXPECT_EQ(doc.tunnels.at(0).covers, (std::vector<uint32_t>{700}));
    EXPECT_EQ(doc.helices.at(0).variant, "proses_2_5_r1r2");
    std::vector<bool> selected;
    for (const PlacedPiece& p : doc.pieces) selected.push_back(p.selected);
    EXPECT_EQ(selected, (std::vector<bool>{true, false, true, false}))
        << "one selected helix piece selects the whole helix";
}

TEST(LayoutReader, OpeningReplacesContentKeepsHistoryAndView) {
    LayoutDocument doc = FullDocument();
    doc.PushUndo();
    doc.PushUndo();
    doc.Undo();
    doc.measurements.push_back(Measurement{11, 0, 0, 100, 0, 0, 0, false});
    doc.gridShown = false;
    ASSERT_EQ(LoadLayoutFromText(doc, InPieces(""), nullptr), "");
    // Only the units and the shape settings, absent from this file, stay as they were.
    LayoutDocument fresh;
    fresh.EnsureDefaultLevel();
    fresh.units = 1;
    fresh.lastShape = 3;
    fresh.shapeWidth = 2000;
    fresh.shapeHeight = 900.5;
    fresh.shapeWidth2 = 600;
    fresh.shapeHeight2 = 450;
    ExpectSameFileContents(doc, fresh);
    EXPECT_EQ(doc.undoStack.size(), 1u);
    EXPECT_EQ(doc.redoStack.size(), 1u);
    EXPECT_EQ(doc.undoStack.front().pieces.size(), 4u) << "snapshots keep the old layout";
    EXPECT_TRUE(doc.measurements.empty()) << "measurements belonged to the old layout";
    EXPECT_FALSE(doc.gridShown);
}

TEST(AttributeValue, FindsWholeNamesOutsideValuesAndDecodesInOnePass) {
    for (const auto& row : ReadTable("tests/persistence/data/attribute-values.tsv"))
        EXPECT_EQ(AttributeValue(row.at(0), row.at(1)), row.at(2)) << row[0];
    EXPECT_EQ(EscapeXml("a<b>c&d\"e'f \xC3\x98"), "a&lt;b&gt;c&amp;d&quot;e'f \xC3\x98");
    EXPECT_EQ(AttributeValue(" t=\"" + EscapeXml("&lt; <\"&") + "\"", "t"), "&lt; <\"&");

    // Values that end like an attribute name do not confuse the reader.
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    doc.pieces.push_back(Piece(1, "odd x=", 5, 0, 0, 1, kNoId, false, {}));
    doc.labels.push_back(Label{2, "a y=", 1, 2, false});
    doc.nextId = 3;
    std::string name;
    ExpectSameFileContents(LoadText(LayoutToText(doc, "Shelf units="), &name), doc);
    EXPECT_EQ(name, "Shelf units=");
}

TEST(DecimalCommaLocale, FilesStillUseDecimalPoints) {
    const char* current = std::setlocale(LC_ALL, nullptr);
    const std::string saved = current ? current : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.1f", 0.5);
    EXPECT_STREQ(buffer, "0,5") << "the locale is really active";

    EXPECT_EQ(LayoutToText(FullDocument(), kFullDocumentName), kFullDocumentFile);
    ExpectSameFileContents(LoadText(kFullDocumentFile), FullDocument());
    std::setlocale(LC_ALL, saved.c_str());
}

// Seeded random documents with every record: what is saved loads into a valid document that saves
// to the same bytes, through the files themselves for some of them, one with thousands of pieces.
TEST(RandomLayouts, SaveLoadSaveGivesTheSameBytes) {
    TempFolder folder;
    int nonTrivial = 0;
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        RandomLayout random(seed);
        const LayoutDocument doc = random.Make(seed == 400 ? 5000 : seed % 20 == 0 ? 300 : 40);
        const std::string name = random.Text(20);
        const std::string first = LayoutToText(doc, name);
        LayoutDocument loaded;
        std::string loadedName;
        if (seed % 50 == 0) {
            const std::string path = folder.File("random.xml");
            ASSERT_EQ(SaveLayout(doc, path, name), "");
            ASSERT_EQ(ReadBytes(path), first);
            ASSERT_EQ(LoadLayout(loaded, path, &loadedName), "") << "seed " << seed;
        } else {
            ASSERT_EQ(LoadLayoutFromText(loaded, first, &loadedName), "") << "seed " << seed;
        }
        ASSERT_EQ(loadedName, name);
        ASSERT_TRUE(LayoutInvariantsHold(loaded)) << "seed " << seed;
        ASSERT_EQ(LayoutToText(loaded, loadedName), first) << "seed " << seed;
        EXPECT_EQ(loaded.pieces.size(), doc.pieces.size());
        nonTrivial += doc.pieces.size() > 5 && !doc.scenery.empty() && !doc.labels.empty();
    }
    EXPECT_GT(nonTrivial, 20) << "the generator fills documents";
}

}  // namespace
