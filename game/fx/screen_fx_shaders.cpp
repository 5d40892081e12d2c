// screen_fx_shaders.cpp: GLSL 330 fragment sources of the screen effects:
// contrast-adaptive smoothing, distance fog, cloud shadows with a vignette, and
// the frost rim. All run with raylib's default vertex shader. The cloud and
// frost sources are laid together from parts, so their noise is written once.
#include "game/fx/screen_fx.h"

#include <array>
#include <cstddef>
#include <initializer_list>

namespace {

// Blurs only where the neighbourhood's brightness changes sharply, so flat
// areas keep their detail and stair-stepped edges soften.
const char* const kFxaaSource = R"(#version 330
in vec2 fragTexCoord;
in vec4 fragColor;
uniform sampler2D texture0;
uniform vec4 colDiffuse;
uniform vec2 uTexel;
out vec4 finalColor;

float Luma(vec3 c) { return dot(c, vec3(0.299, 0.587, 0.114)); }

void main() {
    vec2 uv = fragTexCoord;
    vec2 t = uTexel;
    vec3 c = texture(texture0, uv).rgb;
    vec3 n = texture(texture0, uv + vec2(0.0, t.y)).rgb;
    vec3 s = texture(texture0, uv + vec2(0.0, -t.y)).rgb;
    vec3 e = texture(texture0, uv + vec2(t.x, 0.0)).rgb;
    vec3 w = texture(texture0, uv + vec2(-t.x, 0.0)).rgb;
    vec3 ne = texture(texture0, uv + vec2(t.x, t.y)).rgb;
    vec3 nw = texture(texture0, uv + vec2(-t.x, t.y)).rgb;
    vec3 se = texture(texture0, uv + vec2(t.x, -t.y)).rgb;
    vec3 sw = texture(texture0, uv + vec2(-t.x, -t.y)).rgb;
    float lc = Luma(c);
    float ln = Luma(n);
    float ls = Luma(s);
    float le = Luma(e);
    float lw = Luma(w);
    float lo = min(lc, min(min(ln, ls), min(le, lw)));
    float hi = max(lc, max(max(ln, ls), max(le, lw)));
    float contrast = hi - lo;
    vec3 blur = (n + s + e + w + ne + nw + se + sw) * 0.125;
    float k = smoothstep(0.03, 0.22, contrast);
    vec3 colour = mix(c, blur, 0.75 * k);
    finalColor = vec4(colour, 1.0) * colDiffuse * fragColor;
}
)";

// Fades the view to the fog colour with the distance from the screen centre.
const char* const kFogSource = R"(#version 330
in vec2 fragTexCoord;
in vec4 fragColor;
uniform vec4 uFogColor;
uniform vec2 uCenter;
uniform vec2 uScreen;
uniform float uFogStart;
uniform float uFogEnd;
uniform float uPixelsPerUnit;
out vec4 finalColor;

void main() {
    vec2 px = fragTexCoord * uScreen;
    float d = length(px - uCenter * uScreen) / uPixelsPerUnit;
    float fog = smoothstep(uFogStart, uFogEnd, d);
    finalColor = vec4(uFogColor.rgb, uFogColor.a * fog);
}
)";

// ---- Noise of the cloud and frost passes ----
// Each pass hashes the lattice its own way and steps from one octave to the
// next its own way; the value noise and the octave sum around those are one.

constexpr char kAerialHash[] = R"(
float Hash(vec2 p) {
    p = fract(p * vec2(269.5, 183.3));
    p += dot(p, p + 34.7);
    return fract(p.x * p.y);
}
)";

constexpr char kFrostHash[] = R"(
float Hash(vec2 p) {
    p = fract(p * vec2(0.1031, 0.1030));
    p += dot(p, p + 33.33);
    return fract((p.x + p.y) * p.x);
}
)";

// Needs a Hash(vec2) before it; ends inside the octave loop, where the step
// of the pass follows and kFbmEnd closes the sum.
constexpr char kValueNoise[] = R"(
float ValueNoise(vec2 p) {
    vec2 i = floor(p);
    vec2 f = fract(p);
    f = f * f * (3.0 - 2.0 * f);
    float a = Hash(i);
    float b = Hash(i + vec2(1.0, 0.0));
    float c = Hash(i + vec2(0.0, 1.0));
    float d = Hash(i + vec2(1.0, 1.0));
    return mix(mix(a, b, f.x), mix(c, d, f.x), f.y);
}

float Fbm(vec2 p) {
    float sum = 0.0;
    float a = 0.5;
    for (int octave = 0; octave < 4; ++octave) {
        sum += a * ValueNoise(p);
        a *= 0.5;
)";

constexpr char kAerialOctave[] = "        p *= 2.07;\n";
constexpr char kFrostOctave[] = "        p = 2.07 * p + 17.0;\n";

constexpr char kFbmEnd[] = R"(    }
    return sum;
}
)";

// The parts laid end to end, as one null-terminated text.
template <std::size_t... N>
constexpr auto Join(const char (&... parts)[N]) {
    std::array<char, (N + ...) - sizeof...(N) + 1> text{};
    std::size_t at = 0;
    for (const char* part : {static_cast<const char*>(parts)...}) {
        while (*part != '\0') text[at++] = *part++;
    }
    return text;
}

// Cloud shadows fixed to the world, drifting with time, and a slight darkening
// toward the frame edges.
constexpr char kAerialHead[] = R"(#version 330
in vec2 fragTexCoord;
in vec4 fragColor;
uniform float uTime;
uniform vec2 uCamera;
uniform vec2 uScreen;
uniform float uPixelsPerUnit;
out vec4 finalColor;
)";

constexpr char kAerialMain[] = R"(
void main() {
    vec2 w = uCamera + (fragTexCoord * uScreen - 0.5 * uScreen) / uPixelsPerUnit;
    vec2 flow = 0.0075 * w + vec2(0.004 * uTime, 0.0016 * uTime);
    float n = 0.65 * Fbm(flow) + 0.45 * Fbm(2.3 * flow + 7.0);
    float cloud = 0.15 * smoothstep(0.50, 0.80, n);
    float vignette = 0.30 * smoothstep(0.42, 0.95, 1.35 * length(fragTexCoord - 0.5));
    finalColor = vec4(0.05, 0.07, 0.10, clamp(cloud + vignette, 0.0, 0.42));
}
)";

constexpr auto kAerialSource = Join(kAerialHead, kAerialHash, kValueNoise, kAerialOctave, kFbmEnd, kAerialMain);

// Ice creeping in from the screen edges: a pale rim, slow veins and radial needles.
constexpr char kFrostHead[] = R"(#version 330
in vec2 fragTexCoord;
in vec4 fragColor;
uniform float uIntensity;
uniform float uTime;
out vec4 finalColor;
)";

constexpr char kFrostMain[] = R"(
void main() {
    vec2 uv = fragTexCoord;
    vec2 q = uv - 0.5;
    float r = length(q);
    float edge = smoothstep(0.22, 0.70, 1.30 * r);
    vec2 p = uv * vec2(9.0, 6.0) + vec2(0.010 * uTime, -0.008 * uTime);
    float n = Fbm(p);
    float veins = smoothstep(0.50, 0.72, n);
    // atan(0, 0) is undefined; the exact centre has no needles anyway.
    float angle = r > 0.0 ? atan(q.y, q.x) : 0.0;
    float needles = pow(abs(sin(7.0 * angle + 4.0 * n)), 18.0) * smoothstep(0.10, 0.58, edge);
    float crystal = max(veins * smoothstep(0.14, 0.60, edge), 0.75 * needles);
    float alpha = (0.30 * edge + 0.40 * crystal) * uIntensity;
    vec3 colour = mix(vec3(0.68, 0.83, 0.99), vec3(0.95, 0.99, 1.0), crystal);
    finalColor = vec4(colour, clamp(alpha, 0.0, 0.88));
}
)";

constexpr auto kFrostSource = Join(kFrostHead, kFrostHash, kValueNoise, kFrostOctave, kFbmEnd, kFrostMain);

}  // namespace

ScreenFxSources DefaultScreenFxSources() {
    return ScreenFxSources{kFxaaSource, kFogSource, kAerialSource.data(), kFrostSource.data()};
}
