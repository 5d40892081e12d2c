// file_io.h: the game's file operations, shared by the save, the settings and
// the screenshots: a bounded read that opens only regular files and never
// waits, a write that replaces a file only once the new one is complete and
// on the disk, and a test for a name that holds no file. System calls and
// the C runtime; raylib only for the log.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and
// only then renames it over `path`; on any failure the old file stays as it
// was and the temporary is removed. Each write has a temporary of its own,
// created new (never through a link) and held until it is in place, so any
// number of processes may replace one file at once: each write puts its own
// whole file there or fails, and a reader never sees a part of one. The
// temporaries that writers which died left behind (files, read-only or not,
// links, FIFOs, devices) are removed by the next write, a link as a link,
// never its target; but a file among them that this user may not open (on
// Linux one without read permission for this user, such as another user's)
// stays, since only opening it can show that no writer holds it any more.
// Whatever held `path` itself (a file, a link, a pipe) is replaced by the
// rename, never opened; a folder or a device there stays and the write
// fails. On Windows a rename refused because another process holds the file
// (a virus scanner, an indexer, another writer) is tried again for about a
// second before the write fails. The rename reaches the disk too: the folder
// is synced after it on Linux, and Windows flushes the moved file. A folder
// sync that fails is logged, but the new file is in place, so it counts as
// written.
bool WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes);

// Reads at most `limit` bytes of the file. False when it cannot be opened or
// read, or when it is not a regular file: a pipe, a device or a folder is
// never read, nor waited on, and neither is a file that passes for a regular
// one but has nothing to read yet (a kernel log): its read fails at once.
// On Windows an open refused because another process holds the file is
// tried again for about a second. The file is opened sharing every kind of
// access, so a writer's hold on it refuses no reader.
bool ReadFilePrefix(const std::string& path, std::size_t limit, std::vector<uint8_t>& bytes);

// True when no file is at the name: nothing there, or a link that leads
// nowhere. Anything that is there, readable or not, is not missing.
bool NothingAt(const std::string& path);
