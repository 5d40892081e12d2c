// worldgen_test.cpp: biome weights, water masks and the height blend of the
// terrain generator, at real and at constructed points.
#include "world/worldgen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <string>

namespace {

const uint32_t kWorldSeed = 20261113u;

uint32_t Bits(float v) {
    return std::bit_cast<uint32_t>(v);
}

// The same masks with every water mask cleared: the height is then the pure
// biome blend.
WorldGen::Masks Dry(WorldGen::Masks masks) {
    masks.sea = 0.0f;
    masks.lake = 0.0f;
    masks.river = 0.0f;
    masks.water = 0.0f;
    return masks;
}

TEST(WorldGenSample, HeightAndBiomeAgreeWithSample) {
    for (uint32_t seed : {0u, kWorldSeed}) {
        const WorldGen gen(seed);
        for (int i = -20; i <= 20; ++i) {
            for (int j = -20; j <= 20; ++j) {
                const float x = static_cast<float>(i) * 1733.3f + 0.25f;
                const float z = static_cast<float>(j) * 1291.7f - 0.5f;
                const WorldSample sample = gen.Sample(x, z);
                ASSERT_EQ(Bits(gen.Height(x, z)), Bits(sample.height)) << x << "," << z;
                ASSERT_EQ(gen.BiomeAt(x, z), sample.biome);
            }
        }
    }
}

TEST(WorldGenSample, WeightsAndDerivedFieldsAreConsistent) {
    const WorldGen gen(kWorldSeed);
    int biomesSeen[4] = {};
    for (int i = -40; i <= 40; ++i) {
        for (int j = -40; j <= 40; ++j) {
            const float x = static_cast<float>(i) * 611.0f;
            const float z = static_cast<float>(j) * 577.0f;
            const WorldGen::Masks m = gen.ComputeMasks(x, z);
            ASSERT_FALSE(std::signbit(m.plain)) << x << "," << z;
            // The weights share out the whole unless plain was clamped at 0.
            if (m.plain > 0.0f) {
                ASSERT_NEAR(m.glacier + m.plain + m.hills + m.mountain, 1.0f, 1e-5f);
            } else {
                ASSERT_GE(m.glacier + m.hills + m.mountain, 1.0f - 1e-5f);
            }
            ASSERT_EQ(m.water, std::max(m.river, std::max(m.lake, m.sea)));
            const WorldSample s = gen.Sample(x, z);
            ASSERT_EQ(s.snow, 1.0f - 0.15f * m.mountain);
            ASSERT_EQ(s.water, m.water);
            ASSERT_EQ(s.biome, DominantBiome(m.glacier, m.plain, m.hills, m.mountain));
            ++biomesSeen[static_cast<int>(s.biome)];
        }
    }
    for (int b = 0; b < 4; ++b) {
        EXPECT_GT(biomesSeen[b], 0) << BiomeName(static_cast<Biome>(b));
    }
}

TEST(WorldGenSample, FullMountainLeavesNoOtherWeight) {
    const WorldGen gen(kWorldSeed);
    const WorldGen::Masks m = gen.ComputeMasks(-29250.0f, -27540.0f);
    ASSERT_EQ(m.mountain, 1.0f);
    EXPECT_EQ(m.glacier, 0.0f);
    EXPECT_EQ(m.hills, 0.0f);
    EXPECT_EQ(m.plain, 0.0f);
    EXPECT_EQ(gen.BiomeAt(-29250.0f, -27540.0f), Biome::Mountains);
}

TEST(WorldGenBiome, TiesKeepTheEarlierBiome) {
    EXPECT_EQ(DominantBiome(0.5f, 0.5f, 0.0f, 0.0f), Biome::Glacier);
    EXPECT_EQ(DominantBiome(0.0f, 0.5f, 0.5f, 0.0f), Biome::SnowPlain);
    EXPECT_EQ(DominantBiome(0.0f, 0.0f, 0.5f, 0.5f), Biome::SnowHills);
    EXPECT_EQ(DominantBiome(0.25f, 0.25f, 0.25f, 0.25f), Biome::Glacier);
    EXPECT_EQ(DominantBiome(0.1f, 0.2f, 0.3f, 0.4f), Biome::Mountains);
}

TEST(WorldGenBiome, Names) {
    EXPECT_EQ(std::string(BiomeName(Biome::Glacier)), "Glacier");
    EXPECT_EQ(std::string(BiomeName(Biome::SnowPlain)), "Snow plain");
    EXPECT_EQ(std::string(BiomeName(Biome::SnowHills)), "Snow hills");
    EXPECT_EQ(std::string(BiomeName(Biome::Mountains)), "Mountains");
    EXPECT_EQ(std::string(BiomeName(static_cast<Biome>(4))), "Unknown");
    EXPECT_EQ(std::string(BiomeName(static_cast<Biome>(-1))), "Unknown");
}

TEST(WorldGenHeight, MasksAtTheThresholdLeaveThePureBlend) {
    const WorldGen gen(kWorldSeed);
    const float x = -29250.0f;
    const float z = -708.75f;
    const WorldGen::Masks m = gen.ComputeMasks(x, z);
    ASSERT_LE(m.water, 0.001f);
    ASSERT_GT(m.hills, 0.0f);
    ASSERT_GT(m.glacier, 0.0f);
    const float pure = gen.HeightFromMasks(x, z, Dry(m));
    EXPECT_EQ(Bits(gen.Height(x, z)), Bits(pure));

    WorldGen::Masks edge = Dry(m);
    edge.sea = edge.lake = edge.river = edge.water = 0.001f;
    EXPECT_EQ(Bits(gen.HeightFromMasks(x, z, edge)), Bits(pure));
    edge.sea = edge.water = 0.0011f;
    EXPECT_LT(gen.HeightFromMasks(x, z, edge), pure);
}

TEST(WorldGenHeight, FullSeaPullsMostOfTheWayToTheSeaBed) {
    const WorldGen gen(kWorldSeed);
    const float x = -29250.0f;
    const float z = -4050.0f;
    const WorldGen::Masks m = gen.ComputeMasks(x, z);
    ASSERT_GE(m.sea, 1.0f);
    ASSERT_LE(m.lake, 0.001f);
    ASSERT_LE(m.river, 0.001f);
    const float pure = gen.HeightFromMasks(x, z, Dry(m));
    EXPECT_EQ(Bits(gen.Height(x, z)), Bits(pure + 0.97f * (-13.0f - pure)));

    // A sea mask above 1 is clamped before it is smoothed.
    WorldGen::Masks deep = m;
    deep.sea = deep.water = 1.5f;
    EXPECT_EQ(Bits(gen.HeightFromMasks(x, z, deep)), Bits(gen.Height(x, z)));
}

TEST(WorldGenHeight, RiverOnlyLowersGroundAboveItsBed) {
    const WorldGen gen(kWorldSeed);

    // A lake has already taken this ground below the river bed.
    const WorldGen::Masks low = gen.ComputeMasks(-29250.0f, -30375.0f);
    ASSERT_GT(low.river, 0.99f);
    ASSERT_GT(low.lake, 0.9f);
    WorldGen::Masks lakeOnly = low;
    lakeOnly.river = 0.0f;
    const float lakeHeight = gen.HeightFromMasks(-29250.0f, -30375.0f, lakeOnly);
    ASSERT_LT(lakeHeight, -6.3f);
    EXPECT_EQ(Bits(gen.Height(-29250.0f, -30375.0f)), Bits(lakeHeight));

    // Dry land under a full river is cut down toward the bed but not past it.
    const WorldGen::Masks high = gen.ComputeMasks(-29250.0f, -11947.5f);
    ASSERT_GE(high.river, 0.999f);
    ASSERT_LE(std::max(high.sea, high.lake), 0.001f);
    const float pure = gen.HeightFromMasks(-29250.0f, -11947.5f, Dry(high));
    const float cut = gen.Height(-29250.0f, -11947.5f);
    ASSERT_GT(pure, -6.3f);
    EXPECT_LT(cut, pure);
    EXPECT_GT(cut, -6.3f);

    // A constructed full sea followed by a full river: the river adds nothing.
    WorldGen::Masks seaAndRiver = Dry(high);
    seaAndRiver.sea = seaAndRiver.water = 1.0f;
    const float seaHeight = gen.HeightFromMasks(-29250.0f, -11947.5f, seaAndRiver);
    seaAndRiver.river = 1.0f;
    EXPECT_EQ(Bits(gen.HeightFromMasks(-29250.0f, -11947.5f, seaAndRiver)), Bits(seaHeight));
}

}  // namespace
