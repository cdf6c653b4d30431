#include "frmAbout.h"

#include "CommandAccessible.h"
#include "FileLookup.h"
#include "FormsFont.h"
#include "Launcher.h"
#include "MessageBox.h"
#include "ProgramIcons.h"
#include "ProgramIdentity.h"
#include "Twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <string>

#if !defined(TAMIZO_VERSION_MAJOR) || !defined(TAMIZO_VERSION_MINOR) ||                            \
    !defined(TAMIZO_VERSION_REVISION)
#error "the build passes the program's version to this file"
#endif

namespace {
// Read control plus the six specific key rights: query, set, create subkey, enumerate, notify,
// create link.
constexpr registry::REGSAM kKeyAccess = 0x2003F;
constexpr registry::DWORD kBufferSize = 1024;

QLabel* label(QWidget* parent, const char* name, const QString& caption, double left, double top,
              double width, double height) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    twips::setGeometry(l, left, top, width, height);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, double left,
                    double top, double width, double height) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    twips::setGeometry(b, left, top, width, height);
    return b;
}

// One of the two lines of the etched rule, as a strip of its colour.
QWidget* ruleLine(QWidget* parent, int index, QColor colour, double x1, double x2, double y,
                  int widthPx) {
    auto* w = new QWidget(parent);
    w->setObjectName("Line1");
    w->setProperty("Index", index);
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    // A line of width 2 covers its own row and the one above it.
    const int top = twips::toPx(y) - (widthPx - 1);
    w->setGeometry(twips::toPx(x1), top, twips::toPx(x2) - twips::toPx(x1), widthPx);
    return w;
}

// "&h" and the value's bytes in hexadecimal, most significant first.
QString dwordText(const QByteArray& bytes) {
    QString text = QStringLiteral("&h");
    for (qsizetype i = bytes.size() - 1; i >= 0; --i)
        text +=
            QStringLiteral("%1").arg(static_cast<uchar>(bytes[i]), 2, 16, QChar(u'0')).toUpper();
    return text;
}

// The value of a system call that worked; a failure is raised, for StartSysInfo's error branch.
template <class T> T orRaise(sys::Result<T> result) {
    if (!result)
        throw frmAbout::RaisedError("system error " + std::to_string(result.code()));
    return *std::move(result);
}
} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setWindowTitle(QStringLiteral("Acerca de Tamizo"));
    setWindowIcon(QIcon(icons::appPixmap32()));
    program::install();
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(forms::defaultFont());
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    setAutoFillBackground(true);
    setFixedSize(twips::toPx(5940), twips::toPx(3555));
    buildControls();
    Form_Load();
}

void frmAbout::buildControls() {
    cmdOK = button(this, "cmdOK", QStringLiteral("Aceptar"), 4320, 2625, 1500, 345);
    cmdOK->setDefault(true);

    picIcon = new QLabel(this);
    picIcon->setObjectName("picIcon");
    picIcon->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    picIcon->setPixmap(icons::appPixmap32());
    picIcon->setAlignment(Qt::AlignCenter);
    twips::setGeometry(picIcon, 240, 240, 540, 540);

    cmdSysInfo =
        button(this, "cmdSysInfo", QStringLiteral("&Info. del sistema..."), 4320, 3075, 1485, 345);

    lblDescription = label(this, "lblDescription",
                           QStringLiteral("Sencilla aplicación para el cálculo de números primos "
                                          "con la posibilidad de guardar la lista calculada."),
                           1050, 1125, 3885, 450);
    lblDescription->setWordWrap(true);
    lblDisclaimer = label(this, "lblDisclaimer", QString(), 240, 2625, 3870, 825);
    lblDisclaimer->setWordWrap(true);
    lblTitle = label(this, "lblTitle", QStringLiteral("Tamizo, programado por Quorvaldi en 2003"),
                     1050, 240, 3885, 480);
    lblVersion = label(this, "lblVersion", QStringLiteral("Versión"), 1050, 780, 3885, 225);
    Label1 = label(this, "Label1", QStringLiteral("Visite:"), 1080, 1680, 495, 255);

    Label2 = label(this, "Label2", QStringLiteral("Página personal de Quorvaldi"), 1680, 1680, 2415,
                   255);
    QFont link(QStringLiteral("MS Sans Serif"));
    link.setPointSizeF(8.25);
    link.setWeight(QFont::Normal);
    link.setUnderline(true);
    Label2->setFont(link);
    QPalette blue = Label2->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label2->setPalette(blue);
    Label2->setCursor(Qt::UpArrowCursor);
    Label2->installEventFilter(this);
    forms::makeLink(Label2, [this] { Label2_Click(); }); // the link as a screen reader uses it

    Label3 = label(this, "Label3", QStringLiteral("Contacto:"), 1080, 2040, 735, 255);
    Label4 =
        label(this, "Label4", QStringLiteral("autor@quorvaldi.example"), 1920, 2040, 1815, 255);

    // The etched rule: grey over white.
    Line1[0] = ruleLine(this, 0, QColor(0xFF, 0xFF, 0xFF), 105, 5654, 2460, 2);
    Line1[1] = ruleLine(this, 1, QColor(0x80, 0x80, 0x80), 90, 5654, 2445, 1);

    QWidget* order[] = {cmdOK,      picIcon, cmdSysInfo, lblDescription, lblDisclaimer, lblTitle,
                        lblVersion, Label1,  Label2,     Label3,         Label4};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

QString frmAbout::versionText(int major, int minor, int revision) {
    return QStringLiteral("Versión ") + QString::number(major) + u'.' + QString::number(minor) +
           u'.' + QString::number(revision);
}

void frmAbout::Form_Load() {
    lblVersion->setText(
        versionText(TAMIZO_VERSION_MAJOR, TAMIZO_VERSION_MINOR, TAMIZO_VERSION_REVISION));
}

void frmAbout::cmdOK_Click() {
    accept();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::Label2_Click() {
    if (!launcher::Shell(QStringLiteral("explorer.exe ") + kHomePage, 2))
        MessageBox::MsgBox(kHomePageFailed, 16, QString());
}

void frmAbout::StartSysInfo() {
    // From here on any failure, also inside GetKeyValue or in starting the tool, is raised and
    // ends in the message below.
    try {
        QString SysInfoPath;
        registry::HKEY root = registry::HKEY_LOCAL_MACHINE;
        bool found = GetKeyValue(root, gREGKEYSYSINFO, gREGVALSYSINFO, SysInfoPath);
        // Location 1 is taken as it is, without looking for the file.
        if (!found && GetKeyValue(root, gREGKEYSYSINFOLOC, gREGVALSYSINFOLOC, SysInfoPath)) {
            const QString tool = SysInfoPath + QStringLiteral("\\MSINFO32.EXE");
            if (orRaise(filelookup::exists(tool))) {
                SysInfoPath = tool;
                found = true;
            }
        }
        if (found) {
            orRaise(launcher::Shell(SysInfoPath, 1));
            return;
        }
    } catch (const std::exception&) {
        // RaisedError, and whatever else fails on the way (memory, for one).
    }
    MessageBox::MsgBox(kSysInfoUnavailable, 0);
}

bool frmAbout::GetKeyValue(registry::HKEY& KeyRoot, const QString& KeyName,
                           const QString& SubKeyRef, QString& KeyVal) {
    using namespace registry;
    // Registry text travels in the system's 8-bit code page (UTF-8 here).
    const auto opened = RegOpenKeyExA(KeyRoot, KeyName.toUtf8().constData(), 0, kKeyAccess);
    if (!opened) {
        KeyVal.clear();
        return false;
    }
    const HKEY hKey = *opened;

    QByteArray tmpVal(kBufferSize, '\0');
    const auto query =
        RegQueryValueExA(hKey, SubKeyRef.toUtf8().constData(), nullptr,
                         reinterpret_cast<unsigned char*>(tmpVal.data()), kBufferSize);
    if (!query) {
        KeyVal.clear();
        (void)RegCloseKey(hKey); // its result is of no interest
        return false;
    }

    // A reported size of 0 has no last character to look at: that is an error, raised to the
    // caller once the key is closed.
    const DWORD KeyValSize = query->size;
    if (KeyValSize == 0) {
        (void)RegCloseKey(hKey);
        throw RaisedError("registry value of size 0");
    }
    const QByteArray reported = tmpVal.left(KeyValSize);
    // A terminating NUL is dropped; a value stored without one stays whole.
    const QByteArray kept = reported.endsWith('\0') ? reported.chopped(1) : reported;

    switch (query->type) {
    case REG_SZ:
        KeyVal = QString::fromUtf8(kept);
        break;
    case REG_DWORD:
        KeyVal = dwordText(reported);
        break;
    default:
        break; // any other type leaves KeyVal as the caller passed it
    }
    (void)RegCloseKey(hKey);
    return true;
}

void frmAbout::keyPressEvent(QKeyEvent* e) {
    // Esc presses the cancel button, which is "Aceptar".
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label2 && event->type() == QEvent::MouseButtonRelease) {
        const auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && Label2->rect().contains(me->position().toPoint()))
            Label2_Click();
    }
    return QDialog::eventFilter(watched, event);
}
