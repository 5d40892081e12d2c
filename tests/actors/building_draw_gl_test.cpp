// The tower drawn into a render texture and read back: wall boxes and items
// of the current floor, the roof with and without parallax, the ground shadow
// and the interior light with the lamp on the player.
#include "actors/building.h"

#include <gtest/gtest.h>
#include "support/gl_fixture.h"
#include "support/image_guards.h"
#include "world/atmosphere.h"
#include "world/item_colours.h"

namespace {

using testgl::ExpectPixel;
using testgl::ExpectRgb;

constexpr Color kBackground{255, 255, 255, 255};
constexpr Color kWhite{255, 255, 255, 255};

Atmosphere Daylight(Vector3 sun) {
    Atmosphere atmosphere{};
    atmosphere.daylight = 1.0f;
    atmosphere.sunDir = sun;
    atmosphere.moonDir = Vector3{-sun.x, -sun.y, -sun.z};
    atmosphere.lightColor = Vector3{1.0f, 1.0f, 1.0f};
    return atmosphere;
}

int Brightness(const Color& c) {
    return c.r + c.g + c.b;
}

// The tower at the origin, player on the dock floor 12 (28.8 above the
// ground); the view centre has that lift taken off, as the game passes it,
// so at 8 px a unit a floor point (lx, lz) lands on (800 + 8 lx, 450 + 8 lz).
class BuildingDrawGl : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetScreenWidth(), 1600);
        ASSERT_EQ(GetScreenHeight(), 900);
        tower.Generate(20261113u, Vector2{0.0f, 0.0f}, 0.0f, 68.0f);
    }
    Building tower;
    const float scale = 8.0f;
    Vector3 insideView{0.0f, 0.0f, -28.8f};
};

TEST_F(BuildingDrawGl, FloorWallTopsSidesAndItems) {
    const Color tint{200, 220, 240, 255};
    const Image image = testgl::Render(kBackground, [&] { tower.DrawFloor(insideView, scale, tint); });
    const testsupport::ImageGuard imageGuard(image);
    testgl::SavePng(image, "tower_floor");

    // Outer wall cell (0, 10): its top 3.6 above the floor, 28.8 px up.
    // (122, 96, 68) tinted gives (95, 82, 64); x 1.108 for its height.
    ExpectPixel(image, 648, 269, Color{105, 90, 70, 255});
    // The face toward +z of the corner wall (0, 39), seen below its top.
    ExpectPixel(image, 648, 756, Color{65, 55, 43, 255});

    const Building::FloorData& floor = tower.floors[tower.currentFloor];
    ASSERT_FALSE(floor.items.empty());
    for (const FloorItem& item : floor.items) {
        const int x = item.cell % Building::kGridX;
        const int z = item.cell / Building::kGridX;
        const float px = 800.0f + 8.0f * ((x + 0.5f) * 2.0f - 20.0f);
        const float py = 450.0f + 8.0f * ((z + 0.5f) * 2.0f - 40.0f) - 8.0f * 0.3f;
        ExpectPixel(image, static_cast<int>(px), static_cast<int>(py), ItemColour(item.kind));
    }
}

TEST_F(BuildingDrawGl, TakenItemsAreNotDrawn) {
    Building::FloorData& floor = tower.floors[tower.currentFloor];
    ASSERT_FALSE(floor.items.empty());
    const FloorItem item = floor.items.front();
    ASSERT_EQ(tower.takeItem(item.key), item.kind);
    const Image image = testgl::Render(kBackground, [&] { tower.DrawFloor(insideView, scale, kWhite); });
    const int x = item.cell % Building::kGridX;
    const int z = item.cell / Building::kGridX;
    const Color got = testgl::PixelAt(image, static_cast<int>(800.0f + 8.0f * ((x + 0.5f) * 2.0f - 20.0f)),
                                      static_cast<int>(450.0f + 8.0f * ((z + 0.5f) * 2.0f - 40.0f) - 2.4f));
    EXPECT_FALSE(testgl::SameColour(got, ItemColour(item.kind)));
    UnloadImage(image);
}

TEST_F(BuildingDrawGl, RoofBeaconMovesOutWithParallax) {
    const Vector3 outside{0.0f, 0.0f, 0.0f};
    const Image flat = testgl::Render(kBackground, [&] { tower.DrawExterior(outside, 4.0f, kWhite, 0.0f); });
    testgl::SavePng(flat, "tower_roof");
    // Roof from (720, 290) to (880, 610); the beacon at 0.12 of its height, y 328.4.
    ExpectPixel(flat, 800, 328, Color{214, 96, 82, 255});
    // The dark halo 3 px outside the roof's left edge.
    EXPECT_LT(Brightness(testgl::PixelAt(flat, 718, 450)), 3 * 255);
    ExpectPixel(flat, 712, 450, kBackground);
    UnloadImage(flat);

    const Image lifted = testgl::Render(kBackground, [&] { tower.DrawExterior(outside, 4.0f, kWhite, 0.5f); });
    testgl::SavePng(lifted, "tower_roof_parallax");
    // Every point 1.5 times as far from the screen centre.
    ExpectPixel(lifted, 800, 267, Color{214, 96, 82, 255});
    EXPECT_LT(Brightness(testgl::PixelAt(lifted, 682, 450)), 3 * 255);
    UnloadImage(lifted);
}

TEST_F(BuildingDrawGl, RoofAtNoScaleDrawsOnlyAroundTheCentre) {
    // A cell of 0 or fewer pixels must not stall the grid and window loops.
    const Vector3 outside{0.0f, 0.0f, 0.0f};
    const Image image = testgl::Render(kBackground, [&] {
        tower.DrawExterior(outside, 0.0f, kWhite, 0.0f);
        tower.DrawExterior(outside, -2.0f, kWhite, 0.3f);
    });
    ExpectPixel(image, 400, 200, kBackground);
    ExpectPixel(image, 1200, 700, kBackground);
    UnloadImage(image);
}

TEST_F(BuildingDrawGl, ShadowRunsAwayFromTheSun) {
    // Sun low in the +x direction: the shadow runs toward -x.
    const Vector3 outside{0.0f, 0.0f, 0.0f};
    const Image image = testgl::Render(kBackground, [&] {
        tower.DrawShadow(outside, 4.0f, Daylight(Vector3{0.8f, 0.6f, 0.0f}));
    });
    testgl::SavePng(image, "tower_shadow");
    // L = min(clamp(0.8 * 201.6 / 0.6, 40, 110), 24 * 4 + 30) = 110 units.
    EXPECT_LT(Brightness(testgl::PixelAt(image, 800 - 4 * 100, 450)), 3 * 255);
    EXPECT_LT(Brightness(testgl::PixelAt(image, 800, 450)), 3 * 255);
    ExpectPixel(image, 800 + 4 * 30, 450, kBackground);
    ExpectPixel(image, 800 - 4 * 140, 450, kBackground);
    UnloadImage(image);
}

TEST_F(BuildingDrawGl, LampGlowsOnThePlayerAtTheScreenCentre) {
    const Color black{0, 0, 0, 255};
    const Image image = testgl::Render(black, [&] {
        tower.DrawLight(insideView, scale, Daylight(Vector3{0.0f, 1.0f, 0.0f}));
    });
    testgl::SavePng(image, "tower_light");
    const Color atPlayer = testgl::PixelAt(image, 800, 450);
    // Where the old formula put the lamp, 28.8 units above the player:
    // nothing but the darkness there.
    const Color above = testgl::PixelAt(image, 800, 450 - static_cast<int>(28.8f * scale));
    EXPECT_GT(atPlayer.r, above.r);
    EXPECT_GT(atPlayer.g, above.g);
    // A window of the -z wall at local x -3 lights the room below it.
    const Color window = testgl::PixelAt(image, 776, 150);
    EXPECT_GT(window.r, above.r);
    UnloadImage(image);
}

TEST_F(BuildingDrawGl, NightDarkensTheRoomAndCoolsTheWindowLight) {
    Atmosphere night = Daylight(Vector3{0.0f, -1.0f, 0.0f});
    night.daylight = 0.0f;
    const Atmosphere day = Daylight(Vector3{0.0f, 1.0f, 0.0f});

    // The darkness over white: (5, 9, 16) at 0.36 by day, 0.66 at night.
    const Image dayDark = testgl::Render(kBackground, [&] { tower.DrawLight(insideView, scale, day); });
    const Image nightDark = testgl::Render(kBackground, [&] { tower.DrawLight(insideView, scale, night); });
    ExpectRgb(dayDark, 100, 100, Color{166, 168, 170, 255}, 2);
    ExpectRgb(nightDark, 100, 100, Color{90, 93, 98, 255}, 2);
    UnloadImage(dayDark);
    UnloadImage(nightDark);

    // A window of the -z wall, away from the corners, lights the room below
    // it: warm by day, blue-white at night.
    const Building::FloorData& floor = tower.floors[tower.currentFloor];
    int windowX = -1;
    for (int x = 3; x <= 16 && windowX < 0; ++x) {
        if (floor.cells[x] == Building::Block::Window) windowX = x;
    }
    ASSERT_GE(windowX, 0);
    const int px = static_cast<int>(800.0f + 8.0f * ((windowX + 0.5f) * 2.0f - 20.0f));
    const int py = static_cast<int>(450.0f + 8.0f * (1.0f - 40.0f) - 8.0f * 0.05f) + 8;

    const Color black{0, 0, 0, 255};
    const Image dayLight = testgl::Render(black, [&] { tower.DrawLight(insideView, scale, day); });
    const Image nightLight = testgl::Render(black, [&] { tower.DrawLight(insideView, scale, night); });
    testgl::SavePng(nightLight, "tower_light_night");
    const Color warm = testgl::PixelAt(dayLight, px, py);
    const Color cool = testgl::PixelAt(nightLight, px, py);
    EXPECT_GT(warm.r, warm.b + 8) << int(warm.r) << " " << int(warm.b);
    EXPECT_GT(cool.b, cool.r + 6) << int(cool.r) << " " << int(cool.b);
    // Moonlight is also fainter than daylight.
    EXPECT_GT(warm.r + warm.g, cool.r + cool.g);
    UnloadImage(dayLight);
    UnloadImage(nightLight);
}

TEST(BuildingDrawGlNoTower, NothingIsDrawnWithoutFloors) {
    Building none;
    const Atmosphere atmosphere = Daylight(Vector3{0.8f, 0.6f, 0.0f});
    const Image image = testgl::Render(kBackground, [&] {
        none.DrawShadow(Vector3{0, 0, 0}, 4.0f, atmosphere);
        none.DrawExterior(Vector3{0, 0, 0}, 4.0f, kWhite, 0.2f);
        none.DrawFloor(Vector3{0, 0, 0}, 4.0f, kWhite);
        none.DrawLight(Vector3{0, 0, 0}, 4.0f, atmosphere);
    });
    for (int y = 0; y < 900; y += 50) {
        for (int x = 0; x < 1600; x += 50) ExpectPixel(image, x, y, kBackground);
    }
    UnloadImage(image);
}

}  // namespace
