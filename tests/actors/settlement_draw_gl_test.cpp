// The home hearth drawn into a render texture and read back in its three
// states (broken, repaired but cold, burning): the firebox or the fire, the
// stone rings, the lit hut windows, the loose part and the survivors.
#include "actors/settlement.h"

#include <gtest/gtest.h>
#include "support/gl_fixture.h"

namespace {

using testgl::ExpectPixel;
using testgl::ExpectRgb;

constexpr Color kBackground{255, 255, 255, 255};
constexpr Color kTint{200, 220, 240, 255};

// Furnace at the origin under the view centre, 10 px a unit: the furnace
// radius u is 65 px and a ground point (x, z) lands on (800 + 10 x, 450 + 10 z).
class SettlementDrawGl : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetScreenWidth(), 1600);
        ASSERT_EQ(GetScreenHeight(), 900);
        home.partX = -8.2f;
        home.partZ = 1.5f;
        home.huts.push_back(Hut{30.0f, -25.0f, 8.0f, 6.0f, 0.0f, 3.0f, true});
        Survivor standing;
        standing.pos = Vector3{10.0f, 0.0f, 15.0f};
        standing.alive = true;
        home.survivors.push_back(standing);
        Survivor frozen = standing;
        frozen.pos = Vector3{-10.0f, 0.0f, 15.0f};
        frozen.alive = false;
        home.survivors.push_back(frozen);
    }

    Image Draw(const char* name) {
        const Image image = testgl::Render(kBackground, [&] {
            home.DrawGround(view, 10.0f, kTint);
            home.Draw(view, 10.0f, kTint);
        });
        testgl::SavePng(image, name);
        return image;
    }

    HomeSettlement home;
    Vector3 view{0.0f, 0.0f, 0.0f};
};

// Points of the furnace: inside the inner firebox disc clear of the ash and
// the crack; on the outer stone ring at 15 degrees, in the broken arc's gap.
constexpr int kFireboxX = 813, kFireboxY = 442;
constexpr int kRingGapX = 849, kRingGapY = 463;
// The hut's window and the first survivor's coat.
constexpr int kWindowX = 1119, kWindowY = 210;
constexpr int kCoatX = 904, kCoatY = 603;

TEST_F(SettlementDrawGl, BrokenFurnaceShowsTheColdWreck) {
    home.broken = true;
    const Image image = Draw("settlement_broken");
    ExpectPixel(image, kFireboxX, kFireboxY, Color{18, 17, 17, 255});
    // The cracked outer ring leaves the body (72, 66, 58) tinted showing.
    ExpectPixel(image, kRingGapX, kRingGapY, Color{56, 56, 54, 255});
    // Hut body (92, 78, 62) tinted, no lit window.
    ExpectPixel(image, kWindowX, kWindowY, Color{72, 67, 58, 255});
    // The loose part's hub, the living survivor's coat, and no frozen one.
    ExpectPixel(image, 718, 465, Color{74, 84, 96, 255});
    ExpectPixel(image, kCoatX, kCoatY, Color{75, 70, 58, 255});
    ExpectPixel(image, 700, 600, kBackground);
    // A faint blue heat ring while there is no heat.
    const Color ring = testgl::PixelAt(image, 1150, 450);
    EXPECT_GT(ring.b, ring.r);
    EXPECT_LT(ring.r, 250);
    UnloadImage(image);
}

TEST_F(SettlementDrawGl, RepairedButColdKeepsFullRings) {
    home.broken = false;
    home.parts = 3;
    home.heat = 0.02f;
    home.partTaken = true;
    const Image image = Draw("settlement_cold");
    ExpectPixel(image, kFireboxX, kFireboxY, Color{18, 17, 17, 255});
    // The full outer stone ring (58, 53, 46) tinted.
    ExpectPixel(image, kRingGapX, kRingGapY, Color{45, 45, 43, 255});
    // The cog is gone once the part is taken.
    ExpectPixel(image, 718, 465, kBackground);
    UnloadImage(image);
}

TEST_F(SettlementDrawGl, FaintHeatAlreadyLightsTheFire) {
    home.broken = false;
    home.parts = 3;
    home.heat = 0.03f;
    const Image image = Draw("settlement_embers");
    // The core at 0.35 * 0.03 + 0.55 over a barely visible glow: no firebox.
    ExpectRgb(image, 800, 450, Color{168, 136, 82, 255}, 3);
    // Too little heat for the hut windows.
    ExpectPixel(image, kWindowX, kWindowY, Color{72, 67, 58, 255});
    UnloadImage(image);
}

TEST_F(SettlementDrawGl, BurningFurnaceShowsFireAndLitWindows) {
    home.broken = false;
    home.parts = 3;
    home.heat = 1.0f;
    home.fuel = 600.0f;
    home.elapsed = 0.0f;
    const Image image = Draw("settlement_burning");
    // The core (255, 198, 104) at 0.9 over the fire's inner glow at
    // 0.55 * 0.86 over the tinted body.
    ExpectRgb(image, 800, 450, Color{244, 191, 102, 255}, 4);
    ExpectPixel(image, kRingGapX, kRingGapY, Color{45, 45, 43, 255});
    // (255, 190, 96) at 0.85 over the tinted hut body.
    ExpectRgb(image, kWindowX, kWindowY, Color{227, 171, 90, 255}, 2);
    const Color ring = testgl::PixelAt(image, 1150, 450);
    EXPECT_GT(ring.r, ring.b);
    UnloadImage(image);
}

TEST_F(SettlementDrawGl, SmokeFollowsFuelAndHeatOfTheRepairedFurnace) {
    // The flue disc (54, 50, 46) tinted, 0.17 u across at F - (0.55 u, 0.55 u);
    // this point of it lies clear of the puffs at time 0.
    const Color flue{42, 43, 43, 255};
    auto flueAt = [&](bool broken, float heat, float fuel) {
        home.broken = broken;
        home.parts = broken ? 0 : 3;
        home.heat = heat;
        home.fuel = fuel;
        home.elapsed = 0.0f;
        const Image image = testgl::Render(kBackground, [&] { home.Draw(view, 10.0f, kTint); });
        const Color got = testgl::PixelAt(image, 772, 414);
        UnloadImage(image);
        return got;
    };

    // Fuel alone gives strength 0.3; without fuel 0.9 * heat must pass 0.05.
    EXPECT_TRUE(testgl::SameColour(flueAt(false, 0.0f, 10.0f), flue));
    EXPECT_TRUE(testgl::SameColour(flueAt(false, 0.06f, 0.0f), flue));
    EXPECT_FALSE(testgl::SameColour(flueAt(false, 0.05f, 0.0f), flue));
    EXPECT_FALSE(testgl::SameColour(flueAt(false, 0.0f, 0.0f), flue));
    // A broken furnace never smokes.
    EXPECT_FALSE(testgl::SameColour(flueAt(true, 0.0f, 10.0f), flue));
}

}  // namespace
