// ui_font.cpp: loading, drawing and measuring of the interface font, and the
// placing of a measured text.
#include "game/view/ui_font.h"

#include <array>

#include "game/platform/window.h"
#include "game/view/ui_font_data.h"

namespace ui {
namespace {

constexpr int kFontSize = 48;
constexpr float kSpacing = 1.0f;
constexpr int kCodepointCount = 199;

::Font g_font{};
bool g_loaded = false;

// Printable ASCII, the basic Cyrillic block (with Ё and ё) and the
// typographic marks the interface texts use.
std::array<int, kCodepointCount> UiCodepoints() {
    std::array<int, kCodepointCount> points{};
    int n = 0;
    for (int c = 32; c <= 126; ++c) points[n++] = c;
    for (int c = 1024; c <= 1119; ++c) points[n++] = c;
    for (int c : {8211, 8212, 8216, 8217, 8220, 8221, 8230, 8470}) points[n++] = c;
    return points;
}

}  // namespace

bool LoadFontFromBytes(const unsigned char* data, int size) {
    if (g_loaded) UnloadFont();
    // Without a window (the logic tests) there is no context for the atlas:
    // the default font stays, as after a failed load.
    if (!window::Open()) {
        g_font = GetFontDefault();
        g_loaded = false;
        return false;
    }
    const std::array<int, kCodepointCount> points = UiCodepoints();
    ::Font font = LoadFontFromMemory(".ttf", data, size, kFontSize, points.data(), kCodepointCount);
    const ::Font fallback = GetFontDefault();

    // raylib hands back its own default font when the data cannot be read, so
    // a load counts only when it produced an atlas of its own.
    if (font.texture.id == 0 || font.texture.id == fallback.texture.id) {
        // Glyphs rasterised without an atlas still own their CPU memory.
        if (font.texture.id == 0 && font.glyphs != nullptr && font.glyphs != fallback.glyphs) {
            UnloadFontData(font.glyphs, font.glyphCount);
            MemFree(font.recs);
        }
        g_font = fallback;
        g_loaded = false;
        return false;
    }
    SetTextureFilter(font.texture, TEXTURE_FILTER_BILINEAR);
    g_font = font;
    g_loaded = true;
    return true;
}

bool LoadFont() {
    return LoadFontFromBytes(kUiFontData, kUiFontDataSize);
}

void UnloadFont() {
    if (g_loaded) ::UnloadFont(g_font);
    g_font = GetFontDefault();
    g_loaded = false;
}

const ::Font& Font() {
    return g_font;
}

void Text(const char* text, int x, int y, int size, Color colour) {
    DrawTextEx(g_font, text, Vector2{static_cast<float>(x), static_cast<float>(y)}, static_cast<float>(size), kSpacing,
               colour);
}

float Measure(const char* text, int size) {
    return MeasureTextEx(g_font, text, static_cast<float>(size), kSpacing).x;
}

int CentredX(float cx, float width) {
    return static_cast<int>(cx - width / 2.0f);
}

int RightAlignedX(float rx, float width) {
    return static_cast<int>(rx - width);
}

int HalfUp(float v) {
    return static_cast<int>(v + 0.5f);
}

}  // namespace ui
