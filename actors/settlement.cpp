// settlement.cpp: the home settlement's generation, saved state, furnace,
// heat field, survivors and collision. Depends on the world's terrain height.
#include "actors/settlement.h"
#include <algorithm>
#include <cmath>
#include "world/clamps.h"
#include "world/full_turn.h"
#include "world/world.h"

namespace cfg {
constexpr float kCentreOffsetX = 96.0f;
constexpr float kCentreOffsetZ = 40.0f;
constexpr float kPartOffsetX = -8.2f;
constexpr float kPartOffsetZ = 1.5f;
constexpr float kPartLift = 0.25f;
constexpr int kHuts = 5;
constexpr float kWanderInner = 9.0f;
constexpr float kWanderOuter = 24.0f;
constexpr float kHuddleInner = 8.5f;
constexpr float kHuddleOuter = 12.0f;
constexpr float kMaxFuel = 1800.0f;
constexpr float kFuelWanted = 1799.0f;
constexpr float kHeatRise = 0.14f;
constexpr float kHeatFall = 0.012f;
constexpr float kHeatRadius = 36.0f;
constexpr float kHeatGain = 1.6f;
constexpr float kHeatCeiling = 8.0f;
constexpr float kWarmGain = 3.0f;
constexpr float kWarmLoss = 1.2f;
constexpr float kBrokenChill = -0.16f;
constexpr float kWalkSpeed = 2.6f;
constexpr float kArrival = 0.5f;
constexpr float kRepairFuel = 300.0f;
constexpr float kRepairHeat = 0.2f;
constexpr float kRestoredWarmth = 70.0f;
constexpr float kRestoredHeat = 0.85f;
constexpr float kNearFurnaceSq = 100.0f;
constexpr float kNearPartSq = 9.0f;
constexpr float kNearTolerance = 4.5f;
constexpr float kFurnaceDisc = 6.5f;
constexpr float kWallTolerance = 5.0f;
}  // namespace cfg

namespace {

float Height(const World& world, float x, float z) {
    return world.gen.Height(x, z);
}

}  // namespace

float HomeSettlement::NextRandom() {
    uint32_t s = rng;
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    rng = s;
    return static_cast<float>(s & 0xFFFFFFu) / 16777215.0f;
}

Vector2 HomeSettlement::RandomTarget(float inner, float outer) {
    const float angle = kFullTurn * NextRandom();
    const float radius = inner + (outer - inner) * NextRandom();
    return {cx + std::cos(angle) * radius, cz + std::sin(angle) * radius};
}

void HomeSettlement::Generate(uint32_t seedIn, const World& world, Vector3 at) {
    cx = at.x + cfg::kCentreOffsetX;
    cz = at.z + cfg::kCentreOffsetZ;
    seed = seedIn == 0 ? 1u : seedIn;
    rng = seed * 747796405u + 2891336453u;
    if (rng == 0) {
        rng = 1;
    }
    cy = Height(world, cx, cz);

    broken = true;
    fuel = 0.0f;
    heat = 0.0f;
    elapsed = 0.0f;
    parts = 0;
    partTaken = false;
    allDead = false;

    partX = cx + cfg::kPartOffsetX;
    partZ = cz + cfg::kPartOffsetZ;
    partY = Height(world, partX, partZ) + cfg::kPartLift;

    huts.clear();
    for (int i = 0; i < cfg::kHuts; ++i) {
        Hut hut;
        const float angle = (static_cast<float>(i) * kFullTurn) / 5.0f + (NextRandom() - 0.5f) * 0.35f;
        const float radius = 17.0f + 7.0f * NextRandom();
        hut.x = cx + std::cos(angle) * radius;
        hut.z = cz + std::sin(angle) * radius;
        hut.width = 6.4f + 2.6f * NextRandom();
        hut.depth = 5.4f + 2.2f * NextRandom();
        hut.groundY = Height(world, hut.x, hut.z);
        hut.height = 2.2f + 1.4f * NextRandom();
        hut.chimney = i % 2 == 0;
        huts.push_back(hut);
    }

    survivors.clear();
    survivors.reserve(kHomeSurvivors);
    for (int i = 0; i < kHomeSurvivors; ++i) {
        Survivor s;
        const float angle = kFullTurn * NextRandom();
        const float radius = 7.0f + 8.0f * NextRandom();
        const float x = cx + std::cos(angle) * radius;
        const float z = cz + std::sin(angle) * radius;
        s.pos = {x, Height(world, x, z), z};
        s.target = RandomTarget(cfg::kWanderInner, cfg::kWanderOuter);
        s.warmth = 62.0f + 38.0f * NextRandom();
        s.timer = 1.0f + 4.0f * NextRandom();
        s.phase = kFullTurn * NextRandom();
        s.facing = kFullTurn * NextRandom();
        s.alive = true;
        s.resting = false;
        survivors.push_back(s);
    }
}

void HomeSettlement::RestoreState(float savedFuel, uint32_t alive, bool savedBroken, int32_t savedParts,
                                  bool savedPartTaken) {
    if (savedBroken) {
        fuel = 0.0f;
        heat = 0.0f;
    } else {
        // A damaged save may hold NaN or infinity: neither fills the furnace.
        fuel = std::isfinite(savedFuel) ? std::clamp(savedFuel, 0.0f, cfg::kMaxFuel) : 0.0f;
        heat = fuel > 0.0f ? cfg::kRestoredHeat : 0.0f;
    }
    parts = savedParts < 0 ? 0 : (savedParts < kFurnacePartsNeeded ? savedParts : kFurnacePartsNeeded);
    broken = savedBroken;
    partTaken = savedPartTaken;

    const size_t living = alive < survivors.size() ? alive : survivors.size();
    for (size_t i = 0; i < survivors.size(); ++i) {
        survivors[i].alive = i < living;
        survivors[i].warmth = i < living ? cfg::kRestoredWarmth : 0.0f;
    }
    allDead = survivorsAlive() == 0;
}

void HomeSettlement::Update(float dt, const World& world) {
    elapsed += dt;

    if (broken) {
        fuel = 0.0f;
        heat = 0.0f;
    } else if (fuel > 0.0f) {
        fuel = std::fmax(fuel - dt, 0.0f);
        heat = Clamp01(heat + cfg::kHeatRise * dt);
    } else {
        heat = Clamp01(heat - cfg::kHeatFall * dt);
    }

    for (size_t i = 0; i < survivors.size(); ++i) {
        Survivor& s = survivors[i];
        if (!s.alive) {
            continue;
        }
        const float rate = broken ? cfg::kBrokenChill : cfg::kWarmGain * heatAt(s.pos) - cfg::kWarmLoss;
        s.warmth = std::clamp(s.warmth + rate * dt, 0.0f, 100.0f);
        if (s.warmth <= 0.0f) {
            s.alive = false;
            s.warmth = 0.0f;
            TraceLog(LOG_INFO, "HEARTH: survivor %d froze to death", static_cast<int>(i));
            continue;
        }
        s.phase += dt;

        if (s.resting) {
            s.timer -= dt;
            if (s.timer <= 0.0f) {
                s.resting = false;
                s.target = RandomTarget(cfg::kWanderInner, cfg::kWanderOuter);
                s.timer = 6.0f + 8.0f * NextRandom();
            }
            continue;
        }

        if (s.timer > 0.0f) {
            s.timer -= dt;
        }
        if (s.timer <= 0.0f) {
            s.target = broken ? RandomTarget(cfg::kHuddleInner, cfg::kHuddleOuter)
                              : RandomTarget(cfg::kWanderInner, cfg::kWanderOuter);
            s.timer = 6.0f + 8.0f * NextRandom();
        }

        const float dx = s.target.x - s.pos.x;
        const float dz = s.target.y - s.pos.z;
        const float d = std::sqrt(dx * dx + dz * dz);
        if (d < cfg::kArrival) {
            const float r = NextRandom();
            if (broken) {
                s.timer = 1.5f + 3.0f * r;
            } else {
                s.resting = true;
                s.phase = 0.0f;
                s.timer = 3.0f + 5.0f * r;
            }
            continue;
        }
        s.facing = std::atan2(dx, -dz);
        const float step = std::fmin(cfg::kWalkSpeed * dt, d);
        s.pos.x += dx / d * step;
        s.pos.z += dz / d * step;
        s.pos.y = Height(world, s.pos.x, s.pos.z);
        s.phase += 9.0f * dt;
    }

    allDead = survivorsAlive() == 0;
}

void HomeSettlement::AddFuel(float seconds) {
    fuel = std::clamp(fuel + seconds, 0.0f, cfg::kMaxFuel);
}

bool HomeSettlement::needsFuel() const {
    return fuel < cfg::kFuelWanted;
}

float HomeSettlement::maxFuel() const {
    return cfg::kMaxFuel;
}

bool HomeSettlement::InstallPart() {
    if (!broken || parts > kFurnacePartsNeeded - 1) {
        return false;
    }
    parts += 1;
    if (parts != kFurnacePartsNeeded) {
        return false;
    }
    broken = false;
    fuel = cfg::kRepairFuel;
    heat = cfg::kRepairHeat;
    return true;
}

bool HomeSettlement::nearFurnace(Vector3 p) const {
    const float dx = p.x - cx;
    const float dz = p.z - cz;
    return std::fabs(p.y - cy) <= cfg::kNearTolerance && dx * dx + dz * dz <= cfg::kNearFurnaceSq;
}

bool HomeSettlement::nearLoosePart(Vector3 p) const {
    if (partTaken) {
        return false;
    }
    const float dx = p.x - partX;
    const float dz = p.z - partZ;
    return std::fabs(p.y - partY) <= cfg::kNearTolerance && dx * dx + dz * dz <= cfg::kNearPartSq;
}

float HomeSettlement::heatAt(Vector3 p) const {
    if (p.y - cy > cfg::kHeatCeiling) {
        return 0.0f;
    }
    const float dx = p.x - cx;
    const float dz = p.z - cz;
    const float d = std::sqrt(dx * dx + dz * dz);
    if (d >= cfg::kHeatRadius) {
        return 0.0f;
    }
    const float factor = Clamp01((1.0f - d / cfg::kHeatRadius) * cfg::kHeatGain);
    return heat * factor;
}

int HomeSettlement::survivorsAlive() const {
    int alive = 0;
    for (const Survivor& s : survivors) {
        alive += s.alive ? 1 : 0;
    }
    return alive;
}

float HomeSettlement::coldestWarmth() const {
    bool any = false;
    float coldest = 0.0f;
    for (const Survivor& s : survivors) {
        if (!s.alive) {
            continue;
        }
        if (!any || s.warmth < coldest) {
            coldest = s.warmth;
        }
        any = true;
    }
    return coldest;
}

// Each wall stands on its own ground: the furnace's disc is met within the
// height band around the furnace, a hut's walls within the band around that
// hut's ground, which on a slope lies well above or below the furnace.
Vector2 HomeSettlement::ResolveWalls(Vector3 p, float radius) const {
    float x = p.x;
    float z = p.z;

    const float reach = cfg::kFurnaceDisc + radius;
    const float fx = x - cx;
    const float fz = z - cz;
    const float d = std::sqrt(fx * fx + fz * fz);
    if (std::fabs(p.y - cy) <= cfg::kWallTolerance && d < reach) {
        if (d > 0.001f) {
            x = cx + fx / d * reach;
            z = cz + fz / d * reach;
        } else {
            x = cx + reach;
        }
    }

    for (const Hut& hut : huts) {
        if (std::fabs(p.y - hut.groundY) > cfg::kWallTolerance) {
            continue;
        }
        const float hx = hut.width / 2.0f + radius;
        const float hz = hut.depth / 2.0f + radius;
        const float ax = std::fabs(x - hut.x);
        const float az = std::fabs(z - hut.z);
        if (!(ax < hx && az < hz)) {
            continue;
        }
        const float px = hx - ax;
        const float pz = hz - az;
        if (pz > px) {
            x = x < hut.x ? hut.x - hx : hut.x + hx;
        } else {
            z = z < hut.z ? hut.z - hz : hut.z + hz;
        }
    }
    return {x, z};
}
