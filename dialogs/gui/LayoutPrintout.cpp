// The printout of the layout.
#include "dialogs/gui/LayoutPrintout.h"

#include <wx/bitmap.h>
#include <wx/dcgraph.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include <cmath>

#include "canvas/gui/LayoutRenderer.h"
#include "canvas/gui/PictureLayer.h"

namespace {

// The page's place and the alignment marks, in the margin of a multi-page print.
void DrawPageMarks(wxDC& dc, const PrintPages& pages, const PageTransform& t, int page) {
    const std::string text = PageMarkText(pages, page);
    if (text.empty()) return;
    const int penWidth = std::max(1, static_cast<int>(std::lround(pages.PixelScale())));
    dc.SetPen(wxPen(wxColour(0, 0, 0), penWidth));
    for (const MarkLine& m : PageCornerMarks(t)) dc.DrawLine(m.x1, m.y1, m.x2, m.y2);
    const int textHeight = PageMarkTextPx(t, pages.PixelScale());
    dc.SetFont(wxFont(wxFontInfo(wxSize(0, textHeight)).Family(wxFONTFAMILY_SWISS)));
    dc.SetTextForeground(wxColour(0, 0, 0));
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const wxString label = wxString::FromUTF8(text);
    const wxSize extent = dc.GetTextExtent(label);
    // Centred in the top margin, clear of the corner marks, on white: the neighbouring tile's
    // drawing may reach into the margin.
    const wxPoint at(t.marginX + (t.areaW - extent.x) / 2, (t.marginY - extent.y) / 2);
    dc.SetBrush(*wxWHITE_BRUSH);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRectangle(at.x - 2, at.y, extent.x + 4, extent.y);
    dc.DrawText(label, at);
}

}  // namespace

void DrawPrintPage(wxDC& dc, LayoutDocument& doc, const PrintOptions& options, uint32_t activeLevel,
                   const PrintPages& pages, int page) {
    const PageTransform t = PageTransformFor(pages, page);
    const ViewTransform view{t.scale, t.offsetX, t.offsetY, pages.PixelScale()};
    const wxSize size(pages.width, pages.height);
    PictureLayer pictureLayer(0);
    PictureLayer* pictures = options.pictures ? &pictureLayer : nullptr;
    {
        PrintDrawFlags flags(doc, options, activeLevel);
        // The whole page is white, the margins too: the drawing clears only its tile.
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        if (options.colourMode == 1) {
            // At the device's resolution at most: a preview at the printer's dots made a picture
            // of hundreds of megabytes on every page it showed.
            const double device = std::abs(dc.LogicalToDeviceXRel(1 << 16)) / double(1 << 16);
            const double f = GreyPageScale(size.x, size.y, device);
            const wxSize small(std::max(1, int(std::ceil(size.x * f))),
                               std::max(1, int(std::ceil(size.y * f))));
            const ViewTransform smallView{view.zoom * f, view.offsetX * f, view.offsetY * f,
                                          view.pixelScale * f};
            wxBitmap bitmap(small.x, small.y, 24);
            {
                wxMemoryDC memory(bitmap);
                memory.SetBackground(*wxWHITE_BRUSH);
                memory.Clear();
                DrawLayoutOnPaper(memory, doc, smallView, small, pictures);
            }
            const wxBitmap grey(bitmap.ConvertToImage().ConvertToGreyscale());
            if (small == size) {
                dc.DrawBitmap(grey, 0, 0);
            } else {
                wxMemoryDC source(const_cast<wxBitmap&>(grey));
                dc.StretchBlit(0, 0, size.x, size.y, &source, 0, 0, small.x, small.y);
            }
        } else {
            DrawLayoutOnPaper(dc, doc, view, size, pictures);
        }
    }
    // The tile ends where the next one goes on: what the drawing put into those margins is
    // covered again. (Clipping would do the same, but a device context made on a PDF surface has
    // no size and cannot undo its clip.)
    dc.SetBrush(*wxWHITE_BRUSH);
    dc.SetPen(*wxTRANSPARENT_PEN);
    const int right = t.marginX + t.areaW, bottom = t.marginY + t.areaH;
    if (t.coverTop) dc.DrawRectangle(0, 0, size.x, t.marginY);
    if (t.coverBottom) dc.DrawRectangle(0, bottom, size.x, size.y - bottom);
    if (t.coverLeft) dc.DrawRectangle(0, 0, t.marginX, size.y);
    if (t.coverRight) dc.DrawRectangle(right, 0, size.x - right, size.y);
    DrawPageMarks(dc, pages, t, page);
}

LayoutPrintout::LayoutPrintout(LayoutDocument& document, const PrintOptions& o,
                               const wxString& title)
    : wxPrintout(title), doc(document), options(o), activeLevel(document.activeLevel) {}

void LayoutPrintout::OnPreparePrinting() {
    activeLevel = doc.activeLevel;
    bounds = ComputePrintBounds(doc, options, activeLevel, SharedPictureSizes());
    PaginateForPage();
}

void LayoutPrintout::PaginateForPage() {
    int width = 0, height = 0, dpiX = 0, dpiY = 0;
    GetPageSizePixels(&width, &height);
    GetPPIPrinter(&dpiX, &dpiY);
    pages = Paginate(bounds, options, width, height, dpiX);
}

bool LayoutPrintout::HasPage(int page) { return pages.HasPage(page); }

void LayoutPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
    *minPage = *pageFrom = 1;
    *maxPage = *pageTo = std::max(1, pages.Count());
}

bool LayoutPrintout::OnPrintPage(int page) {
    wxDC* dc = GetDC();
    if (!dc) return false;
    int width = 0, height = 0;
    GetPageSizePixels(&width, &height);
    if (width != pages.width || height != pages.height) PaginateForPage();
    FitThisSizeToPage(wxSize(pages.width, pages.height));
    DrawPrintPage(*dc, doc, options, activeLevel, pages, page);
    return true;
}
