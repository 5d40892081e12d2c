// frame_layout.cpp: the formulas behind one frame's drawing.
#include "game/view/frame_layout.h"

#include <cmath>
#include "game/rules/survival.h"
#include "world/clamps.h"

namespace frame {

namespace {

unsigned char TintChannel(float light, float a, float cold) {
    const float base = std::trunc(std::fmin(std::fmax(255.0f * light, 0.0f), 255.0f));
    const float mixed = base * (1.0f - 0.3f * a) + cold * 0.3f * a;
    return ClampToByte(mixed);
}

}  // namespace

Vector2 DeckSway(float t) {
    return Vector2{0.45f * std::sin(0.55f * t), 0.27f * std::sin(0.83f * t + 0.9f)};
}

Vector2 ShakeOffset(float shake, float scale, float clock) {
    if (!(shake > 0.05f) || !(scale > 0.0f)) return Vector2{0.0f, 0.0f};
    return Vector2{std::sin(91.0f * clock) * shake / scale, 0.7f * std::cos(77.0f * clock) * shake / scale};
}

Color GroundTint(Vector3 lightColour, float altitudeFraction) {
    return Color{TintChannel(lightColour.x, altitudeFraction, 150.0f),
                 TintChannel(lightColour.y, altitudeFraction, 168.0f),
                 TintChannel(lightColour.z, altitudeFraction, 196.0f), 255};
}

float HazeAlpha(float altitudeFraction) {
    return 0.1f + 0.2f * altitudeFraction;
}

float TowerParallax(float altitudeFraction) {
    return 0.2f / (2.0f * altitudeFraction + 1.0f);
}

float FrostIntensity(const FrostInputs& in) {
    if (in.gameOver) return 1.0f;
    const float cold = Clamp01NanToZero((-in.airTemperature - 10.0f) / 40.0f);
    const float chill = Clamp01NanToZero((cfg::kNeedMax - in.warmth) / 85.0f);
    float f = Clamp01NanToZero(0.55f * cold + 0.9f * chill);
    if (in.onDeck && in.cabinTemp > 12.0f) f = 0.3f * f;
    return f;
}

float FigureSize(float scale) {
    return std::fmin(std::fmax(1.8f * scale, 7.0f), 13.0f);
}

FigureAxes FigureAxesFor(float fx, float fz) {
    const float m = std::sqrt(fx * fx + fz * fz);
    if (!(m >= 0.001f)) return FigureAxes{Vector2{0.0f, -1.0f}, Vector2{1.0f, 0.0f}};
    return FigureAxes{Vector2{fx / m, fz / m}, Vector2{-fz / m, fx / m}};
}

Vector2 FigurePoint(Vector2 p, const FigureAxes& axes, float size, float along, float across) {
    return Vector2{p.x + along * size * axes.forward.x + across * size * axes.side.x,
                   p.y + along * size * axes.forward.y + across * size * axes.side.y};
}

float TraceFade(float life) {
    return Clamp01NanToZero(life / 0.35f);
}

float FlashAlpha(float flashTimer) {
    return 0.65f * Clamp01NanToZero(flashTimer / 0.07f);
}

const char* EndTitle(const EndState& s) {
    if (s.won) return "ПОСЕЛЕНИЕ СПАСЕНО";
    if (s.settlementFroze) return "ПОСЕЛЕНИЕ ЗАМЁРЗЛО";
    if (s.froze) return "ТЫ ЗАМЁРЗ НАСМЕРТЬ";
    return "ТЫ ПОГИБ";
}

const char* EndHint(bool won) {
    return won ? "R - новый мир    Enter - лететь дальше" : "R - новый мир    Esc - меню";
}

float UiScale(int windowWidth) {
    const float scale = static_cast<float>(windowWidth) / static_cast<float>(kUiWidth);
    return scale > 0.0f ? scale : 1.0f;
}

Backdrop BackdropFor(int windowHeight) {
    const float h = static_cast<float>(windowHeight);
    const int sky = static_cast<int>(0.64f * h);
    return Backdrop{sky, sky, static_cast<int>(0.36f * h)};
}

}  // namespace frame

Vector2 ToUiSpace(Vector2 point, int windowWidth) {
    const float scale = frame::UiScale(windowWidth);
    return Vector2{point.x / scale, point.y / scale};
}
