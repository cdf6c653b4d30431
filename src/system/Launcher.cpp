#include "Launcher.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace launcher {
namespace {
QString& opener() {
    static QString program;
    return program;
}

bool isShell(const QString& program) {
    const QString name = QFileInfo(program).fileName();
    return name.compare(QStringLiteral("explorer.exe"), Qt::CaseInsensitive) == 0 ||
           name.compare(QStringLiteral("explorer"), Qt::CaseInsensitive) == 0;
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// Splits at blanks; double quotes group blanks into a token and are dropped.
QStringList tokens(QStringView line) {
    QStringList tokens;
    QString token;
    bool inToken = false;
    bool quoted = false;
    for (const QChar c : line) {
        if (c == u'"') {
            quoted = !quoted;
            inToken = true;
        } else if (!quoted && isBlank(c)) {
            if (inToken)
                tokens << token;
            token.clear();
            inToken = false;
        } else {
            token += c;
            inToken = true;
        }
    }
    if (inToken)
        tokens << token;
    return tokens;
}

// A program that could be started as written: a path (with "/" or "\" as separator) to an
// executable file, or a name found in PATH.
bool namesAProgram(QString text) {
    text.replace(u'\\', u'/');
    if (!text.contains(u'/'))
        return !QStandardPaths::findExecutable(text).isEmpty();
    const QFileInfo info(text);
    return info.isFile() && info.isExecutable();
}

// What the processes of a start tell the caller through their pipe.
struct Report {
    enum Kind : int { Started, ForkFailed, ExecFailed } kind;
    int value; // the program's process id, or an errno
};

void tell(int fd, Report r) {
    while (::write(fd, &r, sizeof r) < 0 && errno == EINTR)
        ;
}

// Starts the program at `path` with `arguments`, detached: a child starts it and ends at once,
// so that it runs as nobody's child here. A start that fails gives the system's errno, which
// comes back through a pipe that a successful start closes.
sys::Result<qint64> startDetached(const QString& path, const QStringList& arguments) {
    // Everything the children use is made before the fork: after it, only system calls.
    std::vector<QByteArray> words{QFile::encodeName(path)};
    for (const QString& a : arguments)
        words.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return sys::Error{errno};
    const pid_t child = ::fork();
    if (child == 0) {
        const pid_t program = ::fork();
        if (program == 0) {
            ::execv(argv[0], argv.data());
            tell(fds[1], {Report::ExecFailed, errno});
            ::_exit(127);
        }
        tell(fds[1], program < 0 ? Report{Report::ForkFailed, errno}
                                 : Report{Report::Started, static_cast<int>(program)});
        ::_exit(0);
    }
    const int forkError = errno;
    ::close(fds[1]);
    if (child < 0) {
        ::close(fds[0]);
        return sys::Error{forkError};
    }
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR)
        ;
    // The reports come in either order; a failure outweighs the process id.
    qint64 pid = 0;
    int failure = 0;
    Report r{};
    for (ssize_t n; (n = ::read(fds[0], &r, sizeof r)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n != sizeof r)
            break;
        if (r.kind == Report::Started)
            pid = r.value;
        else
            failure = r.value;
    }
    ::close(fds[0]);
    if (failure != 0)
        return sys::Error{failure};
    if (pid == 0)
        return sys::Error{ECHILD}; // the child ended without a word
    return pid;
}
} // namespace

CommandLine splitCommandLine(const QString& line) {
    const QStringView text = QStringView(line).trimmed();
    CommandLine cl;
    if (text.startsWith(u'"')) {
        QStringList all = tokens(text);
        cl.program = all.takeFirst();
        cl.arguments = all;
        return cl;
    }
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (isBlank(text[i]) && !isBlank(text[i - 1]) && namesAProgram(text.left(i).toString())) {
            cl.program = text.left(i).toString();
            cl.arguments = tokens(text.mid(i));
            return cl;
        }
    }
    cl.program = text.toString();
    return cl;
}

sys::Result<qint64> Shell(const QString& commandLine, int windowStyle) {
    switch (windowStyle) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 6:
        break;
    default:
        return sys::Error{EINVAL};
    }
    // The system shell is no file here: it is known by the line's first word alone.
    CommandLine cl;
    if (QStringList words = tokens(commandLine);
        words.size() > 1 && isShell(words.first().replace(u'\\', u'/'))) {
        cl.program = openerProgram();
        cl.arguments = words.mid(1);
    } else {
        cl = splitCommandLine(commandLine);
    }
    if (cl.program.isEmpty())
        return sys::Error{ENOENT};
    cl.program.replace(u'\\', u'/');

    QString program = cl.program;
    if (!program.contains(u'/')) {
        program = QStandardPaths::findExecutable(cl.program);
        if (program.isEmpty())
            return sys::Error{ENOENT};
    }
    return startDetached(program, cl.arguments);
}

void setOpenerProgram(const QString& program) {
    opener() = program;
}
QString openerProgram() {
    return opener().isEmpty() ? QStringLiteral("xdg-open") : opener();
}

} // namespace launcher
