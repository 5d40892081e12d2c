// airship.h: the player's airship: the hull grid of 2-unit cells, the coal and
// fuel stocks, the deck stations, the flight and heat model and the deck
// surfaces and walls a walker meets. Reads the terrain and air of the World.
#pragma once
#include <cstdint>
#include "raylib.h"
#include "world/atmosphere.h"
#include "world/clamps.h"

class World;

// Kind of one hull cell; any value above 9 counts as solid.
enum class HullKind : uint8_t {
    Empty = 0,
    LowWall = 1,
    Wall = 2,
    Deck = 3,
    DarkDeck = 4,
    Gangway = 5,
    Crate = 6,
    Engine = 7,
    Propeller = 8,
    Helm = 9,
    Furnace = 10,
    CoalBunker = 11,
};

struct HullCell {
    HullKind kind;        // what the cell is
    float surfaceHeight;  // top of the cell above the ship's base
};

// The deck stations the player can work.
enum class AirshipStation : int {
    None = 0,
    Helm = 1,
    Furnace = 2,
    CoalBunker = 3,
};

inline constexpr int kHullRows = 16;     // across the ship, local z
inline constexpr int kHullColumns = 28;  // along the ship, local x; column 0 is the stern
// The ceiling: the highest the ship's base climbs above the ground, units.
inline constexpr float kAirshipMaxAltitude = 35.0f;

// The altitude as a share of the ceiling, 0..1: the view's widening, the
// ground's cold tint, haze and tower parallax and the ship's shadows follow it.
// Only the sign of a zero tells this clamp from std::clamp, as the altitude is
// never NaN: SetAltitude and RestoreState (the save's way in) take FiniteOr
// before their clamp, and a flight step clamps the sum, or takes max(0, ...),
// with the frame loop's time of 0..0.05 s. Each caller adds the share, scaled,
// to a non-zero constant, so a -0 turned +0 changes no bit.
inline float AirshipAltitudeFraction(float altitude) {
    return Clamp01NanToZero(altitude / kAirshipMaxAltitude);
}

// The speed a full throttle and a fully lifting furnace drive the ship toward,
// units per second; the burn, the steering and the propellers scale by it.
inline constexpr float kAirshipMaxSpeed = 22.0f;
// The deck's surface above the ship's base; every eye point on the deck
// stands this high plus the eye height, whatever the cell under it.
inline constexpr float kAirshipDeckHeight = 2.2f;
// The stocks and temperatures a new airship starts with.
inline constexpr int kAirshipStartCoal = 20;
inline constexpr float kAirshipStartFuel = 30.0f;
inline constexpr float kAirshipStartFurnaceTemp = 20.0f;
inline constexpr float kAirshipStartCabinTemp = 18.0f;
// The ranges the furnace and the cabin are held to, degrees C.
inline constexpr float kAirshipMinTemp = -50.0f;
inline constexpr float kAirshipMaxFurnaceTemp = 140.0f;
inline constexpr float kAirshipMaxCabinTemp = 40.0f;

// The hull as letters, one row per line, stern on the left.
// clang-format off
inline constexpr char kHullLayout[kHullRows][kHullColumns + 1] = {
    "............................",
    "............................",
    "............................",
    "............................",
    "............................",
    "PEWWWWWWWWWWWWWWWWWWWWWWWWW.",
    ".WDDDDDDDDDDDDDDDDDDDDDDDDW.",
    "GGDDDDDDDDDDDDDDDDDDDDDDDMD.",
    "GGDDDDDDDDDDDDFDDKDDDDDDDDDD",
    ".WDDDDDDDDDDDDDDDDDDDDDDDDW.",
    "PEWWWWWWWWWWWWWWWWWWWWWWWWW.",
    "............................",
    "............................",
    "............................",
    "............................",
    "............................",
};
// clang-format on

HullKind HullKindFromLetter(char letter);
float HullSurfaceHeight(HullKind kind);
bool HullWalkable(HullKind kind);
bool HullSolid(HullKind kind);

// The airship. Game owns one by value, feeds it inputs, fuel and coal, and
// reads its public state; the drawing reads the same fields.
class Airship {
public:
    Airship();

    // Placement and control.
    void BuildLayout();
    void Reset(Vector2 position, float heading, const World& world);
    void SetPosition(Vector2 position, const World& world);
    void SetAltitude(float altitude);
    void Stop();
    void SetControlInputs(float throttleInput, float turnInput, float climbInput);
    void RestoreState(float fuel, int coal, float throttle, float furnaceTemp, float cabinTemp, float speed,
                      float altitude);

    // Stocks; each returns true when it changed something.
    bool AddFuel(float amount);
    bool AddCoalToFurnace();
    bool WithdrawCoal(int n);
    bool DepositCoal(int n);

    // Ship-local frame: local x toward the bow, local z to starboard.
    Vector2 LocalFromWorld(Vector3 point) const;
    Vector2 WorldFromLocal(Vector2 local) const;
    float BaseHeight() const;
    Vector2 CellCenterWorld(int column, int row) const;
    Vector3 CellPoint(int column, int row) const;

    // Eye points of the stations and boarding spots.
    Vector3 HelmStandPoint() const;
    Vector3 FurnaceStandPoint() const;
    Vector3 CoalStandPoint() const;
    Vector3 FurnacePoint() const;
    Vector3 CoalBunkerPoint() const;
    Vector3 DeckSpawn() const;
    Vector3 GroundSpawn() const;

    HullKind blockAt(int column, int row) const;
    bool isWalkable(int column, int row) const;
    bool isSolid(int column, int row) const;

    // Walker queries.
    bool SurfaceAt(Vector3 point, float& height) const;
    bool OnDeck(Vector3 feet) const;
    bool UnderCanopy(Vector3 point) const;
    AirshipStation NearestStation(Vector3 point) const;
    Vector3 ResolveWalls(Vector3 point, float radius) const;

    // One frame of the flight and heat model.
    void Update(float dt, bool playerUnderCanopy, const World& world);

    // Drawing, top-down (the ship's own drawing file).
    void DrawShadow(Vector3 view, float scale, const Atmosphere& atmosphere) const;
    void DrawGondola(Vector3 view, float scale, const Atmosphere& atmosphere) const;
    void DrawCanopyShadow(Vector3 view, float scale, const Atmosphere& atmosphere) const;
    void DrawCanopy(Vector3 view, float scale, const Atmosphere& atmosphere) const;

    HullCell cells[kHullRows][kHullColumns];  // the hull, [row][column], built once from kHullLayout
    Vector2 pos;                              // world x/z of the ship's centre
    float groundY;                            // terrain height under pos, read again whenever pos moves
    float heading;                            // radians, not wrapped; forward is (cos, sin) in x/z
    float time;                               // seconds of Update, the drawing's animation clock
    float canopyAlpha;                        // canopy opacity, eased toward 0.3 (player under it) or 1
    int coal;                                 // lumps in the coal bunker, 0..40
    float fuel;                               // seconds of fire in the furnace, 0..120
    float furnaceTemp;                        // degrees C, -50..140
    float cabinTemp;                          // degrees C, -50..40
    float throttle;                           // 0..1
    float speed;                              // forward speed, units per second, 0..22
    float turnRate;                           // heading change, radians per second
    float altitude;                           // units of the ship's base above groundY, 0..35
    float throttleInput;                      // -1..1 from the pilot's keys, 0 when nobody pilots
    float turnInput;                          // -1..1, likewise
    float climbInput;                         // -1..1, likewise
    float propPhase;                          // propeller blade angle, radians, summed without wrapping

private:
    void SetDefaults();
    Vector3 DeckEyePoint(Vector2 local) const;
};
