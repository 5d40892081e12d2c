// chunk_content.h: what one chunk holds, generated on the CPU from the seed:
// its baked ground picture and its trees, loose items, cabinets and wall
// boxes. Generation needs no window; uploading the picture is a separate step.
// The phases are reachable one by one for tests and benchmarks.
#pragma once
#include <cstdint>
#include <unordered_set>
#include <vector>
#include "raylib.h"
#include "world/map_builder.h"
#include "world/top_down_baker.h"
#include "world/world.h"
#include "world/worldgen.h"

namespace chunkgen {

// The picture covers the chunk plus this margin on every side.
inline constexpr float kMapMargin = 12.0f;
inline constexpr float kMapSize = 88.0f;
inline constexpr int kMapResolution = 264;
// Terrain samples every 2 units from 14 before the chunk to 78 after it.
inline constexpr int kGridSide = 47;
inline constexpr int kGridOffset = 7;
inline constexpr float kGridStep = 2.0f;

// Seconds from a clock of the caller's choice, for the phase timings.
using Clock = double (*)();

// One chunk's content before upload. The image (264 x 264 RGBA) belongs to
// the content until UploadChunkTexture releases it.
struct ChunkContent {
    Image image;
    std::vector<WorldItem> items;
    std::vector<WorldCabinet> cabinets;
    std::vector<WorldTree> trees;
    std::vector<CollisionBox> walls;
    // Clock readings after sampling, terrain, scatter and settlements.
    double sampled;
    double terrained;
    double scattered;
    double settled;
};

// The shared points of the terrain quads: position and lit colour of each.
struct TerrainPoints {
    std::vector<Vector3> positions;
    std::vector<Color> colours;
};

// Working memory of a chunk build. Reused from build to build, it keeps its
// capacity, so a build allocates nothing of the picture but the image it
// hands out.
struct ChunkScratch {
    TopDownBaker baker;
    std::vector<WorldSample> grid;
    TerrainPoints points;
};

// Object ids made by the chunk builder; frozen, they are saved.
uint64_t TreeId(int cellX, int cellZ);
// Spare-part cache n of group 1..3 of the settlement in cell (sx, sz).
uint64_t CacheId(int group, int sx, int sz, int n);

// The 47 x 47 terrain samples of a chunk into grid, row by row (z outer).
void SampleChunkGrid(const WorldGen& gen, int cx, int cz, std::vector<WorldSample>& grid);

// The shaded terrain quads of the chunk and its margin; points is working
// memory.
void AddTerrain(const MapBuilder& builder, const std::vector<WorldSample>& grid, int cx, int cz, uint32_t seed,
                TerrainPoints& points);

// Boulders into the picture and trees into the list, on the 11-unit scatter grid.
void ScatterObjects(const MapBuilder& builder, const WorldGen& gen, const std::unordered_set<uint64_t>& removed, int cx,
                    int cz, std::vector<WorldTree>& trees);

// Ruins on the plots of nearby settlements and the caches at their centres.
void PlaceSettlements(const MapBuilder& builder, const WorldGen& gen, const std::unordered_set<uint64_t>& removed,
                      int cx, int cz, std::vector<WorldItem>& items, std::vector<WorldCabinet>& cabinets,
                      std::vector<CollisionBox>& walls);

// Translucent ice over deep water, blended over everything drawn before.
void AddIce(const MapBuilder& builder, const std::vector<WorldSample>& grid, int cx, int cz);

// The whole chunk, without touching the GPU. Objects whose ids are in
// removed are not generated. The first form works in scratch; the second in
// memory of its own.
ChunkContent GenerateChunkContent(const WorldGen& gen, const std::unordered_set<uint64_t>& removed, int cx, int cz,
                                  Clock clock, ChunkScratch& scratch);
ChunkContent GenerateChunkContent(const WorldGen& gen, const std::unordered_set<uint64_t>& removed, int cx, int cz,
                                  Clock clock);

// Uploads the picture as the chunk's bilinear map texture and releases the
// image. Without a window nothing is uploaded and the chunk keeps texture id
// 0, quietly; a failed upload leaves id 0 too, with a warning. Returns
// whether a texture was made.
bool UploadChunkTexture(Chunk& chunk, Image& image);

// Whether the n-th chunk build since start-up logs its phase split.
bool PerfSplitDue(int buildNumber);

}  // namespace chunkgen
