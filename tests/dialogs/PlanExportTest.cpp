// Exporting the plan: the parts list CSV, picture frames and sizes, file kinds, PDF pages.
#include <gtest/gtest.h>

#include "base/CsvField.h"
#include "catalog/TrackCatalog.h"
#include "dialogs/PlanExport.h"
#include "panels/TallyTestSupport.h"

namespace {

TEST(CsvField, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(CsvField("24188 - 188.3mm"), "24188 - 188.3mm");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(CsvField("24130 (30\u00b0)"), "24130 (30\u00b0)");
    EXPECT_EQ(CsvField(""), "");
}

TEST(PartsListCsv, EmptyLayoutHasTheHeaderOnly) {
    EXPECT_EQ(PartsListCsv(LayoutDocument{}), "Article,Name,System,Count\r\n");
}

TEST(PartsListCsv, RowsFollowTheTallyWithHiddenPiecesAndAccessories) {
    LayoutDocument doc;
    PlaceHelixWithEnds(doc, "proses_2_5_r1r2");  // 30 × 24130, 30 × 24230, 4 × 24188
    PlacePieces(doc, "74623");                   // a bridge carrying a 24230
    PlacePieces(doc, "24630", 2);                // three-way turnouts: motors and decoders
    PlacePieces(doc, "9,\"odd\"");               // unknown article with a comma and quotes
    // The bridge's name as the catalog has it, quoted as a CSV field wherever it needs to be.
    const std::string bridge = CsvField(TrackCatalog::Instance().Find("74623")->name);
    EXPECT_EQ(PartsListCsv(doc),
              "Article,Name,System,Count\r\n"
              "24130,24130 (30\u00b0) R1 - 360mm (14-3/16),Marklin C-Track,30\r\n"
              "24188,24188 - 188.3mm,Marklin C-Track,4\r\n"
              "24230,24230 (30\u00b0) R2 - 437.5mm (17-1/4),Marklin C-Track,31\r\n"
              "24630,24630 Three-Way Turnout 2x24.3\u00b0,Marklin C-Track,2\r\n"
              "74623," +
                  bridge +
                  ",Marklin C-Track,1\r\n"
                  "\"9,\"\"odd\"\"\",\"9,\"\"odd\"\"\",,1\r\n"
                  "74491,Turnout Motor,,4\r\n"
                  "74462,Decoder,,2\r\n");
}

TEST(ExportKind, ComesFromTheExtensionInAnyCase) {
    EXPECT_EQ(ExportKindForPath("/a/plan.png"), ExportKind::Png);
    EXPECT_EQ(ExportKindForPath("/a/plan.SVG"), ExportKind::Svg);
    EXPECT_EQ(ExportKindForPath("plan.Pdf"), ExportKind::Pdf);
    EXPECT_EQ(ExportKindForPath("parts.csv"), ExportKind::Csv);
    EXPECT_EQ(ExportKindForPath("/a.b/plan"), ExportKind::Unknown);
    EXPECT_EQ(ExportKindForPath("/a/plan.jpeg"), ExportKind::Unknown);
    EXPECT_EQ(ExportKindForPath(""), ExportKind::Unknown);
}

TEST(PictureFrame, FramesEverythingDrawnWithAMargin) {
    LayoutDocument doc;
    doc.baseboard = {{100, 200}, {2100, 200}, {2100, 1200}, {100, 1200}};
    doc.labels.push_back(Label{.text = {}, .x = -400, .y = 300});
    const PictureFrame f = PictureFrameFor(doc, 2);
    // From the label to the board's right dimension label 12 mm outside it, and between the top
    // and bottom labels: 2512 × 1024 mm at 2 px/mm plus 50 mm and 20 px on each side.
    EXPECT_EQ(f.width, 5024 + 2 * 120);
    EXPECT_EQ(f.height, 2048 + 2 * 120);
    EXPECT_DOUBLE_EQ(-400 * f.zoom + f.offsetX, 120);
    EXPECT_DOUBLE_EQ(188 * f.zoom + f.offsetY, 120);
    EXPECT_EQ(PictureSizeText(f), "5264 \u00d7 2288 pixels");
    EXPECT_EQ(PictureSizeProblem(f), "");
    const PictureFrame huge = PictureFrameFor(doc, 20);
    EXPECT_NE(PictureSizeProblem(huge).find("too large"), std::string::npos);
}

TEST(PictureFrame, EmptyLayoutIsAMetreSquare) {
    const PictureFrame f = PictureFrameFor(LayoutDocument{}, 1);
    EXPECT_EQ(f.width, 1000 + 2 * 70);
    EXPECT_EQ(f.height, f.width);
    const double r = DefaultPictureResolution(LayoutDocument{});
    EXPECT_GT(r, 3.0);
    EXPECT_LE(r, 4.0);
}

TEST(PictureFrame, DefaultResolutionKeepsBigLayoutsNearFourThousandPixels) {
    LayoutDocument doc;
    doc.baseboard = {{0, 0}, {9000, 0}, {9000, 3000}};
    const double r = DefaultPictureResolution(doc);
    const PictureFrame f = PictureFrameFor(doc, r);
    EXPECT_LE(f.width, 4100);
    EXPECT_GT(f.width, 3500);
    EXPECT_EQ(PictureSizeProblem(f), "");
}

TEST(PdfPage, LetterLandscapeAt300Dpi) {
    const PdfPage page = PdfPageFor(279.4, 215.9, 300);
    EXPECT_NEAR(page.widthPt, 792, 1e-9);
    EXPECT_NEAR(page.heightPt, 612, 1e-9);
    EXPECT_EQ(page.widthPx, 3300);
    EXPECT_EQ(page.heightPx, 2550);
    EXPECT_NEAR(page.pxPerPt, 300 / 72.0, 1e-12);
}

TEST(SvgSize, StatedSizeIsTheLayoutAtTheChosenScale) {
    LayoutDocument doc;
    doc.baseboard = {{0, 0}, {2000, 0}, {2000, 1000}, {0, 1000}};
    for (double r : {0.5, 2.0, 3.7}) {
        const PictureFrame f = PictureFrameFor(doc, r);
        // The frame's width in millimetres of layout, at full size and at 1 : 10.
        const double layoutMm = f.width / f.zoom;
        EXPECT_NEAR(SvgWidthMm(f, 1), layoutMm, 1e-9) << r;
        EXPECT_NEAR(SvgWidthMm(f, 10), layoutMm / 10, 1e-9) << r;
        EXPECT_NEAR(SvgDotsPerInch(f, 1), r * 25.4, 1e-12);
    }
    EXPECT_NEAR(SvgWidthMm(PictureFrameFor(doc, 1), 0), SvgWidthMm(PictureFrameFor(doc, 1), 1),
                1e-12);
}

TEST(ChosenExportPath, TheFilterChangesOnlyTheOfferedExtension) {
    const std::vector<std::string> picture = {".png", ".svg"};
    // The offered name with the SVG filter picked: the dialog left the name alone.
    EXPECT_EQ(ChosenExportPath("/a/My Layout.png", picture, 1), "/a/My Layout.svg");
    EXPECT_EQ(ChosenExportPath("/a/My Layout.png", picture, 0), "/a/My Layout.png");
    // A typed kind wins over the filter; a bare name takes the filter's.
    EXPECT_EQ(ChosenExportPath("/a/plan.SVG", picture, 0), "/a/plan.SVG");
    EXPECT_EQ(ChosenExportPath("/a/plan", picture, 1), "/a/plan.svg");
    EXPECT_EQ(ChosenExportPath("/a/plan", picture, 7), "/a/plan.svg");
    EXPECT_EQ(ChosenExportPath("/a.b/plan", picture, 0), "/a.b/plan.png");
    EXPECT_EQ(ChosenExportPath("/a/.hidden", picture, 0), "/a/.hidden.png");
    EXPECT_EQ(ChosenExportPath("/a/plan.jpg", picture, 1), "");
    EXPECT_EQ(ChosenExportPath("/a/parts.csv", {".pdf"}, 0), "");
}

}  // namespace
