// Saving when the system says no: a read-only folder or file, a folder removed while the dialog
// is open, a name longer than the file system takes, a name with a separator, a target that is
// no regular file (a folder, a device, a named pipe, a socket), and a disk that fills part-way.
// In every case no success box is shown, an error box is, with the path and the reason in
// Spanish, the target (and the folder around it) is exactly as it was, or still absent, and the
// dialog stays open for a save elsewhere that works.

#include "Form2.h"
#include "Harness.h"
#include "SaveKit.h"
#include "SystemSeams.h"
#include "TextFiles.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using files::readAll;
using files::writeFile;

namespace {
const QByteArray kHeader = "---Tamizo, 07/12/2026---\r\n";

enum class Fault {
    DevFull,
    ReadOnlyFolder,
    ReadOnlyFile,
    ChosenFolderRemoved,
    StartFolderRemoved,
    NameTooLong,
    NameOfThousandCharacters,
    NameWithSeparatorIntoSubfolder,
    NameWithSeparatorIntoParent,
    TargetIsFolder,
    TargetIsFolderWithFiles,
    DevNull,
    PipeWithoutReader,
    PipeWithReader,
    Socket,
    FullPartWayExisting,
    FullPartWayNew
};

// Everything under `root`, for comparing before and after: each entry's kind and, for a file,
// its bytes; a link's target is named, never followed.
QStringList snapshot(const QString& root) {
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString rel = QDir(root).relativeFilePath(path);
        if (info.isSymLink())
            out << rel + " -> " + info.symLinkTarget();
        else if (info.isDir())
            out << rel + "/";
        else if (!info.isFile()) // a pipe, a socket: reading it could wait for ever
            out << rel + " (special)";
        else
            out << rel + " = " + QString::fromLatin1(readAll(path).toHex());
    }
    out.sort();
    return out;
}
} // namespace

Q_DECLARE_METATYPE(Fault)

class TestFaultsSave : public QObject {
    Q_OBJECT
    const ScopedAnswers m_noRealBoxes;
    const ScopedClock m_clock{QStringLiteral("07/12/2026")};

  private slots:
    void cleanup() {
        QVERIFY(!openWindow<Form2>());
        QCOMPARE(textfiles::FreeFile().value(), 1); // no file left open
    }

    void failingSaveShowsErrorAndKeepsTarget_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QString>("reason");
        const QString device = QStringLiteral("Es un dispositivo, no un archivo normal.");
        const QString denied = QStringLiteral("No tiene permiso para hacerlo.");
        const QString gone = QStringLiteral("No existe el archivo o la carpeta.");
        const QString tooLong =
            QStringLiteral("El nombre del archivo o de la ruta es demasiado largo.");
        const QString separator = QStringLiteral("El nombre de archivo no puede contener \"/\".");
        const QString folder = QStringLiteral("Es una carpeta, no un archivo.");
        const QString pipe = QStringLiteral("Es una tubería con nombre, no un archivo normal.");
        const QString full = QStringLiteral("El archivo es demasiado grande.");
        QTest::newRow("target links to the device /dev/full") << Fault::DevFull << device;
        QTest::newRow("read-only folder, new file") << Fault::ReadOnlyFolder << denied;
        QTest::newRow("read-only file") << Fault::ReadOnlyFile << denied;
        QTest::newRow("chosen folder removed while the dialog is open")
            << Fault::ChosenFolderRemoved << gone;
        QTest::newRow("folder the dialog opened on removed while it is open")
            << Fault::StartFolderRemoved << gone;
        QTest::newRow("name one character longer than the file system takes")
            << Fault::NameTooLong << tooLong;
        QTest::newRow("name of 1000 characters") << Fault::NameOfThousandCharacters << tooLong;
        QTest::newRow("name with a separator, into a subfolder")
            << Fault::NameWithSeparatorIntoSubfolder << separator;
        QTest::newRow("name with a separator, into the parent folder")
            << Fault::NameWithSeparatorIntoParent << separator;
        QTest::newRow("target is an empty folder") << Fault::TargetIsFolder << folder;
        QTest::newRow("target is a folder with files") << Fault::TargetIsFolderWithFiles << folder;
        QTest::newRow("target links to /dev/null") << Fault::DevNull << device;
        QTest::newRow("target is a named pipe nobody reads") << Fault::PipeWithoutReader << pipe;
        QTest::newRow("target is a named pipe a reader has open") << Fault::PipeWithReader << pipe;
        QTest::newRow("target is a socket")
            << Fault::Socket << QStringLiteral("Es un socket, no un archivo normal.");
        QTest::newRow("full part-way, existing file") << Fault::FullPartWayExisting << full;
        QTest::newRow("full part-way, new file") << Fault::FullPartWayNew << full;
    }
    void failingSaveShowsErrorAndKeepsTarget() {
        QFETCH(Fault, fault);
        QFETCH(QString, reason);
        QTemporaryDir top, good;
        QVERIFY(QDir(top.path()).mkdir("in"));
        const QString folder = top.filePath("in");
        const QByteArray old = "---Tamizo, 01/01/2026---\r\n1\r\n1\r\n3\r\n";
        QString name = QStringLiteral("primos01");
        const QString target = folder + "/primos01.txt";
        int endpoint = -1; // the pipe's reader or the socket's listener
        const QString savedCwd = QDir::currentPath();
        switch (fault) {
        case Fault::DevFull:
            QVERIFY(QFile::link("/dev/full", target));
            break;
        case Fault::ReadOnlyFolder:
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            break;
        case Fault::ReadOnlyFile:
            QVERIFY(writeFile(target, old));
            QVERIFY(QFile::setPermissions(target, QFile::ReadOwner));
            break;
        case Fault::ChosenFolderRemoved:
        case Fault::FullPartWayNew:
            break;
        case Fault::StartFolderRemoved:
            QVERIFY(QDir::setCurrent(folder)); // the dialog opens on the current folder
            break;
        case Fault::NameTooLong: // with ".txt", one more than a file name may hold
            name = QString(NAME_MAX - 3, QLatin1Char('n'));
            break;
        case Fault::NameOfThousandCharacters:
            name = QString(1000, QLatin1Char('n'));
            break;
        case Fault::NameWithSeparatorIntoSubfolder:
            QVERIFY(QDir(folder).mkdir("sub"));
            QVERIFY(writeFile(folder + "/sub/primos01.txt", old));
            name = QStringLiteral("sub/primos01");
            break;
        case Fault::NameWithSeparatorIntoParent:
            QVERIFY(writeFile(top.filePath("primos01.txt"), old));
            name = QStringLiteral("../primos01");
            break;
        case Fault::TargetIsFolder:
            QVERIFY(QDir(folder).mkdir("primos01.txt"));
            break;
        case Fault::TargetIsFolderWithFiles:
            QVERIFY(QDir(folder).mkdir("primos01.txt"));
            QVERIFY(writeFile(folder + "/primos01.txt/dentro.txt", old));
            break;
        case Fault::DevNull:
            QVERIFY(QFile::link("/dev/null", target));
            break;
        case Fault::PipeWithoutReader:
        case Fault::PipeWithReader:
            QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
            break;
        case Fault::Socket: {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            const QByteArray name = QFile::encodeName(target);
            QVERIFY(size_t(name.size()) < sizeof address.sun_path);
            std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
            QVERIFY((endpoint = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) >= 0);
            QCOMPARE(::bind(endpoint, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
            QCOMPARE(::listen(endpoint, 1), 0);
            break;
        }
        case Fault::FullPartWayExisting:
            QVERIFY(writeFile(target, old));
            break;
        }
        if (fault == Fault::PipeWithReader)
            QVERIFY((endpoint = ::open(QFile::encodeName(target).constData(),
                                       O_RDONLY | O_NONBLOCK | O_CLOEXEC)) >= 0);
        const auto closeEndpoint = qScopeGuard([&] {
            if (endpoint >= 0)
                ::close(endpoint);
        });
        const QStringList before = snapshot(top.path());
        const bool removed =
            fault == Fault::ChosenFolderRemoved || fault == Fault::StartFolderRemoved;
        const bool full = fault == Fault::FullPartWayExisting || fault == Fault::FullPartWayNew;

        Harness h;
        h.start(QStringLiteral("3000")); // a list of some 2 KB, so that a write can fail part-way
        QCOMPARE(h.summaries.size(), size_t(1));
        h.boxes.forget();
        bool permissionsObeyed = true;
        const DialogSession s = withSaveDialog(*h.form, [&](Form2& d) {
            if (fault == Fault::StartFolderRemoved) {
                QCOMPARE(d.Dir1->path(), folder);
                QVERIFY(QDir::setCurrent(savedCwd));
            } else {
                QVERIFY(d.Dir1->setPath(folder));
            }
            if (removed)
                QVERIFY(QDir(folder).removeRecursively());
            d.Text1->setText(name);
            {
                savekit::ObeyPermissions obey; // root too is refused a read-only folder
                permissionsObeyed = obey.ok();
                std::optional<savekit::FileSizeLimit> limit;
                if (full)
                    limit.emplace(QFileInfo(target).size() + 100);
                d.Command1->click();
            }
            // The dialog is still open: the user chooses again, and that save works.
            QVERIFY(d.isVisible());
            QCOMPARE(h.boxes.shown().size(), size_t(1));
            QVERIFY(d.Dir1->setPath(good.path()));
            d.Text1->setText(QStringLiteral("ok"));
            d.Command1->click();
        });
        QDir::setCurrent(savedCwd);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (!permissionsObeyed)
            QSKIP("cannot make this process obey file permissions");

        QVERIFY(s.opened);
        QVERIFY(!s.stayedOpen);
        const auto& boxes = h.boxes.shown();
        QCOMPARE(boxes.size(), size_t(2));
        QCOMPARE(boxes[0].style, 16);
        QCOMPARE(boxes[0].title, QString());
        QCOMPARE(boxes[0].prompt,
                 "No se ha podido guardar el archivo.\n" + folder + "/" + name + ".txt\n" + reason);
        QCOMPARE(boxes[1].prompt, Form2::kSaved);
        QVERIFY(readAll(good.filePath("ok.txt")).startsWith(kHeader + "1\r\n1\r\n3\r\n"));

        // Nothing changed where the save failed; a removed folder did not come back.
        QCOMPARE(snapshot(top.path()), removed ? QStringList() : before);
        if (fault == Fault::PipeWithReader) {
            char c;
            QCOMPARE(::read(endpoint, &c, 1), ssize_t(0)); // the writer came and went, silent
        }
    }

    // The boundary of the long-name row above: the longest name the file system takes works.
    void longestNameTheFileSystemTakesIsSaved() {
        QTemporaryDir dir;
        Harness h;
        h.start(QStringLiteral("30"));
        h.boxes.forget();
        const QString name(NAME_MAX - 4, QLatin1Char('n'));
        saveThroughDialog(*h.form, dir.path(), name);
        QCOMPARE(h.boxes.shown().size(), size_t(1));
        QCOMPARE(h.boxes.shown()[0].prompt, Form2::kSaved);
        QVERIFY(readAll(dir.filePath(name + ".txt")).endsWith("\r\n29\r\n"));
    }
};

QTEST_MAIN(TestFaultsSave)
#include "test_faults_save.moc"
