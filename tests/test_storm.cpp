// Event storms: with fixed seeds, random events arrive at the checkpoints of long searches
// (stop; start, answered at random; hovers; resizes; the save dialog cancelled, closed or saving
// into a temporary folder; the About box opened and closed), several thousand in all. Then:
// every confirmed search ended with its own summary, the flags and the pointer are back, the
// list is what the literal search makes of the same stops and starts, and every saved block
// is exactly the list as it stood when it was saved.

#include "DirListBox.h"
#include "Form1.h"
#include "Form2.h"
#include "FormsSeams.h"
#include "ListBox.h"
#include "MousePointer.h"
#include "PictureBox.h"
#include "Reference.h"
#include "SystemSeams.h"
#include "frmAbout.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>
#include <random>

namespace {
const QString kDate = QStringLiteral("07/12/2026");
const QStringList kLimits = {"50", "98", "99", "150", "1000", "2999", "5000"};
constexpr int kMaxDepth = 4; // searches nested inside one another, at most

struct Storm {
    explicit Storm(unsigned seed) : rng(seed) {}

    std::mt19937 rng;
    std::unique_ptr<Form1> form = std::make_unique<Form1>();
    QTemporaryDir folder;
    std::map<int, reference::Action> actions; // the stops and starts, by yield number
    std::deque<bool> answers;                 // confirmations still to be answered
    std::vector<long long> summaries;
    int confirmed = 0; // starts answered Yes
    int yields = 0;
    int depth = 0; // searches running, nested
    int events = 0;
    std::map<QString, int> kinds; // how many events of each kind arrived
    QByteArray expectedFile;      // what the saves must have appended, in order
    QStringList faults;           // anything the storm saw go wrong

    bool chance(double p) { return std::uniform_real_distribution<>(0, 1)(rng) < p; }
    int pick(int n) { return std::uniform_int_distribution<>(0, n - 1)(rng); }

    int box(const MessageBox::Shown& b) {
        if (b.style == 36) {
            const bool yes = answers.empty() ? true : answers.front();
            if (!answers.empty())
                answers.pop_front();
            confirmed += yes;
            depth += yes;
            return yes ? MessageBox::Yes : MessageBox::No;
        }
        if (b.title == Form1::kSummaryTitle) {
            const QString p = b.prompt;
            const qsizetype a = p.indexOf(QStringLiteral(". ")) + 2;
            summaries.push_back(p.mid(a, p.indexOf(u' ', a) - a).toLongLong());
            --depth;
        } else if (b.prompt != Form2::kSaved) {
            faults << QStringLiteral("unexpected box: ") + b.prompt;
        }
        return MessageBox::Ok;
    }

    void atYield() {
        const int y = yields++;
        const int n = 1 + pick(3);
        bool listEvent = false; // at most one stop or start per checkpoint
        for (int i = 0; i < n; ++i) {
            ++events;
            switch (pick(7)) {
            case 0:
                if (!listEvent && chance(0.1)) {
                    listEvent = true;
                    stop(y);
                } else {
                    hover();
                }
                break;
            case 1:
                if (!listEvent && depth < kMaxDepth && chance(0.25)) {
                    listEvent = true;
                    start(y);
                } else {
                    hover();
                }
                break;
            case 2:
            case 3:
                hover();
                break;
            case 4:
                resize();
                break;
            case 5:
                saveDialog();
                break;
            case 6:
                aboutBox();
                break;
            }
        }
    }

    void stop(int y) {
        ++kinds[QStringLiteral("stop")];
        actions[y] = {reference::Action::Stop, {}, true};
        if (chance(0.5))
            form->Command2->click();
        else
            form->mStop->trigger();
    }

    void start(int y) {
        ++kinds[QStringLiteral("start")];
        const QString limit = kLimits[pick(int(kLimits.size()))];
        const bool yes = chance(0.6);
        actions[y] = {reference::Action::Start, limit, yes};
        form->Text1->setText(limit);
        answers.push_back(yes);
        if (chance(0.5))
            form->Command1->click();
        else
            form->mStart->trigger();
    }

    void hover() {
        ++kinds[QStringLiteral("hover")];
        QWidget* targets[] = {form->Command1, form->Command2, form->Command3, form->Text1,
                              form->surface()};
        QWidget* w = targets[pick(5)];
        const bool busy = form->Busy;
        const QString before = form->pprogreso->printedText();
        const QPointF at = w == form->surface() ? QPointF(2, 2) : QPointF(3, 3);
        QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        if (busy && form->pprogreso->printedText() != before)
            faults << QStringLiteral("a hint was printed during a search");
        if (!busy && w == form->surface() && !form->pprogreso->printedText().isEmpty())
            faults << QStringLiteral("the bare surface did not clear the strip");
    }

    void resize() {
        ++kinds[QStringLiteral("resize")];
        form->resize(300 + pick(500), 350 + pick(500));
    }

    void saveDialog() {
        ++kinds[QStringLiteral("save dialog")];
        const int how = pick(3); // cancel, close box, save
        const bool viaMenu = chance(0.5);
        QObject guard;
        bool opened = false;
        QTimer::singleShot(0, &guard, [&] {
            auto* d = qobject_cast<Form2*>(QApplication::activeModalWidget());
            if (!d)
                return;
            opened = true;
            if (how == 0) {
                d->Command2->click();
            } else if (how == 1) {
                d->close();
            } else {
                if (!d->Dir1->setPath(folder.path()))
                    faults << QStringLiteral("temporary folder refused");
                d->Text1->setText(QStringLiteral("storm"));
                QByteArray block = "---Tamizo, " + kDate.toLatin1() + "---\r\n";
                for (const quint32 v : reference::valuesOf(form->lista->store()))
                    block += QByteArray::number(v) + "\r\n";
                expectedFile += block;
                d->Command1->click();
            }
            if (d->isVisible()) {
                faults << QStringLiteral("the save dialog stayed open");
                d->close();
            }
        });
        if (viaMenu)
            form->mSave->trigger();
        else
            form->Command3->click();
        if (!opened)
            faults << QStringLiteral("the save dialog did not open");
    }

    void aboutBox() {
        ++kinds[QStringLiteral("About box")];
        QObject guard;
        bool opened = false;
        QTimer::singleShot(0, &guard, [&] {
            auto* d = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
            if (!d)
                return;
            opened = true;
            d->cmdOK->click();
        });
        form->mAbout->trigger();
        if (!opened)
            faults << QStringLiteral("the About box did not open");
    }
};

// A saved file, split into its blocks of number lines; empty when any line is neither a header
// nor a number, or does not end in CR LF.
QList<QByteArrayList> blocksOf(const QByteArray& file) {
    if (!file.endsWith("\r\n"))
        return {};
    const QRegularExpression header(QStringLiteral("^---Tamizo, [^\r\n]+---$"));
    const QRegularExpression number(QStringLiteral("^[1-9][0-9]*$"));
    QList<QByteArrayList> blocks;
    QByteArrayList lines = file.split('\n');
    lines.removeLast(); // after the final line end
    for (const QByteArray& line : lines) {
        if (!line.endsWith('\r'))
            return {};
        const QString text = QString::fromLatin1(line.chopped(1));
        if (header.match(text).hasMatch())
            blocks.append(QByteArrayList{});
        else if (!blocks.isEmpty() && number.match(text).hasMatch())
            blocks.last().append(text.toLatin1());
        else
            return {};
    }
    return blocks;
}
} // namespace

class TestStorm : public QObject {
    Q_OBJECT
    int m_totalEvents = 0;
    const ScopedClock m_clock{kDate};

  private slots:
    void cleanupTestCase() {
        qInfo("events delivered in all storms: %d", m_totalEvents);
        QVERIFY(m_totalEvents >= 4000);
    }
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName() + " is still open"));
    }

    void stormAtCheckpointsKeepsEverythingExact_data() {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<QString>("limit");
        for (unsigned seed = 1; seed <= 8; ++seed)
            QTest::addRow("seed %u", seed) << seed << QStringLiteral("30000");
    }
    void stormAtCheckpointsKeepsEverythingExact() {
        QFETCH(unsigned, seed);
        QFETCH(QString, limit);
        Storm s(seed);
        s.form->show();
        const ScopedAnswers answers([&s](const MessageBox::Shown& b) { return s.box(b); });

        // Searches from the button, one after the other, until the storm has been long enough;
        // the literal search is given the same starts, stops and answers.
        reference::Model m;
        m.actions = s.actions;
        int runs = 0;
        {
            const ScopedYieldHook hook([&s] { s.atYield(); });
            while (s.events < 500 && runs++ < 50) {
                s.form->Text1->setText(limit);
                s.answers.push_back(true);
                s.form->Command1->click();
            }
        }
        m_totalEvents += s.events;

        QVERIFY2(s.faults.isEmpty(), qPrintable(s.faults.join('\n')));
        QVERIFY(s.events >= 500);
        for (const char* kind : {"stop", "start", "hover", "resize", "save dialog", "About box"})
            QVERIFY2(s.kinds[QString::fromLatin1(kind)] > 0, kind);
        // Every confirmed search ended with its own summary, in the order of the literal search.
        m.actions = s.actions;
        for (int i = 0; i < runs; ++i) {
            m.text = limit;
            reference::calcula(m);
        }
        QCOMPARE(int(s.summaries.size()), s.confirmed);
        QCOMPARE(s.summaries, m.summaries);
        QCOMPARE(s.depth, 0);
        QCOMPARE(reference::valuesOf(s.form->lista->store()), m.list);
        QVERIFY(!s.form->Busy);
        QVERIFY(!s.form->StopRequested);
        QCOMPARE(pointer::mousePointer(), pointer::kDefault);
        // Every block saved is well formed and is the list as it stood.
        const QByteArray bytes = files::readAll(s.folder.filePath("storm.txt"));
        QVERIFY(!s.expectedFile.isEmpty());
        QCOMPARE(bytes, s.expectedFile);
        const auto blocks = blocksOf(bytes);
        QVERIFY(bytes.isEmpty() || !blocks.isEmpty());
        QCOMPARE(blocks.size(), qsizetype(bytes.count("---Tamizo, ")));
        for (const auto& block : blocks)
            QVERIFY(block.size() >= 1 && block.value(0) == "1");
        s.form->close();
    }
};

QTEST_MAIN(TestStorm)
#include "test_storm.moc"
