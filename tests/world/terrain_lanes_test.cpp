// terrain_lanes_test.cpp: the SSE2 and AVX2 terrain kernels against the
// scalar WorldGen::Sample and WorldGen::Height, bit for bit, on random points
// of every kind the scalar path takes and on points crafted to sit exactly
// on the thresholds of the kernels' comparisons.
#include "world/terrain_lanes.h"
#include "support/kernel_guards.h"
#include "world/cpu_features.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

uint32_t Bits(float v) {
    return std::bit_cast<uint32_t>(v);
}

// One coordinate drawn from a mix of the ordinary and the awkward: world
// distances near and far, whole and half lattice steps, signed zeros, the
// edges of the float-to-int conversion, subnormals, infinities and NaN.
float RandomCoordinate(std::mt19937& rng) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    static const float kSpecial[] = {0.0f,        -0.0f,         1.0f,           -1.0f,          0.5f,
                                     -0.5f,       8388607.5f,    -8388607.5f,    8388608.0f,     -8388608.0f,
                                     16777217.0f, 2147483520.0f, -2147483648.0f, 2147483648.0f,  4294967296.0f,
                                     1e30f,       -1e30f,        3.4028235e38f,  -3.4028235e38f, 1e-40f,
                                     -1e-40f,     kInf,          -kInf,          std::nanf(""),  -std::nanf("")};
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
bool SameBits(float want, float got) {
    return Bits(want) == Bits(got) || (std::isnan(want) && std::isnan(got));
}

void ExpectSameSample(const WorldSample& want, const WorldSample& got, float x, float z) {
    const float wantFields[7] = {want.height,   want.glacier, want.plain, want.hills,
                                 want.mountain, want.snow,    want.water};
    const float gotFields[7] = {got.height, got.glacier, got.plain, got.hills, got.mountain, got.snow, got.water};
    for (int f = 0; f < 7; ++f) {
        ASSERT_TRUE(SameBits(wantFields[f], gotFields[f]))
            << "field " << f << " at (" << x << ", " << z << ") bits " << std::hex << Bits(x) << " " << Bits(z);
    }
    ASSERT_EQ(want.biome, got.biome) << "at (" << x << ", " << z << ")";
}

// Points of world 20261113 where the scalar definition lands exactly on a
// threshold that the kernels compare against: each water mask at the 0.001
// up to which it pulls nothing, with other water above it so that the pull
// is considered at all; the water of a point at it; and two largest biome
// weights equal, where the earlier biome must win. Such roundings are rare
// (tens to hundreds of thousands of points along a threshold's contour for
// one exact hit, too slow to search for in a test), so they were found once
// by tracing each contour float by float with WorldGen::ComputeMasks; the
// test checks that they still land where they should.
constexpr uint32_t kThresholdSeed = 20261113u;
constexpr float kWaterLimit = 0.001f;

struct OnThreshold {
    const char* what;
    float x, z;
    bool (*holds)(const WorldGen::Masks&);
};

// A river at the limit changes nothing on ground already below its bed:
// this one would lower the ground there if it pulled at all.
bool RiverWouldLower(const WorldGen& gen, float x, float z) {
    const WorldGen::Masks masks = gen.ComputeMasks(x, z);
    WorldGen::Masks deeper = masks;
    deeper.river = std::nextafter(kWaterLimit, 1.0f);
    return gen.HeightFromMasks(x, z, deeper) != gen.HeightFromMasks(x, z, masks);
}

const OnThreshold kOnThreshold[] = {
    {"sea at the limit, river above it", 27463.8379f, -167.135406f,
     [](const WorldGen::Masks& m) { return m.sea == kWaterLimit && m.river > kWaterLimit; }},
    {"lake at the limit, sea above it", -4588.17383f, 28799.043f,
     [](const WorldGen::Masks& m) { return m.lake == kWaterLimit && m.sea > kWaterLimit; }},
    {"river at the limit, sea above it", 5292.96094f, -1710.88037f,
     [](const WorldGen::Masks& m) { return m.river == kWaterLimit && m.sea > kWaterLimit; }},
    {"water at the limit", 6612.65186f, 5403.21094f,
     [](const WorldGen::Masks& m) { return m.water == kWaterLimit && m.sea == kWaterLimit; }},
    {"plain and hills equal and largest", 13495.1309f, -11534.0635f,
     [](const WorldGen::Masks& m) { return m.plain == m.hills && m.plain > m.glacier && m.plain > m.mountain; }},
};

// Points on whole lattice lines of the detail noise (z * 0.03 a whole
// number, so both of its octaves enter their cells on the lower edge): there
// the blend of a cell's lower corners meets a corner whose gradient gives
// exactly zero while the other corner's lies on either side of zero.
std::vector<float> DetailLatticeZ() {
    std::vector<float> zs;
    for (int n = -40; n <= 40; ++n) {
        const float z = static_cast<float>(n) / 0.03f;
        if (z * 0.03f == static_cast<float>(n)) {
            zs.push_back(z);
        }
    }
    return zs;
}

class TerrainLanesTest : public testing::TestWithParam<TerrainLanes> {};

TEST_P(TerrainLanesTest, MatchesScalarSampleBitForBit) {
    if (GetParam() == TerrainLanes::Avx2 && !CpuHasAvx2()) {
        GTEST_SKIP() << "this CPU has no AVX2";
    }
    const testsupport::TerrainLanesGuard guard;
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

// The crafted points, each once in every lane position of a whole vector, so
// that no lane's comparison goes untested.
TEST_P(TerrainLanesTest, MatchesScalarSampleOnExactThresholds) {
    if (GetParam() == TerrainLanes::Avx2 && !CpuHasAvx2()) {
        GTEST_SKIP() << "this CPU has no AVX2";
    }
    const testsupport::TerrainLanesGuard guard;
    ASSERT_TRUE(ForceTerrainLanes(GetParam()));

    const WorldGen gen(kThresholdSeed);
    std::vector<float> px;
    std::vector<float> pz;
    for (const OnThreshold& point : kOnThreshold) {
        ASSERT_TRUE(point.holds(gen.ComputeMasks(point.x, point.z))) << point.what;
        px.push_back(point.x);
        pz.push_back(point.z);
    }
    ASSERT_TRUE(RiverWouldLower(gen, kOnThreshold[2].x, kOnThreshold[2].z));
    const std::vector<float> lattice = DetailLatticeZ();
    ASSERT_GE(lattice.size(), 20u);
    std::mt19937 rng(0x1a771ceu);
    std::uniform_real_distribution<float> along(-30000.0f, 30000.0f);
    for (const float z : lattice) {
        for (int i = 0; i < 8; ++i) {
            px.push_back(along(rng));
            pz.push_back(z);
        }
    }

    constexpr size_t kWidth = 8;
    std::vector<float> x;
    std::vector<float> z;
    for (size_t p = 0; p < px.size(); ++p) {
        for (size_t lane = 0; lane < kWidth; ++lane) {
            for (size_t i = 0; i < kWidth; ++i) {
                // Ordinary ground in the other lanes.
                x.push_back(i == lane ? px[p] : 37.0f * static_cast<float>(i));
                z.push_back(i == lane ? pz[p] : -53.0f * static_cast<float>(i));
            }
        }
    }
    std::vector<WorldSample> samples(x.size());
    std::vector<float> heights(x.size());
    SampleTerrain(gen, x.data(), z.data(), x.size(), samples.data());
    SampleTerrainHeights(gen, x.data(), z.data(), x.size(), heights.data());
    for (size_t i = 0; i < x.size(); ++i) {
        const WorldSample want = gen.Sample(x[i], z[i]);
        ASSERT_NO_FATAL_FAILURE(ExpectSameSample(want, samples[i], x[i], z[i]));
        ASSERT_TRUE(SameBits(want.height, heights[i])) << "height at (" << x[i] << ", " << z[i] << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(BothPaths, TerrainLanesTest, testing::Values(TerrainLanes::Sse2, TerrainLanes::Avx2),
                         [](const testing::TestParamInfo<TerrainLanes>& paramInfo) {
                             return paramInfo.param == TerrainLanes::Avx2 ? std::string("Avx2") : std::string("Sse2");
                         });

}  // namespace
