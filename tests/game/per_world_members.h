// per_world_members.h: the game's per-world state member by member, so a test
// can name exactly which members differ from a fresh PerWorldState.
#pragma once
#include <cstddef>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "game/game.h"

namespace testgame {

// Every member of PerWorldState in declaration order. The structured binding
// below has to name each one, so a member added there stops this file from
// compiling until it is listed here too.
#define PER_WORLD_MEMBERS                                                                                          \
    target, piloting, aboard, moored, inTower, dockAltitude, station, weapon, magazine, attackCooldown, reloading, \
        reloadTimer, flashTimer, muzzlePoint, shake, shots, food, water, health, warmth, messageTimer, message,    \
        marauders, camps, raidedSettlements, marauderTimer, endLatched, wonOverlay, winReached, foodShared,        \
        rewardGiven, gameOver, froze, settlementFroze, exitSaveFailed
#define PER_WORLD_TEXT(...) #__VA_ARGS__
#define PER_WORLD_NAMES(...) PER_WORLD_TEXT(__VA_ARGS__)

inline auto Members(const PerWorldState& s) {
    const auto& [PER_WORLD_MEMBERS] = s;
    return std::tie(PER_WORLD_MEMBERS);
}

inline std::vector<std::string> MemberNames() {
    std::vector<std::string> names;
    std::istringstream list(PER_WORLD_NAMES(PER_WORLD_MEMBERS));
    for (std::string name; std::getline(list >> std::ws, name, ',');) {
        names.push_back(name);
    }
    return names;
}

#undef PER_WORLD_NAMES
#undef PER_WORLD_TEXT
#undef PER_WORLD_MEMBERS

template <typename T>
bool Same(const T& a, const T& b) {
    return a == b;
}
inline bool Same(Vector3 a, Vector3 b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
inline bool Same(const Interaction& a, const Interaction& b) {
    return a.kind == b.kind && a.id == b.id && a.itemType == b.itemType && Same(a.position, b.position);
}
// Against a fresh state, whose lists are empty, the length says it all.
template <typename T>
bool Same(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size();
}

template <typename Tuple, std::size_t... I>
std::vector<std::string> Differing(const Tuple& now, const Tuple& start, std::index_sequence<I...>) {
    const std::vector<std::string> names = MemberNames();
    std::vector<std::string> changed;
    ((Same(std::get<I>(now), std::get<I>(start)) ? void() : changed.push_back(names[I])), ...);
    return changed;
}

// The names of the per-world members that differ from a fresh PerWorldState.
inline std::vector<std::string> ChangedMembers(const PerWorldState& s) {
    const PerWorldState fresh;
    const auto now = Members(s);
    return Differing(now, Members(fresh), std::make_index_sequence<std::tuple_size_v<decltype(now)>>{});
}

}  // namespace testgame
