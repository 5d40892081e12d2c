// settlement_sites.cpp: the seeded choice of settlement cells, their type and
// centre, and the terrain test that rejects sites on water or steep ground.
#include "world/settlement_sites.h"

#include <cmath>
#include "world/cell_index.h"
#include "world/noise.h"

namespace {

constexpr uint32_t kCandidateSalt = 0x51ed270bu;
constexpr uint32_t kTypeSalt = 0x2545f491u;
constexpr uint32_t kCentreXSalt = 0x9e3779b9u;
constexpr uint32_t kCentreZSalt = 0x85ebca6bu;

// Integer offsets of a cell coordinate wrap like the hash itself.
int Offset(int v, int delta) {
    return static_cast<int>(static_cast<uint32_t>(v) + static_cast<uint32_t>(delta));
}

}  // namespace

int SettlementCellOf(float v) {
    return CellIndex(v, kSettlementCellSize);
}

uint64_t SettlementKey(int sx, int sz) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(sx)) << 32) | static_cast<uint32_t>(sz);
}

bool IsSettlementCandidate(uint32_t seed, int sx, int sz) {
    return NoiseHash01(sx, sz, seed ^ kCandidateSalt) <= 0.15f;
}

SettlementSite SettlementLayout(uint32_t seed, int sx, int sz) {
    const float t = NoiseHash01(Offset(sx, 71), Offset(sz, -31), seed ^ kTypeSalt);
    const int type = t < 0.62f ? 0 : (t < 0.92f ? 1 : 2);

    const float hx = NoiseHash01(Offset(sx, -13), Offset(sz, 17), seed ^ kCentreXSalt);
    const float hz = NoiseHash01(Offset(sx, 29), Offset(sz, -43), seed ^ kCentreZSalt);
    const float x = ((0.5f * hx + 0.25f) + static_cast<float>(sx)) * kSettlementCellSize;
    const float z = ((0.5f * hz + 0.25f) + static_cast<float>(sz)) * kSettlementCellSize;

    const cfg::SettlementKind& kind = cfg::settlementKinds[type];
    SettlementSite site{};
    site.valid = true;
    site.type = type;
    site.center = Vector3{x, 0.0f, z};
    site.radius = kind.radius;
    site.plots = kind.plots;
    site.spacing = kind.spacing;
    site.plotChance = kind.plotChance;
    return site;
}

SettlementSite SettlementAtCell(uint32_t seed, int sx, int sz, const WorldGen* gen) {
    if (gen == nullptr) return SettlementSite{};
    const SettlementSite site = SettlementLayout(seed, sx, sz);
    const float x = site.center.x;
    const float z = site.center.z;
    const WorldSample s = gen->Sample(x, z);
    const float dx = gen->Height(x + 4.0f, z) - gen->Height(x - 4.0f, z);
    const float dz = gen->Height(x, z + 4.0f) - gen->Height(x, z - 4.0f);
    const float gradient = std::sqrt(dx * dx + dz * dz) * 0.125f;
    if (s.water > 0.15f || s.height < -4.2f || gradient > 0.45f) return SettlementSite{};
    return site;
}
