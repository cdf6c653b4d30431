// Malformed hive files under the About box's value reader: bad escapes, truncated files, binary
// garbage, huge values and deep keys; and hive paths that hold no regular file or too large a
// one. None may crash or block the reader, and each must read as "not found": GetKeyValue answers
// False with the empty text, no key stays open, and the launcher shows its message without starting
// anything.

#include "FormsSeams.h"
#include "SystemSeams.h"
#include "frmAbout.h"

#include <QTemporaryDir>
#include <QTest>

#include <random>

#include <sys/stat.h>

using namespace registry;

namespace {
const QByteArray kSection = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]";
const QByteArray kGood = "REGEDIT4\r\n\r\n" + kSection + "\r\n\"PATH\"=\"/opt/msinfo32\"\r\n";

QByteArray garbage(unsigned seed, int size) {
    std::mt19937 rng(seed);
    QByteArray out(size, '\0');
    for (char& c : out)
        c = static_cast<char>(rng() & 0xFF);
    return out;
}

QByteArray utf16(const QByteArray& text) {
    const QString s = QString::fromUtf8(text);
    QByteArray out("\xFF\xFE", 2);
    out.append(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
    return out;
}

// A section `depth` levels below the tool's key, holding a PATH value of its own.
QByteArray deepSection(int depth, const QByteArray& part) {
    QByteArray path = kSection.chopped(1);
    path.reserve(path.size() + depth * (part.size() + 1) + 2);
    for (int i = 0; i < depth; ++i)
        path += "\\" + part;
    return "REGEDIT4\n" + path + "]\n\"PATH\"=\"/deep\"\n";
}
} // namespace

class TestFaultsHive : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    const QString m_hivePath = m_dir.filePath("system.reg");
    const ScopedAnswers m_noRealBoxes;

  private slots:
    void init() {
        QFile::remove(m_hivePath); // whatever a row left there: file, link or pipe
        QDir(m_dir.path()).rmdir("system.reg");
    }
    void cleanup() { QCOMPARE(openKeyCount(), 0); }

    // The well-formed hive that the rows below spoil is read: the rows test the spoiling.
    void wellFormedHiveIsRead() {
        const ScopedHive hive(m_hivePath);
        QVERIFY(hive.write(kGood));
        frmAbout dlg;
        HKEY root = HKEY_LOCAL_MACHINE;
        QString value;
        QVERIFY(dlg.GetKeyValue(root, frmAbout::gREGKEYSYSINFO, frmAbout::gREGVALSYSINFO, value));
        QCOMPARE(value, QStringLiteral("/opt/msinfo32"));
    }

    // Keys within the registry's own limits are read; a section beyond them is left out.
    void keysAreReadUpToTheRegistryLimits_data() {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<bool>("found");
        auto path = [](int depth, const QByteArray& part) {
            QByteArray p = "HKEY_LOCAL_MACHINE";
            for (int i = 0; i < depth; ++i)
                p += "\\" + part;
            return p;
        };
        QTest::newRow("512 levels") << path(512, "k") << true;
        QTest::newRow("513 levels") << path(513, "k") << false;
        QTest::newRow("name of 255 characters") << path(2, QByteArray(255, 'n')) << true;
        QTest::newRow("name of 256 characters") << path(2, QByteArray(256, 'n')) << false;
        QTest::newRow("name of 255 two-byte characters")
            << path(2, QString(255, QChar(0xF1)).toUtf8()) << true;
    }
    void keysAreReadUpToTheRegistryLimits() {
        QFETCH(QByteArray, section);
        QFETCH(bool, found);
        const ScopedHive hive(m_hivePath);
        QVERIFY(hive.write("REGEDIT4\n[" + section + "]\n\"value\"=\"here\"\n"));
        frmAbout dlg;
        HKEY root = HKEY_LOCAL_MACHINE;
        QString value;
        const QString key = QString::fromUtf8(section.mid(section.indexOf('\\') + 1));
        QCOMPARE(dlg.GetKeyValue(root, key, QStringLiteral("value"), value), found);
        QCOMPARE(value, found ? QStringLiteral("here") : QString());
    }

    void malformedHiveReadsAsNotFound_data() {
        QTest::addColumn<QByteArray>("text");
        const QByteArray head = "REGEDIT4\n" + kSection + "\n";
        // Bad escapes.
        QTest::newRow("escaped closing quote of the data") << head + "\"PATH\"=\"/opt/x\\\"\n";
        QTest::newRow("escaped closing quote of the name") << head + "\"PATH\\\"=\"/opt/x\"\n";
        QTest::newRow("lone backslash ends the line") << head + "\"PATH\"=\"/opt/x\\\n";
        QTest::newRow("bad hex digit") << head + "\"PATH\"=hex(1):2f,6g,00\n";
        QTest::newRow("hex byte of three digits") << head + "\"PATH\"=hex(1):2f,06f,00\n";
        QTest::newRow("continuation to a line that is not hex")
            << head + "\"PATH\"=hex(1):2f,6f,\\\n\"MSINFO\"=\"x\"\n";
        QTest::newRow("type in bad parentheses") << head + "\"PATH\"=hex(1:2f,00\n";
        QTest::newRow("odd UTF-16 bytes in a version 5.00 text")
            << "Windows Registry Editor Version 5.00\n" + kSection + "\n\"PATH\"=hex(1):2f,00,6f\n";
        QTest::newRow("NUL inside the value name") << head + QByteArray("\"PA\0TH\"=\"/x\"\n", 13);
        QTest::newRow("section without its bracket")
            << "REGEDIT4\n" + kSection.chopped(1) + "\n\"PATH\"=\"/x\"\n";
        QTest::newRow("empty part in the section path")
            << QByteArray("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\\\Microsoft\\Shared Tools"
                          "\\MSINFO]\n\"PATH\"=\"/x\"\n");
        // Truncated files: cut inside the header, the section, the name and the data.
        for (const char* cut : {"REGED", "[HKEY_LOCAL_MACHINE\\SOFT", "Shared Tools\\MSI", "\"PA",
                                "\"PATH\"=", "\"PATH\"=\"/opt/msi"}) {
            const qsizetype at = kGood.indexOf(cut) + qsizetype(qstrlen(cut));
            QTest::addRow("truncated after \"%s\"", cut) << kGood.left(at);
        }
        QTest::newRow("UTF-16 text cut in the middle of a character")
            << utf16(kGood).left(utf16(kGood).indexOf(QByteArray("\"\0/\0", 4)) + 3);
        QTest::newRow("empty file") << QByteArray();
        // Binary garbage, alone and after a good header and section.
        for (unsigned seed : {1u, 2u, 3u, 4u}) {
            QTest::addRow("garbage, seed %u", seed) << garbage(seed, 4096);
            QTest::addRow("garbage after the section, seed %u", seed) << head + garbage(seed, 4096);
        }
        QTest::newRow("UTF-16 mark then garbage") << QByteArray("\xFF\xFE", 2) + garbage(9, 4095);
        // Huge values: beyond the reader's 1024 bytes.
        QTest::newRow("string of 1024 characters")
            << head + "\"PATH\"=\"/" + QByteArray(1023, 'a') + "\"\n";
        QTest::newRow("string of 3 MB")
            << head + "\"PATH\"=\"/" + QByteArray(3 << 20, 'a') + "\"\n";
        QByteArray hex = "\"PATH\"=hex(1):";
        for (int i = 0; i < 200000; ++i)
            hex += i % 20 == 19 ? "61,\\\n  " : "61,";
        QTest::newRow("hex string of 200000 bytes over many lines") << head + hex + "00\n";
        QTest::newRow("value name of 1 MB")
            << head + "\"" + QByteArray(1 << 20, 'P') + "\"=\"/x\"\n";
        // Deep keys: the tool's key exists only as the parent of a deep one.
        QTest::newRow("key 1000 levels below") << deepSection(1000, "k");
        QTest::newRow("key 100000 levels below") << deepSection(100000, "k");
        QTest::newRow("key 20000 levels of long names below")
            << deepSection(20000, QByteArray(200, 'n'));
    }
    void malformedHiveReadsAsNotFound() {
        QFETCH(QByteArray, text);
        const ScopedHive hive(m_hivePath);
        QVERIFY(hive.write(text));
        expectNotFound();
    }

    // Only a regular file of at most 4 MiB is read. Anything else at the hive's path is taken
    // as a missing file at once: it is never waited on nor read whole.
    void hiveIsReadOnlyFromARegularFileOfAtMost4MiB_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("size"); // of a regular file: the good hive padded to this size
        QTest::addColumn<bool>("read");
        QTest::newRow("named pipe") << "pipe" << 0 << false;
        QTest::newRow("link to /dev/zero") << "zero" << 0 << false;
        QTest::newRow("folder") << "folder" << 0 << false;
        QTest::newRow("file of 4 MiB") << "file" << (4 << 20) << true;
        QTest::newRow("file of 4 MiB + 1") << "file" << (4 << 20) + 1 << false;
    }
    void hiveIsReadOnlyFromARegularFileOfAtMost4MiB() {
        QFETCH(QString, kind);
        QFETCH(int, size);
        QFETCH(bool, read);
        const ScopedHive hive(m_hivePath);
        const QString& path = hive.path();
        if (kind == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == "zero")
            QVERIFY(QFile::link("/dev/zero", path));
        else if (kind == "folder")
            QVERIFY(QDir(m_dir.path()).mkdir("system.reg"));
        else
            QVERIFY(hive.write(kGood + ';' + QByteArray(size - kGood.size() - 1, 'x')));
        if (!read) {
            expectNotFound();
            QCOMPARE(openLog().front().result, ERROR_FILE_NOT_FOUND); // as if there were no file
            return;
        }
        frmAbout dlg;
        HKEY root = HKEY_LOCAL_MACHINE;
        QString value;
        QVERIFY(dlg.GetKeyValue(root, frmAbout::gREGKEYSYSINFO, frmAbout::gREGVALSYSINFO, value));
        QCOMPARE(value, QStringLiteral("/opt/msinfo32"));
    }

  private:
    // The tool's location 1 reads as not found, and the launcher says the tool is unavailable.
    void expectNotFound() {
        const ScopedAnswers answers;
        frmAbout dlg;
        HKEY root = HKEY_LOCAL_MACHINE;
        QString value = QStringLiteral("before");
        QVERIFY(!dlg.GetKeyValue(root, frmAbout::gREGKEYSYSINFO, frmAbout::gREGVALSYSINFO, value));
        QCOMPARE(value, QString());
        QCOMPARE(root, HKEY_LOCAL_MACHINE);
        QCOMPARE(openKeyCount(), 0);

        // The launcher finds nothing at either location and says so.
        dlg.StartSysInfo();
        QCOMPARE(answers.shown().size(), size_t(1));
        QCOMPARE(answers.shown()[0].prompt, frmAbout::kSysInfoUnavailable);
        QCOMPARE(openKeyCount(), 0);
    }
};

QTEST_MAIN(TestFaultsHive)
#include "test_faults_hive.moc"
