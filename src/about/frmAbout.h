#pragma once
// The About box: title and credit, the version line, the description, a link to the author's
// home page, the e-mail address, "Aceptar", and a button that finds the system-information
// tool through the registry and starts it. Shown modally with no owner; each opening is a new
// dialog. The registry, the launcher and the file lookup are the system layer's, which
// reports failures as results; this class decides what to read, what to start and what to say,
// and raises the failures that StartSysInfo sends to its one error branch.

#include "Registry.h"

#include <QDialog>
#include <QString>

#include <stdexcept>

class QLabel;
class QPushButton;
class QWidget;

class frmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmAbout(QWidget* parent = nullptr);

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Label2_Click();

    // Raised by StartSysInfo, and by GetKeyValue for a value of size 0, when a step fails: a
    // system call that gave an error, or a value that can't be read as text. StartSysInfo
    // catches it and shows its message.
    struct RaisedError : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    void StartSysInfo();
    bool GetKeyValue(registry::HKEY& KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                     QString& KeyVal);

    static QString versionText(int major, int minor, int revision);

    // Controls.
    QPushButton* cmdOK;
    QLabel* picIcon;
    QPushButton* cmdSysInfo;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QWidget* Line1[2];

    static inline const QString kHomePage = QStringLiteral("http://quorvaldi.example/");
    static inline const QString kSysInfoUnavailable =
        QStringLiteral("La información del sistema no está disponible en este momento");
    static inline const QString kHomePageFailed =
        QStringLiteral("No se ha podido abrir la página personal.");

    // Where the system-information tool is registered, below HKEY_LOCAL_MACHINE.
    static inline const QString gREGKEYSYSINFO =
        QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    static inline const QString gREGVALSYSINFO = QStringLiteral("PATH");
    static inline const QString gREGKEYSYSINFOLOC =
        QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
    static inline const QString gREGVALSYSINFOLOC = QStringLiteral("MSINFO");

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
};
