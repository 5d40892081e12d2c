// held_file.h: a file held open by another thread for a while, as on
// Windows a virus scanner, an indexer or a second copy of the game in the
// middle of its save holds a file for a moment. Windows only.
#pragma once
#if defined(_WIN32)
#include <string>
#include <thread>

// Only the system's base calls: the whole of <windows.h> would clash with
// raylib's names (CloseWindow, ShowCursor, Rectangle).
#include <windef.h>
#include <winbase.h>

namespace testfiles {

// How the file is held: the access taken and what others may do meanwhile.
struct Hold {
    const char* what;  // for the test's messages
    DWORD access;      // the holder's access
    DWORD share;       // the sharing it grants others; no leave to delete in either kind below
};

// A scanner that lets nobody else open the file while it looks.
inline constexpr Hold kScannerHold{"a scanner's", GENERIC_READ, 0};
// A writer that has just renamed its file into place, until its flush is done.
inline constexpr Hold kWriterHold{"a writer's", GENERIC_WRITE | DELETE, FILE_SHARE_READ};

// Holds the file from its construction until `milliseconds` have passed
// (INFINITE: until it is destroyed), then lets go from its own thread.
class HeldFile {
public:
    HeldFile(const std::string& path, const Hold& hold, DWORD milliseconds)
        : handle(CreateFileA(path.c_str(), hold.access, hold.share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr)),
          stop(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          releaser([this, milliseconds] {
              WaitForSingleObject(stop, milliseconds);
              if (Held()) {
                  CloseHandle(handle);
              }
          }) {}
    ~HeldFile() {
        SetEvent(stop);
        releaser.join();
        CloseHandle(stop);
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    // Whether the file could be opened at all.
    bool Held() const { return handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle;         // the file, open until the time has passed
    HANDLE stop;           // set to let go at once
    std::thread releaser;  // waits out the hold, then closes the file
};

}  // namespace testfiles
#endif
