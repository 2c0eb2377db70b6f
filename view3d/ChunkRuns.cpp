// Gathering consecutive chunks into runs.
#include "view3d/ChunkRuns.h"

std::optional<ChunkRun> ChunkRuns::Add(size_t chunk) {
    if (chunk + 1 >= mesh.first.size()) return std::nullopt;
    if (end == chunk && end > start) {
        end = chunk + 1;  // empty chunks too: they do not break a run
        return std::nullopt;
    }
    if (mesh.first[chunk] == mesh.first[chunk + 1]) return std::nullopt;
    std::optional<ChunkRun> finished = Flush();
    start = chunk;
    end = chunk + 1;
    return finished;
}

std::optional<ChunkRun> ChunkRuns::Flush() {
    std::optional<ChunkRun> run;
    if (end > start && mesh.first[end] > mesh.first[start])
        run = ChunkRun{mesh.vertexStart[start], mesh.vertexStart[end] - 1, mesh.first[start],
                       mesh.first[end]};
    start = end = 0;
    return run;
}
