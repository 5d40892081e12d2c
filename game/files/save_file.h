// save_file.h: the one save slot's byte layout as pure functions on a byte
// buffer (little-endian, packed, versions 1 to 9 readable). The file is
// read and written through game/files/file_io.h.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "actors/airship.h"
#include "actors/building.h"
#include "actors/settlement.h"
#include "game/rules/items.h"
#include "game/rules/survival.h"
#include "game/rules/weapons.h"
#include "game/view/zoom_limits.h"
#include "raylib.h"

// "NRIK" read back as one little-endian uint32.
inline constexpr uint32_t kSaveMagic = 0x4B49524Eu;
inline constexpr uint32_t kSaveVersion = 9;
inline constexpr const char* kSaveFileName = "savegame.dat";

namespace cfg {
inline constexpr uint32_t kSaveSlotCount = 40;
inline constexpr uint32_t kMaxSavedRemovedIds = 100000;
inline constexpr uint32_t kMaxSavedTowerKeys = 10000;
inline constexpr uint32_t kMaxSavedFoodShared = 1000;
inline constexpr uint32_t kMaxSavedItemType = 9;
inline constexpr uint32_t kMaxSavedStack = 9;
// Positions, zoom and world time beyond this are a damaged file.
inline constexpr float kMaxSavedMagnitude = 10000000.0f;
}  // namespace cfg

// Everything a save holds, with the defaults that a file of an older version
// leaves in place for the fields it lacks: mostly their owners' start values.
struct SaveData {
    uint32_t version = kSaveVersion;
    uint32_t seed = 0;
    Vector3 eye{0.0f, 0.0f, 0.0f};  // the player's eye point
    float yaw = 0.0f;
    float zoom = kDefaultZoom;
    float worldTime = 0.0f;
    float food = cfg::kNeedMax;
    float water = cfg::kNeedMax;
    float health = cfg::kNeedMax;
    Vector2 airshipPos{0.0f, 0.0f};
    float airshipHeading = 0.0f;
    std::array<InventorySlot, Inventory::kSlotCount> slots{};
    std::vector<uint64_t> removedIds;  // in file order; duplicates allowed on read
    // Version 2.
    bool piloting = false;
    float airshipFuel = kAirshipStartFuel;
    int32_t coal = kAirshipStartCoal;
    float throttle = 0.0f;
    // Version 3.
    float furnaceTemp = kAirshipStartFurnaceTemp;
    float cabinTemp = kAirshipStartCabinTemp;
    float speed = 0.0f;
    float warmth = cfg::kNeedMax;
    // Version 4.
    float altitude = 0.0f;
    uint8_t weapon = static_cast<uint8_t>(WeaponKind::Pistol);  // raw byte; 3 or more loads as the pistol
    int32_t magazine = cfg::kMagazineSize;
    // Version 5.
    float homeFuel = 480.0f;  // the save's own: a new home starts broken and cold
    uint32_t survivorsAlive = kHomeSurvivors;
    // Version 6.
    bool broken = false;
    int32_t parts = kFurnacePartsNeeded;
    // Version 7.
    bool partTaken = true;
    // Version 8.
    int32_t towerFloor = kTowerDockFloor;
    std::vector<uint64_t> towerKeys;
    // Version 9.
    int32_t foodShared = 0;
    bool rewardGiven = false;
};

// Bytes of a file of this version with n removed ids and m tower keys.
std::size_t SaveFileSize(uint32_t version, std::size_t removedCount, std::size_t keyCount);
// No valid file needs more than this many bytes; later bytes are never read.
std::size_t MaxSaveFileSize();

// The file of the given version (1..9; the current one by default): the
// groups up to that version, with `version` ignored in favour of the argument.
std::vector<uint8_t> EncodeSave(const SaveData& data, uint32_t version = kSaveVersion);
// Parses and checks a whole file into `out`; false (with `out` unspecified)
// on a wrong magic or version, a short file, a bad slot, an oversized count
// or a position, zoom or clock that is not a sane finite number.
bool DecodeSave(const std::vector<uint8_t>& bytes, SaveData& out);
// The current version's file of `data` into `bytes`, but only when the reader
// would take it back; false otherwise, so a save that could never be loaded
// is never written over a good one.
bool EncodeLoadableSave(const SaveData& data, std::vector<uint8_t>& bytes);
