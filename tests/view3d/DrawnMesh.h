// Reading meshes back in the 3D tests: what of a mesh is drawn, its colours, its extent and the
// winding of its triangles.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "view3d/Mesh.h"
#include "view3d/Scene3D.h"

inline Colour3 ColourAt(const Mesh& m, size_t v) {
    return {m.colours[3 * v], m.colours[3 * v + 1], m.colours[3 * v + 2]};
}

inline int CountColour(const Mesh& m, Colour3 c) {
    int n = 0;
    for (size_t v = 0; v < m.VertexCount(); ++v) n += ColourAt(m, v) == c;
    return n;
}

struct Box3 {
    double minX = 1e9, minY = 1e9, minZ = 1e9, maxX = -1e9, maxY = -1e9, maxZ = -1e9;
};

// The box round the vertices, or round those whose colour `only` accepts.
inline Box3 Extent(const Mesh& m, const std::function<bool(Colour3)>& only = nullptr) {
    Box3 b;
    for (size_t v = 0; v < m.VertexCount(); ++v) {
        if (only && !only(ColourAt(m, v))) continue;
        const float* p = &m.positions[3 * v];
        b.minX = std::min<double>(b.minX, p[0]);
        b.maxX = std::max<double>(b.maxX, p[0]);
        b.minY = std::min<double>(b.minY, p[1]);
        b.maxY = std::max<double>(b.maxY, p[1]);
        b.minZ = std::min<double>(b.minZ, p[2]);
        b.maxZ = std::max<double>(b.maxZ, p[2]);
    }
    return b;
}
inline double MinZ(const Mesh& m) { return Extent(m).minZ; }
inline double MaxZ(const Mesh& m) { return Extent(m).maxZ; }

// What of a mesh is drawn: the vertices that triangles of non-zero size use, in their order.
// (The piers mesh keeps the vertices of piers it does not make, their triangles folded.)

inline Mesh Drawn(const Mesh& m) {
    std::vector<char> used(m.VertexCount(), 0);
    for (size_t t = 0; t + 2 < m.indices.size(); t += 3) {
        const uint32_t a = m.indices[t], b = m.indices[t + 1], c = m.indices[t + 2];
        if (a == b && b == c) continue;
        used[a] = used[b] = used[c] = 1;
    }
    Mesh out;
    std::vector<uint32_t> renumber(m.VertexCount(), 0);
    for (size_t v = 0; v < m.VertexCount(); ++v) {
        if (!used[v]) continue;
        renumber[v] = static_cast<uint32_t>(out.VertexCount());
        for (int k = 0; k < 3; ++k) {
            out.positions.push_back(m.positions[3 * v + k]);
            out.normals.push_back(m.normals[3 * v + k]);
            out.colours.push_back(m.colours[3 * v + k]);
        }
    }
    for (size_t t = 0; t + 2 < m.indices.size(); t += 3) {
        const uint32_t a = m.indices[t], b = m.indices[t + 1], c = m.indices[t + 2];
        if (a == b && b == c) continue;
        out.AddTriangle(renumber[a], renumber[b], renumber[c]);
    }
    return out;
}

// Piers share three colours; their top faces alone carry kPierTop, 18 corners each.
inline int PierCount(const Scene3D& s) { return CountColour(Drawn(s.piers.mesh), kPierTop) / 18; }

inline Vec3 At(const std::vector<float>& v, uint32_t i) {
    return {v[3 * i], v[3 * i + 1], v[3 * i + 2]};
}
inline Vec3 Minus(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The triangles (by their first index) whose winding disagrees with their vertices' normals.
inline std::vector<size_t> WrongTriangles(const Mesh& m) {
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
