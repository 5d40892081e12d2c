// game_fixture.h: how a test builds the one game object, with or without a
// window: in a fresh temporary working directory of its own (settings.ini and
// savegame.dat live there, so tests run side by side), with no KIRN_ variable
// left over, its log lines captured, and frames driven by hand-filled input
// records. Builds on Linux and Windows alike.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/platform/input.h"
#include "game/platform/window.h"
#include "raylib.h"
#include "support/set_env.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace testgame {

// A new empty directory under the system's temporary folder; empty when none
// could be made.
inline std::filesystem::path MakeTempDir() {
    std::random_device random;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = "palewick-game-" + std::to_string(now) + "-" + std::to_string(random()) + "-" +
                                 std::to_string(attempt);
        const std::filesystem::path dir = std::filesystem::temp_directory_path() / name;
        std::error_code error;
        if (std::filesystem::create_directory(dir, error)) {
            return dir;
        }
    }
    return {};
}

using testsupport::SetEnv;

// The text as the game writes a text file on this system ("settings.ini"):
// its lines end in CR LF on Windows.
inline std::string AsTextFile(const std::string& text) {
#ifdef _WIN32
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
#else
    return text;
#endif
}

// Moves into a new empty directory for its lifetime, then back; the directory
// is removed afterwards.
class ScopedWorkDir {
public:
    ScopedWorkDir() {
        previous = std::filesystem::current_path();
        dir = MakeTempDir();
        if (!dir.empty()) {
            std::filesystem::current_path(dir);
        }
    }
    ~ScopedWorkDir() {
        std::error_code ignored;
        std::filesystem::current_path(previous, ignored);
        if (!dir.empty()) {
            std::filesystem::remove_all(dir, ignored);
        }
    }
    ScopedWorkDir(const ScopedWorkDir&) = delete;
    ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;

    const std::filesystem::path& Path() const { return dir; }
    bool Exists(const std::string& name) const { return std::filesystem::exists(dir / name); }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(dir / name, std::ios::binary) << text;
    }
    std::string Read(const std::string& name) const {
        std::ifstream file(dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path previous;
    std::filesystem::path dir;
};

// Sets one environment variable (null: unsets it) and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* variable, const char* value) : name(variable) {
        if (const char* old = std::getenv(variable)) {
            hadOld = true;
            oldValue = old;
        }
        SetEnv(variable, value);
    }
    ~ScopedEnv() { SetEnv(name.c_str(), hadOld ? oldValue.c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name;
    bool hadOld = false;
    std::string oldValue;
};

// Unsets every KIRN_ variable, so that only a test's own ScopedEnv counts.
inline void ClearKirnVariables() {
#ifdef _WIN32
    char** const variables = _environ;
#else
    char** const variables = environ;
#endif
    std::vector<std::string> names;
    for (char** e = variables; e != nullptr && *e != nullptr; ++e) {
        const std::string entry = *e;
        if (entry.rfind("KIRN_", 0) == 0) {
            names.push_back(entry.substr(0, entry.find('=')));
        }
    }
    for (const std::string& n : names) {
        SetEnv(n.c_str(), nullptr);
    }
}

// Collects raylib's log lines at info level while it lives.
class LogCapture {
public:
    LogCapture() {
        Clear();
        SetTraceLogCallback(&LogCapture::Collect);
        SetTraceLogLevel(LOG_INFO);
    }
    ~LogCapture() {
        SetTraceLogLevel(LOG_WARNING);
        SetTraceLogCallback(nullptr);
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    static std::vector<std::string>& Lines() {
        static std::vector<std::string> lines;
        return lines;
    }
    // How many lines equal the text exactly.
    int Count(const std::string& line) const {
        int n = 0;
        for (const std::string& l : Lines()) {
            n += l == line ? 1 : 0;
        }
        return n;
    }
    bool Has(const std::string& line) const { return Count(line) > 0; }
    // The lines logged as warnings or worse, in order.
    static std::vector<std::string>& Warnings() {
        static std::vector<std::string> lines;
        return lines;
    }
    void Clear() {
        Lines().clear();
        Warnings().clear();
    }

private:
    static void Collect(int level, const char* format, va_list args) {
        char buffer[2048];
        std::vsnprintf(buffer, sizeof buffer, format, args);
        Lines().emplace_back(buffer);
        if (level >= LOG_WARNING) {
            Warnings().emplace_back(buffer);
        }
    }
};

// An input record with these keys going down in this frame.
inline FrameInput Keys(std::initializer_list<int> pressed) {
    FrameInput in;
    for (int key : pressed) {
        in.Press(key);
    }
    return in;
}

// A fresh working directory, no KIRN_ variables, captured log, and a Game
// built on demand. Members are destroyed game first, directory last.
class GameTest : public ::testing::Test {
protected:
    static constexpr float kFrame = 1.0f / 60.0f;

    GameTest() { ClearKirnVariables(); }

    void TearDown() override {
        game.reset();
        window::EnableCursor();
    }

    // Builds the Game in the working directory (a settings.ini written
    // before this is read by it).
    Game& MakeGame() {
        game = std::make_unique<Game>();
        return *game;
    }
    // Builds the Game with a small render distance (fewer chunks to build),
    // then a new world of the seed.
    Game& MakeWorld(uint32_t seed = 20261113u) {
        workDir.Write("settings.ini", "renderDistance=4\n");
        MakeGame();
        game->StartNewWorld(seed);
        return *game;
    }

    void Frame(const FrameInput& in = FrameInput{}, float dt = kFrame) { game->Update(dt, in); }
    void Press(int key, float dt = kFrame) { Frame(Keys({key}), dt); }

    ScopedWorkDir workDir;
    LogCapture log;
    std::unique_ptr<Game> game;
};

}  // namespace testgame
