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
    float x = 0.0f;
    float z = 0.0f;
    float width = 0.0f;
    float depth = 0.0f;
    float groundY = 0.0f;
    float height = 0.0f;
    bool chimney = false;
};

// A survivor wandering the ring or huddling by the furnace; y follows the terrain.
struct Survivor {
    Vector3 pos = {0.0f, 0.0f, 0.0f};
    Vector2 target = {0.0f, 0.0f};
    float warmth = 0.0f;
    float timer = 0.0f;
    float phase = 0.0f;
    float facing = 0.0f;
    bool alive = false;
    bool resting = false;
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

    uint32_t seed = 0;
    uint32_t rng = 1;
    float cx = 0.0f;
    float cz = 0.0f;
    float cy = 0.0f;
    float fuel = 0.0f;
    float heat = 0.0f;
    float elapsed = 0.0f;
    bool broken = true;
    int parts = 0;
    bool partTaken = false;
    float partX = 0.0f;
    float partY = 0.0f;
    float partZ = 0.0f;
    bool allDead = false;
    std::vector<Hut> huts;
    std::vector<Survivor> survivors;
};
