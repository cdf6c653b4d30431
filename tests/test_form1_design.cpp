// The main window as designed: caption, client area, controls with their twip geometry,
// captions and tab order, the menus, the initial list and where focus starts.

#include "Controls.h"
#include "Form1.h"
#include "FormsSeams.h"
#include "ListBox.h"
#include "Twips.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <QtTest>

class Form1DesignTest : public QObject {
    Q_OBJECT
    const ScopedAnswers m_noRealBoxes;

  private slots:

    void controlsStandWhereDesigned_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twipsRect");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Label1") << "Label1" << QRect(120, 120, 2775, 255)
                                << "Calcular números primos menores que:";
        QTest::newRow("Text1") << "Text1" << QRect(3000, 120, 1335, 285) << "3000";
        QTest::newRow("Label2") << "Label2" << QRect(120, 4800, 3375, 255) << "";
        QTest::newRow("Command1") << "Command1" << QRect(120, 3480, 1455, 615)
                                  << "Iniciar el cálculo";
        QTest::newRow("Command2") << "Command2" << QRect(1680, 3480, 1095, 615) << "Detener";
        QTest::newRow("Command3") << "Command3" << QRect(2880, 3480, 1455, 615)
                                  << "Guardar números";
        QTest::newRow("pprogreso") << "pprogreso" << QRect(120, 4200, 4215, 375) << "";
        QTest::newRow("lista") << "lista" << QRect(360, 840, 3735, 2010) << "";
    }
    void controlsStandWhereDesigned() {
        QFETCH(QString, name);
        QFETCH(QRect, twipsRect);
        QFETCH(QString, caption);
        Form1 form;
        auto* w = form.findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->parentWidget(), form.surface());
        const QRect px(twips::toPx(twipsRect.x()), twips::toPx(twipsRect.y()),
                       twips::toPx(twipsRect.width()), twips::toPx(twipsRect.height()));
        QCOMPARE(w->geometry(), px);
        if (auto* l = qobject_cast<QLabel*>(w); l && !caption.isEmpty())
            QCOMPARE(l->text(), caption);
        if (auto* e = qobject_cast<QLineEdit*>(w))
            QCOMPARE(e->text(), caption);
        if (auto* b = qobject_cast<QToolButton*>(w)) {
            QCOMPARE(b->text(), caption);
            QVERIFY(!b->text().contains(u'&'));
            QCOMPARE(b->iconSize(), QSize(16, 16));
        }
        QVERIFY(w->isEnabled());
    }

    void windowHasDesignedCaptionAndClientArea() {
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.windowTitle(), QStringLiteral("Tamizo"));
        QCOMPARE(form.ScaleWidth(), 4455.0);
        QCOMPARE(form.ScaleHeight(), 5175.0);
        QVERIFY(form.windowFlags() & Qt::WindowMaximizeButtonHint);
        QCOMPARE(form.windowIcon().availableSizes().contains(QSize(32, 32)), true);
        QCOMPARE(QApplication::focusWidget(), form.Text1);
    }

    void creditLineIsRedBold() {
        Form1 form;
        QVERIFY(form.Label2->text().contains(QStringLiteral("2003")));
        QVERIFY(form.Label2->font().bold());
        QCOMPARE(form.Label2->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }

    void tabOrderRunsThroughFocusableControls() {
        Form1 form;
        QList<QWidget*> order{form.Text1};
        QWidget* w = form.Text1;
        while (order.size() < 5) {
            w = w->nextInFocusChain();
            if ((w->focusPolicy() & Qt::TabFocus) && w->parentWidget() == form.surface() &&
                !order.contains(w))
                order << w;
        }
        const QList<QWidget*> expected{form.Text1, form.Command1, form.Command2, form.Command3,
                                       form.lista};
        QCOMPARE(order, expected);
        QCOMPARE(form.Label1->focusPolicy(), Qt::NoFocus);
        QCOMPARE(form.pprogreso->focusPolicy(), Qt::NoFocus);
    }

    void noButtonIsDefault() {
        Form1 form;
        for (auto* b : form.findChildren<QToolButton*>())
            QVERIFY(!b->property("default").toBool());
    }

    void menusAsDesigned_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("Cálculo") << "mCalculo"
                                 << "Cálculo" << QStringList{"mStart", "mStop"}
                                 << QStringList{"Iniciar", "Detener"};
        QTest::newRow("Opciones") << "mTools"
                                  << "Opciones" << QStringList{"mSave"}
                                  << QStringList{"Guardar números"};
        QTest::newRow("Ayuda") << "mHelp"
                               << "Ayuda" << QStringList{"mAbout"} << QStringList{"Acerca de..."};
    }
    void menusAsDesigned() {
        QFETCH(QString, menu);
        QFETCH(QString, title);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, captions);
        Form1 form;
        auto* m = form.findChild<QMenu*>(menu);
        QVERIFY(m);
        QCOMPARE(m->title(), title);
        QVERIFY(form.menuBar()->actions().contains(m->menuAction()));
        const auto actions = m->actions();
        QCOMPARE(actions.size(), entries.size());
        for (int i = 0; i < entries.size(); ++i) {
            QCOMPARE(actions[i]->objectName(), entries[i]);
            QCOMPARE(actions[i]->text(), captions[i]);
            QVERIFY(actions[i]->shortcut().isEmpty());
            QVERIFY(!actions[i]->isCheckable());
            QVERIFY(actions[i]->isEnabled());
        }
    }

    void controlCollectionHoldsControlsThenMenuEntries() {
        Form1 form;
        QCOMPARE(form.Controls().Count(), 15);
        float v = 0;
        int withGeometry = 0;
        for (int i = 0; i < form.Controls().Count(); ++i)
            withGeometry += form.Controls().get(i, "Left", v);
        QCOMPARE(withGeometry, 8);
    }

    void listStartsWithSingleOne() {
        Form1 form;
        QCOMPARE(form.lista->ListCount(), 1);
        QCOMPARE(form.lista->List(0), QStringLiteral("1"));
        QVERIFY(!form.StopRequested);
        QVERIFY(!form.Busy);
    }
};

QTEST_MAIN(Form1DesignTest)
#include "test_form1_design.moc"
