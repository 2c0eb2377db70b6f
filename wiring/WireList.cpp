// The wire list as CSV.
#include "wiring/WireList.h"

#include "base/Format.h"
#include "base/Translate.h"
#include "catalog/TrackCatalog.h"
#include "trackgeometry/PieceGeometry.h"

namespace {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

int SectionNumberOf(const TrackGraph& graph, const WiringAnalysis& analysis, uint32_t piece) {
    const Section* s = analysis.SectionOf(graph, piece);
    return s ? static_cast<int>(s - analysis.sections.data()) + 1 : 0;
}

std::string WireListCsv(const LayoutDocument& doc, const TrackGraph& graph,
                        const WiringAnalysis& analysis) {
    std::string out;
    const std::string header[] = {Tr("Section"), Tr("District"), Tr("Feeder"), Tr("Piece"),
                                  Tr("Position (mm)")};
    for (size_t i = 0; i < std::size(header); ++i) out += (i ? "," : "") + CsvField(header[i]);
    out += "\n";
    for (size_t i = 0; i < doc.wiring.feeders.size(); ++i) {
        const Feeder& f = doc.wiring.feeders[i];
        const PlacedPiece* p = doc.FindPiece(f.piece);
        if (!p) continue;
        const int section = SectionNumberOf(graph, analysis, f.piece);
        const PowerDistrict* d = doc.wiring.FindDistrict(f.district);
        const PieceDef* def = TrackCatalog::Instance().Find(p->article);
        const PointMm at = def ? PieceMidpoint(*p, *def) : PointMm{p->x, p->y};
        out += (section ? std::to_string(section) : std::string()) + ",";
        out += CsvField(d ? d->name : std::string()) + ",";
        out += std::to_string(i + 1) + ",";
        out += CsvField(Format("#%u %s", p->id, p->article.c_str())) + ",";
        out += CsvField(Format("%.0f, %.0f", at.x, at.y)) + "\n";
    }
    return out;
}
