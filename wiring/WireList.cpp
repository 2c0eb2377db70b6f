// The wire list as CSV.
#include "wiring/WireList.h"

#include <algorithm>
#include <vector>

#include "base/CsvField.h"
#include "base/Format.h"
#include "base/Translate.h"
#include "catalog/TrackCatalog.h"
#include "trackgeometry/PieceGeometry.h"
#include "trackgeometry/Units.h"

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

namespace {

// Columns padded to their widest cell (UTF-8 continuation bytes take no room).
void AppendTable(std::string& out, const std::string& title,
                 const std::vector<std::vector<std::string>>& table) {
    auto width = [](const std::string& t) {
        return static_cast<size_t>(
            std::count_if(t.begin(), t.end(), [](char c) { return (c & 0xC0) != 0x80; }));
    };
    std::vector<size_t> widths;
    for (const auto& row : table) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], width(row[i]));
    }
    out += title + "\n";
    for (const auto& row : table) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line += std::string(widths[i] - width(row[i]) + 2, ' ');
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + "\n";
    }
    out += "\n";
}

}  // namespace

std::string WiringTablesText(const LayoutDocument& doc, const TrackGraph& graph,
                             const WiringAnalysis& analysis) {
    std::string out;
    auto districtName = [&](uint32_t id) {
        const PowerDistrict* d = doc.wiring.FindDistrict(id);
        return d ? d->name : std::string("-");
    };
    std::vector<std::vector<std::string>> table{
        {Tr("District"), Tr("Maximum current (A)"), Tr("Sections")}};
    for (const PowerDistrict& d : doc.wiring.districts) {
        std::string fed;
        for (size_t s = 0; s < analysis.sections.size(); ++s)
            if (analysis.sections[s].district == d.id)
                fed += (fed.empty() ? "" : ", ") + std::to_string(s + 1);
        table.push_back({d.name, Format("%.1f", d.maxCurrentA), fed});
    }
    AppendTable(out, Tr("Districts"), table);
    table = {
        {Tr("Section"), Tr("District"), Tr("Length"), Tr("Pieces"), Tr("Feeders"), Tr("Detector")}};
    for (size_t s = 0; s < analysis.sections.size(); ++s) {
        const Section& section = analysis.sections[s];
        table.push_back({std::to_string(s + 1), districtName(section.district),
                         FormatLength(section.lengthMm, doc.units),
                         std::to_string(section.pieces.size()),
                         std::to_string(section.feeders.size()),
                         section.detector > 0 ? std::to_string(section.detector) : ""});
    }
    AppendTable(out, Tr("Sections"), table);
    table = {{Tr("Feeder"), Tr("Section"), Tr("District"), Tr("Piece")}};
    for (size_t i = 0; i < doc.wiring.feeders.size(); ++i) {
        const Feeder& f = doc.wiring.feeders[i];
        const PlacedPiece* p = doc.FindPiece(f.piece);
        if (!p) continue;
        const int section = SectionNumberOf(graph, analysis, f.piece);
        table.push_back({std::to_string(i + 1), section ? std::to_string(section) : "",
                         districtName(f.district), Format("#%u %s", p->id, p->article.c_str())});
    }
    AppendTable(out, Tr("Feeders"), table);
    return out;
}
