#include "Form2.h"

#include "Clock.h"
#include "DirListBox.h"
#include "DriveListBox.h"
#include "ErrorText.h"
#include "FormsFont.h"
#include "GraphicalButton.h"
#include "ListFile.h"
#include "MessageBox.h"
#include "PrimeStore.h"
#include "ProgramIcons.h"
#include "ProgramIdentity.h"
#include "SavePictures.h"
#include "TextFiles.h"
#include "Twips.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace {
constexpr Qt::WindowFlags kFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

QLabel* label(QWidget* parent, const char* name, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    return l;
}

// The process's current folder; empty when it is gone or its name isn't valid text (the tree
// would show, and the save would use, some other name).
QString currentFolder() {
    const std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    if (!cwd)
        return {};
    const QByteArray raw(cwd.get());
    const QString folder = QFile::decodeName(raw);
    return QFile::encodeName(folder) == raw ? folder : QString();
}

// What to add to a failure's reason when putting the file back failed too; nothing when it
// worked.
QString notRestored(const sys::Status& undone) {
    if (undone)
        return {};
    return QStringLiteral("\nEl archivo no ha podido volver a su estado anterior: ") +
           systemErrorText(undone.code());
}

} // namespace

Form2::Form2(const PrimeStore& lista, QWidget* parent) : QDialog(parent, kFlags), m_lista(lista) {
    setObjectName("Form2");
    setWindowTitle(QStringLiteral("Guardar números"));
    setWindowIcon(icons::appIcon());
    program::install();
    setFont(forms::defaultFont());
    setFixedSize(twips::toPx(3975), twips::toPx(4215));

    Label1 = label(this, "Label1", QStringLiteral("Buscar en:"));
    twips::setGeometry(Label1, 120, 120, 855, 255);
    Drive1 = new DriveListBox(this);
    Drive1->setObjectName("Drive1");
    twips::setGeometry(Drive1, 1080, 120, 2775, 315);
    Dir1 = new DirListBox(this);
    Dir1->setObjectName("Dir1");
    twips::setGeometry(Dir1, 120, 600, 3735, 2115);
    Label2 = label(this, "Label2", QStringLiteral("Nombre de archivo:"));
    twips::setGeometry(Label2, 120, 2880, 1455, 255);
    Text1 = new QLineEdit(QStringLiteral("primos01"), this);
    Text1->setObjectName("Text1");
    twips::setGeometry(Text1, 1680, 2880, 1695, 285);
    Label3 = label(this, "Label3", QStringLiteral(".txt"));
    twips::setGeometry(Label3, 3480, 2880, 375, 255);
    Frame1 = new QFrame(this);
    Frame1->setObjectName("Frame1");
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken); // an etched rule
    twips::setGeometry(Frame1, 120, 3240, 3735, 120);
    Command1 = forms::graphicalButton(this, "Command1", QStringLiteral("Guardar"),
                                      icons::savePicture(), {120, 3480, 1215, 615});
    Command2 = forms::graphicalButton(this, "Command2", QStringLiteral("Cancelar"),
                                      icons::cancelPicture(), {1440, 3480, 1335, 615});

    // For a screen reader: the drive list and the name field named after their labels, the
    // folder list by what it holds, with the current folder's full path as its description.
    Label1->setBuddy(Drive1);
    Label2->setBuddy(Text1);
    Dir1->setAccessibleName(QStringLiteral("Carpetas"));
    Dir1->setHeaderLabel(QStringLiteral("Carpetas")); // the hidden header, as a reader tells it

    setTabOrder(Drive1, Dir1);
    setTabOrder(Dir1, Text1);
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Command2);

    // Both lists start where they start by themselves: on the process's current folder. When
    // that can't be read, the user's home folder is a place they can save to; "/" is not.
    if (!Dir1->setPath(currentFolder()) && !Dir1->setPath(QDir::homePath()))
        Dir1->setPath(QDir::rootPath());
    Drive1->showDrive(Dir1->root());
    // The drive list shows the drive the tree stands on, also after a link led elsewhere.
    connect(Dir1, &DirListBox::pathChanged, this, [this] {
        Drive1->showDrive(Dir1->root());
        Dir1->setAccessibleDescription(QDir::toNativeSeparators(Dir1->path()));
    });
    Dir1->setAccessibleDescription(QDir::toNativeSeparators(Dir1->path()));
    Drive1->setFocus();

    connect(Command1, &QToolButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QToolButton::clicked, this, &Form2::Command2_Click);
    connect(Drive1, &DriveListBox::Change, this, &Form2::Drive1_Change);
}

void Form2::showModal(const PrimeStore& lista) {
    Form2 dialog(lista); // no owner; gone when this returns
    dialog.exec();
}

void Form2::Command1_Click() {
    // 1-2. The folder, with a separator appended unless it ends in one.
    const QString folder = QDir::toNativeSeparators(Dir1->path());
    // 3. A free file number.
    const auto f = textfiles::FreeFile();
    // 4. The full name: the typed name exactly as typed, then ".txt".
    const QString name = Text1->text();
    const QString path = listfile::fullName(folder, name, QDir::separator());
    if (!f)
        return reportFailure(path, systemErrorText(f.code()));
    if (listfile::nameHasSeparator(name))
        return reportFailure(path, QStringLiteral("El nombre de archivo no puede contener \"%1\".")
                                       .arg(QDir::separator()));
    // 5. Open for appending.
    if (const auto s = textfiles::OpenAppend(*f, path); !s)
        return reportFailure(path, systemErrorText(s.code()));
    // 6-7. The header for today's date and every item; all of it must reach the file.
    auto s = listfile::writeBlock(*f, clock_::shortDate(), m_lista);
    if (s)
        s = textfiles::Flush(*f);
    if (!s)
        return reportFailure(path,
                             systemErrorText(s.code()) + notRestored(textfiles::Rollback(*f)));
    // 8. The confirmation, with the file still open.
    MessageBox::MsgBox(kSaved, 64, QString());
    // 9. Close all files. A close that fails takes the block back out and is reported.
    const auto before = textfiles::before(*f);
    if (const auto closed = textfiles::CloseAll(); !closed)
        return reportFailure(path,
                             systemErrorText(closed.code()) +
                                 (before ? notRestored(textfiles::Restore(*before)) : QString()));
    // 10. Done: the dialog unloads.
    close();
}

void Form2::Command2_Click() {
    close();
}

void Form2::Drive1_Change() {
    // Errors are ignored statement by statement: a statement that fails is skipped, and
    // `failed` remembers that one did.
    bool failed = false;
    QString root;
    root = Drive1->Drive();
    if (root.isEmpty())
        failed = true;
    // The drive is asked whether it is ready before the folder list reads it, so that a drive
    // that doesn't answer can't hold the window; then the folder list moves to its root.
    else if (!DriveListBox::isReady(root))
        failed = true;
    else if (!Dir1->setPath(root))
        failed = true;
    if (failed) {
        MessageBox::MsgBox(kNoDrive, 16, QString());
        Drive1->showDrive(Dir1->root()); // back to the drive still in use
    }
}

void Form2::reportFailure(const QString& path, const QString& reason) {
    MessageBox::MsgBox(kNotSaved + QLatin1Char('\n') + path + QLatin1Char('\n') + reason, 16,
                       QString());
}

void Form2::keyPressEvent(QKeyEvent* e) {
    // Neither button is the default or the cancel button: Enter and Esc do nothing here.
    if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}
