#pragma once
// Starts another program from a command line with a window style, as the About box does. The
// line is split into the program and its arguments as splitCommandLine says; a "\" in the
// program's path is a path separator, and a program without a path is looked up in PATH. The
// system shell "explorer.exe" given an argument (a web address) hands it to the desktop's
// opener. Window styles 1 (normal, with focus) and 2 (minimized, with focus) are taken as a
// wish: the desktop offers no way to ask a foreign program for either, so they change nothing.
//
// A program that can't be started gives the errno of the failed start: what starting it
// gave (ENOENT, EACCES, ENOEXEC, ...), ENOENT for an empty line or a program not in PATH, and
// EINVAL for an unknown window style. It doesn't wait for, watch or stop what it starts: the
// program is started detached, nobody's child here.
//
// Test seam: the opener program (xdg-open by default).

#include "Result.h"

#include <QString>
#include <QStringList>

namespace launcher {

struct CommandLine {
    QString program;
    QStringList arguments;
};
// A line whose first token is quoted has that token as its program. Otherwise the program is
// the shortest prefix of the line, ending at a blank, that names an existing executable file
// (or a program in PATH), so that a path with blanks needs no quotes; when no prefix does, the
// whole line is the program. The arguments are the rest, split at blanks, with double quotes
// grouping blanks into one argument and dropped. Blanks around the line don't count.
CommandLine splitCommandLine(const QString& line);

// The started program's process id (the task number).
sys::Result<qint64> Shell(const QString& commandLine, int windowStyle);

// --- seam ---
void setOpenerProgram(const QString& program); // empty: back to xdg-open
QString openerProgram();

} // namespace launcher
