// Exporting the plan: parts list, picture frame, file kinds, PDF pages.
#include "dialogs/PlanExport.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>

#include "base/CsvField.h"
#include "base/Format.h"
#include "base/Translate.h"
#include "canvas/LayoutGeometry.h"
#include "catalog/TrackCatalog.h"
#include "panels/PieceTally.h"
#include "persistence/LayoutFile.h"

namespace {

constexpr double kPictureMarginMm = 50;  // room for the track bands and the board's dimensions
constexpr int kPictureMarginPx = 20;

std::string Row(const std::string& article, const std::string& name, const std::string& system,
                int count) {
    return CsvField(article) + ',' + CsvField(name) + ',' + CsvField(system) + ',' +
           std::to_string(count) + "\r\n";
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

struct Extent {
    double minX = 0, minY = 0, maxX = 1000, maxY = 1000;
};

Extent DrawnExtent(const LayoutDocument& doc, const PictureImageSize& pictureSizes) {
    DrawingExtentOptions options;
    options.baseboard = doc.baseboardShown;
    options.pictureSizes = pictureSizes;
    const LayoutBounds b = DrawingExtent(doc, options);
    if (!b.any) return Extent{};
    return Extent{b.minX, b.minY, b.maxX, b.maxY};
}

// The path with `extension`: as it is when it has it, with its extension switched when it has one
// of `others`, with the extension appended when it has none; empty for any other extension.
std::string PathWithExtension(const std::string& path, const std::string& extension,
                              const std::vector<std::string>& others) {
    const size_t slash = path.find_last_of("/\\");
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    // A leading dot names a hidden file, not an extension.
    if (dot == std::string::npos || dot <= start) return path + extension;
    const std::string ext = Lower(path.substr(dot));
    if (ext == Lower(extension)) return path;
    for (const std::string& other : others)
        if (ext == Lower(other)) return path.substr(0, dot) + extension;
    return {};
}

}  // namespace

std::string PartsListCsv(const LayoutDocument& doc) {
    const PieceTally tally = RefreshTally(doc);
    const TrackCatalog& catalog = TrackCatalog::Instance();
    std::string csv = "Article,Name,System,Count\r\n";
    for (const auto& [article, count] : tally.counts) {
        const PieceDef* def = catalog.Find(article);
        csv += Row(article, def ? def->name : article, def ? TrackSystemLongName(def->system) : "",
                   count);
    }
    const AccessorySums& a = tally.accessories;
    const std::pair<const char*, int> accessories[] = {{kTurnoutMotorRow, a.turnoutMotors},
                                                       {kKTrackMotorRow, a.kTrackMotors},
                                                       {kDecoder74462Row, a.decoders74462},
                                                       {kDecoder74467Row, a.decoders74467}};
    for (const auto& [text, count] : accessories) {
        if (count <= 0) continue;
        // The tally's row text is the article, a blank and the name.
        const std::string row = text;
        const size_t blank = row.find(' ');
        csv += Row(row.substr(0, blank), row.substr(blank + 1), "", count);
    }
    return csv;
}

ExportKind ExportKindForPath(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return ExportKind::Unknown;
    const std::string ext = Lower(path.substr(dot));
    if (ext == ".png") return ExportKind::Png;
    if (ext == ".svg") return ExportKind::Svg;
    if (ext == ".pdf") return ExportKind::Pdf;
    if (ext == ".csv") return ExportKind::Csv;
    return ExportKind::Unknown;
}

PictureFrame PictureFrameFor(const LayoutDocument& doc, double pxPerMm,
                             const PictureImageSize& pictureSizes) {
    const double r = std::clamp(pxPerMm, kMinPictureResolution, kMaxPictureResolution);
    const Extent e = DrawnExtent(doc, pictureSizes);
    const double margin = kPictureMarginMm * r + kPictureMarginPx;
    PictureFrame f;
    f.zoom = r;
    f.offsetX = margin - e.minX * r;
    f.offsetY = margin - e.minY * r;
    const double w = std::ceil((e.maxX - e.minX) * r + 2 * margin);
    const double h = std::ceil((e.maxY - e.minY) * r + 2 * margin);
    f.width = static_cast<int>(std::min(w, 1e9));
    f.height = static_cast<int>(std::min(h, 1e9));
    return f;
}

double DefaultPictureResolution(const LayoutDocument& doc, const PictureImageSize& pictureSizes) {
    const Extent e = DrawnExtent(doc, pictureSizes);
    const double longest = std::max(std::max(e.maxX - e.minX, e.maxY - e.minY), 1.0);
    const double r = std::min(4.0, 4000.0 / (longest + 2 * kPictureMarginMm));
    // Two significant digits read better in the field.
    const double step = std::pow(10.0, std::floor(std::log10(r)) - 1);
    return std::clamp(std::floor(r / step) * step, kMinPictureResolution, kMaxPictureResolution);
}

std::string PictureSizeProblem(const PictureFrame& f) {
    if (f.width > kMaxPictureSide || f.height > kMaxPictureSide ||
        double(f.width) * f.height > kMaxPicturePixels)
        return Format(
            Tr("The picture would be %s, too large to make. Choose fewer pixels per millimetre.")
                .c_str(),
            PictureSizeText(f).c_str());
    return "";
}

std::string PictureSizeText(const PictureFrame& f) {
    return Format(Tr("%d \u00d7 %d pixels").c_str(), f.width, f.height);
}

PdfPage PdfPageFor(double widthMm, double heightMm, int dpi) {
    PdfPage page;
    page.widthPt = widthMm / 25.4 * 72;
    page.heightPt = heightMm / 25.4 * 72;
    page.widthPx = std::max(1, static_cast<int>(std::lround(widthMm / 25.4 * dpi)));
    page.heightPx = std::max(1, static_cast<int>(std::lround(heightMm / 25.4 * dpi)));
    page.pxPerPt = dpi / 72.0;
    return page;
}

double SvgDotsPerInch(const PictureFrame& frame, int scaleDenominator) {
    return frame.zoom * 25.4 * std::max(scaleDenominator, 1);
}

double SvgWidthMm(const PictureFrame& frame, int scaleDenominator) {
    return frame.width / SvgDotsPerInch(frame, scaleDenominator) * 25.4;
}

std::string ExportStartFolder(const std::string& lastFolder, const std::string& lastLayout,
                              const std::string& layoutPath, const std::string& programFolder) {
    if (!lastFolder.empty() && lastLayout == layoutPath) return lastFolder;
    const size_t slash = layoutPath.find_last_of('/');
    if (slash != std::string::npos) return slash == 0 ? "/" : layoutPath.substr(0, slash);
    return programFolder;
}

double PicturePixelScale(const PictureFrame& frame) {
    return std::max(1.0, static_cast<double>(std::max(frame.width, frame.height)) /
                             kPictureViewSide);
}

std::string SvgScaleText(int scaleDenominator) {
    return Format("1 : %d", std::max(1, scaleDenominator));
}

std::string SvgTitle(int scaleDenominator) {
    return Format(Tr("Quillmore Layout at %s").c_str(), SvgScaleText(scaleDenominator).c_str());
}

std::string SvgDescription(int scaleDenominator) {
    const int n = std::max(1, scaleDenominator);
    return Format(Tr("Track plan at a scale of %s: 1 mm of the drawing is %d mm of the layout.")
                      .c_str(),
                  SvgScaleText(n).c_str(), n);
}

std::string WithSvgDescription(std::string svg, int scaleDenominator) {
    const std::string desc = "<desc>" + EscapeXml(SvgDescription(scaleDenominator)) + "</desc>";
    const size_t from = svg.find("<desc>"), to = svg.find("</desc>");
    if (from != std::string::npos && to != std::string::npos && to > from) {
        svg.replace(from, to + 7 - from, desc);
    } else if (const size_t title = svg.find("</title>"); title != std::string::npos) {
        svg.insert(title + 8, "\n" + desc);
    }
    return svg;
}

std::string ChosenExportPath(const std::string& path, const std::vector<std::string>& extensions,
                             size_t chosen) {
    if (extensions.empty()) return path;
    chosen = std::min(chosen, extensions.size() - 1);
    const ExportKind typed = ExportKindForPath(path);
    for (size_t i = 1; i < extensions.size(); ++i)
        if (typed != ExportKind::Unknown && typed == ExportKindForPath(extensions[i])) return path;
    return PathWithExtension(path, extensions[chosen], {extensions[0]});
}
