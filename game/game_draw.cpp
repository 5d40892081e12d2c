// game_draw.cpp: one whole frame: the world scene into the capture target in a
// fixed layer order, post-processing, snow and frost on the screen, then the
// interface in the 1600 x 900 UI space; the menu backdrop when no world exists.
#include <cmath>

#include "game/game.h"
#include "game/hud/inventory_view.h"
#include "game/view/frame_layout.h"
#include "game/view/frame_shapes.h"
#include "rlgl.h"
#include "world/ground_projection.h"

namespace {

// Per-frame view values shared by the scene's layers.
struct FrameView {
    float w;
    float h;
    float scale;
    Vector2 centre;
    Vector3 centre3;

    Vector2 Project(float x, float z) const { return GroundToScreen(Vector2{w / 2.0f, h / 2.0f}, centre, scale, x, z); }
    // The same point raised up the screen by a height above the ground.
    Vector2 ProjectLifted(float x, float z, float lift) const {
        return LiftedToScreen(Vector2{w / 2.0f, h / 2.0f}, centre, scale, x, z, lift);
    }
};

// Every translucent layer drawn into the capture also wears down its alpha,
// while its colours are already the finished picture. Presented with plain
// alpha blending, the screen's leftovers of the last frame would show through
// (haze alone leaves a tenth of them), so the capture replaces the screen.
void PresentOpaque(ScreenFx& fx) {
    rlSetBlendFactors(RL_ONE, RL_ZERO, RL_FUNC_ADD);
    BeginBlendMode(BLEND_CUSTOM);
    fx.Present();
    EndBlendMode();
}

void BeginUiPass(int windowWidth) {
    Camera2D ui{};
    ui.offset = Vector2{0.0f, 0.0f};
    ui.target = Vector2{0.0f, 0.0f};
    ui.rotation = 0.0f;
    ui.zoom = frame::UiScale(windowWidth);
    BeginMode2D(ui);
}

// The ring over the tower's dock window while an unmoored airship is near it
// at about its height.
void DrawTowerDockMarker(const Game& game, const FrameView& view, float parallax) {
    if (game.moored) return;
    const Vector3 w = game.tower.DockWindowPoint();
    const float dx = game.airship.pos.x - w.x;
    const float dz = game.airship.pos.y - w.z;
    if (dx * dx + dz * dz > 90.0f * 90.0f) return;
    if (!(std::fabs(game.airship.altitude + game.airship.groundY + kAirshipDeckHeight - w.y) < 6.0f)) return;
    const float push = 1.0f + parallax;
    const float s = view.scale;
    const Vector2 q{view.w / 2.0f + (w.x - view.centre.x) * s * push,
                    view.h / 2.0f + ((w.z - view.centre.y) * s - game.tower.dockLift() * s) * push};
    DrawDockMarker(q, game.clock);
}

void DrawPlayer(const Game& game, Vector2 p, float scale) {
    const Vector3 f = game.player.forward();
    DrawPlayerFigure(p, frame::FigureSize(scale), frame::FigureAxesFor(f.x, f.z), game.weapon);
}

// Shots leave the drawn figure, which stands raised by the render lift (a
// tower floor), so their traces and the flash are raised with it.
void DrawShots(const Game& game, const FrameView& view) {
    const float lift = game.renderLift;
    for (const ShotTrace& shot : game.shots) {
        DrawShotTrace(view.ProjectLifted(shot.from.x, shot.from.z, lift),
                      view.ProjectLifted(shot.to.x, shot.to.z, lift), shot.life);
    }
    if (game.flashTimer > 0.0f) {
        DrawMuzzleFlash(view.ProjectLifted(game.muzzlePoint.x, game.muzzlePoint.z, lift), game.flashTimer);
    }
}

}  // namespace

void Game::Draw() {
    const int width = GetScreenWidth();
    const int height = GetScreenHeight();

    if (!world) {
        DrawMenuBackdrop(width, height);
        BeginUiPass(width);
        menu.Draw(settings);
        EndMode2D();
        return;
    }

    const Atmosphere& atmosphere = world->atmosphere;
    const float t = world->worldTime;
    const float a = AirshipAltitudeFraction(airship.altitude);
    const bool onDeck = airship.OnDeck(player.feet);

    FrameView view{static_cast<float>(width), static_cast<float>(height), viewZoom, Vector2{viewCenter.x, viewCenter.z},
                   Vector3{}};
    if (onDeck) {
        const Vector2 sway = frame::DeckSway(t);
        view.centre.x += sway.x;
        view.centre.y += sway.y;
    }
    const Vector2 jolt = frame::ShakeOffset(shake, view.scale, clock);
    view.centre.x += jolt.x;
    view.centre.y += jolt.y;
    view.centre3 = Vector3{view.centre.x, viewCenter.y, view.centre.y};
    const Vector2 c = view.centre;
    const Vector3 c3 = view.centre3;
    const float s = view.scale;
    const Color tint = frame::GroundTint(atmosphere.lightColor, a);

    screenFx.BeginCapture();
    ClearBackground(atmosphere.fogColor);
    world->Draw2D(c, s, tint);
    if (!inTower) home.DrawGround(c3, s, tint);
    world->DrawTrees2D(c, s, tint);
    world->DrawItems2D(c, s);
    // The tower's shadow, roof and dock marker belong to the view from
    // outside; inside, its lit floor is drawn further down instead.
    if (!inTower) {
        home.Draw(c3, s, tint);
        if (tower.floorCount > 0) {
            const float parallax = frame::TowerParallax(a);
            tower.DrawShadow(c3, s, atmosphere);
            tower.DrawExterior(c3, s, tint, parallax);
            DrawTowerDockMarker(*this, view, parallax);
        }
    }
    DrawCamps(c3, s);
    DrawMarauders(c3, s);
    airship.DrawShadow(c3, s, atmosphere);
    airship.DrawGondola(c3, s, atmosphere);
    airship.DrawCanopyShadow(c3, s, atmosphere);
    if (inTower) {
        tower.DrawFloor(c3, s, tint);
        tower.DrawLight(c3, s, atmosphere);
    } else {
        airship.DrawCanopy(c3, s, atmosphere);
    }

    const Vector3 eye = player.position();
    const Vector2 playerPoint = view.ProjectLifted(eye.x, eye.z, renderLift);
    DrawPlayer(*this, playerPoint, s);
    DrawShots(*this, view);

    screenFx.DrawAerial(t, c, s);
    DrawRectangle(0, 0, width, height, Fade(atmosphere.fogColor, frame::HazeAlpha(a)));
    screenFx.DrawFog(atmosphere, s);
    screenFx.EndCapture();
    PresentOpaque(screenFx);

    screenFx.DrawWeather(atmosphere, t);
    const frame::FrostInputs frost{atmosphere.temperature, warmth, onDeck, airship.cabinTemp, gameOver};
    screenFx.DrawFrost(frame::FrostIntensity(frost), t);

    if (!piloting && !inventoryOpen && !menu.open && !gameOver && weapon == WeaponKind::Pistol && !onDeck) {
        DrawLineEx(playerPoint, input.mouse, 1.0f, Fade(WHITE, 0.55f));
    }

    BeginUiPass(width);
    if (menu.open) {
        menu.Draw(settings);
    } else if (worldMap.open) {
        worldMap.Draw(*world, home, tower, input.mouse);
    } else {
        DrawHud();
        if (inventoryOpen) DrawInventory();
        if (gameOver) DrawEndOverlay(frame::EndState{wonOverlay, settlementFroze, froze});
    }
    EndMode2D();
}

// The hover uses the frame's input record, the same mouse the clicks test.
void Game::DrawInventory() const {
    DrawInventoryWindow(inventory, ToUiSpace(input.mouse, GetScreenWidth()));
}
