// The sample layouts in the real main window: after File > Open and after Zoom to Fit the whole
// baseboard with its dimension labels is in sight.
#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/print.h>
#include <wx/radiobox.h>
#include <wx/spinctrl.h>

#include <filesystem>

#include "app/CommandIds.h"
#include "app/gui/MainFrameDialogs.h"
#include "app/gui/OpenLayoutDialog.h"
#include "canvas/LayoutGeometry.h"
#include "catalog/TrackCatalog.h"
#include "dialogs/gui/PrintOptionsDialog.h"
#include "support/FrameFixture.h"
#include "support/Screenshot.h"
#include "trackgeometry/PieceGeometry.h"

namespace {

constexpr int kRulerPx = 20;

class SampleView : public testing::TestWithParam<const char*>, public FrameFixture {
protected:
    void SetUp() override {
        const std::string name = std::string(GetParam()) + ".xml";
        std::filesystem::copy_file(std::string(QUILLMORE_SOURCE_DIR) + "/resources/layouts/" + name,
                                   folder.File(name));
        OpenFrame(wxSize(1200, 800));
        frame->SetProgramFolder(folder.Path());
    }
    void TearDown() override { CloseFrame(); }
    void Open() {
        const wxString wanted = GetParam();
        ModalAnswerer answer([&wanted](wxDialog* d) {
            auto* open = dynamic_cast<OpenLayoutDialog*>(d);
            return open && open->SelectName(wanted) ? wxID_OK : wxID_CANCEL;
        });
        Command(wxID_OPEN);
        ASSERT_EQ(frame->LayoutName(), wanted);
    }

    // Every baseboard corner, and every dimension label's box as the canvas draws it, lies inside
    // the canvas and clear of its rulers; the labels are really drawn there.
    void ExpectBoardInSight(const char* when) {
        const LayoutDocument& doc = frame->Document();
        ASSERT_GE(doc.baseboard.size(), 3u);
        const wxSize client = canvas->GetClientSize();
        const wxRect inside(kRulerPx, kRulerPx, client.x - kRulerPx, client.y - kRulerPx);
        for (const PointMm& v : doc.baseboard)
            EXPECT_TRUE(inside.Contains(canvas->LayoutToScreen(v.x, v.y)))
                << when << ": corner " << v.x << ", " << v.y << " at "
                << canvas->LayoutToScreen(v.x, v.y).x << ", " << canvas->LayoutToScreen(v.x, v.y).y;

        wxBitmap bitmap(client.x, client.y, 24);
        wxMemoryDC dc(bitmap);
        canvas->PaintTo(dc, client.x, client.y);
        dc.SetFont(wxFont(11, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD));
        std::vector<EdgeLabel> labels = BaseboardEdgeLabels(doc.baseboard, doc.units);
        ASSERT_EQ(labels.size(), doc.baseboard.size());
        std::vector<wxRect> boxes;
        for (const EdgeLabel& label : labels) {
            const wxSize text = dc.GetTextExtent(wxString::FromUTF8(label.text));
            const wxPoint at = canvas->LayoutToScreen(label.at.x, label.at.y);
            boxes.emplace_back(at.x - text.x / 2 - 4, at.y - text.y / 2 - 2, text.x + 8,
                               text.y + 4);
        }
        dc.SelectObject(wxNullBitmap);
        const wxImage image = bitmap.ConvertToImage();
        for (size_t i = 0; i < boxes.size(); ++i) {
            const wxRect& box = boxes[i];
            EXPECT_TRUE(inside.Contains(box))
                << when << ": label " << labels[i].text << " at " << box.x << ", " << box.y
                << " size " << box.width << " × " << box.height;
            int fill = 0;
            const wxRect seen = box.Intersect(wxRect(wxPoint(0, 0), client));
            for (int y = seen.y; y < seen.GetBottom(); ++y)
                for (int x = seen.x; x < seen.GetRight(); ++x)
                    fill += image.GetRed(x, y) == 255 && image.GetGreen(x, y) == 248 &&
                            image.GetBlue(x, y) == 220;
            EXPECT_GT(fill, box.width * box.height / 4) << when << ": label " << labels[i].text;
        }
    }

    // Pictures for a reader, not checks: the fitted canvas, the print preview's first page at
    // 1 : 5 and the first page of the PDF export at 1 : 5.
    void TakeShots(const std::string& dir) {
        const std::string name = wxString(GetParam()).BeforeFirst(' ').utf8_string();
        SaveShot(canvas, "fitted-" + name + ".png");
        ModalAnswerer answer([](wxDialog* d) {
            if (auto* print = dynamic_cast<PrintOptionsDialog*>(d)) {
                print->Scaling()->SetSelection(1);
                print->Denominator()->SetValue(5);
            }
            return int(wxID_OK);
        });
        Command(wxID_PREVIEW);
        for (wxWindow* w : wxTopLevelWindows)
            if (auto* preview = dynamic_cast<wxPreviewFrame*>(w)) {
                SaveShot(preview, "preview-1to5-" + name + ".png");
                preview->Close(true);
            }
        PumpEvents(200);
        SetExportPathAsker([&](wxWindow*, const ExportQuestion&) {
            return ExportAnswer{folder.File("shot.pdf"), 0};
        });
        Command(kCmdExportPdf);
        SetExportPathAsker(nullptr);
        const std::string command = "pdftoppm -r 60 -png -f 1 -l 1 '" + folder.File("shot.pdf") +
                                    "' '" + dir + "/pdf-1to5-" + name + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    TempDir folder;
};

TEST_P(SampleView, WholeBoardWithItsLabelsAfterOpenAndAfterFit) {
    Open();
    ExpectBoardInSight("after Open");
    if (const char* dir = std::getenv("QUILLMORE_SHOTS")) TakeShots(dir);
    // Zoomed in and panned away, Fit brings it all back.
    canvas->ZoomAt(3, 0, 0);
    Command(kCmdZoomFit);
    ExpectBoardInSight("after Fit");
}

// On the figure eight "Over the crossing" lay over the crossing's article labels: at the fitted
// zoom and closer, no label of a sample covers an article drawn on its track.
using SampleLabels = SampleView;
TEST_P(SampleLabels, LabelsLeaveTheArticlesInSight) {
    Open();
    const LayoutDocument& doc = frame->Document();
    const double fitted = canvas->Transform().zoom;
    for (double zoom : {fitted, 0.25, 0.35, 0.5, 0.75, 1.0, 1.5, 2.0}) {
        ViewTransform view = canvas->Transform();
        view.zoom = zoom;
        wxBitmap bitmap(10, 10, 24);
        wxMemoryDC dc(bitmap);
        std::vector<wxRect> articles;
        dc.SetFont(wxFont(ArticlePointSize(zoom), wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL,
                          wxFONTWEIGHT_BOLD));
        const int r = std::max(3, static_cast<int>(2.5 * zoom));
        for (const PlacedPiece& p : doc.pieces) {
            const PieceDef* def = TrackCatalog::Instance().Find(p.article);
            const wxSize text = dc.GetTextExtent(wxString::FromUTF8(p.article));
            if (!def || zoom < 0.2 || !LabelFitsPiece(*def, text.x, r, zoom)) continue;
            const PointMm at = ArticleLabelPoint(p, *def);
            articles.emplace_back(int(at.x * zoom) - text.x / 2, int(at.y * zoom) - text.y / 2,
                                  text.x, text.y);
        }
        dc.SetFont(wxFont(LabelPointSize(zoom), wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL,
                          wxFONTWEIGHT_BOLD));
        for (const Label& label : doc.labels) {
            const wxSize text = dc.GetMultiLineTextExtent(wxString::FromUTF8(label.text));
            const wxRect box(int(label.x * zoom), int(label.y * zoom), text.x, text.y);
            for (const wxRect& article : articles)
                EXPECT_FALSE(box.Intersects(article))
                    << GetParam() << " at zoom " << zoom << ": \"" << label.text << "\" at "
                    << label.x << ", " << label.y << " covers an article at " << article.x / zoom
                    << ", " << article.y / zoom;
        }
    }
}

std::string SampleName(const testing::TestParamInfo<const char*>& info) {
    std::string name = info.param;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}
INSTANTIATE_TEST_SUITE_P(Samples, SampleLabels,
                         testing::Values("C-Track Oval Station", "K-Track Two Decks",
                                         "Z-Track Shelf", "C-Track Figure Eight"),
                         SampleName);
INSTANTIATE_TEST_SUITE_P(Samples, SampleView,
                         testing::Values("C-Track Oval Station", "K-Track Two Decks",
                                         "Z-Track Shelf"),
                         SampleName);

}  // namespace
