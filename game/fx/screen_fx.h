// screen_fx.h: the post-processing stage of the frame: the scene capture and its
// presentation (plain or smoothed), cloud shadows, distance fog, falling snow and
// the frost rim, with the plain arithmetic behind them kept testable.
#pragma once
#include <cstdint>

#include "raylib.h"
#include "world/atmosphere.h"

namespace cfg {

// Smallest size of the capture targets, whatever the window.
inline constexpr int fxMinWidth = 320;
inline constexpr int fxMinHeight = 200;
// The fog covers the scene at most this opaque.
inline constexpr float fxFogOpacity = 0.92f;
// Snowfall: no snow at or below the first intensity, blizzard streaks above the second.
inline constexpr float fxSnowThreshold = 0.02f;
inline constexpr float fxBlizzardThreshold = 0.62f;
inline constexpr uint32_t fxSnowSeed = 0x51ed270b;
inline constexpr Color fxSnowColour{242, 247, 255, 255};
// Frost below this intensity is not drawn.
inline constexpr float fxFrostThreshold = 0.01f;

}  // namespace cfg

// GLSL 330 fragment sources of the four full-screen shaders, run with raylib's
// default vertex shader. The game uses DefaultScreenFxSources; tests may hand
// in a broken one to see its feature switched off.
struct ScreenFxSources {
    const char* fxaa;
    const char* fog;
    const char* aerial;
    const char* frost;
};
ScreenFxSources DefaultScreenFxSources();

// Size of the capture targets for a window size.
struct FxTargetSize {
    int width;
    int height;
};
FxTargetSize FxTargetSizeFor(int windowWidth, int windowHeight);

// Uniforms of the fog pass for an atmosphere on a target of the given size.
struct FogUniforms {
    float color[4];
    Vector2 center;
    Vector2 screen;
    float start;
    float end;
    float pixelsPerUnit;
};
FogUniforms FogUniformsFor(const Atmosphere& atmosphere, float pixelsPerUnit, int width, int height);

// The frost pass draws only above the threshold, with the intensity clamped to 0..1.
bool FrostVisible(float intensity);
float FrostUniform(float intensity);

// One frame's snowfall for a weather intensity: count 0 means no snow.
struct SnowPass {
    float weather;
    int count;
    float vx;
    float vy;
    bool streaks;
};
SnowPass SnowPassFor(float weather);

// Where and how one particle is drawn: a streak from position to tail with the
// given width, or a flake of the given radius at position.
struct SnowParticle {
    Vector2 position;
    Vector2 tail;
    float width;
    float radius;
    Color colour;
};
// Particle `index` of a pass at a time, on a screen of the given size (> 0).
SnowParticle SnowParticleAt(const SnowPass& pass, int index, float time, float screenWidth, float screenHeight);

// The post-processing stage. Owns both capture targets, the white texture and
// the four shaders, frees them on destruction, and is never copied. Every
// resource that fails to load switches off only its own feature.
class ScreenFx {
public:
    ScreenFx();
    explicit ScreenFx(const ScreenFxSources& sources);
    ~ScreenFx();
    ScreenFx(const ScreenFx&) = delete;
    ScreenFx& operator=(const ScreenFx&) = delete;

    // Sizes the capture targets for a window of that size. Nothing happens when
    // they already have the size it gives: they never go below their minimum,
    // so a tiny window is compared by that size and not recreated every frame.
    void Resize(int newWidth, int newHeight);
    void BeginCapture();
    void EndCapture();
    void DrawFullscreen(Shader shader);
    void DrawCapturedFrame();
    void Present();
    void DrawFog(const Atmosphere& atmosphere, float pixelsPerUnit);
    void DrawAerial(float time, Vector2 center, float pixelsPerUnit);
    void DrawWeather(const Atmosphere& atmosphere, float time);
    void DrawFrost(float intensity, float time);

    RenderTexture2D scene{};
    RenderTexture2D post{};
    Texture2D white{};
    int width = 0;   // pixels of the capture targets (not the window's)
    int height = 0;  // pixels of the capture targets (not the window's)
    Shader fxaaShader{};
    bool fxaaEnabled = false;
    int locTexel = -1;
    Shader fogShader{};
    int locFogColor = -1;
    int locFogCenter = -1;
    int locFogScreen = -1;
    int locFogStart = -1;
    int locFogEnd = -1;
    int locFogPixelsPerUnit = -1;
    Shader aerialShader{};
    int locAerialTime = -1;
    int locAerialCamera = -1;
    int locAerialScreen = -1;
    int locAerialPixelsPerUnit = -1;
    Shader frostShader{};
    int locFrostIntensity = -1;
    int locFrostTime = -1;
};
