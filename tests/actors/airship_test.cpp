// airship_test.cpp: the airship's hull layout, deck surfaces, stations, wall
// push-out, stocks, restored values and the flight, heat and canopy model.
#include "actors/airship.h"

#include <cmath>
#include <climits>
#include <limits>
#include <gtest/gtest.h>
#include "actors/ship_test_support.h"
#include "world/world.h"

namespace {

using shiptest::ShipPoint;

constexpr float kHalfPi = 1.5707964f;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class AirshipTest : public ::testing::Test {
protected:
    void SetUp() override { ship.Reset({100.0f, -40.0f}, 0.0f, world); }
    float Base() const { return ship.groundY + ship.altitude; }

    World world{shiptest::kSeed};
    Airship ship;
};

int CountKind(const Airship& ship, HullKind kind) {
    int count = 0;
    for (int r = 0; r < kHullRows; ++r) {
        for (int c = 0; c < kHullColumns; ++c) count += ship.blockAt(c, r) == kind ? 1 : 0;
    }
    return count;
}

// ---- layout -------------------------------------------------------------------

TEST_F(AirshipTest, HullLayoutHasTheFittingsWhereTheyBelong) {
    EXPECT_EQ(CountKind(ship, HullKind::Propeller), 2);
    EXPECT_EQ(CountKind(ship, HullKind::Engine), 2);
    EXPECT_EQ(CountKind(ship, HullKind::Wall), 54);
    EXPECT_EQ(CountKind(ship, HullKind::Gangway), 4);
    EXPECT_EQ(CountKind(ship, HullKind::Deck), 96);
    EXPECT_EQ(CountKind(ship, HullKind::Helm), 1);
    EXPECT_EQ(CountKind(ship, HullKind::Furnace), 1);
    EXPECT_EQ(CountKind(ship, HullKind::CoalBunker), 1);
    EXPECT_EQ(CountKind(ship, HullKind::Empty), 287);

    EXPECT_EQ(ship.blockAt(0, 5), HullKind::Propeller);
    EXPECT_EQ(ship.blockAt(1, 10), HullKind::Engine);
    EXPECT_EQ(ship.blockAt(0, 6), HullKind::Empty);
    EXPECT_EQ(ship.blockAt(1, 6), HullKind::Wall);
    EXPECT_EQ(ship.blockAt(26, 9), HullKind::Wall);
    EXPECT_EQ(ship.blockAt(0, 7), HullKind::Gangway);
    EXPECT_EQ(ship.blockAt(1, 8), HullKind::Gangway);
    EXPECT_EQ(ship.blockAt(25, 7), HullKind::Helm);
    EXPECT_EQ(ship.blockAt(14, 8), HullKind::Furnace);
    EXPECT_EQ(ship.blockAt(17, 8), HullKind::CoalBunker);
    EXPECT_EQ(ship.blockAt(27, 8), HullKind::Deck);
    EXPECT_EQ(ship.blockAt(27, 7), HullKind::Empty);
    EXPECT_EQ(ship.blockAt(27, 5), HullKind::Empty);

    EXPECT_FLOAT_EQ(ship.cells[5][0].surfaceHeight, 3.4f);
    EXPECT_FLOAT_EQ(ship.cells[5][1].surfaceHeight, 3.2f);
    EXPECT_FLOAT_EQ(ship.cells[8][17].surfaceHeight, 3.0f);
    EXPECT_FLOAT_EQ(ship.cells[0][0].surfaceHeight, 0.0f);
}

TEST(HullKinds, LettersAndFlags) {
    EXPECT_EQ(HullKindFromLetter('C'), HullKind::DarkDeck);
    EXPECT_EQ(HullKindFromLetter('H'), HullKind::LowWall);
    EXPECT_EQ(HullKindFromLetter('X'), HullKind::Crate);
    EXPECT_EQ(HullKindFromLetter('B'), HullKind::Empty);
    EXPECT_EQ(HullKindFromLetter('d'), HullKind::Empty);
    EXPECT_FLOAT_EQ(HullSurfaceHeight(HullKind::LowWall), 2.8f);

    EXPECT_TRUE(HullWalkable(HullKind::DarkDeck));
    EXPECT_TRUE(HullWalkable(HullKind::Helm));
    EXPECT_FALSE(HullWalkable(HullKind::Furnace));
    EXPECT_FALSE(HullSolid(HullKind::Empty));
    EXPECT_FALSE(HullSolid(HullKind::Gangway));
    EXPECT_TRUE(HullSolid(HullKind::LowWall));
    EXPECT_TRUE(HullSolid(static_cast<HullKind>(12)));
    EXPECT_TRUE(HullSolid(static_cast<HullKind>(255)));
}

TEST_F(AirshipTest, GridQueriesAnswerOutsideTheGrid) {
    EXPECT_EQ(ship.blockAt(-1, 7), HullKind::Empty);
    EXPECT_EQ(ship.blockAt(28, 8), HullKind::Empty);
    EXPECT_EQ(ship.blockAt(5, 16), HullKind::Empty);
    EXPECT_EQ(ship.blockAt(5, INT_MIN), HullKind::Empty);
    EXPECT_FALSE(ship.isSolid(-1, 5));
    EXPECT_FALSE(ship.isWalkable(28, 8));
    EXPECT_TRUE(ship.isWalkable(0, 7));
    EXPECT_TRUE(ship.isSolid(14, 8));
}

TEST_F(AirshipTest, ResetKeepsTheCellsAndRestoresDefaults) {
    ship.cells[8][2].kind = HullKind::Crate;
    ship.coal = 3;
    ship.fuel = 1.0f;
    ship.altitude = 20.0f;
    ship.canopyAlpha = 0.3f;
    ship.propPhase = 9.0f;
    ship.Reset({5.0f, 6.0f}, 0.5f, world);
    EXPECT_EQ(ship.cells[8][2].kind, HullKind::Crate);
    EXPECT_EQ(ship.coal, 20);
    EXPECT_FLOAT_EQ(ship.fuel, 30.0f);
    EXPECT_FLOAT_EQ(ship.altitude, 0.0f);
    EXPECT_FLOAT_EQ(ship.canopyAlpha, 1.0f);
    EXPECT_FLOAT_EQ(ship.propPhase, 0.0f);
    EXPECT_FLOAT_EQ(ship.heading, 0.5f);
    EXPECT_FLOAT_EQ(ship.groundY, world.gen.Height(5.0f, 6.0f));
}

TEST_F(AirshipTest, StopAndSetPositionTouchOnlyTheirFields) {
    ship.RestoreState(80.0f, 12, 0.7f, 110.0f, 20.0f, 15.0f, 9.0f);
    ship.SetControlInputs(1.0f, -1.0f, 0.5f);
    ship.turnRate = 0.3f;
    ship.heading = 0.9f;
    ship.Stop();
    EXPECT_EQ(ship.throttle, 0.0f);
    EXPECT_EQ(ship.speed, 0.0f);
    EXPECT_EQ(ship.turnRate, 0.0f);
    EXPECT_EQ(ship.throttleInput, 0.0f);
    EXPECT_EQ(ship.turnInput, 0.0f);
    EXPECT_EQ(ship.climbInput, 0.5f) << "climbing goes on while stopped";
    EXPECT_EQ(ship.altitude, 9.0f);
    EXPECT_EQ(ship.heading, 0.9f);
    EXPECT_EQ(ship.fuel, 80.0f);

    ship.SetControlInputs(0.4f, 0.2f, 0.1f);
    ship.SetPosition({-250.0f, 610.0f}, world);
    EXPECT_EQ(ship.pos.x, -250.0f);
    EXPECT_EQ(ship.pos.y, 610.0f);
    EXPECT_EQ(ship.groundY, world.gen.Height(-250.0f, 610.0f));
    EXPECT_EQ(ship.heading, 0.9f);
    EXPECT_EQ(ship.altitude, 9.0f);
    EXPECT_EQ(ship.throttleInput, 0.4f);
    EXPECT_EQ(ship.coal, 12);

    ship.SetPosition({kNaN, 610.0f}, world);
    EXPECT_EQ(ship.pos.x, 0.0f);
    EXPECT_EQ(ship.pos.y, 610.0f);
    EXPECT_TRUE(std::isfinite(ship.groundY));
}

// ---- surfaces and points --------------------------------------------------------

TEST_F(AirshipTest, SurfacesAtHeadingZero) {
    ship.SetAltitude(4.0f);
    float h = -1.0f;
    ASSERT_TRUE(ship.SurfaceAt(ShipPoint(ship, 23.0f, -1.0f, 0.0f), h));
    EXPECT_FLOAT_EQ(h, Base() + 2.35f);
    ASSERT_TRUE(ship.SurfaceAt(ShipPoint(ship, -27.0f, 1.0f, 500.0f), h));
    EXPECT_FLOAT_EQ(h, Base() + 1.0f);
    ASSERT_TRUE(ship.SurfaceAt(ShipPoint(ship, 27.0f, 1.0f, 0.0f), h));
    EXPECT_FLOAT_EQ(h, Base() + 2.2f);

    h = -1.0f;
    EXPECT_FALSE(ship.SurfaceAt(ShipPoint(ship, 1.0f, 1.0f, 0.0f), h));
    EXPECT_FALSE(ship.SurfaceAt(ShipPoint(ship, 27.0f, -1.0f, 0.0f), h));
    EXPECT_FALSE(ship.SurfaceAt(ShipPoint(ship, 40.0f, 1.0f, 0.0f), h));
    EXPECT_FLOAT_EQ(h, -1.0f) << "a refused query leaves the height untouched";
}

TEST_F(AirshipTest, SurfacesTurnWithTheHeading) {
    // At heading pi/2 the bow points along +z and starboard along -x.
    ship.Reset({100.0f, -40.0f}, kHalfPi, world);
    const float px = ship.pos.x;
    const float pz = ship.pos.y;
    float h = 0.0f;
    ASSERT_TRUE(ship.SurfaceAt({px + 1.0f, 0.0f, pz + 23.0f}, h));
    EXPECT_FLOAT_EQ(h, Base() + 2.35f);
    ASSERT_TRUE(ship.SurfaceAt({px - 1.0f, 0.0f, pz - 27.0f}, h));
    EXPECT_FLOAT_EQ(h, Base() + 1.0f);
    ASSERT_TRUE(ship.SurfaceAt({px - 1.0f, 0.0f, pz + 27.0f}, h));
    EXPECT_FLOAT_EQ(h, Base() + 2.2f);
    EXPECT_FALSE(ship.SurfaceAt({px - 1.0f, 0.0f, pz + 1.0f}, h));
    EXPECT_FALSE(ship.SurfaceAt({px + 1.0f, 0.0f, pz + 27.0f}, h));
    EXPECT_FALSE(ship.SurfaceAt({px + 27.0f, 0.0f, pz + 1.0f}, h));
}

TEST_F(AirshipTest, StandPointsAndSpawnsAtHeadingHalfPi) {
    ship.Reset({100.0f, -40.0f}, kHalfPi, world);
    ship.SetAltitude(7.0f);
    const float px = ship.pos.x;
    const float pz = ship.pos.y;
    const float eye = Base() + 2.2f + 1.7f;
    struct Expected {
        Vector3 got;
        Vector3 want;
    };
    const Expected points[] = {
        {ship.HelmStandPoint(), {px + 1.0f, eye, pz + 21.0f}},
        {ship.FurnaceStandPoint(), {px - 1.0f, eye, pz + 3.0f}},
        {ship.CoalStandPoint(), {px - 1.0f, eye, pz + 5.0f}},
        {ship.FurnacePoint(), {px - 1.0f, eye, pz + 1.0f}},
        {ship.CoalBunkerPoint(), {px - 1.0f, eye, pz + 7.0f}},
        {ship.DeckSpawn(), {px - 1.0f, eye, pz - 21.0f}},
        {ship.GroundSpawn(), {px, ship.groundY + 1.7f, pz - 33.0f}},
        {ship.CellPoint(25, 7), {px + 1.0f, eye, pz + 23.0f}},
    };
    for (const Expected& p : points) {
        EXPECT_NEAR(p.got.x, p.want.x, 1e-4f);
        EXPECT_FLOAT_EQ(p.got.y, p.want.y);
        EXPECT_NEAR(p.got.z, p.want.z, 1e-4f);
    }
    const Vector2 centre = ship.CellCenterWorld(14, 8);
    EXPECT_NEAR(centre.x, px - 1.0f, 1e-4f);
    EXPECT_NEAR(centre.y, pz + 1.0f, 1e-4f);

    // Every stand point and the deck spawn lie on walkable cells.
    float h = 0.0f;
    for (const Vector3 stand :
         {ship.HelmStandPoint(), ship.FurnaceStandPoint(), ship.CoalStandPoint(), ship.DeckSpawn()}) {
        EXPECT_TRUE(ship.SurfaceAt(stand, h));
    }
}

TEST_F(AirshipTest, LocalFrameRoundTrips) {
    ship.Reset({-300.5f, 812.25f}, 2.3f, world);
    const Vector2 local = {-17.5f, 4.25f};
    const Vector2 w = ship.WorldFromLocal(local);
    const Vector2 back = ship.LocalFromWorld({w.x, 99.0f, w.y});
    EXPECT_NEAR(back.x, local.x, 1e-3f);
    EXPECT_NEAR(back.y, local.y, 1e-3f);
}

TEST_F(AirshipTest, PointsAtTheGridEdgeNeverIndexOutside) {
    ship.Reset({0.0f, 0.0f}, 0.0f, world);
    float h = 0.0f;
    // A hair short of the bow or starboard edge rounds onto column 28 or row 16.
    EXPECT_FALSE(ship.SurfaceAt({std::nextafter(28.0f, 0.0f), 0.0f, 1.0f}, h));
    EXPECT_FALSE(ship.SurfaceAt({1.0f, 0.0f, std::nextafter(16.0f, 0.0f)}, h));
    EXPECT_TRUE(ship.SurfaceAt({-28.0f, 0.0f, 1.0f}, h)) << "the stern edge is column 0";
    EXPECT_FALSE(ship.SurfaceAt({1e30f, 0.0f, 1e30f}, h));
    EXPECT_FALSE(ship.SurfaceAt({kNaN, 0.0f, 0.0f}, h));
    EXPECT_EQ(ship.NearestStation({kNaN, 0.0f, kNaN}), AirshipStation::None);
}

TEST_F(AirshipTest, DeckAndCanopyTests) {
    const float deck = Base() + 2.2f;
    EXPECT_TRUE(ship.OnDeck(ShipPoint(ship, 10.0f, 1.0f, deck + 2.5f)));
    EXPECT_TRUE(ship.OnDeck(ShipPoint(ship, 10.0f, 1.0f, deck - 2.5f)));
    EXPECT_FALSE(ship.OnDeck(ShipPoint(ship, 10.0f, 1.0f, deck + 2.7f)));
    EXPECT_FALSE(ship.OnDeck(ShipPoint(ship, 1.0f, 1.0f, deck)));

    EXPECT_TRUE(ship.UnderCanopy(ShipPoint(ship, 54.0f, 0.0f, 900.0f)));
    EXPECT_TRUE(ship.UnderCanopy(ShipPoint(ship, 0.0f, -12.0f, 0.0f)));
    EXPECT_FALSE(ship.UnderCanopy(ShipPoint(ship, 54.1f, 0.0f, 0.0f)));
    EXPECT_FALSE(ship.UnderCanopy(ShipPoint(ship, 40.0f, 9.0f, 0.0f)));
}

// ---- stations -------------------------------------------------------------------

TEST_F(AirshipTest, NearestStationReachAndTies) {
    const float px = ship.pos.x;
    const float pz = ship.pos.y;
    // Exactly 3 from the furnace (1, 1) and the coal bunker (7, 1): the lower id stays.
    EXPECT_EQ(ship.NearestStation({px + 4.0f, 0.0f, pz + 1.0f}), AirshipStation::Furnace);
    EXPECT_EQ(ship.NearestStation({px + 6.0f, 0.0f, pz + 1.0f}), AirshipStation::CoalBunker);
    EXPECT_EQ(ship.NearestStation({px + 23.0f, 50.0f, pz - 1.0f}), AirshipStation::Helm);
    EXPECT_EQ(ship.NearestStation({px + 23.0f, 0.0f, pz + 2.19f}), AirshipStation::Helm);
    EXPECT_EQ(ship.NearestStation({px + 23.0f, 0.0f, pz + 2.2f}), AirshipStation::None);
    EXPECT_EQ(ship.NearestStation({px - 10.0f, 0.0f, pz}), AirshipStation::None);
}

TEST_F(AirshipTest, NearestStationTurnsWithTheShip) {
    ship.Reset({100.0f, -40.0f}, kHalfPi, world);
    EXPECT_EQ(ship.NearestStation({ship.pos.x + 1.0f, 0.0f, ship.pos.y + 23.0f}), AirshipStation::Helm);
    EXPECT_EQ(ship.NearestStation({ship.pos.x - 1.0f, 0.0f, ship.pos.y + 7.0f}), AirshipStation::CoalBunker);
}

// ---- walls ----------------------------------------------------------------------

TEST_F(AirshipTest, WallsPushOutOfTheFurnaceTowardTheStern) {
    const float y = Base() + 2.2f;
    const Vector3 out = ship.ResolveWalls(ShipPoint(ship, 1.0f, 1.0f, y), 0.42f);
    EXPECT_NEAR(out.x, ship.pos.x - 0.42f, 1e-4f);
    EXPECT_FLOAT_EQ(out.z, ship.pos.y + 1.0f);
    EXPECT_FLOAT_EQ(out.y, y);

    // Turned, a point off the tie still leaves by the stern-side face.
    ship.Reset({100.0f, -40.0f}, kHalfPi, world);
    const Vector3 turned = ship.ResolveWalls(ShipPoint(ship, 0.5f, 1.0f, y), 0.42f);
    EXPECT_NEAR(turned.x, ship.pos.x - 1.0f, 1e-4f);
    EXPECT_NEAR(turned.z, ship.pos.y - 0.42f, 1e-4f);
}

TEST_F(AirshipTest, WallsPushOutwardBesideTheHull) {
    const float y = Base();
    // Just outside the port wall (row 5 starts at local z -6): pushed to -6 - radius.
    const Vector3 out = ship.ResolveWalls(ShipPoint(ship, 10.0f, -6.2f, y), 0.42f);
    EXPECT_NEAR(out.z, ship.pos.y - 6.42f, 1e-4f);
    EXPECT_FLOAT_EQ(out.x, ship.pos.x + 10.0f);
    // Open deck away from every solid cell stays where it is.
    const Vector3 deck = ShipPoint(ship, 5.0f, 3.0f, y + 2.2f);
    const Vector3 same = ship.ResolveWalls(deck, 0.42f);
    EXPECT_FLOAT_EQ(same.x, deck.x);
    EXPECT_FLOAT_EQ(same.z, deck.z);
}

TEST_F(AirshipTest, WallsLeaveFarPointsExactlyWhereTheyAre) {
    ship.Reset({5000.0f, 5000.0f}, 0.7f, world);
    const Vector3 p = {210.3f, ship.BaseHeight(), 330.1f};
    const Vector3 out = ship.ResolveWalls(p, 0.42f);
    EXPECT_EQ(out.x, p.x);
    EXPECT_EQ(out.z, p.z);
}

TEST_F(AirshipTest, WallsExistOnlyInTheirHeightBand) {
    ship.SetAltitude(10.0f);
    const float base = Base();
    for (const float y : {base + 5.0f, base - 3.0f}) {
        const Vector3 p = ShipPoint(ship, 1.0f, 1.0f, y);
        const Vector3 out = ship.ResolveWalls(p, 0.42f);
        EXPECT_EQ(out.x, p.x);
        EXPECT_EQ(out.z, p.z);
    }
    for (const float y : {base + 4.7f, base - 2.5f}) {
        const Vector3 out = ship.ResolveWalls(ShipPoint(ship, 1.0f, 1.0f, y), 0.42f);
        EXPECT_NEAR(out.x, ship.pos.x - 0.42f, 1e-4f);
    }
}

// ---- stocks ---------------------------------------------------------------------

TEST_F(AirshipTest, FuelStopsAtTheFullMark) {
    ship.fuel = 118.0f;
    EXPECT_TRUE(ship.AddFuel(15.0f));
    EXPECT_FLOAT_EQ(ship.fuel, 120.0f);

    ship.fuel = 119.0f;
    EXPECT_FALSE(ship.AddFuel(15.0f));
    EXPECT_FLOAT_EQ(ship.fuel, 119.0f);
    EXPECT_FALSE(ship.AddCoalToFurnace());

    ship.fuel = 50.0f;
    EXPECT_FALSE(ship.AddFuel(0.0f));
    EXPECT_FALSE(ship.AddFuel(-5.0f));
    EXPECT_FALSE(ship.AddFuel(kNaN));
    EXPECT_FLOAT_EQ(ship.fuel, 50.0f);
    EXPECT_TRUE(ship.AddFuel(5.0f));
    EXPECT_FLOAT_EQ(ship.fuel, 55.0f);

    ship.coal = 7;
    EXPECT_TRUE(ship.AddCoalToFurnace());
    EXPECT_FLOAT_EQ(ship.fuel, 70.0f);
    EXPECT_EQ(ship.coal, 7) << "the bunker is not touched";
}

TEST_F(AirshipTest, CoalBunkerLimits) {
    ship.coal = 40;
    EXPECT_FALSE(ship.DepositCoal(1));
    ship.coal = 39;
    EXPECT_TRUE(ship.DepositCoal(1));
    EXPECT_EQ(ship.coal, 40);
    EXPECT_FALSE(ship.DepositCoal(INT_MAX)) << "no overflow past the limit";
    EXPECT_FALSE(ship.DepositCoal(0));

    ship.coal = 0;
    EXPECT_FALSE(ship.WithdrawCoal(1));
    EXPECT_FALSE(ship.WithdrawCoal(0));
    EXPECT_FALSE(ship.WithdrawCoal(-3));
    ship.coal = 5;
    EXPECT_TRUE(ship.WithdrawCoal(5));
    EXPECT_EQ(ship.coal, 0);
}

// ---- restored and damaged values ------------------------------------------------

TEST_F(AirshipTest, RestoreClampsAndKeepsThePlacement) {
    ship.Reset({100.0f, -40.0f}, 1.25f, world);
    const Vector2 pos = ship.pos;
    ship.SetControlInputs(1.0f, -1.0f, 1.0f);
    ship.turnRate = 0.4f;
    ship.RestoreState(500.0f, 99, 3.0f, 400.0f, -90.0f, 50.0f, 80.0f);
    EXPECT_FLOAT_EQ(ship.fuel, 120.0f);
    EXPECT_EQ(ship.coal, 40);
    EXPECT_FLOAT_EQ(ship.throttle, 1.0f);
    EXPECT_FLOAT_EQ(ship.furnaceTemp, 140.0f);
    EXPECT_FLOAT_EQ(ship.cabinTemp, -50.0f);
    EXPECT_FLOAT_EQ(ship.speed, 22.0f);
    EXPECT_FLOAT_EQ(ship.altitude, 35.0f);
    EXPECT_FLOAT_EQ(ship.throttleInput, 0.0f);
    EXPECT_FLOAT_EQ(ship.turnInput, 0.0f);
    EXPECT_FLOAT_EQ(ship.climbInput, 0.0f);
    EXPECT_FLOAT_EQ(ship.turnRate, 0.0f);
    EXPECT_EQ(ship.pos.x, pos.x);
    EXPECT_EQ(ship.pos.y, pos.y);
    EXPECT_FLOAT_EQ(ship.heading, 1.25f);

    ship.RestoreState(-1.0f, -4, -1.0f, -400.0f, 90.0f, -3.0f, -2.0f);
    EXPECT_FLOAT_EQ(ship.fuel, 0.0f);
    EXPECT_EQ(ship.coal, 0);
    EXPECT_FLOAT_EQ(ship.throttle, 0.0f);
    EXPECT_FLOAT_EQ(ship.furnaceTemp, -50.0f);
    EXPECT_FLOAT_EQ(ship.cabinTemp, 40.0f);
    EXPECT_FLOAT_EQ(ship.speed, 0.0f);
    EXPECT_FLOAT_EQ(ship.altitude, 0.0f);
}

TEST_F(AirshipTest, NonFiniteRestoredValuesTakeTheResetValues) {
    ship.RestoreState(kNaN, 10, kNaN, kInf, -kInf, kNaN, kNaN);
    EXPECT_FLOAT_EQ(ship.fuel, 30.0f);
    EXPECT_FLOAT_EQ(ship.throttle, 0.0f);
    EXPECT_FLOAT_EQ(ship.furnaceTemp, 20.0f);
    EXPECT_FLOAT_EQ(ship.cabinTemp, 18.0f);
    EXPECT_FLOAT_EQ(ship.speed, 0.0f);
    EXPECT_FLOAT_EQ(ship.altitude, 0.0f);
}

TEST_F(AirshipTest, NonFinitePlacementTakesTheResetValues) {
    ship.Reset({kNaN, kInf}, kNaN, world);
    EXPECT_FLOAT_EQ(ship.heading, 0.0f);
    EXPECT_FLOAT_EQ(ship.pos.x, 0.0f);
    EXPECT_FLOAT_EQ(ship.pos.y, 0.0f);
    EXPECT_TRUE(std::isfinite(ship.groundY));
    EXPECT_TRUE(std::isfinite(ship.DeckSpawn().y));

    ship.Reset({10.0f, 10.0f}, -kInf, world);
    EXPECT_FLOAT_EQ(ship.heading, 0.0f);

    ship.SetAltitude(kNaN);
    EXPECT_FLOAT_EQ(ship.altitude, 0.0f);
    ship.SetAltitude(50.0f);
    EXPECT_FLOAT_EQ(ship.altitude, 35.0f);

    ship.SetControlInputs(kNaN, 3.0f, -kInf);
    EXPECT_FLOAT_EQ(ship.throttleInput, 0.0f);
    EXPECT_FLOAT_EQ(ship.turnInput, 1.0f);
    EXPECT_FLOAT_EQ(ship.climbInput, 0.0f);
}

// ---- flight and heat --------------------------------------------------------------

TEST_F(AirshipTest, ColdShipSinksAndIgnoresItsControls) {
    world.atmosphere.temperature = -40.0f;
    ship.RestoreState(0.0f, 20, 0.0f, 20.0f, 18.0f, 0.0f, 10.0f);
    ship.SetControlInputs(1.0f, 1.0f, 1.0f);

    ship.Update(0.1f, false, world);
    // Cools toward -40 + 8 at 0.012 * (1 + 0.8) per second.
    EXPECT_NEAR(ship.furnaceTemp, 20.0f + (-32.0f - 20.0f) * (0.0216f * 0.1f), 1e-5f);
    EXPECT_NEAR(ship.altitude, 9.85f, 1e-5f);
    EXPECT_FLOAT_EQ(ship.throttle, 0.0f);
    EXPECT_FLOAT_EQ(ship.speed, 0.0f);
    EXPECT_FLOAT_EQ(ship.heading, 0.0f);
    EXPECT_FLOAT_EQ(ship.fuel, 0.0f);

    for (int i = 0; i < 9; ++i) ship.Update(0.1f, false, world);
    EXPECT_NEAR(ship.altitude, 8.5f, 1e-4f);
    for (int i = 0; i < 100; ++i) ship.Update(0.1f, false, world);
    EXPECT_FLOAT_EQ(ship.altitude, 0.0f);
    EXPECT_FLOAT_EQ(ship.throttle, 0.0f);
    EXPECT_FLOAT_EQ(ship.heading, 0.0f);
}

TEST_F(AirshipTest, ColdShipCoastsToAStopAndLosesItsRudder) {
    world.atmosphere.temperature = -40.0f;
    ship.RestoreState(0.0f, 20, 0.0f, 20.0f, 18.0f, 10.0f, 5.0f);
    ship.turnRate = 0.5f;
    const float x0 = ship.pos.x;
    ship.Update(0.1f, false, world);
    EXPECT_NEAR(ship.speed, 10.0f - 10.0f * 0.0065f, 1e-5f);
    EXPECT_NEAR(ship.turnRate, 0.5f - 0.5f * 0.035f, 1e-6f);
    EXPECT_GT(ship.pos.x, x0);
    EXPECT_FLOAT_EQ(ship.groundY, world.gen.Height(ship.pos.x, ship.pos.y));
    // Cold propellers idle at 1.5 rad/s but follow a throttle left open.
    const float phase = ship.propPhase;
    ship.speed = 0.0f;
    ship.throttle = 1.0f;
    ship.Update(0.1f, false, world);
    EXPECT_NEAR(ship.propPhase - phase, (1.5f + 22.0f) * 0.1f, 1e-5f);
    EXPECT_FLOAT_EQ(ship.throttle, 1.0f);
}

TEST_F(AirshipTest, BurnRatesAtRestAndAtFullSpeed) {
    world.atmosphere.temperature = -40.0f;
    ship.RestoreState(30.0f, 20, 0.0f, 20.0f, 18.0f, 0.0f, 0.0f);
    ship.Update(1.0f, false, world);
    EXPECT_NEAR(ship.fuel, 29.92f, 1e-5f);

    ship.RestoreState(120.0f, 20, 1.0f, 140.0f, 18.0f, 22.0f, 10.0f);
    ship.Update(0.5f, false, world);
    EXPECT_NEAR(ship.fuel, 120.0f - 0.83f * 0.5f, 1e-4f);

    ship.RestoreState(0.01f, 20, 0.0f, 20.0f, 18.0f, 0.0f, 0.0f);
    ship.Update(0.5f, false, world);
    EXPECT_FLOAT_EQ(ship.fuel, 0.0f);
    EXPECT_LT(ship.furnaceTemp, 20.0f) << "an empty furnace cools toward the air";
}

TEST_F(AirshipTest, FurnaceAndCabinWarmUp) {
    world.atmosphere.temperature = -40.0f;
    ship.RestoreState(60.0f, 20, 0.0f, 20.0f, 18.0f, 0.0f, 0.0f);
    ship.Update(0.1f, false, world);
    // Up toward 95 at 0.055 * (1 - 0.45 * 0.8) per second.
    EXPECT_NEAR(ship.furnaceTemp, 20.0f + 75.0f * (0.0352f * 0.1f), 1e-4f);
    // Cabin target: min(26, -32 + 22 + 0.45 * (furnace - 20)) is below 18: it cools at 0.01.
    const float target = -32.0f + 22.0f + 0.45f * (ship.furnaceTemp - 20.0f);
    EXPECT_NEAR(ship.cabinTemp, 18.0f + (target - 18.0f) * 0.001f, 1e-5f);

    ship.RestoreState(60.0f, 20, 0.0f, 140.0f, 18.0f, 0.0f, 0.0f);
    ship.Update(0.1f, false, world);
    EXPECT_NEAR(ship.cabinTemp, 18.0f + 8.0f * 0.0018f, 1e-5f) << "target capped at 26";
}

TEST_F(AirshipTest, HotShipReachesFullSpeedAndTurns) {
    world.atmosphere.temperature = -40.0f;
    ship.RestoreState(120.0f, 20, 1.0f, 140.0f, 18.0f, 0.0f, 10.0f);
    ship.SetControlInputs(0.0f, 1.0f, 0.0f);
    const Vector2 start = ship.pos;
    for (int i = 0; i < 3600; ++i) ship.Update(1.0f / 60.0f, false, world);
    EXPECT_GT(ship.speed, kAirshipMaxSpeed - 0.1f);
    EXPECT_LE(ship.speed, kAirshipMaxSpeed);
    EXPECT_NEAR(ship.turnRate, 0.6f, 0.01f);
    EXPECT_GE(ship.furnaceTemp, 130.0f) << "a hot furnace settles toward 130 at full throttle";
    EXPECT_FLOAT_EQ(ship.altitude, 10.0f);
    EXPECT_GT(std::hypot(ship.pos.x - start.x, ship.pos.y - start.y), 10.0f);
    EXPECT_FLOAT_EQ(ship.groundY, world.gen.Height(ship.pos.x, ship.pos.y));
    // Roughly a minute at up to 0.83 per second.
    EXPECT_LT(ship.fuel, 120.0f - 0.63f * 60.0f + 1.0f);
    EXPECT_GT(ship.fuel, 120.0f - 0.83f * 60.0f);
}

TEST_F(AirshipTest, HotShipClimbsAndOpensTheThrottle) {
    world.atmosphere.temperature = -40.0f;
    ship.RestoreState(100.0f, 20, 0.0f, 100.0f, 18.0f, 0.0f, 33.0f);
    ship.SetControlInputs(1.0f, 0.0f, 1.0f);
    ship.Update(0.25f, false, world);
    EXPECT_FLOAT_EQ(ship.altitude, 34.5f);
    EXPECT_FLOAT_EQ(ship.throttle, 0.125f);
    ship.Update(0.25f, false, world);
    EXPECT_FLOAT_EQ(ship.altitude, 35.0f);
    ship.SetControlInputs(-1.0f, 0.0f, -1.0f);
    for (int i = 0; i < 4; ++i) ship.Update(0.25f, false, world);
    EXPECT_FLOAT_EQ(ship.throttle, 0.0f);
    EXPECT_FLOAT_EQ(ship.altitude, 29.0f);
}

TEST_F(AirshipTest, CanopyFadesInAboutOnePointTwoSeconds) {
    const float dt = 1.0f / 120.0f;
    int frames = 0;
    while (ship.canopyAlpha != 0.3f && frames < 1000) {
        ship.Update(dt, true, world);
        ++frames;
    }
    EXPECT_GT(frames, 138);  // not before 1.15 s
    EXPECT_LE(frames, 144);  // by 1.2 s
    EXPECT_EQ(ship.canopyAlpha, 0.3f);

    const int fadeInFrames = frames;
    frames = 0;
    while (ship.canopyAlpha != 1.0f && frames < 1000) {
        ship.Update(dt, false, world);
        ++frames;
    }
    EXPECT_GT(frames, 138);
    EXPECT_LE(frames, 144);
    EXPECT_NEAR(ship.time, static_cast<float>(fadeInFrames + frames) * dt, 1e-4f);
}

}  // namespace
