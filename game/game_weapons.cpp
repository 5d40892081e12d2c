// game_weapons.cpp: the player's weapon controller: timers, switching with Q,
// reloading with R, aiming with the mouse, pistol shots and melee swings, and
// the two debug automatics.
#include <algorithm>
#include <cstdlib>

#include "game/game.h"
#include "game/platform/window.h"
#include "raylib.h"

namespace {

Vector3 Along(Vector3 origin, Vector3 dir, float distance) {
    return Vector3{origin.x + dir.x * distance, origin.y + dir.y * distance, origin.z + dir.z * distance};
}

}  // namespace

void UpdateWeaponAutomatics(Game& game, bool autoFire, bool autoAxe) {
    if (autoFire && game.attackCooldown <= 0.0f && !game.reloading && game.weapon == WeaponKind::Pistol) {
        if (game.magazine > 0) {
            game.magazine -= 1;
            game.FireWeapon();
            game.attackCooldown = cfg::kAutoFirePeriod;
        } else {
            game.magazine = cfg::kMagazineSize;
        }
    }
    if (autoAxe && game.attackCooldown <= 0.0f) {
        game.weapon = WeaponKind::Axe;
        game.MeleeAttack();
        game.attackCooldown = cfg::kAutoAxePeriod;
    }
}

void Game::UpdateWeapon(float dt) {
    static const bool autoFire = std::getenv("KIRN_AUTOFIRE") != nullptr;
    static const bool autoAxe = std::getenv("KIRN_AUTOAXE") != nullptr;

    if (attackCooldown > 0.0f) attackCooldown = std::max(attackCooldown - dt, 0.0f);
    if (flashTimer > 0.0f) flashTimer = std::max(flashTimer - dt, 0.0f);
    if (shake > 0.0f) shake = std::max(shake - cfg::kShakeDecay * dt, 0.0f);
    AgeShotTraces(shots, dt);

    // A reload under way finishes even while piloting.
    if (reloading) {
        reloadTimer -= dt;
        if (reloadTimer <= 0.0f) {
            reloading = false;
            if (TakeAmmoBox(inventory)) {
                magazine = cfg::kMagazineSize;
                SetMessage("Перезаряжено");
            } else {
                SetMessage("Нет патронов");
            }
        }
    }
    if (piloting) return;

    const bool onDeck = airship.OnDeck(player.feet);

    if (input.Pressed(KEY_Q)) {
        weapon = NextWeapon(weapon);
        reloading = false;
        SetMessage(WeaponInHandMessage(weapon));
    }

    if (weapon == WeaponKind::Pistol) {
        if (!onDeck) {
            const float scale = viewZoom > 0.01f ? viewZoom : zoom;
            // The figure is drawn raised by the render lift (a tower floor):
            // the cursor over it must read as the player's own spot.
            const Vector3 aimCentre{viewCenter.x, viewCenter.y, viewCenter.z + renderLift};
            float yaw = 0.0f;
            if (AimYaw(input.mouse, static_cast<float>(window::Width()), static_cast<float>(window::Height()), scale,
                       aimCentre, player.position(), yaw)) {
                player.yaw = yaw;
            }
        }
        if (input.Pressed(KEY_R) && !reloading && magazine < cfg::kMagazineSize) {
            if (CountAmmoBoxes(inventory) == 0) {
                SetMessage("Нет патронов");
            } else {
                reloading = true;
                reloadTimer = cfg::kReloadSeconds;
                SetMessage("Перезарядка...");
            }
        }
    }

    // On deck nothing is aimed, swung or fired.
    if (onDeck) return;

    if (input.leftPressed && attackCooldown <= 0.0f && !reloading) {
        if (weapon == WeaponKind::Pistol) {
            if (magazine <= 0) {
                SetMessage("Магазин пуст - R для перезарядки");
            } else {
                magazine -= 1;
                FireWeapon();
                attackCooldown = cfg::kPistolCooldown;
            }
        } else {
            MeleeAttack();
            attackCooldown = cfg::kMeleeCooldown;
        }
    }

    UpdateWeaponAutomatics(*this, autoFire, autoAxe);
}

void Game::FireWeapon() {
    const Vector3 origin = player.position();
    const Vector3 dir = FlatDirection(player.forward());
    float range = cfg::kPistolRange;
    if (world) range = std::min(world->RaycastWalls(origin, dir, cfg::kPistolRange), range);

    // The wall distance bounds the search, so a marauder behind a wall is safe.
    float best = range;
    const int hit = ShotTarget(marauders, origin, dir, best);
    shots.push_back(ShotTrace{Along(origin, dir, cfg::kTraceStart), Along(origin, dir, best), cfg::kTraceLife});
    flashTimer = cfg::kFlashSeconds;
    shake = std::max(shake, cfg::kShotShake);
    muzzlePoint = Along(origin, dir, cfg::kMuzzleAhead);

    if (hit >= 0) {
        const bool killed = WoundMarauder(marauders[hit], cfg::kPistolDamage);
        SetMessage(killed ? "Мародёр повержен" : "Мародёр ранен");
    }
}

void Game::MeleeAttack() {
    const Vector3 origin = player.position();
    const Vector3 dir = FlatDirection(player.forward());

    // A marauder in the cone always takes the blow before any tree.
    if (!marauders.empty()) {
        const int hit = MeleeTarget(marauders, origin, dir);
        if (hit >= 0) {
            const bool killed = WoundMarauder(marauders[hit], cfg::kMeleeDamage);
            if (killed) {
                SetMessage("Мародёр повержен");
            } else {
                SetMessage(weapon == WeaponKind::Axe ? "Удар топором" : "Удар ножом");
            }
            shake = std::max(shake, cfg::kMeleeShake);
            return;
        }
    }

    WorldTree tree{};
    if (weapon == WeaponKind::Axe && world && world->NearestTree(origin, cfg::kTreeReach, tree)) {
        if (!inventory.HasRoomFor(ItemType::Firewood)) {
            SetMessage(kInventoryFull);
            return;
        }
        world->ChopTree(tree.id);
        const int added = AddFirewood(inventory);
        SetMessage(TextFormat("Дерево срублено (+%d дров)", added));
        shake = std::max(shake, cfg::kTreeShake);
        return;
    }

    SetMessage("Взмах - нет цели");
}
