// The forms-layer stand-ins: list box, picture box, message-box seam and the box's layout, the
// short date, pointer, control collection and the yield.

#include "Clock.h"
#include "Controls.h"
#include "Events.h"
#include "FormsSeams.h"
#include "ListBox.h"
#include "MousePointer.h"
#include "PictureBox.h"
#include "StackRoom.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDialog>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>
#include <alloca.h>
#include <cmath>
#include <cstring>
#include <sys/resource.h>

#include <locale.h>

namespace {
const QString kSummary =
    QStringLiteral("Cálculo terminado. 431 primos calculados. Tiempo empleado (segundos): 0");

QLabel* promptOf(const QDialog& box) {
    return box.findChild<QLabel*>("prompt");
}
} // namespace

namespace {
// Records the types of the events it receives, in order.
struct EventLog : QObject {
    std::vector<int> types;
    bool event(QEvent* e) override {
        if (e->type() >= QEvent::User)
            types.push_back(e->type() - QEvent::User);
        return QObject::event(e);
    }
};
} // namespace

class PlatformTest : public QObject {
    Q_OBJECT
    const ScopedAnswers m_noRealBoxes;

  private slots:

    void listBoxStoresNumbersAndRendersDecimalText() {
        PrimeStore store;
        ListBox box(store);
        box.AddItem(1);
        box.AddItem(4294967295u);
        QCOMPARE(box.ListCount(), 2);
        QCOMPARE(store.size(), 2);
        QCOMPARE(box.List(1), QStringLiteral("4294967295"));
        QCOMPARE(box.List(2), QString());
        QCOMPARE(box.List(-1), QString());
        const quint64 changes = store.changeCount();
        box.setListIndex(1);
        QCOMPARE(store.changeCount(), changes); // selecting is not a change of the items
        box.Clear();
        QCOMPARE(box.ListCount(), 0);
        QCOMPARE(box.ListIndex(), -1);
        QVERIFY(store.changeCount() > changes);
    }

    void listBoxShowsChangesMadeStraightToItsStore() {
        PrimeStore store;
        {
            ListBox box(store);
            box.resize(200, 100);
            box.show(); // a hidden widget lays its viewport out only once shown
            const QScrollBar* bar = box.verticalScrollBar();
            for (quint32 i = 0; i < 1000; ++i) // not through the control
                QVERIFY(store.append(i));
            QTRY_COMPARE(bar->maximum(), 1000 - box.visibleRows());
            box.setListIndex(999);
            store.clear();
            QVERIFY(store.append(1));
            QTRY_COMPARE(bar->maximum(), 0);
            QCOMPARE(box.ListIndex(), -1); // the selected item went with the others
            QCOMPARE(box.TopIndex(), 0);
        }
        // The control is gone and no longer watches the store.
        QVERIFY(store.append(7));
    }

    void listBoxRefusesWhatItsStoreCannotHold_data() {
        QTest::addColumn<QList<uint>>("held");
        QTest::addColumn<qint64>("maxItems");
        QTest::addColumn<qint64>("maxBytes"); // -1: no limit
        QTest::newRow("full at its item limit") << QList<uint>{1, 1, 3} << qint64(3) << qint64(-1);
        QTest::newRow("no memory for the item")
            << QList<uint>{} << qint64(PrimeStore::kMaxItems) << qint64(PrimeStore().memoryBytes());
    }
    void listBoxRefusesWhatItsStoreCannotHold() {
        QFETCH(QList<uint>, held);
        QFETCH(qint64, maxItems);
        QFETCH(qint64, maxBytes);
        PrimeStore store;
        ListBox box(store);
        for (const uint v : held)
            QVERIFY(box.AddItem(v));
        store.setLimits({maxItems, maxBytes < 0 ? SIZE_MAX : size_t(maxBytes)});
        const quint64 changes = store.changeCount();
        QVERIFY(!box.AddItem(2));
        QVERIFY(!box.AddItem(5));
        QCOMPARE(box.ListCount(), held.size());
        QCOMPARE(box.List(held.size()), QString());
        QCOMPARE(store.changeCount(), changes);
        store.setLimits({});
        QVERIFY(box.AddItem(5));
        QCOMPARE(box.List(held.size()), QStringLiteral("5"));
    }

    void selectingScrollsItemIntoView() {
        PrimeStore store;
        ListBox box(store);
        box.resize(200, 100);
        for (quint32 i = 0; i < 1000; ++i)
            box.AddItem(i);
        box.setListIndex(999);
        QCOMPARE(box.ListIndex(), 999);
        QVERIFY(box.TopIndex() <= 999 && 999 < box.TopIndex() + box.visibleRows());
        box.setListIndex(3);
        QCOMPARE(box.TopIndex(), 3);
        box.setListIndex(5000); // out of range: ignored
        QCOMPARE(box.ListIndex(), 3);
        // A larger font shows fewer rows, and selecting scrolls by the new count.
        const int rowsBefore = box.visibleRows();
        QFont big = box.font();
        big.setPixelSize(QFontMetrics(big).height() * 2);
        box.setFont(big);
        QCOMPARE(box.visibleRows(),
                 std::max(1, box.viewport()->height() / box.fontMetrics().height()));
        QVERIFY(box.visibleRows() < rowsBefore);
        box.setListIndex(999);
        QCOMPARE(box.TopIndex(), 999 - box.visibleRows() + 1);
    }

    void keyboardMovesSelection_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("down") << int(Qt::Key_Down) << 11;
        QTest::newRow("up") << int(Qt::Key_Up) << 9;
        QTest::newRow("home") << int(Qt::Key_Home) << 0;
        QTest::newRow("end") << int(Qt::Key_End) << 99;
    }
    void keyboardMovesSelection() {
        QFETCH(int, key);
        QFETCH(int, expected);
        PrimeStore store;
        ListBox box(store);
        box.resize(200, 100);
        for (quint32 i = 0; i < 100; ++i)
            box.AddItem(i);
        box.setListIndex(10);
        QTest::keyClick(&box, Qt::Key(key));
        QCOMPARE(box.ListIndex(), expected);
    }

    void filledBoxIncludesBothCornersAndClips_data() {
        QTest::addColumn<double>("x2");
        QTest::addColumn<int>("columns");
        QTest::newRow("one pixel box") << 0.0 << 1;
        QTest::newRow("ten pixels") << 135.0 << 10;
        QTest::newRow("past the right edge") << 99999.0 << 96;
        QTest::newRow("left of origin") << -300.0 << 1;
    }
    void filledBoxIncludesBothCornersAndClips() {
        QFETCH(double, x2);
        QFETCH(int, columns);
        PictureBox box;
        box.resize(100, 20); // drawable 96 x 16 inside the border
        box.Cls();
        QVERIFY(box.Line(Surface::kFilledBox, 0, 0, x2, 300, qRgb(0, 128, 128)));
        int n = 0;
        for (int x = 0; x < box.image().width(); ++x)
            n += box.image().pixel(x, 15) == qRgb(0, 128, 128);
        QCOMPARE(n, columns);
        QVERIFY(!box.Line(1, 0, 0, 10, 10, 0)); // only the filled-box form is offered
    }

    void repeatedBoxInsideLastOneChangesNothing() {
        PictureBox box;
        box.resize(100, 20);
        box.Cls();
        box.fillBox(0, 0, 600, 300, qRgb(0, 128, 128));
        box.Print("x"); // anything drawn in between must be respected
        box.fillBox(0, 0, 300, 300, qRgb(0, 128, 128));
        QCOMPARE(box.image().pixel(5, 5), qRgb(0, 128, 128));
        box.fillBox(0, 0, 600, 300, qRgb(200, 0, 0));
        box.fillBox(0, 0, 150, 300, qRgb(0, 128, 128));
        QCOMPARE(box.image().pixel(5, 5), qRgb(0, 128, 128));
        QCOMPARE(box.image().pixel(30, 5), qRgb(200, 0, 0));
    }

    void clsAndResizeEraseTheDrawing_data() {
        QTest::addColumn<bool>("resize"); // else Cls
        QTest::addColumn<bool>("persistent");
        QTest::addColumn<bool>("erased");
        QTest::newRow("Cls") << false << false << true;
        QTest::newRow("resize") << true << false << true;
        QTest::newRow("resize of a persistent drawing keeps it") << true << true << false;
    }
    void clsAndResizeEraseTheDrawing() {
        QFETCH(bool, resize);
        QFETCH(bool, persistent);
        QFETCH(bool, erased);
        PictureBox box;
        box.setAutoRedraw(persistent);
        box.resize(200, 40);
        box.show(); // a hidden widget hears of its resizes only once shown
        box.Cls();
        box.fillBox(0, 0, 600, 600, qRgb(0, 128, 128));
        box.Print("hola");
        QVERIFY(box.printPosition().y() > 0);
        if (resize)
            box.resize(300, 30);
        else
            box.Cls();
        QCOMPARE(box.image().size(), box.size() - QSize(4, 4)); // inside the border
        QCOMPARE(box.printPosition() == QPoint(0, 0), erased);
        QCOMPARE(box.printedText().isEmpty(), erased);
        QCOMPARE(box.image().pixel(5, 20) != qRgb(0, 128, 128), erased);
        const QRgb bg = box.palette().color(QPalette::Button).rgb();
        for (int x = 50; x < box.image().width(); ++x)
            QCOMPARE(box.image().pixel(x, 20), bg);
    }

    void messageBoxTitlesAndDefaults_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("giveEmptyTitle");
        QTest::addColumn<QString>("programTitle"); // as the program gives it
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("answer");
        const QString program = QStringLiteral("Programa");
        QTest::newRow("no title bears the program's") << 16 << false << program << program << 1;
        QTest::newRow("no title, and none from the program: the application's name")
            << 16 << false << QString() << QCoreApplication::applicationName() << 1;
        QTest::newRow("explicit empty title") << 64 << true << program << "" << 1;
        QTest::newRow("yes/no defaults to yes") << 36 << true << program << "" << 6;
    }
    void messageBoxTitlesAndDefaults() {
        QFETCH(int, style);
        QFETCH(bool, giveEmptyTitle);
        QFETCH(QString, programTitle);
        QFETCH(QString, title);
        QFETCH(int, answer);
        MessageBox::setProgramWords({programTitle, {}, {}, {}});
        const auto forget = qScopeGuard([] { MessageBox::setProgramWords({}); });
        const ScopedAnswers answers;
        const int r = giveEmptyTitle ? MessageBox::MsgBox("p", style, QString())
                                     : MessageBox::MsgBox("p", style);
        QCOMPARE(r, answer);
        QCOMPARE(answers.shown().back().title, title);
        QCOMPARE(MessageBox::unscriptedCount(), 1);
    }

    void scriptedAnswersComeInOrderBeforeHandler() {
        const ScopedAnswers answers({MessageBox::No},
                                    [](const MessageBox::Shown&) { return int(MessageBox::Yes); });
        QCOMPARE(MessageBox::MsgBox("a", 36), int(MessageBox::No));
        QCOMPARE(MessageBox::MsgBox("b", 36), int(MessageBox::Yes));
        QCOMPARE(MessageBox::unscriptedCount(), 0);
    }

    void stackHeadroomShrinksWithDepthWithinTheLimit() {
        rlimit limit{};
        QVERIFY(getrlimit(RLIMIT_STACK, &limit) == 0);
        if (limit.rlim_cur == RLIM_INFINITY)
            QSKIP("the stack has no limit here");
        const auto here = stack_room::headroom();
        const auto fromLimit = stack_room::headroomFromLimit();
        char* block = static_cast<char*>(alloca(8192));
        std::memset(block, 0, 8192);
        const auto deeper = stack_room::headroom();
        asm volatile("" : : "r"(block) : "memory");
        QVERIFY(here && fromLimit && deeper);
        QVERIFY(*here < limit.rlim_cur);
        QVERIFY(*here - *deeper >= 8192);
        // The fallback also counts the arguments and environment above the stack's start.
        const auto apart = std::abs(qint64(*fromLimit) - qint64(*here));
        QVERIFY2(apart < 64 * 1024, qPrintable(QString::number(apart)));
    }

    void boxTextWrapsOnlyPastFiveEighthsOfScreen_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("screenWidth");
        QTest::addColumn<int>("lines"); // 0: more lines than given, however many
        QString path = QStringLiteral("/home/usuario");
        for (int i = 0; i < 12; ++i)
            path += QStringLiteral("/carpeta número %1 de la ruta").arg(i);
        path += QStringLiteral("/primos01.txt");
        QTest::newRow("summary at 1024 px") << kSummary << 1024 << 1;
        QTest::newRow("summary on a 400 px screen wraps at blanks") << kSummary << 400 << 0;
        QTest::newRow("lines already broken are kept") << "a\n\nb c" << 1024 << 3;
        QTest::newRow("long path wraps at its folders") << path << 1024 << 0;
        QTest::newRow("name too long for a line is shortened")
            << "/tmp/" + QString(1000, QLatin1Char('n')) + ".txt" << 1024 << 2;
    }
    void boxTextWrapsOnlyPastFiveEighthsOfScreen() {
        QFETCH(QString, text);
        QFETCH(int, screenWidth);
        QFETCH(int, lines);
        const auto box = MessageBox::build({QStringLiteral("x"), 16, QString()});
        const QFontMetrics fm = promptOf(*box)->fontMetrics();
        const int limit = screenWidth * 5 / 8;
        const QStringList got = MessageBox::wrapText(text, fm, limit).split('\n');
        if (lines > 0)
            QCOMPARE(got.size(), lines);
        else
            QVERIFY(got.size() > text.count('\n') + 1);
        for (const QString& line : got)
            QVERIFY2(fm.horizontalAdvance(line) <= limit, qPrintable(line));
        if (text.contains(QString(100, QLatin1Char('n')))) {
            QVERIFY(got[1].contains(QChar(0x2026)) && got[1].endsWith("nnn.txt"));
            return;
        }
        // Nothing lost: every break falls after a "/" or, unless the text is a path, at a blank
        // or where the text had one.
        const bool isPath = text.startsWith('/');
        for (int i = 0; i + 1 < got.size(); ++i)
            QVERIFY(got[i].endsWith('/') ||
                    (!isPath && (text.contains(got[i] + ' ') || text.contains(got[i] + '\n'))));
        QCOMPARE(got.join(QString()).remove(' '), QString(text).remove('\n').remove(' '));
    }

    void realBoxFitsTheScreen_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("oneLine");
        QTest::newRow("summary") << kSummary << true;
        QTest::newRow("error with a long path")
            << "No se ha podido guardar el archivo.\n/tmp/" + QString(60, 'c') + "/" +
                   QString(60, 'd') + "/" + QString(300, 'n') + ".txt\nNo tiene permiso."
            << false;
    }
    void realBoxFitsTheScreen() {
        QFETCH(QString, text);
        QFETCH(bool, oneLine);
        const QScreen& screen = *QGuiApplication::primaryScreen();
        const auto box = MessageBox::build({text, 16, QString()});
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        const QLabel* prompt = promptOf(*box);
        const QStringList lines = prompt->text().split('\n');
        QCOMPARE(lines.size() == 1, oneLine);
        for (const QString& line : lines)
            QVERIFY(prompt->fontMetrics().horizontalAdvance(line) <=
                    MessageBox::lineWidthLimit(screen));
        QVERIFY(box->frameGeometry().width() <= screen.availableGeometry().width());
        QVERIFY(prompt->width() >= prompt->fontMetrics().horizontalAdvance(lines[0]));
        box->close();
    }

    void shortDateFollowsOrderAndSeparatorOfDateFormat_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("expected");
        const QDate d(2026, 12, 8);
        QTest::newRow("es_ES") << QByteArray("%d/%m/%y") << d << "08/12/2026";
        QTest::newRow("en_US") << QByteArray("%m/%d/%Y") << d << "12/08/2026";
        QTest::newRow("C") << QByteArray("%m/%d/%y") << d << "12/08/2026";
        QTest::newRow("de_DE") << QByteArray("%d.%m.%Y") << d << "08.12.2026";
        QTest::newRow("month and day padded")
            << QByteArray("%d/%m/%y") << QDate(2027, 1, 5) << "05/01/2027";
        QTest::newRow("%D") << QByteArray("%D") << d << "12/08/2026";
        QTest::newRow("%x") << QByteArray("%x") << d << "12/08/2026";
        QTest::newRow("%F") << QByteArray("%F") << d << "2026-12-08";
        QTest::newRow("modifiers and flags") << QByteArray("%Od-%-m-%EY") << d << "08-12-2026";
        QTest::newRow("blank-padded day, month name")
            << QByteArray("%a %e %b %Y") << d << "08 12 2026";
        QTest::newRow("words as separators") << QByteArray("%Y年%m月%d日") << d << "2026/12/08";
        QTest::newRow("no day: day/month/year") << QByteArray("%B %Y") << d << "08/12/2026";
        QTest::newRow("empty") << QByteArray() << d << "08/12/2026";
    }
    void shortDateFollowsOrderAndSeparatorOfDateFormat() {
        QFETCH(QByteArray, format);
        QFETCH(QDate, date);
        QFETCH(QString, expected);
        QCOMPARE(clock_::formatShortDate(format, date), expected);
    }

    void shortDateReadsTheSystemDateSetting_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("C") << QByteArray("C") << QByteArray("%m/%d/%y");
        QTest::newRow("es_ES") << QByteArray("es_ES.UTF-8") << QByteArray("%d/%m/%y");
        QTest::newRow("de_DE") << QByteArray("de_DE.UTF-8") << QByteArray("%d.%m.%Y");
        QTest::newRow("en_US") << QByteArray("en_US.UTF-8") << QByteArray("%m/%d/%Y");
    }
    void shortDateReadsTheSystemDateSetting() {
        QFETCH(QByteArray, locale);
        QFETCH(QByteArray, format);
        const locale_t installed = newlocale(LC_TIME_MASK, locale.constData(), locale_t(nullptr));
        if (!installed)
            QSKIP(qPrintable("locale not installed: " + locale));
        freelocale(installed);
        const QByteArray saved = qgetenv("LC_ALL");
        const bool wasSet = qEnvironmentVariableIsSet("LC_ALL");
        qputenv("LC_ALL", locale);
        const QByteArray got = clock_::systemDateFormat();
        const QDate before = QDate::currentDate();
        const QString date = clock_::shortDate();
        const QDate after = QDate::currentDate();
        wasSet ? qputenv("LC_ALL", saved) : qunsetenv("LC_ALL");
        QCOMPARE(got, format);
        QVERIFY(date == clock_::formatShortDate(format, before) ||
                date == clock_::formatShortDate(format, after));
    }

    void pointerCallsDoNotStack() {
        pointer::setMousePointer(pointer::kHourglass);
        pointer::setMousePointer(pointer::kHourglass);
        pointer::setMousePointer(pointer::kDefault);
        QCOMPARE(pointer::mousePointer(), pointer::kDefault);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void hookRunsAtEveryYieldWhetherEventsRunOrNot() {
        int before = 0, after = 0;
        {
            const ScopedYieldHook hook([&] { ++before; }, [&] { ++after; });
            for (int i = 0; i < 100000; ++i)
                events::yieldToEvents();
        }
        events::yieldToEvents(); // and no more once the hook is gone
        QCOMPARE(before, 100000);
        QCOMPARE(after, 100000);
    }

    void postedEventsReachedByYieldsAloneInTheOrderPosted() {
        EventLog log;
        for (int t : {3, 1, 2})
            QCoreApplication::postEvent(&log, new QEvent(QEvent::Type(QEvent::User + t)));
        // Yields only, as a long search makes them; the deadline only keeps a fault from hanging.
        const QDeadlineTimer deadline(10000);
        while (log.types.size() < 3 && !deadline.hasExpired())
            events::yieldToEvents();
        QCOMPARE(log.types, (std::vector<int>{3, 1, 2}));
    }

    void controlCollectionReachesGeometryByName() {
        QWidget form;
        auto* label = new QLabel(&form);
        label->setGeometry(8, 16, 185, 17);
        QAction menuEntry(nullptr);
        ControlCollection c;
        c.add(label);
        c.add(&menuEntry);
        float v = -1;
        QVERIFY(c.get(0, "Left", v));
        QCOMPARE(v, 120.f);
        QVERIFY(c.get(0, "Height", v));
        QCOMPARE(v, 255.f);
        QVERIFY(c.set(0, "Width", 3000.f));
        QCOMPARE(label->width(), 200);
        v = -1;
        QVERIFY(!c.get(1, "Left", v));
        QCOMPARE(v, -1.f); // untouched on failure
        QVERIFY(!c.set(1, "Top", 10.f));
        QVERIFY(!c.get(2, "Left", v));
        QVERIFY(!c.get(0, "Colour", v));
        QVERIFY(!c.set(0, "Width", -30.f));
        QVERIFY(!c.set(0, "Left", std::numeric_limits<float>::infinity()));
    }
};

QTEST_MAIN(PlatformTest)
#include "test_platform.moc"
