// Exporting the plan: parts list, picture frame, file kinds, PDF pages.
#include "dialogs/PlanExport.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>

#include "catalog/TrackCatalog.h"
#include "panels/PieceTally.h"

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
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    void Add(double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    }
    bool Empty() const { return minX > maxX; }
};

Extent DrawnExtent(const LayoutDocument& doc) {
    Extent e;
    const TrackCatalog& catalog = TrackCatalog::Instance();
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = catalog.Find(p.article);
        if (!def) continue;
        const double h = p.heading * std::numbers::pi / 180.0;
        e.Add(p.x, p.y);
        e.Add(p.x + def->length * std::cos(h), p.y + def->length * std::sin(h));
        if (def->radius > 0) {  // a curve bulges: its connectors bound it well enough
            for (const Connector& c : def->connectors) {
                e.Add(p.x + c.x * std::cos(h) - c.y * std::sin(h),
                      p.y + c.x * std::sin(h) + c.y * std::cos(h));
            }
        }
    }
    for (const SceneryItem& s : doc.scenery) e.Add(s.x, s.y);
    for (const PointMm& v : doc.baseboard) e.Add(v.x, v.y);
    for (const Level& level : doc.levels) {
        for (const PointMm& v : level.outline) e.Add(v.x, v.y);
    }
    for (const Label& l : doc.labels) e.Add(l.x, l.y);
    for (const Measurement& m : doc.measurements) {
        e.Add(m.x1, m.y1);
        e.Add(m.x2, m.y2);
    }
    if (e.Empty()) {
        e.Add(0, 0);
        e.Add(1000, 1000);
    }
    return e;
}

}  // namespace

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

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

PictureFrame PictureFrameFor(const LayoutDocument& doc, double pxPerMm) {
    const double r = std::clamp(pxPerMm, kMinPictureResolution, kMaxPictureResolution);
    const Extent e = DrawnExtent(doc);
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

double DefaultPictureResolution(const LayoutDocument& doc) {
    const Extent e = DrawnExtent(doc);
    const double longest = std::max(std::max(e.maxX - e.minX, e.maxY - e.minY), 1.0);
    const double r = std::min(4.0, 4000.0 / (longest + 2 * kPictureMarginMm));
    // Two significant digits read better in the field.
    const double step = std::pow(10.0, std::floor(std::log10(r)) - 1);
    return std::clamp(std::floor(r / step) * step, kMinPictureResolution, kMaxPictureResolution);
}

std::string PictureSizeProblem(const PictureFrame& f) {
    if (f.width > kMaxPictureSide || f.height > kMaxPictureSide ||
        double(f.width) * f.height > kMaxPicturePixels)
        return "The picture would be " + PictureSizeText(f) +
               ", too large to make. Choose fewer pixels per millimetre.";
    return "";
}

std::string PictureSizeText(const PictureFrame& f) {
    return std::to_string(f.width) + " \u00d7 " + std::to_string(f.height) + " pixels";
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
