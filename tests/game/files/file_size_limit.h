// file_size_limit.h: a full disk for file-writing tests. While it lives, no
// regular file of this process may grow past the given size; a write beyond
// it fails (EFBIG) instead of ending the process. POSIX only. And a write
// that cannot even begin: no file can be opened, or on Windows the file is
// held open as another program would hold it.
#pragma once
#include <fstream>
#include <string>

#if !defined(_WIN32)
#include <csignal>

#include <sys/resource.h>
#endif

namespace testfiles {

#if !defined(_WIN32)
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old;
        limit.rlim_cur = bytes;
        applied = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool Applied() const { return applied; }

private:
    rlimit old{};
    void (*oldHandler)(int) = SIG_DFL;
    bool applied = false;
};
#endif

// While it lives, a replacing write of `path` fails before anything is in
// place: on POSIX this process may open no more files (root included), so
// no temporary can be made; on Windows the file is held open without leave
// to delete it, longer than a writer waits for such a hold to end, so
// nothing can be moved over it.
class WriteBlocked {
public:
    explicit WriteBlocked(const std::string& path) {
#if defined(_WIN32)
        held.open(path, std::ios::binary);
#else
        (void)path;
        getrlimit(RLIMIT_NOFILE, &old);
        rlimit none = old;
        none.rlim_cur = 0;
        setrlimit(RLIMIT_NOFILE, &none);
#endif
    }
#if !defined(_WIN32)
    ~WriteBlocked() {
        setrlimit(RLIMIT_NOFILE, &old);
    }
#endif
    WriteBlocked(const WriteBlocked&) = delete;
    WriteBlocked& operator=(const WriteBlocked&) = delete;

private:
#if defined(_WIN32)
    std::ifstream held;  // the file, open as another program would hold it
#else
    rlimit old{};  // the limit to restore
#endif
};

}  // namespace testfiles
