// save_file.cpp: the save slot's byte layout, writer and checking reader.
#include "game/files/save_file.h"

#include <cmath>
#include <cstring>

namespace {

constexpr std::size_t kHeaderBytes = 64;  // magic .. slot count
constexpr std::size_t kSlotBytes = 5;
constexpr std::size_t kIdBytes = 8;
// Sizes of the groups each version from 2 to 9 adds after the removed ids
// (version 8's group without its keys).
constexpr std::size_t kGroupBytes[10] = {0, 0, 13, 16, 9, 8, 5, 1, 8, 5};

class ByteWriter {
public:
    explicit ByteWriter(std::vector<uint8_t>& out) : bytes(out) {}

    void U8(uint8_t v) { bytes.push_back(v); }
    void U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
    }
    void U64(uint64_t v) {
        for (int i = 0; i < 8; ++i) {
            bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void F32(float v) {
        uint32_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        U32(bits);
    }
    void Bool(bool v) { U8(v ? 1 : 0); }

private:
    std::vector<uint8_t>& bytes;
};

// Reads fields in order; once a read runs past the end every later read
// fails too, like a stream's fail bit.
class ByteReader {
public:
    explicit ByteReader(const std::vector<uint8_t>& in) : bytes(in) {}

    bool ok() const { return good; }
    std::size_t left() const { return good ? bytes.size() - at : 0; }

    uint8_t U8() {
        if (!Take(1)) {
            return 0;
        }
        return bytes[at - 1];
    }
    uint32_t U32() {
        if (!Take(4)) {
            return 0;
        }
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            v |= static_cast<uint32_t>(bytes[at - 4 + i]) << (8 * i);
        }
        return v;
    }
    uint64_t U64() {
        if (!Take(8)) {
            return 0;
        }
        uint64_t v = 0;
        for (int i = 0; i < 8; ++i) {
            v |= static_cast<uint64_t>(bytes[at - 8 + i]) << (8 * i);
        }
        return v;
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    float F32() {
        const uint32_t bits = U32();
        float v = 0.0f;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }

private:
    bool Take(std::size_t n) {
        if (!good || bytes.size() - at < n) {
            good = false;
            return false;
        }
        at += n;
        return true;
    }

    const std::vector<uint8_t>& bytes;
    std::size_t at = 0;
    bool good = true;
};

bool SaneMagnitude(float v) {
    return std::isfinite(v) && std::fabs(v) < cfg::kMaxSavedMagnitude;
}

// Reads `count` ids, refusing up front a count the remaining bytes cannot hold.
bool ReadIds(ByteReader& in, uint32_t count, std::vector<uint64_t>& ids) {
    if (static_cast<std::size_t>(count) * kIdBytes > in.left()) {
        return false;
    }
    ids.clear();
    ids.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        ids.push_back(in.U64());
    }
    return in.ok();
}

bool ReadSlots(ByteReader& in, SaveData& out) {
    for (InventorySlot& slot : out.slots) {
        const uint8_t type = in.U8();
        const uint32_t count = in.U32();
        if (!in.ok() || type > cfg::kMaxSavedItemType || count > cfg::kMaxSavedStack) {
            return false;
        }
        if ((type == 0) != (count == 0)) {
            return false;
        }
        slot.type = static_cast<ItemType>(type);
        slot.count = static_cast<int>(count);
    }
    return true;
}

// The groups after the removed ids, each only for the versions that have it.
bool ReadLaterGroups(ByteReader& in, SaveData& out) {
    const uint32_t v = out.version;
    if (v >= 2) {
        out.piloting = in.U8() != 0;
        out.airshipFuel = in.F32();
        out.coal = in.I32();
        out.throttle = in.F32();
    }
    if (v >= 3) {
        out.furnaceTemp = in.F32();
        out.cabinTemp = in.F32();
        out.speed = in.F32();
        out.warmth = in.F32();
    }
    if (v >= 4) {
        out.altitude = in.F32();
        out.weapon = in.U8();
        out.magazine = in.I32();
    }
    if (v >= 5) {
        out.homeFuel = in.F32();
        out.survivorsAlive = in.U32();
    }
    if (v >= 6) {
        out.broken = in.U8() != 0;
        out.parts = in.I32();
    }
    if (v >= 7) {
        out.partTaken = in.U8() != 0;
    }
    if (v >= 8) {
        out.towerFloor = in.I32();
        const uint32_t m = in.U32();
        if (!in.ok() || m > cfg::kMaxSavedTowerKeys || !ReadIds(in, m, out.towerKeys)) {
            return false;
        }
    }
    if (v >= 9) {
        out.foodShared = in.I32();
        out.rewardGiven = in.U8() != 0;
        if (in.ok() && static_cast<uint32_t>(out.foodShared) > cfg::kMaxSavedFoodShared) {
            return false;
        }
    }
    return in.ok();
}

bool ValuesAreSane(const SaveData& d) {
    return SaneMagnitude(d.eye.x) && SaneMagnitude(d.eye.y) && SaneMagnitude(d.eye.z) &&
           SaneMagnitude(d.airshipPos.x) && SaneMagnitude(d.airshipPos.y) && SaneMagnitude(d.worldTime) &&
           SaneMagnitude(d.zoom) && d.worldTime >= 0.0f;
}

}  // namespace

std::size_t SaveFileSize(uint32_t version, std::size_t removedCount, std::size_t keyCount) {
    std::size_t size = kHeaderBytes + cfg::kSaveSlotCount * kSlotBytes + 4 + kIdBytes * removedCount;
    for (uint32_t v = 2; v <= version && v <= kSaveVersion; ++v) {
        size += kGroupBytes[v];
    }
    if (version >= 8) {
        size += kIdBytes * keyCount;
    }
    return size;
}

std::size_t MaxSaveFileSize() {
    return SaveFileSize(kSaveVersion, cfg::kMaxSavedRemovedIds, cfg::kMaxSavedTowerKeys);
}

std::vector<uint8_t> EncodeSave(const SaveData& d, uint32_t version) {
    std::vector<uint8_t> bytes;
    bytes.reserve(SaveFileSize(version, d.removedIds.size(), d.towerKeys.size()));
    ByteWriter out(bytes);
    out.U32(kSaveMagic);
    out.U32(version);
    out.U32(d.seed);
    out.F32(d.eye.x);
    out.F32(d.eye.y);
    out.F32(d.eye.z);
    out.F32(d.yaw);
    out.F32(d.zoom);
    out.F32(d.worldTime);
    out.F32(d.food);
    out.F32(d.water);
    out.F32(d.health);
    out.F32(d.airshipPos.x);
    out.F32(d.airshipPos.y);
    out.F32(d.airshipHeading);
    out.U32(cfg::kSaveSlotCount);
    for (const InventorySlot& slot : d.slots) {
        out.U8(static_cast<uint8_t>(slot.type));
        out.I32(slot.count);
    }
    out.U32(static_cast<uint32_t>(d.removedIds.size()));
    for (uint64_t id : d.removedIds) {
        out.U64(id);
    }
    if (version >= 2) {
        out.Bool(d.piloting);
        out.F32(d.airshipFuel);
        out.I32(d.coal);
        out.F32(d.throttle);
    }
    if (version >= 3) {
        out.F32(d.furnaceTemp);
        out.F32(d.cabinTemp);
        out.F32(d.speed);
        out.F32(d.warmth);
    }
    if (version >= 4) {
        out.F32(d.altitude);
        out.U8(d.weapon);
        out.I32(d.magazine);
    }
    if (version >= 5) {
        out.F32(d.homeFuel);
        out.U32(d.survivorsAlive);
    }
    if (version >= 6) {
        out.Bool(d.broken);
        out.I32(d.parts);
    }
    if (version >= 7) {
        out.Bool(d.partTaken);
    }
    if (version >= 8) {
        out.I32(d.towerFloor);
        out.U32(static_cast<uint32_t>(d.towerKeys.size()));
        for (uint64_t key : d.towerKeys) {
            out.U64(key);
        }
    }
    if (version >= 9) {
        out.I32(d.foodShared);
        out.Bool(d.rewardGiven);
    }
    return bytes;
}

bool DecodeSave(const std::vector<uint8_t>& bytes, SaveData& out) {
    out = SaveData{};
    ByteReader in(bytes);
    const uint32_t magic = in.U32();
    out.version = in.U32();
    if (!in.ok() || magic != kSaveMagic || out.version < 1 || out.version > kSaveVersion) {
        return false;
    }
    out.seed = in.U32();
    out.eye.x = in.F32();
    out.eye.y = in.F32();
    out.eye.z = in.F32();
    out.yaw = in.F32();
    out.zoom = in.F32();
    out.worldTime = in.F32();
    out.food = in.F32();
    out.water = in.F32();
    out.health = in.F32();
    out.airshipPos.x = in.F32();
    out.airshipPos.y = in.F32();
    out.airshipHeading = in.F32();
    const uint32_t slotCount = in.U32();
    if (!in.ok() || slotCount != cfg::kSaveSlotCount || !ReadSlots(in, out)) {
        return false;
    }
    const uint32_t n = in.U32();
    if (!in.ok() || n > cfg::kMaxSavedRemovedIds || !ReadIds(in, n, out.removedIds)) {
        return false;
    }
    return ReadLaterGroups(in, out) && ValuesAreSane(out);
}

bool EncodeLoadableSave(const SaveData& data, std::vector<uint8_t>& bytes) {
    bytes = EncodeSave(data);
    SaveData readBack;
    return DecodeSave(bytes, readBack);
}
