// The track box file: round trips, what spreadsheet programs write, and refused rows.
#include <gtest/gtest.h>

#include <filesystem>

#include "persistence/FileTestSupport.h"
#include "trackbox/TrackBox.h"

namespace {

TrackBox Box(std::initializer_list<std::pair<const char*, int>> counts) {
    TrackBox box;
    for (const auto& [article, n] : counts) box.Set(article, n);
    return box;
}

// Articles a spreadsheet user may type: numbers, one unknown to the catalog, and texts that
// need quoting in either separator convention.
const TrackBox kAwkwardBox = Box({{"24188", 12},
                                  {"2200", 100000},
                                  {"99999", 1},
                                  {"A, \"quoted\" one", 3},
                                  {" spaced ", 2},
                                  {"semi;colon", 4}});

// An import added to the box must not drop what was typed: sums per article, held at the limit.
TEST(TrackBoxCounts, AddingABoxSumsEachArticleUpToTheLimit) {
    TrackBox box = Box({{"24188", 3}, {"2200", 99999}, {"24130", 1}});
    box.Add(Box({{"24188", 4}, {"2200", 5}, {"99999", 2}}));
    EXPECT_EQ(box, Box({{"24188", 7}, {"2200", 100000}, {"24130", 1}, {"99999", 2}}));
}

TEST(TrackBoxFile, SavesSortedRowsUnderTheHeaderAndReadsThemBack) {
    TempFolder folder;
    const std::string path = folder.File("my-track.csv");
    ASSERT_EQ(SaveTrackBox(path, Box({{"24230", 8}, {"24188", 12}, {"99999", 1}})), "");
    EXPECT_EQ(ReadBytes(path), "Article,Count\n24188,12\n24230,8\n99999,1\n");

    ASSERT_EQ(SaveTrackBox(path, kAwkwardBox), "");
    TrackBox loaded = Box({{"stale", 1}});
    ASSERT_EQ(LoadTrackBox(path, loaded), "");
    EXPECT_EQ(loaded, kAwkwardBox) << ReadBytes(path);
    // The file was replaced as a whole: nothing is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 1);

    ASSERT_EQ(SaveTrackBox(path, TrackBox{}), "");
    EXPECT_EQ(ReadBytes(path), "Article,Count\n");
    ASSERT_EQ(LoadTrackBox(path, loaded), "");
    EXPECT_TRUE(loaded.Empty());
}

TEST(TrackBoxFile, ReadsWhatSpreadsheetProgramsWrite) {
    const struct {
        const char* what;
        std::string text;
        TrackBox box;
    } cases[] = {
        {"byte order mark and CRLF",
         "\xEF\xBB\xBF"
         "Article,Count\r\n24188,3\r\n24130,2\r\n",
         Box({{"24188", 3}, {"24130", 2}})},
        {"semicolons, every field quoted", "\"Article\";\"Count\"\n\"24188\";\"3\"\n",
         Box({{"24188", 3}})},
        {"quotes doubled inside a quoted field", "Article,Count\n\"say \"\"hi\"\", ok\",2\n",
         Box({{"say \"hi\", ok", 2}})},
        {"blank lines and rows of empty fields", "Article;Count\n\n;;\n24188;1;;\n   \n",
         Box({{"24188", 1}})},
        {"no header, blanks around fields", " 24188 ,\t7 \n2200,1\n",
         Box({{"24188", 7}, {"2200", 1}})},
        {"header in other case, notes column", "ARTICLE,count,Note\n24188,2,spare curve\n",
         Box({{"24188", 2}})},
        {"an article on two rows adds up, zero rows own nothing", "24188,2\n24188,3\n24130,0\n",
         Box({{"24188", 5}})},
        {"empty file", "", TrackBox{}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TrackBox box = Box({{"stale", 9}});
        ASSERT_EQ(ParseTrackBox(c.text, box), "");
        EXPECT_EQ(box, c.box);
        // Whatever was read saves as a plain file that reads back the same.
        TrackBox again;
        ASSERT_EQ(ParseTrackBox(TrackBoxToText(box), again), "");
        EXPECT_EQ(again, box);
    }
}

TEST(TrackBoxFile, RefusedRowsNameTheirLineAndLoadNothing) {
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"Article,Count\n24188,-2\n", "Line 2: the count -2 of 24188 is negative"},
        {"Article;Count\r\n\r\n24188;2,5\r\n",
         "Line 3: the count \"2,5\" of 24188 is not a whole number"},
        {"Article,Count\n24188,\n", "Line 2: no count for 24188"},
        {"Article,Count\n,4\n", "Line 2: no article"},
        {"24188,99999999999999999999\n",
         "Line 1: the count 99999999999999999999 of 24188 is more than 100000"},
        {"24188,60000\n24188,50000\n", "Line 2: the counts of 24188 add up to more than 100000"},
        {"Article,Count\n\"two\nlines\",1\n24188,x\n",
         "Line 2: the article holds a control character"},
        {"Article,Count\n\"a\",\"1\nx\n24188,x\n", "Line 2: a quoted field is not closed"},
        {"Article,Count\n\"24188\"x,1\n", "Line 2: text after a closing quote"},
        // A quoted note column may hold line breaks; the rows after it keep their own numbers.
        {"Article,Count,Note\n24188,1,\"first\nsecond\r\nthird\"\n24130,-1\n",
         "Line 5: the count -1 of 24130 is negative"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TrackBox box = Box({{"24188", 4}});
        const TrackBox before = box;
        EXPECT_EQ(ParseTrackBox(c.text, box), c.error);
        EXPECT_EQ(box, before);
    }
}

TEST(TrackBoxFile, MissingUnreadableAndUnwritableFilesChangeNothing) {
    TempFolder folder;
    TrackBox box = Box({{"24188", 4}});
    const TrackBox before = box;
    const std::string missing = folder.File("none.csv");
    EXPECT_EQ(LoadTrackBox(missing, box), "Cannot open file: " + missing);
    EXPECT_EQ(LoadTrackBox(folder.path, box), "Cannot read file: " + folder.path);
    EXPECT_EQ(box, before);

    const std::string nowhere = folder.File("no-such-folder/my-track.csv");
    EXPECT_EQ(SaveTrackBox(nowhere, box), "Cannot open file: " + nowhere);
}

}  // namespace
