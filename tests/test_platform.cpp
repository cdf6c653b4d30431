// The forms-layer stand-ins: limit text, list box, picture box, message-box seam, pointer,
// control collection and the yield.

#include "Controls.h"
#include "Events.h"
#include "LimitText.h"
#include "ListBox.h"
#include "MessageBox.h"
#include "MousePointer.h"
#include "PictureBox.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QLabel>
#include <QtTest>

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
  private slots:
    void initTestCase() { MessageBox::setTesting(true); }
    void init() { MessageBox::reset(); }

    void limitTextConverts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "3000" << true << 3000.0;
        QTest::newRow("blanks around") << "  42 " << true << 42.0;
        QTest::newRow("plus sign") << "+7" << true << 7.0;
        QTest::newRow("negative") << "-12" << true << -12.0;
        QTest::newRow("decimal point") << "29.5" << true << 29.5;
        QTest::newRow("decimal comma") << "29,5" << true << 29.5;
        QTest::newRow("fraction only") << ",5" << true << 0.5;
        QTest::newRow("leading zeros") << "000031" << true << 31.0;
        QTest::newRow("largest") << "4294967295" << true << 4294967295.0;
        QTest::newRow("largest with fraction") << "4294967295.0" << true << 4294967295.0;
        QTest::newRow("one above largest") << "4294967296" << false << 0.0;
        QTest::newRow("just above largest") << "4294967295.5" << false << 0.0;
        QTest::newRow("very negative") << "-99999999999" << true << -99999999999.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blank") << "   " << false << 0.0;
        QTest::newRow("sign only") << "-" << false << 0.0;
        QTest::newRow("point only") << "." << false << 0.0;
        QTest::newRow("exponent") << "3e3" << false << 0.0;
        QTest::newRow("hex") << "0x10" << false << 0.0;
        QTest::newRow("two points") << "1.2.3" << false << 0.0;
        QTest::newRow("sign after digits") << "12-" << false << 0.0;
        QTest::newRow("thousands blank") << "3 000" << false << 0.0;
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("٣٠") << false << 0.0;
    }
    void limitTextConverts() {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(double, value);
        const auto v = limit_text::parseLimit(text);
        QCOMPARE(v.has_value(), accepted);
        if (accepted)
            QCOMPARE(*v, value);
    }

    void listBoxStoresNumbersAndRendersDecimalText() {
        ListBox box;
        box.AddItem(1);
        box.AddItem(4294967295u);
        QCOMPARE(box.ListCount(), 2);
        QCOMPARE(box.List(1), QStringLiteral("4294967295"));
        QCOMPARE(box.List(2), QString());
        QCOMPARE(box.List(-1), QString());
        const quint64 g = box.generation();
        box.setListIndex(1);
        QCOMPARE(box.generation(), g); // selecting is not a change of the items
        box.Clear();
        QCOMPARE(box.ListCount(), 0);
        QCOMPARE(box.ListIndex(), -1);
        QVERIFY(box.generation() > g);
    }

    void listBoxCountsValuesAcrossAscendingRuns_data() {
        QTest::addColumn<QList<uint>>("items");
        QTest::addColumn<uint>("value");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("runs");
        QTest::newRow("seed and one") << QList<uint>{1, 1, 3, 5} << 1u << 2 << 1;
        QTest::newRow("absent") << QList<uint>{1, 1, 3, 5} << 4u << 0 << 1;
        QTest::newRow("in two runs") << QList<uint>{1, 1, 3, 7, 3, 11} << 3u << 2 << 2;
        QTest::newRow("three runs") << QList<uint>{5, 9, 2, 9, 1, 9, 9} << 9u << 4 << 3;
        QTest::newRow("last item") << QList<uint>{1, 2, 3} << 3u << 1 << 1;
    }
    void listBoxCountsValuesAcrossAscendingRuns() {
        QFETCH(QList<uint>, items);
        QFETCH(uint, value);
        QFETCH(int, count);
        QFETCH(int, runs);
        ListBox box;
        for (uint v : items)
            box.AddItem(v);
        QCOMPARE(box.countOf(value), count);
        QCOMPARE(box.runCount(), runs);
    }

    void selectingScrollsItemIntoView() {
        ListBox box;
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
        ListBox box;
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

    void clsErasesAndResetsPrintPosition() {
        PictureBox box;
        box.resize(200, 40);
        box.Cls();
        box.Print("hola");
        QVERIFY(box.printPosition().y() > 0);
        box.Cls();
        QCOMPARE(box.printPosition(), QPoint(0, 0));
        QCOMPARE(box.printedText(), QString());
        const QRgb bg = box.image().pixel(0, 0);
        for (int x = 0; x < box.image().width(); ++x)
            QCOMPARE(box.image().pixel(x, 8), bg);
    }

    void messageBoxTitlesAndDefaults_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("giveEmptyTitle");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("answer");
        QTest::newRow("no title bears the program's") << 16 << false << "Tamizo" << 1;
        QTest::newRow("explicit empty title") << 64 << true << "" << 1;
        QTest::newRow("yes/no defaults to yes") << 36 << true << "" << 6;
    }
    void messageBoxTitlesAndDefaults() {
        QFETCH(int, style);
        QFETCH(bool, giveEmptyTitle);
        QFETCH(QString, title);
        QFETCH(int, answer);
        const int r = giveEmptyTitle ? MessageBox::MsgBox("p", style, QString())
                                     : MessageBox::MsgBox("p", style);
        QCOMPARE(r, answer);
        QCOMPARE(MessageBox::shown().back().title, title);
        QCOMPARE(MessageBox::unscriptedCount(), 1);
    }

    void scriptedAnswersComeInOrderBeforeHandler() {
        MessageBox::setNextAnswer(MessageBox::No);
        MessageBox::setHandler([](const MessageBox::Shown&) { return int(MessageBox::Yes); });
        QCOMPARE(MessageBox::MsgBox("a", 36), int(MessageBox::No));
        QCOMPARE(MessageBox::MsgBox("b", 36), int(MessageBox::Yes));
        QCOMPARE(MessageBox::unscriptedCount(), 0);
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
        events::setYieldHook([&] { ++before; }, [&] { ++after; });
        for (int i = 0; i < 100000; ++i)
            events::yieldToEvents();
        events::setYieldHook(nullptr);
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
