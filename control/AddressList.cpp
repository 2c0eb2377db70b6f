// Rows and text of the address list.
#include "control/AddressList.h"

#include <algorithm>

#include "base/CsvField.h"
#include "base/Format.h"
#include "base/Translate.h"
#include "control/AssignAddresses.h"
#include "model/LayoutDocument.h"

namespace {

std::string PositionText(const AddressListRow& row) {
    return Format("%.0f, %.0f", row.x, row.y);
}

// Display width in characters (UTF-8 continuation bytes do not count).
size_t Width(const std::string& text) {
    return static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

std::vector<AddressListRow> AddressListRows(const LayoutDocument& doc) {
    std::vector<AddressListRow> rows;
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = TrackCatalog::Instance().Find(p.article);
        if (!def) continue;
        const AccessoryKind kind = AccessoryKindOf(*def);
        if (kind == AccessoryKind::None) continue;
        AddressListRow row;
        row.piece = p.id;
        row.article = p.article;
        row.kind = Tr(AccessoryKindName(kind, *def).c_str());
        const AccessoryAddress* a = doc.control.Find(p.id);
        row.count = AddressCount(kind, a ? a->drives : 1);
        if (a) {
            row.address = a->address;
            row.addressText = row.count > 1 ? Format("%d-%d", a->address, a->address + row.count - 1)
                                            : Format("%d", a->address);
        }
        const PointMm c = AccessoryCentre(doc, p.id);
        row.x = c.x;
        row.y = c.y;
        const Level* level = doc.FindLevel(static_cast<uint32_t>(p.level));
        row.level = level ? level->name : Format("%d", p.level);
        rows.push_back(std::move(row));
    }
    std::sort(rows.begin(), rows.end(), [](const AddressListRow& a, const AddressListRow& b) {
        const bool aNone = a.address == 0, bNone = b.address == 0;
        return std::tie(aNone, a.address, a.piece) < std::tie(bNone, b.address, b.piece);
    });
    return rows;
}

void WriteAddressList(const LayoutDocument& doc, AddressListFormat format, std::string& out) {
    const std::vector<AddressListRow> rows = AddressListRows(doc);
    const std::vector<std::string> header = {Tr("Address"), Tr("Article"), Tr("Kind"),
                                             Tr("Position (mm)"), Tr("Level"), Tr("Section")};
    std::vector<std::vector<std::string>> table{header};
    for (const AddressListRow& r : rows)
        table.push_back({r.addressText, r.article, r.kind, PositionText(r), r.level, r.section});
    if (format == AddressListFormat::Csv) {
        for (const auto& line : table) {
            for (size_t i = 0; i < line.size(); ++i) {
                if (i) out += ',';
                out += CsvField(line[i]);
            }
            out += '\n';
        }
        return;
    }
    std::vector<size_t> widths(header.size(), 0);
    for (const auto& line : table)
        for (size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], Width(line[i]));
    for (const auto& line : table) {
        std::string text;
        for (size_t i = 0; i < line.size(); ++i) {
            text += line[i];
            if (i + 1 < line.size()) text.append(widths[i] - Width(line[i]) + 2, ' ');
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        out += text + '\n';
    }
}
