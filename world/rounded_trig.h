// rounded_trig.h: the cosine and sine of every seeded formula of the world
// (sun and moon, caches, ruins, boulders, the start view). Evaluated in double
// and rounded once to the nearest float, which every C library gets right, so
// the Linux and Windows builds agree bit for bit where a float routine of one
// of them rounds the other way.
#pragma once
#include <cmath>

inline float CosF(float a) {
    return static_cast<float>(std::cos(static_cast<double>(a)));
}

inline float SinF(float a) {
    return static_cast<float>(std::sin(static_cast<double>(a)));
}
