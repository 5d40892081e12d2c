// chunk_test_support.h: what the chunk and settlement tests share: content
// digests, a trace-log capture, scoped environment variables and a search
// for a chunk that holds a settlement centre.
#pragma once
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "raylib.h"
#include "support/set_env.h"
#include "world/chunk_content.h"
#include "world/settlement_sites.h"

namespace chunktest {

inline double ZeroClock() {
    return 0.0;
}

// FNV-1a over raw bytes, so every bit of every float counts.
class Digest {
public:
    void Bytes(const void* data, size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) {
            hash_ ^= p[i];
            hash_ *= 0x100000001b3ull;
        }
    }
    template <typename T>
    void Value(const T& v) {
        Bytes(&v, sizeof(T));
    }
    void Vec(const Vector3& v) {
        Value(v.x);
        Value(v.y);
        Value(v.z);
    }
    uint64_t Result() const { return hash_; }

private:
    uint64_t hash_ = 0xcbf29ce484222325ull;
};

inline uint64_t ListsDigest(const chunkgen::ChunkContent& c) {
    Digest d;
    d.Value(c.trees.size());
    for (const WorldTree& t : c.trees) {
        d.Value(t.id);
        d.Vec(t.position);
        d.Value(t.scale);
        d.Value(t.conifer);
    }
    d.Value(c.items.size());
    for (const WorldItem& i : c.items) {
        d.Value(i.id);
        d.Vec(i.position);
        d.Value(i.type);
    }
    d.Value(c.cabinets.size());
    for (const WorldCabinet& k : c.cabinets) {
        d.Value(k.id);
        d.Vec(k.position);
    }
    d.Value(c.walls.size());
    for (const CollisionBox& w : c.walls) {
        d.Vec(w.min);
        d.Vec(w.max);
    }
    return d.Result();
}

inline uint64_t ImageDigest(const Image& image) {
    Digest d;
    d.Value(image.width);
    d.Value(image.height);
    d.Value(image.format);
    if (image.data != nullptr) d.Bytes(image.data, static_cast<size_t>(image.width) * image.height * 4);
    return d.Result();
}

// A generated chunk that frees its image.
struct Generated {
    chunkgen::ChunkContent content;
    Generated(const WorldGen& gen, const std::unordered_set<uint64_t>& removed, int cx, int cz)
        : content(chunkgen::GenerateChunkContent(gen, removed, cx, cz, ZeroClock)) {}
    ~Generated() { UnloadImage(content.image); }
    Generated(const Generated&) = delete;
    Generated& operator=(const Generated&) = delete;
};

// Collects the formatted lines of raylib's trace log while alive.
class LogCapture {
public:
    LogCapture() {
        lines_().clear();
        SetTraceLogCallback(&LogCapture::Callback);
    }
    ~LogCapture() { SetTraceLogCallback(nullptr); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    struct Line {
        int level;
        std::string text;
    };
    const std::vector<Line>& Lines() const { return lines_(); }
    std::vector<std::string> Starting(const char* prefix) const {
        std::vector<std::string> out;
        for (const Line& l : lines_()) {
            if (l.text.rfind(prefix, 0) == 0) out.push_back(l.text);
        }
        return out;
    }

private:
    static std::vector<Line>& lines_() {
        static std::vector<Line> lines;
        return lines;
    }
    static void Callback(int level, const char* format, va_list args) {
        char buffer[512];
        std::vsnprintf(buffer, sizeof(buffer), format, args);
        lines_().push_back(Line{level, buffer});
    }
};

// Sets an environment variable for one scope and removes it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) { testsupport::SetEnv(name, value); }
    ~ScopedEnv() { testsupport::SetEnv(name_.c_str(), nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
};

inline uint32_t InverseOdd(uint32_t a) {
    uint32_t x = a;
    for (int i = 0; i < 5; ++i) x *= 2u - a * x;
    return x;
}

inline uint32_t UndoXorShift(uint32_t y, int shift) {
    uint32_t x = y;
    for (int i = 0; i < 3; ++i) x = y ^ (x >> shift);
    return x;
}

// The seed for which NoiseHash(x, y, seed) is exactly the wanted value: the
// hash's final mix is invertible and the seed enters it linearly.
inline uint32_t SeedForHash(int x, int y, uint32_t wanted) {
    uint32_t h = UndoXorShift(wanted, 16);
    h *= InverseOdd(0x846ca68bu);
    h = UndoXorShift(h, 15);
    h *= InverseOdd(0x7feb352du);
    h = UndoXorShift(h, 16);
    const uint32_t seedTerm = h ^ (static_cast<uint32_t>(y) * 0xd8163841u) ^ (static_cast<uint32_t>(x) * 0x8da6b343u);
    return seedTerm * InverseOdd(0xcb1ab31fu);
}

// A hash value whose scaled form is exactly the float f (1.0 comes from the
// largest hashes).
inline uint32_t HashFor(float f) {
    const double h = static_cast<double>(f) * 4294967296.0;
    return h >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<uint32_t>(h);
}

// A settlement and the chunk holding its centre.
struct FoundSettlement {
    int sx, sz;
    SettlementSite site;
    int cx, cz;
};

// The first valid settlement of the given type (any type when -1) scanning
// cells outward from the origin, row by row.
inline bool FindSettlement(const WorldGen& gen, int type, FoundSettlement& out) {
    for (int ring = 0; ring < 30; ++ring) {
        for (int sz = -ring; sz <= ring; ++sz) {
            for (int sx = -ring; sx <= ring; ++sx) {
                if (std::abs(sx) != ring && std::abs(sz) != ring) continue;
                if (!IsSettlementCandidate(gen.seed, sx, sz)) continue;
                const SettlementSite site = SettlementAtCell(gen.seed, sx, sz, &gen);
                if (!site.valid || (type >= 0 && site.type != type)) continue;
                out = FoundSettlement{sx, sz, site, static_cast<int>(std::floor(site.center.x / 64.0f)),
                                      static_cast<int>(std::floor(site.center.z / 64.0f))};
                return true;
            }
        }
    }
    return false;
}

}  // namespace chunktest
