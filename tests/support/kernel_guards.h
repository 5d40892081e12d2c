// kernel_guards.h: guards for tests that force a rasteriser kernel or a
// terrain path, so that a failed assertion, which leaves the test function at
// once, still hands back the path the CPU would choose.
#pragma once
#include "world/terrain_lanes.h"
#include "world/top_down_baker.h"

namespace testsupport {

// Puts the rasteriser back on the kernel the CPU picks when the scope ends.
class BakerKernelGuard {
public:
    BakerKernelGuard() = default;
    ~BakerKernelGuard() { SetBakerKernel(BakerKernel::Auto); }
    BakerKernelGuard(const BakerKernelGuard&) = delete;
    BakerKernelGuard& operator=(const BakerKernelGuard&) = delete;
};

// Puts the terrain sampler back on the path it had when the scope began.
class TerrainLanesGuard {
public:
    TerrainLanesGuard() : saved_(ActiveTerrainLanes()) {}
    ~TerrainLanesGuard() { ForceTerrainLanes(saved_); }
    TerrainLanesGuard(const TerrainLanesGuard&) = delete;
    TerrainLanesGuard& operator=(const TerrainLanesGuard&) = delete;

private:
    TerrainLanes saved_;
};

}  // namespace testsupport
