// chunk_determinism_test.cpp: golden digests of whole chunks (every listed
// object bit for bit, in order, and every byte of the baked picture) and of
// the settlement sites around the origin. They hold in the Linux and the
// Windows build alike, so no compiler or library difference changes a world.
#include <gtest/gtest.h>

#include "chunk_test_support.h"
#include "support/kernel_guards.h"
#include "world/chunk_content.h"
#include "world/cpu_features.h"
#include "world/settlement_sites.h"
#include "world/terrain_lanes.h"

namespace {

struct ChunkGolden {
    uint32_t seed;
    int cx, cz;
    uint64_t lists;
    uint64_t image;
    size_t trees, items, cabinets, walls;
};

// Each golden holds on both terrain paths (the second only where the CPU has
// AVX2), since a chunk must not depend on which one sampled its grid.
void ExpectGolden(const ChunkGolden& golden) {
    const WorldGen gen(golden.seed);
    const testsupport::TerrainLanesGuard guard;
    for (TerrainLanes lanes : {TerrainLanes::Sse2, TerrainLanes::Avx2}) {
        if (lanes == TerrainLanes::Avx2 && !CpuHasAvx2()) continue;
        ASSERT_TRUE(ForceTerrainLanes(lanes));
        const chunktest::Generated chunk(gen, {}, golden.cx, golden.cz);
        const chunkgen::ChunkContent& c = chunk.content;
        SCOPED_TRACE(::testing::Message() << "seed " << golden.seed << " chunk " << golden.cx << "," << golden.cz
                                          << (lanes == TerrainLanes::Avx2 ? " (AVX2)" : " (SSE2)"));
        EXPECT_EQ(c.trees.size(), golden.trees);
        EXPECT_EQ(c.items.size(), golden.items);
        EXPECT_EQ(c.cabinets.size(), golden.cabinets);
        EXPECT_EQ(c.walls.size(), golden.walls);
        EXPECT_EQ(chunktest::ListsDigest(c), golden.lists);
        EXPECT_EQ(chunktest::ImageDigest(c.image), golden.image);
    }
}

// Snow plain with a lake under ice, next to the spawn area.
TEST(Determinism, ChunkContentAtOrigin) {
    ExpectGolden({20261113u, 0, 0, 0x3a0e2c6d4b300470ull, 0x1d7bc0cd0bbba438ull, 1, 0, 0, 0});
}

// The chunk holding the centre of the town of cell (1, 0): ruins with walls,
// cabinets and loot, and the nine caches of a town.
TEST(Determinism, ChunkContentTownCentre) {
    ExpectGolden({20261113u, 18, 5, 0x12a3dfacdf9db516ull, 0x10ee9492c25431e0ull, 12, 23, 8, 57});
}

// The centre of the village of cell (-1, 0): ruins beside ice.
TEST(Determinism, ChunkContentVillageCentre) {
    ExpectGolden({20261113u, -7, 5, 0xf8575b815a3431f8ull, 0xa48d94343e2719ffull, 3, 7, 1, 14});
}

// Far from the origin, where coordinates lose float precision.
TEST(Determinism, ChunkContentFarAway) {
    ExpectGolden({20261113u, 1500, -2300, 0x2620dc81ddac1b65ull, 0x1bc46d6f8fcfdbf1ull, 7, 0, 0, 0});
}

// Far out, where floats step by 2: the chunk holds nothing of a settlement
// but a neighbour's ruin in its picture's margin, which it must still draw.
TEST(Determinism, ChunkContentFarMarginRuin) {
    ExpectGolden({20261113u, 328132, -328110, 0x85b1617d861a773eull, 0x41193523aae7a53dull, 5, 0, 0, 0});
}

// Another seed: open water with ice and nothing listed.
TEST(Determinism, ChunkContentOtherSeed) {
    ExpectGolden({1u, -3, 2, 0x0c8210784d8af5a5ull, 0xb46984d1cc4e4f6eull, 0, 0, 0, 0});
}

// West of the origin the scatter's cells are floors of negative quotients,
// one column further west than truncation would give: that column's boulder
// reaches into the picture's west margin.
TEST(Determinism, ChunkContentNegativeMargin) {
    ExpectGolden({0u, -17, 21, 0x0c8210784d8af5a5ull, 0x734f1e9a9a570bf0ull, 0, 0, 0, 0});
}

// Every candidate cell of a 41 x 41 block: validity, type and centre.
TEST(Determinism, SettlementSitesAroundOrigin) {
    const WorldGen gen(20261113u);
    chunktest::Digest d;
    int valid = 0;
    for (int sz = -20; sz <= 20; ++sz) {
        for (int sx = -20; sx <= 20; ++sx) {
            if (!IsSettlementCandidate(gen.seed, sx, sz)) continue;
            const SettlementSite s = SettlementAtCell(gen.seed, sx, sz, &gen);
            d.Value(sx);
            d.Value(sz);
            d.Value(s.valid);
            d.Value(s.type);
            d.Vec(s.center);
            valid += s.valid ? 1 : 0;
        }
    }
    EXPECT_EQ(valid, 97);
    EXPECT_EQ(d.Result(), 0xef97d3ef7810a6a4ull);
}

}  // namespace
