// Rebuilding the 3D scene from the layout document.
#include "view3d/Scene3D.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <unordered_set>

#include "base/Geometry.h"
#include "catalog/HelixVariants.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"
#include "view3d/Decks.h"
#include "view3d/SceneryModels.h"
#include "view3d/TrackMeshes.h"
#include "view3d/Triangulate.h"

namespace {

// A piece or item whose level is not in the document counts as visible.
bool LevelVisible(const LayoutDocument& doc, int32_t level) {
    const Level* l = doc.FindLevel(static_cast<uint32_t>(level));
    return !l || l->visible;
}

double LevelHeight(const LayoutDocument& doc, int32_t level) {
    const Level* l = doc.FindLevel(static_cast<uint32_t>(level));
    return l ? l->height : 0.0;
}

// Horizontal length a grade acts on: the chord's x for curves, else the catalog length.
double RunLength(const PieceDef& def) {
    if (def.radius > 0 && def.connectors.size() >= 2 && def.connectors[1].x > 1.0)
        return def.connectors[1].x;
    return def.length;
}

// Height of a piece's end: a piece on a grade has climbed by the end's distance ahead.
double EndHeight(const PlacedPiece& p, const PieceDef& def, int connector) {
    return p.elevation + std::sin(p.grade * kDegToRad) * def.connectors[connector].x;
}

TrackInstance MakeInstance(const std::string& article, double x, double y, double z,
                           double headingDeg, double tiltDeg, double length) {
    TrackInstance t;
    t.article = article;
    t.x = static_cast<float>(x);
    t.y = static_cast<float>(-y);
    t.z = static_cast<float>(z);
    t.rotationDeg = static_cast<float>(-headingDeg);
    t.tiltDeg = static_cast<float>(tiltDeg);
    t.length = static_cast<float>(length);
    return t;
}

// The start and the point at the catalog length along the heading, in world axes.
void AddInstanceBounds(SceneBounds& b, const TrackInstance& t) {
    const double r = t.rotationDeg * kDegToRad;
    b.Add(t.x, t.y);
    b.Add(t.x + std::cos(r) * t.length, t.y + std::sin(r) * t.length);
}

const Mesh* CachedPieceMesh(Scene3D& scene, const PieceDef& def) {
    auto it = scene.pieceMeshes.find(def.article);
    if (it == scene.pieceMeshes.end()) {
        it = scene.pieceMeshes.emplace(def.article, BuildPieceMesh(def)).first;
        scene.distantPieceMeshes.emplace(def.article, BuildPieceMesh(def, TrackDetail::Distant));
        scene.farPieceMeshes.emplace(def.article, BuildPieceMesh(def, TrackDetail::Far));
        if (Mesh small = BuildSmallBridgeMesh(def); !small.Empty())
            scene.smallBridgeMeshes.emplace(def.article, std::move(small));
    }
    return &it->second;
}

// Height of the highest curve of a helix over its support column at `angleDeg` from the helix
// heading: curve i starts at -90 - 30 i degrees, base + i steps high. The base when none is.
double HelixColumnTop(const HelixVariant& v, double base, double angleDeg) {
    const int n = static_cast<int>(std::clamp(v.turns, 0.0, 1000.0) * 12);
    if (n <= 0) return base;
    for (int i = n; i >= std::max(0, n - 11); --i) {
        const double apart = std::remainder(-90.0 - 30.0 * i - angleDeg, 360.0);
        if (std::abs(apart) < 1e-6) return base + i * (v.rise / n);
    }
    return base;
}

// The columns end under the highest turn above them, where the helix rests on them. Their
// positions (layout axes) go to `points`.
void AddHelixColumns(Mesh& m, const Helix& h, const HelixVariant& v, double base,
                     std::vector<PointMm>& points) {
    auto column = [&](double angleDeg, double radius) {
        const double top = HelixColumnTop(v, base, angleDeg);
        if (top - base < kMinPierHeight) return;
        const double a = (angleDeg + h.heading) * kDegToRad;
        const double x = h.x + radius * std::cos(a), y = h.y + radius * std::sin(a);
        // World axes mirror y, so the post turns the other way.
        AddTurnedBox(m, x, -y, -a, 7, 7, base, top, kHelixColumn, kHelixColumn);
        points.push_back({x, y});
    };
    for (int k = 0; k < 12; ++k) column(k * 30.0 - 90, v.radiusOuter);
    column(90, v.radiusInner);
}

const PlacedPiece* PieceById(const SceneMemo& memo, const LayoutDocument& doc, uint32_t id) {
    const auto it = memo.indexOfId.find(id);
    return it == memo.indexOfId.end() ? nullptr : &doc.pieces[it->second];
}

std::vector<TrackInstance> HelixInstancesOn(const Helix& helix, const PlacedPiece* first);

void AddHelices(Scene3D& scene, const LayoutDocument& doc, const TrackCatalog& catalog,
                std::vector<TrackInstance>& tracks, Mesh& columns,
                std::vector<PointMm>& columnPoints) {
    for (const Helix& h : doc.helices) {
        const PlacedPiece* first = PieceById(scene.memo, doc, h.bottomR1);
        if (first && !LevelVisible(doc, first->level)) continue;
        const HelixVariant* v = FindHelixVariant(h.variant);
        if (!v) v = FindHelixVariant(DefaultHelixVariantId());
        if (!v) continue;
        const PieceDef* inner = catalog.Find(v->innerCurveArticle);
        const PieceDef* outer = catalog.Find(v->outerCurveArticle);
        if (!inner || !outer) continue;
        CachedPieceMesh(scene, *inner);
        CachedPieceMesh(scene, *outer);
        for (const TrackInstance& t : HelixInstancesOn(h, first)) tracks.push_back(t);
        AddHelixColumns(columns, h, *v, first ? first->elevation : 0.0, columnPoints);
    }
}

// Where a piece wants supports at least 2 mm tall, all standing on its level: piers under a bridge
// at its start (unless joined there to another bridge) and its end; risers under every other raised
// piece at each end that does not rest on a deck.
std::vector<PierSpot> WantedPiers(const LayoutDocument& doc, const PlacedPiece& p,
                                  const PieceDef& def, bool joinedToBridge) {
    std::vector<PierSpot> spots;
    const double base = LevelHeight(doc, p.level);
    if (!def.isBridge) {
        if (!IsRaised(doc, p)) return spots;
        for (int c = 0; c < static_cast<int>(def.connectors.size()); ++c) {
            const ConnectorPose pose = GetConnectorPose(p, def, c);
            const double top = EndHeight(p, def, c);
            if (!OnDeck(doc, pose.x, pose.y, top) && top - base >= kMinPierHeight)
                spots.push_back({pose.x, pose.y, p.heading, base, top});
        }
        return spots;
    }
    PointMm end;
    if (def.radius > 0 && def.connectors.size() >= 2) {
        const ConnectorPose pose = GetConnectorPose(p, def, 1);
        end = {pose.x, pose.y};
    } else {
        end = {p.x + std::cos(p.heading * kDegToRad) * def.length,
               p.y + std::sin(p.heading * kDegToRad) * def.length};
    }
    if (!joinedToBridge && p.elevation - base >= kMinPierHeight)
        spots.push_back({p.x, p.y, p.heading, base, p.elevation});
    // The end pier reaches the track where it ends: a ramp has climbed by then.
    const double endTop = p.elevation + std::sin(p.grade * kDegToRad) * RunLength(def);
    if (endTop - base >= kMinPierHeight) spots.push_back({end.x, end.y, p.heading, base, endTop});
    return spots;
}

// The supports made so far, found by the 2 mm cell they stand in: a support within 2 mm (in x
// and in y) of one already made is not made again.
class SupportGrid {
public:
    explicit SupportGrid(size_t expected) {
        head.reserve(expected * 2);
        points.reserve(expected);
        next.reserve(expected);
    }
    bool Near(double x, double y) const {
        if (!std::isfinite(x) || !std::isfinite(y)) return false;
        const int64_t cx = Cell(x), cy = Cell(y);
        for (int64_t i = cx - 1; i <= cx + 1; ++i) {
            for (int64_t j = cy - 1; j <= cy + 1; ++j) {
                const auto it = head.find(Key(i, j));
                for (uint32_t k = it == head.end() ? 0 : it->second; k != 0; k = next[k - 1]) {
                    const PointMm& q = points[k - 1];
                    if (std::abs(q.x - x) <= kMinPierHeight && std::abs(q.y - y) <= kMinPierHeight)
                        return true;
                }
            }
        }
        return false;
    }
    void Add(double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        uint32_t& h = head[Key(Cell(x), Cell(y))];
        points.push_back({x, y});
        next.push_back(h);
        h = static_cast<uint32_t>(points.size());
    }

private:
    static int64_t Cell(double v) {
        return static_cast<int64_t>(std::floor(std::clamp(v, -1e15, 1e15) / kMinPierHeight));
    }
    static uint64_t Key(int64_t x, int64_t y) {
        return static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(y);
    }
    std::unordered_map<uint64_t, uint32_t> head;  // cell -> its latest point, counted from 1
    std::vector<PointMm> points;
    std::vector<uint32_t> next;  // the point made before in the same cell, counted from 1
};

// One `addPier(mesh, spot)` per wanted pier; a pier not made is folded to a point, so that its
// chunk keeps its size when it is made later.
template <typename AddPier>
Mesh PiersMesh(const PierSource& source, AddPier addPier) {
    Mesh m;
    for (size_t k = 0; k < source.wanted.size(); ++k) {
        const uint32_t vertex = static_cast<uint32_t>(m.VertexCount());
        const size_t index = m.indices.size();
        addPier(m, source.wanted[k]);
        // Piers are much alike: room for the rest at the size of the first.
        if (k == 0)
            m.Reserve(m.VertexCount() * source.wanted.size(),
                      m.indices.size() * source.wanted.size());
        if (k >= source.made.size() || !source.made[k])
            std::fill(m.indices.begin() + static_cast<std::ptrdiff_t>(index), m.indices.end(),
                      vertex);
    }
    return m;
}

Mesh PierMesh(const PierSource& source) {
    return PiersMesh(source, [](Mesh& m, const PierSpot& s) {
        AddPier(m, s.x, -s.y, s.headingDeg, s.baseZ, s.topZ);
    });
}

// The piers as far away shows them: a box over each pier's footprint (22 mm along the track, 36
// across).
Mesh FarPierMesh(const PierSource& source) {
    return PiersMesh(source, [](Mesh& m, const PierSpot& s) {
        AddTurnedBox(m, s.x, -s.y, -s.headingDeg * kDegToRad, 22, 36, s.baseZ, s.topZ, kPierTop,
                     kPierSide);
    });
}

// Brings chunks [base, base + oldCount) of `mesh` up to date with `newCount` sources: only the
// chunks whose source is not the same as before are made again. `same(i, j)` compares old source
// i with new source j; `make(j)` makes the chunk of new source j.
template <typename Same, typename Make>
void UpdateChunks(ChunkedMesh& mesh, size_t base, size_t oldCount, size_t newCount, Same same,
                  Make make) {
    auto remake = [&](size_t from, size_t to, size_t newFrom, size_t newTo) {
        std::vector<Mesh> parts;
        parts.reserve(newTo - newFrom);
        for (size_t j = newFrom; j < newTo; ++j) parts.push_back(make(j));
        mesh.Splice(base + from, base + to, parts);
    };
    if (oldCount == newCount) {
        for (size_t i = 0; i < newCount;) {
            if (same(i, i)) {
                ++i;
                continue;
            }
            size_t j = i + 1;
            while (j < newCount && !same(j, j)) ++j;
            remake(i, j, i, j);
            i = j;
        }
        return;
    }
    // Pieces added or taken away: what stays before and after them keeps its chunks.
    size_t front = 0;
    while (front < oldCount && front < newCount && same(front, front)) ++front;
    size_t back = 0;
    while (back < oldCount - front && back < newCount - front &&
           same(oldCount - 1 - back, newCount - 1 - back))
        ++back;
    remake(front, oldCount - back, front, newCount - back);
}

void AddScenery(Scene3D& scene, const LayoutDocument& doc) {
    const SceneryCatalog& catalog = SceneryCatalog::Instance();
    for (const SceneryItem& item : doc.scenery) {
        const SceneryDef* def = catalog.Find(item.item);
        if (!def || !LevelVisible(doc, item.level)) continue;
        if (!scene.sceneryModels.contains(def->id))
            scene.sceneryModels.emplace(def->id, BuildSceneryModel(*def));
        SceneryInstance s;
        s.item = def->id;
        s.x = static_cast<float>(item.x);
        s.y = static_cast<float>(-item.y);
        s.z = static_cast<float>(LevelHeight(doc, item.level));
        s.rotationDeg = static_cast<float>(-item.heading);
        s.halfWidth = static_cast<float>(def->width * 0.5);
        s.halfDepth = static_cast<float>(def->depth * 0.5);
        s.scaleX = static_cast<float>(item.scaleX);
        s.scaleY = static_cast<float>(item.scaleY);
        scene.scenery.push_back(s);
        scene.bounds.Add(item.x, -item.y);
        scene.bounds.Add(item.x + def->width, -(item.y + def->depth));
    }
}

void AddBaseboard(Scene3D& scene, const LayoutDocument& doc) {
    if (doc.baseboard.size() < 3) return;
    for (const Triangle2& t : TriangulatePolygon(doc.baseboard)) {
        const uint32_t a =
            scene.baseboard.AddVertex({t[0].x, -t[0].y, kBaseboardZ}, {0, 0, 1}, kBaseboardColour);
        const uint32_t b =
            scene.baseboard.AddVertex({t[1].x, -t[1].y, kBaseboardZ}, {0, 0, 1}, kBaseboardColour);
        const uint32_t c =
            scene.baseboard.AddVertex({t[2].x, -t[2].y, kBaseboardZ}, {0, 0, 1}, kBaseboardColour);
        // The layout's y runs down: swap two corners so the triangle faces up in world axes.
        scene.baseboard.AddTriangle(a, c, b);
    }
}

// The arched shell over one piece's main route.
void AddTunnelShell(Mesh& m, const TrackInstance& t, const TrackRoute& route) {
    constexpr int kRing = 15;
    const int n = std::max(1, route.segments);
    const uint32_t start = static_cast<uint32_t>(m.VertexCount());
    for (int i = 0; i <= n; ++i) {
        const TrackRoute::Frame f = route.At(route.length * i / n);
        const Vec3 c = PlaceOnInstance(t, {f.x, f.y, 0});
        const Vec3 side = PlaceOnInstance(t, {f.x - f.dirY, f.y + f.dirX, 0});
        double lx = side.x - c.x, ly = side.y - c.y;
        const double len = std::hypot(lx, ly);
        if (len < 1e-9) {
            lx = 0;
            ly = 1;
        } else {
            lx /= len;
            ly /= len;
        }
        for (int k = 0; k < kRing; ++k) {
            const double a = k * std::numbers::pi / (kRing - 1);
            const double ca = std::cos(a), s = std::sin(a);
            const Colour3 colour{static_cast<float>(0.55 - 0.15 * s),
                                 static_cast<float>(0.46 + 0.09 * s),
                                 static_cast<float>(0.36 - 0.04 * s)};
            m.AddVertex({c.x + ca * 60 * lx, c.y + ca * 60 * ly, c.z + s * 90},
                        {ca * lx, ca * ly, s}, colour);
        }
    }
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k + 1 < kRing; ++k) {
            const uint32_t a = start + i * kRing + k, b = a + kRing;
            m.AddTriangle(a, b, b + 1);
            m.AddTriangle(a, b + 1, a + 1);
        }
    }
}

void AddTunnels(Scene3D& scene, const LayoutDocument& doc, const TrackCatalog& catalog) {
    for (const Tunnel& tunnel : doc.tunnels) {
        for (uint32_t id : tunnel.covers) {
            const PlacedPiece* p = PieceById(scene.memo, doc, id);
            const PieceDef* def = p ? catalog.Find(p->article) : nullptr;
            if (!def || !LevelVisible(doc, p->level)) continue;
            const std::vector<TrackRoute> routes = TrackRoutes(*def);
            if (routes.empty()) continue;
            const TrackInstance t =
                MakeInstance(def->article, p->x, p->y, p->elevation, p->heading, p->grade, 0);
            AddTunnelShell(scene.tunnels, t, routes.front());
        }
    }
}

}  // namespace

void SceneBounds::Add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    minX = std::min(minX, x);
    minY = std::min(minY, y);
    maxX = std::max(maxX, x);
    maxY = std::max(maxY, y);
    any = true;
}

bool AddPier(Mesh& m, double x, double y, double headingDeg, double baseZ, double topZ) {
    if (!(topZ - baseZ >= kMinPierHeight)) return false;
    // Along the track (u) and across it (v) in world axes: the layout heading turns the other
    // way once y is mirrored.
    const double h = -headingDeg * kDegToRad;
    const double ux = std::cos(h), uy = std::sin(h), vx = -uy, vy = ux;
    std::vector<Vec3> outline;
    for (double centre : {7.0, -7.0}) {
        const double from = centre > 0 ? 0.0 : 180.0;
        for (int k = 0; k < 9; ++k) {
            const double phi = (from + 22.5 * k) * kDegToRad;
            const double u = 11 * std::cos(phi), v = centre + 11 * std::sin(phi);
            outline.push_back({x + u * ux + v * vx, y + u * uy + v * vy, 0});
        }
    }
    AddPrism(m, outline, baseZ, topZ, kPierTop, kPierSide, kPierBottom);
    return true;
}

Vec3 PlaceOnInstance(const TrackInstance& t, Vec3 local) {
    const double g = t.tiltDeg * kDegToRad, r = t.rotationDeg * kDegToRad;
    // Mirror y, tilt about y by minus the grade, turn about z, move to the position.
    const double mx = local.x, my = -local.y, mz = local.z;
    const double tx = mx * std::cos(g) - mz * std::sin(g);
    const double tz = mx * std::sin(g) + mz * std::cos(g);
    return {t.x + tx * std::cos(r) - my * std::sin(r), t.y + tx * std::sin(r) + my * std::cos(r),
            t.z + tz};
}

void AppendPlaced(Mesh& batch, const Mesh& local, const TrackInstance& t) {
    // PlaceOnInstance with its sines taken once per instance.
    const double g = t.tiltDeg * kDegToRad, r = t.rotationDeg * kDegToRad;
    const double cg = std::cos(g), sg = std::sin(g), cr = std::cos(r), sr = std::sin(r);
    const size_t first = batch.VertexCount(), count = local.VertexCount();
    batch.positions.resize(3 * (first + count));
    batch.normals.resize(3 * (first + count));
    float* position = batch.positions.data() + 3 * first;
    float* normal = batch.normals.data() + 3 * first;
    auto place = [&](const float* v, double dx, double dy, double dz, float* out) {
        const double mx = v[0], my = -v[1], mz = v[2];
        const double tx = mx * cg - mz * sg, tz = mx * sg + mz * cg;
        out[0] = static_cast<float>(dx + tx * cr - my * sr);
        out[1] = static_cast<float>(dy + tx * sr + my * cr);
        out[2] = static_cast<float>(dz + tz);
    };
    for (size_t v = 0; v < count; ++v) {
        place(&local.positions[3 * v], t.x, t.y, t.z, position + 3 * v);
        place(&local.normals[3 * v], 0, 0, 0, normal + 3 * v);
    }
    batch.colours.insert(batch.colours.end(), local.colours.begin(), local.colours.end());
    const size_t firstIndex = batch.indices.size();
    batch.indices.insert(batch.indices.end(), local.indices.begin(), local.indices.end());
    if (first == 0) return;
    for (size_t k = firstIndex; k < batch.indices.size(); ++k)
        batch.indices[k] += static_cast<uint32_t>(first);
}

namespace {

// The curves of a helix whose first piece is `first` (null when it has none).
std::vector<TrackInstance> HelixInstancesOn(const Helix& helix, const PlacedPiece* first) {
    std::vector<TrackInstance> out;
    const HelixVariant* v = FindHelixVariant(helix.variant);
    if (!v) v = FindHelixVariant(DefaultHelixVariantId());
    if (!v) return out;
    const TrackCatalog& catalog = TrackCatalog::Instance();
    const PieceDef* inner = catalog.Find(v->innerCurveArticle);
    const PieceDef* outer = catalog.Find(v->outerCurveArticle);
    if (!inner || !outer) return out;
    const double base = first ? first->elevation : 0.0;
    const double turns = std::clamp(v->turns, 0.0, 1000.0);
    const int n = static_cast<int>(turns * 12);
    if (n <= 0) return out;
    const double step = v->rise / n;
    for (const auto& [def, radius] : {std::pair{inner, v->radiusInner}, {outer, v->radiusOuter}}) {
        const double length = radius * std::numbers::pi / 6;
        // Piece i runs from angle a towards the lower piece i - 1: seen along the piece the
        // spiral falls, so the piece tilts down by the climb angle.
        const double climb =
            length > 0.001 ? std::asin(std::clamp(step / length, -1.0, 1.0)) / kDegToRad : 0.0;
        for (int i = 1; i <= n; ++i) {
            const double a = -90.0 - 30.0 * i;
            const double ar = (a + helix.heading) * kDegToRad;
            const double x = helix.x + radius * std::cos(ar), y = helix.y + radius * std::sin(ar);
            out.push_back(MakeInstance(def->article, x, y, base + i * step, a + 90 + helix.heading,
                                       -climb, length));
        }
    }
    return out;
}

}  // namespace

std::vector<TrackInstance> HelixInstances(const LayoutDocument& doc, const Helix& helix) {
    return HelixInstancesOn(helix, doc.FindPiece(helix.bottomR1));
}

bool IsRaised(const LayoutDocument& doc, const PlacedPiece& p) {
    const PieceDef* def = TrackCatalog::Instance().Find(p.article);
    if (!def || !(p.elevation - LevelHeight(doc, p.level) > kMinPierHeight)) return false;
    for (int c = 0; c < static_cast<int>(def->connectors.size()); ++c) {
        const ConnectorPose end = GetConnectorPose(p, *def, c);
        if (!OnDeck(doc, end.x, end.y, EndHeight(p, *def, c))) return true;
    }
    return false;
}

double SceneryDrawOffset(const std::string& item) { return item == "bridge_truss" ? -4.0 : -1.0; }

namespace {

// The far mesh of an instance placed in world axes.
Mesh PlacedFarMesh(const Scene3D& scene, const TrackInstance& t) {
    Mesh out;
    const auto it = scene.farPieceMeshes.find(t.article);
    if (it != scene.farPieceMeshes.end()) AppendPlaced(out, it->second, t);
    return out;
}

bool SameKey(const PlacedPiece& key, const PlacedPiece& p) {
    return key.id == p.id && key.x == p.x && key.y == p.y && key.heading == p.heading &&
           key.elevation == p.elevation && key.grade == p.grade && key.level == p.level &&
           key.article == p.article &&
           (p.IsOpen(0) ? key.joints.empty() : !key.joints.empty() && key.joints[0] == p.joints[0]);
}

// A bridge's start pier depends on the piece joined to it being a bridge too.
bool JoinedToBridge(const Scene3D& scene, const LayoutDocument& doc, const TrackCatalog& catalog,
                    const PlacedPiece& p) {
    if (p.IsOpen(0)) return false;
    const PlacedPiece* other = PieceById(scene.memo, doc, p.joints[0].target);
    const PieceDef* otherDef = other ? catalog.Find(other->article) : nullptr;
    return otherDef && otherDef->isBridge;
}

// What a piece gives the scene: its instance and where it wants supports.
PieceMemo MakePieceMemo(Scene3D& scene, const LayoutDocument& doc, const TrackCatalog& catalog,
                        const PlacedPiece& p) {
    PieceMemo m;
    m.piece.id = p.id;
    m.piece.article = p.article;
    m.piece.x = p.x;
    m.piece.y = p.y;
    m.piece.heading = p.heading;
    m.piece.elevation = p.elevation;
    m.piece.grade = p.grade;
    m.piece.level = p.level;
    if (!p.IsOpen(0)) m.piece.joints = {p.joints[0]};
    const PieceDef* def = catalog.Find(p.article);
    if (!def || !LevelVisible(doc, p.level)) return m;
    CachedPieceMesh(scene, *def);
    m.drawn = true;
    m.bridge = def->isBridge;
    m.instance = MakeInstance(def->article, p.x, p.y, p.elevation, p.heading, p.grade, def->length);
    const bool joinedToBridge = def->isBridge && JoinedToBridge(scene, doc, catalog, p);
    m.joinedToBridge = joinedToBridge;
    m.piers.wanted = WantedPiers(doc, p, *def, joinedToBridge);
    return m;
}

// What the pieces changed since the last rebuild.
struct PieceUpdate {
    bool sameOrder = false;      // the same ids in the same order as before
    bool wantedChanged = false;  // some piece wants other supports (or the levels changed)
    std::vector<uint32_t> changedIds;
    // What each old chunk of the piers was made from, in the old order (when it changed).
    std::vector<PierSource> oldPiers;
};

// The pieces: the same id at the same place as before keeps what it gave unless it changed.
PieceUpdate UpdatePieceMemos(Scene3D& scene, const LayoutDocument& doc, const TrackCatalog& catalog,
                             bool levelsChanged) {
    SceneMemo& memo = scene.memo;
    PieceUpdate update;
    bool sameOrder = memo.valid && memo.pieces.size() == doc.pieces.size();
    for (size_t i = 0; sameOrder && i < doc.pieces.size(); ++i)
        sameOrder = memo.pieces[i].piece.id == doc.pieces[i].id;
    update.sameOrder = sameOrder;
    std::unordered_map<uint32_t, size_t> oldIndex;
    std::vector<PieceMemo> oldPieces;
    if (!sameOrder) {
        oldIndex = std::move(memo.indexOfId);
        memo.indexOfId.clear();
        memo.indexOfId.reserve(doc.pieces.size());
        for (size_t i = 0; i < doc.pieces.size(); ++i) memo.indexOfId.emplace(doc.pieces[i].id, i);
        update.oldPiers.reserve(memo.pieces.size());
        for (const PieceMemo& m : memo.pieces) update.oldPiers.push_back(m.piers);
        oldPieces = std::move(memo.pieces);
    }
    memo.pieces.resize(doc.pieces.size());
    update.wantedChanged = !sameOrder || levelsChanged;
    for (size_t i = 0; i < doc.pieces.size(); ++i) {
        const PlacedPiece& p = doc.pieces[i];
        PieceMemo* before = nullptr;
        if (sameOrder) {
            before = &memo.pieces[i];
        } else if (const auto it = oldIndex.find(p.id); it != oldIndex.end()) {
            before = &oldPieces[it->second];
        }
        const bool keep =
            before && !levelsChanged && SameKey(before->piece, p) &&
            (!before->bridge || before->joinedToBridge == JoinedToBridge(scene, doc, catalog, p));
        if (keep) {
            if (!sameOrder) memo.pieces[i] = std::move(*before);
            continue;
        }
        PieceMemo now = MakePieceMemo(scene, doc, catalog, p);
        if (before && before->piers.wanted == now.piers.wanted) {
            now.piers.made = std::move(before->piers.made);
        } else {
            update.wantedChanged = true;
            now.piersStale = true;
        }
        memo.pieces[i] = std::move(now);
        update.changedIds.push_back(p.id);
    }
    return update;
}

// Supports merged in document order, after the helix columns: which of the wanted ones are made.
void MergeSupports(SceneMemo& memo, const std::vector<PointMm>& columnPoints) {
    size_t wanted = columnPoints.size();
    for (const PieceMemo& m : memo.pieces) wanted += m.piers.wanted.size();
    SupportGrid grid(wanted);
    for (const PointMm& q : columnPoints) grid.Add(q.x, q.y);
    std::vector<char> made;
    for (PieceMemo& m : memo.pieces) {
        made.assign(m.piers.wanted.size(), 0);
        for (size_t k = 0; k < made.size(); ++k) {
            const PierSpot& s = m.piers.wanted[k];
            if (grid.Near(s.x, s.y)) continue;
            made[k] = 1;
            grid.Add(s.x, s.y);
        }
        if (made != m.piers.made) {
            m.piers.made = made;
            m.piersStale = true;
        }
    }
}

// The far batch and the piers, remade only where their sources changed.
void UpdateChunkedMeshes(Scene3D& scene, const std::vector<TrackInstance>& tracks,
                         Mesh helixColumns, PieceUpdate& update) {
    SceneMemo& memo = scene.memo;
    if (!memo.valid) {
        scene.farBatch.Clear();
        scene.piers.Clear();
        scene.piers.Append(Mesh{});  // helix columns
        scene.piers.Append(Mesh{});  // deck legs
        scene.farPiers.Clear();
        scene.farMade = false;
    }
    if (scene.farMade)
        UpdateChunks(
            scene.farBatch, 0, scene.farBatch.ChunkCount(), tracks.size(),
            [&](size_t i, size_t j) { return scene.tracks[i] == tracks[j]; },
            [&](size_t j) { return PlacedFarMesh(scene, tracks[j]); });
    if (helixColumns != memo.helixColumns) {
        scene.piers.Splice(0, 1, {helixColumns});
        memo.helixColumns = std::move(helixColumns);
    }
    if (!update.wantedChanged) return;
    const size_t oldCount = scene.piers.ChunkCount() - 2;
    // Old chunk i was made from oldPiers[i]; a piece without piers has an empty one.
    if (!update.sameOrder) update.oldPiers.resize(oldCount);
    auto same = [&](size_t i, size_t j) {
        return update.sameOrder ? !memo.pieces[i].piersStale
                                : update.oldPiers[i] == memo.pieces[j].piers;
    };
    UpdateChunks(scene.piers, 1, oldCount, memo.pieces.size(), same,
                 [&](size_t j) { return PierMesh(memo.pieces[j].piers); });
    if (scene.farMade)
        UpdateChunks(scene.farPiers, 0, oldCount, memo.pieces.size(), same,
                     [&](size_t j) { return FarPierMesh(memo.pieces[j].piers); });
    for (PieceMemo& m : memo.pieces) m.piersStale = false;
}

// The decks and their legs (the last chunk of the piers), after a change of the levels.
void UpdateDecks(Scene3D& scene, const LayoutDocument& doc) {
    Mesh decks, legs;
    AddDecks(decks, legs, doc);
    if (decks != scene.decks) {
        scene.decks = std::move(decks);
        scene.changes.decks = true;
    }
    if (legs != scene.memo.deckLegs) {
        scene.piers.Splice(scene.piers.ChunkCount() - 1, scene.piers.ChunkCount(), {legs});
        scene.memo.deckLegs = std::move(legs);
    }
}

// The tunnels, remade when their records or a piece they cover changed.
void UpdateTunnels(Scene3D& scene, const LayoutDocument& doc, const TrackCatalog& catalog,
                   bool redo, const std::vector<uint32_t>& changedIds) {
    SceneMemo& memo = scene.memo;
    bool tunnelsChanged = redo || memo.tunnels != doc.tunnels;
    if (!tunnelsChanged && !changedIds.empty()) {
        const std::unordered_set<uint32_t> changed(changedIds.begin(), changedIds.end());
        for (const Tunnel& t : doc.tunnels)
            for (uint32_t id : t.covers) tunnelsChanged = tunnelsChanged || changed.contains(id);
    }
    if (!tunnelsChanged) return;
    memo.tunnels = doc.tunnels;
    Mesh before = std::move(scene.tunnels);
    scene.tunnels.Clear();
    AddTunnels(scene, doc, catalog);
    if (scene.tunnels != before) scene.changes.tunnels = true;
}

}  // namespace

void MakeFarMeshes(Scene3D& scene) {
    if (scene.farMade) return;
    std::vector<Mesh> parts;
    parts.reserve(scene.tracks.size());
    for (const TrackInstance& t : scene.tracks) parts.push_back(PlacedFarMesh(scene, t));
    scene.farBatch.Clear();
    scene.farBatch.Splice(0, 0, parts);
    parts.clear();
    for (const PieceMemo& m : scene.memo.pieces) parts.push_back(FarPierMesh(m.piers));
    scene.farPiers.Clear();
    scene.farPiers.Splice(0, 0, parts);
    scene.farMade = true;
}

void RebuildScene(Scene3D& scene, const LayoutDocument& doc) {
    const TrackCatalog& catalog = TrackCatalog::Instance();
    SceneMemo& memo = scene.memo;
    const bool fresh = !memo.valid;
    // Heights, visibility and decks of the levels reach every piece: a change there redoes all.
    const bool levelsChanged = fresh || memo.levels != doc.levels;
    if (levelsChanged) memo.levels = doc.levels;
    PieceUpdate update = UpdatePieceMemos(scene, doc, catalog, levelsChanged);

    // Track instances: the pieces', then the helices'.
    std::vector<TrackInstance> tracks;
    tracks.reserve(doc.pieces.size());
    for (const PieceMemo& m : memo.pieces)
        if (m.drawn) tracks.push_back(m.instance);
    Mesh helixColumns;
    std::vector<PointMm> columnPoints;
    AddHelices(scene, doc, catalog, tracks, helixColumns, columnPoints);
    if (columnPoints != memo.helixColumnPoints) update.wantedChanged = true;
    if (update.wantedChanged) MergeSupports(memo, columnPoints);
    UpdateChunkedMeshes(scene, tracks, std::move(helixColumns), update);
    memo.helixColumnPoints = std::move(columnPoints);
    scene.pierChunkOfTrack.assign(tracks.size(), Scene3D::kNoPiers);
    for (size_t i = 0, t = 0; i < memo.pieces.size(); ++i)
        if (memo.pieces[i].drawn) scene.pierChunkOfTrack[t++] = static_cast<uint32_t>(i);
    scene.tracks = std::move(tracks);

    // Decks, their legs, the baseboard and the tunnels: remade when what they stand on changed.
    if (levelsChanged) UpdateDecks(scene, doc);
    if (fresh || memo.baseboard != doc.baseboard) {
        memo.baseboard = doc.baseboard;
        scene.baseboard.Clear();
        AddBaseboard(scene, doc);
        scene.changes.baseboard = true;
    }
    UpdateTunnels(scene, doc, catalog, fresh || levelsChanged || !update.sameOrder,
                  update.changedIds);

    // Scenery is few items: made again every time, from the models kept.
    scene.scenery.clear();
    scene.bounds = SceneBounds{};
    for (const TrackInstance& t : scene.tracks) AddInstanceBounds(scene.bounds, t);
    AddScenery(scene, doc);
    memo.valid = true;
}
