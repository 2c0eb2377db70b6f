// Replacing chunks of a large mesh without rebuilding the rest.
#include "view3d/ChunkedMesh.h"

#include <algorithm>

void MeshChange::Mark(size_t vertexFrom, size_t vertexTo, size_t indexFrom, size_t indexTo) {
    if (vertexFrom < vertexTo) {
        firstVertex = std::min(firstVertex, vertexFrom);
        endVertex = std::max(endVertex, vertexTo);
    }
    if (indexFrom < indexTo) {
        firstIndex = std::min(firstIndex, indexFrom);
        endIndex = std::max(endIndex, indexTo);
    }
}

void ChunkedMesh::Clear() {
    mesh.Clear();
    first.assign(1, 0);
    vertexStart.assign(1, 0);
    change.MarkWhole();
}

void ChunkedMesh::Append(const Mesh& part) {
    mesh.Append(part);
    first.push_back(static_cast<uint32_t>(mesh.indices.size()));
    vertexStart.push_back(static_cast<uint32_t>(mesh.VertexCount()));
    change.MarkWhole();
}

namespace {

template <typename T>
void Replace(std::vector<T>& v, size_t from, size_t to, size_t count, const T* values) {
    if (to - from == count) {
        std::copy(values, values + count, v.begin() + static_cast<std::ptrdiff_t>(from));
        return;
    }
    v.erase(v.begin() + static_cast<std::ptrdiff_t>(from), v.begin() + static_cast<std::ptrdiff_t>(to));
    v.insert(v.begin() + static_cast<std::ptrdiff_t>(from), values, values + count);
}

}  // namespace

void ChunkedMesh::Splice(size_t from, size_t to, const std::vector<Mesh>& parts) {
    from = std::min(from, ChunkCount());
    to = std::clamp(to, from, ChunkCount());
    bool sameSizes = parts.size() == to - from;
    for (size_t k = 0; sameSizes && k < parts.size(); ++k)
        sameSizes = parts[k].VertexCount() == vertexStart[from + k + 1] - vertexStart[from + k] &&
                    parts[k].indices.size() == first[from + k + 1] - first[from + k];
    const size_t v0 = vertexStart[from], v1 = vertexStart[to];
    const size_t i0 = first[from], i1 = first[to];
    // The new chunks, their indices numbered from v0.
    Mesh joined;
    std::vector<uint32_t> partFirst, partVertex;
    for (const Mesh& p : parts) {
        partFirst.push_back(static_cast<uint32_t>(i0 + joined.indices.size()));
        partVertex.push_back(static_cast<uint32_t>(v0 + joined.VertexCount()));
        joined.Append(p);
    }
    for (uint32_t& i : joined.indices) i += static_cast<uint32_t>(v0);
    Replace(mesh.positions, 3 * v0, 3 * v1, joined.positions.size(), joined.positions.data());
    Replace(mesh.normals, 3 * v0, 3 * v1, joined.normals.size(), joined.normals.data());
    Replace(mesh.colours, 3 * v0, 3 * v1, joined.colours.size(), joined.colours.data());
    Replace(mesh.indices, i0, i1, joined.indices.size(), joined.indices.data());
    if (sameSizes) {
        change.Mark(v0, v1, i0, i1);
        return;
    }
    // The chunks after the new ones moved: renumber their indices and starts.
    const int64_t vertexShift = static_cast<int64_t>(joined.VertexCount()) - static_cast<int64_t>(v1 - v0);
    const int64_t indexShift = static_cast<int64_t>(joined.indices.size()) - static_cast<int64_t>(i1 - i0);
    for (size_t k = i0 + joined.indices.size(); k < mesh.indices.size(); ++k)
        mesh.indices[k] = static_cast<uint32_t>(mesh.indices[k] + vertexShift);
    std::vector<uint32_t> newFirst(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(from));
    std::vector<uint32_t> newVertex(vertexStart.begin(),
                                    vertexStart.begin() + static_cast<std::ptrdiff_t>(from));
    newFirst.insert(newFirst.end(), partFirst.begin(), partFirst.end());
    newVertex.insert(newVertex.end(), partVertex.begin(), partVertex.end());
    for (size_t k = to; k < first.size(); ++k) {
        newFirst.push_back(static_cast<uint32_t>(first[k] + indexShift));
        newVertex.push_back(static_cast<uint32_t>(vertexStart[k] + vertexShift));
    }
    first = std::move(newFirst);
    vertexStart = std::move(newVertex);
    change.MarkWhole();
}
