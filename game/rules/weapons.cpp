// weapons.cpp: the pure weapon rules: switching, aiming, ammunition, the
// pistol's ray and the melee cone against marauders, firewood from a tree.
#include "game/rules/weapons.h"

#include <cmath>

WeaponKind NextWeapon(WeaponKind weapon) {
    switch (weapon) {
        case WeaponKind::Knife: return WeaponKind::Pistol;
        case WeaponKind::Pistol: return WeaponKind::Axe;
        case WeaponKind::Axe: return WeaponKind::Knife;
    }
    return WeaponKind::Pistol;
}

const char* WeaponInHandMessage(WeaponKind weapon) {
    switch (weapon) {
        case WeaponKind::Knife: return "Нож в руках";
        case WeaponKind::Pistol: return "Пистолет в руках";
        case WeaponKind::Axe: return "Топор в руках";
    }
    return "Пистолет в руках";
}

void AgeShotTraces(std::vector<ShotTrace>& shots, float dt) {
    for (ShotTrace& shot : shots) shot.life -= dt;
    std::erase_if(shots, [](const ShotTrace& shot) { return shot.life <= 0.0f; });
}

Vector3 FlatDirection(Vector3 forward) {
    const float length = std::sqrt(forward.x * forward.x + forward.z * forward.z);
    if (length < 0.000001f) return Vector3{0.0f, 0.0f, -1.0f};
    return Vector3{forward.x / length, 0.0f, forward.z / length};
}

bool AimYaw(Vector2 mouse, float windowWidth, float windowHeight, float scale, Vector3 viewCenter, Vector3 eye,
            float& yaw) {
    const float groundX = (mouse.x - windowWidth / 2.0f) / scale + viewCenter.x;
    const float groundZ = (mouse.y - windowHeight / 2.0f) / scale + viewCenter.z;
    const float dx = groundX - eye.x;
    const float dz = groundZ - eye.z;
    const float deadZone = cfg::kAimDeadZone * cfg::kAimDeadZone;
    if (!(dx * dx + dz * dz > deadZone)) return false;
    yaw = std::atan2(dx, -dz);
    return true;
}

int CountAmmoBoxes(const Inventory& inventory) {
    int boxes = 0;
    for (const InventorySlot& slot : inventory.slots) {
        if (slot.type == ItemType::Ammo && slot.count > 0) boxes += slot.count;
    }
    return boxes;
}

bool TakeAmmoBox(Inventory& inventory) {
    return inventory.RemoveOne(ItemType::Ammo);
}

int ShotTarget(const std::vector<Marauder>& marauders, Vector3 origin, Vector3 dir, float& best) {
    int target = -1;
    for (int i = 0; i < static_cast<int>(marauders.size()); ++i) {
        const Marauder& m = marauders[i];
        if (!m.alive) continue;
        const float dx = m.pos.x - origin.x;
        const float dz = m.pos.z - origin.z;
        const float t = dx * dir.x + dz * dir.z;
        if (t < 0.0f || t > best) continue;
        if (dx * dx + dz * dz - t * t < cfg::kPistolHitRadiusSquared) {
            target = i;
            best = t;
        }
    }
    return target;
}

int MeleeTarget(const std::vector<Marauder>& marauders, Vector3 origin, Vector3 dir) {
    float best = cfg::kMeleeReach;
    int target = -1;
    for (int i = 0; i < static_cast<int>(marauders.size()); ++i) {
        const Marauder& m = marauders[i];
        if (!m.alive) continue;
        const float dx = m.pos.x - origin.x;
        const float dz = m.pos.z - origin.z;
        const float h = std::sqrt(dx * dx + dz * dz);
        if (h > best || h < cfg::kMeleeMinDistance) continue;
        const float c = (dx / h) * dir.x + (dz / h) * dir.z;
        if (c >= cfg::kMeleeCone) {
            target = i;
            best = h;
        }
    }
    return target;
}

bool WoundMarauder(Marauder& marauder, float damage) {
    marauder.health -= damage;
    if (marauder.health <= 0.0f) {
        marauder.alive = false;
        return true;
    }
    return false;
}

int AddFirewood(Inventory& inventory) {
    int added = 0;
    for (int i = 0; i < cfg::kFirewoodPerTree; ++i) {
        if (inventory.Add(ItemType::Firewood) >= 0) ++added;
    }
    return added;
}
