// clamps.h: the small clamps colour and layout code share. A value that is
// not a number is treated two ways on purpose: comparisons let it through,
// fmax/fmin turn it into 0.
#pragma once
#include <cmath>

// v held to 0..1 by comparisons: NaN stays NaN.
inline float Clamp01(float v) {
    if (v < 0.0f) v = 0.0f;
    if (v > 1.0f) v = 1.0f;
    return v;
}

// v held to 0..1 through fmax and fmin: NaN becomes 0.
inline float Clamp01NanToZero(float v) {
    return std::fmin(std::fmax(v, 0.0f), 1.0f);
}

// v as a colour byte, truncated: 0 and below (and NaN) give 0, 255 and above 255.
inline unsigned char ClampToByte(float v) {
    if (!(v > 0.0f)) return 0;
    if (v >= 255.0f) return 255;
    return static_cast<unsigned char>(v);
}
