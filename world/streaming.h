// streaming.h: the pieces of chunk streaming that World::Update strings
// together: chunk coordinates of a point, the keep range, the list of missing
// chunks nearest first and the budgeted build loop.
#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>
#include "raylib.h"
#include "world/world.h"

struct ChunkCoord {
    int x;
    int z;
};

// The chunk number of a world coordinate, floor(v / 64), for the streaming,
// the queries and the HUD alike: held inside +-kStreamCellLimit, a value that
// is not a number giving -kStreamCellLimit.
int ChunkIndex(float v);

// Chunks are built out to renderDistance but kept out to renderDistance + 1,
// so a focus wobbling across a chunk border does not rebuild.
bool BeyondKeepRange(int cx, int cz, int fx, int fz, int renderDistance);

// Every chunk of the square of radius renderDistance around (fx, fz) that is
// not in chunks, nearest first (squared chunk distance).
std::vector<ChunkCoord> MissingChunks(const std::unordered_map<uint64_t, Chunk>& chunks, int fx, int fz,
                                      int renderDistance);

// Seconds a timed build loop may run before it stops starting new chunks.
inline constexpr double kStreamTimeLimit = 0.004;
// Budgets at or above this are jumps: build everything, untimed.
inline constexpr int kUntimedBudget = 1000;
// Builds slower than this are logged when KIRN_PERF is set.
inline constexpr double kSlowBuildMs = 8.0;

// Builds chunks of order in turn: at most budget of them and, unless the
// budget is untimed, none after the first once the limit has passed on clock.
// Each chunk is made holding only its coordinates, timed through build alone
// (slow ones logged when perfLog is set) and then handed to store. Returns how
// many were built. The clock is a parameter so tests can drive it.
template <typename Clock, typename Build, typename Store>
int BuildNearestFirst(const std::vector<ChunkCoord>& order, int budget, bool perfLog, Clock clock, Build build,
                      Store store) {
    const double t0 = clock();
    const bool timed = budget < kUntimedBudget;
    int built = 0;
    for (const ChunkCoord& coord : order) {
        if (built >= budget) {
            break;
        }
        if (built > 0 && timed && clock() - t0 >= kStreamTimeLimit) {
            break;
        }
        Chunk chunk{};
        chunk.cx = coord.x;
        chunk.cz = coord.z;
        const double start = clock();
        build(chunk);
        const double ms = (clock() - start) * 1000.0;
        if (perfLog && ms > kSlowBuildMs) {
            TraceLog(LOG_INFO, "PERF chunk %d,%d built in %.1f ms", coord.x, coord.z, ms);
        }
        store(chunk);
        built++;
    }
    return built;
}
