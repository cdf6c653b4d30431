// Hover hints in the progress strip: which control gives which hint, what leaves the last hint
// in place, and that a running search is never disturbed by them.

#include "Harness.h"
#include "PictureBox.h"

#include <QLabel>
#include <QtTest>

class HintsTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<Harness> h;

    QWidget* control(const QString& name) { return h->form->findChild<QWidget*>(name); }
    void hover(QWidget* w, QPoint at = QPoint(3, 3)) {
        QTest::mouseMove(w, at);
        QCoreApplication::processEvents();
    }
    QString strip() const { return h->form->pprogreso->printedText(); }

  private slots:
    void init() {
        h = std::make_unique<Harness>();
        h->form->show();
        QVERIFY(QTest::qWaitForWindowExposed(h->form.get()));
    }
    void cleanup() { h.reset(); }

    void eachControlShowsItsHint_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("hint");
        QTest::newRow("start button") << "Command1"
                                      << "Inicia el cálculo de números primos.";
        QTest::newRow("stop button") << "Command2"
                                     << "Detiene el cálculo.";
        QTest::newRow("save button") << "Command3"
                                     << "Guardar los números calculados en un fichero de texto";
        QTest::newRow("limit field")
            << "Text1"
            << "Introducir el máximo número hasta el que se calcularán primos.";
    }
    void eachControlShowsItsHint() {
        QFETCH(QString, name);
        QFETCH(QString, hint);
        hover(control(name));
        QTRY_COMPARE(strip(), hint);
    }

    void bareSurfaceClearsTheHint() {
        hover(control("Command1"));
        QTRY_VERIFY(!strip().isEmpty());
        hover(h->form->surface(), QPoint(2, 300)); // left margin, clear of every control
        QTRY_COMPARE(strip(), QString());
        QCOMPARE(h->form->pprogreso->printPosition().y() > 0, true); // an empty line printed
    }

    void passiveControlsKeepTheLastHint_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("list") << "lista";
        QTest::newRow("strip") << "pprogreso";
        QTest::newRow("label") << "Label1";
        QTest::newRow("credit") << "Label2";
    }
    void passiveControlsKeepTheLastHint() {
        QFETCH(QString, name);
        hover(control("Command2"));
        QTRY_COMPARE(strip(), QStringLiteral("Detiene el cálculo."));
        QWidget* w = control(name);
        hover(w, QPoint(w->width() / 2, w->height() / 2));
        hover(w, QPoint(w->width() / 2 + 1, w->height() / 2));
        QCOMPARE(strip(), QStringLiteral("Detiene el cálculo."));
    }

    void noHintWhileSearching() {
        QString stripAtSummary = QStringLiteral("unset");
        h->onYield = [&](int yield) {
            if (yield < 4)
                h->form->Command1_MouseMove(), h->form->Form_MouseMove();
        };
        h->onBox = [&](const MessageBox::Shown& b) {
            if (b.style == 64)
                stripAtSummary = strip();
        };
        h->start("3000");
        QCOMPARE(stripAtSummary, QString());
        // After the search the first hover shows its hint again.
        hover(control("Command3"));
        QTRY_COMPARE(strip(),
                     QStringLiteral("Guardar los números calculados en un fichero de texto"));
    }
};

QTEST_MAIN(HintsTest)
#include "test_hints.moc"
