// draw_test_support.h: what the frame and HUD drawing tests share: a whole
// frame of a Game read back from the window's back buffer, and comparisons of
// two frames or of a region against a colour.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "game/game.h"
#include "game/view/ui_font.h"
#include "raylib.h"
#include "rlgl.h"
#include "support/gl_fixture.h"
#include "tests/game/game_fixture.h"

namespace drawtest {

// One frame of Game::Draw over a screen filled with the leftover colour, read
// back before the buffers swap. The caller unloads the image.
inline Image DrawFrame(Game& game, Color leftover = BLACK) {
    BeginDrawing();
    ClearBackground(leftover);  // what the screen held before this frame
    game.Draw();
    rlDrawRenderBatchActive();
    Image image = LoadImageFromScreen();
    EndDrawing();
    ImageFormat(&image, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8);
    return image;
}

// The bounding box of the pixels that differ between two frames by more than
// the tolerance in any channel, and how many there are.
struct Diff {
    int count = 0;
    int left = 1 << 30;
    int top = 1 << 30;
    int right = -1;
    int bottom = -1;
};

inline Diff CompareIn(const Image& a, const Image& b, int x0, int y0, int x1, int y1, int tolerance = 6) {
    Diff d;
    for (int y = std::max(y0, 0); y < std::min(y1, a.height); ++y) {
        for (int x = std::max(x0, 0); x < std::min(x1, a.width); ++x) {
            if (testgl::SameColour(testgl::PixelAt(a, x, y), testgl::PixelAt(b, x, y), tolerance)) {
                continue;
            }
            ++d.count;
            d.left = std::min(d.left, x);
            d.right = std::max(d.right, x);
            d.top = std::min(d.top, y);
            d.bottom = std::max(d.bottom, y);
        }
    }
    return d;
}

inline Diff Compare(const Image& a, const Image& b, int tolerance = 6) {
    return CompareIn(a, b, 0, 0, a.width, a.height, tolerance);
}

inline bool NearRgb(Color got, Color want, int tolerance) {
    return std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
           std::abs(got.b - want.b) <= tolerance;
}

// Pixels of the region [x0, x1) x [y0, y1) within the tolerance of the colour.
inline int CountNear(const Image& image, int x0, int y0, int x1, int y1, Color want, int tolerance) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) n += NearRgb(testgl::PixelAt(image, x, y), want, tolerance);
    }
    return n;
}

inline ::testing::AssertionResult RgbAt(const Image& image, int x, int y, Color want, int tolerance) {
    const Color got = testgl::PixelAt(image, x, y);
    if (NearRgb(got, want, tolerance)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is (" << int(got.r) << ", " << int(got.g)
                                         << ", " << int(got.b) << "), want (" << int(want.r) << ", " << int(want.g)
                                         << ", " << int(want.b) << ")";
}

// Darker than this in every channel.
inline bool Dark(Color c, int limit) {
    return c.r < limit && c.g < limit && c.b < limit;
}

// A Game test that has the UI font loaded.
class DrawTest : public testgame::GameTest {
protected:
    void SetUp() override { ASSERT_TRUE(ui::LoadFont()); }
};

}  // namespace drawtest
