// gl_fixture.cpp: opens one hidden 1600 x 900 window before the GL tests run
// and closes it after them.
#include "support/gl_fixture.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>

namespace testgl {

Image ReadBack(const RenderTexture2D& target) {
    Image image = LoadImageFromTexture(target.texture);
    ImageFlipVertical(&image);
    ImageFormat(&image, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8);
    return image;
}

Color PixelAt(const Image& image, int x, int y) {
    const unsigned char* p = static_cast<const unsigned char*>(image.data) + 4 * (y * image.width + x);
    return Color{p[0], p[1], p[2], p[3]};
}

std::string SavePng(const Image& image, const std::string& name) {
    const char* out = std::getenv("PALEWICK_OUT");
    std::filesystem::path dir = out ? out : "test-output";
    std::filesystem::create_directories(dir);
    std::string path = (dir / (name + ".png")).string();
    ExportImage(image, path.c_str());
    return path;
}

bool SameColour(Color a, Color b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance &&
           std::abs(a.a - b.a) <= tolerance;
}

Image Render(Color background, const std::function<void()>& draw) {
    const RenderTexture2D target = LoadRenderTexture(GetScreenWidth(), GetScreenHeight());
    BeginTextureMode(target);
    ClearBackground(background);
    draw();
    EndTextureMode();
    Image image = ReadBack(target);
    UnloadRenderTexture(target);
    return image;
}

void ExpectPixel(const Image& image, int x, int y, Color expected, int tolerance) {
    const Color got = PixelAt(image, x, y);
    EXPECT_TRUE(SameColour(got, expected, tolerance)) << "pixel (" << x << ", " << y << ") is (" << int(got.r) << ", "
                                                      << int(got.g) << ", " << int(got.b) << ", " << int(got.a) << ")";
}

void ExpectRgb(const Image& image, int x, int y, Color expected, int tolerance) {
    Color got = PixelAt(image, x, y);
    got.a = 255;
    EXPECT_TRUE(SameColour(got, Color{expected.r, expected.g, expected.b, 255}, tolerance))
        << "pixel (" << x << ", " << y << ") is (" << int(got.r) << ", " << int(got.g) << ", " << int(got.b) << ")";
}

namespace {

class WindowEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        SetTraceLogLevel(LOG_WARNING);
        SetConfigFlags(FLAG_WINDOW_HIDDEN);
        InitWindow(1600, 900, "Palewick GL tests");
        ASSERT_TRUE(IsWindowReady()) << "no OpenGL context (is DISPLAY set?)";
    }
    void TearDown() override {
        if (IsWindowReady()) CloseWindow();
    }
};

const ::testing::Environment* const kWindow = ::testing::AddGlobalTestEnvironment(new WindowEnvironment);

}  // namespace
}  // namespace testgl
