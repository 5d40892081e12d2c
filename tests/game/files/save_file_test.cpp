// save_file_test.cpp: the save layout byte for byte, every readable version,
// the checks that refuse damaged files, and the replace-only-when-complete write.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#if !defined(_WIN32)
#include <sys/sysmacros.h>
#endif

#include "game/files/file_io.h"
#include "game/files/save_file.h"
#include "tests/game/files/file_size_limit.h"
#include "tests/game/files/held_file.h"
#include "tests/game/files/odd_files.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A save with a distinct value in every field and a few removed ids and keys.
SaveData Sample() {
    SaveData d;
    d.seed = 0x01020304u;
    d.eye = {123.5f, 40.25f, -987.75f};
    d.yaw = 1.25f;
    d.zoom = 6.5f;
    d.worldTime = 4321.5f;
    d.food = 55.0f;
    d.water = 66.0f;
    d.health = 77.0f;
    d.airshipPos = {-300.5f, 810.25f};
    d.airshipHeading = 2.5f;
    d.slots[0] = {ItemType::Groats, 3};
    d.slots[7] = {ItemType::Coal, 9};
    d.slots[39] = {ItemType::SparePart, 1};
    d.removedIds = {0x1122334455667788ull, 42ull, 7ull};
    d.piloting = true;
    d.airshipFuel = 88.5f;
    d.coal = 31;
    d.throttle = 0.75f;
    d.furnaceTemp = 101.0f;
    d.cabinTemp = 24.5f;
    d.speed = 12.0f;
    d.warmth = 61.0f;
    d.altitude = 17.5f;
    d.weapon = 2;
    d.magazine = 5;
    d.homeFuel = 612.0f;
    d.survivorsAlive = 6;
    d.broken = true;
    d.parts = 2;
    d.partTaken = false;
    d.towerFloor = 20;
    d.towerKeys = {99ull, 0xFFFFFFFF00000001ull};
    d.foodShared = 3;
    d.rewardGiven = true;
    return d;
}

uint32_t U32At(const std::vector<uint8_t>& b, std::size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

float F32At(const std::vector<uint8_t>& b, std::size_t at) {
    const uint32_t bits = U32At(b, at);
    float v = 0.0f;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void PutU32(std::vector<uint8_t>& b, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

void PutF32(std::vector<uint8_t>& b, std::size_t at, float v) {
    uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    PutU32(b, at, bits);
}

bool Decodes(const std::vector<uint8_t>& bytes) {
    SaveData out;
    return DecodeSave(bytes, out);
}

// Offset of the first byte after the removed ids (P).
std::size_t AfterIds(const SaveData& d) {
    return 268 + 8 * d.removedIds.size();
}

TEST(SaveLayout, FreshSaveIs333BytesAndEachIdAddsEight) {
    SaveData d;
    EXPECT_EQ(EncodeSave(d).size(), 333u);
    EXPECT_EQ(SaveFileSize(9, 0, 0), 333u);
    d.removedIds = {1, 2};
    d.towerKeys = {3};
    EXPECT_EQ(EncodeSave(d).size(), 333u + 24u);
    // The cut of each older version.
    const std::size_t ends[] = {0, 268, 281, 297, 306, 314, 319, 320, 328, 333};
    for (uint32_t v = 1; v <= 9; ++v) {
        EXPECT_EQ(SaveFileSize(v, 0, 0), ends[v]) << "version " << v;
        EXPECT_EQ(EncodeSave(SaveData{}, v).size(), ends[v]) << "version " << v;
    }
}

TEST(SaveLayout, FieldsSitAtTheirOffsetsLittleEndian) {
    const SaveData d = Sample();
    const std::vector<uint8_t> b = EncodeSave(d);
    ASSERT_EQ(b.size(), 333u + 8 * 3 + 8 * 2);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "NRIK");
    EXPECT_EQ(U32At(b, 0), kSaveMagic);
    EXPECT_EQ(U32At(b, 4), 9u);
    EXPECT_EQ(b[8], 0x04);
    EXPECT_EQ(b[11], 0x01);
    EXPECT_EQ(U32At(b, 8), d.seed);

    // Every float of the header at its own offset.
    const std::pair<std::size_t, float> header[] = {
        {12, d.eye.x},  {16, d.eye.y},        {20, d.eye.z},        {24, d.yaw},
        {28, d.zoom},   {32, d.worldTime},    {36, d.food},         {40, d.water},
        {44, d.health}, {48, d.airshipPos.x}, {52, d.airshipPos.y}, {56, d.airshipHeading},
    };
    for (const auto& [offset, value] : header) {
        EXPECT_EQ(F32At(b, offset), value) << "offset " << offset;
    }
    EXPECT_EQ(U32At(b, 60), 40u);
    // Slots: a type byte then an int32 count, five bytes each.
    for (int i : {0, 7, 39}) {
        EXPECT_EQ(b[64 + i * 5], static_cast<uint8_t>(d.slots[i].type)) << "slot " << i;
        EXPECT_EQ(U32At(b, 64 + i * 5 + 1), static_cast<uint32_t>(d.slots[i].count)) << "slot " << i;
    }
    EXPECT_EQ(b[64 + 1 * 5], 0);
    EXPECT_EQ(U32At(b, 264), 3u);
    EXPECT_EQ(b[268], 0x88);
    EXPECT_EQ(b[275], 0x11);
    EXPECT_EQ(U32At(b, 276), 42u);
    EXPECT_EQ(U32At(b, 284), 7u);

    const std::size_t p = AfterIds(d);
    EXPECT_EQ(b[p], 1);
    EXPECT_EQ(U32At(b, p + 5), 31u);
    EXPECT_EQ(b[p + 33], 2);
    EXPECT_EQ(U32At(b, p + 34), 5u);
    EXPECT_EQ(U32At(b, p + 42), 6u);
    EXPECT_EQ(b[p + 46], 1);
    EXPECT_EQ(U32At(b, p + 47), 2u);
    EXPECT_EQ(b[p + 51], 0);
    EXPECT_EQ(U32At(b, p + 52), 20u);
    EXPECT_EQ(U32At(b, p + 56), 2u);
    EXPECT_EQ(U32At(b, p + 60), 99u);
    EXPECT_EQ(U32At(b, p + 64), 0u);
    EXPECT_EQ(U32At(b, p + 68), 1u);
    EXPECT_EQ(U32At(b, p + 72), 0xFFFFFFFFu);
    const std::pair<std::size_t, float> later[] = {
        {p + 1, d.airshipFuel}, {p + 9, d.throttle}, {p + 13, d.furnaceTemp}, {p + 17, d.cabinTemp},
        {p + 21, d.speed},      {p + 25, d.warmth},  {p + 29, d.altitude},    {p + 38, d.homeFuel},
    };
    for (const auto& [offset, value] : later) {
        EXPECT_EQ(F32At(b, offset), value) << "offset P+" << offset - p;
    }
    const std::size_t q = p + 60 + 16;
    EXPECT_EQ(U32At(b, q), 3u);
    EXPECT_EQ(b[q + 4], 1);
}

TEST(SaveLayout, RoundTripKeepsEveryField) {
    const SaveData d = Sample();
    SaveData r;
    ASSERT_TRUE(DecodeSave(EncodeSave(d), r));
    EXPECT_EQ(r.version, 9u);
    EXPECT_EQ(r.seed, d.seed);
    EXPECT_EQ(r.eye.x, d.eye.x);
    EXPECT_EQ(r.eye.y, d.eye.y);
    EXPECT_EQ(r.eye.z, d.eye.z);
    EXPECT_EQ(r.yaw, d.yaw);
    EXPECT_EQ(r.zoom, d.zoom);
    EXPECT_EQ(r.worldTime, d.worldTime);
    EXPECT_EQ(r.food, d.food);
    EXPECT_EQ(r.water, d.water);
    EXPECT_EQ(r.health, d.health);
    EXPECT_EQ(r.airshipPos.x, d.airshipPos.x);
    EXPECT_EQ(r.airshipPos.y, d.airshipPos.y);
    EXPECT_EQ(r.airshipHeading, d.airshipHeading);
    for (int i = 0; i < Inventory::kSlotCount; ++i) {
        EXPECT_EQ(r.slots[i].type, d.slots[i].type) << i;
        EXPECT_EQ(r.slots[i].count, d.slots[i].count) << i;
    }
    EXPECT_EQ(r.removedIds, d.removedIds);
    EXPECT_EQ(r.piloting, d.piloting);
    EXPECT_EQ(r.airshipFuel, d.airshipFuel);
    EXPECT_EQ(r.coal, d.coal);
    EXPECT_EQ(r.throttle, d.throttle);
    EXPECT_EQ(r.furnaceTemp, d.furnaceTemp);
    EXPECT_EQ(r.cabinTemp, d.cabinTemp);
    EXPECT_EQ(r.speed, d.speed);
    EXPECT_EQ(r.warmth, d.warmth);
    EXPECT_EQ(r.altitude, d.altitude);
    EXPECT_EQ(r.weapon, d.weapon);
    EXPECT_EQ(r.magazine, d.magazine);
    EXPECT_EQ(r.homeFuel, d.homeFuel);
    EXPECT_EQ(r.survivorsAlive, d.survivorsAlive);
    EXPECT_EQ(r.broken, d.broken);
    EXPECT_EQ(r.parts, d.parts);
    EXPECT_EQ(r.partTaken, d.partTaken);
    EXPECT_EQ(r.towerFloor, d.towerFloor);
    EXPECT_EQ(r.towerKeys, d.towerKeys);
    EXPECT_EQ(r.foodShared, d.foodShared);
    EXPECT_EQ(r.rewardGiven, d.rewardGiven);
}

TEST(SaveVersions, EachVersionReadsItsGroupsAndDefaultsTheRest) {
    const SaveData d = Sample();
    const SaveData defaults;
    for (uint32_t v = 1; v <= 9; ++v) {
        SCOPED_TRACE("version " + std::to_string(v));
        SaveData r;
        ASSERT_TRUE(DecodeSave(EncodeSave(d, v), r));
        EXPECT_EQ(r.version, v);
        EXPECT_EQ(r.seed, d.seed);
        EXPECT_EQ(r.removedIds, d.removedIds);
        EXPECT_EQ(r.piloting, v >= 2 ? d.piloting : defaults.piloting);
        EXPECT_EQ(r.coal, v >= 2 ? d.coal : 20);
        EXPECT_EQ(r.airshipFuel, v >= 2 ? d.airshipFuel : 30.0f);
        EXPECT_EQ(r.cabinTemp, v >= 3 ? d.cabinTemp : 18.0f);
        EXPECT_EQ(r.warmth, v >= 3 ? d.warmth : 100.0f);
        EXPECT_EQ(r.weapon, v >= 4 ? d.weapon : 1);
        EXPECT_EQ(r.magazine, v >= 4 ? d.magazine : 8);
        EXPECT_EQ(r.homeFuel, v >= 5 ? d.homeFuel : 480.0f);
        EXPECT_EQ(r.survivorsAlive, v >= 5 ? d.survivorsAlive : 8u);
        EXPECT_EQ(r.broken, v >= 6 ? d.broken : false);
        EXPECT_EQ(r.parts, v >= 6 ? d.parts : 3);
        EXPECT_EQ(r.partTaken, v >= 7 ? d.partTaken : true);
        EXPECT_EQ(r.towerFloor, v >= 8 ? d.towerFloor : 12);
        EXPECT_EQ(r.towerKeys.size(), v >= 8 ? d.towerKeys.size() : 0u);
        EXPECT_EQ(r.foodShared, v >= 9 ? d.foodShared : 0);
        EXPECT_EQ(r.rewardGiven, v >= 9 ? d.rewardGiven : false);
    }
}

TEST(SaveVersions, MagicAndVersionOutsideOneToNineAreRefused) {
    std::vector<uint8_t> b = EncodeSave(SaveData{});
    PutU32(b, 4, 0);
    EXPECT_FALSE(Decodes(b));
    PutU32(b, 4, 10);
    EXPECT_FALSE(Decodes(b));
    PutU32(b, 4, 9);
    EXPECT_TRUE(Decodes(b));
    b[0] = 'K';
    EXPECT_FALSE(Decodes(b));
    EXPECT_FALSE(Decodes({}));
}

TEST(SaveDamage, EveryTruncationFailsAndTrailingBytesAreIgnored) {
    const SaveData d = Sample();
    for (uint32_t v = 1; v <= 9; ++v) {
        const std::vector<uint8_t> full = EncodeSave(d, v);
        for (std::size_t cut = 0; cut < full.size(); ++cut) {
            const std::vector<uint8_t> part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
            ASSERT_FALSE(Decodes(part)) << "version " << v << " cut at " << cut;
        }
        std::vector<uint8_t> longer = full;
        longer.insert(longer.end(), {0xde, 0xad, 0xbe, 0xef, 0x00});
        SaveData r;
        ASSERT_TRUE(DecodeSave(longer, r)) << "version " << v;
        EXPECT_EQ(r.seed, d.seed);
    }
}

TEST(SaveDamage, BadSlotsFailTheWholeLoad) {
    const std::vector<uint8_t> good = EncodeSave(SaveData{});
    const std::size_t slot = 64 + 12 * 5;
    struct Case {
        uint8_t type;
        uint32_t count;
        bool ok;
    };
    const Case cases[] = {
        {0, 3, false}, {4, 0, false}, {4, 10, false}, {4, 0xFFFFFFFFu, false}, {10, 1, false}, {255, 1, false},
        {9, 9, true},  {0, 0, true},  {1, 1, true},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> b = good;
        b[slot] = c.type;
        PutU32(b, slot + 1, c.count);
        EXPECT_EQ(Decodes(b), c.ok) << "type " << int(c.type) << " count " << c.count;
    }
    std::vector<uint8_t> b = good;
    PutU32(b, 60, 39);
    EXPECT_FALSE(Decodes(b));
}

TEST(SaveDamage, CountsAreBoundedBeforeAnythingIsAllocated) {
    SaveData d;
    d.removedIds.resize(cfg::kMaxSavedRemovedIds);
    for (std::size_t i = 0; i < d.removedIds.size(); ++i) {
        d.removedIds[i] = i;
    }
    d.towerKeys.resize(cfg::kMaxSavedTowerKeys, 5);
    std::vector<uint8_t> b = EncodeSave(d);
    EXPECT_EQ(b.size(), MaxSaveFileSize());
    SaveData r;
    ASSERT_TRUE(DecodeSave(b, r));
    EXPECT_EQ(r.removedIds.size(), 100000u);
    EXPECT_EQ(r.towerKeys.size(), 10000u);

    // One more id or key is refused even with the bytes present.
    d.removedIds.push_back(1);
    EXPECT_FALSE(Decodes(EncodeSave(d)));
    d.removedIds.pop_back();
    d.towerKeys.push_back(1);
    EXPECT_FALSE(Decodes(EncodeSave(d)));

    // A count that claims billions of ids in a small file.
    std::vector<uint8_t> small = EncodeSave(SaveData{});
    PutU32(small, 264, 0xFFFFFFFFu);
    EXPECT_FALSE(Decodes(small));
    small = EncodeSave(SaveData{});
    PutU32(small, 268 + 56, 0xFFFFFFF0u);
    EXPECT_FALSE(Decodes(small));
}

TEST(SaveDamage, FoodSharedMustLieInZeroToThousand) {
    SaveData d;
    d.foodShared = 1000;
    EXPECT_TRUE(Decodes(EncodeSave(d)));
    d.foodShared = 1001;
    EXPECT_FALSE(Decodes(EncodeSave(d)));
    d.foodShared = -1;
    EXPECT_FALSE(Decodes(EncodeSave(d)));
}

TEST(SaveDamage, PositionsClockAndZoomMustBeSaneNumbers) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        std::size_t offset;
        float value;
        bool ok;
    };
    const Case cases[] = {
        {32, -0.5f, false}, {32, 0.0f, true},       {28, nan, false}, {28, 50.0f, true},  {12, 1e7f, false},
        {12, -1e7f, false}, {12, 9999999.0f, true}, {16, inf, false}, {20, -inf, false},  {48, nan, false},
        {52, 2e7f, false},  {32, 1e7f, false},      {24, nan, true},  {36, 250.0f, true}, {56, inf, true},
    };
    const std::vector<uint8_t> good = EncodeSave(SaveData{});
    for (const Case& c : cases) {
        std::vector<uint8_t> b = good;
        PutF32(b, c.offset, c.value);
        EXPECT_EQ(Decodes(b), c.ok) << "offset " << c.offset << " value " << c.value;
    }
}

// The writer's own check is the reader's: every state the reader would refuse
// is refused before anything is written, and every other state is written.
TEST(SaveDamage, TheWriterRefusesExactlyWhatTheReaderRefuses) {
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* what;
        void (*spoil)(SaveData&);
        bool loadable;
    };
    const Case cases[] = {
        {"as it is", [](SaveData&) {}, true},
        {"far flight", [](SaveData& d) { d.eye.z = -20000000.0f; }, false},
        {"at the limit", [](SaveData& d) { d.eye.x = 1e7f; }, false},
        {"just inside", [](SaveData& d) { d.airshipPos.x = 9999999.0f; }, true},
        {"eye not a number", [](SaveData& d) { d.eye.y = nan; }, false},
        {"ship at infinity", [](SaveData& d) { d.airshipPos.y = inf; }, false},
        {"zoom not a number", [](SaveData& d) { d.zoom = nan; }, false},
        {"clock backwards", [](SaveData& d) { d.worldTime = -0.5f; }, false},
        {"yaw not a number", [](SaveData& d) { d.yaw = nan; }, true},
        {"100000 removed", [](SaveData& d) { d.removedIds.assign(100000, 5); }, true},
        {"100001 removed", [](SaveData& d) { d.removedIds.assign(100001, 5); }, false},
        {"10001 tower keys", [](SaveData& d) { d.towerKeys.assign(10001, 5); }, false},
        {"food shared 1001", [](SaveData& d) { d.foodShared = 1001; }, false},
        {"stack of ten",
         [](SaveData& d) {
             d.slots[3] = {ItemType::Coal, 10};
         },
         false},
    };
    for (const Case& c : cases) {
        SaveData d = Sample();
        c.spoil(d);
        std::vector<uint8_t> bytes;
        EXPECT_EQ(EncodeLoadableSave(d, bytes), c.loadable) << c.what;
        EXPECT_EQ(Decodes(EncodeSave(d)), c.loadable) << c.what;
        if (c.loadable) {
            EXPECT_EQ(bytes, EncodeSave(d)) << c.what;
        }
    }
}

// A scratch folder for the file tests, removed afterwards.
class SaveFileWrite : public ::testing::Test {
protected:
    SaveFileWrite() {
        // A random name, so that runs of several builds at once never share it.
        std::random_device random;
        dir = fs::temp_directory_path() / ("palewick-save-" + std::to_string(random()) + std::to_string(random()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "savegame.dat").string();
    }
    ~SaveFileWrite() override {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    // Moves the scratch folder into memory where the system has such a
    // folder: syncs cost nothing there, so a race between writers has the
    // whole of each write to strike in rather than a sliver beside the sync.
    void UseMemoryFolder() {
        std::error_code error;
        if (fs::is_directory("/dev/shm", error)) {
            fs::remove_all(dir, error);
            dir = fs::path("/dev/shm") / dir.filename();
            fs::create_directories(dir, error);
            path = (dir / "savegame.dat").string();
        }
    }
    std::vector<uint8_t> Contents() const {
        std::ifstream file(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    fs::path dir;
    std::string path;
};

TEST_F(SaveFileWrite, WritesAndReplacesWholeFilesLeavingNoTemporary) {
    const std::vector<uint8_t> first = EncodeSave(Sample());
    ASSERT_TRUE(WriteFileReplacing(path, first));
    EXPECT_EQ(Contents(), first);
    const std::vector<uint8_t> second = EncodeSave(SaveData{});
    ASSERT_TRUE(WriteFileReplacing(path, second));
    EXPECT_EQ(Contents(), second);
    EXPECT_EQ(testfiles::TemporariesOf(path), std::vector<std::string>{});

    std::vector<uint8_t> read;
    ASSERT_TRUE(ReadFilePrefix(path, 1000, read));
    EXPECT_EQ(read, second);
    ASSERT_TRUE(ReadFilePrefix(path, 10, read));
    EXPECT_EQ(read, std::vector<uint8_t>(second.begin(), second.begin() + 10));
    EXPECT_FALSE(ReadFilePrefix((dir / "missing.dat").string(), 1000, read));
}

// Only a regular file is read as a save: a pipe, a folder, a device or a
// file whose read would wait at its name fails the load at once and is never
// waited on, and a regular file is read no further than the largest save the
// format allows.
TEST_F(SaveFileWrite, OnlyRegularFilesAreReadAndNoFurtherThanTheLargestSave) {
    std::vector<uint8_t> bytes;
    for (const testfiles::OddFile& odd : testfiles::OddFiles()) {
        fs::remove_all(path);
        const std::string name = odd.make(path);
        ASSERT_FALSE(name.empty()) << odd.what;
        const auto refused = [&] { return !ReadFilePrefix(name, MaxSaveFileSize(), bytes); };
        EXPECT_EQ(testfiles::CheckWithoutWaiting(refused, odd.asOtherUser), testfiles::Outcome::Held) << odd.what;
    }

    fs::remove_all(path);
    const std::vector<uint8_t> saved = EncodeSave(Sample());
    std::vector<uint8_t> huge = saved;
    huge.resize(MaxSaveFileSize() + (std::size_t{1} << 20), 0xAB);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(huge.data()), static_cast<std::streamsize>(huge.size()));
    ASSERT_TRUE(ReadFilePrefix(path, MaxSaveFileSize(), bytes));
    EXPECT_EQ(bytes.size(), MaxSaveFileSize());
    SaveData loaded;
    ASSERT_TRUE(DecodeSave(bytes, loaded));
    EXPECT_EQ(EncodeSave(loaded), saved);
}

TEST_F(SaveFileWrite, FailedWriteKeepsThePreviousSave) {
    const std::vector<uint8_t> old = EncodeSave(Sample());
    ASSERT_TRUE(WriteFileReplacing(path, old));
    {
        // The temporary cannot be created (no file can be opened), or on
        // Windows it cannot be moved over a save another program holds open.
        testfiles::WriteBlocked blocked(path);
        EXPECT_FALSE(WriteFileReplacing(path, EncodeSave(SaveData{})));
    }
    EXPECT_EQ(Contents(), old);
    EXPECT_EQ(testfiles::TemporariesOf(path), std::vector<std::string>{});
    // A folder that does not exist.
    EXPECT_FALSE(WriteFileReplacing((dir / "no" / "savegame.dat").string(), old));
}

// Whatever stale file (read-only too), link, FIFO or device holds the name
// of a dead writer's temporary, of this scheme or the fixed one of earlier
// versions, is cleared, and the new save goes into a fresh file of its own,
// never through a link. A link or a FIFO at the name itself is replaced as
// it stands: its target stays as it was, and nothing waits for a reader. A
// device there is refused and stays as it is.
TEST_F(SaveFileWrite, StaleTemporaryIsClearedAndNeverWrittenThrough) {
    enum class Stale { File, ReadOnlyFile, LinkToFile, DanglingLink, Fifo, Device };
    enum class At { FixedTemporary, DeadWritersTemporary, Name };
    struct Case {
        Stale kind;
        At at;
    };
    std::vector<Case> cases;
    for (At at : {At::FixedTemporary, At::DeadWritersTemporary}) {
        cases.push_back({Stale::File, at});
        cases.push_back({Stale::ReadOnlyFile, at});
    }
#if !defined(_WIN32)
    for (At at : {At::FixedTemporary, At::DeadWritersTemporary, At::Name}) {
        for (Stale kind : {Stale::LinkToFile, Stale::DanglingLink, Stale::Fifo, Stale::Device}) {
            cases.push_back({kind, at});
        }
    }
#endif
    const fs::path victim = dir / "victim.dat";
    const std::vector<uint8_t> saved = EncodeSave(Sample());
    bool devicesMade = true;
    for (const Case& c : cases) {
        const std::string what = std::to_string(static_cast<int>(c.kind)) + " at " +
                                 std::to_string(static_cast<int>(c.at));
        const std::string at = c.at == At::Name             ? path
                               : c.at == At::FixedTemporary ? path + ".tmp"
                                                            : path + ".99999-7.tmp";
        fs::remove(path);
        fs::remove(at);
        fs::remove(victim);
        std::ofstream(victim, std::ios::binary) << "not a save";
        if (c.kind == Stale::File || c.kind == Stale::ReadOnlyFile) {
            std::ofstream(at, std::ios::binary) << "left over from a crash, longer than it should be";
            if (c.kind == Stale::ReadOnlyFile) {
                fs::permissions(at, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
            }
        } else if (c.kind == Stale::LinkToFile || c.kind == Stale::DanglingLink) {
            fs::create_symlink(c.kind == Stale::LinkToFile ? victim : dir / "nowhere.dat", at);
        }
#if !defined(_WIN32)
        if (c.kind == Stale::Fifo) {
            ASSERT_EQ(mkfifo(at.c_str(), 0600), 0) << what;
        }
        // The numbers of /dev/null, which a replacing write would take away.
        const dev_t null = makedev(1, 3);
        if (c.kind == Stale::Device && mknod(at.c_str(), S_IFCHR | 0600, null) != 0) {
            devicesMade = false;
            continue;
        }
#endif
        const bool refused = c.kind == Stale::Device && c.at == At::Name;
        EXPECT_EQ(testfiles::CheckWithoutWaiting([&] { return WriteFileReplacing(path, saved) != refused; }),
                  testfiles::Outcome::Held)
            << what;
        EXPECT_EQ(testfiles::TemporariesOf(path), std::vector<std::string>{}) << what;
        std::ifstream file(victim, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()), "not a save")
            << what;
        EXPECT_FALSE(fs::exists(dir / "nowhere.dat")) << what;
#if !defined(_WIN32)
        if (refused) {
            struct stat node {};
            ASSERT_EQ(lstat(path.c_str(), &node), 0) << what;
            EXPECT_TRUE(S_ISCHR(node.st_mode) && node.st_rdev == null) << what;
            continue;
        }
#endif
        // A FIFO still at the name would hold the reads below as well.
        ASSERT_EQ(fs::symlink_status(path).type(), fs::file_type::regular) << what;
        EXPECT_EQ(Contents(), saved) << what;
    }
    if (!devicesMade) {
        GTEST_SKIP() << "mknod is not permitted here: the rows with a device node were not run";
    }
}

#if defined(_WIN32)
// A file another process holds for a moment without leave to delete it
// refuses a save's rename, and one held exclusively refuses a load's open
// too: both wait it out and succeed with the whole file. A writer's own hold
// on the file it has just put in place refuses no load. A hold that outlasts
// the wait fails the save cleanly, about a second later.
TEST_F(SaveFileWrite, AMomentsHoldIsWaitedOutAndALongerOneFailsTheSaveCleanly) {
    enum class Op { Save, Load };
    struct Case {
        Op op;
        testfiles::Hold hold;
        DWORD holdMs;  // INFINITE: until the operation has returned
        bool done;
    };
    const Case cases[] = {
        {Op::Save, testfiles::kScannerHold, 100, true},        // refused rename, waited out
        {Op::Load, testfiles::kScannerHold, 100, true},        // refused open, waited out
        {Op::Save, testfiles::kWriterHold, 100, true},         // two copies of the game saving
        {Op::Load, testfiles::kWriterHold, INFINITE, true},    // never refused: the reader shares deleting
        {Op::Save, testfiles::kScannerHold, INFINITE, false},  // the wait ends, the old save stays
    };
    const std::vector<uint8_t> old = EncodeSave(Sample());
    const std::vector<uint8_t> fresh = EncodeSave(SaveData{});
    for (const Case& c : cases) {
        const std::string what = std::string(c.op == Op::Save ? "save" : "load") + " past " + c.hold.what +
                                 " hold of " + (c.holdMs == INFINITE ? "any length" : std::to_string(c.holdMs) + " ms");
        ASSERT_TRUE(WriteFileReplacing(path, old)) << what;
        std::vector<uint8_t> read;
        bool done = false;
        const auto start = std::chrono::steady_clock::now();
        {
            const testfiles::HeldFile held(path, c.hold, c.holdMs);
            ASSERT_TRUE(held.Held()) << what;
            done = c.op == Op::Save ? WriteFileReplacing(path, fresh) : ReadFilePrefix(path, MaxSaveFileSize(), read);
        }
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(done, c.done) << what;
        EXPECT_EQ(Contents(), c.op == Op::Save && c.done ? fresh : old) << what;
        if (c.op == Op::Load) {
            EXPECT_EQ(read, old) << what;
        }
        EXPECT_EQ(testfiles::TemporariesOf(path), std::vector<std::string>{}) << what;
        if (c.holdMs != INFINITE) {
            // Done only once the holder let go (its clock may run a little short).
            EXPECT_GE(waited, std::chrono::milliseconds(c.holdMs * 9 / 10)) << what;
        } else if (!c.done) {
            // Waited for a moment's hold, but not for ever.
            EXPECT_GE(waited, 500ms) << what;
            EXPECT_LT(waited, 5s) << what;
        }
    }
}
#else
TEST_F(SaveFileWrite, FullDiskMidWriteKeepsThePreviousSave) {
    const std::vector<uint8_t> old = EncodeSave(Sample());
    ASSERT_TRUE(WriteFileReplacing(path, old));
    bool written = true;
    {
        // No file may grow past 100 bytes: the temporary fills up mid-write.
        testfiles::FileSizeLimit full(100);
        ASSERT_TRUE(full.Applied());
        written = WriteFileReplacing(path, EncodeSave(SaveData{}));
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(Contents(), old);
    EXPECT_EQ(testfiles::TemporariesOf(path), std::vector<std::string>{});
}

// Writes of one file by another process, as a second copy of the game
// started in the same folder would make them: once, then again until `busy`
// has passed. The child's status says whether every write succeeded.
pid_t WriteInChild(const std::string& path, const std::vector<uint8_t>& bytes, std::chrono::milliseconds busy) {
    const pid_t child = fork();
    if (child == 0) {
        const auto end = std::chrono::steady_clock::now() + busy;
        bool written = WriteFileReplacing(path, bytes);
        while (std::chrono::steady_clock::now() < end) {
            written = WriteFileReplacing(path, bytes) && written;
        }
        _exit(written ? 0 : 1);
    }
    return child;
}

int WaitFor(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

bool WroteAll(int status) {
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Two processes replacing one file in a loop each put their own whole file
// in place, and a reader meanwhile only ever sees one whole file or the
// other, never an empty or a partial one.
TEST_F(SaveFileWrite, TwoProcessesReplacingOneFileNeverShowAPartOfOne) {
    UseMemoryFolder();
    std::vector<uint8_t> small = EncodeSave(Sample());
    small.resize(200000, 0xA5);
    std::vector<uint8_t> large = EncodeSave(SaveData{});
    large.resize(300000, 0x5A);
    ASSERT_TRUE(WriteFileReplacing(path, small));
    const pid_t writers[] = {WriteInChild(path, small, 300ms), WriteInChild(path, large, 300ms)};
    int statuses[2] = {};
    bool done[2] = {};
    int reads = 0;
    int torn = 0;
    for (; !(done[0] && done[1]) && reads < 100000; ++reads) {
        const std::vector<uint8_t> seen = Contents();
        torn += seen != small && seen != large;
        for (int i = 0; i < 2; ++i) {
            done[i] = done[i] || waitpid(writers[i], &statuses[i], WNOHANG) == writers[i];
        }
    }
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    for (int i = 0; i < 2; ++i) {
        if (!done[i]) {
            kill(writers[i], SIGKILL);
            statuses[i] = WaitFor(writers[i]);
        }
        EXPECT_TRUE(WroteAll(statuses[i])) << i;
    }
    EXPECT_EQ(testfiles::TemporariesOf(path), std::vector<std::string>{});
}

// A writer killed at any point while another writes too leaves the old
// file or one whole new one; the next write succeeds and clears whatever
// the killed one left, so nothing piles up.
TEST_F(SaveFileWrite, AWriterKilledAtAnyPointLeavesAWholeFile) {
    UseMemoryFolder();
    std::mt19937 random(20261114u);
    const std::vector<uint8_t> old = EncodeSave(SaveData{});
    const std::vector<uint8_t> other = EncodeSave(Sample());
    std::vector<uint8_t> killed = old;
    killed.resize(800000, 0xC3);
    ASSERT_TRUE(WriteFileReplacing(path, old));
    for (int trial = 0; trial < 100; ++trial) {
        const pid_t otherWriter = WriteInChild(path, other, 0ms);
        const pid_t killedWriter = WriteInChild(path, killed, 0ms);
        usleep(static_cast<useconds_t>(random() % 4000));
        kill(killedWriter, SIGKILL);
        WaitFor(killedWriter);
        EXPECT_TRUE(WroteAll(WaitFor(otherWriter))) << trial;
        const std::vector<uint8_t> seen = Contents();
        EXPECT_TRUE(seen == old || seen == other || seen == killed) << trial << ": " << seen.size() << " bytes";
        ASSERT_TRUE(WriteFileReplacing(path, old)) << trial;
        EXPECT_EQ(testfiles::TemporariesOf(path), std::vector<std::string>{}) << trial;
    }
}
#endif

}  // namespace
