// file_io.cpp: bounded reads of regular files only, and the file writes that
// never leave a half-written file behind. POSIX calls on Linux (with raylib's
// log for a folder that could not be synced), the C runtime and Win32 on
// Windows.
#include "game/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>

#include "raylib.h"
#endif

namespace {

#if defined(_WIN32)

std::wstring Widen(const std::string& text) {
    // The C runtime's narrow file names are in the ANSI code page.
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

std::wstring FinalPath(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    if (length >= path.size()) {
        path.resize(length);
        length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    }
    path.resize(length < path.size() ? length : 0);
    return path;
}

// Whether the open handle is the file at `path` itself rather than something
// a link there leads to. Windows opens a link as itself (the handle is opened
// with FILE_FLAG_OPEN_REPARSE_POINT), but Wine shows a link to a file as a
// plain file and opens its target: there the final path names the target.
// Unknown (a file system without final paths) counts as itself.
bool IsItsOwnName(HANDLE handle, const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring leaf = slash == std::wstring::npos ? path : path.substr(slash + 1);
    std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
    HANDLE folderHandle = CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folderHandle == INVALID_HANDLE_VALUE) {
        return true;
    }
    std::wstring expected = FinalPath(folderHandle);
    CloseHandle(folderHandle);
    const std::wstring actual = FinalPath(handle);
    if (expected.empty() || actual.empty()) {
        return true;
    }
    if (expected.back() != L'\\') {
        expected += L'\\';
    }
    expected += leaf;
    return CompareStringOrdinal(expected.c_str(), static_cast<int>(expected.size()), actual.c_str(),
                                static_cast<int>(actual.size()), TRUE) == CSTR_EQUAL;
}

// Removes the file or link at the name, read-only or not; a link goes as a
// link and its target stays. A folder stays, and so does anything that
// cannot be told apart from its target.
void RemoveStale(const std::string& path) {
    const std::wstring wide = Widen(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (wide.empty() || attributes == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return;
    }
    HANDLE handle = CreateFileW(wide.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return;
    }
    if (IsItsOwnName(handle, wide)) {
        // A read-only file cannot be deleted: clear the flag on the file (or
        // link) itself first.
        FILE_BASIC_INFO basic{};
        if (GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) &&
            (basic.FileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
            basic.FileAttributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
            if (basic.FileAttributes == 0) {
                basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
            }
            SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic);
        }
        FILE_DISPOSITION_INFO disposition{};
        disposition.DeleteFile = TRUE;
        SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition);
    }
    CloseHandle(handle);
}

#endif

// Forces the written bytes of an open file out to the disk.
bool SyncToDisk(std::FILE* file) {
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// Puts the complete temporary in the place of the file, replacing whatever
// file or link holds that name, and makes the change itself durable: a power
// cut after this keeps the new file, not the old one or none. A folder sync
// that fails is logged; the new file is in place all the same.
bool MoveIntoPlace(const std::string& temporary, const std::string& path) {
#if defined(_WIN32)
    const std::wstring from = Widen(temporary);
    const std::wstring to = Widen(path);
    return !from.empty() && !to.empty() &&
           MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        return false;
    }
    // The new name lives in the folder: it is on the disk once the folder is.
    const std::string parent = std::filesystem::path(path).parent_path().string();
    const std::string folder = parent.empty() ? "." : parent;
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = fd >= 0 && fsync(fd) == 0;
    if (fd >= 0) {
        close(fd);
    }
    if (!synced) {
        TraceLog(LOG_WARNING, "FILEIO: [%s] File saved, but its folder could not be synced to disk", path.c_str());
    }
    return true;
#endif
}

// Removes whatever file or link holds the name, then creates a new empty file
// there, failing if anything got in between: an existing file or link is
// never opened, let alone written through. A folder of that name stays.
std::FILE* CreateFresh(const std::string& path) {
#if defined(_WIN32)
    RemoveStale(path);
    const int fd = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "wb");
    if (file == nullptr) {
        _close(fd);
    }
#else
    unlink(path.c_str());
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        close(fd);
    }
#endif
    return file;
}

// Opens the file for reading only when it is a regular file; -1 otherwise.
// The name is looked at before it is opened, since opening a device can do
// something of its own, and what was opened is checked again, in case the
// name changed in between.
int OpenRegular(const std::string& path) {
#if defined(_WIN32)
    struct _stat64 status {};
    if (_stat64(path.c_str(), &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG) {
        return -1;
    }
    const int fd = _open(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (fd < 0) {
        return -1;
    }
    if (_fstat64(fd, &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG) {
        _close(fd);
        return -1;
    }
#else
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return -1;
    }
    // Non-blocking to the end: a pipe put there in between cannot hold the
    // open, and a file that passes for a regular one but whose read would
    // wait (as root, a link to the kernel log) fails its read at once. Files
    // on a disk take no notice of the flag and read in full.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        return -1;
    }
#endif
    return fd;
}

// Bytes read, 0 at the end of the file, or -1 on a read error (one that
// would wait included).
long ReadSome(int fd, uint8_t* into, std::size_t want) {
#if defined(_WIN32)
    return _read(fd, into, static_cast<unsigned>(want));
#else
    for (;;) {
        const ssize_t got = read(fd, into, want);
        if (got >= 0 || errno != EINTR) {
            return static_cast<long>(got);
        }
    }
#endif
}

void CloseFd(int fd) {
#if defined(_WIN32)
    _close(fd);
#else
    close(fd);
#endif
}

}  // namespace

bool WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string temporary = path + ".tmp";
    std::FILE* file = CreateFresh(temporary);
    if (file == nullptr) {
        return false;
    }
    bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = written && std::fflush(file) == 0 && SyncToDisk(file);
    written = (std::fclose(file) == 0) && written;

    if (written && MoveIntoPlace(temporary, path)) {
        return true;
    }
    std::error_code error;
    std::filesystem::remove(temporary, error);
    return false;
}

bool ReadFilePrefix(const std::string& path, std::size_t limit, std::vector<uint8_t>& bytes) {
    const int fd = OpenRegular(path);
    if (fd < 0) {
        return false;
    }
    bytes.clear();
    uint8_t chunk[65536];
    bool ok = true;
    while (bytes.size() < limit) {
        const long got = ReadSome(fd, chunk, std::min(sizeof chunk, limit - bytes.size()));
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    CloseFd(fd);
    return ok;
}

bool NothingAt(const std::string& path) {
    // The name is followed through links: one that leads nowhere is no file.
#if defined(_WIN32)
    // Opened for its attributes only, which a device such as NUL allows too.
    HANDLE handle = CreateFileW(Widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
#else
    struct stat status {};
    return stat(path.c_str(), &status) != 0 && errno == ENOENT;
#endif
}
