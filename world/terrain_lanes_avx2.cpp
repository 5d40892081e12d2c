// terrain_lanes_avx2.cpp: the terrain kernel eight points at a time in AVX2.
// This file alone is compiled with -mavx2 (never with FMA) and is only
// called once the CPU and the system are known to run it; it uses nothing
// from the standard library, so no AVX2 copy of a shared inline function can
// reach the rest of the program.
#include <immintrin.h>

#include "world/terrain_lanes_math.h"

namespace {

struct Avx2Lanes {
    using F = __m256;
    using I = __m256i;
    static constexpr int kWidth = 8;

    static F Load(const float* p) { return _mm256_loadu_ps(p); }
    static void Store(float* p, F v) { _mm256_store_ps(p, v); }
    static void StoreInt(int32_t* p, I v) { _mm256_store_si256(reinterpret_cast<__m256i*>(p), v); }
    static F Set(float v) { return _mm256_set1_ps(v); }
    static I ISet(int v) { return _mm256_set1_epi32(v); }

    static F Add(F a, F b) { return _mm256_add_ps(a, b); }
    static F Sub(F a, F b) { return _mm256_sub_ps(a, b); }
    static F Mul(F a, F b) { return _mm256_mul_ps(a, b); }
    static F Div(F a, F b) { return _mm256_div_ps(a, b); }
    // Same picks as the SSE forms: (a < b ? a : b) and (a > b ? a : b).
    static F Min(F a, F b) { return _mm256_min_ps(a, b); }
    static F Max(F a, F b) { return _mm256_max_ps(a, b); }

    static F And(F a, F b) { return _mm256_and_ps(a, b); }
    static F Or(F a, F b) { return _mm256_or_ps(a, b); }
    static F Xor(F a, F b) { return _mm256_xor_ps(a, b); }
    static F AndNot(F mask, F v) { return _mm256_andnot_ps(mask, v); }

    // Ordered comparisons: false for NaN, like the SSE ones.
    static F CmpLt(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_LT_OQ); }
    static F CmpGt(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_GT_OQ); }
    static F CmpLe(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_LE_OQ); }
    static F CmpGe(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_GE_OQ); }
    static F CmpEq(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_EQ_OQ); }

    static I Truncate(F v) { return _mm256_cvttps_epi32(v); }
    static F ToFloat(I v) { return _mm256_cvtepi32_ps(v); }
    static F AsFloat(I v) { return _mm256_castsi256_ps(v); }
    static I AsInt(F v) { return _mm256_castps_si256(v); }
    static I IAnd(I a, I b) { return _mm256_and_si256(a, b); }
    static I IEqual(I a, I b) { return _mm256_cmpeq_epi32(a, b); }
    static I ShiftLeft(I v, int bits) { return _mm256_slli_epi32(v, bits); }

    // Four bytes from perm + index in every lane: the entry and the ones
    // after it. The tables' spare bytes keep these reads inside.
    static I Gather(const uint8_t* perm, I index) {
        return _mm256_i32gather_epi32(reinterpret_cast<const int*>(perm), index, 1);
    }

    // One gather gives perm[i] and perm[i + 1] together, so three cover the
    // six reads of a cell. Grad reads only a corner's low three bits.
    static void Corners(const uint8_t* perm, I xi, I yi, I& aa, I& ba, I& ab, I& bb) {
        const I byteMask = _mm256_set1_epi32(255);
        const I column = Gather(perm, xi);
        const I a = _mm256_add_epi32(_mm256_and_si256(column, byteMask), yi);
        const I b = _mm256_add_epi32(_mm256_and_si256(_mm256_srli_epi32(column, 8), byteMask), yi);
        aa = Gather(perm, a);
        ab = _mm256_srli_epi32(aa, 8);
        ba = Gather(perm, b);
        bb = _mm256_srli_epi32(ba, 8);
    }
};

}  // namespace

void SampleTerrainAvx2(const TerrainTables& tables, const float* x, const float* z, size_t count, WorldSample* samples,
                       float* heights) {
    TerrainMath<Avx2Lanes>::Run(tables, x, z, count, samples, heights);
    // Clear the upper halves before returning to SSE code: the compiler does
    // not always do it here, and dirty upper halves slowed the scalar code
    // after the kernel (the chunk's terrain quads) to half speed.
    _mm256_zeroupper();
}
