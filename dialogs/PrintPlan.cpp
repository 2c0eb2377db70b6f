// Printing to scale: bounds, pagination, tiles, page marks and the flags a page is drawn with.
#include "dialogs/PrintPlan.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/Format.h"
#include "base/Geometry.h"
#include "base/Translate.h"
#include "canvas/LayoutGeometry.h"
#include "canvas/ViewTransform.h"
#include "catalog/TrackCatalog.h"
#include "model/LayoutExtent.h"

PrintBounds ComputePrintBounds(const LayoutDocument& doc, const PrintOptions& options,
                               uint32_t activeLevel, const PictureImageSize& pictureSizes) {
    DrawingExtentOptions extent;
    if (options.pictures) extent.pictureSizes = pictureSizes;
    if (options.levels == 0) extent.level = activeLevel;
    extent.baseboard = options.baseboard && doc.baseboardShown;
    const LayoutBounds b = DrawingExtent(doc, extent);
    if (!b.any) return PrintBounds{};
    return PrintBounds{b.minX, b.minY, b.maxX, b.maxY};
}

PrintPages Paginate(const PrintBounds& bounds, const PrintOptions& options, int width, int height,
                    int dpi) {
    PrintPages pages;
    pages.bounds = bounds;
    pages.width = width;
    pages.height = height;
    pages.dpi = dpi > 0 ? dpi : kDefaultPrinterDpi;
    const double extentX = std::max(bounds.maxX - bounds.minX, 1.0);
    const double extentY = std::max(bounds.maxY - bounds.minY, 1.0);
    const double usableW = std::max(static_cast<int>(width * kPrintUsable), 1);
    const double usableH = std::max(static_cast<int>(height * kPrintUsable), 1);
    const double fitted = std::min(usableH / extentY, usableW / extentX);
    if (options.scaling == 1) {
        const double ppi = dpi > 0 ? dpi : kDefaultPrinterDpi;
        pages.scale = ppi / 25.4 / std::max(options.scaleDenominator, 1);
    } else if (options.scaling == 2) {
        pages.scale = fitted * options.percent / 100.0;
    } else {
        pages.scale = fitted;
        return pages;
    }
    // A grid beyond a million pages is no print anyone wants: the count is capped so that a
    // scale of 1 : 1 on a huge layout cannot overflow the page numbers.
    constexpr double kMaxSide = 1000;
    pages.columns =
        static_cast<int>(std::clamp(std::ceil(pages.scale * extentX / usableW), 1.0, kMaxSide));
    pages.rows =
        static_cast<int>(std::clamp(std::ceil(pages.scale * extentY / usableH), 1.0, kMaxSide));
    return pages;
}

double PrintPages::PixelScale() const { return PaperPixelScale(dpi); }

PageTransform PageTransformFor(const PrintPages& pages, int page) {
    PageTransform t;
    t.scale = pages.scale;
    t.marginX = static_cast<int>(pages.width * kPrintMargin);
    t.marginY = static_cast<int>(pages.height * kPrintMargin);
    t.areaW = pages.width - 2 * t.marginX;
    t.areaH = pages.height - 2 * t.marginY;
    const PrintBounds& b = pages.bounds;
    const double s = pages.scale;
    if (pages.Count() == 1) {
        const double extentX = std::max(b.maxX - b.minX, 1.0);
        const double extentY = std::max(b.maxY - b.minY, 1.0);
        t.offsetX = (t.areaW - extentX * s) / 2 + t.marginX - s * b.minX;
        t.offsetY = (t.areaH - extentY * s) / 2 + t.marginY - s * b.minY;
        return t;
    }
    const int col = (page - 1) % pages.columns;
    const int row = (page - 1) / pages.columns;
    t.coverLeft = col > 0;
    t.coverTop = row > 0;
    t.coverRight = col + 1 < pages.columns;
    t.coverBottom = row + 1 < pages.rows;
    t.offsetX = t.marginX - (t.areaW / s * col + b.minX) * s;
    t.offsetY = t.marginY - (t.areaH / s * row + b.minY) * s;
    return t;
}

std::string PageMarkText(const PrintPages& pages, int page) {
    if (pages.Count() <= 1 || !pages.HasPage(page)) return {};
    const int col = (page - 1) % pages.columns;
    const int row = (page - 1) / pages.columns;
    return Format(Tr("Row %d, Column %d of %d \u00d7 %d").c_str(), row + 1, col + 1, pages.rows,
                  pages.columns);
}

int PageMarkTextPx(const PageTransform& t, double pixelScale) {
    // 10 points as a screen shows them, but never taller than most of the margin.
    return std::max(1, std::min(FontPixelHeight(10, pixelScale), t.marginY * 7 / 10));
}

std::vector<MarkLine> PageCornerMarks(const PageTransform& t) {
    // Half the margin long, starting a little off the tile so the tile itself stays clean.
    const int gapX = std::max(t.marginX / 8, 1), gapY = std::max(t.marginY / 8, 1);
    const int lenX = std::max(t.marginX / 2, 2), lenY = std::max(t.marginY / 2, 2);
    const int left = t.marginX, top = t.marginY;
    const int right = t.marginX + t.areaW, bottom = t.marginY + t.areaH;
    std::vector<MarkLine> lines;
    for (int cx : {left, right}) {
        const int out = cx == left ? -1 : 1;
        for (int cy : {top, bottom}) {
            const int up = cy == top ? -1 : 1;
            // Along the horizontal edge, outwards beyond the corner.
            lines.push_back({cx + out * gapX, cy, cx + out * (gapX + lenX), cy});
            // Along the vertical edge.
            lines.push_back({cx, cy + up * gapY, cx, cy + up * (gapY + lenY)});
        }
    }
    return lines;
}

SelectionHidden::SelectionHidden(LayoutDocument& d) : doc(d) {
    auto take = [this](auto& objects) {
        for (auto& o : objects) {
            saved.push_back(o.selected);
            o.selected = false;
        }
    };
    take(doc.pieces);
    take(doc.scenery);
    take(doc.labels);
    take(doc.measurements);
}

SelectionHidden::~SelectionHidden() {
    size_t i = 0;
    auto give = [this, &i](auto& objects) {
        for (auto& o : objects)
            if (i < saved.size()) o.selected = saved[i++];
    };
    give(doc.pieces);
    give(doc.scenery);
    give(doc.labels);
    give(doc.measurements);
}

PrintDrawFlags::PrintDrawFlags(LayoutDocument& d, const PrintOptions& options, uint32_t activeLevel)
    : doc(d), selection(d), savedGrid(d.gridShown), savedBaseboard(d.baseboardShown) {
    for (Level& level : doc.levels) {
        savedVisible.emplace_back(level.id, level.visible);
        level.visible = options.levels == 1 || level.id == activeLevel;
    }
    if (!options.grid) doc.gridShown = false;
    if (!options.baseboard) doc.baseboardShown = false;
}

PrintDrawFlags::~PrintDrawFlags() {
    for (const auto& [id, visible] : savedVisible) {
        if (Level* level = doc.FindLevel(id)) level->visible = visible;
    }
    doc.gridShown = savedGrid;
    doc.baseboardShown = savedBaseboard;
}

double GreyPageScale(int pageWidth, int pageHeight, double devicePixelsPerPagePixel) {
    const double pixels = std::max(1.0, double(pageWidth) * double(pageHeight));
    double scale = std::min(1.0, std::sqrt(kMaxGreyPagePixels / pixels));
    if (devicePixelsPerPagePixel > 0) scale = std::min(scale, devicePixelsPerPagePixel);
    return std::max(scale, 1.0 / std::max(1.0, double(std::max(pageWidth, pageHeight))));
}
