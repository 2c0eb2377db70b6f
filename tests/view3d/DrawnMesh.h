// What of a mesh is drawn: the vertices that triangles of non-zero size use, in their order.
// (The piers mesh keeps the vertices of piers it does not make, their triangles folded.)
#pragma once

#include <cstdint>
#include <vector>

#include "view3d/Mesh.h"

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
