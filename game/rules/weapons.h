// weapons.h: the player's three weapons: the kinds, the shot traces left on
// screen, and the pure rules of switching, aiming, reloading and hitting that
// Game's weapon controller applies.
#pragma once
#include <vector>

#include "game/rules/items.h"
#include "game/rules/marauders.h"
#include "raylib.h"

class World;

enum class WeaponKind : int { Knife = 0, Pistol = 1, Axe = 2 };

// A drawn pistol shot that fades out.
struct ShotTrace {
    Vector3 from{};
    Vector3 to{};
    float life = 0.0f;  // seconds left
};

namespace cfg {
// Cartridges in a full pistol magazine.
inline constexpr int kMagazineSize = 8;
inline constexpr float kPistolRange = 140.0f;
// 1.3 to the side of the ray, squared; the literal keeps the exact bound.
inline constexpr float kPistolHitRadiusSquared = 1.69f;
inline constexpr float kPistolDamage = 35.0f;
inline constexpr float kPistolCooldown = 0.22f;
inline constexpr float kReloadSeconds = 1.1f;
inline constexpr float kTraceStart = 0.6f;
inline constexpr float kTraceLife = 0.35f;
inline constexpr float kMuzzleAhead = 0.75f;
inline constexpr float kFlashSeconds = 0.07f;
inline constexpr float kMeleeReach = 3.2f;
inline constexpr float kMeleeMinDistance = 0.01f;
inline constexpr float kMeleeCone = 0.35f;
inline constexpr float kMeleeDamage = 70.0f;
inline constexpr float kMeleeCooldown = 0.45f;
inline constexpr float kTreeReach = 3.4f;
inline constexpr int kFirewoodPerTree = 2;
inline constexpr float kShotShake = 6.0f;
inline constexpr float kMeleeShake = 2.5f;
inline constexpr float kTreeShake = 2.0f;
inline constexpr float kShakeDecay = 28.0f;
inline constexpr float kAimDeadZone = 2.0f;
inline constexpr float kAutoFirePeriod = 0.3f;
inline constexpr float kAutoAxePeriod = 0.8f;
}  // namespace cfg

// Q cycles Knife -> Pistol -> Axe -> Knife.
WeaponKind NextWeapon(WeaponKind weapon);
// The status message when the weapon is taken in hand.
const char* WeaponInHandMessage(WeaponKind weapon);

// Ages the traces by dt and drops the spent ones; the rest keep their order.
void AgeShotTraces(std::vector<ShotTrace>& shots, float dt);

// The facing flattened to x/z and normalised; (0, 0, -1) when it has no length.
Vector3 FlatDirection(Vector3 forward);

// The yaw that faces the aimed ground point under the mouse (window pixels),
// or false when that point lies within the dead zone around the eye point.
bool AimYaw(Vector2 mouse, float windowWidth, float windowHeight, float scale, Vector3 viewCenter, Vector3 eye,
            float& yaw);

// Ammunition boxes over every slot.
int CountAmmoBoxes(const Inventory& inventory);
// Takes one box from the lowest slot holding any; false when none does.
bool TakeAmmoBox(Inventory& inventory);

// The nearest live marauder on the shot's ray within best (the distance to
// the first wall on entry; the hit distance on return), or -1. On equal
// distance the later one in the list wins.
int ShotTarget(const std::vector<Marauder>& marauders, Vector3 origin, Vector3 dir, float& best);

// The nearest live marauder within melee reach inside the facing cone, or -1.
int MeleeTarget(const std::vector<Marauder>& marauders, Vector3 origin, Vector3 dir);

// Lowers a marauder's health; true when this blow killed it.
bool WoundMarauder(Marauder& marauder, float damage);

// Adds the firewood of a felled tree by the usual stacking rule; returns how
// many pieces found room.
int AddFirewood(Inventory& inventory);

class Game;

// The debug automatics of one off-deck frame: steady pistol fire that never
// runs dry, and steady axe swings.
void UpdateWeaponAutomatics(Game& game, bool autoFire, bool autoAxe);
