// A large mesh made of consecutive chunks (one per track instance, one per piece's piers) that
// an edit replaces a few at a time, and the record of what changed since the window last copied
// it to the graphics card.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "view3d/Mesh.h"

// What changed in a mesh: all of it (its size changed), or a range of vertices and one of
// indices (the rest kept its place and values).
struct MeshChange {
    bool whole = false;
    size_t firstVertex = std::numeric_limits<size_t>::max();
    size_t endVertex = 0;
    size_t firstIndex = std::numeric_limits<size_t>::max();
    size_t endIndex = 0;

    bool Any() const { return whole || firstVertex < endVertex || firstIndex < endIndex; }
    void MarkWhole() { whole = true; }
    void Mark(size_t vertexFrom, size_t vertexTo, size_t indexFrom, size_t indexTo);
};

// Chunk i holds vertices vertexStart[i] to vertexStart[i + 1] and the indices first[i] to
// first[i + 1], which refer only to its own vertices.
struct ChunkedMesh {
    Mesh mesh;
    std::vector<uint32_t> first{0};
    std::vector<uint32_t> vertexStart{0};
    MeshChange change;

    size_t ChunkCount() const { return first.size() - 1; }
    void Clear();
    void Append(const Mesh& part);
    // Replaces chunks [from, to) by `parts`: in place when every part has the size of the chunk
    // it replaces, else the chunks after them move up or down, their indices renumbered.
    void Splice(size_t from, size_t to, const std::vector<Mesh>& parts);
};
