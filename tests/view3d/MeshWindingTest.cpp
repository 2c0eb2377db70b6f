// Every triangle the 3D view draws is wound counter-clockwise about its normals, as seen from in
// front in the mesh's own axes: the window culls back faces by their winding.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "view3d/Scene3D.h"
#include "view3d/SceneryModels.h"
#include "view3d/TrackMeshes.h"

namespace {

Vec3 At(const std::vector<float>& v, uint32_t i) { return {v[3 * i], v[3 * i + 1], v[3 * i + 2]}; }
Vec3 Minus(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The triangles (by their first index) whose winding disagrees with their vertices' normals, or,
// given a centre, that face it: a convex solid's faces all face away from a point inside it.
std::vector<size_t> WrongTriangles(const Mesh& m, const Vec3* centre = nullptr) {
    std::vector<size_t> wrong;
    for (size_t t = 0; t + 2 < m.indices.size(); t += 3) {
        const uint32_t a = m.indices[t], b = m.indices[t + 1], c = m.indices[t + 2];
        const Vec3 pa = At(m.positions, a);
        const Vec3 g = Cross(Minus(At(m.positions, b), pa), Minus(At(m.positions, c), pa));
        if (Dot(g, g) < 1e-12) continue;  // no area: nothing is drawn
        const Vec3 na = At(m.normals, a), nb = At(m.normals, b), nc = At(m.normals, c);
        const Vec3 n{na.x + nb.x + nc.x, na.y + nb.y + nc.y, na.z + nb.z + nc.z};
        if (Dot(g, n) <= 0 || (centre && Dot(g, Minus(pa, *centre)) <= 0)) wrong.push_back(t);
    }
    return wrong;
}

}  // namespace

TEST(MeshWinding, EveryTrackMeshInEveryDetail) {
    for (const PieceDef& def : TrackCatalog::Instance().pieces)
        for (const TrackDetail detail : {TrackDetail::Full, TrackDetail::Distant, TrackDetail::Far})
            EXPECT_EQ(WrongTriangles(BuildPieceMesh(def, detail)), std::vector<size_t>{})
                << def.article << " detail " << static_cast<int>(detail);
}

TEST(MeshWinding, EverySceneryModel) {
    for (const SceneryDef& def : SceneryCatalog::Instance().defs)
        EXPECT_EQ(WrongTriangles(BuildSceneryModel(def)), std::vector<size_t>{}) << def.id;
}

TEST(MeshWinding, SolidsFaceOutwards) {
    const Colour3 c{0.5f, 0.5f, 0.5f};
    const std::vector<Vec3> hexagon{{10, 0, 0}, {5, 9, 0}, {-5, 9, 0},
                                    {-10, 0, 0}, {-5, -9, 0}, {5, -9, 0}};
    const struct {
        const char* what;
        std::function<void(Mesh&)> make;
        Vec3 centre;
    } solids[] = {
        {"box", [&](Mesh& m) { AddBox(m, {-4, -3, -2}, {4, 3, 2}, c, c, c); }, {0, 0, 0}},
        {"turned box", [&](Mesh& m) { AddTurnedBox(m, 5, 5, 0.7, 8, 3, 0, 4, c, c); }, {5, 5, 2}},
        {"beam", [&](Mesh& m) { AddBeam(m, {0, 0, 0}, {10, 4, 6}, 2, c); }, {5, 2, 3}},
        {"prism", [&](Mesh& m) { AddPrism(m, hexagon, -1, 3, c, c, c); }, {0, 0, 1}},
        {"cylinder", [&](Mesh& m) { AddCylinder(m, 2, 2, 5, 0, 9, 12, c, c); }, {2, 2, 4}},
        {"cone", [&](Mesh& m) { AddCone(m, 0, 0, 6, 2, 0, 8, 10, c); }, {0, 0, 3}},
        {"ellipsoid", [&](Mesh& m) { AddEllipsoid(m, {1, 2, 3}, 5, 3, 4, 6, 10, c); }, {1, 2, 3}},
        {"roof along x", [&](Mesh& m) { AddGableRoof(m, 0, 0, 10, 6, 0, 4, true, c, c); },
         {5, 3, 1}},
        {"roof along y", [&](Mesh& m) { AddGableRoof(m, 0, 0, 10, 6, 0, 4, false, c, c); },
         {5, 3, 1}},
        {"pier", [&](Mesh& m) { AddPier(m, 50, -20, 30, 0, 40); }, {50, -20, 20}},
    };
    for (const auto& s : solids) {
        Mesh m;
        s.make(m);
        ASSERT_FALSE(m.Empty()) << s.what;
        EXPECT_EQ(WrongTriangles(m, &s.centre), std::vector<size_t>{}) << s.what;
    }
}

TEST(MeshWinding, TrackSeenFromBelowShowsTheBedsUnderside) {
    // Culled, an open box would show nothing from below: the bed's underside closes it.
    const PieceDef* def = TrackCatalog::Instance().Find("24188");
    ASSERT_NE(def, nullptr);
    for (const TrackDetail detail : {TrackDetail::Full, TrackDetail::Distant}) {
        const Mesh m = BuildPieceMesh(*def, detail);
        double downArea = 0;
        for (size_t t = 0; t + 2 < m.indices.size(); t += 3) {
            const Vec3 pa = At(m.positions, m.indices[t]);
            const Vec3 g = Cross(Minus(At(m.positions, m.indices[t + 1]), pa),
                                 Minus(At(m.positions, m.indices[t + 2]), pa));
            if (g.z < 0 && pa.z < 1e-3) downArea -= g.z / 2;
        }
        EXPECT_NEAR(downArea, 2 * kBedHalfWidth * def->length, 1.0) << static_cast<int>(detail);
    }
}
