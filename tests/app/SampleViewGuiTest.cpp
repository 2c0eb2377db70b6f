// The sample layouts in the real main window: after File > Open and after Zoom to Fit the whole
// baseboard with its dimension labels is in sight.
#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>

#include <filesystem>

#include "app/CommandIds.h"
#include "app/gui/OpenLayoutDialog.h"
#include "canvas/LayoutGeometry.h"
#include "support/FrameFixture.h"

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

    // Every baseboard corner, and every dimension label's box as the canvas draws it (how it
    // draws them is the renderer's own), lies inside the canvas and clear of its rulers.
    void ExpectBoardInSight(const char* when) {
        const LayoutDocument& doc = frame->Document();
        ASSERT_GE(doc.baseboard.size(), 3u);
        const wxSize client = canvas->GetClientSize();
        const wxRect inside(kRulerPx, kRulerPx, client.x - kRulerPx, client.y - kRulerPx);
        for (const PointMm& v : doc.baseboard)
            EXPECT_TRUE(inside.Contains(canvas->LayoutToScreen(v.x, v.y)))
                << when << ": corner " << v.x << ", " << v.y;
        wxBitmap bitmap(10, 10, 24);
        wxMemoryDC dc(bitmap);
        dc.SetFont(wxFont(11, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD));
        const std::vector<EdgeLabel> labels = BaseboardEdgeLabels(doc.baseboard, doc.units);
        ASSERT_EQ(labels.size(), doc.baseboard.size());
        for (const EdgeLabel& label : labels) {
            const wxSize text = dc.GetTextExtent(wxString::FromUTF8(label.text));
            const wxPoint at = canvas->LayoutToScreen(label.at.x, label.at.y);
            const wxRect box(at.x - text.x / 2 - 4, at.y - text.y / 2 - 2, text.x + 8, text.y + 4);
            EXPECT_TRUE(inside.Contains(box))
                << when << ": label " << label.text << " at " << box.x << ", " << box.y;
        }
    }

    TempDir folder;
};

TEST_P(SampleView, WholeBoardWithItsLabelsAfterOpenAndAfterFit) {
    Open();
    ExpectBoardInSight("after Open");
    // Zoomed in and panned away, Fit brings it all back.
    canvas->ZoomAt(3, 0, 0);
    Command(kCmdZoomFit);
    ExpectBoardInSight("after Fit");
}

std::string SampleName(const testing::TestParamInfo<const char*>& info) {
    std::string name = info.param;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}
INSTANTIATE_TEST_SUITE_P(Samples, SampleView,
                         testing::Values("C-Track Oval Station", "K-Track Two Decks",
                                         "Z-Track Shelf"),
                         SampleName);

}  // namespace
