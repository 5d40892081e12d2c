// screen_fx_test.cpp: the screen effects' arithmetic without a window: target
// sizes, fog and frost uniforms, the snowfall, and the shader sources' uniforms.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "game/fx/screen_fx.h"
#include "world/noise.h"

namespace {

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();

TEST(ScreenFxMath, TargetSizesFogAndFrostUniforms) {
    for (auto [w, h, ew, eh] : {std::array{1600, 900, 1600, 900}, std::array{100, 50, 320, 200},
                                std::array{319, 1080, 320, 1080}, std::array{0, -5, 320, 200}}) {
        EXPECT_EQ(FxTargetSizeFor(w, h).width, ew);
        EXPECT_EQ(FxTargetSizeFor(w, h).height, eh);
    }

    Atmosphere atmosphere{};
    atmosphere.fogColor = Color{255, 51, 0, 255};
    atmosphere.fogNear = 480.0f;
    atmosphere.fogFar = 740.0f;
    const FogUniforms u = FogUniformsFor(atmosphere, 7.5f, 1280, 720);
    EXPECT_FLOAT_EQ(u.color[0], 1.0f);
    EXPECT_FLOAT_EQ(u.color[1], 0.2f);
    EXPECT_FLOAT_EQ(u.color[2], 0.0f);
    EXPECT_FLOAT_EQ(u.color[3], 0.92f);
    EXPECT_FLOAT_EQ(u.center.x, 0.5f);
    EXPECT_FLOAT_EQ(u.center.y, 0.5f);
    EXPECT_FLOAT_EQ(u.screen.x, 1280.0f);
    EXPECT_FLOAT_EQ(u.screen.y, 720.0f);
    EXPECT_FLOAT_EQ(u.start, 480.0f);
    EXPECT_FLOAT_EQ(u.end, 740.0f);
    EXPECT_FLOAT_EQ(u.pixelsPerUnit, 7.5f);

    EXPECT_FALSE(FrostVisible(0.01f));
    EXPECT_FALSE(FrostVisible(kNan));
    EXPECT_TRUE(FrostVisible(0.011f));
    EXPECT_FLOAT_EQ(FrostUniform(0.4f), 0.4f);
    EXPECT_FLOAT_EQ(FrostUniform(3.0f), 1.0f);
    EXPECT_FLOAT_EQ(FrostUniform(-0.5f), 0.0f);
}

TEST(ScreenFxSnow, PassFollowsTheWeatherThresholds) {
    for (float none : {0.0f, 0.02f, -1.0f, kNan}) EXPECT_EQ(SnowPassFor(none).count, 0) << none;
    const SnowPass light = SnowPassFor(0.03f);
    EXPECT_EQ(light.count, 256);
    EXPECT_FALSE(light.streaks);
    EXPECT_FLOAT_EQ(light.vx, 65.0f);
    EXPECT_FLOAT_EQ(light.vy, 42.0f);
    EXPECT_EQ(SnowPassFor(0.62f).count, 587);
    EXPECT_FALSE(SnowPassFor(0.62f).streaks);
    const SnowPass blizzard = SnowPassFor(0.63f);
    EXPECT_EQ(blizzard.count, 1050);
    EXPECT_TRUE(blizzard.streaks);
    EXPECT_FLOAT_EQ(blizzard.vx, 880.0f);
    EXPECT_FLOAT_EQ(blizzard.vy, 150.0f);
}

TEST(ScreenFxSnow, ParticlesStartFromTheirHashes) {
    // At time 0 the sway is 9 sin(index), so index 0 sits exactly on its hashes.
    const float h11 = NoiseHash01(0, 11, 1374496523u);
    const float h12 = NoiseHash01(0, 12, 1374496523u);
    const float h13 = NoiseHash01(0, 13, 1374496523u);
    const float h14 = NoiseHash01(0, 14, 1374496523u);
    const float a = 0.45f * h14 + 0.28f;
    const SnowParticle flake = SnowParticleAt(SnowPassFor(0.4f), 0, 0.0f, 1600.0f, 900.0f);
    EXPECT_NEAR(flake.position.x, h11 * 1600.0f, 1e-3f);
    EXPECT_NEAR(flake.position.y, h12 * 900.0f, 1e-3f);
    EXPECT_NEAR(flake.radius, 1.7f * h13 + 0.9f, 1e-6f);
    EXPECT_EQ(flake.colour.a, static_cast<unsigned char>(255.0f * (0.75f * 0.4f * a)));
    EXPECT_TRUE(flake.colour.r == 242 && flake.colour.g == 247 && flake.colour.b == 255);

    const SnowParticle streak = SnowParticleAt(SnowPassFor(0.9f), 0, 0.0f, 1600.0f, 900.0f);
    EXPECT_NEAR(streak.tail.x, streak.position.x - 10.0f - 12.0f * h13, 1e-3f);
    EXPECT_NEAR(streak.tail.y, streak.position.y - 2.0f - 4.0f * h11, 1e-3f);
    EXPECT_NEAR(streak.width, 1.2f * h13 + 1.0f, 1e-6f);
    EXPECT_EQ(streak.colour.a, static_cast<unsigned char>(255.0f * (0.95f * a)));

    // Index 7 is swayed by 9 sin(7) and wrapped back onto the screen.
    const float expected = std::fmod(NoiseHash01(7, 11, 1374496523u) * 1600.0f + 9.0f * std::sin(7.0f) + 1600.0f,
                                     1600.0f);
    EXPECT_NEAR(SnowParticleAt(SnowPassFor(0.4f), 7, 0.0f, 1600.0f, 900.0f).position.x, expected, 1e-3f);
}

TEST(ScreenFxSnow, FieldStaysOnScreenDriftsRightAndFalls) {
    const SnowPass pass = SnowPassFor(0.9f);
    for (float time : {0.0f, 17.25f, 5000.0f}) {
        int quadrant[4] = {0, 0, 0, 0};
        double sumDx = 0.0;
        double sumDy = 0.0;
        int moved = 0;
        for (int i = 0; i < pass.count; ++i) {
            const SnowParticle p = SnowParticleAt(pass, i, time, 1280.0f, 720.0f);
            ASSERT_TRUE(p.position.x >= 0.0f && p.position.x < 1280.0f) << p.position.x;
            ASSERT_TRUE(p.position.y >= 0.0f && p.position.y < 720.0f) << p.position.y;
            quadrant[(p.position.x < 640.0f ? 0 : 1) + (p.position.y < 360.0f ? 0 : 2)]++;
            const SnowParticle q = SnowParticleAt(pass, i, time + 0.0078125f, 1280.0f, 720.0f);
            const float dx = q.position.x - p.position.x;
            const float dy = q.position.y - p.position.y;
            if (std::fabs(dx) > 640.0f || std::fabs(dy) > 360.0f) continue;  // wrapped
            EXPECT_GT(dy, 0.0f) << i;
            sumDx += dx;
            sumDy += dy;
            ++moved;
        }
        for (int q : quadrant) EXPECT_TRUE(q > pass.count * 15 / 100 && q < pass.count * 35 / 100) << q;
        ASSERT_GT(moved, pass.count * 9 / 10);
        // Mean speeds: 880 * 0.9 to the right, 150 * 1.0 downward.
        EXPECT_NEAR(sumDx / moved, 792.0 * 0.0078125, 1.0) << time;
        EXPECT_NEAR(sumDy / moved, 150.0 * 0.0078125, 0.2) << time;
    }
}

TEST(ScreenFxSnow, LongSessionsKeepSmoothMotion) {
    // After a day of play the flakes still move by their speed between two
    // neighbouring times instead of jumping in whole-pixel steps.
    const float t0 = 100000.0f;
    const float t1 = std::nextafter(t0, 200000.0f);
    const double dt = static_cast<double>(t1) - static_cast<double>(t0);
    for (int i = 0; i < 20; ++i) {
        const double speed = (0.8 * NoiseHash01(i, 13, 1374496523u) + 0.6) * 42.0;
        const SnowParticle a = SnowParticleAt(SnowPassFor(0.5f), i, t0, 1600.0f, 900.0f);
        const SnowParticle b = SnowParticleAt(SnowPassFor(0.5f), i, t1, 1600.0f, 900.0f);
        double dy = static_cast<double>(b.position.y) - static_cast<double>(a.position.y);
        if (dy < -450.0) dy += 900.0;
        EXPECT_NEAR(dy, speed * dt, 2e-3) << i;
    }
}

TEST(ScreenFxSources, DeclareEveryUniformTheEffectsSet) {
    const ScreenFxSources sources = DefaultScreenFxSources();
    const std::pair<const char*, std::vector<const char*>> expects[] = {
        {sources.fxaa, {"uTexel", "texture0", "colDiffuse"}},
        {sources.fog, {"uFogColor", "uCenter", "uScreen", "uFogStart", "uFogEnd", "uPixelsPerUnit"}},
        {sources.aerial, {"uTime", "uCamera", "uScreen", "uPixelsPerUnit"}},
        {sources.frost, {"uIntensity", "uTime"}},
    };
    for (const auto& [source, names] : expects) {
        ASSERT_NE(source, nullptr);
        const std::string text = source;
        EXPECT_EQ(text.rfind("#version 330\n", 0), 0u);
        EXPECT_NE(text.find("in vec2 fragTexCoord;"), std::string::npos);
        EXPECT_NE(text.find("out vec4 finalColor;"), std::string::npos);
        for (const char* name : names) EXPECT_NE(text.find(std::string(" ") + name + ";"), std::string::npos) << name;
    }
}

}  // namespace
