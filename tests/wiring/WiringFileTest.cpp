// The wiring plan in the layout file (its exact text is pinned with every other record by the
// persistence tests): nothing written without a plan, and refusal of entries that name a missing
// piece, connector or district.
#include <gtest/gtest.h>

#include "model/TrackBuilder.h"
#include "persistence/LayoutFile.h"

namespace {

class WiringFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.EnsureDefaultLevel();
        line = track.Line("24188", 3);
    }
    LayoutDocument doc;
    TrackBuilder track{doc};
    std::vector<uint32_t> line;
};

TEST_F(WiringFileTest, EntriesNamingWhatIsNotThereAreRefusedByTheirLine) {
    doc.wiring.districts = {{1, "A", 0, 3}};
    doc.wiring.feeders = {{line[0], 1}};
    const std::string good = LayoutToText(doc, "plan");
    struct Case {
        const char* line;
        const char* error;
    };
    const Case cases[] = {
        {"    <gap piece=\"99\" conn=\"0\" rails=\"3\"/>", "piece 99 is not in the layout"},
        {"    <gap piece=\"1\" conn=\"2\" rails=\"3\"/>", "piece 1 has no connector 2"},
        {"    <gap piece=\"1\" conn=\"0\" rails=\"4\"/>", "rails in <gap> is out of range"},
        {"    <feeder piece=\"1\" district=\"5\"/>", "district 5 is not in the layout"},
        {"    <detector piece=\"42\" number=\"1\"/>", "piece 42 is not in the layout"},
        {"    <district id=\"1\" name=\"B\" color=\"0\"/>", "district 1 is used twice"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::string text = good;
        const size_t at = text.find("  </wiring>");
        ASSERT_NE(at, std::string::npos);
        text.insert(at, std::string(c.line) + "\n");
        const int lineNumber =
            static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n')) +
            1;
        LayoutDocument target = doc;
        target.wiring = WiringPlan{};
        const std::string error = LoadLayoutFromText(target, text, nullptr);
        EXPECT_EQ(error.rfind("Line " + std::to_string(lineNumber) + ": ", 0), 0u) << error;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        EXPECT_TRUE(target.wiring.Empty()) << "all or nothing";
    }
}

// Pieces can go by other ways than deleting the selection (undoing a placement, a gesture, a
// replaced block): the writer leaves out what names them, so the file still opens.
TEST_F(WiringFileTest, EntriesOfPiecesThatAreGoneAreNotWritten) {
    doc.wiring.districts = {{1, "A", 0, 3}};
    doc.wiring.gaps = {
        {line[0], 1, GapRails::Centre}, {line[1], 0, GapRails::Both}, {line[2], 5, GapRails::Left}};
    doc.wiring.feeders = {{line[1], 1}, {line[2], 4}};
    doc.wiring.detectors = {{line[1], 3}, {line[2], 2}};
    doc.pieces.erase(doc.pieces.begin() + 1);
    LayoutDocument loaded;
    ASSERT_EQ(LoadLayoutFromText(loaded, LayoutToText(doc, "plan"), nullptr), "");
    const WiringPlan expected{
        {{line[0], 1, GapRails::Centre}}, {{line[2], kNoId}}, {{1, "A", 0, 3}}, {{line[2], 2}}};
    EXPECT_EQ(loaded.wiring, expected);
    // A plan left with nothing to write is not written at all, and reading such a file over a
    // document with a plan leaves none.
    doc.wiring = WiringPlan{};
    doc.wiring.feeders = {{line[1], kNoId}};
    const std::string plain = LayoutToText(doc, "plan");
    EXPECT_EQ(plain.find("wiring"), std::string::npos);
    ASSERT_EQ(LoadLayoutFromText(loaded, plain, nullptr), "");
    EXPECT_TRUE(loaded.wiring.Empty());
}

}  // namespace
