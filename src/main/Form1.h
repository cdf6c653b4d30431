#pragma once
// How Tamizo is put together, from the bottom up (each folder is one static library):
//
//   src/core/        the logic, no widgets: PrimeStore (the list, about a byte an item),
//                    CandidateJudge and OddSieve (which candidates go in), LimitText (reading
//                    the limit), ListText (the list file's lines)
//   src/system/      the system's services: registry and hive, launcher, file lookup, numbered
//                    text files, clock and date, stack headroom; failures as sys::Result
//   src/forms/       the forms toolkit on Qt Widgets: twips, forms and controls, ListBox (a view
//                    of a PrimeStore), PictureBox, MessageBox, pointer, yield, repaint pacer
//   src/appearance/  layout scaler, gradient painter, the program's icon and identity
//   src/save/        Form2, the save dialog, and the list-file writer
//   src/about/       frmAbout, the About box
//   src/main/        Form1 (this window) and main()
//
// The main window: the limit field, the prime list, the three commands, the progress and hint
// strip, the credit line and the menus. It routes every user action to its operation and runs
// the prime search (Calcula) on the user-interface thread, yielding at its checkpoints. It owns
// the prime list's store, which the list box shows and the save dialog reads. Deciding whether
// a candidate goes into the list is CandidateJudge's job, not this class's.

#include "Form.h"
#include "LimitText.h"
#include "PrimeStore.h"

#include <QString>
#include <optional>

class QLabel;
class QLineEdit;
class QToolButton;
class QAction;
class QMenu;
class ListBox;
class CandidateJudge;
class PictureBox;
class ProgressStrip;

class Form1 : public Form {
    Q_OBJECT
  public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Shared between the search and the other handlers.
    bool StopRequested = false;
    bool Busy = false;

    void Calcula();
    // One checkpoint of the search at candidate n: yield, then stop or draw the bar and select
    // the last item.
    enum class Checkpoint { Go, Stop, Closed };
    Checkpoint checkpoint(quint64 n, CandidateJudge& judge);
    void progreso(double Value, const QString& max);
    void tooltip(const QString& text);
    // The background painter (see Gradient.h), offered as the window's own operation.
    void DrawGradient(Surface& TheObj, qint16& ColorRed, qint16& ColorGreen, qint16& ColorBlue,
                      qint16& ColorStop, qint16& ColorBandSize, qint16& StartLine, qint16& StopLine,
                      qint16& ModLine, qint16& AutoReDrawObj, qint16& MoreR, qint16& MoreG,
                      qint16& MoreB);

    // Event handlers, wired as the window's design lays them out.
    void Form_Load();
    void Form_MouseMove();
    void Command1_Click();
    void Command1_MouseMove();
    void Command2_Click();
    void Command2_MouseMove();
    void Command3_Click();
    void Command3_MouseMove();
    void Text1_MouseMove();
    void mStart_Click();
    void mStop_Click();
    void mSave_Click();
    void mAbout_Click();

    // Controls.
    QLabel* Label1;
    QLineEdit* Text1;
    QLabel* Label2;
    QToolButton* Command1;
    QToolButton* Command2;
    QToolButton* Command3;
    PictureBox* pprogreso;
    ListBox* lista;
    QMenu* mCalculo;
    QAction* mStart;
    QAction* mStop;
    QMenu* mTools;
    QAction* mSave;
    QMenu* mHelp;
    QAction* mAbout;

    bool isClosed() const { return m_closed; }
    // The prime list: the store that `lista` shows, the search fills and the save dialog reads.
    PrimeStore& primes() { return m_primes; }

    static inline const QString kConfirmPrompt =
        QStringLiteral("¿Desea borrar la lista de números actual?");
    static inline const QString kSummaryTitle = QStringLiteral("Estadística de cálculo");
    static inline const QString kLimitTooLarge =
        QStringLiteral("Escriba como límite un número no mayor que 4294967295.");
    static inline const QString kNotANumber =
        QStringLiteral("Escriba el límite como un número entero, por ejemplo 3000 o 3.000.");
    static QString summaryText(qint64 count, int seconds);

  protected:
    void Form_Resize() override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildMenus();
    void surfaceMouseMove(QMouseEvent* e);

    PrimeStore m_primes;
    bool m_closed = false;
    int m_searches = 0;   // searches running, one inside another
    QString m_barMaxText; // the last text progreso scaled against, and its number
    limit_text::Reading m_barMax;
    ProgressStrip* m_strip = nullptr; // what a screen reader reads of pprogreso
};
