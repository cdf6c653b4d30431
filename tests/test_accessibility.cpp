// What a screen reader finds in each window (roles, names, the list's rows, the progress value
// and the hint), the notices it hears and their pace, and the program used with the keyboard
// alone.

#include "AccessibleNotices.h"
#include "DirListBox.h"
#include "DriveListBox.h"
#include "Form2.h"
#include "FormsSeams.h"
#include "Harness.h"
#include "Launcher.h"
#include "ListBoxAccessible.h"
#include "PictureBox.h"
#include "SystemSeams.h"
#include "frmAbout.h"

#include <QAccessible>
#include <QAccessibleEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// Every notice sent while it lives: its kind, the row it is about (-1: not a row), the object,
// the value told, and when (ms since the recorder started).
struct Notices {
    struct Notice {
        QAccessible::Event type;
        int row;
        QObject* object;
        QVariant value;
        qint64 ms;
    };
    std::vector<Notice> all;
    QElapsedTimer clock;

    Notices() {
        clock.start();
        a11y::setRecorderForTesting([this](QAccessibleEvent& e) {
            const auto* row = dynamic_cast<ListRowAccessible*>(e.accessibleInterface());
            const QVariant value = e.type() == QAccessible::ValueChanged
                                       ? static_cast<QAccessibleValueChangeEvent&>(e).value()
                                       : QVariant();
            all.push_back({e.type(), row ? row->index() : -1, e.object(), value, clock.elapsed()});
        });
    }
    ~Notices() { a11y::setRecorderForTesting(nullptr); }
    std::vector<Notice> of(QAccessible::Event type) const {
        std::vector<Notice> found;
        std::copy_if(all.begin(), all.end(), std::back_inserter(found),
                     [&](const Notice& n) { return n.type == type; });
        return found;
    }
};

QAccessibleInterface* iface(QObject* o) {
    return QAccessible::queryAccessibleInterface(o);
}

void activate(QWidget& w) {
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QWidget* target = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                        : QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClick(target, k, m);
}

template <class Dialog> Dialog* openDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<Dialog*>(w); d && d->isVisible())
            return d;
    return nullptr;
}

// Runs `steps` once a dialog of that class is open and active; one still not active after 10 s
// is closed, so that the test fails instead of waiting for ever.
template <class Dialog> void whenOpen(QObject* guard, std::function<void()> steps) {
    auto* poll = new QTimer(guard);
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    QObject::connect(poll, &QTimer::timeout, [=] {
        Dialog* d = openDialog<Dialog>();
        if (d && QApplication::activeWindow() == d) {
            poll->deleteLater();
            steps();
        } else if (waited->elapsed() > 10000) {
            poll->deleteLater();
            if (d)
                d->close();
        }
    });
    poll->start(10);
}
} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
    const ScopedAnswers m_noRealBoxes;

  private slots:
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    void controlsHaveTheirRolesAndNames_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("labelledBy"); // the label it is named after, if any
        auto row = [](const char* tag, const char* w, const char* c, QAccessible::Role r,
                      const QString& name, const char* label = "") {
            QTest::newRow(tag) << w << c << int(r) << name << label;
        };
        using A = QAccessible;
        row("limit field", "Form1", "Text1", A::EditableText,
            "Calcular números primos menores que:", "Label1");
        row("prime list", "Form1", "lista", A::List, "Números primos");
        row("progress strip", "Form1", "pprogreso", A::ProgressBar, "Progreso del cálculo");
        row("start", "Form1", "Command1", A::Button, "Iniciar el cálculo");
        row("stop", "Form1", "Command2", A::Button, "Detener");
        row("save", "Form1", "Command3", A::Button, "Guardar números");
        row("credit", "Form1", "Label2", A::StaticText, "Programado por Quorvaldi, 2003");
        row("folder tree", "Form2", "Dir1", A::Tree, "Carpetas");
        row("file name", "Form2", "Text1", A::EditableText, "Nombre de archivo:", "Label2");
        row("Guardar", "Form2", "Command1", A::Button, "Guardar");
        row("Cancelar", "Form2", "Command2", A::Button, "Cancelar");
        row("title", "frmAbout", "lblTitle", A::StaticText,
            "Tamizo, programado por Quorvaldi en 2003");
        row("version", "frmAbout", "lblVersion", A::StaticText, "Versión 1.0.0");
        row("home page link", "frmAbout", "Label2", A::Link, "Página personal de Quorvaldi");
        row("Aceptar", "frmAbout", "cmdOK", A::Button, "Aceptar");
        row("system information", "frmAbout", "cmdSysInfo", A::Button, "Info. del sistema...");
    }
    void controlsHaveTheirRolesAndNames() {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, labelledBy);
        Form1 form;
        Form2 save(form.lista->store());
        frmAbout about;
        QWidget* w = window == "Form1"   ? static_cast<QWidget*>(&form)
                     : window == "Form2" ? static_cast<QWidget*>(&save)
                                         : &about;
        auto* c = w->findChild<QWidget*>(control);
        QVERIFY(c);
        QAccessibleInterface* i = iface(c);
        QCOMPARE(int(i->role()), role);
        QCOMPARE(i->text(QAccessible::Name), name);
        if (!labelledBy.isEmpty()) {
            const auto labels = i->relations(QAccessible::Label);
            QCOMPARE(labels.size(), 1);
            QCOMPARE(labels[0].first->object(), w->findChild<QLabel*>(labelledBy));
        }
    }

    void menusFoldersAndActionsAsAReaderUsesThem() {
        Form1 form;
        QAccessibleInterface* bar = iface(form.menuBar());
        QStringList menus;
        for (int i = 0; i < bar->childCount(); ++i)
            menus << bar->child(i)->text(QAccessible::Name);
        QCOMPARE(menus, (QStringList{"Cálculo", "Opciones", "Ayuda"}));
        QCOMPARE(bar->child(0)->role(), QAccessible::MenuItem);

        Form2 save(form.lista->store());
        const QTemporaryDir dir; // below its drive's root, which the tree then shows open
        QVERIFY(save.Dir1->setPath(dir.path()));
        // The drive list goes by the drive chosen (a combo box's name on this desktop) and by
        // its label.
        QAccessibleInterface* drive = iface(save.Drive1);
        QCOMPARE(drive->role(), QAccessible::ComboBox);
        QCOMPARE(drive->text(QAccessible::Value), save.Drive1->Drive());
        QCOMPARE(drive->text(QAccessible::Name), save.Drive1->Drive());
        QCOMPARE(drive->relations(QAccessible::Label).value(0).first->object(), save.Label1);
        QCOMPARE(iface(save.Dir1)->text(QAccessible::Description),
                 QDir::toNativeSeparators(save.Dir1->path()));
        // The tree's rows (after its header) read folder names and whether they are open.
        QCOMPARE(iface(save.Dir1)->child(0)->text(QAccessible::Name), QStringLiteral("Carpetas"));
        QAccessibleInterface* root = iface(save.Dir1)->child(1);
        QCOMPARE(root->text(QAccessible::Name), save.Dir1->topLevelItem(0)->text(0));
        QVERIFY(root->state().expandable);
        QVERIFY(root->state().expanded); // on the way to the current folder

        // Actions run once the caller has its answer: a button's press, the link's opening of
        // the home page (here with an opener that can't be started, so a box tells of it).
        const QString press = QAccessibleActionInterface::pressAction();
        iface(form.Command2)->actionInterface()->doAction(press);
        QVERIFY(!form.StopRequested);
        QTRY_VERIFY(form.StopRequested);
        const ScopedAnswers answers;
        const ScopedLauncher opener(QStringLiteral("/nonexistent/opener"));
        frmAbout about;
        QAccessibleActionInterface* link = iface(about.Label2)->actionInterface();
        QVERIFY(link->actionNames().contains(press));
        QVERIFY(iface(about.Label2)->state().linked);
        link->doAction(press);
        QVERIFY(answers.shown().empty());
        QTRY_COMPARE(answers.shown().size(), size_t(1));
        QCOMPARE(answers.shown()[0].prompt, frmAbout::kHomePageFailed);
    }

    void listRowsAreMadeOnlyWhenAsked() {
        PrimeStore items;
        ListBox list(items);
        list.resize(200, 150);
        for (quint32 v = 0; v < 1000000; ++v)
            QVERIFY(list.AddItem(v));
        auto* a = dynamic_cast<ListBoxAccessible*>(iface(&list));
        QVERIFY(a);
        QCOMPARE(a->childCount(), 1000000);
        QCOMPARE(a->rowsMade(), 0);
        for (int i : {0, 500000, 999999}) {
            QAccessibleInterface* row = a->child(i);
            QCOMPARE(row->role(), QAccessible::ListItem);
            QCOMPARE(row->text(QAccessible::Name), QString::number(i));
            QCOMPARE(a->indexOfChild(row), i);
            QCOMPARE(row->parent(), a);
        }
        QCOMPARE(a->child(1000000), nullptr);
        QCOMPARE(a->rowsMade(), 3);

        list.setListIndex(500000);
        QAccessibleInterface* selected = a->child(500000);
        QVERIFY(selected->state().selected && selected->state().focused);
        QVERIFY(!selected->state().offscreen);
        QVERIFY(!a->child(0)->state().selected);
        QVERIFY(a->child(0)->state().offscreen); // scrolled out of view
        QCOMPARE(a->childAt(selected->rect().center().x(), selected->rect().center().y()),
                 selected);

        for (int i = 0; i < 3 * ListBoxAccessible::kCachedRows; ++i)
            QVERIFY(a->child(i));
        QCOMPARE(a->rowsMade(), ListBoxAccessible::kCachedRows);
        // The oldest rows are gone; a row still kept reads as no longer valid once the list is
        // emptied.
        QAccessibleInterface* kept = a->child(3 * ListBoxAccessible::kCachedRows - 1);
        QVERIFY(kept->isValid());
        list.Clear();
        QCOMPARE(a->childCount(), 0);
        QVERIFY(!kept->isValid());
    }

    void progressValueIsTheShareDone_data() {
        QTest::addColumn<double>("candidate");
        QTest::addColumn<QString>("limit");
        QTest::addColumn<bool>("clearAfter");
        QTest::addColumn<int>("value");
        QTest::newRow("first checkpoint") << 99.0 << "3000" << false << 3;
        QTest::newRow("half way") << 1500.0 << "3000" << false << 50;
        QTest::newRow("exact hundredths stay exact") << 29.0 << "100" << false << 29;
        QTest::newRow("last checkpoint of 3000") << 2999.0 << "3000" << false << 99;
        QTest::newRow("limit lowered during the search") << 4000.0 << "3000" << false << 100;
        QTest::newRow("negative limit") << 99.0 << "-100" << false << 0;
        QTest::newRow("strip cleared after a bar") << 1500.0 << "3000" << true << 0;
    }
    void progressValueIsTheShareDone() {
        QFETCH(double, candidate);
        QFETCH(QString, limit);
        QFETCH(bool, clearAfter);
        QFETCH(int, value);
        Form1 form;
        form.progreso(candidate, limit);
        if (clearAfter)
            form.pprogreso->Cls();
        QAccessibleValueInterface* v = iface(form.pprogreso)->valueInterface();
        QVERIFY(v);
        QCOMPARE(v->currentValue().toInt(), value);
        QCOMPARE(v->minimumValue().toInt(), 0);
        QCOMPARE(v->maximumValue().toInt(), 100);
    }

    void printedHintBecomesTheStripsDescription() {
        Notices notices;
        Form1 form;
        QAccessibleInterface* strip = iface(form.pprogreso);
        auto told = [&] { return notices.of(QAccessible::DescriptionChanged).size(); };
        form.Command2_MouseMove();
        QCOMPARE(strip->text(QAccessible::Description), QStringLiteral("Detiene el cálculo."));
        QTRY_COMPARE(told(), size_t(1));
        QCOMPARE(notices.all.back().object, form.pprogreso);
        form.Command2_MouseMove(); // the same hint again: nothing new to tell
        form.Form_MouseMove();
        QCOMPARE(strip->text(QAccessible::Description), QString());
        QTRY_COMPARE(told(), size_t(2));
        form.Busy = true; // no hint while a search runs
        form.Command1_MouseMove();
        QCoreApplication::processEvents();
        QCOMPARE(strip->text(QAccessible::Description), QString());
        QCOMPARE(told(), size_t(2));
    }

    void selectionMovesAreToldOnTheRow_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("focused");
        QTest::addColumn<int>("row");
        QTest::newRow("selected by the program") << "program" << false << 7;
        QTest::newRow("arrow key") << "Down" << true << 1;
        QTest::newRow("click") << "click" << true << 2;
    }
    void selectionMovesAreToldOnTheRow() {
        QFETCH(QString, how);
        QFETCH(bool, focused);
        QFETCH(int, row);
        Notices notices;
        PrimeStore items;
        ListBox list(items);
        list.resize(200, 150);
        for (quint32 v = 0; v < 20; ++v)
            list.AddItem(v);
        list.setListIndex(0);
        if (focused) {
            activate(list);
            list.setFocus();
        }
        if (how == "program")
            list.setListIndex(row);
        else if (how == "Down")
            QTest::keyClick(&list, Qt::Key_Down);
        else
            QTest::mousePress(list.viewport(), Qt::LeftButton, {}, list.itemRect(row).center());
        auto toldOn = [&](QAccessible::Event type) {
            const auto n = notices.of(type);
            return !n.empty() && n.back().row == row;
        };
        QTRY_VERIFY(toldOn(QAccessible::Selection));
        QCOMPARE(toldOn(QAccessible::Focus), focused);
    }

    void noticesArePacedDuringASearch() {
        Notices notices;
        Harness h;
        h.start("2000000"); // 10,000 checkpoints, each moving the selection and the bar
        QCOMPARE(h.summaries.size(), size_t(1));
        const qint64 selected = h.form->lista->ListIndex();
        QVERIFY(selected > 140000);
        // The last state is told once the interval is over: the row last selected, and the bar
        // cleared.
        QTRY_VERIFY(!notices.of(QAccessible::Selection).empty() &&
                    notices.of(QAccessible::Selection).back().row == selected);
        QTRY_VERIFY(!notices.of(QAccessible::ValueChanged).empty() &&
                    notices.of(QAccessible::ValueChanged).back().value == QVariant(0));
        for (QAccessible::Event type : {QAccessible::Selection, QAccessible::ValueChanged}) {
            const auto told = notices.of(type);
            for (size_t i = 1; i < told.size(); ++i)
                QVERIFY2(
                    told[i].ms - told[i - 1].ms >= NoticePacer::kIntervalMs - 1,
                    qPrintable(QStringLiteral("%1 ms apart").arg(told[i].ms - told[i - 1].ms)));
            QVERIFY(told.size() <= size_t(2 + notices.clock.elapsed() / NoticePacer::kIntervalMs));
        }
    }

    // --- the keyboard ---

    // F10 is the way in that the keyboard flow below takes; pressed and released alone, Alt
    // still lights the menu bar, and Down then opens the first menu.
    void altAloneStillTakesTheMenuBar() {
        Form1 form;
        activate(form);
        QTest::keyPress(form.Text1, Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(form.Text1, Qt::Key_Alt, Qt::AltModifier);
        key(Qt::Key_Down);
        QTRY_COMPARE(QApplication::activePopupWidget(), form.mCalculo);
        key(Qt::Key_Escape);
        key(Qt::Key_Escape);
        QTRY_COMPARE(QApplication::activePopupWidget(), nullptr);
    }

    void listShowsAFocusFrameWithNothingSelected() {
        PrimeStore items;
        ListBox list(items);
        list.resize(200, 150);
        list.AddItem(1);
        activate(list);
        list.setFocus();
        QTRY_VERIFY(list.hasFocus());
        const QImage focused = list.viewport()->grab().toImage();
        list.clearFocus();
        const QImage unfocused = list.viewport()->grab().toImage();
        const QRect firstRow = list.itemRect(0);
        QVERIFY(focused.copy(firstRow) != unfocused.copy(firstRow));
        QCOMPARE(focused.copy(0, firstRow.bottom() + 1, 200, 50),
                 unfocused.copy(0, firstRow.bottom() + 1, 200, 50));
    }

    // From start-up, key by key: a search stopped at its first checkpoint, the list saved, the
    // About box opened and closed. The boxes are answered through the message-box seam.
    void keyboardAloneSearchesStopsSavesAndShowsAbout() {
        QTemporaryDir dir;
        const QString old = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path())); // the save dialog opens on the current folder
        const auto back = qScopeGuard([&] { QDir::setCurrent(old); });
        Harness h;
        Form1& f = *h.form;
        activate(f);
        QCOMPARE(QApplication::focusWidget(), f.Text1);

        key(Qt::Key_Return); // presses nothing
        QVERIFY(MessageBox::shown().empty());
        key(Qt::Key_A, Qt::ControlModifier);
        for (Qt::Key k : {Qt::Key_1, Qt::Key_0, Qt::Key_0, Qt::Key_0, Qt::Key_0, Qt::Key_0})
            key(k);
        QCOMPARE(f.Text1->text(), QStringLiteral("100000"));

        // Tab to "Iniciar el cálculo", Enter; at the first checkpoint Tab to "Detener", Space.
        bool stopKeysSent = false;
        {
            const ScopedYieldHook stopKeys([&] {
                if (std::exchange(stopKeysSent, true))
                    return;
                key(Qt::Key_Tab);
                key(Qt::Key_Space);
            });
            key(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), f.Command1);
            key(Qt::Key_Return);
        }
        QVERIFY(stopKeysSent);
        QCOMPARE(QApplication::focusWidget(), f.Command2);
        QCOMPARE(h.summaries.size(), size_t(1));
        const qint64 count = f.lista->ListCount();
        QVERIFY(count > 2 && count < 9592 + 1); // stopped before the end (9,592 primes to 1e5)
        QCOMPARE(h.summaries[0], count);

        // Tab to "Guardar números", Enter; in the dialog Tab twice to the name, type it, Tab to
        // "Guardar", Enter.
        QObject guard;
        whenOpen<Form2>(&guard, [&] {
            QCOMPARE(QApplication::focusWidget(), openDialog<Form2>()->Drive1);
            key(Qt::Key_Tab);
            key(Qt::Key_Tab);
            key(Qt::Key_A, Qt::ControlModifier);
            for (Qt::Key k : {Qt::Key_L, Qt::Key_I, Qt::Key_S, Qt::Key_T, Qt::Key_A})
                key(k);
            key(Qt::Key_Tab);
            key(Qt::Key_Return);
        });
        key(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.Command3);
        key(Qt::Key_Return);
        QVERIFY(!openDialog<Form2>());
        QFile saved(dir.filePath("lista.txt"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll().count('\n'), count + 1); // the header and every item

        // F10 opens "Cálculo" with its first entry lit; Right twice to "Ayuda", whose first
        // entry lights up: Enter opens the About box; Enter on its focused "Aceptar" closes it.
        bool aboutSeen = false;
        whenOpen<frmAbout>(&guard, [&] {
            aboutSeen = true;
            QCOMPARE(QApplication::focusWidget(), openDialog<frmAbout>()->cmdOK);
            key(Qt::Key_Return);
        });
        activate(f);
        key(Qt::Key_F10);
        QTRY_COMPARE(QApplication::activePopupWidget(), f.mCalculo);
        QCOMPARE(f.mCalculo->activeAction(), f.mStart);
        key(Qt::Key_Right);
        key(Qt::Key_Right);
        QTRY_COMPARE(QApplication::activePopupWidget(), f.mHelp);
        QCOMPARE(f.mHelp->activeAction(), f.mAbout);
        key(Qt::Key_Return);
        QVERIFY(aboutSeen);
        QVERIFY(!openDialog<frmAbout>());
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
