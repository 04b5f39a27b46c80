#pragma once

#include "encoding/text.h"

// Creates or replaces the file at `path` with exactly `bytes`; returns 1 on
// success, 0 on failure. The file is held under an exclusive lock while it is
// written, and the open fails when another holder has the lock. A file without
// write permission, a directory or anything but a regular file of that name is
// left untouched, also for root. A failed or short write leaves what was written.
int WriteFileBytes(const Text& path, const ByteSet& bytes);
