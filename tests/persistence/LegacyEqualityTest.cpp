// Temporary: the element-described writer and readers against the frozen copy of the old ones.
#include <gtest/gtest.h>

#include <filesystem>

#include "FileTestSupport.h"
#include "LegacyFiles.h"
#include "RandomLayout.h"
#include "persistence/LayoutFile.h"
#include "persistence/LibraryBlock.h"

namespace {

constexpr int kRandomLayouts = 20000;
constexpr int kMutationsPerLayout = 6;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

// A damaged copy of a file: attributes dropped or given odd values, lines doubled, dropped,
// swapped or moved, the text cut short.
std::string Mutate(const std::string& text, RandomLayout& r) {
    static const char* const kValues[] = {
        "",  "x",   "-1", "99999999999", "1e999",      "nan",        " 7th",        "+5",  "0x10",
        "-", "256", "64", "-2",          "2147483648", "2147483647", "-2147483648", "1e9", "1.5",
        "0", "1",   "63", "6",           "3",          "-0",         "  -12.5e2mm"};
    std::vector<std::string> lines = Lines(text);
    for (int k = 0, n = 1 + static_cast<int>(r.Below(3)); k < n && !lines.empty(); ++k) {
        size_t i = r.Below(lines.size());
        std::string& line = lines[i];
        switch (r.Below(7)) {
            case 0:
            case 1: {  // up to three values of one line replaced
                for (int v = 0, count = 1 + static_cast<int>(r.Below(3)); v < count; ++v) {
                    size_t q = line.find("=\"");
                    for (uint32_t skip = r.Below(12); q != std::string::npos && skip > 0; --skip) {
                        size_t next = line.find("=\"", q + 2);
                        if (next == std::string::npos) break;
                        q = next;
                    }
                    if (q == std::string::npos) break;
                    size_t close = line.find('"', q + 2);
                    if (close == std::string::npos) break;
                    line.replace(q + 2, close - q - 2, kValues[r.Below(std::size(kValues))]);
                }
                break;
            }
            case 2: {  // an attribute dropped
                size_t q = line.find("=\"");
                for (uint32_t skip = r.Below(8); q != std::string::npos && skip > 0; --skip) {
                    size_t next = line.find("=\"", q + 2);
                    if (next == std::string::npos) break;
                    q = next;
                }
                if (q == std::string::npos) break;
                size_t start = line.rfind(' ', q);
                size_t close = line.find('"', q + 2);
                if (start == std::string::npos || close == std::string::npos) break;
                line.erase(start, close + 1 - start);
                break;
            }
            case 3:
                lines.insert(lines.begin() + static_cast<long>(i), lines[i]);
                break;
            case 4:
                lines.erase(lines.begin() + static_cast<long>(i));
                break;
            case 5:
                std::swap(lines[i], lines[r.Below(lines.size())]);
                break;
            default: {
                std::string joined;
                for (const std::string& l : lines) joined += l + "\n";
                return joined.substr(0, r.Below(joined.size() + 1));
            }
        }
    }
    std::string joined;
    for (const std::string& l : lines) joined += l + "\n";
    return joined;
}

// The document the user has open when reading fails or succeeds.
LayoutDocument OpenDocument(RandomLayout& r) {
    // Read from its own text, so that it holds no value a comparison cannot match (NaN).
    LayoutDocument doc;
    EXPECT_EQ(legacy::LoadLayoutFromText(doc, legacy::LayoutToText(r.Make(6), "o"), nullptr), "");
    doc.PushUndo();
    return doc;
}

int refusedLayouts = 0, refusedBlocks = 0;

void ExpectSameRead(const std::string& text, RandomLayout& r, int* compared) {
    LayoutDocument before = OpenDocument(r);
    LayoutDocument a = before, b = before;
    std::string nameA = "open", nameB = "open";
    std::string errorA = legacy::LoadLayoutFromText(a, text, &nameA);
    std::string errorB = LoadLayoutFromText(b, text, &nameB);
    ++*compared;
    refusedLayouts += !errorA.empty();
    ASSERT_EQ(errorA, errorB) << text;
    ASSERT_EQ(nameA, nameB);
    ASSERT_EQ(a.pieces, b.pieces) << text;
    ASSERT_EQ(a.scenery, b.scenery);
    ASSERT_EQ(a.labels, b.labels);
    ASSERT_EQ(a.measurements, b.measurements);
    ASSERT_EQ(a.tunnels, b.tunnels);
    ASSERT_EQ(a.helices, b.helices);
    ASSERT_EQ(a.levels, b.levels);
    ASSERT_EQ(a.gradeRuns, b.gradeRuns);
    ASSERT_EQ(a.baseboard, b.baseboard);
    ASSERT_EQ(a.currentGrade, b.currentGrade);
    ASSERT_TRUE(a.nextId == b.nextId && a.activeLevel == b.activeLevel && a.units == b.units &&
                a.lastShape == b.lastShape && a.shapeWidth == b.shapeWidth &&
                a.shapeHeight == b.shapeHeight && a.shapeWidth2 == b.shapeWidth2 &&
                a.shapeHeight2 == b.shapeHeight2 && a.undoStack.size() == b.undoStack.size());
}

void ExpectSameBlockRead(const std::string& text, int* compared) {
    std::string nameA = "b", nameB = "b";
    std::vector<PlacedPiece> piecesA(1), piecesB(1);
    std::vector<SceneryItem> sceneryA(2), sceneryB(2);
    std::string errorA = legacy::LoadBlockFromText(text, &nameA, &piecesA, &sceneryA);
    std::string errorB = LoadBlockFromText(text, &nameB, &piecesB, &sceneryB);
    ++*compared;
    refusedBlocks += !errorA.empty();
    ASSERT_EQ(errorA, errorB) << text;
    ASSERT_EQ(nameA, nameB);
    ASSERT_EQ(piecesA, piecesB) << text;
    ASSERT_EQ(sceneryA, sceneryB) << text;
}

TEST(LegacyEquality, SampleFilesWriteAndReadAsBefore) {
    int compared = 0;
    for (const char* kind : {"layout", "block"}) {
        for (const auto& entry : std::filesystem::directory_iterator(
                 std::string(QUILLMORE_SOURCE_DIR) + "/fuzz/corpus/" + kind)) {
            std::string text = ReadBytes(entry.path().string());
            RandomLayout r(7);
            ExpectSameRead(text, r, &compared);
            ExpectSameBlockRead(text, &compared);
            LayoutDocument doc;
            std::string name;
            ASSERT_EQ(LoadLayoutFromText(doc, text, &name), "");
            std::vector<PlacedPiece> pieces;
            std::vector<SceneryItem> scenery;
            ASSERT_EQ(LoadBlockFromText(text, &name, &pieces, &scenery), "");
            doc.pieces.insert(doc.pieces.end(), pieces.begin(), pieces.end());
            for (auto& s : scenery) s.selected = true;
            doc.scenery.insert(doc.scenery.end(), scenery.begin(), scenery.end());
            for (auto& p : doc.pieces) p.selected = true;
            EXPECT_EQ(LayoutToText(doc, name), legacy::LayoutToText(doc, name));
            EXPECT_EQ(BlockToText(doc, name), legacy::BlockToText(doc, name));
        }
    }
    EXPECT_GT(compared, 8);
}

TEST(LegacyEquality, RandomLayoutsWriteTheSameBytesAndDamagedFilesReadTheSame) {
    int written = 0, readLayouts = 0, readBlocks = 0;
    for (int seed = 1; seed <= kRandomLayouts; ++seed) {
        RandomLayout r(static_cast<uint32_t>(seed));
        LayoutDocument doc = r.Make(seed % 10 == 0 ? 200 : 40);
        std::string name = r.Text(20);
        const std::string text = legacy::LayoutToText(doc, name);
        ASSERT_EQ(LayoutToText(doc, name), text) << "seed " << seed;
        const std::string block = legacy::BlockToText(doc, name);
        ASSERT_EQ(BlockToText(doc, name), block) << "seed " << seed;
        ++written;
        ExpectSameRead(text, r, &readLayouts);
        if (!block.empty()) ExpectSameBlockRead(block, &readBlocks);
        for (int m = 0; m < kMutationsPerLayout; ++m) {
            ExpectSameRead(Mutate(text, r), r, &readLayouts);
            if (!block.empty()) ExpectSameBlockRead(Mutate(block, r), &readBlocks);
            // A layout read as a block and a block read as a layout.
            if (m == 0) ExpectSameBlockRead(Mutate(text, r), &readBlocks);
            if (m == 0 && !block.empty()) ExpectSameRead(Mutate(block, r), r, &readLayouts);
            if (HasFatalFailure()) return;
        }
    }
    std::printf("compared %d layouts written, %d layout reads (%d refused), %d block reads (%d "
                "refused)\n",
                written, readLayouts, refusedLayouts, readBlocks, refusedBlocks);
}

}  // namespace
