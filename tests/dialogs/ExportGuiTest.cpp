// The export commands of the File menu: PNG, SVG and PDF files of the layout and the parts list,
// their failures and an empty layout.
#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/radiobox.h>
#include <wx/spinctrl.h>
#include <wx/xml/xml.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "app/gui/MainFrameDialogs.h"
#include "dialogs/PlanExport.h"
#include "dialogs/gui/LayoutPrintout.h"
#include "dialogs/gui/PlanExportFiles.h"
#include "dialogs/gui/PrintOptionsDialog.h"
#include "persistence/LayoutFile.h"
#include "support/FrameFixture.h"

namespace {

const wxColour kPieceFill(210, 210, 205);
const wxColour kWhite(255, 255, 255);

// Runs a command line and returns what it printed; empty when it failed.
std::string RunCommand(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 4096> buf;
        size_t n;
        while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) out.append(buf.data(), n);
        if (pclose(pipe) != 0) out.clear();
    }
    return out;
}

class ExportTest : public FrameTest {
protected:
    void SetUp() override {
        OpenFrame();
        frame->SetProgramFolder(folder.Path());
        Doc().labelsShown = false;
        SetExportPathAsker([this](wxWindow*, const ExportQuestion& q) {
            offered = q.file;
            wildcard = q.wildcard;
            askedIn.push_back(q.folder);
            return ExportAnswer{answerPath, answerFilter};
        });
    }
    void TearDown() override {
        SetExportPathAsker(nullptr);
        CloseFrame();
    }
    // Answers the picture and print options dialogs with OK (after `fill`), message boxes with
    // OK, and records them.
    std::unique_ptr<ModalAnswerer> Answer(double pxPerMm = 1,
                                          std::function<void(PrintOptionsDialog*)> fill = {}) {
        return std::make_unique<ModalAnswerer>([this, pxPerMm, fill](wxDialog* d) {
            if (auto* picture = dynamic_cast<PictureOptionsDialog*>(d)) {
                picture->ResolutionField()->SetValue(pxPerMm);
                picture->UpdateSize();
                sizeText = picture->SizeText();
            } else if (auto* print = dynamic_cast<PrintOptionsDialog*>(d)) {
                if (fill) fill(print);
            }
            return int(wxID_OK);
        });
    }

    TempDir folder;
    wxString answerPath;
    int answerFilter = 0;
    wxString offered;
    wxString wildcard;
    std::vector<wxString> askedIn;  // the folder each file dialog started in
    wxString sizeText;
};

TEST_F(ExportTest, PngHasThePicturesSizeAndTrackWhereTheLayoutHasTrack) {
    LayPiece(Doc(), 0, 0);
    LayPiece(Doc(), 188.3, 0);
    LayPiece(Doc(), 0, 400, 1, "24188", 90);
    answerPath = folder.File("plan.png");
    auto answer = Answer(2);
    Command(kCmdExportPicture);
    EXPECT_EQ(offered, "My Layout.png");
    ASSERT_EQ(answer->Count(), 1);  // the resolution only
    const PictureFrame f = PictureFrameFor(Doc(), 2);
    EXPECT_EQ(sizeText, "Picture size: " + wxString::FromUTF8(PictureSizeText(f)));
    wxImage image;
    ASSERT_TRUE(image.LoadFile(answerPath, wxBITMAP_TYPE_PNG));
    EXPECT_EQ(image.GetWidth(), f.width);
    EXPECT_EQ(image.GetHeight(), f.height);
    const auto px = [&f](double x, double y) {
        return wxPoint(int(x * f.zoom + f.offsetX), int(y * f.zoom + f.offsetY));
    };
    for (wxPoint p : {px(90, 0), px(300, 0), px(0, 500)})
        EXPECT_EQ(PixelAt(image, p.x, p.y), kPieceFill);
    for (wxPoint p : {px(200, 250), px(300, 100), wxPoint(2, 2)})
        EXPECT_EQ(PixelAt(image, p.x, p.y), kWhite);
}

// A selected piece: nothing on the pages shows the selection, and the canvas keeps it.
TEST_F(ExportTest, FullSizePdfHasOnePagePerTileWithInkOnTheTrackAndNoSelection) {
    // 1.2 m of straight track at 1:1 on Letter landscape: tiles of 254 × 196 mm inside 4 %
    // margins, so five columns and one row.
    for (int i = 0; i < 6; ++i) LayPiece(Doc(), i * 188.3, 0);
    Doc().pieces[1].selected = true;
    answerPath = folder.File("plan.pdf");
    auto answer = Answer(1, [](PrintOptionsDialog* d) {
        d->Scaling()->SetSelection(1);
        d->Denominator()->SetValue(1);
    });
    Command(kCmdExportPdf);
    const std::string info = RunCommand("pdfinfo '" + answerPath.utf8_string() + "'");
    ASSERT_FALSE(info.empty()) << "pdfinfo failed";
    EXPECT_NE(info.find("Pages:           5"), std::string::npos) << info;
    EXPECT_NE(info.find("Page size:       792 x 612 pts (letter)"), std::string::npos) << info;
    EXPECT_NE(info.find("Title:           Quillmore Layout"), std::string::npos) << info;
    // Each page at 72 dpi: one pixel per point, the track band across the middle of the tile.
    const std::string prefix = folder.File("page");
    ASSERT_FALSE(RunCommand("pdftoppm -r 72 -png '" + answerPath.utf8_string() + "' '" + prefix +
                            "' && echo ok")
                     .empty());
    for (int page = 1; page <= 5; ++page) {
        wxImage image;
        ASSERT_TRUE(image.LoadFile(wxString::Format("%s-%d.png", prefix, page), wxBITMAP_TYPE_PNG))
            << page;
        EXPECT_EQ(image.GetWidth(), 792);
        // The layout's y = 0 (track centre) lies half the band's height below the top inner edge
        // of the first row: the bounds start at the band's centre line.
        const int marginY = int(612 * 0.04);
        const int trackY = marginY + 1;
        // Ink along the track, none of it the selection's fill or outline.
        int ink = 0, selection = 0;
        for (int x = 40; x < 750; x += 5) {
            const wxColour c = PixelAt(image, x, trackY);
            ink += c != kWhite;
            for (const wxColour& mark : {wxColour(180, 200, 230), wxColour(40, 100, 200)})
                selection += std::abs(c.Red() - mark.Red()) <= 2 &&
                             std::abs(c.Green() - mark.Green()) <= 2 &&
                             std::abs(c.Blue() - mark.Blue()) <= 2;
        }
        EXPECT_GT(ink, page < 5 ? 100 : 10) << page;
        EXPECT_EQ(selection, 0) << page;
        // Below the track the pages stay white.
        EXPECT_EQ(PixelAt(image, 396, 400), kWhite) << page;
    }
    EXPECT_TRUE(Doc().pieces[1].selected);
}

// The SVG filter picked with the offered name gives an SVG of the stated scale, without asking
// for pixels: a polygon per band, no grid, no selection.
TEST_F(ExportTest, SvgFilterGivesAnSvgOfTheStatedScaleWithAPolygonPerBand) {
    for (int i = 0; i < 5; ++i) LayPiece(Doc(), i * 188.3, 0);
    Doc().pieces[0].selected = true;
    Doc().gridShown = true;
    frame->GetPrintOptions().scaling = 1;
    frame->GetPrintOptions().scaleDenominator = 10;
    answerPath = folder.File("My Layout.png");
    answerFilter = 1;
    auto answer = Answer();
    Command(kCmdExportPicture);
    EXPECT_EQ(offered, "My Layout.png");
    EXPECT_EQ(answer->Count(), 0);  // no pixels-per-millimetre question
    EXPECT_FALSE(wxFileExists(answerPath));
    wxXmlDocument svg;
    ASSERT_TRUE(svg.Load(folder.File("My Layout.svg")));
    ASSERT_EQ(svg.GetRoot()->GetName(), "svg");
    // A drawing has no pixels to ask about: it is made at the default resolution.
    const double pxPerMm = DefaultPictureResolution(Doc());
    const PictureFrame f = PictureFrameFor(Doc(), pxPerMm);
    EXPECT_EQ(svg.GetRoot()->GetAttribute("viewBox"),
              wxString::Format("0 0 %d %d", f.width, f.height));
    // The stated width is the drawing's width in layout millimetres at 1 : 10 (SvgWidthMm).
    const wxString width = svg.GetRoot()->GetAttribute("width");
    double widthCm = 0;
    ASSERT_TRUE(width.EndsWith("cm") && width.BeforeLast('c').ToCDouble(&widthCm)) << width;
    EXPECT_NEAR(widthCm * 10, SvgWidthMm(f, 10), 0.01 * SvgWidthMm(f, 10));
    // Each band is a polygon in a group filled with the piece colour, the selected piece's too.
    int bands = 0, lines = 0;
    wxString title, desc;
    std::function<void(wxXmlNode*)> walk = [&](wxXmlNode* node) {
        for (; node; node = node->GetNext()) {
            const wxString style = node->GetParent()->GetAttribute("style").Upper();
            bands += node->GetName() == "polygon" && style.Contains("FILL:#D2D2CD");
            lines += node->GetName() == "line";
            if (node->GetName() == "title") title = node->GetNodeContent();
            if (node->GetName() == "desc") desc = node->GetNodeContent();
            walk(node->GetChildren());
        }
    };
    walk(svg.GetRoot()->GetChildren());
    EXPECT_EQ(bands, 5);
    EXPECT_EQ(lines, 0);  // no grid in pictures
    EXPECT_TRUE(Doc().gridShown);
    EXPECT_TRUE(Doc().pieces[0].selected);
    // The SVG stated no scale: its title, its description and the dialog's SVG kind name it.
    EXPECT_TRUE(title.Contains("1 : 10")) << title;
    EXPECT_TRUE(desc.Contains("1 : 10")) << desc;
    EXPECT_TRUE(wildcard.AfterFirst('|').AfterFirst('|').StartsWith("SVG drawing at 1 : 10"))
        << wildcard;
}

TEST_F(ExportTest, FailuresAreReportedAndLeaveEarlierFilesIntact) {
    LayPiece(Doc(), 0, 0);
    const std::string earlier = folder.File("parts.csv");
    std::ofstream(earlier) << "earlier";
    auto answer = Answer();
    answerPath = folder.File("parts.txt");  // another kind of file
    Command(kCmdExportParts);
    answerPath = folder.File("missing/plan.pdf");  // no such folder
    Command(kCmdExportPdf);
    ASSERT_EQ(answer->Count(), 3);  // the print options, then the two failures
    EXPECT_EQ(answer->Dialogs()[0].title, "Export Failed");
    EXPECT_EQ(answer->Dialogs()[0].message, "The file name needs the extension .csv.");
    EXPECT_EQ(answer->Dialogs()[2].title, "Export Failed");
    EXPECT_TRUE(answer->Dialogs()[2].message.StartsWith("Cannot open file: "))
        << answer->Dialogs()[2].message;
    EXPECT_EQ(ReadFileBytes(earlier), "earlier");
}

// A scale that gives more than a hundred pages is asked about before the file name; a writing
// that is stopped leaves no file and the earlier one as it was.
TEST_F(ExportTest, APdfOfManyPagesIsAskedForFirstAndCanBeStopped) {
    LayPiece(Doc(), 0, 0);
    LayPiece(Doc(), 3000, 2000);  // 1 : 1 on letter: 13 × 11 tiles of 254 × 196 mm
    const auto fullSize = [](PrintOptionsDialog* d) {
        d->Scaling()->SetSelection(1);
        d->Denominator()->SetValue(1);
    };
    answerPath = folder.File("many.pdf");
    {
        wxString question;
        ModalAnswerer no([&](wxDialog* d) {
            if (auto* print = dynamic_cast<PrintOptionsDialog*>(d)) {
                fullSize(print);
                return int(wxID_OK);
            }
            return int(wxID_NO);
        });
        Command(kCmdExportPdf);
        ASSERT_EQ(no.Count(), 2);
        EXPECT_EQ(no.Dialogs()[1].message,
                  "At this scale the plan takes 143 pages. Write all of them?");
        EXPECT_TRUE(offered.empty()) << "no file name is asked for";
    }
    EXPECT_FALSE(wxFileExists(answerPath));

    double widthMm = 0, heightMm = 0;
    PaperSizeMm(*frame->GetPrintData(), &widthMm, &heightMm);
    std::ofstream(answerPath.utf8_string()) << "earlier";
    int told = 0, written = -1;
    const std::string error = WritePdf(
        Doc(), frame->GetPrintOptions(), widthMm, heightMm, answerPath.utf8_string(), &written,
        [&](int done, int count) { return ++told == done && count == 143 && done < 3; });
    EXPECT_EQ(error, "");
    EXPECT_EQ(written, 0);
    EXPECT_EQ(told, 3);
    EXPECT_EQ(ReadFileBytes(answerPath.utf8_string()), "earlier");
}

// In a large PNG the board's dimension labels were as small as on a screen: a speck.
TEST_F(ExportTest, DimensionLabelsGrowWithThePicture) {
    Doc().baseboard = {{0, 0}, {1200, 0}, {1200, 500}, {0, 500}};
    Doc().baseboardShown = true;
    const wxColour labelFill(255, 248, 220);
    auto share = [&](double pxPerMm) {
        answerPath = folder.File("board" + std::to_string(int(pxPerMm)) + ".png");
        auto answer = Answer(pxPerMm);
        Command(kCmdExportPicture);
        wxImage image;
        EXPECT_TRUE(image.LoadFile(answerPath, wxBITMAP_TYPE_PNG));
        long count = 0;
        for (int y = 0; y < image.GetHeight(); ++y)
            for (int x = 0; x < image.GetWidth(); ++x) count += PixelAt(image, x, y) == labelFill;
        return double(count) / (double(image.GetWidth()) * image.GetHeight());
    };
    const double small = share(1), large = share(5);
    ASSERT_GT(small, 0);
    // At five times the resolution the labels keep most of their share of the picture (a
    // screen-sized label would keep a 25th of it).
    EXPECT_GT(large, 0.5 * small);
    EXPECT_EQ(PicturePixelScale(PictureFrameFor(Doc(), 1)), 1.0);
}

// A layout opened from another folder was exported into the program's folder by default.
TEST_F(ExportTest, FileDialogStartsInTheLayoutsFolderThenInTheFolderUsedLast) {
    TempDir elsewhere, exports;
    LayPiece(Doc(), 0, 0);
    const std::string layout = elsewhere.File("Shelf.xml");
    ASSERT_EQ(SaveLayout(Doc(), layout, "Shelf"), "");
    ASSERT_TRUE(frame->OpenLayoutPath(wxString::FromUTF8(layout)));
    auto answer = Answer();
    answerPath = exports.File("parts.csv");
    Command(kCmdExportParts);
    EXPECT_TRUE(wxFileExists(answerPath));  // its bytes: PartsListCsv
    answerPath = exports.File("plan.pdf");  // another kind of export starts there too
    Command(kCmdExportPdf);
    EXPECT_TRUE(wxFileExists(answerPath));
    ASSERT_EQ(askedIn.size(), 2u);
    EXPECT_EQ(askedIn[0], wxString::FromUTF8(elsewhere.Path()));
    EXPECT_EQ(askedIn[1], wxString::FromUTF8(exports.Path())) << "then where it exported last";
    EXPECT_EQ(ExportStartFolder("/x", "/a/b.xml", "/c/d.xml", "/p"), "/c");
    EXPECT_EQ(ExportStartFolder("", "", "", "/p"), "/p");
}

}  // namespace
