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
        throw StartError("empty command line");
    cl.program.replace(u'\\', u'/');

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
