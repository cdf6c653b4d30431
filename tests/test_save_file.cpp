// The numbered text-file table and the list-file writer, below the dialog: byte layout,
// code page, the path rule, long lists, and putting a file back after a failed save.

#include "ErrorText.h"
#include "ListFile.h"
#include "PrimeStore.h"
#include "SaveKit.h"
#include "TextFiles.h"

#include <QTemporaryDir>
#include <QtTest>

using files::readAll;
using files::writeFile;
using savekit::FileSizeLimit;

class SaveFileTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() {
        (void)textfiles::CloseAll(); // what a failed test left open
        QVERIFY(!textfiles::isOpen(1));
    }

    void fullNameAppendsSeparatorOnlyWhenMissing_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Linux root gets no second /") << "/"
                                                     << "x" << QChar('/') << "/x.txt";
        QTest::newRow("Linux folder gets one /") << "/tmp/a"
                                                 << "x" << QChar('/') << "/tmp/a/x.txt";
        QTest::newRow("Windows drive root") << "C:\\"
                                            << "x" << QChar('\\') << "C:\\x.txt";
        QTest::newRow("Windows folder") << "C:\\Datos"
                                        << "x" << QChar('\\') << "C:\\Datos\\x.txt";
        QTest::newRow("empty name gives .txt") << "/tmp"
                                               << "" << QChar('/') << "/tmp/.txt";
        QTest::newRow("own extension gets a second")
            << "/tmp"
            << "lista.txt" << QChar('/') << "/tmp/lista.txt.txt";
        QTest::newRow("blanks kept as typed") << "/tmp"
                                              << " a b " << QChar('/') << "/tmp/ a b .txt";
    }
    void fullNameAppendsSeparatorOnlyWhenMissing() {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QChar, separator);
        QFETCH(QString, expected);
        QCOMPARE(listfile::fullName(folder, name, separator), expected);
    }

    void namesWithSeparatorAreRecognised_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("has");
        QTest::newRow("plain") << "primos01" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("dots") << ".." << false;
        QTest::newRow("slash inside") << "a/b" << true;
        QTest::newRow("leading slash") << "/etc" << true;
    }
    void namesWithSeparatorAreRecognised() {
        QFETCH(QString, name);
        QFETCH(bool, has);
        QCOMPARE(listfile::nameHasSeparator(name), has);
    }

    void toAnsiUsesCodePage1252_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << "---Tamizo, 07/12/2026---"
                               << QByteArray("---Tamizo, 07/12/2026---");
        QTest::newRow("latin accents") << QStringLiteral("dé ñ Ü") << QByteArray("d\xE9 \xF1 \xDC");
        QTest::newRow("euro and quotes")
            << QStringLiteral("€ ‘x’ …") << QByteArray("\x80 \x91x\x92 \x85");
        QTest::newRow("outside the code page") << QStringLiteral("a\u4E2Db") << QByteArray("a?b");
    }
    void toAnsiUsesCodePage1252() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(textfiles::toAnsi(text), bytes);
    }

    void freeFileIsLowestUnusedNumber() {
        QTemporaryDir dir;
        QCOMPARE(textfiles::FreeFile().value(), 1);
        QVERIFY(textfiles::OpenAppend(1, dir.filePath("a")).ok());
        QVERIFY(textfiles::OpenAppend(2, dir.filePath("b")).ok());
        QCOMPARE(textfiles::FreeFile().value(), 3);
        QVERIFY(textfiles::Close(1).ok());
        QCOMPARE(textfiles::FreeFile().value(), 1);
        const auto again = textfiles::OpenAppend(2, dir.filePath("c"));
        QCOMPARE(again.code(), EBUSY);
        QVERIFY(!QFile::exists(dir.filePath("c")));
        QCOMPARE(textfiles::OpenAppend(textfiles::kMaxNumber + 1, dir.filePath("c")).code(), EBADF);
        QVERIFY(!QFile::exists(dir.filePath("c")));
        for (int n = 1; n <= textfiles::kMaxNumber; ++n)
            QVERIFY(textfiles::isOpen(n) || textfiles::OpenAppend(n, dir.filePath("a")).ok());
        QCOMPARE(textfiles::FreeFile().code(), EMFILE);
        QVERIFY(textfiles::CloseAll().ok());
        QCOMPARE(textfiles::FreeFile().value(), 1);
    }

    void operationsOnClosedNumberFail() {
        QCOMPARE(textfiles::WriteBytes(7, "x").code(), EBADF);
        QCOMPARE(textfiles::PrintLine(7, u"x").code(), EBADF);
        QCOMPARE(textfiles::Flush(7).code(), EBADF);
        QCOMPARE(textfiles::Rollback(7).code(), EBADF);
        QCOMPARE(textfiles::Close(7).code(), EBADF);
        QVERIFY(!textfiles::before(7));
    }

    void printLineAppendsAfterExistingContent() {
        QTemporaryDir dir;
        const QString path = dir.filePath("x.txt");
        QVERIFY(writeFile(path, "old\r\n"));
        QVERIFY(textfiles::OpenAppend(1, path).ok());
        QCOMPARE(textfiles::before(1)->existed, true);
        QCOMPARE(textfiles::before(1)->length, 5);
        QVERIFY(textfiles::PrintLine(1, QStringLiteral("año")).ok());
        QVERIFY(textfiles::Flush(1).ok());
        QVERIFY(textfiles::CloseAll().ok());
        QCOMPARE(readAll(path), QByteArray("old\r\na\xF1o\r\n"));
    }

    void rollbackCutsExistingFileBackToItsLength() {
        QTemporaryDir dir;
        const QString path = dir.filePath("x.txt");
        QVERIFY(writeFile(path, "keep me\r\n"));
        QVERIFY(textfiles::OpenAppend(1, path).ok());
        QVERIFY(textfiles::WriteBytes(1, "half a blo").ok());
        QVERIFY(textfiles::Rollback(1).ok());
        QVERIFY(!textfiles::isOpen(1));
        QCOMPARE(readAll(path), QByteArray("keep me\r\n"));
    }

    void rollbackRemovesFileTheOpenCreated() {
        QTemporaryDir dir;
        const QString path = dir.filePath("new.txt");
        QVERIFY(textfiles::OpenAppend(1, path).ok());
        QCOMPARE(textfiles::before(1)->existed, false);
        QVERIFY(textfiles::WriteBytes(1, "partial").ok());
        QVERIFY(textfiles::Rollback(1).ok());
        QVERIFY(!QFileInfo::exists(path));
    }

    void restoreAfterCloseCutsBackOrRemoves() {
        QTemporaryDir dir;
        const QString old = dir.filePath("old.txt"), fresh = dir.filePath("fresh.txt");
        QVERIFY(writeFile(old, "abc"));
        QVERIFY(textfiles::OpenAppend(1, old).ok());
        QVERIFY(textfiles::OpenAppend(2, fresh).ok());
        const auto b1 = *textfiles::before(1), b2 = *textfiles::before(2);
        QVERIFY(textfiles::WriteBytes(1, "defg").ok());
        QVERIFY(textfiles::WriteBytes(2, "xyz").ok());
        QVERIFY(textfiles::CloseAll().ok());
        QVERIFY(textfiles::Restore(b1).ok());
        QVERIFY(textfiles::Restore(b2).ok());
        QCOMPARE(readAll(old), QByteArray("abc"));
        QVERIFY(!QFileInfo::exists(fresh));
    }

    void openThroughDanglingLinkCreatesTargetAndRollbackRemovesOnlyIt() {
        QTemporaryDir dir;
        const QString link = dir.filePath("link.txt"), target = dir.filePath("target.txt");
        QVERIFY(QFile::link(target, link));
        QVERIFY(textfiles::OpenAppend(1, link).ok());
        QVERIFY(textfiles::WriteBytes(1, "x").ok());
        QVERIFY(QFileInfo::exists(target));
        QVERIFY(textfiles::Rollback(1).ok());
        QVERIFY(!QFileInfo::exists(target));
        QVERIFY(QFileInfo(link).isSymLink());
    }

    void systemErrorsAreGivenInSpanish_data() {
        QTest::addColumn<int>("errnum");
        QTest::addColumn<QString>("text");
        QTest::newRow("EACCES") << EACCES << "No tiene permiso para hacerlo.";
        QTest::newRow("ENOSPC") << ENOSPC << "No queda espacio libre en el disco.";
        QTest::newRow("EROFS") << EROFS << "El disco o la carpeta es de solo lectura.";
        QTest::newRow("ENAMETOOLONG")
            << ENAMETOOLONG << "El nombre del archivo o de la ruta es demasiado largo.";
        QTest::newRow("EWOULDBLOCK is EAGAIN")
            << EWOULDBLOCK << "El recurso no está disponible en este momento; inténtelo de nuevo.";
        QTest::newRow("ENOTSUP is EOPNOTSUPP") << ENOTSUP << "Es un socket, no un archivo normal.";
        QTest::newRow("not in the table") << 9999 << "Error del sistema número 9999.";
    }
    void systemErrorsAreGivenInSpanish() {
        QFETCH(int, errnum);
        QFETCH(QString, text);
        QCOMPARE(systemErrorText(errnum), text);
    }

    void everyErrorOfSavingHasWordsOfItsOwn() {
        const int codes[] = {EACCES,  EPERM,  ENOSPC,       EDQUOT, EROFS,      ENOENT,
                             ENOTDIR, EISDIR, ENAMETOOLONG, EEXIST, EIO,        EFBIG,
                             ELOOP,   EMFILE, ENFILE,       EBUSY,  ENXIO,      ETXTBSY,
                             EINVAL,  EAGAIN, EBADF,        ESPIPE, EOPNOTSUPP, ENODEV};
        QSet<QString> texts;
        for (const int e : codes) {
            const QString t = systemErrorText(e);
            QVERIFY2(!t.startsWith(QStringLiteral("Error del sistema")), qPrintable(t));
            texts.insert(t);
        }
        QCOMPARE(texts.size(), int(std::size(codes)));
    }

    // A device is refused at the open (the fault table of the dialog has the other kinds).
    void openRefusesDeviceAndKeepsNumberFree() {
        QTemporaryDir dir;
        const QString link = dir.filePath("full.txt");
        QVERIFY(QFile::link("/dev/full", link));
        const auto s = textfiles::OpenAppend(1, link);
        QCOMPARE(s.code(), ENODEV);
        QVERIFY(!textfiles::isOpen(1));
        QCOMPARE(QFileInfo(link).symLinkTarget(), QStringLiteral("/dev/full"));
    }

    // --- the writer ---

    void blockIsHeaderThenEveryItemWithCrLf_data() {
        QTest::addColumn<QList<quint32>>("items");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray h = "---Tamizo, 07/12/2026---\r\n";
        QTest::newRow("empty list: header only") << QList<quint32>{} << h;
        QTest::newRow("the starting list") << QList<quint32>{1} << h + "1\r\n";
        QTest::newRow("limit 30") << QList<quint32>{1, 1, 3, 5, 7, 11, 13, 17, 19, 23, 29}
                                  << h + "1\r\n1\r\n3\r\n5\r\n7\r\n11\r\n13\r\n17\r\n19\r\n23\r\n"
                                         "29\r\n";
        QTest::newRow("verbatim: unsorted, repeated, extremes")
            << QList<quint32>{9, 0, 9, 4294967295u} << h + "9\r\n0\r\n9\r\n4294967295\r\n";
    }
    void blockIsHeaderThenEveryItemWithCrLf() {
        QFETCH(QList<quint32>, items);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("p.txt");
        QVERIFY(textfiles::OpenAppend(1, path).ok());
        PrimeStore list;
        for (const quint32 v : items)
            QVERIFY(list.append(v));
        QVERIFY(listfile::writeBlock(1, QStringLiteral("07/12/2026"), list).ok());
        QVERIFY(textfiles::CloseAll().ok());
        QCOMPARE(readAll(path), expected);
    }

    void headerDateIsWrittenInCodePage1252() {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.txt");
        QVERIFY(textfiles::OpenAppend(1, path).ok());
        QVERIFY(listfile::writeBlock(1, QStringLiteral("7 déc. 2026"), PrimeStore()).ok());
        QVERIFY(textfiles::CloseAll().ok());
        QCOMPARE(readAll(path), QByteArray("---Tamizo, 7 d\xE9"
                                           "c. 2026---\r\n"));
    }

    void longListIsWrittenWholeAsTheListShowsIt() {
        // Longer than 32767 items and several buffers long; every line must be the item's own text.
        PrimeStore list;
        for (quint32 v = 0; v < 400000; ++v)
            QVERIFY(list.append(v * 10737u + (v % 7)));
        QTemporaryDir dir;
        const QString path = dir.filePath("long.txt");
        QVERIFY(textfiles::OpenAppend(1, path).ok());
        QVERIFY(listfile::writeBlock(1, QStringLiteral("d"), list).ok());
        QVERIFY(textfiles::CloseAll().ok());
        QByteArray expected = "---Tamizo, d---\r\n";
        for (qint64 j = 0; j < list.size(); ++j)
            expected += QByteArray::number(list.at(j)) + "\r\n";
        QVERIFY(expected.size() > 3 * listfile::kChunkBytes);
        const QByteArray got = readAll(path);
        QCOMPARE(got.size(), expected.size());
        QVERIFY(got == expected);
    }

    void writerReportsFailureAndRollbackRestoresFile() {
        // The limit lets the block start and fails it part-way.
        QTemporaryDir dir;
        const QString path = dir.filePath("p.txt");
        const QByteArray old = "---Tamizo, antes---\r\n1\r\n";
        QVERIFY(writeFile(path, old));
        PrimeStore list;
        for (quint32 v = 1; v < 5000; v += 2)
            QVERIFY(list.append(v));
        QVERIFY(textfiles::OpenAppend(1, path).ok());
        sys::Status s;
        {
            FileSizeLimit limit(old.size() + 100);
            s = listfile::writeBlock(1, QStringLiteral("d"), list);
        }
        QCOMPARE(s.code(), EFBIG);
        QCOMPARE(QFileInfo(path).size(), old.size() + 100); // the part that got through
        QVERIFY(textfiles::Rollback(1).ok());
        QCOMPARE(readAll(path), old);
    }
};

QTEST_MAIN(SaveFileTest)
#include "test_save_file.moc"
