// ruins.cpp: builds one ruined building of a settlement into the chunk's map
// and lists its walls, cabinets and loot. Every roll comes from the ruin's
// hash, so the same ruin is rebuilt identically with its chunk.
#include "world/ruins.h"

#include <algorithm>
#include "world/full_turn.h"
#include "world/map_shapes.h"
#include "world/noise.h"

namespace chunkgen {

namespace {

constexpr Color kStoneBare{150, 148, 140, 255};
constexpr Color kStoneSnowy{190, 198, 206, 255};
constexpr Color kDarkWood{84, 62, 40, 255};
constexpr Color kWood{112, 84, 54, 255};
constexpr Color kWindow{42, 46, 52, 255};
constexpr Color kSnow{228, 236, 244, 255};
constexpr Color kMattress{146, 142, 136, 255};
constexpr Color kPillow{224, 220, 208, 255};

constexpr uint32_t kLootSalt = 0xBEEFu;
constexpr uint32_t kGapSalt = 0xabcd1234u;
constexpr uint32_t kSegmentSalt = 0x7777u;
constexpr uint64_t kCabinetBit = 0x80000u;
constexpr uint64_t kCounterMask = 0x7FFFFu;

// Loose-item loot of ruins: the first row whose limit the roll is below.
struct LootRow {
    float below;
    ItemType item;
};

constexpr LootRow kLootTable[] = {
    {0.10f, ItemType::Medkit}, {0.36f, ItemType::CannedFood}, {0.60f, ItemType::Groats},  {0.82f, ItemType::Water},
    {0.89f, ItemType::Coal},   {0.94f, ItemType::Ammo},       {0.97f, ItemType::FuelCan},
};

// The running state of one ruin: its hash, its lists and its id counters.
struct RuinBuild {
    const MapBuilder& builder;
    uint32_t rh;
    std::vector<WorldItem>& items;
    std::vector<WorldCabinet>& cabinets;
    const std::unordered_set<uint64_t>& removed;
    uint32_t itemCounter = 0;
    uint32_t cabinetCounter = 0;

    float Roll(int y, uint32_t salt) const { return NoiseHash01(HashCoord(rh), y, salt); }

    // Every slot takes the next id, listed or not, so ids never shift.
    void ItemSlot(int lootSlot, Vector3 position) {
        const uint64_t id = RuinItemId(rh, itemCounter++);
        if (removed.count(id) == 0) items.push_back(WorldItem{id, position, RuinLoot(rh, lootSlot)});
    }

    void CabinetSlot(Vector3 position) {
        const uint64_t id = RuinCabinetId(rh, cabinetCounter++);
        if (removed.count(id) == 0) cabinets.push_back(WorldCabinet{id, position});
    }
};

// A wall side: where it starts, which way it runs and how long it is.
struct WallSide {
    float startX, startZ;
    float dirX, dirZ;
    float length;
};

// Walls of both kinds; returns the highest wall top (the floor line when none).
float BuildWalls(const RuinBuild& ruin, float x, float z, float w, float d, float floorLine, float wallHeight,
                 bool collapsed, float snow, Color base, std::vector<CollisionBox>& walls) {
    const WallSide sides[4] = {
        {x - w / 2.0f, z - d / 2.0f, 1.0f, 0.0f, w},
        {x + w / 2.0f, z + d / 2.0f, -1.0f, 0.0f, w},
        {x + w / 2.0f, z - d / 2.0f, 0.0f, 1.0f, d},
        {x - w / 2.0f, z + d / 2.0f, 0.0f, -1.0f, d},
    };
    float maxTop = floorLine;
    for (int q = 0; q < 4; ++q) {
        const WallSide& side = sides[q];
        const bool alongX = q < 2;
        const int segs = std::max(2, static_cast<int>(side.length / 2.8f));
        const float segLength = side.length / static_cast<float>(segs);
        for (int i = 0; i < segs; ++i) {
            const float gap = NoiseHash01(HashCoord(ruin.rh, static_cast<uint32_t>(97 * q + 13 * i)), 42, kGapSalt);
            if (gap < (collapsed ? 0.42f : 0.1f)) continue;
            const float roll = NoiseHash01(HashCoord(ruin.rh, static_cast<uint32_t>(i)), 7 + q, kSegmentSalt);
            const float o = collapsed ? (0.25f + 0.55f * roll) * wallHeight : (0.72f + 0.28f * roll) * wallHeight;
            if (o < 0.6f) continue;

            const float along = (static_cast<float>(i) + 0.5f) * segLength;
            // Only one direction component is non-zero, so the untouched
            // coordinate stays exactly the side's start.
            const float cx = side.dirX > 0.0f   ? side.startX + along
                             : side.dirX < 0.0f ? side.startX - along
                                                : side.startX;
            const float cz = side.dirZ > 0.0f   ? side.startZ + along
                             : side.dirZ < 0.0f ? side.startZ - along
                                                : side.startZ;
            const float hx = alongX ? segLength / 2.0f : 0.3f;
            const float hz = alongX ? 0.3f : segLength / 2.0f;
            AddBox(ruin.builder, Vector3{cx, floorLine + o / 2.0f, cz}, Vector3{hx, o / 2.0f, hz},
                   Scale(base, 0.82f + 0.28f * roll));
            walls.push_back(
                CollisionBox{Vector3{cx - hx, floorLine, cz - hz}, Vector3{cx + hx, floorLine + o, cz + hz}});
            maxTop = std::max(maxTop, floorLine + o);

            if (!collapsed && o > 2.4f) {
                const int windows = static_cast<int>(o / 3.2f);
                const float topLimit = (floorLine + o) - 0.7f;
                for (int j = 0; j < windows; ++j) {
                    const float wy = (floorLine + 1.2f) + 3.2f * static_cast<float>(j);
                    if (wy > topLimit) break;
                    Vector3 centre{cx, wy, cz};
                    Vector3 half{0.05f, 0.55f, 0.3f * segLength};
                    if (q == 0) centre.z = cz - 0.33f;
                    if (q == 1) centre.z = cz + 0.33f;
                    if (q == 2) centre.x = cx + 0.33f;
                    if (q == 3) centre.x = cx - 0.33f;
                    if (alongX) half = Vector3{0.3f * segLength, 0.55f, 0.05f};
                    AddBox(ruin.builder, centre, half, kWindow);
                }
            }
            if (snow > 0.25f) {
                AddBox(ruin.builder, Vector3{cx, (floorLine + o) + 0.1f, cz}, Vector3{0.98f * hx, 0.1f, 0.98f * hz},
                       kSnow);
            }
        }
    }
    return maxTop;
}

void CollapsedContents(RuinBuild& ruin, float x, float z, float v) {
    AddBox(ruin.builder, Vector3{x + 0.4f, v + 0.12f, z - 0.3f}, Vector3{1.2f, 0.1f, 0.7f}, kDarkWood);
    if (ruin.Roll(28, 168u) > 0.4f) ruin.ItemSlot(29, Vector3{x - 0.8f, v + 0.18f, z + 0.4f});
    if (ruin.Roll(30, 170u) > 0.65f) ruin.ItemSlot(31, Vector3{x + 1.0f, v + 0.18f, z + 0.9f});
}

void StandingContents(RuinBuild& ruin, float x, float z, float w, float d, float h, float v) {
    const float ix = std::max(0.8f, w / 2.0f - 1.2f);
    const float iz = std::max(0.8f, d / 2.0f - 1.2f);
    const int storeys = std::min(3, std::max(1, static_cast<int>((h - 1.0f) / 3.2f)));
    for (int s = 0; s < storeys; ++s) {
        const float level = v + 3.2f * static_cast<float>(s);
        const int k = 21 + 10 * s;

        const float tx = x + (ruin.Roll(k, 161u) - 0.5f) * ix * 1.1f;
        const float tz = z + (ruin.Roll(k + 1, 162u) - 0.5f) * iz * 1.1f;
        AddBox(ruin.builder, Vector3{tx, level + 0.86f, tz}, Vector3{1.05f, 0.08f, 0.65f}, kWood);
        const float legs[4][2] = {{-1.0f, -1.0f}, {-1.0f, 1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}};
        for (const auto& leg : legs) {
            AddBox(ruin.builder, Vector3{tx + 0.85f * leg[0], level + 0.43f, tz + 0.5f * leg[1]},
                   Vector3{0.07f, 0.43f, 0.07f}, kDarkWood);
        }
        if (ruin.Roll(k + 2, 163u) > 0.2f) ruin.ItemSlot(k + 3, Vector3{tx + 0.35f, level + 1.02f, tz + 0.08f});

        if (s == 0 && w > 7.0f) {
            const float shelfZ = z + d / 2.0f - 1.3f;
            AddBox(ruin.builder, Vector3{x, level + 0.45f, shelfZ}, Vector3{1.4f, 0.45f, 0.38f}, kDarkWood);
            AddBox(ruin.builder, Vector3{x, level + 0.92f, shelfZ}, Vector3{1.45f, 0.06f, 0.42f}, kWood);
            ruin.ItemSlot(25, Vector3{x - 0.55f, level + 1.04f, shelfZ});
        }
        if (s == 0 && d > 6.0f) {
            const float bx = x - w / 2.0f + 1.7f;
            const float bz = z + d / 2.0f - 2.4f;
            AddBox(ruin.builder, Vector3{bx, level + 0.22f, bz}, Vector3{0.8f, 0.22f, 1.3f}, kDarkWood);
            AddBox(ruin.builder, Vector3{bx, level + 0.44f, bz}, Vector3{0.74f, 0.14f, 1.24f}, kMattress);
            AddBox(ruin.builder, Vector3{bx, level + 0.56f, bz - 0.85f}, Vector3{0.48f, 0.12f, 0.28f}, kPillow);
        }
        if (d > 6.0f) {
            const float ux = x + w / 2.0f - 0.9f;
            const float uz = z - 0.22f * d;
            AddBox(ruin.builder, Vector3{ux, level + 1.0f, uz}, Vector3{0.42f, 1.0f, 0.62f}, kDarkWood);
            AddBox(ruin.builder, Vector3{ux - 0.44f, level + 1.0f, uz}, Vector3{0.04f, 0.92f, 0.56f},
                   Scale(kWood, 1.1f));
            ruin.CabinetSlot(Vector3{ux - 0.7f, level + 1.0f, uz});
        }
        // The floor item is the last slot of the ground storey: it is numbered
        // before any upper storey's table item.
        if (s == 0 && ruin.Roll(26, 166u) > 0.45f) {
            ruin.ItemSlot(27, Vector3{x - 0.5f * ix, v + 0.18f, z + 0.45f * iz});
        }
    }
}

void Rubble(const RuinBuild& ruin, float x, float z, float w, float groundY, Color base) {
    const uint32_t extra = static_cast<uint32_t>(6.0f * ruin.Roll(9, 49u));
    const Color colour = Scale(base, 0.9f);
    for (uint32_t i = 0; i <= 4u + extra; ++i) {
        const int p = HashCoord(ruin.rh, i);
        const float angle = kFullTurn * NoiseHash01(p, 11, 65u);
        const float dist = w / 2.0f + 0.6f + 3.0f * NoiseHash01(p, 12, 67u);
        const float hx = 0.25f + 0.55f * NoiseHash01(p, 13, 69u);
        const float hy = 0.2f + 0.35f * NoiseHash01(p, 14, 71u);
        const float hz = 1.3f * hx;
        AddBox(ruin.builder, Vector3{x + CosF(angle) * dist, groundY + 0.3f * hy, z + SinF(angle) * dist},
               Vector3{hx, hy, hz}, colour);
    }
}

}  // namespace

uint64_t RuinItemId(uint32_t rh, uint32_t n) {
    return (static_cast<uint64_t>(rh) << 20) | (n & kCounterMask);
}

uint64_t RuinCabinetId(uint32_t rh, uint32_t k) {
    return (static_cast<uint64_t>(rh) << 20) | kCabinetBit | (k & kCounterMask);
}

ItemType RuinLoot(uint32_t rh, int slot) {
    const float u = NoiseHash01(HashCoord(rh), slot, kLootSalt);
    for (const LootRow& row : kLootTable) {
        if (u < row.below) return row.item;
    }
    return ItemType::SparePart;
}

void BuildRuin(const MapBuilder& builder, Vector2 centre, float groundY, float width, float depth, float height,
               bool collapsed, float snow, uint32_t rh, std::vector<WorldItem>& items,
               std::vector<WorldCabinet>& cabinets, const std::unordered_set<uint64_t>& removed,
               std::vector<CollisionBox>& walls) {
    const float x = centre.x;
    const float z = centre.y;
    const float w = width;
    const float d = depth;
    const float h = height;
    const Color base = Mix(kStoneBare, kStoneSnowy, 0.45f * snow);
    const Color foundation = Scale(base, 0.76f);
    const float floorLine = groundY - 0.7f;
    const float wallHeight = collapsed ? 0.35f * h : h;
    RuinBuild ruin{builder, rh, items, cabinets, removed};

    AddBox(builder, Vector3{x, groundY - 1.1f, z}, Vector3{w / 2.0f + 0.35f, 1.15f, d / 2.0f + 0.35f}, foundation);
    const float maxTop = BuildWalls(ruin, x, z, w, d, floorLine, wallHeight, collapsed, snow, base, walls);
    const float v = floorLine + 0.75f;

    if (collapsed) {
        const Vector3 p1{x - w / 2.0f, floorLine + 0.8f * wallHeight, z - d / 2.0f};
        const Vector3 p2{x + w / 2.0f, floorLine + 0.2f, z - d / 2.0f};
        const Vector3 p3{x + w / 2.0f, floorLine + 0.2f, z + d / 2.0f};
        const Vector3 p4{x - w / 2.0f, 0.92f * (floorLine + 0.8f * wallHeight), z + d / 2.0f};
        builder.AddTriangle(p1, p2, p3, foundation);
        builder.AddTriangle(p1, p3, p4, foundation);
        CollapsedContents(ruin, x, z, v);
    } else {
        if (h > 5.5f) {
            const int slabs = static_cast<int>((h - 1.0f) / 3.2f);
            for (int k = 1; k <= slabs; ++k) {
                AddBox(builder, Vector3{x, floorLine + 0.75f + 3.2f * static_cast<float>(k), z},
                       Vector3{w / 2.0f - 0.2f, 0.13f, d / 2.0f - 0.2f}, foundation);
            }
        }
        if (maxTop > floorLine + 1.0f && ruin.Roll(5, 153u) > 0.25f) {
            AddBox(builder, Vector3{x, maxTop, z}, Vector3{w / 2.0f, 0.18f, d / 2.0f}, foundation);
            if (snow > 0.25f) {
                AddBox(builder, Vector3{x, maxTop + 0.2f, z}, Vector3{0.48f * w, 0.1f, 0.48f * d}, kSnow);
            }
        }
        StandingContents(ruin, x, z, w, d, h, v);
    }
    Rubble(ruin, x, z, w, groundY, base);
}

}  // namespace chunkgen
