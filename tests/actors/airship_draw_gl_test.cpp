// The airship drawn into a render texture and read back: lit deck tops, the
// side faces, the furnace core, both tail fins and the shadows on the ground.
#include "actors/airship.h"

#include <gtest/gtest.h>
#include "support/gl_fixture.h"
#include "world/atmosphere.h"

namespace {

using testgl::ExpectPixel;
using testgl::ExpectRgb;

constexpr Color kBackground{255, 255, 255, 255};

Atmosphere Daylight() {
    Atmosphere atmosphere{};
    atmosphere.daylight = 1.0f;
    atmosphere.sunDir = Vector3{0.0f, 1.0f, 0.0f};
    atmosphere.moonDir = Vector3{0.0f, -1.0f, 0.0f};
    atmosphere.lightColor = Vector3{1.0f, 1.0f, 1.0f};
    return atmosphere;
}

// An opaque colour after src is blended over dst at alpha a, as the GPU does
// with the alpha byte Fade gives.
Color Blend(Color dst, Color src, float a) {
    const float k = static_cast<float>(Fade(src, a).a) / 255.0f;
    auto mix = [k](unsigned char d, unsigned char s) {
        return static_cast<unsigned char>(static_cast<float>(d) + (static_cast<float>(s) - static_cast<float>(d)) * k +
                                          0.5f);
    };
    return Color{mix(dst.r, src.r), mix(dst.g, src.g), mix(dst.b, src.b), 255};
}

// With the ship at the origin, heading 0, the view on it and 10 px a unit, a
// local point (lx, lz) at height h lands on (800 + 10 lx, 450 + 10 lz - 10 h).
class AirshipDrawGl : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetScreenWidth(), 1600);
        ASSERT_EQ(GetScreenHeight(), 900);
    }
    Airship ship;
    Atmosphere light = Daylight();
    Vector3 view{0.0f, 0.0f, 0.0f};
};

TEST_F(AirshipDrawGl, GondolaTopsAndFacesInTheirLitColours) {
    ship.fuel = 30.0f;
    const Image image = testgl::Render(kBackground, [&] { ship.DrawGondola(view, 10.0f, light); });
    testgl::SavePng(image, "airship_gondola");

    // Deck cell (column 5, row 7), between its plank seams: base (134, 102, 68)
    // lit by white light (x 1.03) and raised by 2.2 (x 1.077).
    ExpectPixel(image, 630, 418, Color{148, 113, 75, 255});
    // The side face of the starboard wall (row 10) below its top: wall
    // (88, 66, 48) lit and raised by 3.4, then 0.62 of that.
    ExpectPixel(image, 630, 493, Color{62, 45, 33, 255});
    // Furnace core with fuel, at the centre of cell (14, 8) on its 3.4 top.
    ExpectPixel(image, 810, 426, Color{255, 206, 132, 255});
    UnloadImage(image);
}

TEST_F(AirshipDrawGl, FurnaceCoreGoesDarkWithoutFuel) {
    ship.fuel = 0.0f;
    const Image image = testgl::Render(kBackground, [&] { ship.DrawGondola(view, 10.0f, light); });
    ExpectPixel(image, 810, 426, Color{72, 66, 58, 255});
    UnloadImage(image);
}

TEST_F(AirshipDrawGl, SideFacesTurnWithTheHeading) {
    // A wall side face is (88, 66, 48) lit, raised by 3.4 and shaded to 0.62;
    // a deck side face is (134, 102, 68) lit, raised by 2.2 and shaded alike.
    const Color wallSide{62, 45, 33, 255};
    const Color deckSide{91, 70, 46, 255};

    // Turned about, the port wall (row 5) lies nearest the viewer: its face
    // is the edge from corner (0, 0) to (1, 0), below its top at 456..476.
    ship.heading = PI;
    const Image turned = testgl::Render(kBackground, [&] { ship.DrawGondola(view, 10.0f, light); });
    ExpectPixel(turned, 970, 493, wallSide);
    UnloadImage(turned);

    // Bow down the screen: the bow cell (27, 8) shows the face of its edge
    // from (1, 0) to (1, 1), 22 px tall under its top.
    ship.heading = PI / 2.0f;
    const Image bowDown = testgl::Render(kBackground, [&] { ship.DrawGondola(view, 10.0f, light); });
    testgl::SavePng(bowDown, "airship_gondola_bow_down");
    ExpectPixel(bowDown, 790, 720, deckSide);
    ExpectPixel(bowDown, 790, 735, kBackground);
    UnloadImage(bowDown);
}

TEST_F(AirshipDrawGl, EngineGlowNeedsFuelAndThrottle) {
    // The port engine (1, 5): nozzle at local (-25.76, -5) on its 3.2 top.
    // The port propeller beside it is turned so no blade crosses the nozzle.
    ship.propPhase = PI / 2.0f + 0.16f - 3.5f;
    const int nozzleX = 542;
    const int nozzleY = 368;
    const Color darkNozzle{18, 18, 20, 255};

    ship.fuel = 10.0f;
    ship.throttle = 0.5f;
    Image image = testgl::Render(kBackground, [&] { ship.DrawGondola(view, 10.0f, light); });
    // (255, 150, 70) at 0.35 + 0.45 * 0.5 over the dark nozzle.
    ExpectRgb(image, nozzleX, nozzleY, Color{154, 94, 49, 255}, 3);
    UnloadImage(image);

    ship.throttle = 0.05f;
    image = testgl::Render(kBackground, [&] { ship.DrawGondola(view, 10.0f, light); });
    ExpectPixel(image, nozzleX, nozzleY, darkNozzle);
    UnloadImage(image);

    ship.fuel = 0.0f;
    ship.throttle = 1.0f;
    image = testgl::Render(kBackground, [&] { ship.DrawGondola(view, 10.0f, light); });
    ExpectPixel(image, nozzleX, nozzleY, darkNozzle);
    UnloadImage(image);
}

TEST_F(AirshipDrawGl, CanopyEnvelopeAndBothFins) {
    ship.canopyAlpha = 1.0f;
    const Image image = testgl::Render(kBackground, [&] { ship.DrawCanopy(view, 10.0f, light); });
    testgl::SavePng(image, "airship_canopy");

    // Envelope top at height 9, strip 20 (z 0 to 0.6): (198, 180, 146) lit,
    // shaded by 0.44 + 0.62 n with n just under 1.
    ExpectPixel(image, 820, 364, Color{215, 196, 158, 255}, 1);
    // Starboard fin top at height 9, local (-50, 15), off its spine.
    ExpectPixel(image, 300, 510, Color{159, 135, 101, 255});
    // Port fin top at height 7.9, local (-50, -15).
    ExpectPixel(image, 300, 221, Color{159, 135, 101, 255});
    UnloadImage(image);
}

TEST_F(AirshipDrawGl, CanopyFadesWhileThePlayerStandsUnderIt) {
    ship.canopyAlpha = 0.3f;
    const Image image = testgl::Render(kBackground, [&] { ship.DrawCanopy(view, 10.0f, light); });
    testgl::SavePng(image, "airship_canopy_faded");
    // The underside strip 17 at height 7.2, (117, 107, 86), at 0.92 * 0.3,
    // then the top strip 20, (215, 196, 158), at 0.3, both over white.
    const Color underside = Blend(kBackground, Color{117, 107, 86, 255}, 0.276f);
    ExpectRgb(image, 820, 364, Blend(underside, Color{215, 196, 158, 255}, 0.3f), 3);
    UnloadImage(image);
}

TEST_F(AirshipDrawGl, GroundShadowFallsAwayFromTheLight) {
    // Light straight overhead: the shadow moves 6 units along -(0.62, 0.52).
    const float scale = 4.0f;
    const Image image = testgl::Render(kBackground, [&] { ship.DrawShadow(view, scale, light); });
    testgl::SavePng(image, "airship_shadow");

    // Its centre, (785, 437.5), under both fills of (16, 22, 32): the soft rim
    // at alpha 0.063, then the body at 0.14.
    ExpectRgb(image, 785, 437, Color{209, 210, 212, 255}, 2);
    // Without the offset this point would lie inside the ellipse (12 units
    // across at 4 px a unit); moved up and left it is outside.
    ExpectPixel(image, 800, 450 + 46, kBackground);
    UnloadImage(image);
}

TEST_F(AirshipDrawGl, CanopyShadowOnlyWhileLow) {
    ship.altitude = 0.0f;
    const Image low = testgl::Render(kBackground, [&] { ship.DrawCanopyShadow(view, 4.0f, light); });
    testgl::SavePng(low, "airship_canopy_shadow");
    const Color shaded = testgl::PixelAt(low, 790, 441);
    EXPECT_LT(shaded.r, 245);
    UnloadImage(low);

    ship.altitude = 16.0f;
    const Image high = testgl::Render(kBackground, [&] { ship.DrawCanopyShadow(view, 4.0f, light); });
    ExpectPixel(high, 790, 441 - 64, kBackground);
    ExpectPixel(high, 790, 441, kBackground);
    UnloadImage(high);
}

}  // namespace
