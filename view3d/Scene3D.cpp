// Rebuilding the 3D scene from the layout document.
#include "view3d/Scene3D.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <unordered_set>

#include "catalog/HelixVariants.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "model/Geometry.h"
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
    }
    return &it->second;
}

void AddTrack(Scene3D& scene, const LayoutDocument& doc, const TrackCatalog& catalog) {
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = catalog.Find(p.article);
        if (!def || !LevelVisible(doc, p.level)) continue;
        CachedPieceMesh(scene, *def);
        scene.tracks.push_back(
            MakeInstance(def->article, p.x, p.y, p.elevation, p.heading, p.grade, def->length));
        AddInstanceBounds(scene.bounds, scene.tracks.back());
    }
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

void AddHelices(Scene3D& scene, const LayoutDocument& doc, const TrackCatalog& catalog,
                std::vector<PointMm>& columns) {
    for (const Helix& h : doc.helices) {
        const PlacedPiece* first = doc.FindPiece(h.bottomR1);
        if (first && !LevelVisible(doc, first->level)) continue;
        const HelixVariant* v = FindHelixVariant(h.variant);
        if (!v) v = FindHelixVariant(DefaultHelixVariantId());
        if (!v) continue;
        const PieceDef* inner = catalog.Find(v->innerCurveArticle);
        const PieceDef* outer = catalog.Find(v->outerCurveArticle);
        if (!inner || !outer) continue;
        CachedPieceMesh(scene, *inner);
        CachedPieceMesh(scene, *outer);
        for (const TrackInstance& t : HelixInstances(doc, h)) {
            scene.tracks.push_back(t);
            AddInstanceBounds(scene.bounds, t);
        }
        AddHelixColumns(scene.piers, h, *v, first ? first->elevation : 0.0, columns);
    }
}

// Piers under bridges at their start and end, and risers under every other raised piece at
// each end that does not rest on a deck: all stand on the piece's level. A support within 2 mm
// of one already made (helix columns included) or under 2 mm tall is not made.
void AddSupports(Scene3D& scene, const LayoutDocument& doc, const TrackCatalog& catalog,
                 std::vector<PointMm> made) {
    std::unordered_set<uint32_t> bridges;
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = catalog.Find(p.article);
        if (def && def->isBridge) bridges.insert(p.id);
    }
    auto place = [&](double x, double y, double heading, double base, double top) {
        for (const PointMm& q : made)
            if (std::abs(q.x - x) <= kMinPierHeight && std::abs(q.y - y) <= kMinPierHeight) return;
        if (AddPier(scene.piers, x, -y, heading, base, top)) made.push_back({x, y});
    };
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = catalog.Find(p.article);
        if (!def || !LevelVisible(doc, p.level)) continue;
        const double base = LevelHeight(doc, p.level);
        if (!bridges.contains(p.id)) {
            if (!IsRaised(doc, p)) continue;
            for (int c = 0; c < static_cast<int>(def->connectors.size()); ++c) {
                const ConnectorPose pose = GetConnectorPose(p, *def, c);
                const double top = EndHeight(p, *def, c);
                if (!OnDeck(doc, pose.x, pose.y, top)) place(pose.x, pose.y, p.heading, base, top);
            }
            continue;
        }
        PointMm end;
        if (def->radius > 0 && def->connectors.size() >= 2) {
            const ConnectorPose pose = GetConnectorPose(p, *def, 1);
            end = {pose.x, pose.y};
        } else {
            end = {p.x + std::cos(p.heading * kDegToRad) * def->length,
                   p.y + std::sin(p.heading * kDegToRad) * def->length};
        }
        const bool joinedToBridge = !p.IsOpen(0) && bridges.contains(p.joints[0].target);
        if (!joinedToBridge) place(p.x, p.y, p.heading, base, p.elevation);
        // The end pier reaches the track where it ends: a ramp has climbed by then.
        const double endTop = p.elevation + std::sin(p.grade * kDegToRad) * RunLength(*def);
        place(end.x, end.y, p.heading, base, endTop);
    }
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
            const PlacedPiece* p = doc.FindPiece(id);
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

std::vector<TrackInstance> HelixInstances(const LayoutDocument& doc, const Helix& helix) {
    std::vector<TrackInstance> out;
    const HelixVariant* v = FindHelixVariant(helix.variant);
    if (!v) v = FindHelixVariant(DefaultHelixVariantId());
    if (!v) return out;
    const TrackCatalog& catalog = TrackCatalog::Instance();
    const PieceDef* inner = catalog.Find(v->innerCurveArticle);
    const PieceDef* outer = catalog.Find(v->outerCurveArticle);
    if (!inner || !outer) return out;
    const PlacedPiece* first = doc.FindPiece(helix.bottomR1);
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

void BuildBatch(const std::vector<TrackInstance>& tracks,
                const std::unordered_map<std::string, Mesh>& meshes, InstanceBatch& out) {
    Mesh& batch = out.mesh;
    out.first.reserve(tracks.size() + 1);
    for (const TrackInstance& t : tracks) {
        out.first.push_back(static_cast<uint32_t>(batch.indices.size()));
        const auto it = meshes.find(t.article);
        if (it == meshes.end()) continue;
        const Mesh& m = it->second;
        // PlaceOnInstance with its sines taken once per instance.
        const double g = t.tiltDeg * kDegToRad, r = t.rotationDeg * kDegToRad;
        const double cg = std::cos(g), sg = std::sin(g), cr = std::cos(r), sr = std::sin(r);
        auto place = [&](const float* v, double dx, double dy, double dz) {
            const double mx = v[0], my = -v[1], mz = v[2];
            const double tx = mx * cg - mz * sg, tz = mx * sg + mz * cg;
            return Vec3{dx + tx * cr - my * sr, dy + tx * sr + my * cr, dz + tz};
        };
        const uint32_t offset = static_cast<uint32_t>(batch.VertexCount());
        for (size_t v = 0; v < m.VertexCount(); ++v)
            batch.AddVertex(place(&m.positions[3 * v], t.x, t.y, t.z),
                            place(&m.normals[3 * v], 0, 0, 0),
                            {m.colours[3 * v], m.colours[3 * v + 1], m.colours[3 * v + 2]});
        for (uint32_t index : m.indices) batch.indices.push_back(index + offset);
    }
    out.first.push_back(static_cast<uint32_t>(batch.indices.size()));
}

}  // namespace

void RebuildScene(Scene3D& scene, const LayoutDocument& doc) {
    scene = Scene3D{};
    const TrackCatalog& catalog = TrackCatalog::Instance();
    AddTrack(scene, doc, catalog);
    std::vector<PointMm> columns;
    AddHelices(scene, doc, catalog, columns);
    AddSupports(scene, doc, catalog, std::move(columns));
    AddScenery(scene, doc);
    AddBaseboard(scene, doc);
    AddDecks(scene.decks, scene.piers, doc);
    AddTunnels(scene, doc, catalog);
    BuildBatch(scene.tracks, scene.farPieceMeshes, scene.farBatch);
}
