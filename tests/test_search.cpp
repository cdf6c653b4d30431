// The prime search of the main window, driven through its buttons and menus, checked against
// the search as designed (tests/support/Reference.h).

#include "Harness.h"
#include "MousePointer.h"
#include "Pacer.h"
#include "PictureBox.h"
#include "SystemSeams.h"

#include <QAction>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QtTest>
#include <optional>

using reference::Action;

class SearchTest : public QObject {
    Q_OBJECT
  private:
    static int barPixels(const PictureBox* box) {
        const QImage& img = box->image();
        int n = 0;
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, 0) == qRgb(0, 128, 128);
        return n;
    }

  private slots:
    void finishedSearchListsOneOneAndOddPrimes_data() {
        QTest::addColumn<QString>("limit");
        QTest::addColumn<int>("items");
        QTest::addColumn<QString>("last");
        QTest::newRow("limit 30") << "30" << 11 << "29";
        QTest::newRow("initial limit 3000") << "3000" << 431 << "2999";
        QTest::newRow("limit 1") << "1" << 2 << "1";
        QTest::newRow("limit 2") << "2" << 2 << "1";
        QTest::newRow("limit 0: seed only") << "0" << 1 << "1";
        QTest::newRow("negative limit: seed only") << "-7" << 1 << "1";
        QTest::newRow("odd limit is a candidate") << "29" << 11 << "29";
        QTest::newRow("even limit stops below") << "28" << 10 << "23";
        QTest::newRow("fractional limit") << "29,5" << 11 << "29";
        QTest::newRow("blanks and sign") << "  +97 " << 26 << "97";
        QTest::newRow("limit 99 reaches one checkpoint") << "99" << 26 << "97";
    }
    void finishedSearchListsOneOneAndOddPrimes() {
        QFETCH(QString, limit);
        QFETCH(int, items);
        QFETCH(QString, last);
        Harness h;
        h.start(limit);
        QCOMPARE(h.form->lista->ListCount(), items);
        QCOMPARE(h.form->lista->List(items - 1), last);
        QCOMPARE(h.summaries, std::vector<long long>{items});
        reference::Model m;
        m.text = limit;
        reference::calcula(m);
        QCOMPARE(h.listValues(), m.list);
        QVERIFY(!h.form->Busy);
        QVERIFY(!h.form->StopRequested);
        QCOMPARE(pointer::mousePointer(), pointer::kDefault);
    }

    void summaryTextHasSingleBlanksAroundCountAndTime() {
        Harness h;
        h.start("30");
        const auto& boxes = h.boxes.shown();
        QCOMPARE(boxes.size(), size_t(2));
        QCOMPARE(boxes[0].prompt, QStringLiteral("¿Desea borrar la lista de números actual?"));
        QCOMPARE(boxes[0].style, 36);
        QCOMPARE(boxes[0].title, QString());
        QCOMPARE(boxes[1].style, 64);
        QCOMPARE(boxes[1].title, QStringLiteral("Estadística de cálculo"));
        QVERIFY(boxes[1].prompt.startsWith(QStringLiteral(
            "Cálculo terminado. 11 primos calculados. Tiempo empleado (segundos): ")));
    }

    void elapsedTimeCountsSecondBoundaries_data() {
        QTest::addColumn<int>("h1");
        QTest::addColumn<int>("m1");
        QTest::addColumn<int>("s1");
        QTest::addColumn<int>("h2");
        QTest::addColumn<int>("m2");
        QTest::addColumn<int>("s2");
        QTest::addColumn<QString>("tail");
        QTest::newRow("10:00:59 to 10:01:00") << 10 << 0 << 59 << 10 << 1 << 0 << ": 1";
        QTest::newRow("same second") << 9 << 30 << 5 << 9 << 30 << 5 << ": 0";
        QTest::newRow("over an hour") << 8 << 59 << 30 << 10 << 0 << 0 << ": 3630";
        QTest::newRow("past midnight") << 23 << 59 << 59 << 0 << 0 << 1 << ": 2";
    }
    void elapsedTimeCountsSecondBoundaries() {
        QFETCH(int, h1);
        QFETCH(int, m1);
        QFETCH(int, s1);
        QFETCH(int, h2);
        QFETCH(int, m2);
        QFETCH(int, s2);
        QFETCH(QString, tail);
        int calls = 0;
        const ScopedClock clock([&]() -> clock_::TimeOfDay {
            return ++calls == 1 ? clock_::TimeOfDay{h1, m1, s1} : clock_::TimeOfDay{h2, m2, s2};
        });
        Harness h;
        h.start("30");
        QCOMPARE(calls, 2);
        QVERIFY2(h.boxes.shown().back().prompt.endsWith(tail),
                 qPrintable(h.boxes.shown().back().prompt));
    }

    void answeringNoLeavesListAndFlagsButClearsStrip() {
        Harness h;
        h.start("30");
        h.form->tooltip("hint");
        h.start("3000", false);
        QCOMPARE(h.form->lista->ListCount(), 11);
        QVERIFY(!h.form->Busy);
        QCOMPARE(h.form->pprogreso->printedText(), QString());
        QCOMPARE(h.summaries.size(), size_t(1));
    }

    void refusedLimitLeavesEverythingAsItWas_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("prompt");
        const QString notANumber =
            QStringLiteral("Escriba el límite como un número entero, por ejemplo 3000 o 3.000.");
        const QString tooLarge =
            QStringLiteral("Escriba como límite un número no mayor que 4294967295.");
        QTest::newRow("empty") << "" << notANumber;
        QTest::newRow("letters") << "abc" << notANumber;
        QTest::newRow("exponent") << "1e5" << notANumber;
        QTest::newRow("two signs") << "--5" << notANumber;
        QTest::newRow("two decimal signs") << "1.2.3" << notANumber;
        QTest::newRow("broken grouping") << "1.000.00" << notANumber;
        QTest::newRow("inner blank") << "30 00" << notANumber;
        QTest::newRow("above 4294967295") << "4294967296" << tooLarge;
        QTest::newRow("grouped above 4294967295") << "4.294.967.296" << tooLarge;
        QTest::newRow("huge") << "99999999999999999999999" << tooLarge;
    }
    void refusedLimitLeavesEverythingAsItWas() {
        QFETCH(QString, text);
        QFETCH(QString, prompt);
        Harness h;
        h.start("30");
        h.form->StopRequested = true;
        h.form->tooltip("hint");
        h.boxes.forget();
        h.form->Text1->setText(text);
        h.form->Command1->click();
        QCOMPARE(h.boxes.shown().size(), size_t(1));
        QCOMPARE(h.boxes.shown()[0].prompt, prompt);
        QCOMPARE(h.boxes.shown()[0].style, 16);
        QCOMPARE(h.boxes.shown()[0].title, QStringLiteral("Tamizo"));
        QCOMPARE(h.form->pprogreso->printedText(), QString()); // the strip is cleared first
        QCOMPARE(h.form->lista->ListCount(), 11);
        QVERIFY(h.form->StopRequested);
        QVERIFY(!h.form->Busy);
    }

    void pendingStopEndsNextSearchAtFirstCheckpoint_data() {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("button") << false;
        QTest::newRow("menu") << true;
    }
    void pendingStopEndsNextSearchAtFirstCheckpoint() {
        QFETCH(bool, fromMenu);
        Harness h;
        if (fromMenu)
            h.form->mStop->trigger();
        else
            h.form->Command2->click();
        QVERIFY(h.form->StopRequested);
        if (fromMenu)
            h.form->mStart->trigger(), h.answers.push_back(true);
        else
            h.start("3000");
        QCOMPARE(h.form->lista->ListCount(), 26);
        QCOMPARE(h.form->lista->List(25), QStringLiteral("97"));
        QCOMPARE(h.summaries, std::vector<long long>{26});
        QVERIFY(!h.form->StopRequested);
    }

    void pendingStopSurvivesSearchWithoutCheckpoint() {
        Harness h;
        h.form->Command2->click();
        h.start("50");
        QCOMPARE(h.form->lista->ListCount(), 16);
        QVERIFY(!h.form->StopRequested); // cleared at the end of that search
        h.start("3000");
        QCOMPARE(h.form->lista->ListCount(), 431);
    }

    void stopDuringSearchKeepsPrimesUpToThatCheckpoint_data() {
        QTest::addColumn<int>("yield");
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("button at 499") << 4 << false;
        QTest::newRow("menu at 1999") << 19 << true;
    }
    void stopDuringSearchKeepsPrimesUpToThatCheckpoint() {
        QFETCH(int, yield);
        QFETCH(bool, fromMenu);
        Harness h;
        h.onYield = [&](int y) {
            if (y == yield)
                fromMenu ? h.form->mStop->trigger() : h.form->Command2->click();
        };
        h.start("3000");
        const quint32 last = 99 + 100 * yield;
        QCOMPARE(h.listValues(), reference::primesList(last));
        QVERIFY(!h.form->StopRequested);
    }

    void checkpointsDrawGrowingBarAndSelectLastItem() {
        Harness h;
        std::vector<int> widths;
        qint64 selected = -2;
        h.onBox = [&](const MessageBox::Shown& box) {
            if (box.style == 64) {
                widths.push_back(barPixels(h.form->pprogreso));
                selected = h.form->lista->ListIndex();
            }
        };
        h.start("3000");
        QCOMPARE(h.yields, 30);
        // The last bar, 2999 against 3000 on the outer width, fills the drawable area.
        QCOMPARE(widths.at(0), h.form->pprogreso->image().width());
        QCOMPARE(selected, 430);
        QCOMPARE(barPixels(h.form->pprogreso), 0); // cleared after the summary
    }

    void resizeErasesBarAndNextCheckpointDrawsItAtNewSize() {
        Harness h;
        h.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
        int barAfterResize = -1, widthAtSummary = -1;
        h.onYield = [&](int y) {
            if (y == 10) {
                h.form->setOuterSizeTwips(h.form->Width() * 1.5, h.form->Height());
                barAfterResize = barPixels(h.form->pprogreso);
            }
        };
        h.onBox = [&](const MessageBox::Shown& b) {
            if (b.style == 64)
                widthAtSummary = barPixels(h.form->pprogreso);
        };
        h.start("3000");
        QCOMPARE(barAfterResize, 0);
        QCOMPARE(h.form->pprogreso->image().width(), h.form->pprogreso->width() - 4);
        QCOMPARE(widthAtSummary, h.form->pprogreso->image().width());
    }

    void scrollBarShowsWhenRowsDoNotFitAndFollowsTopRow_data() {
        QTest::addColumn<int>("yield"); // the checkpoint at which to look; -1: after the search
        QTest::addColumn<bool>("clear");
        QTest::newRow("at a checkpoint's paced repaint") << 10 << false;
        QTest::newRow("at the end of the search") << -1 << false;
        QTest::newRow("after the list is cleared") << -1 << true;
    }
    void scrollBarShowsWhenRowsDoNotFitAndFollowsTopRow() {
        QFETCH(int, yield);
        QFETCH(bool, clear);
        Harness h;
        h.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
        ListBox* list = h.form->lista;
        const QScrollBar* bar = list->verticalScrollBar();
        struct Seen {
            bool visible;
            int maximum, value;
            qint64 top, count, rows;
        };
        std::optional<Seen> seen;
        auto look = [&] {
            seen = Seen{bar->isVisible(), bar->maximum(),    bar->value(),
                        list->TopIndex(), list->ListCount(), list->visibleRows()};
        };
        h.onYield = [&](int y) {
            if (y == yield) {
                Pacer::flush(); // the paced repaint falls due now
                look();
            }
        };
        h.start("3000"); // the summary box repaints what is due before it opens
        if (clear) {
            list->Clear();
            list->AddItem(1);
            QTRY_VERIFY(!bar->isVisible());
        }
        if (yield < 0)
            look();
        QVERIFY(seen);
        QCOMPARE(seen->count > seen->rows, !clear);
        QCOMPARE(seen->visible, !clear);
        QCOMPARE(seen->maximum, std::max<qint64>(0, seen->count - seen->rows));
        QCOMPARE(seen->value, seen->top);
        if (yield < 0 && !clear) // the last item selected and in view
            QCOMPARE(seen->top, seen->count - seen->rows);
    }

    void fullListEndsSearchAsAStopAndSaysSo_data() {
        QTest::addColumn<bool>("midSearch"); // the store fills at a checkpoint, else at its limit
        QTest::addColumn<quint32>("lastPrime");
        // A list of 100 items ends at 523, the 98th odd prime.
        QTest::newRow("item limit reached") << false << 523u;
        // The store takes nothing more from the checkpoint at 599 on.
        QTest::newRow("store refuses the next item") << true << 599u;
    }
    void fullListEndsSearchAsAStopAndSaysSo() {
        QFETCH(bool, midSearch);
        QFETCH(quint32, lastPrime);
        Harness h;
        PrimeStore& store = h.form->primes();
        if (!midSearch)
            store.setLimits({100});
        h.onYield = [&](int y) {
            if (y == 5 && midSearch)
                store.setLimits({store.size()});
        };
        int yieldsAfterFull = 0;
        h.onBox = [&](const MessageBox::Shown& b) {
            if (b.style == 48)
                yieldsAfterFull = -h.yields;
            if (b.style == 64)
                yieldsAfterFull += h.yields;
        };
        h.start("3000");
        const std::vector<quint32> expected = reference::primesList(lastPrime);
        QCOMPARE(h.listValues(), expected);
        const auto& boxes = h.boxes.shown();
        QCOMPARE(boxes.size(), size_t(3));
        QCOMPARE(boxes[1].prompt, QStringLiteral("La lista está llena: no caben más números. Se "
                                                 "conserva la lista calculada hasta ahora."));
        QCOMPARE(boxes[1].style, 48);
        QCOMPARE(boxes[1].title, QStringLiteral("Tamizo"));
        QCOMPARE(h.summaries, std::vector<long long>{qint64(expected.size())});
        QCOMPARE(yieldsAfterFull, 0); // it ended at once, without another checkpoint
        QVERIFY(!h.form->Busy);
        QVERIFY(!h.form->StopRequested);
        QCOMPARE(pointer::mousePointer(), pointer::kDefault);
    }

    void limitBelow99NeverYieldsNorDrawsBar() {
        Harness h;
        int widthAtSummary = -1;
        h.onBox = [&](const MessageBox::Shown& b) {
            if (b.style == 64)
                widthAtSummary = barPixels(h.form->pprogreso);
        };
        h.start("98");
        QCOMPARE(h.yields, 0);
        QCOMPARE(widthAtSummary, 0);
    }

    void editingLimitMidSearchRescalesBarButKeepsEnd() {
        Harness h;
        h.actions[3] = {Action::Edit, QStringLiteral("6.000")};
        int width = -1;
        h.onBox = [&](const MessageBox::Shown& b) {
            if (b.style == 64)
                width = barPixels(h.form->pprogreso);
        };
        h.start("3000");
        QCOMPARE(h.listValues(), reference::primesList(3000));
        // 2999 against 6000: about half the outer width.
        const double half = 2999.0 * h.form->pprogreso->width() / 6000.0;
        QVERIFY2(std::abs(width - half) <= 1.5, qPrintable(QString::number(width)));
    }

    void progresoWithBadMaximumDrawsNothing_data() {
        QTest::addColumn<QString>("max");
        QTest::newRow("zero") << "0";
        QTest::newRow("letters") << "abc";
        QTest::newRow("empty") << "";
        QTest::newRow("broken grouping") << "0.500";
    }
    void progresoWithBadMaximumDrawsNothing() {
        QFETCH(QString, max);
        Harness h;
        h.form->pprogreso->Cls();
        h.form->progreso(50, max);
        QCOMPARE(barPixels(h.form->pprogreso), 0);
        h.form->progreso(50, "100"); // and a good one still draws
        QVERIFY(barPixels(h.form->pprogreso) > 0);
    }

    void negativeMaximumPutsBarLeftOfOrigin() {
        Harness h;
        h.form->pprogreso->Cls();
        h.form->progreso(50, "-100");
        // Only the origin column, where the box's corner lies, can be touched.
        QVERIFY(barPixels(h.form->pprogreso) <= 1);
    }

    void nestedSearchesMatchReference_data() {
        QTest::addColumn<QString>("outer");
        QTest::addColumn<int>("yield");
        QTest::addColumn<QString>("inner");
        QTest::addColumn<bool>("yes");
        QTest::newRow("smaller inner at 999") << "3000" << 9 << "30" << true;
        QTest::newRow("inner refused by No") << "3000" << 9 << "30" << false;
        QTest::newRow("larger inner at 199") << "1000" << 1 << "5000" << true;
        QTest::newRow("inner seed only") << "2000" << 5 << "0" << true;
        QTest::newRow("inner of one") << "2000" << 5 << "1" << true;
        QTest::newRow("inner 2000 at 2999") << "6000" << 29 << "2000" << true;
    }
    void nestedSearchesMatchReference() {
        QFETCH(QString, outer);
        QFETCH(int, yield);
        QFETCH(QString, inner);
        QFETCH(bool, yes);
        Harness h;
        reference::Model m;
        m.text = outer;
        h.actions[yield] = m.actions[yield] = {Action::Start, inner, yes};
        h.start(outer);
        reference::calcula(m);
        QCOMPARE(h.listValues(), m.list);
        QCOMPARE(h.summaries, m.summaries);
        QVERIFY(!h.form->Busy);
        QCOMPARE(pointer::mousePointer(), pointer::kDefault);
    }

    void randomScenariosMatchReference() {
        QRandomGenerator rng(20031207);
        for (int round = 0; round < 40; ++round) {
            Harness h;
            reference::Model m;
            const QString outer = QString::number(rng.bounded(-5, 6000));
            m.text = outer;
            const int count = rng.bounded(0, 4);
            for (int i = 0; i < count; ++i) {
                const int y = rng.bounded(0, 60);
                Action a;
                switch (rng.bounded(0, 3)) {
                case 0:
                    a = {Action::Stop, {}, true};
                    break;
                case 1:
                    a = {Action::Edit, QString::number(rng.bounded(1, 9000)), true};
                    break;
                default:
                    a = {Action::Start, QString::number(rng.bounded(-5, 4000)),
                         rng.bounded(0, 4) != 0};
                }
                h.actions[y] = m.actions[y] = a;
            }
            if (rng.bounded(0, 5) == 0)
                h.form->Command2->click(), m.stopRequested = true;
            h.start(outer);
            reference::calcula(m);
            QVERIFY2(h.listValues() == m.list, qPrintable(QStringLiteral("round %1").arg(round)));
            QCOMPARE(h.summaries, m.summaries);
            QCOMPARE(h.form->StopRequested, false);
        }
    }

    void nestedSearchesAtLargerLimitsMatchReference_data() {
        QTest::addColumn<QString>("outer");
        QTest::addColumn<QList<int>>("yields");
        QTest::addColumn<QStringList>("inner");
        QTest::newRow("large inner inside large outer")
            << "120000" << QList<int>{100} << QStringList{"60000"};
        QTest::newRow("inner larger than what is left of outer")
            << "40000" << QList<int>{300} << QStringList{"90000"};
        QTest::newRow("two inner searches, second inside the first")
            << "80000" << QList<int>{50, 70} << QStringList{"30", "20000"};
        QTest::newRow("inner leaves only the seed, outer runs long")
            << "100000" << QList<int>{10} << QStringList{"-1"};
    }
    void nestedSearchesAtLargerLimitsMatchReference() {
        QFETCH(QString, outer);
        QFETCH(QList<int>, yields);
        QFETCH(QStringList, inner);
        Harness h;
        reference::Model m;
        m.text = outer;
        for (int i = 0; i < yields.size(); ++i)
            h.actions[yields[i]] = m.actions[yields[i]] = {Action::Start, inner[i], true};
        h.start(outer);
        reference::calcula(m);
        QCOMPARE(h.form->lista->ListCount(), qint64(m.list.size()));
        QVERIFY(h.listValues() == m.list);
        QCOMPARE(h.summaries, m.summaries);
    }

    void randomScenariosAtLargerLimitsMatchReference() {
        QRandomGenerator rng(1207);
        for (int round = 0; round < 8; ++round) {
            Harness h;
            reference::Model m;
            const QString outer = QString::number(rng.bounded(20000, 60000));
            m.text = outer;
            for (int i = rng.bounded(1, 5); i > 0; --i) {
                const int y = rng.bounded(0, 500);
                Action a;
                switch (rng.bounded(0, 4)) {
                case 0:
                    a = {Action::Stop, {}, true};
                    break;
                case 1:
                    a = {Action::Edit, QString::number(rng.bounded(1, 90000)), true};
                    break;
                default:
                    a = {Action::Start, QString::number(rng.bounded(-5, 50000)), true};
                }
                h.actions[y] = m.actions[y] = a;
            }
            h.start(outer);
            reference::calcula(m);
            QVERIFY2(h.listValues() == m.list, qPrintable(QStringLiteral("round %1").arg(round)));
            QCOMPARE(h.summaries, m.summaries);
        }
    }

    void hourglassWhileSearchingDefaultAfter() {
        Harness h;
        int pointerDuring = -1;
        bool busyDuring = false;
        h.onBox = [&](const MessageBox::Shown& b) {
            if (b.style == 64) {
                pointerDuring = pointer::mousePointer();
                busyDuring = h.form->Busy;
            }
        };
        h.start("30");
        QCOMPARE(pointerDuring, pointer::kHourglass);
        QVERIFY(busyDuring);
        QCOMPARE(pointer::mousePointer(), pointer::kDefault);
    }

    void closingWindowEndsEverySearchQuietly() {
        Harness h;
        h.form->show();
        h.actions[2] = {Action::Start, QStringLiteral("3000"), true};
        h.onYield = [&](int y) {
            if (y == 5)
                h.form->close();
        };
        h.start("5000");
        QVERIFY(h.form->isClosed());
        QVERIFY(h.summaries.empty());
        // Neither search went on after the close.
        QCOMPARE(h.yields, 6);
        QCOMPARE(pointer::mousePointer(), pointer::kDefault);
    }
};

QTEST_MAIN(SearchTest)
#include "test_search.moc"
