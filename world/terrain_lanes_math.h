// terrain_lanes_math.h: WorldGen::Sample written once for vectors whose lanes
// are different points, included by the SSE2 and the AVX2 kernel files with
// their own lane type V. Every step is the scalar definition's operation on
// each lane, in its order and with its operand order; choices are bit masks,
// so a lane whose condition is false keeps exactly its scalar value.
//
// Everything here has internal linkage on purpose: each kernel file compiles
// its own copy for its instruction set, and the linker must never swap an
// AVX2 copy into the SSE2 path.
#pragma once
#include <cstddef>
#include <cstdint>
#include "world/terrain_lanes_kernel.h"

namespace {

template <class V>
struct TerrainMath {
    using F = typename V::F;
    using I = typename V::I;

    static F Blend(F mask, F ifTrue, F ifFalse) { return V::Or(V::And(mask, ifTrue), V::AndNot(mask, ifFalse)); }

    static F Abs(F v) { return V::AndNot(V::Set(-0.0f), v); }

    // floor() as the C library gives it, -0 and |v| >= 2^23 and NaN included.
    static F Floor(F v) {
        const F signBit = V::Set(-0.0f);
        const F small = V::CmpLt(V::AndNot(signBit, v), V::Set(8388608.0f));
        const F truncated = V::ToFloat(V::Truncate(v));
        const F stepDown = V::And(V::CmpGt(truncated, v), V::Set(1.0f));
        const F floored = V::Or(V::Sub(truncated, stepDown), V::And(signBit, v));
        return Blend(small, floored, v);
    }

    // Low byte of the lattice coordinate; huge values and NaN give 0.
    static I LatticeByte(F cell) { return V::IAnd(V::Truncate(cell), V::ISet(255)); }

    static F Fade(F t) {
        const F poly = V::Add(V::Mul(V::Sub(V::Mul(V::Set(6.0f), t), V::Set(15.0f)), t), V::Set(10.0f));
        return V::Mul(poly, V::Mul(V::Mul(t, t), t));
    }

    // Gradient dot product by hash AND 7, higher bits ignored.
    static F Grad(I hash, F x, F y) {
        const I bit1 = V::IAnd(hash, V::ISet(2));
        const I bit0 = V::IAnd(hash, V::ISet(1));
        const F flipX = V::AsFloat(V::ShiftLeft(bit1, 30));
        const F flipY = V::AsFloat(V::ShiftLeft(bit0, 31));
        const F sum = V::Add(V::Xor(x, flipX), V::Xor(y, flipY));
        const F pickY = V::AsFloat(V::IEqual(bit1, V::ISet(2)));
        const F single = V::Xor(Blend(pickY, y, x), flipY);
        const I bit2 = V::IAnd(hash, V::ISet(4));
        const F useSingle = V::AsFloat(V::IEqual(bit2, V::ISet(4)));
        return Blend(useSingle, single, sum);
    }

    // The noise's exact, monotonic blend (see noise.cpp).
    static F Lerp(F a, F b, F t) {
        const F one = V::Set(1.0f);
        const F zero = V::Set(0.0f);
        const F straddle = V::Add(V::Mul(t, b), V::Mul(V::Sub(one, t), a));
        const F x = V::Add(a, V::Mul(t, V::Sub(b, a)));
        const F upper = V::Max(x, b);
        const F lower = V::Min(x, b);
        const F sidesDiffer = V::Xor(V::CmpGt(t, one), V::CmpGt(b, a));
        const F bounded = Blend(sidesDiffer, lower, upper);
        const F sameSide = Blend(V::CmpEq(t, one), b, bounded);
        const F opposite = V::Or(V::And(V::CmpLe(a, zero), V::CmpGe(b, zero)),
                                 V::And(V::CmpGe(a, zero), V::CmpLe(b, zero)));
        return Blend(opposite, straddle, sameSide);
    }

    // Gradient noise at n points per lane. The n evaluations are independent
    // and are interleaved step by step, so the table reads of one overlap
    // the arithmetic of the others.
    template <int n>
    static void Values(const uint8_t* perm, const F* x, const F* y, F* out) {
        F fx[n], fy[n], u[n], v[n];
        I aa[n], ba[n], ab[n], bb[n];
#pragma GCC unroll 4
        for (int k = 0; k < n; ++k) {
            const F cellX = Floor(x[k]);
            const F cellY = Floor(y[k]);
            V::Corners(perm, LatticeByte(cellX), LatticeByte(cellY), aa[k], ba[k], ab[k], bb[k]);
            fx[k] = V::Sub(x[k], cellX);
            fy[k] = V::Sub(y[k], cellY);
        }
        const F one = V::Set(1.0f);
#pragma GCC unroll 4
        for (int k = 0; k < n; ++k) {
            u[k] = Fade(fx[k]);
            v[k] = Fade(fy[k]);
            const F fx1 = V::Sub(fx[k], one);
            const F fy1 = V::Sub(fy[k], one);
            const F g00 = Grad(aa[k], fx[k], fy[k]);
            const F g10 = Grad(ba[k], fx1, fy[k]);
            const F g01 = Grad(ab[k], fx[k], fy1);
            const F g11 = Grad(bb[k], fx1, fy1);
            out[k] = Lerp(Lerp(g00, g10, u[k]), Lerp(g01, g11, u[k]), v[k]);
        }
    }

    // A fractal sum in progress (lacunarity 2, gain 0.5), so a longer sum can
    // continue a shorter one over the same points: the terms are the same
    // and are added in the same order.
    struct Sum {
        F sum;
        float freq;
        float amp;
        float norm;
    };

    static Sum StartSum() {
        return Sum{V::Set(0.0f), 1.0f, 1.0f, 0.0f};
    }

    // The next n octaves: all values first, then the terms in octave order.
    template <int n>
    static void AddOctaves(const uint8_t* perm, F x, F y, bool ridged, Sum& s) {
        F xs[n], ys[n], values[n];
        float freq = s.freq;
        for (int k = 0; k < n; ++k) {
            xs[k] = V::Mul(x, V::Set(freq));
            ys[k] = V::Mul(y, V::Set(freq));
            freq *= 2.0f;
        }
        Values<n>(perm, xs, ys, values);
        for (int k = 0; k < n; ++k) {
            F term;
            if (ridged) {
                const F r = V::Sub(V::Set(1.0f), Abs(values[k]));
                term = V::Mul(V::Mul(r, r), V::Set(s.amp));
            } else {
                term = V::Mul(values[k], V::Set(s.amp));
            }
            s.sum = V::Add(s.sum, term);
            s.norm += s.amp;
            s.freq *= 2.0f;
            s.amp *= 0.5f;
        }
    }

    static F Result(const Sum& s) {
        return s.norm > 0.0f ? V::Div(s.sum, V::Set(s.norm)) : V::Set(0.0f);
    }

    template <int octaves>
    static F Fbm(const uint8_t* perm, F x, F y) {
        Sum s = StartSum();
        AddOctaves<octaves>(perm, x, y, false, s);
        return Result(s);
    }

    template <int octaves>
    static F Ridged(const uint8_t* perm, F x, F y) {
        Sum s = StartSum();
        AddOctaves<octaves>(perm, x, y, true, s);
        return Result(s);
    }

    // v * factor + offset, the coordinates of every field.
    static F Scaled(F v, float factor, float offset) {
        return V::Add(V::Mul(v, V::Set(factor)), V::Set(offset));
    }

    // std::min(t, 1) is (1 < t ? 1 : t), MIN(1, t); std::max(t, 0) is
    // (t < 0 ? 0 : t), MAX(0, t): the same picks for NaN and zeros.
    static F Smooth(float e0, float e1, F v) {
        const float span = e1 - e0;
        F t = V::Div(V::Sub(v, V::Set(e0)), V::Set(span));
        t = V::Min(V::Set(1.0f), t);
        t = V::Max(V::Set(0.0f), t);
        return V::Mul(V::Mul(t, t), V::Sub(V::Set(3.0f), V::Mul(V::Set(2.0f), t)));
    }

    static F WaterPull(F mask) {
        const F c = V::Min(V::Set(1.0f), mask);
        return V::Mul(V::Mul(c, c), V::Sub(V::Set(3.0f), V::Mul(V::Set(2.0f), c)));
    }

    // One vector of points: heights always, the rest of the sample when
    // samples is set. Lane i is point x[i], z[i].
    static void Block(const TerrainTables& t, F x, F z, WorldSample* samples, float* heights) {
        const uint8_t* terrain = t.perm[TerrainTables::kTerrain];
        const uint8_t* detail = t.perm[TerrainTables::kDetail];
        const uint8_t* mountainPerm = t.perm[TerrainTables::kMountain];
        const F one = V::Set(1.0f);

        // Masks.
        const F m = Fbm<3>(mountainPerm, Scaled(x, 0.0011f, -137.0f), Scaled(z, 0.0011f, 271.0f));
        const F g = Fbm<3>(t.perm[TerrainTables::kGlacier], Scaled(x, 0.00055f, 913.0f), Scaled(z, 0.00055f, -411.0f));
        const F hl = Fbm<3>(terrain, Scaled(x, 0.001f, 431.0f), Scaled(z, 0.001f, 619.0f));
        const F mountain = Smooth(0.1f, 0.3f, m);
        const F glacier = V::Mul(Smooth(0.12f, 0.34f, g), V::Sub(one, mountain));
        const F hills = V::Mul(V::Mul(Smooth(0.02f, 0.22f, hl), V::Sub(one, mountain)), V::Sub(one, glacier));
        const F plain = V::Max(V::Set(0.0f), V::Sub(V::Sub(V::Sub(one, mountain), glacier), hills));
        const F land = V::Sub(one, V::Mul(V::Set(0.8f), mountain));
        const uint8_t* waterPerm = t.perm[TerrainTables::kWater];
        const F seaNoise = Fbm<3>(waterPerm, Scaled(x, 0.0005f, 1229.0f), Scaled(z, 0.0005f, -733.0f));
        const F sea = V::Mul(Smooth(0.14f, 0.30f, seaNoise), land);
        const F lakeNoise = Fbm<3>(waterPerm, Scaled(x, 0.002f, -317.0f), Scaled(z, 0.002f, 887.0f));
        const F lake = V::Mul(V::Mul(Smooth(0.10f, 0.28f, lakeNoise), land), V::Sub(one, sea));
        const F riverNoise = Fbm<3>(t.perm[TerrainTables::kRiver], Scaled(x, 0.0011f, 613.0f),
                                    Scaled(z, 0.0011f, -229.0f));
        const F river = V::Mul(V::Mul(V::Sub(one, Smooth(0.0f, 0.09f, Abs(riverNoise))), land),
                               V::Sub(one, V::Mul(V::Set(0.6f), sea)));
        // std::max(a, b) is (a < b ? b : a), MAX(b, a).
        const F water = V::Max(V::Max(sea, lake), river);

        // Heights. The detail sums of two and three octaves at the same
        // points share their first two terms.
        const F detailX = V::Mul(x, V::Set(0.03f));
        const F detailZ = V::Mul(z, V::Set(0.03f));
        Sum detailSum = StartSum();
        AddOctaves<2>(detail, detailX, detailZ, false, detailSum);
        const F detail2 = Result(detailSum);
        AddOctaves<1>(detail, detailX, detailZ, false, detailSum);
        const F detail3 = Result(detailSum);

        const F base = V::Add(
            V::Mul(V::Set(3.0f), Fbm<3>(terrain, Scaled(x, 0.0009f, 31.0f), Scaled(z, 0.0011f, -11.0f))), detail2);
        const F hillsFbm = Fbm<3>(terrain, Scaled(x, 0.0022f, 77.0f), Scaled(z, 0.0022f, -33.0f));
        const F hillsRidged = Ridged<2>(terrain, Scaled(x, 0.0034f, -19.0f), Scaled(z, 0.0034f, 41.0f));
        const F hillsHeight = V::Add(
            V::Add(V::Mul(V::Set(20.0f), hillsFbm), V::Mul(V::Sub(hillsRidged, V::Set(0.5f)), V::Set(8.0f))),
            V::Mul(V::Set(2.0f), detail3));
        const F glacierDetail = Fbm<2>(detail, V::Mul(x, V::Set(0.05f)), V::Mul(z, V::Set(0.05f)));
        const F glacierTerrain = Fbm<2>(terrain, Scaled(x, 0.0012f, -91.0f), Scaled(z, 0.0012f, 57.0f));
        const F glacierHeight = V::Add(V::Mul(V::Set(0.6f), glacierDetail), V::Mul(V::Set(1.4f), glacierTerrain));
        const F mountainFbm = Fbm<3>(terrain, V::Mul(x, V::Set(0.0025f)), V::Mul(z, V::Set(0.0025f)));
        const F mountainRidged = Ridged<4>(mountainPerm, Scaled(x, 0.0042f, 13.0f), Scaled(z, 0.0042f, -29.0f));
        const F mountainHeight = V::Add(V::Mul(V::Set(9.0f), mountainFbm),
                                        V::Add(V::Mul(V::Set(76.0f), mountainRidged), V::Set(12.0f)));

        F h = base;
        h = V::Add(V::Mul(V::Sub(hillsHeight, h), hills), h);
        h = V::Add(V::Mul(V::Sub(glacierHeight, h), glacier), h);
        h = V::Add(V::Mul(V::Sub(mountainHeight, h), mountain), h);

        // Each pull is computed everywhere and kept only where it applies.
        const F limit = V::Set(0.001f);
        const F wet = V::CmpGt(water, limit);
        const F toSea = V::Add(h, V::Mul(V::Mul(WaterPull(sea), V::Set(0.97f)), V::Sub(V::Set(-13.0f), h)));
        h = Blend(V::And(wet, V::CmpGt(sea, limit)), toSea, h);
        const F toLake = V::Add(h, V::Mul(V::Mul(WaterPull(lake), V::Set(0.95f)), V::Sub(V::Set(-8.5f), h)));
        h = Blend(V::And(wet, V::CmpGt(lake, limit)), toLake, h);
        // std::min(h, -6.3) is (-6.3 < h ? -6.3 : h), MIN(-6.3, h).
        const F bed = V::Min(V::Set(-6.3f), h);
        const F toRiver = V::Add(h, V::Mul(V::Mul(WaterPull(river), V::Set(0.95f)), V::Sub(bed, h)));
        h = Blend(V::And(wet, V::CmpGt(river, limit)), toRiver, h);

        alignas(32) float height[V::kWidth];
        V::Store(height, h);
        if (samples == nullptr) {
            for (int i = 0; i < V::kWidth; ++i) {
                heights[i] = height[i];
            }
            return;
        }

        // The first strictly largest weight wins, from glacier to mountain.
        F best = V::Set(-1.0f);
        F biome = V::AsFloat(V::ISet(static_cast<int>(Biome::SnowPlain)));
        const F weights[4] = {glacier, plain, hills, mountain};
        for (int b = 0; b < 4; ++b) {
            const F larger = V::CmpGt(weights[b], best);
            best = Blend(larger, weights[b], best);
            biome = Blend(larger, V::AsFloat(V::ISet(b)), biome);
        }
        const F snow = V::Sub(one, V::Mul(V::Set(0.15f), mountain));

        alignas(32) float fields[6][V::kWidth];
        alignas(32) int32_t biomes[V::kWidth];
        V::Store(fields[0], glacier);
        V::Store(fields[1], plain);
        V::Store(fields[2], hills);
        V::Store(fields[3], mountain);
        V::Store(fields[4], snow);
        V::Store(fields[5], water);
        V::StoreInt(biomes, V::AsInt(biome));
        for (int i = 0; i < V::kWidth; ++i) {
            WorldSample& s = samples[i];
            s.height = height[i];
            s.glacier = fields[0][i];
            s.plain = fields[1][i];
            s.hills = fields[2][i];
            s.mountain = fields[3][i];
            s.snow = fields[4][i];
            s.water = fields[5][i];
            s.biome = static_cast<Biome>(biomes[i]);
        }
    }

    static void Run(const TerrainTables& t, const float* x, const float* z, size_t count, WorldSample* samples,
                    float* heights) {
        for (size_t i = 0; i < count; i += V::kWidth) {
            Block(t, V::Load(x + i), V::Load(z + i), samples == nullptr ? nullptr : samples + i,
                  heights == nullptr ? nullptr : heights + i);
        }
    }
};

}  // namespace
