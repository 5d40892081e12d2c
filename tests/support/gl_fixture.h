// gl_fixture.h: what the GL tests share: a hidden window with a live OpenGL
// context for the whole test process, pixel read-back from render textures,
// and PNGs saved under the build folder for a person to look at.
#pragma once
#include <functional>
#include <string>
#include "raylib.h"

namespace testgl {

// Reads a render texture back into a CPU image, top row first (render
// textures are stored bottom-up). The caller unloads the image.
Image ReadBack(const RenderTexture2D& target);

// Colour of one pixel of an image read back with ReadBack.
Color PixelAt(const Image& image, int x, int y);

// Writes the image as <build>/test-output/<name>.png and returns the path.
std::string SavePng(const Image& image, const std::string& name);

bool SameColour(Color a, Color b, int tolerance = 0);

// Draws into a screen-sized render texture cleared to the background and
// returns it read back; the caller unloads the image.
Image Render(Color background, const std::function<void()>& draw);

// Expects the pixel to be the colour, each channel within the tolerance.
void ExpectPixel(const Image& image, int x, int y, Color expected, int tolerance = 0);

// The same for blended pixels, whose alpha the render target blends too:
// only r, g and b are compared.
void ExpectRgb(const Image& image, int x, int y, Color expected, int tolerance);

}  // namespace testgl
