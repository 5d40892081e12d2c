// terrain_lanes_test.cpp: the SSE2 and AVX2 terrain kernels against the
// scalar WorldGen::Sample and WorldGen::Height, bit for bit, on random points
// of every kind the scalar path takes.
#include "world/terrain_lanes.h"
#include "world/cpu_features.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

uint32_t Bits(float v)
{
    return std::bit_cast<uint32_t>(v);
}

// Restores the CPU's own choice of path when a test ends.
class LanesGuard {
public:
    LanesGuard() : saved_(ActiveTerrainLanes()) {}
    ~LanesGuard() { ForceTerrainLanes(saved_); }

private:
    TerrainLanes saved_;
};

// One coordinate drawn from a mix of the ordinary and the awkward: world
// distances near and far, whole and half lattice steps, signed zeros, the
// edges of the float-to-int conversion, subnormals, infinities and NaN.
float RandomCoordinate(std::mt19937& rng)
{
    constexpr float kInf = std::numeric_limits<float>::infinity();
    static const float kSpecial[] = {0.0f,       -0.0f,        1.0f,        -1.0f,       0.5f,
                                     -0.5f,      8388607.5f,   -8388607.5f, 8388608.0f,  -8388608.0f,
                                     16777217.0f, 2147483520.0f, -2147483648.0f, 2147483648.0f, 4294967296.0f,
                                     1e30f,      -1e30f,       3.4028235e38f, -3.4028235e38f, 1e-40f,
                                     -1e-40f,    kInf,         -kInf,       std::nanf(""), -std::nanf("")};
    std::uniform_int_distribution<int> kind(0, 7);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    switch (kind(rng)) {
        case 0: return unit(rng) * 2000.0f;
        case 1: return unit(rng) * 300000.0f;
        case 2: return unit(rng) * 3.0e7f;
        case 3: return unit(rng) * 3.0e9f;
        // Whole and half units, and multiples of the 2-unit chunk grid.
        case 4: return std::round(unit(rng) * 20000.0f) * 0.5f;
        case 5: return std::round(unit(rng) * 100000.0f) * 2.0f;
        case 6: return std::bit_cast<float>(static_cast<uint32_t>(rng()));
        default: return kSpecial[rng() % (sizeof(kSpecial) / sizeof(kSpecial[0]))];
    }
}

// Bit for bit, except that any NaN matches any NaN: when two NaNs meet in an
// addition, which one survives follows the operand order the compiler picked
// for a commutative operation, which the formulas do not fix. A NaN where
// the scalar path has a number, or the reverse, is still a mismatch.
bool SameBits(float want, float got)
{
    return Bits(want) == Bits(got) || (std::isnan(want) && std::isnan(got));
}

void ExpectSameSample(const WorldSample& want, const WorldSample& got, float x, float z)
{
    const float wantFields[7] = {want.height, want.glacier, want.plain, want.hills,
                                 want.mountain, want.snow, want.water};
    const float gotFields[7] = {got.height, got.glacier, got.plain, got.hills, got.mountain, got.snow, got.water};
    for (int f = 0; f < 7; ++f) {
        ASSERT_TRUE(SameBits(wantFields[f], gotFields[f]))
            << "field " << f << " at (" << x << ", " << z << ") bits " << std::hex << Bits(x) << " " << Bits(z);
    }
    ASSERT_EQ(want.biome, got.biome) << "at (" << x << ", " << z << ")";
}

class TerrainLanesTest : public testing::TestWithParam<TerrainLanes> {};

TEST_P(TerrainLanesTest, MatchesScalarSampleBitForBit)
{
    if (GetParam() == TerrainLanes::Avx2 && !CpuHasAvx2()) {
        GTEST_SKIP() << "this CPU has no AVX2";
    }
    const LanesGuard guard;
    ASSERT_TRUE(ForceTerrainLanes(GetParam()));
    ASSERT_EQ(ActiveTerrainLanes(), GetParam());

    std::mt19937 rng(0x5eed1e55u);
    for (uint32_t seed : {0u, 20261113u, 0xffffffffu, static_cast<uint32_t>(rng())}) {
        const WorldGen gen(seed);
        // An odd count leaves a tail after the whole vectors; the arrays are
        // read from an odd offset too.
        constexpr size_t kCount = 1203;
        std::vector<float> x(kCount + 1);
        std::vector<float> z(kCount + 1);
        for (size_t i = 0; i < x.size(); ++i) {
            x[i] = RandomCoordinate(rng);
            z[i] = RandomCoordinate(rng);
        }
        std::vector<WorldSample> samples(kCount);
        std::vector<float> heights(kCount);
        SampleTerrain(gen, x.data() + 1, z.data() + 1, kCount, samples.data());
        SampleTerrainHeights(gen, x.data() + 1, z.data() + 1, kCount, heights.data());
        for (size_t i = 0; i < kCount; ++i) {
            const float px = x[i + 1];
            const float pz = z[i + 1];
            const WorldSample want = gen.Sample(px, pz);
            ExpectSameSample(want, samples[i], px, pz);
            ASSERT_TRUE(SameBits(want.height, heights[i])) << "height at (" << px << ", " << pz << ")";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothPaths, TerrainLanesTest, testing::Values(TerrainLanes::Sse2, TerrainLanes::Avx2),
                         [](const testing::TestParamInfo<TerrainLanes>& info) {
                             return info.param == TerrainLanes::Avx2 ? std::string("Avx2") : std::string("Sse2");
                         });

}  // namespace
