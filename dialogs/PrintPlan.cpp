// Printing to scale: bounds, pagination, tiles, page marks and the flags a page is drawn with.
#include "dialogs/PrintPlan.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "catalog/TrackCatalog.h"
#include "model/LayoutExtent.h"

PrintBounds ComputePrintBounds(const LayoutDocument& doc, const PrintOptions& options,
                               uint32_t activeLevel) {
    ExtentOptions extent;
    if (options.levels == 0) extent.pieceLevel = static_cast<int32_t>(activeLevel);
    extent.outlines = false;
    extent.baseboard = options.baseboard;
    extent.finiteOnly = true;
    const LayoutBounds b = LayoutExtent(doc, extent);
    if (!b.any) return PrintBounds{};
    return PrintBounds{b.minX, b.minY, b.maxX, b.maxY};
}

PrintPages Paginate(const PrintBounds& bounds, const PrintOptions& options, int width, int height,
                    int dpi) {
    PrintPages pages;
    pages.bounds = bounds;
    pages.width = width;
    pages.height = height;
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
    t.offsetX = t.marginX - (t.areaW / s * col + b.minX) * s;
    t.offsetY = t.marginY - (t.areaH / s * row + b.minY) * s;
    return t;
}

std::string PageMarkText(const PrintPages& pages, int page) {
    if (pages.Count() <= 1 || !pages.HasPage(page)) return {};
    const int col = (page - 1) % pages.columns;
    const int row = (page - 1) / pages.columns;
    return "Row " + std::to_string(row + 1) + ", Column " + std::to_string(col + 1) + " of " +
           std::to_string(pages.rows) + " \u00d7 " + std::to_string(pages.columns);
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

PrintDrawFlags::PrintDrawFlags(LayoutDocument& d, const PrintOptions& options, uint32_t activeLevel)
    : doc(d), savedGrid(d.gridShown), savedBaseboard(d.baseboardShown) {
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
