// terrain_lanes_sse2.cpp: the terrain kernel four points at a time in SSE2,
// which every x86-64 CPU has.
#include <emmintrin.h>

#include "world/terrain_lanes_math.h"

namespace {

struct Sse2Lanes {
    using F = __m128;
    using I = __m128i;
    static constexpr int kWidth = 4;

    static F Load(const float* p) { return _mm_loadu_ps(p); }
    static void Store(float* p, F v) { _mm_store_ps(p, v); }
    static void StoreInt(int32_t* p, I v) { _mm_store_si128(reinterpret_cast<__m128i*>(p), v); }
    static F Set(float v) { return _mm_set1_ps(v); }
    static I ISet(int v) { return _mm_set1_epi32(v); }

    static F Add(F a, F b) { return _mm_add_ps(a, b); }
    static F Sub(F a, F b) { return _mm_sub_ps(a, b); }
    static F Mul(F a, F b) { return _mm_mul_ps(a, b); }
    static F Div(F a, F b) { return _mm_div_ps(a, b); }
    // MIN(a, b) is (a < b ? a : b) and MAX(a, b) is (a > b ? a : b).
    static F Min(F a, F b) { return _mm_min_ps(a, b); }
    static F Max(F a, F b) { return _mm_max_ps(a, b); }

    static F And(F a, F b) { return _mm_and_ps(a, b); }
    static F Or(F a, F b) { return _mm_or_ps(a, b); }
    static F Xor(F a, F b) { return _mm_xor_ps(a, b); }
    static F AndNot(F mask, F v) { return _mm_andnot_ps(mask, v); }

    static F CmpLt(F a, F b) { return _mm_cmplt_ps(a, b); }
    static F CmpGt(F a, F b) { return _mm_cmpgt_ps(a, b); }
    static F CmpLe(F a, F b) { return _mm_cmple_ps(a, b); }
    static F CmpGe(F a, F b) { return _mm_cmpge_ps(a, b); }
    static F CmpEq(F a, F b) { return _mm_cmpeq_ps(a, b); }

    static I Truncate(F v) { return _mm_cvttps_epi32(v); }
    static F ToFloat(I v) { return _mm_cvtepi32_ps(v); }
    static F AsFloat(I v) { return _mm_castsi128_ps(v); }
    static I AsInt(F v) { return _mm_castps_si128(v); }
    static I IAnd(I a, I b) { return _mm_and_si128(a, b); }
    static I IEqual(I a, I b) { return _mm_cmpeq_epi32(a, b); }
    static I ShiftLeft(I v, int bits) { return _mm_slli_epi32(v, bits); }

    // The four corner hashes of every lane's cell, read from the table one
    // lane at a time (SSE2 has no gather), each byte in its own word.
    static void Corners(const uint8_t* perm, I xi, I yi, I& aa, I& ba, I& ab, I& bb) {
        alignas(16) int32_t xs[4];
        alignas(16) int32_t ys[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(xs), xi);
        _mm_store_si128(reinterpret_cast<__m128i*>(ys), yi);
        uint32_t words[4];
        for (int i = 0; i < 4; ++i) {
            const int a = perm[xs[i]] + ys[i];
            const int b = perm[xs[i] + 1] + ys[i];
            words[i] = static_cast<uint32_t>(perm[a]) | static_cast<uint32_t>(perm[b]) << 8 |
                       static_cast<uint32_t>(perm[a + 1]) << 16 | static_cast<uint32_t>(perm[b + 1]) << 24;
        }
        const I low = _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(words[0])),
                                         _mm_cvtsi32_si128(static_cast<int>(words[1])));
        const I high = _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(words[2])),
                                          _mm_cvtsi32_si128(static_cast<int>(words[3])));
        aa = _mm_unpacklo_epi64(low, high);
        ba = _mm_srli_epi32(aa, 8);
        ab = _mm_srli_epi32(aa, 16);
        bb = _mm_srli_epi32(aa, 24);
    }
};

}  // namespace

void SampleTerrainSse2(const TerrainTables& tables, const float* x, const float* z, size_t count, WorldSample* samples,
                       float* heights) {
    TerrainMath<Sse2Lanes>::Run(tables, x, z, count, samples, heights);
}
