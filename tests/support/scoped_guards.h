// scoped_guards.h: small guards the tests share, so that a failed assertion,
// which leaves the test function at once, still releases what the test drew
// and hands back the rasteriser and terrain paths the CPU would choose.
#pragma once
#include "raylib.h"
#include "world/terrain_lanes.h"
#include "world/top_down_baker.h"

namespace testsupport {

// Unloads the image held in the variable when the scope ends. The variable
// may be given a new image after an explicit UnloadImage; the last one held
// is released.
class ImageGuard {
public:
    explicit ImageGuard(const Image& image) : image_(image) {}
    ~ImageGuard() { UnloadImage(image_); }
    ImageGuard(const ImageGuard&) = delete;
    ImageGuard& operator=(const ImageGuard&) = delete;

private:
    const Image& image_;
};

// The same for a render texture.
class RenderTextureGuard {
public:
    explicit RenderTextureGuard(const RenderTexture2D& target) : target_(target) {}
    ~RenderTextureGuard() { UnloadRenderTexture(target_); }
    RenderTextureGuard(const RenderTextureGuard&) = delete;
    RenderTextureGuard& operator=(const RenderTextureGuard&) = delete;

private:
    const RenderTexture2D& target_;
};

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
