// Numbering accessories by rows or by station groups, and the edits of the control plan.
#include "control/AssignAddresses.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

#include "base/Format.h"
#include "base/Translate.h"
#include "model/LayoutDocument.h"
#include "network/TrackGraph.h"

namespace {

struct Accessory {
    uint32_t piece = 0;
    PointMm centre;
    int32_t count = 1;
    bool numbered = false;
};

std::vector<Accessory> Accessories(const LayoutDocument& doc) {
    std::vector<Accessory> out;
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = TrackCatalog::Instance().Find(p.article);
        if (!def) continue;
        const AccessoryKind kind = AccessoryKindOf(*def);
        if (kind == AccessoryKind::None) continue;
        const AccessoryAddress* a = doc.control.Find(p.id);
        out.push_back(Accessory{p.id, AccessoryCentre(doc, p.id),
                                AddressCount(kind, a ? a->drives : 1), a != nullptr});
    }
    return out;
}

// Indices of `list` row by row: rows of rowHeightMm from the topmost centre down, each left to
// right.
std::vector<size_t> RowOrder(const std::vector<Accessory>& list, double rowHeightMm) {
    std::vector<size_t> order(list.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return std::tie(list[a].centre.y, list[a].centre.x, list[a].piece) <
               std::tie(list[b].centre.y, list[b].centre.x, list[b].piece);
    });
    for (size_t start = 0; start < order.size();) {
        const double top = list[order[start]].centre.y;
        size_t end = start + 1;
        while (end < order.size() && list[order[end]].centre.y - top <= rowHeightMm) ++end;
        std::sort(order.begin() + start, order.begin() + end, [&](size_t a, size_t b) {
            return std::tie(list[a].centre.x, list[a].piece) <
                   std::tie(list[b].centre.x, list[b].piece);
        });
        start = end;
    }
    return order;
}

size_t Root(std::vector<size_t>& parent, size_t i) {
    while (parent[i] != i) i = parent[i] = parent[parent[i]];
    return i;
}

// Station groups: accessories joined directly or through at most gapMm of plain track.
std::vector<size_t> StationGroups(const std::vector<Accessory>& list, const TrackGraph& graph,
                                  double gapMm) {
    std::unordered_map<uint32_t, size_t> index;
    for (size_t i = 0; i < list.size(); ++i) index.emplace(list[i].piece, i);
    std::vector<size_t> parent(list.size());
    std::iota(parent.begin(), parent.end(), 0);
    for (size_t i = 0; i < list.size(); ++i) {
        const int connectors = graph.ConnectorCount(list[i].piece);
        for (int c = 0; c < connectors; ++c) {
            GraphEnd leaving{list[i].piece, c};
            double length = 0;
            for (int steps = 0; steps < 1000; ++steps) {
                const TrackStep step = StepFrom(graph, leaving);
                if (step.stop != StepStop::None) break;
                if (auto it = index.find(step.entered.piece); it != index.end()) {
                    parent[Root(parent, it->second)] = Root(parent, i);
                    break;
                }
                if (step.routes.size() != 1 || step.routes[0].exit == kBufferEnd) break;
                length += step.routes[0].lengthMm;
                if (length > gapMm) break;
                leaving = GraphEnd{step.entered.piece, step.routes[0].exit};
            }
        }
    }
    std::vector<size_t> groups(list.size());
    for (size_t i = 0; i < list.size(); ++i) groups[i] = Root(parent, i);
    return groups;
}

}  // namespace

PointMm AccessoryCentre(const LayoutDocument& doc, uint32_t piece) {
    const PlacedPiece* p = doc.FindPiece(piece);
    if (!p) return {};
    const PieceDef* def = TrackCatalog::Instance().Find(p->article);
    if (!def || def->connectors.empty()) return {p->x, p->y};
    PointMm sum;
    for (size_t c = 0; c < def->connectors.size(); ++c) {
        const ConnectorPose pose = GetConnectorPose(*p, *def, static_cast<int>(c));
        sum.x += pose.x;
        sum.y += pose.y;
    }
    const double n = static_cast<double>(def->connectors.size());
    return {sum.x / n, sum.y / n};
}

AddressAssignment AssignAddresses(const LayoutDocument& doc, const TrackGraph& graph,
                                  const AddressOptions& options) {
    const std::vector<Accessory> list = Accessories(doc);
    const int32_t max = MaxAddress(ProtocolOf(doc));
    std::vector<bool> used(static_cast<size_t>(max) + 2, false);
    for (const Accessory& a : list) {
        const AccessoryAddress* set = doc.control.Find(a.piece);
        if (!set) continue;
        for (int32_t k = 0; k < a.count; ++k) {
            const int64_t n = int64_t{set->address} + k;
            if (n >= 1 && n <= max) used[static_cast<size_t>(n)] = true;
        }
    }

    std::vector<size_t> order = RowOrder(list, options.rowHeightMm);
    if (options.order == AddressOrder::ByStation) {
        // Groups follow the row order of their first member; members keep their row order.
        const std::vector<size_t> group = StationGroups(list, graph, options.groupGapMm);
        std::vector<size_t> rank(list.size());
        std::unordered_map<size_t, size_t> groupRank;
        for (size_t r = 0; r < order.size(); ++r) {
            rank[order[r]] = r;
            groupRank.emplace(group[order[r]], r);
        }
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return std::pair(groupRank[group[a]], rank[a]) < std::pair(groupRank[group[b]], rank[b]);
        });
    }

    AddressAssignment out;
    int32_t next = std::max(options.first, int32_t{1});
    for (size_t i : order) {
        const Accessory& a = list[i];
        if (a.numbered) continue;
        // The lowest run of `count` free numbers from `next` on.
        int32_t at = next;
        while (at + a.count - 1 <= max) {
            int32_t k = 0;
            while (k < a.count && !used[static_cast<size_t>(at + k)]) ++k;
            if (k == a.count) break;
            at += k + 1;
        }
        if (at + a.count - 1 > max) {
            ++out.unassigned;
            continue;
        }
        for (int32_t k = 0; k < a.count; ++k) used[static_cast<size_t>(at + k)] = true;
        out.added.push_back(AccessoryAddress{a.piece, at, 1});
        next = at + a.count;
    }
    return out;
}

bool ApplyAddresses(LayoutDocument& doc, const AddressAssignment& assignment) {
    if (assignment.added.empty()) return false;
    doc.PushUndo();
    for (const AccessoryAddress& a : assignment.added) doc.control.Set(a);
    return true;
}

std::string SetAccessoryAddress(LayoutDocument& doc, uint32_t piece, int32_t address,
                                int32_t drives) {
    const PlacedPiece* p = doc.FindPiece(piece);
    const PieceDef* def = p ? TrackCatalog::Instance().Find(p->article) : nullptr;
    const AccessoryKind kind = def ? AccessoryKindOf(*def) : AccessoryKind::None;
    if (kind == AccessoryKind::None) return Tr("This piece takes no address.");
    const AccessoryAddress* old = doc.control.Find(piece);
    if (address == 0) {
        if (!old) return {};
        doc.PushUndo();
        doc.control.Remove(piece);
        return {};
    }
    const DigitalProtocol protocol = ProtocolOf(doc);
    const int32_t max = MaxAddress(protocol);
    const int32_t count = AddressCount(kind, drives);
    if (address < 1 || address > max - count + 1) {
        return Format(Tr("%s accessory addresses run from 1 to %d; this piece needs %d of them.")
                          .c_str(),
                      ProtocolName(protocol).c_str(), max, count);
    }
    const AccessoryAddress wanted{piece, address, kind == AccessoryKind::DoubleSlip ? drives : 1};
    if (old && *old == wanted) return {};
    doc.PushUndo();
    doc.control.Set(wanted);
    return {};
}

namespace {

AccessoryKind KindOfPiece(const LayoutDocument& doc, uint32_t piece) {
    const PlacedPiece* p = doc.FindPiece(piece);
    const PieceDef* def = p ? TrackCatalog::Instance().Find(p->article) : nullptr;
    return def ? AccessoryKindOf(*def) : AccessoryKind::None;
}

}  // namespace

bool TakesAddress(const LayoutDocument& doc, uint32_t piece) {
    return KindOfPiece(doc, piece) != AccessoryKind::None;
}

std::string AddressFieldText(const LayoutDocument& doc, uint32_t piece) {
    const AccessoryAddress* a = doc.control.Find(piece);
    if (!a) return {};
    const int32_t count = AddressCount(KindOfPiece(doc, piece), a->drives);
    return count > 1 ? Format("%d-%d", a->address, a->address + count - 1)
                     : Format("%d", a->address);
}

std::string SetAddressFromText(LayoutDocument& doc, uint32_t piece, const std::string& text) {
    size_t at = 0;
    auto blanks = [&] {
        while (at < text.size() && text[at] == ' ') ++at;
    };
    // A number of at most five digits at `at`; -1 when there is none.
    auto number = [&] {
        int32_t value = 0;
        size_t digits = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 6) {
            value = value * 10 + (text[at] - '0');
            ++at, ++digits;
        }
        return digits == 0 || digits == 6 ? -1 : value;
    };
    blanks();
    if (at == text.size()) return SetAccessoryAddress(doc, piece, 0);
    const int32_t first = number();
    int32_t second = -1;
    blanks();
    if (first >= 0 && at < text.size() && text[at] == '-') {
        ++at;
        blanks();
        second = number();
        blanks();
        if (second < 0) at = std::string::npos;
    }
    if (first < 0 || at != text.size())
        return Format(Tr("\"%s\" is not an address.").c_str(), text.c_str());
    // A double slip given two addresses ("5-6") has a drive for each end; one address, one
    // drive. Other pieces take as many as they need from the first.
    const AccessoryAddress* old = doc.control.Find(piece);
    int32_t drives = old ? old->drives : 1;
    if (KindOfPiece(doc, piece) == AccessoryKind::DoubleSlip)
        drives = second == first + 1 ? 2 : 1;
    // 0 is out of range, not "none": an empty field removes the address.
    return SetAccessoryAddress(doc, piece, first == 0 ? -1 : first, drives);
}

bool SetProtocol(LayoutDocument& doc, DigitalProtocol protocol) {
    if (doc.control.protocol == protocol) return false;
    doc.PushUndo();
    doc.control.protocol = protocol;
    return true;
}
