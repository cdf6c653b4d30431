#pragma once
// Tells whether a full path names an ordinary file: folders, hidden entries (a name starting
// with ".") and special files (devices, pipes, sockets) don't count. A "\" in the path is a
// path separator. It only looks; it never opens or creates anything.

#include <QString>

namespace filelookup {
bool exists(const QString& path);
}
