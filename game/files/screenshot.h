// screenshot.h: saving the picture on screen to a PNG.
#pragma once

// Writes the current screen as a PNG to the path exactly as given (relative
// to the working directory, or absolute), the way the save is written: aside
// first, then renamed into place, so a link or a pipe at the name is replaced
// rather than written through or waited on. Returns false, with a warning in
// the log, when the file could not be written.
bool SaveScreenshot(const char* path);
