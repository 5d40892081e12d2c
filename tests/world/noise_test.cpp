// noise_test.cpp: the seeded permutation, gradient noise, fractal sums and
// cell hashes against their check values and edge cases.
#include "world/noise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <iterator>
#include <random>

namespace {

const uint32_t kSeeds[] = {0u, 1u, 5489u, 20261113u, 0xdeadbeefu, 0xffffffffu};

TEST(NoiseTable, SeedZeroStartsWithKnownOrder) {
    const Noise noise(0u);
    const uint8_t expected[16] = {229, 121, 136, 177, 239, 105, 89, 202, 26, 34, 245, 96, 141, 20, 36, 104};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(noise.perm[i], expected[i]) << "entry " << i;
    }
}

TEST(NoiseTable, IsAPermutationRepeatedOnce) {
    for (uint32_t seed : kSeeds) {
        const Noise noise(seed);
        int seen[256] = {};
        for (int i = 0; i < 256; ++i) {
            ++seen[noise.perm[i]];
            EXPECT_EQ(noise.perm[256 + i], noise.perm[i]) << "seed " << seed << " entry " << i;
        }
        for (int v = 0; v < 256; ++v) {
            EXPECT_EQ(seen[v], 1) << "seed " << seed << " value " << v;
        }
    }
}

TEST(NoiseTable, SameSeedSameTableOtherSeedOtherTable) {
    const Noise a(20261113u);
    const Noise b(20261113u);
    const Noise c(20261114u);
    EXPECT_TRUE(std::equal(std::begin(a.perm), std::end(a.perm), std::begin(b.perm)));
    EXPECT_FALSE(std::equal(std::begin(a.perm), std::end(a.perm), std::begin(c.perm)));
}

TEST(NoiseTable, TwisterFollowsItsPublishedCheck) {
    std::mt19937 twister(5489u);
    twister.discard(9999);
    EXPECT_EQ(static_cast<uint32_t>(twister()), 4123659995u);
}

TEST(NoiseValue, ZeroAtEveryLatticePoint) {
    for (uint32_t seed : kSeeds) {
        const Noise noise(seed);
        for (int x = -300; x <= 300; x += 7) {
            for (int y = -300; y <= 300; y += 11) {
                EXPECT_EQ(noise.Value(static_cast<float>(x), static_cast<float>(y)), 0.0f) << x << "," << y;
            }
        }
        EXPECT_EQ(noise.Value(-100000.0f, 100000.0f), 0.0f);
        EXPECT_EQ(noise.Value(16777216.0f, -3.0f), 0.0f);
    }
}

TEST(NoiseValue, CoordinatesWrapEvery256Cells) {
    const Noise noise(20261113u);
    for (float y : {0.25f, -7.75f, 130.5f}) {
        // -0.5 lies in cell -1, which wraps to cell 255 at the same fraction.
        EXPECT_EQ(std::bit_cast<uint32_t>(noise.Value(-0.5f, y)), std::bit_cast<uint32_t>(noise.Value(255.5f, y)));
        EXPECT_EQ(std::bit_cast<uint32_t>(noise.Value(y, -0.5f)), std::bit_cast<uint32_t>(noise.Value(y, 255.5f)));
        EXPECT_EQ(std::bit_cast<uint32_t>(noise.Value(3.375f, y)), std::bit_cast<uint32_t>(noise.Value(-252.625f, y)));
        EXPECT_EQ(std::bit_cast<uint32_t>(noise.Value(3.375f, y)), std::bit_cast<uint32_t>(noise.Value(515.375f, y)));
    }
}

TEST(NoiseValue, ContinuousAcrossCellEdges) {
    // Neighbouring cells must agree on their shared corners' gradients.
    const Noise noise(7u);
    const float eps = 1.0f / 4096.0f;
    for (int edge = -5; edge <= 5; ++edge) {
        for (float across : {0.1f, 0.5f, 0.9f, -2.3f}) {
            const float e = static_cast<float>(edge);
            EXPECT_NEAR(noise.Value(e - eps, across), noise.Value(e + eps, across), 0.01f);
            EXPECT_NEAR(noise.Value(across, e - eps), noise.Value(across, e + eps), 0.01f);
        }
    }
}

TEST(NoiseValue, StaysWithinUnitRangeAndVaries) {
    const Noise noise(0xdeadbeefu);
    float lo = 0.0f;
    float hi = 0.0f;
    for (int i = 0; i < 4000; ++i) {
        const float v = noise.Value(static_cast<float>(i) * 0.173f - 300.0f, static_cast<float>(i % 97) * 0.311f);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_GE(lo, -1.0f);
    EXPECT_LE(hi, 1.0f);
    EXPECT_LT(lo, -0.3f);
    EXPECT_GT(hi, 0.3f);
}

TEST(NoiseFractal, NoOctavesGiveZero) {
    const Noise noise(3u);
    for (int octaves : {0, -1, -100}) {
        EXPECT_EQ(noise.Fbm(0.3f, 0.7f, octaves, 2.0f, 0.5f), 0.0f);
        EXPECT_EQ(noise.Ridged(0.3f, 0.7f, octaves, 2.0f, 0.5f), 0.0f);
    }
}

TEST(NoiseFractal, SumsAreNormalisedByTheirAmplitudes) {
    const Noise noise(3u);
    const float x = 12.34f;
    const float y = -5.67f;
    const float v1 = noise.Value(x, y);
    const float v2 = noise.Value(x * 2.0f, y * 2.0f);
    const float v3 = noise.Value(x * 4.0f, y * 4.0f);
    EXPECT_EQ(noise.Fbm(x, y, 1, 2.0f, 0.5f), v1);
    EXPECT_EQ(noise.Fbm(x, y, 3, 2.0f, 0.5f), ((v1 + v2 * 0.5f) + v3 * 0.25f) / 1.75f);

    const float r1 = 1.0f - std::fabs(v1);
    const float r2 = 1.0f - std::fabs(v2);
    EXPECT_EQ(noise.Ridged(x, y, 2, 2.0f, 0.5f), (r1 * r1 + r2 * r2 * 0.5f) / 1.5f);
}

TEST(NoiseFractal, RidgedStaysInUnitInterval) {
    const Noise noise(11u);
    for (int i = 0; i < 2000; ++i) {
        const float r = noise.Ridged(static_cast<float>(i) * 0.37f, static_cast<float>(i) * -0.21f, 4, 2.0f, 0.5f);
        EXPECT_GE(r, 0.0f);
        EXPECT_LE(r, 1.0f);
    }
}

TEST(NoiseHash, CheckValues) {
    EXPECT_EQ(NoiseHash(1, 2, 3u), 0x04569f7cu);
    EXPECT_EQ(NoiseHash(-1, 0, 0u), 0xf1295adbu);
    EXPECT_EQ(NoiseHash(0, 0, 0u), 0u);
    EXPECT_EQ(NoiseHash01(0, 0, 0u), 0.0f);
}

TEST(NoiseHash, LargestHashesScaleToExactlyOne) {
    // Inputs found by inverting the hash: the very largest value, the
    // smallest of the 128 that round up to 2^32, and the one just below.
    EXPECT_EQ(NoiseHash(7, -337032636, 11u), 0xffffffffu);
    EXPECT_EQ(NoiseHash01(7, -337032636, 11u), 1.0f);
    EXPECT_EQ(NoiseHash(-3, 873081578, 0u), 0xffffff80u);
    EXPECT_EQ(NoiseHash01(-3, 873081578, 0u), 1.0f);
    EXPECT_EQ(NoiseHash(5, 81794153, 42u), 0xffffff7fu);
    EXPECT_EQ(NoiseHash01(5, 81794153, 42u), 0x1.fffffep-1f);
}

}  // namespace
