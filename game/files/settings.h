// settings.h: the display settings record, its tables (render distances,
// frame caps; the window sizes are in platform/resolutions.h) and the
// "settings.ini" reader and writer. Pure data and text.
#pragma once
#include <array>
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

#include "game/platform/resolutions.h"

// What the player chose on the settings page; owned by Game.
struct GameSettings {
    int renderDistance = 8;  // chunks kept around the focus, 4..12
    bool vsync = true;
    int fpsLimit = 120;  // target frames per second, 0 = no cap
    bool fxaa = false;   // edge-smoothing pass
    int windowMode = 0;  // 0 windowed, 1 borderless, 2 fullscreen
    int resolution = 2;  // index into cfg::resolutions
};

namespace cfg {

inline constexpr int kMinRenderDistance = 4;
inline constexpr int kMaxRenderDistance = 12;
// The render-distance slider runs over the whole range, one step per chunk.
inline constexpr int kRenderDistanceSteps = kMaxRenderDistance - kMinRenderDistance;
inline constexpr int kMaxFpsLimit = 1000;
// A real file is a few hundred bytes; no more than this is ever read.
inline constexpr std::size_t kMaxSettingsFileBytes = 64 * 1024;

}  // namespace cfg

// Frame caps the settings page steps through; 0 means no cap.
inline constexpr int kFpsValueCount = 9;
inline constexpr std::array<int, kFpsValueCount> kFpsValues{30, 60, 75, 90, 120, 144, 165, 240, 0};

inline constexpr const char* kSettingsFile = "settings.ini";

// Applies one "key=value" line to the settings. Empty lines, lines without
// "=" and unknown keys change nothing; values are clamped to their ranges.
void ApplySettingsLine(std::string_view line, GameSettings& settings);

// Applies every line of the stream in order (a later duplicate wins).
void ReadSettings(std::istream& in, GameSettings& settings);

// The six "key=value" lines, each ending in '\n'.
std::string SettingsText(const GameSettings& settings);

// What reading the settings file came to. Missing: no file at the name (or
// a link that leads nowhere). Unreadable: something is there that could not
// be read: no permission, no regular file (a pipe, a device, a folder), a
// read that would wait, or a file in UTF-16 (its byte-order mark says so);
// none of these is ever waited on.
enum class SettingsLoad { Loaded, Missing, Unreadable };

// Reads the file into the settings, keeping what is there for missing keys.
// Only the lines within its first kMaxSettingsFileBytes are read. Unless the
// file was loaded, nothing is changed.
SettingsLoad LoadSettingsFile(const std::string& path, GameSettings& settings);

// Writes the six lines as a text file of this system (CR LF on Windows) to a
// temporary beside the file and renames it into place. False, with the old
// file untouched, when anything fails.
bool SaveSettingsFile(const std::string& path, const GameSettings& settings);
