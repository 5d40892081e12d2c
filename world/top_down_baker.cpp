// top_down_baker.cpp: the triangle rasteriser behind the chunks' ground
// pictures: barycentric fill over a bounding box, vertex colours, a height
// tint and optional alpha blending.
#include "world/top_down_baker.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Night blue of ground nothing was drawn on.
constexpr uint32_t kClearPixel = 14u | (18u << 8) | (26u << 16) | (255u << 24);

// Pixels hold the bytes R, G, B, A in memory order (little-endian words).
uint32_t Pack(int r, int g, int b, int a)
{
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16) |
           (static_cast<uint32_t>(a) << 24);
}

int Channel(uint32_t pixel, int shift)
{
    return static_cast<int>((pixel >> shift) & 0xFFu);
}

// Bounding-box edge as a pixel index within 0..resolution - 1. Clamped while
// still a float so far-away geometry cannot overflow the conversion.
int PixelBound(float v, int resolution)
{
    const float hi = static_cast<float>(resolution - 1);
    v = v < hi ? v : hi;
    v = v > 0.0f ? v : 0.0f;
    return static_cast<int>(v);
}

int Interpolate(unsigned char a, unsigned char b, unsigned char c, float wa, float wb, float wc)
{
    const float v = (static_cast<float>(b) * wb + static_cast<float>(a) * wa) + static_cast<float>(c) * wc;
    return static_cast<int>(std::min(v, 255.0f));
}

int Tinted(int channel, float tint)
{
    return static_cast<int>(std::min(static_cast<float>(channel) * tint, 255.0f));
}

int Blended(int oldValue, int newValue, float f)
{
    return static_cast<int>(static_cast<float>(oldValue) * (1.0f - f) + static_cast<float>(newValue) * f);
}

}  // namespace

void TopDownBaker::Begin(Vector2 newOrigin, float size, int newResolution)
{
    origin = newOrigin;
    blend = false;
    resolution = newResolution <= 0 ? 1 : newResolution;
    pixelsPerUnit = static_cast<float>(resolution) / size;
    pixels.assign(static_cast<size_t>(resolution) * static_cast<size_t>(resolution), kClearPixel);
}

void TopDownBaker::Triangle(Vector3 a, Vector3 b, Vector3 c, Color ca, Color cb, Color cc)
{
    if (resolution <= 0) {
        return;
    }
    const float aX = (a.x - origin.x) * pixelsPerUnit;
    const float aZ = (a.z - origin.y) * pixelsPerUnit;
    const float bX = (b.x - origin.x) * pixelsPerUnit;
    const float bZ = (b.z - origin.y) * pixelsPerUnit;
    const float cX = (c.x - origin.x) * pixelsPerUnit;
    const float cZ = (c.z - origin.y) * pixelsPerUnit;

    const float area = (bX - aX) * (cZ - aZ) - (cX - aX) * (bZ - aZ);
    // Flat triangles are skipped, and so are ones whose area overflowed or is
    // NaN: their weights would mean nothing.
    if (!(std::fabs(area) >= 0.000001f) || !std::isfinite(area)) {
        return;
    }

    const int x0 = PixelBound(std::floor(std::min({aX, bX, cX}) - 0.5f), resolution);
    const int x1 = PixelBound(std::floor(std::max({aX, bX, cX}) + 0.5f), resolution);
    const int z0 = PixelBound(std::floor(std::min({aZ, bZ, cZ}) - 0.5f), resolution);
    const int z1 = PixelBound(std::floor(std::max({aZ, bZ, cZ}) + 0.5f), resolution);

    for (int r = z0; r <= z1; r++) {
        const float pz = static_cast<float>(r) + 0.5f;
        uint32_t* row = pixels.data() + static_cast<size_t>(r) * static_cast<size_t>(resolution);
        for (int k = x0; k <= x1; k++) {
            const float px = static_cast<float>(k) + 0.5f;
            const float wa = ((bX - px) * (cZ - pz) - (cX - px) * (bZ - pz)) / area;
            const float wb = ((cX - px) * (aZ - pz) - (aX - px) * (cZ - pz)) / area;
            const float wc = (1.0f - wa) - wb;
            if (wa < -0.0001f || wb < -0.0001f || wc < -0.0001f) {
                continue;
            }

            // Higher ground is drawn lighter.
            const float y = (b.y * wb + a.y * wa) + c.y * wc;
            const float hn = (y + 6.0f) / 140.0f;
            float tint;
            if (hn <= 0.0f) {
                tint = 0.9f;
            } else if (hn >= 1.0f) {
                tint = 1.28f;
            } else {
                tint = hn * 0.38f + 0.9f;
            }

            int red = Tinted(Interpolate(ca.r, cb.r, cc.r, wa, wb, wc), tint);
            int green = Tinted(Interpolate(ca.g, cb.g, cc.g, wa, wb, wc), tint);
            int blue = Tinted(Interpolate(ca.b, cb.b, cc.b, wa, wb, wc), tint);
            int alpha = Interpolate(ca.a, cb.a, cc.a, wa, wb, wc);

            uint32_t& pixel = row[k];
            if (alpha != 255 && blend) {
                const float f = static_cast<float>(alpha) / 255.0f;
                red = Blended(Channel(pixel, 0), red, f);
                green = Blended(Channel(pixel, 8), green, f);
                blue = Blended(Channel(pixel, 16), blue, f);
                alpha = 255;
            }
            pixel = Pack(red, green, blue, alpha);
        }
    }
}

Image TopDownBaker::Finish()
{
    Image image{};
    if (resolution <= 0) {
        return image;
    }
    const size_t bytes = pixels.size() * sizeof(uint32_t);
    void* data = MemAlloc(static_cast<unsigned int>(bytes));
    if (data != nullptr) {
        std::memcpy(data, pixels.data(), bytes);
        image.data = data;
        image.width = resolution;
        image.height = resolution;
        image.mipmaps = 1;
        image.format = PIXELFORMAT_UNCOMPRESSED_R8G8B8A8;
    }
    pixels.clear();
    resolution = 0;
    return image;
}
