// odd_files.h: things that are not regular files, put where the game expects
// one (a FIFO, a folder, a link to an endless device, the Windows NUL device),
// and a guard that frees a read blocked on a FIFO, so that a reader that
// waits fails its test instead of hanging it.
#pragma once
#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <system_error>
#include <vector>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace testfiles {

struct OddFile {
    const char* what;
    // Makes the thing at `at` (which does not exist yet) and returns the name
    // to read it by; empty when it could not be made.
    std::function<std::string(const std::filesystem::path& at)> make;
};

// Every kind this system has.
inline std::vector<OddFile> OddFiles() {
    std::vector<OddFile> kinds;
    kinds.push_back({"folder", [](const std::filesystem::path& at) {
                         std::error_code error;
                         return std::filesystem::create_directory(at, error) ? at.string() : std::string();
                     }});
#if defined(_WIN32)
    kinds.push_back({"NUL device", [](const std::filesystem::path&) { return std::string("NUL"); }});
#else
    kinds.push_back({"FIFO", [](const std::filesystem::path& at) {
                         return mkfifo(at.c_str(), 0600) == 0 ? at.string() : std::string();
                     }});
    kinds.push_back({"link to /dev/zero", [](const std::filesystem::path& at) {
                         std::error_code error;
                         std::filesystem::create_symlink("/dev/zero", at, error);
                         return error ? std::string() : at.string();
                     }});
#endif
    return kinds;
}

// Runs `read` and tells whether it returned within a few seconds by itself.
// One that did not is freed by opening and closing the other end of a FIFO
// at `path` (the end of its input), so the test goes on and fails.
inline bool ReturnsWithoutWaiting(const std::string& path, const std::function<void()>& read) {
    std::future<void> done = std::async(std::launch::async, read);
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) {
        return true;
    }
#if !defined(_WIN32)
    while (done.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
        const int writer = open(path.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            close(writer);
        }
    }
#else
    (void)path;
#endif
    done.wait();
    return false;
}

}  // namespace testfiles
