// Closing the main window in the middle of a search. Each case runs the program's own start-up
// (an application, the main window shown, the event loop) in a child process of this test, starts
// a long search, and closes the window at a chosen checkpoint: in the outer search, inside a
// nested one, while a confirmation or summary box is open, or while a dialog is open. The child
// must exit normally with status 0, and no box may appear once the window has gone.
// The same child, given a small stack, also nests searches until the stack runs short.

#include "Form1.h"
#include "Form2.h"
#include "FormsSeams.h"
#include "ListBox.h"
#include "PictureBox.h"
#include "frmAbout.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <alloca.h>
#include <cstdio>
#include <cstring>
#include <random>
#include <sys/resource.h>

namespace {
// --- the child: the program as main() starts it, with a script of what happens when ---

struct Script {
    QString limit = QStringLiteral("200000");
    std::map<int, QString> startAt; // yield -> limit of a nested search
    int closeAt = -1;               // yield at which the window is closed
    int closeInConfirm = -1;        // the n-th confirmation box (from 1) closes the window
    int closeInSummary = -1;        // the n-th summary box closes the window
    int closeInSave = -1;           // yield at which the save dialog opens and the window closes
    int closeInAbout = -1;          // the same with the About box
    int nest = 0;                   // starts made one inside another, one at every yield
    QString nestLimit;              // limit of each of them
};

Script parseScript(const QStringList& args) {
    Script s;
    for (const QString& a : args) {
        const QString key = a.section(u'=', 0, 0), value = a.section(u'=', 1);
        if (key == "limit")
            s.limit = value;
        else if (key == "start")
            s.startAt[value.section(u':', 0, 0).toInt()] = value.section(u':', 1);
        else if (key == "close")
            s.closeAt = value.toInt();
        else if (key == "confirm")
            s.closeInConfirm = value.toInt();
        else if (key == "summary")
            s.closeInSummary = value.toInt();
        else if (key == "save")
            s.closeInSave = value.toInt();
        else if (key == "about")
            s.closeInAbout = value.toInt();
        else if (key == "nest")
            s.nest = value.section(u':', 0, 0).toInt(), s.nestLimit = value.section(u':', 1);
    }
    return s;
}

// A start made through a frame as deep as that of a click coming from the window system (about
// 4 KiB), so that nesting uses the stack as a user's clicks would.
__attribute__((noinline)) void startThroughDeepFrame(Form1& form, const QString& limit) {
    char* frame = static_cast<char*>(alloca(4096));
    std::memset(frame, 0, 4096);
    form.Text1->setText(limit);
    form.Command1->click();
    asm volatile("" : : "r"(frame) : "memory");
}

int runChild(int argc, char** argv, const QStringList& args) {
    QApplication app(argc, argv);
    const Script script = parseScript(args);
    Form1 form;
    bool closed = false;
    int confirmations = 0, summaries = 0, yields = 0, nested = 0, refusals = 0;
    auto closeWindow = [&](const char* where) {
        std::printf("closing %s\n", where);
        std::fflush(stdout);
        closed = true;
        form.close();
    };
    const ScopedAnswers answers([&](const MessageBox::Shown& b) {
        if (closed || !form.isVisible()) {
            std::fprintf(stderr, "box after the window had gone: %s\n", qPrintable(b.prompt));
            return int(MessageBox::Ok);
        }
        if (b.style == 36 && ++confirmations == script.closeInConfirm)
            closeWindow("in a confirmation box");
        if (b.title == Form1::kSummaryTitle && ++summaries == script.closeInSummary)
            closeWindow("in a summary box");
        if (b.style == 48) {
            ++refusals;
            if (b.title != QStringLiteral("Tamizo") ||
                b.prompt != QStringLiteral("Hay demasiados cálculos en curso, uno dentro de otro. "
                                           "Termine o detenga alguno antes de iniciar otro."))
                std::fprintf(stderr, "wrong refusal box: %s\n", qPrintable(b.prompt));
        }
        return int(b.style == 36 ? MessageBox::Yes : MessageBox::Ok);
    });
    const ScopedYieldHook hook([&] {
        const int y = yields++;
        if (closed)
            return;
        if (nested < script.nest) {
            ++nested;
            const int confirmed = confirmations;
            const quint64 generation = form.lista->store().changeCount();
            const QImage strip = form.pprogreso->image();
            startThroughDeepFrame(form, script.nestLimit);
            // Refused (it never asked to clear the list): the list and the strip are as they were.
            if (confirmations == confirmed && (form.lista->store().changeCount() != generation ||
                                               form.pprogreso->image() != strip))
                std::fprintf(stderr, "a refused start changed the window\n");
        }
        if (const auto it = script.startAt.find(y); it != script.startAt.end()) {
            form.Text1->setText(it->second);
            form.Command1->click();
        }
        if (closed)
            return;
        if (y == script.closeAt)
            closeWindow("at a checkpoint");
        if (y == script.closeInSave || y == script.closeInAbout) {
            QTimer::singleShot(0, [&] {
                QWidget* dialog = QApplication::activeModalWidget();
                closeWindow(y == script.closeInSave ? "in the save dialog" : "in the About box");
                if (auto* d = qobject_cast<Form2*>(dialog))
                    d->Command2->click();
                else if (auto* a = qobject_cast<frmAbout*>(dialog))
                    a->cmdOK->click();
            });
            if (y == script.closeInSave)
                form.Command3->click();
            else
                form.mAbout->trigger();
        }
    });
    form.show();
    QTimer::singleShot(0, &form, [&] {
        form.Text1->setText(script.limit);
        form.Command1->click();
        if (script.nest > 0 && !closed)
            closeWindow("after the searches");
    });
    const int code = app.exec();
    std::printf("exited after %d checkpoints\n", yields);
    std::printf("nested starts: %d refused of %d\n", refusals, nested);
    return code;
}

// --- the parent: runs the child and judges how it ended ---

struct Outcome {
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
    QString out, err;
};

// stackBytes: the child's stack limit, as `ulimit -s` would set it; 0 leaves it as it is.
Outcome runScript(const QStringList& script, rlim_t stackBytes = 0) {
    QProcess p;
    if (stackBytes > 0)
        p.setChildProcessModifier([stackBytes] {
            rlimit limit;
            getrlimit(RLIMIT_STACK, &limit);
            limit.rlim_cur = stackBytes;
            setrlimit(RLIMIT_STACK, &limit);
        });
    p.setProgram(QCoreApplication::applicationFilePath());
    p.setArguments(QStringList{"--child"} + script);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start();
    Outcome o;
    if (!p.waitForFinished(240000)) {
        p.kill();
        p.waitForFinished();
        o.err = QStringLiteral("did not end");
        return o;
    }
    o.status = p.exitStatus();
    o.code = p.exitCode();
    o.out = QString::fromUtf8(p.readAllStandardOutput());
    o.err = QString::fromUtf8(p.readAllStandardError());
    return o;
}
} // namespace

class TestClosing : public QObject {
    Q_OBJECT
  private slots:
    void closingMidSearchExitsCleanly_data() {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("where");
        QTest::newRow("at the first checkpoint") << QStringList{"close=0"} << "at a checkpoint";
        QTest::newRow("inside a nested search")
            << QStringList{"start=3:100000", "close=10"} << "at a checkpoint";
        QTest::newRow("inside a search nested twice")
            << QStringList{"start=2:100000", "start=5:100000", "close=9"} << "at a checkpoint";
        QTest::newRow("in the confirmation of a nested search")
            << QStringList{"start=4:5000", "confirm=2"} << "in a confirmation box";
        QTest::newRow("in the summary of a nested search")
            << QStringList{"start=4:5000", "summary=1"} << "in a summary box";
        QTest::newRow("in the summary of the outer search, after a nested one")
            << QStringList{"limit=3000", "start=4:1000", "summary=2"} << "in a summary box";
        QTest::newRow("while the save dialog is open")
            << QStringList{"save=6"} << "in the save dialog";
        QTest::newRow("while the About box is open")
            << QStringList{"about=6"} << "in the About box";
        // Random checkpoints, with and without nested searches, from a fixed seed.
        std::mt19937 rng(7);
        for (int i = 0; i < 8; ++i) {
            QStringList script;
            int y = 0;
            const int nested = int(rng() % 3);
            for (int n = 0; n < nested; ++n) {
                y += 1 + int(rng() % 20);
                script << QStringLiteral("start=%1:%2").arg(y).arg(20000 + rng() % 80000);
            }
            script << QStringLiteral("close=%1").arg(y + int(rng() % 60));
            QTest::addRow("random %d: %s", i, qPrintable(script.join(u' ')))
                << script << "at a checkpoint";
        }
    }
    void closingMidSearchExitsCleanly() {
        QFETCH(QStringList, script);
        QFETCH(QString, where);
        const Outcome o = runScript(script);
        QVERIFY2(o.status == QProcess::NormalExit, qPrintable(o.err));
        QCOMPARE(o.code, 0);
        QVERIFY2(!o.err.contains(QStringLiteral("box after the window had gone")),
                 qPrintable(o.err));
        QVERIFY2(o.out.contains(QStringLiteral("closing ") + where), qPrintable(o.out));
        QVERIFY2(o.out.contains(QStringLiteral("exited after")), qPrintable(o.out));
    }

    void nestingBeyondTheStackIsRefusedNotCrashed() {
        const Outcome o = runScript({"limit=300", "nest=400:300"}, 1024 * 1024);
        QVERIFY2(o.status == QProcess::NormalExit, qPrintable(o.err));
        QCOMPARE(o.code, 0);
        QVERIFY2(!o.err.contains(QStringLiteral("wrong refusal box")), qPrintable(o.err));
        QVERIFY2(!o.err.contains(QStringLiteral("changed the window")), qPrintable(o.err));
        QVERIFY2(o.out.contains(QStringLiteral("closing after the searches")), qPrintable(o.out));
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("nested starts: (\\d+) refused of (\\d+)"))
                .match(o.out);
        QVERIFY2(m.hasMatch(), qPrintable(o.out));
        QCOMPARE(m.captured(2).toInt(), 400);
        // Some were refused, and not before the stack had held a good many.
        QVERIFY2(m.captured(1).toInt() > 0, qPrintable(o.out));
        QVERIFY2(400 - m.captured(1).toInt() >= 20, qPrintable(o.out));
    }
};

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (!args.isEmpty() && args.first() == QStringLiteral("--child"))
        return runChild(argc, argv, args.mid(1));
    QCoreApplication app(argc, argv);
    TestClosing test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_closing.moc"
