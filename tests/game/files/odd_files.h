// odd_files.h: things the game cannot read, put where it expects a file (a
// FIFO, a folder, a link to an endless device or to the kernel log, a file
// without read permission, the Windows NUL device), a runner that stops a
// check which waits, so that a reader or writer that waits fails its test
// instead of hanging it, and a look for temporaries a write left behind.
#pragma once
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#if !defined(_WIN32)
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace testfiles {

struct OddFile {
    const char* what;
    // Makes the thing at `at` (which does not exist yet) and returns the name
    // to read it by; empty when it could not be made.
    std::function<std::string(const std::filesystem::path& at)> make;
    // Read it as a user for whom its permissions hold (root reads any file).
    bool asOtherUser = false;
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
    // Settings a reader must not see.
    kinds.push_back({"file without read permission",
                     [](const std::filesystem::path& at) {
                         std::ofstream(at, std::ios::binary) << "renderDistance=5\nfpsLimit=30\n";
                         return chmod(at.c_str(), 0) == 0 ? at.string() : std::string();
                     },
                     true});
    // A regular file to stat whose read waits for the next kernel message.
    // Only root may open it; the messages waiting now are taken first.
    kinds.push_back({"link to /proc/kmsg", [](const std::filesystem::path& at) {
                         std::error_code error;
                         std::filesystem::create_symlink("/proc/kmsg", at, error);
                         const int kmsg = open("/proc/kmsg", O_RDONLY | O_NONBLOCK);
                         if (kmsg >= 0) {
                             char drain[4096];
                             ssize_t got = 0;
                             do {
                                 got = read(kmsg, drain, sizeof drain);
                             } while (got > 0);
                             close(kmsg);
                         }
                         return error ? std::string() : at.string();
                     }});
#endif
    return kinds;
}

// The names beside `file` that start with its own name and a dot: every
// temporary a write of it may have left, whatever its scheme.
inline std::vector<std::string> TemporariesOf(const std::filesystem::path& file) {
    const std::string prefix = file.filename().string() + ".";
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) == 0) {
            names.push_back(name);
        }
    }
    return names;
}

enum class Outcome { Held, Failed, Waited };

inline void PrintTo(Outcome outcome, std::ostream* out) {
    *out << (outcome == Outcome::Held ? "held" : outcome == Outcome::Failed ? "failed" : "waited");
}

// Runs `check` apart and tells whether it returned true, returned false, or
// had not returned after a few seconds. On POSIX it runs in a child process,
// as an unprivileged user when asked (and when the test runs as root), and
// one that waits is stopped; what it wrote to files stays, nothing else it
// changed does.
inline Outcome CheckWithoutWaiting(const std::function<bool()>& check, bool asOtherUser = false) {
#if defined(_WIN32)
    (void)asOtherUser;
    return check() ? Outcome::Held : Outcome::Failed;
#else
    const pid_t child = fork();
    if (child == 0) {
        if (asOtherUser && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(2);
        }
        _exit(check() ? 0 : 1);
    }
    if (child < 0) {
        return Outcome::Failed;
    }
    int status = 0;
    for (int tick = 0; tick < 100; ++tick) {
        if (waitpid(child, &status, WNOHANG) == child) {
            return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? Outcome::Held : Outcome::Failed;
        }
        usleep(50000);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return Outcome::Waited;
#endif
}

}  // namespace testfiles
