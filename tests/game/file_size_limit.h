// file_size_limit.h: a full disk for file-writing tests. While it lives, no
// regular file of this process may grow past the given size; a write beyond
// it fails (EFBIG) instead of ending the process. POSIX only.
#pragma once
#if !defined(_WIN32)
#include <csignal>

#include <sys/resource.h>

namespace testfiles {

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

}  // namespace testfiles
#endif
