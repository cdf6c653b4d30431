// The save dialog, opened from the main window the way the user does it: its design, its
// lifetime, the file that "Guardar" appends, its folder and drive lists. The ways a save can
// fail are in test_faults_save.

#include "DirListBox.h"
#include "DriveListBox.h"
#include "Form2.h"
#include "FormsFont.h"
#include "GraphicalButton.h"
#include "Harness.h"
#include "PrimeStore.h"
#include "SaveKit.h"
#include "SystemSeams.h"
#include "TextFiles.h"
#include "Twips.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <future>
#include <sys/stat.h>

using files::readAll;
using files::writeFile;

namespace {
const QString kDate = QStringLiteral("07/12/2026");
const QByteArray kHeader = "---Tamizo, 07/12/2026---\r\n";

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

} // namespace

class SaveDialogTest : public QObject {
    Q_OBJECT
    const ScopedAnswers m_noRealBoxes;
    const ScopedClock m_clock{kDate};

  private slots:
    void cleanup() {
        QVERIFY(!openWindow<Form2>());
        QCOMPARE(textfiles::FreeFile().value(), 1); // nothing left open
    }

    // --- the dialog as designed ---

    void controlsAreAsDesigned_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("twipRect");
        auto row = [](const char* name, const char* cls, const QString& text, QRect r) {
            QTest::newRow(name) << name << cls << text << r;
        };
        row("Label1", "QLabel", QStringLiteral("Buscar en:"), {120, 120, 855, 255});
        row("Drive1", "DriveListBox", {}, {1080, 120, 2775, 315});
        row("Dir1", "DirListBox", {}, {120, 600, 3735, 2115});
        row("Label2", "QLabel", QStringLiteral("Nombre de archivo:"), {120, 2880, 1455, 255});
        row("Text1", "QLineEdit", QStringLiteral("primos01"), {1680, 2880, 1695, 285});
        row("Label3", "QLabel", QStringLiteral(".txt"), {3480, 2880, 375, 255});
        row("Frame1", "QFrame", {}, {120, 3240, 3735, 120});
        row("Command1", "QToolButton", QStringLiteral("Guardar"), {120, 3480, 1215, 615});
        row("Command2", "QToolButton", QStringLiteral("Cancelar"), {1440, 3480, 1335, 615});
    }
    void controlsAreAsDesigned() {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QFETCH(QString, text);
        QFETCH(QRect, twipRect);
        PrimeStore list;
        Form2 d(list);
        auto* w = d.findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(QString(w->metaObject()->className()), className);
        QCOMPARE(w->parentWidget(), &d);
        const QRect px(twips::toPx(twipRect.x()), twips::toPx(twipRect.y()),
                       twips::toPx(twipRect.width()), twips::toPx(twipRect.height()));
        QCOMPARE(w->geometry(), px);
        const QVariant t = w->property("text");
        if (!text.isEmpty())
            QCOMPARE(t.toString(), text);
    }

    void windowIsFixedWithMinimizeAndCloseButNoMaximize() {
        PrimeStore list;
        Form2 d(list);
        QCOMPARE(d.windowTitle(), QStringLiteral("Guardar números"));
        QCOMPARE(d.size(), QSize(twips::toPx(3975), twips::toPx(4215)));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        const Qt::WindowFlags f = d.windowFlags();
        QVERIFY(f & Qt::WindowMinimizeButtonHint);
        QVERIFY(f & Qt::WindowCloseButtonHint);
        QVERIFY(!(f & Qt::WindowMaximizeButtonHint));
        QVERIFY(d.windowIcon().availableSizes().contains(QSize(32, 32)));
        QCOMPARE(d.Command1->iconSize(), QSize(16, 16));
        QCOMPARE(d.Command2->iconSize(), QSize(10, 10));
    }

    void tabOrderRunsDriveFolderNameSaveCancel() {
        PrimeStore list;
        Form2 d(list);
        QCOMPARE(d.focusWidget(), static_cast<QWidget*>(d.Drive1));
        const QList<QWidget*> expected{d.Drive1, d.Dir1, d.Text1, d.Command1, d.Command2};
        QWidget* w = d.Drive1;
        for (qsizetype i = 1; i < expected.size(); ++i) {
            do
                w = w->nextInFocusChain();
            while (!(w->focusPolicy() & Qt::TabFocus));
            QCOMPARE(w, expected[i]);
        }
        for (QLabel* l : d.findChildren<QLabel*>())
            QCOMPARE(l->focusPolicy(), Qt::NoFocus);
    }

    // --- opening and closing ---

    void opensModallyWithoutOwnerAndIsDestroyedWhenClosed_data() {
        QTest::addColumn<bool>("viaMenu");
        QTest::newRow("button Guardar números") << false;
        QTest::newRow("menu Opciones > Guardar números") << true;
    }
    void opensModallyWithoutOwnerAndIsDestroyedWhenClosed() {
        QFETCH(bool, viaMenu);
        Form1 form;
        QPointer<Form2> seen;
        const DialogSession s = withSaveDialog(
            form, [&](Form2& d) { seen = &d; }, viaMenu);
        QVERIFY(s.opened);
        QVERIFY(s.modal);
        QCOMPARE(s.owner, nullptr);
        QVERIFY(seen.isNull()); // gone once the call came back
    }

    void everyOpeningStartsFromDesignValues() {
        QTemporaryDir dir;
        Form1 form;
        const QString start = QDir::currentPath();
        withSaveDialog(form, [&](Form2& d) {
            d.Text1->setText(QStringLiteral("otro"));
            QVERIFY(d.Dir1->setPath(dir.path()));
            d.Command2->click();
        });
        const DialogSession s = withSaveDialog(form, [&](Form2& d) {
            QCOMPARE(d.Text1->text(), QStringLiteral("primos01"));
            QCOMPARE(d.Dir1->path(), start);
        });
        QVERIFY(s.opened);
        QVERIFY(entries(dir.path()).isEmpty());
    }

    // With a mount table that doesn't name the folder's volume, as in a chroot or a container.
    void startsOnCurrentFolderAndItsDrive() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("sub/inner"));
        const savekit::ScopedMountTable mounts(savekit::mountLine("/proc", "proc", "proc"));
        const QString old = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.filePath("sub")));
        Form1 form;
        withSaveDialog(form, [&](Form2& d) {
            QCOMPARE(d.Dir1->path(), QDir::currentPath());
            QCOMPARE(DirListBox::pathOf(d.Dir1->currentItem()), QDir::currentPath());
            QVERIFY(d.Dir1->itemFor(QDir::currentPath() + "/inner")); // its folders are shown
            QCOMPARE(d.Dir1->root(), QStringLiteral("/"));
            QCOMPARE(d.Drive1->Drive(), QStringLiteral("/"));
            QCOMPARE(d.Drive1->itemText(0), QStringLiteral("/"));
        });
        QVERIFY(QDir::setCurrent(old));
    }

    void opensOnHomeWhenCurrentFolderCannotBeRead_data() {
        QTest::addColumn<QByteArray>("folder"); // the current folder's name, as bytes
        QTest::newRow("current folder deleted") << QByteArray("borrada");
        QTest::newRow("current folder's name not UTF-8") << QByteArray("caf\xe9");
    }
    void opensOnHomeWhenCurrentFolderCannotBeRead() {
        QFETCH(QByteArray, folder);
        QTemporaryDir dir, home;
        const QByteArray path = QFile::encodeName(dir.path()) + '/' + folder,
                         oldHome = qgetenv("HOME");
        const QString old = QDir::currentPath();
        const auto restore = qScopeGuard([&] {
            QDir::setCurrent(old);
            qputenv("HOME", oldHome);
            ::rmdir(path.constData());
        });
        QVERIFY(::mkdir(path.constData(), 0700) == 0 && ::chdir(path.constData()) == 0);
        qputenv("HOME", QFile::encodeName(home.path()));
        if (folder == "borrada")
            QVERIFY(::rmdir(path.constData()) == 0);
        PrimeStore list;
        Form2 d(list);
        QCOMPARE(d.Dir1->path(), home.path());
    }

    void cancelAndCloseBoxWriteNothing_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancelar") << false;
        QTest::newRow("close box") << true;
    }
    void cancelAndCloseBoxWriteNothing() {
        QFETCH(bool, closeBox);
        const ScopedAnswers answers;
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("primos01.txt"), "old\r\n"));
        Form1 form;
        const DialogSession s = withSaveDialog(form, [&](Form2& d) {
            QVERIFY(d.Dir1->setPath(dir.path()));
            if (closeBox)
                d.close();
            else
                d.Command2->click();
        });
        QVERIFY(s.opened);
        QVERIFY(!s.stayedOpen);
        QCOMPARE(entries(dir.path()), QStringList{"primos01.txt"});
        QCOMPARE(readAll(dir.filePath("primos01.txt")), QByteArray("old\r\n"));
        QVERIFY(answers.shown().empty());
    }

    void enterAndEscapeDoNothing_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
    }
    void enterAndEscapeDoNothing() {
        QFETCH(int, key);
        const ScopedAnswers answers;
        QTemporaryDir dir;
        Form1 form;
        const DialogSession s = withSaveDialog(form, [&](Form2& d) {
            QVERIFY(d.Dir1->setPath(dir.path()));
            QTest::keyClick(d.Text1, Qt::Key(key));
            QTest::keyClick(&d, Qt::Key(key));
        });
        QVERIFY(s.stayedOpen);
        QVERIFY(entries(dir.path()).isEmpty());
        QVERIFY(answers.shown().empty());
    }

    // --- what Guardar writes ---

    void savedBlockHoldsHeaderAndList_data() {
        QTest::addColumn<QString>("limit"); // empty: no search
        QTest::addColumn<bool>("clear");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("empty list: header only") << QString() << true << kHeader;
        QTest::newRow("the list the window starts with") << QString() << false << kHeader + "1\r\n";
        QTest::newRow("limit 30")
            << "30" << false
            << kHeader + "1\r\n1\r\n3\r\n5\r\n7\r\n11\r\n13\r\n17\r\n19\r\n23\r\n29\r\n";
    }
    void savedBlockHoldsHeaderAndList() {
        QFETCH(QString, limit);
        QFETCH(bool, clear);
        QFETCH(QByteArray, expected);
        Harness h;
        if (!limit.isEmpty())
            h.start(limit);
        if (clear)
            h.form->lista->Clear();
        h.boxes.forget();
        QTemporaryDir dir;
        const DialogSession s = saveThroughDialog(*h.form, dir.path(), QStringLiteral("primos01"));
        QVERIFY(!s.stayedOpen);
        QCOMPARE(readAll(dir.filePath("primos01.txt")), expected);
        QCOMPARE(h.boxes.shown().size(), size_t(1));
        QCOMPARE(h.boxes.shown()[0].prompt, QStringLiteral("El archivo se guardó correctamente."));
        QCOMPARE(h.boxes.shown()[0].style, 64);
        QCOMPARE(h.boxes.shown()[0].title, QString());
    }

    void fileIsStillOpenWhileSuccessBoxShows() {
        QTemporaryDir dir;
        Form1 form;
        bool openDuringBox = false;
        QByteArray onDiskDuringBox;
        const ScopedAnswers answers([&](const MessageBox::Shown&) {
            openDuringBox = textfiles::isOpen(1);
            onDiskDuringBox = readAll(dir.filePath("p.txt"));
            return int(MessageBox::Ok);
        });
        saveThroughDialog(form, dir.path(), QStringLiteral("p"));
        QVERIFY(openDuringBox);
        QCOMPARE(onDiskDuringBox, kHeader + "1\r\n"); // all of it had reached the file
        QVERIFY(!textfiles::isOpen(1));
    }

    void secondSaveAppendsBlockAndKeepsFirst() {
        QTemporaryDir dir;
        Harness h;
        h.start("10");
        h.boxes.forget();
        saveThroughDialog(*h.form, dir.path(), QStringLiteral("p"));
        const QByteArray first = readAll(dir.filePath("p.txt"));
        QCOMPARE(first, kHeader + "1\r\n1\r\n3\r\n5\r\n7\r\n");
        const ScopedClock nextDay(QStringLiteral("08/12/2026"));
        h.form->lista->Clear();
        h.form->lista->AddItem(1);
        saveThroughDialog(*h.form, dir.path(), QStringLiteral("p"));
        QCOMPARE(readAll(dir.filePath("p.txt")), first + "---Tamizo, 08/12/2026---\r\n1\r\n");
    }

    void typedNameBecomesFileName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        QTest::newRow("design name") << "primos01"
                                     << "primos01.txt";
        QTest::newRow("empty name gives .txt") << ""
                                               << ".txt";
        QTest::newRow("own extension gets a second") << "lista.txt"
                                                     << "lista.txt.txt";
        QTest::newRow("blanks kept") << " a "
                                     << " a .txt";
    }
    void typedNameBecomesFileName() {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QTemporaryDir dir;
        Form1 form;
        saveThroughDialog(form, dir.path(), name);
        QCOMPARE(entries(dir.path()), QStringList{file});
        QCOMPARE(readAll(dir.filePath(file)), kHeader + "1\r\n");
    }

    void rootFolderGetsNoSecondSeparator() {
        ScopedAnswers answers;
        Form1 form;
        const QString name =
            QStringLiteral("tamizo-test-%1").arg(QCoreApplication::applicationPid());
        const QString expected = "/" + name + ".txt";
        QVERIFY(!QFileInfo::exists(expected));
        saveThroughDialog(form, "/", name);
        QCOMPARE(answers.shown().size(), size_t(1));
        if (answers.shown()[0].style == 64) {
            QCOMPARE(readAll(expected), kHeader + "1\r\n");
            QVERIFY(QFile::remove(expected));
        } else { // the root can't be written here: the failure names the same path
            QCOMPARE(answers.shown()[0].prompt.split('\n').value(1), expected);
        }
        // The path as built is seen in a failure's message.
        answers.forget();
        saveThroughDialog(form, "/", "no/" + name);
        QCOMPARE(answers.shown().size(), size_t(1));
        QCOMPARE(answers.shown()[0].prompt.split('\n').value(1), "/no/" + name + ".txt");
    }

    void headerTakesDateFromSeamAndSystemByDefault() {
        QTemporaryDir dir;
        Form1 form;
        {
            const ScopedClock iso(QStringLiteral("2026-12-07"));
            saveThroughDialog(form, dir.path(), QStringLiteral("a"));
        }
        QCOMPARE(readAll(dir.filePath("a.txt")), QByteArray("---Tamizo, 2026-12-07---\r\n1\r\n"));
        const ScopedClock system{QString()};
        const QString today =
            clock_::formatShortDate(clock_::systemDateFormat(), QDate::currentDate());
        saveThroughDialog(form, dir.path(), QStringLiteral("b"));
        QCOMPARE(readAll(dir.filePath("b.txt")),
                 "---Tamizo, " + textfiles::toAnsi(today) + "---\r\n1\r\n");
    }

    void saveDuringSearchWritesPrimesFoundSoFar() {
        QTemporaryDir dir;
        Harness h;
        std::vector<quint32> atSave;
        h.onYield = [&](int yield) {
            if (yield != 7) // at the checkpoint of candidate 799
                return;
            atSave = h.listValues();
            saveThroughDialog(*h.form, dir.path(), QStringLiteral("p"));
        };
        h.start("3000");
        QCOMPARE(h.summaries.size(), size_t(1)); // the search went on to its end
        const std::vector<quint32> final = h.listValues();
        QVERIFY(!atSave.empty());
        QVERIFY(atSave.size() < final.size());
        QVERIFY(std::equal(atSave.begin(), atSave.end(), final.begin()));
        QCOMPARE(atSave.back(), 797u);
        QByteArray expected = kHeader;
        for (quint32 v : atSave)
            expected += QByteArray::number(v) + "\r\n";
        QCOMPARE(readAll(dir.filePath("p.txt")), expected);
    }

    // --- the folder list ---

    void folderOpensOnDoubleClickOrEnterButNotOnClick_data() {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<bool>("opens");
        QTest::newRow("single click only highlights") << "click" << false;
        QTest::newRow("double-click opens") << "double" << true;
        QTest::newRow("Enter opens") << "enter" << true;
    }
    void folderOpensOnDoubleClickOrEnterButNotOnClick() {
        QFETCH(QString, gesture);
        QFETCH(bool, opens);
        const ScopedAnswers answers;
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("b/c"));
        QVERIFY(QDir(dir.path()).mkpath("a"));
        Form1 form;
        withSaveDialog(form, [&](Form2& d) {
            QVERIFY(d.Dir1->setPath(dir.path()));
            QTreeWidgetItem* b = d.Dir1->itemFor(dir.filePath("b"));
            QVERIFY(b);
            QVERIFY(!d.Dir1->itemFor(dir.filePath("b/c"))); // read only when opened
            // With many folders beside ours (other tests' temporary ones too) "b" can lie below
            // the visible rows: bring it into view, as the user would, before clicking it.
            d.Dir1->scrollToItem(b);
            const QPoint at = d.Dir1->visualItemRect(b).center();
            if (gesture == "click") {
                QTest::mouseClick(d.Dir1->viewport(), Qt::LeftButton, {}, at);
                QCOMPARE(d.Dir1->currentItem(), b);
            } else if (gesture == "double") {
                QTest::mouseClick(d.Dir1->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(d.Dir1->viewport(), Qt::LeftButton, {}, at);
            } else {
                d.Dir1->setCurrentItem(b);
                QTest::keyClick(d.Dir1, Qt::Key_Return);
            }
            QCOMPARE(d.Dir1->path(), opens ? dir.filePath("b") : dir.path());
            if (opens) {
                QVERIFY(d.Dir1->itemFor(dir.filePath("b/c")));
                QCOMPARE(DirListBox::pathOf(d.Dir1->currentItem()), dir.filePath("b"));
            }
            QVERIFY(d.isVisible()); // Enter in the folder list is no default button
        });
        QVERIFY(answers.shown().empty());
    }

    void hiddenFoldersShowOnlyOnTheCurrentPath() {
        QTemporaryDir dir;
        for (const char* f : {"datos", ".cache", ".config/app/.git"})
            QVERIFY(QDir(dir.path()).mkpath(f));
        PrimeStore list;
        Form2 d(list);
        const auto shown = [&](const char* f) {
            return d.Dir1->itemFor(dir.filePath(f)) != nullptr;
        };
        QVERIFY(d.Dir1->setPath(dir.path()));
        QVERIFY(shown("datos") && !shown(".cache") && !shown(".config"));
        QVERIFY(d.Dir1->setPath(dir.filePath(".config/app"))); // inside a hidden folder
        QVERIFY(shown("datos") && shown(".config") && shown(".config/app"));
        QVERIFY(!shown(".cache") && !shown(".config/app/.git"));
    }

    void folderListRefusesWhatItCannotOpen() {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("file"), "x"));
        PrimeStore list;
        Form2 d(list);
        QVERIFY(d.Dir1->setPath(dir.path()));
        QVERIFY(!d.Dir1->setPath(dir.filePath("missing")));
        QVERIFY(!d.Dir1->setPath(dir.filePath("file")));
        QVERIFY(!d.Dir1->setPath(QString()));
        QCOMPARE(d.Dir1->path(), dir.path());
    }

    // --- the drive list ---

    void unavailableDriveIsReportedAndDialogKeepsDriveInUse() {
        const ScopedAnswers answers;
        QTemporaryDir dir;
        Form1 form;
        const DialogSession s = withSaveDialog(form, [&](Form2& d) {
            QVERIFY(d.Dir1->setPath(dir.path()));
            const QString inUse = d.Drive1->Drive();
            d.Drive1->addItem(dir.filePath("gone"));
            d.Drive1->setCurrentIndex(d.Drive1->count() - 1);
            QCOMPARE(answers.shown().size(), size_t(1));
            QCOMPARE(answers.shown()[0].prompt, QStringLiteral("Unidad no disponible."));
            QCOMPARE(answers.shown()[0].style, 16);
            QCOMPARE(answers.shown()[0].title, QString());
            QCOMPARE(d.Dir1->path(), dir.path());
            QCOMPARE(d.Drive1->Drive(), inUse);
        });
        QVERIFY(s.stayedOpen);
    }

    void choosingDriveMovesFolderListToItsRoot() {
        const ScopedAnswers answers;
        Form1 form;
        withSaveDialog(form, [&](Form2& d) {
            d.Drive1->showDrive(QStringLiteral("/elsewhere")); // shown quietly: no change event
            QVERIFY(answers.shown().empty());
            d.Drive1->setCurrentIndex(d.Drive1->findText("/"));
            QVERIFY(answers.shown().empty());
            QCOMPARE(d.Dir1->path(), QStringLiteral("/"));
        });
    }

    void mountTableGivesUserVolumes_data() {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QStringList>("volumes"); // home is /home/ana
        QTest::addColumn<QString>("drive");       // of the current folder
        const QByteArray desktop = "22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
                                   "23 22 0:21 / /proc rw,nosuid shared:12 - proc proc rw\n"
                                   "25 22 0:23 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
                                   "27 22 0:25 / /run rw - tmpfs tmpfs rw\n"
                                   "29 27 0:50 / /run/user/1000 rw - tmpfs tmpfs rw\n"
                                   "31 22 8:1 / /boot/efi rw - vfat /dev/sda1 rw\n"
                                   "32 22 7:3 / /snap/core22/1122 ro - squashfs /dev/loop3 ro\n"
                                   "33 22 8:3 / /home rw - ext4 /dev/sda3 rw\n"
                                   "34 27 8:17 / /media/ana/USB\\040STICK rw - vfat /dev/sdb1 rw\n"
                                   "35 27 8:33 / /run/media/ana/DISCO rw - exfat /dev/sdc1 rw\n"
                                   "36 22 0:60 / /mnt/nas rw - nfs4 nas:/export rw\n"
                                   "37 22 8:49 / /datos rw - ext4 /dev/sdd1 rw\n"
                                   "40 27 11:0 / /media/ana/CD ro - iso9660 /dev/sr0 ro\n";
        const QStringList user{
            "/", "/datos", "/home", "/media/ana/USB STICK", "/mnt/nas", "/run/media/ana/DISCO"};
        QTest::newRow("desktop: user volumes, no system mounts")
            << desktop << "/home/ana/docs" << user << "/home";
        QTest::newRow("current folder on a system mount is listed")
            << desktop << "/run/user/1000/x" << user + QStringList{"/run/user/1000"}
            << "/run/user/1000";
        QTest::newRow("a name that begins like a mount point is not on it")
            << desktop << "/homes/x" << user << "/";
        QTest::newRow("container: a partial table")
            << QByteArray("600 550 0:52 / / rw - overlay overlay rw,lowerdir=/l\n"
                          "603 600 8:1 /var/lib/c/hosts /etc/hosts rw - ext4 /dev/sda1 rw\n"
                          "604 600 8:1 /home/ana/src /work rw - ext4 /dev/sda1 rw\n")
            << "/build" << QStringList{"/", "/work"} << "/";
        QTest::newRow("mounts layout, escaped names, a mount point mounted on again")
            << QByteArray("/dev/sda2 / ext4 rw 0 0\n"
                          "/dev/sdb1 /media/ana/Fotos\\0402024 vfat rw,nosuid 0 0\n"
                          "/dev/sdc1 /mnt/a\\134b\\011c ext4 rw 0 0\n"
                          "/dev/sdd1 /mnt/x ext4 rw 0 0\ntmpfs /mnt/x tmpfs rw 0 0\n")
            << "/media/ana/Fotos 2024/enero"
            << QStringList{"/", "/media/ana/Fotos 2024", "/mnt/a\\b\tc"} << "/media/ana/Fotos 2024";
    }
    void mountTableGivesUserVolumes() {
        QFETCH(QByteArray, table);
        QFETCH(QString, current);
        QFETCH(QStringList, volumes);
        QFETCH(QString, drive);
        QCOMPARE(DriveListBox::volumes(table, QStringLiteral("/home/ana"), current), volumes);
        QCOMPARE(DriveListBox::driveOf(current, table), drive);
    }

    // No drive is asked for its state until the user picks it; one that doesn't answer in time
    // is not ready.
    void silentDriveIsNotReady() {
        const ScopedAnswers answers;
        const savekit::ScopedMountTable mounts(
            savekit::mountLine("/media/ana/USB", "vfat", "/dev/sdb1"));
        std::promise<void> release; // the question ends with the test
        const auto asked = std::make_shared<std::atomic<int>>(0);
        const savekit::ScopedReadyProbe probe(
            [asked, gate = release.get_future().share()](const QString&) {
                ++*asked;
                gate.wait();
                return true;
            },
            100);
        PrimeStore list;
        Form2 d(list);
        const QString before = d.Dir1->path();
        QCOMPARE(asked->load(), 0);
        d.Drive1->setCurrentIndex(d.Drive1->findText(QStringLiteral("/media/ana/USB")));
        QTRY_COMPARE(asked->load(), 1); // asked on its own thread
        QCOMPARE(answers.shown().size(), size_t(1));
        QCOMPARE(answers.shown()[0].prompt, QStringLiteral("Unidad no disponible."));
        QCOMPARE(d.Dir1->path(), before);
        QCOMPARE(d.Drive1->Drive(), d.Dir1->root());
        release.set_value();
    }

    void driveListFollowsTreeOntoAnotherVolume() {
        const ScopedAnswers answers;
        QTemporaryDir dir;
        const QString base = QDir(dir.path()).canonicalPath();
        QVERIFY(QDir(base).mkpath("vol/sub"));
        QVERIFY(QDir(base).mkpath("home"));
        QVERIFY(QFile::link(base + "/vol/sub", base + "/home/enlace"));
        const savekit::ScopedMountTable mounts(
            savekit::mountLine(base + "/vol", "vfat", "/dev/sdb1"));
        PrimeStore list;
        Form2 d(list);
        QVERIFY(d.Dir1->setPath(base + "/home"));
        QCOMPARE(d.Drive1->Drive(), QStringLiteral("/"));
        d.Dir1->setCurrentItem(d.Dir1->itemFor(base + "/home/enlace"));
        QTest::keyClick(d.Dir1, Qt::Key_Return); // the user opens the link
        QCOMPARE(d.Dir1->path(), base + "/vol/sub");
        QCOMPARE(d.Dir1->root(), base + "/vol");
        QCOMPARE(d.Drive1->Drive(), base + "/vol");
        QVERIFY(answers.shown().empty()); // the drive list followed without a change event
    }

    // --- the buttons ---

    void buttonCaptionStaysPutWhateverPictureSize() {
        QWidget host;
        QImage shot[2];
        QRect caption[2], picture[2];
        for (int i : {0, 1}) {
            QPixmap red(16 - 6 * i, 16 - 6 * i); // 16 x 16, then 10 x 10
            red.fill(Qt::red);
            auto* b = static_cast<GraphicalButton*>(forms::graphicalButton(
                &host, "b", QStringLiteral("Cancelar"), red, {0, 0, 1335, 615}));
            b->setFont(forms::defaultFont());
            shot[i] = b->grab().toImage().convertToFormat(QImage::Format_RGB32);
            caption[i] = b->captionRect();
            for (int y = 0; y < shot[i].height(); ++y)
                for (int x = 0; x < shot[i].width(); ++x)
                    if (shot[i].pixel(x, y) == qRgb(255, 0, 0))
                        picture[i] |= QRect(x, y, 1, 1);
        }
        QCOMPARE(caption[0], caption[1]);
        const QRect below(0, caption[0].top(), shot[0].width(), shot[0].height());
        QCOMPARE(shot[0].copy(below), shot[1].copy(below)); // the caption is drawn alike
        QCOMPARE(picture[0].size(), QSize(16, 16));
        QCOMPARE(picture[1].size(), QSize(10, 10));
        for (const QRect& p : picture) // centred in the space above the caption
            QVERIFY(qAbs(p.top() - (below.top() - 1 - p.bottom())) <= 1 &&
                    qAbs(p.left() - (below.width() - 1 - p.right())) <= 1);
    }
};

QTEST_MAIN(SaveDialogTest)
#include "test_save_dialog.moc"
