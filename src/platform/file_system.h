// Files on disk where the standard library is not enough: replacing a file's
// contents so that a failure never leaves it half written, and the advisory
// lock the program holds on every notebook file it has open.
#pragma once

#include <string>
#include <string_view>

namespace lemmabox {

// Replaces the contents of path with bytes: they go to a new file in the same
// directory, are flushed to the disk, and only then is that file renamed over
// path (keeping the old file's permissions), so path holds either the old
// contents or the new ones, never a mixture. False when anything failed;
// path is then untouched and no temporary file is left behind.
bool ReplaceFileDurably(const std::string& path, std::string_view bytes);

// The lock on an open notebook file: the file is kept open for appending
// (nothing is ever appended) with an exclusive advisory lock, so another copy
// of the program that opens it learns that it is in use.
constexpr int kNoFileLock = -1;
// A lock id (>= 0), or kNoFileLock when the file cannot be opened for
// appending or another process (or another open of this one) holds its lock.
int AcquireFileLock(const std::string& path);
// Releases a lock; kNoFileLock is ignored.
void ReleaseFileLock(int lock);

}  // namespace lemmabox
