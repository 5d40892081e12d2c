// determinism_test.cpp: golden digests of the noise tables, the noise and
// the terrain, so that every build (Linux and Windows) yields the same world.
#include "world/noise.h"
#include "world/worldgen.h"

#include <gtest/gtest.h>

#include <bit>

namespace {

// FNV-1a over 32-bit words, byte by byte, low byte first.
class Digest {
public:
    void Add(uint32_t word) {
        for (int i = 0; i < 4; ++i) {
            hash_ ^= (word >> (8 * i)) & 0xffu;
            hash_ *= 0x100000001b3ull;
        }
    }
    void Add(float v) { Add(std::bit_cast<uint32_t>(v)); }
    uint64_t Value() const { return hash_; }

private:
    uint64_t hash_ = 0xcbf29ce484222325ull;
};

uint64_t PermDigest(const Noise& noise) {
    Digest d;
    for (int i = 0; i < 512; i += 4) {
        d.Add(static_cast<uint32_t>(noise.perm[i]) | static_cast<uint32_t>(noise.perm[i + 1]) << 8 |
              static_cast<uint32_t>(noise.perm[i + 2]) << 16 | static_cast<uint32_t>(noise.perm[i + 3]) << 24);
    }
    return d.Value();
}

// A spread grid out to +-100000 plus a fine patch near the origin, all off
// the lattice: 17 x 17 + 8 x 8 = 353 points.
template <typename Visit>
void ForEachTerrainPoint(Visit visit) {
    for (int i = 0; i <= 16; ++i) {
        for (int j = 0; j <= 16; ++j) {
            visit(static_cast<float>(i) * 12500.0f - 100000.0f + 0.37f,
                  static_cast<float>(j) * 12500.0f - 100000.0f - 0.61f);
        }
    }
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 8; ++j) {
            visit(static_cast<float>(i) * 3.3f + 100.0f, static_cast<float>(j) * 3.7f - 50.0f);
        }
    }
}

struct TerrainDigests {
    uint64_t heights;
    uint64_t masks;
    uint64_t biomes;
};

TerrainDigests DigestTerrain(const WorldGen& gen) {
    Digest heights;
    Digest masks;
    Digest biomes;
    ForEachTerrainPoint([&](float x, float z) {
        const WorldSample s = gen.Sample(x, z);
        const WorldGen::Masks m = gen.ComputeMasks(x, z);
        heights.Add(s.height);
        for (float v : {m.glacier, m.plain, m.hills, m.mountain, m.sea, m.lake, m.river, m.water}) {
            masks.Add(v);
        }
        biomes.Add(static_cast<uint32_t>(s.biome));
    });
    return {heights.Value(), masks.Value(), biomes.Value()};
}

TEST(Determinism, NoiseTables) {
    EXPECT_EQ(PermDigest(Noise(0u)), 0xa7395125c5984471ull);
    EXPECT_EQ(PermDigest(Noise(1u)), 0xdc4c3789fdd3d6f5ull);
    EXPECT_EQ(PermDigest(Noise(20261113u)), 0x8a2db70eab393c49ull);
    EXPECT_EQ(PermDigest(Noise(0xdeadbeefu)), 0x452287f03d4c8a25ull);
    EXPECT_EQ(PermDigest(Noise(0xffffffffu)), 0x33c91395d522cf7dull);

    const WorldGen gen(20261113u);
    Digest fields;
    for (const Noise* n : {&gen.terrainNoise, &gen.detailNoise, &gen.mountainNoise, &gen.glacierNoise, &gen.waterNoise,
                           &gen.riverNoise}) {
        fields.Add(static_cast<uint32_t>(PermDigest(*n)));
    }
    EXPECT_EQ(fields.Value(), 0x5881a2c2932c1664ull);
}

TEST(Determinism, NoiseAndHashes) {
    const Noise noise(0xdeadbeefu);
    Digest values;
    Digest sums;
    Digest hashes;
    for (int i = -40; i < 40; ++i) {
        for (int j = -40; j < 40; ++j) {
            const float x = static_cast<float>(i) * 0.731f + static_cast<float>(j) * 11.3f;
            const float y = static_cast<float>(j) * 0.577f - 3.1f;
            values.Add(noise.Value(x, y));
            sums.Add(noise.Fbm(x * 0.1f, y * 0.1f, 4, 2.0f, 0.5f));
            sums.Add(noise.Ridged(x * 0.1f, y * 0.1f, 3, 2.0f, 0.5f));
            hashes.Add(NoiseHash(i * 977, j * -613, 0x9e3779b9u));
            hashes.Add(NoiseHash01(i, j, static_cast<uint32_t>(i * j)));
        }
    }
    EXPECT_EQ(values.Value(), 0xb2ad2b9bc806d89bull);
    EXPECT_EQ(sums.Value(), 0xd7e2d688d6925c7aull);
    EXPECT_EQ(hashes.Value(), 0x7bf3498624361376ull);
    EXPECT_EQ(std::bit_cast<uint32_t>(noise.Value(0.3f, 0.7f)), 0xbe1d89bcu);
    EXPECT_EQ(std::bit_cast<uint32_t>(noise.Value(-123.456f, 78.9f)), 0xbea655f0u);
}

TEST(Determinism, TerrainSeedZero) {
    const TerrainDigests d = DigestTerrain(WorldGen(0u));
    EXPECT_EQ(d.heights, 0xdedfd49a1e2e9220ull);
    EXPECT_EQ(d.masks, 0xee1feda591fc7679ull);
    EXPECT_EQ(d.biomes, 0x4231bbc3bf4a50c6ull);
}

TEST(Determinism, TerrainDefaultSeed) {
    const WorldGen gen(20261113u);
    const TerrainDigests d = DigestTerrain(gen);
    EXPECT_EQ(d.heights, 0x9352ebc4ee344806ull);
    EXPECT_EQ(d.masks, 0x4937c7ae8c778c98ull);
    EXPECT_EQ(d.biomes, 0x7f64b7ff151b0417ull);

    EXPECT_EQ(std::bit_cast<uint32_t>(gen.Height(37.5f, -12.25f)), 0xc0be66e4u);
    EXPECT_EQ(std::bit_cast<uint32_t>(gen.Height(99999.5f, -100000.5f)), 0xc0bf820fu);
    EXPECT_EQ(std::bit_cast<uint32_t>(gen.Height(-29250.0f, -27540.0f)), 0x4265ec93u);
    EXPECT_EQ(std::bit_cast<uint32_t>(gen.Height(-29250.0f, -4050.0f)), 0xc14ab3c8u);
    EXPECT_EQ(std::bit_cast<uint32_t>(gen.Height(1234.5f, -678.25f)), 0xbedec7aeu);
    EXPECT_EQ(std::bit_cast<uint32_t>(gen.ComputeMasks(1234.5f, -678.25f).river), 0x3e8302c6u);
    const WorldGen::Masks m = gen.ComputeMasks(-29250.0f, -15896.25f);
    EXPECT_EQ(std::bit_cast<uint32_t>(m.glacier), 0x3dccdb94u);
    EXPECT_EQ(std::bit_cast<uint32_t>(m.plain), 0x3f2c51f8u);
    EXPECT_EQ(std::bit_cast<uint32_t>(m.hills), 0x3e684a5au);
}

TEST(Determinism, TerrainOtherSeed) {
    const WorldGen gen(0xdeadbeefu);
    const TerrainDigests d = DigestTerrain(gen);
    EXPECT_EQ(d.heights, 0x3cfb8a42f451b8e7ull);
    EXPECT_EQ(d.masks, 0x59de2d198f67cc57ull);
    EXPECT_EQ(d.biomes, 0x303def93ec2fe615ull);
    EXPECT_EQ(std::bit_cast<uint32_t>(gen.Height(-55555.5f, 77777.75f)), 0x41c3b40cu);
}

}  // namespace
