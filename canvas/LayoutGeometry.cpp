// What the layout drawing shows and in which order.
#include "canvas/LayoutGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "trackgeometry/PieceGeometry.h"
#include "canvas/SceneryGeometry.h"
#include "trackgeometry/Units.h"
#include "catalog/HelixVariants.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "model/LayoutExtent.h"

HelixLinkedSets ComputeHelixLinked(const LayoutDocument& doc) {
    std::vector<uint32_t> highSeeds, lowSeeds;
    for (const PlacedPiece& p : doc.pieces) {
        if (p.helixId == kNoId) continue;
        (p.elevation >= 0.5 ? highSeeds : lowSeeds).push_back(p.id);
    }
    // Without helix track nothing is linked: the map of every piece is not worth making.
    if (highSeeds.empty() && lowSeeds.empty()) return {};
    std::unordered_map<uint32_t, const PlacedPiece*> byId;
    byId.reserve(doc.pieces.size());
    for (const PlacedPiece& p : doc.pieces) byId.emplace(p.id, &p);
    auto fill = [&](const std::vector<uint32_t>& seeds, std::unordered_set<uint32_t>& result) {
        std::vector<uint32_t> work = seeds;
        while (!work.empty()) {
            const uint32_t id = work.back();
            work.pop_back();
            auto it = byId.find(id);
            if (it == byId.end()) continue;
            for (const Joint& j : it->second->joints) {
                if (j.IsOpen()) continue;
                auto target = byId.find(j.target);
                if (target == byId.end() || target->second->helixId != kNoId) continue;
                if (result.insert(j.target).second) work.push_back(j.target);
            }
        }
    };
    HelixLinkedSets sets;
    std::unordered_set<uint32_t> highFill;
    fill(highSeeds, highFill);
    fill(lowSeeds, sets.low);
    sets.low.insert(lowSeeds.begin(), lowSeeds.end());
    sets.all = sets.low;
    sets.all.insert(highSeeds.begin(), highSeeds.end());
    sets.all.insert(highFill.begin(), highFill.end());
    return sets;
}

PieceDrawOrder PieceDrawOrderFor(const LayoutDocument& doc, const HelixLinkedSets& linked) {
    PieceDrawOrder order;
    const TrackCatalog& catalog = TrackCatalog::Instance();
    std::vector<size_t> lowSelected, restSelected;
    for (size_t i = 0; i < doc.pieces.size(); ++i) {
        const PlacedPiece& p = doc.pieces[i];
        if (!IsLevelVisible(doc, p.level)) continue;
        const PieceDef* def = catalog.Find(p.article);
        if (!def) continue;
        order.longestMm = std::max({order.longestMm, def->length, def->radius});
        const bool low = linked.low.count(p.id) > 0;
        if (low) {
            (p.selected ? lowSelected : order.low).push_back(i);
        } else {
            (p.selected ? restSelected : order.rest).push_back(i);
        }
    }
    order.low.insert(order.low.end(), lowSelected.begin(), lowSelected.end());
    order.rest.insert(order.rest.end(), restSelected.begin(), restSelected.end());
    return order;
}

SceneryDrawOrder SceneryDrawOrderFor(const LayoutDocument& doc) {
    std::unordered_set<uint32_t> portals;
    for (const Tunnel& t : doc.tunnels) {
        portals.insert(t.portalA);
        portals.insert(t.portalB);
    }
    SceneryDrawOrder order;
    std::vector<size_t> itemsSelected, portalsSelected;
    const SceneryCatalog& catalog = SceneryCatalog::Instance();
    for (size_t i = 0; i < doc.scenery.size(); ++i) {
        const SceneryItem& s = doc.scenery[i];
        if (!IsLevelVisible(doc, s.level) || !catalog.Find(s.item)) continue;
        if (portals.count(s.id)) {
            (s.selected ? portalsSelected : order.portals).push_back(i);
        } else {
            (s.selected ? itemsSelected : order.items).push_back(i);
        }
    }
    order.items.insert(order.items.end(), itemsSelected.begin(), itemsSelected.end());
    order.portals.insert(order.portals.end(), portalsSelected.begin(), portalsSelected.end());
    return order;
}

std::unordered_set<uint32_t> TunnelPieceIds(const LayoutDocument& doc) {
    std::unordered_set<uint32_t> ids;
    for (const Tunnel& t : doc.tunnels) ids.insert(t.covers.begin(), t.covers.end());
    return ids;
}

std::vector<const Level*> DeckLevels(const LayoutDocument& doc) {
    std::vector<const Level*> decks;
    for (const Level& level : doc.levels) {
        if (level.visible && level.outline.size() >= 3) decks.push_back(&level);
    }
    std::stable_sort(decks.begin(), decks.end(),
                     [](const Level* a, const Level* b) { return a->height < b->height; });
    return decks;
}

Rgb DeckFill(const Level& level) {
    if (!level.colourTrack) return kDeckFill;
    return {static_cast<uint8_t>((level.colour.r + 2 * kBaseboardFill.r) / 3),
            static_cast<uint8_t>((level.colour.g + 2 * kBaseboardFill.g) / 3),
            static_cast<uint8_t>((level.colour.b + 2 * kBaseboardFill.b) / 3)};
}

std::vector<EdgeLabel> BaseboardEdgeLabels(const std::vector<PointMm>& outline, int units) {
    std::vector<EdgeLabel> labels;
    const size_t n = outline.size();
    if (n < 3) return labels;
    PointMm c;
    for (const PointMm& p : outline) {
        c.x += p.x;
        c.y += p.y;
    }
    c.x /= n;
    c.y /= n;
    for (size_t i = 0; i < n; ++i) {
        const PointMm a = outline[i];
        const PointMm b = outline[(i + 1) % n];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double len = std::hypot(dx, dy);
        if (len < 10.0) continue;
        const PointMm m{(a.x + b.x) / 2, (a.y + b.y) / 2};
        double nx = -dy / len, ny = dx / len;
        if ((c.x - m.x) * nx + (c.y - m.y) * ny > 0) {
            nx = -nx;
            ny = -ny;
        }
        labels.push_back({{m.x + 12 * nx, m.y + 12 * ny}, FormatLength(len, units)});
    }
    return labels;
}

namespace {

// The labels' anchors and the measurements' ends and length labels.
void AddNoteCorners(LayoutBounds& bounds, const LayoutDocument& doc) {
    auto add = [&bounds](double x, double y) {
        if (std::isfinite(x) && std::isfinite(y)) bounds.Add(x, y);
    };
    for (const Label& label : doc.labels) add(label.x, label.y);
    for (const Measurement& m : doc.measurements) {
        add(m.x1, m.y1);
        add(m.x2, m.y2);
        add((m.x1 + m.x2) / 2 + m.dx, (m.y1 + m.y2) / 2 + m.dy);
    }
}

// The corners of every picture drawn on the extent's levels.
void AddPictureCorners(LayoutBounds& bounds, const LayoutDocument& doc,
                       const DrawingExtentOptions& options) {
    if (!options.pictureSizes) return;
    for (const BackgroundPicture& picture : doc.pictures) {
        if (!PictureDrawn(doc, picture)) continue;
        if (options.level != DrawingExtentOptions::kEveryLevel && picture.level != kNoId &&
            picture.level != options.level)
            continue;
        const PointMm size = options.pictureSizes(picture.path);
        if (!(size.x > 0) || !(size.y > 0)) continue;
        for (const PointMm corner : {PointMm{0, 0}, {size.x, 0}, {0, size.y}, size}) {
            const PointMm at = PictureToLayout(picture, size.x, corner);
            if (std::isfinite(at.x) && std::isfinite(at.y)) bounds.Add(at.x, at.y);
        }
    }
}

}  // namespace

LayoutBounds DrawingExtent(const LayoutDocument& doc, const DrawingExtentOptions& options) {
    LayoutBounds bounds;
    auto add = [&bounds](const PointMm& p) {
        if (std::isfinite(p.x) && std::isfinite(p.y)) bounds.Add(p.x, p.y);
    };
    auto onLevel = [&options](int64_t level) {
        return options.level == DrawingExtentOptions::kEveryLevel || level == options.level;
    };
    const TrackCatalog& catalog = TrackCatalog::Instance();
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = catalog.Find(p.article);
        if (!def || !onLevel(p.level)) continue;
        for (const PieceShape& s : BuildPieceShapes(*def, p.x, p.y, p.heading, kPieceFill,
                                                    kPieceOutline, false, 1.0, &p)) {
            if (s.type == PieceShape::Type::Circle && !s.points.empty()) {
                const double r = s.radiusMm;
                add({s.points[0].x - r, s.points[0].y - r});
                add({s.points[0].x + r, s.points[0].y + r});
                continue;
            }
            for (const PointMm& pt : s.points) add(pt);
        }
    }
    for (const Helix& helix : doc.helices) {
        const HelixVariant* variant = HelixVariantFor(helix);
        if (!variant || !onLevel(HelixLevel(doc, helix))) continue;
        const PieceDef* outer = catalog.Find(variant->outerCurveArticle);
        const double r = std::max(variant->radiusInner, variant->radiusOuter) +
                         (outer ? BandHalfWidth(*outer) : 0.0);
        add({helix.x - r, helix.y - r});
        add({helix.x + r, helix.y + r});
    }
    const SceneryCatalog& scenery = SceneryCatalog::Instance();
    for (const SceneryItem& item : doc.scenery) {
        if (!onLevel(item.level)) continue;
        const SceneryDef* def = scenery.Find(item.item);
        if (!def) {
            add({item.x, item.y});
            continue;
        }
        const SceneryPose pose{item.x, item.y, item.heading, item.scaleX, item.scaleY};
        for (const PointMm& pt : SceneryFootprint(*def, pose)) add(pt);
        for (const SceneryShape& s : BuildSceneryShapes(*def, pose, false, 1.0))
            for (const PointMm& pt : s.points) add(pt);
    }
    for (const Level& level : doc.levels)
        if (onLevel(level.id) && level.outline.size() >= 3)  // a deck needs three corners
            for (const PointMm& pt : level.outline) add(pt);
    if (options.baseboard && doc.baseboard.size() >= 3) {
        for (const PointMm& pt : doc.baseboard) add(pt);
        for (const EdgeLabel& label : BaseboardEdgeLabels(doc.baseboard, doc.units)) add(label.at);
    }
    AddNoteCorners(bounds, doc);
    AddPictureCorners(bounds, doc, options);
    return bounds;
}

int LabelPointSize(double screenZoom) { return std::max(8, static_cast<int>(11 * screenZoom)); }
int ArticlePointSize(double screenZoom) { return std::max(6, static_cast<int>(9 * screenZoom)); }
int GradePointSize(double screenZoom) { return std::max(7, static_cast<int>(8 * screenZoom)); }

bool GradeArrowFor(const LayoutDocument& doc, const GradeRun& run, GradeArrow& arrow) {
    if (run.anchorPiece < 0) return false;
    const PlacedPiece* p = doc.FindPiece(static_cast<uint32_t>(run.anchorPiece));
    if (!p) return false;
    const PieceDef* def = TrackCatalog::Instance().Find(p->article);
    if (!def) return false;
    double dx = std::cos(p->heading * kDegToRad), dy = std::sin(p->heading * kDegToRad);
    if ((p->joints.empty() || p->IsOpen(0)) && !p->IsOpen(1)) {
        dx = -dx;
        dy = -dy;
    }
    arrow.start = {p->x + dx * def->length / 2, p->y + dy * def->length / 2};
    arrow.end = {arrow.start.x + 20 * dx, arrow.start.y + 20 * dy};
    const PointMm base{arrow.end.x - 8 * dx, arrow.end.y - 8 * dy};
    arrow.headLeft = {base.x - 6 * dy, base.y + 6 * dx};
    arrow.headRight = {base.x + 6 * dy, base.y - 6 * dx};
    arrow.colour = run.gradeDeg < 0 ? Rgb{30, 100, 200} : Rgb{220, 100, 20};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%+.1f\xC2\xB0", run.gradeDeg);
    arrow.text = buf;
    return true;
}

MeasurementHeads MeasurementHeadsPx(PointMm a, PointMm b) {
    MeasurementHeads heads;
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    if (!(len > 6)) return heads;
    heads.shown = true;
    const double ux = (b.x - a.x) / len, uy = (b.y - a.y) / len;
    const double px = -uy, py = ux;
    heads.a[0] = a;
    heads.a[1] = {a.x + 10 * ux + 5 * px, a.y + 10 * uy + 5 * py};
    heads.a[2] = {a.x + 10 * ux - 5 * px, a.y + 10 * uy - 5 * py};
    heads.b[0] = b;
    heads.b[1] = {b.x - 10 * ux + 5 * px, b.y - 10 * uy + 5 * py};
    heads.b[2] = {b.x - 10 * ux - 5 * px, b.y - 10 * uy - 5 * py};
    return heads;
}

const HelixVariant* HelixVariantFor(const Helix& helix) {
    const HelixVariant* v = FindHelixVariant(helix.variant);
    return v ? v : FindHelixVariant(DefaultHelixVariantId());
}

int32_t HelixLevel(const LayoutDocument& doc, const Helix& helix) {
    for (const PlacedPiece& p : doc.pieces) {
        if (p.helixId == helix.id) return p.level;
    }
    return 1;
}

bool HelixSelected(const LayoutDocument& doc, const Helix& helix) {
    for (const PlacedPiece& p : doc.pieces) {
        if (p.helixId == helix.id && p.selected) return true;
    }
    return false;
}

std::vector<PlacedPiece> HelixRingPieces(const Helix& helix, const HelixVariant& variant) {
    std::vector<PlacedPiece> ring;
    const TrackCatalog& catalog = TrackCatalog::Instance();
    if (!catalog.Find(variant.innerCurveArticle) || !catalog.Find(variant.outerCurveArticle)) {
        return ring;
    }
    const int n = static_cast<int>(variant.turns * 12);
    struct Track {
        const std::string* article;
        double radius;
    };
    const Track tracks[] = {{&variant.innerCurveArticle, variant.radiusInner},
                            {&variant.outerCurveArticle, variant.radiusOuter}};
    for (const Track& track : tracks) {
        for (int i = 1; i <= n; ++i) {
            const double a = -90.0 - 30.0 * i + helix.heading;
            PlacedPiece p;
            p.id = helix.id;
            p.article = *track.article;
            p.x = helix.x + std::cos(a * kDegToRad) * track.radius;
            p.y = helix.y + std::sin(a * kDegToRad) * track.radius;
            p.heading = a + 90.0;
            p.helixId = helix.id;
            ring.push_back(std::move(p));
        }
    }
    return ring;
}

std::vector<PointMm> SceneryHandles(const SceneryItem& item, const SceneryDef& def) {
    const double a = def.width * item.scaleX / 2;
    const double b = def.depth * item.scaleY / 2;
    const double local[8][2] = {{-a, -b}, {0, -b}, {a, -b}, {a, 0},
                                {a, b},   {0, b},  {-a, b}, {-a, 0}};
    const double h = item.heading * kDegToRad;
    const double c = std::cos(h), s = std::sin(h);
    std::vector<PointMm> pts;
    for (const auto& l : local) {
        pts.push_back({item.x + l[0] * c - l[1] * s, item.y + l[0] * s + l[1] * c});
    }
    return pts;
}

const SceneryItem* ResizableSelection(const LayoutDocument& doc) {
    // The scenery is looked at first: it is short, and without one selected platform the many
    // pieces of a big layout need not be visited (panning asks at every motion).
    const SceneryItem* found = nullptr;
    for (const SceneryItem& s : doc.scenery) {
        if (!s.selected) continue;
        if (found) return nullptr;
        found = &s;
    }
    if (!found) return nullptr;
    const SceneryDef* def = SceneryCatalog::Instance().Find(found->item);
    if (!def || def->category != kSceneryPlatforms) return nullptr;
    for (const Label& l : doc.labels) {
        if (l.selected) return nullptr;
    }
    for (const PlacedPiece& p : doc.pieces) {
        if (p.selected) return nullptr;
    }
    return found;
}
