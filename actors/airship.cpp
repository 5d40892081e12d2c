// airship.cpp: the airship's hull layout, placement, stocks, ship-local frame,
// station points and the deck surfaces and walls that walkers meet.
#include "actors/airship.h"

#include <algorithm>
#include <cmath>
#include "actors/finite_or.h"
#include "actors/player.h"
#include "world/world.h"

namespace {

constexpr float kHalfLength = 28.0f;  // the grid spans 56 units along the ship
constexpr float kHalfWidth = 16.0f;   // and 32 across
constexpr float kCellSize = 2.0f;
constexpr float kStepBand = 2.6f;  // walls and deck reach this far beyond the deck and base
constexpr float kStationReach = 3.2f;
constexpr float kMaxFuel = 120.0f;
constexpr float kFuelFullMark = 119.0f;
constexpr int kMaxCoal = 40;
constexpr int kWallPasses = 3;

constexpr Vector2 kHelmStation = {23.0f, -1.0f};
constexpr Vector2 kFurnaceStation = {1.0f, 1.0f};
constexpr Vector2 kCoalStation = {7.0f, 1.0f};
constexpr Vector2 kHelmStand = {21.0f, -1.0f};
constexpr Vector2 kFurnaceStand = {3.0f, 1.0f};
constexpr Vector2 kCoalStand = {5.0f, 1.0f};
constexpr Vector2 kDeckSpawn = {-21.0f, 1.0f};
constexpr Vector2 kGroundSpawn = {-33.0f, 0.0f};

// The cell under a local point; false outside the grid. The float bounds are
// checked before converting, so huge or NaN coordinates never index.
bool CellOfLocal(Vector2 local, int& column, int& row) {
    const float c = std::floor((local.x + kHalfLength) / kCellSize);
    const float r = std::floor((local.y + kHalfWidth) / kCellSize);
    if (!(c >= 0.0f && c < static_cast<float>(kHullColumns))) return false;
    if (!(r >= 0.0f && r < static_cast<float>(kHullRows))) return false;
    column = static_cast<int>(c);
    row = static_cast<int>(r);
    return true;
}

}  // namespace

HullKind HullKindFromLetter(char letter) {
    switch (letter) {
        case 'H': return HullKind::LowWall;
        case 'W': return HullKind::Wall;
        case 'D': return HullKind::Deck;
        case 'C': return HullKind::DarkDeck;
        case 'G': return HullKind::Gangway;
        case 'X': return HullKind::Crate;
        case 'E': return HullKind::Engine;
        case 'P': return HullKind::Propeller;
        case 'M': return HullKind::Helm;
        case 'F': return HullKind::Furnace;
        case 'K': return HullKind::CoalBunker;
        default: return HullKind::Empty;
    }
}

float HullSurfaceHeight(HullKind kind) {
    switch (kind) {
        case HullKind::LowWall: return 2.8f;
        case HullKind::Wall: return 3.4f;
        case HullKind::Deck: return kAirshipDeckHeight;
        case HullKind::DarkDeck: return kAirshipDeckHeight;
        case HullKind::Gangway: return 1.0f;
        case HullKind::Crate: return 3.0f;
        case HullKind::Engine: return 3.2f;
        case HullKind::Propeller: return 3.4f;
        case HullKind::Helm: return 2.35f;
        case HullKind::Furnace: return 3.4f;
        case HullKind::CoalBunker: return 3.0f;
        default: return 0.0f;
    }
}

bool HullWalkable(HullKind kind) {
    return kind == HullKind::Deck || kind == HullKind::DarkDeck || kind == HullKind::Gangway || kind == HullKind::Helm;
}

bool HullSolid(HullKind kind) {
    return kind != HullKind::Empty && !HullWalkable(kind);
}

// ---- construction and placement ------------------------------------------------

Airship::Airship() {
    for (auto& row : cells) {
        for (auto& cell : row) cell = HullCell{HullKind::Empty, 0.0f};
    }
    pos = {0.0f, 0.0f};
    groundY = 0.0f;
    heading = 0.0f;
    SetDefaults();
    BuildLayout();
}

void Airship::SetDefaults() {
    time = 0.0f;
    canopyAlpha = 1.0f;
    coal = kAirshipStartCoal;
    fuel = kAirshipStartFuel;
    furnaceTemp = kAirshipStartFurnaceTemp;
    cabinTemp = kAirshipStartCabinTemp;
    throttle = 0.0f;
    speed = 0.0f;
    turnRate = 0.0f;
    altitude = 0.0f;
    throttleInput = 0.0f;
    turnInput = 0.0f;
    climbInput = 0.0f;
    propPhase = 0.0f;
}

void Airship::BuildLayout() {
    for (int r = 0; r < kHullRows; ++r) {
        for (int c = 0; c < kHullColumns; ++c) {
            const HullKind kind = HullKindFromLetter(kHullLayout[r][c]);
            cells[r][c] = HullCell{kind, HullSurfaceHeight(kind)};
        }
    }
}

void Airship::Reset(Vector2 position, float newHeading, const World& world) {
    heading = FiniteOr(newHeading, 0.0f);
    SetDefaults();
    SetPosition(position, world);
}

void Airship::SetPosition(Vector2 position, const World& world) {
    pos = {FiniteOr(position.x, 0.0f), FiniteOr(position.y, 0.0f)};
    groundY = world.gen.Height(pos.x, pos.y);
}

void Airship::SetAltitude(float newAltitude) {
    altitude = std::clamp(FiniteOr(newAltitude, 0.0f), 0.0f, kAirshipMaxAltitude);
}

void Airship::Stop() {
    throttle = 0.0f;
    speed = 0.0f;
    turnRate = 0.0f;
    throttleInput = 0.0f;
    turnInput = 0.0f;
}

void Airship::SetControlInputs(float newThrottle, float newTurn, float newClimb) {
    throttleInput = std::clamp(FiniteOr(newThrottle, 0.0f), -1.0f, 1.0f);
    turnInput = std::clamp(FiniteOr(newTurn, 0.0f), -1.0f, 1.0f);
    climbInput = std::clamp(FiniteOr(newClimb, 0.0f), -1.0f, 1.0f);
}

void Airship::RestoreState(float savedFuel, int savedCoal, float savedThrottle, float savedFurnaceTemp,
                           float savedCabinTemp, float savedSpeed, float savedAltitude) {
    fuel = std::clamp(FiniteOr(savedFuel, kAirshipStartFuel), 0.0f, kMaxFuel);
    coal = std::clamp(savedCoal, 0, kMaxCoal);
    throttle = std::clamp(FiniteOr(savedThrottle, 0.0f), 0.0f, 1.0f);
    furnaceTemp = std::clamp(FiniteOr(savedFurnaceTemp, kAirshipStartFurnaceTemp), kAirshipMinTemp,
                             kAirshipMaxFurnaceTemp);
    cabinTemp = std::clamp(FiniteOr(savedCabinTemp, kAirshipStartCabinTemp), kAirshipMinTemp, kAirshipMaxCabinTemp);
    speed = std::clamp(FiniteOr(savedSpeed, 0.0f), 0.0f, kAirshipMaxSpeed);
    altitude = std::clamp(FiniteOr(savedAltitude, 0.0f), 0.0f, kAirshipMaxAltitude);
    throttleInput = 0.0f;
    turnInput = 0.0f;
    climbInput = 0.0f;
    turnRate = 0.0f;
}

// ---- stocks --------------------------------------------------------------------

bool Airship::AddFuel(float amount) {
    if (!(amount > 0.0f) || fuel >= kFuelFullMark) return false;
    fuel = std::min(fuel + amount, kMaxFuel);
    return true;
}

bool Airship::AddCoalToFurnace() {
    if (fuel >= kFuelFullMark) return false;
    fuel = std::min(fuel + 15.0f, kMaxFuel);
    return true;
}

bool Airship::WithdrawCoal(int n) {
    if (n <= 0 || coal < n) return false;
    coal -= n;
    return true;
}

bool Airship::DepositCoal(int n) {
    if (n <= 0 || n > kMaxCoal - coal) return false;
    coal += n;
    return true;
}

// ---- frames and points ---------------------------------------------------------

Vector2 Airship::LocalFromWorld(Vector3 point) const {
    const float c = std::cos(heading);
    const float s = std::sin(heading);
    const float dx = point.x - pos.x;
    const float dz = point.z - pos.y;
    return {dx * c + dz * s, -dx * s + dz * c};
}

Vector2 Airship::WorldFromLocal(Vector2 local) const {
    const float c = std::cos(heading);
    const float s = std::sin(heading);
    return {pos.x + local.x * c - local.y * s, pos.y + local.x * s + local.y * c};
}

float Airship::BaseHeight() const {
    return groundY + altitude;
}

Vector3 Airship::DeckEyePoint(Vector2 local) const {
    const Vector2 w = WorldFromLocal(local);
    return {w.x, BaseHeight() + kAirshipDeckHeight + kEyeHeight, w.y};
}

Vector2 Airship::CellCenterWorld(int column, int row) const {
    const Vector2 local = {(static_cast<float>(column) + 0.5f - 14.0f) * kCellSize,
                           (static_cast<float>(row) + 0.5f - 8.0f) * kCellSize};
    return WorldFromLocal(local);
}

Vector3 Airship::CellPoint(int column, int row) const {
    const Vector2 w = CellCenterWorld(column, row);
    return {w.x, BaseHeight() + kAirshipDeckHeight + kEyeHeight, w.y};
}

Vector3 Airship::HelmStandPoint() const {
    return DeckEyePoint(kHelmStand);
}
Vector3 Airship::FurnaceStandPoint() const {
    return DeckEyePoint(kFurnaceStand);
}
Vector3 Airship::CoalStandPoint() const {
    return DeckEyePoint(kCoalStand);
}
Vector3 Airship::FurnacePoint() const {
    return DeckEyePoint(kFurnaceStation);
}
Vector3 Airship::CoalBunkerPoint() const {
    return DeckEyePoint(kCoalStation);
}
Vector3 Airship::DeckSpawn() const {
    return DeckEyePoint(kDeckSpawn);
}

Vector3 Airship::GroundSpawn() const {
    const Vector2 w = WorldFromLocal(kGroundSpawn);
    return {w.x, groundY + kEyeHeight, w.y};
}

HullKind Airship::blockAt(int column, int row) const {
    if (column < 0 || column >= kHullColumns || row < 0 || row >= kHullRows) {
        return HullKind::Empty;
    }
    return cells[row][column].kind;
}

bool Airship::isWalkable(int column, int row) const {
    return HullWalkable(blockAt(column, row));
}

bool Airship::isSolid(int column, int row) const {
    return HullSolid(blockAt(column, row));
}

// ---- walker queries ------------------------------------------------------------

bool Airship::SurfaceAt(Vector3 point, float& height) const {
    int column = 0;
    int row = 0;
    if (!CellOfLocal(LocalFromWorld(point), column, row)) return false;
    const HullCell& cell = cells[row][column];
    if (!HullWalkable(cell.kind)) return false;
    height = BaseHeight() + cell.surfaceHeight;
    return true;
}

bool Airship::OnDeck(Vector3 feet) const {
    float surface = 0.0f;
    return SurfaceAt(feet, surface) && std::fabs(feet.y - surface) <= kStepBand;
}

bool Airship::UnderCanopy(Vector3 point) const {
    const Vector2 local = LocalFromWorld(point);
    const float u = local.x / 54.0f;
    const float v = local.y / 12.0f;
    return u * u + v * v <= 1.0f;
}

AirshipStation Airship::NearestStation(Vector3 point) const {
    struct Station {
        Vector2 local;
        AirshipStation id;
    };
    const Station stations[] = {
        {kHelmStation, AirshipStation::Helm},
        {kFurnaceStation, AirshipStation::Furnace},
        {kCoalStation, AirshipStation::CoalBunker},
    };
    AirshipStation nearest = AirshipStation::None;
    float best = kStationReach;
    for (const Station& station : stations) {
        const Vector2 w = WorldFromLocal(station.local);
        const float dx = point.x - w.x;
        const float dz = point.z - w.y;
        const float distance = std::sqrt(dx * dx + dz * dz);
        if (distance < best) {
            best = distance;
            nearest = station.id;
        }
    }
    return nearest;
}

Vector3 Airship::ResolveWalls(Vector3 point, float radius) const {
    const float base = BaseHeight();
    if (point.y > base + kAirshipDeckHeight + kStepBand || point.y < base - kStepBand) return point;

    // Only a point that was pushed goes back through the frame: the round trip
    // would shift every untouched point by rounding, more the farther it is.
    Vector2 local = LocalFromWorld(point);
    bool pushed = false;
    for (int pass = 0; pass < kWallPasses; ++pass) {
        bool moved = false;
        for (int r = 0; r < kHullRows; ++r) {
            for (int c = 0; c < kHullColumns; ++c) {
                if (!HullSolid(cells[r][c].kind)) continue;
                const float x0 = kCellSize * static_cast<float>(c) - kHalfLength - radius;
                const float x1 = x0 + kCellSize + 2.0f * radius;
                const float z0 = kCellSize * static_cast<float>(r) - kHalfWidth - radius;
                const float z1 = z0 + kCellSize + 2.0f * radius;
                if (!(x0 < local.x && local.x < x1 && z0 < local.y && local.y < z1)) continue;
                const float toMinX = local.x - x0;
                const float toMaxX = x1 - local.x;
                const float toMinZ = local.y - z0;
                const float toMaxZ = z1 - local.y;
                const float least = std::min(std::min(toMinX, toMaxX), std::min(toMinZ, toMaxZ));
                if (toMinX == least) {
                    local.x = x0;
                } else if (toMaxX == least) {
                    local.x = x1;
                } else if (toMinZ == least) {
                    local.y = z0;
                } else {
                    local.y = z1;
                }
                moved = true;
            }
        }
        if (!moved) break;
        pushed = true;
    }
    if (!pushed) return point;
    const Vector2 w = WorldFromLocal(local);
    return {w.x, point.y, w.y};
}
