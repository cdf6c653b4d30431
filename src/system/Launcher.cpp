#include "Launcher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

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
} // namespace

CommandLine splitCommandLine(const QString& line) {
    QStringList tokens;
    QString token;
    bool inToken = false;
    bool quoted = false;
    for (const QChar c : line) {
        if (c == u'"') {
            quoted = !quoted;
            inToken = true;
        } else if (!quoted && (c == u' ' || c == u'\t')) {
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
    CommandLine cl;
    if (!tokens.isEmpty()) {
        cl.program = tokens.takeFirst();
        cl.arguments = tokens;
    }
    return cl;
}

qint64 Shell(const QString& commandLine, int windowStyle) {
    switch (windowStyle) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 6:
        break;
    default:
        throw StartError("unknown window style " + std::to_string(windowStyle));
    }
    CommandLine cl = splitCommandLine(commandLine);
    if (cl.program.isEmpty())
        throw StartError("empty command line");
    cl.program.replace(u'\\', u'/');
    if (isShell(cl.program) && !cl.arguments.isEmpty())
        cl.program = openerProgram();

    QString program = cl.program;
    if (!program.contains(u'/')) {
        program = QStandardPaths::findExecutable(cl.program);
        if (program.isEmpty())
            throw StartError("program not found: " + cl.program.toStdString());
    }
    qint64 pid = 0;
    if (!QProcess::startDetached(program, cl.arguments, QString(), &pid))
        throw StartError("can't start " + program.toStdString());
    return pid;
}

void setOpenerProgram(const QString& program) {
    opener() = program;
}
QString openerProgram() {
    return opener().isEmpty() ? QStringLiteral("xdg-open") : opener();
}

} // namespace launcher
