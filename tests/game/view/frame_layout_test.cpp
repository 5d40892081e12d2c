// frame_layout_test.cpp: the numbers a frame is drawn with: the view shake,
// ground tint and haze by altitude, frost intensity, the figure's size and
// facing, the end overlay's texts, the UI scale and the menu backdrop.
#include <gtest/gtest.h>

#include <cmath>

#include "actors/airship.h"
#include "game/view/frame_layout.h"

namespace {

TEST(FrameView, SmallShakesMoveNothing) {
    const Vector2 none = frame::ShakeOffset(0.05f, 5.0f, 1.3f);
    EXPECT_EQ(none.x, 0.0f);
    EXPECT_EQ(none.y, 0.0f);
    const Vector2 noScale = frame::ShakeOffset(6.0f, 0.0f, 1.3f);
    EXPECT_EQ(noScale.x, 0.0f);
    EXPECT_EQ(noScale.y, 0.0f);
}

TEST(FrameView, ShakeHasTheSameScreenSizeAtEveryZoom) {
    const float clock = 0.37f;
    const Vector2 near = frame::ShakeOffset(6.0f, 10.0f, clock);
    const Vector2 far = frame::ShakeOffset(6.0f, 2.5f, clock);
    EXPECT_NEAR(near.x * 10.0f, far.x * 2.5f, 1e-4f);
    EXPECT_NEAR(near.y * 10.0f, far.y * 2.5f, 1e-4f);
    EXPECT_NEAR(near.x * 10.0f, std::sin(91.0f * clock) * 6.0f, 1e-4f);
    EXPECT_NEAR(near.y * 10.0f, 0.7f * std::cos(77.0f * clock) * 6.0f, 1e-4f);
    EXPECT_LE(std::fabs(near.x * 10.0f), 6.0f);
}

TEST(FrameTint, PlainLightOnTheGroundAndColdBlueAtAltitude) {
    const Vector3 light{1.0f, 0.5f, 0.2f};
    const Color ground = frame::GroundTint(light, 0.0f);
    EXPECT_EQ(ground.r, 255);
    EXPECT_EQ(ground.g, 127);
    EXPECT_EQ(ground.b, 51);
    EXPECT_EQ(ground.a, 255);

    const float a = AirshipAltitudeFraction(50.0f);
    EXPECT_FLOAT_EQ(a, 1.0f);
    const Color high = frame::GroundTint(light, a);
    EXPECT_EQ(high.r, 223);  // 255 * 0.7 + 150 * 0.3 = 223.5
    EXPECT_EQ(high.g, 139);  // 127 * 0.7 + 168 * 0.3 = 139.3
    EXPECT_EQ(high.b, 94);   // 51 * 0.7 + 196 * 0.3 = 94.5
}

TEST(FrameTint, LightOutsideZeroToOneIsClampedFirst) {
    const Color c = frame::GroundTint(Vector3{1.7f, -0.4f, 0.999f}, 0.0f);
    EXPECT_EQ(c.r, 255);
    EXPECT_EQ(c.g, 0);
    EXPECT_EQ(c.b, 254);
}

TEST(FrameTint, HazeAndTowerParallaxFollowAltitude) {
    EXPECT_FLOAT_EQ(AirshipAltitudeFraction(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(AirshipAltitudeFraction(-3.0f), 0.0f);
    EXPECT_FLOAT_EQ(AirshipAltitudeFraction(17.5f), 0.5f);
    EXPECT_FLOAT_EQ(frame::HazeAlpha(0.0f), 0.1f);
    EXPECT_FLOAT_EQ(frame::HazeAlpha(1.0f), 0.3f);
    EXPECT_FLOAT_EQ(frame::TowerParallax(0.0f), 0.2f);
    EXPECT_FLOAT_EQ(frame::TowerParallax(1.0f), 0.2f / 3.0f);
}

TEST(FrameFrost, AirAndBodyColdAddUpAndClamp) {
    frame::FrostInputs in{-30.0f, 100.0f, false, 0.0f, false};
    EXPECT_NEAR(frame::FrostIntensity(in), 0.275f, 1e-6f);
    in.airTemperature = -50.0f;
    EXPECT_NEAR(frame::FrostIntensity(in), 0.55f, 1e-6f);
    in.airTemperature = -10.0f;
    EXPECT_FLOAT_EQ(frame::FrostIntensity(in), 0.0f);
    in.airTemperature = -50.0f;
    in.warmth = 15.0f;
    EXPECT_FLOAT_EQ(frame::FrostIntensity(in), 1.0f);
}

TEST(FrameFrost, WarmCabinCutsItAndAnyEndFillsIt) {
    frame::FrostInputs in{-50.0f, 100.0f, true, 12.5f, false};
    EXPECT_NEAR(frame::FrostIntensity(in), 0.3f * 0.55f, 1e-6f);
    in.cabinTemp = 12.0f;
    EXPECT_NEAR(frame::FrostIntensity(in), 0.55f, 1e-6f);
    in.cabinTemp = 30.0f;
    in.onDeck = false;
    EXPECT_NEAR(frame::FrostIntensity(in), 0.55f, 1e-6f);
    in.gameOver = true;
    in.airTemperature = 0.0f;
    EXPECT_FLOAT_EQ(frame::FrostIntensity(in), 1.0f);
}

TEST(FrameFigure, SizeClampsBetweenSevenAndThirteen) {
    EXPECT_FLOAT_EQ(frame::FigureSize(2.4f), 7.0f);
    EXPECT_FLOAT_EQ(frame::FigureSize(7.0f / 1.8f), 7.0f);
    EXPECT_FLOAT_EQ(frame::FigureSize(5.0f), 9.0f);
    EXPECT_FLOAT_EQ(frame::FigureSize(13.0f / 1.8f), 13.0f);
    EXPECT_FLOAT_EQ(frame::FigureSize(40.0f), 13.0f);
}

TEST(FrameFigure, FacingWithoutLengthFacesUpTheScreen) {
    const frame::FigureAxes none = frame::FigureAxesFor(0.0f, 0.0f);
    EXPECT_EQ(none.forward.x, 0.0f);
    EXPECT_EQ(none.forward.y, -1.0f);
    EXPECT_EQ(none.side.x, 1.0f);
    EXPECT_EQ(none.side.y, 0.0f);
    const frame::FigureAxes tiny = frame::FigureAxesFor(0.0005f, 0.0f);
    EXPECT_EQ(tiny.forward.y, -1.0f);
}

TEST(FrameFigure, AxesAreTheUnitFacingAndItsSide) {
    const frame::FigureAxes axes = frame::FigureAxesFor(3.0f, 4.0f);
    EXPECT_FLOAT_EQ(axes.forward.x, 0.6f);
    EXPECT_FLOAT_EQ(axes.forward.y, 0.8f);
    EXPECT_FLOAT_EQ(axes.side.x, -0.8f);
    EXPECT_FLOAT_EQ(axes.side.y, 0.6f);
    const Vector2 hand = frame::FigurePoint(Vector2{100.0f, 50.0f}, axes, 10.0f, 0.72f, 0.26f);
    EXPECT_FLOAT_EQ(hand.x, 100.0f + 7.2f * 0.6f - 2.6f * 0.8f);
    EXPECT_FLOAT_EQ(hand.y, 50.0f + 7.2f * 0.8f + 2.6f * 0.6f);
}

TEST(FrameEnd, TitleByCauseAndHintByWin) {
    EXPECT_STREQ(frame::EndTitle({true, true, true}), "ПОСЕЛЕНИЕ СПАСЕНО");
    EXPECT_STREQ(frame::EndTitle({false, true, true}), "ПОСЕЛЕНИЕ ЗАМЁРЗЛО");
    EXPECT_STREQ(frame::EndTitle({false, false, true}), "ТЫ ЗАМЁРЗ НАСМЕРТЬ");
    EXPECT_STREQ(frame::EndTitle({false, false, false}), "ТЫ ПОГИБ");
    EXPECT_STREQ(frame::EndHint(true), "R - новый мир    Enter - лететь дальше");
    EXPECT_STREQ(frame::EndHint(false), "R - новый мир    Esc - меню");
}

TEST(FrameUi, ScaleFollowsTheWindowWidth) {
    EXPECT_FLOAT_EQ(frame::UiScale(1280), 0.8f);
    EXPECT_FLOAT_EQ(frame::UiScale(0), 1.0f);
    EXPECT_FLOAT_EQ(frame::UiScale(-5), 1.0f);
}

TEST(FrameUi, BackdropBandsSplitTheWindowAtTwoThirds) {
    const frame::Backdrop b = frame::BackdropFor(900);
    EXPECT_EQ(b.skyHeight, 576);
    EXPECT_EQ(b.groundTop, 576);
    EXPECT_EQ(b.groundHeight, 324);
}

}  // namespace
