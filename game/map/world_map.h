// world_map.h: the full-screen map window: a shaded terrain picture of the
// 2800 x 2800 units around home, the landmarks on it and a sidebar listing them.
// The picture is computed on the CPU (RenderMapTerrain) and uploaded apart.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "raylib.h"
#include "world/worldgen.h"

class World;
class HomeSettlement;
class Building;

enum class MapMarkerKind : int {
    Home = 0,
    Tower = 1,
    Village = 2,
    Town = 3,
    City = 4,
    Ruins = 5,
};

// One landmark on the map.
struct MapMarker {
    Vector2 position;  // world x/z
    MapMarkerKind kind;
    std::string label;  // empty: the kind's name
    float radius;       // world units; 0 draws no ring
};

// Which markers the mouse lights up in one frame: every marker that became the
// nearest so far (within 18 px) is highlighted; the last of them is hovered.
struct MapHover {
    std::vector<bool> highlighted;  // per marker, in list order
    int hovered = -1;
};

// The map window. It keeps its picture and landmarks between openings and
// rebuilds them only when the home moves or another world is loaded; it reads
// the home's and the tower's public fields and calls nothing of theirs.
class WorldMap {
public:
    WorldMap() = default;
    ~WorldMap();
    WorldMap(const WorldMap&) = delete;
    WorldMap& operator=(const WorldMap&) = delete;

    void Open();
    void Close();
    void Toggle();

    // The whole window for one frame (nothing while closed). mouse is the
    // cursor in window pixels; the map maps it into the 1600 x 900 UI space.
    void Draw(const World& world, const HomeSettlement& home, const Building& tower, Vector2 mouse);
    // Rebuilds picture and landmarks when the home moved, the seed changed or
    // there is no picture yet.
    void Refresh(const World& world, const HomeSettlement& home, const Building& tower);
    // Builds and uploads the picture around centre; records seed and centre.
    void BuildTerrain(const World& world, Vector2 centre);
    void AddMarker(Vector2 position, MapMarkerKind kind, const std::string& label, float radius);
    void ClearMarkers();

    Vector2 ToScreen(Vector2 world, const Rectangle& field) const;
    void DrawField(const Rectangle& field) const;
    void DrawMarker(const MapMarker& marker, const Rectangle& field, bool highlighted) const;
    void DrawSidebar(const Rectangle& window, Vector2 home, int hovered) const;

    bool open = false;
    uint32_t seed = 0;
    bool built = false;
    Vector2 center = {0.0f, 0.0f};
    Texture2D terrain{};
    std::vector<MapMarker> markers;
};

// Side of the square terrain picture, in pixels.
inline constexpr int kMapImageSize = 224;
// World units the picture covers edge to edge.
inline constexpr float kMapWorldSpan = 2800.0f;

// The shaded terrain picture (224 x 224, RGBA) around centre; the caller
// unloads it with UnloadImage.
Image RenderMapTerrain(const WorldGen& gen, Vector2 centre);

// The landmarks of a map centred on home: the home, the tower when it exists,
// then the settlements within 1400 (but not within 140) nearest first.
std::vector<MapMarker> CollectMapMarkers(const World& world, Vector2 home, const Building& tower);

// The drawing pass of a kind: 0 for the settlement kinds (above Tower), 1 for
// Home and Tower, -1 for kinds that are never drawn (values below Home).
int MapMarkerPass(MapMarkerKind kind);

// The hover state for a mouse point in UI space, walking the markers in
// drawing order (settlements first, then home and tower).
MapHover HoverMarkers(const WorldMap& map, const Rectangle& field, Vector2 mouse);

// The kind's display name and colour (unknown kinds: "НЕИЗВЕСТНО", grey).
const char* MapMarkerName(MapMarkerKind kind);
Color MapMarkerColor(MapMarkerKind kind);
