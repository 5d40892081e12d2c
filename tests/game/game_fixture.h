// game_fixture.h: how a GL test builds the one game object: in a fresh
// temporary working directory (settings.ini and savegame.dat live there),
// with no KIRN_ variable left over, its log lines captured, and frames driven
// by hand-filled input records.
#pragma once
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/input.h"
#include "raylib.h"

extern char** environ;

namespace testgame {

// Moves into a new empty directory for its lifetime, then back; the directory
// is removed afterwards.
class ScopedWorkDir {
public:
    ScopedWorkDir() {
        previous = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "palewick-game-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            dir = pattern;
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
        if (value != nullptr) {
            setenv(variable, value, 1);
        } else {
            unsetenv(variable);
        }
    }
    ~ScopedEnv() {
        if (hadOld) {
            setenv(name.c_str(), oldValue.c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name;
    bool hadOld = false;
    std::string oldValue;
};

// Unsets every KIRN_ variable, so that only a test's own ScopedEnv counts.
inline void ClearKirnVariables() {
    std::vector<std::string> names;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (entry.rfind("KIRN_", 0) == 0) {
            names.push_back(entry.substr(0, entry.find('=')));
        }
    }
    for (const std::string& n : names) {
        unsetenv(n.c_str());
    }
}

// Collects raylib's log lines at info level while it lives.
class LogCapture {
public:
    LogCapture() {
        Lines().clear();
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
    void Clear() { Lines().clear(); }

private:
    static void Collect(int /*level*/, const char* format, va_list args) {
        char buffer[2048];
        std::vsnprintf(buffer, sizeof buffer, format, args);
        Lines().emplace_back(buffer);
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
        EnableCursor();
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
