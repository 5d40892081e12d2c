// settlement_sites.h: where the abandoned settlements lie. Whether a 700-unit
// cell holds a village, town or city, its centre and its plot grid are a pure
// function of the seed and the cell; chunk building and the world queries
// both recompute them here instead of storing anything.
#pragma once
#include <cstdint>
#include "raylib.h"
#include "world/worldgen.h"

// One settlement cell's verdict. When valid is false every field is zero.
struct SettlementSite {
    bool valid;
    int type;        // 0 village, 1 town, 2 city
    Vector3 center;  // centre x, 0, centre z
    float radius;
    int plots;         // plots per side of the square plot grid
    float spacing;     // distance between plot centres
    float plotChance;  // chance that a plot holds a ruin
};

namespace cfg {

// Everything that differs between a village, a town and a city.
struct SettlementKind {
    float radius;
    int plots;
    float spacing;
    float plotChance;
    // Ruin size: width = widthBase + widthRange * a, depth likewise with b,
    // height = heightBase + heightRange * d.
    float widthBase, widthRange;
    float heightBase, heightRange;
    float collapseChance;
    // Spare parts, fuel and coal, and supplies cached at the centre.
    int cacheCounts[3];
};

inline constexpr SettlementKind settlementKinds[3] = {
    {24.75f, 4, 15.0f, 0.45f, 6.0f, 5.0f, 4.0f, 3.0f, 0.45f, {1, 2, 2}},
    {55.0f, 6, 20.0f, 0.42f, 7.0f, 6.0f, 5.0f, 9.0f, 0.35f, {2, 3, 4}},
    {96.25f, 8, 25.0f, 0.42f, 9.0f, 7.0f, 9.0f, 17.0f, 0.3f, {3, 4, 6}},
};

}  // namespace cfg

inline constexpr float kSettlementCellSize = 700.0f;

// The settlement cell holding a world coordinate: floor(v / 700).
int SettlementCellOf(float v);

// The id of a settlement: its cell packed like a chunk key.
uint64_t SettlementKey(int sx, int sz);

// The cheap first test: only about one cell in seven is a candidate at all.
bool IsSettlementCandidate(uint32_t seed, int sx, int sz);

// Type, centre and plot grid of a cell as if its ground were fit to build
// on: what SettlementAtCell returns before its terrain test.
SettlementSite SettlementLayout(uint32_t seed, int sx, int sz);

// The site of a candidate cell; invalid on water, deep ground or steep ground,
// and invalid (rather than crashing) when no generator is given. Callers test
// IsSettlementCandidate first: a cell holds a settlement exactly when both say so.
SettlementSite SettlementAtCell(uint32_t seed, int sx, int sz, const WorldGen* gen);
