// Every triangle the 3D view draws is wound counter-clockwise about its normals, as seen from in
// front in the mesh's own axes: the window culls back faces by their winding.
#include <gtest/gtest.h>

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

// The triangles (by their first index) whose winding disagrees with their vertices' normals.
std::vector<size_t> WrongTriangles(const Mesh& m) {
    std::vector<size_t> wrong;
    for (size_t t = 0; t + 2 < m.indices.size(); t += 3) {
        const uint32_t a = m.indices[t], b = m.indices[t + 1], c = m.indices[t + 2];
        const Vec3 pa = At(m.positions, a);
        const Vec3 g = Cross(Minus(At(m.positions, b), pa), Minus(At(m.positions, c), pa));
        if (Dot(g, g) < 1e-12) continue;  // no area: nothing is drawn
        const Vec3 na = At(m.normals, a), nb = At(m.normals, b), nc = At(m.normals, c);
        const Vec3 n{na.x + nb.x + nc.x, na.y + nb.y + nc.y, na.z + nb.z + nc.z};
        if (Dot(g, n) <= 0) wrong.push_back(t);
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

TEST(MeshWinding, PiersAndTheirFarBoxes) {
    Mesh m;
    ASSERT_TRUE(AddPier(m, 50, -20, 30, 0, 40));
    AddTurnedBox(m, 50, -20, 0.5, 22, 36, 0, 40, kPierTop, kPierSide);
    EXPECT_EQ(WrongTriangles(m), std::vector<size_t>{});
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
