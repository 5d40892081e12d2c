// camp_draw_gl_test.cpp: the drawing of camps and marauders read back from a
// render texture.
#include <cmath>

#include "game/game.h"
#include "support/gl_fixture.h"
#include "tests/game/game_fixture.h"

namespace {

using testgame::GameTest;

class CampDrawTest : public GameTest {
protected:
    static constexpr float kScale = 20.0f;
    static constexpr Color kSnow{226, 232, 238, 255};

    // Screen point of a world x/z for a view at the origin.
    static Vector2 Screen(float x, float z) { return Vector2{800.0f + x * kScale, 450.0f + z * kScale}; }

    static Color Over(Color dst, Color src, float alpha) {
        const float a = static_cast<float>(static_cast<unsigned char>(255.0f * alpha)) / 255.0f;
        auto mix = [a](unsigned char d, unsigned char s) {
            return static_cast<unsigned char>(std::lround(s * a + d * (1.0f - a)));
        };
        return Color{mix(dst.r, src.r), mix(dst.g, src.g), mix(dst.b, src.b), 255};
    }
};

TEST_F(CampDrawTest, CampsAndMaraudersReadBack) {
    Game& g = MakeGame();
    g.clock = 1.25f;
    MarauderCamp cold;
    cold.center = Vector3{-20.0f, 0.0f, 0.0f};
    cold.fire = 0.0f;
    cold.tents = {Vector2{-20.0f, -6.0f}, Vector2{-25.0f, 4.0f}, Vector2{-15.0f, 4.0f}};
    MarauderCamp burning = cold;
    burning.center = Vector3{20.0f, 0.0f, 0.0f};
    burning.fire = 100.0f;
    burning.tents = {Vector2{20.0f, -6.0f}, Vector2{15.0f, 5.0f}, Vector2{25.0f, 5.0f}};
    MarauderCamp away = cold;
    away.center = Vector3{500.0f, 0.0f, 0.0f};
    away.tents = {Vector2{46.0f, 20.0f}, Vector2{46.0f, 20.0f}, Vector2{46.0f, 20.0f}};
    g.camps = {cold, burning, away};

    Marauder gunner;
    gunner.pos = Vector3{0.0f, 0.0f, -10.0f};
    gunner.armed = 1;
    Marauder knifer;
    knifer.pos = Vector3{0.0f, 0.0f, 10.0f};
    Marauder dead;
    dead.pos = Vector3{5.0f, 0.0f, 0.0f};
    dead.alive = false;
    g.marauders = {gunner, knifer, dead};

    const Vector3 view{0.0f, 0.0f, 0.0f};
    Image image = testgl::Render(kSnow, [&] {
        g.DrawCamps(view, kScale);
        g.DrawMarauders(view, kScale);
    });
    testgl::SavePng(image, "combat_camps_and_marauders");

    // Trampled patch, then the dark spot of the dead fire.
    const Color patch = Over(kSnow, Color{54, 50, 44, 255}, 0.28f);
    const Vector2 c = Screen(-20.0f, 0.0f);
    testgl::ExpectRgb(image, static_cast<int>(c.x) - 60, static_cast<int>(c.y) + 30, patch, 3);
    testgl::ExpectRgb(image, static_cast<int>(c.x), static_cast<int>(c.y), Over(patch, Color{40, 38, 36, 255}, 0.9f),
                      3);

    // Left, right, apex is counter-clockwise on screen: that face shows and
    // its reverse is culled. The door below it.
    const Vector2 t = Screen(-20.0f, -6.0f);
    testgl::ExpectRgb(image, static_cast<int>(t.x), static_cast<int>(t.y) + 4, Color{70, 62, 54, 255}, 2);
    testgl::ExpectRgb(image, static_cast<int>(t.x), static_cast<int>(t.y + 26.0f), Color{24, 22, 20, 255}, 2);
    // Tent edge along the base.
    bool edge = false;
    for (int dy = -2; dy <= 2; ++dy) {
        edge = edge || testgl::SameColour(
                           testgl::PixelAt(image, static_cast<int>(t.x) + 10, static_cast<int>(t.y + 20.8f) + dy),
                           Color{34, 30, 28, 255}, 4);
    }
    EXPECT_TRUE(edge);

    // The burning fire: bright flame above the pit, warm glow around, smoke higher.
    const Vector2 f = Screen(20.0f, 0.0f);
    const Color flame = testgl::PixelAt(image, static_cast<int>(f.x), static_cast<int>(f.y) - 8);
    EXPECT_GT(flame.r, 240);
    EXPECT_GT(flame.g, 140);
    const Color glow = testgl::PixelAt(image, static_cast<int>(f.x) - 60, static_cast<int>(f.y) + 60);
    const Color bare = testgl::PixelAt(image, static_cast<int>(c.x) - 60, static_cast<int>(c.y) + 60);
    EXPECT_GT(glow.r - glow.b, bare.r - bare.b + 4);

    // Marauders: body, outline ring, the gun on one and the knife on the other.
    const Vector2 m1 = Screen(0.0f, -10.0f);
    const float b = 11.0f;
    testgl::ExpectRgb(image, static_cast<int>(m1.x) - 3, static_cast<int>(m1.y) - 3, Color{88, 58, 54, 255}, 2);
    testgl::ExpectRgb(image, static_cast<int>(m1.x - b - 0.5f), static_cast<int>(m1.y), Color{26, 22, 24, 255}, 8);
    testgl::ExpectRgb(image, static_cast<int>(m1.x + 0.75f * b), static_cast<int>(m1.y + 0.27f * b),
                      Color{36, 36, 40, 255}, 2);
    const Vector2 m2 = Screen(0.0f, 10.0f);
    bool knife = false;
    for (int dy = -1; dy <= 1; ++dy) {
        const Color k = testgl::PixelAt(image, static_cast<int>(m2.x + 1.3f * b),
                                        static_cast<int>(m2.y + 0.8f * b) + dy);
        knife = knife || testgl::SameColour(Color{k.r, k.g, k.b, 255}, Color{186, 190, 196, 255}, 6);
    }
    EXPECT_TRUE(knife);
    // No gun on the knife carrier, nothing drawn for the dead one.
    const Color noGun = testgl::PixelAt(image, static_cast<int>(m2.x + 0.75f * b), static_cast<int>(m2.y + 0.27f * b));
    EXPECT_FALSE(testgl::SameColour(Color{noGun.r, noGun.g, noGun.b, 255}, Color{36, 36, 40, 255}, 2));
    testgl::ExpectRgb(image, static_cast<int>(Screen(5.0f, 0.0f).x), 450, kSnow, 1);
    // The far camp is skipped whole, even its tents that would be on screen.
    testgl::ExpectRgb(image, static_cast<int>(Screen(46.0f, 20.0f).x), static_cast<int>(Screen(46.0f, 20.0f).y), kSnow,
                      1);
    UnloadImage(image);
}

}  // namespace
