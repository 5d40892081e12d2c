// game_boarding.cpp: getting onto the airship, riding its deck, working its
// helm, furnace and coal bunker, and mooring it at the tower dock.
#include <cmath>
#include <cstdlib>

#include "game/game.h"

namespace {

constexpr float kMooringBand = 2.6f;
constexpr float kShipHalfLength = 28.0f;
constexpr float kShipHalfWidth = 7.0f;
constexpr float kScrapeShake = 0.45f;
constexpr float kMinHoverAltitude = 1.5f;
constexpr float kBoardingReachSquared = 900.0f;
constexpr float kFurnaceHot = 119.0f;
constexpr float kCoalFuel = 15.0f;
constexpr float kFuelCanFuel = 25.0f;
constexpr float kFirewoodFuel = 5.0f;

float KeyAxis(const FrameInput& in, int positive, int negative) {
    return (in.Down(positive) ? 1.0f : 0.0f) - (in.Down(negative) ? 1.0f : 0.0f);
}

// The pilot stands at the helm facing the ship's heading.
void PutPilotAtHelm(Game& game) {
    game.player.Reset(game.airship.HelmStandPoint());
    game.player.yaw = game.airship.heading + kQuarterTurn;
}

void FeedFurnace(Game& game) {
    Airship& ship = game.airship;
    if (ship.fuel >= kFurnaceHot) {
        game.SetMessage("Печь уже горячая");
    } else if (game.inventory.RemoveOne(ItemType::Coal)) {
        ship.AddFuel(kCoalFuel);
        game.SetMessage("Уголь в печи");
    } else if (game.inventory.RemoveOne(ItemType::FuelCan)) {
        ship.AddFuel(kFuelCanFuel);
        game.SetMessage("Канистра в печи (+25 с)");
    } else if (game.inventory.RemoveOne(ItemType::Firewood)) {
        ship.AddFuel(kFirewoodFuel);
        game.SetMessage("Дрова в печи");
    } else {
        game.SetMessage("Нет угля и дров - возьми уголь из бункера");
    }
}

void TakeCoal(Game& game) {
    Airship& ship = game.airship;
    if (ship.coal < 1) {
        game.SetMessage("Угольный бункер пуст");
    } else if (game.inventory.HasRoomFor(ItemType::Coal)) {
        ship.WithdrawCoal(1);
        game.inventory.Add(ItemType::Coal);
        game.SetMessage(TextFormat("Взял уголь (в бункере осталось %d)", ship.coal));
    } else {
        game.SetMessage(kInventoryFull);
    }
}

void ReturnCoal(Game& game) {
    if (!game.inventory.RemoveOne(ItemType::Coal)) {
        game.SetMessage("В инвентаре нет угля");
    } else if (game.airship.DepositCoal(1)) {
        game.SetMessage(TextFormat("Уголь возвращён в бункер (%d)", game.airship.coal));
    } else {
        game.inventory.Add(ItemType::Coal);
        game.SetMessage("Угольный бункер полон");
    }
}

}  // namespace

void Game::StartPiloting() {
    if (piloting) {
        return;
    }
    piloting = true;
    PutPilotAtHelm(*this);
    SetMessage(airship.fuel > 0.0f ? "У штурвала. W/S - тяга, A/D - поворот, E - отпустить."
                                   : "У штурвала. Печь холодная - сначала загрузи уголь.");
    TraceLog(LOG_INFO, "AIRSHIP: helm engaged");
}

void Game::StopPiloting() {
    if (!piloting) {
        return;
    }
    piloting = false;
    SetMessage("Штурвал отпущен - корабль держит курс");
    TraceLog(LOG_INFO, "AIRSHIP: helm released");
}

void Game::PlacePlayerOnDeck() {
    player.Reset(airship.DeckSpawn());
    camera.SetPosition(player.position());
    SetMessage("На палубе. Пройди по гондоле; трап - на корме.");
    TraceLog(LOG_INFO, "AIRSHIP: player placed on deck");
}

bool Game::NearAirshipBoarding() const {
    if (!world || piloting || aboard || inTower || airship.altitude <= kMinHoverAltitude) {
        return false;
    }
    const float dx = player.feet.x - airship.pos.x;
    const float dz = player.feet.z - airship.pos.y;
    return dx * dx + dz * dz <= kBoardingReachSquared;
}

void SetAirshipControls(Game& game) {
    if (!game.piloting) {
        game.airship.SetControlInputs(0.0f, 0.0f, 0.0f);
        return;
    }
    const FrameInput& in = game.input;
    game.airship.SetControlInputs(KeyAxis(in, KEY_W, KEY_S), KeyAxis(in, KEY_D, KEY_A),
                                  KeyAxis(in, KEY_LEFT_SHIFT, KEY_LEFT_CONTROL));
}

void UpdateAirshipAndCarry(Game& game, float dt) {
    Airship& ship = game.airship;
    Player& player = game.player;
    const World& world = *game.world;
    const Vector3 feet = player.feet;
    if (ship.OnDeck(feet)) {
        // The deck spot is taken before the ship moves, so the rider keeps it.
        const Vector2 local = ship.LocalFromWorld(feet);
        ship.Update(dt, ship.UnderCanopy(feet), world);
        if (!game.piloting) {
            const Vector2 w = ship.WorldFromLocal(local);
            float h = world.gen.Height(w.x, w.y);
            ship.SurfaceAt(Vector3{w.x, feet.y, w.y}, h);
            player.SetPosition(Vector3{w.x, h + kEyeHeight, w.y});
        }
    } else {
        ship.Update(dt, ship.UnderCanopy(feet), world);
    }
    if (game.piloting) {
        PutPilotAtHelm(game);
    }
}

void UpdateTowerDock(Game& game) {
    Airship& ship = game.airship;
    Building& tower = game.tower;
    const World& world = *game.world;

    const Vector3 d = ship.DeckSpawn();
    float deck = 0.0f;
    if (!ship.SurfaceAt(Vector3{d.x, d.y - kEyeHeight, d.z}, deck)) {
        deck = ship.groundY + ship.altitude + kAirshipDeckHeight;
    }
    const float dockY = tower.FloorY(tower.dockFloor);
    const bool near = tower.atDock(Vector3{ship.pos.x, 0.0f, ship.pos.y});
    game.moored = near && std::fabs(deck - dockY) < kMooringBand;

    // Held at the altitude that puts the deck level with the dock floor over
    // the ground the ship stands above now.
    const float deckAboveBase = deck - (ship.groundY + ship.altitude);
    game.dockAltitude = dockY - deckAboveBase - ship.groundY;

    if (std::getenv("KIRN_DOCK_TEST") != nullptr) {
        TraceLog(LOG_INFO, "DOCK: near=%d deck=%.2f dockY=%.2f alt=%.2f baseY=%.2f dockAlt=%.2f", near ? 1 : 0,
                 static_cast<double>(deck), static_cast<double>(dockY), static_cast<double>(ship.altitude),
                 static_cast<double>(ship.groundY), static_cast<double>(game.dockAltitude));
    }
    tower.dockOpen = game.moored;

    if (game.moored) {
        ship.SetAltitude(game.dockAltitude);
        const float dockLine = tower.center.y + tower.dockOffset;
        if (dockLine > ship.pos.y) {
            ship.SetPosition(Vector2{ship.pos.x, dockLine}, world);
            ship.Stop();
        }
        return;
    }
    const Vector2 p = tower.ResolveShipBox(ship.pos, ship.heading, kShipHalfLength, kShipHalfWidth);
    if (p.x != ship.pos.x || p.y != ship.pos.y) {
        ship.SetPosition(p, world);
        ship.Stop();
        game.shake = kScrapeShake;
        game.SetMessage("Корпус скребёт о башню");
    }
}

void HandleStationKeys(Game& game) {
    const FrameInput& in = game.input;
    if (in.Pressed(KEY_E)) {
        if (game.piloting) {
            game.StopPiloting();
        } else if (game.station == AirshipStation::Helm) {
            game.StartPiloting();
        } else if (game.station == AirshipStation::Furnace) {
            FeedFurnace(game);
        } else if (game.station == AirshipStation::CoalBunker) {
            TakeCoal(game);
        }
    }
    if (in.Pressed(KEY_F) && !game.piloting && game.station == AirshipStation::CoalBunker) {
        ReturnCoal(game);
    }
}

void HandleBoarding(Game& game) {
    if (!game.NearAirshipBoarding() || !game.input.Pressed(KEY_E) || game.target.kind != kInteractionNone) {
        return;
    }
    const Vector3 feet = game.player.feet;
    if (game.home.nearFurnace(feet) || game.home.nearLoosePart(feet)) {
        return;
    }
    game.player.Reset(game.airship.DeckSpawn());
    game.camera.SetPosition(game.player.position());
    game.SetMessage("Поднялся на борт");
}
