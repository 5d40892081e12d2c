// settlement.h: the home hearth: the great furnace with its spare parts, fuel
// and heat field, five huts on a ring and eight survivors who may freeze.
#pragma once
#include <cstdint>
#include <vector>
#include "raylib.h"
#include "world/atmosphere.h"

class World;

// Spare parts that repair the great furnace.
inline constexpr int kFurnacePartsNeeded = 3;
// Survivors a home settlement is generated with.
inline constexpr int kHomeSurvivors = 8;

// A hut: an axis-aligned box around (x, z), never turned toward the furnace.
struct Hut {
    float x = 0.0f;        // x of the centre
    float z = 0.0f;        // z of the centre
    float width = 0.0f;    // extent along x, units
    float depth = 0.0f;    // extent along z, units
    float groundY = 0.0f;  // terrain height at the centre
    float height = 0.0f;   // roof height above groundY
    bool chimney = false;  // drawn with a chimney
};

// A survivor wandering the ring or huddling by the furnace; y follows the terrain.
struct Survivor {
    Vector3 pos = {0.0f, 0.0f, 0.0f};  // position; y is the terrain height under x/z
    Vector2 target = {0.0f, 0.0f};     // x/z the survivor walks to
    float warmth = 0.0f;               // 0..100; at 0 the survivor freezes to death
    float timer = 0.0f;                // seconds left of the current walk or rest
    float phase = 0.0f;                // radians, the drawing's bob and shiver phase
    float facing = 0.0f;               // radians, direction of the last step, atan2(dx, -dz)
    bool alive = false;                // cleared when it freezes; a load sets it by count
    bool resting = false;              // standing still between two walks
};

// The home settlement. Its layout follows from the seed and the terrain
// alone, so a load regenerates it and restores only a few values.
class HomeSettlement {
public:
    void Generate(uint32_t seed, const World& world, Vector3 at);
    // The parameter types are those of the saved fields (parts is an int32
    // there), so a negative part count clamps to 0 instead of wrapping.
    void RestoreState(float savedFuel, uint32_t alive, bool savedBroken, int32_t savedParts, bool savedPartTaken);
    void Update(float dt, const World& world);

    void AddFuel(float seconds);
    bool needsFuel() const;
    float maxFuel() const;
    bool InstallPart();

    bool nearFurnace(Vector3 p) const;
    bool nearLoosePart(Vector3 p) const;
    float heatAt(Vector3 p) const;
    int survivorsAlive() const;
    float coldestWarmth() const;
    Vector2 ResolveWalls(Vector3 p, float radius) const;

    float NextRandom();
    Vector2 RandomTarget(float inner, float outer);

    // Drawing, top-down: the heat ring right after the ground, the rest later.
    void DrawGround(Vector3 cam, float s, Color tint) const;
    void Draw(Vector3 cam, float s, Color tint) const;

    uint32_t seed = 0;                // seed of the layout (0 is taken as 1)
    uint32_t rng = 1;                 // state of the settlement's own xorshift stream, never 0
    float cx = 0.0f;                  // x of the great furnace's centre
    float cz = 0.0f;                  // z of the great furnace's centre
    float cy = 0.0f;                  // terrain height at (cx, cz)
    float fuel = 0.0f;                // seconds of fuel in the furnace, 0..1800
    float heat = 0.0f;                // the furnace's heat output, 0..1
    float elapsed = 0.0f;             // seconds of Update since Generate, the drawing's clock
    bool broken = true;               // the furnace waits for its spare parts
    int parts = 0;                    // spare parts installed, 0..3
    bool partTaken = false;           // the loose spare part by the furnace was picked up
    float partX = 0.0f;               // x of the loose spare part
    float partY = 0.0f;               // height of the loose spare part
    float partZ = 0.0f;               // z of the loose spare part
    bool allDead = false;             // no survivor is alive
    std::vector<Hut> huts;            // the huts on the ring, 5 once generated
    std::vector<Survivor> survivors;  // 8 once generated
};
