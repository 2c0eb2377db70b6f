// Draws the three pictures built into the program from the sample layouts, with the program's
// own layout drawing and the title lettering: make_pictures <folder> writes picture-101.jpg
// (1536 x 1024, splash background), picture-102.jpg (641 x 798, portrait for the splash corner
// and the Buy Track help) and picture-103.jpg (653 x 811, the help window's column). Needs a
// display (Xvfb will do); the pictures are kept in the source tree.
#include <wx/dcgraph.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/wx.h>

#include <string>

#include "canvas/ViewTransform.h"
#include "canvas/gui/LayoutRenderer.h"
#include "resources/samples/SampleLayoutBuilder.h"

namespace {

const wxColour kNight(30, 40, 60);
const wxColour kCream(250, 244, 228);

LayoutBounds BoundsOf(const LayoutDocument& doc) {
    LayoutBounds b;
    for (const PointMm& p : doc.baseboard) b.Add(p.x, p.y);
    for (const PlacedPiece& p : doc.pieces) b.Add(p.x, p.y);
    return b;
}

// The layout (or only the region `crop` of it) fitted into the rectangle `area` of the picture.
void DrawLayoutInto(wxDC& dc, LayoutDocument doc, const wxRect& area,
                    const LayoutBounds* crop = nullptr) {
    doc.gridShown = false;
    doc.labelsShown = false;
    ViewTransform view = FitTransform(crop ? *crop : BoundsOf(doc), area.width, area.height);
    view.offsetX += area.x;
    view.offsetY += area.y;
    dc.SetClippingRegion(area);
    DrawLayout(dc, doc, view, wxSize(area.GetRight() + 1, area.GetBottom() + 1));
    dc.DestroyClippingRegion();
}

void Lettering(wxDC& dc, const wxString& text, int x, int y, int points, const wxColour& colour,
               bool bold = true) {
    dc.SetFont(wxFont(wxFontInfo(points).Family(wxFONTFAMILY_SWISS).Bold(bold)));
    dc.SetTextForeground(colour);
    dc.DrawText(text, x, y);
}

// A dark band with the program's name.
void TitleBand(wxDC& dc, const wxRect& band, int points) {
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(kNight));
    dc.DrawRectangle(band);
    Lettering(dc, "Quillmore", band.x + points / 2, band.y + points / 3, points, kCream);
    Lettering(dc, "model railway layout planner", band.x + points / 2 + 4,
              band.y + points * 2 - points / 6, points * 2 / 5, wxColour(200, 210, 230), false);
}

bool Save(const wxBitmap& bitmap, const std::string& path) {
    wxImage image = bitmap.ConvertToImage();
    image.SetOption(wxIMAGE_OPTION_QUALITY, 88);
    return image.SaveFile(path, wxBITMAP_TYPE_JPEG);
}

bool Picture101(const std::vector<SampleLayout>& layouts, const std::string& path) {
    wxBitmap bitmap(1536, 1024, 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(kCream));
    dc.Clear();
    DrawLayoutInto(dc, layouts[0].doc, wxRect(0, 180, 1536, 844));
    TitleBand(dc, wxRect(0, 0, 1536, 180), 64);
    dc.SelectObject(wxNullBitmap);
    return Save(bitmap, path);
}

bool Picture102(const std::vector<SampleLayout>& layouts, const std::string& path) {
    wxBitmap bitmap(641, 798, 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(kCream));
    dc.Clear();
    // The whole of the two decks, in an area of the board's own proportions (with the fit's
    // margins), and the title band taking the rest: nothing is cut off and no band stays empty.
    const LayoutDocument& decks = layouts[1].doc;
    const LayoutBounds board = BoundsOf(decks);
    const double scale = (641.0 - 160.0) / (board.maxX - board.minX);
    const int height = static_cast<int>((board.maxY - board.minY) * scale) + 160;
    DrawLayoutInto(dc, decks, wxRect(0, 0, 641, height));
    // The lettering sits in the middle of the band.
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(kNight));
    dc.DrawRectangle(0, height, 641, 798 - height);
    const int lettering = 72 * 2 + 24;
    TitleBand(dc, wxRect(0, height + (798 - height - lettering) / 2, 641, lettering), 72);
    dc.SelectObject(wxNullBitmap);
    return Save(bitmap, path);
}

bool Picture103(const std::vector<SampleLayout>& layouts, const std::string& path) {
    wxBitmap bitmap(653, 811, 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(kCream));
    dc.Clear();
    TitleBand(dc, wxRect(0, 0, 653, 150), 52);
    DrawLayoutInto(dc, layouts[0].doc, wxRect(0, 150, 653, 380));
    DrawLayoutInto(dc, layouts[2].doc, wxRect(0, 530, 653, 281));
    dc.SelectObject(wxNullBitmap);
    return Save(bitmap, path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) return 3;  // no display
    wxInitAllImageHandlers();
    const std::vector<SampleLayout> layouts = BuildSampleLayouts();
    const std::string folder = argv[1];
    const bool ok = Picture101(layouts, folder + "/picture-101.jpg") &&
                    Picture102(layouts, folder + "/picture-102.jpg") &&
                    Picture103(layouts, folder + "/picture-103.jpg");
    wxEntryCleanup();
    return ok ? 0 : 1;
}
