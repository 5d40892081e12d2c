// settings_file.cpp: reading and writing "settings.ini" as key=value lines; the
// reader never fails on content, it clamps values and skips what it can't use.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <istream>
#include <sstream>
#include <vector>

#include "game/files/file_io.h"
#include "game/files/settings.h"

namespace {

std::string_view Trim(std::string_view text) {
    constexpr std::string_view kBlank = " \t\r\n";
    const size_t first = text.find_first_not_of(kBlank);
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(kBlank);
    return text.substr(first, last - first + 1);
}

// The leading integer as atoi reads it (0 when there is none), saturated to
// the int range instead of overflowing.
int LeadingInt(std::string_view text) {
    const std::string owned(text);
    const long long v = std::strtoll(owned.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

}  // namespace

void ApplySettingsLine(std::string_view line, GameSettings& settings) {
    const size_t eq = line.find('=');
    if (line.empty() || eq == std::string_view::npos) {
        return;
    }
    const std::string_view key = Trim(line.substr(0, eq));
    const int v = LeadingInt(Trim(line.substr(eq + 1)));
    const int positive = std::max(v, 0);
    if (key == "renderDistance") {
        settings.renderDistance = std::min(std::max(v, cfg::kMinRenderDistance), cfg::kMaxRenderDistance);
    } else if (key == "vsync") {
        settings.vsync = v != 0;
    } else if (key == "fpsLimit") {
        settings.fpsLimit = std::min(positive, cfg::kMaxFpsLimit);
    } else if (key == "fxaa") {
        settings.fxaa = v != 0;
    } else if (key == "windowMode") {
        settings.windowMode = v <= 0 ? 0 : (v == 1 ? 1 : 2);
    } else if (key == "resolution") {
        settings.resolution = std::min(positive, cfg::kResolutionCount - 1);
    }
}

void ReadSettings(std::istream& in, GameSettings& settings) {
    std::string line;
    while (std::getline(in, line)) {
        ApplySettingsLine(line, settings);
    }
}

std::string SettingsText(const GameSettings& settings) {
    std::ostringstream out;
    out << "renderDistance=" << settings.renderDistance << '\n'
        << "vsync=" << (settings.vsync ? 1 : 0) << '\n'
        << "fpsLimit=" << settings.fpsLimit << '\n'
        << "fxaa=" << (settings.fxaa ? 1 : 0) << '\n'
        << "windowMode=" << settings.windowMode << '\n'
        << "resolution=" << settings.resolution << '\n';
    return out.str();
}

SettingsLoad LoadSettingsFile(const std::string& path, GameSettings& settings) {
    // One byte past the limit tells a longer file, whose line cut by the
    // limit is dropped rather than read short.
    std::vector<uint8_t> bytes;
    if (!ReadFilePrefix(path, cfg::kMaxSettingsFileBytes + 1, bytes)) {
        return NothingAt(path) ? SettingsLoad::Missing : SettingsLoad::Unreadable;
    }
    std::string text(bytes.begin(), bytes.end());
    // A Windows editor may begin the file with a byte-order mark: UTF-8's is
    // skipped; a UTF-16 file is not text this reader can take.
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        return SettingsLoad::Unreadable;
    }
    if (text.size() > cfg::kMaxSettingsFileBytes) {
        text.resize(cfg::kMaxSettingsFileBytes);
        const std::size_t lastBreak = text.find_last_of('\n');
        text.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
    }
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.erase(0, 3);
    }
    std::istringstream in(text);
    ReadSettings(in, settings);
    return SettingsLoad::Loaded;
}

bool SaveSettingsFile(const std::string& path, const GameSettings& settings) {
    // Written aside and renamed into place like the save, so a failed write
    // never leaves the player without settings; lines end as a text file's
    // do on this system.
    std::vector<uint8_t> bytes;
    for (char c : SettingsText(settings)) {
#if defined(_WIN32)
        if (c == '\n') {
            bytes.push_back('\r');
        }
#endif
        bytes.push_back(static_cast<uint8_t>(c));
    }
    return WriteFileReplacing(path, bytes);
}
