// world.h: the live, endless world of one seed: the chunks streamed around a
// focus point, the terrain generator, the weather noise, the atmosphere, the
// world clock and the set of objects the player has removed.
#pragma once
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>
#include "raylib.h"
#include "world/atmosphere.h"
#include "world/item_type.h"
#include "world/noise.h"
#include "world/worldgen.h"

namespace chunkgen {
struct ChunkScratch;
}

// A loose item lying on the ground (ruin loot, caches).
struct WorldItem {
    uint64_t id;
    Vector3 position;
    ItemType type;
};

// A searchable cabinet inside a ruin.
struct WorldCabinet {
    uint64_t id;
    Vector3 position;
};

// A tree; felled trees stay listed and are skipped through World::removedIds.
struct WorldTree {
    uint64_t id;
    Vector3 position;
    float scale;
    bool conifer;
};

// An axis-aligned wall box of a ruin.
struct CollisionBox {
    Vector3 min;
    Vector3 max;
};

// Side of a chunk's square in world units.
inline constexpr float kChunkSize = 64.0f;

// One 64 x 64-unit square of the world: its baked ground picture and the
// objects generated on it. World::Update creates it with only cx and cz set;
// World::BuildChunk fills the rest.
struct Chunk {
    int cx;
    int cz;
    Texture2D mapTexture{};
    std::vector<WorldItem> items;
    std::vector<WorldCabinet> cabinets;
    std::vector<WorldTree> trees;
    std::vector<CollisionBox> walls;
    bool built = false;
};

// A World::Update budget that builds every missing chunk in range at once.
inline constexpr int kBuildEverything = 100000;

// The world of one seed. Owns its chunks and their textures.
class World {
public:
    explicit World(uint32_t seed);
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Advances the clock by dt, recomputes the atmosphere for the focus, eases
    // the air temperature, drops far chunks and builds missing ones nearest
    // first: at most budget of them, and none after 4 ms past the first unless
    // the budget is 1000 or more.
    void Update(Vector3 focus, int budget, float dt);
    // Clamps to 4..12 chunks; applied at the next Update.
    void SetRenderDistance(int d);
    // Restores the saved clock and removed objects; the air starts afresh.
    void RestoreState(float savedTime, const std::unordered_set<uint64_t>& ids);
    // Releases a chunk's texture and marks it unbuilt.
    void UnloadChunk(Chunk& chunk);
    static uint64_t Key(int cx, int cz);

    // Fills a chunk holding only cx and cz: its ground picture and its lists.
    void BuildChunk(Chunk& chunk);
    // Light and weather at a position for the current clock and settings.
    Atmosphere ComputeAtmosphere(Vector3 position) const;

    // ---- Queries, searches and drawing (world_queries.cpp, world_search.cpp,
    // world_draw.cpp; SettlementInfo and Interaction: world/world_queries.h) ----
    // Pushes a body (feet position, square footprint of half side radius, given
    // height) out of the ruin walls near it, one pass in list order; y is kept.
    Vector3 ResolveWalls(Vector3 position, float radius, float height) const;
    // Horizontal distance along direction to the first wall box, or maxDistance.
    float RaycastWalls(Vector3 origin, Vector3 direction, float maxDistance) const;
    // True when no wall stands between the two points (x/z only).
    bool LineOfSight(Vector3 from, Vector3 to) const;
    bool NearestSettlement(Vector3 position, float radius, struct SettlementInfo& out) const;
    void CollectSettlements(Vector3 position, float radius, std::vector<struct SettlementInfo>& out) const;
    // The nearest ground item (within 6.5) or unsearched cabinet (within 7.5).
    struct Interaction NearestInteraction(Vector3 position) const;
    ItemType PeekCabinet(uint64_t id) const;
    ItemType SearchCabinet(uint64_t id);
    ItemType PickupItem(uint64_t id);
    bool NearestTree(Vector3 position, float radius, WorldTree& out) const;
    void ChopTree(uint64_t id);
    Vector3 SpawnPoint() const;
    float SpawnYaw() const;
    bool FindBiome(const char* name, float radius, Vector3& out) const;
    bool FirstItem(Vector3& out) const;
    bool FirstCabinet(Vector3& out) const;
    void Draw2D(Vector2 centre, float scale, Color tint) const;
    void DrawTrees2D(Vector2 centre, float scale, Color tint) const;
    void DrawItems2D(Vector2 centre, float scale) const;
    // ---- end of queries, searches and drawing ----

    std::unordered_map<uint64_t, Chunk> chunks;
    WorldGen gen;
    Noise weatherNoise;
    Atmosphere atmosphere;
    float worldTime;
    float temperature;
    int renderDistance;
    float timeOfDayBase;
    int weatherOverride;
    std::unordered_set<uint64_t> removedIds;

private:
    // The clock is summed in double precision: a float sum of ~8 ms steps
    // rounds coarser with every hour and stops after about three days.
    double preciseTime;
    // The last focus that was a real place; a non-finite focus falls back to it.
    Vector3 lastFocus = {0.0f, 0.0f, 0.0f};
    // Working memory of chunk builds (baker pixels, sample grid, terrain
    // points), kept from build to build so a build allocates only its image.
    std::unique_ptr<chunkgen::ChunkScratch> buildScratch;
};
