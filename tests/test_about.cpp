// The About box: its design (caption, size, controls, tab order, link style, etched rule, version
// line), the keys that close it, the system-information launcher over temporary hives with real
// processes, the registry value reader, and the home-page link.

#include "FormsSeams.h"
#include "Harness.h"
#include "SystemSeams.h"
#include "frmAbout.h"

#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace registry;

namespace {
const QByteArray kLoc1 = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n";
const QByteArray kLoc2 = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n";

// "hex(N):" followed by the bytes of `data`.
QByteArray hexValue(int type, const QByteArray& data) {
    return "hex(" + QByteArray::number(type, 16) + "):" + data.toHex(',');
}

bool opened(const QString& key) {
    for (const OpenCall& c : openLog())
        if (QString::fromStdString(c.subKey) == key)
            return true;
    return false;
}
} // namespace

class TestAbout : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_tool1, m_dir2, m_blankTool1, m_blankDir2, m_marker, m_emptyDir, m_folderDir;
    // No box is ever shown, and no test reads the user's own hive.
    const ScopedAnswers m_noRealBoxes;
    const ScopedHive m_noHive{m_dir.filePath("none.reg")};

  private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QDir d(m_dir.path());
        // Every tool appends the line it was started with to one marker.
        m_marker = m_dir.filePath("started");
        m_tool1 = m_dir.filePath("sysinfo.sh");
        QVERIFY(files::writeRecorder(m_tool1, m_marker));
        m_dir2 = m_dir.filePath("tools");
        QVERIFY(d.mkpath("tools"));
        QVERIFY(files::writeRecorder(m_dir2 + "/MSINFO32.EXE", m_marker));
        // The same tools in a folder whose name has a blank.
        m_blankTool1 = m_dir.filePath("my tools/sysinfo.sh");
        m_blankDir2 = m_dir.filePath("my tools");
        QVERIFY(d.mkpath("my tools"));
        QVERIFY(files::writeRecorder(m_blankTool1, m_marker));
        QVERIFY(files::writeRecorder(m_blankDir2 + "/MSINFO32.EXE", m_marker));
        m_emptyDir = m_dir.filePath("empty");
        QVERIFY(d.mkpath("empty"));
        m_folderDir = m_dir.filePath("folder");
        QVERIFY(d.mkpath("folder/MSINFO32.EXE"));
    }
    void init() { QFile::remove(m_marker); }
    void cleanup() {
        QCOMPARE(openKeyCount(), 0);
        QVERIFY(!openWindow<frmAbout>());
    }

    // --- the design ---
    void versionLabelReadsTheBuildVersion() {
        frmAbout dlg;
        QCOMPARE(dlg.lblVersion->text(), QString("Versión 1.0.0"));
    }

    void versionTextHasNoLeadingZeros_data() {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("text");
        QTest::newRow("this release") << 1 << 0 << 0 << "Versión 1.0.0";
        QTest::newRow("several digits") << 10 << 2 << 305 << "Versión 10.2.305";
        QTest::newRow("largest 16-bit numbers") << 32767 << 0 << 32767 << "Versión 32767.0.32767";
    }
    void versionTextHasNoLeadingZeros() {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QTEST(frmAbout::versionText(major, minor, revision), "text");
    }

    void windowIsAFixedDialog() {
        frmAbout dlg;
        QCOMPARE(dlg.objectName(), QString("frmAbout"));
        QCOMPARE(dlg.windowTitle(), QString("Acerca de Tamizo"));
        QCOMPARE(dlg.parentWidget(), nullptr);
        QCOMPARE(dlg.size(), QSize(396, 237)); // 5940 x 3555 twips
        QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
        const Qt::WindowFlags f = dlg.windowFlags();
        QVERIFY(!(f & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(f & Qt::WindowMaximizeButtonHint));
        QVERIFY(f & Qt::WindowCloseButtonHint);
        QCOMPARE(dlg.palette().color(QPalette::Window), QColor(0xE0, 0xE0, 0xE0));
        QVERIFY(dlg.cmdOK->isDefault());
        QVERIFY(!dlg.cmdSysInfo->isDefault());
        QVERIFY(!dlg.windowIcon().isNull());
        QCOMPARE(dlg.picIcon->pixmap().size(), QSize(32, 32));
    }

    void controlsSitWhereDesigned_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("caption");
        QTest::newRow("cmdOK") << "cmdOK" << QRect(4320, 2625, 1500, 345) << "Aceptar";
        QTest::newRow("picIcon") << "picIcon" << QRect(240, 240, 540, 540) << "";
        QTest::newRow("cmdSysInfo")
            << "cmdSysInfo" << QRect(4320, 3075, 1485, 345) << "&Info. del sistema...";
        QTest::newRow("lblDescription") << "lblDescription" << QRect(1050, 1125, 3885, 450)
                                        << "Sencilla aplicación para el cálculo de números primos "
                                           "con la posibilidad de guardar la lista calculada.";
        QTest::newRow("lblDisclaimer") << "lblDisclaimer" << QRect(240, 2625, 3870, 825) << "";
        QTest::newRow("lblTitle") << "lblTitle" << QRect(1050, 240, 3885, 480)
                                  << "Tamizo, programado por Quorvaldi en 2003";
        QTest::newRow("lblVersion")
            << "lblVersion" << QRect(1050, 780, 3885, 225) << "Versión 1.0.0";
        QTest::newRow("Label1") << "Label1" << QRect(1080, 1680, 495, 255) << "Visite:";
        QTest::newRow("Label2") << "Label2" << QRect(1680, 1680, 2415, 255)
                                << "Página personal de Quorvaldi";
        QTest::newRow("Label3") << "Label3" << QRect(1080, 2040, 735, 255) << "Contacto:";
        QTest::newRow("Label4") << "Label4" << QRect(1920, 2040, 1815, 255)
                                << "autor@quorvaldi.example";
    }
    void controlsSitWhereDesigned() {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(QString, caption);
        frmAbout dlg;
        const auto found = dlg.findChildren<QWidget*>(name);
        QCOMPARE(found.size(), 1);
        QWidget* w = found.first();
        QCOMPARE(w->parentWidget(), &dlg);
        const QRect px(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0),
                       qRound(twips.width() / 15.0), qRound(twips.height() / 15.0));
        QCOMPARE(w->geometry(), px);
        if (auto* b = qobject_cast<QPushButton*>(w))
            QCOMPARE(b->text(), caption);
        else if (auto* l = qobject_cast<QLabel*>(w); l && l->pixmap().isNull())
            QCOMPARE(l->text(), caption);
    }

    void labelsShowTheirWholeText() {
        frmAbout dlg;
        for (QLabel* l :
             {dlg.lblTitle, dlg.lblVersion, dlg.Label1, dlg.Label2, dlg.Label3, dlg.Label4}) {
            const int need = l->fontMetrics().horizontalAdvance(l->text());
            QVERIFY2(need <= l->width(), qPrintable(l->objectName()));
        }
        const QRect wrapped = dlg.lblDescription->fontMetrics().boundingRect(
            QRect(0, 0, dlg.lblDescription->width(), 1000), Qt::TextWordWrap,
            dlg.lblDescription->text());
        QVERIFY(wrapped.height() <= dlg.lblDescription->height());
    }

    void tabOrderAsDesigned() {
        frmAbout dlg;
        const QStringList design{"cmdOK",         "picIcon",  "cmdSysInfo", "lblDescription",
                                 "lblDisclaimer", "lblTitle", "lblVersion", "Label1",
                                 "Label2",        "Label3",   "Label4"};
        QStringList chain;
        QWidget* w = dlg.cmdOK;
        do {
            if (design.contains(w->objectName()))
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != dlg.cmdOK && chain.size() < 50);
        QCOMPARE(chain, design);
    }

    void linkLabelLooksLikeALink() {
        frmAbout dlg;
        const QFont f = dlg.Label2->font();
        QVERIFY(f.underline());
        QCOMPARE(f.pointSizeF(), 8.25);
        QCOMPARE(f.weight(), QFont::Normal);
        QCOMPARE(f.family(), QString("MS Sans Serif"));
        QCOMPARE(dlg.Label2->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(dlg.Label2->cursor().shape(), Qt::UpArrowCursor);
        QCOMPARE(dlg.Label4->palette().color(QPalette::WindowText), QColor(Qt::black));
    }

    void ruleIsEtchedGreyOverWhite() {
        frmAbout dlg;
        const auto lines = dlg.findChildren<QWidget*>("Line1");
        QCOMPARE(lines.size(), 2);
        QCOMPARE(dlg.Line1[0]->property("Index").toInt(), 0);
        QCOMPARE(dlg.Line1[1]->property("Index").toInt(), 1);
        const QImage img = dlg.grab().toImage();
        QCOMPARE(QColor(img.pixel(200, 163)), QColor(0x80, 0x80, 0x80));
        QCOMPARE(QColor(img.pixel(200, 164)), QColor(0xFF, 0xFF, 0xFF));
        QCOMPARE(QColor(img.pixel(200, 162)), QColor(0xE0, 0xE0, 0xE0));
        QCOMPARE(QColor(img.pixel(200, 165)), QColor(0xE0, 0xE0, 0xE0));
        QCOMPARE(QColor(img.pixel(6, 163)), QColor(0x80, 0x80, 0x80));   // grey starts at 90
        QCOMPARE(QColor(img.pixel(6, 164)), QColor(0xE0, 0xE0, 0xE0));   // white at 105
        QCOMPARE(QColor(img.pixel(377, 163)), QColor(0xE0, 0xE0, 0xE0)); // both end at 5654
    }

    // --- closing ---
    void enterAndEscapeClose_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter on the keypad") << int(Qt::Key_Enter);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }
    void enterAndEscapeClose() {
        QFETCH(int, key);
        Form1 main;
        int okClicks = 0;
        bool ownerless = false, modal = false, versionSet = false;
        QTimer::singleShot(0, [&] {
            frmAbout* dlg = openWindow<frmAbout>();
            QVERIFY(dlg);
            ownerless = dlg->parentWidget() == nullptr;
            modal = dlg->isModal();
            versionSet = dlg->lblVersion->text() == "Versión 1.0.0";
            connect(dlg->cmdOK, &QPushButton::clicked, [&] { ++okClicks; });
            QTimer::singleShot(5000, dlg, &QDialog::reject); // never hang the run
            QWidget* target = dlg->focusWidget() ? dlg->focusWidget() : dlg;
            QTest::keyClick(target, Qt::Key(key));
        });
        main.mAbout_Click();
        QCOMPARE(okClicks, 1);
        QVERIFY(ownerless);
        QVERIFY(modal);
        QVERIFY(versionSet);
        QVERIFY(!openWindow<frmAbout>());
        QVERIFY(main.findChildren<frmAbout*>().isEmpty());
    }

    void eachOpeningIsANewDialog() {
        Form1 main;
        QList<QPointer<frmAbout>> seen;
        for (int i = 0; i < 2; ++i) {
            QTimer::singleShot(0, [&] {
                frmAbout* dlg = openWindow<frmAbout>();
                QVERIFY(dlg);
                seen << dlg;
                dlg->cmdOK->click();
            });
            main.mAbout_Click();
        }
        QCOMPARE(seen.size(), 2);
        QVERIFY(seen[0].isNull()); // destroyed when it closed
        QVERIFY(seen[1].isNull());
    }

    void sysInfoButtonKeepsTheDialogOpen() {
        const ScopedAnswers answers;
        frmAbout dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTest::mouseClick(dlg.cmdSysInfo, Qt::LeftButton);
        QCOMPARE(answers.shown().size(), std::size_t(1));
        QVERIFY(dlg.isVisible());
        dlg.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        QTest::keyClick(&dlg, Qt::Key_I, Qt::AltModifier); // the access key, pressed shortly
        QTRY_COMPARE(answers.shown().size(), std::size_t(2));
        QVERIFY(dlg.isVisible());
        dlg.close();
    }

    // --- the system-information launcher ---
    void startSysInfo_data() {
        QTest::addColumn<QByteArray>("hive");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("started"); // what the started tool writes; "": nothing starts
        QTest::addColumn<bool>("location2Read");
        const QByteArray tool1 = m_tool1.toUtf8();
        const QByteArray loc1 = "REGEDIT4\n" + kLoc1;
        const QByteArray loc2With = kLoc2 + "\"MSINFO\"=\"" + m_dir2.toUtf8() + "\"\n";
        const QByteArray loc2Without = kLoc2 + "\"MSINFO\"=\"" + m_emptyDir.toUtf8() + "\"\n";
        // "$0 $*" of a tool started without arguments.
        const QString by1 = m_tool1 + ' ', by2 = m_dir2 + "/MSINFO32.EXE ";
        QTest::newRow("location 1 alone decides")
            << loc1 + "\"PATH\"=\"" + tool1 + "\"\n" + loc2With << false << by1 << false;
        QTest::newRow("location 1 absent, location 2 has the tool")
            << "REGEDIT4\n" + loc2With << false << by2 << true;
        QTest::newRow("location 1 key without its value")
            << loc1 + "\"OTHER\"=\"" + tool1 + "\"\n" + loc2With << false << by2 << true;
        QTest::newRow("location 2 folder without the tool")
            << "REGEDIT4\n" + loc2Without << false << "" << true;
        QTest::newRow("location 2 tool is a folder")
            << "REGEDIT4\n" + kLoc2 + "\"MSINFO\"=\"" + m_folderDir.toUtf8() + "\"\n"
            << false << "" << true;
        QTest::newRow("neither location") << QByteArray("REGEDIT4\n") << false << "" << true;
        QTest::newRow("location 1 with its NUL in hex bytes")
            << loc1 + "\"PATH\"=" + hexValue(1, tool1 + '\0') + "\n"
            << false << by1 << false;
        QTest::newRow("location 1 without a NUL") << loc1 + "\"PATH\"=" + hexValue(1, tool1) + "\n"
                                                  << false << by1 << false;
        QTest::newRow("location 1 expandable string: empty command line")
            << loc1 + "\"PATH\"=" + hexValue(2, tool1 + '\0') + "\n" + loc2With << false << ""
            << false;
        QTest::newRow("location 1 of size 0: message at once")
            << loc1 + "\"PATH\"=hex(1):\n" + loc2With << false << "" << false;
        QTest::newRow("location 1 longer than 1024 bytes counts as absent")
            << loc1 + "\"PATH\"=\"" + tool1 + QByteArray(1024, ' ') + "\"\n" + loc2With << false
            << by2 << true;
        QTest::newRow("location 1 names no program: no existence check")
            << loc1 + "\"PATH\"=\"" + m_dir.filePath("gone.exe").toUtf8() + "\"\n" + loc2With
            << false << "" << false;
        QTest::newRow("read-only hive: both opens denied")
            << loc1 + "\"PATH\"=\"" + tool1 + "\"\n" + loc2With << true << "" << true;
        // Blanks in the tool's path, with or without quotes.
        const QByteArray blank1 = m_blankTool1.toUtf8();
        QTest::newRow("location 1 unquoted with a blank") << loc1 + "\"PATH\"=\"" + blank1 + "\"\n"
                                                          << false << m_blankTool1 + ' ' << false;
        QTest::newRow("location 1 unquoted with a blank, and arguments")
            << loc1 + "\"PATH\"=\"" + blank1 + " /informe \\\"a b\\\"\"\n"
            << false << m_blankTool1 + " /informe a b" << false;
        QTest::newRow("location 1 quoted with a blank, and an argument")
            << loc1 + "\"PATH\"=\"\\\"" + blank1 + "\\\" /informe\"\n"
            << false << m_blankTool1 + " /informe" << false;
        QTest::newRow("location 2 folder with a blank")
            << "REGEDIT4\n" + kLoc2 + "\"MSINFO\"=\"" + m_blankDir2.toUtf8() + "\"\n"
            << false << m_blankDir2 + "/MSINFO32.EXE " << true;
    }
    void startSysInfo() {
        QFETCH(QByteArray, hive);
        QFETCH(bool, readOnly);
        QFETCH(QString, started);
        QFETCH(bool, location2Read);
        const ScopedAnswers answers;
        const ScopedHive hiveFile(m_dir.filePath("system.reg"));
        QVERIFY(hiveFile.write(hive, readOnly));
        frmAbout dlg;
        dlg.StartSysInfo();

        QCOMPARE(opened(frmAbout::gREGKEYSYSINFO), true);
        QCOMPARE(opened(frmAbout::gREGKEYSYSINFOLOC), location2Read);
        for (const OpenCall& c : openLog()) {
            QCOMPARE(c.samDesired, 0x2003Fu);
            if (readOnly)
                QCOMPARE(c.result, ERROR_ACCESS_DENIED);
        }
        if (started.isEmpty()) {
            QCOMPARE(answers.shown().size(), std::size_t(1));
            const MessageBox::Shown& box = answers.shown().front();
            QCOMPARE(box.prompt,
                     QString("La información del sistema no está disponible en este momento"));
            QCOMPARE(box.style, 0);
            QCOMPARE(box.title, QString("Tamizo"));
            QVERIFY(!QFile::exists(m_marker));
            return;
        }
        QVERIFY(answers.shown().empty());
        QTRY_COMPARE(files::readAll(m_marker), (started + '\n').toUtf8());
    }

    // --- the value reader ---
    void getKeyValue_data() {
        QTest::addColumn<QByteArray>("value"); // the line of "V" in location 1's key
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("after");
        const QString b = "antes";
        QTest::newRow("string loses its NUL") << QByteArray("\"abc\"") << b << true << "abc";
        QTest::newRow("empty string") << QByteArray("\"\"") << b << true << "";
        QTest::newRow("bytes without NUL stay whole") << hexValue(1, "abc") << b << true << "abc";
        QTest::newRow("only the last NUL goes") << hexValue(1, QByteArray("a\0b\0\0", 5)) << b
                                                << true << QString::fromLatin1("a\0b\0", 4);
        QTest::newRow("1023 characters and NUL fit")
            << "\"" + QByteArray(1023, 'x') + "\"" << b << true << QString(1023, 'x');
        QTest::newRow("1024 bytes without NUL fit")
            << hexValue(1, QByteArray(1024, 'y')) << b << true << QString(1024, 'y');
        QTest::newRow("1025 bytes count as not found")
            << "\"" + QByteArray(1024, 'x') + "\"" << b << false << "";
        QTest::newRow("expandable string leaves the text")
            << hexValue(2, QByteArray("%P%\0", 4)) << b << true << b;
        QTest::newRow("binary leaves the text") << QByteArray("hex:01,02") << b << true << b;
        QTest::newRow("dword most significant first")
            << QByteArray("dword:0a0b0c1d") << b << true << "&h0A0B0C1D";
        QTest::newRow("dword zero") << QByteArray("dword:00000000") << b << true << "&h00000000";
        QTest::newRow("non-ASCII text")
            << QByteArray("\"/opt/información\"") << b << true << "/opt/información";
        QTest::newRow("non-ASCII text in an ANSI file")
            << QByteArray("\"/opt/a\xF1o/m\xFAsica\"") << b << true << "/opt/año/música";
    }
    void getKeyValue() {
        QFETCH(QByteArray, value);
        QFETCH(QString, before);
        const ScopedHive hive(m_dir.filePath("system.reg"));
        QVERIFY(hive.write("REGEDIT4\n" + kLoc1 + "\"V\"=" + value + "\n"));
        frmAbout dlg;
        HKEY root = HKEY_LOCAL_MACHINE;
        QString KeyVal = before;
        const bool r = dlg.GetKeyValue(root, frmAbout::gREGKEYSYSINFO, "V", KeyVal);
        QTEST(r, "result");
        QTEST(KeyVal, "after");
        QCOMPARE(root, HKEY_LOCAL_MACHINE);
    }

    void getKeyValueFailsOnMissingKeyOrValue_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::newRow("missing value") << frmAbout::gREGKEYSYSINFO << "NONE";
        QTest::newRow("missing key") << "SOFTWARE\\Nothing"
                                     << "V";
    }
    void getKeyValueFailsOnMissingKeyOrValue() {
        QFETCH(QString, key);
        QFETCH(QString, name);
        const ScopedHive hive(m_dir.filePath("system.reg"));
        QVERIFY(hive.write("REGEDIT4\n" + kLoc1 + "\"V\"=\"x\"\n"));
        frmAbout dlg;
        HKEY root = HKEY_LOCAL_MACHINE;
        QString KeyVal = "antes";
        QVERIFY(!dlg.GetKeyValue(root, key, name, KeyVal));
        QCOMPARE(KeyVal, QString());
    }

    void getKeyValueOfSizeZeroIsAnError() {
        const ScopedHive hive(m_dir.filePath("system.reg"));
        QVERIFY(hive.write("REGEDIT4\n" + kLoc1 + "\"V\"=hex(1):\n"));
        frmAbout dlg;
        HKEY root = HKEY_LOCAL_MACHINE;
        QString KeyVal = "antes";
        QVERIFY_THROWS_EXCEPTION(frmAbout::RaisedError,
                                 dlg.GetKeyValue(root, frmAbout::gREGKEYSYSINFO, "V", KeyVal));
        QCOMPARE(openKeyCount(), 0);
    }

    // A dialog made on its own gives the boxes the program's title and button captions.
    void boxesBearTheProgramsWords_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("OK") << 0 << QStringList{"Aceptar"};
        QTest::newRow("Yes and No") << 36 << QStringList{"Sí", "No"};
    }
    void boxesBearTheProgramsWords() {
        QFETCH(int, style);
        MessageBox::setProgramWords({}); // as before any window is made
        frmAbout dlg;
        QCOMPARE(MessageBox::programWords().title, QString("Tamizo"));
        const auto box = MessageBox::build({QStringLiteral("x"), style, QString()});
        QStringList captions;
        for (const QPushButton* b : box->findChildren<QPushButton*>())
            captions << b->text();
        QTEST(captions, "captions");
    }

    // --- the home-page link ---
    void linkOpensTheHomePage() {
        const ScopedAnswers answers;
        const ScopedLauncher opener;
        frmAbout dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTest::mouseClick(dlg.Label2, Qt::LeftButton);
        QTRY_COMPARE(opener.recorded(), opener.program() + " http://quorvaldi.example/\n");
        QVERIFY(answers.shown().empty());
        QVERIFY(dlg.isVisible());
        dlg.close();
    }

    void linkFailureIsReported() {
        const ScopedAnswers answers;
        const ScopedLauncher opener(m_dir.filePath("no-opener"));
        frmAbout dlg;
        dlg.Label2_Click();
        QCOMPARE(answers.shown().size(), std::size_t(1));
        QCOMPARE(answers.shown().front().prompt,
                 QString("No se ha podido abrir la página personal."));
        QCOMPARE(answers.shown().front().style, 16);
        QCOMPARE(answers.shown().front().title, QString());
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
