// screen_fx.cpp: the screen effects' graphics resources (capture targets, white
// texture, shaders), the scene capture and its presentation to the window.
#include "game/fx/screen_fx.h"

#include <algorithm>

#include "game/platform/window.h"
#include "rlgl.h"

namespace {

// A shader counts as loaded only with a program of its own: raylib answers a
// failed compile with id 0 and a failed link with its default shader, and the
// default shader would paint the stretched white texture opaque over the frame.
Shader LoadFxShader(const char* source) {
    if (source == nullptr) return Shader{};
    Shader shader = LoadShaderFromMemory(nullptr, source);
    if (shader.id != 0 && shader.id != rlGetShaderIdDefault()) return shader;
    // A failed compile still carries a location table of its own.
    if (shader.id == 0) UnloadShader(shader);
    return Shader{};
}

void FreeShader(Shader& shader) {
    if (shader.id != 0) UnloadShader(shader);
    shader = Shader{};
}

// raylib hands back a framebuffer id even when the driver refused the
// attachments (a size beyond its limits), so completeness is checked too.
RenderTexture2D LoadTarget(int w, int h) {
    RenderTexture2D target = LoadRenderTexture(w, h);
    if (IsRenderTextureValid(target) && rlFramebufferComplete(target.id)) {
        SetTextureWrap(target.texture, TEXTURE_WRAP_CLAMP);
        return target;
    }
    if (target.id != 0) UnloadRenderTexture(target);
    return RenderTexture2D{};
}

}  // namespace

FxTargetSize FxTargetSizeFor(int windowWidth, int windowHeight) {
    return FxTargetSize{std::max(windowWidth, cfg::fxMinWidth), std::max(windowHeight, cfg::fxMinHeight)};
}

ScreenFx::ScreenFx() : ScreenFx(DefaultScreenFxSources()) {}

ScreenFx::ScreenFx(const ScreenFxSources& sources) {
    Resize(window::Width(), window::Height());
    // Without a window (the logic tests) there is no graphics context: nothing
    // is loaded, and every pass skips itself as it would after a failed load.
    if (!window::Open()) return;

    Image pixel = GenImageColor(1, 1, WHITE);
    white = LoadTextureFromImage(pixel);
    UnloadImage(pixel);

    fxaaShader = LoadFxShader(sources.fxaa);
    if (fxaaShader.id != 0) {
        locTexel = GetShaderLocation(fxaaShader, "uTexel");
    } else {
        TraceLog(LOG_WARNING, "FX: fxaa shader failed to load");
    }

    fogShader = LoadFxShader(sources.fog);
    if (fogShader.id != 0) {
        locFogColor = GetShaderLocation(fogShader, "uFogColor");
        locFogCenter = GetShaderLocation(fogShader, "uCenter");
        locFogScreen = GetShaderLocation(fogShader, "uScreen");
        locFogStart = GetShaderLocation(fogShader, "uFogStart");
        locFogEnd = GetShaderLocation(fogShader, "uFogEnd");
        locFogPixelsPerUnit = GetShaderLocation(fogShader, "uPixelsPerUnit");
    }

    aerialShader = LoadFxShader(sources.aerial);
    if (aerialShader.id != 0) {
        locAerialTime = GetShaderLocation(aerialShader, "uTime");
        locAerialCamera = GetShaderLocation(aerialShader, "uCamera");
        locAerialScreen = GetShaderLocation(aerialShader, "uScreen");
        locAerialPixelsPerUnit = GetShaderLocation(aerialShader, "uPixelsPerUnit");
    } else {
        TraceLog(LOG_WARNING, "FX: aerial shader failed to load");
    }

    frostShader = LoadFxShader(sources.frost);
    if (frostShader.id != 0) {
        locFrostIntensity = GetShaderLocation(frostShader, "uIntensity");
        locFrostTime = GetShaderLocation(frostShader, "uTime");
    } else {
        TraceLog(LOG_WARNING, "FX: frost shader failed to load");
    }
}

ScreenFx::~ScreenFx() {
    FreeShader(fxaaShader);
    FreeShader(fogShader);
    FreeShader(aerialShader);
    FreeShader(frostShader);
    if (white.id != 0) UnloadTexture(white);
    if (post.id != 0) UnloadRenderTexture(post);
    if (scene.id != 0) UnloadRenderTexture(scene);
}

void ScreenFx::Resize(int newWidth, int newHeight) {
    const FxTargetSize size = FxTargetSizeFor(newWidth, newHeight);
    if (size.width == width && size.height == height) return;

    if (scene.id != 0) UnloadRenderTexture(scene);
    if (post.id != 0) UnloadRenderTexture(post);
    width = size.width;
    height = size.height;
    scene = RenderTexture2D{};
    post = RenderTexture2D{};
    if (!window::Open()) return;

    scene = LoadTarget(width, height);
    if (scene.id == 0) TraceLog(LOG_WARNING, "FX: render texture failed to load");
    // Without the second target the smoothing pass is simply skipped.
    post = LoadTarget(width, height);
}

void ScreenFx::BeginCapture() {
    if (scene.id != 0) BeginTextureMode(scene);
}

void ScreenFx::EndCapture() {
    if (scene.id != 0) EndTextureMode();
}

void ScreenFx::DrawFullscreen(Shader shader) {
    if (shader.id == 0 || white.id == 0) return;
    BeginShaderMode(shader);
    DrawTexturePro(white, Rectangle{0.0f, 0.0f, 1.0f, 1.0f},
                   Rectangle{0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height)}, Vector2{0.0f, 0.0f},
                   0.0f, WHITE);
    EndShaderMode();
}

void ScreenFx::DrawCapturedFrame() {
    if (scene.id == 0) return;
    DrawTexturePro(scene.texture, Rectangle{0.0f, 0.0f, static_cast<float>(width), -static_cast<float>(height)},
                   Rectangle{0.0f, 0.0f, static_cast<float>(window::Width()), static_cast<float>(window::Height())},
                   Vector2{0.0f, 0.0f}, 0.0f, WHITE);
}

void ScreenFx::Present() {
    // With no capture the world went straight to the screen: there is nothing
    // to present, and smoothing an empty target would paint over that world.
    if (scene.id == 0) return;
    if (!fxaaEnabled || fxaaShader.id == 0 || post.id == 0) {
        DrawCapturedFrame();
        return;
    }
    BeginTextureMode(post);
    DrawCapturedFrame();
    EndTextureMode();

    const Vector2 texel{1.0f / static_cast<float>(width), 1.0f / static_cast<float>(height)};
    if (locTexel >= 0) SetShaderValue(fxaaShader, locTexel, &texel, SHADER_UNIFORM_VEC2);
    BeginShaderMode(fxaaShader);
    DrawTexturePro(post.texture, Rectangle{0.0f, 0.0f, static_cast<float>(width), -static_cast<float>(height)},
                   Rectangle{0.0f, 0.0f, static_cast<float>(window::Width()), static_cast<float>(window::Height())},
                   Vector2{0.0f, 0.0f}, 0.0f, WHITE);
    EndShaderMode();
}
