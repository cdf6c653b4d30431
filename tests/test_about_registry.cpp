// The system side of the About box: the hive parser, the registry functions over a hive file
// (return codes, access rights, handles), the program launcher with real processes, and the
// file-existence lookup.

#include "FileLookup.h"
#include "RegHive.h"
#include "SystemSeams.h"

#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <random>

using namespace registry;
using files::readAll;
using files::writeRecorder;

namespace {
const QByteArray kMsinfo = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

QByteArray bytes(std::string_view s) {
    return QByteArray(s.data(), qsizetype(s.size()));
}
} // namespace

class TestAboutRegistry : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

  private slots:
    void cleanup() { QCOMPARE(openKeyCount(), 0); }

    // --- the parser ---
    void parserReadsValues_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("data");
        const QByteArray h4 = "REGEDIT4\n\n[" + kMsinfo + "]\n";
        const QByteArray h5 = "Windows Registry Editor Version 5.00\n\n[" + kMsinfo + "]\n";
        const QByteArray k = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
        QTest::newRow("string gets its NUL")
            << h4 + "\"PATH\"=\"/opt/x\"\n"
            << k << QByteArray("PATH") << true << 1 << QByteArray("/opt/x\0", 7);
        QTest::newRow("version 5.00 header")
            << h5 + "\"PATH\"=\"a\"\n"
            << k << QByteArray("PATH") << true << 1 << QByteArray("a\0", 2);
        QTest::newRow("escaped backslash and quote")
            << h4 + "\"P\"=\"C:\\\\a \\\"b\\\"\"\n"
            << k << QByteArray("P") << true << 1 << QByteArray("C:\\a \"b\"\0", 9);
        QTest::newRow("lone backslash kept")
            << h4 + "\"P\"=\"C:\\dir\"\n"
            << k << QByteArray("P") << true << 1 << QByteArray("C:\\dir\0", 7);
        QTest::newRow("dword little-endian")
            << h4 + "\"D\"=dword:0000001a\n"
            << k << QByteArray("D") << true << 4 << QByteArray("\x1a\0\0\0", 4);
        QTest::newRow("dword too long") << h4 + "\"D\"=dword:100000000\n"
                                        << k << QByteArray("D") << false << 0 << QByteArray();
        QTest::newRow("hex over continued lines")
            << h4 + "\"B\"=hex:01,02,\\\n  03,ff\n"
            << k << QByteArray("B") << true << 3 << QByteArray("\x01\x02\x03\xff", 4);
        QTest::newRow("hex(2) raw in REGEDIT4")
            << h4 + "\"E\"=hex(2):25,41,25,00\n"
            << k << QByteArray("E") << true << 2 << QByteArray("%A%\0", 4);
        QTest::newRow("hex(1) UTF-16 in 5.00") << h5 + "\"S\"=hex(1):f1,00,62,00\n"
                                               << k << QByteArray("S") << true << 1
                                               << QByteArray("\xc3\xb1"
                                                             "b");
        QTest::newRow("hex(1) odd UTF-16 is bad")
            << h5 + "\"S\"=hex(1):61,00,62\n"
            << k << QByteArray("S") << false << 0 << QByteArray();
        QTest::newRow("empty hex is no bytes") << h4 + "\"Z\"=hex(1):\n"
                                               << k << QByteArray("Z") << true << 1 << QByteArray();
        QTest::newRow("default value") << h4 + "@=\"d\"\n"
                                       << k << QByteArray("") << true << 1 << QByteArray("d\0", 2);
        QTest::newRow("names without case")
            << h4 + "\"Path\"=\"v\"\n"
            << QByteArray("software\\MICROSOFT\\shared tools\\msinfo") << QByteArray("PATH") << true
            << 1 << QByteArray("v\0", 2);
        QTest::newRow("HKLM abbreviation")
            << QByteArray("REGEDIT4\n[HKLM\\A]\n\"v\"=\"1\"\n") << QByteArray("A")
            << QByteArray("v") << true << 1 << QByteArray("1\0", 2);
        QTest::newRow("no header: empty") << QByteArray("[" + kMsinfo + "]\n\"PATH\"=\"x\"\n") << k
                                          << QByteArray("PATH") << false << 0 << QByteArray();
        QTest::newRow("wrong header: empty")
            << QByteArray("REGEDIT5\n[" + kMsinfo + "]\n\"PATH\"=\"x\"\n") << k
            << QByteArray("PATH") << false << 0 << QByteArray();
        QTest::newRow("unclosed section hides values")
            << QByteArray("REGEDIT4\n[" + kMsinfo + "\n\"PATH\"=\"x\"\n") << k << QByteArray("PATH")
            << false << 0 << QByteArray();
        QTest::newRow("other root is not this hive")
            << QByteArray("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"x\"\n") << QByteArray("A")
            << QByteArray("v") << false << 0 << QByteArray();
        QTest::newRow("deleted value") << h4 + "\"v\"=\"x\"\n\"v\"=-\n"
                                       << k << QByteArray("v") << false << 0 << QByteArray();
        QTest::newRow("later value wins")
            << h4 + "\"v\"=\"x\"\n\"V\"=\"y\"\n"
            << k << QByteArray("v") << true << 1 << QByteArray("y\0", 2);
        QTest::newRow("bad line spares the next")
            << h4 + "\"a\"=hex:1,zz\n\"b\"=\"ok\"\n"
            << k << QByteArray("b") << true << 1 << QByteArray("ok\0", 3);
        QTest::newRow("bad line is missing") << h4 + "\"a\"=hex:1,zz\n\"b\"=\"ok\"\n"
                                             << k << QByteArray("a") << false << 0 << QByteArray();
        QTest::newRow("text after string is bad")
            << h4 + "\"a\"=\"x\" y\n"
            << k << QByteArray("a") << false << 0 << QByteArray();
        QTest::newRow("CRLF lines and comments")
            << QByteArray("REGEDIT4\r\n; note\r\n[" + kMsinfo + "]\r\n\"PATH\"=\"x\"\r\n") << k
            << QByteArray("PATH") << true << 1 << QByteArray("x\0", 2);
        QTest::newRow("UTF-8 byte-order mark")
            << QByteArray("\xEF\xBB\xBF") + h4 + "\"P\"=\"Año\"\n"
            << k << QByteArray("P") << true << 1 << QByteArray("A\xc3\xb1o\0", 5);
        // A text that is not valid UTF-8 throughout is code page 1252.
        QTest::newRow("UTF-8 text")
            << h4 + "\"P\"=\"/opt/año/música\"\n"
            << k << QByteArray("P") << true << 1 << QByteArray("/opt/año/música") + '\0';
        QTest::newRow("cp1252 text")
            << h4 + "\"P\"=\"/opt/a\xF1o/m\xFAsica\"\n"
            << k << QByteArray("P") << true << 1 << QByteArray("/opt/año/música") + '\0';
        QTest::newRow("cp1252 from 0x80 and the undefined bytes")
            << h4 + "\"P\"=\"\x80\x81\x8D\x8F\x90\x9D\x9F\x99\xA0\xFF\"\n"
            << k << QByteArray("P") << true << 1
            << QString::fromUtf16(u"€\u0081\u008D\u008F\u0090\u009DŸ™\u00A0ÿ").toUtf8() + '\0';
        QTest::newRow("one bad byte makes the whole text cp1252")
            << h4 + "\"P\"=\"ñ\"\n; cut \xE2\x82" << k << QByteArray("P") << true << 1
            << QByteArray("\xC3\x83\xC2\xB1\0", 5);
        QTest::newRow("overlong UTF-8 is cp1252")
            << h4 + "\"P\"=\"\xC0\xAF\"\n"
            << k << QByteArray("P") << true << 1 << QByteArray("À¯") + '\0';
        QTest::newRow("UTF-8 surrogate is cp1252")
            << h4 + "\"P\"=\"\xED\xA0\x80\"\n"
            << k << QByteArray("P") << true << 1 << QByteArray("í\u00A0€") + '\0';
        QTest::newRow("UTF-8 byte-order mark on cp1252 text")
            << QByteArray("\xEF\xBB\xBF") + h4 + "\"P\"=\"A\xF1o\"\n"
            << k << QByteArray("P") << true << 1 << QByteArray("A\xc3\xb1o\0", 5);
    }
    void parserReadsValues() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, name);
        QFETCH(bool, found);
        const RegHive hive = RegHive::parse(text.toStdString());
        const RegValue* v = hive.value(key.toStdString(), name.toStdString());
        QCOMPARE(v != nullptr, found);
        if (!v)
            return;
        QTEST(int(v->type), "type");
        QTEST(bytes(v->data), "data");
    }

    void parserReadsUtf16Files() {
        const QString text = "Windows Registry Editor Version 5.00\r\n\r\n[" + QString(kMsinfo) +
                             "]\r\n\"PATH\"=\"/opt/información\"\r\n";
        QByteArray file("\xFF\xFE", 2);
        file += QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        const RegHive hive = RegHive::parse(file.toStdString());
        const RegValue* v = hive.value("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH");
        QVERIFY(v);
        QCOMPARE(QString::fromUtf8(bytes(v->data)), QString("/opt/información") + QChar(0));
    }

    void parserImpliesParentKeysOnly() {
        const RegHive hive = RegHive::parse("REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\\B\\C]\n");
        QVERIFY(hive.hasKey(""));
        QVERIFY(hive.hasKey("a\\b"));
        QVERIFY(hive.hasKey("A\\B\\C"));
        QVERIFY(!hive.hasKey("A\\B\\C\\D"));
        QVERIFY(!hive.hasKey("A\\\\B"));
        QVERIFY(!hive.hasKey("B"));
    }

    // Every prefix and many damaged copies of a hive parse without a crash, and a damaged
    // copy never invents a key that the text does not name.
    void parserSurvivesDamagedText() {
        const std::string good =
            "Windows Registry Editor Version 5.00\r\n[" + kMsinfo.toStdString() +
            "]\r\n\"PATH\"=\"C:\\\\x \\\"y\\\"\"\r\n\"B\"=hex(7):41,00,\\\r\n  00,00\r\n"
            "\"D\"=dword:ffffffff\r\n@=hex(1234abcd):01\r\n[HKLM\\Z]\r\n";
        for (std::size_t n = 0; n <= good.size(); ++n)
            RegHive::parse(std::string_view(good).substr(0, n));
        std::mt19937 rng(12345);
        const char alphabet[] = "[]\\\"=,:@-()\r\n hexdword0f\xFF\xFE";
        int keysSeen = 0;
        for (int round = 0; round < 3000; ++round) {
            std::string text = good;
            for (int k = 0; k < 4; ++k)
                text[rng() % text.size()] = alphabet[rng() % (sizeof alphabet - 1)];
            const RegHive hive = RegHive::parse(text);
            QVERIFY(!hive.hasKey("ZZ"));
            keysSeen += hive.hasKey("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
        }
        QVERIFY(keysSeen > 0); // the damage does not hide everything
    }

    // --- the registry functions ---
    void missingHiveIsEmpty() {
        const ScopedHive hive(m_dir.filePath("none.reg"));
        QCOMPARE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, 0x2003F).code(),
                 ERROR_FILE_NOT_FOUND);
        const auto h = RegOpenKeyExA(HKEY_LOCAL_MACHINE, "", 0, KEY_READ);
        QCOMPARE(h.code(), ERROR_SUCCESS);
        QCOMPARE(RegQueryValueExA(*h, "x", nullptr, nullptr, 0).code(), ERROR_FILE_NOT_FOUND);
        QCOMPARE(RegCloseKey(*h).code(), ERROR_SUCCESS);
    }

    void queryReportsCodesAndSizes() {
        const ScopedHive hive(m_dir.filePath("system.reg"));
        QVERIFY(hive.write("REGEDIT4\n[" + kMsinfo + "]\n\"PATH\"=\"abcdef\"\n"));
        const HKEY h = RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                                     "Software\\Microsoft\\Shared Tools\\MSINFO", 0, KEY_READ)
                           .value();
        const auto info = RegQueryValueExA(h, "path", nullptr, nullptr, 0);
        QCOMPARE(info.code(), ERROR_SUCCESS);
        QCOMPARE(info->size, DWORD(7));
        QCOMPARE(info->type, REG_SZ);

        unsigned char buf[8];
        std::memset(buf, 'x', sizeof buf);
        // One byte short.
        QCOMPARE(RegQueryValueExA(h, "PATH", nullptr, buf, 6).code(), ERROR_MORE_DATA);
        QCOMPARE(buf[0], 'x'); // untouched
        const auto read = RegQueryValueExA(h, "PATH", nullptr, buf, 8);
        QCOMPARE(read.code(), ERROR_SUCCESS);
        QCOMPARE(read->size, DWORD(7));
        QCOMPARE(read->type, REG_SZ);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(buf), 7), QByteArray("abcdef\0", 7));
        QCOMPARE(buf[7], 'x');

        QCOMPARE(RegQueryValueExA(h, "other", nullptr, buf, 8).code(), ERROR_FILE_NOT_FOUND);
        DWORD reserved = 0;
        QCOMPARE(RegQueryValueExA(h, "PATH", &reserved, buf, 8).code(), ERROR_INVALID_PARAMETER);
        QCOMPARE(RegCloseKey(h).code(), ERROR_SUCCESS);
        QCOMPARE(RegCloseKey(h).code(), ERROR_INVALID_HANDLE);
        QCOMPARE(RegQueryValueExA(h, "PATH", nullptr, buf, 8).code(), ERROR_INVALID_HANDLE);
    }

    void openRelativeToAnOpenKey() {
        const ScopedHive hive(m_dir.filePath("system.reg"));
        QVERIFY(hive.write("REGEDIT4\n[" + kMsinfo + "]\n\"PATH\"=\"p\"\n"));
        const auto parent = RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft", 0, KEY_READ);
        QCOMPARE(parent.code(), ERROR_SUCCESS);
        const auto child = RegOpenKeyExA(*parent, "Shared Tools\\MSINFO", 0, KEY_READ);
        QCOMPARE(child.code(), ERROR_SUCCESS);
        const auto info = RegQueryValueExA(*child, "PATH", nullptr, nullptr, 0);
        QCOMPARE(info.code(), ERROR_SUCCESS);
        QCOMPARE(info->size, DWORD(2));
        QCOMPARE(openKeyCount(), 2);
        QVERIFY(RegCloseKey(*child).ok());
        QVERIFY(RegCloseKey(*parent).ok());
        QCOMPARE(RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE", 0, KEY_READ).code(),
                 ERROR_FILE_NOT_FOUND);
        QCOMPARE(RegOpenKeyExA(0x1234, "SOFTWARE", 0, KEY_READ).code(), ERROR_INVALID_HANDLE);
    }

    void writeRightsNeedAWritableHive_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<uint>("sam");
        QTest::addColumn<int>("result");
        QTest::newRow("writable, 0x2003F") << false << 0x2003Fu << int(ERROR_SUCCESS);
        QTest::newRow("read-only, plain read") << true << uint(KEY_READ) << int(ERROR_SUCCESS);
        QTest::newRow("read-only, 0x2003F") << true << 0x2003Fu << int(ERROR_ACCESS_DENIED);
        QTest::newRow("read-only, set value")
            << true << uint(KEY_SET_VALUE) << int(ERROR_ACCESS_DENIED);
        QTest::newRow("read-only, create subkey")
            << true << uint(KEY_CREATE_SUB_KEY) << int(ERROR_ACCESS_DENIED);
        QTest::newRow("read-only, create link")
            << true << uint(KEY_CREATE_LINK) << int(ERROR_ACCESS_DENIED);
    }
    void writeRightsNeedAWritableHive() {
        QFETCH(bool, readOnly);
        QFETCH(uint, sam);
        const ScopedHive hive(m_dir.filePath("system.reg"));
        QVERIFY(hive.write("REGEDIT4\n[" + kMsinfo + "]\n", readOnly));
        const auto h =
            RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", 0, sam);
        const LONG r = h.code();
        QTEST(int(r), "result");
        if (h)
            QVERIFY(RegCloseKey(*h).ok());
        QCOMPARE(openLog().size(), std::size_t(1));
        QCOMPARE(openLog().back().samDesired, sam);
        QCOMPARE(openLog().back().result, r);
    }

    void eachOpenReadsTheFileAgain() {
        const ScopedHive hive(m_dir.filePath("system.reg"));
        QVERIFY(hive.write("REGEDIT4\n"));
        QCOMPARE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "A", 0, KEY_READ).code(), ERROR_FILE_NOT_FOUND);
        QVERIFY(hive.write("REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n"));
        const auto h = RegOpenKeyExA(HKEY_LOCAL_MACHINE, "A", 0, KEY_READ);
        QCOMPARE(h.code(), ERROR_SUCCESS);
        QVERIFY(RegCloseKey(*h).ok());
    }

    void defaultHiveFollowsXdgDataHome() {
        const QByteArray old = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_dir.path().toUtf8());
        const QString path = hivePath();
        old.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", old);
        QCOMPARE(path, m_dir.path() + "/tamizo/system.reg");
    }

    // --- the launcher ---
    void commandLineSplits_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        const QString d = m_dir.path();
        QTest::newRow("program alone") << "/bin/x"
                                       << "/bin/x" << QStringList();
        QTest::newRow("blanks between arguments") << "  sh  a\tb  "
                                                  << "sh" << QStringList{"a", "b"};
        QTest::newRow("quoted program with blank") << "\"/a b/x\" c"
                                                   << "/a b/x" << QStringList{"c"};
        QTest::newRow("quoted argument") << "sh \"a b\" \"\""
                                         << "sh" << QStringList{"a b", ""};
        QTest::newRow("empty") << "   "
                               << "" << QStringList();
        QTest::newRow("unquoted path with a blank")
            << d + "/my tools/run.sh" << d + "/my tools/run.sh" << QStringList();
        QTest::newRow("unquoted path with a blank, and arguments")
            << d + "/my tools/run.sh -x \"a b\"" << d + "/my tools/run.sh"
            << QStringList{"-x", "a b"};
        QTest::newRow("backslashes and a blank")
            << d + "\\my tools\\run.sh /all" << d + "\\my tools\\run.sh" << QStringList{"/all"};
        QTest::newRow("shortest prefix that is a program")
            << d + "/two words/run.sh" << d + "/two" << QStringList{"words/run.sh"};
        QTest::newRow("prefix that is no executable passed over")
            << d + "/plain x/run.sh a" << d + "/plain x/run.sh" << QStringList{"a"};
        QTest::newRow("no prefix is a program: the whole line")
            << d + "/none here x" << d + "/none here x" << QStringList();
    }
    void commandLineSplits() {
        QFETCH(QString, line);
        for (const char* name : {"my tools/run.sh", "two words/run.sh", "two", "plain x/run.sh"})
            QVERIFY(writeRecorder(m_dir.filePath(name), m_dir.filePath("unused")));
        QFile plain(m_dir.filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        const launcher::CommandLine cl = launcher::splitCommandLine(line);
        QTEST(cl.program, "program");
        QTEST(cl.arguments, "arguments");
    }

    void shellStartsARealProgram_data() {
        QTest::addColumn<bool>("backslashes");
        QTest::newRow("slash path") << false;
        QTest::newRow("backslash path") << true;
    }
    void shellStartsARealProgram() {
        QFETCH(bool, backslashes);
        const QString marker = m_dir.filePath(QString("started-%1").arg(backslashes));
        QString script = m_dir.filePath("rec.sh");
        QVERIFY(writeRecorder(script, marker));
        if (backslashes)
            script.replace('/', '\\');
        const auto pid = launcher::Shell(script + " one \"two words\"", 1);
        QCOMPARE(pid.code(), 0);
        QVERIFY(*pid > 0);
        QTRY_VERIFY(readAll(marker).endsWith('\n'));
        QCOMPARE(readAll(marker), (m_dir.filePath("rec.sh") + " one two words\n").toUtf8());
    }

    void shellFindsProgramsInPath() {
        const QString marker = m_dir.filePath("from-path");
        QVERIFY(launcher::Shell("sh -c \"echo ok > '" + marker + "'\"", 2).ok());
        QTRY_COMPARE(readAll(marker), QByteArray("ok\n"));
    }

    void shellHandsWebAddressesToTheOpener_data() {
        QTest::addColumn<QString>("shell");
        QTest::newRow("explorer.exe") << "explorer.exe";
        QTest::newRow("with a Windows path and case") << "C:\\WINDOWS\\Explorer.EXE";
    }
    void shellHandsWebAddressesToTheOpener() {
        QFETCH(QString, shell);
        const ScopedLauncher opener;
        QVERIFY(launcher::Shell(shell + " http://quorvaldi.example/", 2).ok());
        QTRY_VERIFY(opener.recorded().endsWith('\n'));
        QCOMPARE(opener.recorded(), opener.program() + " http://quorvaldi.example/\n");
    }

    void shellFailsWhenNothingCanStart_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("code");
        QTest::newRow("empty line") << "" << 1 << ENOENT;
        QTest::newRow("missing file") << m_dir.filePath("nothing-here") << 1 << ENOENT;
        QTest::newRow("not in PATH") << "tamizo-no-such-program-x" << 1 << ENOENT;
        QTest::newRow("a folder") << m_dir.path() << 1 << EACCES;
        QTest::newRow("not executable") << m_dir.filePath("plain.txt") << 1 << EACCES;
        QTest::newRow("no program inside") << m_dir.filePath("empty.sh") << 1 << ENOEXEC;
        QTest::newRow("unknown window style") << "sh -c true" << 5 << EINVAL;
    }
    void shellFailsWhenNothingCanStart() {
        QFETCH(QString, line);
        QFETCH(int, style);
        QFile plain(m_dir.filePath("plain.txt"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QFile empty(m_dir.filePath("empty.sh")); // executable, but neither a program nor a script
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        QVERIFY(empty.setPermissions(empty.permissions() | QFileDevice::ExeOwner));
        QTEST(launcher::Shell(line, style).code(), "code");
    }

    // --- the file lookup ---
    void fileLookupCountsOrdinaryFilesOnly_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<int>("code");
        const QString d = m_dir.path();
        QTest::newRow("ordinary file") << d + "/sys/MSINFO32.EXE" << true << 0;
        QTest::newRow("backslash separator") << d + "/sys\\MSINFO32.EXE" << true << 0;
        QTest::newRow("other case") << d + "/sys/msinfo32.exe" << false << 0;
        QTest::newRow("link to a file") << d + "/sys/link.exe" << true << 0;
        QTest::newRow("folder") << d + "/sys/folder.exe" << false << 0;
        QTest::newRow("hidden file") << d + "/sys/.hidden.exe" << false << 0;
        QTest::newRow("missing") << d + "/sys/none.exe" << false << 0;
        QTest::newRow("below a file") << d + "/sys/MSINFO32.EXE/x.exe" << false << 0;
        QTest::newRow("device") << "/dev/null" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("name too long to tell")
            << d + "/" + QString(300, 'n') + "/x.exe" << false << ENAMETOOLONG;
    }
    void fileLookupCountsOrdinaryFilesOnly() {
        QFETCH(QString, path);
        QDir(m_dir.path()).mkpath("sys/folder.exe");
        for (const char* name : {"sys/MSINFO32.EXE", "sys/.hidden.exe"}) {
            QFile f(m_dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QFile::link(m_dir.filePath("sys/MSINFO32.EXE"), m_dir.filePath("sys/link.exe"));
        const auto found = filelookup::exists(path);
        QTEST(found.code(), "code");
        if (found)
            QTEST(*found, "exists");
    }
};

QTEST_GUILESS_MAIN(TestAboutRegistry)
#include "test_about_registry.moc"
