// program_run.h: runs the real game executable in a fresh temporary working
// directory with chosen debug variables, and reads back its exit status and
// log. A driver, steps of driver.sh (its pid is in $GAME), may drive the
// running game; a step it could not confirm fails the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace programtest {

namespace fs = std::filesystem;

inline std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The text as one single-quoted shell word.
inline std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

class ProgramRun : public ::testing::Test {
protected:
    ProgramRun() {
        std::string pattern = (fs::temp_directory_path() / "palewick-run-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            dir = pattern;
        }
    }
    ~ProgramRun() override {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }

    // Runs the game with only the given debug variables (each "NAME=value";
    // any KIRN_ variable of the test's own environment is removed) until it
    // ends by itself or the driver ends it; a guard of 90 s stops a hung game.
    void Run(const std::string& variables, const std::string& driver = "") {
        ASSERT_FALSE(dir.empty());
        std::string script = "cd " + Quote(dir.string()) + " || exit 1; rm -f driver.fail; ";
        script += "env $(env | grep -o '^KIRN_[A-Z_]*' | sed 's/^/-u /') " + variables + " timeout 90 " +
                  Quote(PALEWICK_EXE) + " > game.log 2>&1 & GAME=$!; ";
        if (!driver.empty()) {
            script += "( . " + Quote(PALEWICK_SOURCE_DIR "/tests/program/driver.sh") + "; " + driver + " ); ";
        }
        script += "wait $GAME; echo $? > exit.code";
        // The shared test display now and then refuses a new connection
        // outright; that says nothing of the game, so such a run is made
        // once more. A game that cannot open a display twice still fails.
        for (int attempt = 0; attempt < 2; ++attempt) {
            ASSERT_EQ(std::system(("bash -c " + Quote(script)).c_str()), 0);
            log = ReadFile(dir / "game.log");
            if (log.find("Failed to open display") == std::string::npos) break;
            std::fprintf(stderr, "program test: the display refused the game (attempt %d)\n", attempt + 1);
        }
        exitCode = std::atoi(ReadFile(dir / "exit.code").c_str());
        EXPECT_EQ(ReadFile(dir / "driver.fail"), "") << log;
        lines.clear();
        std::istringstream text(log);
        std::string l;
        while (std::getline(text, l)) {
            // raylib's prefix ("INFO: ") comes first, the game's line after it.
            const std::size_t at = l.find(": ");
            lines.push_back(at == std::string::npos ? l : l.substr(at + 2));
        }
    }

    bool LogHasLine(const std::string& line) const {
        for (const std::string& l : lines) {
            if (l == line) return true;
        }
        return false;
    }

    // Index of the first game log line starting with the text, or -1.
    int Find(const std::string& start) const {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].rfind(start, 0) == 0) return static_cast<int>(i);
        }
        return -1;
    }

    fs::path dir;
    std::string log;
    std::vector<std::string> lines;
    int exitCode = -1;
};

}  // namespace programtest
