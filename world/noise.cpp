// noise.cpp: the seeded permutation table, 2-D gradient noise with its
// fractal sums, and the stateless cell hashes. Every step is bit-exact.
#include "world/noise.h"

#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>

namespace {

// Multiply-and-reject draw in 0..n-1 from the twister's raw 32-bit outputs.
uint32_t BoundedDraw(std::mt19937& twister, uint32_t n) {
    uint64_t m = static_cast<uint64_t>(twister()) * n;
    uint32_t low = static_cast<uint32_t>(m);
    if (low < n) {
        const uint32_t limit = (0u - n) % n;
        while (low < limit) {
            m = static_cast<uint64_t>(twister()) * n;
            low = static_cast<uint32_t>(m);
        }
    }
    return static_cast<uint32_t>(m >> 32);
}

// The noise is evaluated for four points at once in SSE2 lanes: a fractal
// sum's octaves share one pass, and a single value uses lane 0. Corner hashes
// and signs are random, so every choice below is a bit mask, never a jump;
// masks, sign flips and lane moves change no bit of the arithmetic.
inline __m128 Blend(__m128 mask, __m128 ifTrue, __m128 ifFalse) {
    return _mm_or_ps(_mm_and_ps(mask, ifTrue), _mm_andnot_ps(mask, ifFalse));
}

// floor(), exactly as the C library gives it: truncate, step down where the
// truncation rose above v, keep v's sign (floor(-0) is -0), and leave
// |v| >= 2^23 (already whole) and NaN unchanged.
inline __m128 Floor(__m128 v) {
    const __m128 signBit = _mm_set1_ps(-0.0f);
    const __m128 small = _mm_cmplt_ps(_mm_andnot_ps(signBit, v), _mm_set1_ps(8388608.0f));
    const __m128 truncated = _mm_cvtepi32_ps(_mm_cvttps_epi32(v));
    const __m128 stepDown = _mm_and_ps(_mm_cmpgt_ps(truncated, v), _mm_set1_ps(1.0f));
    const __m128 floored = _mm_or_ps(_mm_sub_ps(truncated, stepDown), _mm_and_ps(signBit, v));
    return Blend(small, floored, v);
}

// Low byte of a whole lattice coordinate, two's complement (-1 gives 255).
// Out of the 32-bit range (and for NaN) the conversion yields 0x80000000,
// whose low byte 0 is right too: every float beyond 2^31 is a multiple of 256.
inline __m128i LatticeByte(__m128 cell) {
    return _mm_and_si128(_mm_cvttps_epi32(cell), _mm_set1_epi32(255));
}

// fade(t) = ((6t - 15) * t + 10) * (t * t * t)
inline __m128 Fade(__m128 t) {
    const __m128 poly = _mm_add_ps(_mm_mul_ps(_mm_sub_ps(_mm_mul_ps(_mm_set1_ps(6.0f), t), _mm_set1_ps(15.0f)), t),
                                   _mm_set1_ps(10.0f));
    return _mm_mul_ps(poly, _mm_mul_ps(_mm_mul_ps(t, t), t));
}

// Dot product of a corner's gradient with its offset, by hash AND 7 (higher
// bits of the lane are ignored):
// 0: x + y; 1: x - y; 2: y - x; 3: (-x) - y; 4: x; 5: -x; 6: y; 7: -y.
// Cases 0-3 are x and y with bit 1 negating x and bit 0 negating y; cases 4-7
// take one axis (bit 1 picks y) with bit 0 negating it. Negation is a sign
// flip, and x - y is x + (-y) exactly, so this equals the table bit for bit.
inline __m128 Grad(__m128i hash, __m128 x, __m128 y) {
    const __m128i bit1 = _mm_and_si128(hash, _mm_set1_epi32(2));
    const __m128i bit0 = _mm_and_si128(hash, _mm_set1_epi32(1));
    const __m128 flipX = _mm_castsi128_ps(_mm_slli_epi32(bit1, 30));
    const __m128 flipY = _mm_castsi128_ps(_mm_slli_epi32(bit0, 31));
    const __m128 sum = _mm_add_ps(_mm_xor_ps(x, flipX), _mm_xor_ps(y, flipY));
    const __m128 pickY = _mm_castsi128_ps(_mm_cmpeq_epi32(bit1, _mm_set1_epi32(2)));
    const __m128 single = _mm_xor_ps(Blend(pickY, y, x), flipY);
    const __m128i bit2 = _mm_and_si128(hash, _mm_set1_epi32(4));
    const __m128 useSingle = _mm_castsi128_ps(_mm_cmpeq_epi32(bit2, _mm_set1_epi32(4)));
    return Blend(useSingle, single, sum);
}

// Blend that is exact at t = 0 and t = 1 and monotonic in t:
//   if (a <= 0 and b >= 0) or (a >= 0 and b <= 0): t*b + (1 - t)*a;
//   else if t == 1: b;
//   else x = a + t*(b - a), kept on b's side: when (t > 1) == (b > a) the
//   larger of x and b, otherwise the smaller.
// Ordered comparisons are false for NaN, as the scalar tests are; MAXPS(x, b)
// is exactly (b < x ? x : b) and MINPS(x, b) exactly (b > x ? x : b).
inline __m128 Lerp(__m128 a, __m128 b, __m128 t) {
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 zero = _mm_setzero_ps();
    const __m128 straddle = _mm_add_ps(_mm_mul_ps(t, b), _mm_mul_ps(_mm_sub_ps(one, t), a));
    const __m128 x = _mm_add_ps(a, _mm_mul_ps(t, _mm_sub_ps(b, a)));
    const __m128 upper = _mm_max_ps(x, b);
    const __m128 lower = _mm_min_ps(x, b);
    const __m128 sidesDiffer = _mm_xor_ps(_mm_cmpgt_ps(t, one), _mm_cmpgt_ps(b, a));
    const __m128 bounded = Blend(sidesDiffer, lower, upper);
    const __m128 sameSide = Blend(_mm_cmpeq_ps(t, one), b, bounded);
    const __m128 opposite = _mm_or_ps(_mm_and_ps(_mm_cmple_ps(a, zero), _mm_cmpge_ps(b, zero)),
                                      _mm_and_ps(_mm_cmpge_ps(a, zero), _mm_cmple_ps(b, zero)));
    return Blend(opposite, straddle, sameSide);
}

// The four corner hashes of cell (xi, yi) in one word, a byte each:
// corner 00, 10, 01, 11 from the low byte up. Every index stays below 512.
inline uint32_t CornerHashes(const uint8_t* perm, int xi, int yi) {
    const int a = perm[xi] + yi;
    const int b = perm[xi + 1] + yi;
    return static_cast<uint32_t>(perm[a]) | static_cast<uint32_t>(perm[b]) << 8 |
           static_cast<uint32_t>(perm[a + 1]) << 16 | static_cast<uint32_t>(perm[b + 1]) << 24;
}

// Four words into one vector straight from registers; a vector read of
// words stored a moment before would stall on the store.
inline __m128i PackLanes(uint32_t l0, uint32_t l1, uint32_t l2, uint32_t l3) {
    const __m128i low = _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(l0)),
                                           _mm_cvtsi32_si128(static_cast<int>(l1)));
    const __m128i high = _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(l2)),
                                            _mm_cvtsi32_si128(static_cast<int>(l3)));
    return _mm_unpacklo_epi64(low, high);
}

// Gradient noise at four points (x[i], y[i]).
__m128 Value4(const uint8_t* perm, __m128 x, __m128 y) {
    const __m128 cellX = Floor(x);
    const __m128 cellY = Floor(y);
    const __m128 fx = _mm_sub_ps(x, cellX);
    const __m128 fy = _mm_sub_ps(y, cellY);
    const __m128 u = Fade(fx);
    const __m128 v = Fade(fy);

    alignas(16) int32_t xi[4];
    alignas(16) int32_t yi[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(xi), LatticeByte(cellX));
    _mm_store_si128(reinterpret_cast<__m128i*>(yi), LatticeByte(cellY));
    const __m128i corners = PackLanes(CornerHashes(perm, xi[0], yi[0]), CornerHashes(perm, xi[1], yi[1]),
                                      CornerHashes(perm, xi[2], yi[2]), CornerHashes(perm, xi[3], yi[3]));

    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 fx1 = _mm_sub_ps(fx, one);
    const __m128 fy1 = _mm_sub_ps(fy, one);
    const __m128 g00 = Grad(corners, fx, fy);
    const __m128 g10 = Grad(_mm_srli_epi32(corners, 8), fx1, fy);
    const __m128 g01 = Grad(_mm_srli_epi32(corners, 16), fx, fy1);
    const __m128 g11 = Grad(_mm_srli_epi32(corners, 24), fx1, fy1);
    return Lerp(Lerp(g00, g10, u), Lerp(g01, g11, u), v);
}

// Normalised fractal sum: octave i samples at frequency lacunarity^i with
// weight gain^i, four octaves per pass; the terms are added in octave order
// so the sum rounds exactly as a plain loop would. Ridged terms are
// (1 - |value|)^2.
float FractalSum(const uint8_t* perm, float x, float y, int octaves, float lacunarity, float gain, bool ridged) {
    float freq = 1.0f;
    float amp = 1.0f;
    float sum = 0.0f;
    float norm = 0.0f;
    for (int first = 0; first < octaves; first += 4) {
        const int count = std::min(4, octaves - first);
        // Lanes past the last octave are computed and ignored.
        const float freq1 = freq * lacunarity;
        const float freq2 = freq1 * lacunarity;
        const float freq3 = freq2 * lacunarity;
        const __m128 laneFreq = _mm_setr_ps(freq, freq1, freq2, freq3);
        alignas(16) float values[4];
        _mm_store_ps(values, Value4(perm, _mm_mul_ps(_mm_set1_ps(x), laneFreq), _mm_mul_ps(_mm_set1_ps(y), laneFreq)));
        for (int i = 0; i < count; ++i) {
            if (ridged) {
                const float r = 1.0f - std::fabs(values[i]);
                sum += r * r * amp;
            } else {
                sum += values[i] * amp;
            }
            norm += amp;
            freq *= lacunarity;
            amp *= gain;
        }
    }
    return norm > 0.0f ? sum / norm : 0.0f;
}

}  // namespace

Noise::Noise(uint32_t seed) {
    uint8_t p[256];
    for (int i = 0; i < 256; ++i) {
        p[i] = static_cast<uint8_t>(i);
    }
    std::mt19937 twister(seed);

    // An even table size leaves one single swap before the paired draws.
    const uint32_t first = BoundedDraw(twister, 2);
    std::swap(p[1], p[first]);
    for (uint32_t i = 2; i < 256; i += 2) {
        const uint32_t b0 = i + 1;
        const uint32_t b1 = i + 2;
        const uint32_t x = BoundedDraw(twister, b0 * b1);
        std::swap(p[i], p[x / b1]);
        std::swap(p[i + 1], p[x % b1]);
    }

    for (int i = 0; i < 256; ++i) {
        perm[i] = p[i];
        perm[256 + i] = p[i];
    }
}

float Noise::Value(float x, float y) const {
    return _mm_cvtss_f32(Value4(perm, _mm_set1_ps(x), _mm_set1_ps(y)));
}

float Noise::Fbm(float x, float y, int octaves, float lacunarity, float gain) const {
    return FractalSum(perm, x, y, octaves, lacunarity, gain, false);
}

float Noise::Ridged(float x, float y, int octaves, float lacunarity, float gain) const {
    return FractalSum(perm, x, y, octaves, lacunarity, gain, true);
}

uint32_t NoiseHash(int x, int y, uint32_t seed) {
    uint32_t h = (static_cast<uint32_t>(y) * 0xd8163841u) ^ (seed * 0xcb1ab31fu) ^
                 (static_cast<uint32_t>(x) * 0x8da6b343u);
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

float NoiseHash01(int x, int y, uint32_t seed) {
    // The conversion rounds to nearest, so the 128 largest hashes give 1.0.
    return static_cast<float>(NoiseHash(x, y, seed)) * 0x1p-32f;
}
