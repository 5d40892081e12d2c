// world_queries.cpp: what the game asks of the loaded chunks: walls for walking,
// shooting and sight, the nearest item, cabinet or tree, and the four ways the
// player removes objects (pick-up, search, felling) through World::removedIds.
#include "world/world.h"

#include <algorithm>
#include <cmath>
#include "world/streaming.h"
#include "world/world_queries.h"

namespace {

// How far the objects and walls a chunk lists may reach beyond its square: a
// ruin or cache belongs to the chunk holding its centre, and the bake margin
// bounds what it spreads over.
constexpr float kListedReach = 12.0f;
constexpr float kItemReachSq = 42.25f;     // 6.5^2
constexpr float kCabinetReachSq = 56.25f;  // 7.5^2
// Chunks searched around the eye point for interactions: reach plus listed
// reach stays well inside two chunks each way.
constexpr int kInteractionSpan = 2;

// An inclusive square of chunk coordinates.
struct ChunkRange {
    int x0, x1, z0, z1;

    double Count() const { return (static_cast<double>(x1) - x0 + 1.0) * (static_cast<double>(z1) - z0 + 1.0); }
};

// Calls visit for every loaded chunk in the range (z outer, x inner). A range
// wider than the map itself walks the map instead, which visits the same
// chunks in map order.
template <typename Visit>
void ForChunksIn(const std::unordered_map<uint64_t, Chunk>& chunks, const ChunkRange& range, Visit visit) {
    if (range.Count() > static_cast<double>(chunks.size())) {
        for (const auto& [key, chunk] : chunks) {
            if (chunk.cx >= range.x0 && chunk.cx <= range.x1 && chunk.cz >= range.z0 && chunk.cz <= range.z1) {
                visit(chunk);
            }
        }
        return;
    }
    for (int cz = range.z0; cz <= range.z1; ++cz) {
        for (int cx = range.x0; cx <= range.x1; ++cx) {
            const auto it = chunks.find(World::Key(cx, cz));
            if (it != chunks.end()) visit(it->second);
        }
    }
}

// Nearest-object searches keep the first of equally near objects in chunk map
// order. A search over nearby chunks only visits them in grid order, so it
// remembers whether its best was matched by another chunk; only then does the
// caller repeat the search over the whole map to settle the tie.
template <typename T>
struct NearestScan {
    explicit NearestScan(float start) : best(start) {}

    T result{};
    float best;
    const Chunk* bestChunk = nullptr;
    bool crossChunkTie = false;

    bool Offer(const Chunk& chunk, float distance) {
        if (distance < best) {
            best = distance;
            bestChunk = &chunk;
            crossChunkTie = false;
            return true;
        }
        if (distance == best && bestChunk != nullptr && bestChunk != &chunk) crossChunkTie = true;
        return false;
    }
};

void ScanInteractions(const Chunk& chunk, const std::unordered_set<uint64_t>& removed, Vector3 p,
                      NearestScan<Interaction>& scan) {
    for (const WorldItem& item : chunk.items) {
        const float dx = item.position.x - p.x;
        const float dy = item.position.y - p.y;
        const float dz = item.position.z - p.z;
        const float d2 = dx * dx + dy * dy + dz * dz;
        if (d2 > kItemReachSq) continue;
        if (scan.Offer(chunk, std::sqrt(d2))) {
            scan.result = Interaction{kInteractionItem, item.id, item.type, item.position};
        }
    }
    for (const WorldCabinet& cabinet : chunk.cabinets) {
        if (removed.count(cabinet.id) != 0) continue;
        const float dx = cabinet.position.x - p.x;
        const float dy = cabinet.position.y - p.y;
        const float dz = cabinet.position.z - p.z;
        const float d2 = dx * dx + dy * dy + dz * dz;
        if (d2 > kCabinetReachSq) continue;
        if (scan.Offer(chunk, std::sqrt(d2))) {
            scan.result = Interaction{kInteractionCabinet, cabinet.id, ItemType::None, cabinet.position};
        }
    }
}

void ScanTrees(const Chunk& chunk, const std::unordered_set<uint64_t>& removed, Vector3 p,
               NearestScan<WorldTree>& scan) {
    for (const WorldTree& tree : chunk.trees) {
        if (removed.count(tree.id) != 0) continue;
        const float dx = tree.position.x - p.x;
        const float dz = tree.position.z - p.z;
        if (scan.Offer(chunk, dx * dx + dz * dz)) scan.result = tree;
    }
}

}  // namespace

ItemType CabinetLoot(uint64_t id) {
    const uint32_t mixed = static_cast<uint32_t>((id >> 32) ^ (id >> 19) ^ id);
    const uint32_t r = mixed % 100u;
    if (r <= 5) return ItemType::SparePart;
    if (r <= 15) return ItemType::Medkit;
    if (r <= 39) return ItemType::CannedFood;
    if (r <= 61) return ItemType::Groats;
    if (r <= 82) return ItemType::Water;
    if (r <= 89) return ItemType::Coal;
    if (r <= 94) return ItemType::Ammo;
    return ItemType::FuelCan;
}

Vector3 World::ResolveWalls(Vector3 position, float radius, float height) const {
    Vector3 p = position;
    const int fx = ChunkIndex(position.x);
    const int fz = ChunkIndex(position.z);
    for (int cz = fz - 1; cz <= fz + 1; ++cz) {
        for (int cx = fx - 1; cx <= fx + 1; ++cx) {
            const auto it = chunks.find(Key(cx, cz));
            if (it == chunks.end()) continue;
            for (const CollisionBox& box : it->second.walls) {
                if (!(box.min.y < p.y + height && p.y < box.max.y)) continue;
                const float left = box.min.x - radius;
                const float right = box.max.x + radius;
                const float back = box.min.z - radius;
                const float front = box.max.z + radius;
                if (!(left < p.x && p.x < right && back < p.z && p.z < front)) continue;
                const float a = p.x - left;
                const float b = right - p.x;
                const float c = p.z - back;
                const float d = front - p.z;
                if (a <= b && a <= c && a <= d) {
                    p.x = left;
                } else if (b <= c && b <= d) {
                    p.x = right;
                } else if (c <= d) {
                    p.z = back;
                } else {
                    p.z = front;
                }
            }
        }
    }
    return p;
}

float World::RaycastWalls(Vector3 origin, Vector3 direction, float maxDistance) const {
    const float len = std::sqrt(direction.x * direction.x + direction.z * direction.z);
    if (len < 0.00001f || maxDistance <= 0.0f) return maxDistance;
    const float dx = direction.x / len;
    const float dz = direction.z / len;

    // A ruin's walls reach past the chunk that lists them, so every chunk whose
    // walls could touch the segment is searched, not just those it crosses.
    const float endX = origin.x + maxDistance * dx;
    const float endZ = origin.z + maxDistance * dz;
    const ChunkRange range{
        ChunkIndex(std::min(origin.x, endX) - kListedReach), ChunkIndex(std::max(origin.x, endX) + kListedReach),
        ChunkIndex(std::min(origin.z, endZ) - kListedReach), ChunkIndex(std::max(origin.z, endZ) + kListedReach)};

    float best = maxDistance;
    ForChunksIn(chunks, range, [&](const Chunk& chunk) {
        for (const CollisionBox& box : chunk.walls) {
            float tNear = 0.0f;
            float tFar = best;
            if (std::fabs(dx) < 0.000001f) {
                if (!(box.min.x <= origin.x && origin.x <= box.max.x)) continue;
            } else {
                const float t1 = (box.max.x - origin.x) / dx;
                const float t2 = (box.min.x - origin.x) / dx;
                tNear = std::max(std::min(t1, t2), 0.0f);
                tFar = std::min(std::max(t1, t2), best);
                if (tNear > tFar) continue;
            }
            if (std::fabs(dz) < 0.000001f) {
                if (!(box.min.z <= origin.z && origin.z <= box.max.z)) continue;
            } else {
                const float t1 = (box.max.z - origin.z) / dz;
                const float t2 = (box.min.z - origin.z) / dz;
                tNear = std::max(std::min(t1, t2), tNear);
                if (tNear > std::min(std::max(t1, t2), tFar)) continue;
            }
            if (tNear > 0.01f) best = std::min(best, tNear);
        }
    });
    return best;
}

bool World::LineOfSight(Vector3 from, Vector3 to) const {
    const float dx = to.x - from.x;
    const float dz = to.z - from.z;
    const float dist = std::sqrt(dx * dx + dz * dz);
    if (dist < 0.1f) return true;
    const Vector3 direction{dx / dist, 0.0f, dz / dist};
    return RaycastWalls(from, direction, dist) >= dist - 0.15f;
}

Interaction World::NearestInteraction(Vector3 position) const {
    NearestScan<Interaction> scan(1e9f);
    const int fx = ChunkIndex(position.x);
    const int fz = ChunkIndex(position.z);
    const ChunkRange near{fx - kInteractionSpan, fx + kInteractionSpan, fz - kInteractionSpan, fz + kInteractionSpan};
    ForChunksIn(chunks, near, [&](const Chunk& chunk) { ScanInteractions(chunk, removedIds, position, scan); });
    if (scan.crossChunkTie) {
        NearestScan<Interaction> full(1e9f);
        for (const auto& [key, chunk] : chunks) ScanInteractions(chunk, removedIds, position, full);
        return full.result;
    }
    return scan.result;
}

ItemType World::PeekCabinet(uint64_t id) const {
    if (removedIds.count(id) != 0) return ItemType::None;
    return CabinetLoot(id);
}

ItemType World::SearchCabinet(uint64_t id) {
    const ItemType loot = PeekCabinet(id);
    removedIds.insert(id);
    return loot;
}

ItemType World::PickupItem(uint64_t id) {
    for (auto& [key, chunk] : chunks) {
        for (auto it = chunk.items.begin(); it != chunk.items.end(); ++it) {
            if (it->id != id) continue;
            const ItemType type = it->type;
            chunk.items.erase(it);
            removedIds.insert(id);
            return type;
        }
    }
    return ItemType::None;
}

bool World::NearestTree(Vector3 position, float radius, WorldTree& out) const {
    NearestScan<WorldTree> scan(radius * radius);
    // Trees stand inside their chunk; the listed reach keeps the search safe
    // for anything a chunk might list just outside it.
    const float reach = std::fabs(radius) + kListedReach;
    const int fx = ChunkIndex(position.x);
    const int fz = ChunkIndex(position.z);
    const ChunkRange near{std::min(fx - kInteractionSpan, ChunkIndex(position.x - reach)),
                          std::max(fx + kInteractionSpan, ChunkIndex(position.x + reach)),
                          std::min(fz - kInteractionSpan, ChunkIndex(position.z - reach)),
                          std::max(fz + kInteractionSpan, ChunkIndex(position.z + reach))};
    ForChunksIn(chunks, near, [&](const Chunk& chunk) { ScanTrees(chunk, removedIds, position, scan); });
    if (scan.crossChunkTie) {
        NearestScan<WorldTree> full(radius * radius);
        for (const auto& [key, chunk] : chunks) ScanTrees(chunk, removedIds, position, full);
        scan = full;
    }
    if (scan.bestChunk == nullptr) return false;
    out = scan.result;
    return true;
}

void World::ChopTree(uint64_t id) {
    removedIds.insert(id);
}
