// screenshot.h: saving the picture on screen to a PNG.
#pragma once

// Writes the current screen to the path exactly as given (relative to the
// working directory, or absolute). Returns false, with a warning in the log,
// when the file could not be written.
bool SaveScreenshot(const char* path);
