// file_io.cpp: bounded reads of regular files only, and the file writes that
// never leave a half-written file behind, even with several processes
// writing one file. POSIX calls on Linux (with raylib's log for a folder that
// could not be synced), the C runtime and Win32 on Windows.
#include "game/files/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <string_view>

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
#include <dirent.h>
#include <sys/file.h>
#include <unistd.h>

#include "raylib.h"
#endif

namespace {

// Every writer puts its bytes in a temporary of its own beside the file,
// "<name>.<process id>-<number>.tmp", created new and held open until it has
// been moved into place, so writers in several processes never share one.
// Each write first clears the temporaries of writers that are gone (and the
// fixed "<name>.tmp" of earlier versions): one that is still held belongs to
// a live writer and stays.
constexpr int kCreateAttempts = 64;  // fresh names tried before a write gives up

std::atomic<unsigned long long> temporaryCount{0};  // numbers this process's temporaries

// The folder part of the path, with its last separator; empty for a bare name.
std::string FolderPrefix(const std::string& path) {
#if defined(_WIN32)
    const std::size_t slash = path.find_last_of("\\/");
#else
    const std::size_t slash = path.rfind('/');
#endif
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Whether the folder entry is one of the file's temporaries: "<leaf>.tmp"
// or "<leaf>.<digits>-<digits>.tmp".
bool IsTemporaryOf(std::string_view entry, std::string_view leaf) {
    constexpr std::string_view kSuffix = ".tmp";
    if (entry.size() < leaf.size() + kSuffix.size() || entry.substr(0, leaf.size()) != leaf ||
        entry.substr(entry.size() - kSuffix.size()) != kSuffix) {
        return false;
    }
    if (entry.size() == leaf.size() + kSuffix.size()) {
        return true;
    }
    // What lies between "<leaf>." and ".tmp".
    const std::string_view middle = entry.substr(leaf.size() + 1, entry.size() - leaf.size() - 1 - kSuffix.size());
    const std::size_t dash = middle.find('-');
    const auto digits = [](std::string_view text) {
        return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return entry[leaf.size()] == '.' && dash != std::string_view::npos && digits(middle.substr(0, dash)) &&
           digits(middle.substr(dash + 1));
}

std::string TemporaryName(const std::string& path, unsigned long processId) {
    return path + "." + std::to_string(processId) + "-" + std::to_string(temporaryCount++) + ".tmp";
}

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

// Another process may hold a file for a moment (a virus scanner checking a
// new save, an indexer, a second copy of the game in the middle of its own
// save) and so refuse an open or a rename with a sharing violation or access
// denied. Such a refusal is tried again after a pause that grows each time,
// about a second in all, before it counts as a failure.
constexpr int kRefusedRetries = 10;  // tries after the first refused one
constexpr DWORD kRetryStepMs = 18;   // the n-th retry waits n times this: 990 ms in all

// Called after a call on `name` failed: waits before its next try and tells
// whether to try again. Not when it failed for another reason, when the
// tries are spent, or when what holds the name has one of the `lasting`
// attributes (a folder, a read-only file), which refuses for good. The wait
// runs on the game's one thread: while another process holds the file, the
// frame stands still, for up to 990 ms (about a second) of pauses for each
// open or rename, before the call counts as a failure.
bool WaitOutRefusal(const std::wstring& name, DWORD lasting, int& retry) {
    const DWORD error = GetLastError();
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || retry >= kRefusedRetries) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & lasting) != 0) {
        return false;
    }
    ++retry;
    Sleep(kRetryStepMs * static_cast<DWORD>(retry));
    return true;
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

// Whether a device (NUL, CON, a port) answers to the name: a write never
// replaces one. Opened for its attributes only, which touches no device.
bool DeviceAt(const std::string& path) {
    const std::wstring wide = Widen(path);
    HANDLE handle = wide.empty() ? INVALID_HANDLE_VALUE
                                 : CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                               nullptr, OPEN_EXISTING,
                                               FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool device = GetFileType(handle) == FILE_TYPE_CHAR;
    CloseHandle(handle);
    return device;
}

// Clears the temporaries of writers that are gone. A live writer holds its
// temporary open without leave to delete it, so RemoveStale cannot take it.
void ClearDeadTemporaries(const std::string& path) {
    const std::string folder = FolderPrefix(path);
    const std::string leaf = path.substr(folder.size());
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileExA((path + ".*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    std::vector<std::string> names;
    do {
        if (IsTemporaryOf(found.cFileName, leaf)) {
            names.push_back(folder + found.cFileName);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    for (const std::string& name : names) {
        RemoveStale(name);
    }
}

struct Temporary {
    std::string name;                      // its path
    HANDLE handle = INVALID_HANDLE_VALUE;  // open, without leave for others to delete it, until it is in place
};

bool CreateTemporary(const std::string& path, Temporary& temporary) {
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        temporary.name = TemporaryName(path, GetCurrentProcessId());
        const std::wstring wide = Widen(temporary.name);
        if (wide.empty()) {
            return false;
        }
        // A new file only: whatever holds the name, a link included, is never opened.
        temporary.handle = CreateFileW(wide.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
        if (temporary.handle != INVALID_HANDLE_VALUE) {
            return true;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            return false;
        }
    }
    return false;
}

// Writes the bytes and forces them out to the disk.
bool WriteTemporary(const Temporary& temporary, const std::vector<uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, std::size_t{1} << 20));
        DWORD wrote = 0;
        if (!WriteFile(temporary.handle, bytes.data() + done, want, &wrote, nullptr) || wrote == 0) {
            return false;
        }
        done += wrote;
    }
    return FlushFileBuffers(temporary.handle) != 0;
}

// Renames the open temporary over the file, replacing a file or link that
// holds the name (a folder stays and the move fails), and flushes it again
// so that the move is on the disk too; it is in place either way. A file
// that another process holds refuses the rename until it lets go: that is
// waited out briefly; a folder or a read-only file there refuses for good.
bool MoveIntoPlace(const Temporary& temporary, const std::string& path) {
    const std::wstring wide = Widen(path);
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = wide.empty() ? 0
                                : GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (length == 0 || length >= full.size()) {
        return false;
    }
    full.resize(length);
    std::vector<uint8_t> buffer(sizeof(FILE_RENAME_INFO) + full.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(full.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, full.c_str(), (full.size() + 1) * sizeof(wchar_t));
    for (int retry = 0;
         !SetFileInformationByHandle(temporary.handle, FileRenameInfo, rename, static_cast<DWORD>(buffer.size()));) {
        if (!WaitOutRefusal(wide, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY, retry)) {
            return false;
        }
    }
    FlushFileBuffers(temporary.handle);
    return true;
}

// Closes the temporary, removing it first unless it is in place.
void CloseTemporary(const Temporary& temporary, bool remove) {
    if (remove) {
        FILE_DISPOSITION_INFO disposition{};
        disposition.DeleteFile = TRUE;
        SetFileInformationByHandle(temporary.handle, FileDispositionInfo, &disposition, sizeof disposition);
    }
    CloseHandle(temporary.handle);
}

// Opens the file for reading through Win32, whose error tells a refusal
// apart. Shared for writing and deleting as well: a writer holds the file it
// has just put in place with leave to delete it, and a reader that did not
// share that would be refused. A refusal by another process's hold is waited
// out briefly; a folder refuses for good.
HANDLE OpenForReading(const std::string& path) {
    const std::wstring wide = Widen(path);
    if (wide.empty()) {
        return INVALID_HANDLE_VALUE;
    }
    for (int retry = 0;;) {
        HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE || !WaitOutRefusal(wide, FILE_ATTRIBUTE_DIRECTORY, retry)) {
            return handle;
        }
    }
}

#else

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether a character or block device holds the name: a write never
// replaces one (as root, KIRN_SCREENSHOT=/dev/null would take the system's).
bool DeviceAt(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 && (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode));
}

// Removes a temporary whose writer is gone. A link, a FIFO, a socket or a
// device there is removed as itself, never opened; a folder stays. A file is
// opened and locked first: its writer holds the lock until the file is in
// place (the system drops it when the writer dies), so a lock taken means
// nobody writes it any more, provided the name still leads to that file.
// One this user may not open (no read permission, another user's) stays:
// nothing else proves its writer gone, a process id in its name included.
void RemoveIfDead(const std::string& name) {
    struct stat seen {};
    if (lstat(name.c_str(), &seen) != 0 || S_ISDIR(seen.st_mode)) {
        return;
    }
    if (!S_ISREG(seen.st_mode)) {
        unlink(name.c_str());
        return;
    }
    const int fd = open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat held {};
    if (fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        lstat(name.c_str(), &seen) == 0 && SameFile(seen, held)) {
        unlink(name.c_str());
    }
    close(fd);
}

void ClearDeadTemporaries(const std::string& path) {
    const std::string folder = FolderPrefix(path);
    const std::string leaf = path.substr(folder.size());
    DIR* listing = opendir(folder.empty() ? "." : folder.c_str());
    if (listing == nullptr) {
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(listing)) {
        if (IsTemporaryOf(entry->d_name, leaf)) {
            names.push_back(folder + entry->d_name);
        }
    }
    closedir(listing);
    for (const std::string& name : names) {
        RemoveIfDead(name);
    }
}

struct Temporary {
    std::string name;  // its path
    int fd = -1;       // open and locked until it is in place
};

bool CreateTemporary(const std::string& path, Temporary& temporary) {
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        temporary.name = TemporaryName(path, static_cast<unsigned long>(getpid()));
        // A new file only: whatever holds the name, a link included, is never opened.
        const int fd = open(temporary.name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST || errno == EINTR) {
                continue;
            }
            return false;
        }
        // Locked before anything is written. Another writer's clear-up may
        // have taken it for a dead writer's in the instant before: then it
        // holds the lock or the name is gone, and a fresh name is tried. A
        // file system without locks is written unlocked; its temporaries are
        // then never cleared as dead, which is safe.
        const bool locked = flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
        struct stat held {};
        struct stat seen {};
        if (locked && fstat(fd, &held) == 0 && lstat(temporary.name.c_str(), &seen) == 0 && SameFile(held, seen)) {
            temporary.fd = fd;
            return true;
        }
        close(fd);
    }
    return false;
}

// Writes the bytes and forces them out to the disk.
bool WriteTemporary(const Temporary& temporary, const std::vector<uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(temporary.fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return fsync(temporary.fd) == 0;
}

// Renames the temporary over the file, replacing a file, link, FIFO or
// socket that holds the name (a folder stays and the rename fails), and
// makes the change itself durable: the new name lives in the folder, so it
// is on the disk once the folder is. A folder sync that fails is logged;
// the new file is in place all the same.
bool MoveIntoPlace(const Temporary& temporary, const std::string& path) {
    if (rename(temporary.name.c_str(), path.c_str()) != 0) {
        return false;
    }
    const std::string folder = FolderPrefix(path);
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = fd >= 0 && fsync(fd) == 0;
    if (fd >= 0) {
        close(fd);
    }
    if (!synced) {
        TraceLog(LOG_WARNING, "FILEIO: [%s] File saved, but its folder could not be synced to disk", path.c_str());
    }
    return true;
}

// Closes the temporary, and so drops its lock, removing it first unless it
// is in place: still locked, the name is surely this writer's own.
void CloseTemporary(const Temporary& temporary, bool remove) {
    if (remove) {
        unlink(temporary.name.c_str());
    }
    close(temporary.fd);
}

#endif

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
    const HANDLE handle = OpenForReading(path);
    if (handle == INVALID_HANDLE_VALUE) {
        return -1;
    }
    // Not inherited (the handle was made so) and read as raw bytes.
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
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
    if (DeviceAt(path)) {
        return false;
    }
    ClearDeadTemporaries(path);
    Temporary temporary;
    if (!CreateTemporary(path, temporary)) {
        return false;
    }
    // Looked at again just before the move, which nothing else would stop.
    const bool placed = WriteTemporary(temporary, bytes) && !DeviceAt(path) && MoveIntoPlace(temporary, path);
    CloseTemporary(temporary, !placed);
    return placed;
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
