#pragma once
// Whole-file reading and writing for the tests, and a script that records how it was started.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace files {

// The file's bytes; "<unreadable>" when it can't be read, so that a missing file never passes
// for an empty one.
inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Writes at `path` (creating its folder) an executable script that appends the line it was
// started with, its own path and then its arguments ("$0 $*"), to the file `marker`.
inline bool writeRecorder(const QString& path, const QString& marker) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!writeFile(path, "#!/bin/sh\necho \"$0 $*\" >> '" + QFile::encodeName(marker) + "'\n"))
        return false;
    return f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

} // namespace files
