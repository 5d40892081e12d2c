// hud_gl_test.cpp: the HUD of a running game read back from whole frames:
// need bars, thermometer, home panel, compass, hotbar, the ship's warnings,
// the weapon line, and which texts an open inventory or the end overlay hide.
#include "game/hud/hud_layout.h"
#include "support/image_guards.h"
#include "tests/game/draw_test_support.h"

namespace {

using drawtest::CountNear;
using drawtest::DrawFrame;
using drawtest::RgbAt;

// A rounded track (24, 24, 28) at alpha 220 stays this dark over any scene.
constexpr int kDarkLimit = 70;

bool DarkAt(const Image& image, int x, int y) {
    return drawtest::Dark(testgl::PixelAt(image, x, y), kDarkLimit);
}

class HudGl : public drawtest::DrawTest {
protected:
    // A world with the status line cleared and the knife in hand (no aim line).
    Game& QuietWorld() {
        Game& g = MakeWorld();
        g.messageTimer = 0.0f;
        g.weapon = WeaponKind::Knife;
        return g;
    }
};

TEST_F(HudGl, NeedBarsFillByValueAndTheThermometerByTemperature) {
    Game& g = QuietWorld();
    g.food = 50.0f;
    g.water = 0.0f;
    g.health = 100.0f;
    g.warmth = 99.6f;
    g.world->atmosphere.temperature = -47.5f;  // column of 44 of 88 pixels
    Image image = DrawFrame(g);
    testgl::SavePng(image, "hud_needs");

    EXPECT_TRUE(RgbAt(image, 1426, 33, Color{208, 158, 86, 255}, 2));
    EXPECT_TRUE(DarkAt(image, 1506, 33));
    EXPECT_EQ(CountNear(image, 1386, 52, 1546, 66, Color{88, 146, 204, 255}, 6), 0);
    EXPECT_TRUE(DarkAt(image, 1400, 59));
    EXPECT_TRUE(RgbAt(image, 1536, 85, Color{204, 82, 74, 255}, 2));
    EXPECT_TRUE(RgbAt(image, 1540, 111, Color{232, 164, 112, 255}, 2));
    // Labels and numbers in their colours.
    EXPECT_GT(CountNear(image, 1300, 24, 1380, 44, Color{226, 216, 198, 255}, 30), 5);
    EXPECT_GT(CountNear(image, 1554, 76, 1600, 96, Color{214, 204, 186, 255}, 30), 5);

    EXPECT_TRUE(RgbAt(image, 1372, 200, Color{124, 190, 232, 255}, 2));
    EXPECT_TRUE(DarkAt(image, 1372, 150));
    EXPECT_TRUE(RgbAt(image, 1372, 227, Color{40, 70, 96, 255}, 2));
    EXPECT_TRUE(RgbAt(image, 1379, 227, Color{124, 190, 232, 255}, 2));
    EXPECT_GT(CountNear(image, 1388, 164, 1460, 190, Color{238, 232, 220, 255}, 30), 5);
    UnloadImage(image);
}

TEST_F(HudGl, HomePanelShowsPartsAndFreezingOrFuelAndGoal) {
    Game& g = QuietWorld();
    g.home.broken = true;
    g.home.parts = 2;
    for (Survivor& s : g.home.survivors) s.alive = false;
    Image broken = DrawFrame(g);
    testgl::SavePng(broken, "hud_panel_broken");
    EXPECT_TRUE(RgbAt(broken, 1370, 286, Color{114, 148, 176, 255}, 2));  // 2 of 3 parts
    EXPECT_TRUE(DarkAt(broken, 1490, 286));
    EXPECT_GT(CountNear(broken, 1470, 256, 1537, 276, Color{214, 96, 78, 255}, 30), 3);
    EXPECT_EQ(CountNear(broken, 1470, 256, 1537, 276, Color{206, 220, 214, 255}, 12), 0);
    EXPECT_GT(CountNear(broken, 1290, 322, 1520, 340, Color{232, 96, 74, 255}, 30), 5);

    g.home.broken = false;
    g.home.parts = 3;
    g.home.fuel = 900.0f;
    for (Survivor& s : g.home.survivors) s.alive = true;
    Image working = DrawFrame(g);
    testgl::SavePng(working, "hud_panel_working");
    EXPECT_TRUE(RgbAt(working, 1370, 286, Color{214, 128, 62, 255}, 2));  // 900 of 1800 s
    EXPECT_TRUE(DarkAt(working, 1490, 286));
    EXPECT_GT(CountNear(working, 1290, 342, 1540, 360, Color{150, 214, 158, 255}, 30), 5);
    EXPECT_GT(CountNear(working, 1470, 256, 1537, 276, Color{206, 220, 214, 255}, 30), 3);

    g.home.fuel = 899.0f;
    Image shortFuel = DrawFrame(g);
    EXPECT_EQ(CountNear(shortFuel, 1290, 342, 1540, 360, Color{150, 214, 158, 255}, 30), 0);
    UnloadImage(broken);
    UnloadImage(working);
    UnloadImage(shortFuel);
}

TEST_F(HudGl, CompassPointsHomeFromFortyUnits) {
    Game& g = QuietWorld();
    const float y = g.player.feet.y;
    g.player.feet = Vector3{g.home.cx - 100.0f, y, g.home.cz};  // home lies east
    Image far = DrawFrame(g);
    testgl::SavePng(far, "hud_compass");
    const int cy = static_cast<int>(hud::kCompassCentre.y);
    const int label = hud::kCompassLabelY;
    const Color tip = testgl::PixelAt(far, 810, cy);
    EXPECT_GT(tip.r, 150);
    EXPECT_GT(tip.r, tip.b + 80);
    const Color behind = testgl::PixelAt(far, 783, cy);
    EXPECT_LT(behind.r, 150);
    EXPECT_GT(CountNear(far, 740, label, 860, label + 20, Color{238, 226, 202, 255}, 40), 5);

    g.player.feet = Vector3{g.home.cx - 39.0f, y, g.home.cz};
    Image near = DrawFrame(g);
    EXPECT_EQ(CountNear(near, 770, cy - 30, 830, cy + 30, Color{246, 168, 88, 255}, 40), 0);
    EXPECT_EQ(CountNear(near, 740, label, 860, label + 20, Color{238, 226, 202, 255}, 12), 0);
    UnloadImage(far);
    UnloadImage(near);
}

TEST_F(HudGl, HotbarShowsTheStartingKitAndTheSelection) {
    Game& g = QuietWorld();
    Image image = DrawFrame(g);
    testgl::SavePng(image, "hud_hotbar");
    auto outlineOnTop = [&](int x, Color colour) {
        for (int y = 835; y <= 837; ++y) {
            if (drawtest::NearRgb(testgl::PixelAt(image, x, y), colour, 3)) return true;
        }
        return false;
    };
    EXPECT_TRUE(outlineOnTop(557, Color{232, 206, 150, 255}));  // slot 0 selected
    EXPECT_TRUE(outlineOnTop(611, Color{84, 80, 72, 255}));
    EXPECT_TRUE(RgbAt(image, 546, 860, Color{196, 120, 52, 255}, 2));                   // fuel can plate
    EXPECT_TRUE(RgbAt(image, 654, 860, Color{124, 84, 48, 255}, 2));                    // firewood in slot 2
    EXPECT_TRUE(DarkAt(image, 1043, 870));                                              // slot 9 is empty
    EXPECT_GT(CountNear(image, 567, 866, 582, 884, Color{245, 240, 230, 255}, 30), 3);  // "2"
    EXPECT_EQ(CountNear(image, 1053, 866, 1068, 884, Color{245, 240, 230, 255}, 30), 0);
    EXPECT_GT(CountNear(image, 1024, 838, 1036, 854, Color{170, 162, 148, 255}, 30), 2);  // "0"

    g.inventory.selected = 9;
    Image moved = DrawFrame(g);
    const drawtest::Diff diff = drawtest::Compare(image, moved);
    EXPECT_GE(diff.left, 531);
    EXPECT_LE(diff.right, 1019 + 49);
    EXPECT_GE(diff.top, 834);
    EXPECT_LE(diff.bottom, 886);
    UnloadImage(image);
    UnloadImage(moved);
}

TEST_F(HudGl, InventoryAndEndOverlayHideThePromptButNotTheStatusLine) {
    Game& g = QuietWorld();
    g.target = Interaction{2, 7, ItemType::None, g.player.position()};
    Image prompt = DrawFrame(g);
    const testsupport::ImageGuard promptGuard(prompt);
    g.target = Interaction{};
    Image plain = DrawFrame(g);
    const testsupport::ImageGuard plainGuard(plain);
    testgl::SavePng(prompt, "hud_prompt");
    drawtest::Diff diff = drawtest::Compare(prompt, plain);
    ASSERT_GT(diff.count, 0);
    EXPECT_GE(diff.top, 790);
    EXPECT_LE(diff.bottom, 822);
    EXPECT_NEAR((diff.left + diff.right) / 2.0f, 800.0f, 6.0f);

    g.message = "Инвентарь полон";
    g.messageTimer = 2.0f;
    Image status = DrawFrame(g);
    const testsupport::ImageGuard statusGuard(status);
    diff = drawtest::Compare(status, plain);
    ASSERT_GT(diff.count, 0);
    EXPECT_GE(diff.top, 758);
    EXPECT_LE(diff.bottom, 786);
    EXPECT_NEAR((diff.left + diff.right) / 2.0f, 800.0f, 6.0f);
    EXPECT_NEAR(static_cast<float>(diff.right - diff.left), ui::Measure("Инвентарь полон", 20), 6.0f);

    for (int layer = 0; layer < 2; ++layer) {
        g.inventoryOpen = layer == 0;
        g.gameOver = layer == 1;
        g.messageTimer = 0.0f;
        g.target = Interaction{2, 7, ItemType::None, g.player.position()};
        Image withPrompt = DrawFrame(g);
        g.target = Interaction{};
        Image without = DrawFrame(g);
        EXPECT_EQ(drawtest::Compare(withPrompt, without).count, 0) << "layer " << layer;
        g.messageTimer = 2.0f;
        Image withStatus = DrawFrame(g);
        EXPECT_GT(drawtest::Compare(withStatus, without).count, 0) << "layer " << layer;
        if (layer == 0) testgl::SavePng(withStatus, "hud_inventory_open");
        UnloadImage(withPrompt);
        UnloadImage(without);
        UnloadImage(withStatus);
    }
}

TEST_F(HudGl, DebugOverlayAddsThreeLinesUnderTheGoal) {
    Game& g = QuietWorld();
    const Color bright{238, 230, 214, 255};
    const Color dim{210, 198, 178, 255};
    Image plain = DrawFrame(g);
    const testsupport::ImageGuard plainGuard(plain);
    g.debugOverlay = true;
    Image debug = DrawFrame(g);
    const testsupport::ImageGuard debugGuard(debug);
    testgl::SavePng(debug, "hud_debug");
    const drawtest::Diff diff = drawtest::Compare(plain, debug);
    ASSERT_GT(diff.count, 0);
    EXPECT_GE(diff.left, 24);
    EXPECT_GE(diff.top, 48);
    EXPECT_LE(diff.bottom, 124);
    EXPECT_GT(CountNear(debug, 24, 48, 700, 70, bright, 20), 10);
    EXPECT_GT(CountNear(debug, 24, 74, 700, 96, bright, 20), 10);
    EXPECT_GT(CountNear(debug, 24, 100, 900, 122, dim, 20), 10);
}

TEST_F(HudGl, PilotWithAColdFurnaceSeesBothWarningsAndNoWeaponLine) {
    Game& g = QuietWorld();
    const Color red{232, 92, 64, 255};
    const Color blue{150, 206, 255, 255};
    const Color weapon{232, 220, 196, 255};
    Image walking = DrawFrame(g);
    EXPECT_GT(CountNear(walking, 1300, 808, 1577, 832, weapon, 30), 5);
    EXPECT_EQ(CountNear(walking, 24, 48, 700, 70, Color{238, 210, 160, 255}, 12), 0);
    EXPECT_GT(CountNear(walking, 24, 20, 700, 44, Color{222, 208, 182, 255}, 30), 10);

    g.aboard = true;
    g.piloting = true;
    g.airship.fuel = 0.0f;
    g.warmth = 20.0f;
    Image pilot = DrawFrame(g);
    testgl::SavePng(pilot, "hud_pilot_cold");
    EXPECT_GT(CountNear(pilot, 24, 48, 900, 70, Color{238, 210, 160, 255}, 30), 10);
    EXPECT_GT(CountNear(pilot, 24, 74, 300, 96, red, 30), 5);
    EXPECT_EQ(CountNear(pilot, 24, 74, 300, 96, blue, 30), 0);
    EXPECT_GT(CountNear(pilot, 24, 98, 300, 120, blue, 30), 5);
    EXPECT_EQ(CountNear(pilot, 1300, 808, 1577, 832, weapon, 12), 0);

    g.piloting = false;
    g.reloading = true;
    Image reload = DrawFrame(g);
    EXPECT_EQ(CountNear(reload, 24, 74, 300, 96, red, 12), 0);
    EXPECT_GT(CountNear(reload, 24, 74, 300, 96, blue, 30), 5);
    EXPECT_GT(CountNear(reload, 1300, 808, 1577, 832, Color{228, 176, 96, 255}, 30), 5);
    UnloadImage(walking);
    UnloadImage(pilot);
    UnloadImage(reload);
}

}  // namespace
