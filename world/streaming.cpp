// streaming.cpp: the chunk square around a focus: chunk coordinates, the keep
// range and the missing chunks in build order.
#include "world/streaming.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include "world/cell_index.h"

int ChunkIndex(float v) {
    // Chunk numbers stay well inside int, so the square around a focus far
    // beyond any reachable place (or not a number at all) never overflows.
    return CellIndexWithin(v, kChunkSize, kStreamCellLimit);
}

bool BeyondKeepRange(int cx, int cz, int fx, int fz, int renderDistance) {
    return std::max(std::abs(cx - fx), std::abs(cz - fz)) > renderDistance + 1;
}

std::vector<ChunkCoord> MissingChunks(const std::unordered_map<uint64_t, Chunk>& chunks, int fx, int fz,
                                      int renderDistance) {
    std::vector<ChunkCoord> missing;
    const int side = 2 * renderDistance + 1;
    missing.reserve(static_cast<size_t>(side) * static_cast<size_t>(side));
    for (int dz = -renderDistance; dz <= renderDistance; dz++) {
        for (int dx = -renderDistance; dx <= renderDistance; dx++) {
            const ChunkCoord coord{fx + dx, fz + dz};
            if (chunks.find(World::Key(coord.x, coord.z)) == chunks.end()) {
                missing.push_back(coord);
            }
        }
    }
    std::sort(missing.begin(), missing.end(), [fx, fz](const ChunkCoord& a, const ChunkCoord& b) {
        const int da = (a.x - fx) * (a.x - fx) + (a.z - fz) * (a.z - fz);
        const int db = (b.x - fx) * (b.x - fx) + (b.z - fz) * (b.z - fz);
        return da < db;
    });
    return missing;
}
