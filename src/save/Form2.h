#pragma once
// The save dialog "Guardar números": the user picks a drive, a folder and a base name, and
// "Guardar" appends the main window's list to <folder>/<name>.txt as one block. It reads the
// list it is given (the store that the main window's list box shows) and never changes it.
// A save that fails is reported with the path and the system's reason, leaves the file exactly
// as it was, and keeps the dialog open.
// It does not decide the file's format (ListFile does) nor how files are opened (TextFiles).

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QToolButton;
class DirListBox;
class DriveListBox;
class PrimeStore;

class Form2 : public QDialog {
    Q_OBJECT
  public:
    explicit Form2(const PrimeStore& lista, QWidget* parent = nullptr);

    // Creates the dialog with no owner, shows it modally and destroys it when it has closed.
    static void showModal(const PrimeStore& lista);

    void Command1_Click();
    void Command2_Click();
    void Drive1_Change();

    // Controls, in tab order.
    QLabel* Label1;
    DriveListBox* Drive1;
    DirListBox* Dir1;
    QLabel* Label2;
    QLineEdit* Text1;
    QLabel* Label3;
    QFrame* Frame1;
    QToolButton* Command1;
    QToolButton* Command2;

    static inline const QString kSaved = QStringLiteral("El archivo se guardó correctamente.");
    static inline const QString kNotSaved = QStringLiteral("No se ha podido guardar el archivo.");
    static inline const QString kNoDrive = QStringLiteral("Unidad no disponible.");

  protected:
    void keyPressEvent(QKeyEvent* e) override;

  private:
    void reportFailure(const QString& path, const QString& reason);

    const PrimeStore& m_lista;
};
