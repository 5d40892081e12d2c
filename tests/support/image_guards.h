// image_guards.h: guards that release what a test drew when its scope ends,
// so that a failed assertion, which leaves the test function at once, leaks
// no image or render texture.
#pragma once
#include "raylib.h"

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

}  // namespace testsupport
