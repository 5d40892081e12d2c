// top_down_camera_test.cpp: snapping, easing and the view direction of the
// top-down camera.
#include "game/view/top_down_camera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectAt(const Vector3& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

TEST(TopDownCamera, FreshCameraJumpsToItsFirstTarget) {
    TopDownCamera camera;
    EXPECT_TRUE(camera.snap);
    EXPECT_EQ(camera.zoom, 5.0f);
    camera.SetTarget(Vector3{120.0f, 3.5f, -40.0f}, 8.0f);
    camera.Update(0.016f);
    EXPECT_EQ(camera.position.x, 120.0f);
    EXPECT_EQ(camera.position.y, 3.5f);
    EXPECT_EQ(camera.position.z, -40.0f);
    EXPECT_EQ(camera.zoom, 8.0f);
    EXPECT_FALSE(camera.snap);
}

TEST(TopDownCamera, UpdateOfZeroWithoutSnapChangesNothing) {
    TopDownCamera camera;
    camera.Update(0.02f);
    camera.SetTarget(Vector3{10.0f, 2.0f, 30.0f}, 9.0f);
    camera.Update(0.0f);
    ExpectAt(camera.position, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(camera.zoom, 5.0f);
}

TEST(TopDownCamera, EasesAllThreeAxesAndZoomAtTheirOwnRates) {
    TopDownCamera camera;
    camera.Update(0.01f);
    camera.SetTarget(Vector3{100.0f, 10.0f, -50.0f}, 10.0f);
    const float dt = 0.05f;
    camera.Update(dt);
    const float kp = 1.0f - std::exp(-7.0f * dt);
    const float kz = 1.0f - std::exp(-2.5f * dt);
    ExpectAt(camera.position, 100.0f * kp, 10.0f * kp, -50.0f * kp);
    EXPECT_FLOAT_EQ(camera.zoom, 5.0f + 5.0f * kz);
    EXPECT_GT(camera.position.y, 0.0f);
    EXPECT_LT(camera.position.y, 10.0f);
}

TEST(TopDownCamera, OneSecondOfFramesLeavesTheSameRemainderAtAnyFrameRate) {
    for (int frames : {20, 100}) {
        TopDownCamera camera;
        camera.Update(0.01f);
        camera.SetTarget(Vector3{100.0f, 0.0f, 0.0f}, 10.0f);
        const float dt = 1.0f / static_cast<float>(frames);
        for (int i = 0; i < frames; ++i) camera.Update(dt);
        EXPECT_NEAR(camera.position.x, 100.0f * (1.0f - std::exp(-7.0f)), 0.01f) << frames;
        EXPECT_NEAR(camera.zoom, 10.0f - 5.0f * std::exp(-2.5f), 0.001f) << frames;
    }
}

TEST(TopDownCamera, SetPositionSnapConsumesTheLaterTarget) {
    TopDownCamera camera;
    camera.Update(0.01f);
    camera.SetPosition(Vector3{1.0f, 2.0f, 3.0f});
    camera.SetTarget(Vector3{400.0f, 20.0f, -300.0f}, 7.5f);
    camera.Update(0.016f);
    ExpectAt(camera.position, 400.0f, 20.0f, -300.0f);
    EXPECT_EQ(camera.zoom, 7.5f);
}

TEST(TopDownCamera, ResetForgetsZoomAndYawWhileSetPositionKeepsThem) {
    TopDownCamera camera;
    camera.SetTarget(Vector3{0.0f, 0.0f, 0.0f}, 9.0f);
    camera.SetView(1.25f, 0.7f);
    camera.Update(0.02f);
    ASSERT_EQ(camera.zoom, 9.0f);

    TopDownCamera moved = camera;
    moved.SetTarget(Vector3{0.0f, 0.0f, 0.0f}, 3.0f);
    moved.SetPosition(Vector3{5.0f, 1.0f, 5.0f});
    EXPECT_EQ(moved.yaw, 1.25f);
    EXPECT_EQ(moved.zoom, 9.0f);
    EXPECT_EQ(moved.zoomTarget, 3.0f);
    EXPECT_TRUE(moved.snap);
    moved.Update(0.02f);
    ExpectAt(moved.position, 5.0f, 1.0f, 5.0f);
    EXPECT_EQ(moved.zoom, 3.0f);

    camera.Reset(Vector3{-7.0f, 4.0f, 2.0f});
    EXPECT_EQ(camera.yaw, 0.0f);
    EXPECT_EQ(camera.zoom, 5.0f);
    EXPECT_EQ(camera.zoomTarget, 5.0f);
    EXPECT_TRUE(camera.snap);
    ExpectAt(camera.target, -7.0f, 4.0f, 2.0f);
}

TEST(TopDownCamera, ForwardFollowsYaw) {
    TopDownCamera camera;
    Vector3 f = camera.forward();
    ExpectAt(f, 0.0f, 0.0f, -1.0f);
    camera.SetView(1.5707964f, 0.0f);
    f = camera.forward();
    EXPECT_FLOAT_EQ(f.x, 1.0f);
    EXPECT_EQ(f.y, 0.0f);
    EXPECT_NEAR(f.z, 0.0f, 1e-6f);
}

}  // namespace
