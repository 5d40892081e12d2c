// screen_fx_passes.cpp: the passes drawn over the scene: distance fog and cloud
// shadows inside the capture, snowfall and the frost rim on the screen, with
// the uniform and particle arithmetic they run on.
#include <algorithm>
#include <cmath>

#include "game/fx/screen_fx.h"
#include "game/platform/window.h"
#include "world/noise.h"

namespace {

// Wraps v into [0, size): the snow leaving one edge comes back at the other.
double Wrap(double v, double size) {
    double wrapped = v - std::floor(v / size) * size;
    return wrapped >= size ? wrapped - size : wrapped;
}

}  // namespace

FogUniforms FogUniformsFor(const Atmosphere& atmosphere, float pixelsPerUnit, int width, int height) {
    FogUniforms u{};
    u.color[0] = static_cast<float>(atmosphere.fogColor.r) / 255.0f;
    u.color[1] = static_cast<float>(atmosphere.fogColor.g) / 255.0f;
    u.color[2] = static_cast<float>(atmosphere.fogColor.b) / 255.0f;
    u.color[3] = cfg::fxFogOpacity;
    u.center = Vector2{0.5f, 0.5f};
    u.screen = Vector2{static_cast<float>(width), static_cast<float>(height)};
    u.start = atmosphere.fogNear;
    u.end = atmosphere.fogFar;
    u.pixelsPerUnit = pixelsPerUnit;
    return u;
}

bool FrostVisible(float intensity) {
    return intensity > cfg::fxFrostThreshold;
}

float FrostUniform(float intensity) {
    return std::clamp(intensity, 0.0f, 1.0f);
}

SnowPass SnowPassFor(float weather) {
    // Written so that a NaN intensity also means no snow.
    if (!(weather > cfg::fxSnowThreshold)) return SnowPass{weather, 0, 0.0f, 0.0f, false};
    if (weather > cfg::fxBlizzardThreshold) return SnowPass{weather, 1050, 880.0f, 150.0f, true};
    const int count = static_cast<int>(560.0f * weather + 240.0f);
    return SnowPass{weather, std::max(count, 0), 65.0f, 42.0f, false};
}

SnowParticle SnowParticleAt(const SnowPass& pass, int index, float time, float screenWidth, float screenHeight) {
    const float h11 = NoiseHash01(index, 11, cfg::fxSnowSeed);
    const float h12 = NoiseHash01(index, 12, cfg::fxSnowSeed);
    const float h13 = NoiseHash01(index, 13, cfg::fxSnowSeed);
    const float h14 = NoiseHash01(index, 14, cfg::fxSnowSeed);

    // Positions grow with the world time; double keeps long sessions from
    // quantising the flakes' motion to whole pixels.
    const double t = time;
    const double w = screenWidth;
    const double h = screenHeight;
    const double sway = 9.0 * std::sin((0.9 * h14 + 0.6) * t + index);
    const double x = Wrap((0.7 * h14 + 0.55) * pass.vx * t + h11 * w + sway, w);
    const double y = Wrap((0.8 * h13 + 0.6) * pass.vy * t + h12 * h, h);
    const float a = 0.45f * h14 + 0.28f;

    SnowParticle p{};
    p.position = Vector2{static_cast<float>(x), static_cast<float>(y)};
    p.tail = Vector2{p.position.x - 10.0f - 12.0f * h13, p.position.y - 2.0f - 4.0f * h11};
    p.width = 1.2f * h13 + 1.0f;
    p.radius = 1.7f * h13 + 0.9f;
    p.colour = pass.streaks ? Fade(cfg::fxSnowColour, 0.95f * a) : Fade(cfg::fxSnowColour, 0.75f * pass.weather * a);
    return p;
}

void ScreenFx::DrawFog(const Atmosphere& atmosphere, float pixelsPerUnit) {
    if (fogShader.id == 0 || white.id == 0) return;
    const FogUniforms u = FogUniformsFor(atmosphere, pixelsPerUnit, width, height);
    if (locFogColor >= 0) SetShaderValue(fogShader, locFogColor, u.color, SHADER_UNIFORM_VEC4);
    if (locFogCenter >= 0) SetShaderValue(fogShader, locFogCenter, &u.center, SHADER_UNIFORM_VEC2);
    if (locFogScreen >= 0) SetShaderValue(fogShader, locFogScreen, &u.screen, SHADER_UNIFORM_VEC2);
    if (locFogStart >= 0) SetShaderValue(fogShader, locFogStart, &u.start, SHADER_UNIFORM_FLOAT);
    if (locFogEnd >= 0) SetShaderValue(fogShader, locFogEnd, &u.end, SHADER_UNIFORM_FLOAT);
    if (locFogPixelsPerUnit >= 0) {
        SetShaderValue(fogShader, locFogPixelsPerUnit, &u.pixelsPerUnit, SHADER_UNIFORM_FLOAT);
    }
    BeginBlendMode(BLEND_ALPHA);
    DrawFullscreen(fogShader);
    EndBlendMode();
}

void ScreenFx::DrawAerial(float time, Vector2 center, float pixelsPerUnit) {
    if (aerialShader.id == 0 || white.id == 0) return;
    const Vector2 screen{static_cast<float>(width), static_cast<float>(height)};
    if (locAerialCamera >= 0) SetShaderValue(aerialShader, locAerialCamera, &center, SHADER_UNIFORM_VEC2);
    if (locAerialScreen >= 0) SetShaderValue(aerialShader, locAerialScreen, &screen, SHADER_UNIFORM_VEC2);
    if (locAerialTime >= 0) SetShaderValue(aerialShader, locAerialTime, &time, SHADER_UNIFORM_FLOAT);
    if (locAerialPixelsPerUnit >= 0) {
        SetShaderValue(aerialShader, locAerialPixelsPerUnit, &pixelsPerUnit, SHADER_UNIFORM_FLOAT);
    }
    BeginBlendMode(BLEND_ALPHA);
    DrawFullscreen(aerialShader);
    EndBlendMode();
}

void ScreenFx::DrawWeather(const Atmosphere& atmosphere, float time) {
    const SnowPass pass = SnowPassFor(atmosphere.weatherIntensity);
    const float screenWidth = static_cast<float>(window::Width());
    const float screenHeight = static_cast<float>(window::Height());
    if (pass.count < 1 || white.id == 0 || screenWidth <= 0.0f || screenHeight <= 0.0f) return;
    BeginBlendMode(BLEND_ALPHA);
    for (int i = 0; i < pass.count; ++i) {
        const SnowParticle p = SnowParticleAt(pass, i, time, screenWidth, screenHeight);
        if (pass.streaks) {
            DrawLineEx(p.position, p.tail, p.width, p.colour);
        } else {
            DrawCircleV(p.position, p.radius, p.colour);
        }
    }
    EndBlendMode();
}

void ScreenFx::DrawFrost(float intensity, float time) {
    if (frostShader.id == 0 || !FrostVisible(intensity)) return;
    const float clamped = FrostUniform(intensity);
    if (locFrostIntensity >= 0) SetShaderValue(frostShader, locFrostIntensity, &clamped, SHADER_UNIFORM_FLOAT);
    if (locFrostTime >= 0) SetShaderValue(frostShader, locFrostTime, &time, SHADER_UNIFORM_FLOAT);
    BeginBlendMode(BLEND_ALPHA);
    DrawFullscreen(frostShader);
    EndBlendMode();
}
