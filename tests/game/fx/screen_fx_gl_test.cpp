// screen_fx_gl_test.cpp: the screen effects on a live context, read back pixel
// by pixel: capture and presentation, smoothing, fog, cloud shadows, snowfall,
// frost, and each failed resource switching off only its own feature.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "game/fx/screen_fx.h"
#include "rlgl.h"
#include "support/gl_fixture.h"
#include "support/image_guards.h"

namespace {

std::vector<std::string> gLog;

void CollectLog(int level, const char* text, va_list args) {
    char line[512];
    std::vsnprintf(line, sizeof line, text, args);
    if (level >= LOG_WARNING) gLog.emplace_back(line);
}

// Every "FX: ..." warning logged so far, joined by newlines.
std::string FxLines() {
    std::string out;
    for (const std::string& l : gLog) out += l.rfind("FX: ", 0) == 0 ? l + "\n" : "";
    return out;
}

// A syntax error (raylib returns id 0) and an unresolved function (raylib
// falls back to its default shader, which would paint a white quad).
const char* const kBrokenCompile = "#version 330\nout vec4 finalColor;\nvoid main() { finalColor = ; }\n";
const char* const kBrokenLink =
    "#version 330\nout vec4 finalColor;\nvec4 Missing();\nvoid main() { finalColor = Missing(); }\n";

constexpr Color kGround{20, 30, 40, 255};
constexpr Color kFog{200, 216, 230, 255};
using Px = std::pair<int, int>;

class ScreenFxGl : public ::testing::Test {
protected:
    void SetUp() override {
        gLog.clear();
        SetTraceLogCallback(CollectLog);
    }
    void TearDown() override { SetTraceLogCallback(nullptr); }

    // Presents onto the window's back buffer and reads it before the swap.
    static Image PresentToScreen(ScreenFx& fx, Color backdrop) {
        BeginDrawing();
        ClearBackground(backdrop);
        fx.Present();
        rlDrawRenderBatchActive();
        Image image = LoadImageFromScreen();
        EndDrawing();
        ImageFormat(&image, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8);
        return image;
    }

    // Black left half, white right half, a blue block in the top-left corner.
    static void CaptureTestScene(ScreenFx& fx) {
        fx.BeginCapture();
        ClearBackground(BLACK);
        DrawRectangle(800, 0, 800, 900, WHITE);
        DrawRectangle(100, 100, 300, 200, BLUE);
        fx.EndCapture();
    }

    template <typename Draw>
    static Image CaptureOver(ScreenFx& fx, Color ground, Draw draw) {
        fx.BeginCapture();
        ClearBackground(ground);
        draw();
        fx.EndCapture();
        return testgl::ReadBack(fx.scene);
    }

    static Image DrawOnBlack(const std::function<void()>& draw) { return testgl::Render(BLACK, draw); }
};

TEST_F(ScreenFxGl, BuildsEveryResourceAndResizesOnlyOnChange) {
    ScreenFx fx;
    EXPECT_TRUE(fx.width == 1600 && fx.height == 900 && fx.scene.texture.width == 1600);
    EXPECT_TRUE(fx.scene.id != 0 && fx.post.id != 0 && fx.white.id != 0 && !fx.fxaaEnabled);
    for (const Shader* s : {&fx.fxaaShader, &fx.fogShader, &fx.aerialShader, &fx.frostShader}) {
        EXPECT_TRUE(s->id != 0 && s->id != rlGetShaderIdDefault());
    }
    for (int loc : {fx.locTexel, fx.locFogColor, fx.locFogCenter, fx.locFogScreen, fx.locFogStart, fx.locFogEnd,
                    fx.locFogPixelsPerUnit, fx.locAerialTime, fx.locAerialCamera, fx.locAerialScreen,
                    fx.locAerialPixelsPerUnit, fx.locFrostIntensity, fx.locFrostTime}) {
        EXPECT_GE(loc, 0);
    }
    const unsigned sceneTexture = fx.scene.texture.id;
    fx.Resize(1600, 900);
    EXPECT_EQ(fx.scene.texture.id, sceneTexture);
    // Each size follows the last: a change of either side alone makes new
    // targets too.
    struct Size {
        int window[2];
        int targets[2];
    };
    const Size sizes[] = {
        {{1920, 1080}, {1920, 1080}},  // both sides
        {{1920, 1200}, {1920, 1200}},  // the height: a 16:10 screen, windowed 1920 x 1080 to borderless
        {{1600, 1200}, {1600, 1200}},  // the width
        {{100, 50}, {320, 200}},       // below the minimum
    };
    for (const Size& s : sizes) {
        fx.Resize(s.window[0], s.window[1]);
        const std::string name = std::to_string(s.window[0]) + "x" + std::to_string(s.window[1]);
        EXPECT_TRUE(fx.width == s.targets[0] && fx.height == s.targets[1]) << name;
        EXPECT_TRUE(fx.scene.texture.width == s.targets[0] && fx.scene.texture.height == s.targets[1]) << name;
        EXPECT_TRUE(fx.post.texture.width == s.targets[0] && fx.post.texture.height == s.targets[1]) << name;
    }
    EXPECT_EQ(FxLines(), "");
}

TEST_F(ScreenFxGl, PresentsUprightAndSmoothsEdgesOnlyWhenOn) {
    ScreenFx fx;
    CaptureTestScene(fx);
    for (bool smooth : {false, true}) {
        fx.fxaaEnabled = smooth;
        Image image = PresentToScreen(fx, RED);
        testgl::SavePng(image, smooth ? "screen_fx_present_smoothed" : "screen_fx_present_plain");
        // Flat areas pass unchanged and the block stays in the top-left.
        EXPECT_TRUE(testgl::SameColour(testgl::PixelAt(image, 250, 200), BLUE, 1)) << smooth;
        EXPECT_TRUE(testgl::SameColour(testgl::PixelAt(image, 250, 700), BLACK, 1)) << smooth;
        EXPECT_TRUE(testgl::SameColour(testgl::PixelAt(image, 1400, 200), WHITE, 1)) << smooth;
        EXPECT_EQ(testgl::PixelAt(image, 797, 600).r, 0);
        EXPECT_EQ(testgl::PixelAt(image, 802, 600).r, 255);
        // Across the edge the dark side sees three bright neighbours of eight,
        // the bright side five dark ones; each goes 3/4 of the way to its blur.
        const int dark = testgl::PixelAt(image, 799, 600).r;
        const int bright = testgl::PixelAt(image, 800, 600).r;
        EXPECT_NEAR(dark, smooth ? 0.75 * 0.375 * 255 : 0, 3) << smooth;
        EXPECT_NEAR(bright, smooth ? (1.0 - 0.75 * 0.375) * 255 : 255, 3) << smooth;
        UnloadImage(image);
    }
}

TEST_F(ScreenFxGl, FogSparesTheNearAndCoversTheFar) {
    ScreenFx fx;
    Atmosphere atmosphere{};
    atmosphere.fogColor = kFog;
    atmosphere.fogNear = 50.0f;
    atmosphere.fogFar = 100.0f;
    // 5 pixels a unit: the fog starts 250 px from the centre, full at 500 px.
    Image image = CaptureOver(fx, kGround, [&] { fx.DrawFog(atmosphere, 5.0f); });
    testgl::SavePng(image, "screen_fx_fog");
    EXPECT_TRUE(testgl::SameColour(testgl::PixelAt(image, 800, 450), kGround, 1));
    EXPECT_TRUE(testgl::SameColour(testgl::PixelAt(image, 1040, 450), kGround, 1));
    const auto expectFog = [&](Px p, double alpha, int tolerance) {
        const Color c = testgl::PixelAt(image, p.first, p.second);
        EXPECT_NEAR(c.r, alpha * kFog.r + (1.0 - alpha) * kGround.r, tolerance) << p.first << "," << p.second;
        EXPECT_NEAR(c.b, alpha * kFog.b + (1.0 - alpha) * kGround.b, tolerance) << p.first << "," << p.second;
    };
    expectFog({800 + 375, 450}, 0.46, 3);  // halfway: smoothstep gives one half
    for (Px p : {Px{1500, 450}, Px{100, 450}, Px{500, 870}, Px{5, 5}}) expectFog(p, 0.92, 2);
    UnloadImage(image);
}

TEST_F(ScreenFxGl, CloudShadowsFollowTheWorldAndTheEdgesDarken) {
    ScreenFx fx;
    const Color light{220, 220, 220, 255};
    // The shadows are faint and sparse; this view looks at one of them.
    Image a = CaptureOver(fx, light, [&] { fx.DrawAerial(30.0f, Vector2{670.0f, 270.0f}, 4.0f); });
    const testsupport::ImageGuard aGuard(a);
    Image b = CaptureOver(fx, light, [&] { fx.DrawAerial(30.0f, Vector2{695.0f, 270.0f}, 4.0f); });
    const testsupport::ImageGuard bGuard(b);
    testgl::SavePng(a, "screen_fx_aerial");
    // Corners: the full vignette, 30 % to 42 % toward the shadow colour.
    for (Px p : {Px{2, 2}, Px{1597, 897}}) {
        const int r = testgl::PixelAt(a, p.first, p.second).r;
        EXPECT_TRUE(r >= 220 * 0.58 + 5 && r <= 220 * 0.70 + 5) << r;
    }
    // The centre: no vignette, at most a 15 % shadow, shadowed in places only.
    int lightest = 0;
    int darkest = 255;
    for (int x = 620; x < 980; x += 4) {
        for (int y = 360; y < 540; y += 4) {
            const int r = testgl::PixelAt(a, x, y).r;
            lightest = std::max(lightest, r);
            darkest = std::min(darkest, r);
        }
    }
    EXPECT_GE(darkest, 220 * 0.85);
    EXPECT_GE(lightest - darkest, 6);
    // 25 units (100 px) east in the world slides the shadows 100 px west.
    for (int x = 720; x < 900; x += 6) {
        for (int y = 370; y < 530; y += 6) {
            ASSERT_NEAR(testgl::PixelAt(b, x - 100, y).r, testgl::PixelAt(a, x, y).r, 2) << x << "," << y;
        }
    }
}

TEST_F(ScreenFxGl, SnowfallLightsWhereItsParticlesAre) {
    ScreenFx fx;
    Atmosphere atmosphere{};
    for (float w : {0.02f, 0.6f, 0.9f}) {
        atmosphere.weatherIntensity = w;
        Image image = DrawOnBlack([&] { fx.DrawWeather(atmosphere, 12.5f); });
        const SnowPass pass = SnowPassFor(w);
        if (pass.count > 0) testgl::SavePng(image, pass.streaks ? "screen_fx_blizzard" : "screen_fx_snow");
        int lit = 0;
        for (int y = 0; y < 900; y += 2) {
            for (int x = 0; x < 1600; x += 2) lit += testgl::PixelAt(image, x, y).b > 8 ? 1 : 0;
        }
        EXPECT_EQ(lit > 0, pass.count > 0) << w;
        // Each particle (a streak at its middle) leaves light where the CPU
        // field puts it.
        int missing = 0;
        for (int i = 0; i < pass.count; ++i) {
            const SnowParticle p = SnowParticleAt(pass, i, 12.5f, 1600.0f, 900.0f);
            const int x = static_cast<int>(pass.streaks ? (p.position.x + p.tail.x) * 0.5f : p.position.x);
            const int y = static_cast<int>(pass.streaks ? (p.position.y + p.tail.y) * 0.5f : p.position.y);
            if (x < 1 || y < 1 || x >= 1599 || y >= 899) continue;
            bool found = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) found = found || testgl::PixelAt(image, x + dx, y + dy).b > 8;
            }
            missing += found ? 0 : 1;
        }
        EXPECT_EQ(missing, 0) << w;
        UnloadImage(image);
    }
}

TEST_F(ScreenFxGl, FrostRimsTheEdgesAndSparesTheCentre) {
    ScreenFx fx;
    Image full = DrawOnBlack([&] { fx.DrawFrost(1.0f, 4.0f); });
    Image over = DrawOnBlack([&] { fx.DrawFrost(7.0f, 4.0f); });
    Image half = DrawOnBlack([&] { fx.DrawFrost(0.5f, 4.0f); });
    Image none = DrawOnBlack([&] { fx.DrawFrost(0.01f, 4.0f); });
    testgl::SavePng(full, "screen_fx_frost");
    EXPECT_TRUE(testgl::SameColour(testgl::PixelAt(full, 800, 450), BLACK, 1));
    for (Px p : {Px{3, 3}, Px{1596, 3}, Px{3, 896}, Px{1596, 896}}) {
        const Color c = testgl::PixelAt(full, p.first, p.second);
        // At least 30 % of the pale blue rim.
        EXPECT_TRUE(c.b >= 0.30 * 0.99 * 255 - 2 && c.b > c.r) << int(c.r) << " " << int(c.b);
        EXPECT_TRUE(testgl::SameColour(testgl::PixelAt(over, p.first, p.second), c, 0));
        EXPECT_NEAR(testgl::PixelAt(half, p.first, p.second).b, c.b * 0.5, 2);
        EXPECT_TRUE(testgl::SameColour(testgl::PixelAt(none, p.first, p.second), BLACK, 0));
    }
    for (Image* image : {&full, &over, &half, &none}) UnloadImage(*image);
}

TEST_F(ScreenFxGl, BrokenShadersWarnAndSkipOnlyTheirPasses) {
    const ScreenFxSources sources{kBrokenCompile, kBrokenCompile, kBrokenLink, kBrokenLink};
    ScreenFx fx(sources);
    // The fog fails without a word.
    EXPECT_EQ(FxLines(),
              "FX: fxaa shader failed to load\nFX: aerial shader failed to load\n"
              "FX: frost shader failed to load\n");
    for (const Shader* s : {&fx.fxaaShader, &fx.fogShader, &fx.aerialShader, &fx.frostShader}) EXPECT_EQ(s->id, 0u);
    for (int loc : {fx.locTexel, fx.locFogColor, fx.locFogCenter, fx.locFogScreen, fx.locFogStart, fx.locFogEnd,
                    fx.locFogPixelsPerUnit, fx.locAerialTime, fx.locAerialCamera, fx.locAerialScreen,
                    fx.locAerialPixelsPerUnit, fx.locFrostIntensity, fx.locFrostTime}) {
        EXPECT_EQ(loc, -1);
    }
    Atmosphere atmosphere{};
    atmosphere.fogColor = kFog;
    atmosphere.fogFar = 1.0f;
    Image scene = CaptureOver(fx, kGround, [&] {
        fx.DrawFog(atmosphere, 5.0f);
        fx.DrawAerial(1.0f, Vector2{0.0f, 0.0f}, 5.0f);
    });
    Image frost = DrawOnBlack([&] { fx.DrawFrost(1.0f, 0.0f); });
    for (Px p : {Px{5, 5}, Px{800, 450}, Px{1595, 895}}) {
        EXPECT_TRUE(testgl::SameColour(testgl::PixelAt(scene, p.first, p.second), kGround, 0));
        EXPECT_TRUE(testgl::SameColour(testgl::PixelAt(frost, p.first, p.second), BLACK, 0));
    }
    UnloadImage(scene);
    UnloadImage(frost);

    // With smoothing asked for but unavailable the frame is presented plainly.
    CaptureTestScene(fx);
    fx.fxaaEnabled = true;
    Image image = PresentToScreen(fx, RED);
    EXPECT_EQ(testgl::PixelAt(image, 799, 600).r, 0);
    EXPECT_EQ(testgl::PixelAt(image, 800, 600).r, 255);
    UnloadImage(image);
}

TEST_F(ScreenFxGl, MissingTargetsWarnAndNothingPaintsOverTheWorld) {
    ScreenFx fx;
    fx.fxaaEnabled = true;
    // Far beyond any driver's limit: raylib still hands back a framebuffer id.
    fx.Resize(100000, 200);
    EXPECT_EQ(FxLines(), "FX: render texture failed to load\n");
    EXPECT_TRUE(fx.scene.id == 0 && fx.post.id == 0 && fx.width == 100000);

    // The world goes straight to the screen and presenting leaves it there.
    BeginDrawing();
    ClearBackground(BLACK);
    fx.BeginCapture();
    DrawRectangle(0, 0, 1600, 900, kGround);
    fx.EndCapture();
    fx.Present();
    rlDrawRenderBatchActive();
    Image direct = LoadImageFromScreen();
    EndDrawing();
    EXPECT_TRUE(testgl::SameColour(testgl::PixelAt(direct, 800, 450), kGround, 0));
    UnloadImage(direct);

    // The next size change brings both back; a lost scene alone, with the
    // smoothing target still there, must not present an empty picture either.
    fx.Resize(1600, 900);
    EXPECT_TRUE(fx.scene.id != 0 && fx.post.id != 0);
    UnloadRenderTexture(fx.scene);
    fx.scene = RenderTexture2D{};
    Image image = PresentToScreen(fx, GREEN);
    EXPECT_TRUE(testgl::SameColour(testgl::PixelAt(image, 800, 450), GREEN, 0));
    UnloadImage(image);
    EXPECT_EQ(FxLines(), "FX: render texture failed to load\n");
}

}  // namespace
