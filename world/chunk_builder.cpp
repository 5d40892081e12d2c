// chunk_builder.cpp: World::BuildChunk. A chunk's content is generated on the
// CPU (terrain, boulders, ruins and ice baked into an image; trees, items,
// cabinets and walls listed), then the image is uploaded as its texture.
#include <cstdlib>
#include <utility>
#include "world/chunk_content.h"
#include "world/top_down_baker.h"
#include "world/world.h"

namespace chunkgen {

ChunkContent GenerateChunkContent(const WorldGen& gen, const std::unordered_set<uint64_t>& removed, int cx, int cz,
                                  Clock clock, ChunkScratch& scratch) {
    ChunkContent content{};
    const float x0 = static_cast<float>(cx) * kChunkSize;
    const float z0 = static_cast<float>(cz) * kChunkSize;
    TopDownBaker& baker = scratch.baker;
    baker.Begin(Vector2{x0 - kMapMargin, z0 - kMapMargin}, kMapSize, kMapResolution);
    const MapBuilder builder{&baker};

    std::vector<WorldSample>& grid = scratch.grid;
    SampleChunkGrid(gen, cx, cz, grid);
    content.sampled = clock();
    AddTerrain(builder, grid, cx, cz, gen.seed, scratch.points);
    content.terrained = clock();
    ScatterObjects(builder, gen, removed, cx, cz, content.trees);
    content.scattered = clock();
    PlaceSettlements(builder, gen, removed, cx, cz, content.items, content.cabinets, content.walls);
    content.settled = clock();

    baker.blend = true;
    AddIce(builder, grid, cx, cz);
    content.image = baker.Finish();
    return content;
}

ChunkContent GenerateChunkContent(const WorldGen& gen, const std::unordered_set<uint64_t>& removed, int cx, int cz,
                                  Clock clock) {
    ChunkScratch scratch;
    return GenerateChunkContent(gen, removed, cx, cz, clock, scratch);
}

bool UploadChunkTexture(Chunk& chunk, Image& image) {
    chunk.mapTexture = Texture2D{};
    // Without a window (the logic tests) there is no GL context to upload to:
    // the chunk has no picture, and nothing failed that a log should name.
    if (IsWindowReady()) {
        chunk.mapTexture = LoadTextureFromImage(image);
        if (chunk.mapTexture.id != 0) {
            SetTextureFilter(chunk.mapTexture, TEXTURE_FILTER_BILINEAR);
        } else {
            chunk.mapTexture = Texture2D{};
            TraceLog(LOG_WARNING, "WORLD: chunk %d,%d map texture failed", chunk.cx, chunk.cz);
        }
    }
    const bool uploaded = chunk.mapTexture.id != 0;
    UnloadImage(image);
    image = Image{};
    return uploaded;
}

bool PerfSplitDue(int buildNumber) {
    return buildNumber <= 6 || buildNumber % 100 == 0;
}

}  // namespace chunkgen

void World::BuildChunk(Chunk& chunk) {
    // Builds since start-up; thins the phase-split log.
    static int perfLogs = 0;

    chunk.items.clear();
    chunk.cabinets.clear();
    chunk.trees.clear();
    chunk.walls.clear();
    const double t0 = GetTime();
    const bool perf = std::getenv("KIRN_PERF") != nullptr;
    ++perfLogs;

    chunkgen::ChunkContent content = chunkgen::GenerateChunkContent(gen, removedIds, chunk.cx, chunk.cz, GetTime,
                                                                    *buildScratch);
    chunk.items = std::move(content.items);
    chunk.cabinets = std::move(content.cabinets);
    chunk.trees = std::move(content.trees);
    chunk.walls = std::move(content.walls);
    chunkgen::UploadChunkTexture(chunk, content.image);
    const double t5 = GetTime();
    chunk.built = true;

    if (perf && chunkgen::PerfSplitDue(perfLogs)) {
        TraceLog(LOG_INFO, "PERF split #%d sample %.1f terrain %.1f objects %.1f settle %.1f bake %.1f ms", perfLogs,
                 (content.sampled - t0) * 1000.0, (content.terrained - content.sampled) * 1000.0,
                 (content.scattered - content.terrained) * 1000.0, (content.settled - content.scattered) * 1000.0,
                 (t5 - content.settled) * 1000.0);
    }
}
