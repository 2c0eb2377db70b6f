// Printing to scale without a printer: the drawing bounds, the pages a print needs, where each
// page's tile lands, the page marks of multi-page prints and the document flags a page is drawn
// with.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dialogs/PrintOptions.h"
#include "model/BackgroundPicture.h"
#include "model/LayoutDocument.h"

// Share of the page kept free on each side.
inline constexpr double kPrintMargin = 0.04;
// Share of the page the scale is computed for.
inline constexpr double kPrintUsable = 0.92;
// Printer resolution assumed when the printer does not tell.
inline constexpr int kDefaultPrinterDpi = 300;

struct PrintBounds {
    double minX = 0, minY = 0, maxX = 1000, maxY = 1000;
};
// What a print shows, in millimetres: the drawing's extent (DrawingExtent) with only the active
// level's pieces, scenery and deck with "Active level only", and the baseboard with its
// dimension labels when the option asks for it and the canvas shows it, and the background
// pictures printed with them, at the sizes `pictureSizes` gives; 0..1000 when empty.
PrintBounds ComputePrintBounds(const LayoutDocument& doc, const PrintOptions& options,
                               uint32_t activeLevel, const PictureImageSize& pictureSizes = {});

// The page grid and scale for a page of width × height pixels.
struct PrintPages {
    PrintBounds bounds;
    double scale = 1;  // page pixels per millimetre
    int columns = 1;
    int rows = 1;
    int width = 0;  // the page size the grid was computed for
    int height = 0;
    int dpi = kDefaultPrinterDpi;  // page pixels per inch
    // Page pixels per screen pixel: what text and pens sized in pixels are multiplied by.
    double PixelScale() const;
    int Count() const { return columns * rows; }
    bool HasPage(int page) const { return page >= 1 && page <= Count(); }
};
// dpi is the printer's horizontal resolution (0 or less when unknown: 300 is assumed).
PrintPages Paginate(const PrintBounds& bounds, const PrintOptions& options, int width, int height,
                    int dpi);

// Where page `page` (1-based, row by row) draws: layout point (x, y) lands on page pixel
// (x · scale + offsetX, y · scale + offsetY). One page is centred inside the margins; several
// pages each show their tile of the area inside the margins.
struct PageTransform {
    double scale = 1;
    double offsetX = 0;
    double offsetY = 0;
    int marginX = 0;  // the area inside the margins, in page pixels
    int marginY = 0;
    int areaW = 0;
    int areaH = 0;
    // The margins where the next tile of a multi-page print continues the drawing: it must not
    // show there (it would cover the margin and its page mark). The outer margins of the whole
    // print, like those of a single page, keep what reaches beyond the layout's edge (the
    // board's dimension labels).
    bool coverLeft = false, coverTop = false, coverRight = false, coverBottom = false;
};
PageTransform PageTransformFor(const PrintPages& pages, int page);

// A grey page is drawn in colour into a picture first and then turned grey. The picture needs no
// more pixels than the page takes on its device (a print preview shows the page far smaller than
// the printer's dots) and at most kMaxGreyPagePixels: the factor from page pixels to the picture's.
inline constexpr double kMaxGreyPagePixels = 16e6;
double GreyPageScale(int pageWidth, int pageHeight, double devicePixelsPerPagePixel);

// "Row 2, Column 3 of 3 × 4" (rows × columns) on the pages of a multi-page print; empty on a
// single page.
std::string PageMarkText(const PrintPages& pages, int page);
// Alignment marks in the margin at the four tile corners: short lines (page pixels) pointing
// away from the tile along its edges, so that neighbouring pages can be lined up; none on a
// single page.
// Height in page pixels of the page mark's text: 10 points at the page's pixelScale, within the
// margin.
int PageMarkTextPx(const PageTransform& page, double pixelScale);
struct MarkLine {
    int x1, y1, x2, y2;
};
std::vector<MarkLine> PageCornerMarks(const PageTransform& page);

// The selection belongs to the screen: while the object lives nothing is selected (pieces,
// scenery, labels, measurements); the selection comes back when it goes.
class SelectionHidden {
public:
    explicit SelectionHidden(LayoutDocument& doc);
    ~SelectionHidden();
    SelectionHidden(const SelectionHidden&) = delete;
    SelectionHidden& operator=(const SelectionHidden&) = delete;

private:
    LayoutDocument& doc;
    std::vector<bool> saved;
};

// The level visibility, grid, baseboard and selection flags a page is drawn with, set for one
// page and restored when the object goes, however the drawing ends. With "Active level only"
// exactly the active level is shown, with "All levels" every level; nothing is selected.
class PrintDrawFlags {
public:
    PrintDrawFlags(LayoutDocument& doc, const PrintOptions& options, uint32_t activeLevel);
    ~PrintDrawFlags();
    PrintDrawFlags(const PrintDrawFlags&) = delete;
    PrintDrawFlags& operator=(const PrintDrawFlags&) = delete;

private:
    LayoutDocument& doc;
    SelectionHidden selection;
    std::vector<std::pair<uint32_t, bool>> savedVisible;
    bool savedGrid;
    bool savedBaseboard;
};
