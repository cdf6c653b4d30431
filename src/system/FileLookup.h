#pragma once
// Tells whether a full path names an ordinary file: folders, hidden entries (a name starting
// with ".") and special files (devices, pipes, sockets) don't count. A "\" in the path is a
// path separator. It only looks; it never opens or creates anything.

#include "Result.h"

#include <QString>

namespace filelookup {
// False when nothing is there (ENOENT, ENOTDIR) or what is there doesn't count; the system's
// errno when it can't tell (a folder on the way that may not be searched, a name too long).
sys::Result<bool> exists(const QString& path);
} // namespace filelookup
