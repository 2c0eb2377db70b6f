// The export commands of the File menu: PNG, SVG and PDF files of the layout and the parts list,
// their failures and an empty layout.
#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/mstream.h>
#include <wx/radiobox.h>
#include <wx/spinctrl.h>
#include <wx/sstream.h>
#include <wx/xml/xml.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "app/gui/MainFrame.h"
#include "app/gui/MainFrameDialogs.h"
#include "dialogs/PlanExport.h"
#include "dialogs/gui/PlanExportFiles.h"
#include "dialogs/gui/PrintOptionsDialog.h"
#include "support/GuiTestSupport.h"

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

wxColour At(const wxImage& image, int x, int y) {
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

class ExportTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("HOME", home.Path().c_str(), 1);
        frame = new MainFrame();
        frame->SetProgramFolder(folder.Path());
        Doc().EnsureDefaultLevel();
        Doc().labelsShown = false;
        SetExportPathAsker(
            [this](wxWindow*, const wxString&, const wxString&, const wxString& file) {
                offered = file;
                return answerPath;
            });
    }
    void TearDown() override {
        SetExportPathAsker(nullptr);
        frame->Destroy();
        PumpEvents();
    }
    LayoutDocument& Doc() { return frame->Document(); }
    void Straight(double x, double y, double heading = 0) {
        PlacedPiece p;
        p.id = Doc().TakeId();
        p.article = "24188";
        p.x = x;
        p.y = y;
        p.heading = heading;
        p.joints.resize(2);
        Doc().pieces.push_back(p);
    }
    void Command(int id) {
        wxCommandEvent event(wxEVT_MENU, id);
        event.SetEventObject(frame);
        frame->GetEventHandler()->ProcessEvent(event);
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

    TempDir home;
    TempDir folder;
    MainFrame* frame = nullptr;
    wxString answerPath;
    wxString offered;
    wxString sizeText;
};

TEST_F(ExportTest, FileMenuCarriesTheExportItemsAfterPrint) {
    wxMenu* file = frame->GetMenuBar()->GetMenu(0);
    int print = wxNOT_FOUND;
    for (size_t i = 0; i < file->GetMenuItemCount(); ++i)
        if (file->FindItemByPosition(i)->GetId() == wxID_PRINT) print = static_cast<int>(i);
    ASSERT_NE(print, wxNOT_FOUND);
    EXPECT_TRUE(file->FindItemByPosition(print + 1)->IsSeparator());
    EXPECT_EQ(file->FindItemByPosition(print + 2)->GetItemLabel(), "Export &Picture...");
    EXPECT_EQ(file->FindItemByPosition(print + 3)->GetItemLabel(), "Export P&DF...");
    EXPECT_EQ(file->FindItemByPosition(print + 4)->GetItemLabel(), "Export Parts &List...");
}

TEST_F(ExportTest, PngHasThePicturesSizeAndTrackWhereTheLayoutHasTrack) {
    Straight(0, 0);
    Straight(188.3, 0);
    Straight(0, 400, 90);
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
        EXPECT_EQ(At(image, p.x, p.y), kPieceFill);
    for (wxPoint p : {px(200, 250), px(300, 100), wxPoint(2, 2)})
        EXPECT_EQ(At(image, p.x, p.y), kWhite);
}

TEST_F(ExportTest, SvgParsesAndHoldsAPolygonPerBand) {
    for (int i = 0; i < 5; ++i) Straight(i * 188.3, 0);
    Doc().gridShown = true;
    answerPath = folder.File("plan.SVG");
    auto answer = Answer(1);
    Command(kCmdExportPicture);
    wxXmlDocument svg;
    ASSERT_TRUE(svg.Load(answerPath));
    ASSERT_EQ(svg.GetRoot()->GetName(), "svg");
    const PictureFrame f = PictureFrameFor(Doc(), 1);
    EXPECT_EQ(svg.GetRoot()->GetAttribute("viewBox"),
              wxString::Format("0 0 %d %d", f.width, f.height));
    // Each band is a polygon in a group filled with the piece colour, around y = 0.
    int bands = 0, lines = 0;
    std::function<void(wxXmlNode*)> walk = [&](wxXmlNode* node) {
        for (; node; node = node->GetNext()) {
            const wxString style = node->GetParent()->GetAttribute("style").Upper();
            if (node->GetName() == "polygon" && style.Contains("FILL:#D2D2CD")) {
                ++bands;
                const wxString points = node->GetAttribute("points");
                EXPECT_TRUE(points.Contains(wxString::Format(" %d ", int(f.offsetY - 18.7))) ||
                            points.Contains(wxString::Format(" %d ", int(f.offsetY + 18.7))))
                    << points;
            }
            if (node->GetName() == "line") ++lines;
            walk(node->GetChildren());
        }
    };
    walk(svg.GetRoot()->GetChildren());
    EXPECT_EQ(bands, 5);
    EXPECT_EQ(lines, 0);  // no grid in pictures
    EXPECT_TRUE(Doc().gridShown);
}

TEST_F(ExportTest, FullSizePdfHasOnePagePerTileWithInkOnTheTrack) {
    // 1.2 m of straight track at 1:1 on Letter landscape: tiles of 254 × 196 mm inside 4 %
    // margins, so five columns and one row.
    for (int i = 0; i < 6; ++i) Straight(i * 188.3, 0);
    answerPath = folder.File("plan.pdf");
    auto answer = Answer(1, [](PrintOptionsDialog* d) {
        d->Scaling()->SetSelection(1);
        d->Denominator()->SetValue(1);
    });
    Command(kCmdExportPdf);
    EXPECT_EQ(frame->GetPrintOptions().scaling, 1);
    if (const char* keep = std::getenv("QUILLMORE_EXPORT_KEEP"))
        std::filesystem::copy_file(answerPath.utf8_string(), std::string(keep) + "/plan.pdf",
                                   std::filesystem::copy_options::overwrite_existing);
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
        int ink = 0;
        for (int x = 40; x < 750; x += 5) ink += At(image, x, trackY) != kWhite;
        EXPECT_GT(ink, page < 5 ? 100 : 10) << page;
        // The page's place in the top margin.
        int text = 0;
        for (int y = 2; y < marginY - 2; ++y)
            for (int x = 300; x < 500; ++x) text += At(image, x, y) != kWhite;
        EXPECT_GT(text, 30) << page;
        // Below the track the pages stay white.
        EXPECT_EQ(At(image, 396, 400), kWhite) << page;
    }
}

TEST_F(ExportTest, PartsListWritesTheTallyAsCsv) {
    Straight(0, 0);
    Straight(500, 0);
    answerPath = folder.File("parts.csv");
    auto answer = Answer();
    Command(kCmdExportParts);
    EXPECT_EQ(offered, "My Layout.csv");
    EXPECT_EQ(ReadFileBytes(answerPath.utf8_string()),
              "Article,Name,System,Count\r\n24188,24188 - 188.3mm,Marklin C-Track,2\r\n");
    EXPECT_EQ(answer->Count(), 0);
}

TEST_F(ExportTest, FailuresAreReportedAndLeaveEarlierFilesIntact) {
    Straight(0, 0);
    const std::string earlier = folder.File("parts.csv");
    std::ofstream(earlier) << "earlier";
    auto answer = Answer();
    answerPath = folder.File("parts");  // no extension
    Command(kCmdExportParts);
    answerPath = folder.File("missing/parts.csv");  // no such folder
    Command(kCmdExportParts);
    std::filesystem::permissions(
        folder.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    answerPath = earlier;  // read-only folder
    Command(kCmdExportPdf);
    answerPath = folder.File("plan.png");
    Command(kCmdExportPicture);
    std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_all);
    std::vector<wxString> messages;
    for (const auto& seen : answer->Dialogs())
        if (seen.title == "Export Failed") messages.push_back(seen.message);
    const bool root = geteuid() == 0;  // root writes into read-only folders
    ASSERT_EQ(messages.size(), root ? 3u : 4u);
    EXPECT_EQ(messages[0], "The file name needs the extension .csv.");
    EXPECT_TRUE(messages[1].StartsWith("Cannot open file: ")) << messages[1];
    EXPECT_EQ(messages[2], "The file name needs the extension .pdf.");
    if (!root) {
        EXPECT_TRUE(messages[3].StartsWith("Cannot open file: ")) << messages[3];
    }
    EXPECT_EQ(ReadFileBytes(earlier), "earlier");
}

TEST_F(ExportTest, EmptyLayoutGivesOneEmptyPageAndPicture) {
    auto answer = Answer(0.5);
    answerPath = folder.File("empty.pdf");
    Command(kCmdExportPdf);
    EXPECT_NE(RunCommand("pdfinfo '" + answerPath.utf8_string() + "'").find("Pages:           1"),
              std::string::npos);
    answerPath = folder.File("empty.png");
    Command(kCmdExportPicture);
    wxImage image;
    ASSERT_TRUE(image.LoadFile(answerPath, wxBITMAP_TYPE_PNG));
    EXPECT_EQ(image.GetWidth(), 500 + 2 * 45);
    int ink = 0;
    for (int y = 0; y < image.GetHeight(); y += 3)
        for (int x = 0; x < image.GetWidth(); x += 3) ink += At(image, x, y) != kWhite;
    EXPECT_EQ(ink, 0);
}

}  // namespace
