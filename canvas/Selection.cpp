// Selection editing on the canvas: clicks, chains, bands, rotation, copy buffer, delete, moves.
#include "canvas/Selection.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <unordered_map>

#include "canvas/LayoutGeometry.h"
#include "canvas/LayoutIndex.h"
#include "canvas/Snapping.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "model/Helices.h"
#include "model/LayoutExtent.h"

namespace {

constexpr double kStepDeg = 30.0;
constexpr double kSceneryFineStepDeg = 15.0;

void RotatePoint(double& x, double& y, PointMm pivot, double deg) {
    const double c = std::cos(deg * kDegToRad), s = std::sin(deg * kDegToRad);
    const double dx = x - pivot.x, dy = y - pivot.y;
    x = pivot.x + dx * c - dy * s;
    y = pivot.y + dx * s + dy * c;
}

void GrowJointsToConnectors(PlacedPiece& p) {
    const PieceDef* def = TrackCatalog::Instance().Find(p.article);
    if (def && p.joints.size() < def->connectors.size()) p.joints.resize(def->connectors.size());
}

// The single helix the selection is made of, or kNoId.
uint32_t WholeHelixSelected(const LayoutDocument& doc) {
    if (!SelectionIsWholeHelix(doc)) return kNoId;
    for (const PlacedPiece& p : doc.pieces)
        if (p.selected) return p.helixId;
    return kNoId;
}

}  // namespace

std::vector<uint32_t> ChainPath(const LayoutDocument& doc, uint32_t from, uint32_t to) {
    std::unordered_map<uint32_t, size_t> index;
    for (size_t i = 0; i < doc.pieces.size(); ++i) index.emplace(doc.pieces[i].id, i);
    if (!index.count(from) || !index.count(to)) return {};
    std::unordered_map<uint32_t, uint32_t> cameFrom{{from, kNoId}};
    std::deque<uint32_t> queue{from};
    while (!queue.empty() && !cameFrom.count(to)) {
        const uint32_t id = queue.front();
        queue.pop_front();
        for (const Joint& j : doc.pieces[index[id]].joints) {
            if (j.IsOpen() || !index.count(j.target) || cameFrom.count(j.target)) continue;
            cameFrom.emplace(j.target, id);
            queue.push_back(j.target);
        }
    }
    if (!cameFrom.count(to)) return {};
    std::vector<uint32_t> path;
    for (uint32_t id = to; id != kNoId; id = cameFrom[id]) path.push_back(id);
    return path;
}

void ClickPiece(LayoutDocument& doc, uint32_t pieceId, bool ctrl, bool shift) {
    PlacedPiece* p = doc.FindPiece(pieceId);
    if (!p) return;
    if (!ctrl && !shift) {
        if (!p->selected) {
            doc.ClearSelection();
            p->selected = true;
        }
    } else if (ctrl && !shift) {
        p->selected = !p->selected;
    } else {
        uint32_t anchor = kNoId;
        for (const PlacedPiece& q : doc.pieces)
            if (q.selected) anchor = q.id;
        const std::vector<uint32_t> path = anchor == kNoId || anchor == pieceId
                                               ? std::vector<uint32_t>{}
                                               : ChainPath(doc, anchor, pieceId);
        if (path.empty()) {
            p->selected = !p->selected;
        } else {
            for (uint32_t id : path) doc.FindPiece(id)->selected = true;
        }
    }
    SelectWholeHelices(doc);
    if (PlacedPiece* q = doc.FindPiece(pieceId)) GrowJointsToConnectors(*q);
}

void ClickScenery(LayoutDocument& doc, uint32_t itemId, bool shift) {
    SceneryItem* item = doc.FindScenery(itemId);
    if (!item) return;
    if (shift) {
        item->selected = !item->selected;
        return;
    }
    if (!item->selected) {
        doc.ClearSelection();
        item->selected = true;
    }
}

namespace {

// Band selection over the pieces and items at the given indices (ascending).
template <typename PieceIndices, typename SceneryIndices>
void SelectInBandAmong(LayoutDocument& doc, const ViewTransform& view, int left, int top, int right,
                       int bottom, const PieceIndices& pieces, const SceneryIndices& scenery) {
    auto inside = [&](double x, double y) {
        const int px = view.ToPixelX(x), py = view.ToPixelY(y);
        return px >= left && px <= right && py >= top && py <= bottom;
    };
    for (size_t i : pieces) {
        PlacedPiece& p = doc.pieces[i];
        if (IsLevelVisible(doc, p.level) && inside(p.x, p.y)) p.selected = true;
    }
    for (size_t i : scenery) {
        SceneryItem& s = doc.scenery[i];
        if (IsLevelVisible(doc, s.level) && inside(s.x, s.y)) s.selected = true;
    }
    SelectWholeHelices(doc);
}

std::vector<size_t> Iota(size_t n) {
    std::vector<size_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = i;
    return v;
}

}  // namespace

bool SelectInBand(LayoutDocument& doc, const ViewTransform& view, int x0, int y0, int x1, int y1) {
    const int left = std::min(x0, x1), right = std::max(x0, x1);
    const int top = std::min(y0, y1), bottom = std::max(y0, y1);
    if (right - left <= 4 && bottom - top <= 4) return false;
    SelectInBandAmong(doc, view, left, top, right, bottom, Iota(doc.pieces.size()),
                      Iota(doc.scenery.size()));
    return true;
}

bool SelectInBand(LayoutDocument& doc, const LayoutIndex& index, const ViewTransform& view, int x0,
                  int y0, int x1, int y1) {
    if (!index.Matches(doc)) return SelectInBand(doc, view, x0, y0, x1, y1);
    const int left = std::min(x0, x1), right = std::max(x0, x1);
    const int top = std::min(y0, y1), bottom = std::max(y0, y1);
    if (right - left <= 4 && bottom - top <= 4) return false;
    // Positions that truncate into the band lie less than a pixel outside it.
    BoxMm box;
    box.Add(view.ToLayoutX(left - 1), view.ToLayoutY(top - 1));
    box.Add(view.ToLayoutX(right + 1), view.ToLayoutY(bottom + 1));
    SelectInBandAmong(doc, view, left, top, right, bottom, index.PiecesIn(box),
                      index.SceneryIn(box));
    return true;
}

double FoldDeg(double deg) {
    if (!std::isfinite(deg)) return 0;
    deg = std::fmod(deg, 360.0);
    if (deg > 180.0) deg -= 360.0;
    if (deg <= -180.0) deg += 360.0;
    return deg;
}

RotationSnap SnapRotation(double reference, double delta) {
    RotationSnap r;
    r.delta = FoldDeg(delta);
    r.candidate = NormalizeDeg(reference + r.delta);
    for (double target : {0.0, 90.0, 180.0, 270.0, 360.0}) {
        if (std::fabs(r.candidate - target) <= kRotationSnapDeg) {
            r.candidate = target == 360.0 ? 0.0 : target;
            r.delta = FoldDeg(r.candidate - reference);
            r.snapped = true;
            break;
        }
    }
    return r;
}

RotationStart TakeRotationStart(const LayoutDocument& doc) {
    RotationStart start;
    double sumX = 0, sumY = 0;
    for (const PlacedPiece& p : doc.pieces) {
        if (!p.selected) continue;
        start.pieces.push_back({p.id, p.x, p.y, p.heading});
        sumX += p.x;
        sumY += p.y;
    }
    for (const SceneryItem& s : doc.scenery) {
        if (!s.selected) continue;
        start.scenery.push_back({s.id, s.x, s.y, s.heading});
        sumX += s.x;
        sumY += s.y;
    }
    const size_t count = start.pieces.size() + start.scenery.size();
    if (count == 0) return start;
    start.valid = true;
    start.pivot = {sumX / count, sumY / count};
    start.helixId = WholeHelixSelected(doc);
    if (const Helix* h = doc.FindHelix(start.helixId)) {
        start.pivot = {h->x, h->y};
        start.helixHeading = h->heading;
    } else {
        start.helixId = kNoId;
    }
    start.reference =
        NormalizeDeg(!start.pieces.empty() ? start.pieces[0].heading : start.scenery[0].heading);
    return start;
}

double PointerAngle(const ViewTransform& view, PointMm pivot, int px, int py) {
    const double cx = pivot.x * view.zoom + view.offsetX;
    const double cy = pivot.y * view.zoom + view.offsetY;
    return std::atan2(py - cy, px - cx) / kDegToRad;
}

bool ApplyRotation(LayoutDocument& doc, const RotationStart& start, double delta) {
    bool any = false;
    for (const RotationStart::Pose& s : start.pieces) {
        PlacedPiece* p = doc.FindPiece(s.id);
        if (!p || !p->selected) continue;
        p->x = s.x;
        p->y = s.y;
        RotatePoint(p->x, p->y, start.pivot, delta);
        p->heading = NormalizeDeg(s.heading + delta);
        any = true;
    }
    for (const RotationStart::Pose& s : start.scenery) {
        SceneryItem* item = doc.FindScenery(s.id);
        if (!item || !item->selected) continue;
        item->x = s.x;
        item->y = s.y;
        RotatePoint(item->x, item->y, start.pivot, delta);
        item->heading = NormalizeDeg(s.heading + delta);
        any = true;
    }
    if (Helix* h = doc.FindHelix(start.helixId))
        h->heading = NormalizeDeg(start.helixHeading + delta);
    return any;
}

double SceneryStepDeg(const std::string& sceneryId) {
    const SceneryDef* def = SceneryCatalog::Instance().Find(sceneryId);
    if (def && (def->category == kSceneryPlatforms || def->category == kScenerySignals))
        return kStepDeg;
    return kSceneryFineStepDeg;
}

bool StepRotateSelection(LayoutDocument& doc) {
    const PlacedPiece* firstPiece = nullptr;
    const SceneryItem* firstItem = nullptr;
    for (const PlacedPiece& p : doc.pieces)
        if (p.selected && !firstPiece) firstPiece = &p;
    for (const SceneryItem& s : doc.scenery)
        if (s.selected && !firstItem) firstItem = &s;
    if (!firstPiece && !firstItem) return false;
    Helix* helix = doc.FindHelix(WholeHelixSelected(doc));
    PointMm pivot =
        firstPiece ? PointMm{firstPiece->x, firstPiece->y} : PointMm{firstItem->x, firstItem->y};
    if (helix) pivot = {helix->x, helix->y};
    doc.PushUndo();
    helix = doc.FindHelix(WholeHelixSelected(doc));
    doc.pieces.ForEachWhere([](const PlacedPiece& p) { return p.selected; },
                            [&](PlacedPiece& p) {
                                RotatePoint(p.x, p.y, pivot, kStepDeg);
                                p.heading = NormalizeDeg(p.heading + kStepDeg);
                            });
    if (helix) helix->heading = NormalizeDeg(helix->heading + kStepDeg);
    for (SceneryItem& s : doc.scenery) {
        if (!s.selected) continue;
        const double step = SceneryStepDeg(s.item);
        RotatePoint(s.x, s.y, pivot, step);
        s.heading = NormalizeDeg(s.heading + step);
    }
    return true;
}

std::vector<PlacedPiece> CopySelection(const LayoutDocument& doc) {
    std::vector<PlacedPiece> out;
    for (const PlacedPiece& p : doc.pieces)
        if (p.selected) out.push_back(p);
    return out;
}

std::vector<uint32_t> PasteBuffer(LayoutDocument& doc, const std::vector<PlacedPiece>& buffer,
                                  double x, double y) {
    if (buffer.empty()) return {};
    doc.PushUndo();
    double cx = 0, cy = 0;
    for (const PlacedPiece& p : buffer) {
        cx += p.x;
        cy += p.y;
    }
    cx /= buffer.size();
    cy /= buffer.size();
    std::unordered_map<uint32_t, uint32_t> newIds;
    for (const PlacedPiece& p : buffer) newIds.emplace(p.id, doc.TakeId());
    doc.ClearSelection();
    std::vector<uint32_t> ids;
    for (const PlacedPiece& p : buffer) {
        PlacedPiece copy = p;
        copy.id = newIds[p.id];
        copy.x = p.x + (x - cx);
        copy.y = p.y + (y - cy);
        copy.selected = true;
        // A pasted stub is plain track: a second set of pieces claiming the helix would let a
        // delete of the copy take the original helix with it.
        copy.helixId = kNoId;
        for (Joint& j : copy.joints) {
            auto it = newIds.find(j.target);
            if (j.IsOpen() || it == newIds.end()) {
                j = Joint{};
            } else {
                j.target = it->second;
            }
        }
        GrowJointsToConnectors(copy);
        ids.push_back(copy.id);
        doc.pieces.push_back(std::move(copy));
    }
    JoinPlacedEnds(doc, ids);
    return ids;
}

void ExpandPairSelection(LayoutDocument& doc) {
    auto isPair = [](const PlacedPiece& p) {
        const PieceDef* def = TrackCatalog::Instance().Find(p.article);
        return def && def->placeAsPair;
    };
    std::vector<uint32_t> add;
    for (const PlacedPiece& p : doc.pieces) {
        if (!p.selected || !isPair(p)) continue;
        for (const Joint& j : p.joints) {
            const PlacedPiece* partner = j.IsOpen() ? nullptr : doc.FindPiece(j.target);
            if (partner && isPair(*partner)) add.push_back(partner->id);
        }
    }
    for (uint32_t id : add) doc.FindPiece(id)->selected = true;
}

SceneryMoveStart TakeSceneryMoveStart(const LayoutDocument& doc) {
    SceneryMoveStart start;
    for (const SceneryItem& s : doc.scenery)
        if (s.selected) start.items.push_back({s.id, s.x, s.y});
    return start;
}

void MoveScenery(LayoutDocument& doc, const SceneryMoveStart& start, double dx, double dy) {
    if (!std::isfinite(dx) || !std::isfinite(dy)) return;
    for (const SceneryMoveStart::Pose& s : start.items)
        if (SceneryItem* item = doc.FindScenery(s.id)) {
            item->x = s.x + dx;
            item->y = s.y + dy;
        }
}
