// game_draw_gl_test.cpp: the frame's own shapes (player figure with each
// weapon, end overlay, menu backdrop) in a render texture, and whole frames
// of a Game read back from the window: the figure in the middle, the aim
// line, shot traces, shake, the end overlay and the menu over the world, and
// the view from inside the tower.
#include <cmath>

#include "game/view/frame_layout.h"
#include "game/view/frame_shapes.h"
#include "support/image_guards.h"
#include "tests/game/draw_test_support.h"

namespace {

using drawtest::CountNear;
using drawtest::DrawFrame;
using drawtest::DrawTest;
using drawtest::RgbAt;

constexpr Color kSkin{196, 154, 118, 255};
constexpr Color kGround{40, 60, 40, 255};

// ---- The frame's shapes on their own ----

class FrameShapesGl : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ui::LoadFont()); }
};

Image Figure(WeaponKind weapon, frame::FigureAxes axes) {
    return testgl::Render(kGround, [&] { DrawPlayerFigure(Vector2{200.0f, 200.0f}, 40.0f, axes, weapon); });
}

TEST_F(FrameShapesGl, FigureFacingUpHoldsEachWeaponInItsRightHand) {
    const frame::FigureAxes up = frame::FigureAxesFor(0.0f, 0.0f);

    Image pistol = Figure(WeaponKind::Pistol, up);
    testgl::SavePng(pistol, "draw_figure_pistol");
    EXPECT_TRUE(RgbAt(pistol, 200, 188, kSkin, 2));                      // head, 0.3 J up
    EXPECT_TRUE(RgbAt(pistol, 186, 174, kSkin, 2));                      // left hand A
    EXPECT_TRUE(RgbAt(pistol, 210, 143, Color{214, 190, 128, 255}, 2));  // muzzle M
    EXPECT_TRUE(RgbAt(pistol, 210, 160, Color{38, 40, 44, 255}, 2));     // barrel
    EXPECT_TRUE(RgbAt(pistol, 186, 234, Color{48, 52, 60, 255}, 2));     // left foot
    EXPECT_TRUE(RgbAt(pistol, 200, 225, Color{58, 72, 68, 255}, 2));     // coat
    EXPECT_TRUE(RgbAt(pistol, 200, 203, Color{76, 92, 82, 255}, 2));     // shoulders
    EXPECT_TRUE(RgbAt(pistol, 200, 240, kGround, 0));                    // nothing below

    Image axe = Figure(WeaponKind::Axe, up);
    testgl::SavePng(axe, "draw_figure_axe");
    // The blade's middle: a culled (clockwise) triangle would leave ground here.
    EXPECT_TRUE(RgbAt(axe, 208, 147, Color{196, 202, 208, 255}, 2));
    EXPECT_TRUE(RgbAt(axe, 210, 160, Color{112, 78, 44, 255}, 2));  // handle
    EXPECT_EQ(CountNear(axe, 185, 130, 225, 160, Color{38, 40, 44, 255}, 2), 0);

    Image knife = Figure(WeaponKind::Knife, up);
    testgl::SavePng(knife, "draw_figure_knife");
    EXPECT_TRUE(RgbAt(knife, 209, 153, Color{206, 212, 218, 255}, 2));
    EXPECT_EQ(CountNear(knife, 185, 130, 225, 160, Color{196, 202, 208, 255}, 2), 0);

    UnloadImage(pistol);
    UnloadImage(axe);
    UnloadImage(knife);
}

TEST_F(FrameShapesGl, FigureTurnsWithItsFacing) {
    Image right = Figure(WeaponKind::Pistol, frame::FigureAxesFor(1.0f, 0.0f));
    testgl::SavePng(right, "draw_figure_right");
    EXPECT_TRUE(RgbAt(right, 212, 200, kSkin, 2));                      // head 0.3 J right
    EXPECT_TRUE(RgbAt(right, 257, 210, Color{214, 190, 128, 255}, 2));  // muzzle: 1.42 J u + 0.26 J v
    EXPECT_TRUE(RgbAt(right, 200, 160, kGround, 0));                    // nothing above
    UnloadImage(right);
}

TEST_F(FrameShapesGl, EndOverlayDimsAndCentresItsTexts) {
    Image image = testgl::Render(Color{200, 100, 50, 255}, [] { DrawEndOverlay(frame::EndState{false, false, true}); });
    const testsupport::ImageGuard imageGuard(image);
    testgl::SavePng(image, "draw_end_overlay");
    // (4, 8, 14) at alpha 0.72 (183 of 255) over the background.
    EXPECT_TRUE(RgbAt(image, 100, 100, Color{59, 34, 24, 255}, 2));
    EXPECT_TRUE(RgbAt(image, 1500, 850, Color{59, 34, 24, 255}, 2));

    const Color title{226, 238, 250, 255};
    const Color hint{186, 200, 216, 255};
    int left = 1600;
    int right = -1;
    for (int y = 378; y < 440; ++y) {
        for (int x = 0; x < 1600; ++x) {
            if (!drawtest::NearRgb(testgl::PixelAt(image, x, y), title, 20)) continue;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    ASSERT_LT(left, right);
    const float width = ui::Measure("ТЫ ЗАМЁРЗ НАСМЕРТЬ", 46);
    EXPECT_NEAR((left + right) / 2.0f, 800.0f, 4.0f);
    EXPECT_NEAR(static_cast<float>(right - left), width, 8.0f);
    EXPECT_EQ(CountNear(image, 0, 300, 1600, 376, title, 20), 0);
    EXPECT_GT(CountNear(image, 600, 450, 1000, 476, hint, 20), 20);
}

// ---- Whole frames of a Game ----

class GameDrawGl : public DrawTest {};

TEST_F(GameDrawGl, BackdropWithoutWorldIsTwoGradientBands) {
    Game& g = MakeGame();
    ASSERT_EQ(g.world, nullptr);
    g.menu.open = false;  // only the backdrop
    Image image = DrawFrame(g);
    testgl::SavePng(image, "draw_backdrop");
    EXPECT_TRUE(RgbAt(image, 10, 0, Color{26, 42, 66, 255}, 3));
    EXPECT_TRUE(RgbAt(image, 10, 575, Color{150, 172, 192, 255}, 3));
    EXPECT_TRUE(RgbAt(image, 1590, 576, Color{214, 226, 236, 255}, 3));
    EXPECT_TRUE(RgbAt(image, 800, 899, Color{166, 182, 198, 255}, 3));
    EXPECT_TRUE(RgbAt(image, 800, 288, Color{88, 107, 129, 255}, 3));  // halfway down the sky
    UnloadImage(image);

    g.menu.open = true;
    Image menu = DrawFrame(g);
    testgl::SavePng(menu, "draw_backdrop_menu");
    // The main menu's light dim lies over the same sky.
    const Color sky = testgl::PixelAt(menu, 10, 0);
    EXPECT_LT(sky.b, 66);
    EXPECT_GT(sky.b, 30);
    UnloadImage(menu);
}

TEST_F(GameDrawGl, PlayerStandsInTheMiddleWithThePistolsAimLine) {
    Game& g = MakeWorld();
    g.messageTimer = 0.0f;
    g.input.mouse = Vector2{1200.0f, 650.0f};
    g.player.yaw = 0.0f;  // facing up the screen
    ASSERT_FALSE(g.airship.OnDeck(g.player.feet));
    ASSERT_FLOAT_EQ(g.renderLift, 0.0f);

    Image pistol = DrawFrame(g);
    testgl::SavePng(pistol, "draw_world_pistol");
    const Vector3 eye = g.player.position();
    const float s = g.viewZoom;
    const float px = 800.0f + (eye.x - g.viewCenter.x) * s;
    const float py = 450.0f + (eye.z - g.viewCenter.z) * s;
    const float j = frame::FigureSize(s);
    // The head, under a little haze.
    const Color head = testgl::PixelAt(pistol, static_cast<int>(px), static_cast<int>(py - 0.3f * j));
    EXPECT_GT(head.r, head.b + 40) << int(head.r) << " " << int(head.b);
    EXPECT_GT(head.g, head.b + 15);

    g.weapon = WeaponKind::Knife;
    Image knife = DrawFrame(g);
    // The aim line runs from the figure to the mouse: a thin bright line
    // crosses the ground halfway, and ends at the mouse.
    const int mx = static_cast<int>((px + 1200.0f) / 2.0f);
    const int my = static_cast<int>((py + 650.0f) / 2.0f);
    const drawtest::Diff middle = drawtest::CompareIn(pistol, knife, mx - 4, my - 4, mx + 5, my + 5);
    EXPECT_GT(middle.count, 0);
    EXPECT_LE(middle.count, 30);
    EXPECT_GT(drawtest::CompareIn(pistol, knife, 1190, 640, 1200, 650).count, 0);
    EXPECT_EQ(drawtest::CompareIn(pistol, knife, 1205, 655, 1300, 750).count, 0);

    // No aim line while the inventory is open, even with the pistol.
    g.weapon = WeaponKind::Pistol;
    g.inventoryOpen = true;
    Image withInventory = DrawFrame(g);
    g.weapon = WeaponKind::Knife;
    Image knifeInventory = DrawFrame(g);
    EXPECT_EQ(drawtest::CompareIn(withInventory, knifeInventory, mx - 4, my - 4, mx + 5, my + 5).count, 0);
    UnloadImage(pistol);
    UnloadImage(knife);
    UnloadImage(withInventory);
    UnloadImage(knifeInventory);
}

TEST_F(GameDrawGl, ShotTracesAndMuzzleFlashAreDrawnAlongTheGround) {
    Game& g = MakeWorld();
    g.messageTimer = 0.0f;
    g.weapon = WeaponKind::Knife;  // no aim line
    Image before = DrawFrame(g);

    const Vector3 eye = g.player.position();
    g.shots.push_back(
        ShotTrace{Vector3{eye.x + 10.0f, eye.y, eye.z + 20.0f}, Vector3{eye.x + 60.0f, eye.y, eye.z + 20.0f}, 0.35f});
    g.flashTimer = 0.07f;
    g.muzzlePoint = Vector3{eye.x - 30.0f, eye.y, eye.z - 30.0f};
    Image after = DrawFrame(g);
    testgl::SavePng(after, "draw_world_shot");

    const float s = g.viewZoom;
    const float cx = 800.0f + (eye.x - g.viewCenter.x) * s;
    const float cy = 450.0f + (eye.z - g.viewCenter.z) * s;
    const drawtest::Diff diff = drawtest::Compare(before, after);
    EXPECT_GT(diff.count, 0);
    // The trace's middle is bright.
    const Color trace = testgl::PixelAt(after, static_cast<int>(cx + 35.0f * s), static_cast<int>(cy + 20.0f * s));
    EXPECT_GT(trace.r, 200);
    EXPECT_GT(trace.g, 200);
    // The flash brightens the ground around its point, warmly.
    const Color flash = testgl::PixelAt(after, static_cast<int>(cx - 30.0f * s), static_cast<int>(cy - 30.0f * s));
    const Color plain = testgl::PixelAt(before, static_cast<int>(cx - 30.0f * s), static_cast<int>(cy - 30.0f * s));
    EXPECT_GE(flash.r, plain.r);
    EXPECT_LT(flash.b, plain.b);
    EXPECT_GE(diff.left, static_cast<int>(cx - 30.0f * s - 22.0f));
    EXPECT_LE(diff.right, static_cast<int>(cx + 60.0f * s + 3.0f));
    UnloadImage(before);
    UnloadImage(after);
}

// Puts the player on the current floor of a tower built well away from the
// airship and home, with the view as the frame update leaves it.
void EnterTower(Game& g) {
    const Vector3 spawn = g.player.position();
    const Vector2 centre{spawn.x + 300.0f, spawn.z + 300.0f};
    g.tower.Generate(g.seed, centre, g.world->gen.Height(centre.x, centre.y), 6.0f);
    const Vector3 eye{centre.x, g.tower.FloorY(g.tower.currentFloor) + 1.7f, centre.y};
    g.player.Reset(eye);
    g.camera.SetPosition(eye);
    g.inTower = true;
    g.UpdateView();
    g.marauders.clear();
    g.messageTimer = 0.0f;
}

// The roof and the ground shadow are the only layers that read the roof's
// drift seed and the light's direction: from inside, neither may show.
TEST_F(GameDrawGl, TowerRoofAndShadowAreDrawnOnlyFromOutside) {
    Game& g = MakeWorld();
    EnterTower(g);
    g.weapon = WeaponKind::Knife;
    const uint32_t seed = g.tower.seed;
    auto frame = [&g](uint32_t roofSeed, Vector3 sun) {
        g.tower.seed = roofSeed;
        g.world->atmosphere.sunDir = sun;
        return DrawFrame(g);
    };
    const Vector3 sunA{0.8f, 0.3f, 0.5f};
    const Vector3 sunB{-0.5f, 0.3f, -0.8f};
    for (const bool inside : {true, false}) {
        g.inTower = inside;
        Image a = frame(seed, sunA);
        Image b = frame(seed ^ 0x5a5a5a5au, sunB);
        if (inside) testgl::SavePng(a, "draw_tower_inside");
        const int changed = drawtest::Compare(a, b).count;
        if (inside) {
            EXPECT_EQ(changed, 0);
        } else {
            EXPECT_GT(changed, 1000) << "from outside the roof and shadow show";
        }
        UnloadImage(a);
        UnloadImage(b);
    }
}

// On a tower floor the figure is drawn raised by the floor's height: the
// cursor aims from the drawn figure, and the shot leaves it.
TEST_F(GameDrawGl, InTheTowerAimAndShotsFollowTheRaisedFigure) {
    Game& g = MakeWorld();
    EnterTower(g);
    ASSERT_GT(g.renderLift, 10.0f);
    const float s = g.viewZoom;
    const Vector3 eye = g.player.position();
    const Vector2 figure{800.0f + (eye.x - g.viewCenter.x) * s,
                         450.0f + (eye.z - g.viewCenter.z) * s - g.renderLift * s};

    struct Aim {
        Vector2 offset;  // of the mouse from the figure, pixels
        float yaw;
    };
    const float pi = 3.14159265f;
    const Aim aims[] = {{{60.0f, 0.0f}, pi / 2.0f},
                        {{0.0f, 60.0f}, pi},
                        {{-60.0f, 0.0f}, -pi / 2.0f},
                        {{0.0f, -60.0f}, 0.0f},
                        {{40.0f, 40.0f}, 0.75f * pi}};
    g.weapon = WeaponKind::Pistol;
    for (const Aim& aim : aims) {
        g.input = FrameInput{};
        g.input.mouse = Vector2{figure.x + aim.offset.x, figure.y + aim.offset.y};
        g.UpdateWeapon(0.0f);
        EXPECT_NEAR(std::remainder(g.player.yaw - aim.yaw, 2.0f * pi), 0.0f, 1e-3f)
            << aim.offset.x << ", " << aim.offset.y;
    }

    // A shot east: trace and flash start at the figure, not a floor below it.
    g.player.yaw = pi / 2.0f;
    g.input.mouse = Vector2{1500.0f, figure.y};
    Image before = DrawFrame(g);
    const testsupport::ImageGuard beforeGuard(before);
    g.FireWeapon();
    g.shake = 0.0f;
    Image after = DrawFrame(g);
    const testsupport::ImageGuard afterGuard(after);
    testgl::SavePng(after, "draw_tower_shot");
    const drawtest::Diff diff = drawtest::Compare(before, after);
    ASSERT_GT(diff.count, 0);
    EXPECT_GE(diff.top, static_cast<int>(figure.y) - 24);
    EXPECT_LE(diff.bottom, static_cast<int>(figure.y) + 24);
    EXPECT_GE(diff.left, static_cast<int>(figure.x) - 24);
}

TEST_F(GameDrawGl, WhatTheScreenHeldBeforeDoesNotShowThrough) {
    Game& g = MakeWorld();
    Image overRed = DrawFrame(g, RED);
    Image overBlue = DrawFrame(g, BLUE);
    EXPECT_EQ(drawtest::Compare(overRed, overBlue, 0).count, 0);
    UnloadImage(overRed);
    UnloadImage(overBlue);
}

TEST_F(GameDrawGl, OnlyAShakeAbove005MovesTheView) {
    Game& g = MakeWorld();
    g.messageTimer = 0.0f;
    g.weapon = WeaponKind::Knife;
    g.clock = 0.4f;
    Image still = DrawFrame(g);
    g.shake = 0.05f;
    Image small = DrawFrame(g);
    g.shake = 8.0f;
    Image shaken = DrawFrame(g);
    EXPECT_EQ(drawtest::Compare(still, small).count, 0);
    EXPECT_GT(drawtest::Compare(still, shaken).count, 1000);
    UnloadImage(still);
    UnloadImage(small);
    UnloadImage(shaken);
}

TEST_F(GameDrawGl, InventoryHoverFollowsTheFramesMouse) {
    Game& g = MakeWorld();
    g.messageTimer = 0.0f;
    g.weapon = WeaponKind::Knife;
    g.inventoryOpen = true;
    ASSERT_GT(g.inventory.slots[0].count, 0);
    g.input.mouse = Vector2{5.0f, 5.0f};  // over no cell
    Image away = DrawFrame(g);
    g.input.mouse = Vector2{476.0f, 352.0f};  // the middle of slot 0's cell
    Image over = DrawFrame(g);
    testgl::SavePng(over, "draw_inventory_hover");
    // The tooltip appears beside the recorded mouse, whatever raylib's cursor is.
    const drawtest::Diff diff = drawtest::Compare(away, over);
    EXPECT_GT(diff.count, 100);
    EXPECT_GE(diff.left, 440);
    EXPECT_GE(diff.top, 316);
    UnloadImage(away);
    UnloadImage(over);
}

TEST_F(GameDrawGl, EndOverlayCoversTheWorldAndTheMenuHidesTheHud) {
    Game& g = MakeWorld();
    g.messageTimer = 0.0f;
    g.food = 100.0f;
    Image play = DrawFrame(g);
    EXPECT_TRUE(RgbAt(play, 1466, 33, Color{208, 158, 86, 255}, 2));  // the hunger bar

    g.gameOver = true;
    g.wonOverlay = true;
    Image won = DrawFrame(g);
    testgl::SavePng(won, "draw_world_won");
    const Color dim = testgl::PixelAt(won, 300, 600);
    EXPECT_TRUE(drawtest::Dark(dim, 90)) << int(dim.r) << " " << int(dim.g) << " " << int(dim.b);
    EXPECT_GT(CountNear(won, 500, 378, 1100, 430, Color{226, 238, 250, 255}, 20), 50);
    EXPECT_GT(CountNear(won, 500, 450, 1100, 476, Color{186, 200, 216, 255}, 20), 20);

    g.gameOver = false;
    g.wonOverlay = false;
    g.menu.OpenPause();
    Image menu = DrawFrame(g);
    testgl::SavePng(menu, "draw_world_menu");
    // No HUD under the menu: the hunger bar's fill is gone, the world is there.
    EXPECT_EQ(CountNear(menu, 1386, 26, 1546, 40, Color{208, 158, 86, 255}, 4), 0);
    EXPECT_FALSE(drawtest::Dark(testgl::PixelAt(menu, 300, 600), 20));
    UnloadImage(play);
    UnloadImage(won);
    UnloadImage(menu);
}

}  // namespace
