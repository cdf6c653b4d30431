// Saving when the system says no: a disk with no space left, a read-only folder, a folder removed
// while the dialog is open, a name longer than the file system takes, a name with a separator,
// and a target that is a folder. In every case no success box is shown, an error box is, and
// the target (and the folder around it) is exactly as it was, or still absent.

#include "DirListBox.h"
#include "Form2.h"
#include "Harness.h"
#include "SaveKit.h"
#include "TextFiles.h"

#include <QApplication>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <unistd.h>

namespace {
enum class Fault {
    DevFull,
    ReadOnlyFolder,
    ChosenFolderRemoved,
    StartFolderRemoved,
    NameTooLong,
    NameOfThousandCharacters,
    NameWithSeparatorIntoSubfolder,
    NameWithSeparatorIntoParent,
    TargetIsFolder,
    TargetIsFolderWithFiles
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
        else
            out << rel + " = " + QString::fromLatin1(savekit::readAll(path).toHex());
    }
    out.sort();
    return out;
}

Form2* openDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<Form2*>(w); d && d->isVisible())
            return d;
    return nullptr;
}
} // namespace

Q_DECLARE_METATYPE(Fault)

class TestFaultsSave : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { MessageBox::setTesting(true); }
    void cleanup() {
        QVERIFY(!openDialog());
        QCOMPARE(textfiles::FreeFile(), 1); // no file left open
    }

    void failingSaveShowsErrorAndKeepsTarget_data() {
        QTest::addColumn<Fault>("fault");
        QTest::newRow("no space left: target links to /dev/full") << Fault::DevFull;
        QTest::newRow("read-only folder") << Fault::ReadOnlyFolder;
        QTest::newRow("chosen folder removed while the dialog is open")
            << Fault::ChosenFolderRemoved;
        QTest::newRow("folder the dialog opened on removed while it is open")
            << Fault::StartFolderRemoved;
        QTest::newRow("name one character longer than the file system takes") << Fault::NameTooLong;
        QTest::newRow("name of 1000 characters") << Fault::NameOfThousandCharacters;
        QTest::newRow("name with a separator, into a subfolder")
            << Fault::NameWithSeparatorIntoSubfolder;
        QTest::newRow("name with a separator, into the parent folder")
            << Fault::NameWithSeparatorIntoParent;
        QTest::newRow("target is an empty folder") << Fault::TargetIsFolder;
        QTest::newRow("target is a folder with files") << Fault::TargetIsFolderWithFiles;
    }
    void failingSaveShowsErrorAndKeepsTarget() {
        QFETCH(Fault, fault);
        QTemporaryDir top;
        QVERIFY(QDir(top.path()).mkdir("in"));
        const QString folder = top.filePath("in");
        const QByteArray old = "---Tamizo, 01/01/2026---\r\n1\r\n1\r\n3\r\n";
        QString name = QStringLiteral("primos01");
        const QString savedCwd = QDir::currentPath();
        switch (fault) {
        case Fault::DevFull:
            QVERIFY(QFile::link("/dev/full", folder + "/primos01.txt"));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot call seek"));
            break;
        case Fault::ReadOnlyFolder:
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            break;
        case Fault::ChosenFolderRemoved:
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
            QVERIFY(savekit::writeFile(folder + "/sub/primos01.txt", old));
            name = QStringLiteral("sub/primos01");
            break;
        case Fault::NameWithSeparatorIntoParent:
            QVERIFY(savekit::writeFile(top.filePath("primos01.txt"), old));
            name = QStringLiteral("../primos01");
            break;
        case Fault::TargetIsFolder:
            QVERIFY(QDir(folder).mkdir("primos01.txt"));
            break;
        case Fault::TargetIsFolderWithFiles:
            QVERIFY(QDir(folder).mkdir("primos01.txt"));
            QVERIFY(savekit::writeFile(folder + "/primos01.txt/dentro.txt", old));
            break;
        }
        const QStringList before = snapshot(top.path());

        Harness h;
        h.start(QStringLiteral("3000"));
        QCOMPARE(h.summaries.size(), size_t(1));
        MessageBox::reset();
        bool opened = false, stayedOpen = false, permissionsObeyed = true;
        QObject guard;
        QTimer::singleShot(0, &guard, [&] {
            Form2* d = openDialog();
            if (!d)
                return;
            opened = true;
            if (fault == Fault::StartFolderRemoved) {
                QCOMPARE(d->Dir1->path(), folder);
                QVERIFY(QDir::setCurrent(savedCwd));
            } else {
                QVERIFY(d->Dir1->setPath(folder));
            }
            if (fault == Fault::ChosenFolderRemoved || fault == Fault::StartFolderRemoved)
                QVERIFY(QDir(folder).removeRecursively());
            d->Text1->setText(name);
            {
                savekit::ObeyPermissions obey; // root too is refused a read-only folder
                permissionsObeyed = obey.ok();
                d->Command1->click();
            }
            stayedOpen = d->isVisible();
            d->close();
        });
        h.form->Command3->click();
        QDir::setCurrent(savedCwd);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (!permissionsObeyed)
            QSKIP("cannot make this process obey file permissions");

        QVERIFY(opened);
        QVERIFY(stayedOpen); // the user may choose again
        const auto& boxes = MessageBox::shown();
        QCOMPARE(boxes.size(), size_t(1));
        QCOMPARE(boxes[0].style, 16);
        QVERIFY(boxes[0].prompt.startsWith(Form2::kNotSaved));
        for (const auto& b : boxes)
            QVERIFY(b.prompt != Form2::kSaved);

        QStringList expected = before;
        if (fault == Fault::ChosenFolderRemoved || fault == Fault::StartFolderRemoved)
            expected = {}; // the folder went, and nothing came back in its place
        QCOMPARE(snapshot(top.path()), expected);
    }

    // The boundary of the long-name row above: the longest name the file system takes works.
    void longestNameTheFileSystemTakesIsSaved() {
        QTemporaryDir dir;
        Harness h;
        h.start(QStringLiteral("30"));
        MessageBox::reset();
        const QString name(NAME_MAX - 4, QLatin1Char('n'));
        QObject guard;
        QTimer::singleShot(0, &guard, [&] {
            Form2* d = openDialog();
            QVERIFY(d);
            QVERIFY(d->Dir1->setPath(dir.path()));
            d->Text1->setText(name);
            d->Command1->click();
            if (d->isVisible())
                d->close();
        });
        h.form->Command3->click();
        QCOMPARE(MessageBox::shown().size(), size_t(1));
        QCOMPARE(MessageBox::shown()[0].prompt, Form2::kSaved);
        QVERIFY(savekit::readAll(dir.filePath(name + ".txt")).endsWith("\r\n29\r\n"));
    }
};

QTEST_MAIN(TestFaultsSave)
#include "test_faults_save.moc"
