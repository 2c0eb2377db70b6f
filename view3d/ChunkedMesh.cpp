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

// Gives elements [from, to) of `v` the new count `count`, moving what follows them once; the
// elements of the new range are left for the caller to fill.
template <typename T>
void Resize(std::vector<T>& v, size_t from, size_t to, size_t count) {
    const auto at = [&](size_t k) { return v.begin() + static_cast<std::ptrdiff_t>(k); };
    if (count > to - from) {
        const size_t oldSize = v.size();
        v.resize(oldSize + count - (to - from));
        std::move_backward(at(to), at(oldSize), v.end());
    } else if (count < to - from) {
        std::move(at(to), v.end(), at(from + count));
        v.resize(v.size() - (to - from - count));
    }
}

// Keeps the first `keep` elements of `v`, with room for `more` after them; capacity still grows
// by doubling, so that one chunk appended after another does not copy the mesh each time.
template <typename T>
void Truncate(std::vector<T>& v, size_t keep, size_t more) {
    v.resize(keep);
    if (v.capacity() < keep + more) v.reserve(std::max(keep + more, 2 * v.capacity()));
}

// True when part k has the sizes of chunk from + k, for as many chunks as there are parts.
bool FitsChunks(const ChunkedMesh& m, size_t from, size_t to, const std::vector<Mesh>& parts) {
    if (parts.size() != to - from) return false;
    for (size_t k = 0; k < parts.size(); ++k)
        if (parts[k].VertexCount() != m.vertexStart[from + k + 1] - m.vertexStart[from + k] ||
            parts[k].indices.size() != m.first[from + k + 1] - m.first[from + k])
            return false;
    return true;
}

// The vertices [v0, v1) and indices [i0, i1) of the mesh, replaced by room for the new counts.
// Nothing follows the replaced chunks (as when a scene is built from nothing): the mesh is cut
// there for the parts to be appended. Otherwise room is made where the old chunks were, moving
// what follows once.
void MakeRoom(Mesh& mesh, bool atEnd, size_t v0, size_t v1, size_t i0, size_t i1,
              size_t newVertices, size_t newIndices) {
    if (atEnd) {
        Truncate(mesh.positions, 3 * v0, 3 * newVertices);
        Truncate(mesh.normals, 3 * v0, 3 * newVertices);
        Truncate(mesh.colours, 3 * v0, 3 * newVertices);
        Truncate(mesh.indices, i0, newIndices);
    } else {
        Resize(mesh.positions, 3 * v0, 3 * v1, 3 * newVertices);
        Resize(mesh.normals, 3 * v0, 3 * v1, 3 * newVertices);
        Resize(mesh.colours, 3 * v0, 3 * v1, 3 * newVertices);
        Resize(mesh.indices, i0, i1, newIndices);
    }
}

// Copies the parts in from vertex v and index i on (appended when atEnd), each part's indices
// numbered from where it lands; the starts of the parts go to partFirst and partVertex.
void PutParts(Mesh& mesh, bool atEnd, size_t v, size_t i, const std::vector<Mesh>& parts,
              std::vector<uint32_t>& partFirst, std::vector<uint32_t>& partVertex) {
    partFirst.reserve(parts.size());
    partVertex.reserve(parts.size());
    for (const Mesh& p : parts) {
        partFirst.push_back(static_cast<uint32_t>(i));
        partVertex.push_back(static_cast<uint32_t>(v));
        const auto put = [&](const std::vector<float>& from, std::vector<float>& to) {
            if (atEnd)
                to.insert(to.end(), from.begin(), from.end());
            else
                std::copy(from.begin(), from.end(),
                          to.begin() + static_cast<std::ptrdiff_t>(3 * v));
        };
        put(p.positions, mesh.positions);
        put(p.normals, mesh.normals);
        put(p.colours, mesh.colours);
        for (const uint32_t index : p.indices) {
            if (atEnd)
                mesh.indices.push_back(static_cast<uint32_t>(index + v));
            else
                mesh.indices[i] = static_cast<uint32_t>(index + v);
            ++i;
        }
        v += p.VertexCount();
    }
}

}  // namespace

void ChunkedMesh::Splice(size_t from, size_t to, const std::vector<Mesh>& parts) {
    from = std::min(from, ChunkCount());
    to = std::clamp(to, from, ChunkCount());
    const bool sameSizes = FitsChunks(*this, from, to, parts);
    const size_t v0 = vertexStart[from], v1 = vertexStart[to];
    const size_t i0 = first[from], i1 = first[to];
    size_t newVertices = 0, newIndices = 0;
    for (const Mesh& p : parts) {
        newVertices += p.VertexCount();
        newIndices += p.indices.size();
    }
    const bool atEnd = to == ChunkCount();
    MakeRoom(mesh, atEnd, v0, v1, i0, i1, newVertices, newIndices);
    std::vector<uint32_t> partFirst, partVertex;
    PutParts(mesh, atEnd, v0, i0, parts, partFirst, partVertex);
    if (sameSizes) {
        change.Mark(v0, v1, i0, i1);
        return;
    }
    // The chunks after the new ones moved: renumber their indices and starts.
    const int64_t vertexShift = static_cast<int64_t>(newVertices) - static_cast<int64_t>(v1 - v0);
    const int64_t indexShift = static_cast<int64_t>(newIndices) - static_cast<int64_t>(i1 - i0);
    for (size_t k = i0 + newIndices; k < mesh.indices.size(); ++k)
        mesh.indices[k] = static_cast<uint32_t>(mesh.indices[k] + vertexShift);
    std::vector<uint32_t> newFirst(first.begin(),
                                   first.begin() + static_cast<std::ptrdiff_t>(from));
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
