// Consecutive chunks of a chunked mesh gathered into runs, so that each run is one draw.
#pragma once

#include <cstddef>
#include <optional>

#include "view3d/ChunkedMesh.h"

// The indices firstIndex to endIndex of the mesh, whose vertices lie within lowVertex to
// highVertex (both included).
struct ChunkRun {
    size_t lowVertex = 0;
    size_t highVertex = 0;
    size_t firstIndex = 0;
    size_t endIndex = 0;
    bool operator==(const ChunkRun&) const = default;
};

// Takes chunks in ascending order. A chunk right after the pending run extends it, an empty one
// too; any other chunk with triangles finishes the pending run and starts the next. An empty
// chunk starts nothing, and chunks past the last one are ignored.
class ChunkRuns {
public:
    explicit ChunkRuns(const ChunkedMesh& mesh) : mesh(mesh) {}
    // The run `chunk` finished, if it finished one that has triangles.
    std::optional<ChunkRun> Add(size_t chunk);
    // Finishes the pending run: returned when it has triangles.
    std::optional<ChunkRun> Flush();

private:
    const ChunkedMesh& mesh;
    size_t start = 0;
    size_t end = 0;
};
